// The link control: key priorities, the timer tick's steps, Start and End, the completeness
// check, and whole downloads over a pseudo-terminal with the simulated logger.
#include <algorithm>
#include <fstream>
#include <cerrno>
#include <memory>
#include <cstring>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QMessageBox>

#include <filesystem>

#include "CaseName.h"
#include "DownloadRun.h"
#include "LinkFixture.h"
#include "Pty.h"
#include "ReadFaults.h"
#include "config/Config.h"
#include "display/Display.h"
#include "model/Clock.h"
#include "model/Thermistor.h"
#include "sim/SimLogger.h"

namespace {

class LinkControl : public LinkProgram {
protected:
    void SetUp() override {
        LinkProgram::SetUp();
        startProgram();   // the port does not open: commands are only formatted
    }
    // An identified logger whose status has been applied: the tick only serves keys.
    static void idle(int model = 10) {
        currDeviceId = model;
        ValPtrInit(model);
        gFlag = GFLAG_ID_KNOWN | GFLAG_SCHEDULE_KNOWN | GFLAG_STATUS_ASKED | GFLAG_STATUS_APPLIED;
    }
    static void tickNow() { timeTickCallBack(idMonitor, MONITOR_TIMER, EVENT_TIMER_TICK, nullptr, 0, 0); }
};

// ---------------------------------------------------------------- keys

struct KeyCase {
    const char *name;
    unsigned char end, start, setId, clock, alarm, setting, cali;
    const char *sent;         // nullptr: nothing
    unsigned char after[7];   // end, start, setId, clock, alarm, setting, cali afterwards
};

class KeyTable : public LinkControl, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyTable, TheFirstKeyThatAppliesWins) {
    const KeyCase &c = GetParam();
    idle(12);
    keyEnd = c.end, keyStart = c.start, keySetId = c.setId, keyClock = c.clock, keySetAlarm = c.alarm,
    keySetting = c.setting, keyTempCali = c.cali;
    std::strcpy(txBuf, "none");
    linkEventHandler('k');
    const std::string sent(txBuf);
    EXPECT_EQ(sent.substr(0, sent.find(' ') == std::string::npos ? sent.size() : sent.find(' ')),
              c.sent ? c.sent : "none")
        << c.name;
    EXPECT_EQ(sendCmdChar, c.sent ? c.sent[0] : 0) << c.name;
    const unsigned char now[7] = {keyEnd, keyStart, keySetId, keyClock, keySetAlarm, keySetting, keyTempCali};
    for (int k = 0; k < 7; ++k) EXPECT_EQ(now[k], c.after[k]) << c.name << " key " << k;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyTable,
    ::testing::Values(KeyCase{"stop first, key kept", 1, 1, 1, 1, 1, 1, 1, "Q\r", {1, 1, 1, 1, 1, 1, 1}},
                      KeyCase{"download", 0, 1, 1, 1, 1, 1, 1, "D\r", {0, 0, 1, 1, 1, 1, 1}},
                      KeyCase{"identifier", 0, 0, 1, 1, 1, 1, 1, "J", {0, 0, 0, 1, 1, 1, 1}},
                      KeyCase{"clock", 0, 0, 0, 1, 1, 1, 1, "C", {0, 0, 0, 0, 1, 1, 1}},
                      KeyCase{"alarm", 0, 0, 0, 0, 1, 1, 1, "A", {0, 0, 0, 0, 0, 1, 1}},
                      KeyCase{"settings", 0, 0, 0, 0, 0, 1, 1, "S", {0, 0, 0, 0, 0, 0, 1}},
                      KeyCase{"calibration write", 0, 0, 0, 0, 0, 0, 1, "R", {0, 0, 0, 0, 0, 0, 2}},
                      KeyCase{"read-back", 0, 0, 0, 0, 0, 0, 2, "r\r", {0, 0, 0, 0, 0, 0, 0}},
                      KeyCase{"read for display", 0, 0, 0, 0, 0, 0, 3, "r\r", {0, 0, 0, 0, 0, 0, 4}},
                      KeyCase{"read sent: nothing", 0, 0, 0, 0, 0, 0, 4, nullptr, {0, 0, 0, 0, 0, 0, 4}},
                      KeyCase{"no key: nothing", 0, 0, 0, 0, 0, 0, 0, nullptr, {0, 0, 0, 0, 0, 0, 0}}),
    [](const auto &info) { return caseName(info.param.name); });

TEST_F(LinkControl, EventLetters) {
    struct {
        char event;
        const char *sent;
    } cases[] = {{'n', "I\r"}, {'s', "M\r"}, {'t', "t\r"}, {'x', nullptr}, {'D', nullptr}};
    for (const auto &c : cases) {
        sendCmdChar = 0;
        std::strcpy(txBuf, "none");
        linkEventHandler(c.event);
        EXPECT_STREQ(txBuf, c.sent ? c.sent : "none") << c.event;
        EXPECT_EQ(sendCmdChar, c.sent ? c.sent[0] : 0) << c.event;
    }
}

// ---------------------------------------------------------------- the tick

TEST_F(LinkControl, IdentificationSequenceOneCommandPerTick) {
    currDeviceId = 10;
    std::vector<std::string> sent;
    auto step = [&] {
        txBuf[0] = 0;
        tickNow();
        sent.push_back(txBuf);
        sendCmdChar = 0;   // as if each command were answered at once
    };
    step();
    gFlag |= GFLAG_ID_KNOWN;
    step();
    gFlag |= GFLAG_SCHEDULE_KNOWN;
    step();
    EXPECT_TRUE(gFlag & GFLAG_STATUS_ASKED);
    SetCtrlAttribute(idMonitor, MONITOR_MENU4, ATTR_DIMMED, 1);
    step();   // status not applied by an answer: the tick offers the commands itself, sends nothing
    EXPECT_TRUE(gFlag & GFLAG_STATUS_APPLIED);
    EXPECT_EQ(dimmed(idMonitor, MONITOR_MENU4), 0);
    keyStart = 1;
    step();
    EXPECT_EQ(sent, (std::vector<std::string>{"I\r", "M\r", "t\r", "", "D\r"}));
}

