// The response interpreter, one response kind at a time, on the real main window.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "CaseName.h"
#include "LinkFixture.h"
#include "config/Config.h"
#include "display/Display.h"
#include "model/Clock.h"
#include "model/Thermistor.h"

namespace {

class Interpreter : public LinkProgram {
protected:
    void SetUp() override {
        LinkProgram::SetUp();
        startProgram();
    }
    // Identify a model and run a download as Start leaves it.
    void downloading(const char *model) {
        feed(std::string("i LOG ") + model);
        fDownloadNow = 1;
        fRecvD = 3;
        loggedLength = 0;
        eSampleTime = 1000;
        eSampleRate = 60;
        eUnit = 'C';
    }
    static std::vector<std::string> rangeLabels() {
        int n = 0;
        GetNumListItems(idMonitor, MONITOR_RANGE, &n);
        std::vector<std::string> labels;
        for (int i = 0; i < n; ++i) {
            char label[32] = "";
            GetLabelFromIndex(idMonitor, MONITOR_RANGE, i, label, sizeof label);
            labels.push_back(label);
        }
        return labels;
    }
    static int offsetMax() {
        int max = -1;
        GetCtrlAttribute(idMonitor, MONITOR_OFFSET, ATTR_MAX_VALUE, &max);
        return max;
    }
};

// ---------------------------------------------------------------- identity

TEST_F(Interpreter, IdentityWithVersionSuffix) {
    currDeviceId = 10;
    feed("i MYLOG 41217V2.1");
    EXPECT_STREQ(eId, "MYLOG");
    EXPECT_STREQ(eDeviceName, "41217");
    EXPECT_EQ(currDeviceId, 1);
    EXPECT_EQ(prevDeviceId, 10);
    EXPECT_EQ(eVersion, 2.1f);
    EXPECT_TRUE(isBlockClockFirmware());
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_ID), "ID=MYLOG");
    EXPECT_TRUE(gFlag & GFLAG_ID_KNOWN);
    EXPECT_EQ(status(), "msg1");
    EXPECT_EQ(statusColor(), VAL_BLUE);
}

struct IdentityCase {
    const char *line;
    const char *id;
    int model;
    float version;
};

class IdentityTable : public Interpreter, public ::testing::WithParamInterface<IdentityCase> {};

TEST_P(IdentityTable, SelectsTheModelAndVersion) {
    const IdentityCase &c = GetParam();
    feed(c.line);
    EXPECT_STREQ(eId, c.id) << c.line;
    EXPECT_EQ(currDeviceId, c.model) << c.line;
    EXPECT_EQ(eVersion, c.version) << c.line;
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_ID), std::string("ID=") + c.id);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, IdentityTable,
    ::testing::Values(IdentityCase{"i LOG7 4143", "LOG7", 10, 2.4f}, IdentityCase{"i LOG7 4143V2.5", "LOG7", 10, 2.5f},
                      IdentityCase{"i A 41660V1.9", "A", 18, 1.9f},
                      IdentityCase{"i A 4124V", "A", 1, 2.4f},   // "4124V": no suffix of four
                      IdentityCase{"i A V2.1", "A", 1, 2.1f},    // only a suffix: no model name
                      IdentityCase{"i A UNKNOWN", "A", 1, 2.4f}, IdentityCase{"i", "", 1, 2.4f},   // missing fields
                      IdentityCase{"i ABCDEFGHIJKLM 4143", "ABCDEFGHIJ", 1, 2.4f}),   // cut token hides the model
    [](const auto &info) { return caseName(info.param.line); });

