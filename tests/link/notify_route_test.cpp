// The interpreter reaches the windows above the link only through the notifications: with
// nothing above the link linked, a test installs its own procedures and sees which are called.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Notify.h"
#include "link/Link.h"
#include "model/LoggerSettings.h"
#include "model/Models.h"
#include "model/Records.h"

namespace {

std::vector<std::string> heard;

struct RouteCase {
    const char *name;
    int model;                   // the model identified before the line arrives
    unsigned char calibration;   // keyTempCali when the line arrives
    const char *line;
    std::vector<std::string> expected;
};

class InterpreterRoute : public ::testing::TestWithParam<RouteCase> {
protected:
    void SetUp() override {
        resetLinkState();
        resetModelState();
        resetCalibrationState();
        heard.clear();
        notifications = {};
        notifications.loggerModelIdentified = [] { heard.push_back("model identified"); };
        notifications.loggerModelChanged = [] { heard.push_back("model changed"); };
        notifications.calibrationArrived = [](CalibrationAnswer answer) {
            heard.push_back(answer == CalibrationAnswer::ForWindow ? "calibration for the window"
                                                                   : "calibration read back");
        };
    }
    void TearDown() override { notifications = {}; }

    static void receive(const std::string &line) {
        setRxLine(line.data(), static_cast<int>(line.size()));
        analysisComPortData();
    }
};

// Model indexes: 1 (41217), 10 (4143, no calibration), 12 (41651, five temperature points),
// 18 (humidity Z and S).
const RouteCase kCases[] = {
    {"identity_of_another_model", 1, CALI_IDLE, "i LOG-42 4143", {"model identified", "model changed"}},
    {"identity_of_the_same_model", 10, CALI_IDLE, "i LOG-42 4143", {"model identified"}},
    {"temperature_calibration_for_the_window", 12, CALI_READ_SENT, "r 1 2 3 4 5", {"calibration for the window"}},
    {"temperature_calibration_read_back", 12, CALI_IDLE, "r 1 2 3 4 5", {"calibration read back"}},
    {"humidity_calibration_for_the_window", 18, CALI_READ_SENT, "r -1.5 7.25", {"calibration for the window"}},
    {"calibration_of_a_model_without_one", 10, CALI_READ_SENT, "r 1 2 3 4 5", {}},
};

TEST_P(InterpreterRoute, CallsTheNotificationsOfTheResponse) {
    const RouteCase &c = GetParam();
    currDeviceId = c.model;
    keyTempCali = c.calibration;
    receive(c.line);
    EXPECT_EQ(heard, c.expected);
    EXPECT_EQ(keyTempCali, CALI_IDLE) << "an answer ends the calibration cycle";
}

INSTANTIATE_TEST_SUITE_P(Responses, InterpreterRoute, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<RouteCase> &info) { return std::string(info.param.name); });

TEST(InterpreterRouteDecoding, TheCalibrationIsDecodedBeforeTheWindowHearsOfIt) {
    resetLinkState();
    resetModelState();
    resetCalibrationState();
    static int seen[TEMP_CALI_POINTS];
    notifications = {};
    notifications.calibrationArrived = [](CalibrationAnswer) {
        for (int k = 0; k < TEMP_CALI_POINTS; ++k) seen[k] = tempCaliData[k];
    };
    currDeviceId = 12;
    keyTempCali = CALI_READ_SENT;
    const std::string line = "r 11 22 33 44 55";
    setRxLine(line.data(), static_cast<int>(line.size()));
    analysisComPortData();
    notifications = {};
    const int expected[TEMP_CALI_POINTS] = {11, 22, 33, 44, 55};
    for (int k = 0; k < TEMP_CALI_POINTS; ++k) EXPECT_EQ(seen[k], expected[k]) << "point " << k;
}

TEST(InterpreterRouteDecoding, NothingInstalledAnAnswerStillEndsTheCycle) {
    resetLinkState();
    resetModelState();
    resetCalibrationState();
    notifications = {};
    currDeviceId = 12;
    keyTempCali = CALI_READ_SENT;
    const std::string line = "r 1 2 3 4 5";
    setRxLine(line.data(), static_cast<int>(line.size()));
    analysisComPortData();
    EXPECT_EQ(keyTempCali, CALI_IDLE);
    EXPECT_EQ(tempCaliData[4], 5);
}

}   // namespace
