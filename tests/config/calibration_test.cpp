// Calibration: the derived temperature points, the checks of the humidity values, the
// comparison of a read-back, the two windows through their callbacks and the response
// interpreter, and whole calibration cycles with the simulated logger (whose filled windows
// are kept as pictures in build/artifacts).
#include <array>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "CaseName.h"
#include "ConfigFixture.h"

namespace {

// ---------------------------------------------------------------- values

struct PointsCase {
    const char *name;
    int p1, p2, p3;
    int p0, p4;   // derived
};

class OuterPoints : public ::testing::TestWithParam<PointsCase> {};

TEST_P(OuterPoints, AreExtrapolatedFromTheEnteredOnes) {
    const PointsCase &c = GetParam();
    int points[TEMP_CALI_POINTS] = {-1, c.p1, c.p2, c.p3, -1};
    CalcTempCaliArray(points);
    EXPECT_EQ(points[0], c.p0);
    EXPECT_EQ(points[4], c.p4);
    EXPECT_EQ(points[1], c.p1);
    EXPECT_EQ(points[2], c.p2);
    EXPECT_EQ(points[3], c.p3);
}

INSTANTIATE_TEST_SUITE_P(Calibration, OuterPoints,
                         ::testing::Values(
                             // 200 + trunc(266.67 + 0.5) and 100 + trunc(-85.71 + 0.5)
                             PointsCase{"rising points", 100, 200, 300, 15, 467},
                             PointsCase{"three equal points", 250, 250, 250, 250, 250},
                             // q = -1.71: -1.71 + 0.5 truncates toward zero to -1
                             PointsCase{"a small negative quotient", 0, 2, 2, -1, 2},
                             // 200 + trunc(-266.67 + 0.5) and 300 + trunc(85.71 + 0.5)
                             PointsCase{"falling points", 300, 200, 100, 386, -66},
                             // the widest points of the fields: no overflow
                             PointsCase{"the fields' whole range", -32768, 0, 32767, -60854, 87379}),
                         [](const auto &info) { return caseName(info.param.name); });

struct TextCase {
    const char *text;
    int judged;
};

TEST(JudgeValStr, AcceptsDigitsFullStopsAndALeadingMinus) {
    const TextCase cases[] = {{"", 0},    {"0", 0},   {"-1.5", 0}, {"15.", 0}, {"1.2.3", 0}, {"-", 0},   {".", 0},
                              {"1-2", 1}, {"--1", 1}, {"+1", 1},   {"1e3", 1}, {" 1", 1},    {"1,5", 1}, {"-1.5x", 1}};
    for (const TextCase &c : cases) EXPECT_EQ(JudgeValStr(c.text), c.judged) << '"' << c.text << '"';
}

// ---------------------------------------------------------------- the windows

class CaliWindows : public ConfigProgram {
protected:
    void SetUp() override {
        ConfigProgram::SetUp();
        startSilent(kTemperatureModel);
    }
    static constexpr int kTemperatureModel = 12;
    static constexpr int kHumidityModel = 18;
    static void points(int p1, int p2, int p3) {
        SetCtrlVal(idTempCali, TEMPCALI_POINT1, p1);
        SetCtrlVal(idTempCali, TEMPCALI_POINT2, p2);
        SetCtrlVal(idTempCali, TEMPCALI_POINT3, p3);
    }
    static int pointShown(int control) {
        int value = 0;
        GetCtrlVal(idTempCali, control, &value);
        return value;
    }
    static std::string panelTitle(int panel) {
        char title[256] = "";
        GetPanelAttribute(panel, ATTR_TITLE, title, sizeof title);
        return title;
    }
};

struct HumidityCase {
    const char *name;
    const char *z, *s;
    bool accepted;
};

class HumiditySet : public CaliWindows, public ::testing::WithParamInterface<HumidityCase> {};

TEST_P(HumiditySet, TakesOnlyValuesInRange) {
    const HumidityCase &c = GetParam();
    identified(kHumidityModel);
    std::strcpy(rhCaliZstr, "-1.0");   // what an earlier Set took
    std::strcpy(rhCaliSstr, "5.0");
    typed(idRhCali, RHCALI_Z, c.z);
    typed(idRhCali, RHCALI_S, c.s);
    press(idRhCali, RHCALI_SET);
    if (c.accepted) {
        EXPECT_EQ(agent_.count(""), 0);
        EXPECT_EQ(keyTempCali, 1);
        EXPECT_STREQ(rhCaliZstr, c.z);
        EXPECT_STREQ(rhCaliSstr, c.s);
    } else {
        EXPECT_EQ(popups(), std::vector<std::string>{"warn11 / warn19"});
        EXPECT_EQ(keyTempCali, 0);
        // refused values are never kept: a write waiting for the link sends what was accepted
        EXPECT_STREQ(rhCaliZstr, "-1.0");
        EXPECT_STREQ(rhCaliSstr, "5.0");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Calibration, HumiditySet,
    ::testing::Values(HumidityCase{"S 2", "-1.5", "2", true}, HumidityCase{"S 15", "-1.5", "15", true},
                      HumidityCase{"S 1.99", "-1.5", "1.99", false}, HumidityCase{"S 15.01", "-1.5", "15.01", false},
                      HumidityCase{"Z 0", "0", "5", true}, HumidityCase{"Z -1.5", "-1.5", "5", true},
                      HumidityCase{"Z 0.1", "0.1", "5", false}, HumidityCase{"Z 1-2", "1-2", "5", false},
                      HumidityCase{"Z empty", "", "5", false}, HumidityCase{"Z minus alone", "-", "5", false},
                      HumidityCase{"S full stop alone", "-1", ".", false},
                      HumidityCase{"S with a decimal comma", "-1", "5,5", false}),
    [](const auto &info) { return caseName(info.param.name); });

TEST_F(CaliWindows, TemperatureSetDerivesTheOuterPoints) {
    points(100, 200, 300);
    press(idTempCali, TEMPCALI_SET);
    EXPECT_EQ(keyTempCali, 1);
    EXPECT_EQ((std::array<int, 5>{tempCaliData[0], tempCaliData[1], tempCaliData[2], tempCaliData[3], tempCaliData[4]}),
              (std::array<int, 5>{15, 100, 200, 300, 467}));
    tick();
    EXPECT_EQ(sent(), "R 15 100 200 300 467\r");
    EXPECT_EQ(keyTempCali, 2);
}

struct ReadBackCase {
    const char *name;
    const char *line;   // the logger's answer
    bool agrees;
};

class TemperatureReadBack : public CaliWindows, public ::testing::WithParamInterface<ReadBackCase> {};

TEST_P(TemperatureReadBack, IsComparedWithTheWindow) {
    const ReadBackCase &c = GetParam();
    points(100, 200, 300);
    keyTempCali = 0;   // the read-back of a write
    feed(c.line);
    EXPECT_EQ(status(), c.agrees ? "msg16" : "warn17");
    EXPECT_EQ(statusColor(), c.agrees ? VAL_BLUE : VAL_RED);
    EXPECT_EQ(ctrlText(idTempCali, TEMPCALI_RESULT), c.agrees ? "msg16" : "warn17");
    // after a failed check the window shows the points the logger holds
    EXPECT_EQ(pointShown(TEMPCALI_POINT1), c.agrees ? 100 : tempCaliData[1]);
    EXPECT_EQ(pointShown(TEMPCALI_POINT2), 200);
}

INSTANTIATE_TEST_SUITE_P(Calibration, TemperatureReadBack,
                         ::testing::Values(ReadBackCase{"the same points", "r 15 100 200 300 467", true},
                                           ReadBackCase{"an outer point differs", "r 15 100 200 300 466", false},
                                           ReadBackCase{"an entered point differs", "r 15 101 200 300 467", false},
                                           ReadBackCase{"points missing", "r 15 100 200", false}),
                         [](const auto &info) { return caseName(info.param.name); });

class HumidityReadBack : public CaliWindows, public ::testing::WithParamInterface<ReadBackCase> {};

TEST_P(HumidityReadBack, AgreesWithinAMillionth) {
    const ReadBackCase &c = GetParam();
    identified(kHumidityModel);
    SetCtrlVal(idRhCali, RHCALI_Z, "-1.5");
    SetCtrlVal(idRhCali, RHCALI_S, "5");
    keyTempCali = 0;
    feed(c.line);
    EXPECT_EQ(status(), c.agrees ? "msg16" : "warn17");
    EXPECT_EQ(ctrlText(idRhCali, RHCALI_RESULT), c.agrees ? "msg16" : "warn17");
    // after a failed check the window shows what the logger holds
    EXPECT_EQ(ctrlText(idRhCali, RHCALI_Z), c.agrees ? std::string("-1.5") : std::string(rhCaliZstr));
    EXPECT_EQ(ctrlText(idRhCali, RHCALI_S), c.agrees ? std::string("5") : std::string(rhCaliSstr));
}

INSTANTIATE_TEST_SUITE_P(Calibration, HumidityReadBack,
                         ::testing::Values(ReadBackCase{"the same texts", "r -1.5 5", true},
                                           ReadBackCase{"other texts of the same values", "r -1.50 5.000", true},
                                           ReadBackCase{"Z off by 0.0000005", "r -1.5000005 5", true},
                                           ReadBackCase{"Z off by 0.002", "r -1.502 5", false},
                                           ReadBackCase{"S off", "r -1.5 5.1", false},
                                           ReadBackCase{"no number", "r abc 5", false},
                                           ReadBackCase{"S missing", "r -1.5", false}),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(CaliWindows, AReadForDisplayFillsAndShowsTheWindow) {
    keyTempCali = 4;
    feed("r 15 100 200 300 467");
    EXPECT_EQ(keyTempCali, 0);
    EXPECT_TRUE(rt::PanelVisible(idTempCali));
    EXPECT_EQ(pointShown(TEMPCALI_POINT1), 100);
    EXPECT_EQ(pointShown(TEMPCALI_POINT2), 200);
    EXPECT_EQ(pointShown(TEMPCALI_POINT3), 300);
    EXPECT_NE(status(), "msg16");   // nothing is compared

    identified(kHumidityModel);
    keyTempCali = 4;
    feed("r -2.25 7.5");
    EXPECT_TRUE(rt::PanelVisible(idRhCali));
    EXPECT_EQ(ctrlText(idRhCali, RHCALI_Z), "-2.25");
    EXPECT_EQ(ctrlText(idRhCali, RHCALI_S), "7.5");
}

struct StartCase {
    const char *name;
    int model;
    unsigned char key;   // keyTempCali afterwards
    int window;          // the window whose texts are set, 0 for none
};

class CaliStart : public CaliWindows, public ::testing::WithParamInterface<StartCase> {};

TEST_P(CaliStart, AsksForTheCalibrationOfTheModelsThatHaveOne) {
    const StartCase &c = GetParam();
    identified(c.model);
    SetPanelAttribute(idTempCali, ATTR_TITLE, "");
    SetPanelAttribute(idRhCali, ATTR_TITLE, "");
    press(idSetLogger, SETLOGGER_CALI_START);
    EXPECT_EQ(keyTempCali, c.key);
    EXPECT_EQ(panelTitle(idTempCali), c.window == TEMPCALI ? "Temperature Calibration" : "");
    EXPECT_EQ(panelTitle(idRhCali), c.window == RHCALI ? "Humidity Calibration" : "");
    EXPECT_EQ(agent_.count(""), 0);
    tick();
    EXPECT_EQ(sent(), c.key ? "r\r" : "");
}

INSTANTIATE_TEST_SUITE_P(Calibration, CaliStart,
                         ::testing::Values(StartCase{"model 12", 12, 3, TEMPCALI},
                                           StartCase{"model 13", 13, 3, TEMPCALI}, StartCase{"model 18", 18, 3, RHCALI},
                                           StartCase{"another model", 10, 0, 0}),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(CaliWindows, RecallReadsAgainAndCloseHidesWithoutResetting) {
    const std::pair<int, int> recalls[] = {{idTempCali, TEMPCALI_RECALL}, {idRhCali, RHCALI_RECALL}};
    for (const auto &[window, button] : recalls) {
        keyTempCali = 0;
        press(window, button);
        EXPECT_EQ(keyTempCali, 3);
    }
    DisplayPanel(idTempCali);
    DisplayPanel(idRhCali);
    press(idTempCali, TEMPCALI_EXIT);
    rt::FirePanelEvent(idRhCali, EVENT_CLOSE);
    EXPECT_FALSE(rt::PanelVisible(idTempCali));
    EXPECT_FALSE(rt::PanelVisible(idRhCali));
    EXPECT_EQ(keyTempCali, 3);
    DisplayPanel(idTempCali);
    DisplayPanel(idRhCali);
    rt::FirePanelEvent(idTempCali, EVENT_CLOSE);
    press(idRhCali, RHCALI_EXIT);
    EXPECT_FALSE(rt::PanelVisible(idTempCali));
    EXPECT_FALSE(rt::PanelVisible(idRhCali));
}

// ---------------------------------------------------------------- with the simulated logger

struct CycleCase {
    const char *name;
    const char *model;
    std::vector<std::string> typed;   // points 1 to 3, or Z and S
    const char *written;              // the write the logger receives
    const char *answer;               // the logger's read-back instead of what it holds ("" = that)
    const char *outcome;              // the status line at the end
};

class CalibrationCycle : public ConfigProgram, public ::testing::WithParamInterface<CycleCase> {
protected:
    bool humidity() const { return std::string(GetParam().model) == "41660"; }
    // The calibration a logger of the model holds when it leaves the factory.
    sim::LoggerConfig factory() const {
        sim::LoggerConfig config;
        config.modelName = GetParam().model;
        config.tempCali = {-40, 10, 250, 600, 1400};
        config.rhCaliZ = "-0.75";
        config.rhCaliS = "6.25";
        return config;
    }
    static void keepPicture(int panel, const char *name) {
        const std::filesystem::path out = std::filesystem::path(TAVIX_BIN_DIR).parent_path() / "artifacts" / "windows";
        std::filesystem::create_directories(out);
        EXPECT_EQ(rt::SavePanelImage(panel, (out / name).c_str()), 0);
    }
};

TEST_P(CalibrationCycle, ReadsWritesAndComparesTheReadBack) {
    const CycleCase &c = GetParam();
    startWithLogger(factory());
    const int window = humidity() ? idRhCali : idTempCali;

    // 1. the calibration button reads the logger's calibration into its window
    press(idSetLogger, SETLOGGER_CALI_START);
    ASSERT_TRUE(tickUntil([&] { return rt::PanelVisible(window) && keyTempCali == 0 && sendCmdChar == 0; }, 40));
    if (humidity()) {
        EXPECT_EQ(ctrlText(idRhCali, RHCALI_Z), "-0.75");
        EXPECT_EQ(ctrlText(idRhCali, RHCALI_S), "6.25");
        if (c.answer[0] == '\0') keepPicture(idRhCali, "humidity-calibration.png");
    } else {
        std::vector<int> shown;
        for (int field : {TEMPCALI_POINT1, TEMPCALI_POINT2, TEMPCALI_POINT3}) {
            int value = 0;
            GetCtrlVal(idTempCali, field, &value);
            shown.push_back(value);
        }
        EXPECT_EQ(shown, (std::vector<int>{10, 250, 600}));
        if (c.answer[0] == '\0') keepPicture(idTempCali, "temperature-calibration.png");
    }

    // 2. new values typed, Set: the write, its wait, the read-back and the comparison
    logger_->configure([&](sim::LoggerConfig &config) { config.fault.caliAnswer = c.answer; });
    if (humidity()) {
        typed(idRhCali, RHCALI_Z, c.typed[0].c_str());
        typed(idRhCali, RHCALI_S, c.typed[1].c_str());
        press(idRhCali, RHCALI_SET);
    } else {
        SetCtrlVal(idTempCali, TEMPCALI_POINT1, std::stoi(c.typed[0]));
        SetCtrlVal(idTempCali, TEMPCALI_POINT2, std::stoi(c.typed[1]));
        SetCtrlVal(idTempCali, TEMPCALI_POINT3, std::stoi(c.typed[2]));
        press(idTempCali, TEMPCALI_SET);
    }
    ASSERT_TRUE(tickUntil([] { return status() == "msg16" || status() == "warn17"; }, 60));
    EXPECT_EQ(status(), c.outcome);
    EXPECT_EQ(agent_.count(""), 0) << ::testing::PrintToString(popups());

    // 3. the window that was used says it too, and after a failed check it shows what the
    //    logger holds, not what was typed
    const int result = humidity() ? RHCALI_RESULT : TEMPCALI_RESULT;
    EXPECT_EQ(ctrlText(window, result), c.outcome);
    std::vector<std::string> expected = c.typed;
    if (std::string(c.outcome) == "warn17") {
        std::istringstream words(c.answer);
        std::vector<std::string> held{std::istream_iterator<std::string>(words), {}};
        expected = humidity() ? held : std::vector<std::string>(held.begin() + 1, held.begin() + 4);
    }
    std::vector<std::string> shown;
    if (humidity()) {
        shown = {ctrlText(idRhCali, RHCALI_Z), ctrlText(idRhCali, RHCALI_S)};
    } else {
        for (int field : {TEMPCALI_POINT1, TEMPCALI_POINT2, TEMPCALI_POINT3}) {
            int value = 0;
            GetCtrlVal(idTempCali, field, &value);
            shown.push_back(std::to_string(value));
        }
    }
    EXPECT_EQ(shown, expected);
    const std::vector<std::string> received = logger_->received();
    ASSERT_GE(received.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(received.end() - 3, received.end()),
              (std::vector<std::string>{"r", c.written, "r"}));
}

INSTANTIATE_TEST_SUITE_P(
    Calibration, CalibrationCycle,
    ::testing::Values(
        CycleCase{"temperature", "41651", {"100", "200", "300"}, "R 15 100 200 300 467", "", "msg16"},
        CycleCase{"temperature of model 13", "41653", {"0", "2", "2"}, "R -1 0 2 2 2", "", "msg16"},
        CycleCase{"humidity", "41660", {"-2.5", "7.5"}, "R -2.5 7.5", "", "msg16"},
        CycleCase{"temperature not taken",
                  "41651",
                  {"100", "200", "300"},
                  "R 15 100 200 300 467",
                  "-40 10 250 600 1400",
                  "warn17"},
        CycleCase{"humidity not taken", "41660", {"-2.5", "7.5"}, "R -2.5 7.5", "-0.75 6.25", "warn17"},
        CycleCase{"humidity off by a millionth", "41660", {"-2.5", "7.5"}, "R -2.5 7.5", "-2.5000005 7.5", "msg16"}),
    [](const auto &info) { return caseName(info.param.name); });

class CalibrationWithLogger : public ConfigProgram {};

TEST_F(CalibrationWithLogger, AnUnansweredReadIsReportedAsNoAnswer) {
    sim::LoggerConfig config;
    config.modelName = "41651";
    config.fault.noAnswerTo = "r";
    startWithLogger(config);
    press(idSetLogger, SETLOGGER_CALI_START);
    ASSERT_TRUE(tickUntil([this] { return agent_.count("") > 0; }, 40));
    EXPECT_EQ(popups(), std::vector<std::string>{"warn9 / warn16"});
    EXPECT_EQ(status(), statusAfterTick("warn16"));
    EXPECT_FALSE(rt::PanelVisible(idTempCali));
}

}   // namespace
