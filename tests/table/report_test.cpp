// The text report of the data table's print button, through the button, with a PDF file
// standing in for the printer: the range asked for, the header, the column header per model,
// the record lines with their value fields, page numbers, the PDF offer where no printer is
// installed, and a report stopped by a line that cannot be printed.
#include <filesystem>
#include <fstream>

#include "FileSizeLimit.h"
#include "PrintFixture.h"

namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------- ranges

struct RangeCase {
    const char *name;
    int held;             // records in the store
    const char *answer;   // to the question for the records
    int first, last;      // records printed (last < first: none)
    bool printed;         // anything printed (header and completion message)
};

class ReportRange : public PrintProgram, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(ReportRange, PrintsTheRecordsNamed) {
    const RangeCase &c = GetParam();
    fill(18, c.held);
    const std::string pdf = path("range.pdf");
    report(c.answer, pdf);
    const std::vector<int> expected = span(c.first, c.last);
    EXPECT_EQ(recordNumbersIn(pdfText(pdf)), expected);
    EXPECT_EQ(printedRecordLines().size(), expected.size());
    EXPECT_EQ(fs::exists(pdf), c.printed);
    // "Print records", "saved as a PDF file:" (never "sent to the printer")
    EXPECT_EQ(pdfSaved(pdf), c.printed ? 1 : 0);
    EXPECT_EQ(messages("msg12", "msg13"), 0);
    // a report that prints nothing says why
    EXPECT_EQ(agent_.count("message"), 1);
    EXPECT_EQ(messages("msg12", msgPrintRangeUnread), c.printed ? 0 : 1);
    EXPECT_EQ(agent_.count("prompt", "msg12"), 1);
    if (c.last >= c.first) {
        EXPECT_EQ(status(), "msg12 #" + std::to_string(c.last) + "\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, ReportRange,
                         ::testing::Values(RangeCase{"one record", 500, "25", 25, 25, true},
                                           RangeCase{"a range", 500, "10-20", 10, 20, true},
                                           RangeCase{"beyond the records held", 500, "1-99999", 1, 500, true},
                                           RangeCase{"a number beyond int", 500, "490-99999999999999", 490, 500, true},
                                           RangeCase{"not a number", 500, "x", 1, 0, false},
                                           RangeCase{"nothing", 500, "", 1, 0, false},
                                           RangeCase{"reversed: header only", 500, "30-20", 1, 0, true},
                                           RangeCase{"from record 0", 500, "0-3", 1, 3, true},
                                           RangeCase{"blank before the dash: one record", 500, "5 -9", 5, 5, true},
                                           RangeCase{"blanks before the numbers", 500, " 7- 8", 7, 8, true},
                                           RangeCase{"one record beyond those held", 40, "41", 1, 0, true}),
                         [](const auto &info) { return caseName(info.param.name); });

// ---------------------------------------------------------------- lines

TEST(BuildPrnValStr, ValueFields) {
    struct {
        const char *name;
        double value;
        const char *field;
    } cases[] = {{"error 7", 10007.0, "\t  E07"},          {"error 0", 10000.00001, "\t  E00"},
                 {"error 123", 10123.00001, "\t  E123"},   {"reading", 23.5, "\t 23.5"},
                 {"decoded reading", 23.50001, "\t 23.5"}, {"negative", -5.0, "\t -5.0"},
                 {"rounded to zero", 0.04, "\t  0.0"},     {"10000 is a reading", 10000.0, "\t10000.0"},
                 {"three digits", 123.4, "\t123.4"},       {"wide negative", -123.4, "\t-123.4"}};
    for (const auto &c : cases) {
        char field[16];
        EXPECT_EQ(BuildPrnValStr(field, sizeof field, c.value), std::strlen(c.field)) << c.name;
        EXPECT_STREQ(field, c.field) << c.name;
    }
    char small[4];
    EXPECT_EQ(BuildPrnValStr(small, sizeof small, 23.5), 3u);
    EXPECT_STREQ(small, "\t 2");
}

TEST_F(PrintProgram, RecordLineOfAChannelSet1Model) {
    fill(18, 10);
    vTemPtr[6] = 23.50001;
    vRhPtr[6] = 55.00001;
    vTemPtr[2] = 10007.00001;
    const std::string pdf = path("lines.pdf");
    report("3-7", pdf);
    char date[11], time[9];
    cRtc2Rtc(rtcPtr[6], date, time);
    const std::vector<std::string> lines = printedRecordLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[4],
              std::string(" ") + "    7" + "\t" + date + "\t" + time + "\t" + " 23.5" + "\t" + " 55.0" + "\n");
    EXPECT_EQ(lines[0].substr(26, 6), "\t  E07");
    // the fields at the character positions 26 and 32
    EXPECT_EQ(lines[4].size(), 26u + 6 + 6 + 1);

    // the same line on the page
    std::smatch m;
    const std::string text = pdfText(pdf);
    EXPECT_TRUE(std::regex_search(
        text, std::regex(std::string(R"((^|\n) *7 +)") + date + " +" + time + R"( +23\.5 +55\.0 *\n)")))
        << text;
    EXPECT_TRUE(std::regex_search(text, std::regex(R"((^|\n) *3 +\S+ +\S+ +E07 +)"))) << text;
}

TEST_F(PrintProgram, ReadingsWiderThanTheirFieldAreNeverCut) {
    fill(10, 3);
    vTemPtr[0] = -123.4;   // seven characters with its tab
    vTem2Ptr[0] = 10123.00001;
    vRhPtr[0] = 55.0;
    report("1");
    const std::vector<std::string> lines = printedRecordLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(26), "\t-123.4\t  E123\t 55.0\n");
}

