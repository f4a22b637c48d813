// Attributes of controls: appearance, mode, ranges, texts, geometry and timer settings.
// Graphs and tables handle their own attributes (ui_graph.cpp, ui_table.cpp).
#include "runtime/ui_internal.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cmath>

namespace rt::detail {
namespace {

int setGeometryAttr(Ctrl &c, int attr, int v) {
    if (!c.widget) return kErrBadAttr;
    if (c.placed) {   // the grid places it: a size is its minimum, a position is the grid's
        if ((attr == ATTR_WIDTH || attr == ATTR_HEIGHT) && v < 0) return kErrBadValue;
        QSize least = c.widget->property("tvxMinSize").toSize().expandedTo(QSize(0, 0));
        if (attr == ATTR_WIDTH) least.setWidth(v);
        if (attr == ATTR_HEIGHT) least.setHeight(v);
        setPlacedMinimum(c, least);
        return 0;
    }
    QRect g = c.widget->geometry();
    switch (attr) {
        case ATTR_LEFT: g.moveLeft(v); break;
        case ATTR_TOP: g.moveTop(v); break;
        case ATTR_WIDTH:
            if (v < 0) return kErrBadValue;
            g.setWidth(v);
            break;
        case ATTR_HEIGHT:
            if (v < 0) return kErrBadValue;
            g.setHeight(v);
            break;
        default: return kErrBadAttr;
    }
    c.widget->setGeometry(g);
    placeCaption(c);
    return 0;
}

// ATTR_DIMMED, ATTR_VISIBLE, ATTR_CTRL_MODE: whether the control is shown and answers the user.
int setAccessAttr(Ctrl &c, int attr, const Value &v) {
    if (!v.isNumber()) return kErrBadType;
    switch (attr) {
        case ATTR_DIMMED:
            c.dimmed = v.num() != 0;
            if (c.widget) c.widget->setEnabled(!c.dimmed);
            if (c.caption) c.caption->setEnabled(!c.dimmed);
            return 0;
        case ATTR_VISIBLE:
            c.visible = v.num() != 0;
            if (c.widget) c.widget->setVisible(c.visible);
            placeCaption(c);
            return 0;
        default:   // ATTR_CTRL_MODE
            if (v.toInt() != VAL_HOT && v.toInt() != VAL_INDICATOR && v.toInt() != VAL_NORMAL) return kErrBadValue;
            c.mode = v.toInt();
            applyMode(c);
            return 0;
    }
}

// The caption (a text message's text, a button's text).
int setLabelAttr(Ctrl &c, const Value &v) {
    if (v.isNumber()) return kErrBadType;
    c.label = v.s;
    if (c.kind == CTRL_TEXT_MSG) c.text = v.s;
    refreshWidget(c);
    placeCaption(c);
    return 0;
}

// ATTR_TEXT_COLOR, ATTR_TEXT_BGCOLOR, ATTR_FRAME_COLOR.
int setColorAttr(Ctrl &c, int attr, const Value &v) {
    if (!v.isNumber()) return kErrBadType;
    const int rgb = v.toInt() & 0xFFFFFF;
    if (attr == ATTR_FRAME_COLOR) {
        c.frameColor = rgb;   // read back, not drawn
        return 0;
    }
    (attr == ATTR_TEXT_COLOR ? c.textColor : c.bgColor) = rgb;
    applyColors(c);
    return 0;
}

// ATTR_TEXT_FONT, ATTR_TEXT_POINT_SIZE.
int setFontAttr(Ctrl &c, int attr, const Value &v) {
    if (attr == ATTR_TEXT_FONT) {
        if (v.isNumber()) return kErrBadType;
        c.fontName = v.s.toStdString();
    } else {
        if (!v.isNumber()) return kErrBadType;
        if (v.toInt() <= 0) return kErrBadValue;
        c.pointSize = v.toInt();
    }
    applyFont(c);
    return 0;
}

// ATTR_MIN_VALUE, ATTR_MAX_VALUE of a numeric control: the other limit and the value
// follow, so that min <= value <= max always holds.
int setLimitAttr(Ctrl &c, int attr, const Value &v) {
    const bool whole = c.kind == CTRL_NUMERIC || c.kind == CTRL_PROGRESS_BAR;
    if (!whole && c.kind != CTRL_NUMERIC_REAL) return kErrBadAttr;
    if (!v.isNumber()) return kErrBadType;
    double x = v.num();
    if (whole)
        x = std::clamp(std::round(x), double(INT_MIN), double(INT_MAX));
    else
        x = std::clamp(x, -kRealLimit, kRealLimit);
    if (attr == ATTR_MIN_VALUE) {
        c.minV = x;
        if (c.maxV < x) c.maxV = x;
    } else {
        c.maxV = x;
        if (c.minV > x) c.minV = x;
    }
    if (whole)
        c.ival = static_cast<int>(std::clamp(double(c.ival), c.minV, c.maxV));
    else
        c.dval = std::clamp(c.dval, c.minV, c.maxV);
    refreshWidget(c);
    return 0;
}

// The digits a real numeric control shows.
int setPrecisionAttr(Ctrl &c, const Value &v) {
    if (c.kind != CTRL_NUMERIC_REAL) return kErrBadAttr;
    if (!v.isNumber()) return kErrBadType;
    if (v.toInt() < 0 || v.toInt() > 15) return kErrBadValue;
    c.precision = v.toInt();
    refreshWidget(c);
    return 0;
}

// ATTR_ON_TEXT, ATTR_OFF_TEXT of a binary switch.
int setSwitchTextAttr(Ctrl &c, int attr, const Value &v) {
    if (c.kind != CTRL_BINARY_SWITCH) return kErrBadAttr;
    if (v.isNumber()) return kErrBadType;
    (attr == ATTR_ON_TEXT ? c.onText : c.offText) = v.s;
    refreshWidget(c);
    return 0;
}

// ATTR_INTERVAL (seconds), ATTR_ENABLED of a timer.
int setTimerAttr(Ctrl &c, int attr, const Value &v) {
    if (c.kind != CTRL_TIMER) return kErrBadAttr;
    if (!v.isNumber()) return kErrBadType;
    if (attr == ATTR_INTERVAL) {
        if (!(v.num() > 0)) return kErrBadValue;
        c.interval = v.num();
        c.timer->setInterval(static_cast<int>(std::clamp(std::lround(v.num() * 1000.0), 1L, long(INT_MAX))));
        return 0;
    }
    c.enabled = v.num() != 0;
    if (c.enabled) {
        if (!c.timer->isActive()) c.timer->start();
    } else {
        c.timer->stop();
    }
    return 0;
}

// The longest text a string control takes (negative: no limit); a longer text is cut.
int setEntryLengthAttr(Ctrl &c, const Value &v) {
    if (c.kind != CTRL_STRING) return kErrBadAttr;
    if (!v.isNumber()) return kErrBadType;
    c.maxEntryLength = v.toInt() < 0 ? -1 : v.toInt();
    static_cast<QLineEdit *>(c.widget)->setMaxLength(c.maxEntryLength < 0 ? 32767 : c.maxEntryLength);
    if (c.maxEntryLength >= 0 && c.text.size() > c.maxEntryLength) {
        c.text.truncate(c.maxEntryLength);
        refreshWidget(c);
    }
    return 0;
}

int setAttr(Ctrl &c, int attr, const Value &v) {
    if (c.kind == CTRL_GRAPH && isGraphAttr(attr)) return graphSetAttr(c, attr, v);
    if (c.kind == CTRL_TABLE && isTableAttr(attr)) return tableSetAttr(c, attr, v);
    switch (attr) {
        case ATTR_DIMMED:
        case ATTR_VISIBLE:
        case ATTR_CTRL_MODE: return setAccessAttr(c, attr, v);
        case ATTR_LABEL_TEXT: return setLabelAttr(c, v);
        case ATTR_TEXT_COLOR:
        case ATTR_TEXT_BGCOLOR:
        case ATTR_FRAME_COLOR: return setColorAttr(c, attr, v);
        case ATTR_TEXT_FONT:
        case ATTR_TEXT_POINT_SIZE: return setFontAttr(c, attr, v);
        case ATTR_MIN_VALUE:
        case ATTR_MAX_VALUE: return setLimitAttr(c, attr, v);
        case ATTR_PRECISION: return setPrecisionAttr(c, v);
        case ATTR_ON_TEXT:
        case ATTR_OFF_TEXT: return setSwitchTextAttr(c, attr, v);
        case ATTR_LEFT:
        case ATTR_TOP:
        case ATTR_WIDTH:
        case ATTR_HEIGHT:
            if (!v.isNumber()) return kErrBadType;
            return setGeometryAttr(c, attr, v.toInt());
        case ATTR_INTERVAL:
        case ATTR_ENABLED: return setTimerAttr(c, attr, v);
        case ATTR_MAX_ENTRY_LENGTH: return setEntryLengthAttr(c, v);
        default: return kErrBadAttr;
    }
}

int getAttr(const Ctrl &cc, int attr, Value &v) {
    Ctrl &c = const_cast<Ctrl &>(cc);
    if (c.kind == CTRL_GRAPH && isGraphAttr(attr)) return graphGetAttr(c, attr, v);
    if (c.kind == CTRL_TABLE && isTableAttr(attr)) return tableGetAttr(c, attr, v);
    switch (attr) {
        case ATTR_DIMMED: v = Value::ofInt(c.dimmed); return 0;
        case ATTR_VISIBLE: v = Value::ofInt(c.visible); return 0;
        case ATTR_LABEL_TEXT: v = Value::ofText(c.kind == CTRL_TEXT_MSG ? c.text : c.label); return 0;
        case ATTR_TEXT_COLOR: v = Value::ofInt(c.textColor); return 0;
        case ATTR_TEXT_BGCOLOR: {
            int bg = c.bgColor;
            if (bg < 0) bg = c.widget ? fromQColor(c.widget->palette().color(QPalette::Base)) : 0xFFFFFF;
            v = Value::ofInt(bg);
            return 0;
        }
        case ATTR_FRAME_COLOR: v = Value::ofInt(c.frameColor); return 0;
        case ATTR_TEXT_FONT: v = Value::ofText(QString::fromStdString(c.fontName)); return 0;
        case ATTR_TEXT_POINT_SIZE:
            v = Value::ofInt(c.pointSize > 0 ? c.pointSize : resolveFont(c.fontName, 0).pointSize());
            return 0;
        case ATTR_MIN_VALUE:
        case ATTR_MAX_VALUE: {
            const double x = attr == ATTR_MIN_VALUE ? c.minV : c.maxV;
            if (c.kind == CTRL_NUMERIC || c.kind == CTRL_PROGRESS_BAR)
                v = Value::ofInt(static_cast<long long>(x));
            else if (c.kind == CTRL_NUMERIC_REAL)
                v = Value::ofDouble(x);
            else
                return kErrBadAttr;
            return 0;
        }
        case ATTR_PRECISION:
            if (c.kind != CTRL_NUMERIC_REAL) return kErrBadAttr;
            v = Value::ofInt(c.precision);
            return 0;
        case ATTR_ON_TEXT:
        case ATTR_OFF_TEXT:
            if (c.kind != CTRL_BINARY_SWITCH) return kErrBadAttr;
            v = Value::ofText(attr == ATTR_ON_TEXT ? c.onText : c.offText);
            return 0;
        case ATTR_CTRL_MODE: v = Value::ofInt(c.mode); return 0;
        case ATTR_LEFT:
        case ATTR_TOP:
        case ATTR_WIDTH:
        case ATTR_HEIGHT: {
            if (!c.widget) return kErrBadAttr;
            const QRect g = ctrlRectInPanel(c);
            v = Value::ofInt(attr == ATTR_LEFT    ? g.left()
                             : attr == ATTR_TOP   ? g.top()
                             : attr == ATTR_WIDTH ? g.width()
                                                  : g.height());
            return 0;
        }
        case ATTR_INTERVAL:
            if (c.kind != CTRL_TIMER) return kErrBadAttr;
            v = Value::ofDouble(c.interval);
            return 0;
        case ATTR_ENABLED:
            if (c.kind != CTRL_TIMER) return kErrBadAttr;
            v = Value::ofInt(c.enabled);
            return 0;
        case ATTR_MAX_ENTRY_LENGTH:
            if (c.kind != CTRL_STRING) return kErrBadAttr;
            v = Value::ofInt(c.maxEntryLength);
            return 0;
        default: return kErrBadAttr;
    }
}

int setCtrlAttr(int panel, int ctrl, int attr, const Value &v) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    return setAttr(*c, attr, v);
}

int getCtrlAttr(int panel, int ctrl, int attr, Value &v) {
    Panel *p = nullptr;
    Ctrl *c = nullptr;
    if (const int e = lookup(panel, ctrl, p, c)) return e;
    return getAttr(*c, attr, v);
}

}   // namespace
}   // namespace rt::detail

using namespace rt::detail;

int SetCtrlAttribute(int panel, int ctrl, int attr, int value) {
    return setCtrlAttr(panel, ctrl, attr, Value::ofInt(value));
}
int SetCtrlAttribute(int panel, int ctrl, int attr, double value) {
    return setCtrlAttr(panel, ctrl, attr, Value::ofDouble(value));
}
int SetCtrlAttribute(int panel, int ctrl, int attr, const char *value) {
    if (!value) return kErrNullArg;
    return setCtrlAttr(panel, ctrl, attr, Value::ofText(QString::fromUtf8(value)));
}

int GetCtrlAttribute(int panel, int ctrl, int attr, int *value) {
    Value v;
    const int e = getCtrlAttr(panel, ctrl, attr, v);
    return toIntOut(e, v, value);
}
int GetCtrlAttribute(int panel, int ctrl, int attr, double *value) {
    Value v;
    const int e = getCtrlAttr(panel, ctrl, attr, v);
    return toDoubleOut(e, v, value);
}
int GetCtrlAttribute(int panel, int ctrl, int attr, char *value, std::size_t capacity) {
    Value v;
    const int e = getCtrlAttr(panel, ctrl, attr, v);
    return toTextOut(e, v, value, capacity);
}
