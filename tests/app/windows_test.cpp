// Pictures of every window as the user first sees it, kept in build/artifacts for a look by
// eye (layout, captions, language texts). Each window must load, get its texts and draw.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRect>
#include <QRegularExpression>
#include <QSize>
#include <QTableView>

#include <qcustomplot.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "CtrlRect.h"
#include "app/Tavix.h"
#include "local/Local.h"
#include "local/PreferencesWindow.h"
#include "panels/Panels.h"
#include "runtime/agent.h"
#include "base/clock.h"
#include "runtime/inspect.h"
#include "runtime/inspect_layout.h"
#include "runtime/serial.h"
#include "runtime/ui.h"

namespace fs = std::filesystem;

TEST(Windows, EveryWindowDrawsWithItsTexts) {
    const fs::path dir = fs::temp_directory_path() / ("tavix-windows-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char *f : {"localORM.ini", "English.ini", "Ormel logo.bmp"})
        fs::copy_file(fs::path(TAVIX_BIN_DIR) / f, dir / f);
    fs::current_path(dir);
    rt::ScriptedAgent agent;
    rt::SetUserAgent(&agent);
    rt::SetClock({2026, 12, 10, 9, 30, 0});
    for (int p = 1; p <= MAX_COM_PORT; ++p) rt::BindComPort(p, (dir / "none").string());
    // a state file naming port 5, so that the start-up runs no detection
    RegisterLayouts();
    const int setting = LoadPanel(0, SETTING);
    ASSERT_GT(setting, 0);
    SetCtrlVal(setting, SETTING_PORT, 5);
    ASSERT_GE(SavePanelState(setting, TAVIX_STATE_FILE, 1), 0);
    DiscardPanel(setting);

    ASSERT_EQ(tavixStart(0, nullptr, dir.string().c_str()), 0);
    // the windows get their texts as their commands open them
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU8, EVENT_COMMIT);   // communication settings
    rt::FireCtrlEvent(idSetting, SETTING_PREFERENCES, EVENT_COMMIT);
    localLoggerSetWindow();
    localTableWindow();
    localStatisticWindow();
    localGroupFilesWindow();
    localTempCaliWindow();
    localRhCaliWindow();

    const fs::path out = fs::path(TAVIX_BIN_DIR).parent_path() / "artifacts" / "windows";
    fs::create_directories(out);
    const struct {
        int panel;
        const char *name;
    } windows[] = {{idMonitor, "main"},
                   {idSetting, "communication"},
                   {idSetLogger, "logger-settings"},
                   {idTable, "data-table"},
                   {idStatistic, "statistics"},
                   {idMonitors, "group-files"},
                   {idTempCali, "temperature-calibration"},
                   {idRhCali, "humidity-calibration"},
                   {idMsg, "message"},
                   {idPreferences, "preferences"}};
    for (const auto &w : windows) {
        ASSERT_GT(w.panel, 0) << w.name;
        EXPECT_EQ(rt::SavePanelImage(w.panel, (out / (std::string(w.name) + ".png")).string().c_str()), 0) << w.name;
        char title[128] = "";
        GetPanelAttribute(w.panel, ATTR_TITLE, title, sizeof title);
        EXPECT_STRNE(title, "") << w.name;
    }
    // no language error on the way
    EXPECT_EQ(agent.count("message"), 1) << "only the warning that port 5 does not open";

    tavixStop();
    rt::SetUserAgent(nullptr);
    rt::ClearClock();
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(dir);
}

// ---------------------------------------------------------------- laid-out windows

struct LanguageCase {
    const char *name;
    const char *file;
    int widest;   // the main window's smallest width may not exceed this
};

class LaidOutWindows : public ::testing::TestWithParam<LanguageCase> {};

