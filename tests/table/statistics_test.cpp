// The statistics window driven through its callbacks on the real windows (offscreen): the
// statistics command, the channel list, the interval counts, the histogram cursors and the
// close button, checked by what the window shows: read-outs, histogram bars and axes, the
// channel list and the title. The texts come from the shipped English language file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "CaseName.h"
#include "app/Tavix.h"
#include "display/Display.h"
#include "files/DataFile.h"
#include "local/Local.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/agent.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"
#include "table/Table.h"

namespace {

constexpr double E(int code) { return 10000 + code + 0.00001; }   // a stored sensor error
constexpr double kAbsent = 10000;                                 // a channel the model lacks

// Model indexes by channel layout: one temperature; temperature and humidity; two
// temperatures; all three.
constexpr int kOneChannel = 7;
constexpr int kWithHumidity = 19;
constexpr int kTwoTemperatures = 9;
constexpr int kThreeChannels = 10;

struct Section {
    int max, min, mean, stdDev, num, intervals, histogram, cursorX, cursorY, mkt;
};
constexpr Section kWhole = {STATISTIC_MAX1,      STATISTIC_MIN1,       STATISTIC_MEAN1,      STATISTIC_STDDEV1,
                            STATISTIC_NUM1,      STATISTIC_INTERVALS1, STATISTIC_HISTOGRAM1, STATISTIC_CURSOR_X1,
                            STATISTIC_CURSOR_Y1, STATISTIC_MKT1};
constexpr Section kBetween = {STATISTIC_MAX2,      STATISTIC_MIN2,       STATISTIC_MEAN2,      STATISTIC_STDDEV2,
                              STATISTIC_NUM2,      STATISTIC_INTERVALS2, STATISTIC_HISTOGRAM2, STATISTIC_CURSOR_X2,
                              STATISTIC_CURSOR_Y2, STATISTIC_MKT2};

class Statistics : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterLayouts();
        idMonitor = LoadPanel(0, MONITOR);
        idStatistic = LoadPanel(0, STATISTIC);
        ASSERT_GT(idMonitor, 0);
        ASSERT_GT(idStatistic, 0);
        rt::SetUserAgent(&agent_);
        resetModelState();
        resetDisplayState();
        resetFilesState();
        resetStatisticsState();
        std::snprintf(languagePath, sizeof languagePath, "%s/resources/English.ini", TAVIX_SOURCE_DIR);
        std::snprintf(wStatistic, WINDOW_TEXT_SIZE, "Statistics");
        std::snprintf(wTemperature, WINDOW_TEXT_SIZE, "T1");
        std::snprintf(wTemperature2, WINDOW_TEXT_SIZE, "T2");
        std::snprintf(wTemperature_41670, WINDOW_TEXT_SIZE, "Inside");
        std::snprintf(wTemperature2_41670, WINDOW_TEXT_SIZE, "Outside");
        std::snprintf(wHumidity, WINDOW_TEXT_SIZE, "RH");
        std::snprintf(wDegree[0], WINDOW_TEXT_SIZE, "degC");
        std::snprintf(wDegree[1], WINDOW_TEXT_SIZE, "degF");
    }

    void TearDown() override {
        EXPECT_EQ(agent_.count("message"), 0) << "no language-file error";
        rt::SetUserAgent(nullptr);
        for (int *panel : {&idMonitor, &idStatistic}) {
            DiscardPanel(*panel);
            *panel = 0;
        }
    }

    // A model with one record a minute; channel values in line order of the layout (absent
    // channels take kAbsent).
    static void fill(int model, int n, double (*t1)(int), double (*t2)(int) = nullptr, double (*rh)(int) = nullptr,
                     char unit = 'C') {
        currDeviceId = model;
        eUnit = unit;
        ASSERT_EQ(ValPtrInit(model), 0);
        clearLoggedData();
        loggedLength = 0;
        for (int i = 0; i < n; ++i)
            ASSERT_GT(
                storeRecord(1000000u + 60u * static_cast<cRtc>(i), t1(i), t2 ? t2(i) : kAbsent, rh ? rh(i) : kAbsent),
                0);
    }
    static void fillValues(const std::vector<double> &values, char unit = 'C') {
        currDeviceId = kOneChannel;
        eUnit = unit;
        ASSERT_EQ(ValPtrInit(kOneChannel), 0);
        clearLoggedData();
        loggedLength = 0;
        for (std::size_t i = 0; i < values.size(); ++i)
            ASSERT_GT(storeRecord(1000000u + 60u * static_cast<cRtc>(i), values[i], kAbsent, kAbsent), 0);
    }

    // The user presses the main window's statistics command.
    static void open() { rt::FireCtrlEvent(idMonitor, MONITOR_MENU5, EVENT_COMMIT); }
    // The user picks a channel in the list.
    static void chooseChannel(int channel) {
        SetCtrlVal(idStatistic, STATISTIC_CHANNEL, channel);
        rt::FireCtrlEvent(idStatistic, STATISTIC_CHANNEL, EVENT_VAL_CHANGED);
    }

    static double real(int ctrl) {
        double v = -1;
        GetCtrlVal(idStatistic, ctrl, &v);
        return v;
    }
    static int integer(int ctrl) {
        int v = -1;
        GetCtrlVal(idStatistic, ctrl, &v);
        return v;
    }
    static std::string text(int ctrl) {
        char buf[256] = "";
        GetCtrlVal(idStatistic, ctrl, buf);
        return buf;
    }
    static std::string label(int ctrl) {
        char buf[256] = "";
        GetCtrlAttribute(idStatistic, ctrl, ATTR_LABEL_TEXT, buf, sizeof buf);
        return buf;
    }
    static std::vector<rt::PlotInfo> bars(const Section &s) { return rt::GraphPlots(idStatistic, s.histogram); }

    // A cleared section: zeros, no histogram, no mean kinetic temperature.
    static void expectCleared(const Section &s, const std::string &where) {
        for (const int field : {s.max, s.min, s.mean, s.stdDev, s.cursorX}) EXPECT_EQ(real(field), 0.0) << where;
        EXPECT_EQ(integer(s.num), 0) << where;
        EXPECT_EQ(integer(s.cursorY), 0) << where;
        EXPECT_EQ(text(s.mkt), "") << where;
        EXPECT_TRUE(bars(s).empty()) << where;
    }

    rt::ScriptedAgent agent_;
};