TEST_F(Interpreter, IdentityResetsTheChartScaling) {
    leftYScalMode = 0;
    SetMenuBarAttribute(scalMenuHandle, SCALMENU_SCALE_TEMP, ATTR_CHECKED, 1);
    SetMenuBarAttribute(scalMenuHandle, SCALMENU_SCALE_ALL, ATTR_CHECKED, 0);
    feed("i LOG 4151");   // two temperature channels
    EXPECT_EQ(fLeftYScalEnable, 1);
    EXPECT_EQ(leftYScalMode, 255);
    int t = -1, t2 = -1, all = -1;
    GetMenuBarAttribute(scalMenuHandle, SCALMENU_SCALE_TEMP, ATTR_CHECKED, &t);
    GetMenuBarAttribute(scalMenuHandle, SCALMENU_SCALE_TEMP2, ATTR_CHECKED, &t2);
    GetMenuBarAttribute(scalMenuHandle, SCALMENU_SCALE_ALL, ATTR_CHECKED, &all);
    EXPECT_EQ(t, 0);
    EXPECT_EQ(t2, 0);
    EXPECT_EQ(all, 1);
    feed("i LOG 4133");
    EXPECT_EQ(fLeftYScalEnable, 0);
}

TEST_F(Interpreter, RightAxisCarriesHumidityOnlyForHumidityModels) {
    struct {
        const char *model;
        bool humidity;
    } cases[] = {{"4124", true}, {"4143", true}, {"4151", false}, {"4133", false}, {"41660", true}};
    for (const auto &c : cases) {
        feed(std::string("i LOG ") + c.model);
        const rt::AxisInfo right = rt::GraphAxis(idMonitor, MONITOR_GRAPH, VAL_RIGHT_YAXIS);
        EXPECT_EQ(right.name, c.humidity ? "%Rh" : "") << c.model;
        EXPECT_EQ(right.labelsVisible, c.humidity) << c.model;
        // the left axis is the active one again
        int active = 0;
        GetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_ACTIVE_YAXIS, &active);
        EXPECT_EQ(active, VAL_LEFT_YAXIS) << c.model;
        // and the record store follows the model
        EXPECT_EQ(recordLayout(), loggerType(currDeviceId)) << c.model;
    }
}

TEST_F(Interpreter, RangeListAndOffsetFollowTheMemory) {
    const std::vector<std::string> k16 = {"100", "250", "500", "1k", "2k", "4k", "8k", "12k", "16k"};
    const std::vector<std::string> k8 = {"100", "250", "500", "1k", "2k", "4k", "8k"};
    const std::vector<std::string> small = {"100", "250", "500", "1k", "2k", "4k"};
    struct {
        const char *model;
        const std::vector<std::string> *labels;
        int offsetMax;
    } steps[] = {
        {"4123", &k16, 15000},    // 16k from the start-up list of nine: nothing to change
        {"4131", &small, 3000},   // small from nine
        {"4123", &k16, 15000},    // 16k from six
        {"4133", &k8, 7500},      // 8k from nine
        {"4131", &small, 3000},   // small from seven
        {"4133", &k8, 7500},      // 8k from six
        {"4123", &k16, 15000},    // 16k from seven
        {"41217", &k8, 7500},     // the thermistor model has 8k
    };
    for (const auto &s : steps) {
        feed(std::string("i LOG ") + s.model);
        EXPECT_EQ(rangeLabels(), *s.labels) << s.model;
        EXPECT_EQ(offsetMax(), s.offsetMax) << s.model;
    }
    int value = 0;
    GetValueFromIndex(idMonitor, MONITOR_RANGE, 6, &value);
    EXPECT_EQ(value, 8000);
}

// ---------------------------------------------------------------- memory and schedule

struct MemoryCase {
    const char *line;
    int length;   // eLength afterwards
    int rate;
    char unit;          // stored
    const char *info;   // the summary
    unsigned start;     // the logger's start time value (before log2Pc)
};

class MemoryTable : public Interpreter, public ::testing::WithParamInterface<MemoryCase> {};

