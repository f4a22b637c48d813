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

// One field of a date or time text.
struct Field {
    const char *start = nullptr;
    int length = 0;   // counted up to kMaxNumDigits + 1 at most
};

// Splits text at sep into up to three fields. Runs of the separator count as one, leading
// separators are skipped, anything after the third field is ignored. Returns the number of
// fields found. Lengths are counted only as far as a field can still be numeric.
int splitFields(const char *text, char sep, Field fields[3]) {
    int count = 0;
    const char *p = text;
    while (count < 3) {
        while (*p == sep) ++p;
        if (*p == '\0') break;
        Field &f = fields[count++];
        f.start = p;
        f.length = 0;
        while (*p != '\0' && *p != sep) {
            if (f.length <= kMaxNumDigits) ++f.length;
            ++p;
        }
    }
    return count;
}

bool fieldIsNumeric(const Field &f) {
    if (f.length > kMaxNumDigits) return false;
    for (int k = 0; k < f.length; ++k) {
        if (f.start[k] < '0' || f.start[k] > '9') return false;
    }
    return true;
}

long long fieldValue(const Field &f) {
    long long v = 0;
    for (int k = 0; k < f.length && k < kMaxNumDigits; ++k) v = v * 10 + (f.start[k] - '0');
    return v;
}

// Reads three numeric fields; false when one is missing or not numeric.
bool readThreeNumbers(const char *text, char sep, long long values[3]) {
    if (text == nullptr) return false;
    Field fields[3];
    if (splitFields(text, sep, fields) != 3) return false;
    for (int k = 0; k < 3; ++k) {
        if (!fieldIsNumeric(fields[k])) return false;
        values[k] = fieldValue(fields[k]);
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
    long long year = 0, month = 0, day = 0;
    int result = 0;
    if (!readThreeNumbers(dateText, '-', d)) {
        result = -1;
    } else {
        switch (dateMode) {
            case 2:
                year = d[0];
                month = d[1];
                day = d[2];
                break;
            case 1:
                day = d[0];
                month = d[1];
                year = d[2];
                break;
            default:
                month = d[0];
                day = d[1];
                year = d[2];
                break;
        }
        // The plain rule (divisible by 4) is exact for 2000..2099.
        if (year < 2000 || year >= 2100 || month < 1 || month > 12 || day < 1 ||
            day > monthLength(static_cast<int>(month), year % 4 == 0)) {
            result = -1;
        }
    }
    long long tm[3];
    if (result == 0) {
        if (!readThreeNumbers(timeText, ':', tm) || tm[0] >= 24 || tm[1] >= 60 || tm[2] >= 60) {
            result = -2;
        }
    }
    if (out == nullptr) return result;
    if (result != 0) {
        *out = 0;
        return result;
    }
    const long long days = bRtc2Days(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
    *out = static_cast<cRtc>((((days - 1) * 24 + tm[0]) * 60 + tm[1]) * 60 + tm[2]);
    return 0;
}

void cRtc2BRtc(cRtc t, int *year, int *month, int *day, int *hour, int *minute, int *second) {
    // The whole 32-bit range is decoded (up to 2136-02-07 06:28:15), so every field stays
    // inside its calendar range.
    std::uint32_t rest = t;
    int y = 2000;
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
