// The window texts: every caption, title, heading, list entry and message comes from the
// language file chosen by the preferences. One function per window puts its texts on the
// window; the main window's function also fills the text globals the other modules show.
//
// Every function: read the language file into a sorted store (a read error or a file
// without sections is reported and nothing is applied), then for each of its sections in
// turn apply the keys in a fixed order (an empty or missing section is reported and
// skipped), then dispose of the store. A key missing from a present section leaves its
// target and its global as they were. Targets get the text as read; globals keep what
// fits their capacity.
#include <cstdio>
#include <initializer_list>
#include <utility>

#include "ini/inifile.h"
#include "local/Local.h"
#include "local/PreferencesWindow.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

char languagePath[260] = {};

namespace {

// ---------------------------------------------------------------- the language file

// Read the language file into a new sorted store held in localIni. False when there is
// nothing to apply: the pop-up (read error or no section at all) has been shown and the
// store disposed of.
bool openLanguageFile(const char *readError, const char *sectionsError) {
    localIni = Ini_New(1);
    const char *problem = nullptr;
    if (Ini_ReadFromFile(localIni, languagePath) != 0)
        problem = readError;
    else if (Ini_NumberOfSections(localIni) <= 0)
        problem = sectionsError;
    if (problem == nullptr) return true;
    MessagePopup(localPath, problem);
    Ini_Dispose(localIni);
    localIni = nullptr;
    return false;
}

void closeLanguageFile() {
    Ini_Dispose(localIni);
    localIni = nullptr;
}

// Make `name` the section of the following lookups. False, after the items-error pop-up,
// when the section is missing or has no items.
bool useSection(const char *name, const char *itemsError) {
    saveString(name, sLocal.section);
    if (Ini_NumberOfItems(localIni, sLocal.section) != 0) return true;
    MessagePopup(localPath, itemsError);
    return false;
}

// The text of a key of the current section; null when the key is missing.
const char *fetch(const char *key) {
    const char *value = nullptr;
    Ini_GetPointerToRawString(localIni, sLocal.section, key, &value);
    return value;
}

// ---------------------------------------------------------------- applying a text
// Each fetches the key, applies it when present and returns it (null when missing).

const char *title(int panel, const char *key) {
    const char *t = fetch(key);
    if (t) SetPanelAttribute(panel, ATTR_TITLE, t);
    return t;
}

// The caption of a control (the text on a button, the header of a table).
const char *label(int panel, int ctrl, const char *key) {
    const char *t = fetch(key);
    if (t) SetCtrlAttribute(panel, ctrl, ATTR_LABEL_TEXT, t);
    return t;
}

// The same caption on two controls.
void label(int panel, int ctrl1, int ctrl2, const char *key) {
    label(panel, ctrl1, key);
    label(panel, ctrl2, key);
}

// The text shown by a text control (headings, notes), set as its value.
const char *text(int panel, int ctrl, const char *key) {
    const char *t = fetch(key);
    if (t) SetCtrlVal(panel, ctrl, t);
    return t;
}

// The two state texts of a switch.
void offText(int panel, int ctrl, const char *key) {
    if (const char *t = fetch(key)) SetCtrlAttribute(panel, ctrl, ATTR_OFF_TEXT, t);
}
void onText(int panel, int ctrl, const char *key) {
    if (const char *t = fetch(key)) SetCtrlAttribute(panel, ctrl, ATTR_ON_TEXT, t);
}

// The name of a chart's x axis, left or right y axis. Naming a y axis makes it the active
// one for the moment; the left axis is the active one afterwards.
void xName(int panel, int graph, const char *t) {
    if (t) SetCtrlAttribute(panel, graph, ATTR_XNAME, t);
}
void yName(int panel, int graph, int axis, const char *t) {
    if (t == nullptr) return;
    SetCtrlAttribute(panel, graph, ATTR_ACTIVE_YAXIS, axis);
    SetCtrlAttribute(panel, graph, ATTR_YNAME, t);
    SetCtrlAttribute(panel, graph, ATTR_ACTIVE_YAXIS, VAL_LEFT_YAXIS);
}

// Keep a text in a global (cut to its capacity); nothing when the key was missing.
template <std::size_t N>
void store(const char *t, char (&global)[N]) {
    if (t) saveString(t, global);
}

// ---------------------------------------------------------------- the error texts

struct Errors {
    const char *read;       // the file cannot be read
    const char *items;      // a section is missing or empty
    const char *sections;   // the file has no section at all
};

const Errors kMainErrors = {"ERROR 610: Error reading ini file !", "ERROR 611: Error reading [General] items !",
                            "ERROR 612: Error reading ini sections !"};
const Errors kCommSetErrors = {"ERROR 616: Error reading ini file !", "ERROR 617: Error reading [General] items !",
                               "ERROR 618: Error reading ini sections !"};
const Errors kLoggerSetErrors = {"ERROR 628: Error reading ini file !", "ERROR 629: Error reading [General] items !",
                                 "ERROR 630: Error reading ini sections !"};
const Errors kTempCaliErrors = {"ERROR 619: Error reading ini file !",
                                "ERROR 620: Error reading [TempCaliWindow] items !",
                                "ERROR 621: Error reading ini sections !"};
const Errors kRhCaliErrors = {"ERROR 619: Error reading ini file !", "ERROR 620: Error reading [RhCaliWindow] items !",
                              "ERROR 621: Error reading ini sections !"};
const Errors kTableErrors = {"ERROR 619: Error reading ini file !", "ERROR 620: Error reading [TableWindows] items !",
                             "ERROR 621: Error reading ini sections !"};
const Errors kStatisticErrors = {"ERROR 622: Error reading ini file !", "ERROR 623: Error reading [General] items !",
                                 "ERROR 624: Error reading ini sections !"};
const Errors kGroupFilesErrors = {"ERROR 625: Error reading ini file !", "ERROR 626: Error reading [General] items !",
                                  "ERROR 627: Error reading ini sections !"};

// The messages and warnings of section "Message", in the order they are read.
struct MessageKey {
    const char *key;
    char *global;
};
#define TAVIX_MESSAGE_KEY(name, key) {key, name},
const MessageKey kMessages[] = {TAVIX_MESSAGE_TEXTS(TAVIX_MESSAGE_KEY)};
#undef TAVIX_MESSAGE_KEY

// The parity list's items by their value, the chosen one kept.
void parityItems() {
    const char *const keys[] = {"ParityNone", "ParityOdd", "ParityEven", "ParityMark", "ParitySpace"};
    int chosen = 0;
    GetCtrlVal(idSetting, SETTING_PARITY, &chosen);
    for (int value = 0; value < 5; ++value) {
        const char *t = fetch(keys[value]);
        int index = -1;
        if (!t || GetIndexFromValue(idSetting, SETTING_PARITY, &index, value) < 0 || index < 0) continue;
        DeleteListItem(idSetting, SETTING_PARITY, index, 1);
        InsertListItem(idSetting, SETTING_PARITY, index, t, value);
    }
    SetCtrlVal(idSetting, SETTING_PARITY, chosen);
}

// The two state texts of the data table's switches.
void switchTexts(int panel, std::initializer_list<int> switches) {
    for (const int id : switches) {
        offText(panel, id, "SwitchOff");
        onText(panel, id, "SwitchOn");
    }
}

// "A 檔案" ... "H 檔案" on the group-files window's file buttons.
void fileButtonLabels(const char *word) {
    for (int k = 0; k < 8; ++k) {
        char caption[16];
        std::snprintf(caption, sizeof caption, "%c %s", 'A' + k, word);
        SetCtrlAttribute(idMonitors, MONITORS_FILE_A + k, ATTR_LABEL_TEXT, caption);
    }
}

}   // namespace

