// Panel states: the values of a panel's controls saved to and recalled from a file. A
// state that does not fit the panel is refused whole and changes nothing.
#include "runtime/ui_internal.h"

#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <cmath>

using namespace rt::detail;

namespace {

bool holdsValue(CtrlKind k) {
    switch (k) {
        case CTRL_NUMERIC:
        case CTRL_NUMERIC_REAL:
        case CTRL_STRING:
        case CTRL_TEXT_BOX:
        case CTRL_RING:
        case CTRL_BINARY_SWITCH:
        case CTRL_COLOR_NUM: return true;
        default: return false;
    }
}

QString stateGroup(int index) { return QStringLiteral("PanelState%1").arg(index); }

QString storedValue(const Ctrl &c) {
    switch (c.kind) {
        case CTRL_NUMERIC:
        case CTRL_BINARY_SWITCH:
        case CTRL_COLOR_NUM: return QString::number(c.ival);
        case CTRL_NUMERIC_REAL: return QString::number(c.dval, 'g', 17);
        case CTRL_STRING:
        case CTRL_TEXT_BOX: return c.text;
        case CTRL_RING:
            return c.ringIndex >= 0 && c.ringIndex < static_cast<int>(c.items.size())
                       ? QString::number(c.items[c.ringIndex].value)
                       : QString();
        default: return QString();
    }
}

// Parse a stored value for a control; false when it cannot be taken.
bool parseStored(const Ctrl &c, const QString &s, Value &v) {
    bool ok = true;
    switch (c.kind) {
        case CTRL_NUMERIC:
        case CTRL_BINARY_SWITCH:
        case CTRL_COLOR_NUM: v = Value::ofInt(s.toLongLong(&ok)); return ok;
        case CTRL_NUMERIC_REAL: v = Value::ofDouble(s.toDouble(&ok)); return ok && std::isfinite(v.d);
        case CTRL_STRING:
        case CTRL_TEXT_BOX: v = Value::ofText(s); return true;
        case CTRL_RING: {
            if (s.isEmpty()) {
                v = Value::ofText(QString());   // nothing was selected: leave the ring alone
                return true;
            }
            const int want = s.toInt(&ok);
            if (!ok) return false;
            v = Value::ofInt(want);
            return std::any_of(c.items.begin(), c.items.end(), [want](const RingItem &r) { return r.value == want; });
        }
        default: return false;
    }
}

}   // namespace

int SavePanelState(int panel, const char *file, int stateIndex) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    if (!file || !*file) return kErrNullArg;
    QSettings s(QFileInfo(QString::fromUtf8(file)).absoluteFilePath(), QSettings::IniFormat);
    const QString group = stateGroup(stateIndex);
    s.remove(group);
    s.beginGroup(group);
    int count = 0;
    for (int id : p->order) {
        const Ctrl &c = *p->ctrls[id];
        if (!holdsValue(c.kind)) continue;
        ++count;
        s.setValue(QStringLiteral("kind%1").arg(id), static_cast<int>(c.kind));
        s.setValue(QStringLiteral("value%1").arg(id), storedValue(c));
    }
    s.setValue(QStringLiteral("resource"), p->resource);
    s.setValue(QStringLiteral("controls"), count);
    s.endGroup();
    s.sync();
    return s.status() == QSettings::NoError ? 0 : kErrFileWrite;
}

int RecallPanelState(int panel, const char *file, int stateIndex) {
    Panel *p = findPanel(panel);
    if (!p) return kErrBadPanel;
    if (!file || !*file) return kErrNullArg;
    const QString path = QFileInfo(QString::fromUtf8(file)).absoluteFilePath();
    if (!QFileInfo::exists(path)) return kErrFileRead;
    QSettings s(path, QSettings::IniFormat);
    if (s.status() != QSettings::NoError) return kErrFileRead;
    s.beginGroup(stateGroup(stateIndex));
    if (!s.contains(QStringLiteral("resource"))) return kErrFileRead;
    bool ok = false;
    if (s.value(QStringLiteral("resource")).toString().toInt(&ok) != p->resource || !ok) return kErrStateMismatch;
    int count = 0;
    for (int id : p->order)
        if (holdsValue(p->ctrls[id]->kind)) ++count;
    if (s.value(QStringLiteral("controls")).toString().toInt(&ok) != count || !ok) return kErrStateMismatch;
    // Check everything first: a state that does not fit changes nothing.
    std::vector<std::pair<Ctrl *, Value>> values;
    for (const QString &key : s.childKeys()) {
        if (!key.startsWith(QStringLiteral("kind"))) continue;
        const int id = key.mid(4).toInt(&ok);
        if (!ok) return kErrStateMismatch;
        auto it = p->ctrls.find(id);
        if (it == p->ctrls.end()) return kErrStateMismatch;
        if (s.value(key).toString().toInt(&ok) != static_cast<int>(it->second->kind) || !ok) return kErrStateMismatch;
    }
    for (int id : p->order) {
        Ctrl *c = p->ctrls[id].get();
        if (!holdsValue(c->kind)) continue;
        const QString vk = QStringLiteral("value%1").arg(id);
        if (!s.contains(vk) || !s.contains(QStringLiteral("kind%1").arg(id))) return kErrStateMismatch;
        Value v;
        if (!parseStored(*c, s.value(vk).toString(), v)) return kErrStateMismatch;
        values.emplace_back(c, v);
    }
    for (auto &[c, v] : values) {
        if (c->kind == CTRL_RING && v.type == Value::Text) continue;
        setValue(*c, v);
    }
    return 0;
}
