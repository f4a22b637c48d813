// The statistics window: the channel list, the two sections with their read-outs and
// histograms, and the window's callbacks.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "display/Display.h"
#include "files/DataFile.h"
#include "local/Local.h"
#include "local/Texts.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/ui.h"
#include "analysis/Analysis.h"
#include "table/Table.h"

namespace {

constexpr int kHumidity = 2;                  // the channel without a temperature
constexpr double kHistogramMargin = 1.0;      // the histogram reaches this far beyond the extremes
constexpr int kMktDecimals = 2;               // decimals of the mean kinetic temperature
constexpr const char kHumidityUnit[] = "%";   // unit label of the humidity channel
constexpr const char kNoUnit[] = "  ";        // unit label of an unknown temperature unit

// The controls of one section.
struct SectionControls {
    int max, min, mean, stdDev, num, intervals, histogram, cursorX, cursorY, mkt, records;
};
constexpr SectionControls kSection[2] = {
    {STATISTIC_MAX1, STATISTIC_MIN1, STATISTIC_MEAN1, STATISTIC_STDDEV1, STATISTIC_NUM1, STATISTIC_INTERVALS1,
     STATISTIC_HISTOGRAM1, STATISTIC_CURSOR_X1, STATISTIC_CURSOR_Y1, STATISTIC_MKT1, STATISTIC_RECORDS1},
    {STATISTIC_MAX2, STATISTIC_MIN2, STATISTIC_MEAN2, STATISTIC_STDDEV2, STATISTIC_NUM2, STATISTIC_INTERVALS2,
     STATISTIC_HISTOGRAM2, STATISTIC_CURSOR_X2, STATISTIC_CURSOR_Y2, STATISTIC_MKT2, STATISTIC_RECORDS2},
};

// The values of a channel, nullptr when the model's layout lacks it.
const double *channelValues(int channel) {
    switch (channel) {
        case 0: return vTemPtr;
        case 1: return vTem2Ptr;
        case kHumidity: return vRhPtr;
        default: return nullptr;
    }
}

// Gathers the measurements (below 10000) of records first .. end - 1 of a channel into
// tmpValArray, in record order. Returns their number.
int gatherValues(int channel, int first, int end) {
    const double *values = channelValues(channel);
    if (!values) return 0;
    int n = 0;
    for (int i = std::max(first, 0); i < end; ++i)
        if (values[i] < SENSOR_ERROR_BASE) tmpValArray[n++] = values[i];
    return n;
}

// The histogram cursor's position in the section's x and y read-outs.
void showHistogramCursor(int section) {
    const SectionControls &c = kSection[section];
    double x = 0.0;
    double y = 0.0;
    GetGraphCursor(idStatistic, c.histogram, 1, &x, &y);
    SetCtrlVal(idStatistic, c.cursorX, x);
    SetCtrlVal(idStatistic, c.cursorY, static_cast<int>(std::lround(y)));
}

// Too few values: no histogram, zeros everywhere (the cursor read-outs too, so that they do not
// name a bar no longer shown), no mean kinetic temperature.
void clearSection(int section) {
    const SectionControls &c = kSection[section];
    DeleteGraphPlot(idStatistic, c.histogram, -1, VAL_IMMEDIATE_DRAW);
    for (const int field : {c.max, c.min, c.mean, c.stdDev, c.cursorX}) SetCtrlVal(idStatistic, field, 0.0);
    SetCtrlVal(idStatistic, c.num, 0);
    SetCtrlVal(idStatistic, c.cursorY, 0);
    SetCtrlVal(idStatistic, c.mkt, "");
    HistogramSection &h = histogramSection[section];
    h.largestCount = 0;
}

// The mean kinetic temperature of the n gathered values in the unit of the data; empty for
// humidity and for a unit without a temperature scale.
void showMkt(int section, int channel, int n) {
    char text[32] = "";
    double mkt = 0.0;
    if (channel != kHumidity && MeanKineticTemp(tmpValArray, n, recordsDescription().unit, &mkt) == 0) {
        const auto r = std::to_chars(text, text + sizeof text - 1, mkt, std::chars_format::fixed, kMktDecimals);
        *r.ptr = '\0';
    }
    SetCtrlVal(idStatistic, kSection[section].mkt, text);
}

// The histogram of the n gathered values between minimum - 1 and maximum + 1: manual axes, the
// counts as red vertical bars, then the cursor's read-out.
void drawHistogram(int section, int n, double minimum, double maximum) {
    const SectionControls &c = kSection[section];
    HistogramSection &h = histogramSection[section];
    int k = 0;
    GetCtrlVal(idStatistic, c.intervals, &k);
    h.intervals = std::clamp(k, 1, static_cast<int>(HISTOGRAM_MAX_INTERVALS));
    const double lower = minimum - kHistogramMargin;
    const double upper = maximum + kHistogramMargin;
    Histogram(tmpValArray, n, lower, upper, h.counts, h.axis, h.intervals);
    h.largestCount = *std::max_element(h.counts, h.counts + h.intervals);

    SetAxisScalingMode(idStatistic, c.histogram, VAL_XAXIS, VAL_MANUAL, lower, upper);
    SetAxisScalingMode(idStatistic, c.histogram, VAL_LEFT_YAXIS, VAL_MANUAL, 0.0, h.largestCount + 1.0);
    DeleteGraphPlot(idStatistic, c.histogram, -1, VAL_DELAYED_DRAW);
    PlotXY(idStatistic, c.histogram, h.axis, h.counts, h.intervals, VAL_VERTICAL_BAR, VAL_NO_POINT, VAL_SOLID, 1,
           VAL_RED);
    showHistogramCursor(section);
}

// Beside the section: the numbers of the first and the last record it counts, "Records 482 –
// 861" (a dash alone when it counts none). The section between the cursors starts with cursor
// 1's record when that one is the first, and ends just before the other cursor's record.
void showRecordSpan(int section, int first, int end) {
    char text[WINDOW_TEXT_SIZE + 32];
    if (first < end)
        std::snprintf(text, sizeof text, "%s %d \u2013 %d", wRecordSpan, first + 1, end);
    else
        std::snprintf(text, sizeof text, "%s \u2013", wRecordSpan);
    SetCtrlVal(idStatistic, kSection[section].records, text);
}

// One section over records first .. end - 1 of a channel.
void computeSection(int section, int channel, int first, int end) {
    showRecordSpan(section, std::max(first, 0), end);
    const int n = gatherValues(channel, first, end);
    if (n < STATISTIC_MIN_VALUES) {
        clearSection(section);
        return;
    }
    double mean = 0.0;
    double stdDev = 0.0;
    double maximum = 0.0;
    double minimum = 0.0;
    StdDev(tmpValArray, n, &mean, &stdDev);
    MaxMin1D(tmpValArray, n, &maximum, nullptr, &minimum, nullptr);
    const SectionControls &c = kSection[section];
    SetCtrlVal(idStatistic, c.max, maximum);
    SetCtrlVal(idStatistic, c.min, minimum);
    SetCtrlVal(idStatistic, c.mean, mean);
    SetCtrlVal(idStatistic, c.stdDev, stdDev);
    SetCtrlVal(idStatistic, c.num, n);
    showMkt(section, channel, n);
    drawHistogram(section, n, minimum, maximum);
}

int selectedChannel() {
    int channel = 0;
    GetCtrlVal(idStatistic, STATISTIC_CHANNEL, &channel);
    return channel;
}

// Recompute the whole window for a channel.
void showChannel(int channel) {
    updateChannelStatistic(channel);
    WholeChannelStatistic(channel);
    CursorChannelStatistic(channel);
}

}   // namespace

