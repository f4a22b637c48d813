// tavix-pictures BIN_DIR OUT_DIR DATA_FILE: pictures of every window for the user manual, taken
// at build time on Qt's offscreen platform. The program starts in a fresh folder holding copies
// of the shipped files of BIN_DIR (English texts), with no logger bound to any port. DATA_FILE,
// a recording as Save File writes it, is then loaded as the user loads one (Retrieve File, the
// data table with its alarm processing, statistics, the first group slot), and each window is
// saved as OUT_DIR/<name>.png, with the recording's trip report as trip-report.png.
#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "app/Tavix.h"
#include "files/DataFile.h"
#include "local/Local.h"
#include "local/ReportTexts.h"
#include "panels/Panels.h"
#include "report/Report.h"
#include "runtime/agent.h"
#include "base/clock.h"
#include "runtime/inspect.h"
#include "runtime/page.h"
#include "runtime/serial.h"
#include "runtime/ui.h"

namespace fs = std::filesystem;

namespace {

// The port the pictures show; no device answers on it.
constexpr int kShownPort = 5;
// The data table marks the temperatures outside a room's comfortable band, and sensor errors,
// in this colour.
constexpr double kHighAlarm = 23.0;
constexpr double kLowAlarm = 19.5;
constexpr int kAlarmColor = 0xD00000;

struct Window {
    int *panel;
    const char *name;
};

// A folder with the shipped files, a copy of the recording (the windows show where it lies) and
// a state file naming the shown port, so that the start-up runs no port detection.
bool prepareFolder(const fs::path &bin, const fs::path &data, const fs::path &dir) {
    std::error_code error;
    fs::remove_all(dir, error);
    fs::create_directories(dir);
    for (const char *f : {"localORM.ini", "English.ini", "German.ini", "TavixProfiles.ini", TAVIX_LOGO_FILE})
        if (!fs::copy_file(bin / f, dir / f, error)) return false;
    if (!fs::copy_file(data, dir / data.filename(), error)) return false;
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

// A file button of the main or group-files window pressed with the file dialog answering file;
// false when the program could not read it.
bool openFile(rt::ScriptedAgent &agent, int panel, int button, const std::string &file) {
    agent.fileAnswers = {file};
    const std::size_t before = agent.shown.size();
    rt::FireCtrlEvent(panel, button, EVENT_COMMIT);
    for (std::size_t k = before; k < agent.shown.size(); ++k)
        if (agent.shown[k].kind == "message") return false;
    return true;
}

// The data table with its alarm processing run on the temperature.
void processTable() {
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU3, EVENT_COMMIT);   // data table
    SetCtrlVal(idTable, TABLE_CHANNEL, 0);
    SetCtrlVal(idTable, TABLE_CONDITION, 1);   // any enabled test
    SetCtrlVal(idTable, TABLE_HIGH_ENABLE, 1);
    SetCtrlVal(idTable, TABLE_HIGH, kHighAlarm);
    SetCtrlVal(idTable, TABLE_LOW_ENABLE, 1);
    SetCtrlVal(idTable, TABLE_LOW, kLowAlarm);
    SetCtrlVal(idTable, TABLE_ERR_ENABLE, 1);
    SetCtrlVal(idTable, TABLE_COLOR, kAlarmColor);
    rt::FireCtrlEvent(idTable, TABLE_PROCESS, EVENT_COMMIT);
}

// The recording loaded into every window that shows data; false when it could not be read.
bool loadRecording(rt::ScriptedAgent &agent, const std::string &file) {
    if (!openFile(agent, idMonitor, MONITOR_MENU1, file) || file != fileName) return false;   // retrieve file
    processTable();
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU5, EVENT_COMMIT);   // statistics
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU6, EVENT_COMMIT);   // group files
    // one slot: the same file in more would lie exactly under the first
    return openFile(agent, idMonitors, MONITORS_FILE_A, file);
}

int takePictures(const fs::path &out) {
    // the windows not opened with the recording get their texts as their commands open them
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU8, EVENT_COMMIT);   // communication settings
    localLoggerSetWindow();
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
    // the trip report of the recording as its page, judged as a room's recording
    localTripReportWindow();
    loadReportProfiles();
    reportProfileIndex = std::max(0, reportProfileByName("Controlled room temperature"));
    rt::Page page;
    const std::string report = (out / "trip-report.png").string();
    if (!currentTripReportPage(page) || rt::WritePagePicture(page, report.c_str(), 100) != 0) {
        std::fprintf(stderr, "tavix-pictures: no picture of the trip report\n");
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}

}   // namespace

int main(int argc, char **argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: tavix-pictures BIN_DIR OUT_DIR DATA_FILE\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("USER", "operator");   // the group-files window shows the user's name, not the builder's
    const fs::path bin = fs::absolute(argv[1]);
    const fs::path out = fs::absolute(argv[2]);
    const fs::path data = fs::absolute(argv[3]);
    const fs::path dir = fs::temp_directory_path() / ("tavix-pictures-" + std::to_string(::getpid()));
    QApplication app(argc, argv);
    rt::ScriptedAgent agent;   // answers the file dialogs; the warning that the port does not open goes here
    rt::SetUserAgent(&agent);
    rt::SetClock({2026, 12, 10, 9, 30, 0});
    int result = 1;
    const std::string copy = (dir / data.filename()).string();
    if (!prepareFolder(bin, data, dir))
        std::fprintf(stderr, "tavix-pictures: cannot prepare %s\n", dir.string().c_str());
    else if (tavixStart(0, nullptr, dir.string().c_str()) != 0)
        std::fprintf(stderr, "tavix-pictures: the program does not start\n");
    else if (!loadRecording(agent, copy))
        std::fprintf(stderr, "tavix-pictures: cannot load %s\n", data.string().c_str());
    else
        result = takePictures(out);
    tavixStop();
    rt::SetUserAgent(nullptr);
    fs::current_path(fs::temp_directory_path());
    std::error_code error;
    fs::remove_all(dir, error);
    return result;
}
