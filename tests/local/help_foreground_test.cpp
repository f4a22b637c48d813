// Help while the viewer stays in the foreground: some desktops' openers end only when the
// viewer closes. The help command must not wait for it: the main window's timer keeps the
// clock going and a logger's answers are read meanwhile.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "LinkFixture.h"
#include "local/Local.h"
#include "sim/SimLogger.h"

namespace fs = std::filesystem;

namespace {

class HelpInForeground : public LinkProgram {
protected:
    void SetUp() override {
        LinkProgram::SetUp();
        savedPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    }
    void TearDown() override {
        // the viewer is let go in any case
        std::ofstream(dir_ / "closed");
        setenv("PATH", savedPath_.c_str(), 1);
        LinkProgram::TearDown();
    }
    // A fake opener that shows the document in the foreground until the test closes it, or
    // for about eight seconds, and notes whether it was closed or ran out of time. A window
    // that waited for it would only go on once it had run out.
    void writeForegroundOpener() {
        fs::create_directories(dir_ / "bin");
        const fs::path opener = dir_ / "bin" / "xdg-open";
        const std::string d = dir_.string();
        std::ofstream(opener) << "#!/bin/sh\n"
                              << "touch '" << d << "/showing'\n"
                              << "i=0\n"
                              << "while [ ! -e '" << d
                              << "/closed' ] && [ $i -lt 80 ]; do sleep 0.1; i=$((i+1)); done\n"
                              << "if [ -e '" << d << "/closed' ]; then echo closed; else echo timeout; fi > '" << d
                              << "/ended'\n";
        fs::permissions(opener, fs::perms::owner_all);
        setenv("PATH", ((dir_ / "bin").string() + ":" + savedPath_).c_str(), 1);
        std::ofstream(dir_ / TAVIX_HELP_FILE) << "%PDF-1.4\n";
    }
    std::string ending() const {
        std::ifstream in(dir_ / "ended");
        std::string word;
        in >> word;
        return word;
    }
    std::string savedPath_;
};

TEST_F(HelpInForeground, TheClockAndTheLoggerGoOnWhileTheViewerIsOpen) {
    sim::LoggerConfig config;
    config.modelName = "4143";
    sim::SimLogger logger(config);
    ASSERT_TRUE(logger.start());
    startProgram(logger.devicePath());
    writeForegroundOpener();
    SetCtrlAttribute(idMonitor, MONITOR_TIMER, ATTR_ENABLED, 1);

    rt::FireCtrlEvent(idMonitor, MONITOR_MENU9, EVENT_COMMIT);
    ASSERT_TRUE(pumpUntil([&] { return fs::exists(dir_ / "showing"); }, 30000)) << "no viewer started";
    // while the viewer shows the manual: the clock field follows the PC's clock, and the
    // logger's answer to the identification is read and understood
    rt::SetClock({2026, 12, 10, 9, 45, 30});
    EXPECT_TRUE(pumpUntil([] { return ctrlText(idMonitor, MONITOR_TIME) == "09:45:30"; }, 30000));
    EXPECT_TRUE(pumpUntil([] { return (gFlag & GFLAG_ID_KNOWN) != 0; }, 30000));
    EXPECT_FALSE(fs::exists(dir_ / "ended")) << "the viewer was closed before the window went on";

    // the user closes the viewer: nothing to report
    std::ofstream(dir_ / "closed");
    ASSERT_TRUE(pumpUntil([&] { return fs::exists(dir_ / "ended"); }, 30000));
    EXPECT_EQ(ending(), "closed") << "the window waited for the viewer";
    pump(100);
    EXPECT_EQ(agent_.count(""), 0);
}

}   // namespace
