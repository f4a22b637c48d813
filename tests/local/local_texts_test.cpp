// Preferences and window texts: "localORM.ini" read into the preferences record, the
// language file's texts put on every window and into the text globals, the error pop-ups,
// and the shipped preference and language files themselves. Runs in-process on the
// offscreen platform with the real windows and a scripted user.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

#include "CaseName.h"
#include "TestFolder.h"
#include "app/Tavix.h"
#include "ini/inifile.h"
#include "local/Local.h"
#include "panels/Panels.h"
#include "runtime/agent.h"
#include "base/clock.h"
#include "runtime/inspect.h"
#include "runtime/serial.h"
#include "runtime/ui.h"

namespace fs = std::filesystem;

namespace {

const fs::path kShipped = fs::path(TAVIX_SOURCE_DIR) / "resources";

// ---------------------------------------------------------------- reading the windows back

std::string label(int panel, int ctrl) {
    char buf[512] = "";
    GetCtrlAttribute(panel, ctrl, ATTR_LABEL_TEXT, buf, sizeof buf);
    return buf;
}
std::string value(int panel, int ctrl) {
    char buf[512] = "";
    GetCtrlVal(panel, ctrl, buf, sizeof buf);
    return buf;
}
std::string panelTitle(int panel) {
    char buf[512] = "";
    GetPanelAttribute(panel, ATTR_TITLE, buf, sizeof buf);
    return buf;
}
std::string switchText(int panel, int ctrl, int attr) {
    char buf[512] = "";
    GetCtrlAttribute(panel, ctrl, attr, buf, sizeof buf);
    return buf;
}
std::string menuItem(int bar, int item) {
    char buf[512] = "";
    GetMenuBarAttribute(bar, item, ATTR_ITEM_NAME, buf, sizeof buf);
    return buf;
}
std::string columnLabel(int panel, int ctrl, int column) {
    char buf[512] = "";
    GetTableColumnAttribute(panel, ctrl, column, ATTR_LABEL_TEXT, buf, sizeof buf);
    return buf;
}
struct RingItem {
    std::string label;
    int value;
    bool operator==(const RingItem &o) const { return label == o.label && value == o.value; }
};
std::vector<RingItem> ringItems(int panel, int ctrl) {
    int n = 0;
    GetNumListItems(panel, ctrl, &n);
    std::vector<RingItem> items;
    for (int i = 0; i < n; ++i) {
        char buf[256] = "";
        int v = -1;
        GetLabelFromIndex(panel, ctrl, i, buf, sizeof buf);
        GetValueFromIndex(panel, ctrl, i, &v);
        items.push_back({buf, v});
    }
    return items;
}

// A language or preferences file read with the INI store, for the expected texts.
class IniFile {
public:
    explicit IniFile(const fs::path &path) : ini_(Ini_New(1)) { rc_ = Ini_ReadFromFile(ini_, path.string().c_str()); }
    ~IniFile() { Ini_Dispose(ini_); }
    IniFile(const IniFile &) = delete;
    IniFile &operator=(const IniFile &) = delete;
    bool ok() const { return rc_ == 0; }
    bool has(const char *section, const char *key) const {
        const char *v = nullptr;
        return Ini_GetPointerToRawString(ini_, section, key, &v) == 1;
    }
    std::string get(const char *section, const char *key) const {
        const char *v = nullptr;
        Ini_GetPointerToRawString(ini_, section, key, &v);
        return v ? v : "";
    }

private:
    IniHandle ini_;
    int rc_ = -1;
};

// ---------------------------------------------------------------- the fixture

// A fresh program folder (optionally with copies of the shipped files), the nine windows
// and the scaling menu loaded, every text and preference back at its start value.
class LocalTest : public ::testing::Test {
protected:
    void SetUp() override {
        // one flat folder per test (a table case's name holds a slash), and the test works in
        // it: the port bindings written before start-up stay there
        dir_ = makeTestFolder("tavix-local");
        fs::current_path(dir_);
        SetProjectDir(dir_.string().c_str());
        rt::SetUserAgent(&agent_);
        sLocal = {};
        clearTexts();
        localPath[0] = languageFile[0] = languagePath[0] = '\0';
        localIni = nullptr;
    }
    void TearDown() override {
        tavixStop();   // after a start-up test; otherwise it discards the windows of the test
        discardWindows();
        rt::SetUserAgent(nullptr);
        rt::ClearClock();
        fs::current_path(fs::temp_directory_path());
        fs::remove_all(dir_);
    }

    void loadWindows() {
        RegisterLayouts();
        struct Load {
            int *handle;
            int resource;
        };
        const Load loads[] = {
            {&idStatistic, STATISTIC}, {&idMonitor, MONITOR},   {&idTable, TABLE},   {&idMonitors, MONITORS},
            {&idSetLogger, SETLOGGER}, {&idTempCali, TEMPCALI}, {&idRhCali, RHCALI}, {&idMsg, MSG},
            {&idSetting, SETTING}};
        for (const Load &l : loads) {
            *l.handle = LoadPanel(0, l.resource);
            ASSERT_GT(*l.handle, 0);
        }
        scalMenuHandle = LoadMenuBar(0, SCALMENU);
        ASSERT_GT(scalMenuHandle, 0);
        // The data table's six columns (number, date, time, three channels) must exist
        // for their headers to be set.
        int columns = 0;
        GetNumTableColumns(idTable, TABLE_DATA, &columns);
        if (columns < 6) InsertTableColumns(idTable, TABLE_DATA, -1, 6 - columns, VAL_CELL_STRING);
    }
    void discardWindows() {
        int *const panels[] = {&idMonitor,  &idMsg,   &idRhCali,    &idTempCali, &idSetLogger,
                               &idMonitors, &idTable, &idStatistic, &idSetting};
        for (int *p : panels) {
            if (*p > 0) DiscardPanel(*p);
            *p = 0;
        }
        if (scalMenuHandle > 0) DiscardMenuBar(scalMenuHandle);
        scalMenuHandle = 0;
    }

    // The program's whole start-up in the test's folder, without any real serial device and
    // with a frozen clock. With a state file for port 5 (which does not open) the start-up
    // does not detect a port.
    int startProgram(bool withState) {
        rt::SetClock({2026, 12, 10, 9, 30, 0});
        for (int p = 1; p <= MAX_COM_PORT; ++p)
            rt::BindComPort(p, (dir_ / ("no-device-" + std::to_string(p))).string());
        if (withState) {
            RegisterLayouts();
            const int panel = LoadPanel(0, SETTING);
            SetCtrlVal(panel, SETTING_PORT, 5);
            SavePanelState(panel, (dir_ / TAVIX_STATE_FILE).string().c_str(), 1);
            DiscardPanel(panel);
        }
        return tavixStart(0, nullptr, dir_.string().c_str());
    }