TEST_F(LinkControl, ModelFifteenStaysDimmedWhenNoStatusArrives) {
    idle(15);
    gFlag &= static_cast<unsigned char>(~GFLAG_STATUS_APPLIED);
    SetCtrlAttribute(idMonitor, MONITOR_MENU4, ATTR_DIMMED, 0);
    tickNow();
    EXPECT_EQ(dimmed(idMonitor, MONITOR_MENU4), 1);
    EXPECT_TRUE(gFlag & GFLAG_STATUS_APPLIED);
}

TEST_F(LinkControl, APendingCommandWaitsFiveTicks) {
    idle();
    sendCmdChar = 'M';
    for (int i = 0; i < 4; ++i) tickNow();
    EXPECT_EQ(sendCmdChar, 'M');
    EXPECT_EQ(cmdRecvCnt, 4);
    tickNow();
    EXPECT_EQ(sendCmdChar, 0);
    EXPECT_EQ(cmdRecvCnt, 0);
    EXPECT_EQ(agent_.count(""), 0);   // not a settings command: no failure
}

TEST_F(LinkControl, SettingsSequenceAlarmThenSettingsClosesTheWindow) {
    idle();
    DisplayPanel(idSetLogger);
    keySetAlarm = 1;
    keySetting = 1;
    tickNow();
    EXPECT_EQ(sendCmdChar, 'A');
    EXPECT_EQ(setLoggerStep, 1);
    EXPECT_EQ(fCmdFail, 1);
    feed(">");   // acknowledged, still pending
    EXPECT_EQ(fCmdFail, 0);
    for (int i = 0; i < 5; ++i) tickNow();
    EXPECT_EQ(sendCmdChar, 0);
    EXPECT_EQ(setLoggerStep, 1);   // "A" is followed by "S"
    EXPECT_TRUE(rt::PanelVisible(idSetLogger));
    tickNow();
    EXPECT_EQ(sendCmdChar, 'S');
    feed(">");
    EXPECT_EQ(status(), "msg9");
    for (int i = 0; i < 5; ++i) tickNow();
    EXPECT_EQ(setLoggerStep, 0);
    EXPECT_FALSE(rt::PanelVisible(idSetLogger));
    EXPECT_EQ(agent_.count(""), 0);
}

TEST_F(LinkControl, ASettingsCommandWithoutIdentityFailsWithAPopUpOnly) {
    idle();
    ticks = 4;   // no reminder during these six events
    keySetting = 1;
    tickNow();
    gFlag &= static_cast<unsigned char>(~GFLAG_ID_KNOWN);
    sendUserMessage("before");
    for (int i = 0; i < 5; ++i) tickNow();
    EXPECT_EQ(status(), "before");
    ASSERT_EQ(agent_.count("message"), 1);
    EXPECT_EQ(agent_.shown[0].title, "warn9");
    EXPECT_EQ(agent_.shown[0].text, "warn16");
    EXPECT_EQ(setLoggerStep, 0);
    EXPECT_EQ(keySetting, 0);
}

TEST_F(LinkControl, ClockDisplays) {
    rt::SetClock({2026, 12, 24, 18, 5, 9});
    SetCtrlVal(idSetLogger, SETLOGGER_LOGGERTIME, "x");
    tickNow();
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_DATE), "12-24-2026");
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_TIME), "18:05:09");
    EXPECT_EQ(ctrlText(idSetLogger, SETLOGGER_LOGGERTIME), "x");
    gFlag |= GFLAG_CLOCK_FOLLOWS_PC;
    tickNow();
    EXPECT_EQ(ctrlText(idSetLogger, SETLOGGER_LOGGERDATE), "12-24-2026");
    EXPECT_EQ(ctrlText(idSetLogger, SETLOGGER_LOGGERTIME), "18:05:09");
}

TEST_F(LinkControl, StopKeyLastsTwentyTicks) {
    idle();
    keyEnd = 1;
    fEndCnt = STOP_TICKS;
    int stops = 0;
    for (int i = 0; i < 30; ++i) {
        txBuf[0] = 0;
        tickNow();
        if (std::string(txBuf) == "Q\r") ++stops;
        sendCmdChar = 0;   // each stop answered at once
    }
    EXPECT_EQ(keyEnd, 0);
    EXPECT_EQ(stops, 21);
}

TEST_F(LinkControl, RemindersOnceInSixteenEventsOfAnyKind) {
    ASSERT_EQ(ticks, 0);
    sendUserMessage("");
    timeTickCallBack(idMonitor, MONITOR_TIMER, EVENT_DISCARD, nullptr, 0, 0);
    timeTickCallBack(idMonitor, MONITOR_TIMER, EVENT_DISCARD, nullptr, 0, 0);
    EXPECT_EQ(status(), "");
    timeTickCallBack(idMonitor, MONITOR_TIMER, EVENT_DISCARD, nullptr, 0, 0);
    EXPECT_EQ(status(), "warn2");
    EXPECT_EQ(statusColor(), VAL_RED);
    EXPECT_EQ(sendCmdChar, 0);   // only timer ticks send

    idle();
    gFlag |= GFLAG_NOT_SAVED;
    sendUserMessage("");
    for (int i = 0; i < 15; ++i) timeTickCallBack(idMonitor, MONITOR_TIMER, EVENT_DISCARD, nullptr, 0, 0);
    EXPECT_EQ(status(), "");
    timeTickCallBack(idMonitor, MONITOR_TIMER, EVENT_DISCARD, nullptr, 0, 0);
    EXPECT_EQ(status(), "warn3");

    // both due: the not-saved reminder is the one left
    gFlag = GFLAG_NOT_SAVED;
    for (int i = 0; i < 16; ++i) timeTickCallBack(idMonitor, MONITOR_TIMER, EVENT_DISCARD, nullptr, 0, 0);
    EXPECT_EQ(status(), "warn3");
    EXPECT_EQ(ticks, 35);
}

// ---------------------------------------------------------------- Start, End, completeness