void whoAreYou(char *title, std::size_t capacity) {
    if (!title || capacity == 0) return;
    if (const char *id = recordsShownId(); id[0] != '\0') {
        std::snprintf(title, capacity, "%s: ID= %s", wStatistic, id);
        return;
    }
    char shown[FILE_NAME_SHOWN_SIZE];
    FileNamePrintOut(shown, fileName);
    std::snprintf(title, capacity, "%s: FILE= %s", wStatistic, shown);
}

void updatePanelStatistic() {
    const int layout = recordLayout();
    const bool suffixed = channelNames(recordsDescription().model) == ChannelNames::Suffix41670;
    ClearListCtrl(idStatistic, STATISTIC_CHANNEL);
    InsertListItem(idStatistic, STATISTIC_CHANNEL, -1, suffixed ? wTemperature_41670 : wTemperature, 0);
    if (layout == LAYOUT_T_T2 || layout == LAYOUT_T_T2_RH)
        InsertListItem(idStatistic, STATISTIC_CHANNEL, -1, suffixed ? wTemperature2_41670 : wTemperature2, 1);
    if (layout == LAYOUT_T_RH || layout == LAYOUT_T_T2_RH)
        InsertListItem(idStatistic, STATISTIC_CHANNEL, -1, wHumidity, kHumidity);
    SetCtrlIndex(idStatistic, STATISTIC_CHANNEL, 0);
}

void updateChannelStatistic(int channel) {
    const char *histogram = channel == 0 ? wHistogramT : channel == 1 ? wHistogramT2 : wHistogramR;
    const char *unit = kNoUnit;
    if (channel == kHumidity)
        unit = kHumidityUnit;
    else if (const char letter = recordsDescription().unit; letter == 'F' || letter == 'f')
        unit = wDegree[1];
    else if (letter == 'C' || letter == 'c')
        unit = wDegree[0];
    for (const SectionControls &c : kSection) {
        SetCtrlAttribute(idStatistic, c.histogram, ATTR_LABEL_TEXT, histogram);
        SetCtrlAttribute(idStatistic, c.cursorX, ATTR_LABEL_TEXT, unit);
    }
}

void WholeChannelStatistic(int channel) { computeSection(0, channel, 0, readableRecords()); }

void CursorChannelStatistic(int channel) {
    // A cursor may stand at or beyond the records held: the section ends with the last one.
    // (With fewer than STATISTIC_MIN_VALUES records held the section is always cleared.)
    const int first = std::min(cursor1X, cursor2X);
    const int end = std::min(std::max(cursor1X, cursor2X), readableRecords());
    computeSection(1, channel, first, end);
}

// ---------------------------------------------------------------- callbacks

int cStatisticsCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    localStatisticWindow();
    DisplayPanel(idStatistic);
    char title[STATISTIC_TITLE_SIZE];
    whoAreYou(title);
    SetPanelAttribute(idStatistic, ATTR_TITLE, title);
    updatePanelStatistic();
    showChannel(0);
    return 0;
}

int sStatisticChannelCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_VAL_CHANGED) showChannel(selectedChannel());
    return 0;
}

int sStatisticRange1CallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_VAL_CHANGED) WholeChannelStatistic(selectedChannel());
    return 0;
}

int sStatisticRange2CallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_VAL_CHANGED) CursorChannelStatistic(selectedChannel());
    return 0;
}

int mHistogram1Callback(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) showHistogramCursor(0);
    return 0;
}

int mHistogram2Callback(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) showHistogramCursor(1);
    return 0;
}

int cStatisticExitCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) HidePanel(idStatistic);
    return 0;
}

int pStatisticCallBack(int, int event, void *, int, int) {
    if (event == EVENT_CLOSE) HidePanel(idStatistic);
    return 0;
}