double recordIndex(int i) { return i; }

// ---------------------------------------------------------------- values left out

TEST_F(Statistics, AllErrorValuesGiveZerosAndAnEmptyHistogram) {
    fill(kOneChannel, 40, [](int i) { return E(i % 4); });
    cursor2X = 30;
    open();
    ASSERT_TRUE(rt::PanelVisible(idStatistic));
    expectCleared(kWhole, "section 1");
    expectCleared(kBetween, "section 2");
}

TEST_F(Statistics, ErrorValuesAndExactly10000AreLeftOut) {
    std::vector<double> values;
    for (int i = 0; i < 12; ++i) values.push_back(20.0 + i);   // 20 .. 31
    values[3] = 10000.0;                                       // a measurement the chart draws
    values[7] = E(5);
    fillValues(values);
    open();
    EXPECT_EQ(integer(kWhole.num), 10);
    EXPECT_EQ(real(kWhole.max), 31.0);
    EXPECT_EQ(real(kWhole.min), 20.0);
    EXPECT_NEAR(real(kWhole.mean), (20 + 21 + 22 + 24 + 25 + 26 + 28 + 29 + 30 + 31) / 10.0, 1e-12);
}

// ---------------------------------------------------------------- section 2: between the cursors

struct CursorCase {
    const char *name;
    int cursor1, cursor2;
    int n;          // values in section 2 (0: cleared)
    int min, max;   // the record indexes are the values
};

const CursorCase kCursorCases[] = {
    {"cursors on 10 and 30", 10, 30, 20, 10, 29},
    {"cursors swapped", 30, 10, 20, 10, 29},
    {"ten values", 10, 20, 10, 10, 19},
    {"nine values clear the section", 10, 19, 0, 0, 0},
    {"both cursors on one record", 10, 10, 0, 0, 0},
    // beyond the records held the store holds no record: section 2 ends with the last one
    {"a cursor beyond the records", 30, 100, 10, 30, 39},
    {"both cursors beyond the records", 100, 50, 0, 0, 0},
};

class Cursors : public Statistics, public ::testing::WithParamInterface<CursorCase> {};

