// The rows of the window texts, for WindowTexts.cpp alone: for each window, the captions it
// takes from its section of the language file, the texts of the section kept in globals, and
// the button captions every window shares (read with the main window's texts). Each table is
// applied in its order by one loop; a key missing from the section leaves its target as it was.
#pragma once

#include <cstddef>

#include "local/ArchiveTexts.h"
#include "local/Local.h"
#include "panels/Panels.h"

namespace texts {

// How a caption's text goes on its control.
enum class Put {
    Label,     // its caption (label)
    Value,     // its value (a text control: a heading, a note)
    OffText,   // a switch's text for off
    OnText,    // a switch's text for on
};

// A key of the current section and the control of the window it goes on.
struct Caption {
    int control;
    const char *key;
    Put put = Put::Label;
};

// A key of the current section kept in a global, cut to the global's capacity.
struct Kept {
    const char *key;
    char *global;
    std::size_t capacity;
    template <std::size_t N>
    constexpr Kept(const char *k, char (&g)[N]) : key(k), global(g), capacity(N) {}
};

// A shared button caption (cmdOk, cmdCancel, ...) put on a control as it is, also when empty.
struct Shared {
    int control;
    const char *text;
};

// An item of a menu bar and the key of its name.
struct MenuItem {
    int item;
    const char *key;
};

// ---------------------------------------------------------------- main window

// Section "MainWindow": the main window's captions and the date and time words the other
// windows share.
constexpr Caption kMainCaptions[] = {
    {MONITOR_MENU1, "Menu1"},
    {MONITOR_MENU2, "Menu2"},
    {MONITOR_MENU3, "Menu3"},
    {MONITOR_MENU4, "Menu4"},
    {MONITOR_MENU5, "Menu5"},
    {MONITOR_MENU6, "Menu6"},
    {MONITOR_MENU7, "Menu7"},
    {MONITOR_MENU8, "Menu8"},
    {MONITOR_MENU9, "Menu9"},
    {MONITOR_TRIP_REPORT, "TripReport"},
    {MONITOR_ARCHIVE, "ArchiveCommand"},
    {MONITOR_GETID, "CMDGetID", Put::Value},
    {MONITOR_DATE, "TXTDate"},
    {MONITOR_TIME, "TXTTime"},
    {MONITOR_CURSOR_HEADING, "CursorSectionName", Put::Value},
    {MONITOR_CURSOR1_LABEL, "Cursor1", Put::Value},
    {MONITOR_CURSOR2_LABEL, "Cursor2", Put::Value},
    {MONITOR_DOWNLOAD_HEADING, "DownloadSectionName", Put::Value},
    {MONITOR_START_BUTTON, "CMDStart"},
    {MONITOR_END_BUTTON, "CMDEnd"},
    {MONITOR_DISPLAY_HEADING, "DisplayControlSectionName", Put::Value},
    {MONITOR_OFFSET, "SWOffset"},
    {MONITOR_RANGE, "SWRange"},
};
constexpr Kept kMainKept[] = {
    {"MainTitle", wMainTitle}, {"Menu1", wRetrieveFile}, {"Menu2", wSaveFile}, {"TXTDate", wDate}, {"TXTTime", wTime},
};

// Section "MainWindow", the chart's part: its name, the time-axis switch, the channel and axis
// names the chart and the other windows use, and the scaling menu.
constexpr Caption kChartCaptions[] = {
    {MONITOR_GRAPH, "GraphSectionName"},
    {MONITOR_XAXIS_SWITCH, "SWXAxisL", Put::OffText},
    {MONITOR_XAXIS_SWITCH, "SWXAxisR", Put::OnText},
};
constexpr Kept kChartKept[] = {
    {"TXTOnGraph1", wTemperature},
    {"TXTOnGraph4", wTemperature2},
    {"TXTYAxisL11", wTemp1C},
    {"TXTYAxisL12", wTemp1F},
    {"TXTYAxisL21", wTemp2C},
    {"TXTYAxisL22", wTemp2F},
    {"TXTOnGraph1_41670", wTemperature_41670},
    {"TXTOnGraph4_41670", wTemperature2_41670},
    {"TXTYAxisL11_41670", wTemp1C_41670},
    {"TXTYAxisL12_41670", wTemp1F_41670},
    {"TXTYAxisL21_41670", wTemp2C_41670},
    {"TXTYAxisL22_41670", wTemp2F_41670},
    {"TXTOnGraph2", wHumidity},
    {"TXTYAxisL1", wTempC},
    {"TXTYAxisL2", wTempF},
    {"TXTYAxisL", wTempAxis},
    {"TXTYAxisR", wRh},
};
constexpr MenuItem kScaleMenu[] = {
    {SCALMENU_SCALE_TEMP, "ScaleMenu1"},
    {SCALMENU_SCALE_TEMP2, "ScaleMenu2"},
    {SCALMENU_SCALE_ALL, "ScaleMenu3"},
};

// Section "Commands": the button captions every window uses.
constexpr Kept kCommandKept[] = {
    {"CMDOk", cmdOk}, {"CMDCancel", cmdCancel}, {"CMDGo", cmdGo}, {"CMDSet", cmdSet}, {"CMDRecall", cmdRecall},
};

// Section "Others": units, words of the status line and the group-files notes. "File" and
// "Index" are read with the others and shown nowhere.
constexpr Kept kOtherKept[] = {
    {"Notes", wNotes},       {"Records", wRecords},   {"Points", wPoints},     {"Version", wVersion},
    {"DegreeC", wDegree[0]}, {"DegreeF", wDegree[1]}, {"RHUnit", wRhUnit},     {"Statistic", wStatistic},
    {"Unit", wUnit},         {"Rate", wRate},         {"RecordNo", wRecordNo}, {"FileName", wFileName},
};

// ---------------------------------------------------------------- communication settings

constexpr Caption kCommSetCaptions[] = {
    {SETTING_HEADING, "CommSectionName", Put::Value},
    {SETTING_PORT, "PortNo"},
    {SETTING_BAUD, "BaudRate"},
    {SETTING_DATABITS, "DataBits"},
    {SETTING_PARITY, "Parity"},
    {SETTING_STOPBITS, "StopBits"},
    {SETTING_AUTO, "CommAuto"},
    // the device of a port number and the button that binds a typed device to it
    {SETTING_DEVICE, "DeviceLabel"},
    {SETTING_BIND, "BindButton"},
    {SETTING_PREFERENCES, "PreferencesButton"},
};
constexpr Shared kCommSetShared[] = {{SETTING_OK, cmdOk}, {SETTING_CANCEL, cmdCancel}};
// the port list's marks and the refusal to bind port number 1
constexpr Kept kCommSetKept[] = {
    {"PortPresent", commPortPresent},
    {"PortMissing", commPortMissing},
    {"PortOneRefused", commPortOneRefused},
};

// ---------------------------------------------------------------- preferences

constexpr Caption kPreferencesCaptions[] = {
    {PREFERENCES_LANGUAGE, "LanguageLabel"},
    {PREFERENCES_DATE_FORMAT, "DateFormatLabel"},
    {PREFERENCES_UNIT, "DefaultUnitLabel"},
    {PREFERENCES_HIGH, "DefaultHighLabel"},
    {PREFERENCES_LOW, "DefaultLowLabel"},
    {PREFERENCES_NOTE, "NextStartNote", Put::Value},
    {PREFERENCES_ARCHIVE, "ArchiveLabel"},
    {PREFERENCES_ARCHIVE, "ArchiveOff", Put::OffText},
    {PREFERENCES_ARCHIVE, "ArchiveOn", Put::OnText},
    {PREFERENCES_SERVER, "ServerLabel"},
    {PREFERENCES_SITE, "SiteLabel"},
};
constexpr Shared kPreferencesShared[] = {{PREFERENCES_OK, cmdOk}, {PREFERENCES_CANCEL, cmdCancel}};
constexpr Kept kPreferencesKept[] = {
    {"PreferencesTitle", prefsTitle},           {"PreferencesSaved", prefsSaved},
    {"PreferencesNotWritten", prefsNotWritten}, {"LimitsOrder", prefsLimitsOrder},
    {"ServerPassword", prefsServerPassword},
};

// ---------------------------------------------------------------- archive

constexpr Caption kArchiveCaptions[] = {
    {ARCHIVE_LOGGER, "LoggerFilter"}, {ARCHIVE_FROM, "FromFilter"},      {ARCHIVE_TO, "ToFilter"},
    {ARCHIVE_SORT, "SortLabel"},      {ARCHIVE_FILTER, "FilterButton"},  {ARCHIVE_OPEN, "OpenButton"},
    {ARCHIVE_SLOT, "SlotLabel"},      {ARCHIVE_OPEN_SLOT, "SlotButton"}, {ARCHIVE_EXPORT, "ExportButton"},
    {ARCHIVE_TRAIL, "TrailButton"},   {ARCHIVE_CLOSE, "CloseButton"},    {ARCHIVE_PROFILE, "ProfileLabel"},
    {ARCHIVE_SITES, "SitesLabel"},    {ARCHIVE_SITE, "SiteFilter"},
};
constexpr Kept kArchiveKept[] = {
    {"Yes", archiveYes},
    {"No", archiveNo},
    {"Flagged", archiveFlagged},
    {"Imported", archiveImported},
    {"ChainHead", archiveChainHead},
    {"TrailTitle", archiveTrailTitle},
    {"ExportTitle", archiveExportTitle},
    {"ExportDone", archiveExportDone},
    {"NoSelection", archiveNoSelection},
    {"ThisPc", archiveThisPc},
    {"AllSites", archiveAllSites},
};

// ---------------------------------------------------------------- logger settings

constexpr Caption kLoggerSetCaptions[] = {
    // logging
    {SETLOGGER_LOG_HEADING, "LoggerSetSectionName", Put::Value},
    {SETLOGGER_SAMPLEPOINTS, "SamplePoints"},
    {SETLOGGER_RATE_HOUR, "SampleRate"},
    {SETLOGGER_STARTMODE, "StartMode"},
    {SETLOGGER_STARTDATE, "StartDate"},
    {SETLOGGER_STARTTIME, "StartTime"},
    {SETLOGGER_UNIT, "Unit"},
    // alarms
    {SETLOGGER_ALARM_HEADING, "AlarmSetSetionName", Put::Value},
    {SETLOGGER_ALARMCHANNEL, "AlarmChannel"},
    {SETLOGGER_HIGHALARM, "HighAlarm"},
    {SETLOGGER_LOWALARM, "LowAlarm"},
    // clock
    {SETLOGGER_CLOCK_HEADING, "ClockSetSectionName", Put::Value},
    {SETLOGGER_LOGGERDATE, "LoggerDate"},
    {SETLOGGER_LOGGERTIME, "LoggerTime"},
    // sleep mode
    {SETLOGGER_SLEEP_HEADING, "SleepSetSectionName", Put::Value},
    {SETLOGGER_SLEEPMODE, "SleepMode1", Put::OffText},
    {SETLOGGER_SLEEPMODE, "SleepMode2", Put::OnText},
    // identifier and calibration
    {SETLOGGER_ID_HEADING, "IDSetSectionName", Put::Value},
    {SETLOGGER_IDENTIFIER, "Identifier"},
    {SETLOGGER_CALI_HEADING, "CaliSetSetionName", Put::Value},
    {SETLOGGER_CALITITLE, "CaliTitle", Put::Value},
    {SETLOGGER_CALI_START, "SettingTitle"},
    // the window's close button
    {SETLOGGER_EXIT, "CloseButton"},
};
constexpr Shared kLoggerSetShared[] = {
    {SETLOGGER_LOG_OK, cmdOk},           {SETLOGGER_LOG_CANCEL, cmdCancel}, {SETLOGGER_CLOCK_OK, cmdOk},
    {SETLOGGER_CLOCK_CANCEL, cmdCancel}, {SETLOGGER_SLEEP_OK, cmdOk},       {SETLOGGER_ID_OK, cmdOk},
    {SETLOGGER_ID_CANCEL, cmdCancel},
};
// "Unit4" and "Unit2" are read with the others and shown nowhere.
constexpr Kept kLoggerSetKept[] = {
    {"StartMode0", wStartMode0}, {"StartMode1", wStartMode1}, {"StartMode2", wStartMode2},
    {"StartMode3", wStartMode3}, {"StartMode4", wStartMode4}, {"StartMode20", wStartMode20},
    {"Unit3", wUnit3},           {"Unit1", wUnit1},
};

// ---------------------------------------------------------------- calibration

constexpr Caption kTempCaliCaptions[] = {
    {TEMPCALI_HEADING, "TempCaliSectionName", Put::Value}, {TEMPCALI_STEP1, "TempCaliStep1Lable", Put::Value},
    {TEMPCALI_STEP2, "TempCaliStep2Lable", Put::Value},    {TEMPCALI_STEP3, "TempCaliStep3Lable", Put::Value},
    {TEMPCALI_NOTE, "TempCaliNote", Put::Value},           {TEMPCALI_EXIT, "CloseButton"},
};
constexpr Shared kTempCaliShared[] = {{TEMPCALI_SET, cmdSet}, {TEMPCALI_RECALL, cmdRecall}};

constexpr Caption kRhCaliCaptions[] = {
    {RHCALI_HEADING, "RhCaliSectionName", Put::Value},
    {RHCALI_EXIT, "CloseButton"},
};
constexpr Shared kRhCaliShared[] = {{RHCALI_SET, cmdSet}, {RHCALI_RECALL, cmdRecall}};

// ---------------------------------------------------------------- data table

constexpr Caption kTableCaptions[] = {
    {TABLE_DATA, "TableSectionName"},
    {TABLE_PROCESS_HEADING, "DataManipulationName", Put::Value},
    {TABLE_CHANNEL, "TableChannel"},
    {TABLE_CONDITION, "TableConditionName"},
    {TABLE_COLOR, "TableColor"},
    // the alarm switches, with their two state texts
    {TABLE_HIGH_ENABLE, "High"},
    {TABLE_LOW_ENABLE, "Low"},
    {TABLE_ERR_ENABLE, "Err"},
    {TABLE_HIGH_ENABLE, "SwitchOff", Put::OffText},
    {TABLE_HIGH_ENABLE, "SwitchOn", Put::OnText},
    {TABLE_LOW_ENABLE, "SwitchOff", Put::OffText},
    {TABLE_LOW_ENABLE, "SwitchOn", Put::OnText},
    {TABLE_ERR_ENABLE, "SwitchOff", Put::OffText},
    {TABLE_ERR_ENABLE, "SwitchOn", Put::OnText},
    {TABLE_COUNTER_HEADING, "AlarmCounterUsageName", Put::Value},
    {TABLE_COUNTER, "Counter"},
    {TABLE_USAGE, "Usage"},
    {TABLE_EXPORT_CSV, "cmdExportCsv"},
    {TABLE_PRINT, "PrintButton"},
    {TABLE_EXIT, "CloseButton"},
};
constexpr Shared kTableShared[] = {{TABLE_PROCESS, cmdGo}};

// ---------------------------------------------------------------- statistics

// The window's two sections (all records, between the cursors) have the same captions.
constexpr Caption kStatisticCaptions[] = {
    {STATISTIC_CHANNEL, "StatisticChannel"},
    {STATISTIC_HISTOGRAM1, "THistogramName"},
    {STATISTIC_HISTOGRAM2, "THistogramName"},
    {STATISTIC_RANGE1_TEXT, "Range1", Put::Value},
    {STATISTIC_RANGE2_TEXT, "Range2", Put::Value},
    {STATISTIC_INTERVALS1, "Intervals"},
    {STATISTIC_INTERVALS2, "Intervals"},
    {STATISTIC_MAX1, "Maximum"},
    {STATISTIC_MAX2, "Maximum"},
    {STATISTIC_MIN1, "Minimum"},
    {STATISTIC_MIN2, "Minimum"},
    {STATISTIC_MEAN1, "Mean"},
    {STATISTIC_MEAN2, "Mean"},
    {STATISTIC_STDDEV1, "StdDev"},
    {STATISTIC_STDDEV2, "StdDev"},
    {STATISTIC_CURSOR_Y1, "Records"},
    {STATISTIC_CURSOR_Y2, "Records"},
    {STATISTIC_NUM1, "Num"},
    {STATISTIC_NUM2, "Num"},
    {STATISTIC_MKT1, "wMkt"},
    {STATISTIC_MKT2, "wMkt"},
    {STATISTIC_PRINT, "PrintButton"},
    {STATISTIC_EXIT, "CloseButton"},
    {STATISTIC_TRIP_REPORT, "StatisticTripReport"},
};
constexpr Kept kStatisticKept[] = {
    {"THistogramName", wHistogramT},
    {"T2HistogramName", wHistogramT2},
    {"RHistogramName", wHistogramR},
    {"RecordSpan", wRecordSpan},
};

// ---------------------------------------------------------------- group files

constexpr Caption kGroupFilesCaptions[] = {
    {MONITORS_USER, "UserLabel"},
    {MONITORS_EXIT, "CloseButton"},
};
// the chart and display texts are those of the main window
constexpr Caption kGroupChartCaptions[] = {
    {MONITORS_GRAPH, "GraphSectionName"},
    {MONITORS_DISPLAY_HEADING, "DisplayControlSectionName", Put::Value},
    {MONITORS_OFFSET, "SWOffset"},
    {MONITORS_RANGE, "SWRange"},
};

// ---------------------------------------------------------------- trip report

constexpr Caption kTripReportCaptions[] = {
    {TRIPREPORT_PROFILE, "TripReportProfile"},
    {TRIPREPORT_SAVE_PDF, "TripReportSavePdf"},
    {TRIPREPORT_PRINT, "TripReportPrint"},
    {TRIPREPORT_EXIT, "TripReportClose"},
};

}   // namespace texts