TEST_F(PrintProgram, HeaderWithIdentifierOrFileName) {
    fill(18, 3);
    eSampleRate = 3725;
    eLength = 6;
    setEId("LOG-42");
    report("1");
    ASSERT_GE(rt::PrintedTexts().size(), 4u);
    EXPECT_EQ(rt::PrintedTexts()[0], " ID=LOG-42 \t\t\t\t\t\t12-10-2026 09:30:00\n");
    // the records held, not the readings the logger reported
    EXPECT_EQ(rt::PrintedTexts()[1], "\tSample Rate=01:02:05\tUnit=C\t 3 Records\n\n");

    rt::ClearPrinted();
    setEId("");
    std::snprintf(fileName, sizeof fileName, "%s", "/home/someone/Documents/Tavix/a-rather-long-name.txt");
    char shown[FILE_NAME_SHOWN_SIZE];
    FileNamePrintOut(shown, fileName);
    const std::string pdf = path("header.pdf");
    report("1", pdf);
    ASSERT_GE(rt::PrintedTexts().size(), 1u);
    EXPECT_EQ(rt::PrintedTexts()[0], std::string(" File: ") + shown + ";\t\t12-10-2026 09:30:00\n");
    const std::string text = pdfText(pdf);
    EXPECT_NE(text.find(std::string(shown) + ";"), std::string::npos) << text;
    // the line is wider than the page: narrowed, the time is still on it
    EXPECT_TRUE(std::regex_search(text, std::regex(R"(File: .*; +12-10-2026 +09:30:00)"))) << text;
    EXPECT_TRUE(std::regex_search(text, std::regex(R"(Sample Rate=01:02:05 +Unit=C +3 Records)"))) << text;
}

TEST_F(PrintProgram, ColumnHeaderOfEachModel) {
    struct {
        int model;
        const char *names;   // nullptr: none
        const char *rules;
    } cases[] = {
        {5, " INDEX\t   DATE\t\t  TIME\t\t Air \n", " =====\t==========\t========\t=====\n"},
        {18, " INDEX\t   DATE\t\t  TIME\t\t Air \t RH% \n", " =====\t==========\t========\t=====\t=====\n"},
        {9, " INDEX\t   DATE\t\t  TIME\t\t Air \tExt. \n", " =====\t==========\t========\t=====\t=====\n"},
        {11, " INDEX\t   DATE\t\t  TIME\t\t T1  \t T2  \n", " =====\t==========\t========\t=====\t=====\n"},
        {14, " INDEX\t   DATE\t\t  TIME\t\t T1  \t T2  \n", " =====\t==========\t========\t=====\t=====\n"},
        {10, " INDEX\t   DATE\t\t  TIME\t\t Air \tExt. \t RH% \n",
         " =====\t==========\t========\t=====\t=====\t=====\n"},
        {2, nullptr, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.model);
        rt::ClearPrinted();
        fill(c.model, 2);
        report("1");
        const std::vector<std::string> &texts = rt::PrintedTexts();
        ASSERT_EQ(texts.size(), c.names ? 5u : 3u);
        if (c.names) {
            EXPECT_EQ(texts[2], c.names);
            EXPECT_EQ(texts[3], c.rules);
        }
        EXPECT_EQ(std::count(texts.back().begin(), texts.back().end(), '\t'), 2 + loggerDataNum(c.model));
    }
}

TEST_F(PrintProgram, AReportOfManyPagesCarriesPageNumbers) {
    fill(5, 500);
    setEId("LOG-9");
    const std::string pdf = path("pages.pdf");
    report("1-500", pdf);
    const int pages = pdfPages(pdf);
    ASSERT_GE(pages, 2);
    std::vector<int> all;
    for (int page = 1; page <= pages; ++page) {
        const std::string text = pdfText(pdf, page, page);
        std::string last;
        for (const std::string &line : textLines(text))
            if (line.find_first_not_of(" \f") != std::string::npos) last = line;
        EXPECT_EQ(std::regex_replace(last, std::regex(R"(^\s+|\s+$)"), ""), std::to_string(page));
        const std::vector<int> numbers = recordNumbersIn(text);
        all.insert(all.end(), numbers.begin(), numbers.end());
        // every page begins with the column headings, before its first record
        const std::size_t headings = text.find("INDEX");
        EXPECT_NE(headings, std::string::npos) << "page " << page;
        EXPECT_LT(headings, text.find(std::to_string(numbers.empty() ? 0 : numbers.front()) + " ")) << "page " << page;
    }
    EXPECT_EQ(all, span(1, 500));
    EXPECT_EQ(pdfInfo(pdf, "Title"), "msg12: ID=LOG-9") << "the PDF names what it shows";
    double width = 0, height = 0;
    ASSERT_TRUE(pdfPageSize(pdf, width, height));
    EXPECT_LT(width, height) << "portrait";
}