// ---------------------------------------------------------------- main window

namespace {

// Section "MainWindow": the main window's captions, and the window texts the other windows share.
void mainWindowTexts() {
    title(idMonitor, "MainTitle");
    store(fetch("MainTitle"), wMainTitle);
    store(label(idMonitor, MONITOR_MENU1, "Menu1"), wRetrieveFile);
    store(label(idMonitor, MONITOR_MENU2, "Menu2"), wSaveFile);
    label(idMonitor, MONITOR_MENU3, "Menu3");
    label(idMonitor, MONITOR_MENU4, "Menu4");
    label(idMonitor, MONITOR_MENU5, "Menu5");
    label(idMonitor, MONITOR_MENU6, "Menu6");
    label(idMonitor, MONITOR_MENU7, "Menu7");
    label(idMonitor, MONITOR_MENU8, "Menu8");
    label(idMonitor, MONITOR_MENU9, "Menu9");
    text(idMonitor, MONITOR_GETID, "CMDGetID");
    store(label(idMonitor, MONITOR_DATE, "TXTDate"), wDate);
    store(label(idMonitor, MONITOR_TIME, "TXTTime"), wTime);

    // the captions under the chart's first and last record: "[Date & Time" ... "Date & Time]"
    char caption[2 * WINDOW_TEXT_SIZE + 8];
    std::snprintf(caption, sizeof caption, "[%s & %s", wDate, wTime);
    SetCtrlVal(idMonitor, MONITOR_START_TIME, caption);
    std::snprintf(caption, sizeof caption, "%s & %s]", wDate, wTime);
    SetCtrlVal(idMonitor, MONITOR_END_TIME, caption);

    text(idMonitor, MONITOR_CURSOR_HEADING, "CursorSectionName");
    text(idMonitor, MONITOR_CURSOR1_LABEL, "Cursor1");
    text(idMonitor, MONITOR_CURSOR2_LABEL, "Cursor2");
    text(idMonitor, MONITOR_DOWNLOAD_HEADING, "DownloadSectionName");
    label(idMonitor, MONITOR_START_BUTTON, "CMDStart");
    label(idMonitor, MONITOR_END_BUTTON, "CMDEnd");
    text(idMonitor, MONITOR_DISPLAY_HEADING, "DisplayControlSectionName");
    label(idMonitor, MONITOR_OFFSET, "SWOffset");
    label(idMonitor, MONITOR_RANGE, "SWRange");
}

// Section "MainWindow", the chart's part: its name, the channel names and axis names the
// chart and the other windows use, the time-axis switch and the scaling menu.
void chartTexts() {
    label(idMonitor, MONITOR_GRAPH, "GraphSectionName");
    store(fetch("TXTOnGraph1"), wTemperature);
    store(fetch("TXTOnGraph4"), wTemperature2);
    store(fetch("TXTYAxisL11"), wTemp1C);
    store(fetch("TXTYAxisL12"), wTemp1F);
    store(fetch("TXTYAxisL21"), wTemp2C);
    store(fetch("TXTYAxisL22"), wTemp2F);
    store(fetch("TXTOnGraph1_41670"), wTemperature_41670);
    store(fetch("TXTOnGraph4_41670"), wTemperature2_41670);
    store(fetch("TXTYAxisL11_41670"), wTemp1C_41670);
    store(fetch("TXTYAxisL12_41670"), wTemp1F_41670);
    store(fetch("TXTYAxisL21_41670"), wTemp2C_41670);
    store(fetch("TXTYAxisL22_41670"), wTemp2F_41670);
    store(fetch("TXTOnGraph2"), wHumidity);
    store(fetch("TXTYAxisL1"), wTempC);
    store(fetch("TXTYAxisL2"), wTempF);
    store(fetch("TXTYAxisL"), wTempAxis);
    // the channel lists of the other windows start with the first channel until a logger or a
    // file fills them for its model
    if (wTemperature[0] != '\0') {
        const int rings[][2] = {
            {idTable, TABLE_CHANNEL}, {idStatistic, STATISTIC_CHANNEL}, {idSetLogger, SETLOGGER_ALARMCHANNEL}};
        for (const auto &[panel, ring] : rings) {
            int items = 0;
            if (panel <= 0 || GetNumListItems(panel, ring, &items) < 0 || items != 1) continue;
            DeleteListItem(panel, ring, 0, -1);
            InsertListItem(panel, ring, -1, wTemperature, 0);
        }
    }
    const char *rh = fetch("TXTYAxisR");
    yName(idMonitor, MONITOR_GRAPH, VAL_RIGHT_YAXIS, rh);
    store(rh, wRh);
    offText(idMonitor, MONITOR_XAXIS_SWITCH, "SWXAxisL");
    onText(idMonitor, MONITOR_XAXIS_SWITCH, "SWXAxisR");

    if (const char *t = fetch("ScaleMenu1"))
        SetMenuBarAttribute(scalMenuHandle, SCALMENU_SCALE_TEMP, ATTR_ITEM_NAME, t);
    if (const char *t = fetch("ScaleMenu2"))
        SetMenuBarAttribute(scalMenuHandle, SCALMENU_SCALE_TEMP2, ATTR_ITEM_NAME, t);
    if (const char *t = fetch("ScaleMenu3")) SetMenuBarAttribute(scalMenuHandle, SCALMENU_SCALE_ALL, ATTR_ITEM_NAME, t);
}

// Section "Commands": the Exit button and the button captions every window uses.
void commandTexts() {
    label(idMonitor, MONITOR_EXIT, "CMDExit");
    store(fetch("CMDOk"), cmdOk);
    store(fetch("CMDCancel"), cmdCancel);
    store(fetch("CMDGo"), cmdGo);
    store(fetch("CMDSet"), cmdSet);
    store(fetch("CMDRecall"), cmdRecall);
    if (cmdOk[0] != '\0') SetCtrlAttribute(idMsg, MSG_OK, ATTR_LABEL_TEXT, cmdOk);
}

// Section "Message": the messages and warnings.
void messageTexts() {
    for (const MessageKey &m : kMessages)
        if (const char *t = fetch(m.key)) saveString(t, m.global, MSG_TEXT_SIZE);
    title(idMsg, "msgWindowTitle");
}

// Section "Others": units, words of the status line and the group-files notes. "File" and
// "Index" are read with the others and shown nowhere.
void otherTexts() {
    store(fetch("Notes"), wNotes);
    store(fetch("Records"), wRecords);
    store(fetch("Points"), wPoints);
    store(fetch("Version"), wVersion);
    store(fetch("DegreeC"), wDegree[0]);
    store(fetch("DegreeF"), wDegree[1]);
    store(fetch("RHUnit"), wRhUnit);
    store(fetch("Statistic"), wStatistic);
    store(fetch("Unit"), wUnit);
    store(fetch("Rate"), wRate);
    store(fetch("RecordNo"), wRecordNo);
    store(fetch("FileName"), wFileName);
    char notes[WINDOW_TEXT_SIZE + 8];
    std::snprintf(notes, sizeof notes, "%s 3.0", wVersion);
    SetCtrlVal(idMonitors, MONITORS_NOTES, notes);
}

}   // namespace

