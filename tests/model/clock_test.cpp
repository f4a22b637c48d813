// The compressed time: day numbers, parsing and formatting in the three date modes, today's
// date, and the logger clock of old firmware that counts within three-year blocks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "base/Prefs.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "base/clock.h"

namespace {

enum DateMode : signed char { MDY = 0, DMY = 1, YMD = 2 };

// Every test starts with month-day-year dates, firmware 2.4 and the system clock.
class ClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        sLocal.dateFormat = MDY;
        eVersion = 2.4f;
        rt::ClearClock();
    }
    void TearDown() override {
        sLocal.dateFormat = MDY;
        eVersion = 2.4f;
        rt::ClearClock();
    }
    static void freeze(int y, int mo, int d, int h, int mi, int s) {
        rt::LocalTime t;
        t.year = y;
        t.month = mo;
        t.day = d;
        t.hour = h;
        t.minute = mi;
        t.second = s;
        rt::SetClock(t);
    }
};

constexpr cRtc kUntouched = 0xDEADBEEFu;

// ---------------------------------------------------------------- tables and day numbers

TEST_F(ClockTest, MonthTableHasACommonAndALeapYear) {
    const int common[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 0; m < 12; ++m) {
        EXPECT_EQ(mMonthTab[m], common[m]) << "month " << m + 1;
        EXPECT_EQ(mMonthTab[12 + m], m == 1 ? 29 : common[m]) << "leap month " << m + 1;
    }
}

TEST_F(ClockTest, BlockLimitsAreFirstOfJanuaryEveryThreeYears) {
    EXPECT_EQ(cRtc_Limit[0], 0u);
    EXPECT_EQ(cRtc_Limit[1], 94694400u);
    EXPECT_EQ(cRtc_Limit[3], 284083200u);
    EXPECT_EQ(cRtc_Limit[4], 378691200u);
    EXPECT_EQ(cRtc_Limit[8], 757382400u);
    EXPECT_EQ(cRtc_Limit[22], 2082844800u);
    for (int i = 0; i < 23; ++i) {
        EXPECT_EQ(cRtc_Limit[i], static_cast<cRtc>(bRtc2Days(2000 + 3 * i, 1, 1) - 1) * 86400u) << "entry " << i;
        if (i > 0) {
            const cRtc days = (cRtc_Limit[i] - cRtc_Limit[i - 1]) / 86400u;
            EXPECT_TRUE(days == 1095 || days == 1096) << "entry " << i;
        }
    }
}

TEST_F(ClockTest, DayNumbers) {
    struct Case {
        int y, m, d, expected;
    } cases[] = {
        {2000, 1, 1, 1},
        {1999, 12, 31, 0},
        {2000, 2, 29, 60},
        {2000, 3, 1, 61},
        {2000, 12, 31, 366},
        {2001, 1, 1, 367},
        {2001, 3, 1, 367 + 59},
        {2004, 1, 1, 366 + 3 * 365 + 1},
        {2100, 1, 1, 36526},             // 25 leap years in 2000..2099
        {2100, 3, 1, 36526 + 31 + 28},   // 2100 is no leap year (Gregorian)
    };
    for (const Case &c : cases) {
        EXPECT_EQ(bRtc2Days(c.y, c.m, c.d), c.expected) << c.y << "-" << c.m << "-" << c.d;
    }
    EXPECT_EQ(bRtc2Days(2101, 1, 1) - bRtc2Days(2100, 1, 1), 365);
    EXPECT_EQ(bRtc2Days(2401, 1, 1) - bRtc2Days(2400, 1, 1), 366);
}