    void write(const std::string &name, const std::string &text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    void copyShipped(const std::string &name) { fs::copy_file(kShipped / name, dir_ / name); }
    void copyAllShipped() {
        for (const char *f : {"localORM.ini", "English.ini", "German.ini"}) copyShipped(f);
    }
    // The preferences naming the given language file.
    void preferLanguage(const std::string &file) {
        write("localORM.ini", "[General]\nDate Format = Y-M-D\nDefault Unit = METRIC\nLanguage File = " + file +
                                  "\n[TableProcess]\ndefaultHigh = 30.0\ndefaultLow = 10.0\n");
    }
    void startTexts() {
        localInit();
        localized();
        localMainWindow();
    }
    std::string prefsPath() const { return (dir_ / "localORM.ini").string(); }
    // Every pop-up shown, as "title|text".
    std::vector<std::string> popups() const {
        std::vector<std::string> all;
        for (const auto &s : agent_.shown) all.push_back(s.title + "|" + s.text);
        return all;
    }
    int popupsWith(const std::string &text) const { return agent_.count("message", text); }

    fs::path dir_;
    rt::ScriptedAgent agent_;
};

// ================================================================ preferences

struct PrefCase {
    const char *dateFormat;
    const char *unit;
    int expectedDate;
    int expectedEnglish;
};

class PreferenceValues : public LocalTest, public ::testing::WithParamInterface<PrefCase> {};

TEST_P(PreferenceValues, DateFormatAndUnitIgnoreLetterCase) {
    const PrefCase &c = GetParam();
    write("localORM.ini", std::string("[General]\nDate Format = ") + c.dateFormat + "\nDefault Unit = " + c.unit +
                              "\nLanguage File = English.ini\n[TableProcess]\ndefaultHigh = 1\ndefaultLow = 0\n");
    sLocal.dateFormat = 7;   // localInit must reset both
    sLocal.englishUnit = 7;
    localInit();
    localized();
    EXPECT_EQ(sLocal.dateFormat, c.expectedDate) << c.dateFormat;
    EXPECT_EQ(sLocal.englishUnit, c.expectedEnglish) << c.unit;
    EXPECT_EQ(agent_.count(""), 0);
}

INSTANTIATE_TEST_SUITE_P(Forms, PreferenceValues,
                         ::testing::Values(PrefCase{"Y-M-D", "ENGLISH", 2, 1}, PrefCase{"y-m-d", "English", 2, 1},
                                           PrefCase{"D-M-Y", "english", 1, 1}, PrefCase{"d-M-y", "METRIC", 1, 0},
                                           PrefCase{"DMY", "CELSIUS", 0, 0}, PrefCase{"M-D-Y", "Fahrenheit", 0, 0},
                                           PrefCase{"YMD", "ENGLISHX", 0, 0}),
                         [](const auto &info) {
                             return caseName(std::string(info.param.dateFormat) + ' ' + info.param.unit);
                         });

TEST_F(LocalTest, ShippedPreferencesChooseEnglishYmdCelsiusAndLimits) {
    copyShipped("localORM.ini");
    localInit();
    localized();
    EXPECT_EQ(agent_.count(""), 0) << ::testing::PrintToString(popups());
    EXPECT_EQ(std::string(localPath), prefsPath());
    EXPECT_STREQ(languageFile, "English.ini");
    EXPECT_EQ(sLocal.dateFormat, 2);
    EXPECT_EQ(sLocal.englishUnit, 0);
    EXPECT_DOUBLE_EQ(sLocal.defaultHigh, 30.0);
    EXPECT_DOUBLE_EQ(sLocal.defaultLow, 10.0);
    EXPECT_EQ(localIni, nullptr) << "the store is disposed of";
}

TEST_F(LocalTest, SectionsAndKeysInAnyLetterCaseAreReadTheSame) {
    write("localORM.ini",
          "[general]\nFILE RETRIEVE PATH = /data/in\nfile save path = /data/out\ndate format = d-m-y\n"
          "DEFAULT unit = english\nlanguage FILE = German.ini\n[TABLEPROCESS]\nDEFAULTHIGH = 25.5\ndefaultlow = -5\n");
    localInit();
    localized();
    EXPECT_EQ(agent_.count(""), 0);
    EXPECT_STREQ(sLocal.retrievePath, "/data/in");
    EXPECT_STREQ(sLocal.savePath, "/data/out");
    EXPECT_EQ(sLocal.dateFormat, 1);
    EXPECT_EQ(sLocal.englishUnit, 1);
    EXPECT_STREQ(languageFile, "German.ini");
    EXPECT_DOUBLE_EQ(sLocal.defaultHigh, 25.5);
    EXPECT_DOUBLE_EQ(sLocal.defaultLow, -5.0);
}

// Files that are missing or incomplete: which pop-ups appear (all titled with the path of
// the preferences file) and what is still read.
struct PrefFailure {
    const char *name;
    const char *file;   // null = no preferences file
    std::vector<std::string> texts;
    int dateFormat;
    const char *language;
    double high;
};

class PreferenceFailures : public LocalTest, public ::testing::WithParamInterface<PrefFailure> {};

TEST_P(PreferenceFailures, ShowTheirPopUpsAndKeepTheRest) {
    const PrefFailure &c = GetParam();
    if (c.file) write("localORM.ini", c.file);
    localInit();
    localized();
    ASSERT_EQ(agent_.shown.size(), c.texts.size()) << c.name << ::testing::PrintToString(popups());
    for (std::size_t i = 0; i < c.texts.size(); ++i) {
        EXPECT_EQ(agent_.shown[i].kind, "message");
        EXPECT_EQ(agent_.shown[i].title, prefsPath()) << c.name;
        EXPECT_EQ(agent_.shown[i].text, c.texts[i]) << c.name;
    }
    EXPECT_EQ(sLocal.dateFormat, c.dateFormat) << c.name;
    EXPECT_STREQ(languageFile, c.language) << c.name;
    EXPECT_DOUBLE_EQ(sLocal.defaultHigh, c.high) << c.name;
    EXPECT_EQ(localIni, nullptr) << c.name;
}

const char kE601[] = "ERROR 601: Error reading ini file !";
const char kE602[] = "ERROR 602: Error reading [General] items !";
const char kE603[] = "ERROR 603: Error reading ini sections !";

INSTANTIATE_TEST_SUITE_P(
    Files, PreferenceFailures,
    ::testing::Values(
        PrefFailure{"missing file", nullptr, {kE601}, 0, "", 0.0},
        PrefFailure{"no sections", "; only a comment\nno section here\n", {kE603}, 0, "", 0.0},
        PrefFailure{"only TableProcess", "[TableProcess]\ndefaultHigh = 31.5\ndefaultLow = 2\n", {kE602}, 0, "", 31.5},
        PrefFailure{"only General",
                    "[General]\nDate Format = Y-M-D\nLanguage File = English.ini\n",
                    {kE602},
                    2,
                    "English.ini",
                    0.0},
        PrefFailure{"both sections empty", "[General]\n[TableProcess]\n", {kE602, kE602}, 0, "", 0.0},
        PrefFailure{"limits not numbers: no message",
                    "[General]\nLanguage File = x.ini\n[TableProcess]\n"
                    "defaultHigh = warm\ndefaultLow = cold\n",
                    {},
                    0,
                    "x.ini",
                    0.0}),
    [](const auto &info) { return caseName(info.param.name); });

TEST_F(LocalTest, OverLongPreferenceValuesAreCutToTheirFields) {
    const std::string longPath(400, 'p');
    write("localORM.ini", "[General]\nFile Retrieve Path = " + longPath +
                              "\nLanguage File = AVeryLongLanguageFileName.ini\n[TableProcess]\ndefaultHigh = 1\n");
    localized();
    EXPECT_EQ(std::string(sLocal.retrievePath), longPath.substr(0, 259));
    EXPECT_STREQ(languageFile, "AVeryLongLanguageFi");   // 19 characters
}

TEST(SaveString, CopiesWithinTheCapacityAndNeverSplitsACharacter) {
    char small[6] = "xxxxx";
    saveString("abc", small);
    EXPECT_STREQ(small, "abc");
    saveString("abcdefgh", small);
    EXPECT_STREQ(small, "abcde");
    saveString("abcé", small);   // é takes two bytes: both fit
    EXPECT_STREQ(small, "abcé");
    saveString("abcdé", small);   // only the first byte of é would fit: cut before it
    EXPECT_STREQ(small, "abcd");
    saveString("ab€", small);   // three bytes of € fit exactly
    EXPECT_STREQ(small, "ab€");
    saveString("abc€", small);
    EXPECT_STREQ(small, "abc");
    saveString(nullptr, small);
    EXPECT_STREQ(small, "");
    char buf[8] = "zzzzzzz";
    saveString("12345678901", buf, 4);
    EXPECT_STREQ(buf, "123");
    EXPECT_EQ(buf[4], 'z') << "nothing written beyond the capacity";
}

// ================================================================ window texts

// Where each key of the language file goes.
enum Kind { TITLE, LABEL, VALUE, OFF, ON, YLEFT, YRIGHT, XNAME, MENU, COLUMN1, COLUMN2, COLUMN3 };

struct Target {
    int *panel;   // window handle (or the menu bar for MENU)
    int ctrl;
    Kind kind;
    const char *section;
    const char *key;
};

const char MW[] = "MainWindow", CM[] = "Commands", OT[] = "Others", CS[] = "CommSetWindow", LS[] = "LoggerSetWindow",
           TC[] = "TempCaliWindow", RC[] = "RhCaliWindow", TW[] = "TableWindow", SW[] = "StatisticWindow",
           GF[] = "GroupFilesWindow";

const std::vector<Target> &mainTargets() {
    static const std::vector<Target> t = {
        {&idMonitor, 0, TITLE, MW, "MainTitle"},
        {&idMonitor, MONITOR_MENU1, LABEL, MW, "Menu1"},
        {&idMonitor, MONITOR_MENU2, LABEL, MW, "Menu2"},
        {&idMonitor, MONITOR_MENU3, LABEL, MW, "Menu3"},
        {&idMonitor, MONITOR_MENU4, LABEL, MW, "Menu4"},
        {&idMonitor, MONITOR_MENU5, LABEL, MW, "Menu5"},
        {&idMonitor, MONITOR_MENU6, LABEL, MW, "Menu6"},
        {&idMonitor, MONITOR_MENU7, LABEL, MW, "Menu7"},
        {&idMonitor, MONITOR_MENU8, LABEL, MW, "Menu8"},
        {&idMonitor, MONITOR_MENU9, LABEL, MW, "Menu9"},
        {&idMonitor, MONITOR_GETID, VALUE, MW, "CMDGetID"},
        {&idMonitor, MONITOR_DATE, LABEL, MW, "TXTDate"},
        {&idMonitor, MONITOR_TIME, LABEL, MW, "TXTTime"},
        {&idMonitor, MONITOR_GRAPH, LABEL, MW, "GraphSectionName"},
        {&idMonitor, MONITOR_GRAPH, YRIGHT, MW, "TXTYAxisR"},
        {&idMonitor, MONITOR_XAXIS_SWITCH, OFF, MW, "SWXAxisL"},
        {&idMonitor, MONITOR_XAXIS_SWITCH, ON, MW, "SWXAxisR"},
        {&idMonitor, MONITOR_CURSOR_HEADING, VALUE, MW, "CursorSectionName"},
        {&idMonitor, MONITOR_CURSOR1_LABEL, VALUE, MW, "Cursor1"},
        {&idMonitor, MONITOR_CURSOR2_LABEL, VALUE, MW, "Cursor2"},
        {&idMonitor, MONITOR_DOWNLOAD_HEADING, VALUE, MW, "DownloadSectionName"},
        {&idMonitor, MONITOR_START_BUTTON, LABEL, MW, "CMDStart"},
        {&idMonitor, MONITOR_END_BUTTON, LABEL, MW, "CMDEnd"},
        {&idMonitor, MONITOR_DISPLAY_HEADING, VALUE, MW, "DisplayControlSectionName"},
        {&idMonitor, MONITOR_OFFSET, LABEL, MW, "SWOffset"},
        {&idMonitor, MONITOR_RANGE, LABEL, MW, "SWRange"},
        {&scalMenuHandle, SCALMENU_SCALE_TEMP, MENU, MW, "ScaleMenu1"},
        {&scalMenuHandle, SCALMENU_SCALE_TEMP2, MENU, MW, "ScaleMenu2"},
        {&scalMenuHandle, SCALMENU_SCALE_ALL, MENU, MW, "ScaleMenu3"},
        {&idMonitor, MONITOR_EXIT, LABEL, CM, "CMDExit"},
        {&idMsg, MSG_OK, LABEL, CM, "CMDOk"},
    };
    return t;
}

const std::vector<Target> &otherTargets() {
    static const std::vector<Target> t = {
        // communication settings
        {&idSetting, 0, TITLE, CS, "CommSetTitle"},
        {&idSetting, SETTING_HEADING, VALUE, CS, "CommSectionName"},
        {&idSetting, SETTING_PORT, LABEL, CS, "PortNo"},
        {&idSetting, SETTING_BAUD, LABEL, CS, "BaudRate"},
        {&idSetting, SETTING_DATABITS, LABEL, CS, "DataBits"},
        {&idSetting, SETTING_PARITY, LABEL, CS, "Parity"},
        {&idSetting, SETTING_STOPBITS, LABEL, CS, "StopBits"},
        {&idSetting, SETTING_AUTO, LABEL, CS, "CommAuto"},
        {&idSetting, SETTING_OK, LABEL, CM, "CMDOk"},
        {&idSetting, SETTING_CANCEL, LABEL, CM, "CMDCancel"},
        {&idSetting, SETTING_DEVICE, LABEL, CS, "DeviceLabel"},
        {&idSetting, SETTING_BIND, LABEL, CS, "BindButton"},
        // logger settings
        {&idSetLogger, 0, TITLE, LS, "LoggerSetTitle"},
        {&idSetLogger, SETLOGGER_LOG_HEADING, VALUE, LS, "LoggerSetSectionName"},
        {&idSetLogger, SETLOGGER_SAMPLEPOINTS, LABEL, LS, "SamplePoints"},
        {&idSetLogger, SETLOGGER_RATE_HOUR, LABEL, LS, "SampleRate"},
        {&idSetLogger, SETLOGGER_STARTMODE, LABEL, LS, "StartMode"},
        {&idSetLogger, SETLOGGER_STARTDATE, LABEL, LS, "StartDate"},
        {&idSetLogger, SETLOGGER_STARTTIME, LABEL, LS, "StartTime"},
        {&idSetLogger, SETLOGGER_UNIT, LABEL, LS, "Unit"},
        {&idSetLogger, SETLOGGER_ALARM_HEADING, VALUE, LS, "AlarmSetSetionName"},
        {&idSetLogger, SETLOGGER_ALARMCHANNEL, LABEL, LS, "AlarmChannel"},
        {&idSetLogger, SETLOGGER_HIGHALARM, LABEL, LS, "HighAlarm"},
        {&idSetLogger, SETLOGGER_LOWALARM, LABEL, LS, "LowAlarm"},
        {&idSetLogger, SETLOGGER_LOG_OK, LABEL, CM, "CMDOk"},
        {&idSetLogger, SETLOGGER_LOG_CANCEL, LABEL, CM, "CMDCancel"},
        {&idSetLogger, SETLOGGER_CLOCK_HEADING, VALUE, LS, "ClockSetSectionName"},
        {&idSetLogger, SETLOGGER_LOGGERDATE, LABEL, LS, "LoggerDate"},
        {&idSetLogger, SETLOGGER_LOGGERTIME, LABEL, LS, "LoggerTime"},
        {&idSetLogger, SETLOGGER_CLOCK_OK, LABEL, CM, "CMDOk"},
        {&idSetLogger, SETLOGGER_CLOCK_CANCEL, LABEL, CM, "CMDCancel"},
        {&idSetLogger, SETLOGGER_SLEEP_HEADING, VALUE, LS, "SleepSetSectionName"},
        {&idSetLogger, SETLOGGER_SLEEPMODE, OFF, LS, "SleepMode1"},
        {&idSetLogger, SETLOGGER_SLEEPMODE, ON, LS, "SleepMode2"},
        {&idSetLogger, SETLOGGER_SLEEP_OK, LABEL, CM, "CMDOk"},
        {&idSetLogger, SETLOGGER_ID_HEADING, VALUE, LS, "IDSetSectionName"},
        {&idSetLogger, SETLOGGER_IDENTIFIER, LABEL, LS, "Identifier"},
        {&idSetLogger, SETLOGGER_CALI_HEADING, VALUE, LS, "CaliSetSetionName"},
        {&idSetLogger, SETLOGGER_CALITITLE, VALUE, LS, "CaliTitle"},
        {&idSetLogger, SETLOGGER_CALI_START, LABEL, LS, "SettingTitle"},
        {&idSetLogger, SETLOGGER_ID_OK, LABEL, CM, "CMDOk"},
        {&idSetLogger, SETLOGGER_ID_CANCEL, LABEL, CM, "CMDCancel"},
        {&idSetLogger, SETLOGGER_EXIT, LABEL, LS, "CloseButton"},
        // calibration
        {&idTempCali, 0, TITLE, TC, "TempCaliTitle"},
        {&idTempCali, TEMPCALI_HEADING, VALUE, TC, "TempCaliSectionName"},
        {&idTempCali, TEMPCALI_STEP1, VALUE, TC, "TempCaliStep1Lable"},
        {&idTempCali, TEMPCALI_STEP2, VALUE, TC, "TempCaliStep2Lable"},
        {&idTempCali, TEMPCALI_STEP3, VALUE, TC, "TempCaliStep3Lable"},
        {&idTempCali, TEMPCALI_NOTE, VALUE, TC, "TempCaliNote"},
        {&idTempCali, TEMPCALI_SET, LABEL, CM, "CMDSet"},
        {&idTempCali, TEMPCALI_RECALL, LABEL, CM, "CMDRecall"},
        {&idTempCali, TEMPCALI_EXIT, LABEL, TC, "CloseButton"},
        {&idRhCali, 0, TITLE, RC, "RhCaliTitle"},
        {&idRhCali, RHCALI_HEADING, VALUE, RC, "RhCaliSectionName"},
        {&idRhCali, RHCALI_SET, LABEL, CM, "CMDSet"},
        {&idRhCali, RHCALI_RECALL, LABEL, CM, "CMDRecall"},
        {&idRhCali, RHCALI_EXIT, LABEL, RC, "CloseButton"},
        // data table
        {&idTable, 0, TITLE, TW, "TableTitle"},
        {&idTable, TABLE_DATA, LABEL, TW, "TableSectionName"},
        {&idTable, TABLE_DATA, COLUMN3, TW, "Col3"},
        {&idTable, TABLE_DATA, COLUMN2, TW, "Col2"},
        {&idTable, TABLE_DATA, COLUMN1, TW, "Col1"},
        {&idTable, TABLE_PROCESS_HEADING, VALUE, TW, "DataManipulationName"},
        {&idTable, TABLE_CHANNEL, LABEL, TW, "TableChannel"},
        {&idTable, TABLE_CONDITION, LABEL, TW, "TableConditionName"},
        {&idTable, TABLE_COLOR, LABEL, TW, "TableColor"},
        {&idTable, TABLE_HIGH_ENABLE, LABEL, TW, "High"},
        {&idTable, TABLE_LOW_ENABLE, LABEL, TW, "Low"},
        {&idTable, TABLE_ERR_ENABLE, LABEL, TW, "Err"},
        {&idTable, TABLE_COUNTER_HEADING, VALUE, TW, "AlarmCounterUsageName"},
        {&idTable, TABLE_COUNTER, LABEL, TW, "Counter"},
        {&idTable, TABLE_USAGE, LABEL, TW, "Usage"},
        {&idTable, TABLE_PROCESS, LABEL, CM, "CMDGo"},
        {&idTable, TABLE_PRINT, LABEL, TW, "PrintButton"},
        {&idTable, TABLE_EXIT, LABEL, TW, "CloseButton"},
        // statistics
        {&idStatistic, 0, TITLE, SW, "StatisticTitle"},
        {&idStatistic, STATISTIC_CHANNEL, LABEL, SW, "StatisticChannel"},
        {&idStatistic, STATISTIC_HISTOGRAM1, LABEL, SW, "THistogramName"},
        {&idStatistic, STATISTIC_RANGE1_TEXT, VALUE, SW, "Range1"},
        {&idStatistic, STATISTIC_RANGE2_TEXT, VALUE, SW, "Range2"},
        {&idStatistic, STATISTIC_INTERVALS1, LABEL, SW, "Intervals"},
        {&idStatistic, STATISTIC_INTERVALS2, LABEL, SW, "Intervals"},
        {&idStatistic, STATISTIC_MAX1, LABEL, SW, "Maximum"},
        {&idStatistic, STATISTIC_MAX2, LABEL, SW, "Maximum"},
        {&idStatistic, STATISTIC_MIN1, LABEL, SW, "Minimum"},
        {&idStatistic, STATISTIC_MIN2, LABEL, SW, "Minimum"},
        {&idStatistic, STATISTIC_MEAN1, LABEL, SW, "Mean"},
        {&idStatistic, STATISTIC_MEAN2, LABEL, SW, "Mean"},
        {&idStatistic, STATISTIC_STDDEV1, LABEL, SW, "StdDev"},
        {&idStatistic, STATISTIC_STDDEV2, LABEL, SW, "StdDev"},
        {&idStatistic, STATISTIC_CURSOR_Y1, LABEL, SW, "Records"},
        {&idStatistic, STATISTIC_CURSOR_Y2, LABEL, SW, "Records"},
        {&idStatistic, STATISTIC_NUM1, LABEL, SW, "Num"},
        {&idStatistic, STATISTIC_NUM2, LABEL, SW, "Num"},
        {&idStatistic, STATISTIC_MKT1, LABEL, SW, "wMkt"},
        {&idStatistic, STATISTIC_MKT2, LABEL, SW, "wMkt"},
        {&idStatistic, STATISTIC_PRINT, LABEL, SW, "PrintButton"},
        {&idStatistic, STATISTIC_EXIT, LABEL, SW, "CloseButton"},
        // group files: its title, the rest from the main window's section
        {&idMonitors, 0, TITLE, GF, "GroupFilesTitle"},
        {&idMonitors, MONITORS_GRAPH, LABEL, MW, "GraphSectionName"},
        {&idMonitors, MONITORS_GRAPH, YLEFT, MW, "TXTYAxisL"},
        {&idMonitors, MONITORS_GRAPH, YRIGHT, MW, "TXTYAxisR"},
        {&idMonitors, MONITORS_GRAPH, XNAME, MW, "SWXAxisL"},
        {&idMonitors, MONITORS_DISPLAY_HEADING, VALUE, MW, "DisplayControlSectionName"},
        {&idMonitors, MONITORS_OFFSET, LABEL, MW, "SWOffset"},
        {&idMonitors, MONITORS_RANGE, LABEL, MW, "SWRange"},
        {&idMonitors, MONITORS_NOTES, VALUE, OT, "Notes"},
    };
    return t;
}

std::string shown(const Target &t) {
    const int p = *t.panel;
    switch (t.kind) {
        case TITLE: return panelTitle(p);
        case LABEL: return label(p, t.ctrl);
        case VALUE: return value(p, t.ctrl);
        case OFF: return switchText(p, t.ctrl, ATTR_OFF_TEXT);
        case ON: return switchText(p, t.ctrl, ATTR_ON_TEXT);
        case YLEFT: return rt::GraphAxis(p, t.ctrl, VAL_LEFT_YAXIS).name;
        case YRIGHT: return rt::GraphAxis(p, t.ctrl, VAL_RIGHT_YAXIS).name;
        case XNAME: return rt::GraphAxis(p, t.ctrl, VAL_XAXIS).name;
        case MENU: return menuItem(p, t.ctrl);
        case COLUMN1: return columnLabel(p, t.ctrl, 1);
        case COLUMN2: return columnLabel(p, t.ctrl, 2);
        case COLUMN3: return columnLabel(p, t.ctrl, 3);
    }
    return "";
}

// Globals and where their texts come from.
struct GlobalKey {
    const char *global;
    const char *section;
    const char *key;
};
const std::vector<GlobalKey> &globalKeys() {
    static const std::vector<GlobalKey> g = {
        {wRetrieveFile, MW, "Menu1"},
        {wSaveFile, MW, "Menu2"},
        {wDate, MW, "TXTDate"},
        {wTime, MW, "TXTTime"},
        {wTemperature, MW, "TXTOnGraph1"},
        {wTemperature2, MW, "TXTOnGraph4"},
        {wTemp1C, MW, "TXTYAxisL11"},
        {wTemp1F, MW, "TXTYAxisL12"},
        {wTemp2C, MW, "TXTYAxisL21"},
        {wTemp2F, MW, "TXTYAxisL22"},
        {wTemperature_41670, MW, "TXTOnGraph1_41670"},
        {wTemperature2_41670, MW, "TXTOnGraph4_41670"},
        {wTemp1C_41670, MW, "TXTYAxisL11_41670"},
        {wTemp1F_41670, MW, "TXTYAxisL12_41670"},
        {wTemp2C_41670, MW, "TXTYAxisL21_41670"},
        {wTemp2F_41670, MW, "TXTYAxisL22_41670"},
        {wHumidity, MW, "TXTOnGraph2"},
        {wTempC, MW, "TXTYAxisL1"},
        {wTempF, MW, "TXTYAxisL2"},
        {wRh, MW, "TXTYAxisR"},
        {cmdOk, CM, "CMDOk"},
        {cmdCancel, CM, "CMDCancel"},
        {cmdGo, CM, "CMDGo"},
        {cmdSet, CM, "CMDSet"},
        {cmdRecall, CM, "CMDRecall"},
        {msg1, "Message", "MSG1"},
        {msg9, "Message", "MSG9"},
        {msg16, "Message", "MSG16"},
        {warn1, "Message", "WARN1"},
        {warn3, "Message", "WARN3"},
        {warn22, "Message", "WARN22"},
        {warn23, "Message", "WARN23"},
        {warn28, "Message", "WARN28"},
        {warn31, "Message", "WARN31"},
        {wNotes, OT, "Notes"},
        {wRecords, OT, "Records"},
        {wPoints, OT, "Points"},
        {wVersion, OT, "Version"},
        {wDegree[0], OT, "DegreeC"},
        {wDegree[1], OT, "DegreeF"},
        {wRhUnit, OT, "RHUnit"},
        {wStatistic, OT, "Statistic"},
        {wUnit, OT, "Unit"},
        {wRate, OT, "Rate"},
    };
    return g;
}
const std::vector<GlobalKey> &windowGlobalKeys() {
    static const std::vector<GlobalKey> g = {
        {wStartMode0, LS, "StartMode0"},
        {wStartMode1, LS, "StartMode1"},
        {wStartMode2, LS, "StartMode2"},
        {wStartMode3, LS, "StartMode3"},
        {wStartMode4, LS, "StartMode4"},
        {wStartMode20, LS, "StartMode20"},
        {wUnit1, LS, "Unit1"},
        {wUnit3, LS, "Unit3"},
        {wHistogramT, SW, "THistogramName"},
        {wHistogramT2, SW, "T2HistogramName"},
        {wHistogramR, SW, "RHistogramName"},
    };
    return g;
}

void openEveryWindow() {
    localCommSetWindow();
    localLoggerSetWindow();
    localTempCaliWindow();
    localRhCaliWindow();
    localTableWindow();
    localStatisticWindow();
}

// Every target and global, with the shipped preferences naming each shipped language.
class ShippedLanguage : public LocalTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(ShippedLanguage, EveryWindowShowsTheTextsOfItsKeys) {
    copyAllShipped();
    preferLanguage(GetParam());
    const IniFile lang(dir_ / GetParam());
    ASSERT_TRUE(lang.ok());
    loadWindows();

