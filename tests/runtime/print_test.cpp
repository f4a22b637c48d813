// The run-time's printing with a PDF target, read back with poppler's tools: the layout of
// texts (tab stops, page breaks, page numbers, stamps, orientation), the page eject, the
// replacement of the target only after a good job, panel images, the probe and the statuses.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <regex>
#include <string>

#include "PdfCheck.h"
#include "runtime/agent.h"
#include "base/clock.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"

namespace {

enum { RES_PANEL = 701, RES_SMALL = 702, C_TEXT = 1, C_BUTTON, C_GRAPH };

int buildPanel(int p) {
    NewCtrl(p, CTRL_TEXT_MSG, C_TEXT, "Report window", 20, 20, -1, -1);
    NewCtrl(p, CTRL_COMMAND_BUTTON, C_BUTTON, "Print", 60, 20, 120, 30);
    NewCtrl(p, CTRL_GRAPH, C_GRAPH, "Chart", 110, 20, 560, 300);
    return 0;
}

int buildSmall(int p) {
    NewCtrl(p, CTRL_COMMAND_BUTTON, C_BUTTON, "Print", 10, 10, 120, 30);
    return 0;
}

class PrintTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterPanelResource(RES_PANEL, "Printed window", 700, 440, buildPanel);
        RegisterPanelResource(RES_SMALL, "Small window", 200, 60, buildSmall);
    }
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        rt::SetUserAgent(&agent_);
        rt::SetClock({2026, 12, 10, 9, 30, 0});
        rt::CapturePrinting(true);
        SetPrintAttribute(ATTR_ORIENTATION, VAL_PORTRAIT);
        SetPrintAttribute(ATTR_EJECT_AFTER, 1);
        SetPrintAttribute(ATTR_PRINT_FONT_NAME, VAL_APP_META_FONT);
        SetPrintAttribute(ATTR_PRINT_POINT_SIZE, 12);
        SetPrintAttribute(ATTR_NUMBER_PAGES, 1);
        SetPrintAttribute(ATTR_PRINT_DATE, 0);
        SetPrintAttribute(ATTR_PRINT_TIME, 0);
    }
    void TearDown() override {
        for (int panel : panels_) DiscardPanel(panel);
        SetPrintAttribute(ATTR_PRINT_PDF_FILE, "");
        rt::CapturePrinting(false);
        rt::ClearPrinted();
        rt::ClearClock();
        rt::SetUserAgent(nullptr);
    }

    std::string path(const std::string &name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }
    int loadPanel(int resource) {
        const int panel = LoadPanel(0, resource);
        panels_.push_back(panel);
        DisplayPanel(panel);
        return panel;
    }
    // One job of texts to the PDF at file.
    static void printJob(const std::string &file, const std::vector<std::string> &texts) {
        ASSERT_EQ(SetPrintAttribute(ATTR_PRINT_PDF_FILE, file.c_str()), 0);
        ASSERT_EQ(SetPrintAttribute(ATTR_EJECT_AFTER, 0), 0);
        for (const std::string &t : texts) ASSERT_EQ(PrintTextBuffer(t.c_str(), ""), 0);
        ASSERT_EQ(SetPrintAttribute(ATTR_EJECT_AFTER, 1), 0);
    }

    QTemporaryDir dir_;
    rt::ScriptedAgent agent_;
    std::vector<int> panels_;
};

// The left edge (in points) of each word of a PDF, from pdftotext's bounding boxes.
std::vector<std::pair<std::string, double>> wordPositions(const std::string &pdf) {
    std::vector<std::pair<std::string, double>> words;
    const std::string html = commandOutput("pdftotext -bbox " + shellQuoted(pdf) + " - 2>/dev/null");
    const std::regex word(R"re(<word xMin="([0-9.]+)"[^>]*>([^<]*)</word>)re");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator(); ++it)
        words.emplace_back((*it)[2], std::stod((*it)[1]));
    return words;
}

double leftOf(const std::vector<std::pair<std::string, double>> &words, const std::string &text) {
    for (const auto &[w, x] : words)
        if (w == text) return x;
    return -1;
}

TEST_F(PrintTest, TabStopsFallEveryEightDigitWidths) {
    const std::string pdf = path("tabs.pdf");
    // ("five" also shows that "fi" is printed as two letters, not as a ligature a search misses)
    printJob(pdf, {"A\tone\n", "0000000\ttwo\n", "00000000\tthree\n", "\t\tfour\n", "\tfive\n"});
    const auto words = wordPositions(pdf);
    const double a = leftOf(words, "A"), one = leftOf(words, "one"), two = leftOf(words, "two");
    const double three = leftOf(words, "three"), four = leftOf(words, "four"), five = leftOf(words, "five");
    ASSERT_GE(a, 0);
    ASSERT_GT(one, a);
    // a text shorter than a stop ends at the first stop; one of eight digits goes on to the second
    EXPECT_NEAR(two, one, 0.5);
    EXPECT_NEAR(five, one, 0.5);
    EXPECT_NEAR(three, four, 0.5);
    EXPECT_NEAR(four - a, 2 * (one - a), 0.5);
}

