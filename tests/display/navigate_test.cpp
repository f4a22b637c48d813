// Moving about the main chart as a user does, on the running program's real main window
// (offscreen): the toolkit's own wheel, mouse and key events go to the chart and the window,
// and the result is read back as the user sees it: the offset field and the range list, the
// window's first and last times, the cursor read-outs, the legend.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "LinkFixture.h"
#include "link/Link.h"
#include "display/Display.h"
#include "model/Clock.h"

namespace {

// One temperature channel, a thousand records a minute apart.
constexpr int kModel = 5;
constexpr int kRecords = 1000;
// Three channels: two temperatures and humidity.
constexpr int kThreeChannelModel = 10;

class Navigate : public LinkProgram {
protected:
    void SetUp() override {
        LinkProgram::SetUp();
        startProgram();
        plot_ = qobject_cast<QCustomPlot *>(rt::CtrlWidget(idMonitor, MONITOR_GRAPH));
        ASSERT_NE(plot_, nullptr);
        QWidget *window = plot_->window();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        load(kModel, kRecords);
    }

    // Records as a retrieved file brings them: a new model, then the chart is drawn.
    static void load(int model, int records, double second = 15.0, double humidity = 40.0) {
        currDeviceId = model;
        ASSERT_EQ(ValPtrInit(model), 0);
        clearLoggedData();
        loggedLength = 0;
        cRtc first = 0;
        rtc2CRtc("12-01-2026", "08:00:00", &first);
        for (int i = 0; i < records; ++i)
            ASSERT_GT(storeRecord(first + 60u * static_cast<cRtc>(i), 20.0 + (i % 50) * 0.1, second, humidity), 0);
        resetChartScaling();
        updatePanelMonitor();
        updateTemperatureChart();
    }

    // The user types an offset and chooses a range.
    void showWindow(int offset, int range) {
        SetCtrlVal(idMonitor, MONITOR_OFFSET, offset);
        SetCtrlVal(idMonitor, MONITOR_RANGE, range);
        rt::FireCtrlEvent(idMonitor, MONITOR_RANGE, EVENT_COMMIT);
        drawn();
    }
    // The chart as the screen shows it now (axis ranges follow the curves at a redraw).
    void drawn() const { rt::ReplotNow(idMonitor, MONITOR_GRAPH); }

    // The pixel of a plot position, half way up the plotting area.
    QPoint at(double x) const {
        drawn();
        return {static_cast<int>(std::lround(plot_->xAxis->coordToPixel(x))), plot_->axisRect()->center().y()};
    }
    // The record (0-based) a pixel of the chart shows now.
    int recordAt(const QPoint &pixel) const {
        drawn();
        return static_cast<int>(std::lround(plot_->xAxis->pixelToCoord(pixel.x()))) + value(MONITOR_OFFSET);
    }
    void wheel(const QPoint &pixel, int angle) const {
        QWheelEvent e(pixel, plot_->mapToGlobal(pixel), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot_, &e);
    }

    static int value(int ctrl) {
        int v = -1;
        GetCtrlVal(idMonitor, ctrl, &v);
        return v;
    }
    static std::string dateTimeOf(int record) {
        char date[16], time[16];
        cRtc2Rtc(rtcPtr[record], date, time);
        return std::string(date) + " " + time;
    }
    static std::string readOutStart(int record) {
        char text[16];
        std::snprintf(text, sizeof text, "No.%5d", record + 1);
        return text;
    }
    // The texts that follow the window: its first and last times and both cursor read-outs.
    static void expectTextsFollow(int offset, int range) {
        EXPECT_EQ(ctrlText(idMonitor, MONITOR_START_TIME), "[" + dateTimeOf(offset));
        EXPECT_EQ(ctrlText(idMonitor, MONITOR_END_TIME), dateTimeOf(offset + range - 1) + "]");
        for (int cursor : {1, 2}) {
            double x = 0;
            GetGraphCursor(idMonitor, MONITOR_GRAPH, cursor, &x, nullptr);
            const int record = offset + static_cast<int>(x + 0.001);
            EXPECT_EQ((cursor == 1 ? cursor1X : cursor2X), record);
            EXPECT_EQ(ctrlText(idMonitor, cursor == 1 ? MONITOR_CURSOR1_TEXT : MONITOR_CURSOR2_TEXT)
                          .rfind(readOutStart(record), 0),
                      0u)
                << "cursor " << cursor;
        }
    }

