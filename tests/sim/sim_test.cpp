// The simulated logger, driven over its pseudo-terminal with plain POSIX reads and writes, as
// the PC side would drive a real logger.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "CaseName.h"
#include "Programs.h"
#include "TestFolder.h"
#include "model/Clock.h"
#include "sim/SimLogger.h"

namespace {

using namespace std::chrono_literals;
using sim::LoggerConfig;
using sim::SimLogger;

// The PC's end of the line: the slave side of the simulator's pseudo-terminal.
class Port {
public:
    explicit Port(const std::string &path) {
        fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios t{};
        if (fd_ >= 0 && tcgetattr(fd_, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(fd_, TCSANOW, &t);
        }
    }
    ~Port() {
        if (fd_ >= 0) close(fd_);
    }
    bool ok() const { return fd_ >= 0; }

    // Sends one command line with its carriage return.
    void send(const std::string &line) { sendBytes(line + "\r"); }
    void sendBytes(const std::string &bytes) {
        ASSERT_EQ(write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Reads until `lines` carriage returns have arrived, or until timeoutMs has passed.
    std::string readLines(int lines, int timeoutMs = 2000) {
        std::string out;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (countCr(out) < lines) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()).count();
            if (left <= 0 || !readSome(out, static_cast<int>(left))) break;
        }
        return out;
    }
    // Reads everything that arrives until the line has been quiet for quietMs.
    std::string drain(int quietMs = 300) {
        std::string out;
        while (readSome(out, quietMs)) {
        }
        return out;
    }
    // True when the line has hung up (the simulator closed its side).
    bool hungUp(int timeoutMs = 1000) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0) return false;
        char c;
        return (p.revents & POLLHUP) != 0 || read(fd_, &c, 1) <= 0;
    }

    static int countCr(const std::string &s) {
        int n = 0;
        for (char c : s) n += c == '\r';
        return n;
    }

private:
    bool readSome(std::string &out, int timeoutMs) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0 || !(p.revents & POLLIN)) return false;
        char buf[4096];
        const ssize_t n = read(fd_, buf, sizeof buf);
        if (n <= 0) return false;
        out.append(buf, static_cast<size_t>(n));
        return true;
    }
    int fd_ = -1;
};

