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
#include <cstddef>
#include <cstdio>
#include <span>

#include "ini/inifile.h"
#include "local/Local.h"
#include "local/ArchiveTexts.h"
#include "local/PreferencesWindow.h"
#include "local/ReportTexts.h"
#include "local/WindowTextRows.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

using namespace texts;

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

// ---------------------------------------------------------------- applying a table
// The tables of rows are in WindowTextRows.h, one set per window.

// Each caption whose key is present goes on its control of the panel.
void apply(int panel, std::span<const Caption> captions) {
    for (const Caption &c : captions) {
        switch (c.put) {
            case Put::Label: label(panel, c.control, c.key); break;
            case Put::Value: text(panel, c.control, c.key); break;
            case Put::OffText: offText(panel, c.control, c.key); break;
            case Put::OnText: onText(panel, c.control, c.key); break;
        }
    }
}

void keep(std::span<const Kept> kept) {
    for (const Kept &k : kept)
        if (const char *t = fetch(k.key)) saveString(t, k.global, k.capacity);
}

void share(int panel, std::span<const Shared> shared) {
    for (const Shared &s : shared) SetCtrlAttribute(panel, s.control, ATTR_LABEL_TEXT, s.text);
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
    apply(idMonitor, kMainCaptions);
    keep(kMainKept);

    // the captions under the chart's first and last record: "[Date & Time" ... "Date & Time]"
    char caption[2 * WINDOW_TEXT_SIZE + 8];
    std::snprintf(caption, sizeof caption, "[%s & %s", wDate, wTime);
    SetCtrlVal(idMonitor, MONITOR_START_TIME, caption);
    std::snprintf(caption, sizeof caption, "%s & %s]", wDate, wTime);
    SetCtrlVal(idMonitor, MONITOR_END_TIME, caption);
}

// Section "MainWindow", the chart's part.
void chartTexts() {
    apply(idMonitor, kChartCaptions);
    keep(kChartKept);
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
    yName(idMonitor, MONITOR_GRAPH, VAL_RIGHT_YAXIS, fetch("TXTYAxisR"));
    for (const MenuItem &m : kScaleMenu)
        if (const char *t = fetch(m.key)) SetMenuBarAttribute(scalMenuHandle, m.item, ATTR_ITEM_NAME, t);
}

// Section "Commands": the Exit button and the button captions every window uses.
void commandTexts() {
    label(idMonitor, MONITOR_EXIT, "CMDExit");
    keep(kCommandKept);
    if (cmdOk[0] != '\0') SetCtrlAttribute(idMsg, MSG_OK, ATTR_LABEL_TEXT, cmdOk);
}

// Section "Message": the messages and warnings.
void messageTexts() {
    for (const MessageKey &m : kMessages)
        if (const char *t = fetch(m.key)) saveString(t, m.global, MSG_TEXT_SIZE);
    title(idMsg, "msgWindowTitle");
}

// Section "Others": units, words of the status line and the group-files notes.
void otherTexts() {
    keep(kOtherKept);
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
        apply(idSetting, kCommSetCaptions);
        parityItems();
        share(idSetting, kCommSetShared);
        keep(kCommSetKept);
    }
    closeLanguageFile();
}

// ---------------------------------------------------------------- preferences

void localPreferencesWindow() {
    if (!openLanguageFile(kCommSetErrors.read, kCommSetErrors.sections)) return;
    if (useSection("PreferencesWindow", kCommSetErrors.items)) {
        title(idPreferences, "PreferencesTitle");
        apply(idPreferences, kPreferencesCaptions);
        share(idPreferences, kPreferencesShared);
        keep(kPreferencesKept);
    }
    closeLanguageFile();
}

// ---------------------------------------------------------------- archive