void localMainWindow() {
    // 1. the language file's full path (none when no language file is chosen)
    char dir[260] = "";
    GetProjectDir(dir, sizeof dir);
    languagePath[0] = '\0';
    if (languageFile[0] != '\0' && MakePathname(dir, languageFile, languagePath, sizeof languagePath) < 0)
        languagePath[0] = '\0';

    // 2, 3. read it
    if (!openLanguageFile(kMainErrors.read, kMainErrors.sections)) return;

    // 4. the main window's own texts and the texts the other windows share, section by section
    if (useSection("MainWindow", kMainErrors.items)) {
        mainWindowTexts();
        chartTexts();
    }
    if (useSection("Commands", kMainErrors.items)) commandTexts();
    if (useSection("Message", kMainErrors.items)) messageTexts();
    if (useSection("Others", kMainErrors.items)) otherTexts();

    // 5. done with the file
    closeLanguageFile();
}

// ---------------------------------------------------------------- communication settings

void localCommSetWindow() {
    if (!openLanguageFile(kCommSetErrors.read, kCommSetErrors.sections)) return;
    if (useSection("CommSetWindow", kCommSetErrors.items)) {
        title(idSetting, "CommSetTitle");
        text(idSetting, SETTING_HEADING, "CommSectionName");
        label(idSetting, SETTING_PORT, "PortNo");
        label(idSetting, SETTING_BAUD, "BaudRate");
        label(idSetting, SETTING_DATABITS, "DataBits");
        label(idSetting, SETTING_PARITY, "Parity");
        parityItems();
        label(idSetting, SETTING_STOPBITS, "StopBits");
        label(idSetting, SETTING_AUTO, "CommAuto");
        SetCtrlAttribute(idSetting, SETTING_OK, ATTR_LABEL_TEXT, cmdOk);
        SetCtrlAttribute(idSetting, SETTING_CANCEL, ATTR_LABEL_TEXT, cmdCancel);
        // the device of a port number and the button that binds a typed device to it
        label(idSetting, SETTING_DEVICE, "DeviceLabel");
        label(idSetting, SETTING_BIND, "BindButton");
        // the port list's marks, the refusal to bind port number 1, the preferences button
        store(fetch("PortPresent"), commPortPresent);
        store(fetch("PortMissing"), commPortMissing);
        store(fetch("PortOneRefused"), commPortOneRefused);
        label(idSetting, SETTING_PREFERENCES, "PreferencesButton");
    }
    closeLanguageFile();
}

