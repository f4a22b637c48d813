// tavix-cli and the archive end to end: the real tavix-cli and tavix-sim as processes, each test
// with its own program folder and archive. Downloads kept, files verified, the trail printed and
// its chain checked after an entry was edited with the sqlite3 shell, and two processes filling
// one archive at once.
#include <gtest/gtest.h>

#include <sys/types.h>

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

class ArchiveCli : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = makeTestFolder("tavix-archive-cli");
        app_ = dir_ / "app";
        fs::create_directories(app_);
        for (const char *shipped : {"localORM.ini", "English.ini"})
            fs::copy_file(fs::path(programs::binDir()) / shipped, app_ / shipped);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // tavix-cli with the test's program folder (and so its archive).
    Outcome cli(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--app-dir", app_.string()});
        return programs::cli(args, dir_);
    }
    Outcome download(const programs::SimProcess &logger, const std::string &file) const {
        return cli({"--device", logger.device(), "download", (dir_ / file).string()});
    }
    fs::path archiveFile() const { return app_ / "TavixArchive.db"; }
    std::string path(const std::string &name) const { return (dir_ / name).string(); }
    static bool has(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

    fs::path dir_, app_;
};

// A data file of three records of a one-channel logger.
std::string dataFile(const std::string &id, int day) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "   #10\nDate: 2026-12-11\nID= %s\nSample_Rate= 00:01:00\nTotal_Records= 3\nUnit: C\n"
                  "    1  2026-11-%02d 08:00:00   21.5 \n    2  2026-11-%02d 08:01:00   21.6 \n"
                  "    3  2026-11-%02d 08:02:00   21.7 \n",
                  id.c_str(), day, day, day);
    return text;
}