TEST_P(MemoryTable, ReadsCountIntervalUnitAndStart) {
    const MemoryCase &c = GetParam();
    feed(c.line);
    EXPECT_EQ(eLength, c.length) << c.line;
    EXPECT_EQ(eSampleRate, c.rate) << c.line;
    EXPECT_EQ(eUnit, c.unit) << c.line;
    EXPECT_EQ(eSampleTime, log2Pc(c.start)) << c.line;
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_INFO), c.info) << c.line;
    EXPECT_TRUE(gFlag & GFLAG_SCHEDULE_KNOWN);
    EXPECT_EQ(status(), "msg2");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MemoryTable,
    ::testing::Values(
        MemoryCase{"m 16000 -22336 c 0000 0064", 16000, 43200, 'C', "16000 records, rate=12:00:00, unit=c", 100},
        MemoryCase{"m 8000 -- C 0000 0000", 8000, 32768, 'C', "8000 records, rate=09:06:08, unit=C", 0},
        MemoryCase{"m 300 \v F 0001 0000", 300, 32767, 'F', "300 records, rate=09:06:07, unit=F", 65536},
        MemoryCase{"m 300 E2 C 2D23 9E80", 300, 32765, 'C', "300 records, rate=09:06:05, unit=C", 0x2D239E80},
        MemoryCase{"m 300 0 C 0000 0001", 300, 65536, 'C', "300 records, rate=18:12:16, unit=C", 1},
        MemoryCase{"m 300 -1 C ffff FFFF", 300, 65535, 'C', "300 records, rate=18:12:15, unit=C", 0xFFFFFFFFu},
        MemoryCase{"m 300 90061 f 0000 0000", 300, 90061, 'F', "300 records, rate=25:01:01, unit=f", 0},
        MemoryCase{"m 20000 2 C 0000 0000", 16000, 2, 'C', "20000 records, rate=00:00:02, unit=C", 0},
        MemoryCase{"m 300  C", 300, 65536, 'C', "300 records, rate=18:12:16, unit=C", 0},   // empty interval
        MemoryCase{"m 300 60", 300, 60, 0, "300 records, rate=00:01:00, unit=", 0}),        // missing fields
    [](const auto &info) { return caseName(info.param.line); });

// The logger counts readings over its channels; the window speaks of records, after the model.
TEST_F(Interpreter, TheSummaryNamesTheModelAndCountsRecords) {
    feed("i LOG 4143");
    feed("m 4320 60 C 0000 0000");
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_INFO), "4143: 1440 records, rate=00:01:00, unit=C");
    EXPECT_EQ(eLength, 4320);
}

TEST_F(Interpreter, StartTimeOfOldFirmwareIsPlacedInTheCurrentBlock) {
    feed("i LOG 4143V2.1");
    feed("m 300 60 C 0000 0064");
    // the clock is frozen in December 2026: the block began on 2024-01-01
    EXPECT_EQ(eSampleTime, cRtc_Limit[8] + 100u);
}

// ---------------------------------------------------------------- data lines

TEST_F(Interpreter, ThreeValueLineIsStoredInTheThreeViews) {
    downloading("4143");   // model 10
    feed("d 251 248 655");
    ASSERT_EQ(loggedLength, 1);
    EXPECT_DOUBLE_EQ(vTemPtr[0], 25.1 + 0.00001);
    EXPECT_DOUBLE_EQ(vTem2Ptr[0], 24.8 + 0.00001);
    EXPECT_DOUBLE_EQ(vRhPtr[0], 65.5 + 0.00001);
    EXPECT_EQ(rtcPtr[0], 1000u);
    feed("d E1 248 655");
    ASSERT_EQ(loggedLength, 2);
    EXPECT_DOUBLE_EQ(vTemPtr[1], 10001 + 0.00001);
    EXPECT_GT(vTemPtr[1], SENSOR_ERROR_BASE);
    EXPECT_EQ(rtcPtr[1], 1060u);
    EXPECT_EQ(fRecvD, DATA_SILENCE_TICKS);
    EXPECT_EQ(status(), "   2 points.");
    EXPECT_EQ(statusColor(), VAL_BLUE);
}

struct DataCase {
    const char *model;
    char unit;
    const char *line;
    double t1, t2, rh;   // NAN: the layout has no such view
};

class DataTable : public Interpreter, public ::testing::WithParamInterface<DataCase> {};

