// The logging and alarm section of the logger-settings window, through its callbacks: the
// lists each model offers, OK's checks in their order, the dependent fields, the encoding of
// the limits per model class, and leaving the window without sending anything.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QTest>

#include "CaseName.h"
#include "SettingsWindow.h"
#include "base/Prefs.h"
#include "link/ComSetting.h"
#include "model/Clock.h"
#include "runtime/inspect.h"

namespace {

class LogSetting : public SettingsWindow {
protected:
    void SetUp() override {
        SettingsWindow::SetUp();
        start();
    }
};

// ---------------------------------------------------------------- the lists of a model

struct ListCase {
    const char *name;
    int model;
    std::vector<int> points;   // points codes in the order shown
    std::vector<int> starts;   // start-mode codes
    std::vector<int> channels;
    bool channelsDimmed;
    std::vector<int> units;
    bool calibration;   // calibration title and button available
};

class ModelLists : public LogSetting, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ModelLists, AsTheModelOffers) {
    const ListCase &c = GetParam();
    open(c.model);
    EXPECT_EQ(values(SETLOGGER_SAMPLEPOINTS), c.points);
    EXPECT_EQ(values(SETLOGGER_STARTMODE), c.starts);
    EXPECT_EQ(values(SETLOGGER_ALARMCHANNEL), c.channels);
    EXPECT_EQ(dimmed(idSetLogger, SETLOGGER_ALARMCHANNEL), c.channelsDimmed);
    EXPECT_EQ(values(SETLOGGER_UNIT), c.units);
    EXPECT_EQ(dimmed(idSetLogger, SETLOGGER_UNIT), c.units.size() == 1);
    EXPECT_EQ(dimmed(idSetLogger, SETLOGGER_CALITITLE), !c.calibration);
    EXPECT_EQ(dimmed(idSetLogger, SETLOGGER_CALI_START), !c.calibration);
    // the list texts: point counts, the start modes' and channels' own names
    static const char *const kCounts[] = {"1000", "2000", "4000", "8000", "12000", "16000"};
    for (const auto &[code, shown] : items(SETLOGGER_SAMPLEPOINTS)) EXPECT_EQ(shown, kCounts[code]);
    const char *const startTexts[] = {wStartMode0, wStartMode1, wStartMode2, wStartMode3, wStartMode4};
    for (const auto &[code, shown] : items(SETLOGGER_STARTMODE))
        EXPECT_EQ(shown, code == 20 ? wStartMode20 : startTexts[code]);
    const bool own = c.model == 11 || c.model == 14;
    const char *const channelTexts[] = {own ? wTemperature_41670 : wTemperature,
                                        own ? wTemperature2_41670 : wTemperature2, wHumidity};
    for (const auto &[channel, shown] : items(SETLOGGER_ALARMCHANNEL)) EXPECT_EQ(shown, channelTexts[channel]);
    EXPECT_EQ(items(SETLOGGER_UNIT)[0].second, wUnit1);
    EXPECT_STRNE(wStartMode20, "");   // the texts came from the language file
}

// One model of every row of the two list tables (points; start modes), every channel set, the
// one-alarm models, the calibration models and the models with their own channel names.
INSTANTIATE_TEST_SUITE_P(
    Models, ModelLists,
    ::testing::Values(
        ListCase{"1 thermistor", 1, {3, 2, 1, 0}, {20, 0, 1}, {0}, true, {'C'}, false},
        ListCase{"4 humidity alarm by the unit", 4, {5, 4, 3, 2, 1, 0}, {20, 0, 1}, {0, 2}, true, {'C', 'c'}, false},
        ListCase{"5 small memory", 5, {2, 1, 0}, {20, 0, 3}, {0}, false, {'C'}, false},
        ListCase{"8 start mode 3", 8, {3, 2, 1, 0}, {20, 0, 3}, {0}, false, {'C'}, false},
        ListCase{"12 temperature calibration", 12, {3, 2, 1, 0}, {20, 0, 2, 3, 4}, {0, 1}, false, {'C'}, true},
        ListCase{"14 own channel names", 14, {5, 4, 3, 2, 1, 0}, {20, 0, 2, 3, 4}, {0, 1}, false, {'C'}, false},
        ListCase{"15 starts at once only", 15, {2, 1, 0}, {20}, {0}, false, {'C'}, false},
        ListCase{"18 humidity calibration", 18, {5, 4, 3, 2, 1, 0}, {20, 0, 2, 3, 4}, {0, 2}, false, {'C'}, true},
        ListCase{"24 start modes 2 and 3", 24, {5, 4, 3, 2, 1, 0}, {20, 0, 2, 3}, {0, 2}, false, {'C'}, false},
        ListCase{"22 three channels", 22, {5, 4, 3, 2, 1, 0}, {20, 0, 1, 2, 4}, {0, 1, 2}, false, {'C'}, false},
        ListCase{"2 no logging settings", 2, {}, {}, {0, 2}, true, {'C'}, false}),
    [](const auto &info) { return caseName(info.param.name); });