TEST_F(ArchiveCli, ADownloadIsArchivedWithEveryRecordOnce) {
    const programs::SimProcess logger({"--id", "CLI-A", "--records", "300", "--start", "2026-12-01 08:00:00"}, dir_);
    ASSERT_FALSE(logger.device().empty());
    const Outcome first = download(logger, "first.txt");
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_TRUE(has(first.out, "archived as recording 1")) << first.out;

    const Outcome shown = cli({"archive", "show", "1"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_TRUE(has(shown.out, "Identifier:    CLI-A")) << shown.out;
    EXPECT_TRUE(has(shown.out, "Records:       300")) << shown.out;
    EXPECT_TRUE(has(shown.out, "Complete:      yes")) << shown.out;
    // the original data file is the one Save File wrote
    const Outcome exported = cli({"archive", "export", "1", path("exported.txt")});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(programs::readFile(path("exported.txt")), programs::readFile(path("first.txt")));

    const Outcome again = download(logger, "again.txt");
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_TRUE(has(again.out, "already in the archive (recording 1)")) << again.out;
    const Outcome list = cli({"archive", "list", "--logger", "CLI-A", "--from", "2026-12-01", "--to", "2026-12-02"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_TRUE(has(list.out, "\n1 recordings\n")) << list.out;
    EXPECT_TRUE(has(cli({"archive", "list", "--from", "2026-12-02"}).out, "\n0 recordings\n"));
}

// Words that do not fit archive, verify or audit are a bad command line, refused before the
// program starts; the help names the commands.
TEST_F(ArchiveCli, BadWordsAreRefusedAndTheHelpNamesTheCommands) {
    const std::vector<std::vector<std::string>> cases = {
        {"archive"},
        {"archive", "show", "x"},
        {"archive", "export", "1"},
        {"archive", "remove", "1"},
        {"archive", "list", "--from", "2026-13-01"},
        {"archive", "list", "--verify"},
        {"verify"},
        {"verify", "a.txt", "b.txt"},
        {"audit", "--logger", "X"},
        {"audit", "--from", "2026-12-02", "--to", "2026-12-01"},
    };
    for (const auto &args : cases) {
        const Outcome r = cli(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args) << r.err;
    }
    const Outcome help = cli({"--help"});
    for (const char *word : {"archive list", "verify DATAFILE", "audit [--from DATE]", "--no-archive", "  14 "})
        EXPECT_TRUE(has(help.out, word)) << word;
}

// An archive that cannot be opened costs nothing of the download: it is saved, the warning says
// why it was not archived, and the status says so.
TEST_F(ArchiveCli, ADownloadWithoutItsArchiveIsSavedAndSaysSo) {
    const programs::SimProcess logger({"--id", "CLI-B", "--records", "40"}, dir_);
    ASSERT_FALSE(logger.device().empty());
    const std::string file = path("kept.txt");
    const Outcome r = cli({"--archive", "/proc/no/such/archive.db", "--device", logger.device(), "download", file});
    EXPECT_EQ(r.status, 14) << r.err;
    EXPECT_TRUE(has(r.out, "40 records saved to " + file)) << r.out;
    EXPECT_TRUE(has(r.err, programs::englishText("msgArchiveUnopened"))) << r.err;
    EXPECT_EQ(programs::lines(programs::readFile(file)).size(), 6u + 40u);
}

// ---------------------------------------------------------------- verify

struct VerifyCase {
    const char *name;
    const char *file;                 // the file verified: "saved", "changed" or "unknown"
    std::vector<std::string> extra;   // options before the command
    bool archiveOff;                  // the preferences switch the archive off
    int status;
    const char *said;   // in the output
};

class Verify : public ArchiveCli, public ::testing::WithParamInterface<VerifyCase> {};

TEST_P(Verify, ComparesTheFileWithTheArchive) {
    const VerifyCase &c = GetParam();
    {
        const programs::SimProcess logger({"--id", "VER-1", "--records", "20", "--start", "2026-12-01 08:00:00"}, dir_);
        ASSERT_EQ(download(logger, "saved.txt").status, 0);
    }
    // record 5's value one tenth higher; and a logger the archive never saw
    std::vector<std::string> lines = programs::lines(programs::readFile(path("saved.txt")));
    std::string &record5 = lines[6 + 4];
    const std::size_t dot = record5.find('.');
    record5[dot + 1] = record5[dot + 1] == '9' ? '8' : static_cast<char>(record5[dot + 1] + 1);
    std::ofstream changed(path("changed.txt"));
    for (const std::string &l : lines) changed << l << "\n";
    changed.close();
    std::ofstream(path("unknown.txt")) << dataFile("NEW-1", 3);
    if (c.archiveOff) {
        std::string prefs = programs::readFile(app_ / "localORM.ini");
        prefs.replace(prefs.find("Archive = ON"), 12, "Archive = OFF");
        std::ofstream(app_ / "localORM.ini") << prefs;
    }

    std::vector<std::string> args = c.extra;
    args.insert(args.end(), {"verify", path(std::string(c.file) + ".txt")});
    const Outcome r = cli(args);
    EXPECT_EQ(r.status, c.status) << r.out << r.err;
    EXPECT_TRUE(has(r.out + r.err, c.said)) << r.out << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Archive, Verify,
    ::testing::Values(VerifyCase{"original", "saved", {}, false, 0, "original, downloaded from VER-1 on 20"},
                      VerifyCase{"one value changed",
                                 "changed",
                                 {},
                                 false,
                                 12,
                                 "changed: record 5 differs from the archived copy (temperature)"},
                      VerifyCase{"not archived", "unknown", {}, false, 13, "not in the archive"},
                      VerifyCase{"no archive", "saved", {"--no-archive"}, false, 14, "no archive is used"},
                      VerifyCase{"archive switched off", "saved", {}, true, 14, "switched off"},
                      VerifyCase{"archive that does not open",
                                 "saved",
                                 {"--archive", "/proc/no/archive.db"},
                                 false,
                                 14,
                                 "the archive cannot be opened"}),
    [](const auto &info) { return caseName(info.param.name); });

// ---------------------------------------------------------------- the trail

TEST_F(ArchiveCli, TheTrailNotesTheActionsAndNamesAnEntryEditedByHand) {
    const programs::SimProcess logger({"--id", "OLD-ID", "--records", "10"}, dir_);
    ASSERT_EQ(download(logger, "trail.txt").status, 0);
    ASSERT_EQ(cli({"--device", logger.device(), "set-clock", "2026-12-11 10:00:00"}).status, 0);
    ASSERT_EQ(cli({"--device", logger.device(), "set-id", "NEW-ID", "--sleep", "on"}).status, 0);

    const Outcome trail = cli({"audit", "--verify"});
    ASSERT_EQ(trail.status, 0) << trail.out << trail.err;
    for (const std::string &noted :
         {std::string("  download  logger #"), "  save  " + path("trail.txt") + "; sha256 ",
          std::string("  clock  logger clock -> 2026-12-11 10:00:00"),
          std::string("  identifier  identifier OLD-ID -> NEW-ID; sleep mode -> on"),
          std::string("The audit trail is whole: 4 entries"), std::string("Chain head:    4 ")})
        EXPECT_TRUE(has(trail.out, noted)) << noted << "\n" << trail.out;

    // an entry's details rewritten behind the program's back
    const Outcome edit = programs::run({"/usr/bin/sqlite3", archiveFile().string(),
                                        "UPDATE audit SET details = 'nothing happened' WHERE sequence = 3"},
                                       dir_);
    ASSERT_EQ(edit.status, 0) << edit.err;
    const Outcome broken = cli({"audit", "--verify"});
    EXPECT_EQ(broken.status, 12) << broken.out << broken.err;
    EXPECT_TRUE(has(broken.out, "The audit trail is broken: entry 3 was changed")) << broken.out;
}

// ---------------------------------------------------------------- two processes at once

// Two streams of tavix-cli processes fill one archive at once: 50 imports each and a download
// from a logger of their own. Every recording is there once. A long run: CTest runs it as
// archive_cli_load (label load), not with the other cases.
TEST_F(ArchiveCli, DISABLED_TwoProcessesFillingOneArchiveLoseNothing) {
    const std::string archive = (dir_ / "shared.db").string();
    fs::create_directories(dir_ / "a");
    fs::create_directories(dir_ / "b");
    const programs::SimProcess loggerA({"--id", "DL-A", "--records", "200", "--baud", "38400"}, dir_ / "a");
    const programs::SimProcess loggerB({"--id", "DL-B", "--records", "200", "--baud", "38400"}, dir_ / "b");
    ASSERT_FALSE(loggerA.device().empty());
    ASSERT_FALSE(loggerB.device().empty());
    std::vector<pid_t> streams;
    for (const char *stream : {"A", "B"}) {
        std::string script = "set -e\n";
        for (int k = 1; k <= 50; ++k) {
            const std::string file = path(std::string("imp-") + stream + "-" + std::to_string(k) + ".txt");
            std::ofstream(file) << dataFile(std::string("IMP") + stream + std::to_string(k), 1 + k % 28);
            script += "'" + programs::binary("tavix-cli") + "' --app-dir '" + app_.string() + "' --archive '" +
                      archive + "' archive import '" + file + "'\n";
        }
        const programs::SimProcess &logger = stream[0] == 'A' ? loggerA : loggerB;
        script += "'" + programs::binary("tavix-cli") + "' --app-dir '" + app_.string() + "' --archive '" + archive +
                  "' --device '" + logger.device() + "' download '" + path(std::string("dl-") + stream + ".txt") +
                  "'\n";
        const fs::path out = dir_ / (std::string("stream-") + stream);
        streams.push_back(programs::spawn({"/bin/sh", "-c", script}, out.string() + ".out", out.string() + ".err"));
    }
    for (pid_t pid : streams) {
        ASSERT_GT(pid, 0);
        EXPECT_EQ(programs::waitForExit(pid), 0)
            << programs::readFile(dir_ / "stream-A.err") << programs::readFile(dir_ / "stream-B.err");
    }
    const Outcome list = cli({"--archive", archive, "archive", "list"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_TRUE(has(list.out, "\n102 recordings\n")) << list.out;
    for (const char *stream : {"A", "B"}) {
        for (int k = 1; k <= 50; ++k)
            EXPECT_TRUE(has(list.out, std::string(" IMP") + stream + std::to_string(k) + " ")) << stream << k << "\n"
                                                                                               << list.out;
        EXPECT_TRUE(has(list.out, std::string(" DL-") + stream + " ")) << list.out;
    }
    const Outcome check = programs::run({"/usr/bin/sqlite3", archive, "PRAGMA integrity_check"}, dir_);
    EXPECT_EQ(check.out, "ok\n") << check.err;
    EXPECT_EQ(cli({"--archive", archive, "audit", "--verify"}).status, 0);
}

}   // namespace
