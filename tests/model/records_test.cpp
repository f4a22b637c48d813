// The record store: the views of each layout, clearing, the running extremes, storing with
// its capacity, and the decoding of data lines.
#include <gtest/gtest.h>

#include <cstddef>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "model/Models.h"
#include "model/Records.h"
#include "model/Thermistor.h"

namespace {

class RecordStore : public ::testing::Test {
protected:
    void SetUp() override { resetModelState(); }
    void TearDown() override { resetModelState(); }

    static std::ptrdiff_t offsetOf(const void *view) {
        if (view == nullptr) return -1;
        return static_cast<const unsigned char *>(view) - ldPtr;
    }
    // Lays the store out for index and scribbles over the whole block.
    static void dirty(int index) {
        ASSERT_EQ(ValPtrInit(index), 0);
        for (std::size_t k = 0; k < RECORD_BLOCK_SIZE; ++k) ldPtr[k] = static_cast<unsigned char>(k * 7 + 1);
    }
};

TEST_F(RecordStore, ViewsOfEachLayout) {
    struct Case {
        int index;
        int layout;
        std::ptrdiff_t tem, tem2, rh;
        int capacity;
    } cases[] = {
        {1, 0, 64000, -1, -1, 16000},
        {3, 0, 64000, -1, -1, 16000},
        {2, 1, 64000, -1, 64000 + 8000 * 8, 8000},
        {24, 1, 64000, -1, 64000 + 8000 * 8, 8000},
        {9, 2, 64000, 64000 + 8000 * 8, -1, 8000},
        {10, 3, 64000, 64000 + 5333 * 8, 64000 + 2 * 5333 * 8, 5333},
        {23, 3, 64000, 64000 + 5333 * 8, 64000 + 2 * 5333 * 8, 5333},
        {0, 0, 64000, -1, -1, 16000},
    };
    ASSERT_NE(ldPtr, nullptr);
    for (const auto &c : cases) {
        ASSERT_EQ(ValPtrInit(c.index), 0) << c.index;
        EXPECT_EQ(offsetOf(rtcPtr), 0) << c.index;
        EXPECT_EQ(offsetOf(vTemPtr), c.tem) << c.index;
        EXPECT_EQ(offsetOf(vTem2Ptr), c.tem2) << c.index;
        EXPECT_EQ(offsetOf(vRhPtr), c.rh) << c.index;
        EXPECT_EQ(recordLayout(), c.layout) << c.index;
        EXPECT_EQ(recordCapacity(), c.capacity) << c.index;
        EXPECT_EQ(layoutCapacity(c.layout), c.capacity) << c.index;
    }
    // The last view of layout 3 ends inside the block.
    ASSERT_EQ(ValPtrInit(10), 0);
    EXPECT_LE(offsetOf(vRhPtr + 5333), static_cast<std::ptrdiff_t>(RECORD_BLOCK_SIZE));
}

TEST_F(RecordStore, AnIndexOutsideTheTableLeavesTheViewsAlone) {
    ASSERT_EQ(ValPtrInit(10), 0);
    double *tem2 = vTem2Ptr;
    double *rh = vRhPtr;
    for (int index : {-1, 25, 1000}) {
        EXPECT_EQ(ValPtrInit(index), -1) << index;
        EXPECT_EQ(vTem2Ptr, tem2);
        EXPECT_EQ(vRhPtr, rh);
        EXPECT_EQ(recordCapacity(), 5333);
    }
    EXPECT_EQ(layoutCapacity(-1), 0);
    EXPECT_EQ(layoutCapacity(4), 0);
}

TEST_F(RecordStore, ASmallerLayoutCutsTheRecordCountToItsCapacity) {
    ASSERT_EQ(ValPtrInit(1), 0);
    loggedLength = 12000;
    ASSERT_EQ(ValPtrInit(10), 0);
    EXPECT_EQ(loggedLength, 5333);
    ASSERT_EQ(ValPtrInit(1), 0);
    EXPECT_EQ(loggedLength, 5333);
}

TEST_F(RecordStore, ClearingResetsEveryTimeAndEveryValueSlot) {
    for (int index : {1, 4, 9, 10}) {
        dirty(index);
        loggedLength = 7;
        clearLoggedData();
        EXPECT_EQ(loggedLength, 7) << "clearing leaves the count to the caller";
        const cRtc *times = reinterpret_cast<const cRtc *>(ldPtr);
        const double *values = reinterpret_cast<const double *>(ldPtr + RECORD_VALUES_OFFSET);
        int badTimes = 0, badValues = 0;
        for (int k = 0; k < MAX_RECORDS; ++k) {
            badTimes += times[k] != 0;
            badValues += values[k] != 1e-7;
        }
        EXPECT_EQ(badTimes, 0) << index;
        EXPECT_EQ(badValues, 0) << index;
        const int cap = recordCapacity();
        EXPECT_EQ(vTemPtr[cap - 1], 1e-7);
        if (vTem2Ptr) {
            EXPECT_EQ(vTem2Ptr[0], 1e-7);
        }
        if (vRhPtr) {
            EXPECT_EQ(vRhPtr[cap - 1], 1e-7);
        }
    }
}

TEST_F(RecordStore, ExtremesIgnore10000AndAbove) {
    struct Case {
        float values[4];
        float max, min;
    } cases[] = {
        {{1, 2, 3, 10000}, 3, 1},
        {{3, 2, 1, 10000}, 3, 1},
        {{10000, 10000, 10000, 10000}, -10000, 10000},   // an absent channel keeps the start values
        {{10000.5f, 10003, 25, 10000}, 25, 25},          // sensor errors
        {{9999.9f, -9999.9f, 10000, 10000}, 9999.9f, -9999.9f},
        {{-40.5f, -40.5f, 10000, 10000}, -40.5f, -40.5f},
    };
    for (int channel = 0; channel < 3; ++channel) {
        for (const auto &c : cases) {
            resetModelState();
            for (float v : c.values) {
                float rec[3] = {10000, 10000, 10000};
                rec[channel] = v;
                GetLogMaxMinVal(rec[0], rec[1], rec[2]);
            }
            EXPECT_FLOAT_EQ(lpMaxVal[channel], c.max) << "channel " << channel << " first " << c.values[0];
            EXPECT_FLOAT_EQ(lpMinVal[channel], c.min) << "channel " << channel << " first " << c.values[0];
            for (int other = 0; other < 3; ++other) {
                if (other == channel) continue;
                EXPECT_FLOAT_EQ(lpMaxVal[other], -10000.0f);
                EXPECT_FLOAT_EQ(lpMinVal[other], 10000.0f);
            }
        }
    }
}

TEST_F(RecordStore, StoresRecordsInTheViewsOfTheLayout) {
    ASSERT_EQ(ValPtrInit(10), 0);
    clearLoggedData();
    loggedLength = 0;
    EXPECT_EQ(storeRecord(1000, 25.10001, 24.80001, 65.50001), 1);
    EXPECT_EQ(storeRecord(1600, 10001.00001, 24.90001, 66.00001), 2);
    EXPECT_EQ(loggedLength, 2);
    EXPECT_EQ(rtcPtr[0], 1000u);
    EXPECT_EQ(rtcPtr[1], 1600u);
    EXPECT_DOUBLE_EQ(vTemPtr[0], 25.10001);
    EXPECT_DOUBLE_EQ(vTem2Ptr[0], 24.80001);
    EXPECT_DOUBLE_EQ(vRhPtr[0], 65.50001);
    EXPECT_DOUBLE_EQ(vTemPtr[1], 10001.00001);
    EXPECT_DOUBLE_EQ(vTemPtr[2], 1e-7);
    // The sensor error is no extreme.
    EXPECT_FLOAT_EQ(lpMaxVal[0], 25.10001f);
    EXPECT_FLOAT_EQ(lpMinVal[0], 25.10001f);
    EXPECT_FLOAT_EQ(lpMaxVal[1], 24.90001f);
    EXPECT_FLOAT_EQ(lpMinVal[2], 65.50001f);
}

TEST_F(RecordStore, AbsentChannelsAreNeitherStoredNorCounted) {
    ASSERT_EQ(ValPtrInit(1), 0);
    clearLoggedData();
    loggedLength = 0;
    EXPECT_EQ(storeRecord(5, 20.0, 30.0, 40.0), 1);
    EXPECT_DOUBLE_EQ(vTemPtr[0], 20.0);
    EXPECT_DOUBLE_EQ(vTemPtr[1], 1e-7);
    EXPECT_FLOAT_EQ(lpMaxVal[1], -10000.0f);
    EXPECT_FLOAT_EQ(lpMaxVal[2], -10000.0f);
    EXPECT_FLOAT_EQ(lpMinVal[2], 10000.0f);
}

TEST_F(RecordStore, LineValuesGoToTheChannelsOfTheLayout) {
    struct Case {
        int index;
        double tem, tem2, rh;
    } cases[] = {
        {1, 1.0, -1, -1},      // layout 0
        {4, 1.0, -1, 2.0},     // layout 1: the second value is humidity
        {9, 1.0, 2.0, -1},     // layout 2: the second value is the second temperature
        {10, 1.0, 2.0, 3.0},   // layout 3
    };
    const double line[3] = {1.0, 2.0, 3.0};
    for (const auto &c : cases) {
        resetModelState();
        ASSERT_EQ(ValPtrInit(c.index), 0);
        EXPECT_EQ(storeLineAt(0, 77, line), 1) << c.index;
        EXPECT_DOUBLE_EQ(vTemPtr[0], c.tem);
        if (c.tem2 >= 0)
            EXPECT_DOUBLE_EQ(vTem2Ptr[0], c.tem2) << c.index;
        else
            EXPECT_EQ(vTem2Ptr, nullptr) << c.index;
        if (c.rh >= 0)
            EXPECT_DOUBLE_EQ(vRhPtr[0], c.rh) << c.index;
        else
            EXPECT_EQ(vRhPtr, nullptr) << c.index;
        EXPECT_EQ(rtcPtr[0], 77u);
    }
}

// Each layout takes exactly its capacity; the record after it is refused and changes nothing,
// in particular not the first slot of the next view.
TEST_F(RecordStore, RefusesTheRecordPastCapacity) {
    struct Case {
        int index;
        int capacity;
    } cases[] = {{1, 16000}, {4, 8000}, {9, 8000}, {10, 5333}};
    for (const auto &c : cases) {
        resetModelState();
        ASSERT_EQ(ValPtrInit(c.index), 0);
        for (int n = 0; n < c.capacity; ++n) {
            ASSERT_EQ(storeRecord(static_cast<cRtc>(n), n * 0.1, n * 0.2, n * 0.3), n + 1) << c.index << " " << n;
        }
        EXPECT_EQ(loggedLength, c.capacity);
        const double *next = reinterpret_cast<const double *>(ldPtr + RECORD_VALUES_OFFSET) + c.capacity;
        const double nextBefore = c.capacity < MAX_RECORDS ? *next : 0.0;
        EXPECT_EQ(storeRecord(999999, 5.0, 6.0, 7.0), -1) << c.index;
        EXPECT_EQ(storeRecordAt(0, 999999, 5.0, 6.0, 7.0), -1) << "a full store takes no record anywhere";
        EXPECT_EQ(loggedLength, c.capacity);
        if (c.capacity < MAX_RECORDS) {
            EXPECT_EQ(*next, nextBefore) << c.index;
            EXPECT_EQ(rtcPtr[c.capacity], 0u) << c.index;
        }
        EXPECT_EQ(rtcPtr[0], 0u);
        EXPECT_DOUBLE_EQ(vTemPtr[0], 0.0);
        EXPECT_FLOAT_EQ(lpMaxVal[0], static_cast<float>((c.capacity - 1) * 0.1));
    }
}

TEST_F(RecordStore, RecordNumbersOutsideTheStoreAreRefused) {
    ASSERT_EQ(ValPtrInit(9), 0);   // 8000 records
    // A data file whose first record is number 5.
    EXPECT_EQ(storeRecordAt(4, 40, 4.0, 4.5, 0.0), 1);
    EXPECT_EQ(loggedLength, 1);
    EXPECT_EQ(rtcPtr[4], 40u);
    EXPECT_DOUBLE_EQ(vTemPtr[4], 4.0);
    EXPECT_DOUBLE_EQ(vTem2Ptr[4], 4.5);
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(rtcPtr[n], 0u);
        EXPECT_DOUBLE_EQ(vTemPtr[n], 1e-7);
    }
    for (int n : {-1, -1000, 8000, 8001, 16000, 2147483647}) {
        EXPECT_EQ(storeRecordAt(n, 1, 1.0, 1.0, 1.0), -1) << n;
    }
    EXPECT_EQ(loggedLength, 1);
    EXPECT_DOUBLE_EQ(vTem2Ptr[0], 1e-7);
}

