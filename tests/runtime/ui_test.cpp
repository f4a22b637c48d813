// Tests of the user-interface run-time on Qt's offscreen platform: control values and
// attributes, events, timers, graphs and cursors, tables, menus, panel states, pop-ups,
// printing and the utility functions.
#include "runtime/agent.h"
#include "base/clock.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSpinBox>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <qcustomplot.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <variant>
#include <vector>

namespace {

enum {
    C_NUM = 1,
    C_REAL,
    C_STR,
    C_MSG,
    C_BOX,
    C_RING,
    C_SWITCH,
    C_BUTTON,
    C_COLOR,
    C_PIC,
    C_GRAPH,
    C_TABLE,
    C_TIMER,
    C_DECO,
};
enum { RES_MAIN = 501, RES_OTHER = 502, RES_FAILS = 503, RES_MENU = 601 };

int buildMain(int p) {
    NewCtrl(p, CTRL_NUMERIC, C_NUM, "Number", 30, 10, 80, -1);
    NewCtrl(p, CTRL_NUMERIC_REAL, C_REAL, "Real", 30, 100, 80, -1);
    NewCtrl(p, CTRL_STRING, C_STR, "Name", 30, 200, 120, -1);
    NewCtrl(p, CTRL_TEXT_MSG, C_MSG, "Title", 70, 10, -1, -1);
    NewCtrl(p, CTRL_TEXT_BOX, C_BOX, "Notes", 110, 10, 150, 60);
    NewCtrl(p, CTRL_RING, C_RING, "Range", 110, 200, 100, -1);
    NewCtrl(p, CTRL_BINARY_SWITCH, C_SWITCH, "Axis", 150, 200, 100, -1);
    NewCtrl(p, CTRL_COMMAND_BUTTON, C_BUTTON, "Start", 190, 10, -1, -1);
    NewCtrl(p, CTRL_COLOR_NUM, C_COLOR, "Colour", 190, 200, -1, -1);
    NewCtrl(p, CTRL_PICTURE, C_PIC, "", 230, 10, 64, 64);
    NewCtrl(p, CTRL_GRAPH, C_GRAPH, "Chart", 320, 10, 500, 300);
    NewCtrl(p, CTRL_TABLE, C_TABLE, "Data", 640, 10, 500, 200);
    NewCtrl(p, CTRL_TIMER, C_TIMER, "", 0, 0, 0, 0);
    NewCtrl(p, CTRL_DECORATION, C_DECO, "Group", 20, 400, 100, 100);
    SetCtrlAttribute(p, C_TIMER, ATTR_ENABLED, 0);
    return 0;
}

int buildOther(int p) {
    NewCtrl(p, CTRL_NUMERIC, C_NUM, "Number", 30, 10, 80, -1);
    return 0;
}

int buildFails(int p) {
    NewCtrl(p, CTRL_NUMERIC, C_NUM, "Number", 30, 10, 80, -1);
    return -1;
}

// Every callback call, in order.
struct Call {
    int panel, ctrl, event, d1, d2;
    void *data;
};
std::vector<Call> g_calls;

int recordCallback(int panel, int ctrl, int event, void *data, int d1, int d2) {
    g_calls.push_back({panel, ctrl, event, d1, d2, data});
    return 0;
}

std::vector<Call> g_panelCalls;
int recordPanelCallback(int panel, int event, void *data, int d1, int d2) {
    g_panelCalls.push_back({panel, 0, event, d1, d2, data});
    return 0;
}

std::vector<int> eventsOf(int ctrl) {
    std::vector<int> out;
    for (const Call &c : g_calls)
        if (c.ctrl == ctrl) out.push_back(c.event);
    return out;
}

QWidget *panelWidget(int panel) {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->property("tvxPanelHandle").toInt() == panel) return w;
    return nullptr;
}

QWidget *ctrlWidget(int panel, int ctrl) {
    QWidget *pw = panelWidget(panel);
    if (!pw) return nullptr;
    for (QObject *o : pw->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (w && w->property("tvxCtrl").isValid() && w->property("tvxCtrl").toInt() == ctrl) return w;
    }
    return nullptr;
}

class UiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterPanelResource(RES_MAIN, "Main", 700, 900, buildMain);
        RegisterPanelResource(RES_OTHER, "Other", 200, 100, buildOther);
        RegisterPanelResource(RES_FAILS, "Fails", 200, 100, buildFails);
    }
    void SetUp() override {
        g_calls.clear();
        g_panelCalls.clear();
        panel = LoadPanel(0, RES_MAIN);
        ASSERT_GT(panel, 0);
        for (int id : rt::PanelControls(panel)) InstallCtrlCallback(panel, id, recordCallback, &marker);
        rt::SetUserAgent(&agent);
    }
    void TearDown() override {
        DiscardPanel(panel);
        rt::SetUserAgent(nullptr);
        rt::CapturePrinting(false);
        rt::ClearPrinted();
        rt::ClearClock();
        rt::SetPopupMenuAnswer(-1);
        ProcessSystemEvents();
    }
    int panel = 0;
    int marker = 0;
    rt::ScriptedAgent agent;
};

// ---------------------------------------------------------------- values

using V = std::variant<int, double, std::string>;

struct ValueCase {
    const char *name;
    int ctrl;
    V set;
    V expect;
};

int setV(int panel, int ctrl, const V &v) {
    if (auto *i = std::get_if<int>(&v)) return SetCtrlVal(panel, ctrl, *i);
    if (auto *d = std::get_if<double>(&v)) return SetCtrlVal(panel, ctrl, *d);
    return SetCtrlVal(panel, ctrl, std::get<std::string>(v).c_str());
}

TEST_F(UiTest, ValuesOfEveryKindRoundTripInTheirType) {
    const ValueCase cases[] = {
        {"integer", C_NUM, 42, 42},
        {"integer from a real rounds", C_NUM, 7.6, 8},
        {"negative integer", C_NUM, -15, -15},
        {"real keeps its full value", C_REAL, 3.14159, 3.14159},
        {"real from an integer", C_REAL, 5, 5.0},
        {"string", C_STR, std::string("abc def"), std::string("abc def")},
        {"text message", C_MSG, std::string("hello"), std::string("hello")},
        {"text box with lines", C_BOX, std::string("a\nb"), std::string("a\nb")},
        {"switch on", C_SWITCH, 1, 1},
        {"switch any non-zero is on", C_SWITCH, 5, 1},
        {"switch off", C_SWITCH, 0, 0},
        {"colour", C_COLOR, 0x123456, 0x123456},
    };
    for (const ValueCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(setV(panel, c.ctrl, c.set), 0);
        if (auto *i = std::get_if<int>(&c.expect)) {
            int got = -999;
            EXPECT_EQ(GetCtrlVal(panel, c.ctrl, &got), 0);
            EXPECT_EQ(got, *i);
        } else if (auto *d = std::get_if<double>(&c.expect)) {
            double got = -999;
            EXPECT_EQ(GetCtrlVal(panel, c.ctrl, &got), 0);
            EXPECT_DOUBLE_EQ(got, *d);
        } else {
            char got[64] = "x";
            EXPECT_EQ(GetCtrlVal(panel, c.ctrl, got), 0);
            EXPECT_EQ(std::string(got), std::get<std::string>(c.expect));
        }
    }
    EXPECT_TRUE(g_calls.empty()) << "values set by the program call no callback";
}

TEST_F(UiTest, ValuesOfTheWrongTypeAreRefused) {
    struct Case {
        const char *name;
        int ctrl;
        V set;
    } cases[] = {
        {"number into a string", C_STR, 5},
        {"text into an integer", C_NUM, std::string("12")},
        {"text into a ring", C_RING, std::string("a")},
        {"value of a button", C_BUTTON, 1},
        {"value of a graph", C_GRAPH, 1.0},
        {"value of a decoration", C_DECO, std::string("x")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_LT(setV(panel, c.ctrl, c.set), 0);
    }
    char text[8];
    EXPECT_LT(GetCtrlVal(panel, C_NUM, text), 0);
    int n = 0;
    EXPECT_LT(GetCtrlVal(panel, C_STR, &n), 0);
}

TEST_F(UiTest, NumericLimitsClampValues) {
    struct Case {
        int ctrl;
        double min, max, set, expect;
    } cases[] = {
        {C_NUM, 0, 100, 150, 100},    {C_NUM, 0, 100, -5, 0},       {C_NUM, -10, 10, 3, 3},
        {C_REAL, 1.5, 2.5, 9.0, 2.5}, {C_REAL, 1.5, 2.5, 0.0, 1.5}, {C_REAL, -1, 1, 0.25, 0.25},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.ctrl) + " " + std::to_string(c.set));
        if (c.ctrl == C_NUM) {
            ASSERT_EQ(SetCtrlAttribute(panel, c.ctrl, ATTR_MIN_VALUE, static_cast<int>(c.min)), 0);
            ASSERT_EQ(SetCtrlAttribute(panel, c.ctrl, ATTR_MAX_VALUE, static_cast<int>(c.max)), 0);
        } else {
            ASSERT_EQ(SetCtrlAttribute(panel, c.ctrl, ATTR_MIN_VALUE, c.min), 0);
            ASSERT_EQ(SetCtrlAttribute(panel, c.ctrl, ATTR_MAX_VALUE, c.max), 0);
        }
        ASSERT_EQ(SetCtrlVal(panel, c.ctrl, c.set), 0);
        double got = 0;
        GetCtrlVal(panel, c.ctrl, &got);
        EXPECT_DOUBLE_EQ(got, c.expect);
    }
    // narrowing the limits moves the value inside them
    SetCtrlAttribute(panel, C_NUM, ATTR_MIN_VALUE, 0);
    SetCtrlAttribute(panel, C_NUM, ATTR_MAX_VALUE, 1000);
    SetCtrlVal(panel, C_NUM, 900);
    SetCtrlAttribute(panel, C_NUM, ATTR_MAX_VALUE, 500);
    int v = 0, max = 0;
    GetCtrlVal(panel, C_NUM, &v);
    GetCtrlAttribute(panel, C_NUM, ATTR_MAX_VALUE, &max);
    EXPECT_EQ(v, 500);
    EXPECT_EQ(max, 500);
}

