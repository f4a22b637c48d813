// The communication-settings window: Cancel, the close box, OK on a port that opens and on
// one that does not, the automatic detection, and the binding of port numbers to devices.
#include <algorithm>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "CaseName.h"
#include "LinkFixture.h"
#include "Pty.h"
#include "link/ComSetting.h"
#include "local/PreferencesWindow.h"
#include "sim/SimLogger.h"

namespace {

struct Settings {
    int port = 0, baud = 0, dataBits = 0, parity = 0, stopBits = 0;
    bool operator==(const Settings &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Settings &s) {
    return os << "COM" << s.port << " " << s.baud << " " << s.dataBits << "/" << s.parity << "/" << s.stopBits;
}

class CommSettings : public LinkProgram {
protected:
    // The window's texts come from the shipped preferences and language file.
    void SetUp() override {
        LinkProgram::SetUp();
        resetPreferencesWindow();   // the port list's marks in English
        for (const char *f : {"localORM.ini", "English.ini"})
            std::filesystem::copy_file(std::filesystem::path(TAVIX_SOURCE_DIR) / "resources" / f, dir_ / f);
    }
    // Start the program with a simulated logger on port kPort.
    void startWithLogger() {
        logger_ = std::make_unique<sim::SimLogger>();
        ASSERT_TRUE(logger_->start());
        startProgram(logger_->devicePath());
        ASSERT_EQ(portNo, kPort);
    }

    // The user opens the window from the main window.
    static void openWindow() {
        ASSERT_EQ(rt::FireCtrlEvent(idMonitor, MONITOR_MENU8, EVENT_COMMIT), 0);
        ASSERT_GT(idSetting, 0);
        ASSERT_TRUE(rt::PanelVisible(idSetting));
    }
    // The user picks a value of a ring (or types into a field).
    static void choose(int ctrl, int value) {
        ASSERT_GE(SetCtrlVal(idSetting, ctrl, value), 0) << value;
        rt::FireCtrlEvent(idSetting, ctrl, EVENT_VAL_CHANGED);
        rt::FireCtrlEvent(idSetting, ctrl, EVENT_COMMIT);
    }
    static void enter(const Settings &s) {
        choose(SETTING_PORT, s.port);
        choose(SETTING_BAUD, s.baud);
        choose(SETTING_DATABITS, s.dataBits);
        choose(SETTING_PARITY, s.parity);
        choose(SETTING_STOPBITS, s.stopBits);
    }
    static void press(int ctrl) { rt::FireCtrlEvent(idSetting, ctrl, EVENT_COMMIT); }

