// The main chart and its cursors, driven through their callbacks on the real main window
// (offscreen), checked by what the graph holds: plots with their data, colours and axes,
// the axis state and labels, the cursor read-outs and the window's time texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "CaseName.h"
#include "app/Tavix.h"
#include "display/Display.h"
#include "link/Link.h"
#include "local/Texts.h"
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

// 2026-12-01 08:00:00 as a compressed time.
cRtc firstTime() {
    cRtc t = 0;
    rtc2CRtc("12-01-2026", "08:00:00", &t);
    return t;
}

class Chart : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterLayouts();
        idMonitor = LoadPanel(0, MONITOR);
        idStatistic = LoadPanel(0, STATISTIC);
        idSetLogger = LoadPanel(0, SETLOGGER);
        scalMenuHandle = LoadMenuBar(0, SCALMENU);
        ASSERT_GT(idMonitor, 0);
        ASSERT_GT(idStatistic, 0);
        ASSERT_GT(idSetLogger, 0);
        ASSERT_GT(scalMenuHandle, 0);
        rt::SetUserAgent(&agent_);
        rt::SetPopupMenuAnswer(-1);
        resetModelState();
        resetLinkState();
        resetDisplayState();
        flagOfDataTableOn = 0;
        std::snprintf(wTemperature, WINDOW_TEXT_SIZE, "T1");
        std::snprintf(wTemperature2, WINDOW_TEXT_SIZE, "T2");
        std::snprintf(wTemperature_41670, WINDOW_TEXT_SIZE, "Inside");
        std::snprintf(wTemperature2_41670, WINDOW_TEXT_SIZE, "Outside");
        std::snprintf(wHumidity, WINDOW_TEXT_SIZE, "RH");
        std::snprintf(wTempC, WINDOW_TEXT_SIZE, "Temp C");
        std::snprintf(wTempF, WINDOW_TEXT_SIZE, "Temp F");
        std::snprintf(wDegree[0], WINDOW_TEXT_SIZE, "U");
        std::snprintf(wDegree[1], WINDOW_TEXT_SIZE, "F");
        std::snprintf(wRhUnit, WINDOW_TEXT_SIZE, "R");
        std::snprintf(msg6, MSG_TEXT_SIZE, "msg6");
        std::snprintf(msg7, MSG_TEXT_SIZE, "msg7");
        std::snprintf(msg8, MSG_TEXT_SIZE, "msg8");
        std::snprintf(warn9, MSG_TEXT_SIZE, "warn9");
        std::snprintf(warn10, MSG_TEXT_SIZE, "warn10");
    }

    void TearDown() override {
        rt::SetUserAgent(nullptr);
        rt::SetPopupMenuAnswer(-1);
        DiscardMenuBar(scalMenuHandle);
        for (int *panel : {&idMonitor, &idStatistic, &idSetLogger}) {
            DiscardPanel(*panel);
            *panel = 0;
        }
        scalMenuHandle = 0;
    }

    // A model index with n records; channel values from the functions (record index -> value),
    // one record a minute from firstTime().
    static void fill(int model, int n, double (*t1)(int), double (*t2)(int) = nullptr, double (*rh)(int) = nullptr) {
        currDeviceId = model;
        ASSERT_EQ(ValPtrInit(model), 0);
        clearLoggedData();
        loggedLength = 0;
        for (int i = 0; i < n; ++i)
            ASSERT_GT(
                storeRecord(firstTime() + 60u * static_cast<cRtc>(i), t1(i), t2 ? t2(i) : 10000, rh ? rh(i) : 10000),
                0);
    }
    static void fillValues(int model, const std::vector<double> &values) {
        currDeviceId = model;
        ASSERT_EQ(ValPtrInit(model), 0);
        clearLoggedData();
        loggedLength = 0;
        for (std::size_t i = 0; i < values.size(); ++i)
            ASSERT_GT(storeRecord(firstTime() + 60u * static_cast<cRtc>(i), values[i], 10000, 10000), 0);
    }

    // The user sets the offset or the range (the field's commit redraws the chart).
    static void setOffset(int offset) {
        SetCtrlVal(idMonitor, MONITOR_OFFSET, offset);
        rt::FireCtrlEvent(idMonitor, MONITOR_OFFSET, EVENT_COMMIT);
    }
    static void setRange(int records) {
        SetCtrlVal(idMonitor, MONITOR_RANGE, records);
        rt::FireCtrlEvent(idMonitor, MONITOR_RANGE, EVENT_COMMIT);
    }
    static void setWindow(int offset, int records) {
        SetCtrlVal(idMonitor, MONITOR_OFFSET, offset);
        setRange(records);
    }

    static std::vector<rt::PlotInfo> plots(int kind) {
        std::vector<rt::PlotInfo> out;
        for (rt::PlotInfo &p : rt::GraphPlots(idMonitor, MONITOR_GRAPH))
            if (p.kind == kind) out.push_back(std::move(p));
        return out;
    }
    static std::string text(int panel, int ctrl) {
        char buf[512] = "";
        GetCtrlVal(panel, ctrl, buf);
        return buf;
    }
    static int checked(int item) {
        int c = -1;
        GetMenuBarAttribute(scalMenuHandle, item, ATTR_CHECKED, &c);
        return c;
    }
    // Moves a cursor as the user does: the cursor is dragged, then the graph commits.
    static void moveCursor(int cursor, double x) {
        SetGraphCursor(idMonitor, MONITOR_GRAPH, cursor, x, 0);
        rt::FireCtrlEvent(idMonitor, MONITOR_GRAPH, EVENT_COMMIT);
    }
    static std::string timeOf(int record) {
        char date[11], time[9];
        cRtc2Rtc(firstTime() + 60u * static_cast<cRtc>(record), date, time);
        return std::string(date) + " " + time;
    }

    rt::ScriptedAgent agent_;
};

