// The layouts of the nine windows and of the scaling menu. Positions are pixels from
// the window's top-left corner; a control's caption sits above it. Captions written
// here are only the layout's defaults: the window-text functions replace them with the
// texts of the chosen language when a window is opened.
#include "app/Tavix.h"

#include <initializer_list>
#include <utility>

#include "config/Config.h"
#include "display/Display.h"
#include "files/DataFile.h"
#include "files/Group.h"
#include "link/ComSetting.h"
#include "link/Link.h"
#include "local/Local.h"
#include "local/PreferencesWindow.h"
#include "panels/Controls.h"
#include "runtime/ui.h"
#include "table/Table.h"

namespace {

int g_failed = 0;   // a control that could not be made fails the whole panel

void ctrl(int panel, CtrlKind kind, int id, const char *label, int top, int left, int width, int height,
          CtrlCallbackPtr callback = nullptr) {
    if (NewCtrl(panel, kind, id, label, top, left, width, height) < 0) {
        g_failed = 1;
        return;
    }
    if (callback) InstallCtrlCallback(panel, id, callback, nullptr);
}

void frame(int panel, int id, int top, int left, int width, int height) {
    ctrl(panel, CTRL_DECORATION, id, "", top, left, width, height);
}

// Put a made control into a grid (group 0 = the panel, or a frame's id).
void place(int panel, int id, int group, int row, int column, int rowSpan = 1, int columnSpan = 1) {
    if (PlaceCtrl(panel, id, group, row, column, rowSpan, columnSpan) < 0) g_failed = 1;
}

void heading(int panel, int id, const char *text, int top, int left, int width) {
    ctrl(panel, CTRL_TEXT_MSG, id, "", top, left, width, 20);
    SetCtrlVal(panel, id, text);
    SetCtrlAttribute(panel, id, ATTR_TEXT_FONT, VAL_DIALOG_META_FONT);
}

int finish(int panel) {
    const int failed = g_failed;
    g_failed = 0;
    (void)panel;
    return failed ? -1 : 0;
}

void ring(int panel, int id, std::initializer_list<std::pair<const char *, int>> items, int selected) {
    for (const auto &item : items) InsertListItem(panel, id, -1, item.first, item.second);
    SetCtrlVal(panel, id, selected);
}

// ---------------------------------------------------------------- main window
// A grid: the header (logo, logger identity, date and time), the row of commands, the chart
// with the download and display groups in the right-hand column, the x-axis switch with the
// chart's first and last time, the cursor read-outs, and the status line. The chart takes
// the room the window gains; the pixel sizes below are minimums. Column 9 holds the right-hand
// groups (and Exit above them); the status line leaves it free for the progress of long tasks.
namespace monitor {

constexpr int kRightColumn = 9;
constexpr int kCommandColumns = 10;

void header(int p) {
    ctrl(p, CTRL_PICTURE, MONITOR_LOGO, "", 0, 0, 150, 58, mVersionCallback);
    place(p, MONITOR_LOGO, 0, 0, 0, 1, 2);
    frame(p, MONITOR_FRAME_ID, 0, 0, 300, 50);
    place(p, MONITOR_FRAME_ID, 0, 0, 2, 1, 5);
    ctrl(p, CTRL_TEXT_MSG, MONITOR_GETID, "", 0, 0, 80, 20, Resetini);
    SetCtrlVal(p, MONITOR_GETID, "Logger");
    place(p, MONITOR_GETID, MONITOR_FRAME_ID, 0, 0);
    ctrl(p, CTRL_TEXT_MSG, MONITOR_ID, "", 0, 0, 200, 20);
    SetCtrlVal(p, MONITOR_ID, "ID=");
    place(p, MONITOR_ID, MONITOR_FRAME_ID, 0, 1);
    ctrl(p, CTRL_TEXT_MSG, MONITOR_INFO, "", 0, 0, 280, 20, cCmdCallback);
    place(p, MONITOR_INFO, MONITOR_FRAME_ID, 1, 0, 1, 2);
    SetGridStretch(p, MONITOR_FRAME_ID, VAL_GRID_COLUMN, 1, 1);
    ctrl(p, CTRL_STRING, MONITOR_DATE, "Date", 0, 0, 90, 24);
    SetCtrlAttribute(p, MONITOR_DATE, ATTR_CTRL_MODE, VAL_INDICATOR);
    place(p, MONITOR_DATE, 0, 0, 7, 1, 2);
    ctrl(p, CTRL_STRING, MONITOR_TIME, "Time", 0, 0, 90, 24);
    SetCtrlAttribute(p, MONITOR_TIME, ATTR_CTRL_MODE, VAL_INDICATOR);
    place(p, MONITOR_TIME, 0, 0, kRightColumn);
}

void commands(int p) {
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
        ctrl(p, CTRL_COMMAND_BUTTON, c.id, c.caption, 0, 0, 60, 30, c.callback);
        place(p, c.id, 0, 1, column++);
    }
}

void sideGroups(int p) {
    frame(p, MONITOR_FRAME_DOWNLOAD, 0, 0, 120, 120);
    place(p, MONITOR_FRAME_DOWNLOAD, 0, 2, kRightColumn);
    heading(p, MONITOR_DOWNLOAD_HEADING, "Download", 0, 0, 100);
    place(p, MONITOR_DOWNLOAD_HEADING, MONITOR_FRAME_DOWNLOAD, 0, 0);
    ctrl(p, CTRL_COMMAND_BUTTON, MONITOR_START_BUTTON, "Start", 0, 0, 100, 36, cStartCallBack);
    place(p, MONITOR_START_BUTTON, MONITOR_FRAME_DOWNLOAD, 1, 0);
    ctrl(p, CTRL_COMMAND_BUTTON, MONITOR_END_BUTTON, "End", 0, 0, 100, 36, cEndCallBack);
    place(p, MONITOR_END_BUTTON, MONITOR_FRAME_DOWNLOAD, 2, 0);

    frame(p, MONITOR_FRAME_DISPLAY, 0, 0, 120, 140);
    place(p, MONITOR_FRAME_DISPLAY, 0, 3, kRightColumn);
    heading(p, MONITOR_DISPLAY_HEADING, "Display", 0, 0, 100);
    place(p, MONITOR_DISPLAY_HEADING, MONITOR_FRAME_DISPLAY, 0, 0);
    ctrl(p, CTRL_NUMERIC, MONITOR_OFFSET, "Offset", 0, 0, 100, 26, sChartOffsetCallBack);
    SetCtrlAttribute(p, MONITOR_OFFSET, ATTR_MIN_VALUE, 0);
    SetCtrlAttribute(p, MONITOR_OFFSET, ATTR_MAX_VALUE, 15000);
    place(p, MONITOR_OFFSET, MONITOR_FRAME_DISPLAY, 1, 0);
    ctrl(p, CTRL_RING, MONITOR_RANGE, "Range", 0, 0, 100, 26, sChartGainCallBack);
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

void cursors(int p) {
    frame(p, MONITOR_FRAME_CURSOR, 0, 0, 400, 80);
    place(p, MONITOR_FRAME_CURSOR, 0, 6, 0, 1, kCommandColumns);
    heading(p, MONITOR_CURSOR_HEADING, "Cursors", 0, 0, 200);
    place(p, MONITOR_CURSOR_HEADING, MONITOR_FRAME_CURSOR, 0, 0, 1, 2);
    static const int rows[][2] = {{MONITOR_CURSOR1_LABEL, MONITOR_CURSOR1_TEXT},
                                  {MONITOR_CURSOR2_LABEL, MONITOR_CURSOR2_TEXT}};
    const char *names[] = {"Cursor 1", "Cursor 2"};
    for (int k = 0; k < 2; ++k) {
        ctrl(p, CTRL_TEXT_MSG, rows[k][0], "", 0, 0, 80, 22);
        SetCtrlVal(p, rows[k][0], names[k]);
        place(p, rows[k][0], MONITOR_FRAME_CURSOR, k + 1, 0);
        ctrl(p, CTRL_STRING, rows[k][1], "", 0, 0, 300, 24);
        SetCtrlAttribute(p, rows[k][1], ATTR_CTRL_MODE, VAL_INDICATOR);
        place(p, rows[k][1], MONITOR_FRAME_CURSOR, k + 1, 1);
    }
    SetGridStretch(p, MONITOR_FRAME_CURSOR, VAL_GRID_COLUMN, 1, 1);
}

}   // namespace monitor

int buildMonitor(int p) {
    using namespace monitor;
    InstallPanelCallback(p, pMonitorCallBack, nullptr);
    header(p);
    commands(p);

    ctrl(p, CTRL_GRAPH, MONITOR_GRAPH, "Chart", 0, 0, 500, 260, mDataChartCallBack);
    SetGraphCursorCount(p, MONITOR_GRAPH, 2, 0.0, 10.0);
    InstallCaptionCallback(p, MONITOR_GRAPH, tTitle1CallBack, nullptr);   // the chart title
    place(p, MONITOR_GRAPH, 0, 2, 0, 3, kRightColumn);
    sideGroups(p);

    ctrl(p, CTRL_BINARY_SWITCH, MONITOR_XAXIS_SWITCH, "", 0, 0, 170, 26, sXLabelCallBack);
    SetCtrlAttribute(p, MONITOR_XAXIS_SWITCH, ATTR_OFF_TEXT, "Record No.");
    SetCtrlAttribute(p, MONITOR_XAXIS_SWITCH, ATTR_ON_TEXT, "Time");
    place(p, MONITOR_XAXIS_SWITCH, 0, 5, 0, 1, 2);
    ctrl(p, CTRL_TEXT_MSG, MONITOR_START_TIME, "", 0, 0, 200, 20);
    place(p, MONITOR_START_TIME, 0, 5, 2, 1, 4);
    ctrl(p, CTRL_TEXT_MSG, MONITOR_END_TIME, "", 0, 0, 200, 20);
    place(p, MONITOR_END_TIME, 0, 5, 6, 1, 4);
    cursors(p);

    ctrl(p, CTRL_TEXT_MSG, MONITOR_MESSAGE, "", 0, 0, 300, 24);
    place(p, MONITOR_MESSAGE, 0, 7, 0, 1, kRightColumn);
    ctrl(p, CTRL_PROGRESS_BAR, MONITOR_PROGRESS, "", 0, 0, 210, 24);
    SetCtrlAttribute(p, MONITOR_PROGRESS, ATTR_VISIBLE, 0);
    place(p, MONITOR_PROGRESS, 0, 7, kRightColumn);
    ctrl(p, CTRL_TIMER, MONITOR_TIMER, "", 0, 0, 0, 0, timeTickCallBack);
    SetCtrlAttribute(p, MONITOR_TIMER, ATTR_INTERVAL, 0.2);

    for (int column = 0; column < kRightColumn; ++column) SetGridStretch(p, 0, VAL_GRID_COLUMN, column, 1);
    SetGridStretch(p, 0, VAL_GRID_ROW, 4, 1);   // below the right-hand groups: the chart grows
    return finish(p);
}

// ---------------------------------------------------------------- group-files window
int buildMonitors(int p) {
    InstallPanelCallback(p, pMonitorsCallBack, nullptr);
    ctrl(p, CTRL_GRAPH, MONITORS_GRAPH, "Chart", 26, 10, 760, 470, mMChartCallBack);
    SetGraphCursorCount(p, MONITORS_GRAPH, 1, 0.0, 0.0);
    static const char *const letters[] = {"A", "B", "C", "D", "E", "F", "G", "H"};
    for (int k = 0; k < 8; ++k) {
        const int top = 26 + k * 40;
        char caption[16] = "__A File";
        caption[2] = static_cast<char>('A' + k);
        // wide enough for the letter and the shortened path of the file loaded
        ctrl(p, CTRL_COMMAND_BUTTON, MONITORS_FILE_A + k, caption, top, 785, 258, 30, cFileCallBack);
        ctrl(p, CTRL_COLOR_NUM, MONITORS_COLOR_A + k, "", top, 1050, 40, 30, sColorCallBack);
        ctrl(p, CTRL_STRING, MONITORS_CURSOR_A + k, "", 520 + (k / 2) * 30, 10 + (k % 2) * 470, 460, 24);
        SetCtrlAttribute(p, MONITORS_CURSOR_A + k, ATTR_CTRL_MODE, VAL_INDICATOR);
        SetCtrlVal(p, MONITORS_CURSOR_A + k, letters[k]);
    }
    frame(p, MONITORS_FRAME_DISPLAY, 350, 785, 305, 160);
    heading(p, MONITORS_DISPLAY_HEADING, "Display", 356, 795, 280);
    ctrl(p, CTRL_NUMERIC, MONITORS_OFFSET, "Offset", 400, 795, 130, 26, sMChartOffsetCallBack);
    SetCtrlAttribute(p, MONITORS_OFFSET, ATTR_MIN_VALUE, 0);
    SetCtrlAttribute(p, MONITORS_OFFSET, ATTR_MAX_VALUE, 15999);
    ctrl(p, CTRL_NUMERIC, MONITORS_RANGE, "Range", 400, 945, 130, 26, sMChartGainCallBack);
    SetCtrlAttribute(p, MONITORS_RANGE, ATTR_MIN_VALUE, 1);
    SetCtrlAttribute(p, MONITORS_RANGE, ATTR_MAX_VALUE, 16000);
    SetCtrlVal(p, MONITORS_RANGE, 16000);
    ctrl(p, CTRL_STRING, MONITORS_USER, "User", 460, 795, 280, 24);
    ctrl(p, CTRL_TEXT_MSG, MONITORS_NOTES, "", 645, 10, 1080, 22);
    return finish(p);
}

// ---------------------------------------------------------------- message window
int buildMsg(int p) {
    InstallPanelCallback(p, pMsgCallBack, nullptr);
    ctrl(p, CTRL_TEXT_BOX, MSG_TEXT, "", 10, 10, 380, 130);
    ctrl(p, CTRL_COMMAND_BUTTON, MSG_OK, "OK", 150, 290, 100, 30);
    return finish(p);
}

// ---------------------------------------------------------------- humidity calibration
int buildRhCali(int p) {
    InstallPanelCallback(p, pRhCaliCallBack, nullptr);
    // wide enough for the section name, which says the ranges of Z and S
    ctrl(p, CTRL_TEXT_MSG, RHCALI_HEADING, "", 10, 10, 550, 40);
    ctrl(p, CTRL_STRING, RHCALI_Z, "Z", 76, 20, 160, 26);
    SetCtrlAttribute(p, RHCALI_Z, ATTR_MAX_ENTRY_LENGTH, 9);
    ctrl(p, CTRL_STRING, RHCALI_S, "S", 76, 210, 160, 26);
    SetCtrlAttribute(p, RHCALI_S, ATTR_MAX_ENTRY_LENGTH, 8);
    ctrl(p, CTRL_COMMAND_BUTTON, RHCALI_SET, "Set", 124, 20, 110, 30, cOkRhCaliCallBack);
    ctrl(p, CTRL_COMMAND_BUTTON, RHCALI_RECALL, "Recall", 124, 140, 110, 30, cRefreshRhCaliCallBack);
    ctrl(p, CTRL_COMMAND_BUTTON, RHCALI_EXIT, "Close", 124, 260, 110, 30, cRhCaliExitCallBack);
    return finish(p);
}

// ---------------------------------------------------------------- logger settings
int buildSetLogger(int p) {
    InstallPanelCallback(p, pSetLoggerCallBack, nullptr);
    // logging and alarms
    frame(p, SETLOGGER_FRAME_LOG, 6, 10, 400, 470);
    heading(p, SETLOGGER_LOG_HEADING, "Logging", 12, 20, 380);
    ctrl(p, CTRL_RING, SETLOGGER_SAMPLEPOINTS, "Sample points", 56, 20, 170, 26, sSamplePointsCallBack);
    ring(p, SETLOGGER_SAMPLEPOINTS, {{"1000", 0}, {"2000", 1}, {"4000", 2}, {"8000", 3}, {"12000", 4}, {"16000", 5}},
         3);
    ctrl(p, CTRL_NUMERIC, SETLOGGER_RATE_HOUR, "Sample rate (h : m : s)", 112, 20, 70, 26, sSampleRateCallBack);
    SetCtrlAttribute(p, SETLOGGER_RATE_HOUR, ATTR_MIN_VALUE, 0);
    SetCtrlAttribute(p, SETLOGGER_RATE_HOUR, ATTR_MAX_VALUE, 12);
    ctrl(p, CTRL_NUMERIC, SETLOGGER_RATE_MIN, "", 112, 100, 70, 26, sSampleRateCallBack);
    SetCtrlAttribute(p, SETLOGGER_RATE_MIN, ATTR_MIN_VALUE, 0);
    SetCtrlAttribute(p, SETLOGGER_RATE_MIN, ATTR_MAX_VALUE, 59);
    ctrl(p, CTRL_NUMERIC, SETLOGGER_RATE_SEC, "", 112, 180, 70, 26, sSampleRateCallBack);
    SetCtrlAttribute(p, SETLOGGER_RATE_SEC, ATTR_MIN_VALUE, 0);
    SetCtrlAttribute(p, SETLOGGER_RATE_SEC, ATTR_MAX_VALUE, 59);
    SetCtrlVal(p, SETLOGGER_RATE_SEC, 2);
    ctrl(p, CTRL_RING, SETLOGGER_STARTMODE, "Start mode", 168, 20, 370, 26, sStartModeCallBack);
    ring(p, SETLOGGER_STARTMODE, {{"Start mode 20", 20}, {"Start mode 0", 0}, {"Start mode 1", 1}}, 20);
    ctrl(p, CTRL_STRING, SETLOGGER_STARTDATE, "Start date", 224, 20, 170, 26, sStartDateCallBack);
    ctrl(p, CTRL_STRING, SETLOGGER_STARTTIME, "Start time", 224, 210, 170, 26, sStartTimeCallBack);
    ctrl(p, CTRL_RING, SETLOGGER_UNIT, "Unit", 280, 20, 170, 26, sUnitCallBack);
    ring(p, SETLOGGER_UNIT, {{"C", 'C'}}, 'C');
    heading(p, SETLOGGER_ALARM_HEADING, "Alarm", 322, 20, 380);
    ctrl(p, CTRL_RING, SETLOGGER_ALARMCHANNEL, "Alarm channel", 364, 20, 170, 26, sAlarmChannelCallBack);
    ring(p, SETLOGGER_ALARMCHANNEL, {{"Temperature", 0}}, 0);
    ctrl(p, CTRL_NUMERIC_REAL, SETLOGGER_HIGHALARM, "High alarm", 420, 20, 110, 26, sAlarmLimitCallBack);
    SetCtrlAttribute(p, SETLOGGER_HIGHALARM, ATTR_PRECISION, 1);
    ctrl(p, CTRL_NUMERIC_REAL, SETLOGGER_LOWALARM, "Low alarm", 420, 140, 110, 26, sAlarmLimitCallBack);
    SetCtrlAttribute(p, SETLOGGER_LOWALARM, ATTR_PRECISION, 1);
    ctrl(p, CTRL_COMMAND_BUTTON, SETLOGGER_LOG_OK, "OK", 364, 280, 110, 30, cOkLogCallBack);
    ctrl(p, CTRL_COMMAND_BUTTON, SETLOGGER_LOG_CANCEL, "Cancel", 414, 280, 110, 30, cCancelLogCallBack);

    // clock
    frame(p, SETLOGGER_FRAME_CLOCK, 6, 420, 390, 110);
    heading(p, SETLOGGER_CLOCK_HEADING, "Clock", 12, 430, 370);
    ctrl(p, CTRL_STRING, SETLOGGER_LOGGERDATE, "Logger date", 56, 430, 120, 26, sRealDateCallBack);
    ctrl(p, CTRL_STRING, SETLOGGER_LOGGERTIME, "Logger time", 56, 560, 100, 26, sRealTimeCallBack);
    // what the clock texts hold: a longer text could not be read whole
    SetCtrlAttribute(p, SETLOGGER_LOGGERDATE, ATTR_MAX_ENTRY_LENGTH, CLOCK_TEXT_SIZE - 1);
    SetCtrlAttribute(p, SETLOGGER_LOGGERTIME, ATTR_MAX_ENTRY_LENGTH, CLOCK_TEXT_SIZE - 1);
    ctrl(p, CTRL_COMMAND_BUTTON, SETLOGGER_CLOCK_OK, "OK", 40, 680, 100, 30, cOkClockCallBack);
    ctrl(p, CTRL_COMMAND_BUTTON, SETLOGGER_CLOCK_CANCEL, "Cancel", 76, 680, 100, 30, cCancelClockCallBack);

    // sleep mode
    frame(p, SETLOGGER_FRAME_SLEEP, 124, 420, 390, 80);
    heading(p, SETLOGGER_SLEEP_HEADING, "Sleep mode", 130, 430, 370);
    ctrl(p, CTRL_BINARY_SWITCH, SETLOGGER_SLEEPMODE, "", 160, 430, 200, 30);
    SetCtrlAttribute(p, SETLOGGER_SLEEPMODE, ATTR_OFF_TEXT, "Sleep off");
    SetCtrlAttribute(p, SETLOGGER_SLEEPMODE, ATTR_ON_TEXT, "Sleep on");
    ctrl(p, CTRL_COMMAND_BUTTON, SETLOGGER_SLEEP_OK, "OK", 160, 680, 100, 30, cSleepModeCallBack);

    // identifier
    frame(p, SETLOGGER_FRAME_ID, 212, 420, 390, 110);
    heading(p, SETLOGGER_ID_HEADING, "Identifier", 218, 430, 370);
    ctrl(p, CTRL_STRING, SETLOGGER_IDENTIFIER, "Identifier", 262, 430, 230, 26, sIdCallBack);
    SetCtrlAttribute(p, SETLOGGER_IDENTIFIER, ATTR_MAX_ENTRY_LENGTH, SET_ID_FIELD_MAX);
    ctrl(p, CTRL_COMMAND_BUTTON, SETLOGGER_ID_OK, "OK", 246, 680, 100, 30, cOkIdCallBack);
    ctrl(p, CTRL_COMMAND_BUTTON, SETLOGGER_ID_CANCEL, "Cancel", 282, 680, 100, 30, cCancelIdCallBack);

    // calibration
    frame(p, SETLOGGER_FRAME_CALI, 330, 420, 390, 100);
    heading(p, SETLOGGER_CALI_HEADING, "Calibration", 336, 430, 370);
    ctrl(p, CTRL_TEXT_MSG, SETLOGGER_CALITITLE, "", 368, 430, 240, 40);
    ctrl(p, CTRL_COMMAND_BUTTON, SETLOGGER_CALI_START, "Calibrate", 368, 680, 100, 30, cCaliStartCallBack);

    ctrl(p, CTRL_COMMAND_BUTTON, SETLOGGER_EXIT, "Close", 444, 680, 100, 30, cLogExitCallBack);
    return finish(p);
}

// ---------------------------------------------------------------- communication settings
int buildSetting(int p) {
    InstallPanelCallback(p, pSettingCallBack, nullptr);
    frame(p, SETTING_FRAME, 6, 10, 380, 318);
    heading(p, SETTING_HEADING, "Serial port", 12, 20, 360);
    // each port number with the device it stands for; below, the device field and the
    // button that binds the chosen number to the device typed there
    ctrl(p, CTRL_RING, SETTING_PORT, "Port", 56, 20, 270, 26, sPortNoCallBack);
    ctrl(p, CTRL_STRING, SETTING_DEVICE, "Device", 112, 20, 270, 26);
    ctrl(p, CTRL_COMMAND_BUTTON, SETTING_BIND, "Bind", 112, 300, 76, 26, cBindCallBack);
    showPortDevices(p);   // COM1 chosen
    ctrl(p, CTRL_RING, SETTING_BAUD, "Baud rate", 168, 20, 110, 26, sBaudRateCallBack);
    ring(p, SETTING_BAUD,
         {{"1200", 1200},
          {"2400", 2400},
          {"4800", 4800},
          {"9600", 9600},
          {"19200", 19200},
          {"38400", 38400},
          {"57600", 57600},
          {"115200", 115200}},
         9600);
    ctrl(p, CTRL_RING, SETTING_DATABITS, "Data bits", 168, 140, 100, 28, sDataBitsCallBack);
    ring(p, SETTING_DATABITS, {{"5", 5}, {"6", 6}, {"7", 7}, {"8", 8}}, 8);
    ctrl(p, CTRL_RING, SETTING_PARITY, "Parity", 224, 20, 110, 26, sParityCallBack);
    ring(p, SETTING_PARITY, {{"None", 0}, {"Odd", 1}, {"Even", 2}, {"Mark", 3}, {"Space", 4}}, 0);
    ctrl(p, CTRL_RING, SETTING_STOPBITS, "Stop bits", 224, 140, 100, 28, sStopBitsCallBack);
    ring(p, SETTING_STOPBITS, {{"1", 1}, {"2", 2}}, 1);
    ctrl(p, CTRL_COMMAND_BUTTON, SETTING_AUTO, "Detect", 278, 20, 110, 30, cAutoCallBack);
    ctrl(p, CTRL_COMMAND_BUTTON, SETTING_OK, "OK", 278, 150, 100, 30, cOkCallBack);
    ctrl(p, CTRL_COMMAND_BUTTON, SETTING_CANCEL, "Cancel", 278, 270, 100, 30, cCancelCallBack);
    ctrl(p, CTRL_COMMAND_BUTTON, SETTING_PREFERENCES, "Preferences…", 278, 20, 110, 30, cPreferencesCallBack);
    return finish(p);
}

// ---------------------------------------------------------------- statistics
int buildStatistic(int p) {
    InstallPanelCallback(p, pStatisticCallBack, nullptr);
    ctrl(p, CTRL_RING, STATISTIC_CHANNEL, "Channel", 26, 10, 220, 26, sStatisticChannelCallBack);
    ring(p, STATISTIC_CHANNEL, {{"Temperature", 0}}, 0);
    ctrl(p, CTRL_COMMAND_BUTTON, STATISTIC_PRINT, "Print", 22, 700, 110, 30, cPrintCallBack);
    ctrl(p, CTRL_COMMAND_BUTTON, STATISTIC_EXIT, "Close", 22, 820, 110, 30, cStatisticExitCallBack);
    struct Section {
        int frame, caption, max, min, mean, stddev, num, intervals, histogram, cursorX, cursorY, mkt;
        CtrlCallbackPtr intervalsCb;
        CtrlCallbackPtr histogramCb;
    };
    const Section sections[] = {
        {STATISTIC_FRAME1, STATISTIC_RANGE1_TEXT, STATISTIC_MAX1, STATISTIC_MIN1, STATISTIC_MEAN1, STATISTIC_STDDEV1,
         STATISTIC_NUM1, STATISTIC_INTERVALS1, STATISTIC_HISTOGRAM1, STATISTIC_CURSOR_X1, STATISTIC_CURSOR_Y1,
         STATISTIC_MKT1, sStatisticRange1CallBack, mHistogram1Callback},
        {STATISTIC_FRAME2, STATISTIC_RANGE2_TEXT, STATISTIC_MAX2, STATISTIC_MIN2, STATISTIC_MEAN2, STATISTIC_STDDEV2,
         STATISTIC_NUM2, STATISTIC_INTERVALS2, STATISTIC_HISTOGRAM2, STATISTIC_CURSOR_X2, STATISTIC_CURSOR_Y2,
         STATISTIC_MKT2, sStatisticRange2CallBack, mHistogram2Callback},
    };
    const char *const captions[] = {"All records", "Between the cursors"};
    for (int s = 0; s < 2; ++s) {
        const Section &c = sections[s];
        const int left = 10 + s * 470;
        frame(p, c.frame, 62, left, 460, 560);
        ctrl(p, CTRL_TEXT_MSG, c.caption, "", 68, left + 10, 440, 20);
        SetCtrlVal(p, c.caption, captions[s]);
        const int fields[] = {c.max, c.min, c.mean, c.stddev};
        const char *const names[] = {"Maximum", "Minimum", "Mean", "Std. dev."};
        for (int f = 0; f < 4; ++f) {
            ctrl(p, CTRL_NUMERIC_REAL, fields[f], names[f], 112, left + 10 + f * 110, 100, 26);
            SetCtrlAttribute(p, fields[f], ATTR_CTRL_MODE, VAL_INDICATOR);
            SetCtrlAttribute(p, fields[f], ATTR_PRECISION, 2);
        }
        ctrl(p, CTRL_NUMERIC, c.num, "Num", 168, left + 10, 100, 26);
        SetCtrlAttribute(p, c.num, ATTR_CTRL_MODE, VAL_INDICATOR);
        ctrl(p, CTRL_NUMERIC, c.intervals, "Intervals", 168, left + 120, 100, 26, c.intervalsCb);
        SetCtrlAttribute(p, c.intervals, ATTR_MIN_VALUE, 1);
        SetCtrlAttribute(p, c.intervals, ATTR_MAX_VALUE, 132);
        SetCtrlVal(p, c.intervals, 20);
        // the mean kinetic temperature: a text, empty for humidity and for too few values
        ctrl(p, CTRL_STRING, c.mkt, "Mean kinetic temp.", 224, left + 10, 210, 26);
        SetCtrlAttribute(p, c.mkt, ATTR_CTRL_MODE, VAL_INDICATOR);
        ctrl(p, CTRL_GRAPH, c.histogram, "Histogram", 280, left + 10, 440, 330, c.histogramCb);
        SetGraphCursorCount(p, c.histogram, 1, 0.0, 0.0);
        // the counts are read on the left axis; the right one stays bare
        SetCtrlAttribute(p, c.histogram, ATTR_ACTIVE_YAXIS, VAL_RIGHT_YAXIS);
        SetCtrlAttribute(p, c.histogram, ATTR_YLABEL_VISIBLE, 0);
        SetCtrlAttribute(p, c.histogram, ATTR_ACTIVE_YAXIS, VAL_LEFT_YAXIS);
        ctrl(p, CTRL_NUMERIC_REAL, c.cursorX, "", 168, left + 230, 100, 26);
        SetCtrlAttribute(p, c.cursorX, ATTR_CTRL_MODE, VAL_INDICATOR);
        SetCtrlAttribute(p, c.cursorX, ATTR_PRECISION, 1);
        ctrl(p, CTRL_NUMERIC, c.cursorY, "Records", 168, left + 340, 100, 26);
        SetCtrlAttribute(p, c.cursorY, ATTR_CTRL_MODE, VAL_INDICATOR);
    }
    return finish(p);
}

// ---------------------------------------------------------------- data table
int buildTable(int p) {
    InstallPanelCallback(p, pTableCallBack, nullptr);
    ctrl(p, CTRL_TABLE, TABLE_DATA, "Data", 26, 10, 560, 600);
    InsertTableColumns(p, TABLE_DATA, -1, 1, VAL_CELL_NUMERIC);
    InsertTableColumns(p, TABLE_DATA, -1, 5, VAL_CELL_STRING);
    // column 1: record number; 2: date; 3: time; 4 to 6: the channels
    static const char *const columns[] = {"No.", "Date", "Time", "T1", "T2", "RH"};
    // widths that show all six columns beside the row headers
    static const int widths[] = {50, 86, 70, 88, 88, 112};
    for (int c = 0; c < 6; ++c) {
        SetTableColumnAttribute(p, TABLE_DATA, c + 1, ATTR_LABEL_TEXT, columns[c]);
        SetTableColumnAttribute(p, TABLE_DATA, c + 1, ATTR_COLUMN_WIDTH, widths[c]);
    }

    frame(p, TABLE_FRAME_PROCESS, 26, 585, 300, 360);
    heading(p, TABLE_PROCESS_HEADING, "Processing", 32, 595, 280);
    ctrl(p, CTRL_RING, TABLE_CHANNEL, "Channel", 76, 595, 200, 26);
    ring(p, TABLE_CHANNEL, {{"Temperature", 0}}, 0);
    ctrl(p, CTRL_RING, TABLE_CONDITION, "Condition", 132, 595, 200, 26);
    ring(p, TABLE_CONDITION, {{"And", 0}, {"Or", 1}}, 1);
    ctrl(p, CTRL_BINARY_SWITCH, TABLE_HIGH_ENABLE, "High", 188, 595, 80, 26, sTableHiEnableCallback);
    SetCtrlAttribute(p, TABLE_HIGH_ENABLE, ATTR_OFF_TEXT, "Off");
    SetCtrlAttribute(p, TABLE_HIGH_ENABLE, ATTR_ON_TEXT, "On");
    ctrl(p, CTRL_NUMERIC_REAL, TABLE_HIGH, "", 188, 685, 110, 26);
    SetCtrlAttribute(p, TABLE_HIGH, ATTR_PRECISION, 1);
    ctrl(p, CTRL_BINARY_SWITCH, TABLE_LOW_ENABLE, "Low", 244, 595, 80, 26, sTableLowEnableCallback);
    SetCtrlAttribute(p, TABLE_LOW_ENABLE, ATTR_OFF_TEXT, "Off");
    SetCtrlAttribute(p, TABLE_LOW_ENABLE, ATTR_ON_TEXT, "On");
    ctrl(p, CTRL_NUMERIC_REAL, TABLE_LOW, "", 244, 685, 110, 26);
    SetCtrlAttribute(p, TABLE_LOW, ATTR_PRECISION, 1);
    ctrl(p, CTRL_BINARY_SWITCH, TABLE_ERR_ENABLE, "Err", 300, 595, 80, 26, sTableErrorEnableCallback);
    SetCtrlAttribute(p, TABLE_ERR_ENABLE, ATTR_OFF_TEXT, "Off");
    SetCtrlAttribute(p, TABLE_ERR_ENABLE, ATTR_ON_TEXT, "On");
    ctrl(p, CTRL_COLOR_NUM, TABLE_COLOR, "Colour", 300, 685, 60, 26);
    ctrl(p, CTRL_COMMAND_BUTTON, TABLE_PROCESS, "Go", 344, 595, 110, 30, cTableProcessCallBack);

    frame(p, TABLE_FRAME_COUNTER, 396, 585, 300, 120);
    heading(p, TABLE_COUNTER_HEADING, "Alarm counter", 402, 595, 280);
    ctrl(p, CTRL_NUMERIC, TABLE_COUNTER, "Counter", 446, 595, 120, 26);
    SetCtrlAttribute(p, TABLE_COUNTER, ATTR_CTRL_MODE, VAL_INDICATOR);
    ctrl(p, CTRL_NUMERIC, TABLE_USAGE, "Usage", 446, 735, 120, 26);
    SetCtrlAttribute(p, TABLE_USAGE, ATTR_CTRL_MODE, VAL_INDICATOR);

    ctrl(p, CTRL_COMMAND_BUTTON, TABLE_EXPORT_CSV, "Export CSV\u2026", 536, 595, 250, 30, cTableExportCsvCallBack);
    ctrl(p, CTRL_COMMAND_BUTTON, TABLE_PRINT, "Print", 580, 595, 110, 30, cTablePrintCallBack);
    ctrl(p, CTRL_COMMAND_BUTTON, TABLE_EXIT, "Close", 580, 735, 110, 30, cTableExitCallBack);
    return finish(p);
}

// ---------------------------------------------------------------- temperature calibration
int buildTempCali(int p) {
    InstallPanelCallback(p, pTempCaliCallBack, nullptr);
    ctrl(p, CTRL_TEXT_MSG, TEMPCALI_HEADING, "", 10, 10, 420, 24);
    const int steps[] = {TEMPCALI_STEP1, TEMPCALI_STEP2, TEMPCALI_STEP3};
    const int points[] = {TEMPCALI_POINT1, TEMPCALI_POINT2, TEMPCALI_POINT3};
    for (int i = 0; i < 3; ++i) {
        ctrl(p, CTRL_TEXT_MSG, steps[i], "", 44 + i * 40, 10, 290, 24);
        ctrl(p, CTRL_NUMERIC, points[i], "", 42 + i * 40, 310, 120, 26);
        SetCtrlAttribute(p, points[i], ATTR_MIN_VALUE, -32768);
        SetCtrlAttribute(p, points[i], ATTR_MAX_VALUE, 32767);
    }
    ctrl(p, CTRL_TEXT_BOX, TEMPCALI_NOTE, "", 166, 10, 420, 60);
    SetCtrlAttribute(p, TEMPCALI_NOTE, ATTR_CTRL_MODE, VAL_INDICATOR);
    ctrl(p, CTRL_COMMAND_BUTTON, TEMPCALI_SET, "Set", 236, 10, 130, 30, cOkTempCaliCallBack);
    ctrl(p, CTRL_COMMAND_BUTTON, TEMPCALI_RECALL, "Recall", 236, 155, 130, 30, cRefreshTempCaliCallBack);
    ctrl(p, CTRL_COMMAND_BUTTON, TEMPCALI_EXIT, "Close", 236, 300, 130, 30, cTempCaliExitCallBack);
    return finish(p);
}

// ---------------------------------------------------------------- scaling menu
int buildScaleMenu(int bar) {
    if (NewMenu(bar, SCALMENU_SCALE, "Scale") < 0) return -1;
    if (NewMenuItem(bar, SCALMENU_SCALE, SCALMENU_SCALE_TEMP, "Temperature 1", mXAxisScalTempCallback, nullptr) < 0)
        return -1;
    if (NewMenuItem(bar, SCALMENU_SCALE, SCALMENU_SCALE_TEMP2, "Temperature 2", mXAxisScalTemp2Callback, nullptr) < 0)
        return -1;
    if (NewMenuItem(bar, SCALMENU_SCALE, SCALMENU_SCALE_ALL, "All", mXAxisScalAllCallback, nullptr) < 0) return -1;
    SetMenuBarAttribute(bar, SCALMENU_SCALE_ALL, ATTR_CHECKED, 1);
    return 0;
}

}   // namespace

void RegisterLayouts() {
    RegisterPanelResource(MONITOR, "Tavix", 1100, 752, buildMonitor);
    RegisterPanelResource(MONITORS, "Group Files", 1100, 675, buildMonitors);
    RegisterPanelResource(MSG, "Message", 400, 190, buildMsg);
    RegisterPanelResource(RHCALI, "Humidity Calibration", 570, 165, buildRhCali);
    RegisterPanelResource(SETLOGGER, "Logger Settings", 820, 488, buildSetLogger);
    RegisterPanelResource(SETTING, "Communication Settings", 396, 332, buildSetting);
    RegisterPanelResource(STATISTIC, "Statistics", 950, 632, buildStatistic);
    RegisterPanelResource(TABLE, "Data Table", 900, 636, buildTable);
    RegisterPanelResource(TEMPCALI, "Temperature Calibration", 440, 276, buildTempCali);
    RegisterPanelResource(PREFERENCES, "Preferences", 360, 280, buildPreferences);
    RegisterMenuBarResource(SCALMENU, buildScaleMenu);
}
