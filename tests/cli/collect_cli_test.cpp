// tavix-cli collect against several tavix-sim loggers at once, all as processes: the table, the
// files in the output folder, the recordings of the archive and the exit status.
#include <gtest/gtest.h>

#include <signal.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Programs.h"
#include "TestFolder.h"

namespace {

namespace fs = std::filesystem;

// Judged with the one profile of the test's folder: a day's temperatures in Fahrenheit read as
// deep frost against it, in Celsius they pass.
const char kProfiles[] = "[Batch]\nZone frost = temperature, < 0.0, single, 0\n";

// A simulated logger of a batch: its options (the first record always at the same time, so
// that its file's name is known).
std::vector<std::string> logger(const std::string &model, const std::string &id, std::vector<std::string> more = {}) {
    std::vector<std::string> options = {
        "--model", model, "--id", id, "--records", "60", "--daily", "--start", "2026-01-01 00:00:00"};
    options.insert(options.end(), more.begin(), more.end());
    return options;
}

class Collect : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = makeTestFolder("tavix-collect");
        fs::create_directories(dir_ / "app");
        fs::copy_file(fs::path(programs::binDir()) / "localORM.ini", dir_ / "app" / "localORM.ini");
        std::ofstream(dir_ / "app" / "TavixProfiles.ini") << kProfiles;
    }
    void TearDown() override { fs::remove_all(dir_); }

    // The loggers started, each in a folder of its own; their devices.
    std::vector<std::string> start(const std::vector<std::vector<std::string>> &loggers) {
        std::vector<std::string> devices;
        for (std::size_t k = 0; k < loggers.size(); ++k) {
            const fs::path folder = dir_ / ("sim" + std::to_string(k));
            fs::create_directories(folder);
            sims_.push_back(std::make_unique<programs::SimProcess>(loggers[k], folder));
            devices.push_back(sims_.back()->device());
        }
        return devices;
    }

    programs::Outcome collect(const std::vector<std::string> &devices, std::vector<std::string> more = {}) {
        std::vector<std::string> args = {
            "collect",   "--app-dir", (dir_ / "app").string(), "--out-dir", (dir_ / "out").string(),
            "--profile", "Batch"};
        for (const std::string &device : devices) args.insert(args.end(), {"--device", device});
        args.insert(args.end(), more.begin(), more.end());
        return programs::cli(args, dir_);
    }

    // The table's row of a port (its first word), "" when there is none.
    static std::string row(const std::string &out, const std::string &port) {
        for (const std::string &line : programs::lines(out))
            if (line.rfind(port + " ", 0) == 0) return line;
        return {};
    }

    fs::path dir_;
    std::vector<std::unique_ptr<programs::SimProcess>> sims_;
};

// Words of a table row, spaces between them collapsed.
std::vector<std::string> words(const std::string &line) {
    std::vector<std::string> w;
    std::string word;
    for (const char c : line + " ") {
        if (c != ' ') {
            word += c;
        } else if (!word.empty()) {
            w.push_back(word);
            word.clear();
        }
    }
    return w;
}

