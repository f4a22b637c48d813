// The group-files window through its callbacks: loading files into slots, the curves, colours
// and labels each slot draws over the window of positions, the humidity axis, the cursor's
// read-outs, and what the window does with files it cannot use.
#include <QTest>

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>

#include "CaseName.h"
#include "FilesFixture.h"
#include "display/Display.h"
#include "files/Group.h"

namespace {

using Values = std::function<std::vector<std::string>(int record)>;

constexpr const char *kDashes = "- - - - - - - - - - - - - - - -";

// Record i (0-based) of every file here: one a minute from 2026-12-01 08:00.
cRtc recordTime(int i) { return sim::makeCRtc(2026, 12, 1, 8, 0, 0) + 60u * static_cast<cRtc>(i); }

// A data file as Save File writes it: model line, header, one line per record with the value
// words values(i) gives.
std::string dataFile(int model, char unit, int records, const Values &values) {
    std::string s = "   #" + std::to_string(model) + "\nDate: 12-10-2026\nID= G\nSample_Rate= 00:01:00\n" +
                    "Total_Records= " + std::to_string(records) + "\nUnit: " + unit + "\n";
    for (int i = 0; i < records; ++i) {
        char date[11], time[9];
        cRtc2Rtc(recordTime(i), date, time);
        char head[64];
        std::snprintf(head, sizeof head, "%5d  %10s %8s ", i + 1, date, time);
        s += head;
        for (const std::string &v : values(i)) s += " " + v + " ";
        s += "\n";
    }
    return s;
}

// Values that tell the records apart, as many as the model's channel set has: temperature
// 20 + i/10; with two values the second is 40 + i/100; with three, 5 + i/10 and then
// 40 + i/100.
Values ramp(int count) {
    return [count](int i) {
        std::vector<std::string> v = {std::to_string(20 + i / 10.0)};
        if (count == 3) v.push_back(std::to_string(5 + i / 10.0));
        if (count >= 2) v.push_back(std::to_string(40 + i / 100.0));
        return v;
    };
}

class GroupWindow : public FilesProgram {
protected:
    void SetUp() override {
        FilesProgram::SetUp();
        // the shipped preferences and texts: the window reads its texts at every opening
        for (const char *f : {"localORM.ini", "English.ini"})
            std::filesystem::copy_file(std::filesystem::path(TAVIX_BIN_DIR) / f, dir_ / f);
        start();
        std::snprintf(wTemperature, WINDOW_TEXT_SIZE, "Temp");
        std::snprintf(wTemperature2, WINDOW_TEXT_SIZE, "Temp2");
        std::snprintf(wTemperature_41670, WINDOW_TEXT_SIZE, "Probe");
        std::snprintf(wTemperature2_41670, WINDOW_TEXT_SIZE, "Probe2");
        std::snprintf(wHumidity, WINDOW_TEXT_SIZE, "Hum");
        std::snprintf(wDegree[0], WINDOW_TEXT_SIZE, "C");
        std::snprintf(wDegree[1], WINDOW_TEXT_SIZE, "F");
        std::snprintf(wRhUnit, WINDOW_TEXT_SIZE, "%%");
    }

    // The main window's group-files command.
    static void openWindow() { rt::FireCtrlEvent(idMonitor, MONITOR_MENU6, EVENT_COMMIT); }

    // A file written into the test's folder; its path.
    std::string file(const std::string &name, const std::string &text) {
        const std::string p = path(name);
        writeText(p, text);
        return p;
    }

    // Slot k's file button; the dialog answers with path ("" = cancel).
    void load(int k, const std::string &file) {
        agent_.fileAnswers.push_back(file);
        rt::FireCtrlEvent(idMonitors, MONITORS_FILE_A + k, EVENT_COMMIT);
    }

    static void setWindow(int offset, int range) {
        SetCtrlVal(idMonitors, MONITORS_OFFSET, offset);
        SetCtrlVal(idMonitors, MONITORS_RANGE, range);
        rt::FireCtrlEvent(idMonitors, MONITORS_OFFSET, EVENT_COMMIT);
    }

    // The cursor moved to position x by the user.
    static void moveCursor(double x) {
        SetGraphCursor(idMonitors, MONITORS_GRAPH, 1, x, 0);
        rt::FireCtrlEvent(idMonitors, MONITORS_GRAPH, EVENT_COMMIT);
    }

