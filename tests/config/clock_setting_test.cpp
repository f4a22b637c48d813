// The clock, identifier and sleep-mode sections of the logger-settings window, through their
// callbacks and the real widgets, with the link timer of the running program; then the clock and
// identifier commands end to end with the simulated logger.
#include <QTest>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CaseName.h"
#include "ConfigFixture.h"

namespace {

constexpr signed char kMonthDayYear = 0;   // the date-format preference
constexpr int kModel = 10;                 // a three-channel logger without calibration

class ClockWindow : public ConfigProgram {
protected:
    void SetUp() override {
        ConfigProgram::SetUp();
        rt::SetClock({2026, 12, 10, 9, 30, 0});
        startSilent(kModel);
        sLocal.dateFormat = kMonthDayYear;
        openWindow();
    }
    static void tickNow() { timeTickCallBack(idMonitor, MONITOR_TIMER, EVENT_TIMER_TICK, nullptr, 0, 0); }
    static std::string field(int control) { return ctrlText(idSetLogger, control); }
};

// ---------------------------------------------------------------- clock

TEST_F(ClockWindow, OkWithoutTouchingTheFieldsSendsThePcTimeOfTheLastTick) {
    rt::SetClock({2026, 12, 10, 9, 30, 5});
    tickNow();
    EXPECT_EQ(field(SETLOGGER_LOGGERDATE), "12-10-2026");
    EXPECT_EQ(field(SETLOGGER_LOGGERTIME), "09:30:05");
    const cRtc lastTick = nowCRtc();
    rt::SetClock({2026, 12, 10, 9, 30, 7});   // no tick since

    press(idSetLogger, SETLOGGER_CLOCK_OK);
    EXPECT_EQ(keyClock, 1);
    EXPECT_EQ(rtcValue, lastTick);
    EXPECT_EQ(agent_.count(""), 0);
    tickNow();
    EXPECT_EQ(sent(), "C " + std::to_string(lastTick) + "\r");
    EXPECT_EQ(keyClock, 0);
}

TEST_F(ClockWindow, TypingTurnsBothFieldsYellowAndCancelLetsThemFollowThePcAgain) {
    QLineEdit *time = lineEdit(idSetLogger, SETLOGGER_LOGGERTIME);
    ASSERT_NE(time, nullptr);
    QTest::mouseClick(time, Qt::LeftButton);
    EXPECT_EQ(gFlag & GFLAG_CLOCK_FOLLOWS_PC, 0);   // the click stops the PC clock
    EXPECT_EQ(background(idSetLogger, SETLOGGER_LOGGERDATE), VAL_WHITE);
    time->selectAll();
    QTest::keyClicks(time, "12:00:00");
    EXPECT_EQ(background(idSetLogger, SETLOGGER_LOGGERDATE), VAL_YELLOW);
    EXPECT_EQ(background(idSetLogger, SETLOGGER_LOGGERTIME), VAL_YELLOW);
    rt::SetClock({2026, 12, 10, 9, 31, 0});
    tickNow();
    EXPECT_EQ(field(SETLOGGER_LOGGERTIME), "12:00:00");   // what was typed stays

    press(idSetLogger, SETLOGGER_CLOCK_CANCEL);
    EXPECT_EQ(background(idSetLogger, SETLOGGER_LOGGERDATE), VAL_WHITE);
    EXPECT_EQ(background(idSetLogger, SETLOGGER_LOGGERTIME), VAL_WHITE);
    EXPECT_EQ(field(SETLOGGER_LOGGERTIME), "12:00:00");   // until the next tick
    tickNow();
    EXPECT_EQ(field(SETLOGGER_LOGGERTIME), "09:31:00");
    EXPECT_EQ(keyClock, 0);
    EXPECT_EQ(sent(), "");   // Cancel sends nothing
}

TEST_F(ClockWindow, TypingWithoutAClickKeepsTheTypedTime) {
    // A user who reaches the field with the Tab key types without clicking: the PC clock must
    // not overwrite what he types.
    QLineEdit *time = lineEdit(idSetLogger, SETLOGGER_LOGGERTIME);
    ASSERT_NE(time, nullptr);
    time->selectAll();
    QTest::keyClicks(time, "08:15:00");
    rt::SetClock({2026, 12, 10, 9, 31, 0});
    tickNow();
    EXPECT_EQ(field(SETLOGGER_LOGGERTIME), "08:15:00");
    press(idSetLogger, SETLOGGER_CLOCK_OK);
    cRtc expected = 0;
    ASSERT_EQ(rtc2CRtc("12-10-2026", "08:15:00", &expected), 0);
    EXPECT_EQ(rtcValue, expected);
}

struct ClockCase {
    const char *name;
    const char *date;   // month-day-year
    const char *time;
    const char *refusal;   // the pop-up's text, nullptr when accepted
    cRtc sent;             // the time sent when accepted
};

class ClockOk : public ClockWindow, public ::testing::WithParamInterface<ClockCase> {};

TEST_P(ClockOk, ChecksTheDateAndTheTime) {
    const ClockCase &c = GetParam();
    constexpr cRtc kEarlier = 777;   // the time of an earlier request
    rtcValue = kEarlier;
    typed(idSetLogger, SETLOGGER_LOGGERDATE, c.date);
    typed(idSetLogger, SETLOGGER_LOGGERTIME, c.time);
    press(idSetLogger, SETLOGGER_CLOCK_OK);
    EXPECT_STREQ(lpRDate, c.date);
    EXPECT_STREQ(lpRTime, c.time);
    if (c.refusal != nullptr) {
        EXPECT_EQ(popups(), std::vector<std::string>{std::string("warn11 / ") + c.refusal});
        EXPECT_EQ(keyClock, 0);
        EXPECT_EQ(rtcValue, kEarlier);   // a time that does not convert is never kept
        EXPECT_EQ(background(idSetLogger, SETLOGGER_LOGGERTIME), VAL_YELLOW);
        tickNow();
        EXPECT_EQ(sent(), "");
    } else {
        EXPECT_EQ(agent_.count(""), 0);
        EXPECT_EQ(rtcValue, c.sent);
        EXPECT_EQ(background(idSetLogger, SETLOGGER_LOGGERDATE), VAL_WHITE);
        EXPECT_EQ(background(idSetLogger, SETLOGGER_LOGGERTIME), VAL_WHITE);
        tickNow();
        EXPECT_EQ(sent(), "C " + std::to_string(c.sent) + "\r");
    }
}

// 2024-02-29 12:00:00 is 8825 days and 12 hours after 2000-01-01 00:00:00.
constexpr cRtc kLeapDayNoon = 8825u * 86400u + 12u * 3600u;

INSTANTIATE_TEST_SUITE_P(
    Clock, ClockOk,
    ::testing::Values(ClockCase{"leap day of a common year", "02-29-2023", "12:00:00", "warn12", 0},
                      ClockCase{"leap day of a leap year", "02-29-2024", "12:00:00", nullptr, kLeapDayNoon},
                      ClockCase{"year after 2099", "01-01-2100", "12:00:00", "warn12", 0},
                      ClockCase{"year-month-day form", "2024-02-29", "12:00:00", "warn12", 0},
                      ClockCase{"hour 24", "02-29-2024", "24:00:00", "warn13", 0},
                      ClockCase{"no seconds", "02-29-2024", "12:00", "warn13", 0}),
    [](const auto &info) { return caseName(info.param.name); });

TEST_F(ClockWindow, TheClockFieldsTakeNoMoreThanTheirTexts) {
    SetCtrlVal(idSetLogger, SETLOGGER_LOGGERDATE, "02-29-2024-0000000");
    EXPECT_EQ(field(SETLOGGER_LOGGERDATE), "02-29-2024-");
}

// ---------------------------------------------------------------- identifier and sleep mode

TEST_F(ClockWindow, IdentifierOkSendsTheFieldWithTheSleepSwitch) {
    QLineEdit *id = lineEdit(idSetLogger, SETLOGGER_IDENTIFIER);
    ASSERT_NE(id, nullptr);
    id->selectAll();
    QTest::keyClicks(id, "STORE-7");
    EXPECT_EQ(background(idSetLogger, SETLOGGER_IDENTIFIER), VAL_YELLOW);
    press(idSetLogger, SETLOGGER_ID_OK);
    EXPECT_EQ(background(idSetLogger, SETLOGGER_IDENTIFIER), VAL_WHITE);
    EXPECT_EQ(status(), "msg11");
    EXPECT_EQ(statusColor(), VAL_BLUE);
    tickNow();
    EXPECT_EQ(sent(), "J STORE-7 0\r");
}

TEST_F(ClockWindow, AnEleventhCharacterCannotBeTyped) {
    QLineEdit *id = lineEdit(idSetLogger, SETLOGGER_IDENTIFIER);
    ASSERT_NE(id, nullptr);
    id->selectAll();
    QTest::keyClicks(id, "ABCDEFGHIJK");
    EXPECT_EQ(ctrlText(idSetLogger, SETLOGGER_IDENTIFIER), "ABCDEFGHIJ");
    press(idSetLogger, SETLOGGER_ID_OK);
    tickNow();
    EXPECT_EQ(sent(), "J ABCDEFGHIJ 0\r");
}

TEST_F(ClockWindow, AfterIdentifierCancelSleepOkSendsTheDashes) {
    typed(idSetLogger, SETLOGGER_IDENTIFIER, "NEW");
    press(idSetLogger, SETLOGGER_ID_CANCEL);
    EXPECT_EQ(ctrlText(idSetLogger, SETLOGGER_IDENTIFIER), "--------");
    EXPECT_EQ(background(idSetLogger, SETLOGGER_IDENTIFIER), VAL_WHITE);
    EXPECT_EQ(keySetId, 0);
    SetCtrlVal(idSetLogger, SETLOGGER_SLEEPMODE, 1);
    press(idSetLogger, SETLOGGER_SLEEP_OK);
    EXPECT_EQ(keySetId, 1);
    EXPECT_NE(status(), "msg11");   // sleep OK shows no message
    tickNow();
    EXPECT_EQ(sent(), "J -------- 1\r");
}

TEST_F(ClockWindow, AnIdentifierThatCannotTravelAsOneFieldIsRefused) {
    // With a space the logger would take the second word for the sleep mode, and its answer
    // to "I" would carry the second word where the model name belongs.
    for (const char *text : {"AB CD", "Küche"}) {
        agent_.clear();
        typed(idSetLogger, SETLOGGER_IDENTIFIER, text);
        for (int button : {SETLOGGER_ID_OK, SETLOGGER_SLEEP_OK}) {
            press(idSetLogger, button);
            EXPECT_EQ(keySetId, 0) << text;
        }
        EXPECT_EQ(popups(), std::vector<std::string>(2, "warn11 / " + std::string(msgIdChars))) << text;
        EXPECT_EQ(background(idSetLogger, SETLOGGER_IDENTIFIER), VAL_YELLOW) << text;
    }
    EXPECT_NE(std::string(msgIdChars), "");
    tickNow();
    EXPECT_EQ(sent(), "");
}

// ---------------------------------------------------------------- with the simulated logger

class ClockWithLogger : public ConfigProgram {
protected:
    void connect(sim::LoggerConfig config) {
        config.modelName = "4143";
        startWithLogger(std::move(config));
        sLocal.dateFormat = kMonthDayYear;
        openWindow();
    }
    // Ticks until the command asked for has been sent and its wait is over.
    static bool sendAndWait() {
        return tickUntil([] { return keyClock == 0 && keySetId == 0 && sendCmdChar == 0; }, 40);
    }
};

TEST_F(ClockWithLogger, TheLoggerGetsTheClockTheIdentifierAndTheSleepMode) {
    connect({});
    typed(idSetLogger, SETLOGGER_LOGGERDATE, "02-29-2024");
    typed(idSetLogger, SETLOGGER_LOGGERTIME, "12:00:00");
    press(idSetLogger, SETLOGGER_CLOCK_OK);
    tick();
    EXPECT_TRUE(pumpUntil([] { return status() == "msg10"; }));   // the logger confirmed
    ASSERT_TRUE(sendAndWait());

    typed(idSetLogger, SETLOGGER_IDENTIFIER, "COLD-ROOM");
    SetCtrlVal(idSetLogger, SETLOGGER_SLEEPMODE, 1);
    press(idSetLogger, SETLOGGER_ID_OK);
    ASSERT_TRUE(sendAndWait());

    EXPECT_EQ(agent_.count(""), 0) << ::testing::PrintToString(popups());
    const std::vector<std::string> received = logger_->received();
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(received.end() - 2, received.end()),
              (std::vector<std::string>{"C " + std::to_string(kLeapDayNoon), "J COLD-ROOM 1"}));
    EXPECT_EQ(logger_->state().id, "COLD-ROOM");
    EXPECT_EQ(logger_->settings().sleep, 1);
}

