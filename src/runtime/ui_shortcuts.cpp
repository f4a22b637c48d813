// Keyboard shortcuts of a window: a key sequence clicks a control (its callback gets the
// commit a click gives) or runs a procedure of the program. The toolkit's shortcut map does
// the matching, so a text field that uses a key for editing keeps it, and a window's keys act
// only while that window is the active one.
#include "runtime/ui_internal.h"

#include <QKeySequence>
#include <QShortcut>

namespace rt::detail {
namespace {

// A control clicked by its keys: only when a click could reach it.
void clickByKeys(int panel, int ctrl) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (lookup(panel, ctrl, p, c) != 0) return;
    if (c->dimmed || !c->visible || (c->widget && !c->widget->isEnabled())) return;
    fireCtrl(panel, ctrl, EVENT_COMMIT, 0, 0);
}

void runByKeys(int panel, ShortcutCallbackPtr callback, void *callbackData) {
    if (!findPanel(panel) || heldByPopup()) return;
    const DispatchScope running;
    callback(panel, callbackData);
}

// Binds rec's keys on the panel's window, replacing an earlier binding of the same keys.
int bind(int panel, ShortcutRec rec, const char *keys) {
    Panel *p = findPanel(panel);
    if (!p || !p->widget) return kErrBadPanel;
    if (!keys) return kErrNullArg;
    const QKeySequence sequence = QKeySequence::fromString(QString::fromUtf8(keys), QKeySequence::PortableText);
    if (sequence.isEmpty() || sequence[0].key() == Qt::Key_unknown) return kErrBadValue;
    rec.keys = sequence.toString(QKeySequence::PortableText);
    for (auto it = p->shortcuts.begin(); it != p->shortcuts.end(); ++it)
        if (it->keys == rec.keys) {
            delete it->shortcut;
            p->shortcuts.erase(it);
            break;
        }
    rec.shortcut = new QShortcut(sequence, p->widget);
    rec.shortcut->setContext(Qt::WindowShortcut);
    const int ctrl = rec.ctrl;
    const ShortcutCallbackPtr callback = rec.callback;
    void *data = rec.callbackData;
    QObject::connect(rec.shortcut, &QShortcut::activated, rec.shortcut, [panel, ctrl, callback, data]() {
        if (callback)
            runByKeys(panel, callback, data);
        else
            clickByKeys(panel, ctrl);
    });
    p->shortcuts.push_back(std::move(rec));
    return 0;
}

}   // namespace
}   // namespace rt::detail

using namespace rt::detail;

int SetCtrlShortcut(int panel, int ctrl, const char *keys) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    ShortcutRec rec;
    rec.ctrl = ctrl;
    return bind(panel, std::move(rec), keys);
}

int InstallShortcutCallback(int panel, const char *keys, ShortcutCallbackPtr callback, void *callbackData) {
    if (!callback) return kErrNullArg;
    ShortcutRec rec;
    rec.callback = callback;
    rec.callbackData = callbackData;
    return bind(panel, std::move(rec), keys);
}

namespace rt {

std::vector<ShortcutInfo> PanelShortcuts(int panel) {
    std::vector<ShortcutInfo> out;
    Panel *p = findPanel(panel);
    if (!p) return out;
    for (const ShortcutRec &rec : p->shortcuts) out.push_back({rec.keys.toStdString(), rec.ctrl});
    return out;
}

}   // namespace rt