TEST_F(Collect, DownloadsEveryLoggerOfABatchAtOnce) {
    const std::vector<std::string> devices = start({
        logger("4143", "BOX/1"),                                // a name unsafe in a file name
        logger("41653", "COLD", {"--unit", "F"}),               // an excursion
        logger("41660", "HUM", {"--fault", "disconnect=30"}),   // gone half way
        logger("4124", "OLD", {"--version", "V2.1"}),           // an older model
    });
    for (const std::string &device : devices) ASSERT_FALSE(device.empty());
    // a file of an earlier collect with the first logger's name stays as it is
    fs::create_directories(dir_ / "out");
    std::ofstream(dir_ / "out" / "BOX_1_2026-01-01_00-00-00.txt") << "kept";
    const std::string nothing = (dir_ / "no-logger").string();
    std::vector<std::string> all = devices;
    all.push_back(nothing);

    const programs::Outcome r = collect(all);

    EXPECT_EQ(r.status, 1) << "a port named without a logger comes first\n" << r.out << r.err;
    struct Row {
        std::string port;
        std::vector<std::string> words;   // logger, records, complete, verdict
    };
    const std::vector<Row> rows = {
        {devices[0], {"BOX/1", "60", "yes", "PASS"}}, {devices[1], {"COLD", "60", "yes", "FAIL"}},
        {devices[2], {"HUM", "-", "no", "PASS"}},   // its records: as many as arrived
        {devices[3], {"OLD", "60", "yes", "PASS"}},   {nothing, {"-", "-", "no", "logger", "-"}},
    };
    for (const Row &expected : rows) {
        const std::vector<std::string> got = words(row(r.out, expected.port));
        ASSERT_GE(got.size(), expected.words.size() + 1) << expected.port << "\n" << r.out;
        for (std::size_t k = 0; k < expected.words.size(); ++k) {
            if (expected.words[k] == "-" && k == 1 && expected.port == devices[2]) {
                EXPECT_LT(std::stoi(got[2]), 60) << r.out;
                continue;
            }
            EXPECT_EQ(got[k + 1], expected.words[k]) << expected.port << "\n" << r.out;
        }
    }

    // the files: ID_FIRSTTIME, a taken name numbered, nothing replaced
    EXPECT_EQ(programs::readFile(dir_ / "out" / "BOX_1_2026-01-01_00-00-00.txt"), "kept");
    for (const char *name : {"BOX_1_2026-01-01_00-00-00-2.txt", "COLD_2026-01-01_00-00-00.txt",
                             "HUM_2026-01-01_00-00-00.txt", "OLD_2026-01-01_00-00-00.txt"}) {
        EXPECT_NE(programs::readFile(dir_ / "out" / name).find("2026-01-01 00:00:00"), std::string::npos) << name;
        EXPECT_NE(r.out.find((dir_ / "out" / name).string()), std::string::npos) << name << "\n" << r.out;
    }

    // the archive holds the four recordings, the one cut short as incomplete
    const programs::Outcome list =
        programs::cli({"--app-dir", (dir_ / "app").string(), "archive", "list"}, dir_ / "out");
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("4 recordings"), std::string::npos) << list.out;
    for (const std::string &line : programs::lines(list.out)) {
        const std::vector<std::string> w = words(line);
        if (w.size() > 2 && w[2] == "HUM") {
            EXPECT_NE(line.find(" no "), std::string::npos) << line;
        }
        if (w.size() > 2 && w[2] == "COLD") {
            EXPECT_NE(line.find(" yes "), std::string::npos) << line;
        }
    }
}

// The exit status when several things go wrong at once: the worst by the tool's precedence.
struct StatusCase {
    const char *name;
    std::vector<std::vector<std::string>> loggers;
    bool archiveBroken;   // the archive named is a folder: it cannot be opened
    int status;
};

class CollectStatus : public Collect, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(CollectStatus, FollowsThePrecedence) {
    const StatusCase &c = GetParam();
    const std::vector<std::string> devices = start(c.loggers);
    std::vector<std::string> more;
    if (c.archiveBroken) {
        fs::create_directories(dir_ / "folder.db");
        more = {"--archive", (dir_ / "folder.db").string()};
    }
    const programs::Outcome r = collect(devices, more);
    EXPECT_EQ(r.status, c.status) << r.out << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CollectStatus,
    ::testing::Values(StatusCase{"all pass", {logger("4143", "A"), logger("41660", "B")}, false, 0},
                      StatusCase{"a fail", {logger("4143", "A"), logger("4143", "F", {"--unit", "F"})}, false, 11},
                      StatusCase{
                          "incomplete before fail",
                          {logger("4143", "F", {"--unit", "F"}), logger("4143", "C", {"--fault", "disconnect=20"})},
                          false,
                          3},
                      StatusCase{"archive before fail", {logger("4143", "F", {"--unit", "F"})}, true, 14}),
    [](const ::testing::TestParamInfo<StatusCase> &info) {
        std::string name = info.param.name;
        for (char &ch : name)
            if (ch == ' ') ch = '_';
        return name;
    });