char archiveWindowTitle[WINDOW_TEXT_SIZE] = {};
char archiveColumns[ARCHIVE_COLUMN_COUNT][WINDOW_TEXT_SIZE] = {};
char archiveYes[WINDOW_TEXT_SIZE] = {};
char archiveNo[WINDOW_TEXT_SIZE] = {};
char archiveFlagged[WINDOW_TEXT_SIZE] = {};
char archiveImported[WINDOW_TEXT_SIZE] = {};
char archiveChainHead[WINDOW_TEXT_SIZE] = {};
char archiveTrailTitle[WINDOW_TEXT_SIZE * 2] = {};
char archiveExportTitle[MSG_TEXT_SIZE] = {};
char archiveExportDone[MSG_TEXT_SIZE] = {};
char archiveNoSelection[MSG_TEXT_SIZE] = {};
char archiveThisPc[WINDOW_TEXT_SIZE] = {};
char archiveAllSites[WINDOW_TEXT_SIZE] = {};

void resetArchiveTexts() {
    const char *const columns[ARCHIVE_COLUMN_COUNT] = {
        "No.", "Model", "Identifier", "First record", "Last record", "Records", "Complete", "Verdict", "Site"};
    for (int k = 0; k < ARCHIVE_COLUMN_COUNT; ++k) saveString(columns[k], archiveColumns[k]);
    saveString("Archive", archiveWindowTitle);
    saveString("yes", archiveYes);
    saveString("no", archiveNo);
    saveString("flagged", archiveFlagged);
    saveString("imported", archiveImported);
    saveString("Chain head:", archiveChainHead);
    saveString("Audit trail of recording", archiveTrailTitle);
    saveString("Export the original data file", archiveExportTitle);
    saveString("The original data file has been written to:", archiveExportDone);
    saveString("Choose a recording in the list first.", archiveNoSelection);
    saveString("This PC", archiveThisPc);
    saveString("All sites", archiveAllSites);
}

void localArchiveWindow(int panel) {
    if (!openLanguageFile(kCommSetErrors.read, kCommSetErrors.sections)) return;
    if (useSection("ArchiveWindow", kCommSetErrors.items)) {
        if (const char *t = fetch("ArchiveTitle")) {
            saveString(t, archiveWindowTitle);
            SetPanelAttribute(panel, ATTR_TITLE, t);
        }
        apply(panel, texts::kArchiveCaptions);
        keep(texts::kArchiveKept);
        const char *const columns[ARCHIVE_COLUMN_COUNT] = {"ColumnId",       "ColumnModel",   "ColumnLogger",
                                                           "ColumnFirst",    "ColumnLast",    "ColumnRecords",
                                                           "ColumnComplete", "ColumnVerdict", "ColumnSite"};
        for (int k = 0; k < ARCHIVE_COLUMN_COUNT; ++k)
            if (const char *t = fetch(columns[k])) saveString(t, archiveColumns[k]);
    }
    closeLanguageFile();
}

// ---------------------------------------------------------------- logger settings

void localLoggerSetWindow() {
    if (!openLanguageFile(kLoggerSetErrors.read, kLoggerSetErrors.sections)) return;
    if (useSection("LoggerSetWindow", kLoggerSetErrors.items)) {
        const int p = idSetLogger;
        title(p, "LoggerSetTitle");
        apply(p, kLoggerSetCaptions);
        share(p, kLoggerSetShared);
        keep(kLoggerSetKept);
        // the start modes every model offers; the window refills them for the logger
        DeleteListItem(p, SETLOGGER_STARTMODE, 0, -1);
        InsertListItem(p, SETLOGGER_STARTMODE, -1, wStartMode20, 20);
        InsertListItem(p, SETLOGGER_STARTMODE, -1, wStartMode0, 0);
        InsertListItem(p, SETLOGGER_STARTMODE, -1, wStartMode1, 1);
    }
    closeLanguageFile();
}

// ---------------------------------------------------------------- calibration

void localTempCaliWindow() {
    if (!openLanguageFile(kTempCaliErrors.read, kTempCaliErrors.sections)) return;
    if (useSection("TempCaliWindow", kTempCaliErrors.items)) {
        title(idTempCali, "TempCaliTitle");
        apply(idTempCali, kTempCaliCaptions);
        share(idTempCali, kTempCaliShared);
    }
    closeLanguageFile();
}