// ---------------------------------------------------------------- the display series

struct SeriesCase {
    const char *name;
    std::vector<double> values;   // channel 0 of a one-channel model
    std::vector<double> drawn;    // the curve's values (empty: no curve at all)
    std::vector<int> marked;      // x of the red markers
};

class ChartSeries : public Chart, public ::testing::WithParamInterface<SeriesCase> {};

TEST_P(ChartSeries, ErrorsDrawnAtTheLastValidValueWithRedMarkers) {
    const SeriesCase &c = GetParam();
    fillValues(5, c.values);
    setWindow(0, 100);

    const auto curves = plots(rt::PLOT_CURVE);
    const auto points = plots(rt::PLOT_POINT);
    const auto texts = plots(rt::PLOT_TEXT);
    if (c.drawn.empty()) {
        EXPECT_TRUE(rt::GraphPlots(idMonitor, MONITOR_GRAPH).empty()) << c.name;
        return;
    }
    ASSERT_EQ(curves.size(), 1u) << c.name;
    EXPECT_EQ(curves[0].y, c.drawn) << c.name;
    std::vector<double> xs;
    for (std::size_t k = 0; k < c.drawn.size(); ++k) xs.push_back(static_cast<double>(k));
    EXPECT_EQ(curves[0].x, xs);
    EXPECT_EQ(curves[0].color, VAL_BLACK);
    EXPECT_EQ(curves[0].axis, VAL_LEFT_YAXIS);
    EXPECT_EQ(curves[0].plotStyle, VAL_CONNECTED_POINTS);
    EXPECT_EQ(curves[0].pointStyle, VAL_SIMPLE_DOT);
    EXPECT_EQ(curves[0].lineStyle, VAL_SOLID);

    ASSERT_EQ(points.size(), c.marked.size()) << c.name;
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i].color, VAL_RED);
        EXPECT_EQ(points[i].x[0], c.marked[i]) << c.name;
        EXPECT_EQ(points[i].y[0], c.drawn[static_cast<std::size_t>(c.marked[i])]) << c.name;
    }
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "T1");
    EXPECT_EQ(texts[0].x[0], 0);
    EXPECT_EQ(texts[0].y[0], static_cast<double>(static_cast<float>(c.drawn[0])));
    EXPECT_EQ(texts[0].color, VAL_BLACK);
    EXPECT_EQ(texts[0].font, VAL_DIALOG_META_FONT);
    EXPECT_EQ(texts[0].bgColor, VAL_TRANSPARENT);
    for (std::size_t k = 0; k < c.values.size(); ++k) EXPECT_EQ(chartFlag[k], c.values[k] > 10000 ? 1 : 0) << k;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChartSeries,
    ::testing::Values(SeriesCase{"leading errors start flat at the first valid value",
                                 {E(3), E(3), E(5), 21.5, 22.0, 22.5},
                                 {21.5, 21.5, 21.5, 21.5, 22.0, 22.5},
                                 {0, 1, 2}},
                      SeriesCase{"an error in the middle takes the record before it",
                                 {20.1, 20.2, E(7), 20.4, E(0), E(1), 20.7},
                                 {20.1, 20.2, 20.2, 20.4, 20.4, 20.4, 20.7},
                                 {2, 4, 5}},
                      SeriesCase{"10000 itself is a measurement", {10000.0, 20.0}, {10000.0, 20.0}, {}},
                      SeriesCase{"a channel of errors only draws nothing", {E(1), E(2), E(3)}, {}, {}}),
    [](const auto &info) { return caseName(info.param.name); });