// ---------------------------------------------------------------- preferences

void localPreferencesWindow() {
    if (!openLanguageFile(kCommSetErrors.read, kCommSetErrors.sections)) return;
    if (useSection("PreferencesWindow", kCommSetErrors.items)) {
        const int p = idPreferences;
        store(title(p, "PreferencesTitle"), prefsTitle);
        label(p, PREFERENCES_LANGUAGE, "LanguageLabel");
        label(p, PREFERENCES_DATE_FORMAT, "DateFormatLabel");
        label(p, PREFERENCES_UNIT, "DefaultUnitLabel");
        label(p, PREFERENCES_HIGH, "DefaultHighLabel");
        label(p, PREFERENCES_LOW, "DefaultLowLabel");
        text(p, PREFERENCES_NOTE, "NextStartNote");
        SetCtrlAttribute(p, PREFERENCES_OK, ATTR_LABEL_TEXT, cmdOk);
        SetCtrlAttribute(p, PREFERENCES_CANCEL, ATTR_LABEL_TEXT, cmdCancel);
        store(fetch("PreferencesSaved"), prefsSaved);
        store(fetch("PreferencesNotWritten"), prefsNotWritten);
        store(fetch("LimitsOrder"), prefsLimitsOrder);
    }
    closeLanguageFile();
}