TEST_F(LinkControl, StartClearsTheStoreAndTheLinkFlags) {
    idle();
    gFlag = 0xFF & ~GFLAG_NOT_SAVED;   // saved records: the usual question
    storeRecord(5, 1, 2, 3);
    agent_.confirmAnswers.push_back(true);
    SetCtrlAttribute(idMonitor, MONITOR_MENU4, ATTR_DIMMED, 0);
    rt::FireCtrlEvent(idMonitor, MONITOR_START_BUTTON, EVENT_COMMIT);
    ASSERT_EQ(agent_.count("confirm"), 1);
    EXPECT_EQ(agent_.shown[0].title, "warn9");
    EXPECT_EQ(agent_.shown[0].text, "warn10");
    EXPECT_EQ(gFlag, 0x08 | 0x10 | 0x80);
    EXPECT_EQ(loggedLength, 0);
    EXPECT_EQ(rtcPtr[0], 0u);
    EXPECT_EQ(keyStart, 1);
    EXPECT_EQ(fDownloadNow, 1);
    EXPECT_EQ(fRecvD, DATA_SILENCE_TICKS);
    EXPECT_EQ(dimmed(idMonitor, MONITOR_MENU4), 1);
    EXPECT_EQ(status(), "warn4");
    EXPECT_EQ(statusColor(), VAL_BLUE);
}

TEST_F(LinkControl, StartRefusedOrIgnoredChangesNothing) {
    idle();
    storeRecord(5, 1, 2, 3);
    agent_.confirmAnswers.push_back(false);
    rt::FireCtrlEvent(idMonitor, MONITOR_START_BUTTON, EVENT_COMMIT);
    EXPECT_EQ(loggedLength, 1);
    EXPECT_EQ(keyStart, 0);
    EXPECT_EQ(gFlag & GFLAG_ID_KNOWN, GFLAG_ID_KNOWN);

    keyEnd = 1;   // a stop in progress: not even asked
    agent_.clear();
    rt::FireCtrlEvent(idMonitor, MONITOR_START_BUTTON, EVENT_COMMIT);
    EXPECT_EQ(agent_.count(""), 0);
    EXPECT_EQ(keyStart, 0);
}

TEST_F(LinkControl, EndOnlyWhileDataIsExpected) {
    fRecvD = 0;
    rt::FireCtrlEvent(idMonitor, MONITOR_END_BUTTON, EVENT_COMMIT);
    EXPECT_EQ(keyEnd, 0);
    fRecvD = 4;
    rt::FireCtrlEvent(idMonitor, MONITOR_END_BUTTON, EVENT_COMMIT);
    EXPECT_EQ(keyEnd, 1);
    EXPECT_EQ(fEndCnt, STOP_TICKS);
    EXPECT_EQ(status(), "warn5");
}

TEST_F(LinkControl, CompletenessByValuesPerLine) {
    struct {
        int model;
        int length;
        int records;
        bool complete;
    } cases[] = {{10, 16000, 5333, true}, {10, 16000, 5332, false}, {9, 301, 150, true},
                 {9, 301, 149, false},    {6, 300, 300, true},      {6, 300, 299, false}};
    for (const auto &c : cases) {
        idle(c.model);
        eLength = c.length;
        loggedLength = c.records;
        keyEnd = 0;
        agent_.clear();
        sendUserMessage("");
        updateAllPoint();
        // the records that arrived wait to be saved, complete or not
        EXPECT_TRUE(gFlag & GFLAG_NOT_SAVED) << c.model << "/" << c.records;
        EXPECT_EQ(allRecordsArrived(), c.complete) << c.model << "/" << c.records;
        EXPECT_EQ(status(), c.complete ? "msg3" : "warn8") << c.model << "/" << c.records;
        EXPECT_EQ(agent_.count("message", "warn8"), c.complete ? 0 : 1);
        // stopped by the user: complete whatever arrived
        gFlag = GFLAG_SCHEDULE_KNOWN;
        keyEnd = 1;
        agent_.clear();
        updateAllPoint();
        EXPECT_TRUE(gFlag & GFLAG_NOT_SAVED);
        EXPECT_EQ(agent_.count("message", "warn8"), 0);
    }
    // nothing arrived from a logger that reported records: nothing to save
    idle(10);
    eLength = 300;
    loggedLength = 0;
    keyEnd = 0;
    updateAllPoint();
    EXPECT_EQ(gFlag & GFLAG_NOT_SAVED, 0);
    EXPECT_EQ(status(), "warn8");
}

TEST_F(LinkControl, SilenceEndsTheDownloadOnTheSixteenthTick) {
    idle(6);
    fDownloadNow = 1;
    fRecvD = DATA_SILENCE_TICKS;
    eLength = 0;
    for (int i = 0; i < 15; ++i) tickNow();
    EXPECT_EQ(fDownloadNow, 1);
    tickNow();
    EXPECT_EQ(fDownloadNow, 0);
    EXPECT_TRUE(gFlag & GFLAG_NOT_SAVED);
}

// ---------------------------------------------------------------- over a pseudo-terminal

class LinkOverPty : public LinkProgram {};

TEST_F(LinkOverPty, DataAfterTheDownloadEndedMakesTheTickStopTheLogger) {
    Pty logger;
    ASSERT_TRUE(logger.ok());
    startProgram(logger.slavePath());
    currDeviceId = 10;
    gFlag = GFLAG_ID_KNOWN | GFLAG_SCHEDULE_KNOWN | GFLAG_STATUS_ASKED | GFLAG_STATUS_APPLIED;
    logger.write("d 251 248 655\r");
    ASSERT_TRUE(pumpUntil([] { return keyEnd == 1; }));
    EXPECT_EQ(loggedLength, 0);
    EXPECT_EQ(keyEnd, 1);
    EXPECT_EQ(fEndCnt, STOP_TICKS);
    tick();
    EXPECT_EQ(logger.read(5000), "Q\r");
    // no answer: "Q" again after the five-tick wait, as long as the stop lasts
    std::string more;
    for (int i = 0; i < 25; ++i) {
        tick(5);
        more += logger.read(5);
    }
    EXPECT_EQ(keyEnd, 0);
    EXPECT_EQ(more, "Q\rQ\rQ\r");
    EXPECT_EQ(loggedLength, 0);
}

// ---------------------------------------------------------------- with the simulated logger