TEST_P(DataTable, DecodesByTheModelsRule) {
    const DataCase &c = GetParam();
    downloading(c.model);
    eUnit = c.unit;
    feed(c.line);
    ASSERT_EQ(loggedLength, 1) << c.line;
    EXPECT_DOUBLE_EQ(vTemPtr[0], c.t1) << c.line;
    if (std::isnan(c.t2)) {
        EXPECT_EQ(vTem2Ptr, nullptr);
    } else {
        EXPECT_DOUBLE_EQ(vTem2Ptr[0], c.t2) << c.line;
    }
    if (std::isnan(c.rh)) {
        EXPECT_EQ(vRhPtr, nullptr);
    } else {
        EXPECT_DOUBLE_EQ(vRhPtr[0], c.rh) << c.line;
    }
}

const double e = 0.00001;
INSTANTIATE_TEST_SUITE_P(
    Lines, DataTable,
    ::testing::Values(DataCase{"4133", 'C', "d 215", 21.5 + e, NAN, NAN},            // one value
                      DataCase{"4133", 'F', "d 215", 21.5 + e, NAN, NAN},            // no conversion for model 6
                      DataCase{"4133", 'C', "d -12 999", -1.2 + e, NAN, NAN},        // extra values skipped
                      DataCase{"4151", 'C', "d 215 -12", 21.5 + e, -1.2 + e, NAN},   // second temperature
                      DataCase{"4124", 'C', "d 250 500", 25.0 + e, NAN, 50.0 + e},   // humidity
                      DataCase{"4124", 'F', "d 250 500", (25.0 + e) * 1.8 + 32, NAN, 50.0 + e},   // F: temperature only
                      DataCase{"4124", 'f', "d E3 500", 10003 + e, NAN, 50.0 + e},   // error stays an error
                      DataCase{"4123", 'F', "d 100", (10.0 + e) * 1.8 + 32, NAN, NAN},
                      DataCase{"41710", 'F', "d 100 E7", (10.0 + e) * 1.8 + 32, NAN, 10007 + e},
                      DataCase{"4143", 'C', "d 1 2", 0.1 + e, 0.2 + e, e},       // a missing value is 0
                      DataCase{"4143", 'C', "d 1  2 3", 0.1 + e, e, 0.2 + e}),   // an empty field is 0
    [](const auto &info) {
        return caseName(std::string(info.param.model) + ' ' + info.param.unit + ' ' + info.param.line);
    });

TEST_F(Interpreter, ThermistorModelUsesTheThermistorConversion) {
    downloading("41217");
    for (const char unit : {'C', 'F'}) {
        eUnit = unit;
        feed("d 2000");
        EXPECT_DOUBLE_EQ(vTemPtr[loggedLength - 1], thermistorReading(2000, unit)) << unit;
    }
    // an error reading repeats the last valid one
    feed("d E3");
    EXPECT_DOUBLE_EQ(vTemPtr[loggedLength - 1], thermistorReading(2000, 'F'));
}

TEST_F(Interpreter, RecordTimesUseUnsignedArithmetic) {
    downloading("4133");
    eSampleTime = 0xFFFFFF00u;
    eSampleRate = 65536;
    feed("d 1");
    feed("d 2");
    EXPECT_EQ(rtcPtr[0], 0xFFFFFF00u);
    EXPECT_EQ(rtcPtr[1], 0xFFFFFF00u + 65536u);
}

TEST_F(Interpreter, DataOutsideADownloadStartsTheStop) {
    feed("i LOG 4143");
    fDownloadNow = 0;
    feed("d 251 248 655");
    EXPECT_EQ(loggedLength, 0);
    EXPECT_EQ(keyEnd, 1);
    EXPECT_EQ(fEndCnt, STOP_TICKS);
}

TEST_F(Interpreter, DataWhileStoppingKeepsTheDownloadAliveButStoresNothing) {
    downloading("4143");
    keyEnd = 1;
    fRecvD = 2;
    feed("d 251 248 655");
    EXPECT_EQ(loggedLength, 0);
    EXPECT_EQ(fRecvD, DATA_SILENCE_TICKS);
}