TEST_F(RecordStore, TenthsDecode) {
    struct Case {
        int raw;
        double expected;
    } cases[] = {
        {251, 25.10001},       {0, 0.00001}, {-5, -0.49999}, {655, 65.50001}, {100010, 10001.00001},   // E1
        {100000, 10000.00001},   // E0: still above 10000, an error
    };
    for (const auto &c : cases) EXPECT_DOUBLE_EQ(decodeTenths(c.raw), c.expected) << c.raw;
}

TEST_F(RecordStore, OnlyMeasurementsAreConvertedToFahrenheit) {
    struct Case {
        double value;
        char unit;
        double expected;
    } cases[] = {
        {25.00001, 'F', 25.00001 * 1.8 + 32},
        {25.00001, 'f', 25.00001 * 1.8 + 32},
        {25.00001, 'C', 25.00001},
        {-40.0, 'F', -40.0},
        {10000.0, 'F', 10000.0 * 1.8 + 32},   // 10000 itself is a measurement
        {10003.00001, 'F', 10003.00001},      // E03 stays E03
        {10000.00001, 'F', 10000.00001},      // E00 stays E00
    };
    for (const auto &c : cases) EXPECT_DOUBLE_EQ(tenthsToUnit(c.value, c.unit), c.expected) << c.value << c.unit;
}