TEST_P(Cursors, Section2TakesTheRecordsFromTheSmallerCursorUpToTheLarger) {
    const CursorCase &c = GetParam();
    fill(kOneChannel, 40, recordIndex);
    // what lies in the store past the records held must never be read
    for (int i = 40; i < 200; ++i) vTemPtr[i] = 5000.0;
    cursor1X = c.cursor1;
    cursor2X = c.cursor2;
    open();

    EXPECT_EQ(integer(kWhole.num), 40);   // section 1: every record
    EXPECT_EQ(real(kWhole.max), 39.0);
    if (c.n == 0) {
        expectCleared(kBetween, c.name);
        return;
    }
    EXPECT_EQ(integer(kBetween.num), c.n);
    EXPECT_EQ(real(kBetween.min), c.min);
    EXPECT_EQ(real(kBetween.max), c.max);
    EXPECT_NEAR(real(kBetween.mean), (c.min + c.max) / 2.0, 1e-12);
    // the sample deviation of n consecutive integers: sqrt(n (n + 1) / 12)
    EXPECT_NEAR(real(kBetween.stdDev), std::sqrt(c.n * (c.n + 1) / 12.0), 1e-12);
    const std::vector<rt::PlotInfo> plots = bars(kBetween);
    ASSERT_EQ(plots.size(), 1u);
    int counted = 0;
    for (const double y : plots[0].y) counted += static_cast<int>(y);
    EXPECT_EQ(counted, c.n);
}

INSTANTIATE_TEST_SUITE_P(Statistics, Cursors, ::testing::ValuesIn(kCursorCases),
                         [](const auto &info) { return caseName(info.param.name); });

// ---------------------------------------------------------------- the histogram

TEST_F(Statistics, HistogramOfValues20To25InTenIntervals) {
    std::vector<double> values;
    for (int i = 0; i <= 10; ++i) values.push_back(20.0 + 0.5 * i);
    fillValues(values);
    SetCtrlVal(idStatistic, STATISTIC_INTERVALS1, 10);
    open();

    const std::vector<rt::PlotInfo> plots = bars(kWhole);
    ASSERT_EQ(plots.size(), 1u);
    EXPECT_EQ(plots[0].kind, rt::PLOT_BARS);
    EXPECT_EQ(plots[0].color, 0xFF0000);
    // ten intervals of 0.7 from 19 to 26, named by their centres; 22.5 lies on a border
    const std::vector<double> counts = {0, 1, 2, 1, 1, 2, 1, 2, 1, 0};
    EXPECT_EQ(plots[0].y, counts);
    ASSERT_EQ(plots[0].x.size(), 10u);
    EXPECT_NEAR(plots[0].x[0], 19.35, 1e-9);
    EXPECT_NEAR(plots[0].x[9], 25.65, 1e-9);

    const rt::AxisInfo x = rt::GraphAxis(idStatistic, kWhole.histogram, VAL_XAXIS);
    EXPECT_EQ(x.mode, VAL_MANUAL);
    EXPECT_DOUBLE_EQ(x.min, 19.0);
    EXPECT_DOUBLE_EQ(x.max, 26.0);
    const rt::AxisInfo y = rt::GraphAxis(idStatistic, kWhole.histogram, VAL_LEFT_YAXIS);
    EXPECT_EQ(y.mode, VAL_MANUAL);
    EXPECT_DOUBLE_EQ(y.min, 0.0);
    EXPECT_DOUBLE_EQ(y.max, 3.0);   // the largest count + 1
    EXPECT_EQ(histogramSection[0].largestCount, 2);
    EXPECT_EQ(histogramSection[0].intervals, 10);

    // the user drags the histogram's cursor near 22: it stands on the bar at 22.15
    SetGraphCursor(idStatistic, kWhole.histogram, 1, 22.0, 0.0);
    rt::FireCtrlEvent(idStatistic, kWhole.histogram, EVENT_COMMIT);
    EXPECT_NEAR(real(kWhole.cursorX), 22.15, 1e-9);
    EXPECT_EQ(integer(kWhole.cursorY), 1);
    SetGraphCursor(idStatistic, kWhole.histogram, 1, 23.0, 0.0);
    rt::FireCtrlEvent(idStatistic, kWhole.histogram, EVENT_COMMIT);
    EXPECT_NEAR(real(kWhole.cursorX), 22.85, 1e-9);
    EXPECT_EQ(integer(kWhole.cursorY), 2);
}

TEST_F(Statistics, AnIntervalCountRecomputesItsOwnSection) {
    fill(kOneChannel, 40, recordIndex);
    cursor1X = 0;
    cursor2X = 40;
    open();
    const std::size_t before = bars(kBetween)[0].x.size();
    SetCtrlVal(idStatistic, STATISTIC_INTERVALS1, 5);
    rt::FireCtrlEvent(idStatistic, STATISTIC_INTERVALS1, EVENT_VAL_CHANGED);
    EXPECT_EQ(bars(kWhole)[0].x.size(), 5u);
    EXPECT_EQ(bars(kBetween)[0].x.size(), before);
    SetCtrlVal(idStatistic, STATISTIC_INTERVALS2, 132);
    rt::FireCtrlEvent(idStatistic, STATISTIC_INTERVALS2, EVENT_VAL_CHANGED);
    EXPECT_EQ(bars(kBetween)[0].x.size(), 132u);
    EXPECT_EQ(bars(kWhole)[0].x.size(), 5u);
}