    static std::vector<rt::PlotInfo> plots(int kind) {
        std::vector<rt::PlotInfo> out;
        for (const rt::PlotInfo &p : rt::GraphPlots(idMonitors, MONITORS_GRAPH))
            if (p.kind == kind) out.push_back(p);
        return out;
    }
    // The curves of one colour, in the order they were drawn.
    static std::vector<rt::PlotInfo> curves(int color) {
        std::vector<rt::PlotInfo> out;
        for (const rt::PlotInfo &p : plots(rt::PLOT_CURVE))
            if (p.color == color) out.push_back(p);
        return out;
    }
    static std::string buttonLabel(int k) {
        char text[128] = "";
        GetCtrlAttribute(idMonitors, MONITORS_FILE_A + k, ATTR_LABEL_TEXT, text, sizeof text);
        return text;
    }
};

// ---------------------------------------------------------------- slots, curves, labels

TEST_F(GroupWindow, ATwoTemperatureFileInSlotCDrawsTwoCurvesInItsColour) {
    openWindow();
    EXPECT_TRUE(rt::PanelVisible(idMonitors));
    const std::string f = file("two.txt", dataFile(9, 'C', 50, ramp(2)));
    load(2, f);

    const int color = GROUP_DEFAULT_COLORS[2];
    const std::vector<rt::PlotInfo> c = curves(color);
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].axis, VAL_LEFT_YAXIS);
    EXPECT_EQ(c[1].axis, VAL_LEFT_YAXIS);
    ASSERT_EQ(c[0].y.size(), 50u);
    EXPECT_NEAR(c[0].y[49], 24.9, 1e-9);    // first temperature
    EXPECT_NEAR(c[1].y[49], 40.49, 1e-9);   // second temperature
    EXPECT_EQ(c[0].plotStyle, VAL_CONNECTED_POINTS);
    EXPECT_EQ(c[0].pointStyle, VAL_SIMPLE_DOT);
    EXPECT_EQ(c[0].lineStyle, VAL_SOLID);

    const std::vector<rt::PlotInfo> labels = plots(rt::PLOT_TEXT);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].text, "C:Temp");
    EXPECT_EQ(labels[1].text, "C:Temp2");
    for (const rt::PlotInfo &l : labels) {
        EXPECT_EQ(l.color, color);
        EXPECT_EQ(l.font, VAL_MENU_META_FONT);
        EXPECT_EQ(l.bgColor, VAL_TRANSPARENT);
        EXPECT_EQ(l.x[0], 0.0);
    }
    EXPECT_NEAR(labels[0].y[0], 20.0, 1e-5);
    EXPECT_NEAR(labels[1].y[0], 40.0, 1e-5);

    // the slot's button names the file, the notes say it was read, the record store is untouched
    char shown[FILE_NAME_SHOWN_SIZE];
    FileNamePrintOut(shown, f.c_str());
    EXPECT_EQ(buttonLabel(2), std::string("C  ") + shown);
    EXPECT_EQ(ctrlText(idMonitors, MONITORS_NOTES), "msg4 C ");
    EXPECT_EQ(fileName, f);
    EXPECT_EQ(groupDeviceId[2], 9);
    EXPECT_EQ(groupLength[2], 50);
    EXPECT_EQ(loggedLength, 0);
    EXPECT_EQ(agent_.count("message"), 0);
}

TEST_F(GroupWindow, ModelsElevenAndFourteenNameTheirProbes) {
    openWindow();
    load(0, file("probe.txt", dataFile(14, 'C', 5, ramp(2))));
    const std::vector<rt::PlotInfo> labels = plots(rt::PLOT_TEXT);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].text, "A:Probe");
    EXPECT_EQ(labels[1].text, "A:Probe2");
}