class Download : public LinkProgram {
protected:
    // Start the program on a simulated logger.
    void connect(sim::LoggerConfig config) {
        logger_ = std::make_unique<sim::SimLogger>(std::move(config));
        ASSERT_TRUE(logger_->start());
        stillSending_ = [this] { return logger_->dataPending(); };
        startProgram(logger_->devicePath());
    }
    void pressStart() { rt::FireCtrlEvent(idMonitor, MONITOR_START_BUTTON, EVENT_COMMIT); }
    // Ticks until the download has ended.
    bool runDownload(int maxTicks = 600) {
        return tickUntil([] { return fDownloadNow == 0; }, maxTicks);
    }
    // Commands received, by letter.
    std::string letters() const {
        std::string s;
        for (const std::string &line : logger_->received()) s += line.empty() ? '?' : line[0];
        return s;
    }
    // The progress bar beside the status line.
    struct Progress {
        int visible = -1, value = -1, max = -1;
        std::string text;
    };
    static Progress progressBar() {
        Progress p;
        GetCtrlAttribute(idMonitor, MONITOR_PROGRESS, ATTR_VISIBLE, &p.visible);
        GetCtrlVal(idMonitor, MONITOR_PROGRESS, &p.value);
        GetCtrlAttribute(idMonitor, MONITOR_PROGRESS, ATTR_MAX_VALUE, &p.max);
        char text[128] = "";
        GetCtrlAttribute(idMonitor, MONITOR_PROGRESS, ATTR_LABEL_TEXT, text, sizeof text);
        p.text = text;
        return p;
    }
    std::unique_ptr<sim::SimLogger> logger_;
};

const cRtc kFirst = sim::makeCRtc(2026, 12, 1, 8, 0, 0);

struct DownloadCase {
    const char *name;
    const char *model;
    const char *suffix;
    char unit;
    int interval;
    int records;
    std::vector<sim::ErrorReading> errors;
};

class CompleteDownload : public Download, public ::testing::WithParamInterface<DownloadCase> {};

// What a raw value of the logger becomes in the store.
double expectedValue(int model, int raw, bool error, char unit, int slot) {
    if (model == 1) return thermistorReading(raw, unit);
    if (error) return 10000 + raw + 0.00001;
    const double v = raw / 10.0 + 0.00001;
    const bool convert = slot == 0 && (model == 3 || model == 4 || model == 24) && (unit == 'F' || unit == 'f');
    return convert ? v * 1.8 + 32 : v;
}

