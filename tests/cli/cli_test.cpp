// tavix-cli end to end: the real tavix-cli and tavix-sim run as processes. The data file of a
// download is compared with the file the window's own Save File writes for the same download,
// run in this process through the Start button, the window's timer and the Save File button.
#include <gtest/gtest.h>

#include <QApplication>

#include <sys/stat.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <vector>

#include "DownloadRun.h"
#include "LinkFixture.h"
#include "Programs.h"

namespace {

namespace fs = std::filesystem;
using programs::englishText;
using programs::lines;
using programs::Outcome;
using programs::readFile;
using programs::SimProcess;

const std::string kBin = TAVIX_BIN_DIR;

// The in-process program (LinkProgram) beside the processes: a folder for the runs' files.
class Cli : public LinkProgram {
protected:
    void SetUp() override {
        LinkProgram::SetUp();
        rt::ClearClock();   // the files' date lines come from the same clock as the tool's
        runs_ = dir_ / "runs";
        fs::create_directories(runs_);
    }
    Outcome cli(const std::vector<std::string> &args) { return programs::cli(args, runs_); }
    // The simulator paced as a fast serial line, as the link's own download tests run it.
    SimProcess sim(std::vector<std::string> options) {
        options.insert(options.end(), {"--baud", "38400"});
        return SimProcess(options, runs_);
    }
    fs::path runs_;
};

// ---------------------------------------------------------------- the command line

TEST_F(Cli, BadCommandLinesAreRefusedWithoutStarting) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"read"},
        {"identify", "file.txt"},
        {"identify", "--chart", "c.png"},
        {"download"},
        {"download", "a.txt", "b.txt"},
        {"--port", "1", "identify"},
        {"--port", "17", "identify"},
        {"--port", "x", "identify"},
        {"--device"},
        {"--speed", "9600", "identify"},
    };
    for (const auto &args : cases) {
        const Outcome r = cli(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(r.err.find("see --help"), std::string::npos) << r.err;
    }
}

