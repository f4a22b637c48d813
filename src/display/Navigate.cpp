// Moving about the chart with the mouse and the keyboard. Zoom and pan work through the offset
// field and the range list of the main window, so the labels, the cursors and the table follow
// as they do for a typed offset or a chosen range; a cursor moved by a key ends as a dragged
// one does.
#include "display/Display.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The largest offset that still fills a window of gain records with records held (0 when they
// all fit), never beyond the offset field's own maximum.
int lastUsefulOffset(int gain) {
    int most = 0;
    GetCtrlAttribute(idMonitor, MONITOR_OFFSET, ATTR_MAX_VALUE, &most);
    return std::clamp(readableRecords() - gain, 0, std::max(most, 0));
}

// Set the offset field and redraw with the cursors on their records.
void showFrom(int offset) {
    SetCtrlVal(idMonitor, MONITOR_OFFSET, offset);
    cursorsKeepRecords = true;
    updateTemperatureChart();
    cursorsKeepRecords = false;
}

// The records a window of gain records shows while it is full: ranges longer than the records
// held all show them all.
int shownBy(int gain) { return std::clamp(gain, 0, readableRecords()); }

int rangeAt(int index) {
    int gain = 0;
    GetValueFromIndex(idMonitor, MONITOR_RANGE, index, &gain);
    return gain;
}

// The range list's entry steps away from index (positive: shorter ranges), each step to the
// next entry that shows a different number of records; it stops at the ends of the list.
int rangeStepsFrom(int index, int steps, int count) {
    const int direction = steps > 0 ? -1 : 1;
    for (int s = 0; s < std::abs(steps); ++s) {
        int next = index + direction;
        while (next >= 0 && next < count && shownBy(rangeAt(next)) == shownBy(rangeAt(index))) next += direction;
        if (next < 0 || next >= count) break;
        index = next;
    }
    return index;
}

}   // namespace

void zoomChart(int steps, int anchor) {
    int index = 0;
    int count = 0;
    GetCtrlIndex(idMonitor, MONITOR_RANGE, &index);
    GetNumListItems(idMonitor, MONITOR_RANGE, &count);
    if (count <= 0) return;
    // a step away from the user shows fewer records (the list grows from few to many)
    const int next = rangeStepsFrom(std::clamp(index, 0, count - 1), steps, count);
    if (next == index) return;
    int offset = 0;
    int before = 0;
    int after = 0;
    GetCtrlVal(idMonitor, MONITOR_OFFSET, &offset);
    GetCtrlVal(idMonitor, MONITOR_RANGE, &before);
    SetCtrlIndex(idMonitor, MONITOR_RANGE, next);
    GetCtrlVal(idMonitor, MONITOR_RANGE, &after);
    // Keep the record under the pointer where it is on the screen: the plot spans the records
    // shown, first to last, so the pointer keeps its share of that span. A window that was full
    // of records stays full (an offset typed beyond that is only ever lowered).
    const int spanBefore = std::max(std::min(before, readableRecords() - offset), 1) - 1;
    const int spanAfter = std::max(shownBy(after), 1) - 1;
    const int pointer = std::clamp(anchor, 0, spanBefore);
    const int kept =
        spanBefore > 0 ? static_cast<int>(std::lround(static_cast<double>(pointer) * spanAfter / spanBefore)) : 0;
    const int wanted = offset + pointer - kept;
    const int most = offset <= lastUsefulOffset(before) ? lastUsefulOffset(after) : offset;
    showFrom(std::clamp(wanted, 0, most));
}

void panChart(int shift) {
    int offset = 0;
    int gain = 0;
    GetCtrlVal(idMonitor, MONITOR_OFFSET, &offset);
    GetCtrlVal(idMonitor, MONITOR_RANGE, &gain);
    // Content pulled to the right shows earlier records; pulled to the left, later ones until
    // the last record reaches the right edge (an offset typed beyond that is only pulled back).
    const int most = std::max(offset, lastUsefulOffset(gain));
    const int next = std::clamp(offset - shift, 0, shift < 0 ? most : offset);
    if (next == offset) return;
    showFrom(next);
}

void moveCursorToShown(int cursor, bool last) {
    if (readableRecords() <= 0) return;
    const int count = disLength();
    if (count <= 0) return;
    SetGraphCursor(idMonitor, MONITOR_GRAPH, cursor, last ? count - 1 : 0, 0);
    // the end of a cursor drag
    updateCursorLocation();
}