// ---------------------------------------------------------------- channels and windows

TEST_F(Chart, EveryChannelOfTheModelInItsColourOnItsAxis) {
    fill(
        10, 30, [](int i) { return 20.0 + i; }, [](int i) { return 5.0 - i; }, [](int i) { return 40.0 + i; });
    setWindow(0, 100);
    const auto curves = plots(rt::PLOT_CURVE);
    ASSERT_EQ(curves.size(), 3u);
    const int colors[] = {VAL_BLACK, VAL_DK_MAGENTA, VAL_BLUE};
    const int axes[] = {VAL_LEFT_YAXIS, VAL_LEFT_YAXIS, VAL_RIGHT_YAXIS};
    const double starts[] = {20.0, 5.0, 40.0};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(curves[k].color, colors[k]) << k;
        EXPECT_EQ(curves[k].axis, axes[k]) << k;
        EXPECT_EQ(curves[k].y.size(), 30u);
        EXPECT_DOUBLE_EQ(curves[k].y[0], starts[k]);
    }
    const auto texts = plots(rt::PLOT_TEXT);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "T1");
    EXPECT_EQ(texts[1].text, "T2");
    EXPECT_EQ(texts[2].text, "RH");
    EXPECT_EQ(texts[2].axis, VAL_RIGHT_YAXIS);
    EXPECT_EQ(texts[1].color, VAL_DK_MAGENTA);
}

TEST_F(Chart, Models11And14NameTheirTemperaturesApart) {
    for (int model : {11, 14}) {
        fill(
            model, 5, [](int i) { return 20.0 + i; }, [](int i) { return 5.0 + i; });
        setWindow(0, 100);
        const auto texts = plots(rt::PLOT_TEXT);
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[0].text, "Inside");
        EXPECT_EQ(texts[1].text, "Outside");
    }
}

TEST_F(Chart, TwoChannelWindowIsCutToEightThousandRecords) {
    fill(
        9, 8000, [](int i) { return i / 10.0; }, [](int i) { return -i / 10.0; });
    struct {
        int offset, gain, drawn;
    } const cases[] = {{0, 8000, 8000}, {7000, 1000, 1000}};
    for (const auto &c : cases) {
        setWindow(c.offset, 16000);
        EXPECT_EQ(chartOffset, c.offset);
        EXPECT_EQ(chartGain, c.gain);
        EXPECT_EQ(disLength(), c.drawn);
        int shown = 0;
        GetCtrlVal(idMonitor, MONITOR_RANGE, &shown);
        EXPECT_EQ(shown, 16000);   // the list keeps showing the chosen item
        const auto curves = plots(rt::PLOT_CURVE);
        ASSERT_EQ(curves.size(), 2u);
        for (const auto &curve : curves) {
            ASSERT_EQ(curve.y.size(), static_cast<std::size_t>(c.drawn));
            EXPECT_EQ(curve.x.back(), c.drawn - 1);
        }
        EXPECT_DOUBLE_EQ(curves[0].y[0], vTemPtr[c.offset]);
        EXPECT_DOUBLE_EQ(curves[1].y.back(), vTem2Ptr[c.offset + c.drawn - 1]);
        double xOffset = 0;
        GetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_XAXIS_OFFSET, &xOffset);
        EXPECT_EQ(xOffset, c.offset + 1);   // the axis shows 1-based record numbers
    }
}