TEST_F(LogSetting, OpeningFillsTheDefaultsAndFollowsThePcClock) {
    rt::SetClock({2026, 12, 10, 9, 30, 0});
    open(10);
    EXPECT_TRUE(rt::PanelVisible(idSetLogger));
    EXPECT_TRUE(gFlag & GFLAG_CLOCK_FOLLOWS_PC);
    // the preferences' limits (30 and 10) for every channel, channel 0 shown
    EXPECT_EQ(currAlarmChannel, 0);
    EXPECT_DOUBLE_EQ(real(SETLOGGER_HIGHALARM), 30.0);
    EXPECT_DOUBLE_EQ(real(SETLOGGER_LOWALARM), 10.0);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(std::make_pair(lpTmpHigh[k], lpTmpLow[k]), std::make_pair(30.0, 10.0));
    EXPECT_EQ(std::vector<int>({value(SETLOGGER_RATE_HOUR), value(SETLOGGER_RATE_MIN), value(SETLOGGER_RATE_SEC)}),
              std::vector<int>({0, 0, 1}));
    // the start now, in the date format of the preferences (Y-M-D); used by start mode 0 only
    EXPECT_EQ(text(SETLOGGER_STARTDATE), "2026-12-10");
    EXPECT_EQ(text(SETLOGGER_STARTTIME), "09:30:00");
    EXPECT_EQ(value(SETLOGGER_STARTMODE), 20);
    EXPECT_EQ(dimmed(idSetLogger, SETLOGGER_STARTDATE), 1);
    set(SETLOGGER_STARTMODE, 0);
    EXPECT_EQ(dimmed(idSetLogger, SETLOGGER_STARTDATE), 0);
    EXPECT_EQ(dimmed(idSetLogger, SETLOGGER_STARTTIME), 0);
    EXPECT_EQ(lpStartMode, 0);
    // the limit fields hold a signed 16-bit count of tenths
    SetCtrlVal(idSetLogger, SETLOGGER_HIGHALARM, 5000.0);
    EXPECT_FLOAT_EQ(static_cast<float>(real(SETLOGGER_HIGHALARM)), 3276.7f);
    // a logger that reports degrees F gets a red unit list: the new settings are in degrees C
    int color = -1;
    GetCtrlAttribute(idSetLogger, SETLOGGER_UNIT, ATTR_TEXT_COLOR, &color);
    EXPECT_EQ(color, VAL_BLACK);
    open(10, 'F');
    GetCtrlAttribute(idSetLogger, SETLOGGER_UNIT, ATTR_TEXT_COLOR, &color);
    EXPECT_EQ(color, VAL_RED);
}

// ---------------------------------------------------------------- typed key by key

