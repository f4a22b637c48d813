// The names of the layout resources: the resource number of every window and of the menu
// bar, and the id of every control, named PANEL_CONTROL. Plain constants, no state; every
// module that reads or sets a control uses them. The layouts that create the controls and
// attach their callbacks are built in app/panels.cpp.
#pragma once

// ---------------------------------------------------------------- resource numbers
enum {
    MONITOR = 1,     // main window
    MONITORS = 2,    // group-files window
    MSG = 3,         // message window
    RHCALI = 4,      // humidity calibration
    SETLOGGER = 5,   // logger settings
    SETTING = 6,     // communication settings
    STATISTIC = 7,   // statistics and histograms
    TABLE = 8,       // data table
    TEMPCALI = 9,    // temperature calibration
    // preferences (language, date format, default unit and alarm limits)
    PREFERENCES = 10,
    TRIPREPORT = 20,   // trip report: the verdict on the records held, its page and PDF
    // the archive: the recordings kept, their audit trail
    ARCHIVE = 21,
};
enum { SCALMENU = 1 };   // menu bar resource: the chart's scaling pop-up menu

// ---------------------------------------------------------------- main window
enum {
    MONITOR_LOGO = 2,
    MONITOR_GETID,
    MONITOR_ID,
    MONITOR_INFO,
    MONITOR_DATE,
    MONITOR_TIME,
    MONITOR_GRAPH,
    MONITOR_XAXIS_SWITCH,
    MONITOR_START_TIME,
    MONITOR_END_TIME,
    MONITOR_CURSOR_HEADING,
    MONITOR_CURSOR1_LABEL,
    MONITOR_CURSOR1_TEXT,
    MONITOR_CURSOR2_LABEL,
    MONITOR_CURSOR2_TEXT,
    MONITOR_DOWNLOAD_HEADING,
    MONITOR_START_BUTTON,
    MONITOR_END_BUTTON,
    MONITOR_DISPLAY_HEADING,
    MONITOR_OFFSET,
    MONITOR_RANGE,
    MONITOR_MESSAGE,
    MONITOR_MENU1,   // retrieve file
    MONITOR_MENU2,   // save file
    MONITOR_MENU3,   // data table
    MONITOR_MENU4,   // logger settings
    MONITOR_MENU5,   // statistics
    MONITOR_MENU6,   // group files
    MONITOR_MENU7,   // print the main window
    MONITOR_MENU8,   // communication settings
    MONITOR_MENU9,   // help
    MONITOR_EXIT,
    MONITOR_TIMER,
    MONITOR_FRAME_ID,
    MONITOR_FRAME_DOWNLOAD,
    MONITOR_FRAME_CURSOR,
    MONITOR_FRAME_DISPLAY,
    MONITOR_PROGRESS,        // records downloaded, saved or read; shown only while that runs
    MONITOR_TRIP_REPORT,     // opens the trip report
    MONITOR_ARCHIVE,         // opens the archive window
    MONITOR_FRAME_RECORDS,   // the group of the two: the verdict and the archive
};

// ---------------------------------------------------------------- group-files window
enum {
    MONITORS_GRAPH = 2,
    MONITORS_FILE_A,   // the eight file buttons are consecutive ids, A to H
    MONITORS_FILE_B,
    MONITORS_FILE_C,
    MONITORS_FILE_D,
    MONITORS_FILE_E,
    MONITORS_FILE_F,
    MONITORS_FILE_G,
    MONITORS_FILE_H,
    MONITORS_COLOR_A,   // colour selectors, A to H
    MONITORS_COLOR_B,
    MONITORS_COLOR_C,
    MONITORS_COLOR_D,
    MONITORS_COLOR_E,
    MONITORS_COLOR_F,
    MONITORS_COLOR_G,
    MONITORS_COLOR_H,
    MONITORS_CURSOR_A,   // cursor read-outs, A to H
    MONITORS_CURSOR_B,
    MONITORS_CURSOR_C,
    MONITORS_CURSOR_D,
    MONITORS_CURSOR_E,
    MONITORS_CURSOR_F,
    MONITORS_CURSOR_G,
    MONITORS_CURSOR_H,
    MONITORS_NOTES,
    MONITORS_DISPLAY_HEADING,
    MONITORS_OFFSET,
    MONITORS_RANGE,
    MONITORS_USER,
    MONITORS_FRAME_DISPLAY,
    MONITORS_EXIT,   // Close (also Escape)
};