TEST_F(Chart, WindowAtOrBeyondTheLastRecordDrawsNoCurve) {
    fill(5, 50, [](int i) { return 20.0 + i; });
    setWindow(50, 100);
    EXPECT_LE(disLength(), 0);
    EXPECT_TRUE(rt::GraphPlots(idMonitor, MONITOR_GRAPH).empty());
    EXPECT_TRUE(rt::GraphAxis(idMonitor, MONITOR_GRAPH, VAL_XAXIS).items.empty());
    // the window's ends stay on records that exist
    EXPECT_EQ(text(idMonitor, MONITOR_START_TIME), "[" + timeOf(49));
    EXPECT_EQ(text(idMonitor, MONITOR_END_TIME), timeOf(49) + "]");
}

TEST_F(Chart, NoRecordsNoRedraw) {
    PlotPoint(idMonitor, MONITOR_GRAPH, 1, 1, VAL_SOLID_CIRCLE, VAL_GREEN);
    updateTemperatureChart();
    EXPECT_EQ(rt::GraphPlots(idMonitor, MONITOR_GRAPH).size(), 1u);
    ClearTemperatureChart();
    EXPECT_TRUE(rt::GraphPlots(idMonitor, MONITOR_GRAPH).empty());
}

// ---------------------------------------------------------------- left axis and its menu

struct ScaleCase {
    int mode;
    float min, max;
    int axisMode;
    double lo, hi;
};

TEST_F(Chart, LeftAxisFollowsTheExtremesOfOneChannelTruncatedTowardZero) {
    fill(
        9, 10, [](int i) { return 20.0 + i; }, [](int i) { return 1.0 * i; });
    const ScaleCase cases[] = {
        {0, 18.7f, 24.2f, VAL_MANUAL, 18, 25},
        {0, -3.5f, 5.0f, VAL_MANUAL, -3, 6},
        {1, -12.9f, -0.4f, VAL_MANUAL, -12, 1},
        {255, 18.7f, 24.2f, VAL_AUTOSCALE, 0, 0},
        // a channel that never had a valid value has no span to follow
        {1, 10000.0f, -10000.0f, VAL_AUTOSCALE, 0, 0},
    };
    for (const ScaleCase &c : cases) {
        leftYScalMode = c.mode;
        lpMinVal[c.mode == 255 ? 0 : c.mode] = c.min;
        lpMaxVal[c.mode == 255 ? 0 : c.mode] = c.max;
        updateTemperatureChart();
        const rt::AxisInfo axis = rt::GraphAxis(idMonitor, MONITOR_GRAPH, VAL_LEFT_YAXIS);
        EXPECT_EQ(axis.mode, c.axisMode) << c.min << " " << c.max;
        if (c.axisMode == VAL_MANUAL) {
            EXPECT_EQ(axis.min, c.lo) << c.min;
            EXPECT_EQ(axis.max, c.hi) << c.max;
        }
    }
}