TEST_F(UiTest, RingItemsAndSelection) {
    int n = -1;
    EXPECT_EQ(GetNumListItems(panel, C_RING, &n), 0);
    EXPECT_EQ(n, 0);
    int v = 0;
    EXPECT_LT(GetCtrlVal(panel, C_RING, &v), 0) << "an empty ring has no value";
    ASSERT_EQ(InsertListItem(panel, C_RING, -1, "1k", 1000), 0);
    ASSERT_EQ(InsertListItem(panel, C_RING, -1, "4k", 4000), 0);
    ASSERT_EQ(InsertListItem(panel, C_RING, 1, "2k", 2000), 0);
    ASSERT_EQ(InsertListItem(panel, C_RING, -1, "8k", 8000), 0);
    EXPECT_LT(InsertListItem(panel, C_RING, 9, "bad", 1), 0);
    GetNumListItems(panel, C_RING, &n);
    EXPECT_EQ(n, 4);
    char label[8];
    EXPECT_EQ(GetLabelFromIndex(panel, C_RING, 1, label, sizeof label), 0);
    EXPECT_STREQ(label, "2k");
    EXPECT_EQ(GetCtrlVal(panel, C_RING, &v), 0);
    EXPECT_EQ(v, 1000) << "the first item is selected";

    EXPECT_EQ(SetCtrlVal(panel, C_RING, 4000), 0);
    int index = -1;
    GetCtrlIndex(panel, C_RING, &index);
    EXPECT_EQ(index, 2);
    EXPECT_LT(SetCtrlVal(panel, C_RING, 3000), 0) << "no item has this value";
    GetCtrlVal(panel, C_RING, &v);
    EXPECT_EQ(v, 4000) << "a refused value leaves the selection";
    EXPECT_EQ(SetCtrlIndex(panel, C_RING, 3), 0);
    GetCtrlVal(panel, C_RING, &v);
    EXPECT_EQ(v, 8000);
    EXPECT_LT(SetCtrlIndex(panel, C_RING, 4), 0);
    EXPECT_EQ(GetIndexFromValue(panel, C_RING, &index, 2000), 0);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(GetValueFromIndex(panel, C_RING, 0, &v), 0);
    EXPECT_EQ(v, 1000);

    // count -1 deletes to the end; the selection falls back onto a remaining item
    EXPECT_EQ(DeleteListItem(panel, C_RING, 1, -1), 0);
    GetNumListItems(panel, C_RING, &n);
    EXPECT_EQ(n, 1);
    GetCtrlVal(panel, C_RING, &v);
    EXPECT_EQ(v, 1000);
    auto *combo = qobject_cast<QComboBox *>(ctrlWidget(panel, C_RING));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 1);
    EXPECT_EQ(ClearListCtrl(panel, C_RING), 0);
    GetNumListItems(panel, C_RING, &n);
    EXPECT_EQ(n, 0);
    EXPECT_LT(GetLabelFromIndex(panel, C_RING, 0, label, sizeof label), 0);
    EXPECT_STREQ(label, "");
}

TEST_F(UiTest, SwitchShowsTheTextOfItsState) {
    ASSERT_EQ(SetCtrlAttribute(panel, C_SWITCH, ATTR_OFF_TEXT, "Record"), 0);
    ASSERT_EQ(SetCtrlAttribute(panel, C_SWITCH, ATTR_ON_TEXT, "Time"), 0);
    char on[16], off[16];
    GetCtrlAttribute(panel, C_SWITCH, ATTR_ON_TEXT, on, sizeof on);
    GetCtrlAttribute(panel, C_SWITCH, ATTR_OFF_TEXT, off, sizeof off);
    EXPECT_STREQ(on, "Time");
    EXPECT_STREQ(off, "Record");
    auto *b = qobject_cast<QPushButton *>(ctrlWidget(panel, C_SWITCH));
    ASSERT_NE(b, nullptr);
    SetCtrlVal(panel, C_SWITCH, 0);
    EXPECT_EQ(b->text(), "Record");
    SetCtrlVal(panel, C_SWITCH, 1);
    EXPECT_EQ(b->text(), "Time");
    // a click by the user flips it and reports the change
    QTest::mouseClick(b, Qt::LeftButton);
    int v = -1;
    GetCtrlVal(panel, C_SWITCH, &v);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(b->text(), "Record");
    const std::vector<int> ev = eventsOf(C_SWITCH);
    ASSERT_GE(ev.size(), 2u);
    EXPECT_EQ(ev[ev.size() - 2], EVENT_VAL_CHANGED);
    EXPECT_EQ(ev.back(), EVENT_COMMIT);
    EXPECT_LT(SetCtrlAttribute(panel, C_NUM, ATTR_ON_TEXT, "x"), 0) << "switch texts only on switches";
}

// ---------------------------------------------------------------- attributes

TEST_F(UiTest, CommonAttributesRoundTrip) {
    struct Case {
        int ctrl, attr, value;
    } cases[] = {
        {C_NUM, ATTR_DIMMED, 1},
        {C_STR, ATTR_VISIBLE, 0},
        {C_MSG, ATTR_TEXT_COLOR, 0xFF0000},
        {C_NUM, ATTR_TEXT_COLOR, 0x00FF00},
        {C_STR, ATTR_TEXT_BGCOLOR, 0x112233},
        {C_BUTTON, ATTR_TEXT_POINT_SIZE, 10},
        {C_RING, ATTR_CTRL_MODE, VAL_INDICATOR},
        {C_STR, ATTR_LEFT, 33},
        {C_STR, ATTR_TOP, 44},
        {C_STR, ATTR_WIDTH, 140},
        {C_STR, ATTR_HEIGHT, 25},
        {C_REAL, ATTR_PRECISION, 3},
        {C_STR, ATTR_MAX_ENTRY_LENGTH, 10},
        {C_DECO, ATTR_FRAME_COLOR, 0x808080},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.ctrl) + "/" + std::to_string(c.attr));
        ASSERT_EQ(SetCtrlAttribute(panel, c.ctrl, c.attr, c.value), 0);
        int got = -1;
        EXPECT_EQ(GetCtrlAttribute(panel, c.ctrl, c.attr, &got), 0);
        EXPECT_EQ(got, c.value);
    }
    EXPECT_FALSE(ctrlWidget(panel, C_NUM)->isEnabled());
    EXPECT_TRUE(ctrlWidget(panel, C_STR)->isHidden());
    EXPECT_EQ(ctrlWidget(panel, C_STR)->geometry(), QRect(33, 44, 140, 25));
    EXPECT_TRUE(qobject_cast<QSpinBox *>(ctrlWidget(panel, C_NUM)) != nullptr);

    // wrong kinds and types
    EXPECT_LT(SetCtrlAttribute(panel, C_STR, ATTR_PRECISION, 2), 0);
    EXPECT_LT(SetCtrlAttribute(panel, C_STR, ATTR_MIN_VALUE, 2), 0);
    EXPECT_LT(SetCtrlAttribute(panel, C_NUM, ATTR_INTERVAL, 1.0), 0);
    EXPECT_LT(SetCtrlAttribute(panel, C_NUM, ATTR_LABEL_TEXT, 5), 0);
    EXPECT_LT(SetCtrlAttribute(panel, C_NUM, ATTR_DIMMED, "yes"), 0);
    EXPECT_LT(SetCtrlAttribute(panel, C_NUM, 9999, 1), 0);
}

TEST_F(UiTest, LabelsAreCaptionsButtonTextsAndGroupTitles) {
    char text[32];
    struct Case {
        int ctrl;
        const char *initial;
    } cases[] = {{C_NUM, "Number"}, {C_BUTTON, "Start"}, {C_DECO, "Group"}, {C_MSG, "Title"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.initial);
        EXPECT_EQ(GetCtrlAttribute(panel, c.ctrl, ATTR_LABEL_TEXT, text, sizeof text), 0);
        EXPECT_STREQ(text, c.initial);
        ASSERT_EQ(SetCtrlAttribute(panel, c.ctrl, ATTR_LABEL_TEXT, "Changed"), 0);
        GetCtrlAttribute(panel, c.ctrl, ATTR_LABEL_TEXT, text, sizeof text);
        EXPECT_STREQ(text, "Changed");
    }
    EXPECT_EQ(qobject_cast<QPushButton *>(ctrlWidget(panel, C_BUTTON))->text(), "Changed");
    GetCtrlVal(panel, C_MSG, text, sizeof text);
    EXPECT_STREQ(text, "Changed") << "a text message's label is its text";
}