// Every text field whose text is copied into a fixed buffer takes no more than the buffer
// holds: what the checks see is what the user sees.
TEST_F(LogSetting, EveryTextFieldTakesNoMoreThanItsBufferHolds) {
    open(10);
    set(SETLOGGER_STARTMODE, 0);                                 // the start fields are available
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU8, EVENT_COMMIT);   // the communication window
    const struct {
        const char *name;
        const int *panel;
        int ctrl;
        int buffer;   // bytes, with the terminator
    } fields[] = {
        {"start date", &idSetLogger, SETLOGGER_STARTDATE, LP_DATE_SIZE},
        {"start time", &idSetLogger, SETLOGGER_STARTTIME, LP_TIME_SIZE},
        {"logger date", &idSetLogger, SETLOGGER_LOGGERDATE, CLOCK_TEXT_SIZE},
        {"logger time", &idSetLogger, SETLOGGER_LOGGERTIME, CLOCK_TEXT_SIZE},
        {"identifier", &idSetLogger, SETLOGGER_IDENTIFIER, SET_ID_FIELD_MAX + 1},
        {"humidity Z", &idRhCali, RHCALI_Z, RH_CALI_Z_SIZE},
        {"humidity S", &idRhCali, RHCALI_S, RH_CALI_S_SIZE},
        {"device", &idSetting, SETTING_DEVICE, DEVICE_TEXT_SIZE},
    };
    for (const auto &f : fields) {
        auto *edit = qobject_cast<QLineEdit *>(rt::CtrlWidget(*f.panel, f.ctrl));
        ASSERT_NE(edit, nullptr) << f.name;
        edit->clear();
        QTest::keyClicks(edit, QString(f.buffer + 4, QLatin1Char('1')));
        std::vector<char> held(f.buffer + 8, '\0');
        GetCtrlVal(*f.panel, f.ctrl, held.data(), held.size());
        EXPECT_EQ(std::string(held.data()), std::string(f.buffer - 1, '1')) << f.name;
    }
}

// The start date the user sees is the one OK checks: a twelfth character cannot be typed.
TEST_F(LogSetting, AStartDateTypedTooLongStopsAtTheFieldsEnd) {
    open(10);
    set(SETLOGGER_STARTMODE, 0);
    auto *date = qobject_cast<QLineEdit *>(rt::CtrlWidget(idSetLogger, SETLOGGER_STARTDATE));
    ASSERT_NE(date, nullptr);
    date->clear();
    QTest::keyClicks(date, "2030-01-0299");
    EXPECT_EQ(text(SETLOGGER_STARTDATE), std::string("2030-01-0299").substr(0, LP_DATE_SIZE - 1));
}

// Hours above twelve stay as typed (not cut to their first digit) and OK refuses them.
TEST_F(LogSetting, HoursTypedAboveTwelveStayAndOkRefusesThem) {
    open(10);
    auto *hours = qobject_cast<QAbstractSpinBox *>(rt::CtrlWidget(idSetLogger, SETLOGGER_RATE_HOUR));
    ASSERT_NE(hours, nullptr);
    hours->selectAll();
    QTest::keyClicks(hours, "13");
    QTest::keyClick(hours, Qt::Key_Return);
    EXPECT_EQ(value(SETLOGGER_RATE_HOUR), 13);
    press(SETLOGGER_LOG_OK);
    EXPECT_EQ(refusals(), std::vector<std::string>{"warn18"});
    EXPECT_FALSE(requested());
    EXPECT_EQ(value(SETLOGGER_RATE_HOUR), 13) << "the field keeps what was typed";
}

// ---------------------------------------------------------------- OK's checks

struct IntervalCase {
    const char *name;
    int h, m, s;
    bool accepted;
};

class Interval : public LogSetting, public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(Interval, OneSecondToTwelveHours) {
    const IntervalCase &c = GetParam();
    open(10);
    set(SETLOGGER_SAMPLEPOINTS, 2);
    interval(c.h, c.m, c.s);
    press(SETLOGGER_LOG_OK);
    EXPECT_EQ(lpSampleRate, c.h * 3600 + c.m * 60 + c.s);
    EXPECT_EQ(lpSamplePoints, 2);   // read before the interval's check
    EXPECT_EQ(requested(), c.accepted);
    EXPECT_EQ(refusals(), c.accepted ? std::vector<std::string>{} : std::vector<std::string>{"warn18"});
    EXPECT_EQ(lpStartMode, c.accepted ? 20 : 0);   // nothing read after a refused check
    EXPECT_TRUE(rt::PanelVisible(idSetLogger));    // OK leaves the window to the link
}

