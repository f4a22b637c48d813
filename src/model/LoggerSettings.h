// What the next commands to the logger carry, as the logger-settings window has prepared it and
// the encoder sends it, and the calibration as the logger last reported it: the logging and
// alarm settings, the clock, identifier and sleep mode, the calibration points. Plain data
// shared by the configuration windows (which fill it), the link's encoder (which sends it) and
// the response decoding (which reads the calibration into it).
//
// The state is global and single-instance, defined in log_setting_state.cpp,
// clock_setting_state.cpp and calibration_state.cpp beside their resets. Limits are kept per
// channel: 0 temperature, 1 second temperature, 2 humidity.
#pragma once

#include "model/Clock.h"

// ---------------------------------------------------------------- logging and alarms

enum { LP_DATE_SIZE = 12, LP_TIME_SIZE = 14 };

// The unit characters of the unit list: degrees Celsius, and (model index 4) degrees Celsius
// with the alarm on humidity.
enum : char { UNIT_CELSIUS = 'C', UNIT_CELSIUS_RH_ALARM = 'c' };

extern signed char lpStartMode;      // start-mode code
extern signed char lpSamplePoints;   // points code 0..5 (1000 .. 16000 points)
extern int lpSampleRate;             // sample interval in seconds
extern char lpUnit;                  // unit character
extern double lpTmpHigh[3];          // alarm limits per channel, display units
extern double lpTmpLow[3];
extern int lpHighLimit[3];   // the same in the logger's encoding
extern int lpLowLimit[3];
extern unsigned int lpSchedule;     // start time (start mode 0) or the start-mode code
extern char lpDate[LP_DATE_SIZE];   // start date and time as typed (start mode 0)
extern char lpTime[LP_TIME_SIZE];
extern int currAlarmChannel;   // the channel whose limits the two limit fields show (0, 1, 2)

// Back to the start-up values (start-up, tests): start mode 0, 8000 points (code 3), an interval
// of 2 seconds, unit 'C', limits 0, no schedule.
void resetLogSettingState();

// ---------------------------------------------------------------- clock, identifier, sleep mode

enum {
    CLOCK_TEXT_SIZE = 12,   // lpRDate, lpRTime: the field's text, at most 11 characters
    SET_ID_SIZE = 12,       // lpSetId: the identifier, at most 11 characters
    // The identifier field takes at most 10 characters: the logger's answer holds no more, so a
    // longer identifier could never be read back (and would push the model name out of it).
    SET_ID_FIELD_MAX = 10,
};

extern char lpRDate[CLOCK_TEXT_SIZE];   // the clock date as typed (date-format preference)
extern char lpRTime[CLOCK_TEXT_SIZE];   // the clock time as typed (HH:MM:SS)
extern cRtc rtcValue;                   // the time to set on the logger's clock
extern char lpSetId[SET_ID_SIZE];       // the identifier to send
extern signed char lpSleep;             // sleep mode, 0 off or 1 on

// Back to the start-up state (tests).
void resetClockSettingState();

// ---------------------------------------------------------------- calibration

enum { RH_CALI_Z_SIZE = 10, RH_CALI_S_SIZE = 9, TEMP_CALI_POINTS = 5 };

extern int tempCaliData[TEMP_CALI_POINTS];   // temperature calibration points 0..4
extern char rhCaliZstr[RH_CALI_Z_SIZE];      // humidity value Z, at most 9 characters
extern char rhCaliSstr[RH_CALI_S_SIZE];      // humidity value S, at most 8 characters

// Back to the start-up state (tests).
void resetCalibrationState();
