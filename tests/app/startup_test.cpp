// Start-up, the application-state file, the three ways of ending the program and the
// dimming of the logger commands, run in-process on the offscreen platform with the
// real windows, the real serial layer (pseudo-terminals) and a scripted user.
#include <gtest/gtest.h>

#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "CaseName.h"
#include "TestFolder.h"
#include "Pty.h"
#include "app/Tavix.h"
#include "config/LogSetting.h"
#include "local/Local.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/agent.h"
#include "base/clock.h"
#include "runtime/inspect.h"
#include "runtime/serial.h"
#include "runtime/ui.h"

namespace fs = std::filesystem;

namespace {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = makeTestFolder("tavix-startup");
        fs::current_path(dir_);
        // the shipped preferences and English texts, as in a fresh program folder
        for (const char *f : {"localORM.ini", "English.ini"}) fs::copy_file(fs::path(TAVIX_BIN_DIR) / f, dir_ / f);
        rt::SetUserAgent(&agent_);
        rt::ClearQuitRequest();
        rt::SetClock({2026, 12, 10, 9, 30, 0});   // Delay() advances a frozen clock: detection is instant
        bindNowhere();
    }
    // No real serial device may take part: every port number points to nothing.
    void bindNowhere() {
        for (int p = 1; p <= MAX_COM_PORT; ++p)
            rt::BindComPort(p, (dir_ / ("no-such-device-" + std::to_string(p))).string());
    }
    void TearDown() override {
        tavixStop();
        rt::SetUserAgent(nullptr);
        rt::ClearClock();
        fs::current_path(fs::temp_directory_path());
        fs::remove_all(dir_);
    }

    int start() { return tavixStart(0, nullptr, dir_.string().c_str()); }

    // A state file as the settings window writes it.
    void writeState(int port, int baud, int data, int par, int stop) {
        RegisterLayouts();
        const int panel = LoadPanel(0, SETTING);
        ASSERT_GT(panel, 0);
        SetCtrlVal(panel, SETTING_PORT, port);
        SetCtrlVal(panel, SETTING_BAUD, baud);
        SetCtrlVal(panel, SETTING_DATABITS, data);
        SetCtrlVal(panel, SETTING_PARITY, par);
        SetCtrlVal(panel, SETTING_STOPBITS, stop);
        ASSERT_GE(SavePanelState(panel, TAVIX_STATE_FILE, 1), 0);
        DiscardPanel(panel);
    }

    // The five settings the state file holds, read back through a fresh settings window.
    struct Saved {
        int port = 0, baud = 0, data = 0, par = 0, stop = 0;
        bool ok = false;
    };
    Saved readState() {
        Saved s;
        const int panel = LoadPanel(0, SETTING);
        if (panel > 0 && RecallPanelState(panel, TAVIX_STATE_FILE, 1) >= 0) {
            GetCtrlVal(panel, SETTING_PORT, &s.port);
            GetCtrlVal(panel, SETTING_BAUD, &s.baud);
            GetCtrlVal(panel, SETTING_DATABITS, &s.data);
            GetCtrlVal(panel, SETTING_PARITY, &s.par);
            GetCtrlVal(panel, SETTING_STOPBITS, &s.stop);
            s.ok = true;
        }
        if (panel > 0) DiscardPanel(panel);
        return s;
    }

    bool stateFileExists() const { return fs::exists(dir_ / TAVIX_STATE_FILE); }

    // Runs the event loop until the callback under test quits it; false when it never does.
    bool quitsEventLoop(const std::function<void()> &action) {
        bool quit = false;
        QTimer::singleShot(0, [&] { action(); });
        QTimer::singleShot(3000, [&] {
            if (!quit) QuitUserInterface(99);
        });
        const int code = RunUserInterface();
        quit = true;
        return code != 99;
    }

    fs::path dir_;
    rt::ScriptedAgent agent_;
};