TEST_P(CompleteDownload, StoresEveryRecordWithItsTime) {
    const DownloadCase &c = GetParam();
    sim::LoggerConfig config;
    config.modelName = c.model;
    config.versionSuffix = c.suffix;
    config.id = "LOG-42";
    config.unit = c.unit;
    config.interval = c.interval;
    config.records = c.records;
    config.firstRecord = kFirst;
    config.errors = c.errors;
    config.baud = 38400;
    connect(config);
    const int model = sim::modelIndexOfConfig(config);
    const int perLine = sim::valuesPerLine(config);

    pressStart();
    ASSERT_TRUE(runDownload()) << c.name;

    EXPECT_EQ(letters(), "IMtD") << c.name;
    EXPECT_EQ(currDeviceId, model);
    EXPECT_STREQ(eId, "LOG-42");
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_ID), "ID=LOG-42");
    EXPECT_EQ(eSampleRate, c.interval);
    EXPECT_EQ(eSampleTime, kFirst) << c.name;
    char info[128];
    // records, not the readings the logger counts over its channels
    std::snprintf(info, sizeof info, "%s: %d records, rate=%02d:%02d:%02d, unit=%c", c.model, c.records,
                  c.interval / 3600, c.interval % 3600 / 60, c.interval % 60, c.unit);
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_INFO), info);
    EXPECT_EQ(gFlag,
              GFLAG_ID_KNOWN | GFLAG_SCHEDULE_KNOWN | GFLAG_NOT_SAVED | GFLAG_STATUS_ASKED | GFLAG_STATUS_APPLIED);
    EXPECT_EQ(status(), statusAfterTick(msg3)) << c.name;
    EXPECT_EQ(statusColor(), status() == "msg3" ? VAL_BLUE : VAL_RED);
    EXPECT_EQ(agent_.count(""), 0);
    EXPECT_EQ(dimmed(idMonitor, MONITOR_MENU4), 0);   // status 0: the commands are offered

    ASSERT_EQ(loggedLength, c.records) << c.name;
    resetThermistorState();   // the expected thermistor values repeat the conversion from the start
    const int layout = loggerType(model);
    for (int n = 0; n < c.records; ++n) {
        ASSERT_EQ(rtcPtr[n], kFirst + static_cast<cRtc>(c.interval) * n) << n;
        double *views[3] = {vTemPtr, nullptr, nullptr};
        if (layout == LAYOUT_T_RH) views[1] = vRhPtr;
        if (layout == LAYOUT_T_T2) views[1] = vTem2Ptr;
        if (layout == LAYOUT_T_T2_RH) views[1] = vTem2Ptr, views[2] = vRhPtr;
        for (int slot = 0; slot < perLine; ++slot) {
            const auto err = std::find_if(c.errors.begin(), c.errors.end(),
                                          [&](const sim::ErrorReading &e) { return e.record == n && e.slot == slot; });
            const bool error = err != c.errors.end();
            const int raw = error ? err->code : sim::defaultRawValue(model, n, slot);
            const char unit = static_cast<char>(c.unit >= 'a' ? c.unit - 32 : c.unit);
            if (model == 1 && error) continue;   // repeats the last valid reading; checked in unit tests
            ASSERT_DOUBLE_EQ(views[slot][n], expectedValue(model, raw, error, unit, slot))
                << c.name << " record " << n << " slot " << slot;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Models, CompleteDownload,
    ::testing::Values(DownloadCase{"one value per line", "4133", "", 'C', 60, 120, {{5, 0, 3}}},
                      DownloadCase{"temperature and humidity in F", "4124", "", 'F', 300, 90, {{7, 0, 2}, {8, 1, 4}}},
                      DownloadCase{"two temperatures, old firmware, long interval", "4151", "V2.1", 'C', 43200, 80, {}},
                      DownloadCase{"three values, unit sent in lower case", "4143", "", 'c', 1, 100, {{0, 2, 0}}},
                      DownloadCase{"thermistor", "41217", "", 'C', 120, 100, {{3, 0, 1}}}),
    [](const auto &info) { return caseName(info.param.name); });

// The whole download driven by the main window's own 200 ms timer and the serial
// notifications, as in the running program.
TEST_F(Download, TheRealTimerRunsAWholeDownload) {
    sim::LoggerConfig config;
    config.modelName = "4143";
    config.records = 200;
    config.firstRecord = kFirst;
    config.baud = 38400;
    connect(config);
    SetCtrlAttribute(idMonitor, MONITOR_TIMER, ATTR_ENABLED, 1);
    pressStart();

    ASSERT_TRUE(runUntilDownloadEnds()) << "the download did not end within 30 s";

    EXPECT_EQ(letters(), "IMtD");
    EXPECT_EQ(loggedLength, 200);
    EXPECT_TRUE(gFlag & GFLAG_NOT_SAVED);
    EXPECT_EQ(agent_.count(""), 0);
}

TEST_F(Download, EndPressedMidDownloadKeepsTheRecordsSoFar) {
    sim::LoggerConfig config;
    config.modelName = "4133";
    config.records = 3000;
    config.firstRecord = kFirst;
    config.baud = 9600;
    connect(config);
    pressStart();
    ASSERT_TRUE(tickUntil([] { return loggedLength >= 30; }, 200));
    rt::FireCtrlEvent(idMonitor, MONITOR_END_BUTTON, EVENT_COMMIT);
    const int atEnd = loggedLength;
    EXPECT_EQ(keyEnd, 1);
    EXPECT_EQ(status(), "warn5");
    ASSERT_TRUE(runDownload());

    EXPECT_EQ(loggedLength, atEnd);   // lines still arriving after End are not stored
    EXPECT_LT(loggedLength, 3000);
    EXPECT_NE(letters().find('Q'), std::string::npos);
    EXPECT_TRUE(gFlag & GFLAG_NOT_SAVED);   // stopped by the user: complete
    EXPECT_EQ(status(), statusAfterTick(msg3));
    EXPECT_EQ(agent_.count(""), 0);
    EXPECT_FALSE(logger_->streaming());
}

TEST_F(Download, NoLoggerAnswersIdentityIsAskedEverySixTicks) {
    sim::LoggerConfig config;
    config.fault.noAnswer = true;
    connect(config);
    sendUserMessage("");
    ticksN(2, 5);
    EXPECT_EQ(status(), "");
    tick(5);
    EXPECT_EQ(status(), "warn2");
    EXPECT_EQ(statusColor(), VAL_RED);
    ticksN(10, 5);   // 13 ticks: "I" at the 1st, 7th and 13th
    sendUserMessage("");
    ticksN(5, 5);
    EXPECT_EQ(status(), "");
    tick(5);   // event 19
    EXPECT_EQ(status(), "warn2");
    ASSERT_TRUE(logger_->waitReceived(4, 10000));
    const auto received = logger_->received();
    EXPECT_EQ(received, std::vector<std::string>(4, "I"));   // the 19th tick sent the fourth
    EXPECT_EQ(gFlag, 0);
    EXPECT_EQ(agent_.count(""), 0);
}

TEST_F(Download, ASettingsCommandWithoutAnswerWarnsAndReopensThePort) {
    sim::LoggerConfig config;
    config.modelName = "4143";
    config.fault.noAnswerTo = "J";
    connect(config);
    ASSERT_TRUE(tickUntil([] { return (gFlag & GFLAG_STATUS_APPLIED) != 0; }, 40));
    std::strcpy(lpSetId, "NEWID");
    lpSleep = 1;
    keySetId = 1;
    tick();
    EXPECT_EQ(sendCmdChar, 'J');
    EXPECT_EQ(fCmdFail, 1);
    ticksN(4);
    EXPECT_EQ(sendCmdChar, 'J');
    tick();
    EXPECT_EQ(status(), statusAfterTick(warn16));
    EXPECT_EQ(statusColor(), VAL_RED);
    ASSERT_EQ(agent_.count("message"), 1);
    EXPECT_EQ(agent_.shown[0].title, "warn9");
    EXPECT_EQ(agent_.shown[0].text, "warn16");
    EXPECT_EQ(setLoggerStep, 0);
    EXPECT_EQ(sendCmdChar, 0);
    const auto received = logger_->received();
    EXPECT_EQ(received.back(), "J NEWID 1");

    // the reopened port still carries the link: a new identification goes through
    gFlag &= static_cast<unsigned char>(~GFLAG_ID_KNOWN);
    ASSERT_TRUE(tickUntil([] { return (gFlag & GFLAG_ID_KNOWN) != 0; }, 10));
    EXPECT_EQ(fCmdFail, 0);
}

TEST_F(Download, ClockCommandIsConfirmedInTheStatusLine) {
    sim::LoggerConfig config;
    config.modelName = "4143";
    connect(config);
    ASSERT_TRUE(tickUntil([] { return (gFlag & GFLAG_STATUS_APPLIED) != 0; }, 40));
    rtcValue = kFirst;
    keyClock = 1;
    tick();
    EXPECT_EQ(status(), statusAfterTick("msg10"));
    ticksN(5);
    EXPECT_EQ(agent_.count(""), 0);
    EXPECT_EQ(logger_->settings().clock, static_cast<long long>(kFirst));
}

// The progress bar counts the records against the number the logger reported per channel,
// and goes away when the download ends.
TEST_F(Download, TheProgressBarCountsTheRecordsAgainstTheReportedNumber) {
    sim::LoggerConfig config;
    config.modelName = "4143";   // three values per line: 900 readings are 300 records
    config.records = 300;
    config.firstRecord = kFirst;
    config.baud = 9600;
    connect(config);
    EXPECT_EQ(progressBar().visible, 0);
    pressStart();
    ASSERT_TRUE(tickUntil([] { return loggedLength >= 20; }, 200));
    const Progress during = progressBar();
    EXPECT_EQ(during.visible, 1);
    EXPECT_EQ(during.max, 300);
    EXPECT_EQ(during.value, loggedLength);
    EXPECT_EQ(during.text, std::to_string(loggedLength) + " / 300 records");
    ASSERT_TRUE(runDownload());
    EXPECT_EQ(loggedLength, 300);
    EXPECT_EQ(progressBar().visible, 0);
    // the title names the logger and marks the records as not saved
    char title[128] = "";
    GetPanelAttribute(idMonitor, ATTR_TITLE, title, sizeof title);
    EXPECT_EQ(std::string(title), std::string("Tavix \u2014 ID= ") + eId + " *");
}

TEST_F(Download, FewerRecordsThanReportedEndWithTheIncompleteWarning) {
    sim::LoggerConfig config;
    config.modelName = "4143";
    config.records = 100;
    config.firstRecord = kFirst;
    config.baud = 38400;
    config.fault.extraRecords = -10;
    connect(config);
    pressStart();
    ASSERT_TRUE(runDownload());
    EXPECT_EQ(loggedLength, 90);
    // the records that arrived are drawn and wait to be saved; the user is told they are not all
    EXPECT_TRUE(gFlag & GFLAG_NOT_SAVED);
    EXPECT_FALSE(allRecordsArrived());
    EXPECT_FALSE(rt::GraphPlots(idMonitor, MONITOR_GRAPH).empty());
    EXPECT_EQ(status(), statusAfterTick(warn8));
    ASSERT_EQ(agent_.count("message"), 1);
    EXPECT_EQ(agent_.shown[0].title, "warn11");
    EXPECT_EQ(agent_.shown[0].text, "warn8");
    EXPECT_EQ(progressBar().visible, 0);
}

TEST_F(Download, MoreRecordsThanTheLayoutHoldsAreNotStored) {
    // A full three-channel logger (5333 records fit). The first records arrive over the line;
    // the store is then taken as holding all but the last 100 places, so that the rest of the
    // stream runs past the capacity without sending thousands of lines through the test.
    sim::LoggerConfig config;
    config.modelName = "4143";
    config.records = 400;
    config.countOverride = 16000;
    config.firstRecord = kFirst;
    config.interval = 10;
    config.baud = 38400;
    connect(config);
    const int capacity = layoutCapacity(LAYOUT_T_T2_RH);
    pressStart();
    ASSERT_TRUE(tickUntil([] { return loggedLength >= 10; }, 100));
    const int received = loggedLength;
    loggedLength = capacity - 100;
    ASSERT_TRUE(runDownload());

    EXPECT_EQ(loggedLength, capacity);
    EXPECT_EQ(refusedRecords, 400 - received - 100);
    EXPECT_EQ(rtcPtr[capacity - 1], kFirst + 10u * (capacity - 1));
    EXPECT_EQ(rtcPtr[capacity], 0u);
    const double *values = reinterpret_cast<const double *>(ldPtr + RECORD_VALUES_OFFSET);
    EXPECT_DOUBLE_EQ(values[3 * capacity], 1e-7);   // the block's last value slot, beyond every view
    EXPECT_TRUE(gFlag & GFLAG_NOT_SAVED);
    char full[64];
    std::snprintf(full, sizeof full, "%4d %s (max).", capacity, wPoints);
    EXPECT_EQ(status(), statusAfterTick(full));
    EXPECT_EQ(statusColor(), VAL_RED);
}

// ---------------------------------------------------------------- a busy machine, a bad line

sim::LoggerConfig threeChannels(int records) {
    sim::LoggerConfig config;
    config.modelName = "4143";
    config.records = records;
    config.firstRecord = kFirst;
    config.baud = 38400;
    return config;
}

// A new download starts on an empty chart: no curves, time labels or read-outs of the records
// held before.
TEST_F(Download, StartClearsTheChartAndItsReadouts) {
    sim::LoggerConfig config = threeChannels(30);
    connect(config);
    pressStart();
    ASSERT_TRUE(runDownload());
    ASSERT_FALSE(rt::GraphPlots(idMonitor, MONITOR_GRAPH).empty());
    ASSERT_NE(ctrlText(idMonitor, MONITOR_CURSOR1_TEXT), "");
    agent_.saveDiscardCancelAnswers = {VAL_DISCARD_ANSWER};   // not saved: let them go
    pressStart();
    EXPECT_TRUE(rt::GraphPlots(idMonitor, MONITOR_GRAPH).empty());
    EXPECT_TRUE(rt::GraphAxis(idMonitor, MONITOR_GRAPH, VAL_XAXIS).items.empty());
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_CURSOR1_TEXT), "");
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_CURSOR2_TEXT), "");
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_START_TIME).find("2026"), std::string::npos);
}

