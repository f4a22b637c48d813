// Start-up, windows and shutdown.
#include "app/Tavix.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "analysis/Profiles.h"
#include "app/TavixVersion.h"
#include "archive/ArchiveWindow.h"
#include "archive/Archiving.h"
#include "config/LogSetting.h"
#include "display/Display.h"
#include "files/DataFile.h"
#include "files/Group.h"
#include "link/ComSetting.h"
#include "link/Link.h"
#include "local/Local.h"
#include "model/Clock.h"
#include "model/LoggerSettings.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "report/Report.h"
#include "runtime/folder.h"
#include "runtime/serial.h"
#include "runtime/ui.h"
#include "table/Table.h"

namespace {

// Texts of the hidden software reset; fixed, not taken from the language file.
const char kResetTitle[] = "Reset";
const char kResetQuestion[] = "Software reset ? ";
// Shown when the record store cannot be allocated (before any language text may exist).
const char kNoMemory[] = "Not enough memory for the record store. Tavix cannot run.";

// The logger's port is opened this many times at start-up.
constexpr int kPortOpenings = 3;

bool g_runtimeUp = false;

// The language of the toolkit's own texts for a language file: its name ("German.ini",
// "Deutsch.ini", in any case) names the language; any other file keeps English.
const char *toolkitLanguage(const char *file) {
    struct Language {
        const char *fileName;
        const char *code;
    };
    const Language languages[] = {{"german.ini", "de"}, {"deutsch.ini", "de"}};
    std::string name(file);
    for (char &c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const Language &l : languages)
        if (name == l.fileName) return l.code;
    return "en";
}

// Ending the program: the state file is deleted on the user's word, otherwise it keeps the
// communication settings for the next start; then the event loop ends.
void endProgram(bool deleteStateFile) {
    if (deleteStateFile)
        std::remove(TAVIX_STATE_FILE);
    else
        saveCommSettings();
    QuitUserInterface(0);
}

void setFont(int panel, int control) { SetCtrlAttribute(panel, control, ATTR_TEXT_FONT, VAL_APP_META_FONT); }

// The logger's port at start-up: opened, closed, opened, closed and opened again; only the
// last result counts.
void openPortAtStart() {
    int result = 0;
    for (int attempt = 0; attempt < kPortOpenings; ++attempt) result = openLoggerPort();
    if (result < 0) MessagePopup(warn9, warn1);   // "Warning", "the serial port cannot be opened"
}

}   // namespace

int saveCommSettings() {
    // While the settings window is loaded its values are what the user left there (closing
    // it with its close box keeps edits for the next start). Otherwise the settings in use
    // are written through a window loaded for the purpose.
    if (idSetting > 0) return SavePanelState(idSetting, TAVIX_STATE_FILE, COMM_SETTINGS_STATE);
    const int panel = LoadPanel(0, SETTING);
    if (panel < 0) return panel;
    showCommSettings(panel);
    const int result = SavePanelState(panel, TAVIX_STATE_FILE, COMM_SETTINGS_STATE);
    DiscardPanel(panel);
    return result;
}

