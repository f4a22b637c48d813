// The layouts of the two settings windows: the logger's settings and the communication settings.
#include "app/panels_internal.h"
#include "config/Config.h"
#include "link/ComSetting.h"
#include "link/Link.h"
#include "local/PreferencesWindow.h"
#include "panels/Controls.h"
#include "runtime/ui.h"

namespace layout {
namespace {

// ---------------------------------------------------------------- logger settings
// The logging group (with the alarms) on the left; on the right the clock, sleep-mode,
// identifier and calibration groups, each with its commands in a column at its right edge,
// and the window's Close under them.
constexpr int kRightGroupsColumn = 1;
constexpr int kCloseColumn = 2;   // under the groups' command columns
constexpr int kCloseRow = 5;      // below a free row that takes the height the window gains

// A field of the logging group: its kind, id, caption, minimum width and callback.
void logField(int p, CtrlKind kind, int id, const char *caption, int width, CtrlCallbackPtr callback) {
    ctrl(p, kind, id, caption, width, 26, callback);
}

void sampleRate(int p) {
    const int fields[] = {SETLOGGER_RATE_HOUR, SETLOGGER_RATE_MIN, SETLOGGER_RATE_SEC};
    // Two digits each: what is typed stays as typed (a maximum of 12 would turn 13 hours into
    // 1 as the 3 is refused); OK refuses an interval above 12 hours.
    for (int k = 0; k < 3; ++k) {
        logField(p, CTRL_NUMERIC, fields[k], k == 0 ? "Sample rate (h : m : s)" : "", 70, sSampleRateCallBack);
        SetCtrlAttribute(p, fields[k], ATTR_MIN_VALUE, 0);
        SetCtrlAttribute(p, fields[k], ATTR_MAX_VALUE, RATE_FIELD_MAX);
        place(p, fields[k], SETLOGGER_FRAME_LOG, 2, k);
    }
    SetCtrlVal(p, SETLOGGER_RATE_SEC, 2);
}

void loggingGroup(int p) {
    const int g = SETLOGGER_FRAME_LOG;
    frame(p, g, 0, 0, kCloseRow + 1, 1);
    heading(p, SETLOGGER_LOG_HEADING, "Logging", g, 0, 4);
    logField(p, CTRL_RING, SETLOGGER_SAMPLEPOINTS, "Sample points", 150, sSamplePointsCallBack);
    ring(p, SETLOGGER_SAMPLEPOINTS, {{"1000", 0}, {"2000", 1}, {"4000", 2}, {"8000", 3}, {"12000", 4}, {"16000", 5}},
         3);
    place(p, SETLOGGER_SAMPLEPOINTS, g, 1, 0);
    sampleRate(p);
    logField(p, CTRL_RING, SETLOGGER_STARTMODE, "Start mode", 300, sStartModeCallBack);
    ring(p, SETLOGGER_STARTMODE, {{"Start mode 20", 20}, {"Start mode 0", 0}, {"Start mode 1", 1}}, 20);
    place(p, SETLOGGER_STARTMODE, g, 3, 0, 1, 4);
    logField(p, CTRL_STRING, SETLOGGER_STARTDATE, "Start date", 150, sStartDateCallBack);
    SetCtrlAttribute(p, SETLOGGER_STARTDATE, ATTR_MAX_ENTRY_LENGTH, LP_DATE_SIZE - 1);
    place(p, SETLOGGER_STARTDATE, g, 4, 0);
    logField(p, CTRL_STRING, SETLOGGER_STARTTIME, "Start time", 150, sStartTimeCallBack);
    SetCtrlAttribute(p, SETLOGGER_STARTTIME, ATTR_MAX_ENTRY_LENGTH, LP_TIME_SIZE - 1);
    place(p, SETLOGGER_STARTTIME, g, 4, 1, 1, 3);
    logField(p, CTRL_RING, SETLOGGER_UNIT, "Unit", 150, sUnitCallBack);
    ring(p, SETLOGGER_UNIT, {{"C", 'C'}}, 'C');
    place(p, SETLOGGER_UNIT, g, 5, 0);

    heading(p, SETLOGGER_ALARM_HEADING, "Alarm", g, 6, 4);
    logField(p, CTRL_RING, SETLOGGER_ALARMCHANNEL, "Alarm channel", 150, sAlarmChannelCallBack);
    ring(p, SETLOGGER_ALARMCHANNEL, {{"Temperature", 0}}, 0);
    place(p, SETLOGGER_ALARMCHANNEL, g, 7, 0);
    logField(p, CTRL_NUMERIC_REAL, SETLOGGER_HIGHALARM, "High alarm", 110, sAlarmLimitCallBack);
    SetCtrlAttribute(p, SETLOGGER_HIGHALARM, ATTR_PRECISION, 1);
    place(p, SETLOGGER_HIGHALARM, g, 8, 0);
    logField(p, CTRL_NUMERIC_REAL, SETLOGGER_LOWALARM, "Low alarm", 110, sAlarmLimitCallBack);
    SetCtrlAttribute(p, SETLOGGER_LOWALARM, ATTR_PRECISION, 1);
    place(p, SETLOGGER_LOWALARM, g, 8, 1, 1, 2);
    ctrl(p, CTRL_COMMAND_BUTTON, SETLOGGER_LOG_OK, "OK", 100, 30, cOkLogCallBack);
    place(p, SETLOGGER_LOG_OK, g, 7, 3);
    ctrl(p, CTRL_COMMAND_BUTTON, SETLOGGER_LOG_CANCEL, "Cancel", 100, 30, cCancelLogCallBack);
    place(p, SETLOGGER_LOG_CANCEL, g, 8, 3);
    stretch(p, g, VAL_GRID_COLUMN, {1, 1, 1, 0});
    SetGridStretch(p, g, VAL_GRID_ROW, 9, 1);   // the fields stay together at the top
}

// A group of the right-hand column: its frame in row `row` and its heading.
void rightGroup(int p, int group, int row, int headingId, const char *text) {
    frame(p, group, row, kRightGroupsColumn, 1, 2);
    heading(p, headingId, text, group, 0, 3);
    stretch(p, group, VAL_GRID_COLUMN, {1, 1, 0});
}

// A command of a right-hand group, in its command column.
void groupCommand(int p, int group, int id, const char *caption, int row, CtrlCallbackPtr callback) {
    ctrl(p, CTRL_COMMAND_BUTTON, id, caption, 100, 30, callback);
    place(p, id, group, row, 2);
}

void clockGroup(int p) {
    rightGroup(p, SETLOGGER_FRAME_CLOCK, 0, SETLOGGER_CLOCK_HEADING, "Clock");
    ctrl(p, CTRL_STRING, SETLOGGER_LOGGERDATE, "Logger date", 110, 26, sRealDateCallBack);
    place(p, SETLOGGER_LOGGERDATE, SETLOGGER_FRAME_CLOCK, 1, 0);
    ctrl(p, CTRL_STRING, SETLOGGER_LOGGERTIME, "Logger time", 100, 26, sRealTimeCallBack);
    place(p, SETLOGGER_LOGGERTIME, SETLOGGER_FRAME_CLOCK, 1, 1);
    // what the clock texts hold: a longer text could not be read whole
    SetCtrlAttribute(p, SETLOGGER_LOGGERDATE, ATTR_MAX_ENTRY_LENGTH, CLOCK_TEXT_SIZE - 1);
    SetCtrlAttribute(p, SETLOGGER_LOGGERTIME, ATTR_MAX_ENTRY_LENGTH, CLOCK_TEXT_SIZE - 1);
    groupCommand(p, SETLOGGER_FRAME_CLOCK, SETLOGGER_CLOCK_OK, "OK", 1, cOkClockCallBack);
    groupCommand(p, SETLOGGER_FRAME_CLOCK, SETLOGGER_CLOCK_CANCEL, "Cancel", 2, cCancelClockCallBack);
}

void sleepAndIdGroups(int p) {
    rightGroup(p, SETLOGGER_FRAME_SLEEP, 1, SETLOGGER_SLEEP_HEADING, "Sleep mode");
    ctrl(p, CTRL_BINARY_SWITCH, SETLOGGER_SLEEPMODE, "", 160, 30);
    SetCtrlAttribute(p, SETLOGGER_SLEEPMODE, ATTR_OFF_TEXT, "Sleep off");
    SetCtrlAttribute(p, SETLOGGER_SLEEPMODE, ATTR_ON_TEXT, "Sleep on");
    place(p, SETLOGGER_SLEEPMODE, SETLOGGER_FRAME_SLEEP, 1, 0);
    groupCommand(p, SETLOGGER_FRAME_SLEEP, SETLOGGER_SLEEP_OK, "OK", 1, cSleepModeCallBack);

    rightGroup(p, SETLOGGER_FRAME_ID, 2, SETLOGGER_ID_HEADING, "Identifier");
    ctrl(p, CTRL_STRING, SETLOGGER_IDENTIFIER, "Identifier", 200, 26, sIdCallBack);
    SetCtrlAttribute(p, SETLOGGER_IDENTIFIER, ATTR_MAX_ENTRY_LENGTH, SET_ID_FIELD_MAX);
    place(p, SETLOGGER_IDENTIFIER, SETLOGGER_FRAME_ID, 1, 0, 1, 2);
    groupCommand(p, SETLOGGER_FRAME_ID, SETLOGGER_ID_OK, "OK", 1, cOkIdCallBack);
    groupCommand(p, SETLOGGER_FRAME_ID, SETLOGGER_ID_CANCEL, "Cancel", 2, cCancelIdCallBack);
}

void calibrationGroup(int p) {
    rightGroup(p, SETLOGGER_FRAME_CALI, 3, SETLOGGER_CALI_HEADING, "Calibration");
    ctrl(p, CTRL_TEXT_MSG, SETLOGGER_CALITITLE, "", 200, 24);
    place(p, SETLOGGER_CALITITLE, SETLOGGER_FRAME_CALI, 1, 0, 1, 2);
    groupCommand(p, SETLOGGER_FRAME_CALI, SETLOGGER_CALI_START, "Calibrate", 1, cCaliStartCallBack);
}

// ---------------------------------------------------------------- communication settings
// The serial-port group: each port number with the device it stands for; below, the device
// field and the button that binds the chosen number to the device typed there; then the
// line settings. Under the group a row of commands: Preferences… on the left, OK and Cancel
// on the right (detection, never offered in this window, has its place beside Preferences…).
enum { kPrefColumn, kDetectColumn, kFreeColumn, kOkColumn, kCancelColumn, kSettingColumns };

void serialPortGroup(int p) {
    const int g = SETTING_FRAME;
    frame(p, g, 0, 0, 1, kSettingColumns);
    heading(p, SETTING_HEADING, "Serial port", g, 0, 3);
    ctrl(p, CTRL_RING, SETTING_PORT, "Port", 300, 26, sPortNoCallBack);
    place(p, SETTING_PORT, g, 1, 0, 1, 3);
    ctrl(p, CTRL_STRING, SETTING_DEVICE, "Device", 200, 26);
    SetCtrlAttribute(p, SETTING_DEVICE, ATTR_MAX_ENTRY_LENGTH, DEVICE_TEXT_SIZE - 1);
    place(p, SETTING_DEVICE, g, 2, 0, 1, 2);
    ctrl(p, CTRL_COMMAND_BUTTON, SETTING_BIND, "Bind", 80, 26, cBindCallBack);
    place(p, SETTING_BIND, g, 2, 2);
    showPortDevices(p);   // COM1 chosen
    ctrl(p, CTRL_RING, SETTING_BAUD, "Baud rate", 110, 26, sBaudRateCallBack);
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
    place(p, SETTING_BAUD, g, 3, 0);
    ctrl(p, CTRL_RING, SETTING_DATABITS, "Data bits", 100, 28, sDataBitsCallBack);
    ring(p, SETTING_DATABITS, {{"5", 5}, {"6", 6}, {"7", 7}, {"8", 8}}, 8);
    place(p, SETTING_DATABITS, g, 3, 1, 1, 2);
    ctrl(p, CTRL_RING, SETTING_PARITY, "Parity", 110, 26, sParityCallBack);
    ring(p, SETTING_PARITY, {{"None", 0}, {"Odd", 1}, {"Even", 2}, {"Mark", 3}, {"Space", 4}}, 0);
    place(p, SETTING_PARITY, g, 4, 0);
    ctrl(p, CTRL_RING, SETTING_STOPBITS, "Stop bits", 100, 28, sStopBitsCallBack);
    ring(p, SETTING_STOPBITS, {{"1", 1}, {"2", 2}}, 1);
    place(p, SETTING_STOPBITS, g, 4, 1, 1, 2);
    stretch(p, g, VAL_GRID_COLUMN, {1, 1, 0});
    SetGridStretch(p, g, VAL_GRID_ROW, 5, 1);   // the fields stay together at the top
}

}   // namespace

int buildSetLogger(int p) {
    InstallPanelCallback(p, pSetLoggerCallBack, nullptr);
    loggingGroup(p);
    clockGroup(p);
    sleepAndIdGroups(p);
    calibrationGroup(p);
    ctrl(p, CTRL_COMMAND_BUTTON, SETLOGGER_EXIT, "Close", 100, 30, cLogExitCallBack);
    place(p, SETLOGGER_EXIT, 0, kCloseRow, kCloseColumn);
    stretch(p, 0, VAL_GRID_COLUMN, {1, 1, 0});
    SetGridStretch(p, 0, VAL_GRID_ROW, kCloseRow - 1, 1);
    return finishPanel();
}

int buildSetting(int p) {
    InstallPanelCallback(p, pSettingCallBack, nullptr);
    serialPortGroup(p);
    const struct {
        int id;
        const char *caption;
        int column;
        CtrlCallbackPtr callback;
    } commands[] = {
        {SETTING_AUTO, "Detect", kDetectColumn, cAutoCallBack},
        {SETTING_OK, "OK", kOkColumn, cOkCallBack},
        {SETTING_CANCEL, "Cancel", kCancelColumn, cCancelCallBack},
        {SETTING_PREFERENCES, "Preferences\u2026", kPrefColumn, cPreferencesCallBack},
    };
    for (const auto &c : commands) {
        ctrl(p, CTRL_COMMAND_BUTTON, c.id, c.caption, c.id == SETTING_PREFERENCES ? 110 : 90, 30, c.callback);
        place(p, c.id, 0, 1, c.column);
    }
    SetGridStretch(p, 0, VAL_GRID_COLUMN, kFreeColumn, 1);
    SetGridStretch(p, 0, VAL_GRID_ROW, 0, 1);
    return finishPanel();
}

}   // namespace layout
