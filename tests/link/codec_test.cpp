// The response tokenizer and the command encoder, from tables of lines and commands.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CaseName.h"
#include "model/LoggerSettings.h"
#include "link/Link.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "panels/Panels.h"
#include "base/clock.h"

namespace {

// ---------------------------------------------------------------- tokenizer

// Reads the line with one reader per letter of ops and renders each result as text:
// C isCommand (the letter, "0" for none), N isNumber, H isHexNumber, A isCharacter ("0" for
// none), S isString, T nextToken ("-" for none).
std::vector<std::string> scan(const std::string &line, const std::string &ops) {
    resetLinkState();
    setRxLine(line.data(), static_cast<int>(line.size()));
    istEvent = 1;
    std::vector<std::string> out;
    for (char op : ops) {
        switch (op) {
            case 'C': {
                const char c = isCommand();
                out.push_back(c ? std::string(1, c) : "0");
                break;
            }
            case 'N': out.push_back(std::to_string(isNumber())); break;
            case 'H': out.push_back(std::to_string(isHexNumber())); break;
            case 'A': {
                const char c = isCharacter();
                out.push_back(c ? std::string(1, c) : "0");
                break;
            }
            case 'S': {
                char text[16];
                isString(text);
                out.push_back(text);
                break;
            }
            case 'T': {
                const char *t = nextToken(0);
                out.push_back(t ? t : "-");
                break;
            }
        }
    }
    return out;
}

struct ScanCase {
    const char *name;
    std::string line;
    const char *ops;
    std::vector<std::string> expected;
    int endOfBuf;   // -1: not checked
};

class TokenizerTable : public ::testing::TestWithParam<ScanCase> {};

TEST_P(TokenizerTable, ReadsTheFieldsInOrder) {
    const ScanCase &c = GetParam();
    EXPECT_EQ(scan(c.line, c.ops), c.expected) << c.name;
    if (c.endOfBuf >= 0) {
        EXPECT_EQ(endOfBuf, c.endOfBuf) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TokenizerTable,
    ::testing::Values(
        ScanCase{"prompt alone", ">", "C", {">"}, 1},
        ScanCase{"prompt then end of line", ">", "CCT", {">", "0", "-"}, 1},
        ScanCase{"letter and two numbers", "d 215 -12", "CNN", {"d", "215", "-12"}, 1},
        ScanCase{"two spaces make an empty field", "d 215  -12", "CNN", {"d", "215", "0"}, 0},
        ScanCase{"the number after the empty field", "d 215  -12", "CNNN", {"d", "215", "0", "-12"}, 1},
        ScanCase{"error code", "m E2", "CN", {"m", "100020"}, 1}, ScanCase{"lone E", "d E", "CN", {"d", "100000"}, 1},
        ScanCase{"error code with more digits", "d E123", "CN", {"d", "101230"}, 1},
        ScanCase{"twelve characters cut after ten", "ABCDEFGHIJKL", "SS", {"ABCDEFGHIJ", "L"}, 1},
        ScanCase{"exactly ten characters", "ABCDEFGHIJ X", "SS", {"ABCDEFGHIJ", "X"}, 1},
        ScanCase{"eleventh character is lost", "ABCDEFGHIJK L", "SSS", {"ABCDEFGHIJ", "", "L"}, 1},
        ScanCase{"identity texts", "i LOG7 41217", "CSS", {"i", "LOG7", "41217"}, 1},
        ScanCase{"hexadecimal", "x 1a2F", "TH", {"x", "6703"}, -1},
        ScanCase{"fifth hex digit ignored", "x 12345", "TH", {"x", "4660"}, -1},
        ScanCase{"x counts as zero", "x 0x12", "TH", {"x", "18"}, -1},
        ScanCase{"two-letter token is no response word", "dx 5", "CN", {"0", "5"}, 1},
        ScanCase{"d1 is no response word", "d1", "C", {"0"}, 1},
        ScanCase{"every response word", "> i m d r t", "CCCCCC", {">", "i", "m", "d", "r", "t"}, 1},
        ScanCase{"upper-case letter is no response word", "I", "C", {"0"}, 1},
        ScanCase{"tab and line feed delimit", "t\t1\n", "CN", {"t", "1"}, 0},
        ScanCase{"character", "m 5 60 c", "CNNA", {"m", "5", "60", "c"}, 1},
        ScanCase{"missing fields read as 0 or empty", "i", "CSNAH", {"i", "", "0", "0", "0"}, 1},
        ScanCase{"leading digits only", "d 12ab -x +7", "CNNN", {"d", "12", "0", "7"}, 1},
        ScanCase{
            "ten digits wrap to 32 bits", "d 4294967297", "CN", {"d", "1"}, 0},   // the end is met on the next read
        ScanCase{"leading space is an empty field", " > x", "CC", {"0", ">"}, 0},
        ScanCase{"reads after the end stay at the end", "t 1", "CNNNNNN", {"t", "1", "0", "0", "0", "0", "0"}, 1}),
    [](const auto &info) { return caseName(info.param.name); });

TEST(Tokenizer, NeverScansPastTheTerminatingZeros) {
    // A full line without any delimiter, then far more reads than it has tokens.
    const std::string line(RX_LINE_MAX, 'A');
    resetLinkState();
    setRxLine(line.data(), static_cast<int>(line.size()));
    rxBuf[RX_BUF_SIZE - 1] = 'Z';   // what lies beyond the three zeros must never be read
    istEvent = 1;
    int tokens = 0;
    for (int i = 0; i < 400; ++i) {
        if (isCommand() == 0 && pToken != nullptr) ++tokens;
        ASSERT_GE(mLast, rxBuf);
        ASSERT_LE(mLast, rxBuf + RX_LINE_MAX + 2) << "read " << i;
    }
    // 1024 characters: tokens of ten, each followed by a lost character (93 tokens of 11)
    // and a last token of the one remaining character.
    EXPECT_EQ(tokens, 94);
    EXPECT_EQ(endOfBuf, 1);
}

TEST(Tokenizer, AnOverlongLineIsCutToTheBuffer) {
    const std::string line(RX_LINE_MAX + 100, 'x');
    setRxLine(line.data(), static_cast<int>(line.size()));
    EXPECT_EQ(rxLen, RX_LINE_MAX);
    EXPECT_EQ(rxBuf[RX_LINE_MAX], 0);
    EXPECT_EQ(rxBuf[RX_LINE_MAX + 1], 0);
    EXPECT_EQ(rxBuf[RX_LINE_MAX + 2], 0);
}

TEST(Tokenizer, IsStringCutsToTheDestination) {
    setRxLine("i ABCDEFGHIJ", 12);
    istEvent = 1;
    isCommand();
    char small[5];
    isString(small);
    EXPECT_STREQ(small, "ABCD");
}

TEST(Tokenizer, LookupComparesTheWholeToken) {
    struct {
        const char *token, *word;
        int expected;
    } cases[] = {{"d", "d", 1}, {"dd", "d", 0}, {"d1", "d", 0}, {">", ">", 1}, {"m", "d", 0}, {"ABCDEFGHIJ", "A", 0}};
    for (const auto &c : cases) EXPECT_EQ(lookupCommand(c.token, c.word), c.expected) << c.token;
}

TEST(Tokenizer, HexDigits) {
    const char digits[] = "0123456789abcdefABCDEFgxG/:@`";
    const int values[] = {0,  1,  2,  3,  4,  5,  6,  7, 8, 9, 10, 11, 12, 13, 14,
                          15, 10, 11, 12, 13, 14, 15, 0, 0, 0, 0,  0,  0,  0};
    for (std::size_t i = 0; i + 1 < sizeof digits; ++i) EXPECT_EQ(hex2Dec(digits[i]), values[i]) << digits[i];
}

TEST(Tokenizer, DelimitersAndTheEndFlag) {
    endOfBuf = 0;
    for (char c : {'\r', '\t', ' ', '\n'}) EXPECT_EQ(delimits(c), 1);
    EXPECT_EQ(endOfBuf, 0);
    for (char c : {'a', '>', '\v', '-', 'E'}) EXPECT_EQ(delimits(c), 0);
    EXPECT_EQ(delimits(0), 1);
    EXPECT_EQ(endOfBuf, 1);
}

// ---------------------------------------------------------------- encoder

// The compressed time of a calendar time.
cRtc at(int y, int mo, int d, int h, int mi, int s) {
    return static_cast<cRtc>(((bRtc2Days(y, mo, d) - 1) * 24LL + h) * 3600 + mi * 60 + s);
}

struct CommandCase {
    const char *name;
    int model;
    float version;
    char unit;
    char letter;
    const char *expected;   // nullptr: nothing is sent (txBuf unchanged)
};

class EncoderTable : public ::testing::TestWithParam<CommandCase> {
protected:
    void SetUp() override {
        resetLinkState();
        portNo = 1;   // not open here: the line is only formatted
        const int high[3] = {300, 250, 900}, low[3] = {-100, 0, 100};
        for (int k = 0; k < 3; ++k) {
            lpHighLimit[k] = high[k];
            lpLowLimit[k] = low[k];
        }
        lpSampleRate = 2;
        lpSchedule = 20;
        lpSamplePoints = 3;
        std::strcpy(lpSetId, "LOG7");
        lpSleep = 1;
        const int cali[5] = {-12, 5, 250, 700, 1300};
        for (int k = 0; k < 5; ++k) tempCaliData[k] = cali[k];
        std::strcpy(rhCaliZstr, "-1.5");
        std::strcpy(rhCaliSstr, "5.25");
    }
};

TEST_P(EncoderTable, FormatsTheCommandLine) {
    const CommandCase &c = GetParam();
    currDeviceId = c.model;
    eVersion = c.version;
    lpUnit = c.unit;
    std::strcpy(txBuf, "untouched");
    sendCommand(c.letter);
    EXPECT_STREQ(txBuf, c.expected ? c.expected : "untouched") << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, EncoderTable,
    ::testing::Values(
        CommandCase{"identity", 10, 2.4f, 'C', 'I', "I\r"}, CommandCase{"memory", 10, 2.4f, 'C', 'M', "M\r"},
        CommandCase{"status", 10, 2.4f, 'C', 't', "t\r"}, CommandCase{"download", 10, 2.4f, 'C', 'D', "D\r"},
        CommandCase{"stop", 10, 2.4f, 'C', 'Q', "Q\r"}, CommandCase{"read calibration", 12, 2.4f, 'C', 'r', "r\r"},
        CommandCase{"settings with a start-mode code", 10, 2.4f, 'C', 'S', "S 2 C 20 3\r"},
        CommandCase{"settings carry the unit letter as is", 4, 2.4f, 'c', 'S', "S 2 c 20 3\r"},
        CommandCase{"identifier and sleep", 10, 2.4f, 'C', 'J', "J LOG7 1\r"},
        CommandCase{"A1 thermistor model", 1, 2.4f, 'C', 'A', "A 300 -100\r"},
        CommandCase{"A1", 6, 2.4f, 'C', 'A', "A 300 -100\r"},
        CommandCase{"A1 model 4 upper-case unit", 4, 2.4f, 'F', 'A', "A 300 -100\r"},
        CommandCase{"A5 model 4 lower-case unit", 4, 2.4f, 'c', 'A', "A 900 100\r"},
        CommandCase{"A2", 9, 2.4f, 'C', 'A', "A 300 -100 250 0\r"},
        CommandCase{"A3", 10, 2.4f, 'C', 'A', "A 300 -100 250 0 900 100\r"},
        CommandCase{"A4", 18, 2.4f, 'C', 'A', "A 300 -100 900 100\r"},
        CommandCase{"A4 model 24", 24, 2.4f, 'C', 'A', "A 300 -100 900 100\r"},
        CommandCase{"no alarm layout", 2, 2.4f, 'C', 'A', nullptr},
        CommandCase{"temperature calibration 12", 12, 2.4f, 'C', 'R', "R -12 5 250 700 1300\r"},
        CommandCase{"temperature calibration 13", 13, 2.4f, 'C', 'R', "R -12 5 250 700 1300\r"},
        CommandCase{"humidity calibration 18", 18, 2.4f, 'C', 'R', "R -1.5 5.25\r"},
        CommandCase{"no calibration", 10, 2.4f, 'C', 'R', nullptr},
        CommandCase{"not a command letter", 10, 2.4f, 'C', 'X', nullptr}),
    [](const auto &info) { return caseName(info.param.name); });

// Every model's alarm line carries exactly the limits of its layout.
TEST(Encoder, AlarmLineOfEveryModel) {
    resetLinkState();
    const int high[3] = {11, 22, 33}, low[3] = {-1, -2, -3};
    for (int k = 0; k < 3; ++k) {
        lpHighLimit[k] = high[k];
        lpLowLimit[k] = low[k];
    }
    lpUnit = 'C';
    for (int model = 1; model < MODEL_COUNT; ++model) {
        currDeviceId = model;
        txBuf[0] = 0;
        sendCommand('A');
        const int mask = alarmChannelMask(alarmLayout(model, lpUnit));
        std::string expected = mask ? "A" : "";
        for (int k = 0; k < 3; ++k)
            if (mask & (1 << k)) expected += " " + std::to_string(high[k]) + " " + std::to_string(low[k]);
        if (mask) expected += "\r";
        EXPECT_EQ(std::string(txBuf), expected) << "model " << model;
    }
}

TEST(Encoder, ClockOfOldFirmwareIsSentAsTheOffsetInItsBlock) {
    resetLinkState();
    rt::SetClock({2026, 3, 5, 12, 0, 0});
    eVersion = 2.21f;
    rtcValue = at(2024, 1, 1, 0, 1, 40);
    sendCommand('C');
    EXPECT_STREQ(txBuf, "C 100\r");
    EXPECT_EQ(rtcValue, 100u);

    // the same clock for current firmware goes out unchanged
    eVersion = 2.4f;
    rtcValue = at(2024, 1, 1, 0, 1, 40);
    sendCommand('C');
    EXPECT_EQ(std::string(txBuf), "C " + std::to_string(at(2024, 1, 1, 0, 1, 40)) + "\r");
    rt::ClearClock();
}

TEST(Encoder, StartTimeOfOldFirmwareIsConvertedAndKept) {
    resetLinkState();
    rt::SetClock({2026, 3, 5, 12, 0, 0});
    eVersion = 2.21f;
    lpSampleRate = 60;
    lpUnit = 'F';
    lpSamplePoints = 5;
    lpSchedule = at(2026, 3, 6, 8, 0, 0);
    const unsigned converted = pc2Log(lpSchedule);
    ASSERT_LT(converted, at(2026, 3, 6, 8, 0, 0));
    sendCommand('S');
    EXPECT_EQ(std::string(txBuf), "S 60 F " + std::to_string(converted) + " 5\r");
    EXPECT_EQ(lpSchedule, converted);
    rt::ClearClock();
}

TEST(Encoder, OverlongTextsAreCut) {
    resetLinkState();
    currDeviceId = 18;
    std::memset(rhCaliZstr, '7', sizeof rhCaliZstr);   // no terminating zero at all
    std::memset(rhCaliSstr, '8', sizeof rhCaliSstr);
    sendCommand('R');
    EXPECT_STREQ(txBuf, "R 777777777 88888888\r");
    std::memset(lpSetId, 'N', sizeof lpSetId);
    lpSleep = 0;
    sendCommand('J');
    EXPECT_STREQ(txBuf, "J NNNNNNNNNNN 0\r");
}

}   // namespace