    static Settings inUse() { return {portNo, baudRate, dataBits, parity, stopBits}; }
    // The settings the state file holds for the next start.
    static Settings saved() {
        Settings s;
        const int panel = LoadPanel(0, SETTING);
        EXPECT_GT(panel, 0);
        EXPECT_GE(RecallPanelState(panel, TAVIX_STATE_FILE, 1), 0);
        GetCtrlVal(panel, SETTING_PORT, &s.port);
        GetCtrlVal(panel, SETTING_BAUD, &s.baud);
        GetCtrlVal(panel, SETTING_DATABITS, &s.dataBits);
        GetCtrlVal(panel, SETTING_PARITY, &s.parity);
        GetCtrlVal(panel, SETTING_STOPBITS, &s.stopBits);
        DiscardPanel(panel);
        return s;
    }
    static std::string stateFileBytes() {
        std::ifstream in(TAVIX_STATE_FILE, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static bool loaded(int panel) {
        const std::vector<int> panels = rt::LoadedPanels();
        return std::find(panels.begin(), panels.end(), panel) != panels.end();
    }
    static std::string ringLabel(int port) {
        int index = -1;
        GetIndexFromValue(idSetting, SETTING_PORT, &index, port);
        char label[512] = "";
        GetLabelFromIndex(idSetting, SETTING_PORT, index, label, sizeof label);
        return label;
    }
    // A command reaches the logger on the port in use.
    bool loggerHears() const {
        const std::size_t before = logger_->received().size();
        if (ComWrt(portNo, "t\r", 2) != 2) return false;
        return logger_->waitReceived(before + 1, 2000);
    }
    // Ticks until the logger is identified and its status applied.
    static bool identified() {
        return tickUntil([] { return (gFlag & GFLAG_STATUS_APPLIED) != 0; }, 40);
    }

    static constexpr Settings kEdited{7, 19200, 7, 2, 2};
    const Settings kStarted{kPort, 9600, 8, 0, 1};
    std::unique_ptr<sim::SimLogger> logger_;
};

// ---------------------------------------------------------------- opening

TEST_F(CommSettings, OpensWithTheSavedValuesEachPortWithItsDevice) {
    startWithLogger();
    openWindow();

    int value = 0;
    const int ctrls[] = {SETTING_PORT, SETTING_BAUD, SETTING_DATABITS, SETTING_PARITY, SETTING_STOPBITS};
    const int expected[] = {kPort, 9600, 8, 0, 1};
    for (int i = 0; i < 5; ++i) {
        GetCtrlVal(idSetting, ctrls[i], &value);
        EXPECT_EQ(value, expected[i]) << "control " << ctrls[i];
    }
    // detection is not offered here
    int visible = -1;
    GetCtrlAttribute(idSetting, SETTING_AUTO, ATTR_VISIBLE, &visible);
    EXPECT_EQ(visible, 0);
    // one size for the whole window
    int okSize = 0;
    GetCtrlAttribute(idSetting, SETTING_OK, ATTR_TEXT_POINT_SIZE, &okSize);
    for (int c : {SETTING_PORT, SETTING_BAUD, SETTING_DATABITS, SETTING_PARITY, SETTING_STOPBITS, SETTING_CANCEL}) {
        int size = 0;
        GetCtrlAttribute(idSetting, c, ATTR_TEXT_POINT_SIZE, &size);
        EXPECT_EQ(size, okSize) << "control " << c;
    }

    // every number with the device it stands for; the chosen one's device in the field
    int items = 0;
    GetNumListItems(idSetting, SETTING_PORT, &items);
    EXPECT_EQ(items, MAX_COM_PORT);
    // a device that exists now is marked present, a bound one that is missing is marked so
    EXPECT_EQ(ringLabel(kPort), "COM5  " + logger_->devicePath() + "  (present)");
    EXPECT_EQ(ringLabel(16), "COM16  " + rt::ComPortDevice(16) + "  (missing)");
    EXPECT_EQ(ctrlText(idSetting, SETTING_DEVICE), logger_->devicePath());

    // another number shows its device; nothing is applied
    const std::string state = stateFileBytes();
    choose(SETTING_PORT, 12);
    EXPECT_EQ(ctrlText(idSetting, SETTING_DEVICE), rt::ComPortDevice(12));
    EXPECT_EQ(inUse(), kStarted);
    EXPECT_EQ(stateFileBytes(), state);
    EXPECT_EQ(agent_.count(""), 0);
}

// ---------------------------------------------------------------- Cancel and the close box

TEST_F(CommSettings, CancelChangesNothing) {
    startWithLogger();
    const std::string state = stateFileBytes();
    openWindow();
    enter(kEdited);
    const int panel = idSetting;
    press(SETTING_CANCEL);

    EXPECT_EQ(idSetting, 0);
    EXPECT_FALSE(loaded(panel));
    EXPECT_EQ(inUse(), kStarted);
    EXPECT_EQ(stateFileBytes(), state);
    EXPECT_TRUE(loggerHears()) << "the running port stays open";
    EXPECT_EQ(agent_.count(""), 0);
}

TEST_F(CommSettings, TheCloseBoxKeepsTheValuesForTheNextStartOnly) {
    startWithLogger();
    openWindow();
    enter(kEdited);
    const int panel = idSetting;
    rt::FirePanelEvent(panel, EVENT_CLOSE);

    // hidden, still loaded, nothing applied
    EXPECT_EQ(idSetting, panel);
    EXPECT_TRUE(loaded(panel));
    EXPECT_FALSE(rt::PanelVisible(panel));
    EXPECT_EQ(inUse(), kStarted);
    EXPECT_TRUE(loggerHears());
    EXPECT_EQ(saved(), kEdited);

    // opened again: one window, with the edited values
    const std::size_t panels = rt::LoadedPanels().size();
    openWindow();
    EXPECT_EQ(rt::LoadedPanels().size(), panels);
    int port = 0;
    GetCtrlVal(idSetting, SETTING_PORT, &port);
    EXPECT_EQ(port, kEdited.port);
    rt::FirePanelEvent(idSetting, EVENT_CLOSE);

    // the next start uses them
    Pty other;
    ASSERT_TRUE(other.ok());
    rt::BindComPort(kEdited.port, other.slavePath());
    tavixStop();
    agent_.clear();
    ASSERT_EQ(tavixStart(0, nullptr, dir_.string().c_str()), 0);
    SetCtrlAttribute(idMonitor, MONITOR_TIMER, ATTR_ENABLED, 0);
    EXPECT_EQ(inUse(), kEdited);
    EXPECT_EQ(agent_.count(""), 0) << "no detection, and the port opened";
    ComWrt(portNo, "I\r", 2);
    EXPECT_EQ(other.read(5000), "I\r");
}

// ---------------------------------------------------------------- OK

TEST_F(CommSettings, OkOnAPortThatOpensReopensAndIdentifiesAgain) {
    startWithLogger();
    ASSERT_TRUE(identified());
    sim::LoggerConfig config;
    config.id = "SECOND";
    sim::SimLogger second(config);
    ASSERT_TRUE(second.start());
    rt::BindComPort(9, second.devicePath());
    gFlag |= GFLAG_NOT_SAVED | GFLAG_CLOCK_FOLLOWS_PC;   // these survive a new port
    const std::size_t heardBefore = logger_->received().size();

    openWindow();
    const int panel = idSetting;
    enter({9, 19200, 8, 0, 1});
    press(SETTING_OK);

    EXPECT_EQ(inUse(), (Settings{9, 19200, 8, 0, 1}));
    EXPECT_EQ(idSetting, 0);
    EXPECT_FALSE(loaded(panel));
    EXPECT_EQ(status(), std::string("COM9 ") + msg15);
    EXPECT_EQ(statusColor(), VAL_BLUE);
    EXPECT_EQ(gFlag, GFLAG_NOT_SAVED | GFLAG_CLOCK_FOLLOWS_PC);
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_ID), "ID=");
    EXPECT_EQ(dimmed(idMonitor, MONITOR_MENU4), 1);
    EXPECT_EQ(saved(), (Settings{9, 19200, 8, 0, 1}));
    EXPECT_EQ(agent_.count(""), 0);

