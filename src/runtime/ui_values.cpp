// Values of controls: numbers, texts, ring selections and colours as the program sets
// and reads them, a control's default value, and a picture control's image.
#include "runtime/ui_internal.h"

#include <QLabel>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace rt::detail {
namespace {

int setCtrlValue(int panel, int ctrl, const Value &v) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    return setValue(*c, v);
}

int getCtrlValue(int panel, int ctrl, Value &v) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    return getValue(*c, v);
}

}   // namespace

int setValue(Ctrl &c, const Value &v) {
    switch (c.kind) {
        case CTRL_NUMERIC:
        case CTRL_PROGRESS_BAR: {
            if (!v.isNumber()) return kErrBadType;
            double x = std::round(v.num());
            x = std::clamp(x, c.minV, c.maxV);
            c.ival = static_cast<int>(x);
            break;
        }
        case CTRL_NUMERIC_REAL:
            if (!v.isNumber()) return kErrBadType;
            c.dval = std::clamp(v.num(), c.minV, c.maxV);
            break;
        case CTRL_STRING:
        case CTRL_TEXT_BOX:
        case CTRL_TEXT_MSG:
            if (v.type != Value::Text) return kErrBadType;
            c.text = v.s;
            if (c.kind == CTRL_STRING && c.maxEntryLength >= 0) c.text.truncate(c.maxEntryLength);
            if (c.kind == CTRL_TEXT_MSG) c.label = c.text;
            break;
        case CTRL_RING: {
            if (!v.isNumber()) return kErrBadType;
            const int want = v.toInt();
            auto it =
                std::find_if(c.items.begin(), c.items.end(), [want](const RingItem &r) { return r.value == want; });
            if (it == c.items.end()) return kErrNoItem;
            c.ringIndex = static_cast<int>(it - c.items.begin());
            break;
        }
        case CTRL_BINARY_SWITCH:
            if (!v.isNumber()) return kErrBadType;
            c.ival = v.num() != 0 ? 1 : 0;
            break;
        case CTRL_COLOR_NUM:
            if (!v.isNumber()) return kErrBadType;
            c.ival = v.toInt() & 0xFFFFFF;
            break;
        default: return kErrBadType;
    }
    refreshWidget(c);
    return 0;
}

int getValue(const Ctrl &c, Value &v) {
    switch (c.kind) {
        case CTRL_NUMERIC:
        case CTRL_PROGRESS_BAR:
        case CTRL_BINARY_SWITCH:
        case CTRL_COLOR_NUM: v = Value::ofInt(c.ival); return 0;
        case CTRL_NUMERIC_REAL: v = Value::ofDouble(c.dval); return 0;
        case CTRL_STRING:
        case CTRL_TEXT_BOX:
        case CTRL_TEXT_MSG: v = Value::ofText(c.text); return 0;
        case CTRL_RING:
            if (c.ringIndex < 0 || c.ringIndex >= static_cast<int>(c.items.size())) return kErrNoItem;
            v = Value::ofInt(c.items[c.ringIndex].value);
            return 0;
        default: return kErrBadType;
    }
}

int toIntOut(int status, const Value &v, int *out) {
    if (status) return status;
    if (!out) return kErrNullArg;
    if (!v.isNumber()) return kErrBadType;
    *out = v.toInt();
    return 0;
}

int toDoubleOut(int status, const Value &v, double *out) {
    if (status) return status;
    if (!out) return kErrNullArg;
    if (!v.isNumber()) return kErrBadType;
    *out = v.num();
    return 0;
}

int toTextOut(int status, const Value &v, char *out, std::size_t capacity) {
    if (status) {
        if (out && capacity) out[0] = '\0';
        return status;
    }
    if (v.type != Value::Text) {
        if (out && capacity) out[0] = '\0';
        return kErrBadType;
    }
    return copyOut(v.s, out, capacity);
}

}   // namespace rt::detail

using namespace rt::detail;

int SetCtrlVal(int panel, int ctrl, int value) { return setCtrlValue(panel, ctrl, Value::ofInt(value)); }
int SetCtrlVal(int panel, int ctrl, double value) { return setCtrlValue(panel, ctrl, Value::ofDouble(value)); }
int SetCtrlVal(int panel, int ctrl, const char *value) {
    if (!value) return kErrNullArg;
    return setCtrlValue(panel, ctrl, Value::ofText(QString::fromUtf8(value)));
}

int GetCtrlVal(int panel, int ctrl, int *value) {
    Value v;
    const int e = getCtrlValue(panel, ctrl, v);
    return toIntOut(e, v, value);
}

int GetCtrlVal(int panel, int ctrl, double *value) {
    Value v;
    const int e = getCtrlValue(panel, ctrl, v);
    return toDoubleOut(e, v, value);
}

int GetCtrlVal(int panel, int ctrl, char *value, std::size_t capacity) {
    Value v;
    const int e = getCtrlValue(panel, ctrl, v);
    return toTextOut(e, v, value, capacity);
}

int DefaultCtrl(int panel, int ctrl) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    switch (c->kind) {
        case CTRL_NUMERIC:
        case CTRL_NUMERIC_REAL: return setValue(*c, Value::ofInt(0));
        case CTRL_STRING:
        case CTRL_TEXT_BOX:
        case CTRL_TEXT_MSG: return setValue(*c, Value::ofText(QString()));
        case CTRL_RING:
            c->ringIndex = c->items.empty() ? -1 : 0;
            refreshWidget(*c);
            return 0;
        case CTRL_BINARY_SWITCH:
        case CTRL_COLOR_NUM: return setValue(*c, Value::ofInt(0));
        default: return 0;
    }
}

int DisplayImageFile(int panel, int ctrl, const char *file) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookupKind(panel, ctrl, CTRL_PICTURE, p, c)) return e;
    if (!file) return kErrNullArg;
    QPixmap pm;
    if (!pm.load(QString::fromUtf8(file))) return kErrFileRead;
    auto *l = static_cast<QLabel *>(c->widget);
    l->setPixmap(pm.scaled(l->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    c->hasPixmap = true;
    return 0;
}
