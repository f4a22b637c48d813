// tavix-cli report and chart end to end: the real tavix-cli run as a process on a golden data
// file, its PDF and picture read back with poppler's tools, and its refusals.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "PdfCheck.h"
#include "Programs.h"
#include "TestFolder.h"

namespace {

namespace fs = std::filesystem;
using programs::Outcome;
using programs::readFile;

const std::string kGolden = std::string(TAVIX_CLI_FIXTURES) + "/report.txt";   // 120 records of model 18

// The words of a line, blanks and tabs of any length between them.
std::vector<std::string> words(const std::string &line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// The record lines of a text as their words: lines that begin with a number and a date.
std::vector<std::vector<std::string>> recordWords(const std::string &text) {
    std::vector<std::vector<std::string>> out;
    const std::regex record(R"(^\s*[0-9]+\s+[0-9]{4}-[0-9]{2}-[0-9]{2}\s)");
    for (const std::string &line : textLines(text))
        if (std::regex_search(line, record)) out.push_back(words(line));
    return out;
}

class CliPrint : public ::testing::Test {
protected:
    void SetUp() override { dir_ = makeTestFolder("tavix-cli-print"); }
    void TearDown() override { fs::remove_all(dir_); }
    Outcome run(const std::vector<std::string> &args) { return programs::cli(args, dir_); }
    fs::path dir_;
};

TEST_F(CliPrint, ReportOfEveryRecord) {
    const std::string sample = std::string(TAVIX_SOURCE_DIR) + "/docs/sample-recording.txt";
    struct Case {
        const char *name;
        std::string file;
        std::size_t records;
        const char *heading;   // the file line and the sample rate line, with the records held
        const char *columns;
        const char *title;   // part of the PDF's title
    } cases[] = {
        {"two channels with errors", kGolden, 120,
         R"(File: .*report\.txt;[\s\S]*Sample +Rate=00:10:00 +Unit=C +120 +Records)", R"(INDEX +DATE +TIME +Air +RH%)",
         "report.txt"},
        // three readings to a record: the heading counts the records, not the readings
        {"the shipped sample", sample, 1440,
         R"(File: .*sample-recording\.txt;[\s\S]*Sample +Rate=00:01:00 +Unit=C +1440 +Records)",
         R"(INDEX +DATE +TIME +Air +Ext\. +RH%)", "sample-recording.txt"},
    };
    for (const Case &c : cases) {
        const std::string pdf = (dir_ / "report.pdf").string();
        const Outcome r = run({"report", c.file, pdf});
        ASSERT_EQ(r.status, 0) << c.name << "\n" << r.err;
        EXPECT_NE(r.out.find("report saved to " + pdf), std::string::npos) << r.out;
        EXPECT_EQ(r.err.find("sent to the printer"), std::string::npos) << r.err;
        // the toolkit's remarks about hidden windows are not the user's business
        for (const char *remark : {"propagateSizeHints", "XDG_RUNTIME_DIR"})
            EXPECT_EQ(r.err.find(remark), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("saved as a PDF file: " + pdf), std::string::npos) << r.err;
        const std::string text = pdfText(pdf);
        // every record line of the data file, word for word (errors as E05, in the file's order)
        EXPECT_EQ(recordWords(text), recordWords(readFile(c.file))) << c.name;
        EXPECT_EQ(recordWords(text).size(), c.records) << c.name;
        // the heading of the first page (std::regex would recurse through the whole report)
        const std::string top = text.substr(0, 400);
        EXPECT_TRUE(std::regex_search(top, std::regex(c.heading))) << c.name << "\n" << top;
        EXPECT_TRUE(std::regex_search(top, std::regex(c.columns))) << c.name << "\n" << top;
        EXPECT_GE(pdfPages(pdf), 2) << c.name;
        // the records go on on the second page, under the column headings again
        const std::string second = pdfText(pdf, 2, 2);
        EXPECT_FALSE(recordWords(second).empty()) << c.name;
        EXPECT_TRUE(std::regex_search(second.substr(0, 400), std::regex(c.columns))) << c.name;
        EXPECT_NE(pdfInfo(pdf, "Title").find(c.title), std::string::npos) << pdfInfo(pdf, "Title");
    }
}

TEST_F(CliPrint, ReportOfARange) {
    const std::string pdf = (dir_ / "range.pdf").string();
    const Outcome r = run({"report", kGolden, pdf, "--range", "10-20"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto all = recordWords(readFile(kGolden));
    EXPECT_EQ(recordWords(pdfText(pdf)), std::vector<std::vector<std::string>>(all.begin() + 9, all.begin() + 20));
}

TEST_F(CliPrint, ChartAsPictureAndAsVectorPdf) {
    const std::string png = (dir_ / "chart.png").string();
    Outcome r = run({"chart", kGolden, png});
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage picture(QString::fromStdString(png));
    EXPECT_EQ(picture.size(), QSize(830, 430));
    EXPECT_GT(inkShare(picture), 0.02);

    const std::string pdf = (dir_ / "chart.pdf").string();
    r = run({"chart", kGolden, pdf});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(pdfPages(pdf), 1);
    double width = 0, height = 0;
    ASSERT_TRUE(pdfPageSize(pdf, width, height));
    EXPECT_NEAR(width, 841.89, 1.0);   // A4 landscape
    EXPECT_NEAR(height, 595.28, 1.0);
    // headed by the file and the first and last record's times, as text
    const std::string dateTime = "[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}";
    EXPECT_TRUE(std::regex_search(pdfText(pdf), std::regex(R"(report\.txt\s+)" + dateTime + " - " + dateTime)))
        << pdfText(pdf);
    EXPECT_GT(inkShare(pdfPageImage(pdf, (dir_ / "chart-page").string())), 0.02);
    // vector graphics: no picture inside, and the axis labels are text
    const std::string images = commandOutput("pdfimages -list " + shellQuoted(pdf) + " 2>/dev/null");
    EXPECT_EQ(textLines(images).size(), 2u) << images;   // the list's two heading lines only
    EXPECT_TRUE(std::regex_search(pdfText(pdf), std::regex("[0-9]"))) << pdfText(pdf);
}

TEST_F(CliPrint, Refusals) {
    const std::string missing = (dir_ / "missing.txt").string();
    const std::string folderless = (dir_ / "no-such-folder" / "out.pdf").string();
    const std::string pdf = (dir_ / "out.pdf").string();
    const std::string notData = (dir_ / "not-data.txt").string();
    std::ofstream(notData) << "just some text\n";
    struct Case {
        const char *name;
        std::vector<std::string> args;
        int status;
        const char *says;   // on standard error
    } cases[] = {
        {"no data file", {"report", missing, pdf}, 6, "no record could be read"},
        {"not a data file", {"chart", notData, (dir_ / "c.png").string()}, 6, "no record could be read"},
        {"a range without records", {"report", kGolden, pdf, "--range", "x"}, 7, "names no record"},
        {"a folder that does not exist", {"report", kGolden, folderless}, 4, "The file cannot be written"},
        {"report to a text file", {"report", kGolden, (dir_ / "out.txt").string()}, 2, "writes a .pdf file"},
        {"chart to a JPEG", {"chart", kGolden, (dir_ / "c.jpg").string()}, 2, "writes a .png or a .pdf file"},
        {"report without output", {"report", kGolden}, 2, "takes DATAFILE and OUT.pdf"},
        {"range for a chart", {"chart", kGolden, pdf, "--range", "1-2"}, 2, "--range belongs to report"},
        {"range for download", {"download", "a.txt", "--range", "1-2"}, 2, "--range belongs to report"},
    };
    for (const Case &c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.name << "\n" << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.name << "\n" << r.err;
    }
    EXPECT_FALSE(fs::exists(pdf));
}

TEST_F(CliPrint, NoPortIsOpenedOrSearched) {
    // a fresh program folder: nothing about a port is said, the state file stays in it
    const std::string pdf = (dir_ / "quiet.pdf").string();
    const Outcome r = run({"report", kGolden, pdf, "--range", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.find("serial port"), std::string::npos) << r.err;
    // a program folder of the user's whose port was never chosen is only read
    const fs::path own = dir_ / "own";
    fs::create_directories(own);
    const Outcome mine = run({"--app-dir", own.string(), "report", kGolden, pdf});
    EXPECT_EQ(mine.status, 0) << mine.err;
    EXPECT_FALSE(fs::exists(own / "Tavix.ini"));
}

}   // namespace
