// tavix-cli retrieve and download --csv, run as processes: the summary and the CSV of each
// golden data file, a malformed file, files that are refused, outputs that cannot be written,
// the command line, and the CSV of a download compared with the CSV of its saved file.
#include <ctime>
#include <filesystem>

#include "../files/DateOrderCases.h"
#include "CaseName.h"
#include "Programs.h"
#include "TableFixture.h"

namespace fs = std::filesystem;

namespace {

using programs::lines;
using programs::Outcome;

const std::string kBin = TAVIX_BIN_DIR;

class CliRetrieve : public TableProgram {
protected:
    void SetUp() override {
        TableProgram::SetUp();
        runs_ = dir_ / "runs";
        fs::create_directories(runs_);
    }
    Outcome cli(const std::vector<std::string> &args, const std::vector<std::string> &env = {}) {
        return programs::cli(args, runs_, env);
    }
    // A program folder of the user's: the shipped texts and preferences, dates read in the
    // order given ("D-M-Y").
    fs::path appFolder(const std::string &dateFormat) const {
        const fs::path app = dir_ / "app";
        fs::create_directories(app);
        fs::copy_file(fs::path(kBin) / "English.ini", app / "English.ini");
        std::string prefs = readText(kBin + "/localORM.ini");
        prefs.replace(prefs.find("Date Format = Y-M-D"), 19, "Date Format = " + dateFormat);
        std::ofstream(app / "localORM.ini") << prefs;
        return app;
    }
    fs::path runs_;
};

// ---------------------------------------------------------------- the golden files

struct SummaryCase {
    const char *file;
    std::vector<std::string> summary;
};

void PrintTo(const SummaryCase &c, std::ostream *os) { *os << c.file; }

class RetrieveGolden : public CliRetrieve, public ::testing::WithParamInterface<SummaryCase> {};

TEST_P(RetrieveGolden, PrintsWhatWasLoadedAndWritesTheGoldenCsv) {
    const SummaryCase &c = GetParam();
    const std::string data = fixture(std::string(c.file) + ".txt");
    const std::string golden = readText(fixture(std::string(c.file) + ".csv"));

    Outcome r = cli({"retrieve", data});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines(r.out), c.summary);
    EXPECT_NE(r.err.find("Retrieve File: " + data), std::string::npos) << r.err;

    const std::string out = path(std::string(c.file) + ".csv");
    r = cli({"retrieve", data, "--csv", out});
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<std::string> expected = c.summary;
    expected.push_back("CSV saved to " + out);
    EXPECT_EQ(lines(r.out), expected);
    EXPECT_EQ(readText(out), golden);