TEST_F(UiTest, FontsByNameAndMetaFont) {
    struct Case {
        const char *name;
        QFont expect;
    } cases[] = {
        {VAL_APP_META_FONT, QApplication::font()},
        {VAL_MENU_META_FONT, QApplication::font("QMenu")},
        {VAL_SYSTEM_META_FONT, QFontDatabase::systemFont(QFontDatabase::GeneralFont)},
        {VAL_DIALOG_META_FONT, QApplication::font("QMessageBox")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(SetCtrlAttribute(panel, C_BUTTON, ATTR_TEXT_FONT, c.name), 0);
        char name[32];
        GetCtrlAttribute(panel, C_BUTTON, ATTR_TEXT_FONT, name, sizeof name);
        EXPECT_STREQ(name, c.name);
        EXPECT_EQ(ctrlWidget(panel, C_BUTTON)->font().family(), c.expect.family());
    }
    SetCtrlAttribute(panel, C_BUTTON, ATTR_TEXT_POINT_SIZE, 17);
    EXPECT_EQ(ctrlWidget(panel, C_BUTTON)->font().pointSize(), 17);
    SetCtrlAttribute(panel, C_BUTTON, ATTR_TEXT_FONT, "Courier");
    EXPECT_EQ(ctrlWidget(panel, C_BUTTON)->font().pointSize(), 17) << "the size stays with a new font";
}

TEST_F(UiTest, TextResultsAreBoundedByTheCapacity) {
    SetCtrlVal(panel, C_STR, "abcdef");
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(GetCtrlVal(panel, C_STR, small, sizeof small), 0);
    EXPECT_STREQ(small, "abc");
    // a multi-byte character is never cut in two
    SetCtrlVal(panel, C_STR, "\xC3\xA4\xC3\xA4\xC3\xA4");
    EXPECT_EQ(GetCtrlVal(panel, C_STR, small, sizeof small), 0);
    EXPECT_STREQ(small, "\xC3\xA4");
    EXPECT_LT(GetCtrlVal(panel, C_STR, small, 0), 0);
    // the entry length limit also cuts texts set by the program
    SetCtrlAttribute(panel, C_STR, ATTR_MAX_ENTRY_LENGTH, 3);
    SetCtrlVal(panel, C_STR, "123456");
    char text[16];
    GetCtrlVal(panel, C_STR, text);
    EXPECT_STREQ(text, "123");
}

TEST_F(UiTest, BadHandlesGiveNegativeResults) {
    char text[8] = "keep";
    int v = 0;
    double d = 0;
    EXPECT_LT(SetCtrlVal(9999, C_NUM, 1), 0);
    EXPECT_LT(SetCtrlVal(panel, 9999, 1), 0);
    EXPECT_LT(GetCtrlVal(panel, 9999, text), 0);
    EXPECT_STREQ(text, "");
    EXPECT_LT(GetCtrlVal(-1, C_NUM, &v), 0);
    EXPECT_LT(GetCtrlAttribute(panel, 9999, ATTR_DIMMED, &v), 0);
    EXPECT_LT(InstallCtrlCallback(panel, 9999, recordCallback, nullptr), 0);
    EXPECT_LT(NewCtrl(panel, CTRL_NUMERIC, C_NUM, "again", 0, 0, -1, -1), 0) << "id taken";
    EXPECT_LT(NewCtrl(9999, CTRL_NUMERIC, 77, "x", 0, 0, -1, -1), 0);
    EXPECT_LT(PlotY(panel, C_TABLE, &d, 1, VAL_THIN_LINE, 0, 0, 1, 0), 0) << "not a graph";
    EXPECT_LT(InsertTableRows(panel, C_GRAPH, -1, 1, -1), 0) << "not a table";
    EXPECT_LT(InsertListItem(panel, C_NUM, -1, "x", 1), 0) << "not a ring";
    EXPECT_LT(DisplayPanel(9999), 0);
    EXPECT_LT(SetPanelAttribute(9999, ATTR_TITLE, "x"), 0);
    EXPECT_LT(LoadPanel(0, 424242), 0) << "unknown resource";
    EXPECT_LT(LoadPanel(0, RES_FAILS), 0) << "a builder that fails";
    EXPECT_LT(rt::FireCtrlEvent(panel, 9999, EVENT_COMMIT), 0);
    EXPECT_EQ(rt::CtrlKindOf(panel, 9999), 0);
    const int other = LoadPanel(0, RES_OTHER);
    ASSERT_GT(other, 0);
    EXPECT_EQ(DiscardPanel(other), 0);
    EXPECT_LT(DiscardPanel(other), 0);
    EXPECT_LT(SetCtrlVal(other, C_NUM, 1), 0) << "a discarded panel is gone";
}

// ---------------------------------------------------------------- panels

TEST_F(UiTest, PanelsShowHideAndKeepTheirValues) {
    EXPECT_EQ(rt::CtrlKindOf(panel, C_GRAPH), CTRL_GRAPH);
    EXPECT_EQ(rt::PanelControls(panel).size(), 14u);
    EXPECT_FALSE(rt::PanelVisible(panel));
    EXPECT_EQ(DisplayPanel(panel), 0);
    EXPECT_TRUE(rt::PanelVisible(panel));
    SetCtrlVal(panel, C_STR, "kept");
    EXPECT_EQ(HidePanel(panel), 0);
    EXPECT_FALSE(rt::PanelVisible(panel));
    char text[16];
    GetCtrlVal(panel, C_STR, text);
    EXPECT_STREQ(text, "kept");

    EXPECT_EQ(SetPanelAttribute(panel, ATTR_TITLE, "Statistics: ID= 12"), 0);
    GetPanelAttribute(panel, ATTR_TITLE, text, sizeof text);
    EXPECT_STREQ(text, "Statistics: ID=") << "bounded";
    int v = 0;
    SetPanelAttribute(panel, ATTR_BACKCOLOR, 0xC0C0C0);
    GetPanelAttribute(panel, ATTR_BACKCOLOR, &v);
    EXPECT_EQ(v, 0xC0C0C0);
    SetPanelAttribute(panel, ATTR_WIDTH, 640);
    GetPanelAttribute(panel, ATTR_WIDTH, &v);
    EXPECT_EQ(v, 640);
    SetPanelAttribute(panel, ATTR_VISIBLE, 1);
    EXPECT_TRUE(rt::PanelVisible(panel));
}

TEST_F(UiTest, TheCloseBoxAsksThePanelCallback) {
    InstallPanelCallback(panel, recordPanelCallback, &marker);
    DisplayPanel(panel);
    panelWidget(panel)->close();
    ASSERT_EQ(g_panelCalls.size(), 1u);
    EXPECT_EQ(g_panelCalls[0].event, EVENT_CLOSE);
    EXPECT_EQ(g_panelCalls[0].data, &marker);
    EXPECT_TRUE(rt::PanelVisible(panel)) << "the window stays until the callback hides it";
    EXPECT_EQ(rt::FirePanelEvent(panel, EVENT_CLOSE), 0);
    EXPECT_EQ(g_panelCalls.size(), 2u);
}

TEST_F(UiTest, PictureShowsAnImageFile) {
    QTemporaryDir dir;
    const QString png = dir.filePath("logo.png");
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(png));
    EXPECT_EQ(DisplayImageFile(panel, C_PIC, png.toUtf8().constData()), 0);
    EXPECT_LT(DisplayImageFile(panel, C_PIC, dir.filePath("missing.bmp").toUtf8().constData()), 0);
    EXPECT_LT(DisplayImageFile(panel, C_STR, png.toUtf8().constData()), 0);
    const QString shot = dir.filePath("panel.png");
    EXPECT_EQ(rt::SavePanelImage(panel, shot.toUtf8().constData()), 0);
    EXPECT_FALSE(QImage(shot).isNull());
}

// ---------------------------------------------------------------- events

TEST_F(UiTest, FiredEventsReachTheCallbackWithItsData) {
    EXPECT_EQ(rt::FireCtrlEvent(panel, C_GRAPH, EVENT_RIGHT_CLICK, 120, 45), 0);
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].panel, panel);
    EXPECT_EQ(g_calls[0].ctrl, C_GRAPH);
    EXPECT_EQ(g_calls[0].event, EVENT_RIGHT_CLICK);
    EXPECT_EQ(g_calls[0].d1, 120);
    EXPECT_EQ(g_calls[0].d2, 45);
    EXPECT_EQ(g_calls[0].data, &marker);
}

TEST_F(UiTest, AClickOnAGraphsCaptionGoesToTheCaptionCallback) {
    DisplayPanel(panel);
    int marker2 = 0;
    ASSERT_EQ(InstallCaptionCallback(panel, C_GRAPH, recordCallback, &marker2), 0);
    // the caption is the label shown above the graph
    QLabel *caption = nullptr;
    for (QLabel *l : panelWidget(panel)->findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
        if (l->text() == "Chart" && !l->property("tvxCtrl").isValid()) caption = l;
    ASSERT_NE(caption, nullptr);
    g_calls.clear();
    QTest::mouseClick(caption, Qt::LeftButton);
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].ctrl, C_GRAPH);
    EXPECT_EQ(g_calls[0].event, EVENT_LEFT_CLICK);
    EXPECT_EQ(g_calls[0].data, &marker2);
    // the graph itself does not take the caption's clicks, and a right click does nothing
    g_calls.clear();
    QTest::mouseClick(caption, Qt::RightButton);
    EXPECT_TRUE(g_calls.empty());
    // a control without a caption cannot take one
    EXPECT_LT(InstallCaptionCallback(panel, C_TIMER, recordCallback, nullptr), 0);
}

TEST_F(UiTest, UserActionsGiveTheirEvents) {
    DisplayPanel(panel);
    // a button click commits
    QTest::mouseClick(ctrlWidget(panel, C_BUTTON), Qt::LeftButton);
    std::vector<int> ev = eventsOf(C_BUTTON);
    ASSERT_FALSE(ev.empty());
    EXPECT_EQ(ev.back(), EVENT_COMMIT);

    // a right click on a text message gives the mouse position in panel coordinates: y, x
    QWidget *msg = ctrlWidget(panel, C_MSG);
    g_calls.clear();
    QTest::mouseClick(msg, Qt::RightButton, Qt::NoModifier, QPoint(3, 4));
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].event, EVENT_RIGHT_CLICK);
    EXPECT_EQ(g_calls[0].d1, msg->y() + 4);
    EXPECT_EQ(g_calls[0].d2, msg->x() + 3);
    g_calls.clear();
    QTest::mouseClick(msg, Qt::LeftButton);
    EXPECT_EQ(eventsOf(C_MSG), std::vector<int>{EVENT_LEFT_CLICK});
    g_calls.clear();
    QTest::mouseDClick(msg, Qt::RightButton);
    ev = eventsOf(C_MSG);
    EXPECT_NE(std::find(ev.begin(), ev.end(), EVENT_RIGHT_DOUBLE_CLICK), ev.end());

    // a value chosen in a numeric field: changed, then committed, and the value is taken
    g_calls.clear();
    qobject_cast<QSpinBox *>(ctrlWidget(panel, C_NUM))->setValue(77);
    EXPECT_EQ(eventsOf(C_NUM), (std::vector<int>{EVENT_VAL_CHANGED, EVENT_COMMIT}));
    int v = 0;
    GetCtrlVal(panel, C_NUM, &v);
    EXPECT_EQ(v, 77);

    // a ring item chosen by the user
    InsertListItem(panel, C_RING, -1, "a", 10);
    InsertListItem(panel, C_RING, -1, "b", 20);
    g_calls.clear();
    auto *combo = qobject_cast<QComboBox *>(ctrlWidget(panel, C_RING));
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(eventsOf(C_RING), (std::vector<int>{EVENT_VAL_CHANGED, EVENT_COMMIT}));
    GetCtrlVal(panel, C_RING, &v);
    EXPECT_EQ(v, 20);

    // focus in and out
    g_calls.clear();
    QWidget *str = ctrlWidget(panel, C_STR);
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(str, &in);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(str, &out);
    EXPECT_EQ(eventsOf(C_STR), (std::vector<int>{EVENT_GOT_FOCUS, EVENT_LOST_FOCUS}));

    // typing: a change per key, the commit when the focus leaves, before the lost focus
    g_calls.clear();
    QApplication::sendEvent(str, &in);
    QTest::keyClicks(str, "ab");
    QApplication::sendEvent(str, &out);
    EXPECT_EQ(eventsOf(C_STR), (std::vector<int>{EVENT_GOT_FOCUS, EVENT_VAL_CHANGED, EVENT_VAL_CHANGED, EVENT_COMMIT,
                                                 EVENT_LOST_FOCUS}));
    char text[8];
    GetCtrlVal(panel, C_STR, text);
    EXPECT_STREQ(text, "ab");

    // a number typed into a numeric field is taken when the focus leaves
    g_calls.clear();
    QWidget *num = ctrlWidget(panel, C_NUM);
    QApplication::sendEvent(num, &in);
    auto *edit = num->findChild<QLineEdit *>();
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, "123");
    QApplication::sendEvent(num, &out);
    EXPECT_EQ(eventsOf(C_NUM), (std::vector<int>{EVENT_GOT_FOCUS, EVENT_VAL_CHANGED, EVENT_COMMIT, EVENT_LOST_FOCUS}));
    GetCtrlVal(panel, C_NUM, &v);
    EXPECT_EQ(v, 123);
}

int discardOnCommit(int panel, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) DiscardPanel(panel);
    return 0;
}

TEST_F(UiTest, ACallbackMayDiscardItsOwnPanel) {
    const int other = LoadPanel(0, RES_MAIN);
    ASSERT_GT(other, 0);
    InstallCtrlCallback(other, C_BUTTON, discardOnCommit, nullptr);
    DisplayPanel(other);
    QTest::mouseClick(ctrlWidget(other, C_BUTTON), Qt::LeftButton);
    EXPECT_EQ(rt::CtrlKindOf(other, C_BUTTON), 0);
    EXPECT_FALSE(rt::PanelVisible(other));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(panelWidget(other), nullptr);
}