TEST_F(Chart, ScalingMenuOnlyForTwoTemperatureModelsAndItsCheckMarks) {
    fill(
        9, 10, [](int i) { return 20.0 + i; }, [](int i) { return 1.0 * i; });
    lpMinVal[0] = 18.7f;
    lpMaxVal[0] = 24.2f;
    setWindow(0, 100);

    // without the flag the right click pops nothing up
    rt::SetPopupMenuAnswer(SCALMENU_SCALE_TEMP);
    rt::FireCtrlEvent(idMonitor, MONITOR_GRAPH, EVENT_RIGHT_CLICK, 100, 200);
    EXPECT_EQ(leftYScalMode, 255);
    rt::SetPopupMenuAnswer(-1);

    fLeftYScalEnable = 1;
    rt::SetPopupMenuAnswer(SCALMENU_SCALE_TEMP);
    rt::FireCtrlEvent(idMonitor, MONITOR_GRAPH, EVENT_RIGHT_CLICK, 100, 200);
    EXPECT_EQ(leftYScalMode, 0);
    EXPECT_EQ(checked(SCALMENU_SCALE_TEMP), 1);
    EXPECT_EQ(checked(SCALMENU_SCALE_TEMP2), 0);
    EXPECT_EQ(checked(SCALMENU_SCALE_ALL), 0);
    rt::AxisInfo axis = rt::GraphAxis(idMonitor, MONITOR_GRAPH, VAL_LEFT_YAXIS);
    EXPECT_EQ(axis.mode, VAL_MANUAL);
    EXPECT_EQ(axis.min, 18);
    EXPECT_EQ(axis.max, 25);

    // the item that already carries the check mark changes nothing
    leftYScalMode = 77;
    rt::FireMenuItem(scalMenuHandle, SCALMENU_SCALE_TEMP, idMonitor);
    EXPECT_EQ(leftYScalMode, 77);
    leftYScalMode = 0;

    rt::FireMenuItem(scalMenuHandle, SCALMENU_SCALE_TEMP2, idMonitor);
    EXPECT_EQ(leftYScalMode, 1);
    EXPECT_EQ(checked(SCALMENU_SCALE_TEMP), 0);
    EXPECT_EQ(checked(SCALMENU_SCALE_TEMP2), 1);

    rt::FireMenuItem(scalMenuHandle, SCALMENU_SCALE_ALL, idMonitor);
    EXPECT_EQ(leftYScalMode, 255);
    EXPECT_EQ(checked(SCALMENU_SCALE_TEMP2), 0);
    EXPECT_EQ(checked(SCALMENU_SCALE_ALL), 1);
    axis = rt::GraphAxis(idMonitor, MONITOR_GRAPH, VAL_LEFT_YAXIS);
    EXPECT_EQ(axis.mode, VAL_AUTOSCALE);
}

// ---------------------------------------------------------------- unit and x axis

TEST_F(Chart, UnitLetterNamesTheLeftAxisAndTheStatisticsUnit) {
    struct {
        char unit;
        const char *axis;
        const char *label;
    } const cases[] = {
        {'C', "Temp C", "U"}, {'c', "Temp C", "U"}, {'F', "Temp F", "F"}, {'f', "Temp F", "F"}, {'X', "Temp.", "  "}};
    for (const auto &c : cases) {
        SetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_ACTIVE_YAXIS, VAL_RIGHT_YAXIS);
        updateUnit(c.unit);
        EXPECT_EQ(rt::GraphAxis(idMonitor, MONITOR_GRAPH, VAL_LEFT_YAXIS).name, c.axis) << c.unit;
        int active = 0;
        GetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_ACTIVE_YAXIS, &active);
        EXPECT_EQ(active, VAL_LEFT_YAXIS);
        for (int ctrl : {STATISTIC_CURSOR_X1, STATISTIC_CURSOR_X2}) {
            char label[64] = "";
            GetCtrlAttribute(idStatistic, ctrl, ATTR_LABEL_TEXT, label, sizeof label);
            EXPECT_STREQ(label, c.label) << c.unit;
        }
    }
}

struct LabelCase {
    int records, offset, range;
    std::vector<int> positions;   // the eleven label positions (1-based record numbers)
};

class ChartLabels : public Chart, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(ChartLabels, ElevenTimeLabels) {
    const LabelCase &c = GetParam();
    fill(5, c.records, [](int i) { return 20.0 + i % 7; });
    setWindow(c.offset, c.range);
    const auto items = rt::GraphAxis(idMonitor, MONITOR_GRAPH, VAL_XAXIS).items;
    ASSERT_EQ(items.size(), 11u);
    for (std::size_t i = 0; i < 11; ++i) {
        EXPECT_EQ(items[i].first, c.positions[i]) << i;
        char date[11], time[9];
        cRtc2Rtc(rtcPtr[c.positions[i] - 1], date, time);
        EXPECT_EQ(items[i].second, time) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ChartLabels,
                         ::testing::Values(
                             // 25 displayed records: step 2, then the end
                             LabelCase{25, 0, 100, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 25}},
                             LabelCase{300, 20, 100, {21, 31, 41, 51, 61, 71, 81, 91, 101, 111, 120}},
                             // fewer than ten records: ten labels at the first record
                             LabelCase{7, 0, 100, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 7}}),
                         [](const auto &info) {
                             const LabelCase &c = info.param;
                             return "records" + std::to_string(c.records) + "_offset" + std::to_string(c.offset) +
                                    "_range" + std::to_string(c.range);
                         });