TEST_F(GroupWindow, AHumidityFileShowsTheRightAxisAlsoAtTheNextOpening) {
    openWindow();
    rt::AxisInfo right = rt::GraphAxis(idMonitors, MONITORS_GRAPH, VAL_RIGHT_YAXIS);
    EXPECT_EQ(right.name, "");
    EXPECT_FALSE(right.labelsVisible);

    load(1, file("rh.txt", dataFile(19, 'C', 20, ramp(2))));
    const std::vector<rt::PlotInfo> c = curves(GROUP_DEFAULT_COLORS[1]);
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[1].axis, VAL_RIGHT_YAXIS);
    EXPECT_EQ(plots(rt::PLOT_TEXT)[1].text, "B:Hum");
    right = rt::GraphAxis(idMonitors, MONITORS_GRAPH, VAL_RIGHT_YAXIS);
    EXPECT_EQ(right.name, "Humidity (%RH)");
    EXPECT_TRUE(right.labelsVisible);

    // closed by its close box (hidden), opened again: the axis stays, the chart is empty
    rt::FirePanelEvent(idMonitors, EVENT_CLOSE);
    EXPECT_FALSE(rt::PanelVisible(idMonitors));
    openWindow();
    right = rt::GraphAxis(idMonitors, MONITORS_GRAPH, VAL_RIGHT_YAXIS);
    EXPECT_EQ(right.name, "Humidity (%RH)");
    EXPECT_TRUE(right.labelsVisible);
    EXPECT_TRUE(rt::GraphPlots(idMonitors, MONITORS_GRAPH).empty());
    EXPECT_EQ(buttonLabel(1), "B File") << "the language's word, no underscores";
    EXPECT_EQ(ctrlText(idMonitors, MONITORS_CURSOR_B), "B");
}

TEST_F(GroupWindow, FilesOfAnEarlierOpeningComeBackWhenTheWindowChanges) {
    openWindow();
    load(0, file("a.txt", dataFile(6, 'C', 30, ramp(1))));
    load(3, file("d.txt", dataFile(6, 'C', 40, ramp(1))));
    openWindow();
    ASSERT_TRUE(rt::GraphPlots(idMonitors, MONITORS_GRAPH).empty());
    setWindow(0, 1000);
    EXPECT_EQ(curves(GROUP_DEFAULT_COLORS[0]).size(), 1u);
    EXPECT_EQ(curves(GROUP_DEFAULT_COLORS[3]).size(), 1u);
}

TEST_F(GroupWindow, ReloadingSlotAReplacesOnlySlotA) {
    openWindow();
    load(0, file("a1.txt", dataFile(6, 'C', 30, ramp(1))));
    load(1, file("b.txt", dataFile(10, 'C', 40, ramp(3))));
    const std::vector<rt::PlotInfo> before = curves(GROUP_DEFAULT_COLORS[1]);
    ASSERT_EQ(before.size(), 3u);

    load(0, file("a2.txt", dataFile(19, 'F', 70, ramp(2))));
    const std::vector<rt::PlotInfo> a = curves(GROUP_DEFAULT_COLORS[0]);
    ASSERT_EQ(a.size(), 2u);   // temperature and humidity now
    EXPECT_EQ(a[0].y.size(), 70u);
    const std::vector<rt::PlotInfo> b = curves(GROUP_DEFAULT_COLORS[1]);
    ASSERT_EQ(b.size(), 3u);
    for (std::size_t k = 0; k < b.size(); ++k) EXPECT_EQ(b[k].handle, before[k].handle);
    EXPECT_EQ(plots(rt::PLOT_TEXT).size(), 5u);
    EXPECT_EQ(groupUnit[0], 'F');
}

TEST_F(GroupWindow, ANewColourRedrawsItsSlotOrElseTheSlotNamedLast) {
    openWindow();
    load(0, file("a.txt", dataFile(6, 'C', 30, ramp(1))));
    load(1, file("b.txt", dataFile(6, 'C', 30, ramp(1))));

    SetCtrlVal(idMonitors, MONITORS_COLOR_A, 0x123456);
    rt::FireCtrlEvent(idMonitors, MONITORS_COLOR_A, EVENT_COMMIT);
    EXPECT_EQ(groupColors[0], 0x123456);
    EXPECT_EQ(curves(0x123456).size(), 1u);
    EXPECT_EQ(logNo, 'A');

    // an empty slot: its colour is kept for later, slot A (named last) is drawn as it was
    SetCtrlVal(idMonitors, MONITORS_COLOR_H, 0x654321);
    rt::FireCtrlEvent(idMonitors, MONITORS_COLOR_H, EVENT_COMMIT);
    EXPECT_EQ(groupColors[7], 0x654321);
    EXPECT_EQ(logNo, 'A');
    EXPECT_EQ(curves(0x123456).size(), 1u);
    EXPECT_EQ(curves(GROUP_DEFAULT_COLORS[1]).size(), 1u);
    load(7, file("h.txt", dataFile(6, 'C', 30, ramp(1))));
    EXPECT_EQ(curves(0x654321).size(), 1u);
}