TEST_F(ClockWithLogger, BothIdentifierOkButtonsBeforeATickSendOneCommand) {
    connect({});
    const std::size_t before = logger_->received().size();
    typed(idSetLogger, SETLOGGER_IDENTIFIER, "ONE");
    press(idSetLogger, SETLOGGER_ID_OK);
    SetCtrlVal(idSetLogger, SETLOGGER_SLEEPMODE, 1);
    press(idSetLogger, SETLOGGER_SLEEP_OK);
    ASSERT_TRUE(sendAndWait());
    ticksN(2);   // free ticks after the wait: nothing more to send
    const std::vector<std::string> received = logger_->received();
    EXPECT_EQ(std::vector<std::string>(received.begin() + static_cast<long>(before), received.end()),
              std::vector<std::string>{"J ONE 1"});
}

// The logger's confirmation of the identifier command replaces "sending the new identifier"
// in the status line, in the language chosen, whichever of the two buttons sent it.
struct ConfirmationCase {
    const char *name;
    int button;
    const char *language;
};

class IdentifierConfirmation : public ClockWithLogger, public ::testing::WithParamInterface<ConfirmationCase> {};

TEST_P(IdentifierConfirmation, IsShownInTheStatusLine) {
    const ConfirmationCase &c = GetParam();
    std::filesystem::copy_file(std::filesystem::path(TAVIX_BIN_DIR) / c.language, dir_ / c.language,
                               std::filesystem::copy_options::overwrite_existing);
    std::ofstream(dir_ / "localORM.ini") << "[General]\nDate Format = M-D-Y\nDefault Unit = METRIC\nLanguage File = "
                                         << c.language << "\n[TableProcess]\ndefaultHigh = 30\ndefaultLow = 10\n";
    connect({});
    const std::string confirmed = msgIdentifierSet;
    ASSERT_FALSE(confirmed.empty());
    typed(idSetLogger, SETLOGGER_IDENTIFIER, "COLD-ROOM");
    press(idSetLogger, c.button);
    ASSERT_TRUE(sendAndWait());
    EXPECT_EQ(status(), statusAfterTick(confirmed.c_str()));
    EXPECT_EQ(logger_->state().id, "COLD-ROOM");
    EXPECT_EQ(agent_.count(""), 0) << ::testing::PrintToString(popups());
}