TEST_F(RecordStore, DataLinesDecodeByTheModelsRule) {
    struct Case {
        int index;
        int raw[3];
        char unit;
        int count;
        double out[3];
    } cases[] = {
        {10, {251, 248, 655}, 'C', 3, {25.10001, 24.80001, 65.50001}},
        {10, {100010, 248, 655}, 'C', 3, {10001.00001, 24.80001, 65.50001}},
        {10, {251, 248, 655}, 'F', 3, {25.10001, 24.80001, 65.50001}},   // no conversion for index 10
        {3, {250, 999, 999}, 'F', 1, {25.00001 * 1.8 + 32, 0, 0}},
        {4, {250, 655, 0}, 'F', 2, {25.00001 * 1.8 + 32, 65.50001, 0}},   // humidity never converted
        {4, {250, 655, 0}, 'c', 2, {25.00001, 65.50001, 0}},
        {24, {100030, 655, 0}, 'F', 2, {10003.00001, 65.50001, 0}},   // E03 stays an error
        {1, {703, 0, 0}, 'C', 1, {25.0, 0, 0}},
        {9, {-100, 300, 0}, 'C', 2, {-9.99999, 30.00001, 0}},
    };
    for (const auto &c : cases) {
        double out[3] = {-1, -1, -1};
        EXPECT_EQ(decodeLine(c.index, c.raw, c.unit, out), c.count) << c.index;
        for (int k = 0; k < 3; ++k) EXPECT_DOUBLE_EQ(out[k], c.out[k]) << c.index << " value " << k;
    }
    const int raw[3] = {1, 2, 3};
    for (int index : {0, 2, -1, 25}) {
        double out[3];
        EXPECT_EQ(decodeLine(index, raw, 'C', out), -1) << index;
    }
}