TEST_F(Chart, XAxisSwitchChoosesTimeLabelsOrRecordNumbers) {
    for (int on : {1, 0}) {
        SetCtrlVal(idMonitor, MONITOR_XAXIS_SWITCH, on);
        rt::FireCtrlEvent(idMonitor, MONITOR_XAXIS_SWITCH, EVENT_COMMIT);
        int labels = -1;
        GetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_XUSE_LABEL_STRINGS, &labels);
        EXPECT_EQ(labels, on);
    }
}

// ---------------------------------------------------------------- focus texts

TEST_F(Chart, FocusTextsOfTheDisplayControls) {
    struct {
        int ctrl;
        const char *focusText;
        int focusColor;   // text colour of the control while focused
    } const cases[] = {
        {MONITOR_OFFSET, "msg7", VAL_RED}, {MONITOR_RANGE, "msg8", VAL_BLACK}, {MONITOR_GRAPH, "msg6", -1}};
    for (const auto &c : cases) {
        // the status line's last message has been read: the hint shows at once
        statusAge = STATUS_HOLD_TICKS;
        rt::FireCtrlEvent(idMonitor, c.ctrl, EVENT_GOT_FOCUS);
        EXPECT_EQ(text(idMonitor, MONITOR_MESSAGE), c.focusText);
        if (c.focusColor >= 0) {
            int color = -1;
            GetCtrlAttribute(idMonitor, c.ctrl, ATTR_TEXT_COLOR, &color);
            EXPECT_EQ(color, c.focusColor) << c.focusText;
        }
        rt::FireCtrlEvent(idMonitor, c.ctrl, EVENT_LOST_FOCUS);
        EXPECT_EQ(text(idMonitor, MONITOR_MESSAGE), "");
        if (c.focusColor >= 0) {
            int color = -1;
            GetCtrlAttribute(idMonitor, c.ctrl, ATTR_TEXT_COLOR, &color);
            EXPECT_EQ(color, VAL_BLACK) << c.focusText;
        }
    }
}

// ---------------------------------------------------------------- cursors

TEST_F(Chart, CursorsSnapToPointsAndShowTheirRecords) {
    fill(
        19, 300, [](int i) { return 20.0 + i / 10.0; }, nullptr, [](int i) { return 40.0 + i / 10.0; });
    setWindow(100, 100);
    int mode = -1;
    GetCursorAttribute(idMonitor, MONITOR_GRAPH, 1, ATTR_CURSOR_MODE, &mode);
    EXPECT_EQ(mode, VAL_SNAP_TO_POINT);

    moveCursor(1, 11.4);   // snaps to the point at 11
    double x = 0;
    GetGraphCursor(idMonitor, MONITOR_GRAPH, 1, &x, nullptr);
    EXPECT_EQ(x, 11);
    EXPECT_EQ(cursor1X, 111);
    EXPECT_EQ(text(idMonitor, MONITOR_CURSOR1_TEXT), "No.  112 T= 31.1U  RH= 51.1R  " + timeOf(111));
    // a cursor dragged past the curve's end stands on its last point
    moveCursor(2, 500);
    EXPECT_EQ(cursor2X, 199);
    EXPECT_EQ(text(idMonitor, MONITOR_CURSOR2_TEXT), "No.  200 T= 39.9U  RH= 59.9R  " + timeOf(199));

    EXPECT_EQ(text(idMonitor, MONITOR_START_TIME), "[" + timeOf(100));
    EXPECT_EQ(text(idMonitor, MONITOR_END_TIME), timeOf(199) + "]");
}

TEST_F(Chart, WindowOfAllRecordsEndsWithTheLastRecordsTime) {
    fill(5, 100, [](int i) { return 20.0 + i / 10.0; });
    setWindow(0, 100);
    EXPECT_EQ(text(idMonitor, MONITOR_START_TIME), "[" + timeOf(0));
    EXPECT_EQ(text(idMonitor, MONITOR_END_TIME), timeOf(99) + "]");
}