// The program's folder with the language chosen in its preferences.
fs::path languageFolder(const LanguageCase &lang) {
    const fs::path dir = fs::temp_directory_path() / ("tavix-layout-" + std::to_string(::getpid()) + lang.name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char *f : {"English.ini", "German.ini", "Ormel logo.bmp"})
        fs::copy_file(fs::path(TAVIX_BIN_DIR) / f, dir / f);
    std::ifstream in(fs::path(TAVIX_BIN_DIR) / "localORM.ini", std::ios::binary);
    std::string prefs((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string key = "Language File = English.ini";
    const auto at = prefs.find(key);
    if (at != std::string::npos) prefs.replace(at, key.size(), std::string("Language File = ") + lang.file);
    std::ofstream(dir / "localORM.ini", std::ios::binary) << prefs;
    return dir;
}

// What a window shows as laid out now: no control (or caption) sticks out of its window or
// of the frame that groups it, no two overlap inside the same group, and every caption,
// button text, text message and chosen ring item has the width its font needs.
void expectWholeAndApart(int panel, const std::string &window) {
    int width = 0, height = 0;
    GetPanelAttribute(panel, ATTR_WIDTH, &width);
    GetPanelAttribute(panel, ATTR_HEIGHT, &height);
    struct Shown {
        std::string name;
        int group;
        QRect rect;
    };
    std::vector<Shown> shown;
    for (int id : rt::PanelControls(panel)) {
        int visible = 0;
        if (rt::CtrlKindOf(panel, id) == CTRL_TIMER) continue;
        GetCtrlAttribute(panel, id, ATTR_VISIBLE, &visible);
        if (!visible) continue;
        const int group = rt::CtrlGroup(panel, id);
        shown.push_back({"control " + std::to_string(id), group, ctrlRect(panel, id)});
        for (const rt::ShownText &t : rt::CtrlTexts(panel, id)) {
            EXPECT_LE(t.needed, t.room) << window << ": the " << t.what << " \"" << t.text << "\" of control " << id
                                        << " is cut";
            if (t.what == "caption")
                shown.push_back({"the caption of " + std::to_string(id), group, {t.left, t.top, t.width, t.height}});
        }
    }
    for (const Shown &s : shown) {
        const QRect room = s.group == 0 ? QRect(0, 0, width, height) : ctrlRect(panel, s.group);
        EXPECT_FALSE(s.rect.isEmpty()) << window << ": " << s.name;
        EXPECT_TRUE(room.contains(s.rect)) << window << ": " << s.name << " sticks out of group " << s.group;
    }
    for (std::size_t a = 0; a < shown.size(); ++a)
        for (std::size_t b = a + 1; b < shown.size(); ++b)
            EXPECT_FALSE(shown[a].group == shown[b].group && shown[a].rect.intersects(shown[b].rect))
                << window << ": " << shown[a].name << " and " << shown[b].name << " overlap";
}

// The window's smallest size: the user cannot make it smaller.
void shrink(int panel) {
    SetPanelAttribute(panel, ATTR_WIDTH, 10);
    SetPanelAttribute(panel, ATTR_HEIGHT, 10);
    ProcessSystemEvents();
}

TEST_P(LaidOutWindows, NothingIsCutOrOverlapsAtTheSmallestSize) {
    const fs::path dir = languageFolder(GetParam());
    fs::current_path(dir);
    rt::ScriptedAgent agent;
    rt::SetUserAgent(&agent);
    rt::SetClock({2026, 12, 10, 9, 30, 0});
    for (int p = 1; p <= MAX_COM_PORT; ++p) rt::BindComPort(p, (dir / "none").string());
    ASSERT_EQ(tavixStart(0, nullptr, dir.string().c_str()), 0);
    shrink(idMonitor);
    int width = 0, height = 0;
    GetPanelAttribute(idMonitor, ATTR_WIDTH, &width);
    GetPanelAttribute(idMonitor, ATTR_HEIGHT, &height);
    EXPECT_LE(width, GetParam().widest) << "the main window fits a small screen";
    EXPECT_LE(height, 680);

    const fs::path out = fs::path(TAVIX_BIN_DIR).parent_path() / "artifacts" / "windows";
    fs::create_directories(out);
    const std::string lang = GetParam().name;
    EXPECT_EQ(rt::SavePanelImage(idMonitor, (out / ("main-smallest-" + lang + ".png")).string().c_str()), 0);
    for (const QSize size : {QSize(1024, 700), QSize(1920, 1080)}) {
        SetPanelAttribute(idMonitor, ATTR_WIDTH, size.width());
        SetPanelAttribute(idMonitor, ATTR_HEIGHT, size.height());
        ProcessSystemEvents();
        const std::string name = "main-" + std::to_string(size.width()) + "x" + std::to_string(size.height());
        EXPECT_EQ(rt::SavePanelImage(idMonitor, (out / (name + "-" + lang + ".png")).string().c_str()), 0);
    }
    tavixStop();
    rt::SetUserAgent(nullptr);
    rt::ClearClock();
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(dir);
}

const LanguageCase kLanguages[] = {{"English", "English.ini", 1024}, {"German", "German.ini", 1100}};
INSTANTIATE_TEST_SUITE_P(Languages, LaidOutWindows, ::testing::ValuesIn(kLanguages),
                         [](const auto &info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- every window, every language

// A window as its command opens it, with the texts of the language chosen.
struct WindowCase {
    const char *name;
    int *panel;
    void (*open)();
};

const WindowCase kWindows[] = {
    {"main", &idMonitor, [] {}},
    {"communication", &idSetting, [] { rt::FireCtrlEvent(idMonitor, MONITOR_MENU8, EVENT_COMMIT); }},
    {"logger_settings", &idSetLogger,
     [] {
         localLoggerSetWindow();
         DisplayPanel(idSetLogger);
     }},
    {"data_table", &idTable,
     [] {
         localTableWindow();
         DisplayPanel(idTable);
     }},
    {"statistics", &idStatistic,
     [] {
         localStatisticWindow();
         DisplayPanel(idStatistic);
     }},
    {"group_files", &idMonitors, [] { rt::FireCtrlEvent(idMonitor, MONITOR_MENU6, EVENT_COMMIT); }},
    {"temperature_calibration", &idTempCali,
     [] {
         localTempCaliWindow();
         DisplayPanel(idTempCali);
     }},
    {"humidity_calibration", &idRhCali,
     [] {
         localRhCaliWindow();
         DisplayPanel(idRhCali);
     }},
    {"message", &idMsg, [] { DisplayPanel(idMsg); }},
    {"preferences", &idPreferences,
     [] {
         rt::FireCtrlEvent(idMonitor, MONITOR_MENU8, EVENT_COMMIT);
         rt::FireCtrlEvent(idSetting, SETTING_PREFERENCES, EVENT_COMMIT);
     }},
};

class WindowLayout : public ::testing::TestWithParam<std::tuple<WindowCase, LanguageCase>> {};

TEST_P(WindowLayout, NothingIsCutOrOverlapsAsOpenedOrAtTheSmallestSize) {
    const auto &[window, language] = GetParam();
    const fs::path dir = languageFolder(language);
    fs::current_path(dir);
    rt::ScriptedAgent agent;
    rt::SetUserAgent(&agent);
    rt::SetClock({2026, 12, 10, 9, 30, 0});
    for (int p = 1; p <= MAX_COM_PORT; ++p) rt::BindComPort(p, (dir / "none").string());
    ASSERT_EQ(tavixStart(0, nullptr, dir.string().c_str()), 0);
    window.open();
    ProcessSystemEvents();
    const int panel = *window.panel;
    ASSERT_GT(panel, 0);
    ASSERT_TRUE(rt::PanelVisible(panel));
    expectWholeAndApart(panel, std::string(window.name) + " as opened");
    shrink(panel);
    expectWholeAndApart(panel, std::string(window.name) + " at its smallest");
    for (const auto &shown : agent.shown)   // the language file has every text these windows read
        EXPECT_EQ(shown.text.find("ERROR"), std::string::npos) << shown.title << ": " << shown.text;
    tavixStop();
    rt::SetUserAgent(nullptr);
    rt::ClearClock();
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(WindowsAndLanguages, WindowLayout,
                         ::testing::Combine(::testing::ValuesIn(kWindows), ::testing::ValuesIn(kLanguages)),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
                         });

// ---------------------------------------------------------------- German throughout

// Every text a window shows, in the order of its widgets: the title, the captions, the texts
// on buttons and both state texts of a switch, every item of a list, the text of fields and
// messages, table headers, and a chart's axis names and texts.
std::vector<std::string> shownTexts(int panel) {
    std::vector<std::string> out;
    char title[256] = "";
    GetPanelAttribute(panel, ATTR_TITLE, title, sizeof title);
    out.emplace_back(title);
    for (int id : rt::PanelControls(panel)) {
        QWidget *w = rt::CtrlWidget(panel, id);
        if (!w || !w->isVisibleTo(w->window())) continue;
        const auto add = [&](const QString &t) {
            if (!t.trimmed().isEmpty()) out.push_back(t.toStdString());
        };
        char text[512] = "";
        GetCtrlAttribute(panel, id, ATTR_LABEL_TEXT, text, sizeof text);
        add(QString::fromUtf8(text));
        const int kind = rt::CtrlKindOf(panel, id);
        if (kind == CTRL_BINARY_SWITCH)
            for (int attr : {ATTR_OFF_TEXT, ATTR_ON_TEXT}) {
                GetCtrlAttribute(panel, id, attr, text, sizeof text);
                add(QString::fromUtf8(text));
            }
        QList<QWidget *> widgets = w->findChildren<QWidget *>();
        widgets.prepend(w);
        for (QWidget *child : widgets) {
            if (!child->isVisibleTo(w->window())) continue;
            if (auto *l = qobject_cast<QLabel *>(child)) add(l->text());
            if (auto *b = qobject_cast<QAbstractButton *>(child); b && kind != CTRL_BINARY_SWITCH) add(b->text());
            if (auto *g = qobject_cast<QGroupBox *>(child)) add(g->title());
            if (auto *c = qobject_cast<QComboBox *>(child))
                for (int i = 0; i < c->count(); ++i) add(c->itemText(i));
            if (auto *e = qobject_cast<QLineEdit *>(child); e && !qobject_cast<QAbstractSpinBox *>(e->parent()))
                add(e->text());
            if (auto *t = qobject_cast<QTableView *>(child); t && t->model())
                for (int c = 0; c < t->model()->columnCount(); ++c)
                    if (!t->isColumnHidden(c)) add(t->model()->headerData(c, Qt::Horizontal).toString());
            if (auto *p = qobject_cast<QCustomPlot *>(child)) {
                for (QCPAxis *a : {p->xAxis, p->yAxis, p->yAxis2})
                    if (a->visible()) add(a->label());
                for (int i = 0; i < p->itemCount(); ++i)
                    if (auto *t = qobject_cast<QCPItemText *>(p->item(i)); t && t->visible()) add(t->text());
            }
        }
    }
    return out;
}

// German shares these words with English ("Cursor" and "Port" are German words of the trade),
// and these names are the same in every language: the program's, the languages' own names and
// the date orders as the preferences file writes them.
const std::set<std::string> kSharedWords = {"Start",    "Stop",     "OK",    "Minimum", "Maximum", "Logger",
                                            "Cursor 1", "Cursor 2", "Port",  "ID=",     "Tavix",   "English",
                                            "Deutsch",  "Y-M-D",    "D-M-Y", "M-D-Y"};

// A number (1k for a thousand), a unit, a one-letter symbol (a slot, a calibration value) or
// the user's name: the same in every language.
bool sameInEveryLanguage(const std::string &text, const std::string &user) {
    if (kSharedWords.count(text) || text == user) return true;
    static const QRegularExpression numberUnitOrSymbol(
        R"(^([\s\d.,:;/\-+=%()\[\]&°]|k\b|°C|°F|%RH|RH|T1|T2|\b[A-Z]\b)*$)");
    return numberUnitOrSymbol.match(QString::fromStdString(text)).hasMatch();
}

// The texts a window shows as its command opens it, in a language.
std::vector<std::string> windowTexts(const WindowCase &window, const LanguageCase &language) {
    const fs::path dir = languageFolder(language);
    fs::current_path(dir);
    rt::ScriptedAgent agent;
    rt::SetUserAgent(&agent);
    rt::SetClock({2026, 12, 10, 9, 30, 0});
    for (int p = 1; p <= MAX_COM_PORT; ++p) rt::BindComPort(p, (dir / "none").string());
    std::vector<std::string> texts;
    if (tavixStart(0, nullptr, dir.string().c_str()) == 0) {
        window.open();
        ProcessSystemEvents();
        texts = shownTexts(*window.panel);
        tavixStop();
    }
    rt::SetUserAgent(nullptr);
    rt::ClearClock();
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(dir);
    return texts;
}

class GermanWindow : public ::testing::TestWithParam<WindowCase> {};

TEST_P(GermanWindow, ShowsNoEnglishText) {
    const std::vector<std::string> english = windowTexts(GetParam(), kLanguages[0]);
    const std::vector<std::string> german = windowTexts(GetParam(), kLanguages[1]);
    ASSERT_FALSE(english.empty());
    ASSERT_EQ(english.size(), german.size()) << "the same window shows the same number of texts";
    char user[64] = "";
    GetUserName(user, sizeof user);
    for (std::size_t i = 0; i < german.size(); ++i)
        EXPECT_TRUE(german[i] != english[i] || sameInEveryLanguage(german[i], user))
            << GetParam().name << ": \"" << german[i] << "\" is English in the German window";
}

INSTANTIATE_TEST_SUITE_P(Windows, GermanWindow, ::testing::ValuesIn(kWindows),
                         [](const auto &info) { return std::string(info.param.name); });
