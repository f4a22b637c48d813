// The data table's page: where it starts for cursor 1, what its rows show, the window's layout
// for each channel set, and which actions refresh it (only while the window is open).
#include <QHeaderView>
#include <QTableView>

#include <cstdio>
#include <cstring>

#include "CaseName.h"
#include "TableFixture.h"

namespace {

// Record i of a one-channel store: a value that tells the record.
double valueOf(int i) { return (i % 2000) / 10.0 - 50.0 + 0.00001; }

std::string oneDecimal(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

// ---------------------------------------------------------------- the page start

struct PageCase {
    const char *name;
    int cursor;        // record index under cursor 1
    int firstRecord;   // record number of row 1
};

void PrintTo(const PageCase &c, std::ostream *os) { *os << c.name; }

class PageStart : public TableProgram, public ::testing::WithParamInterface<PageCase> {};

TEST_P(PageStart, FollowsCursor1) {
    const PageCase &c = GetParam();
    start();
    fill(6, MAX_RECORDS, [](int i, int) { return valueOf(i); });
    openTable();
    cursor1X = c.cursor;
    updateTable();

    for (const int r : {1, 2, 500, 1000}) {
        const int index = c.firstRecord - 1 + r - 1;
        const auto [date, time] = dateTime(rtcPtr[index]);
        EXPECT_EQ(row(r),
                  (std::vector<std::string>{std::to_string(index + 1), date, time, oneDecimal(valueOf(index)), "", ""}))
            << "row " << r;
    }
}

INSTANTIATE_TEST_SUITE_P(Cursor, PageStart,
                         ::testing::Values(PageCase{"cursor at 0", 0, 1}, PageCase{"cursor at 99", 99, 1},
                                           PageCase{"cursor at 250", 250, 201},
                                           PageCase{"cursor at 14950 a page before the end", 14950, 14901},
                                           PageCase{"cursor at 15000 within the last thousand", 15000, 15001},
                                           PageCase{"cursor at 15999 the last record", 15999, 15001}),
                         [](const auto &info) { return caseName(info.param.name); });

TEST(PageBase, NeverBeforeTheFirstNorPastTheLastRecord) {
    EXPECT_EQ(tablePageBase(-1), 0);
    EXPECT_EQ(tablePageBase(-250), 0);
    EXPECT_EQ(tablePageBase(14899), 14800);
    EXPECT_EQ(tablePageBase(1000000), 15000);
}

// ---------------------------------------------------------------- rows

using Page = TableProgram;

// The numbers end where the records end, and each row has one number: the record's.
TEST_F(Page, RowsPastTheRecordsHeldAreEmptyAndUnnumbered) {
    start();
    fill(10, 50, [](int i, int channel) { return i + channel / 10.0 + 0.00001; });
    cursor1X = 20;
    openTable();

    const auto [date, time] = dateTime(rtcPtr[49]);
    EXPECT_EQ(row(50), (std::vector<std::string>{"50", date, time, "49.0", "49.1", "49.2"}));
    EXPECT_EQ(row(51), (std::vector<std::string>{"", "", "", "", "", ""}));
    EXPECT_EQ(row(1000), (std::vector<std::string>{"", "", "", "", "", ""}));
    // no row headers beside the record numbers
    auto *view = qobject_cast<QTableView *>(rt::CtrlWidget(idTable, TABLE_DATA));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->verticalHeader()->isHidden());

    // a second download of fewer records leaves nothing of the first on the page
    fill(10, 3, [](int, int) { return 1.0; });
    updateTable();
    EXPECT_EQ(row(3)[3], "1.0");
    EXPECT_EQ(row(4), (std::vector<std::string>{"", "", "", "", "", ""}));
}

struct ValueCase {
    const char *name;
    double value;
    const char *text;
};

void PrintTo(const ValueCase &c, std::ostream *os) { *os << c.name; }

class ValueText : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ValueText, OneDecimalOrTheErrorCode) {
    const ValueCase &c = GetParam();
    char buffer[TABLE_CELL_SIZE];
    std::memset(buffer, 'x', sizeof buffer);
    const char *cellPointer = nullptr;
    BuildTabValStr(buffer, c.value, &cellPointer);
    EXPECT_STREQ(buffer, c.text);
    EXPECT_EQ(cellPointer, buffer);
}