TEST_F(Statistics, FewerThanTenValuesClearASectionShownBefore) {
    fill(kOneChannel, 40, recordIndex);
    cursor1X = 0;
    cursor2X = 40;
    open();
    ASSERT_EQ(bars(kWhole).size(), 1u);
    ASSERT_NE(text(kWhole.mkt), "");
    fill(kOneChannel, 9, recordIndex);
    open();
    expectCleared(kWhole, "section 1");
    expectCleared(kBetween, "section 2");
}

// ---------------------------------------------------------------- channels and texts

struct RingCase {
    const char *name;
    int model;
    std::vector<std::string> labels;
    std::vector<int> channels;
};

const RingCase kRings[] = {
    {"one temperature", kOneChannel, {"T1"}, {0}},
    {"temperature and humidity", kWithHumidity, {"T1", "RH"}, {0, 2}},
    {"two temperatures", kTwoTemperatures, {"T1", "T2"}, {0, 1}},
    {"all three", kThreeChannels, {"T1", "T2", "RH"}, {0, 1, 2}},
    {"model 11", 11, {"Inside", "Outside"}, {0, 1}},
    {"model 14", 14, {"Inside", "Outside"}, {0, 1}},
};

class Rings : public Statistics, public ::testing::WithParamInterface<RingCase> {};

TEST_P(Rings, TheChannelListFollowsTheModel) {
    const RingCase &c = GetParam();
    fill(c.model, 20, recordIndex, recordIndex, recordIndex);
    InsertListItem(idStatistic, STATISTIC_CHANNEL, -1, "left over", 7);
    SetCtrlVal(idStatistic, STATISTIC_CHANNEL, 7);
    open();
    int count = 0;
    GetNumListItems(idStatistic, STATISTIC_CHANNEL, &count);
    ASSERT_EQ(count, static_cast<int>(c.labels.size()));
    for (int i = 0; i < count; ++i) {
        char label[64] = "";
        int value = -1;
        GetLabelFromIndex(idStatistic, STATISTIC_CHANNEL, i, label, sizeof label);
        GetValueFromIndex(idStatistic, STATISTIC_CHANNEL, i, &value);
        EXPECT_EQ(label, c.labels[i]);
        EXPECT_EQ(value, c.channels[i]);
    }
    EXPECT_EQ(integer(STATISTIC_CHANNEL), 0);   // the first item is shown
}