TEST_F(Cli, HelpDocumentsEveryCommandAndOption) {
    const Outcome r = cli({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char *word : {"identify", "download FILE", "--chart", "--app-dir", "--port", "--device", "Exit status"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
}

TEST_F(Cli, WithoutAPortNothingIsSearched) {
    const Outcome r = cli({"--app-dir", (dir_ / "empty").string(), "identify"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("no port chosen"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir_ / "empty" / TAVIX_STATE_FILE));
}

// ---------------------------------------------------------------- identify

struct IdentifyCase {
    std::vector<std::string> sim;
    std::vector<std::string> expected;   // lines of the output
};

TEST_F(Cli, IdentifyPrintsWhatTheLoggerReported) {
    const std::vector<IdentifyCase> cases = {
        {{"--model", "4143", "--id", "CLI-7", "--records", "240", "--interval", "300", "--status", "1", "--start",
          "2026-11-30 23:15:00"},
         {"Identifier:    CLI-7", "Model:         4143 (index 10)", "Firmware:      2.4", "Readings held: 720",
          "Records held:  240", "Interval:      00:05:00", "Unit:          C", "First record:  2026-11-30 23:15:00",
          "Logging:       yes"}},
        {{"--model", "4124", "--version", "V2.1", "--id", "OLD", "--records", "50", "--interval", "43200", "--unit",
          "F", "--start", "2025-02-03 04:05:06"},
         {"Identifier:    OLD", "Model:         4124 (index 4)", "Firmware:      2.1", "Readings held: 100",
          "Records held:  50", "Interval:      12:00:00", "Unit:          F", "First record:  2025-02-03 04:05:06",
          "Logging:       no"}},
    };
    for (const IdentifyCase &c : cases) {
        const SimProcess logger = sim(c.sim);
        ASSERT_FALSE(logger.device().empty());
        const Outcome r = cli({"--device", logger.device(), "identify"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(lines(r.out), c.expected);
    }
}

TEST_F(Cli, TheBindingIsKeptInTheProgramFolder) {
    const SimProcess logger = sim({"--id", "KEPT"});
    const fs::path app = dir_ / "app";
    ASSERT_EQ(cli({"--app-dir", app.string(), "--device", logger.device(), "--port", "7", "identify"}).status, 0);
    const Outcome again = cli({"--app-dir", app.string(), "identify"});   // no --device: port 7 from Tavix.ini
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("Identifier:    KEPT"), std::string::npos) << again.out;
}

// ---------------------------------------------------------------- download

TEST_F(Cli, DownloadSavesTheSameFileAsTheWindowsSaveFile) {
    const SimProcess logger = sim({"--model", "4143", "--records", "300", "--interval", "60", "--errors", "--daily",
                                   "--start", "2026-12-01 08:00:00"});
    ASSERT_FALSE(logger.device().empty());
    const fs::path file = runs_ / "cli.txt", png = runs_ / "chart.png";
    const Outcome r = cli({"--device", logger.device(), "download", file.string(), "--chart", png.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    // standard error is no terminal here: the progress comes as lines, no bar drawn in place
    EXPECT_NE(r.err.find("Downloading: 100 % (300/300 records)\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\r'), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("300 records saved to " + file.string()), std::string::npos) << r.out;
    EXPECT_EQ(readFile(png).substr(0, 8), "\x89PNG\r\n\x1a\n");

    // The same logger downloaded in this process, as the user does it in the window.
    for (const char *shipped : {"localORM.ini", "English.ini"}) fs::copy_file(kBin + "/" + shipped, dir_ / shipped);
    startProgram(logger.device());
    SetCtrlAttribute(idMonitor, MONITOR_TIMER, ATTR_ENABLED, 1);
    rt::FireCtrlEvent(idMonitor, MONITOR_START_BUTTON, EVENT_COMMIT);
    ASSERT_TRUE(runUntilDownloadEnds()) << "the download did not end within 30 s";
    const fs::path reference = runs_ / "window.txt";
    agent_.fileAnswers = {reference.string()};
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU2, EVENT_COMMIT);
    ASSERT_EQ(loggedLength, 300) << status();

    // Byte for byte, but for the date of saving (today, as the clock says when each saved).
    std::string tool = readFile(file), window = readFile(reference);
    const std::regex dateLine("\nDate: \\d{4}-\\d\\d-\\d\\d\n");
    ASSERT_TRUE(std::regex_search(tool, dateLine)) << tool.substr(0, 80);
    ASSERT_TRUE(std::regex_search(window, dateLine)) << window.substr(0, 80);
    tool = std::regex_replace(tool, dateLine, "\nDate: -\n", std::regex_constants::format_first_only);
    window = std::regex_replace(window, dateLine, "\nDate: -\n", std::regex_constants::format_first_only);
    EXPECT_EQ(lines(tool).size(), 6u + 300u);
    EXPECT_TRUE(tool == window) << "the tool's file differs from the window's";
    EXPECT_NE(tool.find(" E01 "), std::string::npos);   // the sensor errors came through
}

TEST_F(Cli, AnExistingFileIsReplacedAfterTheProgramsQuestion) {
    const SimProcess logger = sim({"--records", "20"});
    const fs::path file = runs_ / "old.txt";
    std::ofstream(file) << "old contents\n";
    const Outcome r = cli({"--device", logger.device(), "download", file.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string question = englishText("WARN9") + ": " + englishText("WARN21") + " " + file.string();
    EXPECT_NE(r.err.find(question), std::string::npos) << r.err;
    EXPECT_EQ(lines(readFile(file)).size(), 6u + 20u);
}

// Loggers beyond the letter of the protocol: lines ended by CR LF download completely; a line
// that keeps sending noise after the 50th record ends the download as an incomplete one.
TEST_F(Cli, LoggersBeyondTheLetterOfTheProtocol) {
    {
        const SimProcess logger = sim({"--records", "60", "--fault", "crlf"});
        const Outcome r = cli({"--device", logger.device(), "download", (runs_ / "crlf.txt").string()});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(lines(readFile(runs_ / "crlf.txt")).size(), 6u + 60u);
    }
    {
        const SimProcess logger = SimProcess({"--records", "100", "--fault", "flood=50"}, runs_);
        const Outcome r = cli({"--device", logger.device(), "download", (runs_ / "noisy.txt").string()});
        EXPECT_EQ(r.status, 3) << r.err;
        EXPECT_NE(r.err.find(englishText("WARN8")), std::string::npos) << r.err;
        EXPECT_EQ(lines(readFile(runs_ / "noisy.txt")).size(), 6u + 50u);
    }
}

// An incomplete download never replaces a good file: what arrived goes beside it.
TEST_F(Cli, AnIncompleteDownloadKeepsExistingFiles) {
    const SimProcess logger = sim({"--records", "40", "--fault", "extra-records=-5"});
    const fs::path file = runs_ / "store.txt", png = runs_ / "store.png";
    const fs::path partial = runs_ / "store.partial.txt", partialPng = runs_ / "store.partial.png";
    std::ofstream(file) << "a good earlier download\n";
    std::ofstream(png) << "an earlier picture";
    std::ofstream(partial) << "an older partial file\n";
    const Outcome r = cli({"--device", logger.device(), "download", file.string(), "--chart", png.string()});
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_EQ(readFile(file), "a good earlier download\n");
    EXPECT_EQ(readFile(png), "an earlier picture");
    EXPECT_EQ(lines(readFile(partial)).size(), 6u + 35u);
    EXPECT_EQ(readFile(partialPng).substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_NE(r.out.find("35 records saved to " + partial.string()), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(file.string() + " is kept as it was"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(englishText("WARN8")), std::string::npos) << r.err;
}

// A logger sending more records than its model's memory layout holds (three channels: 5333):
// the records beyond are refused, the window's message says so, and the download counts as
// incomplete.
TEST_F(Cli, RecordsBeyondTheMemoryLayoutAreSaidAndIncomplete) {
    const SimProcess logger = sim({"--records", "5340"});
    const fs::path file = runs_ / "full.txt";
    const Outcome r = cli({"--device", logger.device(), "download", file.string()});
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_NE(r.err.find("5333 " + englishText("Points") + " (max)."), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("7 more records arrived"), std::string::npos) << r.err;
    EXPECT_EQ(lines(readFile(file)).size(), 6u + 5333u) << "what the layout holds is kept";
}

// Outputs are checked before the download: nothing goes to the logger, no file is touched.
TEST_F(Cli, OutputsThatCannotBeWrittenStopBeforeAnythingIsSent) {
    const fs::path fifo = runs_ / "fifo.txt", folder = runs_ / "folder.txt", good = runs_ / "good.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directories(folder);
    struct Case {
        const char *name;
        std::vector<std::string> outputs;
    };
    const std::vector<Case> cases = {
        {"a folder that does not exist", {(runs_ / "no" / "x.txt").string()}},
        {"a FIFO", {fifo.string()}},
        {"a folder", {folder.string()}},
        {"a picture in a folder that does not exist", {good.string(), "--chart", (runs_ / "no" / "c.png").string()}},
    };
    for (const Case &c : cases) {
        const SimProcess logger = sim({"--records", "10"});
        std::vector<std::string> args{"--device", logger.device(), "download"};
        args.insert(args.end(), c.outputs.begin(), c.outputs.end());
        const Outcome r = cli(args);
        EXPECT_EQ(r.status, 4) << c.name << "\n" << r.err;
        EXPECT_NE(r.err.find(englishText("WARN6")), std::string::npos) << c.name << "\n" << r.err;
        EXPECT_EQ(readFile(runs_ / "sim.log").find("received"), std::string::npos) << c.name;
        EXPECT_FALSE(fs::exists(good)) << c.name;
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_directory(folder));
}

// The temporary program folders of tavix-cli in dir (Qt may keep a folder of its own there).
int programFolders(const fs::path &dir) {
    int n = 0;
    for (const auto &entry : fs::directory_iterator(dir))
        n += entry.path().filename().string().rfind("tavix-cli-", 0) == 0;
    return n;
}

// Ctrl-C or SIGTERM during a download: the tool stops, saves nothing and leaves no temporary
// program folder behind.
TEST_F(Cli, ASignalStopsTheToolAndLeavesNothingBehind) {
    for (const int signal : {SIGINT, SIGTERM}) {
        const SimProcess logger = SimProcess({"--records", "5000", "--baud", "9600"}, runs_);
        const fs::path tmp = runs_ / ("tmp-" + std::to_string(signal)), file = runs_ / "never.txt";
        fs::create_directories(tmp);
        const pid_t pid =
            programs::spawn({programs::binary("tavix-cli"), "--archive", (runs_ / "TavixArchive.db").string(),
                             "--device", logger.device(), "download", file.string()},
                            runs_ / "run.out", runs_ / "run.err", {"TMPDIR=" + tmp.string()});
        ASSERT_GT(pid, 0);
        // under way: the temporary program folder exists and Start has been pressed
        const bool downloading =
            programs::waitUntil([&] { return readFile(runs_ / "run.err").find("Downloading:") != std::string::npos; });
        EXPECT_TRUE(downloading) << readFile(runs_ / "run.err");
        EXPECT_EQ(programFolders(tmp), 1);
        kill(pid, signal);
        EXPECT_EQ(programs::waitForExit(pid), 128 + signal);
        EXPECT_NE(readFile(runs_ / "run.err").find("tavix-cli: interrupted"), std::string::npos);
        EXPECT_EQ(programFolders(tmp), 0) << "left behind in " << tmp;
        EXPECT_FALSE(fs::exists(file));
    }
}

// ---------------------------------------------------------------- failures

struct FailureCase {
    const char *name;
    std::vector<std::string> sim;   // empty: no simulator, the port names a missing device
    bool download;
    std::string file;   // relative to the run folder ("" for identify)
    int status;
    std::vector<std::string> texts;   // keys of the English texts on standard error
};

TEST_F(Cli, FailuresEndWithTheProgramsOwnWarning) {
    const std::vector<FailureCase> cases = {
        {"no device", {}, false, "", 1, {"WARN1", "WARN2"}},
        {"a logger that never answers", {"--fault", "silent"}, true, "x.txt", 1, {"WARN2"}},
        {"fewer records than reported",
         {"--records", "40", "--fault", "extra-records=-5"},
         true,
         "short.txt",
         3,
         {"WARN8"}},
        {"a folder that does not exist", {"--records", "10"}, true, "no/such/folder/x.txt", 4, {"WARN6"}},
    };
    for (const FailureCase &c : cases) {
        std::unique_ptr<SimProcess> logger;
        std::string device = (dir_ / "no-such-device").string();
        if (!c.sim.empty()) {
            std::vector<std::string> options = c.sim;
            options.insert(options.end(), {"--baud", "38400"});
            logger = std::make_unique<SimProcess>(options, runs_);
            device = logger->device();
        }
        std::vector<std::string> args{"--device", device};
        if (c.download) {
            args.push_back("download");
            args.push_back((runs_ / c.file).string());
        } else {
            args.push_back("identify");
        }
        const Outcome r = cli(args);
        EXPECT_EQ(r.status, c.status) << c.name << "\n" << r.err;
        for (const std::string &key : c.texts)
            EXPECT_NE(r.err.find(englishText(key)), std::string::npos) << c.name << ": " << key << "\n" << r.err;
        EXPECT_TRUE(r.out.empty() || c.status == 3) << c.name << "\n" << r.out;
    }
    // The incomplete download keeps what did arrive.
    EXPECT_EQ(lines(readFile(runs_ / "short.txt")).size(), 6u + 35u);
}

}   // namespace

int main(int argc, char **argv) {
    // Listing the cases must work without a display: the offscreen platform unless the
    // caller chose one.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Save File starts in the documents folder: keep it inside the test's own home.
    const fs::path home = fs::temp_directory_path() / ("tavix-cli-home-" + std::to_string(::getpid()));
    fs::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    int result = 0;
    {
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    fs::remove_all(home);
    return result;
}