    QCustomPlot *plot_ = nullptr;
};

// ---------------------------------------------------------------- the wheel

struct WheelCase {
    const char *name;
    int offset, range;   // the window before
    int pointer;         // plot position under the pointer
    int angle;           // the wheel's turn (120 a notch, away from the user positive)
    int offsetAfter, rangeAfter;
    bool keepsPointer;   // the record under the pointer stays there
};

class NavigateWheel : public Navigate, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(NavigateWheel, ZoomsAroundThePointer) {
    const WheelCase &c = GetParam();
    showWindow(c.offset, c.range);
    ASSERT_GT(plot_->xAxis->coordToPixel(1) - plot_->xAxis->coordToPixel(0), 1.0) << "a record spans pixels";
    const QPoint pointer = at(c.pointer);
    const int under = recordAt(pointer);
    ASSERT_EQ(under, c.offset + c.pointer);

    wheel(pointer, c.angle);
    EXPECT_EQ(value(MONITOR_OFFSET), c.offsetAfter);
    EXPECT_EQ(value(MONITOR_RANGE), c.rangeAfter);
    EXPECT_EQ(chartOffset, c.offsetAfter);
    EXPECT_EQ(chartGain, c.rangeAfter);
    if (c.keepsPointer) EXPECT_EQ(recordAt(pointer), under);
    expectTextsFollow(c.offsetAfter, c.rangeAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NavigateWheel,
    ::testing::Values(WheelCase{"a notch away shows the next shorter range", 500, 250, 125, 120, 575, 100, true},
                      WheelCase{"a notch toward shows the next longer range", 500, 250, 100, -120, 400, 500, true},
                      WheelCase{"two notches move two ranges", 500, 500, 100, 240, 580, 100, true},
                      WheelCase{"the shortest range stays", 500, 100, 50, 120, 500, 100, true},
                      WheelCase{"a full window near the end stays full", 750, 250, 100, -120, 500, 500, false},
                      WheelCase{"the first record is the limit", 20, 250, 100, -120, 0, 500, false}),
    [](const auto &info) { return caseName(info.param.name); });

// Ranges longer than the records held all show them all: a notch skips them, so that every
// notch changes what is shown.
TEST_F(Navigate, EveryNotchChangesWhatIsShown) {
    load(kModel, 1440);
    showWindow(0, 8000);
    const QPoint pointer = at(700);
    const struct {
        int angle;
        int range;   // the range list afterwards
    } notches[] = {{120, 1000}, {120, 500}, {-120, 1000}, {-120, 2000}, {-120, 2000}};
    std::string shownEnd = ctrlText(idMonitor, MONITOR_END_TIME);
    bool first = true;
    for (const auto &n : notches) {
        const int rangeBefore = value(MONITOR_RANGE);
        wheel(pointer, n.angle);
        EXPECT_EQ(value(MONITOR_RANGE), n.range) << "after a notch of " << n.angle << " from " << rangeBefore;
        const std::string end = ctrlText(idMonitor, MONITOR_END_TIME);
        if (n.range != rangeBefore) EXPECT_NE(end, shownEnd) << "the notch to " << n.range << " shows other records";
        // at 1440 records a pixel spans more than one record: the pointer names one within a record
        if (first) EXPECT_NEAR(recordAt(pointer), 700, 1) << "the record under the pointer stays there";
        first = false;
        shownEnd = end;
    }
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_END_TIME), dateTimeOf(1439) + "]") << "all records are shown";
}