// ---------------------------------------------------------------- message window
enum {
    MSG_TEXT = 2,
    MSG_OK,
};

// ---------------------------------------------------------------- humidity calibration
enum {
    RHCALI_HEADING = 2,
    RHCALI_Z,
    RHCALI_S,
    RHCALI_SET,
    RHCALI_RECALL,
    RHCALI_EXIT,
    RHCALI_RESULT,   // the outcome of the last write: confirmed or not
};

// ---------------------------------------------------------------- logger settings
enum {
    SETLOGGER_LOG_HEADING = 2,
    SETLOGGER_SAMPLEPOINTS,
    SETLOGGER_RATE_HOUR,
    SETLOGGER_RATE_MIN,
    SETLOGGER_RATE_SEC,
    SETLOGGER_STARTMODE,
    SETLOGGER_STARTDATE,
    SETLOGGER_STARTTIME,
    SETLOGGER_UNIT,
    SETLOGGER_ALARM_HEADING,
    SETLOGGER_ALARMCHANNEL,
    SETLOGGER_HIGHALARM,
    SETLOGGER_LOWALARM,
    SETLOGGER_LOG_OK,
    SETLOGGER_LOG_CANCEL,
    SETLOGGER_CLOCK_HEADING,
    SETLOGGER_LOGGERDATE,
    SETLOGGER_LOGGERTIME,
    SETLOGGER_CLOCK_OK,
    SETLOGGER_CLOCK_CANCEL,
    SETLOGGER_SLEEP_HEADING,
    SETLOGGER_SLEEPMODE,
    SETLOGGER_SLEEP_OK,
    SETLOGGER_ID_HEADING,
    SETLOGGER_IDENTIFIER,
    SETLOGGER_ID_OK,
    SETLOGGER_ID_CANCEL,
    SETLOGGER_CALI_HEADING,
    SETLOGGER_CALITITLE,
    SETLOGGER_CALI_START,
    SETLOGGER_EXIT,
    SETLOGGER_FRAME_LOG,
    SETLOGGER_FRAME_CLOCK,
    SETLOGGER_FRAME_SLEEP,
    SETLOGGER_FRAME_ID,
    SETLOGGER_FRAME_CALI,
};

// ---------------------------------------------------------------- communication settings
enum {
    SETTING_HEADING = 2,
    SETTING_PORT,
    SETTING_BAUD,
    SETTING_DATABITS,
    SETTING_PARITY,
    SETTING_STOPBITS,
    SETTING_AUTO,
    SETTING_OK,
    SETTING_CANCEL,
    SETTING_DEVICE,   // the device the chosen port number stands for
    SETTING_BIND,     // bind the port number to the device path typed in SETTING_DEVICE
    SETTING_FRAME,
    SETTING_PREFERENCES,   // opens the preferences window
};

// ---------------------------------------------------------------- statistics
enum {
    STATISTIC_CHANNEL = 2,
    STATISTIC_RANGE1_TEXT,
    STATISTIC_MAX1,
    STATISTIC_MIN1,
    STATISTIC_MEAN1,
    STATISTIC_STDDEV1,
    STATISTIC_NUM1,
    STATISTIC_INTERVALS1,
    STATISTIC_HISTOGRAM1,
    STATISTIC_CURSOR_X1,
    STATISTIC_CURSOR_Y1,
    STATISTIC_RANGE2_TEXT,
    STATISTIC_MAX2,
    STATISTIC_MIN2,
    STATISTIC_MEAN2,
    STATISTIC_STDDEV2,
    STATISTIC_NUM2,
    STATISTIC_INTERVALS2,
    STATISTIC_HISTOGRAM2,
    STATISTIC_CURSOR_X2,
    STATISTIC_CURSOR_Y2,
    STATISTIC_PRINT,
    STATISTIC_EXIT,
    STATISTIC_FRAME1,
    STATISTIC_FRAME2,
    STATISTIC_MKT1,   // mean kinetic temperature of section 1 (text: empty for humidity)
    STATISTIC_MKT2,
    STATISTIC_RECORDS1,   // first and last record number a section counts
    STATISTIC_RECORDS2,
    STATISTIC_TRIP_REPORT,   // opens the trip report
};

