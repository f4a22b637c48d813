// The data table's processing, through its Go button: the match rule, the rounding of the
// limits, the colours of the page and the counters over every record held. A picture of the
// window after processing is kept in build/artifacts/table-window.png.
#include <QWidget>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "CaseName.h"
#include "TableFixture.h"

namespace {

constexpr int kMatchColor = 0x00AA00;
constexpr double kError3 = 10003.00001;   // a sensor error, as the decoding leaves it

class Process : public TableProgram {
protected:
    struct Settings {
        int condition = 1;   // 0 all enabled tests, 1 any
        int high = 1, low = 1, err = 1;
        double hi = 30.0, lo = 10.0;
        int channel = 0;
    };

    // The window's fields set as the user sets them, then Go.
    static void press(const Settings &s) {
        SetCtrlVal(idTable, TABLE_CHANNEL, s.channel);
        SetCtrlVal(idTable, TABLE_CONDITION, s.condition);
        SetCtrlVal(idTable, TABLE_HIGH_ENABLE, s.high);
        SetCtrlVal(idTable, TABLE_LOW_ENABLE, s.low);
        SetCtrlVal(idTable, TABLE_ERR_ENABLE, s.err);
        SetCtrlVal(idTable, TABLE_HIGH, s.hi);
        SetCtrlVal(idTable, TABLE_LOW, s.lo);
        SetCtrlVal(idTable, TABLE_COLOR, kMatchColor);
        rt::FireCtrlEvent(idTable, TABLE_PROCESS, EVENT_COMMIT);
    }
    static int usage() { return intVal(idTable, TABLE_USAGE); }
    static int episodes() { return intVal(idTable, TABLE_COUNTER); }
};

// ---------------------------------------------------------------- the match rule

struct MatchCase {
    const char *name;
    int condition, high, low, err;
    double hi, lo, value;
    bool matches;
};

void PrintTo(const MatchCase &c, std::ostream *os) { *os << c.name; }

class MatchRule : public Process, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(MatchRule, ColoursAndCountsTheSameRecords) {
    const MatchCase &c = GetParam();
    start();
    fill(6, 1, [&c](int, int) { return c.value; });
    openTable();
    press({c.condition, c.high, c.low, c.err, c.hi, c.lo, 0});
    EXPECT_EQ(cellColor(1, 4), c.matches ? kMatchColor : VAL_BLACK);
    EXPECT_EQ(usage(), c.matches ? 1 : 0);
    EXPECT_EQ(episodes(), c.matches ? 1 : 0);
}

const MatchCase kMatches[] = {
    // any enabled test (condition 1): values outside the band from low to high, limits included
    {"any, high limit hit exactly", 1, 1, 1, 1, 30.0, 10.0, 30.0, true},
    {"any, low limit hit exactly", 1, 1, 1, 1, 30.0, 10.0, 10.0, true},
    {"any, decoded value at the limit", 1, 1, 1, 1, 30.0, 10.0, 30.0 + 0.00001, true},
    {"any, just inside below high", 1, 1, 1, 1, 30.0, 10.0, 29.9, false},
    {"any, just inside above low", 1, 1, 1, 1, 30.0, 10.0, 10.1, false},
    {"any, high only, below low", 1, 1, 0, 1, 30.0, 10.0, 5.0, false},
    {"any, high only, above high", 1, 1, 0, 1, 30.0, 10.0, 35.0, true},
    {"any, low only, below low", 1, 0, 1, 1, 30.0, 10.0, 5.0, true},
    {"any, low only, above high", 1, 0, 1, 1, 30.0, 10.0, 35.0, false},
    {"any, no test on", 1, 0, 0, 1, 30.0, 10.0, 35.0, false},
    // every enabled test (condition 0)
    {"all, high 10 low 30, inside", 0, 1, 1, 1, 10.0, 30.0, 20.0, true},
    {"all, high 10 low 30, at high", 0, 1, 1, 1, 10.0, 30.0, 10.0, true},
    {"all, high 10 low 30, at low", 0, 1, 1, 1, 10.0, 30.0, 30.0, true},
    {"all, high 10 low 30, above", 0, 1, 1, 1, 10.0, 30.0, 30.1, false},
    {"all, high 10 low 30, below", 0, 1, 1, 1, 10.0, 30.0, 9.9, false},
    {"all, high 30 low 10, inside", 0, 1, 1, 1, 30.0, 10.0, 20.0, false},
    {"all, high 30 low 10, above", 0, 1, 1, 1, 30.0, 10.0, 50.0, false},
    {"all, high 30 low 10, below", 0, 1, 1, 1, 30.0, 10.0, 5.0, false},
    {"all, high only, above high", 0, 1, 0, 1, 30.0, 10.0, 31.0, true},
    {"all, high only, below high", 0, 1, 0, 1, 30.0, 10.0, 29.0, false},
    {"all, low only, below low", 0, 0, 1, 1, 30.0, 10.0, 9.0, true},
    {"all, low only, above low", 0, 0, 1, 1, 30.0, 10.0, 11.0, false},
    {"all, no test on", 0, 0, 0, 1, 30.0, 10.0, 50.0, false},
    // sensor errors: only the error switch counts
    {"error, switch on, no limit test on", 0, 0, 0, 1, 30.0, 10.0, kError3, true},
    {"error, switch on, limits would not match", 1, 1, 1, 1, 20000.0, -20000.0, kError3, true},
    {"error, switch off, limits would match", 1, 1, 1, 0, 0.0, 0.0, kError3, false},
    {"10000 is a measurement, tested by the limits", 1, 1, 0, 0, 30.0, 10.0, 10000.0, true},
    {"10000 is a measurement, not an error", 1, 0, 0, 1, 30.0, 10.0, 10000.0, false},
    // limits are used to one decimal
    {"high 25.04 is used as 25.0", 1, 1, 0, 1, 25.04, 10.0, 25.0, true},
    {"low -2.25 is used as -2.3", 1, 0, 1, 1, 30.0, -2.25, -2.26, false},
    {"low -2.25 is used as -2.3 which matches", 1, 0, 1, 1, 30.0, -2.25, -2.3, true},
    {"high 2.25 is used as 2.3", 1, 1, 0, 1, 2.25, -10.0, 2.26, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, MatchRule, ::testing::ValuesIn(kMatches),
                         [](const auto &info) { return caseName(info.param.name); });

struct RoundCase {
    const char *name;
    double typed, used;
};

void PrintTo(const RoundCase &c, std::ostream *os) { *os << c.name; }

class LimitRounding : public ::testing::TestWithParam<RoundCase> {};

TEST_P(LimitRounding, OneDecimalHalvesAwayFromZero) {
    EXPECT_DOUBLE_EQ(FloatValProcess(GetParam().typed), GetParam().used);
}

INSTANTIATE_TEST_SUITE_P(Limits, LimitRounding,
                         ::testing::Values(RoundCase{"25.04", 25.04, 25.0}, RoundCase{"minus 2.25", -2.25, -2.3},
                                           RoundCase{"2.25", 2.25, 2.3}, RoundCase{"0.05", 0.05, 0.1},
                                           RoundCase{"minus 0.04", -0.04, 0.0},
                                           RoundCase{"beyond any integer", 1e15, 1e15}),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(Process, GoReadsTheWindowAndKeepsTheTypedLimits) {
    start();
    fill(10, 5, [](int, int) { return 20.0; });
    openTable();
    press({0, 1, 0, 0, 25.04, -2.25, 2});
    EXPECT_EQ(tabChannel, 2);
    EXPECT_EQ(tabCondition, 0);
    EXPECT_EQ(tabHiEnable, 1);
    EXPECT_EQ(tabLowEnable, 0);
    EXPECT_EQ(tabErrEnable, 0);
    EXPECT_DOUBLE_EQ(tabHi, 25.0);
    EXPECT_DOUBLE_EQ(tabLo, -2.3);
    EXPECT_EQ(tabColor, kMatchColor);
    double typed = 0;
    GetCtrlVal(idTable, TABLE_HIGH, &typed);
    EXPECT_DOUBLE_EQ(typed, 25.04);
}

// ---------------------------------------------------------------- counters and colours

TEST_F(Process, MatchesAtRecords1245and9AreSixInThreeEpisodes) {
    start();
    const std::vector<int> matching = {1, 2, 4, 5, 6, 9};
    fill(6, 10, [&](int i, int) { return std::count(matching.begin(), matching.end(), i + 1) ? 50.0 : 20.0; });
    openTable();
    press({});
    EXPECT_EQ(usage(), 6);
    EXPECT_EQ(episodes(), 3);
    for (int r = 1; r <= 10; ++r)
        EXPECT_EQ(cellColor(r, 4), std::count(matching.begin(), matching.end(), r) ? kMatchColor : VAL_BLACK) << r;
}

TEST_F(Process, CountersCoverEveryRecordColoursOnlyThePage) {
    start();
    // channel 2 of a three-channel store: a run of matches on the page and two beyond it
    fill(10, 5333, [](int i, int channel) {
        if (channel != 2) return 20.0;
        return (i >= 10 && i < 15) || (i >= 2000 && i < 2100) || i == 5332 ? 95.0 : 50.0;
    });
    openTable();
    press({1, 1, 0, 1, 90.0, 0.0, 2});
    EXPECT_EQ(usage(), 5 + 100 + 1);
    EXPECT_EQ(episodes(), 3);
    EXPECT_EQ(cellColor(11, 6), kMatchColor);
    EXPECT_EQ(cellColor(11, 4), VAL_BLACK);
    EXPECT_EQ(cellColor(11, 5), VAL_BLACK);
    EXPECT_EQ(cellColor(16, 6), VAL_BLACK);

    // a channel column of the three-channel layout: the second temperature is column 5
    press({1, 1, 0, 1, 15.0, 0.0, 1});
    EXPECT_EQ(usage(), 5333);
    EXPECT_EQ(cellColor(11, 6), VAL_BLACK);
    EXPECT_EQ(cellColor(11, 5), kMatchColor);
}

TEST_F(Process, HumidityOfATwoChannelModelIsColumn5) {
    start();
    fill(19, 3, [](int, int channel) { return channel == 2 ? 95.0 : 20.0; });
    openTable();
    press({1, 1, 0, 0, 90.0, 0.0, 2});
    EXPECT_EQ(cellColor(1, 5), kMatchColor);
    EXPECT_EQ(cellColor(1, 4), VAL_BLACK);
    EXPECT_EQ(usage(), 3);
}

TEST_F(Process, ColoursStayWhenThePageMovesAndGoWhenTheWindowOpens) {
    start();
    fill(6, 3000, [](int i, int) { return i == 0 ? 50.0 : 20.0; });
    openTable();
    press({});
    EXPECT_EQ(cellColor(1, 4), kMatchColor);
    moveCursor1(250);
    EXPECT_EQ(row(1)[0], "201");
    EXPECT_EQ(cellColor(1, 4), kMatchColor);   // the cell, not the record, keeps it
    EXPECT_EQ(usage(), 1);

    // a second processing recolours the page as it is now
    press({});
    EXPECT_EQ(cellColor(1, 4), VAL_BLACK);
    EXPECT_EQ(usage(), 1);
    moveCursor1(0);
    press({});
    closeTable();
    openTable();
    EXPECT_EQ(cellColor(1, 4), VAL_BLACK);
    EXPECT_EQ(usage(), 0);   // the counters start again with the window
    EXPECT_EQ(episodes(), 0);
}

// The counters and marks only ever describe the records shown: new records, from a file, a
// download or a discard, take them away, and the condition is back at "any test".
enum class Replacement { File, SameCount, Discard };
struct NewRecordsCase {
    const char *name;
    Replacement how;
};

class NewRecords : public Process, public ::testing::WithParamInterface<NewRecordsCase> {
protected:
    void replace() {
        switch (GetParam().how) {
            case Replacement::File: retrieve(fixture("model06.txt")); break;
            case Replacement::SameCount:
                fill(6, 10, [](int, int) { return 50.0; });
                updateTemperatureChart();
                break;
            case Replacement::Discard:
                agent_.confirmAnswers.push_back(true);   // a discard asks first
                tTitle1CallBack(idMonitor, MONITOR_GRAPH, EVENT_LEFT_CLICK, nullptr, 0, 0);
                break;
        }
    }
};

const NewRecordsCase kNewRecords[] = {
    {"a file is read", Replacement::File},
    {"as many other records", Replacement::SameCount},
    {"the records are discarded", Replacement::Discard},
};

TEST_P(NewRecords, TakeTheCountersAndMarksAway) {
    start();
    fill(6, 10, [](int i, int) { return i < 3 ? 50.0 : 20.0; });
    updateTemperatureChart();
    openTable();
    press({0, 1, 0, 0, 30.0, 10.0, 0});   // condition "all", only the high test
    ASSERT_EQ(usage(), 3);
    ASSERT_EQ(episodes(), 1);
    ASSERT_EQ(cellColor(1, 4), kMatchColor);

    replace();
    EXPECT_EQ(usage(), 0);
    EXPECT_EQ(episodes(), 0);
    EXPECT_EQ(intVal(idTable, TABLE_CONDITION), 1);
    EXPECT_EQ(cellColor(1, 4), VAL_BLACK);
}

INSTANTIATE_TEST_SUITE_P(Replaced, NewRecords, ::testing::ValuesIn(kNewRecords),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(Process, TheCountersStayWhileTheSameRecordsAreShown) {
    start();
    fill(6, 3000, [](int i, int) { return i < 3 ? 50.0 : 20.0; });
    updateTemperatureChart();
    openTable();
    press({});
    moveCursor1(1500);
    EXPECT_EQ(usage(), 3);
    EXPECT_EQ(episodes(), 1);
}

// The window opens with both counters in view and the condition "any test": with both limits
// switched on, the values outside the band from low to high are marked.
TEST_F(Process, OpensWithBothCountersAndTheConditionAny) {
    start();
    fill(6, 5, [](int i, int) { return std::vector<double>{5.0, 20.0, 35.0, 20.0, 5.0}[i]; });
    openTable();
    for (const int counter : {TABLE_COUNTER, TABLE_USAGE}) {
        QWidget *w = rt::CtrlWidget(idTable, counter);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->isVisible()) << counter;
        EXPECT_GT(w->height(), 10) << counter;
    }
    EXPECT_EQ(intVal(idTable, TABLE_CONDITION), 1);
    SetCtrlVal(idTable, TABLE_HIGH, 30.0);
    SetCtrlVal(idTable, TABLE_LOW, 10.0);
    rt::FireCtrlEvent(idTable, TABLE_PROCESS, EVENT_COMMIT);
    EXPECT_EQ(usage(), 3);
    EXPECT_EQ(episodes(), 3);
}

TEST_F(Process, AChannelTheModelNoLongerHasMatchesNothing) {
    start();
    fill(10, 20, [](int, int) { return 95.0; });
    openTable();
    // the window stays open while a one-channel file is read; its list still offers humidity
    retrieve(fixture("model06.txt"));
    // nothing of the earlier data stays in the columns the new model does not fill
    EXPECT_EQ(row(1), (std::vector<std::string>{"1", "2026-12-01", "08:00:00", "-5.0", "", ""}));
    press({1, 1, 1, 1, 30.0, 10.0, 2});
    EXPECT_EQ(usage(), 0);
    EXPECT_EQ(episodes(), 0);
    for (int column = 3; column <= 6; ++column) EXPECT_EQ(cellColor(1, column), VAL_BLACK) << column;
}

TEST_F(Process, TheLimitSwitchesDimTheirLimits) {
    start();
    openTable();
    const int before = tabHiEnable;
    for (const auto &[sw, limit] : {std::pair{TABLE_HIGH_ENABLE, TABLE_HIGH}, std::pair{TABLE_LOW_ENABLE, TABLE_LOW}}) {
        SetCtrlVal(idTable, sw, 0);
        rt::FireCtrlEvent(idTable, sw, EVENT_COMMIT);
        EXPECT_EQ(dimmed(idTable, limit), 1);
        SetCtrlVal(idTable, sw, 1);
        rt::FireCtrlEvent(idTable, sw, EVENT_COMMIT);
        EXPECT_EQ(dimmed(idTable, limit), 0);
    }
    SetCtrlVal(idTable, TABLE_ERR_ENABLE, 0);
    rt::FireCtrlEvent(idTable, TABLE_ERR_ENABLE, EVENT_COMMIT);
    EXPECT_EQ(dimmed(idTable, TABLE_HIGH), 0);
    EXPECT_EQ(dimmed(idTable, TABLE_LOW), 0);
    EXPECT_EQ(tabHiEnable, before);   // only Go reads the switches
}

// ---------------------------------------------------------------- picture

TEST_F(Process, PictureOfTheWindowAfterProcessing) {
    start();
    retrieve(fixture("model10.txt"));
    openTable();
    press({1, 1, 1, 1, 40.0, 0.0, 2});
    EXPECT_EQ(usage(), 3);   // 45.0 and 99.9 above 40, and E00 with the error switch on
    const std::filesystem::path artifacts = TAVIX_ARTIFACT_DIR;
    std::filesystem::create_directories(artifacts);
    EXPECT_EQ(rt::SavePanelImage(idTable, (artifacts / "table-window.png").string().c_str()), 0);
}

}   // namespace
