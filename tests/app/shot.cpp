// Helper of the screenshot test:
//   tavix-shot prepare DIR PORT DEVICE   writes DIR/Tavix.ini: port PORT, bound to DEVICE
//   tavix-shot grab FILE.png             saves a picture of the whole screen
#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/Tavix.h"
#include "panels/Panels.h"
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

}   // namespace

int main(int argc, char **argv) {
    if (argc == 5 && std::strcmp(argv[1], "prepare") == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return prepare(argv[2], std::atoi(argv[3]), argv[4]);
    }
    if (argc == 3 && std::strcmp(argv[1], "grab") == 0) return grab(argc, argv, argv[2]);
    std::fprintf(stderr, "usage: tavix-shot prepare DIR PORT DEVICE | grab FILE.png\n");
    return 2;
}
