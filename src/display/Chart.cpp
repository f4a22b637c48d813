// The main chart: one curve per channel over a window of the record store, error markers,
// the left-axis scaling and its menu, the x-axis time labels, and the display controls. The
// state of the whole display module, the cursors' included, is defined here beside its reset.
#include "display/Display.h"

#include "base/Notify.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

#include <algorithm>
#include <cstdio>

// ---------------------------------------------------------------- state
int leftYScalMode = LEFT_SCALE_AUTO;
unsigned char fLeftYScalEnable = 0;
int chartOffset = 0;
int chartGain = 0;
double tmpValArray[MAX_RECORDS];
unsigned char chartFlag[MAX_RECORDS];
int cursor1X = 0;
int cursor2X = 0;
bool cursorsAwaitData = true;
bool cursorsKeepRecords = false;

void resetDisplayState() {
    leftYScalMode = LEFT_SCALE_AUTO;
    fLeftYScalEnable = 0;
    chartOffset = 0;
    chartGain = 0;
    cursor1X = 0;
    cursor2X = 0;
    cursorsAwaitData = true;
    cursorsKeepRecords = false;
}

namespace {

constexpr int kChannelColor[3] = {VAL_BLACK, VAL_DK_MAGENTA, VAL_BLUE};
// The x axis carries eleven time labels: ten equal steps from the first record shown, then the
// last.
constexpr int kLabelSteps = 10;

// The value view of a channel, nullptr when the model's layout lacks it.
double *channelView(int channel) {
    switch (channel) {
        case 0: return vTemPtr;
        case 1: return vTem2Ptr;
        case 2: return vRhPtr;
        default: return nullptr;
    }
}

const char *channelLabel(int channel) {
    const bool suffixed = channelNames(recordsDescription().model) == ChannelNames::Suffix41670;
    switch (channel) {
        case 0: return suffixed ? wTemperature_41670 : wTemperature;
        case 1: return suffixed ? wTemperature2_41670 : wTemperature2;
        default: return wHumidity;
    }
}

// New records drawn for the first time: the cursors stand at a third and at two thirds of
// the records shown.
void placeCursors() {
    const int count = disLength();
    if (count <= 0) return;
    cursorsAwaitData = false;
    SetGraphCursor(idMonitor, MONITOR_GRAPH, 1, count / 3, 0);
    SetGraphCursor(idMonitor, MONITOR_GRAPH, 2, 2 * count / 3, 0);
}

// After a zoom or a pan: each cursor back on its record, or on the nearest record shown when
// its record is no longer in the window.
void keepCursorsOnRecords() {
    cursorsKeepRecords = false;
    int count = disLength();
    if (chartOffset + count > readableRecords()) count = readableRecords() - chartOffset;
    if (count <= 0) return;
    const int records[] = {cursor1X, cursor2X};
    for (int cursor : {1, 2}) {
        const int at = std::clamp(records[cursor - 1] - chartOffset, 0, count - 1);
        SetGraphCursor(idMonitor, MONITOR_GRAPH, cursor, at, 0);
    }
}

// The scaling menu: the check mark on one of its three items, off the other two.
void checkScalingItem(int item) {
    const int items[] = {SCALMENU_SCALE_TEMP, SCALMENU_SCALE_TEMP2, SCALMENU_SCALE_ALL};
    for (const int each : items) SetMenuBarAttribute(scalMenuHandle, each, ATTR_CHECKED, each == item ? 1 : 0);
}

// The scaling menu: choose one of its three items.
void chooseScaling(int item, int mode) {
    int checked = 0;
    GetMenuBarAttribute(scalMenuHandle, item, ATTR_CHECKED, &checked);
    if (checked) return;
    leftYScalMode = mode;
    checkScalingItem(item);
    updateTemperatureChart();
}

// The left axis: automatic, or from the integer parts of one channel's running extremes.
void scaleLeftAxis() {
    if (leftYScalMode == LEFT_SCALE_CHANNEL0 || leftYScalMode == LEFT_SCALE_CHANNEL1) {
        // integer part, truncated toward zero, as the extremes are shown to the user
        const int lo = static_cast<int>(lpMinVal[leftYScalMode]);
        const int hi = static_cast<int>(lpMaxVal[leftYScalMode]) + 1;
        // A channel without any valid value keeps its start values (+10000 / -10000): no span
        // to follow, so the axis scales itself.
        if (lo < hi) {
            SetAxisScalingMode(idMonitor, MONITOR_GRAPH, VAL_LEFT_YAXIS, VAL_MANUAL, lo, hi);
            return;
        }
    }
    SetAxisScalingMode(idMonitor, MONITOR_GRAPH, VAL_LEFT_YAXIS, VAL_AUTOSCALE, 0, 0);
}

}   // namespace

