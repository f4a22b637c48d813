// The layouts of the two windows that show the records as numbers: the statistics and the data table.
#include "app/panels_internal.h"
#include "panels/Controls.h"
#include "runtime/ui.h"
#include "report/Report.h"
#include "table/Table.h"

namespace layout {
namespace {

// ---------------------------------------------------------------- statistics
// The channel with Print and Close above two equal sections side by side (all records,
// between the cursors); each section's histogram takes the room the window gains.
// Columns: the channel (0), a free column (1), the second section's free column (3), Print
// (4) and Close (5); the first section spans 0-2, the second 3-5.
enum { kChannelColumn = 0, kSecondSection = 3, kPrintColumn = 4, kCloseColumn = 5 };

struct Section {
    int frame, caption, records, max, min, mean, stddev, num, intervals, histogram, cursorX, cursorY, mkt;
    CtrlCallbackPtr intervalsCb;
    CtrlCallbackPtr histogramCb;
};

const Section kSections[] = {
    {STATISTIC_FRAME1, STATISTIC_RANGE1_TEXT, STATISTIC_RECORDS1, STATISTIC_MAX1, STATISTIC_MIN1, STATISTIC_MEAN1,
     STATISTIC_STDDEV1, STATISTIC_NUM1, STATISTIC_INTERVALS1, STATISTIC_HISTOGRAM1, STATISTIC_CURSOR_X1,
     STATISTIC_CURSOR_Y1, STATISTIC_MKT1, sStatisticRange1CallBack, mHistogram1Callback},
    {STATISTIC_FRAME2, STATISTIC_RANGE2_TEXT, STATISTIC_RECORDS2, STATISTIC_MAX2, STATISTIC_MIN2, STATISTIC_MEAN2,
     STATISTIC_STDDEV2, STATISTIC_NUM2, STATISTIC_INTERVALS2, STATISTIC_HISTOGRAM2, STATISTIC_CURSOR_X2,
     STATISTIC_CURSOR_Y2, STATISTIC_MKT2, sStatisticRange2CallBack, mHistogram2Callback},
};

// A read-only number of a section in its cell.
void value(int p, int group, CtrlKind kind, int id, const char *caption, int row, int column, int precision) {
    ctrl(p, kind, id, caption, 90, 26);
    indicator(p, id);
    if (kind == CTRL_NUMERIC_REAL) SetCtrlAttribute(p, id, ATTR_PRECISION, precision);
    place(p, id, group, row, column);
}

void statisticSection(int p, int s, const char *caption) {
    const Section &c = kSections[s];
    frame(p, c.frame, 1, s == 0 ? 0 : kSecondSection, 1, 3);
    ctrl(p, CTRL_TEXT_MSG, c.caption, "", 200, 20);
    SetCtrlVal(p, c.caption, caption);
    place(p, c.caption, c.frame, 0, 0, 1, 2);
    // beside the caption: the first and last record the section counts
    ctrl(p, CTRL_TEXT_MSG, c.records, "", 180, 20);
    place(p, c.records, c.frame, 0, 2, 1, 2);
    const int fields[] = {c.max, c.min, c.mean, c.stddev};
    const char *const names[] = {"Maximum", "Minimum", "Mean", "Std. dev."};
    for (int f = 0; f < 4; ++f) value(p, c.frame, CTRL_NUMERIC_REAL, fields[f], names[f], 1, f, 2);
    value(p, c.frame, CTRL_NUMERIC, c.num, "Num", 2, 0, 0);
    ctrl(p, CTRL_NUMERIC, c.intervals, "Intervals", 90, 26, c.intervalsCb);
    SetCtrlAttribute(p, c.intervals, ATTR_MIN_VALUE, 1);
    SetCtrlAttribute(p, c.intervals, ATTR_MAX_VALUE, 132);
    SetCtrlVal(p, c.intervals, 20);
    place(p, c.intervals, c.frame, 2, 1);
    // the mean kinetic temperature: a text, empty for humidity and for too few values
    ctrl(p, CTRL_STRING, c.mkt, "Mean kinetic temp.", 180, 26);
    indicator(p, c.mkt);
    place(p, c.mkt, c.frame, 3, 0, 1, 2);
    ctrl(p, CTRL_GRAPH, c.histogram, "Histogram", 380, 220, c.histogramCb);
    SetGraphCursorCount(p, c.histogram, 1, 0.0, 0.0);
    // the counts are read on the left axis; the right one stays bare
    SetCtrlAttribute(p, c.histogram, ATTR_ACTIVE_YAXIS, VAL_RIGHT_YAXIS);
    SetCtrlAttribute(p, c.histogram, ATTR_YLABEL_VISIBLE, 0);
    SetCtrlAttribute(p, c.histogram, ATTR_ACTIVE_YAXIS, VAL_LEFT_YAXIS);
    place(p, c.histogram, c.frame, 4, 0, 1, 4);
    // the cursor of the histogram: where it stands and the records there
    value(p, c.frame, CTRL_NUMERIC_REAL, c.cursorX, "", 2, 2, 1);
    value(p, c.frame, CTRL_NUMERIC, c.cursorY, "Records", 2, 3, 0);
    stretch(p, c.frame, VAL_GRID_COLUMN, {1, 1, 1, 1});
    SetGridStretch(p, c.frame, VAL_GRID_ROW, 4, 1);
}

// ---------------------------------------------------------------- data table
// The table on the left takes the room; on the right the processing and alarm-counter groups,
// and the commands at the bottom.
constexpr int kSideColumn = 1;

// A switch of the processing group with its two state texts, in its row.
void processSwitch(int p, int id, const char *caption, int row, CtrlCallbackPtr callback) {
    ctrl(p, CTRL_BINARY_SWITCH, id, caption, 90, 26, callback);
    SetCtrlAttribute(p, id, ATTR_OFF_TEXT, "Off");
    SetCtrlAttribute(p, id, ATTR_ON_TEXT, "On");
    place(p, id, TABLE_FRAME_PROCESS, row, 0);
}

// A limit of the processing group beside its switch.
void processLimit(int p, int id, int row) {
    ctrl(p, CTRL_NUMERIC_REAL, id, "", 110, 26);
    SetCtrlAttribute(p, id, ATTR_PRECISION, 1);
    place(p, id, TABLE_FRAME_PROCESS, row, 1);
}

void processGroup(int p) {
    const int g = TABLE_FRAME_PROCESS;
    frame(p, g, 0, kSideColumn, 1, 2);
    heading(p, TABLE_PROCESS_HEADING, "Processing", g, 0, 2);
    ctrl(p, CTRL_RING, TABLE_CHANNEL, "Channel", 200, 26);
    ring(p, TABLE_CHANNEL, {{"Temperature", 0}}, 0);
    place(p, TABLE_CHANNEL, g, 1, 0, 1, 2);
    ctrl(p, CTRL_RING, TABLE_CONDITION, "Condition", 200, 26);
    ring(p, TABLE_CONDITION, {{"And", 0}, {"Or", 1}}, 1);
    place(p, TABLE_CONDITION, g, 2, 0, 1, 2);
    processSwitch(p, TABLE_HIGH_ENABLE, "High", 3, sTableHiEnableCallback);
    processLimit(p, TABLE_HIGH, 3);
    processSwitch(p, TABLE_LOW_ENABLE, "Low", 4, sTableLowEnableCallback);
    processLimit(p, TABLE_LOW, 4);
    processSwitch(p, TABLE_ERR_ENABLE, "Err", 5, sTableErrorEnableCallback);
    ctrl(p, CTRL_COLOR_NUM, TABLE_COLOR, "Colour", 60, 26);
    place(p, TABLE_COLOR, g, 5, 1);
    ctrl(p, CTRL_COMMAND_BUTTON, TABLE_PROCESS, "Go", 110, 30, cTableProcessCallBack);
    place(p, TABLE_PROCESS, g, 6, 0);
    stretch(p, g, VAL_GRID_COLUMN, {1, 1});
}

void counterGroup(int p) {
    const int g = TABLE_FRAME_COUNTER;
    frame(p, g, 1, kSideColumn, 1, 2);
    heading(p, TABLE_COUNTER_HEADING, "Alarm counter", g, 0, 2);
    ctrl(p, CTRL_NUMERIC, TABLE_COUNTER, "Counter", 110, 26);
    indicator(p, TABLE_COUNTER);
    place(p, TABLE_COUNTER, g, 1, 0);
    ctrl(p, CTRL_NUMERIC, TABLE_USAGE, "Usage", 110, 26);
    indicator(p, TABLE_USAGE);
    place(p, TABLE_USAGE, g, 1, 1);
    stretch(p, g, VAL_GRID_COLUMN, {1, 1});
}

}   // namespace

int buildStatistic(int p) {
    InstallPanelCallback(p, pStatisticCallBack, nullptr);
    ctrl(p, CTRL_RING, STATISTIC_CHANNEL, "Channel", 200, 26, sStatisticChannelCallBack);
    ring(p, STATISTIC_CHANNEL, {{"Temperature", 0}}, 0);
    place(p, STATISTIC_CHANNEL, 0, 0, kChannelColumn);
    ctrl(p, CTRL_COMMAND_BUTTON, STATISTIC_PRINT, "Print", 100, 30, cPrintCallBack);
    place(p, STATISTIC_PRINT, 0, 0, kPrintColumn);
    ctrl(p, CTRL_COMMAND_BUTTON, STATISTIC_EXIT, "Close", 100, 30, cStatisticExitCallBack);
    place(p, STATISTIC_EXIT, 0, 0, kCloseColumn);
    // the verdict on the same records, one click away
    ctrl(p, CTRL_COMMAND_BUTTON, STATISTIC_TRIP_REPORT, "Trip report\u2026", 120, 30, cTripReportCallBack);
    place(p, STATISTIC_TRIP_REPORT, 0, 0, kSecondSection);
    statisticSection(p, 0, "All records");
    statisticSection(p, 1, "Between the cursors");
    stretch(p, 0, VAL_GRID_COLUMN, {0, 1, 0, 1, 0, 0});
    SetGridStretch(p, 0, VAL_GRID_ROW, 1, 1);
    return finishPanel();
}

int buildTable(int p) {
    InstallPanelCallback(p, pTableCallBack, nullptr);
    ctrl(p, CTRL_TABLE, TABLE_DATA, "Data", 560, 360);
    InsertTableColumns(p, TABLE_DATA, -1, 1, VAL_CELL_NUMERIC);
    InsertTableColumns(p, TABLE_DATA, -1, 5, VAL_CELL_STRING);
    // column 1: record number; 2: date; 3: time; 4 to 6: the channels. The record number is
    // the row's only number: the table's own row headers would count the page's rows, which
    // are other numbers as soon as the page follows the cursor.
    SetCtrlAttribute(p, TABLE_DATA, ATTR_ROW_LABELS_VISIBLE, 0);
    static const char *const columns[] = {"No.", "Date", "Time", "T1", "T2", "RH"};
    // widths that show all six columns
    static const int widths[] = {50, 86, 70, 88, 88, 112};
    for (int c = 0; c < 6; ++c) {
        SetTableColumnAttribute(p, TABLE_DATA, c + 1, ATTR_LABEL_TEXT, columns[c]);
        SetTableColumnAttribute(p, TABLE_DATA, c + 1, ATTR_COLUMN_WIDTH, widths[c]);
    }
    place(p, TABLE_DATA, 0, 0, 0, 5, 1);
    processGroup(p);
    counterGroup(p);
    ctrl(p, CTRL_COMMAND_BUTTON, TABLE_EXPORT_CSV, "Export CSV\u2026", 200, 30, cTableExportCsvCallBack);
    place(p, TABLE_EXPORT_CSV, 0, 3, kSideColumn, 1, 2);
    ctrl(p, CTRL_COMMAND_BUTTON, TABLE_PRINT, "Print", 100, 30, cTablePrintCallBack);
    place(p, TABLE_PRINT, 0, 4, kSideColumn);
    ctrl(p, CTRL_COMMAND_BUTTON, TABLE_EXIT, "Close", 100, 30, cTableExitCallBack);
    place(p, TABLE_EXIT, 0, 4, kSideColumn + 1);
    stretch(p, 0, VAL_GRID_COLUMN, {1, 0, 0});
    SetGridStretch(p, 0, VAL_GRID_ROW, 2, 1);   // between the groups and the commands
    return finishPanel();
}

// ---------------------------------------------------------------- trip report
// The profile list, the profiles file's message and the commands in a row above the page's
// preview, which takes the room the window gains.
int buildTripReport(int p) {
    InstallPanelCallback(p, pTripReportCallBack, nullptr);
    ctrl(p, CTRL_RING, TRIPREPORT_PROFILE, "Profile", 260, 26, sTripReportProfileCallBack);
    place(p, TRIPREPORT_PROFILE, 0, 0, 0);
    ctrl(p, CTRL_TEXT_MSG, TRIPREPORT_MESSAGE, "", 160, 20);
    place(p, TRIPREPORT_MESSAGE, 0, 0, 1);
    ctrl(p, CTRL_COMMAND_BUTTON, TRIPREPORT_SAVE_PDF, "Save PDF\u2026", 110, 30, cTripReportSavePdfCallBack);
    place(p, TRIPREPORT_SAVE_PDF, 0, 0, 2);
    ctrl(p, CTRL_COMMAND_BUTTON, TRIPREPORT_PRINT, "Print\u2026", 100, 30, cTripReportPrintCallBack);
    place(p, TRIPREPORT_PRINT, 0, 0, 3);
    ctrl(p, CTRL_COMMAND_BUTTON, TRIPREPORT_EXIT, "Close", 100, 30, cTripReportExitCallBack);
    place(p, TRIPREPORT_EXIT, 0, 0, 4);
    // an A4 page's proportions
    ctrl(p, CTRL_PICTURE, TRIPREPORT_PREVIEW, "", 420, 594);
    place(p, TRIPREPORT_PREVIEW, 0, 1, 0, 1, 5);
    stretch(p, 0, VAL_GRID_COLUMN, {0, 1, 0, 0, 0});
    stretch(p, 0, VAL_GRID_ROW, {0, 1});
    return finishPanel();
}

}   // namespace layout
