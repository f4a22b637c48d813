// Pictures of every window as the user first sees it, kept in build/artifacts for a look by
// eye (layout, captions, language texts). Each window must load, get its texts and draw.
#include <gtest/gtest.h>

#include <QApplication>

#include <filesystem>
#include <string>

#include "app/Tavix.h"
#include "local/Local.h"
#include "panels/Panels.h"
#include "runtime/agent.h"
#include "runtime/clock.h"
#include "runtime/inspect.h"
#include "runtime/serial.h"
#include "runtime/ui.h"

namespace fs = std::filesystem;

TEST(Windows, EveryWindowDrawsWithItsTexts) {
    const fs::path dir = fs::temp_directory_path() / ("tavix-windows-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char *f : {"localORM.ini", "English.ini", "Ormel logo.bmp"})
        fs::copy_file(fs::path(TAVIX_BIN_DIR) / f, dir / f);
    fs::current_path(dir);
    rt::ScriptedAgent agent;
    rt::SetUserAgent(&agent);
    rt::SetClock({2026, 12, 10, 9, 30, 0});
    for (int p = 1; p <= MAX_COM_PORT; ++p) rt::BindComPort(p, (dir / "none").string());
    // a state file naming port 5, so that the start-up runs no detection
    RegisterLayouts();
    const int setting = LoadPanel(0, SETTING);
    ASSERT_GT(setting, 0);
    SetCtrlVal(setting, SETTING_PORT, 5);
    ASSERT_GE(SavePanelState(setting, TAVIX_STATE_FILE, 1), 0);
    DiscardPanel(setting);

    ASSERT_EQ(tavixStart(0, nullptr, dir.string().c_str()), 0);
    // the windows get their texts as their commands open them
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU8, EVENT_COMMIT);   // communication settings
    localLoggerSetWindow();
    localTableWindow();
    localStatisticWindow();
    localGroupFilesWindow();
    localTempCaliWindow();
    localRhCaliWindow();

    const fs::path out = fs::path(TAVIX_BIN_DIR).parent_path() / "artifacts" / "windows";
    fs::create_directories(out);
    const struct {
        int panel;
        const char *name;
    } windows[] = {{idMonitor, "main"},
                   {idSetting, "communication"},
                   {idSetLogger, "logger-settings"},
                   {idTable, "data-table"},
                   {idStatistic, "statistics"},
                   {idMonitors, "group-files"},
                   {idTempCali, "temperature-calibration"},
                   {idRhCali, "humidity-calibration"},
                   {idMsg, "message"}};
    for (const auto &w : windows) {
        ASSERT_GT(w.panel, 0) << w.name;
        EXPECT_EQ(rt::SavePanelImage(w.panel, (out / (std::string(w.name) + ".png")).string().c_str()), 0) << w.name;
        char title[128] = "";
        GetPanelAttribute(w.panel, ATTR_TITLE, title, sizeof title);
        EXPECT_STRNE(title, "") << w.name;
    }
    // no language error on the way
    EXPECT_EQ(agent.count("message"), 1) << "only the warning that port 5 does not open";

    tavixStop();
    rt::SetUserAgent(nullptr);
    rt::ClearClock();
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(dir);
}

int main(int argc, char **argv) {
    // Listing the cases must work without a display: the offscreen platform unless the
    // caller chose one.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