TEST_F(RecordStore, ResetReturnsToTheStartUpState) {
    ASSERT_EQ(ValPtrInit(10), 0);
    storeRecord(1, 1, 2, 3);
    currDeviceId = 10;
    thermistorReading(703, 'C');
    resetModelState();
    EXPECT_EQ(currDeviceId, 1);
    EXPECT_EQ(loggedLength, 0);
    EXPECT_EQ(recordLayout(), 0);
    EXPECT_EQ(vRhPtr, nullptr);
    EXPECT_EQ(thermistorLastRaw(), 0);
    EXPECT_FLOAT_EQ(lpMaxVal[0], -10000.0f);
    EXPECT_FLOAT_EQ(lpMinVal[2], 10000.0f);
    EXPECT_TRUE(allocateRecordBlock());   // the block stays
}

TEST(AlarmLimitBounds, AreThoseOfASigned16BitCountOfTenths) {
    for (int ch = 0; ch < 3; ++ch) {
        for (int unit = 0; unit < 2; ++unit) {
            EXPECT_FLOAT_EQ(LimitMaxVal[ch][unit], 3276.7f);
            EXPECT_FLOAT_EQ(LimitMinVal[ch][unit], -3276.8f);
        }
    }
}

// ---------------------------------------------------------------- the sensor-error text