TEST_F(PrintTest, LongTextsBreakIntoNumberedPagesOfRealText) {
    const std::string pdf = path("pages.pdf");
    std::vector<std::string> texts;
    for (int i = 1; i <= 150; ++i) texts.push_back("line " + std::to_string(i) + "\tvalue\n");
    printJob(pdf, texts);
    const int pages = pdfPages(pdf);
    ASSERT_GE(pages, 3);
    std::string all;
    for (int page = 1; page <= pages; ++page) {
        std::vector<std::string> lines;
        for (const std::string &l : textLines(pdfText(pdf, page, page)))
            if (l.find_first_not_of(" \f") != std::string::npos) lines.push_back(l);
        ASSERT_FALSE(lines.empty());
        // the page number is the last thing on the page
        EXPECT_EQ(std::regex_replace(lines.back(), std::regex(R"(^\s+|\s+$)"), ""), std::to_string(page));
        for (const std::string &l : lines) all += l + "\n";
    }
    for (int i = 1; i <= 150; ++i)
        EXPECT_TRUE(std::regex_search(all, std::regex("line +" + std::to_string(i) + " +value"))) << i;
    EXPECT_EQ(rt::PrintedTexts().size(), 150u);
}

TEST_F(PrintTest, StampsAndOrientationFollowTheAttributes) {
    struct Case {
        const char *name;
        int orientation, date, time;
        const char *stamp;   // "" = none
    } cases[] = {{"portrait_without_stamps", VAL_PORTRAIT, 0, 0, ""},
                 {"landscape_with_date_and_time", VAL_LANDSCAPE, 1, 1, "12-10-2026 09:30:00"},
                 {"time_only", VAL_PORTRAIT, 0, 1, "09:30:00"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string pdf = path(std::string(c.name) + ".pdf");
        SetPrintAttribute(ATTR_ORIENTATION, c.orientation);
        SetPrintAttribute(ATTR_PRINT_DATE, c.date);
        SetPrintAttribute(ATTR_PRINT_TIME, c.time);
        printJob(pdf, {"body\n"});
        double width = 0, height = 0;
        ASSERT_TRUE(pdfPageSize(pdf, width, height));
        EXPECT_EQ(width > height, c.orientation == VAL_LANDSCAPE);
        const std::string text = pdfText(pdf);
        EXPECT_NE(text.find("body"), std::string::npos);
        if (*c.stamp)
            EXPECT_NE(text.find(c.stamp), std::string::npos);
        else
            EXPECT_EQ(text.find("2026"), std::string::npos);
    }
}

TEST_F(PrintTest, EjectEndsTheJobAndOnlyThenReplacesThePdf) {
    const std::string pdf = path("eject.pdf");
    { std::ofstream(pdf) << "the previous file"; }
    ASSERT_EQ(SetPrintAttribute(ATTR_PRINT_PDF_FILE, pdf.c_str()), 0);
    char name[256];
    EXPECT_EQ(GetPrintAttribute(ATTR_PRINTER_NAME, name, sizeof name), 0);   // the probe names the target
    EXPECT_EQ(name, pdf);

    // eject off: one job until the eject comes back on
    ASSERT_EQ(SetPrintAttribute(ATTR_EJECT_AFTER, 0), 0);
    ASSERT_EQ(PrintTextBuffer("first\n", ""), 0);
    ASSERT_EQ(PrintTextBuffer("second", ""), 0);   // a line's end may come with the next text
    ASSERT_EQ(PrintTextBuffer(" half\n", ""), 0);
    EXPECT_EQ(pdfPages(pdf), 0) << "the target is replaced only at the eject";
    ASSERT_EQ(SetPrintAttribute(ATTR_EJECT_AFTER, 1), 0);
    const std::string text = pdfText(pdf);
    EXPECT_NE(text.find("first"), std::string::npos);
    EXPECT_NE(text.find("second half"), std::string::npos);

    // eject on: every text is a job of its own
    ASSERT_EQ(PrintTextBuffer("alone\n", ""), 0);
    EXPECT_EQ(pdfText(pdf).find("first"), std::string::npos);
    EXPECT_NE(pdfText(pdf).find("alone"), std::string::npos);
}

TEST_F(PrintTest, AFailedJobLeavesTheTargetAsItWas) {
    // a folder that does not exist: the first text fails, the probe still names the target
    const std::string missing = path("no-such-folder/out.pdf");
    SetPrintAttribute(ATTR_PRINT_PDF_FILE, missing.c_str());
    SetPrintAttribute(ATTR_EJECT_AFTER, 0);
    const int status = PrintTextBuffer("text\n", "");
    EXPECT_LT(status, 0);
    EXPECT_STREQ(GetUILErrorString(status), "The file cannot be written");
    EXPECT_TRUE(rt::PrintedTexts().empty());
    EXPECT_EQ(SetPrintAttribute(ATTR_EJECT_AFTER, 1), 0);   // nothing was left open

    // the target is a folder: the job fails at its end and the folder stays
    const std::string folder = path("a-folder");
    QDir().mkpath(QString::fromStdString(folder));
    SetPrintAttribute(ATTR_PRINT_PDF_FILE, folder.c_str());
    EXPECT_LT(PrintTextBuffer("text\n", ""), 0);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(folder)).isDir());
}

