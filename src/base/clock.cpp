#include "base/clock.h"

#include <chrono>
#include <ctime>

namespace rt {
namespace {

bool g_frozen = false;
LocalTime g_frozenTime;

// Days from 1970-01-01 to y-m-d in the proleptic Gregorian calendar.
long long daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * static_cast<unsigned>(m + (m > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

LocalTime civilFromSeconds(long long s) {
    long long days = s / 86400;
    long long rem = s % 86400;
    if (rem < 0) {
        rem += 86400;
        --days;
    }
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    LocalTime t;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (t.month <= 2));
    t.hour = static_cast<int>(rem / 3600);
    t.minute = static_cast<int>(rem % 3600 / 60);
    t.second = static_cast<int>(rem % 60);
    return t;
}

}   // namespace

int UtcOffsetMinutes() {
    const std::time_t now = std::time(nullptr);
    std::tm local{}, utc{};
    localtime_r(&now, &local);
    gmtime_r(&now, &utc);
    // both calendar times counted from the same origin: their difference is the offset
    auto seconds = [](const std::tm &t) {
        return daysFromCivil(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday) * 86400LL + t.tm_hour * 3600LL +
               t.tm_min * 60LL + t.tm_sec;
    };
    return static_cast<int>((seconds(local) - seconds(utc)) / 60);
}

LocalTime Now() {
    if (g_frozen) return g_frozenTime;
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    LocalTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    return t;
}

void SetClock(const LocalTime &t) {
    g_frozen = true;
    g_frozenTime = t;
}

void ClearClock() { g_frozen = false; }

bool ClockIsSet() { return g_frozen; }

void AdvanceClock(int seconds) {
    if (!g_frozen) return;
    const LocalTime &t = g_frozenTime;
    const long long s = daysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
    g_frozenTime = civilFromSeconds(s + seconds);
}

}   // namespace rt