TEST_F(UiTest, TimerTicksWhileEnabled) {
    ASSERT_EQ(SetCtrlAttribute(panel, C_TIMER, ATTR_INTERVAL, 0.01), 0);
    double interval = 0;
    GetCtrlAttribute(panel, C_TIMER, ATTR_INTERVAL, &interval);
    EXPECT_DOUBLE_EQ(interval, 0.01);
    QTest::qWait(60);
    EXPECT_TRUE(eventsOf(C_TIMER).empty()) << "disabled";
    SetCtrlAttribute(panel, C_TIMER, ATTR_ENABLED, 1);
    QTest::qWait(100);
    const std::vector<int> ev = eventsOf(C_TIMER);
    EXPECT_GE(ev.size(), 2u);
    for (int e : ev) EXPECT_EQ(e, EVENT_TIMER_TICK);

    // Delay only repaints: no tick is delivered while it waits
    g_calls.clear();
    Delay(0.05);
    EXPECT_TRUE(eventsOf(C_TIMER).empty());
    SetCtrlAttribute(panel, C_TIMER, ATTR_ENABLED, 0);
}

TEST_F(UiTest, TimerTicksAreHeldBackWhileAPopupIsOpen) {
    SetCtrlAttribute(panel, C_TIMER, ATTR_INTERVAL, 0.005);
    SetCtrlAttribute(panel, C_TIMER, ATTR_ENABLED, 1);
    // the scripted pop-up runs the event loop the way a modal dialog would
    agent.echo = [](const rt::ScriptedAgent::Shown &) { QTest::qWait(50); };
    g_calls.clear();
    MessagePopup("t", "m");
    EXPECT_TRUE(eventsOf(C_TIMER).empty());
    SetCtrlAttribute(panel, C_TIMER, ATTR_ENABLED, 0);
}

TEST_F(UiTest, QuitEndsTheEventLoop) {
    QTimer::singleShot(0, [] { QuitUserInterface(3); });
    EXPECT_EQ(RunUserInterface(), 3);
    EXPECT_FALSE(rt::QuitPending());
    // asked for outside the loop: the next loop ends at once
    QuitUserInterface(5);
    int code = 0;
    EXPECT_TRUE(rt::QuitPending(&code));
    EXPECT_EQ(code, 5);
    EXPECT_EQ(RunUserInterface(), 5);
    QuitUserInterface(1);
    rt::ClearQuitRequest();
    EXPECT_FALSE(rt::QuitPending());
}

// ---------------------------------------------------------------- graphs

QCustomPlot *plotOf(int panel) { return qobject_cast<QCustomPlot *>(ctrlWidget(panel, C_GRAPH)); }

TEST_F(UiTest, PlotsAreReadBackWithTheirData) {
    const double y[5] = {20.5, 21, 21.5, 22, 22.5};
    const int h1 = PlotY(panel, C_GRAPH, y, 5, VAL_CONNECTED_POINTS, VAL_SIMPLE_DOT, VAL_SOLID, 1, VAL_BLACK);
    ASSERT_GT(h1, 0);
    SetCtrlAttribute(panel, C_GRAPH, ATTR_ACTIVE_YAXIS, VAL_RIGHT_YAXIS);
    const double x[3] = {1.5, 2.5, 3.5};
    const int counts[3] = {4, 9, 2};
    const int h2 = PlotXY(panel, C_GRAPH, x, counts, 3, VAL_VERTICAL_BAR, VAL_SOLID_SQUARE, VAL_SOLID, 1, VAL_RED);
    SetCtrlAttribute(panel, C_GRAPH, ATTR_ACTIVE_YAXIS, VAL_LEFT_YAXIS);
    const int h3 = PlotPoint(panel, C_GRAPH, 2, 21.5, VAL_SOLID_SQUARE, VAL_RED);
    const int h4 = PlotText(panel, C_GRAPH, 0, 20.5, "Temperature", VAL_DIALOG_META_FONT, VAL_BLUE, VAL_TRANSPARENT);
    const double xs[2] = {0, 4};
    const double ys[2] = {1, 2};
    const int h5 = PlotXY(panel, C_GRAPH, xs, ys, 2, VAL_THIN_LINE, VAL_NO_POINT, VAL_DASH, 1, 0x800080);
    ASSERT_GT(h2, 0);
    ASSERT_GT(h3, 0);
    ASSERT_GT(h4, 0);
    ASSERT_GT(h5, 0);

    const std::vector<rt::PlotInfo> plots = rt::GraphPlots(panel, C_GRAPH);
    ASSERT_EQ(plots.size(), 5u);
    EXPECT_EQ(plots[0].handle, h1);
    EXPECT_EQ(plots[0].kind, rt::PLOT_CURVE);
    EXPECT_EQ(plots[0].axis, VAL_LEFT_YAXIS);
    EXPECT_EQ(plots[0].x, (std::vector<double>{0, 1, 2, 3, 4}));
    EXPECT_EQ(plots[0].y, std::vector<double>(y, y + 5));
    EXPECT_EQ(plots[0].plotStyle, VAL_CONNECTED_POINTS);
    EXPECT_EQ(plots[0].pointStyle, VAL_SIMPLE_DOT);
    EXPECT_EQ(plots[1].kind, rt::PLOT_BARS);
    EXPECT_EQ(plots[1].axis, VAL_RIGHT_YAXIS);
    EXPECT_EQ(plots[1].color, VAL_RED);
    EXPECT_EQ(plots[1].y, (std::vector<double>{4, 9, 2}));
    EXPECT_EQ(plots[2].kind, rt::PLOT_POINT);
    EXPECT_EQ(plots[2].x, std::vector<double>{2});
    EXPECT_EQ(plots[2].y, std::vector<double>{21.5});
    EXPECT_EQ(plots[3].kind, rt::PLOT_TEXT);
    EXPECT_EQ(plots[3].text, "Temperature");
    EXPECT_EQ(plots[3].font, VAL_DIALOG_META_FONT);
    EXPECT_EQ(plots[3].color, VAL_BLUE);
    EXPECT_EQ(plots[3].bgColor, VAL_TRANSPARENT);
    EXPECT_EQ(plots[4].lineStyle, VAL_DASH);
    EXPECT_EQ(plots[4].color, 0x800080);

    // the plot itself holds the curves on their axes
    QCustomPlot *qcp = plotOf(panel);
    ASSERT_NE(qcp, nullptr);
    EXPECT_EQ(qcp->graph(0)->data()->size(), 5);
    EXPECT_EQ(qcp->graph(0)->valueAxis(), qcp->yAxis);

    // delete one, then all
    EXPECT_EQ(DeleteGraphPlot(panel, C_GRAPH, h3, VAL_DELAYED_DRAW), 0);
    EXPECT_LT(DeleteGraphPlot(panel, C_GRAPH, h3, VAL_DELAYED_DRAW), 0) << "already gone";
    EXPECT_EQ(rt::GraphPlots(panel, C_GRAPH).size(), 4u);
    EXPECT_EQ(DeleteGraphPlot(panel, C_GRAPH, -1, VAL_IMMEDIATE_DRAW), 0);
    EXPECT_TRUE(rt::GraphPlots(panel, C_GRAPH).empty());
    EXPECT_EQ(qcp->plottableCount(), 0);
    EXPECT_EQ(PlotY(panel, C_GRAPH, nullptr, 3, VAL_THIN_LINE, 0, 0, 1, 0) < 0, true);
}

TEST_F(UiTest, ManyPointMarkersStayCheap) {
    // error markers: one plot handle each, but they share the drawing
    for (int i = 0; i < 2000; ++i) ASSERT_GT(PlotPoint(panel, C_GRAPH, i, 1.0, VAL_SOLID_SQUARE, VAL_RED), 0);
    EXPECT_EQ(rt::GraphPlots(panel, C_GRAPH).size(), 2000u);
    ProcessDrawEvents();
    rt::GraphAxis(panel, C_GRAPH, VAL_XAXIS);
    EXPECT_LE(plotOf(panel)->plottableCount(), 1);
    DeleteGraphPlot(panel, C_GRAPH, -1, VAL_NO_DRAW);
    rt::GraphAxis(panel, C_GRAPH, VAL_XAXIS);
    EXPECT_EQ(plotOf(panel)->plottableCount(), 0);
}

TEST_F(UiTest, ActiveAxisAddressesAxisNames) {
    SetCtrlAttribute(panel, C_GRAPH, ATTR_ACTIVE_YAXIS, VAL_LEFT_YAXIS);
    SetCtrlAttribute(panel, C_GRAPH, ATTR_YNAME, "Temp. C");
    SetCtrlAttribute(panel, C_GRAPH, ATTR_ACTIVE_YAXIS, VAL_RIGHT_YAXIS);
    SetCtrlAttribute(panel, C_GRAPH, ATTR_YNAME, "RH%");
    SetCtrlAttribute(panel, C_GRAPH, ATTR_YLABEL_VISIBLE, 0);
    char name[16];
    GetCtrlAttribute(panel, C_GRAPH, ATTR_YNAME, name, sizeof name);
    EXPECT_STREQ(name, "RH%");
    const rt::AxisInfo left = rt::GraphAxis(panel, C_GRAPH, VAL_LEFT_YAXIS);
    const rt::AxisInfo right = rt::GraphAxis(panel, C_GRAPH, VAL_RIGHT_YAXIS);
    EXPECT_EQ(left.name, "Temp. C");
    EXPECT_TRUE(left.labelsVisible);
    EXPECT_EQ(right.name, "RH%");
    EXPECT_FALSE(right.labelsVisible);
    EXPECT_EQ(plotOf(panel)->yAxis->label(), "Temp. C");
    SetCtrlAttribute(panel, C_GRAPH, ATTR_ACTIVE_YAXIS, VAL_LEFT_YAXIS);
    SetCtrlAttribute(panel, C_GRAPH, ATTR_YNAME_VISIBLE, 0);
    EXPECT_FALSE(rt::GraphAxis(panel, C_GRAPH, VAL_LEFT_YAXIS).nameVisible);
    EXPECT_EQ(plotOf(panel)->yAxis->label(), "");
    EXPECT_LT(SetCtrlAttribute(panel, C_GRAPH, ATTR_ACTIVE_YAXIS, 7), 0);
}