// Zoom and pan keep each cursor on its record while the record stays in the window; a record
// that leaves takes its cursor to the nearest record shown.
TEST_F(Navigate, ZoomAndPanKeepEachCursorOnItsRecord) {
    showWindow(400, 500);
    SetGraphCursor(idMonitor, MONITOR_GRAPH, 1, 81, 0);
    SetGraphCursor(idMonitor, MONITOR_GRAPH, 2, 400, 0);
    rt::FireCtrlEvent(idMonitor, MONITOR_GRAPH, EVENT_COMMIT);
    ASSERT_EQ(cursor1X, 481);
    ASSERT_EQ(cursor2X, 800);

    wheel(at(100), 120);   // records 450 to 699
    ASSERT_EQ(value(MONITOR_OFFSET), 450);
    EXPECT_EQ(cursor1X, 481) << "still in the window";
    EXPECT_EQ(cursor2X, 699) << "its record left at the right: the last record shown";
    expectTextsFollow(450, 250);

    QTest::mousePress(plot_, Qt::MiddleButton, Qt::NoModifier, at(70));   // records 500 to 749
    QTest::mouseMove(plot_, at(20));
    QTest::mouseRelease(plot_, Qt::MiddleButton, Qt::NoModifier, at(20));
    ASSERT_EQ(value(MONITOR_OFFSET), 500);
    EXPECT_EQ(cursor1X, 500) << "its record left at the left: the first record shown";
    EXPECT_EQ(cursor2X, 699);
    expectTextsFollow(500, 250);

    wheel(at(199), -120);   // record 699 stays under the pointer
    EXPECT_EQ(cursor2X, 699);
    EXPECT_EQ(cursor1X, 500);
    expectTextsFollow(value(MONITOR_OFFSET), 500);
}

// The numbered handles of both cursors stand whole inside the plotting area, above the curves'
// labels, also on the first and the last record shown.
TEST_F(Navigate, CursorHandlesAreNeverCutOrHidden) {
    showWindow(500, 100);
    QTest::keyClick(plot_->window(), Qt::Key_Home);
    SetGraphCursor(idMonitor, MONITOR_GRAPH, 2, 99, 0);
    drawn();
    drawn();
    const QRectF area = plot_->axisRect()->rect();
    int handles = 0;
    for (int i = 0; i < plot_->itemCount(); ++i) {
        auto *tag = qobject_cast<QCPItemText *>(plot_->item(i));
        if (!tag || tag->layer() != plot_->layer("handles")) continue;
        ++handles;
        const QRectF box = QRectF(tag->topLeft->pixelPosition(), tag->bottomRight->pixelPosition()).normalized();
        EXPECT_TRUE(tag->visible()) << tag->text().toStdString();
        EXPECT_TRUE(area.adjusted(-0.5, -0.5, 0.5, 0.5).contains(box)) << "handle " << tag->text().toStdString();
    }
    EXPECT_EQ(handles, 2);
    EXPECT_GT(plot_->layer("handles")->index(), plot_->layer("labels")->index());
}

// Curve labels that would stand on each other are moved apart or, without room, left to the
// legend.
TEST_F(Navigate, CurveLabelsNeverCoverEachOther) {
    load(kThreeChannelModel, 300, 20.0, 20.0);   // every curve starts at 20
    for (const QSize size : {QSize(1200, 800), QSize(10, 10)}) {
        SetPanelAttribute(idMonitor, ATTR_WIDTH, size.width());
        SetPanelAttribute(idMonitor, ATTR_HEIGHT, size.height());
        ProcessSystemEvents();
        drawn();
        drawn();
        std::vector<QRectF> shown;
        std::vector<std::string> hidden;
        for (int i = 0; i < plot_->itemCount(); ++i) {
            auto *label = qobject_cast<QCPItemText *>(plot_->item(i));
            if (!label || label->layer() != plot_->layer("labels")) continue;
            if (!label->visible()) {
                hidden.push_back(label->text().toStdString());
                continue;
            }
            const QRectF box =
                QRectF(label->topLeft->pixelPosition(), label->bottomRight->pixelPosition()).normalized();
            for (const QRectF &other : shown) EXPECT_FALSE(box.intersects(other)) << label->text().toStdString();
            shown.push_back(box);
        }
        EXPECT_EQ(shown.size() + hidden.size(), 3u);
        const auto legend = rt::GraphLegend(idMonitor, MONITOR_GRAPH);
        for (const std::string &name : hidden)
            EXPECT_TRUE(std::any_of(legend.begin(), legend.end(), [&](const auto &e) { return e.text == name; }))
                << name << " is named by the legend";
    }
}