int lpInit() {
    // 1. preferences and texts; the toolkit's own buttons and dialogs speak the same language
    localInit();
    localized();
    SetUiLanguage(toolkitLanguage(languageFile));
    localMainWindow();
    updateMainTitle();

    // 2. the communication-settings window
    idSetting = LoadPanel(0, SETTING);
    if (idSetting > 0) {
        const int controls[] = {SETTING_PORT,   SETTING_BAUD,     SETTING_DATABITS,
                                SETTING_PARITY, SETTING_STOPBITS, SETTING_CANCEL};
        for (int c : controls) setFont(idSetting, c);
    }

    // 3. the settings of the last run
    if (idSetting <= 0 || RecallPanelState(idSetting, TAVIX_STATE_FILE, COMM_SETTINGS_STATE) < 0) {
        useDefaultCommSettings();
        if (idSetting > 0) showCommSettings(idSetting);
    } else {
        readCommSettings(idSetting, &portNo, &baudRate, &dataBits, &parity, &stopBits);
    }

    // 4. a port not chosen yet is detected
    if (portNo == PORT_NOT_CHOSEN && idSetting > 0) {
        DisplayPanel(idMonitor);
        localCommSetWindow();
        DisplayPanel(idSetting);
        Get_ComPort();
    }

    // 5. the logger's port
    openPortAtStart();

    // 6. the settings window is loaded again when the user opens it
    if (idSetting > 0) DiscardPanel(idSetting);
    idSetting = 0;

    // 7. the logging settings, the logger description with the record store, and the link
    //    start from the values kept beside their resets; the preferences then choose the unit
    //    and the default limits
    resetLogSettingState();
    resetModelState();
    resetLinkState();
    lpUnit = sLocal.englishUnit == 1 ? 'F' : 'C';
    eUnit = lpUnit;
    for (int k = 0; k < 3; ++k) {
        lpTmpHigh[k] = sLocal.defaultHigh;
        lpTmpLow[k] = sLocal.defaultLow;
    }

    // 8. chart
    updateUnit(lpUnit);
    getDisplayControlSetting();

    // 9. the record store, allocated once for the life of the process (the model's reset in
    //    step 7 laid it out for the start-up model and emptied it); Tavix cannot run without it
    if (!allocateRecordBlock()) {
        MessagePopup(warn9[0] ? warn9 : "Tavix", kNoMemory);   // "Warning"
        return -1;
    }

    // 10. table processing: its start values, then the default limits of the preferences
    resetTableState();
    tabHi = sLocal.defaultHigh;
    tabLo = sLocal.defaultLow;
    SetCtrlVal(idTable, TABLE_HIGH, tabHi);
    SetCtrlVal(idTable, TABLE_LOW, tabLo);
    SetCtrlVal(idTable, TABLE_COLOR, tabColor);
    return 0;
}

int tavixStart(int argc, char **argv, const char *appDir) {
    // 1. the run-time and the program's folder
    if (InitRunTime(argc, argv) < 0) return -1;
    g_runtimeUp = true;
    rt::ChooseProgramFolder(appDir);
    // the profiles are the user's: a missing file is copied, an edited one stays
    rt::SeedShippedFile(PROFILES_FILE_NAME);
    resetReportState();
    reportProgram = "Tavix " TAVIX_VERSION;
    rt::LoadComPortBindings();
    RegisterLayouts();

    // 2. the windows, in this order; the first that fails ends the start-up
    struct Load {
        int *handle;
        int resource;
    };
    const Load loads[] = {
        {&idStatistic, STATISTIC}, {&idMonitor, MONITOR},   {&idTable, TABLE},   {&idMonitors, MONITORS},
        {&idSetLogger, SETLOGGER}, {&idTempCali, TEMPCALI}, {&idRhCali, RHCALI}, {&idMsg, MSG}};
    for (const Load &load : loads) {
        *load.handle = LoadPanel(0, load.resource);
        if (*load.handle < 0) return -1;
    }

    // Every window opens where the user left it (the main window is the one others centre on).
    UseWindowGeometryFile(TAVIX_WINDOWS_FILE, idMonitor);

    // 3. the scaling menu
    scalMenuHandle = LoadMenuBar(0, SCALMENU);

    // 4. The version query of the original platform only matches Windows 8 and later;
    //    elsewhere nothing is dimmed.

    // 5. preferences, port, initial state
    if (lpInit() < 0) return -1;
    // the archive, as the preferences (or tavix-cli) say
    startArchive();

    // 6. the logo
    DisplayImageFile(idMonitor, MONITOR_LOGO, TAVIX_LOGO_FILE);

    // 7. layout adjustments
    // The episode counter stays in view: a count of matching records alone does not say
    // whether they came in one run or many.
    SetCtrlAttribute(idTable, TABLE_COUNTER, ATTR_VISIBLE, 1);
    SetCtrlAttribute(idStatistic, STATISTIC_NUM1, ATTR_VISIBLE, 1);
    SetCtrlAttribute(idStatistic, STATISTIC_NUM2, ATTR_VISIBLE, 1);
    setFont(idMonitor, MONITOR_CURSOR1_LABEL);
    setFont(idMonitor, MONITOR_CURSOR2_LABEL);
    setFont(idMonitor, MONITOR_START_BUTTON);
    setFont(idMonitor, MONITOR_END_BUTTON);

    // 8. nothing to configure until a logger has answered
    SetLoggerDisable();

    // 9. the PC's date and time
    SetCtrlVal(idMonitor, MONITOR_DATE, dateStr());
    SetCtrlVal(idMonitor, MONITOR_TIME, TimeStr());

    // 10. group-files window
    getDefaultMSetting();

    // 11. the table's page of rows, at the end of the table
    InsertTableRows(idTable, TABLE_DATA, -1, TABLE_PAGE_ROWS, VAL_USE_MASTER_CELL_TYPE);
    HideBuiltInCtrlMenuItem(idTable, TABLE_DATA, VAL_GOTO);
    HideBuiltInCtrlMenuItem(idTable, TABLE_DATA, VAL_SEARCH);
    HideBuiltInCtrlMenuItem(idTable, TABLE_DATA, VAL_SORT);

    // 12. the main window, with its keyboard shortcuts
    bindMainWindowKeys();
    DisplayPanel(idMonitor);
    return 0;
}