TEST_F(UiTest, AxisScalingModes) {
    const double y[4] = {18.7, 24.2, 20, 19};
    PlotY(panel, C_GRAPH, y, 4, VAL_THIN_LINE, VAL_NO_POINT, VAL_SOLID, 1, 0);
    rt::AxisInfo a = rt::GraphAxis(panel, C_GRAPH, VAL_LEFT_YAXIS);
    EXPECT_EQ(a.mode, VAL_AUTOSCALE);
    EXPECT_DOUBLE_EQ(a.min, 18.7) << "autoscale follows the data";
    EXPECT_DOUBLE_EQ(a.max, 24.2);
    ASSERT_EQ(SetAxisScalingMode(panel, C_GRAPH, VAL_LEFT_YAXIS, VAL_MANUAL, 18, 25), 0);
    a = rt::GraphAxis(panel, C_GRAPH, VAL_LEFT_YAXIS);
    EXPECT_EQ(a.mode, VAL_MANUAL);
    EXPECT_EQ(a.min, 18);
    EXPECT_EQ(a.max, 25);
    EXPECT_EQ(plotOf(panel)->yAxis->range().lower, 18);
    int mode = -1;
    double mn = 0, mx = 0;
    GetAxisScalingMode(panel, C_GRAPH, VAL_LEFT_YAXIS, &mode, &mn, &mx);
    EXPECT_EQ(mode, VAL_MANUAL);
    EXPECT_EQ(mx, 25);
    EXPECT_LT(SetAxisScalingMode(panel, C_GRAPH, VAL_LEFT_YAXIS, VAL_MANUAL, 5, 5), 0) << "empty range";
    EXPECT_LT(SetAxisScalingMode(panel, C_GRAPH, 99, VAL_AUTOSCALE, 0, 0), 0);

    // SetAxisRange: x and the active y axis; VAL_NO_CHANGE leaves one alone
    SetCtrlAttribute(panel, C_GRAPH, ATTR_ACTIVE_YAXIS, VAL_RIGHT_YAXIS);
    ASSERT_EQ(SetAxisRange(panel, C_GRAPH, VAL_NO_CHANGE, 0, 0, VAL_MANUAL, 0, 100), 0);
    EXPECT_EQ(rt::GraphAxis(panel, C_GRAPH, VAL_RIGHT_YAXIS).max, 100);
    EXPECT_EQ(rt::GraphAxis(panel, C_GRAPH, VAL_XAXIS).mode, VAL_AUTOSCALE);
    EXPECT_EQ(rt::GraphAxis(panel, C_GRAPH, VAL_LEFT_YAXIS).max, 25);
    ASSERT_EQ(SetAxisRange(panel, C_GRAPH, VAL_MANUAL, 0, 10, VAL_NO_CHANGE, 0, 0), 0);
    EXPECT_EQ(rt::GraphAxis(panel, C_GRAPH, VAL_XAXIS).max, 10);
    ASSERT_EQ(SetAxisScalingMode(panel, C_GRAPH, VAL_LEFT_YAXIS, VAL_AUTOSCALE, 0, 0), 0);
    EXPECT_DOUBLE_EQ(rt::GraphAxis(panel, C_GRAPH, VAL_LEFT_YAXIS).max, 24.2);
}

TEST_F(UiTest, XAxisShowsOffsetGainAndLabelStrings) {
    std::vector<double> y(101, 1.0);
    PlotY(panel, C_GRAPH, y.data(), 101, VAL_THIN_LINE, VAL_NO_POINT, VAL_SOLID, 1, 0);
    SetAxisScalingMode(panel, C_GRAPH, VAL_XAXIS, VAL_MANUAL, 0, 100);
    ASSERT_EQ(SetCtrlAttribute(panel, C_GRAPH, ATTR_XAXIS_OFFSET, 501.0), 0);
    double offset = 0, gain = 0;
    GetCtrlAttribute(panel, C_GRAPH, ATTR_XAXIS_OFFSET, &offset);
    GetCtrlAttribute(panel, C_GRAPH, ATTR_XAXIS_GAIN, &gain);
    EXPECT_EQ(offset, 501);
    EXPECT_EQ(gain, 1);
    EXPECT_LT(SetCtrlAttribute(panel, C_GRAPH, ATTR_XAXIS_GAIN, 0.0), 0);
    QCustomPlot *qcp = plotOf(panel);
    qcp->replot();
    // ticks stand where the shown values are round; data stay in plot coordinates
    const QVector<double> ticks = qcp->xAxis->tickVector();
    const QVector<QString> labels = qcp->xAxis->tickVectorLabels();
    ASSERT_FALSE(ticks.isEmpty());
    for (int i = 0; i < ticks.size(); ++i) EXPECT_EQ(labels[i], QString::number(ticks[i] + 501)) << i;
    EXPECT_EQ(rt::GraphPlots(panel, C_GRAPH)[0].x.front(), 0);

    // label strings, placed at shown values
    ASSERT_EQ(InsertAxisItem(panel, C_GRAPH, VAL_XAXIS, -1, "10:00:00", 511), 0);
    ASSERT_EQ(InsertAxisItem(panel, C_GRAPH, VAL_XAXIS, -1, "10:20:00", 551), 0);
    ASSERT_EQ(InsertAxisItem(panel, C_GRAPH, VAL_XAXIS, 0, "09:50:00", 501), 0);
    EXPECT_LT(InsertAxisItem(panel, C_GRAPH, VAL_XAXIS, 7, "x", 1), 0);
    const rt::AxisInfo x = rt::GraphAxis(panel, C_GRAPH, VAL_XAXIS);
    ASSERT_EQ(x.items.size(), 3u);
    EXPECT_EQ(x.items[0].second, "09:50:00");
    EXPECT_EQ(x.items[2].first, 551);
    SetCtrlAttribute(panel, C_GRAPH, ATTR_XUSE_LABEL_STRINGS, 1);
    qcp->replot();
    EXPECT_EQ(qcp->xAxis->tickVector(), (QVector<double>{0, 10, 50}));
    EXPECT_EQ(qcp->xAxis->tickVectorLabels(), (QVector<QString>{"09:50:00", "10:00:00", "10:20:00"}));
    ClearAxisItems(panel, C_GRAPH, VAL_XAXIS);
    EXPECT_TRUE(rt::GraphAxis(panel, C_GRAPH, VAL_XAXIS).items.empty());
}

TEST_F(UiTest, TheLegendNamesEachCurveByItsLabel) {
    const double y[3] = {1, 2, 3};
    EXPECT_TRUE(rt::GraphLegend(panel, C_GRAPH).empty()) << "no curves, no legend";
    // two curves of one colour on one axis, each labelled after it is made; a curve without a
    // label; a text of another colour or on the other axis labels nothing
    PlotY(panel, C_GRAPH, y, 3, VAL_CONNECTED_POINTS, VAL_SIMPLE_DOT, VAL_SOLID, 1, VAL_BLACK);
    PlotText(panel, C_GRAPH, 0, 1, "first", VAL_DIALOG_META_FONT, VAL_BLACK, VAL_TRANSPARENT);
    PlotY(panel, C_GRAPH, y, 3, VAL_CONNECTED_POINTS, VAL_SIMPLE_DOT, VAL_SOLID, 1, VAL_BLUE);
    PlotText(panel, C_GRAPH, 0, 1, "red note", VAL_DIALOG_META_FONT, VAL_RED, VAL_TRANSPARENT);
    SetCtrlAttribute(panel, C_GRAPH, ATTR_ACTIVE_YAXIS, VAL_RIGHT_YAXIS);
    PlotText(panel, C_GRAPH, 0, 1, "right axis", VAL_DIALOG_META_FONT, VAL_BLUE, VAL_TRANSPARENT);
    SetCtrlAttribute(panel, C_GRAPH, ATTR_ACTIVE_YAXIS, VAL_LEFT_YAXIS);
    PlotY(panel, C_GRAPH, y, 3, VAL_CONNECTED_POINTS, VAL_SIMPLE_DOT, VAL_SOLID, 1, VAL_BLACK);
    PlotText(panel, C_GRAPH, 0, 1, "second", VAL_DIALOG_META_FONT, VAL_BLACK, VAL_TRANSPARENT);
    auto legend = rt::GraphLegend(panel, C_GRAPH);
    ASSERT_EQ(legend.size(), 2u);
    EXPECT_EQ(legend[0].text, "first");
    EXPECT_EQ(legend[1].text, "second");
    EXPECT_EQ(legend[1].color, VAL_BLACK);
    // more entries than a row holds (the group-files chart has up to 24)
    for (int k = 3; k <= 9; ++k) {
        const std::string name = "curve " + std::to_string(k);
        PlotY(panel, C_GRAPH, y, 3, VAL_CONNECTED_POINTS, VAL_SIMPLE_DOT, VAL_SOLID, 1, k);
        PlotText(panel, C_GRAPH, 0, 1, name.c_str(), VAL_DIALOG_META_FONT, k, VAL_TRANSPARENT);
    }
    legend = rt::GraphLegend(panel, C_GRAPH);
    ASSERT_EQ(legend.size(), 9u);
    EXPECT_EQ(legend[8].text, "curve 9");
    EXPECT_EQ(legend[8].color, 9);
    int on = -1;
    GetCtrlAttribute(panel, C_GRAPH, ATTR_LEGEND_VISIBLE, &on);
    EXPECT_EQ(on, 1) << "on by default";
    SetCtrlAttribute(panel, C_GRAPH, ATTR_LEGEND_VISIBLE, 0);
    EXPECT_TRUE(rt::GraphLegend(panel, C_GRAPH).empty());
    SetCtrlAttribute(panel, C_GRAPH, ATTR_LEGEND_VISIBLE, 1);
    DeleteGraphPlot(panel, C_GRAPH, -1, VAL_IMMEDIATE_DRAW);
    EXPECT_TRUE(rt::GraphLegend(panel, C_GRAPH).empty());
}

TEST_F(UiTest, ShortcutsAreBoundOncePerKeys) {
    EXPECT_EQ(SetCtrlShortcut(panel, C_BUTTON, "ctrl+k"), 0);
    EXPECT_EQ(SetCtrlShortcut(panel, C_BUTTON, "F2"), 0);
    EXPECT_EQ(InstallShortcutCallback(
                  panel, "Ctrl+K", [](int, void *) {}, nullptr),
              0)
        << "takes the keys over";
    EXPECT_LT(SetCtrlShortcut(panel, C_BUTTON, ""), 0);
    EXPECT_LT(SetCtrlShortcut(panel, C_BUTTON, "Ctrl+NoSuchKey"), 0);
    EXPECT_LT(SetCtrlShortcut(panel, 999, "F3"), 0) << "no such control";
    EXPECT_LT(InstallShortcutCallback(panel, "F4", nullptr, nullptr), 0);
    const auto keys = rt::PanelShortcuts(panel);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].keys, "F2");
    EXPECT_EQ(keys[0].ctrl, C_BUTTON);
    EXPECT_EQ(keys[1].keys, "Ctrl+K");
    EXPECT_EQ(keys[1].ctrl, 0);
}