TEST_F(ClockTest, NumericTexts) {
    struct Case {
        const char *text;
        int expected;
    } cases[] = {
        {"", 1},   {"0", 1},  {"0123456789", 1}, {"01234567890", 0},          {"12a", 0},
        {"-1", 0}, {" 1", 0}, {"1.5", 0},        {"99999999999999999999", 0},
    };
    for (const Case &c : cases) EXPECT_EQ(isNumStr(c.text), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(isNumStr(nullptr), 0);
}

// ---------------------------------------------------------------- parsing

struct ParseCase {
    signed char mode;
    const char *date;
    const char *time;
    int result;
    cRtc value;   // when result is 0
};

TEST_F(ClockTest, ParsesDatesAndTimesInEachMode) {
    const ParseCase cases[] = {
        // the origin in every mode
        {YMD, "2000-01-01", "00:00:00", 0, 0},
        {DMY, "01-01-2000", "00:00:00", 0, 0},
        {MDY, "01-01-2000", "00:00:00", 0, 0},
        // the same day in each mode's order
        {YMD, "2024-03-05", "13:04:09", 0, 762959049},
        {DMY, "05-03-2024", "13:04:09", 0, 762959049},
        {MDY, "03-05-2024", "13:04:09", 0, 762959049},
        // leap years
        {DMY, "29-02-2000", "00:00:00", 0, 59u * 86400u},
        {DMY, "29-02-2001", "00:00:00", -1, 0},
        {MDY, "02-29-2096", "00:00:00", 0, 3034627200u},
        {YMD, "2020-02-29", "23:59:59", 0, 636335999},
        {YMD, "2100-02-29", "00:00:00", -1, 0},
        {MDY, "02-29-2100", "00:00:00", -1, 0},   // year out of range
        // the range of years
        {YMD, "2099-12-31", "23:59:59", 0, 3155759999u},
        {YMD, "1999-12-31", "23:59:59", -1, 0},
        {DMY, "01-01-2100", "00:00:00", -1, 0},
        // months and days out of range, in each mode
        {YMD, "2020-04-31", "00:00:00", -1, 0},
        {DMY, "31-04-2020", "00:00:00", -1, 0},
        {MDY, "04-31-2020", "00:00:00", -1, 0},
        {YMD, "2020-13-01", "00:00:00", -1, 0},
        {DMY, "01-00-2020", "00:00:00", -1, 0},
        {MDY, "01-00-2020", "00:00:00", -1, 0},
        {MDY, "00-10-2020", "00:00:00", -1, 0},
        {DMY, "32-01-2020", "00:00:00", -1, 0},
        // a date in another mode's order
        {MDY, "2020-01-02", "00:00:00", -1, 0},
        {YMD, "03-05-2024", "00:00:00", -1, 0},
        {DMY, "12-25-2020", "00:00:00", -1, 0},
        // the shape of the date text
        {YMD, "2000--01---01", "00:00:00", 0, 0},   // runs of the separator
        {YMD, "-2000-01-01", "00:00:00", 0, 0},     // a leading separator
        {YMD, "2000-01-01-99", "00:00:00", 0, 0},   // after the third field: ignored
        {YMD, "2000-01-01-x y", "00:00:00", 0, 0},
        {YMD, "0000002000-01-01", "00:00:00", 0, 0},     // 10 digits
        {YMD, "00000002000-01-01", "00:00:00", -1, 0},   // 11 digits
        {YMD, "99999999999999999999-01-01", "00:00:00", -1, 0},
        {YMD, "2000-01", "00:00:00", -1, 0},
        {YMD, "", "00:00:00", -1, 0},
        {YMD, "---", "00:00:00", -1, 0},
        {YMD, "2000/01/01", "00:00:00", -1, 0},
        {YMD, "2000-1a-01", "00:00:00", -1, 0},
        {YMD, "2000-01-01 ", "00:00:00", -1, 0},
        {YMD, "2000-+1-01", "00:00:00", -1, 0},
        // times
        {YMD, "2000-01-01", "7:5:3", 0, 7 * 3600 + 5 * 60 + 3},
        {YMD, "2000-01-01", "23:59:59", 0, 86399},
        {YMD, "2000-01-01", "23:59:60", -2, 0},
        {YMD, "2000-01-01", "24:00:00", -2, 0},
        {YMD, "2000-01-01", "23:60:00", -2, 0},
        {YMD, "2000-01-01", "12:00", -2, 0},
        {YMD, "2000-01-01", "", -2, 0},
        {YMD, "2000-01-01", "12::00::01", 0, 12 * 3600 + 1},
        {YMD, "2000-01-01", "12:00:00:99", 0, 12 * 3600},
        {YMD, "2000-01-01", "1 2:00:00", -2, 0},
        {YMD, "2000-01-01", "00000000001:00:00", -2, 0},
        // a bad date wins over a bad time
        {YMD, "2000-02-30", "25:00:00", -1, 0},
    };
    for (const ParseCase &c : cases) {
        sLocal.dateFormat = c.mode;
        cRtc out = kUntouched;
        EXPECT_EQ(rtc2CRtc(c.date, c.time, &out), c.result)
            << "mode " << int(c.mode) << " \"" << c.date << "\" \"" << c.time << '"';
        // A text that does not convert leaves a defined time (0), never the old contents.
        EXPECT_EQ(out, c.result == 0 ? c.value : 0u)
            << "mode " << int(c.mode) << " \"" << c.date << "\" \"" << c.time << '"';
    }
}

// A data file's dates are read under the three orders at once: each order's answer must be
// the one rtc2CRtcOrder gives for it, whichever orders a text reads in.
TEST_F(ClockTest, ReadingUnderAllOrdersAtOnceAgreesWithEachOrder) {
    const char *dates[] = {"03-05-2024", "05-13-2024", "13-05-2024", "2024-03-05",    "2024-13-05",
                           "29-02-2001", "02-29-2096", "12-12-2012", "2000--01---01", "00000002000-01-01",
                           "2000-01",    "",           "1-1-2000x",  "31-12-2099"};
    const char *times[] = {"13:04:09", "7:5:3", "24:00:00", "12:00", "", "12::00::01"};
    for (const char *date : dates)
        for (const char *time : times) {
            cRtc all[3] = {kUntouched, kUntouched, kUntouched};
            const unsigned read = rtc2CRtcOrders(date, time, all);
            for (int order = 0; order < 3; ++order) {
                cRtc one = kUntouched;
                const bool reads = rtc2CRtcOrder(date, time, order, &one) == 0;
                EXPECT_EQ((read >> order & 1u) != 0, reads) << '"' << date << "\" \"" << time << "\" order " << order;
                EXPECT_EQ(all[order], one) << '"' << date << "\" \"" << time << "\" order " << order;
            }
        }
}

TEST_F(ClockTest, ParsingLeavesTheTextsAloneAndCopesWithMissingArguments) {
    sLocal.dateFormat = YMD;
    char date[] = "2000-01-02";
    char time[] = "00:00:01";
    cRtc out = kUntouched;
    EXPECT_EQ(rtc2CRtc(date, time, &out), 0);
    EXPECT_EQ(out, 86401u);
    EXPECT_STREQ(date, "2000-01-02");
    EXPECT_STREQ(time, "00:00:01");

    EXPECT_EQ(rtc2CRtc(nullptr, "00:00:00", &out), -1);
    EXPECT_EQ(rtc2CRtc("2000-01-01", nullptr, &out), -2);
    EXPECT_EQ(rtc2CRtc("2000-01-01", "00:00:00", nullptr), 0);
}

TEST_F(ClockTest, ParsingALongTextReadsOnlyWhatItNeeds) {
    sLocal.dateFormat = YMD;
    std::string date = "2000-01-01-" + std::string(100000, '7');
    std::string field(100000, '1');
    cRtc out = kUntouched;
    EXPECT_EQ(rtc2CRtc(date.c_str(), "00:00:00", &out), 0);
    EXPECT_EQ(rtc2CRtc(("2000-01-" + field).c_str(), "00:00:00", &out), -1);
    EXPECT_EQ(rtc2CRtc("2000-01-01", (field + ":00:00").c_str(), &out), -2);
}

// ---------------------------------------------------------------- decoding and formatting

TEST_F(ClockTest, DecodesCalendarFields) {
    struct Case {
        cRtc t;
        int y, mo, d, h, mi, s;
    } cases[] = {
        {0, 2000, 1, 1, 0, 0, 0},
        {59u * 86400u, 2000, 2, 29, 0, 0, 0},
        {60u * 86400u, 2000, 3, 1, 0, 0, 0},
        {31622399u, 2000, 12, 31, 23, 59, 59},
        {31622400u, 2001, 1, 1, 0, 0, 0},   // 2000 is a leap year
        {762959049u, 2024, 3, 5, 13, 4, 9},
        {3155759999u, 2099, 12, 31, 23, 59, 59},
        {3160771200u, 2100, 2, 28, 0, 0, 0},
        {3160857600u, 2100, 3, 1, 0, 0, 0},     // 2100 is no leap year
        {4294967295u, 2136, 2, 7, 6, 28, 15},   // the largest value still gives a calendar date
    };
    for (const Case &c : cases) {
        int y = -1, mo = -1, d = -1, h = -1, mi = -1, s = -1;
        cRtc2BRtc(c.t, &y, &mo, &d, &h, &mi, &s);
        EXPECT_EQ(y, c.y) << c.t;
        EXPECT_EQ(mo, c.mo) << c.t;
        EXPECT_EQ(d, c.d) << c.t;
        EXPECT_EQ(h, c.h) << c.t;
        EXPECT_EQ(mi, c.mi) << c.t;
        EXPECT_EQ(s, c.s) << c.t;
    }
}

TEST_F(ClockTest, FormatsInEachMode) {
    struct Case {
        signed char mode;
        cRtc t;
        const char *date;
        const char *time;
    } cases[] = {
        {YMD, 0, "2000-01-01", "00:00:00"},           {DMY, 0, "01-01-2000", "00:00:00"},
        {MDY, 0, "01-01-2000", "00:00:00"},           {YMD, 762959049u, "2024-03-05", "13:04:09"},
        {DMY, 762959049u, "05-03-2024", "13:04:09"},  {MDY, 762959049u, "03-05-2024", "13:04:09"},
        {7, 762959049u, "03-05-2024", "13:04:09"},   // any other preference: month first
        {YMD, 3155759999u, "2099-12-31", "23:59:59"},
    };
    for (const Case &c : cases) {
        sLocal.dateFormat = c.mode;
        char date[11];
        char time[9];
        cRtc2Rtc(c.t, date, time);
        EXPECT_STREQ(date, c.date) << "mode " << int(c.mode);
        EXPECT_STREQ(time, c.time) << "mode " << int(c.mode);
    }
}

TEST_F(ClockTest, FormattingStaysInsideTheCallersBuffers) {
    for (signed char mode : {MDY, DMY, YMD}) {
        sLocal.dateFormat = mode;
        char date[11 + 4];
        char time[9 + 4];
        std::memset(date, '#', sizeof date);
        std::memset(time, '#', sizeof time);
        cRtc2Rtc(4294967295u, date, time);
        EXPECT_EQ(std::strlen(date), 10u);
        EXPECT_EQ(std::strlen(time), 8u);
        for (std::size_t k = 11; k < sizeof date; ++k) EXPECT_EQ(date[k], '#');
        for (std::size_t k = 9; k < sizeof time; ++k) EXPECT_EQ(time[k], '#');
    }
}

TEST_F(ClockTest, TheDisplaysShareOneDateAndTimeText) {
    sLocal.dateFormat = DMY;
    cRtc2Rtc(762959049u, rtcDate, rtcTime);
    EXPECT_STREQ(rtcDate, "05-03-2024");
    EXPECT_STREQ(rtcTime, "13:04:09");
}

// Parsing and decoding invert each other over 2000..2099 in every date mode. The step
// (7 hours and 13 seconds) walks through every hour, minute, second and day over the range.
TEST_F(ClockTest, ParsingInvertsFormattingOverTheWholeRange) {
    constexpr cRtc kLast = 3155759999u;   // 2099-12-31 23:59:59
    constexpr cRtc kStep = 7u * 3600u + 13u;
    for (signed char mode : {MDY, DMY, YMD}) {
        sLocal.dateFormat = mode;
        int failures = 0;
        for (unsigned long long step = 0;; ++step) {
            const cRtc t = step * kStep > kLast ? kLast : static_cast<cRtc>(step * kStep);
            int y, mo, d, h, mi, s;
            cRtc2BRtc(t, &y, &mo, &d, &h, &mi, &s);
            const bool inRange = y >= 2000 && y <= 2099 && mo >= 1 && mo <= 12 && d >= 1 &&
                                 d <= mMonthTab[(y % 4 == 0 ? 12 : 0) + mo - 1] && h < 24 && mi < 60 && s < 60;
            char date[11];
            char time[9];
            cRtc2Rtc(t, date, time);
            cRtc back = kUntouched;
            const int result = rtc2CRtc(date, time, &back);
            if (!inRange || result != 0 || back != t) {
                if (++failures <= 5) {
                    ADD_FAILURE() << "mode " << int(mode) << " t=" << t << " " << date << " " << time << " result "
                                  << result << " back " << back;
                }
            }
            if (t == kLast) break;
        }
        EXPECT_EQ(failures, 0) << "mode " << int(mode);
    }
}

// ---------------------------------------------------------------- now

TEST_F(ClockTest, TodayInEachMode) {
    freeze(2026, 7, 4, 9, 8, 7);
    struct Case {
        signed char mode;
        const char *expected;
    } cases[] = {
        {YMD, "2026-07-04"},
        {DMY, "04-07-2026"},
        {MDY, "07-04-2026"},
        {5, "07-04-2026"},
    };
    for (const Case &c : cases) {
        sLocal.dateFormat = c.mode;
        EXPECT_STREQ(dateStr(), c.expected) << "mode " << int(c.mode);
    }
    // One static text that every call overwrites.
    sLocal.dateFormat = YMD;
    char *first = dateStr();
    sLocal.dateFormat = DMY;
    EXPECT_EQ(dateStr(), first);
    EXPECT_STREQ(first, "04-07-2026");
}

TEST_F(ClockTest, ElapsedTimeCountsFromNowInEveryMode) {
    freeze(2024, 3, 5, 13, 4, 9);
    for (signed char mode : {MDY, DMY, YMD}) {
        sLocal.dateFormat = mode;
        EXPECT_EQ(nowCRtc(), 762959049u) << "mode " << int(mode);
        EXPECT_EQ(elapsedTime(762959049u - 100u), 100) << "mode " << int(mode);
        EXPECT_EQ(elapsedTime(762959049u + 60u), -60) << "mode " << int(mode);
    }
    rt::AdvanceClock(3600);
    EXPECT_EQ(elapsedTime(762959049u), 3600);
}

// ---------------------------------------------------------------- the logger clock

TEST_F(ClockTest, Firmware221CountsAsOld) {
    struct Case {
        const char *version;
        bool old;
    } cases[] = {
        {"2.1", true}, {"2.2", true}, {"2.21", true}, {"2.22", false}, {"2.3", false}, {"2.4", false},
    };
    for (const Case &c : cases) {
        eVersion = std::strtof(c.version, nullptr);
        EXPECT_EQ(isBlockClockFirmware(), c.old) << c.version;
    }
}

struct LogCase {
    float version;
    int year, month, day, hour, minute, second;   // now
    unsigned input;
    unsigned expected;
};

TEST_F(ClockTest, LoggerTimesArePlacedInTheRightBlock) {
    const LogCase cases[] = {
        // now in 2026: the current block began 2024-01-01
        {2.21f, 2026, 6, 15, 12, 0, 0, 100u, 757382400u + 100u},
        {2.3f, 2026, 6, 15, 12, 0, 0, 100u, 100u},
        {2.4f, 2026, 6, 15, 12, 0, 0, 100u, 100u},
        {2.2f, 2026, 6, 15, 12, 0, 0, 0u, 757382400u},
        // now just after 2024-01-01 00:00:00 (757382410): later values go to the previous block
        {2.21f, 2024, 1, 1, 0, 0, 10, 1000000u, 662774400u + 1000000u},
        {2.21f, 2024, 1, 1, 0, 0, 10, 10u, 757382410u},         // exactly now: current block
        {2.21f, 2024, 1, 1, 0, 0, 10, 11u, 662774400u + 11u},   // one second after now
        {2.21f, 2024, 1, 1, 0, 0, 10, 0u, 757382400u},
        {2.3f, 2024, 1, 1, 0, 0, 10, 1000000u, 1000000u},
        // now on the last second of a block
        {2.21f, 2023, 12, 31, 23, 59, 59, 94607999u, 662774400u + 94607999u},
        {2.21f, 2023, 12, 31, 23, 59, 59, 94608000u, 568080000u + 94608000u},
        // before 2003 there is no previous block: the value stays in the first one
        {2.21f, 2001, 6, 1, 0, 0, 0, 50000000u, 50000000u},
    };
    for (const LogCase &c : cases) {
        eVersion = c.version;
        freeze(c.year, c.month, c.day, c.hour, c.minute, c.second);
        EXPECT_EQ(log2Pc(c.input), c.expected)
            << "version " << c.version << " now " << c.year << "-" << c.month << "-" << c.day << " value " << c.input;
    }
}

TEST_F(ClockTest, LoggerTimesDoNotDependOnTheDateMode) {
    eVersion = 2.21f;
    freeze(2024, 1, 1, 0, 0, 10);
    for (signed char mode : {MDY, DMY, YMD}) {
        sLocal.dateFormat = mode;
        EXPECT_EQ(log2Pc(1000000u), 662774400u + 1000000u) << "mode " << int(mode);
    }
}

TEST_F(ClockTest, PcTimesBecomeOffsetsInTheirBlock) {
    struct Case {
        float version;
        cRtc input;
        unsigned expected;
    } cases[] = {
        {2.21f, 757382500u, 100u},                      // 2024-01-01 00:01:40
        {2.21f, 757382400u, 0u},                        // first second of a block
        {2.21f, 757382399u, 757382399u - 662774400u},   // last second of the previous one
        {2.21f, 0u, 0u},
        {2.21f, 94694399u, 94694399u},
        {2.21f, 2082844800u, 0u},   // the last limit
        {2.21f, 4294967295u, 4294967295u - 2082844800u},
        {2.21f, 20u, 20u},   // a start-mode code stays unchanged
        {2.3f, 757382500u, 757382500u},
        {2.22f, 757382500u, 757382500u},
    };
    for (const auto &c : cases) {
        eVersion = c.version;
        EXPECT_EQ(pc2Log(c.input), c.expected) << "version " << c.version << " t " << c.input;
    }
}

TEST_F(ClockTest, OldLoggerClockRoundTripsOverTheLastBlockLengthBeforeNow) {
    eVersion = 2.21f;
    // now 2026-06-15 12:00:00 = 834840000, 77457600 s into the block of 2024; the logger's
    // offsets reach back one block length (1095 days) before now.
    freeze(2026, 6, 15, 12, 0, 0);
    for (cRtc t : {662774400u + 77457601u, 757382399u, 757382400u, 800000000u, 834840000u}) {
        EXPECT_EQ(log2Pc(pc2Log(t)), t) << t;
    }
}

}   // namespace