// ---------------------------------------------------------------- logger settings

void localLoggerSetWindow() {
    if (!openLanguageFile(kLoggerSetErrors.read, kLoggerSetErrors.sections)) return;
    if (useSection("LoggerSetWindow", kLoggerSetErrors.items)) {
        const int p = idSetLogger;
        // logging
        title(p, "LoggerSetTitle");
        text(p, SETLOGGER_LOG_HEADING, "LoggerSetSectionName");
        label(p, SETLOGGER_SAMPLEPOINTS, "SamplePoints");
        label(p, SETLOGGER_RATE_HOUR, "SampleRate");
        label(p, SETLOGGER_STARTMODE, "StartMode");
        label(p, SETLOGGER_STARTDATE, "StartDate");
        label(p, SETLOGGER_STARTTIME, "StartTime");
        label(p, SETLOGGER_UNIT, "Unit");
        store(fetch("StartMode0"), wStartMode0);
        store(fetch("StartMode1"), wStartMode1);
        store(fetch("StartMode2"), wStartMode2);
        store(fetch("StartMode3"), wStartMode3);
        store(fetch("StartMode4"), wStartMode4);
        store(fetch("StartMode20"), wStartMode20);
        // the start modes every model offers; the window refills them for the logger
        DeleteListItem(p, SETLOGGER_STARTMODE, 0, -1);
        InsertListItem(p, SETLOGGER_STARTMODE, -1, wStartMode20, 20);
        InsertListItem(p, SETLOGGER_STARTMODE, -1, wStartMode0, 0);
        InsertListItem(p, SETLOGGER_STARTMODE, -1, wStartMode1, 1);
        // "Unit4" and "Unit2" are read with the others and shown nowhere.
        store(fetch("Unit3"), wUnit3);
        store(fetch("Unit1"), wUnit1);

        // alarms
        text(p, SETLOGGER_ALARM_HEADING, "AlarmSetSetionName");
        label(p, SETLOGGER_ALARMCHANNEL, "AlarmChannel");
        label(p, SETLOGGER_HIGHALARM, "HighAlarm");
        label(p, SETLOGGER_LOWALARM, "LowAlarm");
        SetCtrlAttribute(p, SETLOGGER_LOG_OK, ATTR_LABEL_TEXT, cmdOk);
        SetCtrlAttribute(p, SETLOGGER_LOG_CANCEL, ATTR_LABEL_TEXT, cmdCancel);

        // clock
        text(p, SETLOGGER_CLOCK_HEADING, "ClockSetSectionName");
        label(p, SETLOGGER_LOGGERDATE, "LoggerDate");
        label(p, SETLOGGER_LOGGERTIME, "LoggerTime");
        SetCtrlAttribute(p, SETLOGGER_CLOCK_OK, ATTR_LABEL_TEXT, cmdOk);
        SetCtrlAttribute(p, SETLOGGER_CLOCK_CANCEL, ATTR_LABEL_TEXT, cmdCancel);

        // sleep mode
        text(p, SETLOGGER_SLEEP_HEADING, "SleepSetSectionName");
        offText(p, SETLOGGER_SLEEPMODE, "SleepMode1");
        onText(p, SETLOGGER_SLEEPMODE, "SleepMode2");
        SetCtrlAttribute(p, SETLOGGER_SLEEP_OK, ATTR_LABEL_TEXT, cmdOk);

        // identifier and calibration
        text(p, SETLOGGER_ID_HEADING, "IDSetSectionName");
        label(p, SETLOGGER_IDENTIFIER, "Identifier");
        text(p, SETLOGGER_CALI_HEADING, "CaliSetSetionName");
        text(p, SETLOGGER_CALITITLE, "CaliTitle");
        label(p, SETLOGGER_CALI_START, "SettingTitle");
        SetCtrlAttribute(p, SETLOGGER_ID_OK, ATTR_LABEL_TEXT, cmdOk);
        SetCtrlAttribute(p, SETLOGGER_ID_CANCEL, ATTR_LABEL_TEXT, cmdCancel);

        // the window's close button
        label(p, SETLOGGER_EXIT, "CloseButton");
    }
    closeLanguageFile();
}