    startTexts();
    EXPECT_EQ(agent_.count(""), 0) << ::testing::PrintToString(popups());
    EXPECT_EQ(std::string(languagePath), (dir_ / GetParam()).string());
    for (const Target &t : mainTargets()) EXPECT_EQ(shown(t), lang.get(t.section, t.key)) << t.section << "/" << t.key;
    for (const GlobalKey &g : globalKeys())
        EXPECT_EQ(std::string(g.global), lang.get(g.section, g.key)) << g.section << "/" << g.key;
    // the captions under the chart and the notes line of the group-files window
    const std::string date = lang.get(MW, "TXTDate"), time = lang.get(MW, "TXTTime");
    EXPECT_EQ(value(idMonitor, MONITOR_START_TIME), "[" + date + " & " + time);
    EXPECT_EQ(value(idMonitor, MONITOR_END_TIME), date + " & " + time + "]");
    EXPECT_EQ(value(idMonitors, MONITORS_NOTES), lang.get(OT, "Version") + " 3.0");
    // naming the right axis leaves the left one active
    int active = 0;
    GetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_ACTIVE_YAXIS, &active);
    EXPECT_EQ(active, VAL_LEFT_YAXIS);

    openEveryWindow();
    localGroupFilesWindow();
    EXPECT_EQ(agent_.count(""), 0) << ::testing::PrintToString(popups());
    for (const Target &t : otherTargets()) EXPECT_EQ(shown(t), lang.get(t.section, t.key)) << t.section << "/" << t.key;
    for (const GlobalKey &g : windowGlobalKeys())
        EXPECT_EQ(std::string(g.global), lang.get(g.section, g.key)) << g.section << "/" << g.key;
    EXPECT_EQ(ringItems(idTable, TABLE_CONDITION),
              (std::vector<RingItem>{{lang.get(TW, "TableCondition1"), 0}, {lang.get(TW, "TableCondition2"), 1}}));
    GetCtrlAttribute(idMonitors, MONITORS_GRAPH, ATTR_ACTIVE_YAXIS, &active);
    EXPECT_EQ(active, VAL_LEFT_YAXIS);
    EXPECT_EQ(localIni, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedLanguage, ::testing::Values("English.ini", "German.ini"),
                         [](const auto &info) { return caseName(withoutExtension(info.param)); });

TEST_F(LocalTest, ShippedFilesGiveTheMainWindowItsEnglishTexts) {
    copyAllShipped();
    loadWindows();
    startTexts();
    EXPECT_EQ(agent_.count(""), 0);
    EXPECT_EQ(panelTitle(idMonitor), "Tavix");
    EXPECT_EQ(label(idMonitor, MONITOR_MENU1), "Retrieve File");
    EXPECT_EQ(label(idMonitor, MONITOR_MENU2), "Save File");
    EXPECT_EQ(label(idMonitor, MONITOR_EXIT), "Exit");
    EXPECT_EQ(label(idMsg, MSG_OK), "OK");
    EXPECT_EQ(rt::GraphAxis(idMonitor, MONITOR_GRAPH, VAL_RIGHT_YAXIS).name, "Humidity (%RH)");
    EXPECT_EQ(switchText(idMonitor, MONITOR_XAXIS_SWITCH, ATTR_OFF_TEXT), "Record No.");
    EXPECT_EQ(menuItem(scalMenuHandle, SCALMENU_SCALE_ALL), "Scale to all curves");
    EXPECT_EQ(value(idMonitor, MONITOR_START_TIME), "[Date & Time");
    EXPECT_EQ(value(idMonitors, MONITORS_NOTES), "Tavix version 3.0");
    EXPECT_STREQ(wDegree[0], "°C");
    EXPECT_STREQ(warn9, "Warning");
}

TEST_F(LocalTest, GermanInThePreferencesSwitchesTheMainWindow) {
    copyAllShipped();
    preferLanguage("German.ini");
    loadWindows();
    startTexts();
    EXPECT_EQ(agent_.count(""), 0);
    EXPECT_EQ(label(idMonitor, MONITOR_MENU1), "Datei öffnen");
    EXPECT_EQ(label(idMonitor, MONITOR_EXIT), "Beenden");
    EXPECT_EQ(label(idMonitor, MONITOR_START_BUTTON), "Start");
    EXPECT_EQ(value(idMonitor, MONITOR_START_TIME), "[Datum & Uhrzeit");
    EXPECT_EQ(rt::GraphAxis(idMonitor, MONITOR_GRAPH, VAL_RIGHT_YAXIS).name, "Feuchte (%rF)");
    EXPECT_STREQ(cmdCancel, "Abbrechen");
    EXPECT_STREQ(wSaveFile, "Datei speichern");
    EXPECT_STREQ(warn9, "Warnung");

    // every text of the main window that differs between the two files shows the German one
    const IniFile en(kShipped / "English.ini"), de(kShipped / "German.ini");
    int differing = 0;
    for (const Target &t : mainTargets()) {
        EXPECT_EQ(shown(t), de.get(t.section, t.key)) << t.key;
        if (en.get(t.section, t.key) != de.get(t.section, t.key)) ++differing;
    }
    EXPECT_GT(differing, 20);
}

// ---------------------------------------------------------------- failures

// What each window-text function shows when the file cannot be read, when it has none of
// the function's sections, and when it has no section at all.
struct WindowErrors {
    const char *name;
    void (*function)();
    const char *readError;
    const char *itemsError;
    int itemsErrors;   // once per section of the function
    const char *sectionsError;
};

const WindowErrors kWindowErrors[] = {
    {"main", localMainWindow, "ERROR 610: Error reading ini file !", "ERROR 611: Error reading [General] items !", 4,
     "ERROR 612: Error reading ini sections !"},
    {"comm", localCommSetWindow, "ERROR 616: Error reading ini file !", "ERROR 617: Error reading [General] items !", 1,
     "ERROR 618: Error reading ini sections !"},
    {"logger", localLoggerSetWindow, "ERROR 628: Error reading ini file !",
     "ERROR 629: Error reading [General] items !", 1, "ERROR 630: Error reading ini sections !"},
    {"tempcali", localTempCaliWindow, "ERROR 619: Error reading ini file !",
     "ERROR 620: Error reading [TempCaliWindow] items !", 1, "ERROR 621: Error reading ini sections !"},
    {"rhcali", localRhCaliWindow, "ERROR 619: Error reading ini file !",
     "ERROR 620: Error reading [RhCaliWindow] items !", 1, "ERROR 621: Error reading ini sections !"},
    {"table", localTableWindow, "ERROR 619: Error reading ini file !",
     "ERROR 620: Error reading [TableWindows] items !", 1, "ERROR 621: Error reading ini sections !"},
    {"statistic", localStatisticWindow, "ERROR 622: Error reading ini file !",
     "ERROR 623: Error reading [General] items !", 1, "ERROR 624: Error reading ini sections !"},
    {"group", localGroupFilesWindow, "ERROR 625: Error reading ini file !",
     "ERROR 626: Error reading [General] items !", 2, "ERROR 627: Error reading ini sections !"},
};

class WindowFailures : public LocalTest, public ::testing::WithParamInterface<WindowErrors> {
protected:
    // The preferences name `language`; the main window's texts are read first (it builds
    // the path the others use), then the pop-ups of the function under test are collected.
    std::vector<std::string> popUpsOf(const std::string &language) {
        preferLanguage(language);
        loadWindows();
        localInit();
        localized();
        if (GetParam().function != localMainWindow) localMainWindow();
        agent_.clear();
        GetParam().function();
        std::vector<std::string> texts;
        for (const auto &s : agent_.shown) {
            EXPECT_EQ(s.title, prefsPath());
            texts.push_back(s.text);
        }
        EXPECT_EQ(localIni, nullptr) << "the store is disposed of on every path";
        return texts;
    }
};

TEST_P(WindowFailures, MissingLanguageFile) {
    EXPECT_EQ(popUpsOf("Missing.ini"), std::vector<std::string>{GetParam().readError});
}

TEST_P(WindowFailures, FileWithoutItsSections) {
    write("Other.ini", "[Unrelated]\nKey = text\n[TableWindow]\n");
    EXPECT_EQ(popUpsOf("Other.ini"), std::vector<std::string>(GetParam().itemsErrors, GetParam().itemsError));
}

TEST_P(WindowFailures, FileWithoutAnySection) {
    write("Empty.ini", "; a language file with comments only\nno section\n");
    EXPECT_EQ(popUpsOf("Empty.ini"), std::vector<std::string>{GetParam().sectionsError});
}

INSTANTIATE_TEST_SUITE_P(Functions, WindowFailures, ::testing::ValuesIn(kWindowErrors),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(LocalTest, EmptyLanguagePreferenceIsAReadError) {
    write("localORM.ini", "[General]\nDate Format = Y-M-D\n[TableProcess]\ndefaultHigh = 1\n");
    loadWindows();
    startTexts();
    EXPECT_EQ(popups(), std::vector<std::string>{prefsPath() + "|ERROR 610: Error reading ini file !"});
}

TEST_F(LocalTest, StartUpWithoutTheLanguageFileWarnsOnceAndRunsOn) {
    copyShipped("localORM.ini");   // names English.ini, which is not there
    ASSERT_EQ(startProgram(true), 0);

    EXPECT_EQ(popupsWith("ERROR 610"), 1);
    EXPECT_EQ(popupsWith("ERROR 6"), 1) << ::testing::PrintToString(popups());
    EXPECT_TRUE(rt::PanelVisible(idMonitor));
    EXPECT_STREQ(msg1, "");
    EXPECT_STREQ(warn3, "");
    EXPECT_STREQ(cmdOk, "");
    EXPECT_EQ(sLocal.dateFormat, 2) << "the preferences were still read";
    // the window opened later says that it cannot read its texts
    agent_.clear();
    localTableWindow();
    EXPECT_EQ(popups(), std::vector<std::string>{prefsPath() + "|ERROR 619: Error reading ini file !"});
}

TEST_F(LocalTest, StartUpWithTheShippedFilesShowsEnglish) {
    copyAllShipped();
    ASSERT_EQ(startProgram(false), 0);   // first use: the port detection uses the texts too

    EXPECT_EQ(popupsWith("ERROR 6"), 0) << ::testing::PrintToString(popups());
    EXPECT_EQ(panelTitle(idMonitor), "Tavix");
    const IniFile en(kShipped / "English.ini");
    for (const Target &t : mainTargets())
        if (t.kind == LABEL || t.kind == TITLE || t.kind == MENU || t.kind == OFF || t.kind == ON) {
            EXPECT_EQ(shown(t), en.get(t.section, t.key)) << t.key;
        }
    EXPECT_STREQ(warn2, en.get("Message", "WARN2").c_str());
    EXPECT_EQ(agent_.shown.front().title, en.get("Message", "WARN28")) << "the detection asks in English";
}

TEST_F(LocalTest, LanguageFileWithoutMessagesWarnsOnceAndAppliesTheRest) {
    write("NoMessages.ini",
          "[MainWindow]\nMenu1 = Fetch\nTXTDate = D\nTXTTime = T\n[Commands]\nCMDOk = Fine\n"
          "[Others]\nVersion = V\nPoints = pts\n");
    preferLanguage("NoMessages.ini");
    loadWindows();
    startTexts();
    EXPECT_EQ(popups(), std::vector<std::string>{prefsPath() + "|ERROR 611: Error reading [General] items !"});
    EXPECT_EQ(label(idMonitor, MONITOR_MENU1), "Fetch");
    EXPECT_STREQ(wRetrieveFile, "Fetch");
    EXPECT_STREQ(cmdOk, "Fine");
    EXPECT_STREQ(wPoints, "pts");
    EXPECT_STREQ(msg1, "");
    EXPECT_STREQ(warn31, "");
    EXPECT_EQ(value(idMonitors, MONITORS_NOTES), "V 3.0");
    // keys missing from a present section leave their targets as the layout made them
    EXPECT_EQ(label(idMonitor, MONITOR_MENU2), "Save File");
    EXPECT_STREQ(wSaveFile, "");
}

TEST_F(LocalTest, QuotesAreRemovedAndContinuationLinesJoined) {
    write("Lang.ini",
          "[MainWindow]\n"
          "MainTitle Line0001 = \"Tavix \"\n"
          "MainTitle Line0002 = \"Professional\"\n"
          "Menu1 = \" Open; a file \"\n"
          "[Message]\n"
          "MSG1 Line0001 = \"The logger \"\n"
          "MSG1 Line0002 = has answered.\n"
          "[Others]\nVersion = \"Release\"\n");
    preferLanguage("Lang.ini");
    loadWindows();
    startTexts();
    EXPECT_EQ(panelTitle(idMonitor), "Tavix Professional");
    EXPECT_EQ(label(idMonitor, MONITOR_MENU1), " Open; a file ");
    EXPECT_STREQ(wRetrieveFile, " Open; a file ");
    EXPECT_STREQ(msg1, "The logger has answered.");
    EXPECT_EQ(value(idMonitors, MONITORS_NOTES), "Release 3.0");
}

TEST_F(LocalTest, LongTextsAreShownWholeAndKeptCutToTheirGlobal) {
    const std::string menu = "A retrieve caption longer than twenty-nine bytes";
    const std::string message(150, 'm');
    const std::string date = std::string(28, 'd') + "üd";   // byte 29 is the first of "ü"
    write("Lang.ini", "[MainWindow]\nMenu1 = " + menu + "\nTXTDate = " + date +
                          "\n[Commands]\nCMDOk = Sixteen letters!\n[Message]\nWARN3 = " + message + "\n");
    preferLanguage("Lang.ini");
    loadWindows();
    startTexts();
    EXPECT_EQ(label(idMonitor, MONITOR_MENU1), menu);
    EXPECT_EQ(std::string(wRetrieveFile), menu.substr(0, 29));
    EXPECT_EQ(std::string(cmdOk), "Sixteen letters");
    EXPECT_EQ(std::string(warn3), message.substr(0, 99));
    // 29 bytes would end inside "ü": the global stops before it
    EXPECT_EQ(label(idMonitor, MONITOR_DATE), date);
    EXPECT_EQ(std::string(wDate), std::string(28, 'd'));
}

// ---------------------------------------------------------------- rings rebuilt at every opening

TEST_F(LocalTest, StartModeRingHoldsExactlyTheThreeCommonModesAfterEveryOpening) {
    copyAllShipped();
    loadWindows();
    startTexts();
    const std::vector<RingItem> expected = {
        {"Start immediately", 20}, {"Start at date and time", 0}, {"Start mode 1", 1}};
    for (int opening = 0; opening < 3; ++opening) {
        // what the window made of the ring for the connected model meanwhile
        InsertListItem(idSetLogger, SETLOGGER_STARTMODE, -1, "Start mode 2", 2);
        InsertListItem(idSetLogger, SETLOGGER_STARTMODE, -1, "Start mode 3", 3);
        localLoggerSetWindow();
        EXPECT_EQ(ringItems(idSetLogger, SETLOGGER_STARTMODE), expected) << "opening " << opening;
    }
}

TEST_F(LocalTest, ConditionRingHoldsItsTwoItemsAfterEveryOpening) {
    copyAllShipped();
    loadWindows();
    startTexts();
    const std::vector<RingItem> expected = {{"All enabled tests (AND)", 0}, {"Any enabled test (OR)", 1}};
    for (int opening = 0; opening < 3; ++opening) {
        localTableWindow();
        EXPECT_EQ(ringItems(idTable, TABLE_CONDITION), expected) << "opening " << opening;
    }
}

TEST_F(LocalTest, NotesShowTheVersionUntilTheGroupFilesWindowOpens) {
    copyAllShipped();
    loadWindows();
    startTexts();
    EXPECT_EQ(value(idMonitors, MONITORS_NOTES), "Tavix version 3.0");
    localGroupFilesWindow();
    EXPECT_EQ(value(idMonitors, MONITORS_NOTES), "Choose files with A to H.");
}

TEST_F(LocalTest, ALanguageFileChangedWhileRunningShowsInWindowsOpenedLater) {
    copyAllShipped();
    preferLanguage("Lang.ini");
    write("Lang.ini", "[MainWindow]\nMenu1 = First\n[TableWindow]\nTableTitle = Table one\n");
    loadWindows();
    startTexts();
    localTableWindow();
    EXPECT_EQ(panelTitle(idTable), "Table one");
    write("Lang.ini", "[MainWindow]\nMenu1 = Second\n[TableWindow]\nTableTitle = Table two\n");
    localTableWindow();
    EXPECT_EQ(panelTitle(idTable), "Table two");
    EXPECT_STREQ(wRetrieveFile, "First") << "the globals keep the start-up texts";
}

// ---------------------------------------------------------------- Chinese file buttons

TEST_F(LocalTest, ChineseFileButtonLabels) {
    loadWindows();
    Traditional_Chinese();
    EXPECT_EQ(label(idMonitors, MONITORS_FILE_A), "A 檔案");
    EXPECT_EQ(label(idMonitors, MONITORS_FILE_H), "H 檔案");
    Simplified_Chinese();
    EXPECT_EQ(label(idMonitors, MONITORS_FILE_A), "A 档案");
    EXPECT_EQ(label(idMonitors, MONITORS_FILE_D), "D 档案");
}

// ================================================================ the shipped language files

// Every key of the language file, by section, with the capacity of the global it fills
// (0: applied to a window only, or shown nowhere).
struct LanguageKey {
    std::string section;
    std::string key;
    int capacity;
};

std::vector<LanguageKey> languageKeys() {
    std::vector<LanguageKey> keys;
    auto add = [&](const char *section, std::initializer_list<std::pair<const char *, int>> list) {
        for (const auto &k : list) keys.push_back({section, k.first, k.second});
    };
    const int W = WINDOW_TEXT_SIZE, C = COMMAND_TEXT_SIZE;
    add(MW, {{"MainTitle", 0},
             {"Menu1", W},
             {"Menu2", W},
             {"Menu3", 0},
             {"Menu4", 0},
             {"Menu5", 0},
             {"Menu6", 0},
             {"Menu7", 0},
             {"Menu8", 0},
             {"Menu9", 0},
             {"CMDGetID", 0},
             {"TXTDate", W},
             {"TXTTime", W},
             {"GraphSectionName", 0},
             {"TXTOnGraph1", W},
             {"TXTOnGraph4", W},
             {"TXTYAxisL11", W},
             {"TXTYAxisL12", W},
             {"TXTYAxisL21", W},
             {"TXTYAxisL22", W},
             {"TXTOnGraph1_41670", W},
             {"TXTOnGraph4_41670", W},
             {"TXTYAxisL11_41670", W},
             {"TXTYAxisL12_41670", W},
             {"TXTYAxisL21_41670", W},
             {"TXTYAxisL22_41670", W},
             {"TXTOnGraph2", W},
             {"TXTYAxisL1", W},
             {"TXTYAxisL2", W},
             {"TXTYAxisR", W},
             {"SWXAxisL", 0},
             {"SWXAxisR", 0},
             {"CursorSectionName", 0},
             {"Cursor1", 0},
             {"Cursor2", 0},
             {"DownloadSectionName", 0},
             {"CMDStart", 0},
             {"CMDEnd", 0},
             {"DisplayControlSectionName", 0},
             {"SWOffset", 0},
             {"SWRange", 0},
             {"ScaleMenu1", 0},
             {"ScaleMenu2", 0},
             {"ScaleMenu3", 0},
             {"TXTYAxisL", 0}});
    add(CM, {{"CMDExit", 0}, {"CMDOk", C}, {"CMDCancel", C}, {"CMDGo", C}, {"CMDSet", C}, {"CMDRecall", C}});
    for (int i = 1; i <= 16; ++i) keys.push_back({"Message", "MSG" + std::to_string(i), MSG_TEXT_SIZE});
    for (int i = 1; i <= 31; ++i)
        if (i < 24 || i > 27) keys.push_back({"Message", "WARN" + std::to_string(i), MSG_TEXT_SIZE});
    add(OT, {{"File", 0},
             {"Notes", W},
             {"Records", W},
             {"Points", W},
             {"Index", 0},
             {"Version", W - 4},   // followed by " 3.0" in a text of the same capacity
             {"DegreeC", W},
             {"DegreeF", W},
             {"RHUnit", W},
             {"Statistic", W},
             {"Unit", W},
             {"Rate", W}});
    add(CS, {{"CommSetTitle", 0},
             {"CommSectionName", 0},
             {"PortNo", 0},
             {"BaudRate", 0},
             {"DataBits", 0},
             {"Parity", 0},
             {"StopBits", 0},
             {"CommAuto", 0}});
    add(LS, {{"LoggerSetTitle", 0},
             {"LoggerSetSectionName", 0},
             {"SamplePoints", 0},
             {"SampleRate", 0},
             {"StartMode", 0},
             {"StartDate", 0},
             {"StartTime", 0},
             {"Unit", 0},
             {"StartMode0", W},
             {"StartMode1", W},
             {"StartMode2", W},
             {"StartMode3", W},
             {"StartMode4", W},
             {"StartMode20", W},
             {"Unit4", 0},
             {"Unit3", W},
             {"Unit2", 0},
             {"Unit1", W},
             {"AlarmSetSetionName", 0},
             {"AlarmChannel", 0},
             {"HighAlarm", 0},
             {"LowAlarm", 0},
             {"ClockSetSectionName", 0},
             {"LoggerDate", 0},
             {"LoggerTime", 0},
             {"SleepSetSectionName", 0},
             {"SleepMode1", 0},
             {"SleepMode2", 0},
             {"IDSetSectionName", 0},
             {"Identifier", 0},
             {"CaliSetSetionName", 0},
             {"CaliTitle", 0},
             {"SettingTitle", 0}});
    add(TC, {{"TempCaliTitle", 0},
             {"TempCaliSectionName", 0},
             {"TempCaliStep1Lable", 0},
             {"TempCaliStep2Lable", 0},
             {"TempCaliStep3Lable", 0},
             {"TempCaliNote", 0}});
    add(RC, {{"RhCaliTitle", 0}, {"RhCaliSectionName", 0}});
    add(TW, {{"TableTitle", 0},
             {"TableSectionName", 0},
             {"Col3", 0},
             {"Col2", 0},
             {"Col1", 0},
             {"DataManipulationName", 0},
             {"TableChannel", 0},
             {"TableConditionName", 0},
             {"TableCondition1", 0},
             {"TableCondition2", 0},
             {"TableColor", 0},
             {"High", 0},
             {"Low", 0},
             {"Err", 0},
             {"AlarmCounterUsageName", 0},
             {"Counter", 0},
             {"Usage", 0}});
    add(SW, {{"StatisticTitle", 0},
             {"StatisticChannel", 0},
             {"THistogramName", W},
             {"T2HistogramName", W},
             {"RHistogramName", W},
             {"Range1", 0},
             {"Range2", 0},
             {"Intervals", 0},
             {"Maximum", 0},
             {"Minimum", 0},
             {"Mean", 0},
             {"StdDev", 0},
             {"Records", 0},
             {"Num", 0}});
    add(GF, {{"GroupFilesTitle", 0}});
    // captions of the buttons that have no key of their own in the tables above
    add(CS, {{"DeviceLabel", 0}, {"BindButton", 0}});
    add(LS, {{"CloseButton", 0}});
    add(TC, {{"CloseButton", 0}});
    add(RC, {{"CloseButton", 0}});
    add(TW, {{"PrintButton", 0}, {"CloseButton", 0}});
    add(SW, {{"PrintButton", 0}, {"CloseButton", 0}});
    return keys;
}

class ShippedFile : public ::testing::TestWithParam<const char *> {};

TEST_P(ShippedFile, HoldsEveryKeyNonEmptyAndWithinItsCapacity) {
    const IniFile lang(kShipped / GetParam());
    ASSERT_TRUE(lang.ok());
    const std::vector<LanguageKey> keys = languageKeys();
    std::set<std::string> seen;
    for (const LanguageKey &k : keys) {
        const std::string name = k.section + "/" + k.key;
        EXPECT_TRUE(seen.insert(name).second) << "listed twice: " << name;
        ASSERT_TRUE(lang.has(k.section.c_str(), k.key.c_str())) << GetParam() << ": " << name;
        const std::string text = lang.get(k.section.c_str(), k.key.c_str());
        EXPECT_FALSE(text.empty()) << GetParam() << ": " << name;
        if (k.capacity > 0) {
            EXPECT_LE(text.size(), static_cast<std::size_t>(k.capacity - 1))
                << GetParam() << ": " << name << " = " << text;
        }
    }
}

TEST(ShippedFiles, GermanIsATranslationNotACopy) {
    const IniFile en(kShipped / "English.ini"), de(kShipped / "German.ini");
    int same = 0, messages = 0;
    for (const LanguageKey &k : languageKeys()) {
        if (k.section != "Message") continue;
        ++messages;
        same += en.get("Message", k.key.c_str()) == de.get("Message", k.key.c_str());
    }
    EXPECT_EQ(messages, 43);
    EXPECT_EQ(same, 0);
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedFile, ::testing::Values("English.ini", "German.ini"),
                         [](const auto &info) { return caseName(withoutExtension(info.param)); });

}   // namespace