    // the next ticks identify the logger on the new port
    ASSERT_TRUE(identified());
    const std::vector<std::string> heard = second.received();
    ASSERT_GE(heard.size(), 3u);
    EXPECT_EQ(heard[0], "I");
    EXPECT_EQ(heard[1], "M");
    EXPECT_EQ(heard[2], "t");
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_ID), "ID=SECOND");
    EXPECT_EQ(logger_->received().size(), heardBefore) << "the old port is closed";
}

TEST_F(CommSettings, OkOnAPortThatDoesNotOpenWarnsAndKeepsTheWindow) {
    startWithLogger();
    const std::string state = stateFileBytes();
    openWindow();
    const int panel = idSetting;
    enter(kEdited);   // port 7 stands for a device that does not exist
    press(SETTING_OK);

    ASSERT_EQ(agent_.count("message"), 1);
    EXPECT_EQ(agent_.shown[0].title, std::string(warn1));
    EXPECT_EQ(agent_.shown[0].text, std::string(warn1));
    EXPECT_EQ(idSetting, panel);
    EXPECT_TRUE(rt::PanelVisible(panel));
    // port and baud rate keep the old values; the line settings already hold the new ones
    EXPECT_EQ(inUse(), (Settings{kPort, 9600, kEdited.dataBits, kEdited.parity, kEdited.stopBits}));
    EXPECT_EQ(stateFileBytes(), state);
    EXPECT_LT(ComWrt(kPort, "I\r", 2), 0) << "the old port is closed";

    // a port that opens, chosen in the same window, brings the link back
    enter(kStarted);
    press(SETTING_OK);
    EXPECT_EQ(idSetting, 0);
    EXPECT_EQ(inUse(), kStarted);
    EXPECT_TRUE(loggerHears());
}

// ---------------------------------------------------------------- detection

struct DetectCase {
    const char *name;
    std::set<int> present;   // port numbers whose devices open
    int chosen;
};

void PrintTo(const DetectCase &c, std::ostream *os) { *os << c.name; }

class Detection : public CommSettings, public ::testing::WithParamInterface<DetectCase> {};

TEST_P(Detection, ChoosesTheLowestPortFromTwoUpElseOne) {
    const DetectCase &c = GetParam();
    startProgram();   // the port in use does not open
    std::vector<std::unique_ptr<Pty>> devices;
    for (int port : c.present) {
        devices.push_back(std::make_unique<Pty>());
        ASSERT_TRUE(devices.back()->ok());
        rt::BindComPort(port, devices.back()->slavePath());
    }
    openWindow();
    agent_.clear();
    const rt::LocalTime before = rt::Now();
    press(SETTING_AUTO);

    // the user was asked first
    ASSERT_EQ(agent_.count(""), 1) << c.name;
    EXPECT_EQ(agent_.shown[0].title, std::string(warn28));
    EXPECT_EQ(agent_.shown[0].text, std::string(warn29));
    EXPECT_EQ(portNo, c.chosen) << c.name;
    int shown = 0, color = -1;
    GetCtrlVal(idSetting, SETTING_PORT, &shown);
    GetCtrlAttribute(idSetting, SETTING_PORT, ATTR_TEXT_COLOR, &color);
    EXPECT_EQ(shown, c.chosen);
    EXPECT_EQ(color, VAL_BLACK);
    EXPECT_EQ(ctrlText(idSetting, SETTING_DEVICE), rt::ComPortDevice(c.chosen));
    EXPECT_EQ(saved().port, c.chosen) << c.name;
    // every port tried is closed again
    for (int port : c.present) EXPECT_LT(ComWrt(port, "I\r", 2), 0) << c.name << " port " << port;
    // three seconds, then 0.2 s per port (the frozen clock counts whole seconds)
    const rt::LocalTime after = rt::Now();
    const int waited =
        (after.hour - before.hour) * 3600 + (after.minute - before.minute) * 60 + (after.second - before.second);
    EXPECT_GE(waited, 6);
    EXPECT_LE(waited, 7);
}