// A download ended early (End, a pulled cable, a short recording) after a longer recording
// the user had scrolled through: the chart starts at the new records' first, so they are in
// view. A picture of the main window is kept in build/artifacts.
TEST_F(Download, AnInterruptedDownloadIsInViewFromItsFirstRecord) {
    sim::LoggerConfig config = threeChannels(3000);
    config.baud = 9600;
    connect(config);
    pressStart();
    // at 9600 baud a thousand records take a quarter of a minute, longer on a busy machine
    ASSERT_TRUE(tickUntil([] { return loggedLength >= 1000; }, 3000));
    rt::FireCtrlEvent(idMonitor, MONITOR_END_BUTTON, EVENT_COMMIT);
    ASSERT_TRUE(runDownload());
    // the user looks at the later records
    SetCtrlVal(idMonitor, MONITOR_OFFSET, 645);
    rt::FireCtrlEvent(idMonitor, MONITOR_OFFSET, EVENT_COMMIT);
    ASSERT_EQ(chartOffset, 645);

    agent_.saveDiscardCancelAnswers = {VAL_DISCARD_ANSWER};   // not saved: let them go
    pressStart();
    EXPECT_EQ(chartOffset, 0);
    ASSERT_TRUE(tickUntil([] { return loggedLength >= 40; }, 200));
    rt::FireCtrlEvent(idMonitor, MONITOR_END_BUTTON, EVENT_COMMIT);
    ASSERT_TRUE(runDownload());
    ASSERT_LT(loggedLength, 645);

    int offset = -1;
    GetCtrlVal(idMonitor, MONITOR_OFFSET, &offset);
    EXPECT_EQ(offset, 0);
    const auto plots = rt::GraphPlots(idMonitor, MONITOR_GRAPH);
    ASSERT_FALSE(plots.empty()) << "the chart is empty";
    double axisOffset = 0;
    GetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_XAXIS_OFFSET, &axisOffset);
    EXPECT_EQ(axisOffset, 1.0) << "the x axis starts at record 1";
    const std::filesystem::path artifacts = TAVIX_ARTIFACT_DIR;
    std::filesystem::create_directories(artifacts);
    EXPECT_EQ(rt::SavePanelImage(idMonitor, (artifacts / "main-window-interrupted-download.png").string().c_str()), 0);
}

