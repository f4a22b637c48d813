// The notifications that run upward: an empty slot does nothing, an installed one is called with
// what the notification carries.
#include <gtest/gtest.h>

#include <string>

#include "base/Notify.h"

namespace {

std::string heard;

struct NotifyCase {
    const char *name;
    void (*install)();
    void (*notify)();
    const char *expected;
};

class Notify : public ::testing::TestWithParam<NotifyCase> {
protected:
    void SetUp() override {
        notifications = {};
        heard.clear();
    }
    void TearDown() override { notifications = {}; }
};

const NotifyCase kCases[] = {
    {"records_to_draw", [] { notifications.recordsToDraw = [] { heard = "draw"; }; }, [] { notifyRecordsToDraw(); },
     "draw"},
    {"chart_cleared", [] { notifications.chartClearForDownload = [] { heard = "clear"; }; },
     [] { notifyChartClearForDownload(); }, "clear"},
    {"model_identified", [] { notifications.loggerModelIdentified = [] { heard = "identified"; }; },
     [] { notifyLoggerModelIdentified(); }, "identified"},
    {"model_changed", [] { notifications.loggerModelChanged = [] { heard = "changed"; }; },
     [] { notifyLoggerModelChanged(); }, "changed"},
    {"table_page_while_open",
     [] { notifications.tablePage = [](TablePage when) { heard = when == TablePage::Always ? "always" : "open"; }; },
     [] { notifyTablePage(); }, "open"},
    {"table_page_always",
     [] { notifications.tablePage = [](TablePage when) { heard = when == TablePage::Always ? "always" : "open"; }; },
     [] { notifyTablePage(TablePage::Always); }, "always"},
    {"calibration_for_the_window",
     [] {
         notifications.calibrationArrived = [](CalibrationAnswer a) {
             heard = a == CalibrationAnswer::ForWindow ? "window" : "read back";
         };
     },
     [] { notifyCalibrationArrived(CalibrationAnswer::ForWindow); }, "window"},
    {"calibration_read_back",
     [] {
         notifications.calibrationArrived = [](CalibrationAnswer a) {
             heard = a == CalibrationAnswer::ForWindow ? "window" : "read back";
         };
     },
     [] { notifyCalibrationArrived(CalibrationAnswer::ReadBack); }, "read back"},
    {"save_records", [] { notifications.saveRecords = [] { heard = "save"; }; }, [] { notifySaveRecords(); }, "save"},
};

TEST_P(Notify, AnInstalledProcedureIsCalled) {
    GetParam().install();
    GetParam().notify();
    EXPECT_EQ(heard, GetParam().expected);
}

TEST_P(Notify, AnEmptySlotDoesNothing) {
    GetParam().notify();
    EXPECT_EQ(heard, "");
}

INSTANTIATE_TEST_SUITE_P(Slots, Notify, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<NotifyCase> &info) { return std::string(info.param.name); });

}   // namespace
