// Helper of the screenshot test:
//   tavix-shot prepare DIR PORT DEVICE   writes DIR/Tavix.ini: port PORT, bound to DEVICE
//   tavix-shot grab FILE.png             saves a picture of the whole screen
//   tavix-shot group DIR FILE.png DATA...
//                                        starts tavix in DIR, opens its group-files window,
//                                        loads the data files into slots A, B, ... (at most
//                                        eight) and saves a picture of the window
//   tavix-shot settings DIR FILE.png     runs the program in DIR, opens the logger-settings
//                                        window once the logger has answered, saves its picture
//   tavix-shot download DIR FILE.png     runs the program in DIR, downloads the logger's records,
//                                        makes the main window fill the screen, saves its picture
//   tavix-shot windows DIR OUT_DIR       runs the program in DIR, downloads the logger's records
//                                        and saves pictures of the main window, the communication
//                                        and logger settings, and of the whole screen while the
//                                        question about the unsaved records is asked at Exit
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

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

// Run the event loop until done() holds; false after a generous ceiling of 60 s.
bool runUntil(const std::function<bool()> &done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 60000) return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// The logger has answered the start-up's questions (identity, memory, status).
bool loggerKnown() {
    return runUntil([] { return (gFlag & GFLAG_STATUS_APPLIED) && sendCmdChar == 0; });
}

// The Start command, then until every record is in and the logger is idle again.
bool download() {
    rt::FireCtrlEvent(idMonitor, MONITOR_START_BUTTON, EVENT_COMMIT);
    return runUntil([] { return fDownloadNow == 0 && (gFlag & GFLAG_NOT_SAVED) && sendCmdChar == 0; });
}

int save(int panel, const std::string &file) {
    ProcessSystemEvents();
    if (rt::SavePanelImage(panel, file.c_str()) != 0) {
        std::fprintf(stderr, "tavix-shot: no picture %s\n", file.c_str());
        return 1;
    }
    return 0;
}

// The logger-settings window as the main window's command opens it for the logger on the
// port of DIR's Tavix.ini.
int settings(int argc, char **argv, const char *dir, const char *file) {
    if (tavixStart(argc, argv, dir) < 0) return 1;
    const bool known = loggerKnown();
    if (known) rt::FireCtrlEvent(idMonitor, MONITOR_MENU4, EVENT_COMMIT);
    const int result = known ? save(idSetLogger, file) : 1;
    tavixStop();
    return result;
}

// The main window with the logger's records, filling the screen as a maximised window does.
int downloaded(int argc, char **argv, const char *dir, const char *file) {
    if (tavixStart(argc, argv, dir) < 0) return 1;
    rt::ScriptedAgent agent;   // the download asks nothing of a fresh program; nothing may wait
    rt::SetUserAgent(&agent);
    int result = 1;
    if (loggerKnown() && download()) {
        const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
        SetPanelAttribute(idMonitor, ATTR_LEFT, room.left());
        SetPanelAttribute(idMonitor, ATTR_TOP, room.top());
        SetPanelAttribute(idMonitor, ATTR_WIDTH, room.width());
        SetPanelAttribute(idMonitor, ATTR_HEIGHT, room.height());
        result = save(idMonitor, file);
    }
    gFlag &= static_cast<unsigned char>(~GFLAG_NOT_SAVED);   // the end asks nothing
    tavixStop();
    rt::SetUserAgent(nullptr);
    return result;
}

// The screen while the question of Exit about the unsaved records is shown (by the toolkit's
// own dialog, in the language of the program's texts); the question is then cancelled.
int exitQuestion(const std::string &file) {
    int result = 1;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->windowHandle() || !dialog->windowHandle()->isExposed()) return;
        poll.stop();
        QApplication::processEvents();
        if (QScreen *screen = QGuiApplication::primaryScreen())
            result = screen->grabWindow(0).save(QString::fromStdString(file), "PNG") ? 0 : 1;
        dialog->reject();
    });
    poll.start(20);
    rt::FireCtrlEvent(idMonitor, MONITOR_EXIT, EVENT_COMMIT);
    poll.stop();
    if (result != 0) std::fprintf(stderr, "tavix-shot: no picture of the question at Exit\n");
    return result;
}

// The windows of a program folder (its language): the main window with the logger's
// records, the communication settings, the logger settings, the data table, the main window
// at its smallest size, and the question at Exit.
int windows(int argc, char **argv, const char *dir, const std::string &out) {
    if (tavixStart(argc, argv, dir) < 0) return 1;
    rt::ScriptedAgent agent;
    rt::SetUserAgent(&agent);
    int failures = 1;
    if (loggerKnown() && download()) {
        failures = save(idMonitor, out + "/main.png");
        rt::FireCtrlEvent(idMonitor, MONITOR_MENU8, EVENT_COMMIT);
        failures += save(idSetting, out + "/communication.png");
        HidePanel(idSetting);
        rt::FireCtrlEvent(idMonitor, MONITOR_MENU4, EVENT_COMMIT);
        failures += save(idSetLogger, out + "/logger-settings.png");
        HidePanel(idSetLogger);
        rt::FireCtrlEvent(idMonitor, MONITOR_MENU3, EVENT_COMMIT);
        failures += save(idTable, out + "/data-table.png");
        HidePanel(idTable);
        // the chart with its curves at the main window's smallest size
        SetPanelAttribute(idMonitor, ATTR_WIDTH, 10);
        SetPanelAttribute(idMonitor, ATTR_HEIGHT, 10);
        failures += save(idMonitor, out + "/main-smallest.png");
        rt::SetUserAgent(nullptr);   // the toolkit's own dialogs from here
        failures += exitQuestion(out + "/exit-question.png");
    }
    rt::SetUserAgent(nullptr);
    gFlag &= static_cast<unsigned char>(~GFLAG_NOT_SAVED);   // the end asks nothing
    tavixStop();
    return failures == 0 ? 0 : 1;
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
    if (argc == 4 && std::strcmp(argv[1], "download") == 0) return downloaded(argc, argv, argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "windows") == 0) return windows(argc, argv, argv[2], argv[3]);
    std::fprintf(stderr,
                 "usage: tavix-shot prepare DIR PORT DEVICE | grab FILE.png | group DIR FILE.png DATA... | settings "
                 "DIR FILE.png | download DIR FILE.png | windows DIR OUT_DIR\n");
    return 2;
}