TEST_F(GroupWindow, StartUpSetsTheColoursAndTheFields) {
    for (int k = 0; k < GROUP_SLOTS; ++k) {
        int color = -1;
        GetCtrlVal(idMonitors, MONITORS_COLOR_A + k, &color);
        EXPECT_EQ(color, GROUP_DEFAULT_COLORS[k]) << k;
    }
    int back = 0, text = 0;
    GetCtrlAttribute(idMonitors, MONITORS_RANGE, ATTR_TEXT_BGCOLOR, &back);
    GetCtrlAttribute(idMonitors, MONITORS_RANGE, ATTR_TEXT_COLOR, &text);
    EXPECT_EQ(back, VAL_YELLOW);
    EXPECT_EQ(text, VAL_DK_BLUE);
    EXPECT_EQ(vChartGain, 16000);
}

// ---------------------------------------------------------------- the window of positions

struct WindowCase {
    const char *name;
    int offset, range;
    std::vector<int> lengths;   // records of slots A, B, ...
    std::vector<int> drawn;     // positions each slot draws (0 = no curve)
};

class GroupPositions : public GroupWindow, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(GroupPositions, EachSlotDrawsWhatItHasInTheWindow) {
    const WindowCase &c = GetParam();
    openWindow();
    for (std::size_t k = 0; k < c.lengths.size(); ++k)
        load(static_cast<int>(k), file("s" + std::to_string(k) + ".txt", dataFile(6, 'C', c.lengths[k], ramp(1))));
    setWindow(c.offset, c.range);

