// The whole way to the simulated logger: the window's OK, and tavix-cli configure, send the
// alarm command and then the settings command, exactly as the encoder makes them, for a model
// of each class of limit encoding; a logger that does not answer the alarm command gets no
// settings command; the window closes once the settings command is confirmed. The tool's own
// outcomes (dry run, values the model does not offer, the window's refusals, a logger that
// is logging, the remembered settings of a program folder) are run as processes.
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "CaseName.h"
#include "Programs.h"
#include "SettingsWindow.h"
#include "TestFolder.h"
#include "sim/SimLogger.h"

namespace {

namespace fs = std::filesystem;
using programs::englishText;
using programs::Outcome;
using programs::readFile;

// ---------------------------------------------------------------- what is sent

struct Limit {
    int channel;
    double high, low;
};

// The settings of one case, for the window and for the command line alike.
struct SendCase {
    const char *name;
    const char *model;   // as the logger reports it
    int points;          // point count
    int h, m, s;
    bool startAt;   // at kStart (else at once)
    char unit;
    std::vector<Limit> limits;
    const char *alarm;      // the commands expected, without their carriage return; "{start}" in
    const char *settings;   // the settings command stands for kStart packed
};

const cRtc kStart = sim::makeCRtc(2030, 1, 2, 8, 0, 0);

std::string expectedSettings(const SendCase &c) {
    std::string s = c.settings;
    const std::size_t at = s.find("{start}");
    if (at != std::string::npos) s.replace(at, 7, std::to_string(kStart));
    return s;
}

// The alarm and settings commands the logger received, in order.
std::vector<std::string> settingsReceived(const sim::SimLogger &logger) {
    std::vector<std::string> out;
    for (const std::string &line : logger.received())
        if (!line.empty() && (line[0] == 'A' || line[0] == 'S')) out.push_back(line);
    return out;
}

// Model 1 by hand: 25 C is 81514 Ohm, in parallel with 511000 Ohm 70299.86 Ohm -> 703; 0 C is
// 264480 Ohm -> 174278.23 Ohm -> 1743 (hundreds of Ohm, rounded half up).
const SendCase kSendCases[] = {
    {"thermistor", "41217", 8000, 0, 1, 0, false, 'C', {{0, 25, 0}}, "A 703 1743", "S 60 C 20 3"},
    {"temperature in tenths", "4123", 16000, 0, 0, 30, false, 'C', {{0, 25.3, -2.3}}, "A 253 -23", "S 30 C 20 5"},
    {"humidity alarm by the unit", "4124", 4000, 1, 0, 0, false, 'c', {{2, 80, 20.5}}, "A 800 205", "S 3600 c 20 2"},
    {"three channels in tenths",
     "4143",
     1000,
     12,
     0,
     0,
     true,
     'C',
     {{0, 25.3, 2.3}, {2, 80, 20}},
     "A 253 23 300 100 800 200",
     "S 43200 C {start} 0"},
};

int pointsCode(int count) {
    const int counts[] = {1000, 2000, 4000, 8000, 12000, 16000};
    for (int code = 0; code < 6; ++code)
        if (counts[code] == count) return code;
    return -1;
}

// ---------------------------------------------------------------- the window's OK

class WindowSends : public SettingsWindow, public ::testing::WithParamInterface<SendCase> {
protected:
    void connect(sim::LoggerConfig config) {
        logger_ = std::make_unique<sim::SimLogger>(std::move(config));
        ASSERT_TRUE(logger_->start());
        startProgram(logger_->devicePath());
        ASSERT_TRUE(tickUntil([] { return (gFlag & GFLAG_STATUS_APPLIED) != 0 && sendCmdChar == 0; }, 60));
        rt::FireCtrlEvent(idMonitor, MONITOR_MENU4, EVENT_COMMIT);
        ASSERT_TRUE(rt::PanelVisible(idSetLogger));
    }
    // The fields of a case, as a user fills them.
    static void fill(const SendCase &c) {
        set(SETLOGGER_SAMPLEPOINTS, pointsCode(c.points));
        interval(c.h, c.m, c.s);
        if (c.startAt) {
            set(SETLOGGER_STARTMODE, 0);
            set(SETLOGGER_STARTDATE, "2030-01-02");   // the preferences' Y-M-D
            set(SETLOGGER_STARTTIME, "08:00:00");
        }
        if (c.unit != 'C') set(SETLOGGER_UNIT, static_cast<int>(c.unit));
        for (const Limit &l : c.limits) {
            if (l.channel != currAlarmChannel) set(SETLOGGER_ALARMCHANNEL, l.channel);
            limits(l.high, l.low);
        }
    }
    static bool settled() { return !requested() && setLoggerStep == 0 && sendCmdChar == 0; }
    std::unique_ptr<sim::SimLogger> logger_;
};

TEST_P(WindowSends, TheAlarmThenTheSettingsCommand) {
    const SendCase &c = GetParam();
    sim::LoggerConfig config;
    config.modelName = c.model;
    connect(config);
    fill(c);
    press(SETLOGGER_LOG_OK);
    ASSERT_TRUE(requested()) << ::testing::PrintToString(refusals());
    // the window stays while the alarm command and then the settings command wait
    ASSERT_TRUE(tickUntil([] { return sendCmdChar == 'S'; }, 30));
    EXPECT_TRUE(rt::PanelVisible(idSetLogger));
    ASSERT_TRUE(tickUntil(settled, 30));
    EXPECT_EQ(settingsReceived(*logger_), (std::vector<std::string>{c.alarm, expectedSettings(c)}));
    EXPECT_FALSE(rt::PanelVisible(idSetLogger));
    EXPECT_EQ(status(), statusAfterTick("msg9"));
    EXPECT_EQ(agent_.count(""), 0);
}

INSTANTIATE_TEST_SUITE_P(Classes, WindowSends, ::testing::ValuesIn(kSendCases),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(WindowSends, AnUnansweredAlarmCommandStopsTheSettings) {
    sim::LoggerConfig config;
    config.modelName = "4143";
    config.fault.noAnswerTo = "A";
    connect(config);
    press(SETLOGGER_LOG_OK);
    ASSERT_TRUE(tickUntil(settled, 30));
    ticksN(8);
    EXPECT_EQ(settingsReceived(*logger_), std::vector<std::string>{"A 300 100 300 100 300 100"});
    ASSERT_EQ(agent_.count("message"), 1);
    EXPECT_EQ(agent_.shown[0].title, "warn9");
    EXPECT_EQ(agent_.shown[0].text, "warn16");
    EXPECT_TRUE(rt::PanelVisible(idSetLogger));   // open for another try
}

// ---------------------------------------------------------------- tavix-cli configure

class Configure : public ::testing::Test {
protected:
    void SetUp() override { dir_ = makeTestFolder("tavix-configure"); }
    void TearDown() override { fs::remove_all(dir_); }

    void connect(sim::LoggerConfig config) {
        logger_ = std::make_unique<sim::SimLogger>(std::move(config));
        ASSERT_TRUE(logger_->start());
    }
    void connect(const char *model) {
        sim::LoggerConfig config;
        config.modelName = model;
        connect(config);
    }
    // tavix-cli on the simulated logger (or, before connect, on nothing).
    Outcome cli(const std::vector<std::string> &args) const {
        std::vector<std::string> all;
        if (logger_) all = {"--device", logger_->devicePath()};
        all.insert(all.end(), args.begin(), args.end());
        return programs::cli(all, dir_);
    }
    // A program folder with the shipped preferences and language files.
    fs::path programFolder() const {
        const fs::path app = dir_ / "app";
        fs::create_directories(app);
        for (const char *f : {"localORM.ini", "English.ini"}) fs::copy_file(fs::path(TAVIX_BIN_DIR) / f, app / f);
        return app;
    }
    fs::path dir_;
    std::unique_ptr<sim::SimLogger> logger_;
};

// The options of a case.
std::vector<std::string> optionsOf(const SendCase &c) {
    std::vector<std::string> args{"configure", "--points", std::to_string(c.points), "--interval",
                                  std::to_string(c.h) + ":" + std::to_string(c.m) + ":" + std::to_string(c.s)};
    if (c.startAt) args.insert(args.end(), {"--start-at", "2030-01-02 08:00:00"});   // shipped: Y-M-D
    if (c.unit != 'C') args.insert(args.end(), {"--unit", std::string(1, c.unit)});
    for (const Limit &l : c.limits) {
        std::ostringstream high, low;
        high << l.high;
        low << l.low;
        args.insert(args.end(), {"--channel", std::to_string(l.channel), "--high", high.str(), "--low", low.str()});
    }
    return args;
}

class ConfigureSends : public Configure, public ::testing::WithParamInterface<SendCase> {};

TEST_P(ConfigureSends, TheAlarmThenTheSettingsCommand) {
    const SendCase &c = GetParam();
    connect(c.model);
    const Outcome r = cli(optionsOf(c));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string settings = expectedSettings(c);
    EXPECT_EQ(settingsReceived(*logger_), (std::vector<std::string>{c.alarm, settings}));
    EXPECT_EQ(r.out, std::string("sent: ") + c.alarm + "\nsent: " + settings + "\n" + englishText("MSG9") + "\n");
}

// A model of each class of limit encoding (the thermistor, temperature and humidity, tenths).
INSTANTIATE_TEST_SUITE_P(Classes, ConfigureSends, ::testing::Values(kSendCases[0], kSendCases[2], kSendCases[3]),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(Configure, ADryRunPrintsTheCommandsAndSendsNothing) {
    connect("4143");
    const fs::path app = programFolder();
    const Outcome r = cli({"--app-dir", app.string(), "configure", "--dry-run", "--points", "8000", "--start", "4"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "A 300 100 300 100 300 100\nS 1 C 4 3\n");
    EXPECT_TRUE(settingsReceived(*logger_).empty());
    EXPECT_FALSE(fs::exists(app / TAVIX_SETTING_FILE));
}

TEST_F(Configure, TheProgramFoldersSettingsApplyAndAreUpdated) {
    connect("4143");
    const fs::path app = programFolder();
    ASSERT_EQ(cli({"--app-dir", app.string(), "configure", "--points", "4000", "--interval", "0:2:0", "--channel", "1",
                   "--high", "-5", "--low", "-18"})
                  .status,
              0);
    const Outcome r = cli({"--app-dir", app.string(), "configure", "--dry-run", "--start", "now"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "A 300 100 -50 -180 300 100\nS 120 C 20 2\n");
    EXPECT_NE(readFile(app / TAVIX_SETTING_FILE).find("[#10]"), std::string::npos);
}

struct RefusedCase {
    const char *name;
    const char *model;
    std::vector<std::string> options;
    int status;
    const char *said;   // on standard error: a message key of the language file, or the text itself
};

class ConfigureRefuses : public Configure, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(ConfigureRefuses, WithTheReason) {
    const RefusedCase &c = GetParam();
    if (c.model) connect(c.model);
    std::vector<std::string> args{"configure"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const Outcome r = cli(args);
    EXPECT_EQ(r.status, c.status) << r.err;
    const std::string said = std::string(c.said).rfind("WARN", 0) == 0 ? englishText(c.said) : c.said;
    EXPECT_NE(r.err.find(said), std::string::npos) << r.err;
    if (logger_) {
        EXPECT_TRUE(settingsReceived(*logger_).empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ConfigureRefuses,
    ::testing::Values(
        // the command line alone (no logger needed)
        RefusedCase{"not a point count", nullptr, {"--points", "5000"}, 2, "--points takes 1000, 2000"},
        RefusedCase{"a limit beyond the fields", nullptr, {"--high", "3300"}, 2, "--high takes one number"},
        RefusedCase{"a value missing", nullptr, {"--unit"}, 2, "--unit needs a value"},
        RefusedCase{"a start and a start time",
                    nullptr,
                    {"--start", "3", "--start-at", "2030-01-02 08:00:00"},
                    2,
                    "does not go with --start 3"},
        // what the model does not offer, with what it offers
        RefusedCase{"points the model lacks", "41217", {"--points", "16000"}, 2, "offers 8000, 4000, 2000, 1000"},
        RefusedCase{"a start mode the model lacks",
                    "4131",
                    {"--start", "1"},
                    2,
                    "offers 20 (Start immediately), 0 (Start at date and time), 3 (Start mode 3)"},
        RefusedCase{"a channel the model lacks", "4151", {"--channel", "2", "--high", "80"}, 2, "offers 0 ("},
        RefusedCase{"a unit the model lacks", "4143", {"--unit", "c"}, 2, "offers C (°C)"},
        RefusedCase{"the alarm follows the unit",
                    "4124",
                    {"--channel", "2", "--high", "80"},
                    2,
                    "channel 0 with --unit C, channel 2 with --unit c"},
        // the window's own checks
        RefusedCase{"an interval over 12 hours", "4143", {"--interval", "12:0:1"}, 7, "WARN18"},
        RefusedCase{"30 February", "4143", {"--start-at", "2030-02-30 08:00:00"}, 7, "WARN12"},
        RefusedCase{"a start date longer than its field", "4143", {"--start-at", "2030-01-0299 10:00:00"}, 7, "WARN12"},
        RefusedCase{
            "a start time longer than its field", "4143", {"--start-at", "2030-01-02 10:00:00.000000"}, 7, "WARN13"},
        RefusedCase{
            "a low limit above the high one", "4143", {"--channel", "2", "--high", "40", "--low", "50"}, 7, "WARN14"}),
    [](const auto &info) { return caseName(info.param.name); });

TEST_F(Configure, AnUnansweredAlarmCommandEndsWithoutTheSettings) {
    sim::LoggerConfig config;
    config.modelName = "4143";
    config.fault.noAnswerTo = "A";
    connect(config);
    const Outcome r = cli({"configure", "--points", "8000"});
    EXPECT_EQ(r.status, 8) << r.err;
    EXPECT_NE(r.err.find(englishText("WARN16")), std::string::npos) << r.err;
    EXPECT_EQ(settingsReceived(*logger_), std::vector<std::string>{"A 300 100 300 100 300 100"});
}

TEST_F(Configure, ALoggerThatIsLoggingIsNotConfigured) {
    sim::LoggerConfig config;
    config.modelName = "4143";
    config.status = 1;
    connect(config);
    const Outcome r = cli({"configure", "--points", "8000"});
    EXPECT_EQ(r.status, 10) << r.err;
    EXPECT_NE(r.err.find("the logger is logging"), std::string::npos) << r.err;
    EXPECT_TRUE(settingsReceived(*logger_).empty());
}

}   // namespace