TEST(SensorErrorText, CodeWithAtLeastTwoDigits) {
    struct Case {
        const char *name;
        double value;
        const char *text;
    } const cases[] = {
        {"code 0", 10000.00001, "E00"},
        {"code 3", 10003.00001, "E03"},
        {"code 12", 10012.7, "E12"},   // the integer part, never rounded up
        {"code 99", 10099.99999, "E99"},
        {"code 100", 10100.00001, "E100"},
        {"just above the base", std::nextafter(SENSOR_ERROR_BASE, 20000.0), "E00"},
        {"beyond a 32-bit int", 10000.0 + 3e9, "E3000000000"},
        {"the base itself is a measurement", SENSOR_ERROR_BASE, ""},
        {"a reading", 23.5, ""},
        {"not a number", std::numeric_limits<double>::quiet_NaN(), ""},
    };
    for (const Case &c : cases) {
        char out[SENSOR_ERROR_TEXT_SIZE] = "garbage";
        EXPECT_EQ(sensorErrorText(out, sizeof out, c.value), std::strlen(c.text)) << c.name;
        EXPECT_STREQ(out, c.text) << c.name;
    }
}

TEST(SensorErrorText, HugeCodeKeepsEveryDigit) {
    char out[SENSOR_ERROR_TEXT_SIZE];
    const std::size_t n = sensorErrorText(out, sizeof out, std::numeric_limits<double>::max());
    EXPECT_EQ(n, 310u);   // E and the 309 digits of the largest double
    EXPECT_EQ(std::string(out).substr(0, 18), "E17976931348623157");
    EXPECT_EQ(std::string(out).find_first_not_of("0123456789", 1), std::string::npos);
}

TEST(SensorErrorText, CutToTheCapacity) {
    char out[3] = "xx";
    EXPECT_EQ(sensorErrorText(out, sizeof out, 10123.0), 2u);
    EXPECT_STREQ(out, "E1");
    char one[1] = {'x'};
    EXPECT_EQ(sensorErrorText(one, sizeof one, 10005.0), 0u);
    EXPECT_EQ(one[0], '\0');
    EXPECT_EQ(sensorErrorText(nullptr, 8, 10005.0), 0u);
}

}   // namespace