// A confirmation in the status line is read before a hint replaces it: the hint of a control
// the user enters waits until the message has been shown for a few seconds, and is dropped
// when the user leaves first; leaving never wipes a message.
TEST_F(Download, AConfirmationIsNotOverwrittenByAHint) {
    connect(threeChannels(10));
    ASSERT_TRUE(tickUntil([] { return (gFlag & GFLAG_STATUS_APPLIED) != 0; }, 40));
    QWidget *offset = rt::CtrlWidget(idMonitor, MONITOR_OFFSET);
    ASSERT_NE(offset, nullptr);
    auto focus = [offset](QEvent::Type type) {
        QFocusEvent event(type, Qt::MouseFocusReason);
        QApplication::sendEvent(offset, &event);
    };
    auto confirmClock = [] {
        rtcValue = kFirst;
        keyClock = 1;
        ASSERT_TRUE(tickUntil([] { return ctrlText(idMonitor, MONITOR_MESSAGE) == "msg10"; }, 10));
    };

    // the user enters the offset field at once, and stays
    confirmClock();
    focus(QEvent::FocusIn);
    EXPECT_EQ(status(), "msg10");
    ASSERT_TRUE(tickUntil([] { return status() != "msg10"; }, 2 * STATUS_HOLD_TICKS));
    EXPECT_EQ(status(), "msg7");
    focus(QEvent::FocusOut);
    EXPECT_EQ(status(), "");

    // the user passes through the field before the message has been read
    ticksN(6);   // the clock command's wait is over
    confirmClock();
    focus(QEvent::FocusIn);
    focus(QEvent::FocusOut);
    ticksN(STATUS_HOLD_TICKS + 1);
    EXPECT_EQ(status(), "msg10");
}

// On a busy machine a read of the logger's port can find nothing (its bytes were taken a moment
// before); the errno it leaves is a leftover. The download must not notice.
struct EmptyReadCase {
    const char *name;
    int result;
    int err;
};

class EmptyReadDownload : public Download, public ::testing::WithParamInterface<EmptyReadCase> {
protected:
    void TearDown() override {
        readfaults::clear();
        Download::TearDown();
    }
};

TEST_P(EmptyReadDownload, LosesNoRecord) {
    connect(threeChannels(300));
    readfaults::failReads(logger_->devicePath(), 6, 1, GetParam().result, GetParam().err);
    pressStart();
    ASSERT_TRUE(runDownload());
    EXPECT_EQ(readfaults::readsFailed(), 1);
    EXPECT_EQ(loggedLength, 300);
    EXPECT_TRUE(gFlag & GFLAG_NOT_SAVED);
    EXPECT_EQ(status(), statusAfterTick(msg3));
    EXPECT_EQ(agent_.count(""), 0);
    EXPECT_EQ(rt::ComPortStatus(kPort), rt::COM_PORT_OPEN);
}

