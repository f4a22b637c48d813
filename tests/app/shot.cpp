// Helper of the screenshot test:
//   tavix-shot prepare DIR PORT DEVICE   writes DIR/Tavix.ini: port PORT, bound to DEVICE
//   tavix-shot grab FILE.png             saves a picture of the whole screen
//   tavix-shot group DIR FILE.png DATA...
//                                        starts tavix in DIR, opens its group-files window,
//                                        loads the data files into slots A, B, ... (at most
//                                        eight) and saves a picture of the window
//   tavix-shot settings DIR FILE.png     runs the program in DIR, opens the logger-settings
//                                        window once the logger has answered, saves its picture
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/Tavix.h"
#include "files/Group.h"
#include "link/Link.h"
#include "panels/Panels.h"
#include "runtime/agent.h"
#include "runtime/inspect.h"
#include "runtime/serial.h"
#include "runtime/ui.h"

namespace {

int prepare(const char *dir, int port, const char *device) {
    std::filesystem::current_path(dir);
    if (InitRunTime(0, nullptr) < 0) return 1;
    RegisterLayouts();
    const int panel = LoadPanel(0, SETTING);
    if (panel < 0) return 1;
    SetCtrlVal(panel, SETTING_PORT, port);
    if (SavePanelState(panel, TAVIX_STATE_FILE, 1) < 0) return 1;
    return rt::BindComPort(port, device) < 0 ? 1 : 0;
}

int grab(int argc, char **argv, const char *file) {
    QGuiApplication app(argc, argv);
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) return 1;
    return screen->grabWindow(0).save(QString::fromLocal8Bit(file), "PNG") ? 0 : 1;
}

int group(char **argv, int files, const char *dir, const char *picture) {
    rt::ScriptedAgent agent;
    rt::SetUserAgent(&agent);
    int rc = 1;
    if (tavixStart(1, argv, dir) == 0) {
        SetCtrlAttribute(idMonitor, MONITOR_TIMER, ATTR_ENABLED, 0);   // no logger to ask
        rt::FireCtrlEvent(idMonitor, MONITOR_MENU6, EVENT_COMMIT);
        const std::size_t before = agent.shown.size();
        for (int k = 0; k < files && k < GROUP_SLOTS; ++k) {
            agent.fileAnswers.push_back(argv[4 + k]);
            rt::FireCtrlEvent(idMonitors, MONITORS_FILE_A + k, EVENT_COMMIT);
        }
        // the cursor in the middle of the day
        SetGraphCursor(idMonitors, MONITORS_GRAPH, 1, 600, 0);
        rt::FireCtrlEvent(idMonitors, MONITORS_GRAPH, EVENT_COMMIT);
        ProcessSystemEvents();
        // a file the window could not read: no picture
        int refused = 0;
        for (std::size_t k = before; k < agent.shown.size(); ++k) {
            if (agent.shown[k].kind != "message") continue;
            std::fprintf(stderr, "tavix-shot: %s: %s\n", agent.shown[k].title.c_str(), agent.shown[k].text.c_str());
            ++refused;
        }
        if (refused == 0) rc = rt::SavePanelImage(idMonitors, picture) == 0 ? 0 : 1;
    }
    tavixStop();
    rt::SetUserAgent(nullptr);
    return rc;
}

// The logger-settings window as the main window's command opens it for the logger on the
// port of DIR's Tavix.ini (a generous ceiling of 60 s for the logger's answers).
void runEvents(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

int settings(int argc, char **argv, const char *dir, const char *file) {
    if (tavixStart(argc, argv, dir) < 0) return 1;
    QElapsedTimer clock;
    clock.start();
    while (!((gFlag & GFLAG_STATUS_APPLIED) && sendCmdChar == 0) && clock.elapsed() < 60000) runEvents(50);
    const bool known = (gFlag & GFLAG_STATUS_APPLIED) != 0;
    if (known) {
        rt::FireCtrlEvent(idMonitor, MONITOR_MENU4, EVENT_COMMIT);
        runEvents(200);   // shown and drawn
    }
    const int result = known ? rt::SavePanelImage(idSetLogger, file) : -1;
    tavixStop();
    return result == 0 ? 0 : 1;
}

}   // namespace

int main(int argc, char **argv) {
    if (argc == 5 && std::strcmp(argv[1], "prepare") == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return prepare(argv[2], std::atoi(argv[3]), argv[4]);
    }
    if (argc == 3 && std::strcmp(argv[1], "grab") == 0) return grab(argc, argv, argv[2]);
    if (argc >= 5 && std::strcmp(argv[1], "group") == 0) return group(argv, argc - 4, argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "settings") == 0) return settings(argc, argv, argv[2], argv[3]);
    std::fprintf(
        stderr,
        "usage: tavix-shot prepare DIR PORT DEVICE | grab FILE.png | group DIR FILE.png DATA... | settings DIR "
        "FILE.png\n");
    return 2;
}
