// The thermistor logger (model index 1): resistance and temperature, the wire value of its
// readings and of its alarm limits.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/Thermistor.h"

namespace {

class ThermistorTest : public ::testing::Test {
protected:
    void SetUp() override { resetThermistorState(); }
    void TearDown() override { resetThermistorState(); }
};

TEST_F(ThermistorTest, TableRunsFromMinus40To90Degrees) {
    EXPECT_EQ(resTable[0], 2616314);   // -40
    EXPECT_EQ(resTable[8], 264480);    // 0
    EXPECT_EQ(resTable[13], 81514);    // 25
    EXPECT_EQ(resTable[26], 7286);     // 90
    for (int k = 1; k < 27; ++k) EXPECT_LT(resTable[k], resTable[k - 1]) << k;
}

TEST_F(ThermistorTest, ResistanceToTemperature) {
    struct Case {
        long long ohm;
        char unit;
        float expected;
        float tolerance;
    } cases[] = {
        {81514, 'C', 25.01f, 0.005f},
        {2616314, 'C', -40.027f, 0.0005f},
        {7286, 'C', 90.0f, 0.1f},
        {81514, 'F', 25.0088f * 1.8f + 32.0f, 0.001f},
        {81514, 'f', 77.0159f, 0.001f},
        {81514, 'K', 298.1588f, 0.001f},
        {511000, 'C', -12.528f, 0.001f},
        {2610799000LL, 'C', -119.3f, 0.1f},   // the largest valid reading: beyond 32 bits
    };
    for (const auto &c : cases) {
        EXPECT_NEAR(res2Temp(c.ohm, c.unit), c.expected, c.tolerance) << c.ohm << " " << c.unit;
    }
    // No resistance: the equation gives absolute zero.
    EXPECT_FLOAT_EQ(res2Temp(0, 'C'), -273.15f);
    EXPECT_FLOAT_EQ(res2Temp(0, 'K'), 0.0f);
}

TEST_F(ThermistorTest, TemperatureToResistance) {
    struct Case {
        float t;
        char unit;
        int expected;
    } cases[] = {
        {25.0f, 'C', 81514},
        {77.0f, 'F', 81514},
        {77.0f, 'f', 81514},
        {32.0f, 'F', 264480},
        {24.97f, 'C', 81514},   // within 0.05 below the grid point 25
        {24.9f, 'C', 81919},    // interpolated: 0.1 x 15802 / 5 + 81514.5
        {22.5f, 'C', 91630},    // midpoint of 101745 and 81514, half up
        {-40.0f, 'C', 2616314},
        {0.0f, 'C', 264480},
        {89.99f, 'C', 7286},
        {-34.2f, 'C', 1817946},   // single precision (double arithmetic gives 1817945)
        {-42.5f, 'C', 2975272},   // below -40: the first interval extrapolated
        // outside the table nothing is read beyond it
        {-45.0f, 'C', 3334229},
        {-1000.0f, 'C', 3334229},
        {90.0f, 'C', 7286},
        {1.0e9f, 'C', 7286},
        {std::numeric_limits<float>::infinity(), 'C', 7286},
        {-std::numeric_limits<float>::infinity(), 'C', 3334229},
        {std::numeric_limits<float>::quiet_NaN(), 'C', 7286},
    };
    for (const auto &c : cases) EXPECT_EQ(temp2Res(c.t, c.unit), c.expected) << c.t << " " << c.unit;
}

TEST_F(ThermistorTest, ReadingsRoundToTenths) {
    // Each reading on its own, with no valid reading before it.
    struct Case {
        int raw;
        char unit;
        double expected;
    } cases[] = {
        {703, 'C', 25.0},   // 81500 Ohm
        {703, 'F', 77.0},
        {2555, 'C', -12.4},    // 511 kOhm; -12.528 rounds toward zero after adding 0.5
        {75, 'C', 88.7},       // the lowest valid reading
        {5109, 'C', -119.3},   // the highest: 2.6 GOhm, no overflow
        {4000, 'C', -34.4},
        {531, 'C', 32.5},     // 32.450005 in single precision (32.449996 in double)
        {3194, 'C', -21.6},   // -21.650000 in single precision (-21.649991 in double)
        {1750, 'C', 0.0},     // -0.1004 rounds to zero
        // invalid readings before any valid one: the reading 0, absolute zero
        {74, 'C', -273.1},
        {5110, 'C', -273.1},
        {-5, 'C', -273.1},
        {100010, 'C', -273.1},
    };
    for (const auto &c : cases) {
        resetThermistorState();
        EXPECT_DOUBLE_EQ(thermistorReading(c.raw, c.unit), c.expected) << c.raw << " " << c.unit;
    }
}

TEST_F(ThermistorTest, AnInvalidReadingRepeatsTheLastValidOne) {
    EXPECT_EQ(thermistorLastRaw(), 0);
    EXPECT_DOUBLE_EQ(thermistorReading(703, 'C'), 25.0);
    EXPECT_EQ(thermistorLastRaw(), 703);
    for (int invalid : {74, 5110, 0, 100010}) {
        EXPECT_DOUBLE_EQ(thermistorReading(invalid, 'C'), 25.0) << invalid;
    }
    EXPECT_EQ(thermistorLastRaw(), 703);
    EXPECT_DOUBLE_EQ(thermistorReading(2555, 'C'), -12.4);
    EXPECT_DOUBLE_EQ(thermistorReading(74, 'C'), -12.4);
}

TEST_F(ThermistorTest, AlarmLimitsBecomeWireValues) {
    struct Case {
        float limit;
        char unit;
        int expected;
    } cases[] = {
        // 81514 Ohm parallel to 511 kOhm: 70298.6 Ohm, 703 units of 100 Ohm
        {25.0f, 'C', 703},
        {77.0f, 'F', 703},
        {0.0f, 'C', 1743},
        {-40.0f, 'C', 4275},
    };
    for (const auto &c : cases) EXPECT_EQ(thermistorAlarm(c.limit, c.unit), c.expected) << c.limit << c.unit;
    // A limit's wire value reads back as about that temperature.
    EXPECT_NEAR(thermistorReading(thermistorAlarm(25.0f, 'C'), 'C'), 25.0, 0.1);
}

}   // namespace
