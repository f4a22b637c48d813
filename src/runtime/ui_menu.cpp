// Menu bars: menus with items (check marks, dimming, names), attached to a panel or kept
// detached and popped up over a panel.
#include "runtime/ui_internal.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace rt::detail {
namespace {

struct MenuItem {
    int menuId = 0;
    QString name;
    MenuCallbackPtr callback = nullptr;
    void *callbackData = nullptr;
    bool checked = false;
    bool dimmed = false;
    QAction *action = nullptr;
};

struct Menu {
    QString name;
    std::unique_ptr<QMenu> menu;
    std::vector<int> items;
};

struct MenuBar {
    int handle = 0;
    int resource = 0;
    int panel = 0;
    std::map<int, Menu> menus;
    std::vector<int> menuOrder;
    std::map<int, MenuItem> items;
    QPointer<QMenuBar> bar;   // when attached to a panel
};

struct MenuState {
    std::map<int, MenuBarBuilder> resources;
    std::map<int, std::unique_ptr<MenuBar>> bars;
    int next = 1;
    int popupAnswer = -1;
    bool inPopup = false;
};

MenuState &ms() {
    static MenuState s;
    return s;
}

MenuBar *findBar(int handle) {
    auto it = ms().bars.find(handle);
    return it == ms().bars.end() ? nullptr : it->second.get();
}

void runItem(int bar, int itemId, int panel) {
    MenuBar *b = findBar(bar);
    if (!b) return;
    auto it = b->items.find(itemId);
    if (it == b->items.end() || !it->second.callback || heldByPopup()) return;
    const MenuCallbackPtr cb = it->second.callback;
    void *data = it->second.callbackData;
    const DispatchScope running;
    cb(bar, itemId, data, panel);
}

void showItemState(MenuItem &i) {
    if (!i.action) return;
    i.action->setText(i.name);
    i.action->setEnabled(!i.dimmed);
    i.action->setCheckable(i.checked);
    i.action->setChecked(i.checked);
}

void destroyLater(QObject *o) {
    if (!o) return;
    if (dispatchDepth() > 0)
        o->deleteLater();   // a menu callback may be running under it
    else
        delete o;
}

void destroyBar(std::unique_ptr<MenuBar> b) {
    if (b->bar) destroyLater(b->bar.data());
    for (auto &kv : b->menus) destroyLater(kv.second.menu.release());   // the QMenus own the actions
}

}   // namespace

void discardMenuBarsOf(int panel) {
    std::vector<int> handles;
    for (auto &kv : ms().bars)
        if (kv.second->panel == panel) handles.push_back(kv.first);
    for (int h : handles) DiscardMenuBar(h);
}

void discardAllMenuBars() {
    std::vector<int> handles;
    for (auto &kv : ms().bars) handles.push_back(kv.first);
    for (int h : handles) DiscardMenuBar(h);
}

}   // namespace rt::detail

using namespace rt::detail;

void RegisterMenuBarResource(int resource, MenuBarBuilder build) { ms().resources[resource] = build; }

int NewMenu(int menuBar, int menuId, const char *name) {
    MenuBar *b = findBar(menuBar);
    if (!b) return kErrBadMenu;
    if (b->menus.count(menuId) || b->items.count(menuId)) return kErrIdTaken;
    Menu m;
    m.name = fromUtf8(name);
    m.menu = std::make_unique<QMenu>(m.name);
    if (b->bar) b->bar->addMenu(m.menu.get());
    b->menus[menuId] = std::move(m);
    b->menuOrder.push_back(menuId);
    return menuId;
}

int NewMenuItem(int menuBar, int menuId, int itemId, const char *name, MenuCallbackPtr callback, void *callbackData) {
    MenuBar *b = findBar(menuBar);
    if (!b) return kErrBadMenu;
    auto mit = b->menus.find(menuId);
    if (mit == b->menus.end()) return kErrBadMenu;
    if (b->menus.count(itemId) || b->items.count(itemId)) return kErrIdTaken;
    MenuItem item;
    item.menuId = menuId;
    item.name = fromUtf8(name);
    item.callback = callback;
    item.callbackData = callbackData;
    item.action = mit->second.menu->addAction(item.name);
    const int bar = menuBar;
    QObject::connect(item.action, &QAction::triggered, item.action, [bar, itemId]() {
        MenuBar *mb = findBar(bar);
        if (!mb || ms().inPopup) return;   // a pop-up runs its choice itself
        MenuItem &mi = mb->items[itemId];
        showItemState(mi);   // the callback, not the click, sets the check mark
        runItem(bar, itemId, mb->panel);
    });
    auto &stored = b->items[itemId] = item;
    showItemState(stored);
    mit->second.items.push_back(itemId);
    return itemId;
}

int LoadMenuBar(int panel, int resource) {
    if (!appReady()) return kErrNoRunTime;
    auto it = ms().resources.find(resource);
    if (it == ms().resources.end()) return kErrNoResource;
    Panel *p = nullptr;
    if (panel != 0) {
        p = findPanel(panel);
        if (!p) return kErrBadPanel;
    }
    const int handle = ms().next++;
    auto b = std::make_unique<MenuBar>();
    b->handle = handle;
    b->resource = resource;
    b->panel = panel;
    if (p) {
        b->bar = new QMenuBar(p->widget);
        b->bar->setGeometry(0, 0, p->widget->width(), b->bar->sizeHint().height());
        b->bar->show();
        p->menuBar = handle;
    }
    ms().bars[handle] = std::move(b);
    if (it->second && it->second(handle) < 0) {
        DiscardMenuBar(handle);
        return kErrBuild;
    }
    return handle;
}

