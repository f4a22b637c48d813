// Window geometry: where each window (by its panel resource) was and how large, kept in an
// INI file, restored when the window opens and always fully on the screen.
#include "runtime/ui_internal.h"

#include "ini/inifile.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <string>

namespace rt::detail {
namespace {

std::string sectionOf(int resource) { return "Window " + std::to_string(resource); }

const char *const kKeys[] = {"Left", "Top", "Width", "Height"};

void readGeometryFile() {
    RunTimeState &s = st();
    s.geometry.clear();
    IniHandle ini = Ini_New(0);
    if (!ini) return;
    if (Ini_ReadFromFile(ini, s.geometryFile.c_str()) == 0) {
        for (const auto &kv : s.resources) {
            const std::string section = sectionOf(kv.first);
            int v[4] = {0, 0, 0, 0};
            bool all = true;
            for (int k = 0; k < 4; ++k) all = all && Ini_GetInt(ini, section.c_str(), kKeys[k], &v[k]) > 0;
            if (all && v[2] > 0 && v[3] > 0) s.geometry[kv.first] = QRect(v[0], v[1], v[2], v[3]);
        }
    }
    Ini_Dispose(ini);
}

int writeGeometryFile() {
    RunTimeState &s = st();
    if (s.geometryFile.empty()) return 0;
    IniHandle ini = Ini_New(1);
    if (!ini) return kErrNullArg;
    for (const auto &kv : s.geometry) {
        const std::string section = sectionOf(kv.first);
        const int v[4] = {kv.second.x(), kv.second.y(), kv.second.width(), kv.second.height()};
        for (int k = 0; k < 4; ++k) Ini_PutInt(ini, section.c_str(), kKeys[k], v[k]);
    }
    const int r = Ini_WriteToFile(ini, s.geometryFile.c_str());
    Ini_Dispose(ini);
    return r < 0 ? kErrFileWrite : 0;
}

// The rectangle moved (and if need be shrunk) so that it lies fully in the screen's room.
QRect fitOnScreen(QRect r, const QRect &room) {
    r.setSize(r.size().boundedTo(room.size()));
    r.moveLeft(std::clamp(r.left(), room.left(), room.right() - r.width() + 1));
    r.moveTop(std::clamp(r.top(), room.top(), room.bottom() - r.height() + 1));
    return r;
}

QRect roomFor(const QPoint &at) {
    QScreen *screen = QGuiApplication::screenAt(at);
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}   // namespace

void rememberGeometry(Panel &p) {
    if (st().geometryFile.empty() || !p.widget->isVisible()) return;
    st().geometry[p.resource] = QRect(p.widget->pos(), p.widget->size());
    writeGeometryFile();
}

void placeOnScreen(Panel &p) {
    RunTimeState &s = st();
    if (p.placedOnScreen || s.geometryFile.empty()) return;
    p.placedOnScreen = true;
    QWidget *w = p.widget;
    QRect r(w->pos(), w->size());
    auto known = s.geometry.find(p.resource);
    if (known != s.geometry.end()) {
        r = known->second;
    } else {
        const Panel *main = findPanel(s.mainPanel);
        if (!main || main == &p) return;   // the main window: where the window system puts it
        r.moveCenter(QRect(main->widget->pos(), main->widget->size()).center());
    }
    r.setSize(r.size().expandedTo(w->minimumSize()));
    r = fitOnScreen(r, roomFor(r.center()));
    w->resize(r.size());
    w->move(r.topLeft());
}

}   // namespace rt::detail

using namespace rt::detail;

int UseWindowGeometryFile(const char *path, int mainPanel) {
    if (!path) return kErrNullArg;
    st().geometryFile = path;
    st().mainPanel = mainPanel;
    readGeometryFile();
    return 0;
}

int SaveWindowGeometry() {
    for (auto &kv : st().panels)
        if (kv.second->widget->isVisible())
            st().geometry[kv.second->resource] = QRect(kv.second->widget->pos(), kv.second->widget->size());
    return writeGeometryFile();
}