// The progress bar comes and goes without moving anything else of the window.
TEST_F(Navigate, TheLayoutStaysWhenTheProgressBarComesAndGoes) {
    const auto places = [] {
        ProcessSystemEvents();
        std::vector<QRect> out;
        for (int id : {MONITOR_GRAPH, MONITOR_MESSAGE, MONITOR_OFFSET, MONITOR_CURSOR1_TEXT})
            out.push_back(rt::CtrlWidget(idMonitor, id)->geometry());
        return out;
    };
    SetPanelAttribute(idMonitor, ATTR_WIDTH, 10);
    SetPanelAttribute(idMonitor, ATTR_HEIGHT, 10);
    const std::vector<QRect> before = places();
    showRecordProgress(120, 5333);
    ASSERT_TRUE(rt::CtrlWidget(idMonitor, MONITOR_PROGRESS)->isVisible());
    EXPECT_EQ(places(), before) << "the bar appears";
    hideRecordProgress();
    EXPECT_EQ(places(), before) << "the bar goes";
}

TEST_F(Navigate, TouchpadTurnsAddUpToANotch) {
    showWindow(500, 250);
    const QPoint pointer = at(125);
    wheel(pointer, 40);
    wheel(pointer, 40);
    EXPECT_EQ(value(MONITOR_RANGE), 250) << "two thirds of a notch";
    wheel(pointer, 40);
    EXPECT_EQ(value(MONITOR_RANGE), 100);
    EXPECT_EQ(value(MONITOR_OFFSET), 575);
}

// ---------------------------------------------------------------- dragging

struct DragCase {
    const char *name;
    Qt::MouseButton button;
    Qt::KeyboardModifiers modifiers;
    int offset;     // the window before (range 100)
    int from, to;   // plot positions of the press and the release
    int offsetAfter;
};

class NavigateDrag : public Navigate, public ::testing::WithParamInterface<DragCase> {};

TEST_P(NavigateDrag, PansTheWindow) {
    const DragCase &c = GetParam();
    showWindow(c.offset, 100);
    const QPoint from = at(c.from);
    const QPoint to = at(c.to);
    QTest::mousePress(plot_, c.button, c.modifiers, from);
    QTest::mouseMove(plot_, to);
    QTest::mouseRelease(plot_, c.button, c.modifiers, to);
    EXPECT_EQ(value(MONITOR_OFFSET), c.offsetAfter);
    EXPECT_EQ(chartOffset, c.offsetAfter);
    EXPECT_EQ(value(MONITOR_RANGE), 100);
    expectTextsFollow(c.offsetAfter, 100);
}

INSTANTIATE_TEST_SUITE_P(Cases, NavigateDrag,
                         ::testing::Values(DragCase{"middle drag to the left shows later records", Qt::MiddleButton,
                                                    Qt::NoModifier, 500, 70, 20, 550},
                                           DragCase{"shift left drag to the right shows earlier records",
                                                    Qt::LeftButton, Qt::ShiftModifier, 500, 20, 70, 450},
                                           DragCase{"the first record stops it", Qt::MiddleButton, Qt::NoModifier, 30,
                                                    20, 70, 0},
                                           DragCase{"the last record at the right edge stops it", Qt::MiddleButton,
                                                    Qt::NoModifier, 880, 70, 20, 900}),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(Navigate, ALeftDragWithoutShiftMovesACursorNotTheWindow) {
    showWindow(500, 100);
    SetGraphCursor(idMonitor, MONITOR_GRAPH, 1, 10, 0);
    SetGraphCursor(idMonitor, MONITOR_GRAPH, 2, 60, 0);
    const QPoint to = at(90);
    QTest::mousePress(plot_, Qt::LeftButton, Qt::NoModifier, at(80));
    QTest::mouseMove(plot_, to);
    QTest::mouseRelease(plot_, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(value(MONITOR_OFFSET), 500);
    EXPECT_EQ(cursor2X, 590) << "cursor 2 stood nearer";
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_CURSOR2_TEXT).rfind(readOutStart(590), 0), 0u);
}

// ---------------------------------------------------------------- keys and cursors