// ---------------------------------------------------------------- calibration

void localTempCaliWindow() {
    if (!openLanguageFile(kTempCaliErrors.read, kTempCaliErrors.sections)) return;
    if (useSection("TempCaliWindow", kTempCaliErrors.items)) {
        title(idTempCali, "TempCaliTitle");
        text(idTempCali, TEMPCALI_HEADING, "TempCaliSectionName");
        text(idTempCali, TEMPCALI_STEP1, "TempCaliStep1Lable");
        text(idTempCali, TEMPCALI_STEP2, "TempCaliStep2Lable");
        text(idTempCali, TEMPCALI_STEP3, "TempCaliStep3Lable");
        text(idTempCali, TEMPCALI_NOTE, "TempCaliNote");
        SetCtrlAttribute(idTempCali, TEMPCALI_SET, ATTR_LABEL_TEXT, cmdSet);
        SetCtrlAttribute(idTempCali, TEMPCALI_RECALL, ATTR_LABEL_TEXT, cmdRecall);
        label(idTempCali, TEMPCALI_EXIT, "CloseButton");
    }
    closeLanguageFile();
}

void localRhCaliWindow() {
    if (!openLanguageFile(kRhCaliErrors.read, kRhCaliErrors.sections)) return;
    if (useSection("RhCaliWindow", kRhCaliErrors.items)) {
        title(idRhCali, "RhCaliTitle");
        text(idRhCali, RHCALI_HEADING, "RhCaliSectionName");
        SetCtrlAttribute(idRhCali, RHCALI_SET, ATTR_LABEL_TEXT, cmdSet);
        SetCtrlAttribute(idRhCali, RHCALI_RECALL, ATTR_LABEL_TEXT, cmdRecall);
        label(idRhCali, RHCALI_EXIT, "CloseButton");
    }
    closeLanguageFile();
}

// ---------------------------------------------------------------- data table

void localTableWindow() {
    if (!openLanguageFile(kTableErrors.read, kTableErrors.sections)) return;
    if (useSection("TableWindow", kTableErrors.items)) {
        const int p = idTable;
        title(p, "TableTitle");
        label(p, TABLE_DATA, "TableSectionName");
        const int columns[] = {3, 2, 1};
        const char *const columnKeys[] = {"Col3", "Col2", "Col1"};
        for (int i = 0; i < 3; ++i)
            if (const char *t = fetch(columnKeys[i]))
                SetTableColumnAttribute(p, TABLE_DATA, columns[i], ATTR_LABEL_TEXT, t);

        text(p, TABLE_PROCESS_HEADING, "DataManipulationName");
        label(p, TABLE_CHANNEL, "TableChannel");
        label(p, TABLE_CONDITION, "TableConditionName");
        DeleteListItem(p, TABLE_CONDITION, 0, -1);
        if (const char *t = fetch("TableCondition1")) InsertListItem(p, TABLE_CONDITION, -1, t, 0);
        if (const char *t = fetch("TableCondition2")) InsertListItem(p, TABLE_CONDITION, -1, t, 1);
        label(p, TABLE_COLOR, "TableColor");
        label(p, TABLE_HIGH_ENABLE, "High");
        label(p, TABLE_LOW_ENABLE, "Low");
        label(p, TABLE_ERR_ENABLE, "Err");
        switchTexts(p, {TABLE_HIGH_ENABLE, TABLE_LOW_ENABLE, TABLE_ERR_ENABLE});

        text(p, TABLE_COUNTER_HEADING, "AlarmCounterUsageName");
        label(p, TABLE_COUNTER, "Counter");
        label(p, TABLE_USAGE, "Usage");
        SetCtrlAttribute(p, TABLE_PROCESS, ATTR_LABEL_TEXT, cmdGo);

        label(p, TABLE_EXPORT_CSV, "cmdExportCsv");
        label(p, TABLE_PRINT, "PrintButton");
        label(p, TABLE_EXIT, "CloseButton");
    }
    closeLanguageFile();
}