void localRhCaliWindow() {
    if (!openLanguageFile(kRhCaliErrors.read, kRhCaliErrors.sections)) return;
    if (useSection("RhCaliWindow", kRhCaliErrors.items)) {
        title(idRhCali, "RhCaliTitle");
        apply(idRhCali, kRhCaliCaptions);
        share(idRhCali, kRhCaliShared);
    }
    closeLanguageFile();
}

// ---------------------------------------------------------------- data table

void localTableWindow() {
    if (!openLanguageFile(kTableErrors.read, kTableErrors.sections)) return;
    if (useSection("TableWindow", kTableErrors.items)) {
        const int p = idTable;
        title(p, "TableTitle");
        apply(p, kTableCaptions);
        share(p, kTableShared);
        const int columns[] = {3, 2, 1};
        const char *const columnKeys[] = {"Col3", "Col2", "Col1"};
        for (int i = 0; i < 3; ++i)
            if (const char *t = fetch(columnKeys[i]))
                SetTableColumnAttribute(p, TABLE_DATA, columns[i], ATTR_LABEL_TEXT, t);
        DeleteListItem(p, TABLE_CONDITION, 0, -1);
        if (const char *t = fetch("TableCondition1")) InsertListItem(p, TABLE_CONDITION, -1, t, 0);
        if (const char *t = fetch("TableCondition2")) InsertListItem(p, TABLE_CONDITION, -1, t, 1);
    }
    closeLanguageFile();
}

// ---------------------------------------------------------------- statistics

void localStatisticWindow() {
    if (!openLanguageFile(kStatisticErrors.read, kStatisticErrors.sections)) return;
    if (useSection("StatisticWindow", kStatisticErrors.items)) {
        title(idStatistic, "StatisticTitle");
        apply(idStatistic, kStatisticCaptions);
        keep(kStatisticKept);
    }
    closeLanguageFile();
}

// ---------------------------------------------------------------- group files

void localGroupFilesWindow() {
    if (!openLanguageFile(kGroupFilesErrors.read, kGroupFilesErrors.sections)) return;
    const int p = idMonitors;
    if (useSection("GroupFilesWindow", kGroupFilesErrors.items)) {
        title(p, "GroupFilesTitle");
        apply(p, kGroupFilesCaptions);
        // "A File" ... "H File" on the file buttons
        if (const char *t = fetch("FileButton")) {
            store(t, wFileButton);
            fileButtonLabels(t);
        }
    }

    if (useSection("MainWindow", kGroupFilesErrors.items)) {
        apply(p, kGroupChartCaptions);
        // the window names its axes again with the units of the files drawn
        yName(p, MONITORS_GRAPH, VAL_LEFT_YAXIS, fetch("TXTYAxisL"));
        yName(p, MONITORS_GRAPH, VAL_RIGHT_YAXIS, fetch("TXTYAxisR"));
        xName(p, MONITORS_GRAPH, fetch("SWXAxisL"));
        SetCtrlVal(p, MONITORS_NOTES, wNotes);
    }
    closeLanguageFile();
}

// ---------------------------------------------------------------- trip report

void localTripReportWindow() {
    const Errors errors = {"ERROR 622: Error reading ini file !", "ERROR 623: Error reading [TripReportWindow] items !",
                           "ERROR 624: Error reading ini sections !"};
    if (!openLanguageFile(errors.read, errors.sections)) return;
    if (useSection("TripReportWindow", errors.items)) {
        if (idTripReport > 0) {
            title(idTripReport, "TripReportTitle");
            apply(idTripReport, kTripReportCaptions);
        }
#define TAVIX_FETCH_REPORT_TEXT(name, key, english) store(fetch(key), name);
        TAVIX_REPORT_TEXTS(TAVIX_FETCH_REPORT_TEXT)
    }
    // the messages are looked up quietly: a language file without them keeps the English ones
    saveString("Message", sLocal.section);
    TAVIX_REPORT_MESSAGES(TAVIX_FETCH_REPORT_TEXT)
#undef TAVIX_FETCH_REPORT_TEXT
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
