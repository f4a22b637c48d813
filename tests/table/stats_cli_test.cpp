// tavix-cli stats end to end: the real tool as a process on data files written here, checked by
// its lines, its exit status and what it leaves behind. The numbers are worked out by hand.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CaseName.h"
#include "Programs.h"
#include "TestFolder.h"

namespace {

namespace fs = std::filesystem;
using programs::Outcome;
using programs::readFile;

const std::string kBin = TAVIX_BIN_DIR;

void writeFile(const fs::path &path, const std::string &text) { std::ofstream(path, std::ios::binary) << text; }

// One record line of a data file: number, date and time (year-month-day, as the shipped
// preferences read them), then one value field per channel ("E05" is a sensor error).
std::string record(int number, const std::vector<std::string> &values) {
    char head[64];
    std::snprintf(head, sizeof head, "%5d  2026-12-01 %02d:%02d:00 ", number, 8 + number / 60, number % 60);
    std::string line = head;
    for (const std::string &v : values)
        line += " " + std::string(5 - std::min<std::size_t>(v.size(), 5), ' ') + v + " ";
    return line + "\n";
}

std::string header(int model, char unit, int records) {
    return "   #" + std::to_string(model) +
           "\nDate: 2026-12-02\nID= \nSample_Rate= 00:01:00\nTotal_Records= " + std::to_string(records) +
           "\nUnit: " + unit + "\n";
}

class StatsCli : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = makeTestFolder("tavix-stats-cli");

        // one temperature in degrees C: 20.0 and 30.0 in turn, then an error and 10000.0,
        // which the statistics leave out
        std::string one = header(15, 'C', 22);
        for (int i = 1; i <= 20; ++i) one += record(i, {i % 2 ? "20.0" : "30.0"});
        one += record(21, {"E05"}) + record(22, {"10000.0"});
        writeFile(dir_ / "one.txt", one);

        // three channels in degrees F: 68 and 86 in turn, a steady 50, humidity 40 to 59
        std::string three = header(10, 'F', 60);
        for (int i = 1; i <= 20; ++i)
            three += record(i, {i % 2 ? "68.0" : "86.0", "50.0", std::to_string(39 + i) + ".0"});
        writeFile(dir_ / "three.txt", three);
        writeFile(dir_ / "empty.txt", "");
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs tavix-cli with @ in an argument standing for the test's folder.
    Outcome cli(std::vector<std::string> args) const {
        for (std::string &a : args)
            if (a.rfind('@', 0) == 0) a = (dir_ / a.substr(1)).string();
        return programs::cli(args, dir_);
    }

    fs::path dir_;
};

// ---------------------------------------------------------------- what it prints

struct PrintCase {
    const char *name;
    std::vector<std::string> args;
    std::string out;
};

const char kCleared[] = "Temperature (°C): max=0.00 min=0.00 mean=0.00 sd=0.00 n=0 mkt=-\n";

const PrintCase kPrints[] = {
    // sd: ten deviations of 5 each way, sqrt(500 / 19); mkt of 20 and 30 degrees in equal parts
    {"every record",
     {"stats", "@one.txt"},
     "Temperature (°C): max=30.00 min=20.00 mean=25.00 sd=5.13 n=20 mkt=26.26\n"},
    // records 3 to 12: five of each, sqrt(250 / 9)
    {"records 3 to 12",
     {"stats", "@one.txt", "--from", "3", "--to", "12"},
     "Temperature (°C): max=30.00 min=20.00 mean=25.00 sd=5.27 n=10 mkt=26.26\n"},
    {"nine values give zeros", {"stats", "@one.txt", "--from", "3", "--to", "11"}, kCleared},
    // records 13 to 22: eight measurements, the error and 10000.0
    {"from 13 to the end", {"stats", "@one.txt", "--from", "13"}, kCleared},
    {"up to 12",
     {"stats", "@one.txt", "--to", "12"},
     "Temperature (°C): max=30.00 min=20.00 mean=25.00 sd=5.22 n=12 mkt=26.26\n"},
    {"beyond the records held",
     {"stats", "@one.txt", "--from", "1", "--to", "100"},
     "Temperature (°C): max=30.00 min=20.00 mean=25.00 sd=5.13 n=20 mkt=26.26\n"},
    // 68 and 86 F are 20 and 30 C; humidity has no kinetic temperature
    {"three channels in F",
     {"stats", "@three.txt"},
     "Temperature (°F): max=86.00 min=68.00 mean=77.00 sd=9.23 n=20 mkt=79.27\n"
     "Ext. temperature (°F): max=50.00 min=50.00 mean=50.00 sd=0.00 n=20 mkt=50.00\n"
     "Humidity (%RH): max=59.00 min=40.00 mean=49.50 sd=5.92 n=20\n"},
};

