// The main window's keyboard shortcuts on the running program (offscreen): a key pressed in
// the active main window runs its command as a click on the command's button does, the
// scripted user answering any question; a dimmed command ignores its keys.
#include <gtest/gtest.h>

#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "LinkFixture.h"
#include "local/Local.h"

namespace fs = std::filesystem;

namespace {

// What a command leaves behind.
enum Effect { RETRIEVE_ASKED, SAVE_ASKED, WINDOW_PRINTED, HELP_OPENED, PROGRAM_ENDS };

struct KeyCase {
    const char *name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int control;   // the button whose command the keys run
    Effect effect;
};

class Shortcuts : public LinkProgram, public ::testing::WithParamInterface<KeyCase> {
protected:
    void SetUp() override {
        LinkProgram::SetUp();
        // a fake desktop opener that notes the document it was given
        fs::create_directories(dir_ / "bin");
        const fs::path opener = dir_ / "bin" / "xdg-open";
        std::ofstream(opener) << "#!/bin/sh\nprintf '%s' \"$1\" > '" << (dir_ / "opened.txt").string() << "'\n";
        fs::permissions(opener, fs::perms::owner_all);
        savedPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", ((dir_ / "bin").string() + ":" + savedPath_).c_str(), 1);
        std::ofstream(dir_ / TAVIX_HELP_FILE) << "%PDF-1.4\n";
        rt::CapturePrinting(true, true);
        rt::ClearPrinted();
        startProgram();
        window_ = rt::CtrlWidget(idMonitor, MONITOR_GRAPH)->window();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
    }
    void TearDown() override {
        rt::CapturePrinting(false);
        setenv("PATH", savedPath_.c_str(), 1);
        LinkProgram::TearDown();
    }

    bool happened(Effect effect) const {
        switch (effect) {
            case RETRIEVE_ASKED: return agent_.count("file", wRetrieveFile) == 1;
            case SAVE_ASKED: return agent_.count("file", wSaveFile) == 1;
            case WINDOW_PRINTED: return rt::PrintedPanels() == 1;
            case HELP_OPENED: return fs::exists(dir_ / "opened.txt");
            case PROGRAM_ENDS: return rt::QuitPending();
        }
        return false;
    }

    QWidget *window_ = nullptr;
    std::string savedPath_;
};

TEST_P(Shortcuts, RunTheCommandOfTheirButton) {
    const KeyCase &c = GetParam();
    ASSERT_FALSE(happened(c.effect));
    QTest::keyClick(window_, c.key, c.modifiers);
    // the viewer is started, not waited for: its opener is heard of from the event loop
    EXPECT_TRUE(pumpUntil([&] { return happened(c.effect); }));
    EXPECT_EQ(agent_.count("message"), 0) << "no complaint";
    EXPECT_EQ(agent_.count("confirm"), 0);
}

TEST_P(Shortcuts, DoNothingWhileTheirButtonIsDimmed) {
    const KeyCase &c = GetParam();
    SetCtrlAttribute(idMonitor, c.control, ATTR_DIMMED, 1);
    QTest::keyClick(window_, c.key, c.modifiers);
    EXPECT_FALSE(happened(c.effect));
    EXPECT_EQ(agent_.count(""), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Shortcuts,
    ::testing::Values(KeyCase{"ctrl O retrieves a file", Qt::Key_O, Qt::ControlModifier, MONITOR_MENU1, RETRIEVE_ASKED},
                      KeyCase{"ctrl S saves the file", Qt::Key_S, Qt::ControlModifier, MONITOR_MENU2, SAVE_ASKED},
                      KeyCase{"ctrl P prints the window", Qt::Key_P, Qt::ControlModifier, MONITOR_MENU7,
                              WINDOW_PRINTED},
                      KeyCase{"F1 opens the help", Qt::Key_F1, Qt::NoModifier, MONITOR_MENU9, HELP_OPENED},
                      KeyCase{"ctrl Q exits", Qt::Key_Q, Qt::ControlModifier, MONITOR_EXIT, PROGRAM_ENDS}),
    [](const auto &info) { return caseName(info.param.name); });

TEST(ShortcutList, TheMainWindowNamesItsKeys) {
    // read back as bound, in the toolkit's portable text
    RegisterLayouts();
    const int panel = LoadPanel(0, MONITOR);
    ASSERT_GT(panel, 0);
    const int saved = idMonitor;
    idMonitor = panel;
    bindMainWindowKeys();
    const auto keys = rt::PanelShortcuts(panel);
    idMonitor = saved;
    DiscardPanel(panel);
    ASSERT_EQ(keys.size(), 8u);
    const rt::ShortcutInfo expected[] = {{"Ctrl+O", MONITOR_MENU1},
                                         {"Ctrl+S", MONITOR_MENU2},
                                         {"Ctrl+P", MONITOR_MENU7},
                                         {"F1", MONITOR_MENU9},
                                         {"Ctrl+R", MONITOR_TRIP_REPORT},
                                         {"Ctrl+Q", MONITOR_EXIT},
                                         {"Home", 0},
                                         {"End", 0}};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].keys, expected[i].keys) << i;
        EXPECT_EQ(keys[i].ctrl, expected[i].ctrl) << i;
    }
}

}   // namespace