    double xOffset = 0;
    GetCtrlAttribute(idMonitors, MONITORS_GRAPH, ATTR_XAXIS_OFFSET, &xOffset);
    EXPECT_EQ(xOffset, c.offset + 1.0);
    for (std::size_t k = 0; k < c.drawn.size(); ++k) {
        const std::vector<rt::PlotInfo> s = curves(GROUP_DEFAULT_COLORS[k]);
        if (c.drawn[k] == 0) {
            EXPECT_TRUE(s.empty()) << "slot " << k;
            EXPECT_EQ(groupHandlerTem[k], 0) << "slot " << k;
            continue;
        }
        ASSERT_EQ(s.size(), 1u) << "slot " << k;
        ASSERT_EQ(s[0].y.size(), static_cast<std::size_t>(c.drawn[k])) << "slot " << k;
        // the first position shown is record offset + 1
        EXPECT_NEAR(s[0].y[0], 20 + c.offset / 10.0, 1e-9) << "slot " << k;
        EXPECT_EQ(s[0].x[0], 0.0) << "slot " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, GroupPositions,
                         ::testing::Values(WindowCase{"offset 0 range 1000", 0, 1000, {400, 1500}, {400, 1000}},
                                           WindowCase{"offset 500 range 1000", 500, 1000, {400, 1500}, {0, 1000}},
                                           WindowCase{"offset at the last record", 399, 1000, {400, 1500}, {1, 1000}},
                                           WindowCase{"offset at the record count", 400, 50, {400, 1500}, {0, 50}},
                                           WindowCase{"the 16000 limit", 15500, 1000, {16000}, {500}}),
                         [](const auto &info) { return caseName(info.param.name); });

// ---------------------------------------------------------------- the read-outs

TEST_F(GroupWindow, TheReadOutsShowTheRecordUnderTheCursorOrDashes) {
    openWindow();
    load(0, file("a.txt", dataFile(19, 'F', 400, [](int i) {
                     return std::vector<std::string>{i == 10 ? "E05" : "21.5", i == 11 ? "E123" : "55.0"};
                 })));
    load(1, file("b.txt", dataFile(10, 'C', 1500, ramp(3))));
    // the first file put the cursor a third of the way into its records; the second left it there
    EXPECT_EQ(vCursorX, 400 / 3);

    char date[11], time[9];
    cRtc2Rtc(recordTime(10), date, time);
    moveCursor(10);
    EXPECT_EQ(vCursorX, 10);
    EXPECT_EQ(ctrlText(idMonitors, MONITORS_CURSOR_A), std::string("A:") + date + " " + time + "E05  55.0% ");
    cRtc2Rtc(recordTime(11), date, time);
    moveCursor(11);
    EXPECT_EQ(ctrlText(idMonitors, MONITORS_CURSOR_A), std::string("A:") + date + " " + time + " 21.5F E123 ");
    EXPECT_EQ(ctrlText(idMonitors, MONITORS_CURSOR_B), std::string("B:") + date + " " + time + " 21.1C   6.1C  40.1% ");

    // the slot's last record, then at and beyond its record count
    moveCursor(399);
    EXPECT_NE(ctrlText(idMonitors, MONITORS_CURSOR_A), kDashes);
    moveCursor(400);
    EXPECT_EQ(ctrlText(idMonitors, MONITORS_CURSOR_A), kDashes);
    EXPECT_EQ(ctrlText(idMonitors, MONITORS_CURSOR_B).substr(0, 2), "B:");
    moveCursor(1200);
    EXPECT_EQ(vCursorX, 1200);
    EXPECT_EQ(ctrlText(idMonitors, MONITORS_CURSOR_A), kDashes);

    // the cursor's position counts from the window's offset; empty slots keep their letters
    setWindow(300, 1000);
    moveCursor(99);
    EXPECT_EQ(vCursorX, 399);
    EXPECT_NE(ctrlText(idMonitors, MONITORS_CURSOR_A), kDashes);
    EXPECT_EQ(ctrlText(idMonitors, MONITORS_CURSOR_C), "C");
}

// ---------------------------------------------------------------- error values

TEST_F(GroupWindow, AChannelOfOnlyErrorValuesDrawsNoCurve) {
    openWindow();
    load(0, file("errors.txt", dataFile(19, 'C', 30, [](int i) {
                     return std::vector<std::string>{"E0" + std::to_string(i % 10), "50.0"};
                 })));
    const std::vector<rt::PlotInfo> c = curves(GROUP_DEFAULT_COLORS[0]);
    ASSERT_EQ(c.size(), 1u);   // humidity only
    EXPECT_EQ(c[0].axis, VAL_RIGHT_YAXIS);
    EXPECT_EQ(groupHandlerTem[0], 0);
    EXPECT_EQ(groupHandlerTemText[0], 0);
    ASSERT_EQ(plots(rt::PLOT_TEXT).size(), 1u);
    // the slot is on the chart, so its read-out follows the cursor
    moveCursor(3);
    EXPECT_NE(ctrlText(idMonitors, MONITORS_CURSOR_A).find("E03"), std::string::npos);

    // an error in the middle takes the value before it, leading errors the first valid value;
    // no error markers are drawn
    load(1, file("gaps.txt", dataFile(6, 'C', 5, [](int i) {
                     const char *v[] = {"E01", "E02", "21.0", "E03", "22.0"};
                     return std::vector<std::string>{v[i]};
                 })));
    const std::vector<rt::PlotInfo> g = curves(GROUP_DEFAULT_COLORS[1]);
    ASSERT_EQ(g.size(), 1u);
    EXPECT_EQ(g[0].y, (std::vector<double>{21.0, 21.0, 21.0, 21.0, 22.0}));
    EXPECT_TRUE(plots(rt::PLOT_POINT).empty());
}

// ---------------------------------------------------------------- files the window cannot use

TEST_F(GroupWindow, AFileThatCannotBeOpenedKeepsTheSlot) {
    openWindow();
    load(0, file("a.txt", dataFile(6, 'C', 30, ramp(1))));
    const std::string label = buttonLabel(0);
    const int handle = groupHandlerTem[0];

    const std::string missing = path("no-such-file.txt");
    load(0, missing);
    EXPECT_EQ(agent_.count("message"), 1);
    ASSERT_FALSE(agent_.shown.empty());
    EXPECT_EQ(agent_.shown.back().title, "warn15");
    EXPECT_EQ(agent_.shown.back().text, missing);
    EXPECT_EQ(groupLength[0], 30);
    EXPECT_EQ(groupHandlerTem[0], handle);
    EXPECT_EQ(buttonLabel(0), label);
    EXPECT_EQ(curves(GROUP_DEFAULT_COLORS[0]).size(), 1u);

    // a folder is no data file either; a cancelled dialog changes nothing at all
    load(0, dir_.string());
    EXPECT_EQ(agent_.count("message", "warn15"), 2);
    load(0, "");
    EXPECT_EQ(agent_.count("message"), 2);
    EXPECT_EQ(groupLength[0], 30);
}

// A file without a record line is refused with the reason; the slot keeps what it had.
TEST_F(GroupWindow, AFileWithoutRecordLinesKeepsTheSlot) {
    openWindow();
    load(0, file("a.txt", dataFile(6, 'C', 30, ramp(1))));
    const std::string label = buttonLabel(0);
    const std::string notes = file("notes.txt", "Shopping\n2 apples\n1 kg flour\n");
    load(0, notes);
    ASSERT_EQ(agent_.count("message"), 1);
    EXPECT_EQ(agent_.shown.back().title, "warn15");
    EXPECT_EQ(agent_.shown.back().text, std::string(msgFileNoRecords) + "\n" + notes);
    EXPECT_EQ(groupLength[0], 30);
    EXPECT_EQ(groupDeviceId[0], 6);
    EXPECT_EQ(buttonLabel(0), label);
    EXPECT_EQ(curves(GROUP_DEFAULT_COLORS[0]).size(), 1u);
}

// A slot reads the dates in the order its file was written in, as Retrieve File does; dates
// that fit no order are today's, and the notes name the first record that did not read.
TEST_F(GroupWindow, SlotsReadTheDatesInTheFilesOrder) {
    openWindow();
    sLocal.dateFormat = 1;   // written day first, on the 13th (a day that is no month)
    std::string text = dataFile(6, 'C', 30, ramp(1));
    for (std::size_t at = text.find("01-12-2026"); at != std::string::npos; at = text.find("01-12-2026", at))
        text.replace(at, 2, "13");
    sLocal.dateFormat = 0;   // read month first
    load(0, file("dmy.txt", text));
    EXPECT_EQ(agent_.count("message"), 0);
    ASSERT_EQ(groupLength[0], 30);
    EXPECT_EQ(groupRtcPtr[0][0], recordTime(0) + 12u * 86400u);
    EXPECT_EQ(groupRtcPtr[0][29], recordTime(29) + 12u * 86400u);

    std::string broken = text;
    broken.replace(broken.find("    3  13-12-2026"), 17, "    3  41-12-2026");
    ASSERT_NE(broken, text);
    load(1, file("broken.txt", broken));
    EXPECT_EQ(agent_.count("message"), 0);
    EXPECT_EQ(groupLength[1], 30);
    const cRtc today = nowCRtc() / 86400u * 86400u;
    EXPECT_EQ(groupRtcPtr[1][0], today);
    EXPECT_EQ(groupRtcPtr[1][29], today + 29u * 60u);
    char notes[256] = "";
    GetCtrlVal(idMonitors, MONITORS_NOTES, notes);
    EXPECT_EQ(std::string(notes), std::string("B: ") + msgFileDatesUnread + " 3");
}

// The reader behind the slots, from text in memory: the caller's arrays get the records in the
// order of the channel set, and nothing of the program's own state changes.
TEST(GroupReader, FillsTheCallersArraysAndNothingElse) {
    struct Arrays {
        cRtc times[5333] = {};
        double values[3][5333] = {};
        int model = 0;
        char unit = 0;
        std::vector<int> numbers;
    } arrays;
    RecordReader reader;
    reader.layOut = [](int model, char unit, void *data) {
        auto *a = static_cast<Arrays *>(data);
        a->model = model;
        a->unit = unit;
        RecordArrays r;
        r.times = a->times;
        r.tem = a->values[0];
        r.tem2 = a->values[1];
        r.rh = a->values[2];
        r.capacity = 5333;
        return r;
    };
    reader.progress = [](int number, void *data) { static_cast<Arrays *>(data)->numbers.push_back(number); };
    reader.data = &arrays;
    const int model = currDeviceId, length = loggedLength;
    const char unit = eUnit;

    const std::string text =
        "   #10\nDate: x\nID= x\nSample_Rate= 00:01:00\nTotal_Records= 2\nUnit: F\n"
        "    2  12-01-2026 08:00:00  1.5  E07  3.5 \n"
        "    1  12-01-2026 08:00:00  4.5  5.5  6.5 \n";
    int refused = -1;
    EXPECT_EQ(parseDataFileRecords(text.data(), text.size(), reader, &refused), 2);
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(arrays.model, 10);
    EXPECT_EQ(arrays.unit, 'F');
    EXPECT_EQ(arrays.numbers, (std::vector<int>{2, 1}));
    EXPECT_EQ(arrays.values[0][1], 1.5);
    EXPECT_GT(arrays.values[1][1], 10007.0);
    EXPECT_EQ(arrays.values[2][1], 3.5);
    EXPECT_EQ(arrays.values[0][0], 4.5);
    EXPECT_EQ(arrays.values[2][0], 6.5);
    EXPECT_EQ(currDeviceId, model);
    EXPECT_EQ(loggedLength, length);
    EXPECT_EQ(eUnit, unit);

    // no arrays: nothing is read
    reader.layOut = [](int, char, void *) { return RecordArrays{}; };
    EXPECT_EQ(parseDataFileRecords(text.data(), text.size(), reader, &refused), 0);
}

struct SlotCase {
    const char *name;
    std::string text;
    int model;
    int length;
    int refused;
    std::vector<std::pair<int, double>> temperatures;   // index, value
};

class GroupRead : public GroupWindow, public ::testing::WithParamInterface<SlotCase> {};

TEST_P(GroupRead, ReadsAsRetrieveFileDoes) {
    const SlotCase &c = GetParam();
    openWindow();
    // slot E held another file before: nothing of it may show through
    load(4, file("old.txt", dataFile(6, 'C', 100, [](int) { return std::vector<std::string>{"99.0"}; })));
    load(4, file("in.txt", c.text));
    EXPECT_EQ(agent_.count("message"), 0) << c.name;
    EXPECT_EQ(groupDeviceId[4], c.model) << c.name;
    EXPECT_EQ(groupLength[4], c.length) << c.name;
    EXPECT_EQ(groupRefusedRecords[4], c.refused) << c.name;
    for (const auto &[index, value] : c.temperatures) EXPECT_NEAR(groupTemPtr[4][index], value, 1e-9) << c.name;
}

std::string numbered(int model, const std::vector<int> &numbers) {
    std::string s =
        "   #" + std::to_string(model) + "\nDate: x\nID= x\nSample_Rate= 00:01:00\nTotal_Records= 1\nUnit: C\n";
    for (const int n : numbers) s += std::to_string(n) + " 12-01-2026 08:00:00 1.5 2.5 3.5\n";
    return s;
}

std::vector<int> oneTo(int n) {
    std::vector<int> v;
    for (int i = 1; i <= n; ++i) v.push_back(i);
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Files, GroupRead,
    ::testing::Values(
        SlotCase{"model 7 with two values is model 9", numbered(7, {1, 2}), 9, 2, 0, {{0, 1.5}}},
        SlotCase{"model outside the table is model 1", numbered(99, {1}), 1, 1, 0, {{0, 1.5}}},
        SlotCase{"no model line is model 1", "   6" + numbered(6, {1}).substr(5), 1, 1, 0, {}},
        SlotCase{"records before the first number are cleared", numbered(6, {5}), 6, 1, 0, {{0, 1e-7}, {4, 1.5}}},
        SlotCase{"numbers outside the capacity are refused", numbered(10, {0, -3, 5334, 2}), 10, 1, 3, {{1, 1.5}}},
        SlotCase{"more lines than the capacity", numbered(10, oneTo(5334)), 10, 5333, 1, {{5332, 1.5}}},
        SlotCase{"one channel holds 16000", numbered(6, oneTo(16001)), 6, 16000, 1, {{15999, 1.5}}},
        SlotCase{"a blank line ends the records", numbered(6, {1, 2}) + "\n3 12-01-2026 08:00:00 1.5\n", 6, 2, 0, {}}),
    [](const auto &info) { return caseName(info.param.name); });

}   // namespace

