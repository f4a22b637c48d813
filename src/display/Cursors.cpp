// The chart's two cursors: the record under each, its read-out, and the date and time of
// the first and last record of the chart window.
#include "display/Display.h"

#include "base/Notify.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace {

// Appends text to buffer (capacity bytes) at *used, cutting it; the buffer stays terminated.
void append(char *buffer, std::size_t capacity, std::size_t *used, const char *text) {
    if (capacity == 0) return;
    std::size_t n = *used;
    while (*text && n + 1 < capacity) buffer[n++] = *text++;
    buffer[n] = '\0';
    *used = n;
}

// The record index under a cursor: the integer part of its plot position (a point seen a
// little below its integer position still counts as that point) plus the chart offset.
int cursorRecord(int cursor) {
    double x = 0;
    GetGraphCursor(idMonitor, MONITOR_GRAPH, cursor, &x, nullptr);
    // Far outside any record the position only needs to stay outside.
    if (!(x > -1e6)) x = -1e6;
    if (x > 1e6) x = 1e6;
    const int record = static_cast<int>(x + 0.001) + chartOffset;
    // A cursor left of the first record (possible only while no curve is drawn) counts as the
    // first record: the table page that follows cursor 1 never starts before the store.
    return record < 0 ? 0 : record;
}

// The read-out of one cursor's record, or the empty text when no record is held there.
void showCursor(int record, int ctrl) {
    char text[256] = "";
    const int held = readableRecords();
    if (record >= 0 && record < held) {
        cRtc2Rtc(rtcPtr[record], rtcDate, rtcTime);
        BuildCursorValstr(text, recordLayout(), record);
    }
    SetCtrlVal(idMonitor, ctrl, text);
}

}   // namespace

int BuildValStr(char *buffer, std::size_t capacity, double value, const char *unitText) {
    if (!buffer || capacity == 0) return 0;
    if (value > SENSOR_ERROR_BASE) {
        std::size_t used = sensorErrorText(buffer, capacity, value);
        append(buffer, capacity, &used, " ");
        return static_cast<int>(used);
    }
    // The value with one decimal, right-aligned in five columns, in the C locale whatever the
    // desktop's language.
    char number[400];
    const auto r = std::to_chars(number, number + sizeof number - 1, value, std::chars_format::fixed, 1);
    *r.ptr = '\0';
    const std::size_t length = static_cast<std::size_t>(r.ptr - number);
    std::size_t used = 0;
    buffer[0] = '\0';
    for (std::size_t pad = length; pad < 5; ++pad) append(buffer, capacity, &used, " ");
    append(buffer, capacity, &used, number);
    append(buffer, capacity, &used, unitText ? unitText : "");
    append(buffer, capacity, &used, " ");
    return static_cast<int>(used);
}

int BuildCursorValstr(char *buffer, std::size_t capacity, int channelSet, int index) {
    if (!buffer || capacity == 0) return 0;
    buffer[0] = '\0';
    if (index < 0 || index >= readableRecords()) return 0;
    const char unit = recordsDescription().unit;
    const char *degree = (unit == 'F' || unit == 'f') ? wDegree[1] : wDegree[0];
    const bool twoTemps = channelSet == LAYOUT_T_T2 || channelSet == LAYOUT_T_T2_RH;
    const bool humidity = channelSet == LAYOUT_T_RH || channelSet == LAYOUT_T_T2_RH;
    // a channel the layout lacks is never read
    if ((twoTemps && !vTem2Ptr) || (humidity && !vRhPtr) || !vTemPtr) return 0;

    char field[128];
    std::size_t used = 0;
    // "No." in the language's word
    std::snprintf(field, sizeof field, twoTemps ? "%s%5d T1=" : "%s%5d T=", wRecordNo, index + 1);
    append(buffer, capacity, &used, field);
    BuildValStr(field, vTemPtr[index], degree);
    append(buffer, capacity, &used, field);
    if (twoTemps) {
        append(buffer, capacity, &used, " T2=");
        BuildValStr(field, vTem2Ptr[index], degree);
        append(buffer, capacity, &used, field);
    }
    if (humidity) {
        append(buffer, capacity, &used, " RH=");
        BuildValStr(field, vRhPtr[index], wRhUnit);
        append(buffer, capacity, &used, field);
    }
    std::snprintf(field, sizeof field, " %s %s", rtcDate, rtcTime);
    append(buffer, capacity, &used, field);
    return static_cast<int>(used);
}

void updateCursorLocation() {
    SetCursorAttribute(idMonitor, MONITOR_GRAPH, 1, ATTR_CURSOR_MODE, VAL_SNAP_TO_POINT);
    SetCursorAttribute(idMonitor, MONITOR_GRAPH, 2, ATTR_CURSOR_MODE, VAL_SNAP_TO_POINT);
    const int held = readableRecords();
    if (held <= 0) return;

    // The window's first and last record; a window reaching beyond the data ends at the last
    // record held, and one starting beyond it shows the last record at both ends.
    int first = chartOffset;
    int last = chartOffset + chartGain;
    if (last > held) last = held;
    last -= 1;
    if (first > held - 1) first = held - 1;
    if (first < 0) first = 0;
    if (last < first) last = first;
    char text[64];
    cRtc2Rtc(rtcPtr[first], rtcDate, rtcTime);
    std::snprintf(text, sizeof text, "[%s %s", rtcDate, rtcTime);
    SetCtrlVal(idMonitor, MONITOR_START_TIME, text);
    cRtc2Rtc(rtcPtr[last], rtcDate, rtcTime);
    std::snprintf(text, sizeof text, "%s %s]", rtcDate, rtcTime);
    SetCtrlVal(idMonitor, MONITOR_END_TIME, text);

    cursor1X = cursorRecord(1);
    showCursor(cursor1X, MONITOR_CURSOR1_TEXT);
    cursor2X = cursorRecord(2);
    showCursor(cursor2X, MONITOR_CURSOR2_TEXT);
    notifyTablePage();
}

int mDataChartCallBack(int, int, int event, void *, int eventData1, int eventData2) {
    switch (event) {
        case EVENT_COMMIT: updateCursorLocation(); break;
        case EVENT_MOUSE_WHEEL: zoomChart(eventData1, eventData2); break;
        case EVENT_MOUSE_DRAG: panChart(eventData1); break;
        case EVENT_RIGHT_CLICK:
            if (fLeftYScalEnable) RunPopupMenu(scalMenuHandle, SCALMENU_SCALE, idMonitor, eventData1, eventData2);
            break;
        case EVENT_GOT_FOCUS: sendHintMessage(msg6); break;   // "Drag the cursors to read values"
        case EVENT_LOST_FOCUS: sendHintMessage(""); break;
        default: break;
    }
    return 0;
}