// Splits what the logger sent at its carriage returns (a trailing piece without one is kept).
std::vector<std::string> lines(const std::string &bytes) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : bytes) {
        if (c == '\r') {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

int countData(const std::vector<std::string> &ls) {
    int n = 0;
    for (const auto &l : ls) n += l.rfind("d ", 0) == 0;
    return n;
}

// A running simulator with the PC's port open on it.
struct Session {
    explicit Session(LoggerConfig config) : logger(std::move(config)) {
        started = logger.start();
        if (started) port = std::make_unique<Port>(logger.devicePath());
    }
    SimLogger logger;
    bool started = false;
    std::unique_ptr<Port> port;
};

#define START(session)              \
    ASSERT_TRUE((session).started); \
    ASSERT_TRUE((session).port && (session).port->ok())

// ------------------------------------------------------------------------------------ identity

struct IdentityCase {
    const char *model;
    const char *suffix;
    const char *id;
    const char *expected;
};

class Identity : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(Identity, AnswersWithIdentifierModelAndSuffixThenPrompt) {
    const IdentityCase &c = GetParam();
    LoggerConfig cfg;
    cfg.modelName = c.model;
    cfg.versionSuffix = c.suffix;
    cfg.id = c.id;
    Session s(cfg);
    START(s);
    s.port->send("I");
    EXPECT_EQ(s.port->readLines(2), std::string(c.expected) + "\r>\r");
}

INSTANTIATE_TEST_SUITE_P(Sim, Identity,
                         ::testing::Values(IdentityCase{"4143", "", "TAVIX-01", "i TAVIX-01 4143"},
                                           IdentityCase{"41217", "V2.1", "MYLOG", "i MYLOG 41217V2.1"},
                                           IdentityCase{"41660", "V3.0", "ABCDEFGHIJ", "i ABCDEFGHIJ 41660V3.0"},
                                           // the logger keeps 10 identifier characters
                                           IdentityCase{"4123", "", "ABCDEFGHIJKL", "i ABCDEFGHIJ 4123"}),
                         [](const auto &info) {
                             return caseName(std::string(info.param.model) + ' ' + info.param.suffix + ' ' +
                                             info.param.id);
                         });

// ------------------------------------------------------------------------------- memory line

TEST(SimFields, IntervalAbove32767GoesOutAsNegative16BitValue) {
    EXPECT_EQ(sim::intervalField(60), "60");
    EXPECT_EQ(sim::intervalField(32767), "32767");
    EXPECT_EQ(sim::intervalField(32768), "-32768");
    EXPECT_EQ(sim::intervalField(43200), "-22336");
    EXPECT_EQ(sim::intervalField(65535), "-1");
    EXPECT_EQ(sim::intervalField(65536), "0");
}

TEST(SimFields, OldFirmwareReportsTheOffsetInsideItsThreeYearBlock) {
    LoggerConfig cfg;
    const cRtc t = sim::makeCRtc(2024, 1, 1, 0, 1, 40);
    EXPECT_EQ(t, 757382400u + 100u);
    cfg.versionSuffix = "V2.1";
    EXPECT_EQ(sim::loggerClockOf(cfg, t), 100u);
    cfg.versionSuffix = "V2.3";
    EXPECT_EQ(sim::loggerClockOf(cfg, t), t);
    cfg.versionSuffix = "";   // no version: 2.4
    EXPECT_EQ(sim::loggerClockOf(cfg, t), t);
}

struct MemoryCase {
    const char *name;
    const char *model;
    const char *suffix;
    int records;
    int interval;
    char unit;
    cRtc first;
    const char *intervalText;   // nullptr = the number
    const char *expected;
};

class Memory : public ::testing::TestWithParam<MemoryCase> {};

TEST_P(Memory, AnswersCountIntervalUnitAndStartTimeThenPrompt) {
    const MemoryCase &c = GetParam();
    LoggerConfig cfg;
    cfg.modelName = c.model;
    cfg.versionSuffix = c.suffix;
    cfg.records = c.records;
    cfg.interval = c.interval;
    cfg.unit = c.unit;
    cfg.firstRecord = c.first;
    if (c.intervalText) cfg.intervalText = c.intervalText;
    Session s(cfg);
    START(s);
    s.port->send("M");
    EXPECT_EQ(s.port->readLines(2), std::string(c.expected) + "\r>\r");
}

INSTANTIATE_TEST_SUITE_P(
    Sim, Memory,
    ::testing::Values(
        MemoryCase{"ThreeValuesHalfDay", "4143", "", 100, 43200, 'C', 100, nullptr, "m 300 -22336 C 0000 0064"},
        MemoryCase{"LowerCaseUnit", "4124", "", 8000, 60, 'c', 0x12345678u, nullptr, "m 16000 60 c 1234 5678"},
        MemoryCase{"Fahrenheit", "4123", "", 16000, 1, 'F', 0xABCDEF01u, nullptr, "m 16000 1 F ABCD EF01"},
        MemoryCase{"CountAtMost16000", "4143", "", 6000, 60, 'C', 0, nullptr, "m 16000 60 C 0000 0000"},
        MemoryCase{"OldFirmwareClock", "41217", "V2.1", 10, 600, 'C', 757382400u + 100u, nullptr,
                   "m 10 600 C 0000 0064"},
        MemoryCase{"Interval65536", "4133", "", 5, 65536, 'C', 0, nullptr, "m 5 0 C 0000 0000"},
        MemoryCase{"DashedInterval", "4133", "", 5, 60, 'C', 0, "--", "m 5 -- C 0000 0000"},
        MemoryCase{"ErrorInterval", "4133", "", 5, 60, 'C', 0, "E2", "m 5 E2 C 0000 0000"},
        MemoryCase{"VerticalTabInterval", "4133", "", 5, 60, 'C', 0, "\v", "m 5 \v C 0000 0000"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SimMemory, DefaultFirstRecordEndsNow) {
    LoggerConfig cfg;
    cfg.records = 10;
    cfg.interval = 60;
    SimLogger logger(cfg);
    ASSERT_TRUE(logger.start());
    const cRtc now = nowCRtc();
    ASSERT_TRUE(logger.state().firstRecord.has_value());
    const long long first = *logger.state().firstRecord;
    EXPECT_NEAR(static_cast<double>(first), static_cast<double>(now) - 600.0, 5.0);
}

// ------------------------------------------------------------------------------------ status

TEST(SimStatus, AnswersStatusThenPrompt) {
    LoggerConfig cfg;
    cfg.status = 1;
    Session s(cfg);
    START(s);
    s.port->send("t");
    EXPECT_EQ(s.port->readLines(2), "t 1\r>\r");
    s.logger.configure([](LoggerConfig &c) { c.status = 0; });
    s.port->send("t");
    EXPECT_EQ(s.port->readLines(2), "t 0\r>\r");
}

// ---------------------------------------------------------------------------------- download

struct DownloadCase {
    const char *name;
    const char *model;
    int records;
    std::vector<sim::ErrorReading> errors;
    std::vector<std::string> expected;   // every line of the answer to D
};

class Download : public ::testing::TestWithParam<DownloadCase> {};

TEST_P(Download, SendsOneLinePerRecordWithTheModelsValuesThenPrompt) {
    const DownloadCase &c = GetParam();
    LoggerConfig cfg;
    cfg.modelName = c.model;
    cfg.records = c.records;
    cfg.errors = c.errors;
    Session s(cfg);
    START(s);
    s.port->send("D");
    const std::string got = s.port->readLines(static_cast<int>(c.expected.size()));
    EXPECT_EQ(lines(got), c.expected);
    EXPECT_EQ(s.port->drain(150), "");   // nothing after the prompt
    EXPECT_EQ(s.logger.dataLinesSent(), c.records);
    EXPECT_FALSE(s.logger.streaming());
}

INSTANTIATE_TEST_SUITE_P(
    Sim, Download,
    ::testing::Values(
        DownloadCase{"OneValue", "4123", 3, {{1, 0, 3}}, {"d 200", "d E3", "d 202", ">"}},
        DownloadCase{"Thermistor", "41217", 3, {{2, 0, 12}}, {"d 1500", "d 1510", "d E12", ">"}},
        DownloadCase{"TemperatureAndHumidity", "41660", 2, {{0, 1, 1}}, {"d 200 E1", "d 201 451", ">"}},
        DownloadCase{"TwoTemperatures", "41651", 2, {}, {"d 200 -50", "d 201 -49", ">"}},
        DownloadCase{"ThreeValues", "4143", 3, {{1, 2, 5}}, {"d 200 -50 450", "d 201 -49 E5", "d 202 -48 452", ">"}},
        DownloadCase{"NoRecords", "4143", 0, {}, {">"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SimDownload, OwnValuePatternIsSentAsGiven) {
    LoggerConfig cfg;
    cfg.modelName = "41660";
    cfg.records = 2;
    cfg.value = [](int record, int slot) { return slot == 0 ? -123 - record : 1000 + record; };
    EXPECT_EQ(sim::rawLine(cfg, 1), "d -124 1001");
    Session s(cfg);
    START(s);
    s.port->send("D");
    EXPECT_EQ(s.port->readLines(3), "d -123 1000\rd -124 1001\r>\r");
}

TEST(SimDownload, QStopsAPacedStream) {
    LoggerConfig cfg;
    cfg.modelName = "4123";
    cfg.records = 16000;
    cfg.baud = 9600;
    Session s(cfg);
    START(s);
    s.port->send("D");
    std::string got = s.port->readLines(5);
    ASSERT_EQ(countData(lines(got)), 5);
    EXPECT_TRUE(s.logger.streaming());
    s.port->send("Q");
    got += s.port->drain(300);
    const auto ls = lines(got);
    ASSERT_FALSE(ls.empty());
    EXPECT_EQ(ls.back(), ">");
    EXPECT_EQ(std::count(ls.begin(), ls.end(), ">"), 1);
    EXPECT_LT(countData(ls), 200);
    EXPECT_EQ(countData(ls), s.logger.dataLinesSent());
    EXPECT_FALSE(s.logger.streaming());
}

TEST(SimDownload, QIsHeardWhileTheLineIsFull) {
    // Unpaced, the stream fills the pseudo-terminal while nobody reads: "Q" must still stop it.
    LoggerConfig cfg;
    cfg.modelName = "4143";
    cfg.records = 5333;
    Session s(cfg);
    START(s);
    s.port->send("D");
    std::this_thread::sleep_for(100ms);
    s.port->send("Q");
    ASSERT_TRUE(s.logger.waitReceived(2, 1000));
    const auto ls = lines(s.port->drain(300));
    ASSERT_FALSE(ls.empty());
    EXPECT_EQ(ls.back(), ">");
    EXPECT_LT(countData(ls), 5333);
    EXPECT_EQ(countData(ls), s.logger.dataLinesSent());
}

TEST(SimDownload, DStartsAgainFromTheFirstRecord) {
    LoggerConfig cfg;
    cfg.modelName = "4123";
    cfg.records = 2;
    Session s(cfg);
    START(s);
    s.port->send("D");
    EXPECT_EQ(s.port->readLines(3), "d 200\rd 201\r>\r");
    s.port->send("D");
    EXPECT_EQ(s.port->readLines(3), "d 200\rd 201\r>\r");
}

// --------------------------------------------------------------- settings and the command log

TEST(SimCommands, LogsExactLinesAndAppliesSettings) {
    LoggerConfig cfg;
    cfg.modelName = "4143";
    Session s(cfg);
    START(s);
    const std::vector<std::string> sent = {"S 2 C 20 3", "A 300 -100 250 0 900 100", "C 100", "J NEWID 1", "X", "",
                                           "I"};
    for (const auto &l : sent) {
        s.port->send(l);
        s.port->readLines(l == "I" ? 2 : 1);   // one command at a time, as the PC does
    }
    EXPECT_EQ(s.logger.received(), sent);
    const sim::ReceivedSettings got = s.logger.settings();
    EXPECT_EQ(got.settingsCount, 1);
    EXPECT_EQ(got.sampleRate, 2);
    EXPECT_EQ(got.unit, 'C');
    EXPECT_EQ(got.schedule, 20);
    EXPECT_EQ(got.points, 3);
    EXPECT_EQ(got.alarmCount, 1);
    EXPECT_EQ(got.alarm, (std::vector<long long>{300, -100, 250, 0, 900, 100}));
    EXPECT_EQ(got.clockCount, 1);
    EXPECT_EQ(got.clock, 100);
    EXPECT_EQ(got.idCount, 1);
    EXPECT_EQ(got.sleep, 1);
    EXPECT_EQ(s.logger.state().id, "NEWID");
    EXPECT_EQ(s.logger.state().interval, 2);
    // The next identity and memory answers follow the new settings.
    s.port->send("I");
    EXPECT_EQ(s.port->readLines(2), "i NEWID 4143\r>\r");
    s.port->send("M");
    EXPECT_EQ(lines(s.port->readLines(2)).at(0).substr(0, 10), "m 300 2 C ");
}

TEST(SimCommands, EveryCommandGetsExactlyOnePrompt) {
    Session s(LoggerConfig{});
    START(s);
    for (const char *cmd : {"S 60 C 0 5", "A 1 2 3 4 5 6", "C 5", "J A 0", "R 1 2 3 4 5", "r", "Q", "?", "IX"}) {
        s.port->send(cmd);
        EXPECT_EQ(s.port->readLines(1), ">\r") << cmd;
        EXPECT_EQ(s.port->drain(100), "") << cmd;
    }
}

struct CalibrationCase {
    const char *model;
    const char *write;      // R line sent
    const char *expected;   // r answer afterwards
};

class Calibration : public ::testing::TestWithParam<CalibrationCase> {};

TEST_P(Calibration, ReadsBackWhatWasWritten) {
    const CalibrationCase &c = GetParam();
    LoggerConfig cfg;
    cfg.modelName = c.model;
    cfg.tempCali = {1, 2, 3, 4, 5};
    cfg.rhCaliZ = "-0.25";
    cfg.rhCaliS = "4.5";
    Session s(cfg);
    START(s);
    s.port->send("r");
    EXPECT_EQ(s.port->readLines(2), sim::calibrationLine(cfg) + "\r>\r");
    s.port->send(c.write);
    EXPECT_EQ(s.port->readLines(1), ">\r");
    s.port->send("r");
    EXPECT_EQ(s.port->readLines(2), std::string(c.expected) + "\r>\r");
    EXPECT_EQ(s.logger.settings().caliCount, 1);
}

INSTANTIATE_TEST_SUITE_P(Sim, Calibration,
                         ::testing::Values(CalibrationCase{"41651", "R -10 0 250 500 -7", "r -10 0 250 500 -7"},
                                           CalibrationCase{"41653", "R 9 8 7 6 5", "r 9 8 7 6 5"},
                                           CalibrationCase{"41660", "R -1.25 6.5", "r -1.25 6.5"}),
                         [](const auto &info) { return caseName(info.param.model); });

TEST(SimCalibration, FactoryValuesAndNoCalibrationModel) {
    LoggerConfig cfg;
    cfg.modelName = "41651";
    cfg.tempCali = {1, -2, 3, 4, 5};
    EXPECT_EQ(sim::calibrationLine(cfg), "r 1 -2 3 4 5");
    cfg.modelName = "41660";
    EXPECT_EQ(sim::calibrationLine(cfg), "r -1.5 5.0");
    cfg.modelName = "4143";
    Session s(cfg);
    START(s);
    s.port->send("r");
    EXPECT_EQ(s.port->readLines(1), ">\r");
    EXPECT_EQ(s.port->drain(100), "");
}

// ------------------------------------------------------------------------------------ faults

TEST(SimFaults, CalibrationReadBackOtherThanWritten) {
    LoggerConfig cfg;
    cfg.modelName = "41651";
    cfg.fault.caliAnswer = "1 2 3 4 6";
    Session s(cfg);
    START(s);
    s.port->send("R 1 2 3 4 5");
    EXPECT_EQ(s.port->readLines(1), ">\r");
    s.port->send("r");
    EXPECT_EQ(s.port->readLines(2), "r 1 2 3 4 6\r>\r");
    EXPECT_EQ(s.logger.state().tempCali, (std::array<int, 5>{1, 2, 3, 4, 5}));   // what was written is held
    // a model without calibration still answers the prompt alone
    s.logger.configure([](LoggerConfig &c) { c.modelName = "4143"; });
    s.port->send("r");
    EXPECT_EQ(s.port->readLines(1), ">\r");
    EXPECT_EQ(s.port->drain(100), "");
}

TEST(SimFaults, NoAnswerAtAll) {
    LoggerConfig cfg;
    cfg.fault.noAnswer = true;
    Session s(cfg);
    START(s);
    s.port->send("I");
    s.port->send("J NEW 0");
    EXPECT_EQ(s.port->drain(300), "");
    EXPECT_EQ(s.logger.received(), (std::vector<std::string>{"I", "J NEW 0"}));
    EXPECT_EQ(s.logger.state().id, "TAVIX-01");   // an unanswered command changes nothing
}

TEST(SimFaults, NoAnswerToChosenCommands) {
    LoggerConfig cfg;
    cfg.fault.noAnswerTo = "J";
    Session s(cfg);
    START(s);
    s.port->send("J NEW 0");
    EXPECT_EQ(s.port->drain(300), "");
    s.port->send("I");
    EXPECT_EQ(s.port->readLines(2), "i TAVIX-01 4143\r>\r");
}

TEST(SimFaults, GarbageBeforeEveryAnswer) {
    LoggerConfig cfg;
    cfg.modelName = "4123";
    cfg.records = 1;
    cfg.fault.garbage = "#\x7f";
    Session s(cfg);
    START(s);
    s.port->send("I");
    EXPECT_EQ(s.port->readLines(2), "#\x7fi TAVIX-01 4123\r>\r");
    s.port->send("D");
    EXPECT_EQ(s.port->readLines(2),
              "#\x7f"
              "d 200\r>\r");
}

TEST(SimFaults, LineWithoutCarriageReturnRunsIntoTheNext) {
    LoggerConfig cfg;
    cfg.fault.noCrAtLine = 1;
    Session s(cfg);
    START(s);
    s.port->send("I");
    EXPECT_EQ(s.port->readLines(1), "i TAVIX-01 4143>\r");
    s.port->send("t");
    EXPECT_EQ(s.port->readLines(2), "t 0\r>\r");   // only the one line
}

TEST(SimFaults, DisconnectAfterLines) {
    LoggerConfig cfg;
    cfg.fault.disconnectAfterLines = 3;
    Session s(cfg);
    START(s);
    s.port->send("I");
    EXPECT_EQ(s.port->readLines(2), "i TAVIX-01 4143\r>\r");
    s.port->send("t");
    EXPECT_EQ(s.port->readLines(1), "t 0\r");
    EXPECT_TRUE(s.port->hungUp());
    EXPECT_TRUE(s.logger.disconnected());
    EXPECT_EQ(s.logger.linesSent(), 3);
}

TEST(SimFaults, DataLinesAfterQ) {
    LoggerConfig cfg;
    cfg.modelName = "4123";
    cfg.records = 2;
    cfg.fault.dataLinesAfterQ = 2;
    Session s(cfg);
    START(s);
    s.port->send("D");
    EXPECT_EQ(s.port->readLines(3), "d 200\rd 201\r>\r");
    s.port->send("Q");   // after the download: the logger still sends two records
    EXPECT_EQ(s.port->readLines(3), ">\rd 202\rd 203\r");
    EXPECT_EQ(s.port->drain(150), "");
}

TEST(SimFaults, MoreOrFewerRecordsThanTheMemoryLineSays) {
    for (int extra : {3, -2}) {
        LoggerConfig cfg;
        cfg.modelName = "4143";
        cfg.records = 4;
        cfg.fault.extraRecords = extra;
        Session s(cfg);
        START(s);
        s.port->send("M");
        EXPECT_EQ(lines(s.port->readLines(2)).at(0).substr(0, 5), "m 12 ") << extra;
        s.port->send("D");
        const auto ls = lines(s.port->readLines(4 + extra + 1));
        EXPECT_EQ(countData(ls), 4 + extra) << extra;
        EXPECT_EQ(ls.back(), ">") << extra;
    }
}

TEST(SimFaults, StreamPausesBeforeARecord) {
    LoggerConfig cfg;
    cfg.modelName = "4123";
    cfg.records = 4;
    cfg.fault.pauseAtRecord = 2;
    cfg.fault.pauseMs = 600;
    Session s(cfg);
    START(s);
    const auto t0 = std::chrono::steady_clock::now();
    s.port->send("D");
    EXPECT_EQ(s.port->readLines(2), "d 200\rd 201\r");
    EXPECT_EQ(s.port->drain(200), "");   // the pause
    EXPECT_EQ(s.port->readLines(3, 2000), "d 202\rd 203\r>\r");
    EXPECT_GE(std::chrono::steady_clock::now() - t0, 300ms);
}

// ------------------------------------------------------------------------------------ pacing

TEST(SimPacing, OutputFollowsTheBaudRate) {
    // 20 lines "d 2xx" of 6 bytes and the prompt: 122 bytes, at 2400 baud (240 bytes/s) 0.5 s.
    LoggerConfig cfg;
    cfg.modelName = "4123";
    cfg.records = 20;
    cfg.baud = 2400;
    Session s(cfg);
    START(s);
    const auto t0 = std::chrono::steady_clock::now();
    s.port->send("D");
    const std::string got = s.port->readLines(21, 3000);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    ASSERT_EQ(got.size(), 122u);
    EXPECT_GT(seconds, 0.25);
    EXPECT_LT(seconds, 1.0);
}

// ----------------------------------------------------------------------------------- program

// The built tavix-sim as a process, in the test's own folder.
class SimProgram : public ::testing::Test {
protected:
    void SetUp() override { dir_ = makeTestFolder("tavix-sim"); }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    static std::vector<std::string> sim(const std::vector<std::string> &options) {
        std::vector<std::string> args{programs::binary("tavix-sim")};
        args.insert(args.end(), options.begin(), options.end());
        return args;
    }
    std::filesystem::path dir_;
};

TEST_F(SimProgram, HelpExitsZero) {
    const programs::Outcome r = programs::run(sim({"--help"}), dir_);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("--model"), std::string::npos);
    EXPECT_NE(r.out.find("--fault"), std::string::npos);
    EXPECT_NE(r.out.find("N data lines for every model"), std::string::npos) << r.out;
}

TEST_F(SimProgram, BadOptionExitsNonZero) { EXPECT_GT(programs::run(sim({"--unit", "K"}), dir_).status, 0); }

struct SimOptionsCase {
    const char *name;
    std::vector<std::string> options;
    const char *answer;   // the answer to "r"; nullptr: the options are refused
};

class SimCalibrationOptions : public SimProgram, public ::testing::WithParamInterface<SimOptionsCase> {};

TEST_P(SimCalibrationOptions, SetWhatTheLoggerHoldsAndAnswers) {
    const SimOptionsCase &c = GetParam();
    if (c.answer == nullptr) {
        EXPECT_EQ(programs::run(sim(c.options), dir_).status, 2);
    } else {
        programs::SimProcess logger(c.options, dir_);
        ASSERT_FALSE(logger.device().empty());
        Port port(logger.device());
        ASSERT_TRUE(port.ok());
        port.send("r");
        EXPECT_EQ(port.readLines(2), std::string(c.answer) + "\r>\r");
    }
}

INSTANTIATE_TEST_SUITE_P(
    SimProgram, SimCalibrationOptions,
    ::testing::Values(
        SimOptionsCase{"humidity", {"--model", "41660", "--calibration", "-0.5 7.25"}, "r -0.5 7.25"},
        SimOptionsCase{"temperature", {"--calibration", "1 2 3 4 5", "--model", "41653"}, "r 1 2 3 4 5"},
        SimOptionsCase{
            "a read-back that differs", {"--model", "41651", "--fault", "cali-answer=9 9 9 9 9"}, "r 9 9 9 9 9"},
        SimOptionsCase{"three points", {"--model", "41651", "--calibration", "1 2 3"}, nullptr},
        SimOptionsCase{"a model without calibration", {"--model", "4143", "--calibration", "1 2 3 4 5"}, nullptr},
        SimOptionsCase{"no read-back given", {"--model", "41651", "--fault", "cali-answer="}, nullptr}),
    [](const auto &info) { return caseName(info.param.name); });

TEST_F(SimProgram, PrintsThePathServesAndEndsCleanlyOnSigterm) {
    programs::SimProcess logger(
        {"--model", "41217", "--version", "V2.1", "--id", "SIM1", "--records", "2", "--start", "2024-01-01 00:01:40"},
        dir_);
    const std::string path = logger.device();
    ASSERT_FALSE(path.empty());
    {
        Port port(path);
        ASSERT_TRUE(port.ok());
        port.send("I");
        EXPECT_EQ(port.readLines(2), "i SIM1 41217V2.1\r>\r");
        port.send("M");
        EXPECT_EQ(port.readLines(2), "m 2 60 C 0000 0064\r>\r");
        port.send("D");
        EXPECT_EQ(port.readLines(3), "d 1500\rd 1510\r>\r");
    }
    EXPECT_EQ(logger.stop(), 0);
}

}   // namespace