class Prints : public StatsCli, public ::testing::WithParamInterface<PrintCase> {};

TEST_P(Prints, OneLinePerChannel) {
    const PrintCase &c = GetParam();
    const Outcome r = cli(c.args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out) << r.err;
    // no logger is looked for, so the port's absence is no news
    EXPECT_EQ(r.err.find("serial port"), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(StatsCli, Prints, ::testing::ValuesIn(kPrints),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(StatsCli, ARangeBeyondTheRecordsIsSaid) {
    const Outcome r = cli({"stats", "@one.txt", "--to", "100"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("holds 22 records"), std::string::npos) << r.err;
}

// The user's folder gives the language; nothing is written there and no port is looked for.
TEST_F(StatsCli, TheAppDirGivesTheLanguageAndIsLeftAsItWas) {
    const fs::path app = dir_ / "app";
    fs::create_directories(app);
    writeFile(app / "localORM.ini", "[General]\nDate Format = Y-M-D\nLanguage File = German.ini\n");
    fs::copy_file(kBin + "/German.ini", app / "German.ini");
    const Outcome r = cli({"--app-dir", app.string(), "stats", "@one.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Temperatur (°C): max=30.00", 0), 0u) << r.out;
    EXPECT_EQ(r.err.find("Schnittstelle"), std::string::npos) << r.err;
    int files = 0;
    for ([[maybe_unused]] const auto &entry : fs::directory_iterator(app)) ++files;
    EXPECT_EQ(files, 2);   // no state file, no settings file
}

TEST_F(StatsCli, APictureOfTheWindow) {
    Outcome r = cli({"stats", "@three.txt", "--picture", "@stats.png"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(dir_ / "stats.png").substr(1, 3), "PNG");
    r = cli({"stats", "@three.txt", "--picture", "@no-such-folder/stats.png"});
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find("cannot be written"), std::string::npos) << r.err;
}

// ---------------------------------------------------------------- what it refuses

struct RefusedCase {
    const char *name;
    std::vector<std::string> args;
    int status;
    const char *said;   // on standard error
};

const RefusedCase kRefused[] = {
    {"no such file", {"stats", "@missing.txt"}, 6, "File Open Error"},
    {"a folder", {"stats", "@"}, 6, "File Open Error"},
    {"no records", {"stats", "@empty.txt"}, 6, "no records"},
    {"no file", {"stats"}, 2, "one data FILE"},
    {"two files", {"stats", "@one.txt", "@three.txt"}, 2, "one data FILE"},
    {"record 0", {"stats", "@one.txt", "--from", "0"}, 2, "record number"},
    {"not a number", {"stats", "@one.txt", "--to", "12x"}, 2, "record number"},
    {"range backwards", {"stats", "@one.txt", "--from", "5", "--to", "3"}, 2, "--from"},
    {"a chart", {"stats", "@one.txt", "--chart", "@c.png"}, 2, "--chart"},
    {"a port", {"--port", "5", "stats", "@one.txt"}, 2, "no logger"},
    {"a range for identify", {"identify", "--from", "3"}, 2, "belong to stats"},
    {"a picture for download", {"download", "@d.txt", "--picture", "@p.png"}, 2, "belong to stats"},
};

class Refused : public StatsCli, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(Refused, WithItsExitStatusAndWhy) {
    const RefusedCase &c = GetParam();
    const Outcome r = cli(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

INSTANTIATE_TEST_SUITE_P(StatsCli, Refused, ::testing::ValuesIn(kRefused),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(StatsCli, HelpNamesTheCommand) {
    const Outcome r = cli({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char *word : {"stats FILE", "--from N", "--to M", "--picture", "mkt="})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
}

}   // namespace