// ---------------------------------------------------------------- data table
enum {
    TABLE_DATA = 2,
    TABLE_PROCESS_HEADING,
    TABLE_CHANNEL,
    TABLE_CONDITION,
    TABLE_HIGH_ENABLE,
    TABLE_HIGH,
    TABLE_LOW_ENABLE,
    TABLE_LOW,
    TABLE_ERR_ENABLE,
    TABLE_COLOR,
    TABLE_PROCESS,
    TABLE_COUNTER_HEADING,
    TABLE_COUNTER,
    TABLE_USAGE,
    TABLE_PRINT,
    TABLE_EXIT,
    TABLE_FRAME_PROCESS,
    TABLE_FRAME_COUNTER,
    TABLE_EXPORT_CSV,
};

// ---------------------------------------------------------------- temperature calibration
enum {
    TEMPCALI_HEADING = 2,
    TEMPCALI_STEP1,
    TEMPCALI_POINT1,
    TEMPCALI_STEP2,
    TEMPCALI_POINT2,
    TEMPCALI_STEP3,
    TEMPCALI_POINT3,
    TEMPCALI_NOTE,
    TEMPCALI_SET,
    TEMPCALI_RECALL,
    TEMPCALI_EXIT,
    TEMPCALI_RESULT,   // the outcome of the last write: confirmed or not
};

// ---------------------------------------------------------------- scaling menu
enum {
    SCALMENU_SCALE = 2,     // the menu
    SCALMENU_SCALE_TEMP,    // left axis follows channel 0
    SCALMENU_SCALE_TEMP2,   // left axis follows channel 1
    SCALMENU_SCALE_ALL,     // automatic
};

// ---------------------------------------------------------------- preferences
enum {
    PREFERENCES_LANGUAGE = 2,   // ring: index into the language files found
    PREFERENCES_DATE_FORMAT,    // ring: 0 month-day-year, 1 day-month-year, 2 year-month-day
    PREFERENCES_UNIT,           // ring: 0 Celsius, 1 Fahrenheit
    PREFERENCES_HIGH,           // default high alarm limit
    PREFERENCES_LOW,            // default low alarm limit
    PREFERENCES_NOTE,           // "take effect at the next start"
    PREFERENCES_OK,
    PREFERENCES_CANCEL,
    PREFERENCES_ARCHIVE,   // switch: downloads kept in the archive (on) or not
    PREFERENCES_SERVER,    // the server archive's URL ("" = none)
    PREFERENCES_SITE,      // this PC's site name ("" = the host name)
};

// ---------------------------------------------------------------- archive
enum {
    ARCHIVE_LOGGER = 2,   // filter: a logger identifier ("" = every logger)
    ARCHIVE_FROM,         // filter: recordings with a record from this date (YYYY-MM-DD)
    ARCHIVE_TO,           // ... up to this date
    ARCHIVE_SORT,         // ring: the order of the list (RecordingSort)
    ARCHIVE_FILTER,       // applies the filter and the order
    ARCHIVE_LIST,         // table: one row per recording
    ARCHIVE_OPEN,         // opens the chosen recording in the main chart
    ARCHIVE_SLOT,         // ring: group-files slot A to H
    ARCHIVE_OPEN_SLOT,    // opens the chosen recording in that slot
    ARCHIVE_EXPORT,       // writes the chosen recording's original data file
    ARCHIVE_TRAIL,        // shows the chosen recording's audit trail below the list
    ARCHIVE_TRAIL_TEXT,   // text box: that trail
    ARCHIVE_HEAD,         // the audit trail's chain head
    ARCHIVE_CLOSE,
    ARCHIVE_PROFILE,   // ring: the profile the verdict column judges by (the trip report's)
    ARCHIVE_SITES,     // ring: this PC's archive (0) or all sites on the server (1; a server is set)
    ARCHIVE_SITE,      // filter: a site name ("" = every site)
};

// ---------------------------------------------------------------- trip report
enum {
    TRIPREPORT_PROFILE = 2,   // ring: the profiles, by their index in the list offered
    TRIPREPORT_PREVIEW,       // picture: the page
    TRIPREPORT_MESSAGE,       // text: what went wrong with the profiles file ("" = nothing)
    TRIPREPORT_SAVE_PDF,
    TRIPREPORT_PRINT,
    TRIPREPORT_EXIT,
};
