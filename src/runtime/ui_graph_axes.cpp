// Axes and cursors of graph controls: axis scaling, an axis's label strings, the cursors
// the program places and reads (snapping to the plotted points), and the axis state read back.
#include "runtime/ui_graph_widget.h"

using namespace rt::detail;

int SetGraphCursorCount(int panel, int ctrl, int count, double x1, double x2) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    if (count < 0 || count > 2) return kErrBadValue;
    g->setCursorCount(count, x1, x2);
    return 0;
}

int SetAxisScalingMode(int panel, int ctrl, int axis, int mode, double min, double max) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    const int i = GraphWidget::axisIndex(axis);
    if (i < 0) return kErrBadValue;
    AxisState &a = g->ax[i];
    switch (mode) {
        case VAL_MANUAL:
            if (!(min < max) || !std::isfinite(min) || !std::isfinite(max)) return kErrBadValue;
            a.mode = VAL_MANUAL;
            a.min = min;
            a.max = max;
            break;
        case VAL_AUTOSCALE: a.mode = VAL_AUTOSCALE; break;
        case VAL_LOCK: {
            g->prepare();
            const QCPRange r = g->axisOf(i)->range();
            a.mode = VAL_MANUAL;
            a.min = r.lower;
            a.max = r.upper;
            break;
        }
        case VAL_NO_CHANGE: return 0;
        default: return kErrBadValue;
    }
    g->changed();
    return 0;
}

int GetAxisScalingMode(int panel, int ctrl, int axis, int *mode, double *min, double *max) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    const int i = GraphWidget::axisIndex(axis);
    if (i < 0) return kErrBadValue;
    g->prepare();
    const AxisState &a = g->ax[i];
    const QCPRange r = g->axisOf(i)->range();
    if (mode) *mode = a.mode;
    if (min) *min = a.mode == VAL_MANUAL ? a.min : r.lower;
    if (max) *max = a.mode == VAL_MANUAL ? a.max : r.upper;
    return 0;
}

int SetAxisRange(int panel, int ctrl, int xMode, double xMin, double xMax, int yMode, double yMin, double yMax) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    if (const int e = SetAxisScalingMode(panel, ctrl, VAL_XAXIS, xMode, xMin, xMax)) return e;
    return SetAxisScalingMode(panel, ctrl, g->activeY, yMode, yMin, yMax);
}

int InsertAxisItem(int panel, int ctrl, int axis, int index, const char *label, double value) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    const int i = GraphWidget::axisIndex(axis);
    if (i < 0) return kErrBadValue;
    auto &items = g->ax[i].items;
    if (index == -1) index = static_cast<int>(items.size());
    if (index < 0 || index > static_cast<int>(items.size())) return kErrBadIndex;
    items.insert(items.begin() + index, {value, fromUtf8(label)});
    g->changed();
    return 0;
}

int ClearAxisItems(int panel, int ctrl, int axis) {
    GraphWidget *g = nullptr;
    if (const int e = graphOf(panel, ctrl, g)) return e;
    const int i = GraphWidget::axisIndex(axis);
    if (i < 0) return kErrBadValue;
    g->ax[i].items.clear();
    g->changed();
    return 0;
}

namespace {
int cursorOf(int panel, int ctrl, int cursor, GraphWidget *&g) {
    if (const int e = graphOf(panel, ctrl, g)) return e;
    if (cursor < 1 || cursor > static_cast<int>(g->cursors.size())) return kErrBadIndex;
    g->prepare();
    return 0;
}
}   // namespace

int GetGraphCursor(int panel, int ctrl, int cursor, double *x, double *y) {
    GraphWidget *g = nullptr;
    if (const int e = cursorOf(panel, ctrl, cursor, g)) return e;
    const CursorRec &c = g->cursors[cursor - 1];
    if (x) *x = c.x;
    if (y) *y = c.y;
    return 0;
}

int SetGraphCursor(int panel, int ctrl, int cursor, double x, double y) {
    GraphWidget *g = nullptr;
    if (const int e = cursorOf(panel, ctrl, cursor, g)) return e;
    CursorRec &c = g->cursors[cursor - 1];
    c.x = x;
    c.y = y;
    g->snap(c);
    g->redrawCursors();
    return 0;
}

int GetGraphCursorIndex(int panel, int ctrl, int cursor, int *plotHandle, int *pointIndex) {
    GraphWidget *g = nullptr;
    if (const int e = cursorOf(panel, ctrl, cursor, g)) return e;
    const CursorRec &c = g->cursors[cursor - 1];
    if (plotHandle) *plotHandle = c.plot;
    if (pointIndex) *pointIndex = c.index;
    return 0;
}

int SetCursorAttribute(int panel, int ctrl, int cursor, int attr, int value) {
    GraphWidget *g = nullptr;
    if (const int e = cursorOf(panel, ctrl, cursor, g)) return e;
    CursorRec &c = g->cursors[cursor - 1];
    switch (attr) {
        case ATTR_CURSOR_MODE:
            if (value != VAL_SNAP_TO_POINT && value != VAL_FREE_FORM) return kErrBadValue;
            c.mode = value;
            g->snap(c);
            break;
        case ATTR_CURSOR_COLOR: c.color = value & 0xFFFFFF; break;
        case ATTR_CURSOR_POINT_STYLE: c.pointStyle = value; break;
        default: return kErrBadAttr;
    }
    g->redrawCursors();
    return 0;
}

int GetCursorAttribute(int panel, int ctrl, int cursor, int attr, int *value) {
    GraphWidget *g = nullptr;
    if (const int e = cursorOf(panel, ctrl, cursor, g)) return e;
    if (!value) return kErrNullArg;
    const CursorRec &c = g->cursors[cursor - 1];
    switch (attr) {
        case ATTR_CURSOR_MODE: *value = c.mode; return 0;
        case ATTR_CURSOR_COLOR: *value = c.color; return 0;
        case ATTR_CURSOR_POINT_STYLE: *value = c.pointStyle; return 0;
        default: return kErrBadAttr;
    }
}

namespace rt {

AxisInfo GraphAxis(int panel, int ctrl, int axis) {
    AxisInfo info;
    GraphWidget *g = nullptr;
    if (graphOf(panel, ctrl, g)) return info;
    const int i = GraphWidget::axisIndex(axis);
    if (i < 0) return info;
    g->prepare();
    const AxisState &a = g->ax[i];
    const QCPRange r = g->axisOf(i)->range();
    info.mode = a.mode;
    info.min = a.mode == VAL_MANUAL ? a.min : r.lower;
    info.max = a.mode == VAL_MANUAL ? a.max : r.upper;
    info.name = a.name.toStdString();
    info.nameVisible = a.nameVisible;
    info.labelsVisible = a.labelsVisible;
    for (const auto &[v, label] : a.items) info.items.emplace_back(v, label.toStdString());
    return info;
}

}   // namespace rt