INSTANTIATE_TEST_SUITE_P(Values, ValueText,
                         ::testing::Values(ValueCase{"error 7", 10007.0, "E07"},
                                           ValueCase{"10000 is a measurement", 10000.0, "10000.0"},
                                           ValueCase{"whole number", 7.0, "7.0"},
                                           ValueCase{"decoded value", 21.5 + 0.00001, "21.5"},
                                           ValueCase{"negative", -5.04, "-5.0"}, ValueCase{"error 0", 10000.5, "E00"},
                                           ValueCase{"three digit code", 10123.00001, "E123"},
                                           ValueCase{"too wide for the cell is cut", -123456789012.0, "-1234567890"}),
                         [](const auto &info) { return caseName(info.param.name); });

// ---------------------------------------------------------------- the window for each model

struct LayoutCase {
    const char *name;
    int model;
    char unit;
    int columns;                         // columns shown
    std::vector<std::string> labels;     // columns 4 .. shown
    std::vector<std::string> channels;   // the channel list's items
    std::vector<int> channelValues;
};

void PrintTo(const LayoutCase &c, std::ostream *os) { *os << c.name; }

class WindowLayout : public TableProgram, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(WindowLayout, ColumnsLabelsAndChannelsFollowTheModel) {
    const LayoutCase &c = GetParam();
    start();
    fill(c.model, 2, [](int, int) { return 20.0; });
    eUnit = c.unit;
    // what an earlier opening left: every switch off, the limits dimmed, a cell selected
    for (int ctrl : {TABLE_HIGH_ENABLE, TABLE_LOW_ENABLE, TABLE_ERR_ENABLE}) SetCtrlVal(idTable, ctrl, 0);
    SetCtrlAttribute(idTable, TABLE_HIGH, ATTR_DIMMED, 1);
    SetCtrlAttribute(idTable, TABLE_LOW, ATTR_DIMMED, 1);
    SetTableSelection(idTable, TABLE_DATA, MakeRect(5, 4, 2, 2));

    openTable();
    EXPECT_TRUE(rt::PanelVisible(idTable));
    EXPECT_EQ(flagOfDataTableOn, 1);
    int shown = 0;
    GetCtrlAttribute(idTable, TABLE_DATA, ATTR_NUM_VISIBLE_COLUMNS, &shown);
    EXPECT_EQ(shown, c.columns);
    std::vector<std::string> labels;
    for (int column = 4; column <= c.columns; ++column) labels.push_back(columnLabel(column));
    EXPECT_EQ(labels, c.labels);
    EXPECT_EQ(columnLabel(1), "No.");
    std::vector<std::string> items;
    std::vector<int> values;
    int count = 0;
    GetNumListItems(idTable, TABLE_CHANNEL, &count);
    for (int k = 0; k < count; ++k) {
        char label[64] = "";
        int value = -1;
        GetLabelFromIndex(idTable, TABLE_CHANNEL, k, label, sizeof label);
        GetValueFromIndex(idTable, TABLE_CHANNEL, k, &value);
        items.push_back(label);
        values.push_back(value);
    }
    EXPECT_EQ(items, c.channels);
    EXPECT_EQ(values, c.channelValues);
    for (int ctrl : {TABLE_HIGH_ENABLE, TABLE_LOW_ENABLE, TABLE_ERR_ENABLE}) EXPECT_EQ(intVal(idTable, ctrl), 1);
    EXPECT_EQ(dimmed(idTable, TABLE_HIGH), 0);
    EXPECT_EQ(dimmed(idTable, TABLE_LOW), 0);
    Rect selected{};
    GetTableSelection(idTable, TABLE_DATA, &selected);
    EXPECT_EQ(std::vector<int>({selected.top, selected.left, selected.height, selected.width}),
              std::vector<int>({1, 1, 1, 1}));
    EXPECT_EQ(row(2)[3], "20.0");
}