int DiscardMenuBar(int menuBar) {
    auto it = ms().bars.find(menuBar);
    if (it == ms().bars.end()) return kErrBadMenu;
    std::unique_ptr<MenuBar> b = std::move(it->second);
    ms().bars.erase(it);
    if (Panel *p = findPanel(b->panel); p && p->menuBar == menuBar) p->menuBar = 0;
    destroyBar(std::move(b));
    return 0;
}

namespace {

int menuAttrSet(int menuBar, int itemId, int attr, const Value &v) {
    MenuBar *b = findBar(menuBar);
    if (!b) return kErrBadMenu;
    auto mit = b->menus.find(itemId);
    if (mit != b->menus.end()) {   // a whole menu: name and dimming
        Menu &m = mit->second;
        if (attr == ATTR_ITEM_NAME && !v.isNumber()) {
            m.name = v.s;
            m.menu->setTitle(m.name);
            return 0;
        }
        if (attr == ATTR_DIMMED && v.isNumber()) {
            m.menu->setEnabled(v.num() == 0);
            return 0;
        }
        return kErrBadAttr;
    }
    auto it = b->items.find(itemId);
    if (it == b->items.end()) return kErrBadMenu;
    MenuItem &i = it->second;
    switch (attr) {
        case ATTR_CHECKED:
            if (!v.isNumber()) return kErrBadType;
            i.checked = v.num() != 0;
            break;
        case ATTR_DIMMED:
            if (!v.isNumber()) return kErrBadType;
            i.dimmed = v.num() != 0;
            break;
        case ATTR_ITEM_NAME:
            if (v.isNumber()) return kErrBadType;
            i.name = v.s;
            break;
        default: return kErrBadAttr;
    }
    showItemState(i);
    return 0;
}

int menuAttrGet(int menuBar, int itemId, int attr, Value &v) {
    MenuBar *b = findBar(menuBar);
    if (!b) return kErrBadMenu;
    auto mit = b->menus.find(itemId);
    if (mit != b->menus.end()) {
        if (attr == ATTR_ITEM_NAME)
            v = Value::ofText(mit->second.name);
        else if (attr == ATTR_DIMMED)
            v = Value::ofInt(!mit->second.menu->isEnabled());
        else
            return kErrBadAttr;
        return 0;
    }
    auto it = b->items.find(itemId);
    if (it == b->items.end()) return kErrBadMenu;
    const MenuItem &i = it->second;
    switch (attr) {
        case ATTR_CHECKED: v = Value::ofInt(i.checked); return 0;
        case ATTR_DIMMED: v = Value::ofInt(i.dimmed); return 0;
        case ATTR_ITEM_NAME: v = Value::ofText(i.name); return 0;
        default: return kErrBadAttr;
    }
}

}   // namespace

int SetMenuBarAttribute(int menuBar, int itemId, int attr, int value) {
    return menuAttrSet(menuBar, itemId, attr, Value::ofInt(value));
}

int SetMenuBarAttribute(int menuBar, int itemId, int attr, const char *value) {
    if (!value) return kErrNullArg;
    return menuAttrSet(menuBar, itemId, attr, Value::ofText(QString::fromUtf8(value)));
}

int GetMenuBarAttribute(int menuBar, int itemId, int attr, int *value) {
    Value v;
    if (const int e = menuAttrGet(menuBar, itemId, attr, v)) return e;
    if (!value) return kErrNullArg;
    if (!v.isNumber()) return kErrBadType;
    *value = v.toInt();
    return 0;
}

int GetMenuBarAttribute(int menuBar, int itemId, int attr, char *value, std::size_t capacity) {
    Value v;
    int e = menuAttrGet(menuBar, itemId, attr, v);
    if (!e && v.isNumber()) e = kErrBadType;
    if (e) {
        if (value && capacity) value[0] = '\0';
        return e;
    }
    return copyOut(v.s, value, capacity);
}

int RunPopupMenu(int menuBar, int menuId, int panel, int top, int left) {
    MenuBar *b = findBar(menuBar);
    if (!b) return kErrBadMenu;
    auto mit = b->menus.find(menuId);
    if (mit == b->menus.end()) return kErrBadMenu;
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    int chosen = 0;
    const int answer = ms().popupAnswer;
    if (answer >= 0) {   // scripted: answer without showing anything
        ms().popupAnswer = -1;
        if (answer != 0) {
            auto it = b->items.find(answer);
            if (it == b->items.end() || it->second.menuId != menuId || it->second.dimmed) return 0;
            chosen = answer;
        }
    } else {
        QAction *a = nullptr;
        {
            const ModalScope modal;
            ms().inPopup = true;
            a = mit->second.menu->exec(p->widget->mapToGlobal(QPoint(left, top)));
            ms().inPopup = false;
        }
        b = findBar(menuBar);
        if (!b || !a) return 0;
        for (auto &[id, item] : b->items)
            if (item.action == a) {
                chosen = id;
                showItemState(item);
                break;
            }
    }
    if (chosen) runItem(menuBar, chosen, panel);
    return chosen;
}

namespace rt {

void FireMenuItem(int menuBar, int itemId, int panel) { runItem(menuBar, itemId, panel); }

void SetPopupMenuAnswer(int itemId) { ms().popupAnswer = itemId; }

}   // namespace rt