INSTANTIATE_TEST_SUITE_P(Reads, EmptyReadDownload,
                         ::testing::Values(EmptyReadCase{"nothing_EAGAIN", 0, EAGAIN},
                                           EmptyReadCase{"nothing_EIO", 0, EIO},
                                           EmptyReadCase{"failure_EAGAIN", -1, EAGAIN}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Download, TwoDownloadsInOneRun) {
    connect(threeChannels(150));
    pressStart();
    ASSERT_TRUE(runDownload());
    ASSERT_EQ(loggedLength, 150);
    agent_.saveDiscardCancelAnswers = {VAL_DISCARD_ANSWER};   // the records held, not saved, go
    pressStart();
    EXPECT_EQ(loggedLength, 0);
    ASSERT_TRUE(runDownload());
    EXPECT_EQ(loggedLength, 150);
    EXPECT_EQ(letters(), "IMtDIMtD");
    EXPECT_TRUE(gFlag & GFLAG_NOT_SAVED);
    EXPECT_EQ(agent_.count("message"), 0);
}

TEST_F(Download, ALoggerEndingItsLinesWithCrLfDownloadsCompletely) {
    sim::LoggerConfig config = threeChannels(120);
    config.id = "LOG-42";
    config.fault.crlf = true;
    connect(config);
    pressStart();
    ASSERT_TRUE(runDownload());
    EXPECT_EQ(letters(), "IMtD");
    EXPECT_STREQ(eId, "LOG-42");
    EXPECT_EQ(loggedLength, 120);
    EXPECT_EQ(rtcPtr[119], kFirst + 60u * 119);
    EXPECT_TRUE(gFlag & GFLAG_NOT_SAVED);
    EXPECT_EQ(agent_.count(""), 0);
}

// A line that keeps sending lines that are not data after the 50th record: the download still
// ends 15 ticks after its last data line, as an incomplete one, and every tick returns.
TEST_F(Download, ANoisyLineCannotHoldTheDownloadOpen) {
    sim::LoggerConfig config = threeChannels(100);
    config.baud = 0;   // as fast as the line takes them
    config.fault.floodAfterRecords = 50;
    connect(config);
    pressStart();
    ASSERT_TRUE(runDownload(200));
    EXPECT_EQ(loggedLength, 50);
    EXPECT_TRUE(gFlag & GFLAG_NOT_SAVED);
    ASSERT_EQ(agent_.count("message"), 1);
    EXPECT_EQ(agent_.shown[0].text, "warn8");
    tick();   // the noise goes on; the tick still returns
    EXPECT_EQ(fDownloadNow, 0);
}

// The cable is pulled during a download: the user is told that the port closed (not that the
// logger fell silent), the records that arrived stay, and a logger on the port again is found
// by itself.
TEST_F(Download, APulledCableIsReportedAndThePortComesBack) {
    sim::LoggerConfig config = threeChannels(400);
    config.baud = 9600;
    config.fault.disconnectAfterLines = 3 * 2 + 40;   // I, M and t with their prompts, 40 records
    connect(config);
    pressStart();
    ASSERT_TRUE(runDownload(100));
    EXPECT_EQ(loggedLength, 40);
    ASSERT_EQ(agent_.count("message"), 1);
    EXPECT_EQ(agent_.shown[0].title, "warn9");
    EXPECT_EQ(agent_.shown[0].text, msgPortClosed);
    EXPECT_EQ(rt::ComPortStatus(kPort), rt::COM_PORT_CLOSED);
    EXPECT_EQ(gFlag & GFLAG_ID_KNOWN, 0);
    EXPECT_EQ(dimmed(idMonitor, MONITOR_MENU4), 1);
    // the records that arrived are drawn and wait to be saved
    EXPECT_TRUE(gFlag & GFLAG_NOT_SAVED);
    EXPECT_FALSE(allRecordsArrived());
    const auto plots = rt::GraphPlots(idMonitor, MONITOR_GRAPH);
    ASSERT_FALSE(plots.empty());
    EXPECT_EQ(progressBar().visible, 0);

    // another logger on the same port number
    sim::SimLogger second(threeChannels(10));
    ASSERT_TRUE(second.start());
    rt::BindComPort(kPort, second.devicePath());
    ASSERT_TRUE(tickUntil([] { return rt::ComPortStatus(kPort) == rt::COM_PORT_OPEN; }, 17));
    EXPECT_EQ(status(), msgPortReopened);
    ASSERT_TRUE(tickUntil([] { return (gFlag & GFLAG_ID_KNOWN) != 0; }, 10));
    EXPECT_EQ(agent_.count("message"), 1);
}

// A download cut off half way, then another logger plugged in and identified: the records held
// keep the description of the logger they came from, in the window and in the file saved.
TEST_F(Download, RecordsKeepTheirLoggersDescriptionWhenAnotherIsPluggedIn) {
    sim::LoggerConfig first = threeChannels(400);
    first.id = "LOG-A";
    first.interval = 60;
    first.baud = 9600;
    first.fault.disconnectAfterLines = 3 * 2 + 40;   // I, M and t with their prompts, 40 records
    connect(first);
    pressStart();
    ASSERT_TRUE(runDownload(100));
    ASSERT_EQ(loggedLength, 40);
    const cRtc lastTime = rtcPtr[39];
    const double lastHumidity = vRhPtr[39];

    // a one-channel logger in Fahrenheit with another identifier and interval
    sim::LoggerConfig other;
    other.modelName = "4133";
    other.id = "LOG-B";
    other.interval = 300;
    other.unit = 'F';
    other.records = 10;
    other.firstRecord = kFirst + 86400;
    other.baud = 9600;
    sim::SimLogger second(other);
    ASSERT_TRUE(second.start());
    rt::BindComPort(kPort, second.devicePath());
    ASSERT_TRUE(tickUntil([] { return (gFlag & GFLAG_SCHEDULE_KNOWN) != 0; }, 40));
    ASSERT_EQ(currDeviceId, 6);
    ASSERT_STREQ(eId, "LOG-B");
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_ID), "ID=LOG-B");

    // the records are still the first logger's three channels
    EXPECT_EQ(loggedLength, 40);
    EXPECT_EQ(recordLayout(), LAYOUT_T_T2_RH);
    EXPECT_EQ(rtcPtr[39], lastTime);
    EXPECT_DOUBLE_EQ(vRhPtr[39], lastHumidity);
    const RecordsDescription d = recordsDescription();
    EXPECT_EQ(d.model, 10);
    EXPECT_STREQ(d.id, "LOG-A");
    EXPECT_EQ(d.interval, 60);
    EXPECT_EQ(d.unit, 'C');
    EXPECT_EQ(d.firstTime, kFirst);

    // Save File writes the first logger's description over its records
    const std::string file = (dir_ / "cut.txt").string();
    agent_.fileAnswers.push_back(file);
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU2, EVENT_COMMIT);
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 6u + 40u);
    EXPECT_EQ(lines[0], "   #10");
    EXPECT_EQ(lines[2], "ID= LOG-A");
    EXPECT_EQ(lines[3], "Sample_Rate= 00:01:00");
    EXPECT_EQ(lines[4], "Total_Records= 1200");
    EXPECT_EQ(lines[5], "Unit: C");
    char date[11], time[9];
    cRtc2Rtc(lastTime, date, time);
    EXPECT_EQ(lines.back().substr(0, 27), std::string("   40  ") + date + " " + time + " ");
    EXPECT_EQ(std::count(lines.back().begin(), lines.back().end(), '.'), 3) << lines.back();

    // a new download replaces them, and with them their description
    agent_.confirmAnswers.push_back(true);   // the records held are discarded
    pressStart();
    ASSERT_TRUE(runDownload(100));
    EXPECT_EQ(loggedLength, 10);
    EXPECT_STREQ(recordsDescription().id, "LOG-B");
    EXPECT_EQ(recordsDescription().model, 6);
    EXPECT_EQ(recordLayout(), LAYOUT_T);
}

// The box about the closed port stays open while the window's own timer opens the port again
// as soon as the device is back: the box holds nothing up.
TEST_F(Download, TheClosedPortBoxDoesNotHoldUpTheReconnection) {
    sim::LoggerConfig config = threeChannels(400);
    config.baud = 9600;
    config.fault.disconnectAfterLines = 3 * 2 + 40;
    connect(config);
    rt::SetUserAgent(nullptr);   // the real boxes
    pressStart();
    ASSERT_TRUE(runDownload(100));
    QMessageBox *box = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *b = qobject_cast<QMessageBox *>(w); b && b->isVisible() && b->text() == QString(msgPortClosed))
            box = b;
    ASSERT_NE(box, nullptr) << "no box about the closed port";
    EXPECT_EQ(rt::ComPortStatus(kPort), rt::COM_PORT_CLOSED);

    // the device comes back while the box is open; the window's timer runs by itself
    sim::SimLogger second(threeChannels(10));
    ASSERT_TRUE(second.start());
    rt::BindComPort(kPort, second.devicePath());
    SetCtrlAttribute(idMonitor, MONITOR_TIMER, ATTR_ENABLED, 1);
    EXPECT_TRUE(pumpUntil([] { return (gFlag & GFLAG_ID_KNOWN) != 0; }, 60000)) << "not reconnected";
    EXPECT_TRUE(box->isVisible());
    box->button(QMessageBox::Ok)->click();
    SetCtrlAttribute(idMonitor, MONITOR_TIMER, ATTR_ENABLED, 0);
    rt::SetUserAgent(&agent_);
}

}   // namespace