// ---------------------------------------------------------------- closing, axes, colours

namespace {

QCustomPlot *groupPlot() { return qobject_cast<QCustomPlot *>(rt::CtrlWidget(idMonitors, MONITORS_GRAPH)); }

// The texts the chart draws as its curves' labels, with the colour they are drawn in.
std::vector<std::pair<std::string, QColor>> drawnLabels() {
    std::vector<std::pair<std::string, QColor>> out;
    QCustomPlot *plot = groupPlot();
    for (int i = 0; i < plot->itemCount(); ++i)
        if (auto *t = qobject_cast<QCPItemText *>(plot->item(i)); t && t->layer() == plot->layer("labels"))
            out.emplace_back(t->text().toStdString(), t->color());
    return out;
}

// The contrast of a colour against white, as text on white is judged (1 to 21).
double contrastOnWhite(const QColor &c) {
    const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const double l = 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    return 1.05 / (l + 0.05);
}

std::string axisName(int axis) { return rt::GraphAxis(idMonitors, MONITORS_GRAPH, axis).name; }

}   // namespace

TEST_F(GroupWindow, CloseAndEscapeHideTheWindow) {
    openWindow();
    char caption[64] = "";
    GetCtrlAttribute(idMonitors, MONITORS_EXIT, ATTR_LABEL_TEXT, caption, sizeof caption);
    EXPECT_STREQ(caption, "Close");
    rt::FireCtrlEvent(idMonitors, MONITORS_EXIT, EVENT_COMMIT);
    EXPECT_FALSE(rt::PanelVisible(idMonitors));

    openWindow();
    QWidget *window = groupPlot()->window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(rt::PanelVisible(idMonitors));
}

