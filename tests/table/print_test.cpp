// The window prints: the main window's and the statistics window's print buttons, to a PDF
// read back with poppler's tools, and what each outcome of the print shows.
#include <filesystem>

#include "PrintFixture.h"

namespace {

namespace fs = std::filesystem;

class WindowPrint : public PrintProgram {
protected:
    void printMain() { rt::FireCtrlEvent(idMonitor, MONITOR_MENU7, EVENT_COMMIT); }
    void printStatistics() { rt::FireCtrlEvent(idStatistic, STATISTIC_PRINT, EVENT_COMMIT); }
};

TEST_F(WindowPrint, TheMainWindowWithoutAPrinterBecomesAPdf) {
    rt::CapturePrinting(true, false);
    fill(5, 300);
    const std::string pdf = path("main.pdf");
    agent_.confirmAnswers = {true};
    agent_.fileAnswers = {pdf};
    printMain();
    EXPECT_EQ(agent_.count("message"), 0);
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_EQ(pdfPages(pdf), 1);
    double width = 0, height = 0;
    ASSERT_TRUE(pdfPageSize(pdf, width, height));
    EXPECT_GT(width, height) << "landscape";
    QRect box;
    EXPECT_GT(inkShare(pdfPageImage(pdf, path("main")), &box), 0.02) << "the window, not a blank page";
    // the run-time's date and time stamps
    EXPECT_NE(pdfText(pdf).find("12-10-2026 09:30:00"), std::string::npos);
    // no print dialog: the file was chosen already
    EXPECT_EQ(agent_.count("print"), 0);
}

TEST_F(WindowPrint, TheStatisticsWindowScaledToThePage) {
    const std::string pdf = path("statistics.pdf");
    SetPrintAttribute(ATTR_PRINT_PDF_FILE, pdf.c_str());
    DisplayPanel(idStatistic);
    printStatistics();
    EXPECT_EQ(agent_.count("message"), 0);
    const QImage page = pdfPageImage(pdf, path("statistics"));
    QRect box;
    EXPECT_GT(inkShare(page, &box), 0.02);
    // as wide as the page allows (its margins aside)
    EXPECT_GT(box.width(), page.width() * 3 / 4);
}

struct OutcomeCase {
    const char *name;
    bool printer;        // a printer is present
    bool accept;         // the answer to the print dialog, or to the PDF offer
    int fromPage;        // the pages chosen in the print dialog (0 = all)
    const char *title;   // the message shown, nullptr = none
    const char *text;
    int captured;   // panel prints that went to the printer
};

class WindowPrintOutcome : public WindowPrint, public ::testing::WithParamInterface<OutcomeCase> {};

TEST_P(WindowPrintOutcome, ShowsWhatWentWrong) {
    const OutcomeCase &c = GetParam();
    rt::CapturePrinting(true, c.printer);
    agent_.printAnswers = {c.accept};
    agent_.printPages = {c.fromPage, c.fromPage};
    agent_.confirmAnswers = {c.accept};
    printMain();
    if (c.title) {
        EXPECT_EQ(messages(c.title, c.text), 1);
        EXPECT_EQ(agent_.count("message"), 1);
    } else {
        EXPECT_EQ(agent_.count("message"), 0);
    }
    EXPECT_EQ(rt::PrintedPanels(), c.captured);
    EXPECT_EQ(agent_.count("print"), c.printer ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, WindowPrintOutcome,
                         ::testing::Values(OutcomeCase{"printed", true, true, 0, nullptr, nullptr, 1},
                                           OutcomeCase{"dialog cancelled: status 1024", true, false, 0, nullptr,
                                                       nullptr, 0},
                                           OutcomeCase{"pages without the window", true, true, 2, "warn7", "warn20", 0},
                                           OutcomeCase{"no printer, PDF declined: the question said why", false, false,
                                                       0, nullptr, nullptr, 0}),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(WindowPrint, APdfThatCannotBeWrittenIsSaid) {
    SetPrintAttribute(ATTR_PRINT_PDF_FILE, path("no-such-folder/main.pdf").c_str());
    printMain();
    EXPECT_EQ(messages("warn7", "The file cannot be written"), 1);
}

}   // namespace