TEST_F(Interpreter, RecordsPastTheLayoutsCapacityAreRefused) {
    downloading("4143");   // three channels: 5333 records
    const int capacity = layoutCapacity(LAYOUT_T_T2_RH);
    for (int k = 0; k < capacity; ++k) feed("d 100 200 300");
    ASSERT_EQ(loggedLength, capacity);
    EXPECT_EQ(refusedRecords, 0);
    feed("d 111 222 333");
    feed("d 111 222 333");
    EXPECT_EQ(loggedLength, capacity);
    EXPECT_EQ(refusedRecords, 2);
    EXPECT_EQ(rtcPtr[capacity], 0u);
    // the last value slot of the block lies beyond the three views and is untouched
    const double *values = reinterpret_cast<const double *>(ldPtr + RECORD_VALUES_OFFSET);
    EXPECT_DOUBLE_EQ(values[3 * capacity], 1e-7);
    EXPECT_DOUBLE_EQ(vRhPtr[capacity - 1], 30.0 + 0.00001);
    EXPECT_EQ(status(), "5333 points (max).");
    EXPECT_EQ(statusColor(), VAL_RED);
}

// ---------------------------------------------------------------- status

TEST_F(Interpreter, StatusDimsOrOffersTheLoggerCommands) {
    struct {
        const char *model;
        const char *line;
        int menuBefore;
        int menu, ok;
    } cases[] = {
        {"4143", "t 1", 0, 1, 1},  {"4143", "t 0", 1, 0, 0}, {"4161", "t 0", 1, 0, 0},   // model 15 too
        {"4143", "t 2", 1, 0, 0},                                                        // anything but 1
        {"4143", "t ", 1, 0, 0},                                                         // missing: 0
        {"41710", "t 0", 1, 1, 0},   // model 24 leaves the menu command as it was
        {"41710", "t 0", 0, 0, 0},
    };
    for (const auto &c : cases) {
        feed(std::string("i LOG ") + c.model);
        SetCtrlAttribute(idMonitor, MONITOR_MENU4, ATTR_DIMMED, c.menuBefore);
        gFlag &= static_cast<unsigned char>(~GFLAG_STATUS_APPLIED);
        feed(c.line);
        EXPECT_TRUE(gFlag & GFLAG_STATUS_APPLIED);
        EXPECT_EQ(dimmed(idMonitor, MONITOR_MENU4), c.menu) << c.model << " " << c.line;
        EXPECT_EQ(dimmed(idSetLogger, SETLOGGER_LOG_OK), c.ok) << c.model << " " << c.line;
    }
}

// ---------------------------------------------------------------- calibration

TEST_F(Interpreter, TemperatureCalibrationOfModelsTwelveAndThirteen) {
    for (const char *model : {"41651", "41653"}) {
        feed(std::string("i LOG ") + model);
        HidePanel(idTempCali);
        keyTempCali = 4;   // read for display
        feed("r -12 5 250 700 E1");
        const int expected[5] = {-12, 5, 250, 700, 100010};
        for (int k = 0; k < 5; ++k) EXPECT_EQ(tempCaliData[k], expected[k]) << model;
        EXPECT_TRUE(rt::PanelVisible(idTempCali)) << model;
        EXPECT_EQ(keyTempCali, 0);

        HidePanel(idTempCali);
        keyTempCali = 0;   // a read-back is checked, not shown
        feed("r 1 2 3 4 5");
        EXPECT_EQ(tempCaliData[4], 5);
        EXPECT_FALSE(rt::PanelVisible(idTempCali)) << model;
    }
}

TEST_F(Interpreter, HumidityCalibrationOfModelEighteen) {
    feed("i LOG 41660");
    keyTempCali = 4;
    feed("r -1.5 5.0");
    EXPECT_STREQ(rhCaliZstr, "-1.5");
    EXPECT_STREQ(rhCaliSstr, "5.0");
    EXPECT_TRUE(rt::PanelVisible(idRhCali));
    EXPECT_EQ(keyTempCali, 0);
    // texts longer than their fields are cut: Z holds 9 characters, S 8
    HidePanel(idRhCali);
    feed("r -1.2345678 12.3456789");
    EXPECT_STREQ(rhCaliZstr, "-1.234567");
    EXPECT_STREQ(rhCaliSstr, "12.34567");
    EXPECT_FALSE(rt::PanelVisible(idRhCali));
}

