// The place and size of a control in its panel's coordinates, as the run-time reports them.
#pragma once

#include <QRect>

#include "runtime/ui.h"

inline QRect ctrlRect(int panel, int ctrl) {
    int l = 0, t = 0, w = 0, h = 0;
    GetCtrlAttribute(panel, ctrl, ATTR_LEFT, &l);
    GetCtrlAttribute(panel, ctrl, ATTR_TOP, &t);
    GetCtrlAttribute(panel, ctrl, ATTR_WIDTH, &w);
    GetCtrlAttribute(panel, ctrl, ATTR_HEIGHT, &h);
    return {l, t, w, h};
}
