// The core of the user-interface run-time: its state, the registry of panels and controls,
// event delivery to callbacks, the application object with its event loop, and the small
// helpers the other parts share (colours, fonts, bounded text copies).
#include "runtime/ui_internal.h"

#include <QApplication>
#include <QFontDatabase>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace rt::detail {
namespace {

// The application object keeps pointers to argc/argv: they live as long as the process.
int g_argc = 0;
std::vector<std::string> g_argStore;
std::vector<char *> g_argv;

// The registry of panels and resources; CloseRunTime empties it.
RunTimeState g_state;

}   // namespace

RunTimeState &st() { return g_state; }

// ------------------------------------------------------------ shared helpers

int Value::toInt() const {
    if (type == Int) return static_cast<int>(std::clamp<long long>(i, INT_MIN, INT_MAX));
    if (type == Double) {
        if (std::isnan(d)) return 0;
        return static_cast<int>(std::clamp(std::round(d), double(INT_MIN), double(INT_MAX)));
    }
    return 0;
}

Panel *findPanel(int handle) {
    auto &ps = st().panels;
    auto it = ps.find(handle);
    return it == ps.end() ? nullptr : it->second.get();
}

int lookup(int panel, int ctrl, Panel *&p, Ctrl *&c) {
    p = findPanel(panel);
    if (!p) return kErrBadPanel;
    auto it = p->ctrls.find(ctrl);
    if (it == p->ctrls.end()) return kErrBadCtrl;
    c = it->second.get();
    return 0;
}

int lookupKind(int panel, int ctrl, CtrlKind kind, Panel *&p, Ctrl *&c) {
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    return c->kind == kind ? 0 : kErrBadCtrl;
}

std::vector<Panel *> allPanels() {
    std::vector<Panel *> out;
    for (auto &kv : st().panels) out.push_back(kv.second.get());
    return out;
}

namespace {

// The windows discarded under a callback go once nothing runs any more. deleteLater, as the
// outermost callback may still be inside the signal of a widget of that window.
void deleteDoomed() {
    RunTimeState &s = st();
    if (s.dispatchDepth > 0 || s.modalDepth > 0) return;
    std::vector<QPointer<QWidget>> doomed;
    doomed.swap(s.doomed);
    for (const QPointer<QWidget> &w : doomed)
        if (w) w->deleteLater();
}

}   // namespace

int fireCtrl(int panel, int ctrl, int event, int eventData1, int eventData2) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    if (!c->callback || heldByPopup()) return 0;
    const CtrlCallbackPtr cb = c->callback;
    void *data = c->callbackData;
    const DispatchScope running;
    return cb(panel, ctrl, event, data, eventData1, eventData2);
}

int firePanel(int panel, int event, int eventData1, int eventData2) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    if (!p->callback || heldByPopup()) return 0;
    const PanelCallbackPtr cb = p->callback;
    void *data = p->callbackData;
    const DispatchScope running;
    return cb(panel, event, data, eventData1, eventData2);
}

void destroyPanelWidget(QWidget *w) {
    if (!w) return;
    w->hide();
    if (st().dispatchDepth > 0 || st().modalDepth > 0)
        st().doomed.emplace_back(w);   // a callback of this panel may still be running
    else
        delete w;
}

bool heldByPopup() { return st().modalDepth > 0; }

int dispatchDepth() { return st().dispatchDepth; }
DispatchScope::DispatchScope() { ++st().dispatchDepth; }
DispatchScope::~DispatchScope() {
    --st().dispatchDepth;
    deleteDoomed();
}
int modalDepth() { return st().modalDepth; }
ModalScope::ModalScope() { ++st().modalDepth; }
ModalScope::~ModalScope() {
    --st().modalDepth;
    deleteDoomed();
}

QColor toQColor(int rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }
int fromQColor(const QColor &c) { return (c.red() << 16) | (c.green() << 8) | c.blue(); }

namespace {
// The relative luminance of a colour (0 black, 1 white), as contrast ratios are measured.
double luminance(const QColor &c) {
    const auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
}
}   // namespace

double contrastOnWhite(int rgb) { return 1.05 / (luminance(toQColor(rgb)) + 0.05); }