INSTANTIATE_TEST_SUITE_P(Intervals, Interval,
                         ::testing::Values(IntervalCase{"0 h 0 min 0 s", 0, 0, 0, false},
                                           IntervalCase{"12 h 0 min 1 s", 12, 0, 1, false},
                                           IntervalCase{"12 h 0 min 0 s", 12, 0, 0, true},
                                           IntervalCase{"0 h 0 min 1 s", 0, 0, 1, true}),
                         [](const auto &info) { return caseName(info.param.name); });

struct StartCase {
    const char *name;
    int dateFormat;
    const char *date, *time;
    const char *refusal;   // nullptr: accepted
};

class StartAt : public LogSetting, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartAt, DateAndTimeOfStartModeZero) {
    const StartCase &c = GetParam();
    sLocal.dateFormat = static_cast<signed char>(c.dateFormat);
    open(10);
    set(SETLOGGER_STARTMODE, 0);
    set(SETLOGGER_STARTDATE, c.date);
    set(SETLOGGER_STARTTIME, c.time);
    lpSchedule = 12345;
    press(SETLOGGER_LOG_OK);
    EXPECT_EQ(requested(), c.refusal == nullptr);
    EXPECT_EQ(refusals(), c.refusal ? std::vector<std::string>{c.refusal} : std::vector<std::string>{});
    cRtc expected = 12345;   // a start that does not convert is never kept
    if (!c.refusal) {
        ASSERT_EQ(rtc2CRtc(c.date, c.time, &expected), 0);
    }
    EXPECT_EQ(lpSchedule, expected);
    EXPECT_EQ(lpStartMode, 0);
    EXPECT_STREQ(lpDate, c.date);
    EXPECT_STREQ(lpTime, c.time);
}