TEST_F(StartupTest, FirstUseShowsTheSettingsWindowAndDetectsThePort) {
    Pty logger;
    ASSERT_TRUE(logger.ok());
    rt::BindComPort(4, logger.slavePath());

    ASSERT_EQ(start(), 0);

    // the detection asked the user first, then chose the port that opens
    EXPECT_EQ(agent_.count("message"), 1);
    EXPECT_EQ(portNo, 4);
    EXPECT_EQ(baudRate, 9600);
    EXPECT_EQ(parity, 0);
    EXPECT_EQ(dataBits, 8);
    EXPECT_EQ(stopBits, 1);
    EXPECT_TRUE(rt::PanelVisible(idMonitor));
    // the settings window was discarded after start-up
    EXPECT_EQ(idSetting, 0);
    // detection kept its choice in the state file
    const Saved s = readState();
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.port, 4);

    // the chosen port is open: a command reaches the logger
    ComWrt(portNo, "I\r", 2);
    EXPECT_EQ(logger.read(), "I\r");
}

TEST_F(StartupTest, FirstUseWithoutAnyPortFallsBackToPortOneAndWarns) {
    ASSERT_EQ(start(), 0);
    EXPECT_EQ(portNo, 1);
    // detection question, then the port that does not open
    ASSERT_EQ(agent_.count("message"), 2);
    EXPECT_EQ(agent_.shown[1].title, std::string(warn9));
    EXPECT_EQ(agent_.shown[1].text, std::string(warn1));
    EXPECT_TRUE(rt::PanelVisible(idMonitor));
}

TEST_F(StartupTest, RecallsTheFiveSettingsWithoutDetection) {
    Pty logger;
    ASSERT_TRUE(logger.ok());
    rt::BindComPort(6, logger.slavePath());
    writeState(6, 19200, 7, 2, 2);

    ASSERT_EQ(start(), 0);

    EXPECT_EQ(agent_.count(""), 0) << "no detection, no warning";
    EXPECT_EQ(portNo, 6);
    EXPECT_EQ(baudRate, 19200);
    EXPECT_EQ(dataBits, 7);
    EXPECT_EQ(parity, 2);
    EXPECT_EQ(stopBits, 2);
    ComWrt(portNo, "M\r", 2);
    EXPECT_EQ(logger.read(), "M\r");
}

TEST_F(StartupTest, AStateFileWithPortOneDetectsAgain) {
    Pty logger;
    ASSERT_TRUE(logger.ok());
    rt::BindComPort(9, logger.slavePath());
    writeState(1, 9600, 8, 0, 1);

    ASSERT_EQ(start(), 0);

    EXPECT_EQ(portNo, 9);
    EXPECT_EQ(agent_.count("message"), 1);
}

TEST_F(StartupTest, APortThatDoesNotOpenWarnsAndRunsOn) {
    writeState(5, 9600, 8, 0, 1);   // port 5 points to nothing

    ASSERT_EQ(start(), 0);

    EXPECT_EQ(portNo, 5);
    ASSERT_EQ(agent_.count("message"), 1);
    EXPECT_EQ(agent_.shown[0].title, std::string(warn9));
    EXPECT_EQ(agent_.shown[0].text, std::string(warn1));
    EXPECT_TRUE(rt::PanelVisible(idMonitor));
}