const LayoutCase kLayouts[] = {
    {"one temperature", 6, 'C', 4, {"Temp. (°C)"}, {"Temperature"}, {0}},
    {"one temperature in F", 3, 'F', 4, {"Temp. (°F)"}, {"Temperature"}, {0}},
    {"temperature and humidity", 19, 'C', 5, {"Temp. (°C)", "Humidity (%RH)"}, {"Temperature", "Humidity"}, {0, 2}},
    {"two temperatures", 9, 'C', 5, {"Temp. (°C)", "Ext. (°C)"}, {"Temperature", "Ext. temperature"}, {0, 1}},
    {"two temperatures lower-case f",
     16,
     'f',
     5,
     {"Temp. (°F)", "Ext. (°F)"},
     {"Temperature", "Ext. temperature"},
     {0, 1}},
    {"model 11", 11, 'C', 5, {"T1 (°C)", "T2 (°C)"}, {"Temperature 1", "Temperature 2"}, {0, 1}},
    {"model 14 in F", 14, 'F', 5, {"T1 (°F)", "T2 (°F)"}, {"Temperature 1", "Temperature 2"}, {0, 1}},
    {"all three channels",
     10,
     'C',
     6,
     {"Temp. (°C)", "Ext. (°C)", "Humidity (%RH)"},
     {"Temperature", "Ext. temperature", "Humidity"},
     {0, 1, 2}},
};

INSTANTIATE_TEST_SUITE_P(Models, WindowLayout, ::testing::ValuesIn(kLayouts),
                         [](const auto &info) { return caseName(info.param.name); });

// ---------------------------------------------------------------- refreshing

TEST_F(Page, TheClosedWindowIsNeverTouched) {
    start();
    fill(6, 3000, [](int i, int) { return valueOf(i); });
    moveCursor1(250);
    updateTable();
    EXPECT_EQ(row(1), (std::vector<std::string>(6, "")));

    openTable();
    moveCursor1(1250);
    EXPECT_EQ(row(1)[0], "1201");
    closeTable();
    EXPECT_FALSE(rt::PanelVisible(idTable));
    EXPECT_EQ(flagOfDataTableOn, 0);
    moveCursor1(2500);
    retrieve(fixture("model10.txt"));
    updateTable();
    EXPECT_EQ(row(1)[0], "1201");
    EXPECT_EQ(row(1)[3], oneDecimal(valueOf(1200)));

    // the close box closes it as well
    openTable();
    rt::FirePanelEvent(idTable, EVENT_CLOSE);
    EXPECT_EQ(flagOfDataTableOn, 0);
    EXPECT_FALSE(rt::PanelVisible(idTable));
}

// Each action that the open window follows, and the first row it leaves.
struct RefreshCase {
    const char *name;
    void (*act)(TableProgram &program);
    std::vector<std::string> firstRow;
};

void PrintTo(const RefreshCase &c, std::ostream *os) { *os << c.name; }

class Refresh : public TableProgram, public ::testing::WithParamInterface<RefreshCase> {
public:
    void retrieveFixture(const std::string &name) { retrieve(fixture(name)); }
    void moveCursor(int record) { moveCursor1(record); }
    rt::ScriptedAgent &agent() { return agent_; }
};

TEST_P(Refresh, TheOpenWindowFollows) {
    const RefreshCase &c = GetParam();
    start();
    fill(6, 3000, [](int i, int) { return valueOf(i); });
    openTable();
    EXPECT_EQ(row(1)[0], "1");
    c.act(*this);
    EXPECT_EQ(row(1), c.firstRow);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, Refresh,
    ::testing::Values(RefreshCase{"cursor moves",
                                  [](TableProgram &p) { static_cast<Refresh &>(p).moveCursor(1250); },
                                  {"1201", "2000-01-12", "04:00:00", "70.0", "", ""}},
                      RefreshCase{"download starts",
                                  [](TableProgram &p) {
                                      static_cast<Refresh &>(p).agent().confirmAnswers.push_back(true);
                                      rt::FireCtrlEvent(idMonitor, MONITOR_START_BUTTON, EVENT_COMMIT);
                                  },
                                  {"", "", "", "", "", ""}},
                      RefreshCase{"file read",
                                  [](TableProgram &p) { static_cast<Refresh &>(p).retrieveFixture("model10.txt"); },
                                  {"1", "2026-12-01", "08:00:00", "-5.0", "0.0", "45.0"}},
                      RefreshCase{"chart title click",
                                  [](TableProgram &p) {
                                      static_cast<Refresh &>(p).agent().confirmAnswers.push_back(true);
                                      tTitle1CallBack(idMonitor, MONITOR_GRAPH, EVENT_LEFT_CLICK, nullptr, 5, 5);
                                  },
                                  {"", "", "", "", "", ""}}),
    [](const auto &info) { return caseName(info.param.name); });

}   // namespace
