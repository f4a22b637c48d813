// The real program started in-process in a temporary folder (offscreen windows, a scripted
// user, a frozen clock), with the logger's port bound to a pseudo-terminal or to nothing, and
// the main window's timer driven by the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "CaseName.h"
#include "EventLoop.h"
#include "TestFolder.h"
#include "app/Tavix.h"
#include "archive/Archiving.h"
#include "files/DataFile.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/agent.h"
#include "base/clock.h"
#include "runtime/inspect.h"
#include "runtime/serial.h"
#include "runtime/ui.h"

class LinkProgram : public ::testing::Test {
protected:
    static constexpr int kPort = 5;

    void SetUp() override {
        dir_ = makeTestFolder("tavix-link");
        std::filesystem::current_path(dir_);
        rt::SetUserAgent(&agent_);
        rt::ClearQuitRequest();
        rt::SetClock({2026, 12, 10, 9, 30, 0});
        for (int p = 1; p <= MAX_COM_PORT; ++p)
            rt::BindComPort(p, (dir_ / ("no-such-device-" + std::to_string(p))).string());
        resetLinkState();
        resetModelState();
        resetFilesState();
        // the program runs without the archive unless a test chooses one
        resetArchiving();
        chooseArchive("", true);
    }

    void TearDown() override {
        stillSending_ = nullptr;
        tavixStop();
        rt::SetUserAgent(nullptr);
        rt::ClearClock();
        std::filesystem::current_path(std::filesystem::temp_directory_path());
        std::filesystem::remove_all(dir_);
    }

    // Start the program with the logger's port on device ("" = a port that does not open).
    void startProgram(const std::string &device = "") {
        if (!device.empty()) rt::BindComPort(kPort, device);
        writeState(kPort);
        ASSERT_EQ(tavixStart(0, nullptr, dir_.string().c_str()), 0);
        // The test drives the timer itself.
        SetCtrlAttribute(idMonitor, MONITOR_TIMER, ATTR_ENABLED, 0);
        resetLinkState();
        fillTexts();
        agent_.clear();
    }

    // Every text the link shows gets its own name as its text.
    static void fillTexts() {
        char *msgs[] = {msg1, msg2,  msg3,  msg4,  msg5,  msg6,  msg7,  msg8,
                        msg9, msg10, msg11, msg12, msg13, msg14, msg15, msg16};
        for (int i = 0; i < 16; ++i) std::snprintf(msgs[i], MSG_TEXT_SIZE, "msg%d", i + 1);
        char *warns[] = {warn1,  warn2,  warn3,  warn4,  warn5,  warn6,  warn7,  warn8,  warn9,
                         warn10, warn11, warn12, warn13, warn14, warn15, warn16, warn17, warn18,
                         warn19, warn20, warn21, warn22, warn23, warn28, warn29, warn30, warn31};
        const int numbers[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                               15, 16, 17, 18, 19, 20, 21, 22, 23, 28, 29, 30, 31};
        for (int i = 0; i < 27; ++i) std::snprintf(warns[i], MSG_TEXT_SIZE, "warn%d", numbers[i]);
        std::snprintf(wPoints, WINDOW_TEXT_SIZE, "points");
        std::snprintf(wRecords, WINDOW_TEXT_SIZE, "records");
        std::snprintf(wRate, WINDOW_TEXT_SIZE, "rate");
        std::snprintf(wUnit, WINDOW_TEXT_SIZE, "unit");
    }

    // A state file naming the port, so that start-up runs no detection.
    static void writeState(int port) {
        RegisterLayouts();
        const int panel = LoadPanel(0, SETTING);
        ASSERT_GT(panel, 0);
        showDefaultCommSettings(panel);
        SetCtrlVal(panel, SETTING_PORT, port);
        ASSERT_GE(SavePanelState(panel, TAVIX_STATE_FILE, 1), 0);
        DiscardPanel(panel);
    }

    // One timer tick, then the event loop for a while. A tick of a test stands for no fixed
    // time: while a download runs and the logger still has records to send (stillSending_),
    // a tick waits until the program has taken in a data line since the last one, so that a
    // slow, busy machine never looks like a logger that fell silent.
    static void tick(int ms = kTickMs) {
        if (fDownloadNow && stillSending_) pumpUntil([] { return fRecvD == DATA_SILENCE_TICKS || !stillSending_(); });
        timeTickCallBack(idMonitor, MONITOR_TIMER, EVENT_TIMER_TICK, nullptr, 0, 0);
        pump(ms);
    }
    static void ticksN(int n, int ms = kTickMs) {
        for (int i = 0; i < n; ++i) tick(ms);
    }
    // Ticks until done() holds (checked after each tick); false after maxTicks.
    static bool tickUntil(const std::function<bool()> &done, int maxTicks, int ms = kTickMs) {
        for (int i = 0; i < maxTicks; ++i) {
            tick(ms);
            if (done()) return true;
        }
        return false;
    }

    // Feed one line to the interpreter as the serial callback does.
    static void feed(const std::string &line) {
        setRxLine(line.data(), static_cast<int>(line.size()));
        analysisComPortData();
    }

    static std::string status() {
        char text[256] = "";
        GetCtrlVal(idMonitor, MONITOR_MESSAGE, text);
        return text;
    }
    static int statusColor() {
        int color = -1;
        GetCtrlAttribute(idMonitor, MONITOR_MESSAGE, ATTR_TEXT_COLOR, &color);
        return color;
    }
    static std::string ctrlText(int panel, int ctrl) {
        char text[256] = "";
        GetCtrlVal(panel, ctrl, text);
        return text;
    }
    static int dimmed(int panel, int ctrl) {
        int d = -1;
        GetCtrlAttribute(panel, ctrl, ATTR_DIMMED, &d);
        return d;
    }
    // The status a tick leaves: its own text, unless the tick was the one in 16 that shows
    // the reminders (then the not-saved reminder replaces it).
    static std::string statusAfterTick(const char *text) {
        if ((ticks & 0x0F) == 3) {
            if (gFlag & GFLAG_NOT_SAVED) return warn3;
            if (!(gFlag & GFLAG_ID_KNOWN)) return warn2;
        }
        return text;
    }

    static constexpr int kTickMs = 40;
    // Whether the simulated logger still has records to send (set by fixtures with one).
    static inline std::function<bool()> stillSending_;
    std::filesystem::path dir_;
    rt::ScriptedAgent agent_;
};