int readableRecords() {
    int n = loggedLength;
    const int capacity = recordCapacity();
    if (n > capacity) n = capacity;
    if (n > MAX_RECORDS) n = MAX_RECORDS;
    return n < 0 ? 0 : n;
}

void getDisplayControlSetting() {
    // the records the model's layout holds
    const int limit = recordCapacity();
    GetCtrlVal(idMonitor, MONITOR_OFFSET, &chartOffset);
    GetCtrlVal(idMonitor, MONITOR_RANGE, &chartGain);
    // The offset field refuses negative numbers; a negative offset would address records
    // before the store.
    if (chartOffset < 0) chartOffset = 0;
    if (chartOffset + chartGain >= limit) chartGain = limit - chartOffset;
}

int disLength() {
    if (loggedLength < chartOffset + chartGain) return loggedLength - chartOffset;
    return chartGain;
}

void xLabelString() {
    ClearAxisItems(idMonitor, MONITOR_GRAPH, VAL_XAXIS);
    const int first = chartOffset + 1;
    int end = chartOffset + chartGain;
    if (end > loggedLength) end = loggedLength;
    // A window that starts at or beyond the last record has no record to name.
    if (end < first || end > readableRecords()) return;
    const int step = (end - chartOffset) / kLabelSteps;
    char date[sizeof rtcDate];
    char time[sizeof rtcTime];
    for (int i = 0; i <= kLabelSteps; ++i) {
        const int p = i < kLabelSteps ? first + i * step : end;
        cRtc2Rtc(rtcPtr[p - 1], date, time);
        InsertAxisItem(idMonitor, MONITOR_GRAPH, VAL_XAXIS, -1, time, p);
    }
}

void updateUnit(char unit) {
    SetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_ACTIVE_YAXIS, VAL_LEFT_YAXIS);
    const char *axisName = "Temp.";
    const char *unitLabel = "  ";
    if (unit == 'F' || unit == 'f') {
        axisName = wTempF;
        unitLabel = wDegree[1];
    } else if (unit == 'C' || unit == 'c') {
        axisName = wTempC;
        unitLabel = wDegree[0];
    }
    SetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_YNAME, axisName);
    SetCtrlAttribute(idStatistic, STATISTIC_CURSOR_X1, ATTR_LABEL_TEXT, unitLabel);
    SetCtrlAttribute(idStatistic, STATISTIC_CURSOR_X2, ATTR_LABEL_TEXT, unitLabel);
}

void resetChartScaling() {
    fLeftYScalEnable = leftAxisFlag(currDeviceId);
    leftYScalMode = LEFT_SCALE_AUTO;
    checkScalingItem(SCALMENU_SCALE_ALL);
    cursorsAwaitData = true;
}

void ClearTemperatureChart() { DeleteGraphPlot(idMonitor, MONITOR_GRAPH, -1, VAL_IMMEDIATE_DRAW); }

// A download starts on an empty chart: no curves, no time labels, no axis ranges and no
// read-outs of the records held before. The chart shows the new records from their first: an
// offset left from a longer recording would put a short download out of sight.
void clearChartForDownload() {
    SetCtrlVal(idMonitor, MONITOR_OFFSET, 0);
    chartOffset = 0;
    ClearTemperatureChart();
    ClearAxisItems(idMonitor, MONITOR_GRAPH, VAL_XAXIS);
    SetAxisScalingMode(idMonitor, MONITOR_GRAPH, VAL_XAXIS, VAL_AUTOSCALE, 0, 0);
    SetAxisScalingMode(idMonitor, MONITOR_GRAPH, VAL_LEFT_YAXIS, VAL_AUTOSCALE, 0, 0);
    SetAxisScalingMode(idMonitor, MONITOR_GRAPH, VAL_RIGHT_YAXIS, VAL_AUTOSCALE, 0, 0);
    SetCtrlVal(idMonitor, MONITOR_CURSOR1_TEXT, "");
    SetCtrlVal(idMonitor, MONITOR_CURSOR2_TEXT, "");
    // the captions the window shows before any record: "[Date & Time" ... "Date & Time]"
    char caption[2 * WINDOW_TEXT_SIZE + 8];
    std::snprintf(caption, sizeof caption, "[%s & %s", wDate, wTime);
    SetCtrlVal(idMonitor, MONITOR_START_TIME, caption);
    std::snprintf(caption, sizeof caption, "%s & %s]", wDate, wTime);
    SetCtrlVal(idMonitor, MONITOR_END_TIME, caption);
}

bool buildChartSeries(const double *values, int length, double *series, unsigned char *errorMarks) {
    int firstValid = 0;
    while (firstValid < length && values[firstValid] > SENSOR_ERROR_BASE) ++firstValid;
    if (firstValid >= length) return false;
    double last = values[firstValid];
    for (int i = 0; i < length; ++i) {
        const bool error = values[i] > SENSOR_ERROR_BASE;
        if (!error) last = values[i];
        series[i] = last;
        errorMarks[i] = error ? 1 : 0;
    }
    return true;
}

