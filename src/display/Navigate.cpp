// Zooming and panning the chart with the mouse: both work through the offset field and the
// range list of the main window, so the labels, the cursors and the table follow as they do
// for a typed offset or a chosen range.
#include "display/Display.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

#include <algorithm>

namespace {

// Set the offset field (never negative, never beyond its maximum) and redraw.
void showFrom(int offset) {
    int most = 0;
    GetCtrlAttribute(idMonitor, MONITOR_OFFSET, ATTR_MAX_VALUE, &most);
    SetCtrlVal(idMonitor, MONITOR_OFFSET, std::clamp(offset, 0, most));
    updateTemperatureChart();
}

}   // namespace

void zoomChart(int steps, int anchor) {
    int index = 0;
    int count = 0;
    GetCtrlIndex(idMonitor, MONITOR_RANGE, &index);
    GetNumListItems(idMonitor, MONITOR_RANGE, &count);
    // a step away from the user shows fewer records
    const int next = std::clamp(index - steps, 0, count - 1);
    if (next == index || count <= 0) return;
    int offset = 0;
    int before = 0;
    int after = 0;
    GetCtrlVal(idMonitor, MONITOR_OFFSET, &offset);
    GetCtrlVal(idMonitor, MONITOR_RANGE, &before);
    SetCtrlIndex(idMonitor, MONITOR_RANGE, next);
    GetCtrlVal(idMonitor, MONITOR_RANGE, &after);
    // keep the record under the pointer where it is on the screen
    const int pointer = std::clamp(anchor, 0, before);
    const long long kept = static_cast<long long>(pointer) * after / std::max(before, 1);
    showFrom(offset + pointer - static_cast<int>(kept));
}

void panChart(int shift) {
    int offset = 0;
    GetCtrlVal(idMonitor, MONITOR_OFFSET, &offset);
    // content pulled to the right shows earlier records
    if (shift == 0 || (shift > 0 && offset == 0)) return;
    showFrom(offset - shift);
}
