// tavix-cli set-clock, set-id, sleep and calibration end to end: the real tavix-cli and tavix-sim
// as processes; what the logger received is read from the simulator's log.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "CaseName.h"
#include "Programs.h"
#include "TestFolder.h"

namespace {

namespace fs = std::filesystem;
using programs::englishText;

struct CliCase {
    const char *name;
    std::vector<std::string> sim;   // tavix-sim's options
    std::vector<std::string> cli;   // the command and its words
    int status;
    const char *command;   // the last command the logger receives; "" when nothing at all is sent
    const char *key;       // a text of the language file in the output, nullptr for none
    const char *printed;   // a text printed on standard output, nullptr for none
};

class CliConfig : public ::testing::TestWithParam<CliCase> {
protected:
    void SetUp() override { dir_ = makeTestFolder("tavix-cli-config"); }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_P(CliConfig, DrivesTheWindowsAndReportsTheOutcome) {
    const CliCase &c = GetParam();
    programs::SimProcess sim(c.sim, dir_);
    ASSERT_FALSE(sim.device().empty());
    std::vector<std::string> args{"--device", sim.device()};
    args.insert(args.end(), c.cli.begin(), c.cli.end());
    const programs::Outcome r = programs::cli(args, dir_);

    EXPECT_EQ(r.status, c.status) << r.err;
    const std::vector<std::string> received = sim.received();
    if (c.command[0] == '\0') {
        EXPECT_EQ(received, std::vector<std::string>{}) << "nothing is sent";
    } else {
        ASSERT_FALSE(received.empty());
        // a letter alone: the command's text is not known beforehand
        const std::string last = c.command[1] == '\0' ? received.back().substr(0, 1) : received.back();
        EXPECT_EQ(last, c.command) << ::testing::PrintToString(received);
    }
    if (c.key != nullptr) {
        EXPECT_NE((r.out + r.err).find(englishText(c.key)), std::string::npos) << r.out << r.err;
    }
    if (c.printed != nullptr) {
        EXPECT_NE(r.out.find(c.printed), std::string::npos) << r.out;
    }
}

const std::vector<std::string> kTemperature{"--model", "41651", "--calibration", "10 20 30 40 50"};
const std::vector<std::string> kHumidity{"--model", "41660"};

std::vector<std::string> with(std::vector<std::string> options, const std::vector<std::string> &more) {
    options.insert(options.end(), more.begin(), more.end());
    return options;
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CliConfig,
    ::testing::Values(
        // 2024-02-29 12:00:00 is 8825 days and 12 hours after 2000-01-01
        CliCase{"clock given",
                {},
                {"set-clock", "2024-02-29 12:00:00"},
                0,
                "C 762523200",
                nullptr,
                "Clock set to 2024-02-29 12:00:00"},
        CliCase{"clock of the PC", {}, {"set-clock"}, 0, "C", nullptr, "Clock set to"},
        CliCase{
            "date of a common year's leap day", {}, {"set-clock", "2023-02-29", "12:00:00"}, 7, "", "WARN12", nullptr},
        CliCase{"time of hour 24", {}, {"set-clock", "2024-02-29 24:00:00"}, 7, "", "WARN13", nullptr},
        CliCase{"clock of a logging logger", {"--status", "1"}, {"set-clock"}, 7, "t", nullptr, nullptr},
        CliCase{"unanswered clock", {"--fault", "silent=C"}, {"set-clock", "--now"}, 8, "C", "WARN16", nullptr},
        CliCase{"identifier and sleep mode",
                {},
                {"set-id", "COLD-ROOM", "--sleep", "on"},
                0,
                "J COLD-ROOM 1",
                nullptr,
                "Identifier set to COLD-ROOM, sleep mode on"},
        CliCase{"identifier of 11 characters", {}, {"set-id", "ABCDEFGHIJK"}, 7, "", "msgIdChars", nullptr},
        CliCase{"identifier with a space", {}, {"set-id", "AB CD"}, 7, "", "msgIdChars", nullptr},
        CliCase{"sleep keeps the identifier", {"--id", "SHELF-3"}, {"sleep", "on"}, 0, "J SHELF-3 1", nullptr, nullptr},
        CliCase{"unanswered identifier", {"--fault", "silent=J"}, {"sleep", "off"}, 8, "J", "WARN16", nullptr},
        CliCase{"sleep neither on nor off", {}, {"sleep", "maybe"}, 2, "", nullptr, nullptr},
        // configure's options are refused, not left out: the clock or the mode would be set all the same
        CliCase{"dry run of the clock", {}, {"set-clock", "--dry-run"}, 2, "", nullptr, nullptr},
        CliCase{"points with the sleep mode", {}, {"sleep", "on", "--points", "1000"}, 2, "", nullptr, nullptr},
        CliCase{"calibration read", kTemperature, {"calibration"}, 0, "r", nullptr, "points 10 20 30 40 50"},
        CliCase{"calibration written",
                kTemperature,
                {"calibration", "--set", "100", "200", "300"},
                0,
                "r",
                "MSG16",
                "points 15 100 200 300 467"},
        CliCase{"calibration not taken",
                with(kTemperature, {"--fault", "cali-answer=10 20 30 40 50"}),
                {"calibration", "--set", "100", "200", "300"},
                9,
                "r",
                "WARN17",
                nullptr},
        CliCase{"calibration point beyond its field",
                kTemperature,
                {"calibration", "--set", "0", "0", "40000"},
                7,
                "",
                nullptr,
                nullptr},
        CliCase{
            "humidity written", kHumidity, {"calibration", "--set-rh", "-2.5", "7.5"}, 0, "r", "MSG16", "Z -2.5 S 7.5"},
        CliCase{"humidity refused", kHumidity, {"calibration", "--set-rh", "0.1", "5"}, 7, "", "WARN19", nullptr},
        CliCase{"humidity values for a temperature model",
                kTemperature,
                {"calibration", "--set-rh", "-1", "5"},
                10,
                "t",
                nullptr,
                nullptr},
        CliCase{"model without calibration", {}, {"calibration"}, 10, "t", nullptr, nullptr},
        CliCase{"unanswered calibration read",
                with(kTemperature, {"--fault", "silent=r"}),
                {"calibration"},
                8,
                "r",
                "WARN16",
                nullptr}),
    [](const auto &info) { return caseName(info.param.name); });

// The write as the logger received it, between the two reads of the cycle.
TEST(CliCalibration, WritesThePointsTheWindowDerives) {
    const fs::path dir = makeTestFolder("tavix-cli-cali");
    {
        programs::SimProcess sim(kTemperature, dir);
        ASSERT_FALSE(sim.device().empty());
        const programs::Outcome r =
            programs::cli({"--device", sim.device(), "calibration", "--set", "0", "2", "2"}, dir);
        EXPECT_EQ(r.status, 0) << r.err;
        const std::vector<std::string> received = sim.received();
        ASSERT_GE(received.size(), 2u);
        EXPECT_EQ(std::vector<std::string>(received.end() - 2, received.end()),
                  (std::vector<std::string>{"R -1 0 2 2 2", "r"}));
    }
    fs::remove_all(dir);
}

}   // namespace