void updateChannelChart(int channel) {
    const double *values = channelView(channel);
    if (!values) return;   // the model has no such channel
    SetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_ACTIVE_YAXIS, channel == 2 ? VAL_RIGHT_YAXIS : VAL_LEFT_YAXIS);

    const int held = readableRecords();
    if (!buildChartSeries(values, held, tmpValArray, chartFlag)) return;   // nothing valid to draw

    int count = disLength();
    if (count <= 0) return;
    if (chartOffset + count > held) count = held - chartOffset;   // never beyond the records held
    if (count <= 0) return;
    const int color = kChannelColor[channel];
    for (int k = 0; k < count; ++k)
        if (chartFlag[chartOffset + k])
            PlotPoint(idMonitor, MONITOR_GRAPH, k, tmpValArray[chartOffset + k], VAL_SOLID_CIRCLE, VAL_RED);
    PlotY(idMonitor, MONITOR_GRAPH, tmpValArray + chartOffset, count, VAL_CONNECTED_POINTS, VAL_SIMPLE_DOT, VAL_SOLID,
          1, color);
    PlotText(idMonitor, MONITOR_GRAPH, 0, static_cast<float>(tmpValArray[chartOffset]), channelLabel(channel),
             VAL_DIALOG_META_FONT, color, VAL_TRANSPARENT);
}

void updateTemperatureChart() {
    if (loggedLength <= 0) return;
    getDisplayControlSetting();
    xLabelString();
    updateUnit(recordsDescription().unit);
    DeleteGraphPlot(idMonitor, MONITOR_GRAPH, -1, VAL_DELAYED_DRAW);
    SetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_XAXIS_OFFSET, static_cast<double>(chartOffset + 1));
    scaleLeftAxis();
    switch (recordLayout()) {
        case LAYOUT_T: updateChannelChart(0); break;
        case LAYOUT_T_RH:
            updateChannelChart(0);
            updateChannelChart(2);
            break;
        case LAYOUT_T_T2:
            updateChannelChart(0);
            updateChannelChart(1);
            break;
        case LAYOUT_T_T2_RH:
            updateChannelChart(0);
            updateChannelChart(1);
            updateChannelChart(2);
            break;
        default: break;
    }
    if (cursorsAwaitData)
        placeCursors();
    else if (cursorsKeepRecords)
        keepCursorsOnRecords();
    updateCursorLocation();
}

// ---------------------------------------------------------------- callbacks

int sChartOffsetCallBack(int panel, int control, int event, void *, int, int) {
    switch (event) {
        case EVENT_COMMIT: updateTemperatureChart(); break;
        case EVENT_GOT_FOCUS:
            sendHintMessage(msg7);   // "Offset: number of the first record shown"
            SetCtrlAttribute(panel, control, ATTR_TEXT_COLOR, VAL_RED);
            break;
        case EVENT_LOST_FOCUS:
            sendHintMessage("");
            SetCtrlAttribute(panel, control, ATTR_TEXT_COLOR, VAL_BLACK);
            break;
        default: break;
    }
    return 0;
}

int sChartGainCallBack(int, int, int event, void *, int, int) {
    switch (event) {
        case EVENT_COMMIT: updateTemperatureChart(); break;
        case EVENT_GOT_FOCUS: sendHintMessage(msg8); break;   // "Range: number of records shown"
        case EVENT_LOST_FOCUS: sendHintMessage(""); break;
        default: break;
    }
    return 0;
}

int sXLabelCallBack(int panel, int control, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    int labels = 0;
    GetCtrlVal(panel, control, &labels);
    SetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_XUSE_LABEL_STRINGS, labels ? 1 : 0);
    return 0;
}

int tTitle1CallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_LEFT_CLICK) return 0;
    if (!heldRecordsMayGo()) return 0;
    forgetLogger(HeldRecords::Discarded);
    SetCtrlVal(idMonitor, MONITOR_ID, "ID=");
    SetCtrlVal(idMonitor, MONITOR_INFO, "");
    loggedLength = 0;
    ClearTemperatureChart();
    notifyTablePage(TablePage::Always);
    return 0;
}

void mXAxisScalTempCallback(int, int, void *, int) { chooseScaling(SCALMENU_SCALE_TEMP, LEFT_SCALE_CHANNEL0); }
void mXAxisScalTemp2Callback(int, int, void *, int) { chooseScaling(SCALMENU_SCALE_TEMP2, LEFT_SCALE_CHANNEL1); }
void mXAxisScalAllCallback(int, int, void *, int) { chooseScaling(SCALMENU_SCALE_ALL, LEFT_SCALE_AUTO); }