TEST_F(Interpreter, CalibrationResponseOfAnotherModelOnlyEndsTheRequest) {
    feed("i LOG 4143");
    tempCaliData[0] = 77;
    keyTempCali = 4;
    feed("r 1 2 3 4 5");
    EXPECT_EQ(tempCaliData[0], 77);
    EXPECT_EQ(keyTempCali, 0);
    EXPECT_FALSE(rt::PanelVisible(idTempCali));
}

// ---------------------------------------------------------------- acknowledgement

struct AckCase {
    char pending;
    const char *line;
    char pendingAfter;
    int failAfter;
};

// The pending command, then the line, its prompt and a leading blank spelled out (">" and " >"
// are different cases).
std::string ackName(const AckCase &c) {
    std::string text(1, c.pending);
    text += c.line[0] == ' ' ? " blank " : " ";
    for (const char *p = c.line; *p; ++p) text += *p == '>' ? std::string("prompt") : std::string(1, *p);
    return caseName(text);
}

class AckTable : public Interpreter, public ::testing::WithParamInterface<AckCase> {};

TEST_P(AckTable, AnswersAcknowledgeThePendingCommand) {
    const AckCase &c = GetParam();
    feed("i LOG 4143");
    sendCmdChar = c.pending;
    fCmdFail = 1;
    feed(c.line);
    EXPECT_EQ(sendCmdChar, c.pendingAfter) << c.pending << " / " << c.line;
    EXPECT_EQ(fCmdFail, c.failAfter) << c.pending << " / " << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, AckTable,
    ::testing::Values(AckCase{'I', ">", 0, 0}, AckCase{'I', "i LOG 4143", 0, 0}, AckCase{'M', "m 300 60 C 0 0", 0, 0},
                      AckCase{'D', "d 1 2 3", 0, 0}, AckCase{'Q', ">", 0, 0},
                      AckCase{'I', "x 1", 0, 0},     // any other lower-case letter
                      AckCase{'t', "t 0", 't', 1},   // the status answer acknowledges nothing
                      AckCase{'t', ">", 0, 0},       // its prompt does
                      AckCase{'r', "r 1 2 3 4 5", 'r', 1}, AckCase{'I', "X 1", 'I', 1},   // upper case
                      AckCase{'I', "5 1", 'I', 1},                                        // digit
                      AckCase{'I', "x", 'I', 1},                                          // a lone character is ignored
                      AckCase{'I', " >", 'I', 1},   // only the first character counts
                      AckCase{'A', ">", 'A', 0}, AckCase{'S', ">", 'S', 0}, AckCase{'C', ">", 'C', 0},
                      AckCase{'J', ">", 'J', 0}, AckCase{'R', ">", 'R', 0}),
    [](const auto &info) { return ackName(info.param); });

TEST_F(Interpreter, ClockAndSettingsConfirmationsInTheStatusLine) {
    sendCmdChar = 'C';
    feed(">");
    EXPECT_EQ(status(), "msg10");
    sendCmdChar = 'S';
    feed(">");
    EXPECT_EQ(status(), "msg9");
    EXPECT_EQ(statusColor(), VAL_BLUE);
}

TEST_F(Interpreter, SeveralResponsesOnOneLine) {
    feed("i LOG 4143 m 300 60 C 0000 0010 junk t 1");
    EXPECT_EQ(currDeviceId, 10);
    EXPECT_EQ(eLength, 300);
    EXPECT_EQ(eSampleTime, 16u);
    EXPECT_TRUE(gFlag & GFLAG_STATUS_APPLIED);
    EXPECT_EQ(dimmed(idMonitor, MONITOR_MENU4), 1);
}

TEST_F(Interpreter, ALoneCharacterIsIgnoredAndThePromptAcknowledges) {
    sendCmdChar = 'M';
    feed("m");   // would otherwise read an empty memory response
    EXPECT_EQ(gFlag & GFLAG_SCHEDULE_KNOWN, 0);
    EXPECT_EQ(sendCmdChar, 'M');
    feed(">");
    EXPECT_EQ(sendCmdChar, 0);
}

}   // namespace