INSTANTIATE_TEST_SUITE_P(Starts, StartAt,
                         ::testing::Values(StartCase{"30 February M-D-Y", 0, "02-30-2024", "10:00:00", "warn12"},
                                           StartCase{"24 o'clock", 0, "02-29-2024", "24:00:00", "warn13"},
                                           StartCase{"both wrong: the date is said", 2, "2024-13-01", "25:00:00",
                                                     "warn12"},
                                           StartCase{"29 February D-M-Y", 1, "29-02-2024", "23:59:59", nullptr},
                                           StartCase{"Y-M-D", 2, "2027-01-02", "08:00:00", nullptr}),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(LogSetting, AStartModeOtherThanZeroIsSentAsItsCode) {
    open(12);
    set(SETLOGGER_STARTMODE, 3);
    SetCtrlVal(idSetLogger, SETLOGGER_STARTDATE, "not a date");   // not used by mode 3
    press(SETLOGGER_LOG_OK);
    EXPECT_TRUE(requested());
    EXPECT_EQ(lpStartMode, 3);
    EXPECT_EQ(lpSchedule, 3u);
}

TEST_F(LogSetting, ALowLimitAboveTheHighOneIsRefusedAndBecomesTheHighOne) {
    open(10);
    limits(20.0, 25.5);
    press(SETLOGGER_LOG_OK);
    EXPECT_EQ(refusals(), std::vector<std::string>{"warn14"});
    EXPECT_FALSE(requested());
    EXPECT_DOUBLE_EQ(lpTmpHigh[0], 20.0);
    EXPECT_DOUBLE_EQ(lpTmpLow[0], 20.0);
    // equal limits are accepted
    limits(20.0, 20.0);
    press(SETLOGGER_LOG_OK);
    EXPECT_EQ(refusals().size(), 1u);
    EXPECT_TRUE(requested());
    EXPECT_EQ(lpHighLimit[0], 200);
    EXPECT_EQ(lpLowLimit[0], 200);
}

TEST_F(LogSetting, ChangingTheChannelKeepsEachChannelsLimits) {
    open(10);
    limits(25.0, 5.0);
    set(SETLOGGER_ALARMCHANNEL, 2);
    EXPECT_EQ(currAlarmChannel, 2);
    EXPECT_DOUBLE_EQ(real(SETLOGGER_HIGHALARM), 30.0);   // channel 2's defaults
    limits(80.0, 20.0);
    set(SETLOGGER_ALARMCHANNEL, 0);
    EXPECT_DOUBLE_EQ(real(SETLOGGER_HIGHALARM), 25.0);
    EXPECT_DOUBLE_EQ(real(SETLOGGER_LOWALARM), 5.0);
    EXPECT_EQ(std::make_pair(lpTmpHigh[2], lpTmpLow[2]), std::make_pair(80.0, 20.0));
    // a low limit above the high one: the list goes back, the stored low limit is the high one
    limits(10.0, 12.0);
    set(SETLOGGER_ALARMCHANNEL, 1);
    EXPECT_EQ(refusals(), std::vector<std::string>{"warn14"});
    EXPECT_EQ(value(SETLOGGER_ALARMCHANNEL), 0);
    EXPECT_EQ(currAlarmChannel, 0);
    EXPECT_EQ(std::make_pair(lpTmpHigh[0], lpTmpLow[0]), std::make_pair(10.0, 10.0));
    EXPECT_DOUBLE_EQ(lpTmpHigh[1], 30.0);   // channel 1 untouched
}

// ---------------------------------------------------------------- the limits as the logger takes them

struct EncodingCase {
    const char *name;
    int model;
    char unit;             // the unit list's entry chosen
    double limits[3][2];   // typed per channel (only the channels the window offers)
    int high[3], low[3];   // the logger's numbers; 777 / -777 = left as they were
};

class Encoding : public LogSetting, public ::testing::WithParamInterface<EncodingCase> {};

TEST_P(Encoding, ByTheModelsClass) {
    const EncodingCase &c = GetParam();
    open(c.model);
    if (c.unit != 'C') set(SETLOGGER_UNIT, static_cast<int>(c.unit));
    for (int channel : values(SETLOGGER_ALARMCHANNEL)) {
        if (value(SETLOGGER_ALARMCHANNEL) != channel && !dimmed(idSetLogger, SETLOGGER_ALARMCHANNEL))
            set(SETLOGGER_ALARMCHANNEL, channel);
        if (currAlarmChannel == channel) limits(c.limits[channel][0], c.limits[channel][1]);
    }
    for (int k = 0; k < 3; ++k) lpHighLimit[k] = 777, lpLowLimit[k] = -777;
    press(SETLOGGER_LOG_OK);
    ASSERT_TRUE(requested()) << ::testing::PrintToString(refusals());
    EXPECT_EQ(lpUnit, c.unit);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(lpHighLimit[k], c.high[k]) << "channel " << k;
        EXPECT_EQ(lpLowLimit[k], c.low[k]) << "channel " << k;
    }
}

// Model 1, by hand: at 25 C the thermistor has 81514 Ohm (the table's grid point); in parallel
// with 511000 Ohm that is 81514 * 511000 / 592514 = 70299.86 Ohm, in hundreds rounded half up
// (70299.86 + 50) / 100 = 703.49 -> 703. At 0 C: 264480 * 511000 / 775480 = 174278.23 Ohm
// -> 1743.28 -> 1743. (The higher temperature has the lower number.)
INSTANTIATE_TEST_SUITE_P(
    Classes, Encoding,
    ::testing::Values(
        EncodingCase{"1 thermistor", 1, 'C', {{25, 0}, {}, {}}, {703, 777, 777}, {1743, -777, -777}},
        EncodingCase{"3 temperature in tenths", 3, 'C', {{25.3, -2.3}, {}, {}}, {253, 777, 300}, {-23, -777, 100}},
        EncodingCase{"4 humidity alarm", 4, 'c', {{}, {}, {80, 20.5}}, {300, 777, 800}, {100, -777, 205}},
        // every channel in tenths, truncated toward zero (25.37 is 253, -0.05 is 0); the highest
        // limit, 3276.7, held in single precision as 3276.69995..., is 32767 all the same
        EncodingCase{"10 all channels in tenths",
                     10,
                     'C',
                     {{2.3, -0.05}, {25.37, -25.37}, {3276.7, -3276.8}},
                     {23, 253, 32767},
                     {0, -253, -32768}},
        EncodingCase{"2 nothing encoded", 2, 'C', {{25, 5}, {}, {}}, {777, 777, 777}, {-777, -777, -777}}),
    [](const auto &info) { return caseName(info.param.name); });