TEST_F(GroupWindow, TheAxesNameTheirUnitsAsTheMainWindowDoes) {
    openWindow();
    EXPECT_EQ(axisName(VAL_LEFT_YAXIS), wTempAxis) << "no file yet";
    load(0, file("c.txt", dataFile(6, 'C', 30, ramp(1))));
    EXPECT_EQ(axisName(VAL_LEFT_YAXIS), wTempC);
    EXPECT_EQ(axisName(VAL_LEFT_YAXIS), "Temperature (°C)");
    load(1, file("f.txt", dataFile(6, 'F', 30, ramp(1))));
    EXPECT_EQ(axisName(VAL_LEFT_YAXIS), wTempAxis) << "both units: the plain name";
    load(0, file("f2.txt", dataFile(19, 'F', 30, ramp(2))));
    EXPECT_EQ(axisName(VAL_LEFT_YAXIS), wTempF);
    EXPECT_EQ(axisName(VAL_RIGHT_YAXIS), wRh) << "humidity as the main window names it";
    EXPECT_EQ(axisName(VAL_RIGHT_YAXIS), "Humidity (%RH)");
    openWindow();
    EXPECT_EQ(axisName(VAL_LEFT_YAXIS), wTempF) << "the files stay loaded";
}

TEST_F(GroupWindow, TheSlotColoursAreApartAndReadableOnWhite) {
    for (int k = 0; k < GROUP_SLOTS; ++k) {
        const QColor c(GROUP_DEFAULT_COLORS[k] >> 16, (GROUP_DEFAULT_COLORS[k] >> 8) & 0xFF,
                       GROUP_DEFAULT_COLORS[k] & 0xFF);
        EXPECT_GE(contrastOnWhite(c), 4.5) << "slot " << char('A' + k);
        for (int m = 0; m < k; ++m) {
            const QColor o(GROUP_DEFAULT_COLORS[m] >> 16, (GROUP_DEFAULT_COLORS[m] >> 8) & 0xFF,
                           GROUP_DEFAULT_COLORS[m] & 0xFF);
            // two colours look alike when both are coloured and their hues lie close, or when
            // both are grey
            const bool grey = c.hsvSaturation() < 40, otherGrey = o.hsvSaturation() < 40;
            const int apart = std::abs(c.hsvHue() - o.hsvHue());
            EXPECT_TRUE(grey != otherGrey || (!grey && std::min(apart, 360 - apart) >= 25))
                << "slots " << char('A' + m) << " and " << char('A' + k) << " look alike";
        }
    }
}

TEST_F(GroupWindow, ALightColourStillGivesReadableLabels) {
    openWindow();
    SetCtrlVal(idMonitors, MONITORS_COLOR_A, 0xFFFF00);   // yellow
    rt::FireCtrlEvent(idMonitors, MONITORS_COLOR_A, EVENT_COMMIT);
    load(0, file("a.txt", dataFile(6, 'C', 30, ramp(1))));
    EXPECT_EQ(curves(0xFFFF00).size(), 1u) << "the curve keeps the chosen colour";
    rt::ReplotNow(idMonitors, MONITORS_GRAPH);
    const auto labels = drawnLabels();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].first, "A:Temp");
    EXPECT_GE(contrastOnWhite(labels[0].second), 4.5);
    EXPECT_GT(labels[0].second.red(), labels[0].second.blue()) << "a darker yellow, still yellowish";
    const auto legend = rt::GraphLegend(idMonitors, MONITORS_GRAPH);
    ASSERT_EQ(legend.size(), 1u);
    EXPECT_GE(contrastOnWhite(QColor(legend[0].color >> 16, (legend[0].color >> 8) & 0xFF, legend[0].color & 0xFF)),
              4.5)
        << "the legend's text too";
}