    // to standard output, the summary then on standard error; the same under a German locale
    r = cli({"retrieve", data, "--csv", "-"}, {"LC_ALL=de_DE.UTF-8"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, golden);
    EXPECT_NE(r.err.find(c.summary[0] + "\n"), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Files, RetrieveGolden,
    ::testing::Values(SummaryCase{"model06",
                                  {"Model:         4133 (index 6)", "Identifier:    LOG-42", "Interval:      00:01:30",
                                   "Unit:          C", "Records held:  8", "First record:  2026-12-01 08:00:00",
                                   "Last record:   2026-12-01 08:10:30"}},
                      SummaryCase{"model19",
                                  {"Model:         4181 (index 19)", "Identifier:    ", "Interval:      01:02:05",
                                   "Unit:          F", "Records held:  5", "First record:  2026-12-01 08:00:00",
                                   "Last record:   2026-12-01 12:08:20"}},
                      SummaryCase{"model09",
                                  {"Model:         4141 (index 9)", "Identifier:    TWIN", "Interval:      12:00:00",
                                   "Unit:          C", "Records held:  3", "First record:  2026-12-01 08:00:00",
                                   "Last record:   2026-12-02 08:00:00"}},
                      SummaryCase{"model14",
                                  {"Model:         41670 (index 14)", "Identifier:    PROBE-2",
                                   "Interval:      00:00:10", "Unit:          F", "Records held:  4",
                                   "First record:  2026-12-31 23:59:50", "Last record:   2027-01-01 00:00:20"}},
                      // "100:00:00" has no colon in third place: the reader takes 100 seconds
                      SummaryCase{"model10",
                                  {"Model:         4143 (index 10)", "Identifier:    ZONE", "Interval:      00:01:40",
                                   "Unit:          C", "Records held:  3", "First record:  2026-12-01 08:00:00",
                                   "Last record:   2026-12-09 16:00:00"}}),
    [](const auto &info) { return caseName(info.param.file); });

// ---------------------------------------------------------------- bad input

// Today's date as the CSV writes it.
std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

TEST_F(CliRetrieve, AMalformedFileIsReadAsTheProgramReadsIt) {
    const Outcome r = cli({"retrieve", fixture("malformed.txt"), "--csv", "-"});
    EXPECT_EQ(r.status, 0) << r.err;
    // no model line: index 1; "10sec.": 10 seconds; record numbers 0 and 99999 refused; the
    // date of record 3 reads in no order, so the records are dated from today's midnight, one
    // interval apart; the first line that is no record ends them
    const std::string day = today();
    EXPECT_EQ(r.out, "Record,Time,Temperature (°C)\n1," + day + " 00:00:00,21.5\n2," + day + " 00:00:10,\n3," + day +
                         " 00:00:20,22.0\n");
    for (const std::string line :
         {std::string("Model:         41217 (index 1)\n"), std::string("Interval:      00:00:10\n"),
          std::string("Records held:  3\n"), "Last record:   " + day + " 00:00:20\n",
          std::string("tavix-cli: 2 record lines were not stored"),
          std::string("tavix-cli: The dates of the file could not be read; records dated from today. First unread "
                      "record: 3\n")})
        EXPECT_NE(r.err.find(line), std::string::npos) << line << r.err;
}

// A file without a record line (a shopping list) is refused: status 6, the reason, no output.
TEST_F(CliRetrieve, AFileWithoutRecordLinesIsRefused) {
    const std::string notes = path("notes.txt");
    std::ofstream(notes) << "Shopping\n2 apples\n1 kg flour\nmilk\n";
    const Outcome r = cli({"retrieve", notes, "--csv", "-"});
    EXPECT_EQ(r.status, 6);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("tavix-cli: " + notes + ": This is not a Tavix data file: it has no record line."),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("Model:"), std::string::npos) << r.err;
}

// The date-order cases through tavix-cli, each under its own preference.
class CliDateOrder : public CliRetrieve, public ::testing::WithParamInterface<DateOrderCase> {};

TEST_P(CliDateOrder, TheCsvCarriesTheRecordTimesOfTheFilesOrder) {
    const DateOrderCase &c = GetParam();
    const char *formats[] = {"M-D-Y", "D-M-Y", "Y-M-D"};
    const fs::path app = appFolder(formats[c.preference]);
    const std::string data = path("order.txt");
    std::ofstream(data) << dateOrderFile(c);

    const Outcome r = cli({"--app-dir", app.string(), "retrieve", data, "--csv", "-"});
    EXPECT_EQ(r.status, 0) << r.err;
    std::string want = "Record,Time,Temperature (°C)\n";
    for (std::size_t i = 0; i < c.records.size(); ++i) {
        char time[16];
        std::snprintf(time, sizeof time, " %02zu:%02zu:00", i / 60, i % 60);   // one minute apart from midnight
        const std::string at = c.expected.empty() ? today() + time : c.expected[i];
        want += std::to_string(i + 1) + "," + at + ",20.5\n";
    }
    EXPECT_EQ(r.out, want);
    // the warning only for dates that fit no order, naming the first record that did not read
    EXPECT_EQ(r.err.find("First unread record:") != std::string::npos, c.expected.empty()) << r.err;
    if (c.expected.empty())
        EXPECT_NE(r.err.find("First unread record: " + std::to_string(c.firstUnread) + "\n"), std::string::npos)
            << r.err;
}

INSTANTIATE_TEST_SUITE_P(Files, CliDateOrder, ::testing::ValuesIn(dateOrderCases()),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(CliRetrieve, FilesThatCannotBeReadAreRefused) {
    const std::string missing = path("missing.txt");
    Outcome r = cli({"retrieve", missing, "--csv", path("out.csv")});
    EXPECT_EQ(r.status, 6);
    EXPECT_NE(r.err.find("File Open Error! : " + missing), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(fs::exists(path("out.csv")));

    r = cli({"retrieve", dir_.string()});
    EXPECT_EQ(r.status, 6);
    EXPECT_NE(r.err.find("File Open Error! : " + dir_.string()), std::string::npos) << r.err;

    const std::string tooLong = path(std::string(300, 'x') + ".txt");
    r = cli({"retrieve", tooLong});
    EXPECT_EQ(r.status, 6);
    EXPECT_NE(r.err.find("The data file cannot be opened: " + tooLong), std::string::npos) << r.err;
}

TEST_F(CliRetrieve, ACsvThatCannotBeWrittenEndsWith4) {
    const std::string out = path("no-such-folder/out.csv");
    const Outcome r = cli({"retrieve", fixture("model06.txt"), "--csv", out});
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find("The data file cannot be written: " + out), std::string::npos) << r.err;
}

TEST_F(CliRetrieve, BadCommandLinesAreRefused) {
    const std::vector<std::vector<std::string>> cases = {
        {"retrieve"},
        {"retrieve", "a.txt", "b.txt"},
        {"retrieve", "a.txt", "--csv"},
        {"retrieve", "a.txt", "--chart", "c.png"},
        {"--port", "2", "retrieve", "a.txt"},
        {"--device", "/dev/null", "retrieve", "a.txt"},
        {"identify", "--csv", "out.csv"},
        {"download", "a.txt", "--csv", "-"},
    };
    for (const auto &args : cases) {
        const Outcome r = cli(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(r.err.find("see --help"), std::string::npos) << r.err;
    }
    const Outcome help = cli({"--help"});
    for (const char *word : {"retrieve DATAFILE", "--csv OUT.csv|-", "--csv OUT.csv", "6  the data file"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
}

TEST_F(CliRetrieve, TheProgramFolderIsOnlyRead) {
    // a folder whose preferences read dates day first
    const fs::path app = appFolder("D-M-Y");
    const std::string data = path("dmy.txt");
    std::ofstream(data) << "   #6\nDate: 10-12-2026\nID= DMY\nSample_Rate= 00:01:00\nTotal_Records= 1\nUnit: C\n"
                           "    1  13-12-2026 08:00:00   21.5 \n";

    const Outcome r = cli({"--app-dir", app.string(), "retrieve", data});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("First record:  13-12-2026 08:00:00\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.err.find("serial port"), std::string::npos) << r.err;
    std::vector<std::string> names;
    for (const auto &e : fs::directory_iterator(app)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"English.ini", "localORM.ini"}));
}

// ---------------------------------------------------------------- download --csv

TEST_F(CliRetrieve, ADownloadsCsvIsTheCsvOfItsDataFile) {
    const std::string data = path("download.txt"), csv = path("download.csv");
    Outcome r;
    {
        const programs::SimProcess sim(
            {"--model", "4143", "--records", "30", "--errors", "--baud", "38400", "--start", "2026-12-01 08:00:00"},
            runs_);
        ASSERT_FALSE(sim.device().empty());
        r = cli({"--device", sim.device(), "download", data, "--csv", csv});
    }
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("CSV saved to " + csv), std::string::npos) << r.out;

    const Outcome again = cli({"retrieve", data, "--csv", "-"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(readText(csv), again.out);
    EXPECT_EQ(lines(again.out).size(), 31u);
    EXPECT_EQ(lines(again.out)[1].substr(0, 22), "1,2026-12-01 08:00:00,");
}

}   // namespace
