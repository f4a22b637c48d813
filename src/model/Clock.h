// The compressed time of the system and the logger's clock.
//
// Every point in time that is stored, shown or sent to a logger is a cRtc: seconds since
// 2000-01-01 00:00:00 of the PC's local clock (no time zone, no daylight saving). Dates are
// read and written in the "Date Format" preference (sLocal.dateFormat): 2 = year-month-day,
// 1 = day-month-year, anything else = month-day-year. Loggers with firmware 2.21 or older
// count their clock inside three-year blocks; pc2Log and log2Pc map between the two.
#pragma once

#include <cstdint>

using cRtc = std::uint32_t;

// Month lengths: a common year (0..11), then a leap year (12..23).
extern const unsigned char mMonthTab[24];
// cRtc of 1 January 00:00:00 of the years 2000, 2003, ..., 2066 (2000 + 3i).
extern const cRtc cRtc_Limit[23];

// Where the displays leave the date (10 characters) and time (8 characters) of a record,
// usually as cRtc2Rtc(t, rtcDate, rtcTime).
extern char rtcDate[11];
extern char rtcTime[9];

// 1 when the text has at most 10 characters, all decimal digits (the empty text counts), else 0.
int isNumStr(const char *text);

// Day number of a date, 1 for 2000-01-01; 0 for years below 2000. Gregorian leap years.
int bRtc2Days(int year, int month, int day);

// Parses a date text (fields separated by '-', in the date-format preference) and a time text
// (hour:minute:second) into *out. 0 on success, -1 for a bad date, -2 for a bad time.
// The texts are only read. On failure *out is set to 0, so a caller that does not test the
// result never keeps an undefined time.
int rtc2CRtc(const char *dateText, const char *timeText, cRtc *out);
// The same with the date order given (2 = year-month-day, 1 = day-month-year, anything else =
// month-day-year) instead of the preference's: a data file carries the order it was written in.
int rtc2CRtcOrder(const char *dateText, const char *timeText, int dateMode, cRtc *out);
// The texts read under each of the three orders at once (as rtc2CRtcOrder with dateMode 0, 1
// and 2): bit k set when they read under order k, out[k] its time (0 when they do not).
unsigned rtc2CRtcOrders(const char *dateText, const char *timeText, cRtc out[3]);

// Calendar fields of a compressed time (month and day 1-based).
void cRtc2BRtc(cRtc t, int *year, int *month, int *day, int *hour, int *minute, int *second);

// Date text (10 characters, date-format preference) and time text "HH:MM:SS" of t.
// dateOut must hold at least 11 bytes and timeOut at least 9; neither is written beyond that.
void cRtc2Rtc(cRtc t, char *dateOut, char *timeOut);

// Today's PC date in the date-format preference. Returns a static buffer that every call
// overwrites.
char *dateStr();

// The PC's time now as a compressed time (0 when the PC date lies outside 2000..2099).
cRtc nowCRtc();

// Seconds from t to now (negative when t lies in the future).
int elapsedTime(cRtc t);

// The value to send to the logger for a PC time, and the PC time for a value the logger
// reports. Both depend on the firmware version eVersion.
unsigned pc2Log(cRtc t);
unsigned log2Pc(unsigned v);

// True for firmware that counts within three-year blocks (2.21 and older, single precision).
bool isBlockClockFirmware();