TEST_F(LogSetting, Model4TheUnitPutsTheAlarmOnHumidity) {
    open(4);
    limits(25.0, 5.0);
    set(SETLOGGER_UNIT, static_cast<int>('c'));
    EXPECT_EQ(currAlarmChannel, 2);
    EXPECT_DOUBLE_EQ(real(SETLOGGER_HIGHALARM), 30.0);   // the humidity limits shown
    EXPECT_DOUBLE_EQ(lpTmpHigh[0], 25.0);                // the temperature's kept
    limits(80.0, 20.0);
    press(SETLOGGER_LOG_OK);
    ASSERT_TRUE(requested());
    ASSERT_TRUE(formatCommand('A'));
    EXPECT_STREQ(txBuf, "A 800 200\r");   // the humidity alarm goes to the logger
    // back to C: the temperature's limits again; a low limit above the high one is set to it
    limits(70.0, 75.0);
    set(SETLOGGER_UNIT, static_cast<int>('C'));
    EXPECT_TRUE(refusals().empty());
    EXPECT_EQ(std::make_pair(lpTmpHigh[2], lpTmpLow[2]), std::make_pair(70.0, 70.0));
    EXPECT_EQ(currAlarmChannel, 0);
    EXPECT_DOUBLE_EQ(real(SETLOGGER_HIGHALARM), 25.0);
    // a logger that reports its unit in lower case opens on the humidity alarm
    open(4, 'c');
    EXPECT_EQ(currAlarmChannel, 2);
    EXPECT_EQ(value(SETLOGGER_UNIT), 'c');
}

// ---------------------------------------------------------------- leaving the window

struct LeaveCase {
    const char *name;
    int ctrl;   // 0: the window's close box
};

class Leave : public LogSetting, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(Leave, SendsNothingButKeepsTheLimitsAChannelChangeStored) {
    const LeaveCase &c = GetParam();
    open(10);
    limits(25.0, 5.0);
    set(SETLOGGER_ALARMCHANNEL, 1);
    limits(40.0, 35.0);   // typed, never stored
    if (c.ctrl)
        press(c.ctrl);
    else
        rt::FirePanelEvent(idSetLogger, EVENT_CLOSE);
    EXPECT_FALSE(rt::PanelVisible(idSetLogger));
    EXPECT_FALSE(gFlag & GFLAG_CLOCK_FOLLOWS_PC);
    EXPECT_FALSE(requested());
    EXPECT_EQ(std::make_pair(lpTmpHigh[0], lpTmpLow[0]), std::make_pair(25.0, 5.0));
    EXPECT_EQ(std::make_pair(lpTmpHigh[1], lpTmpLow[1]), std::make_pair(30.0, 10.0));
    EXPECT_FALSE(std::filesystem::exists(dir_ / TAVIX_SETTING_FILE));
}

INSTANTIATE_TEST_SUITE_P(Closers, Leave,
                         ::testing::Values(LeaveCase{"Cancel", SETLOGGER_LOG_CANCEL},
                                           LeaveCase{"the close button", SETLOGGER_EXIT},
                                           LeaveCase{"the close box", 0}),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(LogSetting, OkHandsTheSettingsToTheLinkAndRemembersThem) {
    open(12);
    set(SETLOGGER_SAMPLEPOINTS, 1);
    interval(0, 10, 0);
    press(SETLOGGER_LOG_OK);
    EXPECT_EQ(keySetAlarm, 1);
    EXPECT_EQ(keySetting, 1);
    EXPECT_FALSE(gFlag & GFLAG_CLOCK_FOLLOWS_PC);
    EXPECT_TRUE(rt::PanelVisible(idSetLogger));
    EXPECT_TRUE(std::filesystem::exists(dir_ / TAVIX_SETTING_FILE));
    ASSERT_TRUE(formatCommand('S'));
    EXPECT_STREQ(txBuf, "S 600 C 20 1\r");
}

}   // namespace
