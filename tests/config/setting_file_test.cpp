// The settings file "TavixSetting.ini": OK remembers the logging section per model, opening
// the window restores it; a start time that has passed, a key that is missing or holds what
// the window cannot show, and the alarm channel are not restored.
#include <fstream>
#include <sstream>
#include <string>

#include "SettingsWindow.h"
#include "ini/inifile.h"

namespace {

class SettingFile : public SettingsWindow {
protected:
    void SetUp() override {
        SettingsWindow::SetUp();
        start();
    }
    std::string file() const { return (dir_ / TAVIX_SETTING_FILE).string(); }
    void write(const std::string &text) const { std::ofstream(file(), std::ios::binary) << text; }
    // The stored value of a key, "" when missing.
    std::string stored(const char *section, const char *key) const {
        IniHandle ini = Ini_New(1);
        Ini_ReadFromFile(ini, file().c_str());
        const char *value = nullptr;
        Ini_GetPointerToRawString(ini, section, key, &value);
        std::string out = value ? value : "";
        Ini_Dispose(ini);
        return out;
    }
    // Model 12's section as a user leaves it: 2000 points, 1 h 2 min 3 s, start at a time,
    // limits 25.5/-5 (temperature) and 45/40 (second temperature), the second channel shown.
    void configureModel12() {
        open(12);
        set(SETLOGGER_SAMPLEPOINTS, 1);
        interval(1, 2, 3);
        set(SETLOGGER_STARTMODE, 0);
        set(SETLOGGER_STARTDATE, "2027-03-04");
        set(SETLOGGER_STARTTIME, "05:06:07");
        limits(25.5, -5.0);
        set(SETLOGGER_ALARMCHANNEL, 1);
        limits(45.0, 40.0);
        press(SETLOGGER_LOG_OK);
        ASSERT_TRUE(requested());
    }
};

TEST_F(SettingFile, EachModelHasItsSectionAndReopeningShowsItsValues) {
    configureModel12();
    open(3);
    limits(-10.0, -20.0);
    press(SETLOGGER_LOG_OK);
    ASSERT_TRUE(requested());

    // both sections; list positions (not codes), limits in display units, the start packed
    cRtc start = 0;
    ASSERT_EQ(rtc2CRtc("2027-03-04", "05:06:07", &start), 0);
    const std::string packed = std::to_string(start);
    const struct {
        const char *key, *value;
    } model12[] = {
        {"POINTS", "2"},  {"Rate_Hour", "1"},  {"Rate_Min", "2"},           {"Rate_Sec", "3"},  {"Mode", "1"},
        {"CHANNEL", "1"}, {"TEMP_HI", "25.5"}, {"TEMP_LO", "-5"},           {"TEMP2_HI", "45"}, {"TEMP2_LO", "40"},
        {"RH_HI", "30"},  {"RH_LO", "10"},     {"Schedule", packed.c_str()}};
    for (const auto &kv : model12) EXPECT_EQ(stored("#12", kv.key), kv.value) << kv.key;
    EXPECT_EQ(stored("#3", "TEMP_HI"), "-10");
    EXPECT_EQ(stored("#3", "Mode"), "0");

    // reopened for model 12: its values again, the alarm channel list on its first entry
    open(12);
    EXPECT_EQ(value(SETLOGGER_SAMPLEPOINTS), 1);   // code 1: 2000 points
    EXPECT_EQ(std::vector<int>({value(SETLOGGER_RATE_HOUR), value(SETLOGGER_RATE_MIN), value(SETLOGGER_RATE_SEC)}),
              std::vector<int>({1, 2, 3}));
    EXPECT_EQ(value(SETLOGGER_STARTMODE), 0);
    EXPECT_EQ(dimmed(idSetLogger, SETLOGGER_STARTDATE), 0);
    EXPECT_EQ(text(SETLOGGER_STARTDATE), "2027-03-04");
    EXPECT_EQ(text(SETLOGGER_STARTTIME), "05:06:07");
    EXPECT_EQ(value(SETLOGGER_ALARMCHANNEL), 0);   // CHANNEL is not read
    EXPECT_EQ(currAlarmChannel, 0);
    EXPECT_DOUBLE_EQ(real(SETLOGGER_HIGHALARM), 25.5);
    EXPECT_DOUBLE_EQ(real(SETLOGGER_LOWALARM), -5.0);
    EXPECT_EQ(std::make_pair(lpTmpHigh[1], lpTmpLow[1]), std::make_pair(45.0, 40.0));

    // and model 3 its own
    open(3);
    EXPECT_DOUBLE_EQ(real(SETLOGGER_HIGHALARM), -10.0);
    EXPECT_EQ(value(SETLOGGER_STARTMODE), 20);
}

TEST_F(SettingFile, APastStartIsNotRestored) {
    configureModel12();
    rt::SetClock({2027, 3, 4, 5, 6, 7});   // the start itself is not past yet
    open(12);
    EXPECT_EQ(text(SETLOGGER_STARTDATE), "2027-03-04");
    rt::SetClock({2027, 3, 4, 5, 6, 8});
    open(12);
    EXPECT_EQ(text(SETLOGGER_STARTDATE), "2027-03-04");   // today
    EXPECT_EQ(text(SETLOGGER_STARTTIME), "05:06:08");     // now, not the start
    EXPECT_EQ(value(SETLOGGER_STARTMODE), 0);             // the rest is restored
    EXPECT_EQ(value(SETLOGGER_RATE_HOUR), 1);
}

TEST_F(SettingFile, WhatTheWindowCannotShowKeepsItsDefault) {
    // a missing key, values out of the lists' and fields' ranges, words, a time beyond 32 bits
    write(
        "[#10]\r\nPOINTS = 9\r\nRate_Hour = 13\r\nRate_Min = 7\r\nRate_Sec = 60\r\nMode = -1\r\n"
        "TEMP_HI = warm\r\nTEMP_LO = -4000\r\nTEMP2_HI = 12.5\r\nRH_HI = inf\r\nSchedule = 5e9\r\n");
    open(10);
    EXPECT_EQ(value(SETLOGGER_SAMPLEPOINTS), 5);   // the first entry, 16000
    EXPECT_EQ(std::vector<int>({value(SETLOGGER_RATE_HOUR), value(SETLOGGER_RATE_MIN), value(SETLOGGER_RATE_SEC)}),
              std::vector<int>({0, 7, 1}));
    EXPECT_EQ(value(SETLOGGER_STARTMODE), 20);
    EXPECT_EQ(std::make_pair(lpTmpHigh[0], lpTmpLow[0]), std::make_pair(30.0, 10.0));
    EXPECT_EQ(std::make_pair(lpTmpHigh[1], lpTmpLow[1]), std::make_pair(12.5, 10.0));
    EXPECT_EQ(std::make_pair(lpTmpHigh[2], lpTmpLow[2]), std::make_pair(30.0, 10.0));
    EXPECT_EQ(text(SETLOGGER_STARTTIME), "09:30:00");   // now
    EXPECT_TRUE(refusals().empty());
}

TEST_F(SettingFile, StartFieldsThatHoldNoTimeStoreNoStart) {
    // with a start mode other than 0 the fields still give the start stored
    open(10);
    press(SETLOGGER_LOG_OK);
    cRtc now = 0;
    ASSERT_EQ(rtc2CRtc("2026-12-10", "09:30:00", &now), 0);
    EXPECT_EQ(stored("#10", "Schedule"), std::to_string(now));
    // fields that do not convert (unused by start mode 20) leave the start out
    std::filesystem::remove(file());
    open(10);
    SetCtrlVal(idSetLogger, SETLOGGER_STARTTIME, "later");
    press(SETLOGGER_LOG_OK);
    ASSERT_TRUE(requested());
    EXPECT_EQ(stored("#10", "Schedule"), "");
    EXPECT_EQ(stored("#10", "Rate_Sec"), "1");
}

TEST_F(SettingFile, AnUnreadableFileRestoresNothingAndIsReplacedByOk) {
    std::filesystem::create_directory(file());   // a folder where the file should be
    open(10);
    EXPECT_EQ(value(SETLOGGER_RATE_SEC), 1);
    press(SETLOGGER_LOG_OK);
    EXPECT_TRUE(requested());         // the settings still go to the logger
    EXPECT_EQ(agent_.count(""), 0);   // not said
    std::filesystem::remove(file());
    write("no section at all\r\n");
    open(10);
    set(SETLOGGER_RATE_MIN, 5);
    press(SETLOGGER_LOG_OK);
    EXPECT_EQ(stored("#10", "Rate_Min"), "5");
}

}   // namespace