// Ctrl-C while the downloads run stops each as End does: what arrived is saved and archived as
// incomplete, and the table still comes.
TEST_F(Collect, CtrlCKeepsWhatArrived) {
    const std::vector<std::string> paced = {"--records", "1440", "--baud", "9600"};
    const std::vector<std::string> devices = start({logger("4143", "C1", paced), logger("41660", "C2", paced)});
    std::vector<std::string> args = {programs::binary("tavix-cli"), "collect",   "--app-dir",
                                     (dir_ / "app").string(),       "--out-dir", (dir_ / "out").string()};
    for (const std::string &device : devices) args.insert(args.end(), {"--device", device});
    const pid_t pid = programs::spawn(args, dir_ / "collect.out", dir_ / "collect.err");
    ASSERT_GT(pid, 0);
    // both downloads have begun: each logger was asked for its records
    const auto downloading = [this] {
        for (const auto &sim : sims_) {
            const std::vector<std::string> received = sim->received();
            if (std::none_of(received.begin(), received.end(), [](const std::string &c) { return c == "D"; }))
                return false;
        }
        return true;
    };
    ASSERT_TRUE(programs::waitUntil(downloading));
    ::kill(pid, SIGINT);
    EXPECT_EQ(programs::waitForExit(pid), 130);

    const std::string out = programs::readFile(dir_ / "collect.out");
    for (const std::string &device : devices) {
        const std::vector<std::string> w = words(row(out, device));
        ASSERT_GE(w.size(), 5u) << out;
        EXPECT_LT(std::stoi(w[2]), 1440) << out;
        EXPECT_EQ(w[3], "no") << out;
    }
    const programs::Outcome list =
        programs::cli({"--app-dir", (dir_ / "app").string(), "archive", "list"}, dir_ / "out");
    EXPECT_NE(list.out.find("2 recordings"), std::string::npos) << list.out;
    EXPECT_EQ(list.out.find(" yes "), std::string::npos) << list.out;
}

