#include "model/Clock.h"

#include <climits>
#include <cstdio>

#include "base/Prefs.h"
#include "model/Models.h"
#include "base/clock.h"

const unsigned char mMonthTab[24] = {
    31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31,   // common year
    31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31,   // leap year
};

const cRtc cRtc_Limit[23] = {
    0u,          94694400u,   189388800u,  284083200u,  378691200u,  473385600u,  568080000u,  662774400u,
    757382400u,  852076800u,  946771200u,  1041465600u, 1136073600u, 1230768000u, 1325462400u, 1420156800u,
    1514764800u, 1609459200u, 1704153600u, 1798848000u, 1893456000u, 1988150400u, 2082844800u,
};

char rtcDate[11];
char rtcTime[9];

namespace {

char sDate[11];

constexpr int kMaxNumDigits = 10;

bool isGregorianLeap(long long year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Leap years in 1..n (n >= 0).
long long leapsUpTo(long long n) { return n / 4 - n / 100 + n / 400; }

int monthLength(int month, bool leap) { return mMonthTab[(leap ? 12 : 0) + month - 1]; }

// Reads three numeric fields of text, separated by sep: runs of the separator count as one,
// leading separators are skipped, anything after the third field is ignored. False when a
// field is missing or is not all decimal digits (at most kMaxNumDigits of them). One pass over
// the characters: every date and time of a data file comes through here.
bool readThreeNumbers(const char *text, char sep, long long values[3]) {
    if (text == nullptr) return false;
    const char *p = text;
    for (int k = 0; k < 3; ++k) {
        while (*p == sep) ++p;
        if (*p == '\0') return false;
        long long v = 0;
        int length = 0;
        for (; *p != sep && *p != '\0'; ++p) {
            const unsigned digit = static_cast<unsigned char>(*p) - static_cast<unsigned>('0');
            if (digit > 9 || ++length > kMaxNumDigits) return false;
            v = v * 10 + digit;
        }
        values[k] = v;
    }
    return true;
}

// The run-time's texts of today (always MM-DD-YYYY) and now (HH:MM:SS).
void pcDateText(char out[11]) {
    const rt::LocalTime now = rt::Now();
    std::snprintf(out, 11, "%02d-%02d-%04d", now.month, now.day, now.year);
}

void pcTimeText(char out[9]) {
    const rt::LocalTime now = rt::Now();
    std::snprintf(out, 9, "%02d:%02d:%02d", now.hour, now.minute, now.second);
}

// A date of 2000..2099 (month and day 1-based).
struct CalendarDate {
    long long year = 0, month = 0, day = 0;
};

// The date of three date fields in the order dateMode (2 = year-month-day, 1 = day-month-year,
// anything else = month-day-year); false when it is no valid date of 2000..2099.
bool orderedDate(const long long d[3], int dateMode, CalendarDate *date) {
    switch (dateMode) {
        case 2: *date = {d[0], d[1], d[2]}; break;
        case 1: *date = {d[2], d[1], d[0]}; break;
        default: *date = {d[2], d[0], d[1]}; break;
    }
    // The plain rule (divisible by 4) is exact for 2000..2099.
    return date->year >= 2000 && date->year < 2100 && date->month >= 1 && date->month <= 12 && date->day >= 1 &&
           date->day <= monthLength(static_cast<int>(date->month), date->year % 4 == 0);
}

// Hour, minute and second of a time text; false when it does not read.
bool readTime(const char *timeText, long long tm[3]) {
    return readThreeNumbers(timeText, ':', tm) && tm[0] < 24 && tm[1] < 60 && tm[2] < 60;
}

cRtc compressTime(const CalendarDate &date, const long long tm[3]) {
    const long long days =
        bRtc2Days(static_cast<int>(date.year), static_cast<int>(date.month), static_cast<int>(date.day));
    return static_cast<cRtc>((((days - 1) * 24 + tm[0]) * 60 + tm[1]) * 60 + tm[2]);
}

// First index i with t below cRtc_Limit[i], or 23 when there is none (always >= 1).
int blockIndex(cRtc t) {
    int i = 0;
    while (i < 23 && t >= cRtc_Limit[i]) ++i;
    return i;
}

}   // namespace

int isNumStr(const char *text) {
    if (text == nullptr) return 0;
    for (int k = 0; k <= kMaxNumDigits; ++k) {
        if (text[k] == '\0') return 1;
        if (text[k] < '0' || text[k] > '9') return 0;
    }
    return 0;   // more than 10 characters
}

int bRtc2Days(int year, int month, int day) {
    if (year < 2000) return 0;
    // Whole years 2000 .. year-1.
    const long long y = year;
    long long days = 365 * (y - 2000) + (leapsUpTo(y - 1) - leapsUpTo(1999));
    // Months of the year itself before the given one.
    const bool leap = isGregorianLeap(y);
    for (int m = 1; m < month && m <= 12; ++m) days += monthLength(m, leap);
    days += day;
    if (days > INT_MAX) return INT_MAX;
    if (days < INT_MIN) return INT_MIN;
    return static_cast<int>(days);
}

int rtc2CRtc(const char *dateText, const char *timeText, cRtc *out) {
    return rtc2CRtcOrder(dateText, timeText, sLocal.dateFormat, out);
}

int rtc2CRtcOrder(const char *dateText, const char *timeText, int dateMode, cRtc *out) {
    long long d[3];
    CalendarDate date;
    int result = 0;
    if (!readThreeNumbers(dateText, '-', d) || !orderedDate(d, dateMode, &date)) result = -1;
    long long tm[3];
    if (result == 0 && !readTime(timeText, tm)) result = -2;
    if (out == nullptr) return result;
    *out = result == 0 ? compressTime(date, tm) : 0;
    return result;
}

unsigned rtc2CRtcOrders(const char *dateText, const char *timeText, cRtc out[3]) {
    out[0] = out[1] = out[2] = 0;
    long long d[3];
    if (!readThreeNumbers(dateText, '-', d)) return 0;
    unsigned read = 0;
    long long tm[3];
    bool timeRead = false;
    for (int order = 0; order < 3; ++order) {
        CalendarDate date;
        if (!orderedDate(d, order, &date)) continue;
        // the time reads the same under every order: once
        if (!timeRead && !readTime(timeText, tm)) return 0;
        timeRead = true;
        out[order] = compressTime(date, tm);
        read |= 1u << order;
    }
    return read;
}

void cRtc2BRtc(cRtc t, int *year, int *month, int *day, int *hour, int *minute, int *second) {
    // The whole 32-bit range is decoded (up to 2136-02-07 06:28:15), so every field stays
    // inside its calendar range.
    // Start at a year that cannot lie past t's (no year is longer than 366 days), then step on:
    // at most one step.
    int y = 2000 + static_cast<int>(t / 31622400u);
    std::uint32_t rest = t - static_cast<std::uint32_t>(bRtc2Days(y, 1, 1) - 1) * 86400u;
    for (;;) {
        const std::uint32_t len = isGregorianLeap(y) ? 31622400u : 31536000u;
        if (rest < len) break;
        rest -= len;
        ++y;
    }
    const bool leap = isGregorianLeap(y);
    int m = 1;
    while (m < 12) {
        const std::uint32_t len = static_cast<std::uint32_t>(monthLength(m, leap)) * 86400u;
        if (rest < len) break;
        rest -= len;
        ++m;
    }
    const int d = static_cast<int>(rest / 86400u) + 1;
    rest %= 86400u;
    if (year) *year = y;
    if (month) *month = m;
    if (day) *day = d;
    if (hour) *hour = static_cast<int>(rest / 3600u);
    if (minute) *minute = static_cast<int>(rest % 3600u / 60u);
    if (second) *second = static_cast<int>(rest % 60u);
}

void cRtc2Rtc(cRtc t, char *dateOut, char *timeOut) {
    int year, month, day, hour, minute, second;
    cRtc2BRtc(t, &year, &month, &day, &hour, &minute, &second);
    if (dateOut != nullptr) {
        switch (sLocal.dateFormat) {
            case 2: std::snprintf(dateOut, 11, "%4d-%02d-%02d", year, month, day); break;
            case 1: std::snprintf(dateOut, 11, "%02d-%02d-%4d", day, month, year); break;
            default: std::snprintf(dateOut, 11, "%02d-%02d-%4d", month, day, year); break;
        }
    }
    if (timeOut != nullptr) std::snprintf(timeOut, 9, "%02d:%02d:%02d", hour, minute, second);
}

char *dateStr() {
    char mdy[11];
    pcDateText(mdy);   // MM-DD-YYYY
    const char *order;
    switch (sLocal.dateFormat) {
        case 2: order = "6789-01-34"; break;    // YYYY-MM-DD
        case 1: order = "34-01-6789"; break;    // DD-MM-YYYY
        default: order = "01-34-6789"; break;   // MM-DD-YYYY
    }
    for (int k = 0; k < 10; ++k) sDate[k] = order[k] == '-' ? '-' : mdy[order[k] - '0'];
    sDate[10] = '\0';
    return sDate;
}

cRtc nowCRtc() {
    char timeText[9];
    pcTimeText(timeText);
    cRtc now = 0;
    rtc2CRtc(dateStr(), timeText, &now);
    return now;
}

int elapsedTime(cRtc t) {
    const long long diff = static_cast<long long>(nowCRtc()) - static_cast<long long>(t);
    if (diff > INT_MAX) return INT_MAX;
    if (diff < INT_MIN) return INT_MIN;
    return static_cast<int>(diff);
}

bool isBlockClockFirmware() { return eVersion <= 2.21f; }

unsigned pc2Log(cRtc t) {
    if (!isBlockClockFirmware()) return t;
    const int i = blockIndex(t);
    return t - cRtc_Limit[i - 1];
}

unsigned log2Pc(unsigned v) {
    if (!isBlockClockFirmware()) return v;
    const cRtc now = nowCRtc();
    const int i = blockIndex(now);
    const unsigned current = v + cRtc_Limit[i - 1];
    // A time after now belongs to the previous block. Before 2003 there is none to go back to.
    if (current > now && i >= 2) return v + cRtc_Limit[i - 2];
    return current;
}