INSTANTIATE_TEST_SUITE_P(Buttons, IdentifierConfirmation,
                         ::testing::Values(ConfirmationCase{"identifier OK English", SETLOGGER_ID_OK, "English.ini"},
                                           ConfirmationCase{"sleep OK English", SETLOGGER_SLEEP_OK, "English.ini"},
                                           ConfirmationCase{"identifier OK German", SETLOGGER_ID_OK, "German.ini"},
                                           ConfirmationCase{"sleep OK German", SETLOGGER_SLEEP_OK, "German.ini"}),
                         [](const auto &info) { return caseName(info.param.name); });

struct SilenceCase {
    const char *name;
    const char *unanswered;   // the command letter the logger ignores
    int button;
};

class UnansweredCommand : public ClockWithLogger, public ::testing::WithParamInterface<SilenceCase> {};

TEST_P(UnansweredCommand, IsReportedAsNoAnswer) {
    const SilenceCase &c = GetParam();
    sim::LoggerConfig config;
    config.fault.noAnswerTo = c.unanswered;
    connect(config);
    press(idSetLogger, c.button);
    ASSERT_TRUE(sendAndWait());
    EXPECT_EQ(popups(), std::vector<std::string>{"warn9 / warn16"});
    EXPECT_EQ(status(), statusAfterTick("warn16"));
    EXPECT_EQ(logger_->received().back()[0], c.unanswered[0]);
}

INSTANTIATE_TEST_SUITE_P(Clock, UnansweredCommand,
                         ::testing::Values(SilenceCase{"clock", "C", SETLOGGER_CLOCK_OK},
                                           SilenceCase{"identifier", "J", SETLOGGER_ID_OK},
                                           SilenceCase{"sleep mode", "J", SETLOGGER_SLEEP_OK}),
                         [](const auto &info) { return caseName(info.param.name); });

}   // namespace