TEST_F(StartupTest, InitialStateOfLoggingTableAndRecords) {
    writeState(5, 9600, 8, 0, 1);
    ASSERT_EQ(start(), 0);

    EXPECT_EQ(lpStartMode, 0);
    EXPECT_EQ(lpSamplePoints, 3);
    EXPECT_EQ(lpSampleRate, 2);
    EXPECT_EQ(currDeviceId, 1);
    EXPECT_EQ(loggedLength, 0);
    EXPECT_NE(ldPtr, nullptr);
    EXPECT_EQ(rtcPtr[0], 0u);
    EXPECT_DOUBLE_EQ(vTemPtr[15999], 1e-7);
    int color = 0;
    GetCtrlVal(idTable, TABLE_COLOR, &color);
    EXPECT_EQ(color, 0x990000);
    int rows = 0;
    GetNumTableRows(idTable, TABLE_DATA, &rows);
    EXPECT_EQ(rows, 1000);
    // the episode counter is shown beside the count of matching records
    int visible = 0;
    GetCtrlAttribute(idTable, TABLE_COUNTER, ATTR_VISIBLE, &visible);
    EXPECT_EQ(visible, 1);
    // nothing to configure before a logger answered
    int dimmed = 0;
    GetCtrlAttribute(idMonitor, MONITOR_MENU4, ATTR_DIMMED, &dimmed);
    EXPECT_EQ(dimmed, 1);
    char date[32] = "";
    GetCtrlVal(idMonitor, MONITOR_DATE, date);
    EXPECT_STREQ(date, "2026-12-10");   // the shipped preference: year-month-day
}

TEST_F(StartupTest, NoMemoryForTheRecordStoreEndsTheStartWithAMessage) {
    writeState(5, 9600, 8, 0, 1);
    simulateRecordBlockShortage(true);
    const int result = start();
    simulateRecordBlockShortage(false);
    EXPECT_EQ(result, -1);
    ASSERT_GE(agent_.count("message"), 1);
    EXPECT_NE(agent_.shown.back().text.find("memory"), std::string::npos);
}

// ---------------------------------------------------------------- the three ways of ending

struct EndingCase {
    const char *name;
    int how;   // 0 close box, 1 exit button, 2 hidden reset
    bool answerYes;
    bool fileKept;   // state file present afterwards
};

class EndingTest : public StartupTest, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(EndingTest, SavesOrDeletesTheStateFileAndQuits) {
    const EndingCase &c = GetParam();
    Pty logger;
    ASSERT_TRUE(logger.ok());
    rt::BindComPort(7, logger.slavePath());
    writeState(7, 4800, 8, 0, 1);
    ASSERT_EQ(start(), 0);
    // settings changed during the run are what the exit writes
    baudRate = 38400;
    agent_.confirmAnswers.push_back(c.answerYes);

    const bool quit = quitsEventLoop([&] {
        if (c.how == 0) rt::FirePanelEvent(idMonitor, EVENT_CLOSE);
        if (c.how == 1) rt::FireCtrlEvent(idMonitor, MONITOR_EXIT, EVENT_COMMIT);
        if (c.how == 2) rt::FireCtrlEvent(idMonitor, MONITOR_GETID, EVENT_RIGHT_DOUBLE_CLICK);
    });

    EXPECT_TRUE(quit) << c.name;
    EXPECT_EQ(stateFileExists(), c.fileKept) << c.name;
    if (c.fileKept) {
        const Saved s = readState();
        ASSERT_TRUE(s.ok);
        EXPECT_EQ(s.port, 7);
        EXPECT_EQ(s.baud, 38400);
    }
    if (c.how == 2) {
        ASSERT_GE(agent_.count("confirm"), 1);
        EXPECT_EQ(agent_.shown.back().title, "Reset");
        EXPECT_EQ(agent_.shown.back().text, "Software reset ? ");
    }
}