void tavixStop() {
    CloseCom(portNo);
    // a download the end of the program cuts short is kept with what arrived
    if (fDownloadNow && loggedLength > 0) archiveDownload(false);
    if (idArchive > 0) DiscardPanel(idArchive);
    resetArchiveWindow();
    stopArchive();
    if (g_runtimeUp) SaveWindowGeometry();
    int *const panels[] = {&idMonitor,  &idMsg,   &idRhCali,    &idTempCali, &idSetLogger,
                           &idMonitors, &idTable, &idStatistic, &idSetting,  &idTripReport};
    for (int *panel : panels) {
        if (*panel > 0) DiscardPanel(*panel);
        *panel = 0;
    }
    if (scalMenuHandle > 0) DiscardMenuBar(scalMenuHandle);
    scalMenuHandle = 0;
    if (g_runtimeUp) CloseRunTime();
    g_runtimeUp = false;
}

int tavixMain(int argc, char **argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--version") == 0) return std::printf("tavix %s\n", TAVIX_VERSION) > 0 ? 0 : 1;
    // "--app-dir DIR" puts the program's folder elsewhere (tests, a second installation).
    const char *appDir = nullptr;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--app-dir") == 0) appDir = argv[i + 1];
    if (tavixStart(argc, argv, appDir) < 0) {
        if (!g_runtimeUp) std::fprintf(stderr, "tavix: the windows cannot be shown (no display?)\n");
        tavixStop();
        return -1;
    }
    RunUserInterface();
    tavixStop();
    return 0;
}

// ---------------------------------------------------------------- ending the program

int pMonitorCallBack(int, int event, void *, int, int) {
    if (event != EVENT_CLOSE) return 0;
    if (!unsavedDataLetGo(warn30, msgUnsaved)) return 0;   // "Exit Tavix", "not saved yet"
    // "Exit Tavix", "delete the saved communication settings?"
    endProgram(ConfirmPopup(warn30, warn31, VAL_DEFAULT_NO) == 1);
    return 0;
}

int cExitCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    if (!unsavedDataLetGo(warn30, msgUnsaved)) return 0;   // "Exit Tavix", "not saved yet"
    endProgram(false);
    return 0;
}

int Resetini(int, int, int event, void *, int, int) {
    if (event != EVENT_RIGHT_DOUBLE_CLICK) return 0;
    if (!unsavedDataLetGo(warn30, msgUnsaved)) return 0;   // "Exit Tavix", "not saved yet"
    endProgram(ConfirmPopup(kResetTitle, kResetQuestion, VAL_DEFAULT_NO) == 1);
    return 0;
}

// ---------------------------------------------------------------- the message window

int pMsgCallBack(int, int event, void *, int, int) {
    if (event == EVENT_CLOSE) HidePanel(idMsg);
    return 0;
}