INSTANTIATE_TEST_SUITE_P(Statistics, Rings, ::testing::ValuesIn(kRings),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(Statistics, EachChannelHasItsValuesLabelsAndUnit) {
    fill(
        kThreeChannels, 30, [](int i) { return 20.0 + i % 10; }, [](int i) { return 5.0 + i % 3; },
        [](int i) { return 40.0 + i; });
    open();
    EXPECT_EQ(label(STATISTIC_HISTOGRAM1), "Temperature histogram");   // the English file's texts
    EXPECT_EQ(label(STATISTIC_CURSOR_X1), "degC");
    EXPECT_EQ(real(kWhole.max), 29.0);

    chooseChannel(2);
    EXPECT_EQ(real(kWhole.max), 69.0);
    EXPECT_EQ(real(kWhole.min), 40.0);
    EXPECT_EQ(text(kWhole.mkt), "");   // humidity has no kinetic temperature
    for (const int ctrl : {STATISTIC_HISTOGRAM1, STATISTIC_HISTOGRAM2}) EXPECT_EQ(label(ctrl), "Humidity histogram");
    for (const int ctrl : {STATISTIC_CURSOR_X1, STATISTIC_CURSOR_X2}) EXPECT_EQ(label(ctrl), "%");

    chooseChannel(1);
    EXPECT_EQ(real(kWhole.max), 7.0);
    EXPECT_EQ(label(STATISTIC_HISTOGRAM2), "Ext. temperature histogram");
    EXPECT_EQ(label(STATISTIC_CURSOR_X2), "degC");
    EXPECT_NE(text(kWhole.mkt), "");
    EXPECT_EQ(label(kWhole.mkt), "Mean kinetic temp.");
}

struct MktCase {
    const char *name;
    double low, high;   // alternating values
    char unit;
    const char *mkt;         // the read-out
    const char *unitLabel;   // of the x read-outs
};

const MktCase kMktCases[] = {
    {"constant 20 C", 20.0, 20.0, 'C', "20.00", "degC"},
    {"20 and 30 C", 20.0, 30.0, 'C', "26.26", "degC"},
    {"68 and 86 F, the same temperatures", 68.0, 86.0, 'F', "79.27", "degF"},
    {"lower-case f", 68.0, 86.0, 'f', "79.27", "degF"},
    {"a unit without a scale", 20.0, 30.0, 'X', "", "  "},
};

class MktReadOut : public Statistics, public ::testing::WithParamInterface<MktCase> {};

TEST_P(MktReadOut, ShownInTheUnitOfTheData) {
    const MktCase &c = GetParam();
    std::vector<double> values;
    for (int i = 0; i < 20; ++i) values.push_back(i % 2 ? c.high : c.low);
    fillValues(values, c.unit);
    cursor1X = 0;
    cursor2X = 20;
    open();
    EXPECT_EQ(text(kWhole.mkt), c.mkt);
    EXPECT_EQ(text(kBetween.mkt), c.mkt);
    EXPECT_EQ(label(STATISTIC_CURSOR_X1), c.unitLabel);
}

INSTANTIATE_TEST_SUITE_P(Statistics, MktReadOut, ::testing::ValuesIn(kMktCases),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(Statistics, TitleNamesTheLoggerOrTheShortenedFile) {
    fill(kOneChannel, 20, recordIndex);
    const char path[] = "/home/someone/Documents/Tavix/recordings/2026/december/freezer.txt";
    std::snprintf(fileName, sizeof fileName, "%s", path);
    char shown[FILE_NAME_SHOWN_SIZE];
    FileNamePrintOut(shown, path);
    ASSERT_LT(std::string(shown).size(), std::string(path).size());
    char title[STATISTIC_TITLE_SIZE] = "";

    open();
    GetPanelAttribute(idStatistic, ATTR_TITLE, title, sizeof title);
    EXPECT_EQ(std::string(title), std::string("Statistics: FILE= ") + shown);

    setEId("LOG-42");
    open();
    GetPanelAttribute(idStatistic, ATTR_TITLE, title, sizeof title);
    EXPECT_STREQ(title, "Statistics: ID= LOG-42");
}

TEST_F(Statistics, CloseButtonAndCloseBoxHideTheWindow) {
    fill(kOneChannel, 20, recordIndex);
    open();
    ASSERT_TRUE(rt::PanelVisible(idStatistic));
    rt::FireCtrlEvent(idStatistic, STATISTIC_EXIT, EVENT_COMMIT);
    EXPECT_FALSE(rt::PanelVisible(idStatistic));
    open();
    ASSERT_TRUE(rt::PanelVisible(idStatistic));
    rt::FirePanelEvent(idStatistic, EVENT_CLOSE);
    EXPECT_FALSE(rt::PanelVisible(idStatistic));
}

}   // namespace

// ---------------------------------------------------------------- the records a section counts

struct SpanCase {
    const char *name;
    const char *language;
    int cursor1, cursor2;
    const char *whole, *between;   // the texts beside the two sections
};

class StatisticsSpan : public Statistics, public ::testing::WithParamInterface<SpanCase> {};

// Beside each section: the numbers of its first and last record, in the window's language. The
// records between the cursors start with the first cursor's record and end before the other's.
TEST_P(StatisticsSpan, EachSectionNamesItsFirstAndLastRecord) {
    const SpanCase &c = GetParam();
    std::snprintf(languagePath, sizeof languagePath, "%s/resources/%s", TAVIX_SOURCE_DIR, c.language);
    fill(kOneChannel, 1000, [](int i) { return 20.0 + (i % 7); });
    cursor1X = c.cursor1;
    cursor2X = c.cursor2;
    open();
    EXPECT_EQ(text(STATISTIC_RECORDS1), c.whole);
    EXPECT_EQ(text(STATISTIC_RECORDS2), c.between);
}

INSTANTIATE_TEST_SUITE_P(Cases, StatisticsSpan,
                         ::testing::Values(SpanCase{"English cursors apart", "English.ini", 481, 861,
                                                    "Records 1 \u2013 1000", "Records 482 \u2013 861"},
                                           SpanCase{"German cursors swapped", "German.ini", 861, 481,
                                                    "Datens\u00e4tze 1 \u2013 1000", "Datens\u00e4tze 482 \u2013 861"},
                                           SpanCase{"both cursors on one record", "English.ini", 300, 300,
                                                    "Records 1 \u2013 1000", "Records \u2013"},
                                           SpanCase{"a cursor beyond the records", "English.ini", 900, 1500,
                                                    "Records 1 \u2013 1000", "Records 901 \u2013 1000"}),
                         [](const auto &info) { return caseName(info.param.name); });