TEST_F(UiTest, CursorsSnapToThePlottedPoints) {
    const double y[10] = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90};
    ASSERT_EQ(SetGraphCursorCount(panel, C_GRAPH, 2, 3.4, 7.6), 0);
    int n = 0;
    GetCtrlAttribute(panel, C_GRAPH, ATTR_NUM_CURSORS, &n);
    EXPECT_EQ(n, 2);
    int plot = 0, index = 0;
    GetGraphCursorIndex(panel, C_GRAPH, 1, &plot, &index);
    EXPECT_EQ(plot, -1) << "nothing to stand on yet";
    EXPECT_EQ(index, -1);
    const int h = PlotY(panel, C_GRAPH, y, 10, VAL_CONNECTED_POINTS, VAL_SIMPLE_DOT, VAL_SOLID, 1, 0);
    PlotPoint(panel, C_GRAPH, 3.4, 5, VAL_SOLID_SQUARE, VAL_RED);   // markers are not stood on
    double cx = 0, cy = 0;
    ASSERT_EQ(GetGraphCursor(panel, C_GRAPH, 1, &cx, &cy), 0);
    EXPECT_EQ(cx, 3);
    EXPECT_EQ(cy, 30);
    GetGraphCursor(panel, C_GRAPH, 2, &cx, &cy);
    EXPECT_EQ(cx, 8);
    EXPECT_EQ(cy, 80);
    GetGraphCursorIndex(panel, C_GRAPH, 2, &plot, &index);
    EXPECT_EQ(plot, h);
    EXPECT_EQ(index, 8);
    EXPECT_LT(GetGraphCursor(panel, C_GRAPH, 3, &cx, &cy), 0);

    // a cursor beyond the data snaps onto the last point
    SetGraphCursor(panel, C_GRAPH, 1, 25, 0);
    GetGraphCursor(panel, C_GRAPH, 1, &cx, &cy);
    EXPECT_EQ(cx, 9);

    // free form keeps the position
    SetCursorAttribute(panel, C_GRAPH, 1, ATTR_CURSOR_MODE, VAL_FREE_FORM);
    SetGraphCursor(panel, C_GRAPH, 1, 4.25, 33);
    GetGraphCursor(panel, C_GRAPH, 1, &cx, &cy);
    EXPECT_EQ(cx, 4.25);
    EXPECT_EQ(cy, 33);
    int mode = -1;
    GetCursorAttribute(panel, C_GRAPH, 1, ATTR_CURSOR_MODE, &mode);
    EXPECT_EQ(mode, VAL_FREE_FORM);

    // after the plots are redrawn a snapping cursor stands on the new points
    SetCursorAttribute(panel, C_GRAPH, 2, ATTR_CURSOR_MODE, VAL_SNAP_TO_POINT);
    DeleteGraphPlot(panel, C_GRAPH, -1, VAL_DELAYED_DRAW);
    const double y2[5] = {5, 6, 7, 8, 9};
    const int h2 = PlotY(panel, C_GRAPH, y2, 5, VAL_CONNECTED_POINTS, VAL_SIMPLE_DOT, VAL_SOLID, 1, 0);
    GetGraphCursor(panel, C_GRAPH, 2, &cx, &cy);
    EXPECT_EQ(cx, 4);
    EXPECT_EQ(cy, 9);
    GetGraphCursorIndex(panel, C_GRAPH, 2, &plot, &index);
    EXPECT_EQ(plot, h2);
    EXPECT_EQ(index, 4);
}

TEST_F(UiTest, DraggingACursorCommitsOnRelease) {
    DisplayPanel(panel);
    const double y[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    PlotY(panel, C_GRAPH, y, 10, VAL_CONNECTED_POINTS, VAL_SIMPLE_DOT, VAL_SOLID, 1, 0);
    SetAxisScalingMode(panel, C_GRAPH, VAL_XAXIS, VAL_MANUAL, 0, 9);
    SetGraphCursorCount(panel, C_GRAPH, 1, 1, 0);
    QCustomPlot *qcp = plotOf(panel);
    qcp->replot();
    const int y0 = qcp->axisRect()->center().y();
    const QPointF start(qcp->xAxis->coordToPixel(1), y0);
    const QPointF end(qcp->xAxis->coordToPixel(6.2), y0);
    g_calls.clear();
    QMouseEvent press(QEvent::MouseButtonPress, start, qcp->mapToGlobal(start), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(qcp, &press);
    QMouseEvent move(QEvent::MouseMove, end, qcp->mapToGlobal(end), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(qcp, &move);
    const std::vector<int> dragging = eventsOf(C_GRAPH);
    EXPECT_EQ(std::count(dragging.begin(), dragging.end(), EVENT_COMMIT), 0) << "no commit while dragging";
    QMouseEvent release(QEvent::MouseButtonRelease, end, qcp->mapToGlobal(end), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(qcp, &release);
    const std::vector<int> ev = eventsOf(C_GRAPH);
    ASSERT_FALSE(ev.empty());
    EXPECT_EQ(ev.back(), EVENT_COMMIT);
    double cx = 0;
    GetGraphCursor(panel, C_GRAPH, 1, &cx, nullptr);
    EXPECT_EQ(cx, 6);
}

TEST_F(UiTest, GraphImageIsSaved) {
    QTemporaryDir dir;
    const double y[3] = {1, 2, 3};
    PlotY(panel, C_GRAPH, y, 3, VAL_THIN_LINE, VAL_NO_POINT, VAL_SOLID, 1, 0);
    const QString png = dir.filePath("graph.png");
    EXPECT_EQ(rt::SaveGraphImage(panel, C_GRAPH, png.toUtf8().constData(), 320, 200), 0);
    EXPECT_EQ(QImage(png).size(), QSize(320, 200));
}

// ---------------------------------------------------------------- tables

class TableTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_EQ(InsertTableColumns(panel, C_TABLE, -1, 6, VAL_CELL_STRING), 0);
        ASSERT_EQ(InsertTableRows(panel, C_TABLE, -1, 1000, VAL_USE_MASTER_CELL_TYPE), 0);
    }
    std::string cell(int col, int row) {
        char text[32] = "?";
        EXPECT_EQ(GetTableCellVal(panel, C_TABLE, MakePoint(col, row), text, sizeof text), 0);
        return text;
    }
};

TEST_F(TableTest, ColumnsAreFilledInOneCallFromArrays) {
    int rows = 0, cols = 0;
    GetNumTableRows(panel, C_TABLE, &rows);
    GetNumTableColumns(panel, C_TABLE, &cols);
    EXPECT_EQ(rows, 1000);
    EXPECT_EQ(cols, 6);
    std::vector<int> numbers(1000);
    for (int i = 0; i < 1000; ++i) numbers[i] = 201 + i;
    ASSERT_EQ(SetTableCellRangeVals(panel, C_TABLE, MakeRect(1, 1, 1000, 1), numbers.data(), VAL_COLUMN_MAJOR), 0);
    static char dates[1000][12];
    std::vector<const char *> ptrs(1000);
    for (int i = 0; i < 1000; ++i) {
        std::snprintf(dates[i], sizeof dates[i], "d%d", i);
        ptrs[i] = i < 50 ? dates[i] : nullptr;   // null = empty cell
    }
    SetTableCellVal(panel, C_TABLE, MakePoint(2, 60), "old");
    ASSERT_EQ(SetTableCellRangeVals(panel, C_TABLE, MakeRect(1, 2, 1000, 1), ptrs.data(), VAL_COLUMN_MAJOR), 0);
    EXPECT_EQ(cell(1, 1), "201");
    EXPECT_EQ(cell(1, 1000), "1200");
    EXPECT_EQ(cell(2, 50), "d49");
    EXPECT_EQ(cell(2, 51), "");
    EXPECT_EQ(cell(2, 60), "") << "a null entry empties the cell";

    // several columns: column-major goes down the first column first, row-major across
    const int block[6] = {1, 2, 3, 4, 5, 6};
    SetTableCellRangeVals(panel, C_TABLE, MakeRect(1, 4, 3, 2), block, VAL_COLUMN_MAJOR);
    EXPECT_EQ(cell(4, 3), "3");
    EXPECT_EQ(cell(5, 1), "4");
    SetTableCellRangeVals(panel, C_TABLE, MakeRect(1, 4, 3, 2), block, VAL_ROW_MAJOR);
    EXPECT_EQ(cell(5, 1), "2");
    EXPECT_EQ(cell(4, 2), "3");

    EXPECT_LT(SetTableCellRangeVals(panel, C_TABLE, MakeRect(2, 1, 1000, 1), numbers.data(), VAL_COLUMN_MAJOR), 0)
        << "past the last row";
    EXPECT_LT(SetTableCellRangeVals(panel, C_TABLE, MakeRect(1, 7, 1, 1), numbers.data(), VAL_COLUMN_MAJOR), 0);
    char text[4];
    EXPECT_LT(GetTableCellVal(panel, C_TABLE, MakePoint(1, 1001), text, sizeof text), 0);
    GetTableCellVal(panel, C_TABLE, MakePoint(1, 1000), text, sizeof text);
    EXPECT_STREQ(text, "120") << "bounded";
}

TEST_F(TableTest, ColumnsLabelsVisibilityAndCellColours) {
    ASSERT_EQ(SetTableColumnAttribute(panel, C_TABLE, 4, ATTR_LABEL_TEXT, "Temp. C"), 0);
    char label[16];
    GetTableColumnAttribute(panel, C_TABLE, 4, ATTR_LABEL_TEXT, label, sizeof label);
    EXPECT_STREQ(label, "Temp. C");
    SetTableColumnAttribute(panel, C_TABLE, 2, ATTR_COLUMN_WIDTH, 90);
    int v = 0;
    GetTableColumnAttribute(panel, C_TABLE, 2, ATTR_COLUMN_WIDTH, &v);
    EXPECT_EQ(v, 90);

    ASSERT_EQ(SetCtrlAttribute(panel, C_TABLE, ATTR_NUM_VISIBLE_COLUMNS, 4), 0);
    GetCtrlAttribute(panel, C_TABLE, ATTR_NUM_VISIBLE_COLUMNS, &v);
    EXPECT_EQ(v, 4);
    GetTableColumnAttribute(panel, C_TABLE, 5, ATTR_VISIBLE, &v);
    EXPECT_EQ(v, 0);
    GetTableColumnAttribute(panel, C_TABLE, 4, ATTR_VISIBLE, &v);
    EXPECT_EQ(v, 1);
    SetTableColumnAttribute(panel, C_TABLE, 5, ATTR_VISIBLE, 1);
    GetCtrlAttribute(panel, C_TABLE, ATTR_NUM_VISIBLE_COLUMNS, &v);
    EXPECT_EQ(v, 5);
    EXPECT_LT(SetTableColumnAttribute(panel, C_TABLE, 7, ATTR_VISIBLE, 1), 0);

    ASSERT_EQ(SetTableCellRangeAttribute(panel, C_TABLE, MakeRect(10, 4, 5, 3), ATTR_TEXT_COLOR, 0x990000), 0);
    SetTableCellAttribute(panel, C_TABLE, MakePoint(4, 12), ATTR_TEXT_COLOR, VAL_BLUE);
    GetTableCellAttribute(panel, C_TABLE, MakePoint(5, 14), ATTR_TEXT_COLOR, &v);
    EXPECT_EQ(v, 0x990000);
    GetTableCellAttribute(panel, C_TABLE, MakePoint(4, 12), ATTR_TEXT_COLOR, &v);
    EXPECT_EQ(v, VAL_BLUE);
    GetTableCellAttribute(panel, C_TABLE, MakePoint(4, 15), ATTR_TEXT_COLOR, &v);
    EXPECT_EQ(v, VAL_BLACK) << "outside the range";
    // colours stay when the values are refilled
    const char *texts[1] = {"21.5"};
    SetTableCellRangeVals(panel, C_TABLE, MakeRect(14, 5, 1, 1), texts, VAL_COLUMN_MAJOR);
    GetTableCellAttribute(panel, C_TABLE, MakePoint(5, 14), ATTR_TEXT_COLOR, &v);
    EXPECT_EQ(v, 0x990000);
    EXPECT_LT(SetTableCellRangeAttribute(panel, C_TABLE, MakeRect(999, 1, 5, 1), ATTR_TEXT_COLOR, 0), 0);

    ASSERT_EQ(SetTableSelection(panel, C_TABLE, MakeRect(1, 1, 1, 1)), 0);
    Rect sel{};
    GetTableSelection(panel, C_TABLE, &sel);
    EXPECT_EQ(sel.top, 1);
    EXPECT_EQ(sel.left, 1);
    EXPECT_EQ(sel.height, 1);
    EXPECT_EQ(sel.width, 1);
    EXPECT_EQ(HideBuiltInCtrlMenuItem(panel, C_TABLE, VAL_SORT), 0);
}

TEST_F(TableTest, RowsAreInsertedAndDeleted) {
    SetTableCellVal(panel, C_TABLE, MakePoint(1, 1), 7);
    ASSERT_EQ(InsertTableRows(panel, C_TABLE, 1, 2, -1), 0);
    EXPECT_EQ(cell(1, 3), "7");
    ASSERT_EQ(DeleteTableRows(panel, C_TABLE, 1, 2), 0);
    EXPECT_EQ(cell(1, 1), "7");
    ASSERT_EQ(DeleteTableRows(panel, C_TABLE, 11, -1), 0);
    int rows = 0;
    GetNumTableRows(panel, C_TABLE, &rows);
    EXPECT_EQ(rows, 10);
    EXPECT_LT(InsertTableRows(panel, C_TABLE, 12, 1, -1), 0);
}

// ---------------------------------------------------------------- menus

struct MenuCall {
    int bar, item, panel;
    void *data;
};
std::vector<MenuCall> g_menuCalls;
void menuCallback(int bar, int item, void *data, int panel) { g_menuCalls.push_back({bar, item, panel, data}); }
int g_menuData = 0;

int buildMenu(int bar) {
    NewMenu(bar, 10, "Scale");
    NewMenuItem(bar, 10, 11, "T1", menuCallback, &g_menuData);
    NewMenuItem(bar, 10, 12, "T2", menuCallback, &g_menuData);
    NewMenuItem(bar, 10, 13, "All", menuCallback, &g_menuData);
    return 0;
}

TEST_F(UiTest, MenusCheckMarksDimmingAndPopups) {
    RegisterMenuBarResource(RES_MENU, buildMenu);
    const int bar = LoadMenuBar(0, RES_MENU);
    ASSERT_GT(bar, 0);
    g_menuCalls.clear();
    int v = -1;
    EXPECT_EQ(SetMenuBarAttribute(bar, 13, ATTR_CHECKED, 1), 0);
    GetMenuBarAttribute(bar, 13, ATTR_CHECKED, &v);
    EXPECT_EQ(v, 1);
    GetMenuBarAttribute(bar, 11, ATTR_CHECKED, &v);
    EXPECT_EQ(v, 0);
    SetMenuBarAttribute(bar, 12, ATTR_ITEM_NAME, "Second");
    char name[16];
    GetMenuBarAttribute(bar, 12, ATTR_ITEM_NAME, name, sizeof name);
    EXPECT_STREQ(name, "Second");
    EXPECT_LT(SetMenuBarAttribute(bar, 99, ATTR_CHECKED, 1), 0);

    rt::SetPopupMenuAnswer(12);
    EXPECT_EQ(RunPopupMenu(bar, 10, panel, 40, 30), 12);
    ASSERT_EQ(g_menuCalls.size(), 1u);
    EXPECT_EQ(g_menuCalls[0].bar, bar);
    EXPECT_EQ(g_menuCalls[0].item, 12);
    EXPECT_EQ(g_menuCalls[0].panel, panel);
    EXPECT_EQ(g_menuCalls[0].data, &g_menuData);
    GetMenuBarAttribute(bar, 12, ATTR_CHECKED, &v);
    EXPECT_EQ(v, 0) << "the callback, not the choice, sets check marks";

    rt::SetPopupMenuAnswer(0);
    EXPECT_EQ(RunPopupMenu(bar, 10, panel, 40, 30), 0) << "nothing chosen";
    SetMenuBarAttribute(bar, 11, ATTR_DIMMED, 1);
    GetMenuBarAttribute(bar, 11, ATTR_DIMMED, &v);
    EXPECT_EQ(v, 1);
    rt::SetPopupMenuAnswer(11);
    EXPECT_EQ(RunPopupMenu(bar, 10, panel, 40, 30), 0) << "a dimmed item cannot be chosen";
    EXPECT_EQ(g_menuCalls.size(), 1u);

    rt::FireMenuItem(bar, 13, panel);
    EXPECT_EQ(g_menuCalls.size(), 2u);
    EXPECT_EQ(DiscardMenuBar(bar), 0);
    EXPECT_LT(SetMenuBarAttribute(bar, 13, ATTR_CHECKED, 0), 0);
    EXPECT_LT(LoadMenuBar(0, 999), 0);
}

// ---------------------------------------------------------------- panel states

class StateTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        file = dir.filePath("Tavix.ini").toStdString();
        InsertListItem(panel, C_RING, -1, "9600", 9600);
        InsertListItem(panel, C_RING, -1, "19200", 19200);
    }
    void setValues() {
        SetCtrlVal(panel, C_NUM, 5);
        SetCtrlVal(panel, C_REAL, 2.25);
        SetCtrlVal(panel, C_STR, "dev = /dev/ttyUSB0; [x]");
        SetCtrlVal(panel, C_BOX, "two\nlines");
        SetCtrlVal(panel, C_RING, 19200);
        SetCtrlVal(panel, C_SWITCH, 1);
        SetCtrlVal(panel, C_COLOR, 0xABCDEF);
    }
    void scramble() {
        SetCtrlVal(panel, C_NUM, 0);
        SetCtrlVal(panel, C_REAL, 0.0);
        SetCtrlVal(panel, C_STR, "");
        SetCtrlVal(panel, C_BOX, "");
        SetCtrlVal(panel, C_RING, 9600);
        SetCtrlVal(panel, C_SWITCH, 0);
        SetCtrlVal(panel, C_COLOR, 0);
    }
    QTemporaryDir dir;
    std::string file;
};