// ---------------------------------------------------------------- statistics

void localStatisticWindow() {
    if (!openLanguageFile(kStatisticErrors.read, kStatisticErrors.sections)) return;
    if (useSection("StatisticWindow", kStatisticErrors.items)) {
        const int p = idStatistic;
        title(p, "StatisticTitle");
        label(p, STATISTIC_CHANNEL, "StatisticChannel");
        const char *histogramT = fetch("THistogramName");
        store(histogramT, wHistogramT);
        store(fetch("T2HistogramName"), wHistogramT2);
        store(fetch("RHistogramName"), wHistogramR);
        if (histogramT) {
            SetCtrlAttribute(p, STATISTIC_HISTOGRAM1, ATTR_LABEL_TEXT, histogramT);
            SetCtrlAttribute(p, STATISTIC_HISTOGRAM2, ATTR_LABEL_TEXT, histogramT);
        }
        store(fetch("RecordSpan"), wRecordSpan);
        text(p, STATISTIC_RANGE1_TEXT, "Range1");
        text(p, STATISTIC_RANGE2_TEXT, "Range2");
        label(p, STATISTIC_INTERVALS1, STATISTIC_INTERVALS2, "Intervals");
        label(p, STATISTIC_MAX1, STATISTIC_MAX2, "Maximum");
        label(p, STATISTIC_MIN1, STATISTIC_MIN2, "Minimum");
        label(p, STATISTIC_MEAN1, STATISTIC_MEAN2, "Mean");
        label(p, STATISTIC_STDDEV1, STATISTIC_STDDEV2, "StdDev");
        label(p, STATISTIC_CURSOR_Y1, STATISTIC_CURSOR_Y2, "Records");
        label(p, STATISTIC_NUM1, STATISTIC_NUM2, "Num");
        label(p, STATISTIC_MKT1, STATISTIC_MKT2, "wMkt");

        label(p, STATISTIC_PRINT, "PrintButton");
        label(p, STATISTIC_EXIT, "CloseButton");
    }
    closeLanguageFile();
}

// ---------------------------------------------------------------- group files

void localGroupFilesWindow() {
    if (!openLanguageFile(kGroupFilesErrors.read, kGroupFilesErrors.sections)) return;
    const int p = idMonitors;
    if (useSection("GroupFilesWindow", kGroupFilesErrors.items)) {
        title(p, "GroupFilesTitle");
        label(p, MONITORS_USER, "UserLabel");
        label(p, MONITORS_EXIT, "CloseButton");
        // "A File" ... "H File" on the file buttons
        if (const char *t = fetch("FileButton")) {
            store(t, wFileButton);
            fileButtonLabels(t);
        }
    }

    // the chart and display texts are those of the main window
    if (useSection("MainWindow", kGroupFilesErrors.items)) {
        label(p, MONITORS_GRAPH, "GraphSectionName");
        // the window names its axes again with the units of the files drawn
        yName(p, MONITORS_GRAPH, VAL_LEFT_YAXIS, fetch("TXTYAxisL"));
        yName(p, MONITORS_GRAPH, VAL_RIGHT_YAXIS, fetch("TXTYAxisR"));
        xName(p, MONITORS_GRAPH, fetch("SWXAxisL"));
        text(p, MONITORS_DISPLAY_HEADING, "DisplayControlSectionName");
        label(p, MONITORS_OFFSET, "SWOffset");
        label(p, MONITORS_RANGE, "SWRange");
        SetCtrlVal(p, MONITORS_NOTES, wNotes);
    }
    closeLanguageFile();
}

// ---------------------------------------------------------------- Chinese file buttons

void Traditional_Chinese() {
    // "file" in traditional characters; in the Big5 code page the bytes C0 C9 AE D7.
    fileButtonLabels("檔案");
}

void Simplified_Chinese() {
    // "file" in simplified characters; in the GB2312 code page the bytes B5 B5 B0 B8.
    fileButtonLabels("档案");
}