// A logger still logging has its clock offset estimated: shown in the table, kept in the archive
// with its download, and warned of beyond the limit; one that is not logging has none, and only
// its clock is set by --set-clock.
TEST_F(Collect, EstimatesTheClockOffsetOfALoggingLogger) {
    // the first: its records end now (tavix-sim's default); the second: a year behind
    const std::vector<std::string> devices =
        start({{"--model", "4143", "--id", "ON-TIME", "--records", "60", "--daily", "--status", "1"},
               logger("4143", "LATE", {"--status", "1"}),
               logger("4143", "IDLE")});
    const programs::Outcome r = collect(devices, {"--clock-limit", "120", "--set-clock"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    const std::vector<std::string> onTime = words(row(r.out, devices[0]));
    const std::vector<std::string> late = words(row(r.out, devices[1]));
    ASSERT_GE(onTime.size(), 7u) << r.out;
    ASSERT_GE(late.size(), 7u) << r.out;
    EXPECT_LE(std::abs(std::stoll(onTime[5])), 120) << r.out;
    EXPECT_LT(std::stoll(late[5]), -120) << r.out;
    EXPECT_EQ(words(row(r.out, devices[2])).at(5), "-") << r.out;
    EXPECT_NE(r.err.find("the clock of the logger on " + devices[1] + " is " + late[5] + " off (limit 120s)"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("the clock of the logger on " + devices[0]), std::string::npos) << r.err;
    for (std::size_t k = 0; k < devices.size(); ++k) {
        const std::vector<std::string> received = sims_[k]->received();
        const bool set =
            std::any_of(received.begin(), received.end(), [](const std::string &c) { return c.rfind("C ", 0) == 0; });
        EXPECT_EQ(set, k == 2) << devices[k];
        const std::string said =
            devices[k] + (k == 2 ? ": Clock set to " : ": the logger is logging; its clock is not set");
        EXPECT_NE(r.out.find(said), std::string::npos) << r.out;
    }

    // the archive keeps the two offsets with their downloads
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("offsets"));
        db.setDatabaseName(QString::fromStdString((dir_ / "app" / "TavixArchive.db").string()));
        ASSERT_TRUE(db.open());
        QSqlQuery query(QStringLiteral("SELECT l.identifier, c.offset_seconds FROM clock_offsets c"
                                       " JOIN downloads d ON d.id = c.download JOIN recordings r ON r.id = d.recording"
                                       " JOIN loggers l ON l.id = r.logger ORDER BY l.identifier"),
                        db);
        std::vector<std::string> kept;
        while (query.next())
            kept.push_back(query.value(0).toString().toStdString() + " " + query.value(1).toString().toStdString());
        EXPECT_EQ(kept, (std::vector<std::string>{"LATE " + late[5].substr(0, late[5].size() - 1),
                                                  "ON-TIME " + std::to_string(std::stoll(onTime[5]))}));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("offsets"));
}

// --ports reads the port numbers as the program folder binds them.
TEST_F(Collect, PortsAreTheProgramFoldersBindings) {
    const std::vector<std::string> devices = start({logger("4143", "P3"), logger("41660", "P7")});
    std::ofstream(dir_ / "app" / "Tavix.ini") << "[ComPorts]\nCOM3=" << devices[0] << "\nCOM7=" << devices[1] << "\n";
    const programs::Outcome r = collect({}, {"--ports", "3,7"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(words(row(r.out, "3")).at(1), "P3") << r.out;
    EXPECT_EQ(words(row(r.out, "7")).at(1), "P7") << r.out;
}

// The program folder's collect settings name the loggers, the profile, the output folder and the
// loggers expected; one expected that did not answer is shown as no data.
TEST_F(Collect, ReadsTheProgramFoldersSettings) {
    const std::vector<std::string> devices = start({logger("41653", "S1"), logger("41660", "S2")});
    std::ofstream(dir_ / "app" / "TavixCollect.ini") << "[Collect]\nDevices = " << devices[0] << ", " << devices[1]
                                                     << "\nProfile = Batch\nOutDir = ../kept\nExpected = S1, S9\n";
    const programs::Outcome r = programs::cli({"collect", "--app-dir", (dir_ / "app").string()}, dir_);
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_EQ(words(row(r.out, devices[1])).at(1), "S2") << r.out;
    EXPECT_EQ(words(row(r.out, "-")), (std::vector<std::string>{"-", "S9", "-", "no", "data", "-", "-"})) << r.out;
    EXPECT_TRUE(fs::exists(dir_ / "kept" / "S1_2026-01-01_00-00-00.txt")) << r.out;

    // without settings nothing names a logger; settings named that cannot be read are refused
    fs::remove(dir_ / "app" / "TavixCollect.ini");
    EXPECT_EQ(programs::cli({"collect", "--app-dir", (dir_ / "app").string()}, dir_).status, 2);
    EXPECT_EQ(
        programs::cli({"collect", "--app-dir", (dir_ / "app").string(), "--settings", "missing.ini"}, dir_).status, 6);
}

// --all-ports searches the ports 1 to 16: the loggers found are collected, a port without one is
// left out of the table and is no fault.
TEST_F(Collect, AllPortsFindsTheLoggersBound) {
    const std::vector<std::string> devices = start({logger("4143", "A2"), logger("41660", "A9")});
    // every other port bound to a device that is not there: the machine's own ports stay untouched
    std::ofstream ini(dir_ / "app" / "Tavix.ini");
    ini << "[ComPorts]\n";
    for (int port = 1; port <= 16; ++port)
        ini << "COM" << port << "="
            << (port == 2   ? devices[0]
                : port == 9 ? devices[1]
                            : (dir_ / ("unplugged" + std::to_string(port))).string())
            << "\n";
    ini.close();
    const programs::Outcome r = collect({}, {"--all-ports"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(words(row(r.out, "2")).at(1), "A2") << r.out;
    EXPECT_EQ(words(row(r.out, "9")).at(1), "A9") << r.out;
    EXPECT_EQ(r.out.find("no logger"), std::string::npos) << r.out;
    EXPECT_EQ(row(r.out, "10"), "") << r.out;
}

TEST_F(Collect, RefusesABadCommandLine) {
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{
             {"collect", "--ports", "1,x"},
             {"collect", "--ports", "17"},
             {"collect", "--all-ports", "--ports", "2"},
             {"collect", "--device", "/dev/null", "--csv", "x.csv"},
             {"collect", "--device", "/dev/null", "FILE"},
         }) {
        const programs::Outcome r = programs::cli(args, dir_);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args) << r.err;
    }
}

}   // namespace