QColor readableTextColor(int rgb) {
    QColor c = toQColor(rgb);
    // darker in steps, keeping the hue, until the text reads well on a white ground
    for (int i = 0; i < 40 && contrastOnWhite(fromQColor(c)) < kReadableContrast; ++i)
        c = QColor(c.red() * 9 / 10, c.green() * 9 / 10, c.blue() * 9 / 10);
    return c;
}

QFont resolveFont(const std::string &name, int pointSize) {
    QFont f;
    if (name == VAL_APP_META_FONT || name.empty())
        f = QApplication::font();
    else if (name == VAL_DIALOG_META_FONT)
        f = QApplication::font("QMessageBox");
    else if (name == VAL_MENU_META_FONT)
        f = QApplication::font("QMenu");
    else if (name == VAL_SYSTEM_META_FONT)
        f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    else {
        f = QApplication::font();
        f.setFamilies({QString::fromStdString(name)});
    }
    if (pointSize > 0) f.setPointSize(pointSize);
    return f;
}

int copyOut(const std::string &text, char *out, std::size_t capacity) {
    if (!out || capacity == 0) return kErrNullArg;
    std::size_t n = std::min(text.size(), capacity - 1);
    // never cut a UTF-8 character in two
    if (n < text.size())
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return 0;
}

int copyOut(const QString &text, char *out, std::size_t capacity) { return copyOut(text.toStdString(), out, capacity); }

QString fromUtf8(const char *s) { return s ? QString::fromUtf8(s) : QString(); }

bool appReady() { return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr; }

}   // namespace rt::detail

using namespace rt::detail;

// ---------------------------------------------------------------- run-time and event loop

int InitRunTime(int argc, char **argv) {
    if (QCoreApplication::instance()) return appReady() ? 0 : kErrNoRunTime;
    g_argStore.clear();
    for (int i = 0; i < argc && argv; ++i) g_argStore.emplace_back(argv[i] ? argv[i] : "");
    if (g_argStore.empty()) g_argStore.emplace_back("tavix");
    g_argv.clear();
    for (auto &s : g_argStore) g_argv.push_back(s.data());
    g_argv.push_back(nullptr);
    g_argc = static_cast<int>(g_argStore.size());
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Without a display the toolkit would abort the process; report the failure instead.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return kErrNoRunTime;
#endif
    auto *app = new QApplication(g_argc, g_argv.data());
    app->setQuitOnLastWindowClosed(false);
    return 0;
}

void CloseRunTime() {
    closePrinting();
    discardAllMenuBars();
    std::vector<int> handles;
    for (auto &kv : st().panels) handles.push_back(kv.first);
    for (int h : handles) DiscardPanel(h);
    // what was discarded under a callback and not deleted yet goes with the run-time
    if (st().dispatchDepth == 0 && st().modalDepth == 0) {
        std::vector<QPointer<QWidget>> doomed;
        doomed.swap(st().doomed);
        for (const QPointer<QWidget> &w : doomed) delete w.data();
    }
}

int RunUserInterface() {
    if (!appReady()) return kErrNoRunTime;
    RunTimeState &s = st();
    if (s.quitPending) {   // quit was asked for before the loop ran
        s.quitPending = false;
        return s.quitCode;
    }
    ++s.loopDepth;
    const int code = QApplication::exec();
    --s.loopDepth;
    s.quitPending = false;
    return code;
}

void QuitUserInterface(int code) {
    RunTimeState &s = st();
    s.quitCode = code;
    s.quitPending = true;
    if (s.loopDepth > 0) QCoreApplication::exit(code);
}

void ProcessSystemEvents() {
    if (!QCoreApplication::instance()) return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void ProcessDrawEvents() {
    if (!appReady()) return;
    for (Panel *p : allPanels()) {
        if (!p->widget || !p->widget->isVisible()) continue;
        for (auto &kv : p->ctrls)
            if (kv.second->kind == CTRL_GRAPH) graphFlush(*kv.second);
        p->widget->repaint();
    }
}

// ---------------------------------------------------------------- plain values of the API

Rect MakeRect(int top, int left, int height, int width) { return Rect{top, left, height, width}; }
Point MakePoint(int x, int y) { return Point{x, y}; }