TEST_F(PrintTest, APanelPrintsAsAPageImage) {
    const int panel = loadPanel(RES_PANEL);
    const int small = loadPanel(RES_SMALL);
    QRect own, scaled, big;
    SetPrintAttribute(ATTR_ORIENTATION, VAL_LANDSCAPE);
    const std::string pdf = path("own.pdf");
    SetPrintAttribute(ATTR_PRINT_PDF_FILE, pdf.c_str());
    // a PDF target needs no print dialog
    ASSERT_EQ(PrintPanel(panel, "", VAL_NO_SCALING, VAL_FULL_PANEL, 1), 0);
    EXPECT_EQ(agent_.count("print"), 0);
    EXPECT_GT(inkShare(pdfPageImage(pdf, path("own")), &big), 0.01);
    ASSERT_EQ(PrintPanel(small, "", VAL_NO_SCALING, VAL_FULL_PANEL, 1), 0);
    inkShare(pdfPageImage(pdf, path("small-own")), &own);
    ASSERT_EQ(PrintPanel(small, "", VAL_SCALE_TO_PAGE, VAL_FULL_PANEL, 1), 0);
    inkShare(pdfPageImage(pdf, path("small-scaled")), &scaled);
    EXPECT_GT(scaled.width(), 2 * own.width()) << "scaled to the page";
    EXPECT_GT(big.width(), own.width());
    double width = 0, height = 0;
    ASSERT_TRUE(pdfPageSize(pdf, width, height));
    EXPECT_GT(width, height);
    EXPECT_EQ(rt::PrintedPanels(), 0) << "a PDF target is no capture";
}

TEST_F(PrintTest, PanelPrintStatuses) {
    const int panel = loadPanel(RES_SMALL);
    struct Case {
        const char *name;
        bool present;
        bool accept;
        rt::PrintPages pages;
        int status;
        int captured;
    } cases[] = {
        {"printed", true, true, {}, 0, 1},
        {"dialog cancelled", true, false, {}, PRINT_STATUS_CANCELLED, 0},
        {"pages after the window", true, true, {2, 3}, PRINT_STATUS_PAGES_LEFT_OUT, 0},
        {"page one chosen", true, true, {1, 1}, 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        rt::ClearPrinted();
        rt::CapturePrinting(true, c.present);
        agent_.printAnswers = {c.accept};
        agent_.printPages = c.pages;
        EXPECT_EQ(PrintPanel(panel, "", VAL_NO_SCALING, VAL_FULL_PANEL, 1), c.status);
        EXPECT_EQ(rt::PrintedPanels(), c.captured);
        EXPECT_STRNE(GetUILErrorString(c.status), "");
    }
    // no printer: no dialog either
    rt::CapturePrinting(true, false);
    agent_.clear();
    const int status = PrintPanel(panel, "", VAL_NO_SCALING, VAL_FULL_PANEL, 1);
    EXPECT_STREQ(GetUILErrorString(status), "No printer is installed");
    EXPECT_EQ(agent_.count("print"), 0);
}

TEST_F(PrintTest, EveryStatusHasItsOwnText) {
    std::vector<std::string> texts;
    for (int status = -22; status <= -1; ++status) texts.push_back(GetUILErrorString(status));
    texts.push_back(GetUILErrorString(PRINT_STATUS_PAGES_LEFT_OUT));
    texts.push_back(GetUILErrorString(PRINT_STATUS_CANCELLED));
    for (std::size_t i = 0; i < texts.size(); ++i)
        for (std::size_t j = i + 1; j < texts.size(); ++j) EXPECT_NE(texts[i], texts[j]) << i << " " << j;
    EXPECT_STREQ(GetUILErrorString(-23), "Unknown error");
    EXPECT_STREQ(GetUILErrorString(0), "No error");
}

}   // namespace