INSTANTIATE_TEST_SUITE_P(Endings, EndingTest,
                         ::testing::Values(EndingCase{"close box, yes deletes", 0, true, false},
                                           EndingCase{"close box, no saves", 0, false, true},
                                           EndingCase{"exit button saves", 1, false, true},
                                           EndingCase{"reset, yes deletes", 2, true, false},
                                           EndingCase{"reset, no saves and still ends", 2, false, true}),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(StartupTest, OtherEventsOnTheEndingControlsDoNothing) {
    writeState(5, 9600, 8, 0, 1);
    ASSERT_EQ(start(), 0);
    agent_.clear();
    rt::FirePanelEvent(idMonitor, EVENT_GOT_FOCUS);
    rt::FireCtrlEvent(idMonitor, MONITOR_GETID, EVENT_RIGHT_CLICK);
    rt::FireCtrlEvent(idMonitor, MONITOR_GETID, EVENT_LEFT_CLICK);
    rt::FireCtrlEvent(idMonitor, MONITOR_EXIT, EVENT_GOT_FOCUS);
    EXPECT_EQ(agent_.count(""), 0);
}

TEST_F(StartupTest, DeletedStateFileMakesTheNextStartAFirstUse) {
    writeState(5, 9600, 8, 0, 1);
    ASSERT_EQ(start(), 0);
    agent_.confirmAnswers.push_back(true);
    rt::FirePanelEvent(idMonitor, EVENT_CLOSE);
    ASSERT_FALSE(stateFileExists());
    tavixStop();
    bindNowhere();   // the port bindings went with the file

    agent_.clear();
    ASSERT_EQ(start(), 0);
    // first use again: the detection question, then the warning for port 1
    EXPECT_EQ(agent_.count("message"), 2);
    EXPECT_EQ(portNo, 1);
}

// ---------------------------------------------------------------- logger commands

int dimmed(int panel, int ctrl) {
    int d = -1;
    GetCtrlAttribute(panel, ctrl, ATTR_DIMMED, &d);
    return d;
}

TEST_F(StartupTest, EnableAndDisableTheLoggerCommands) {
    writeState(5, 9600, 8, 0, 1);
    ASSERT_EQ(start(), 0);
    const int oks[] = {SETLOGGER_LOG_OK, SETLOGGER_CLOCK_OK, SETLOGGER_ID_OK};

    currDeviceId = 10;
    SetLoggerEnable();
    EXPECT_EQ(dimmed(idMonitor, MONITOR_MENU4), 0);
    for (int c : oks) EXPECT_EQ(dimmed(idSetLogger, c), 0);
    EXPECT_EQ(dimmed(idSetLogger, SETLOGGER_CALI_START), 0);

    SetLoggerDisable();
    EXPECT_EQ(dimmed(idMonitor, MONITOR_MENU4), 1);
    for (int c : oks) EXPECT_EQ(dimmed(idSetLogger, c), 1);
    EXPECT_EQ(dimmed(idSetLogger, SETLOGGER_CALI_START), 1);
}

TEST_F(StartupTest, ModelTwentyFourKeepsTheSettingsCommandAsItWas) {
    writeState(5, 9600, 8, 0, 1);
    ASSERT_EQ(start(), 0);
    currDeviceId = 24;
    SetLoggerEnable();   // after start-up the command is dimmed, and stays so
    EXPECT_EQ(dimmed(idMonitor, MONITOR_MENU4), 1);
    EXPECT_EQ(dimmed(idSetLogger, SETLOGGER_LOG_OK), 0);

    SetCtrlAttribute(idMonitor, MONITOR_MENU4, ATTR_DIMMED, 0);
    SetLoggerEnable();
    EXPECT_EQ(dimmed(idMonitor, MONITOR_MENU4), 0);
}

TEST_F(StartupTest, ADimmedCalibrationTitleLeavesItsButtonAlone) {
    writeState(5, 9600, 8, 0, 1);
    ASSERT_EQ(start(), 0);
    currDeviceId = 12;
    SetCtrlAttribute(idSetLogger, SETLOGGER_CALITITLE, ATTR_DIMMED, 1);
    for (int state : {0, 1}) {
        SetCtrlAttribute(idSetLogger, SETLOGGER_CALI_START, ATTR_DIMMED, state);
        SetLoggerEnable();
        EXPECT_EQ(dimmed(idSetLogger, SETLOGGER_CALI_START), state);
        SetLoggerDisable();
        EXPECT_EQ(dimmed(idSetLogger, SETLOGGER_CALI_START), state);
    }
}

}   // namespace