// ---------------------------------------------------------------- no printer

TEST_F(PrintProgram, NoPrinterDeclinedShowsWhy) {
    rt::CapturePrinting(true, false);
    fill(18, 30);
    agent_.confirmAnswers = {false};
    report("1-30");
    EXPECT_EQ(agent_.count("confirm", msgPrintToPdf), 1);
    EXPECT_EQ(agent_.count("message"), 0) << "the question has said why; No ends there";
    EXPECT_EQ(agent_.count("file"), 0);
    EXPECT_TRUE(rt::PrintedTexts().empty());
}

TEST_F(PrintProgram, NoPrinterAcceptedWritesThePdf) {
    rt::CapturePrinting(true, false);
    fill(18, 30);
    const std::string pdf = path("offered.pdf");
    agent_.confirmAnswers = {true};
    agent_.fileAnswers = {pdf};
    report("1-30");
    EXPECT_EQ(recordNumbersIn(pdfText(pdf)), span(1, 30));
    EXPECT_EQ(pdfSaved(pdf), 1);
    EXPECT_EQ(messages("msg12", "msg13"), 0);
    // the file dialog starts in the default data folder and asks for a PDF
    ASSERT_EQ(agent_.count("file", msgPdfTitle), 1);
    for (const auto &s : agent_.shown)
        if (s.kind == "file") {
            EXPECT_EQ(s.text, std::string(std::getenv("HOME")) + "/Documents/Tavix");
        }
    // the next print asks again: the PDF was for this report only
    char target[256] = "x";
    GetPrintAttribute(ATTR_PRINT_PDF_FILE, target, sizeof target);
    EXPECT_STREQ(target, "");
    EXPECT_LT(GetPrintAttribute(ATTR_PRINTER_NAME, target, sizeof target), 0);
}

TEST_F(PrintProgram, NoPrinterAndTheFileDialogCancelledOrAReplacementRefused) {
    rt::CapturePrinting(true, false);
    fill(18, 30);
    agent_.confirmAnswers = {true};
    agent_.fileAnswers = {""};
    report("1-30");
    EXPECT_EQ(agent_.count("message"), 0);
    EXPECT_TRUE(rt::PrintedTexts().empty());

    const std::string pdf = path("kept.pdf");
    std::ofstream(pdf) << "an older file";
    agent_.clear();
    agent_.confirmAnswers = {true, false};   // save as PDF: yes; replace the file: no
    agent_.fileAnswers = {pdf};
    report("1-30");
    EXPECT_EQ(agent_.count("confirm", "warn21"), 1);
    EXPECT_EQ(agent_.count("message"), 0);
    std::ifstream in(pdf);
    std::string kept;
    std::getline(in, kept);
    EXPECT_EQ(kept, "an older file");
}

// ---------------------------------------------------------------- failures

TEST_F(PrintProgram, ThePdfCannotBeWritten) {
    fill(18, 30);
    report("1-30", path("no-such-folder/report.pdf"));
    EXPECT_EQ(messages("warn7", "The file cannot be written"), 1);
    EXPECT_EQ(messages("msg12", "msg13"), 0);
    EXPECT_TRUE(printedRecordLines().empty());
    EXPECT_EQ(status().find("msg12"), std::string::npos);
}

// The disk fills up in the middle of the report: the file size limit of the process stands
// in for it (writes beyond it fail with EFBIG instead of ending the process).
TEST_F(PrintProgram, ALineThatFailsStopsTheReport) {
    fill(5, 2000);
    const std::string pdf = path("full.pdf");
    {
        const FileSizeLimit limit(64 * 1024);
        report("1-2000", pdf);
    }
    EXPECT_EQ(messages("warn7", "The file cannot be written"), 1);
    EXPECT_EQ(pdfSaved(pdf), 0);
    // the progress stopped at the last line that went out
    const std::size_t printed = printedRecordLines().size();
    EXPECT_GT(printed, 0u);
    EXPECT_LT(printed, 2000u);
    EXPECT_EQ(status(), "msg12 #" + std::to_string(printed) + "\n");
    EXPECT_FALSE(fs::exists(pdf)) << "a broken PDF never reaches its name";
    // the next report starts a job of its own
    agent_.clear();
    report("1-3", pdf);
    EXPECT_EQ(recordNumbersIn(pdfText(pdf)), span(1, 3));
    EXPECT_EQ(pdfSaved(pdf), 1);
}

}   // namespace