TEST_F(Chart, CursorBeyondTheDataHasAnEmptyReadOutButKeepsItsIndex) {
    fill(5, 120, [](int i) { return 20.0 + i / 10.0; });
    setWindow(0, 100);
    ASSERT_NE(text(idMonitor, MONITOR_CURSOR2_TEXT), "");
    // the window starts beyond the last record: no curve, the cursors stand where they are
    setOffset(200);
    moveCursor(2, 10);
    EXPECT_EQ(cursor2X, 210);
    EXPECT_EQ(text(idMonitor, MONITOR_CURSOR2_TEXT), "");
    // one standing left of the first record never names a record before the store
    setOffset(0);
    fill(5, 120, [](int) { return E(4); });
    setOffset(1);
    moveCursor(1, -7.5);
    EXPECT_EQ(cursor1X, 0);
    EXPECT_EQ(text(idMonitor, MONITOR_CURSOR1_TEXT), "No.    1 T=E04  " + timeOf(0));
}

TEST_F(Chart, CursorJustBelowAnIntegerSelectsThatRecord) {
    // a channel of errors only draws no curve, so nothing moves the cursor off its position
    fill(5, 600, [](int i) { return E(i % 3 + 1); });
    setWindow(500, 100);
    ASSERT_TRUE(plots(rt::PLOT_CURVE).empty());
    SetCursorAttribute(idMonitor, MONITOR_GRAPH, 1, ATTR_CURSOR_MODE, VAL_FREE_FORM);
    SetGraphCursor(idMonitor, MONITOR_GRAPH, 1, 3 - 0.0003, 0);
    rt::FireCtrlEvent(idMonitor, MONITOR_GRAPH, EVENT_COMMIT);
    EXPECT_EQ(cursor1X, 503);
    EXPECT_EQ(text(idMonitor, MONITOR_CURSOR1_TEXT), "No.  504 T=E03  " + timeOf(503));
}

TEST_F(Chart, FahrenheitReadOutUsesTheSecondUnitTextForEveryTemperature) {
    fill(
        10, 20, [](int i) { return 70.0 + i; }, [](int) { return E(5); }, [](int i) { return 40.0 + i; });
    eUnit = 'f';
    setWindow(0, 100);
    moveCursor(1, 2);
    EXPECT_EQ(text(idMonitor, MONITOR_CURSOR1_TEXT), "No.    3 T1= 72.0F  T2=E05  RH= 42.0R  " + timeOf(2));
}

// ---------------------------------------------------------------- read-out builders

TEST_F(Chart, ReadOutOfEachChannelSet) {
    struct {
        int model, set;
        const char *expected;   // before " <date> <time>"
    } const cases[] = {
        {5, 0, "No.   12 T= 23.5U "},
        {19, 1, "No.   12 T= 23.5U  RH= 45.0R "},
        {9, 2, "No.   12 T1= 23.5U  T2= -7.2U "},
        {10, 3, "No.   12 T1= 23.5U  T2= -7.2U  RH= 45.0R "},
    };
    for (const auto &c : cases) {
        fill(
            c.model, 12, [](int) { return 23.5; }, [](int) { return -7.25; }, [](int) { return 45.0; });
        std::snprintf(rtcDate, sizeof rtcDate, "12-01-2026");
        std::snprintf(rtcTime, sizeof rtcTime, "08:11:00");
        char out[256];
        const int n = BuildCursorValstr(out, c.set, 11);
        EXPECT_EQ(std::string(out), std::string(c.expected) + " 12-01-2026 08:11:00") << c.set;
        EXPECT_EQ(n, static_cast<int>(std::string(out).size()));
    }
    // the error value of the example: E05 follows T= directly
    fill(
        19, 12, [](int) { return E(5); }, nullptr, [](int) { return 45.0; });
    char out[256];
    BuildCursorValstr(out, 1, 11);
    EXPECT_EQ(std::string(out), "No.   12 T=E05  RH= 45.0R  12-01-2026 08:11:00");
    // a record that is not held gives the empty text, whatever the buffer held
    BuildCursorValstr(out, 1, 12);
    EXPECT_STREQ(out, "");
    // a small buffer is cut, never overrun
    char small[10];
    std::snprintf(small, sizeof small, "xxxxxxxx");
    BuildCursorValstr(small, 1, 11);
    EXPECT_STREQ(small, "No.   12 ");
}