INSTANTIATE_TEST_SUITE_P(Ports, Detection,
                         ::testing::Values(DetectCase{"4 and 9", {4, 9}, 4}, DetectCase{"1 and 4", {1, 4}, 4},
                                           DetectCase{"only 1", {1}, 1}, DetectCase{"none", {}, 1},
                                           DetectCase{"2 and 16", {16, 2}, 2}, DetectCase{"only 16", {16}, 16}),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(CommSettings, DetectionClosesThePortInUseAndOkOpensTheChoice) {
    startWithLogger();
    openWindow();
    press(SETTING_AUTO);
    EXPECT_EQ(portNo, kPort);
    EXPECT_LT(ComWrt(kPort, "I\r", 2), 0) << "detection leaves the port closed";
    press(SETTING_OK);
    EXPECT_EQ(idSetting, 0);
    EXPECT_TRUE(loggerHears());
    EXPECT_TRUE(identified());
}

// ---------------------------------------------------------------- binding a port number

TEST_F(CommSettings, BindingAPortNumberToADevice) {
    startWithLogger();
    Pty adapter;
    ASSERT_TRUE(adapter.ok());
    openWindow();
    const std::string state = stateFileBytes();

    // choose a number, type a path (blanks around it are typing slips), bind
    choose(SETTING_PORT, 11);
    SetCtrlVal(idSetting, SETTING_DEVICE, ("  " + adapter.slavePath() + " ").c_str());
    press(SETTING_BIND);
    EXPECT_EQ(rt::ComPortDevice(11), adapter.slavePath());
    EXPECT_EQ(ringLabel(11), "COM11  " + adapter.slavePath() + "  (present)");
    EXPECT_EQ(ctrlText(idSetting, SETTING_DEVICE), adapter.slavePath());
    int port = 0;
    GetCtrlVal(idSetting, SETTING_PORT, &port);
    EXPECT_EQ(port, 11) << "the choice stays";
    EXPECT_EQ(portNo, kPort) << "binding applies nothing";
    EXPECT_EQ(saved(), kStarted);
    rt::LoadComPortBindings();
    EXPECT_EQ(rt::ComPortDevice(11), adapter.slavePath()) << "the file keeps the binding";

    // OK opens the bound device; the binding survives the settings being saved
    press(SETTING_OK);
    EXPECT_EQ(portNo, 11);
    ComWrt(portNo, "I\r", 2);
    EXPECT_EQ(adapter.read(5000), "I\r");
    rt::LoadComPortBindings();
    EXPECT_EQ(rt::ComPortDevice(11), adapter.slavePath());
    EXPECT_NE(stateFileBytes(), state);

    // an empty path gives the number its default device back
    openWindow();
    choose(SETTING_PORT, 11);
    SetCtrlVal(idSetting, SETTING_DEVICE, "");
    press(SETTING_BIND);
    EXPECT_EQ(rt::ComPortDevice(11), rt::DefaultComPortDevice(11));
    // a default device is marked only when it exists
    EXPECT_EQ(ringLabel(11).rfind("COM11  " + rt::DefaultComPortDevice(11), 0), 0u) << ringLabel(11);
    EXPECT_EQ(ringLabel(11).find("(missing)"), std::string::npos);
    EXPECT_EQ(ctrlText(idSetting, SETTING_DEVICE), rt::DefaultComPortDevice(11));
    rt::LoadComPortBindings();
    EXPECT_EQ(rt::ComPortDevice(11), rt::DefaultComPortDevice(11));
    EXPECT_EQ(agent_.count(""), 0);
}

TEST_F(CommSettings, BindingPortNumberOneIsRefused) {
    startWithLogger();
    Pty adapter;
    ASSERT_TRUE(adapter.ok());
    openWindow();
    const std::string device = rt::ComPortDevice(1);
    choose(SETTING_PORT, 1);
    SetCtrlVal(idSetting, SETTING_DEVICE, adapter.slavePath().c_str());
    press(SETTING_BIND);
    // port number 1 stands for "not chosen": the message says so and nothing is bound
    EXPECT_EQ(agent_.count("message", "not chosen"), 1);
    EXPECT_EQ(rt::ComPortDevice(1), device);
    rt::LoadComPortBindings();
    EXPECT_EQ(rt::ComPortDevice(1), device);
}

}   // namespace