TEST_F(StateTest, SavedValuesComeBackAndOtherGroupsStay) {
    {
        QFile f(QString::fromStdString(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Ports]\nCOM5=/dev/ttyUSB3\n");
    }
    setValues();
    ASSERT_EQ(SavePanelState(panel, file.c_str(), 1), 0);
    scramble();
    ASSERT_EQ(RecallPanelState(panel, file.c_str(), 1), 0);
    int i = 0;
    double d = 0;
    char text[64];
    GetCtrlVal(panel, C_NUM, &i);
    EXPECT_EQ(i, 5);
    GetCtrlVal(panel, C_REAL, &d);
    EXPECT_EQ(d, 2.25);
    GetCtrlVal(panel, C_STR, text);
    EXPECT_STREQ(text, "dev = /dev/ttyUSB0; [x]");
    GetCtrlVal(panel, C_BOX, text);
    EXPECT_STREQ(text, "two\nlines");
    GetCtrlVal(panel, C_RING, &i);
    EXPECT_EQ(i, 19200);
    GetCtrlVal(panel, C_SWITCH, &i);
    EXPECT_EQ(i, 1);
    GetCtrlVal(panel, C_COLOR, &i);
    EXPECT_EQ(i, 0xABCDEF);
    EXPECT_TRUE(g_calls.empty()) << "recalling calls no callback";

    QSettings s(QString::fromStdString(file), QSettings::IniFormat);
    EXPECT_EQ(s.value("Ports/COM5").toString(), "/dev/ttyUSB3");

    // another index is another state
    SetCtrlVal(panel, C_NUM, 9);
    ASSERT_EQ(SavePanelState(panel, file.c_str(), 2), 0);
    RecallPanelState(panel, file.c_str(), 1);
    GetCtrlVal(panel, C_NUM, &i);
    EXPECT_EQ(i, 5);
}

TEST_F(StateTest, AStateThatDoesNotFitChangesNothing) {
    setValues();
    ASSERT_EQ(SavePanelState(panel, file.c_str(), 1), 0);
    EXPECT_LT(RecallPanelState(panel, (file + ".missing").c_str(), 1), 0) << "no file";
    EXPECT_LT(RecallPanelState(panel, file.c_str(), 7), 0) << "no such state";

    const int other = LoadPanel(0, RES_OTHER);
    SetCtrlVal(other, C_NUM, 33);
    EXPECT_LT(RecallPanelState(other, file.c_str(), 1), 0) << "another panel's state";
    int v = 0;
    GetCtrlVal(other, C_NUM, &v);
    EXPECT_EQ(v, 33);
    DiscardPanel(other);

    // the ring lost the stored item: the whole recall is refused
    scramble();
    DeleteListItem(panel, C_RING, 1, 1);
    EXPECT_LT(RecallPanelState(panel, file.c_str(), 1), 0);
    GetCtrlVal(panel, C_NUM, &v);
    EXPECT_EQ(v, 0) << "nothing was taken";

    // a state made by a panel with an extra control does not fit
    InsertListItem(panel, C_RING, -1, "19200", 19200);
    NewCtrl(panel, CTRL_NUMERIC, 99, "extra", 0, 600, -1, -1);
    EXPECT_LT(RecallPanelState(panel, file.c_str(), 1), 0);
}

// ---------------------------------------------------------------- pop-ups

TEST_F(UiTest, PopupsGoThroughTheAgent) {
    EXPECT_EQ(MessagePopup("Warning", "No logger answers"), 0);
    agent.confirmAnswers = {true, false};
    EXPECT_EQ(ConfirmPopup("Q", "one"), 1);
    EXPECT_EQ(ConfirmPopup("Q", "two"), 0);
    agent.defaultConfirm = true;
    EXPECT_EQ(ConfirmPopup("Q", "three"), 1) << "the default once the queue is empty";
    EXPECT_EQ(agent.count("confirm"), 3);
    EXPECT_EQ(agent.count("message", "logger"), 1);
    EXPECT_EQ(agent.count("", "Q"), 3);
    EXPECT_EQ(agent.shown.front().title, "Warning");
}

TEST_F(UiTest, PromptCopiesAtMostMaxLength) {
    agent.promptAnswers = {"10-20", "123456789012345678901234"};
    char answer[21];
    EXPECT_EQ(PromptPopup("Print", "Range?", answer, 20), 0);
    EXPECT_STREQ(answer, "10-20");
    EXPECT_EQ(PromptPopup("Print", "Range?", answer, 20), 0);
    EXPECT_EQ(std::strlen(answer), 20u);
    std::strcpy(answer, "stale");
    EXPECT_LT(PromptPopup("Print", "Range?", answer, 20), 0) << "no answer left: cancelled";
    EXPECT_STREQ(answer, "");
    EXPECT_EQ(agent.count("prompt"), 3);
}

TEST_F(UiTest, FileSelectionThroughTheAgent) {
    agent.fileAnswers = {"/data/a.txt", "", "/data/b.txt", std::string(300, 'x')};
    char path[260];
    EXPECT_EQ(
        FileSelectPopupEx("/data", "*.txt", "ASCII files(*.txt)", "Save", VAL_SAVE_BUTTON, 0, 1, path, sizeof path),
        VAL_NEW_FILE_SELECTED);
    EXPECT_STREQ(path, "/data/a.txt");
    EXPECT_EQ(FileSelectPopupEx("/data", "*.txt", "*.txt", "Load", VAL_LOAD_BUTTON, 0, 1, path, sizeof path),
              VAL_NO_FILE_SELECTED);
    EXPECT_STREQ(path, "");
    agent.fileIsNew = false;
    EXPECT_EQ(FileSelectPopupEx("/data", "*.txt", "*.txt", "Load", VAL_LOAD_BUTTON, 0, 1, path, sizeof path),
              VAL_EXISTING_FILE_SELECTED);
    EXPECT_LT(FileSelectPopupEx("/data", "*.txt", "*.txt", "Load", VAL_LOAD_BUTTON, 0, 1, path, sizeof path), 0)
        << "a path that does not fit is refused";
    EXPECT_STREQ(path, "");
    EXPECT_EQ(FileSelectPopupEx("/data", "*.txt", "*.txt", "Load", VAL_LOAD_BUTTON, 0, 1, path, sizeof path),
              VAL_NO_FILE_SELECTED)
        << "nothing queued: cancel";
    EXPECT_EQ(agent.count("file", "Load"), 4);
}

int g_echoed = 0;
TEST_F(UiTest, ScriptedAgentEchoesEveryPopup) {
    g_echoed = 0;
    agent.echo = [](const rt::ScriptedAgent::Shown &) { ++g_echoed; };
    MessagePopup("a", "b");
    ConfirmPopup("a", "b");
    char answer[4];
    PromptPopup("a", "b", answer, 3);
    EXPECT_EQ(g_echoed, 3);
    agent.clear();
    EXPECT_TRUE(agent.shown.empty());
}

// ---------------------------------------------------------------- printing

TEST_F(UiTest, PrintingIntoTheCapture) {
    rt::CapturePrinting(true);
    char name[32];
    EXPECT_EQ(GetPrintAttribute(ATTR_PRINTER_NAME, name, sizeof name), 0);
    EXPECT_STREQ(name, "capture");
    EXPECT_EQ(SetPrintAttribute(ATTR_EJECT_AFTER, 0), 0);
    EXPECT_EQ(PrintTextBuffer(" ID=abc\n", ""), 0);
    EXPECT_EQ(PrintTextBuffer("     7\t01-02-2024\n", ""), 0);
    EXPECT_EQ(SetPrintAttribute(ATTR_EJECT_AFTER, 1), 0);
    EXPECT_EQ(rt::PrintedTexts(), (std::vector<std::string>{" ID=abc\n", "     7\t01-02-2024\n"}));

    EXPECT_EQ(PrintPanel(panel, "", VAL_NO_SCALING, VAL_FULL_PANEL, 0), 0);
    EXPECT_EQ(PrintPanel(panel, "", VAL_SCALE_TO_PAGE, VAL_FULL_PANEL, 1), 0);
    EXPECT_EQ(rt::PrintedPanels(), 2);
    EXPECT_LT(PrintPanel(9999, "", VAL_NO_SCALING, VAL_FULL_PANEL, 0), 0);

    // the print dialog cancelled: nothing printed
    agent.printAnswers = {false};
    EXPECT_EQ(PrintPanel(panel, "", VAL_NO_SCALING, VAL_FULL_PANEL, 1), PRINT_STATUS_CANCELLED);
    EXPECT_EQ(rt::PrintedPanels(), 2);

    // without a printer the probe and the prints fail with a readable status
    rt::CapturePrinting(true, false);
    const int status = GetPrintAttribute(ATTR_PRINTER_NAME, name, sizeof name);
    EXPECT_LT(status, 0);
    EXPECT_STRNE(GetUILErrorString(status), "");
    EXPECT_STRNE(GetUILErrorString(status), GetUILErrorString(-2));
    EXPECT_LT(PrintTextBuffer("x", ""), 0);
    EXPECT_LT(PrintPanel(panel, "", VAL_NO_SCALING, VAL_FULL_PANEL, 0), 0);
    rt::ClearPrinted();
    EXPECT_TRUE(rt::PrintedTexts().empty());
}

TEST_F(UiTest, PrintAttributesRoundTrip) {
    struct Case {
        int attr, value;
    } cases[] = {{ATTR_ORIENTATION, VAL_LANDSCAPE},
                 {ATTR_ORIENTATION, VAL_PORTRAIT},
                 {ATTR_PRINT_POINT_SIZE, 12},
                 {ATTR_NUMBER_PAGES, 1},
                 {ATTR_PRINT_DATE, 0},
                 {ATTR_PRINT_TIME, 1}};
    for (const Case &c : cases) {
        EXPECT_EQ(SetPrintAttribute(c.attr, c.value), 0);
        int v = -1;
        EXPECT_EQ(GetPrintAttribute(c.attr, &v), 0);
        EXPECT_EQ(v, c.value);
    }
    SetPrintAttribute(ATTR_PRINT_TIME, 0);
    EXPECT_EQ(SetPrintAttribute(ATTR_PRINT_FONT_NAME, VAL_SYSTEM_META_FONT), 0);
    char font[32];
    GetPrintAttribute(ATTR_PRINT_FONT_NAME, font, sizeof font);
    EXPECT_STREQ(font, VAL_SYSTEM_META_FONT);
    EXPECT_LT(SetPrintAttribute(ATTR_ORIENTATION, 5), 0);
}

TEST_F(UiTest, RealPrinterProbeFollowsTheSystem) {
    char name[128];
    const int status = GetPrintAttribute(ATTR_PRINTER_NAME, name, sizeof name);
    if (QPrinterInfo::defaultPrinter().isNull()) {
        EXPECT_LT(status, 0);
        EXPECT_LT(PrintTextBuffer("x", ""), 0);
    } else {
        EXPECT_EQ(status, 0);
    }
    // a panel printed into a PDF file
    QTemporaryDir dir;
    const QString pdf = dir.filePath("panel.pdf");
    EXPECT_EQ(PrintPanel(panel, pdf.toUtf8().constData(), VAL_SCALE_TO_PAGE, VAL_FULL_PANEL, 0), 0);
    EXPECT_GT(QFileInfo(pdf).size(), 0);
}

// ---------------------------------------------------------------- utility

TEST(UiUtil, MakePathname) {
    char path[16];
    EXPECT_EQ(MakePathname("/a/b", "c.txt", path, sizeof path), 0);
    EXPECT_STREQ(path, "/a/b/c.txt");
    EXPECT_EQ(MakePathname("/a/b/", "c.txt", path, sizeof path), 0);
    EXPECT_STREQ(path, "/a/b/c.txt");
    EXPECT_EQ(MakePathname("/abc", "0123456789", path, sizeof path), 0) << "exactly fits";
    EXPECT_LT(MakePathname("/abcd", "0123456789", path, sizeof path), 0);
    EXPECT_STREQ(path, "");
}

TEST(UiUtil, CompareStrings) {
    struct Case {
        const char *a;
        int sa;
        const char *b;
        int sb;
        int cs;
        int sign;
    } cases[] = {
        {"abc", 0, "abc", 0, 1, 0},  {"abc", 0, "ABC", 0, 1, 1},         {"abc", 0, "ABC", 0, 0, 0},
        {"xabc", 1, "abc", 0, 1, 0}, {"abc", 0, "abd", 0, 1, -1},        {"ab", 0, "abc", 0, 1, -1},
        {"abc", 9, "", 0, 1, 0},     {"English", 0, "english", 0, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        const int r = CompareStrings(c.a, c.sa, c.b, c.sb, c.cs);
        EXPECT_EQ((r > 0) - (r < 0), c.sign);
    }
}

TEST(UiUtil, MakeDirSaysWhenTheFolderExists) {
    QTemporaryDir dir;
    const std::string nested = dir.filePath("Documents/Tavix").toStdString();
    EXPECT_EQ(MakeDir(nested.c_str()), 0);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(nested)).isDir());
    EXPECT_EQ(MakeDir(nested.c_str()), -9);
}