TEST_F(Navigate, HomeAndEndTakeCursorOneToTheEndsOfTheWindow) {
    showWindow(500, 250);
    QWidget *window = plot_->window();
    QTest::keyClick(window, Qt::Key_End);
    EXPECT_EQ(cursor1X, 749);
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_CURSOR1_TEXT).rfind(readOutStart(749), 0), 0u);
    QTest::keyClick(window, Qt::Key_Home);
    EXPECT_EQ(cursor1X, 500);
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_CURSOR1_TEXT).rfind(readOutStart(500), 0), 0u);
    // a window longer than the data ends at the last record held
    showWindow(900, 250);
    QTest::keyClick(window, Qt::Key_End);
    EXPECT_EQ(cursor1X, kRecords - 1);
}

TEST_F(Navigate, HomeAndEndInTheOffsetFieldEditTheField) {
    showWindow(500, 250);
    QTest::keyClick(plot_->window(), Qt::Key_End);
    ASSERT_EQ(cursor1X, 749);
    QWidget *field = rt::CtrlWidget(idMonitor, MONITOR_OFFSET);
    auto *spin = qobject_cast<QAbstractSpinBox *>(field);
    if (!spin) spin = field->findChild<QAbstractSpinBox *>();
    ASSERT_NE(spin, nullptr);
    spin->setFocus();
    auto *edit = spin->findChild<QLineEdit *>();
    ASSERT_NE(edit, nullptr);
    edit->setCursorPosition(0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    EXPECT_EQ(edit->cursorPosition(), edit->text().size());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    EXPECT_EQ(edit->cursorPosition(), 0);
    EXPECT_EQ(cursor1X, 749) << "the chart's cursor stays";
}

TEST_F(Navigate, NewRecordsPutTheCursorsApartInsideTheWindow) {
    // drawn at the first redraw of the records: a third and two thirds of the records shown
    EXPECT_EQ(cursor1X, kRecords / 3);
    EXPECT_EQ(cursor2X, 2 * kRecords / 3);
    // later redraws leave them where the user put them
    showWindow(0, 100);
    showWindow(0, 4000);
    EXPECT_EQ(cursor1X, 99) << "kept at the last point of the short window";
    // the next file places them again
    load(kModel, 90);
    EXPECT_EQ(cursor1X, 30);
    EXPECT_EQ(cursor2X, 60);
}

// ---------------------------------------------------------------- the legend

TEST_F(Navigate, TheLegendNamesEachChannelInItsColour) {
    auto legend = rt::GraphLegend(idMonitor, MONITOR_GRAPH);
    ASSERT_EQ(legend.size(), 1u);
    EXPECT_EQ(legend[0].text, wTemperature);
    EXPECT_EQ(legend[0].color, VAL_BLACK);

    load(kThreeChannelModel, 50);
    legend = rt::GraphLegend(idMonitor, MONITOR_GRAPH);
    ASSERT_EQ(legend.size(), 3u);
    const std::string names[] = {wTemperature, wTemperature2, wHumidity};
    const int colors[] = {VAL_BLACK, VAL_DK_MAGENTA, VAL_BLUE};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(legend[k].text, names[k]) << k;
        EXPECT_EQ(legend[k].color, colors[k]) << k;
    }
    // the curves' own labels stay as well
    int labels = 0;
    for (const rt::PlotInfo &p : rt::GraphPlots(idMonitor, MONITOR_GRAPH)) labels += p.kind == rt::PLOT_TEXT;
    EXPECT_EQ(labels, 3);

    // no records, no curves: no legend
    agent_.confirmAnswers.push_back(true);
    tTitle1CallBack(idMonitor, MONITOR_GRAPH, EVENT_LEFT_CLICK, nullptr, 0, 0);
    EXPECT_TRUE(rt::GraphLegend(idMonitor, MONITOR_GRAPH).empty());
}

TEST_F(Navigate, TheLegendStandsAboveThePlottingArea) {
    drawn();
    ASSERT_TRUE(plot_->legend->visible());
    EXPECT_LE(plot_->legend->outerRect().bottom(), plot_->axisRect()->outerRect().top());
    SetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_LEGEND_VISIBLE, 0);
    EXPECT_TRUE(rt::GraphLegend(idMonitor, MONITOR_GRAPH).empty());
    drawn();
    EXPECT_FALSE(plot_->legend->visible());
}

}   // namespace
