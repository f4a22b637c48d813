// Panels: the layouts registered as resources, loading (a layout builder makes the
// controls), showing, hiding and discarding a panel, its callback and its attributes.
#include "runtime/ui_internal.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QTimer>

namespace rt::detail {
namespace {

class PanelWidget : public QWidget {
public:
    PanelWidget(int handle, QWidget *parent) : QWidget(parent, Qt::Window), handle_(handle) {}

protected:
    void closeEvent(QCloseEvent *e) override {
        // The close box never closes the window by itself: the panel callback decides.
        e->ignore();
        firePanel(handle_, EVENT_CLOSE, 0, 0);
    }

private:
    int handle_;
};

}   // namespace
}   // namespace rt::detail

using namespace rt::detail;

// ---------------------------------------------------------------- resources

void RegisterPanelResource(int resource, const char *title, int width, int height, PanelBuilder build) {
    Resource r;
    r.title = fromUtf8(title);
    r.width = width;
    r.height = height;
    r.build = build;
    st().resources[resource] = r;
}

int InstallPanelCallback(int panel, PanelCallbackPtr callback, void *callbackData) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    p->callback = callback;
    p->callbackData = callbackData;
    return 0;
}

// ---------------------------------------------------------------- panels

int LoadPanel(int parentPanel, int resource) {
    if (!appReady()) return kErrNoRunTime;
    auto it = st().resources.find(resource);
    if (it == st().resources.end()) return kErrNoResource;
    const Resource res = it->second;
    Panel *parent = nullptr;
    if (parentPanel != 0) {
        parent = findPanel(parentPanel);
        if (!parent) return kErrBadPanel;
    }
    const int handle = st().nextPanel++;
    auto p = std::make_unique<Panel>();
    p->handle = handle;
    p->resource = resource;
    p->parent = parentPanel;
    p->widget = new PanelWidget(handle, parent ? parent->widget : nullptr);
    p->widget->setWindowTitle(res.title);
    p->widget->setProperty("tvxPanelHandle", handle);
    p->widget->resize(res.width > 0 ? res.width : 400, res.height > 0 ? res.height : 300);
    Panel &pr = *p;
    st().panels[handle] = std::move(p);
    if (res.build) {
        const int r = res.build(handle);
        if (r < 0) {
            DiscardPanel(handle);
            return kErrBuild;
        }
    }
    if (pr.widget->layout()) {   // a grid: at least the size it needs
        fitPanelToGrid(pr, true);
    } else if (res.width < 0 || res.height < 0) {   // size to the controls
        const QRect used = pr.widget->childrenRect();
        pr.widget->resize(res.width > 0 ? res.width : used.right() + 12,
                          res.height > 0 ? res.height : used.bottom() + 12);
    }
    return handle;
}

int DisplayPanel(int panel) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    fitPanelToGrid(*p, false);   // its texts may have grown since it was loaded
    placeOnScreen(*p);
    p->widget->show();
    // The offscreen platform of the tests has no window stacking (and says so on every call).
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        p->widget->raise();
        p->widget->activateWindow();
    }
    return 0;
}

int HidePanel(int panel) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    rememberGeometry(*p);
    p->widget->hide();
    return 0;
}

int DiscardPanel(int panel) {
    auto &ps = st().panels;
    auto it = ps.find(panel);
    if (it == ps.end()) return kErrBadPanel;
    // child panels go first
    std::vector<int> children;
    for (auto &kv : ps)
        if (kv.second->parent == panel) children.push_back(kv.first);
    for (int ch : children) DiscardPanel(ch);
    it = ps.find(panel);
    if (it == ps.end()) return 0;
    discardMenuBarsOf(panel);
    rememberGeometry(*it->second);
    std::unique_ptr<Panel> p = std::move(it->second);
    ps.erase(it);
    for (auto &kv : p->ctrls)
        if (kv.second->timer) kv.second->timer->stop();
    destroyPanelWidget(p->widget);
    return 0;
}

int SetPanelAttribute(int panel, int attr, int value) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    QWidget *w = p->widget;
    switch (attr) {
        case ATTR_VISIBLE: w->setVisible(value != 0); return 0;
        case ATTR_DIMMED:
            p->dimmed = value != 0;
            w->setEnabled(!p->dimmed);
            return 0;
        case ATTR_BACKCOLOR: {
            p->backColor = value & 0xFFFFFF;
            QPalette pal = w->palette();
            pal.setColor(QPalette::Window, toQColor(p->backColor));
            w->setPalette(pal);
            w->setAutoFillBackground(true);
            return 0;
        }
        case ATTR_WIDTH:
            if (value <= 0) return kErrBadValue;
            w->resize(value, w->height());
            return 0;
        case ATTR_HEIGHT:
            if (value <= 0) return kErrBadValue;
            w->resize(w->width(), value);
            return 0;
        case ATTR_LEFT: w->move(value, w->y()); return 0;
        case ATTR_TOP: w->move(w->x(), value); return 0;
        default: return kErrBadAttr;
    }
}

int SetPanelAttribute(int panel, int attr, const char *value) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    if (attr != ATTR_TITLE) return attr == ATTR_VISIBLE || attr == ATTR_BACKCOLOR ? kErrBadType : kErrBadAttr;
    p->widget->setWindowTitle(fromUtf8(value));
    return 0;
}

int GetPanelAttribute(int panel, int attr, int *value) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    if (!value) return kErrNullArg;
    QWidget *w = p->widget;
    switch (attr) {
        case ATTR_VISIBLE: *value = w->isVisible() ? 1 : 0; return 0;
        case ATTR_DIMMED: *value = p->dimmed ? 1 : 0; return 0;
        case ATTR_BACKCOLOR:
            *value = p->backColor >= 0 ? p->backColor : fromQColor(w->palette().color(QPalette::Window));
            return 0;
        case ATTR_WIDTH: *value = w->width(); return 0;
        case ATTR_HEIGHT: *value = w->height(); return 0;
        case ATTR_LEFT: *value = w->x(); return 0;
        case ATTR_TOP: *value = w->y(); return 0;
        default: return kErrBadAttr;
    }
}

int GetPanelAttribute(int panel, int attr, char *value, std::size_t capacity) {
    Panel *p = findPanel(panel);
    if (!p) {
        if (value && capacity) value[0] = '\0';
        return kErrBadPanel;
    }
    if (attr != ATTR_TITLE) return kErrBadAttr;
    return copyOut(p->widget->windowTitle(), value, capacity);
}