TEST(UiUtil, DateAndTimeFromTheFrozenClock) {
    rt::SetClock({2024, 2, 29, 23, 59, 58});
    EXPECT_STREQ(DateStr(), "02-29-2024");
    EXPECT_STREQ(TimeStr(), "23:59:58");
    Delay(1.5);
    Delay(1.5);
    EXPECT_STREQ(TimeStr(), "00:00:01") << "Delay moves a frozen clock on, fractions add up";
    EXPECT_STREQ(DateStr(), "03-01-2024");
    rt::ClearClock();
}

TEST(UiUtil, ProjectDirUserAndDocuments) {
    char dir[512];
    SetProjectDir("/opt/tavix");
    EXPECT_EQ(GetProjectDir(dir, sizeof dir), 0);
    EXPECT_STREQ(dir, "/opt/tavix");
    char tiny[4];
    EXPECT_LT(GetProjectDir(tiny, sizeof tiny), 0);
    SetProjectDir("");
    EXPECT_EQ(GetProjectDir(dir, sizeof dir), 0);
    EXPECT_EQ(QString::fromUtf8(dir), QCoreApplication::applicationDirPath());

    qputenv("USER", "tester");
    char user[32];
    EXPECT_EQ(GetUserName(user, sizeof user), 0);
    EXPECT_STREQ(user, "tester");
    EXPECT_LT(GetUserName(tiny, sizeof tiny), 0);
    EXPECT_EQ(GetDocumentsDir(dir, sizeof dir), 0);
    EXPECT_GT(std::strlen(dir), 0u);
}

TEST(UiUtil, ErrorStrings) {
    EXPECT_STREQ(GetUILErrorString(0), "No error");
    for (int s = -1; s >= -22; --s) EXPECT_STRNE(GetUILErrorString(s), "Unknown error") << s;
}

}   // namespace