TEST(BuildValStr, OneValueField) {
    struct {
        double value;
        const char *unit;
        const char *expected;
    } const cases[] = {
        // (the last: a code beyond an int shows the digits the table shows)
        {23.5, "U", " 23.5U "},      {-3.25, "U", " -3.2U "},
        {123.45, "%", "123.5% "},    {-123.4, "", "-123.4 "},
        {10000.0, "U", "10000.0U "}, {E(0), "U", "E00 "},
        {E(5), "U", "E05 "},         {E(123), "U", "E123 "},
        {0.04, nullptr, "  0.0 "},   {10000.0 + 3e9, "U", "E3000000000 "},
    };
    for (const auto &c : cases) {
        char out[64];
        const int n = BuildValStr(out, c.value, c.unit);
        EXPECT_STREQ(out, c.expected) << c.value;
        EXPECT_EQ(n, static_cast<int>(std::string(c.expected).size()));
    }
    char small[4];
    BuildValStr(small, 23.5, "U");
    EXPECT_STREQ(small, " 23");
    BuildValStr(small, E(12345), "U");
    EXPECT_STREQ(small, "E12");
    char wide[64];
    BuildValStr(wide, 1e300, "U");   // a huge error code is not wrapped into a negative number
    EXPECT_EQ(wide[0], 'E');
    EXPECT_EQ(std::string(wide).find('-'), std::string::npos);
}

// ---------------------------------------------------------------- discarding the records

TEST_F(Chart, TitleClickDiscardsTheRecordsOnlyAfterYes) {
    fill(5, 50, [](int i) { return 20.0 + i; });
    setWindow(0, 100);
    SetCtrlVal(idMonitor, MONITOR_ID, "ID=LOG-1");
    SetCtrlVal(idMonitor, MONITOR_INFO, "50 records");
    const std::string readOut = text(idMonitor, MONITOR_CURSOR1_TEXT);
    ASSERT_NE(readOut, "");
    gFlag = 0xFF & ~GFLAG_NOT_SAVED;   // saved records: the usual question

    agent_.confirmAnswers = {false};
    tTitle1CallBack(idMonitor, MONITOR_GRAPH, EVENT_LEFT_CLICK, nullptr, 5, 5);
    ASSERT_EQ(agent_.count("confirm"), 1);
    EXPECT_EQ(agent_.shown[0].title, "warn9");
    EXPECT_EQ(agent_.shown[0].text, "warn10");
    EXPECT_EQ(loggedLength, 50);
    EXPECT_EQ(gFlag, 0xFF & ~GFLAG_NOT_SAVED);
    EXPECT_FALSE(rt::GraphPlots(idMonitor, MONITOR_GRAPH).empty());
    EXPECT_EQ(text(idMonitor, MONITOR_ID), "ID=LOG-1");

    agent_.confirmAnswers = {true};
    tTitle1CallBack(idMonitor, MONITOR_GRAPH, EVENT_LEFT_CLICK, nullptr, 5, 5);
    EXPECT_EQ(agent_.count("confirm"), 2);
    EXPECT_EQ(loggedLength, 0);
    EXPECT_EQ(gFlag, 0x08 | 0x10 | 0x80);   // the other bits stay
    EXPECT_TRUE(rt::GraphPlots(idMonitor, MONITOR_GRAPH).empty());
    EXPECT_EQ(text(idMonitor, MONITOR_ID), "ID=");
    EXPECT_EQ(text(idMonitor, MONITOR_INFO), "");
    EXPECT_EQ(flagOfDataTableOn, 1);
    int dimmed = 0;
    GetCtrlAttribute(idMonitor, MONITOR_MENU4, ATTR_DIMMED, &dimmed);
    EXPECT_EQ(dimmed, 1);
    // the read-outs keep their last text
    EXPECT_EQ(text(idMonitor, MONITOR_CURSOR1_TEXT), readOut);

    // with no records there is nothing to confirm
    gFlag = GFLAG_ID_KNOWN;
    tTitle1CallBack(idMonitor, MONITOR_GRAPH, EVENT_LEFT_CLICK, nullptr, 5, 5);
    EXPECT_EQ(agent_.count("confirm"), 2);
    EXPECT_EQ(gFlag, 0);
}

}   // namespace
