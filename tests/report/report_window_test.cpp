// The trip-report window in the running program: the main window's command (its button and
// Ctrl+R) and the statistics window's open it on the records held; its profile list is the
// profiles file's; Save PDF writes the page of the profile chosen; Print goes to the printer.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include <filesystem>
#include <string>

#include "LinkFixture.h"
#include "PdfCheck.h"
#include "Programs.h"
#include "TripData.h"
#include "local/ReportTexts.h"
#include "report/Report.h"
#include "store/Fingerprint.h"
#include "runtime/inspect.h"

namespace fs = std::filesystem;

namespace {

class TripReportWindow : public LinkProgram {
protected:
    void SetUp() override {
        LinkProgram::SetUp();
        // the shipped profiles, preferences and English texts
        for (const char *f : {"TavixProfiles.ini", "localORM.ini", "English.ini"})
            fs::copy_file(fs::path(programs::binDir()) / f, dir_ / f);
        tripdata::write(dir_ / "fail.txt", tripdata::fridgeDay(3));
        rt::CapturePrinting(true, true);
        rt::ClearPrinted();
        startProgram();
    }
    void TearDown() override {
        rt::CapturePrinting(false);
        LinkProgram::TearDown();
    }
    void retrieve(const fs::path &file) {
        agent_.fileAnswers = {file.string()};
        rt::FireCtrlEvent(idMonitor, MONITOR_MENU1, EVENT_COMMIT);
        ASSERT_EQ(loggedLength, 144);
    }
    int profileIndex(const char *name) {
        int count = 0;
        GetNumListItems(idTripReport, TRIPREPORT_PROFILE, &count);
        for (int k = 0; k < count; ++k) {
            char label[120] = "";
            GetLabelFromIndex(idTripReport, TRIPREPORT_PROFILE, k, label, sizeof label);
            if (std::string(label) == name) return k;
        }
        return -1;
    }
};

TEST_F(TripReportWindow, NothingToReportWithoutRecords) {
    rt::FireCtrlEvent(idMonitor, MONITOR_TRIP_REPORT, EVENT_COMMIT);
    EXPECT_EQ(agent_.count("message", msgReportNoRecords), 1);
    EXPECT_TRUE(idTripReport == 0 || !rt::PanelVisible(idTripReport));
}

TEST_F(TripReportWindow, OpensFromTheMainAndTheStatisticsWindow) {
    retrieve(dir_ / "fail.txt");
    struct Case {
        const char *name;
        std::function<void()> open;
    } cases[] = {
        {"main window's button", [] { rt::FireCtrlEvent(idMonitor, MONITOR_TRIP_REPORT, EVENT_COMMIT); }},
        {"Ctrl+R",
         [] {
             QWidget *window = rt::CtrlWidget(idMonitor, MONITOR_GRAPH)->window();
             window->activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(window));
             QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
         }},
        {"statistics window's button", [] { rt::FireCtrlEvent(idStatistic, STATISTIC_TRIP_REPORT, EVENT_COMMIT); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (idTripReport > 0) HidePanel(idTripReport);
        c.open();
        ASSERT_TRUE(pumpUntil([] { return idTripReport > 0 && rt::PanelVisible(idTripReport); }));
        // the profiles file's list, the data table's profile first; the preview shows the page
        EXPECT_EQ(profileIndex("Data table limits"), 0);
        EXPECT_GT(profileIndex("WHO 10-day indicator, type II"), 0);
        const auto *preview = static_cast<QLabel *>(rt::CtrlWidget(idTripReport, TRIPREPORT_PREVIEW));
        EXPECT_FALSE(preview->pixmap().isNull());
        EXPECT_EQ(agent_.count("message"), 0);
    }
    // kept for a look: the window as the user sees it
    const fs::path out = fs::path(TAVIX_BIN_DIR).parent_path() / "artifacts" / "windows";
    fs::create_directories(out);
    QWidget *window = rt::CtrlWidget(idTripReport, TRIPREPORT_PREVIEW)->window();
    EXPECT_TRUE(window->grab().save(QString::fromStdString((out / "trip-report.png").string())));
}

TEST_F(TripReportWindow, SavePdfWritesThePageOfTheProfileChosen) {
    retrieve(dir_ / "fail.txt");
    rt::FireCtrlEvent(idMonitor, MONITOR_TRIP_REPORT, EVENT_COMMIT);
    ASSERT_GT(idTripReport, 0);
    struct Case {
        const char *profile;
        const char *verdict;
    } cases[] = {
        {"Controlled room temperature", "FAIL"},   // every reading below 15.0
        {"WHO 10-day indicator, type I", "PASS"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.profile);
        const int index = profileIndex(c.profile);
        ASSERT_GE(index, 0);
        SetCtrlIndex(idTripReport, TRIPREPORT_PROFILE, index);
        rt::FireCtrlEvent(idTripReport, TRIPREPORT_PROFILE, EVENT_COMMIT);
        const fs::path pdf = dir_ / (std::string(c.verdict) + ".pdf");
        agent_.fileAnswers = {pdf.string()};
        agent_.clear();
        rt::FireCtrlEvent(idTripReport, TRIPREPORT_SAVE_PDF, EVENT_COMMIT);
        EXPECT_EQ(agent_.count("message", msgReportSaved), 1);
        ASSERT_EQ(pdfPages(pdf.string()), 1);
        const std::string text = pdfText(pdf.string());
        EXPECT_NE(text.find(c.verdict), std::string::npos) << text;
        EXPECT_NE(text.find(c.profile), std::string::npos);
        EXPECT_NE(text.find(recordsFingerprint()), std::string::npos);
    }
    // a page that cannot be written is said so, and nothing is left there
    const fs::path nowhere = dir_ / "no-such-folder" / "report.pdf";
    agent_.fileAnswers = {nowhere.string()};
    agent_.clear();
    rt::FireCtrlEvent(idTripReport, TRIPREPORT_SAVE_PDF, EVENT_COMMIT);
    EXPECT_EQ(agent_.count("message", msgReportNotWritten), 1);
    EXPECT_FALSE(fs::exists(nowhere));
    // Print goes to the printer after the print dialog
    rt::FireCtrlEvent(idTripReport, TRIPREPORT_PRINT, EVENT_COMMIT);
    EXPECT_EQ(rt::PrintedPanels(), 1);
    rt::FireCtrlEvent(idTripReport, TRIPREPORT_EXIT, EVENT_COMMIT);
    EXPECT_FALSE(rt::PanelVisible(idTripReport));
}

}   // namespace
