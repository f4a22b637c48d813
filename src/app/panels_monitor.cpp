// The layouts of the two chart windows: the main window and the group-files window.
#include "app/Tavix.h"
#include "app/panels_internal.h"
#include "archive/ArchiveWindow.h"
#include "config/Config.h"
#include "display/Display.h"
#include "files/DataFile.h"
#include "files/Group.h"
#include "link/ComSetting.h"
#include "link/Link.h"
#include "local/Local.h"
#include "panels/Controls.h"
#include "runtime/ui.h"
#include "report/Report.h"
#include "table/Table.h"

namespace layout {
namespace {

// ---------------------------------------------------------------- main window
// A grid: the header (logo, logger identity, date and time), the row of commands, the chart
// with the download and display groups in the right-hand column, the x-axis switch with the
// chart's first and last time, the cursor read-outs, and the status line. The chart takes
// the room the window gains. Column 9 holds the right-hand groups (and Exit above them); the
// status line leaves it free for the progress of long tasks.
constexpr int kRightColumn = 9;
constexpr int kCommandColumns = 10;

void monitorHeader(int p) {
    ctrl(p, CTRL_PICTURE, MONITOR_LOGO, "", 150, 58, mVersionCallback);
    place(p, MONITOR_LOGO, 0, 0, 0, 1, 2);
    frame(p, MONITOR_FRAME_ID, 0, 2, 1, 5);
    ctrl(p, CTRL_TEXT_MSG, MONITOR_GETID, "", 80, 20, Resetini);
    SetCtrlVal(p, MONITOR_GETID, "Logger");
    place(p, MONITOR_GETID, MONITOR_FRAME_ID, 0, 0);
    ctrl(p, CTRL_TEXT_MSG, MONITOR_ID, "", 200, 20);
    SetCtrlVal(p, MONITOR_ID, "ID=");
    place(p, MONITOR_ID, MONITOR_FRAME_ID, 0, 1);
    ctrl(p, CTRL_TEXT_MSG, MONITOR_INFO, "", 280, 20, cCmdCallback);
    place(p, MONITOR_INFO, MONITOR_FRAME_ID, 1, 0, 1, 2);
    SetGridStretch(p, MONITOR_FRAME_ID, VAL_GRID_COLUMN, 1, 1);
    ctrl(p, CTRL_STRING, MONITOR_DATE, "Date", 90, 24);
    indicator(p, MONITOR_DATE);
    place(p, MONITOR_DATE, 0, 0, 7, 1, 2);
    ctrl(p, CTRL_STRING, MONITOR_TIME, "Time", 90, 24);
    indicator(p, MONITOR_TIME);
    place(p, MONITOR_TIME, 0, 0, kRightColumn);
}

void monitorCommands(int p) {
    static const struct {
        int id;
        const char *caption;
        CtrlCallbackPtr callback;
    } commands[] = {
        {MONITOR_MENU1, "Retrieve File", cRetrieveFileCallBack},
        {MONITOR_MENU2, "Save File", cSaveFileCallBack},
        {MONITOR_MENU3, "Data Table", cDataTableCallBack},
        {MONITOR_MENU4, "Logger Settings", cSetLoggerCallBack},
        {MONITOR_MENU5, "Statistics", cStatisticsCallBack},
        {MONITOR_MENU6, "Group Files", cGroupCallBack},
        {MONITOR_MENU7, "Print", cPrintGraphCallBack},
        {MONITOR_MENU8, "Communication", cSettingCallBack},
        {MONITOR_MENU9, "Help", cHelpCallBack},
        {MONITOR_EXIT, "Exit", cExitCallBack},
    };
    int column = 0;
    for (const auto &c : commands) {
        ctrl(p, CTRL_COMMAND_BUTTON, c.id, c.caption, 60, 30, c.callback);
        place(p, c.id, 0, 1, column++);
    }
}

void monitorSideGroups(int p) {
    frame(p, MONITOR_FRAME_DOWNLOAD, 2, kRightColumn);
    heading(p, MONITOR_DOWNLOAD_HEADING, "Download", MONITOR_FRAME_DOWNLOAD, 0, 1);
    ctrl(p, CTRL_COMMAND_BUTTON, MONITOR_START_BUTTON, "Start", 100, 36, cStartCallBack);
    place(p, MONITOR_START_BUTTON, MONITOR_FRAME_DOWNLOAD, 1, 0);
    ctrl(p, CTRL_COMMAND_BUTTON, MONITOR_END_BUTTON, "End", 100, 36, cEndCallBack);
    place(p, MONITOR_END_BUTTON, MONITOR_FRAME_DOWNLOAD, 2, 0);

    frame(p, MONITOR_FRAME_DISPLAY, 3, kRightColumn);
    heading(p, MONITOR_DISPLAY_HEADING, "Display", MONITOR_FRAME_DISPLAY, 0, 1);
    ctrl(p, CTRL_NUMERIC, MONITOR_OFFSET, "Offset", 100, 26, sChartOffsetCallBack);
    SetCtrlAttribute(p, MONITOR_OFFSET, ATTR_MIN_VALUE, 0);
    SetCtrlAttribute(p, MONITOR_OFFSET, ATTR_MAX_VALUE, 15000);
    place(p, MONITOR_OFFSET, MONITOR_FRAME_DISPLAY, 1, 0);
    ctrl(p, CTRL_RING, MONITOR_RANGE, "Range", 100, 26, sChartGainCallBack);
    ring(p, MONITOR_RANGE,
         {{"100", 100},
          {"250", 250},
          {"500", 500},
          {"1k", 1000},
          {"2k", 2000},
          {"4k", 4000},
          {"8k", 8000},
          {"12k", 12000},
          {"16k", 16000}},
         16000);
    place(p, MONITOR_RANGE, MONITOR_FRAME_DISPLAY, 2, 0);
}

void monitorCursors(int p) {
    frame(p, MONITOR_FRAME_CURSOR, 6, 0, 1, kCommandColumns);
    heading(p, MONITOR_CURSOR_HEADING, "Cursors", MONITOR_FRAME_CURSOR, 0, 2);
    static const int rows[][2] = {{MONITOR_CURSOR1_LABEL, MONITOR_CURSOR1_TEXT},
                                  {MONITOR_CURSOR2_LABEL, MONITOR_CURSOR2_TEXT}};
    const char *names[] = {"Cursor 1", "Cursor 2"};
    for (int k = 0; k < 2; ++k) {
        ctrl(p, CTRL_TEXT_MSG, rows[k][0], "", 80, 22);
        SetCtrlVal(p, rows[k][0], names[k]);
        place(p, rows[k][0], MONITOR_FRAME_CURSOR, k + 1, 0);
        ctrl(p, CTRL_STRING, rows[k][1], "", 300, 24);
        indicator(p, rows[k][1]);
        place(p, rows[k][1], MONITOR_FRAME_CURSOR, k + 1, 1);
    }
    SetGridStretch(p, MONITOR_FRAME_CURSOR, VAL_GRID_COLUMN, 1, 1);
}

// ---------------------------------------------------------------- group-files window
// The chart on the left with the cursor read-outs of the eight slots below it (two per row);
// on the right a row per slot (its file button and colour) and the display group; the notes
// along the bottom beside Close. The chart takes the room the window gains.
constexpr int kSlotRows = 8;
constexpr int kDisplayRow = kSlotRows;      // the display group under the slots
constexpr int kChartRows = kSlotRows + 2;   // the chart beside the slots, the group and a free row
constexpr int kFileColumn = 2;              // the chart and the read-outs use columns 0 and 1
constexpr int kColourColumn = 3;

void groupSlots(int p) {
    static const char *const letters[] = {"A", "B", "C", "D", "E", "F", "G", "H"};
    for (int k = 0; k < kSlotRows; ++k) {
        // the language's word follows when the window opens
        const char caption[2] = {static_cast<char>('A' + k), '\0'};
        // wide enough for the letter and the shortened path of the file loaded
        ctrl(p, CTRL_COMMAND_BUTTON, MONITORS_FILE_A + k, caption, 300, 30, cFileCallBack);
        place(p, MONITORS_FILE_A + k, 0, k, kFileColumn);
        ctrl(p, CTRL_COLOR_NUM, MONITORS_COLOR_A + k, "", 40, 30, sColorCallBack);
        place(p, MONITORS_COLOR_A + k, 0, k, kColourColumn);
        ctrl(p, CTRL_STRING, MONITORS_CURSOR_A + k, "", 300, 24);
        indicator(p, MONITORS_CURSOR_A + k);
        SetCtrlVal(p, MONITORS_CURSOR_A + k, letters[k]);
        place(p, MONITORS_CURSOR_A + k, 0, kChartRows + k / 2, k % 2);
    }
}

void groupDisplay(int p) {
    frame(p, MONITORS_FRAME_DISPLAY, kDisplayRow, kFileColumn, 1, 2);
    heading(p, MONITORS_DISPLAY_HEADING, "Display", MONITORS_FRAME_DISPLAY, 0, 2);
    ctrl(p, CTRL_NUMERIC, MONITORS_OFFSET, "Offset", 120, 26, sMChartOffsetCallBack);
    SetCtrlAttribute(p, MONITORS_OFFSET, ATTR_MIN_VALUE, 0);
    SetCtrlAttribute(p, MONITORS_OFFSET, ATTR_MAX_VALUE, GROUP_MAX_POSITIONS - 1);
    place(p, MONITORS_OFFSET, MONITORS_FRAME_DISPLAY, 1, 0);
    ctrl(p, CTRL_NUMERIC, MONITORS_RANGE, "Range", 120, 26, sMChartGainCallBack);
    SetCtrlAttribute(p, MONITORS_RANGE, ATTR_MIN_VALUE, 1);
    SetCtrlAttribute(p, MONITORS_RANGE, ATTR_MAX_VALUE, GROUP_MAX_POSITIONS);
    SetCtrlVal(p, MONITORS_RANGE, GROUP_MAX_POSITIONS);
    place(p, MONITORS_RANGE, MONITORS_FRAME_DISPLAY, 1, 1);
    ctrl(p, CTRL_STRING, MONITORS_USER, "", 240, 24);
    place(p, MONITORS_USER, MONITORS_FRAME_DISPLAY, 2, 0, 1, 2);
    stretch(p, MONITORS_FRAME_DISPLAY, VAL_GRID_COLUMN, {1, 1});
}

}   // namespace

int buildMonitor(int p) {
    InstallPanelCallback(p, pMonitorCallBack, nullptr);
    monitorHeader(p);
    monitorCommands(p);

    ctrl(p, CTRL_GRAPH, MONITOR_GRAPH, "Chart", 500, 260, mDataChartCallBack);
    SetGraphCursorCount(p, MONITOR_GRAPH, 2, 0.0, 10.0);
    InstallCaptionCallback(p, MONITOR_GRAPH, tTitle1CallBack, nullptr);   // the chart title
    place(p, MONITOR_GRAPH, 0, 2, 0, 3, kRightColumn);
    monitorSideGroups(p);
    // below the right-hand groups, one above the other: the verdict on the records held, and
    // the archive of every download
    frame(p, MONITOR_FRAME_RECORDS, 4, kRightColumn);
    ctrl(p, CTRL_COMMAND_BUTTON, MONITOR_TRIP_REPORT, "Trip report\u2026", 100, 26, cTripReportCallBack);
    place(p, MONITOR_TRIP_REPORT, MONITOR_FRAME_RECORDS, 0, 0);
    ctrl(p, CTRL_COMMAND_BUTTON, MONITOR_ARCHIVE, "Archive\u2026", 100, 26, cArchiveCallBack);
    place(p, MONITOR_ARCHIVE, MONITOR_FRAME_RECORDS, 1, 0);

    ctrl(p, CTRL_BINARY_SWITCH, MONITOR_XAXIS_SWITCH, "", 170, 26, sXLabelCallBack);
    SetCtrlAttribute(p, MONITOR_XAXIS_SWITCH, ATTR_OFF_TEXT, "Record No.");
    SetCtrlAttribute(p, MONITOR_XAXIS_SWITCH, ATTR_ON_TEXT, "Time");
    place(p, MONITOR_XAXIS_SWITCH, 0, 5, 0, 1, 2);
    ctrl(p, CTRL_TEXT_MSG, MONITOR_START_TIME, "", 200, 20);
    place(p, MONITOR_START_TIME, 0, 5, 2, 1, 4);
    ctrl(p, CTRL_TEXT_MSG, MONITOR_END_TIME, "", 200, 20);
    place(p, MONITOR_END_TIME, 0, 5, 6, 1, 4);
    monitorCursors(p);

    ctrl(p, CTRL_TEXT_MSG, MONITOR_MESSAGE, "", 300, 24);
    place(p, MONITOR_MESSAGE, 0, 7, 0, 1, kRightColumn);
    // as wide as the column above it, so that its room kept while hidden widens nothing
    ctrl(p, CTRL_PROGRESS_BAR, MONITOR_PROGRESS, "", 150, 24);
    SetCtrlAttribute(p, MONITOR_PROGRESS, ATTR_VISIBLE, 0);
    place(p, MONITOR_PROGRESS, 0, 7, kRightColumn);
    ctrl(p, CTRL_TIMER, MONITOR_TIMER, "", 0, 0, timeTickCallBack);
    SetCtrlAttribute(p, MONITOR_TIMER, ATTR_INTERVAL, 0.2);

    for (int column = 0; column < kRightColumn; ++column) SetGridStretch(p, 0, VAL_GRID_COLUMN, column, 1);
    SetGridStretch(p, 0, VAL_GRID_ROW, 4, 1);   // below the right-hand groups: the chart grows
    return finishPanel();
}

int buildMonitors(int p) {
    InstallPanelCallback(p, pMonitorsCallBack, nullptr);
    ctrl(p, CTRL_GRAPH, MONITORS_GRAPH, "Chart", 560, 380, mMChartCallBack);
    SetGraphCursorCount(p, MONITORS_GRAPH, 1, 0.0, 0.0);
    place(p, MONITORS_GRAPH, 0, 0, 0, kChartRows, 2);
    groupSlots(p);
    groupDisplay(p);
    ctrl(p, CTRL_TEXT_MSG, MONITORS_NOTES, "", 300, 22);
    place(p, MONITORS_NOTES, 0, kChartRows + kSlotRows / 2, 0, 1, 2);
    ctrl(p, CTRL_COMMAND_BUTTON, MONITORS_EXIT, "Close", 100, 30, cGroupExitCallBack);
    place(p, MONITORS_EXIT, 0, kChartRows + kSlotRows / 2, kFileColumn, 1, 2);
    stretch(p, 0, VAL_GRID_COLUMN, {1, 1, 0, 0});
    SetGridStretch(p, 0, VAL_GRID_ROW, kChartRows - 1, 1);   // under the display group: the chart grows
    return finishPanel();
}

}   // namespace layout
