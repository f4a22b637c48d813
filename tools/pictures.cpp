// tavix-pictures BIN_DIR OUT_DIR: pictures of every window for the user manual, taken at build
// time on Qt's offscreen platform. The program starts in a fresh folder holding copies of the
// shipped files of BIN_DIR (English texts), with no logger bound to any port, and each window
// is saved as OUT_DIR/<name>.png as the user first sees it.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "app/Tavix.h"
#include "local/Local.h"
#include "panels/Panels.h"
#include "runtime/agent.h"
#include "runtime/clock.h"
#include "runtime/inspect.h"
#include "runtime/serial.h"
#include "runtime/ui.h"

namespace fs = std::filesystem;

namespace {

// The port the pictures show; no device answers on it.
constexpr int kShownPort = 5;

struct Window {
    int *panel;
    const char *name;
};

// A folder with the shipped files and a state file naming the shown port, so that the start-up
// runs no port detection.
bool prepareFolder(const fs::path &bin, const fs::path &dir) {
    std::error_code error;
    fs::remove_all(dir, error);
    fs::create_directories(dir);
    for (const char *f : {"localORM.ini", "English.ini", "German.ini", TAVIX_LOGO_FILE})
        if (!fs::copy_file(bin / f, dir / f, error)) return false;
    fs::current_path(dir);
    for (int p = 1; p <= MAX_COM_PORT; ++p) rt::BindComPort(p, (dir / "no-device").string());
    RegisterLayouts();
    const int setting = LoadPanel(0, SETTING);
    if (setting < 0) return false;
    SetCtrlVal(setting, SETTING_PORT, kShownPort);
    const bool saved = SavePanelState(setting, TAVIX_STATE_FILE, 1) >= 0;
    DiscardPanel(setting);
    return saved;
}

int takePictures(const fs::path &out) {
    // the windows get their texts as their commands open them
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU8, EVENT_COMMIT);   // communication settings
    localLoggerSetWindow();
    localTableWindow();
    localStatisticWindow();
    localGroupFilesWindow();
    localTempCaliWindow();
    localRhCaliWindow();
    ProcessSystemEvents();
    const Window windows[] = {{&idMonitor, "main"},
                              {&idSetting, "communication"},
                              {&idSetLogger, "logger-settings"},
                              {&idTable, "data-table"},
                              {&idStatistic, "statistics"},
                              {&idMonitors, "group-files"},
                              {&idTempCali, "temperature-calibration"},
                              {&idRhCali, "humidity-calibration"}};
    fs::create_directories(out);
    int failures = 0;
    for (const Window &w : windows) {
        const std::string file = (out / (std::string(w.name) + ".png")).string();
        if (*w.panel <= 0 || rt::SavePanelImage(*w.panel, file.c_str()) != 0) {
            std::fprintf(stderr, "tavix-pictures: no picture of the %s window\n", w.name);
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

}   // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tavix-pictures BIN_DIR OUT_DIR\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const fs::path bin = fs::absolute(argv[1]);
    const fs::path out = fs::absolute(argv[2]);
    const fs::path dir = fs::temp_directory_path() / ("tavix-pictures-" + std::to_string(::getpid()));
    QApplication app(argc, argv);
    rt::ScriptedAgent agent;   // the warning that the shown port does not open goes here
    rt::SetUserAgent(&agent);
    rt::SetClock({2026, 12, 10, 9, 30, 0});
    int result = 1;
    if (!prepareFolder(bin, dir))
        std::fprintf(stderr, "tavix-pictures: cannot prepare %s\n", dir.string().c_str());
    else if (tavixStart(0, nullptr, dir.string().c_str()) != 0)
        std::fprintf(stderr, "tavix-pictures: the program does not start\n");
    else
        result = takePictures(out);
    tavixStop();
    rt::SetUserAgent(nullptr);
    fs::current_path(fs::temp_directory_path());
    std::error_code error;
    fs::remove_all(dir, error);
    return result;
}
