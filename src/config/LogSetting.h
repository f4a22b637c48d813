// The logging and alarm section of the logger-settings window: what the next recording of the
// connected logger will be (points, interval, start, unit, alarm limits), as the user prepares
// it, checked, and encoded for the alarm command "A" and the settings command "S".
//
// The window is filled for the model currDeviceId (its lists differ per model); OK checks the
// fields, encodes the limits for the model, remembers the section in the settings file and
// sets the link's request keys, so that the link control sends "A", then "S", and hides the
// window once the logger has confirmed both. Nothing here talks to the logger.
//
// The state is global and single-instance, defined in model/LoggerSettings.h beside
// resetLogSettingState(). Limits are kept per channel: 0 temperature, 1 second temperature,
// 2 humidity.
#pragma once

#include "model/LoggerSettings.h"
// The interval's parts as a recording takes them (at most 12 hours in all). The fields hold two
// digits each, so that what is typed stays as typed until OK judges it.
enum { RATE_HOURS_MAX = 12, RATE_PART_MAX = 59, RATE_FIELD_MAX = 99 };

// Start-mode codes: 20 starts at once, 0 at the start date and time; 1 to 4 are the model's
// own ways of starting (shown with wStartMode1 .. wStartMode4).
enum { START_NOW = 20, START_AT_TIME = 0 };
// Sample intervals the logger takes, in seconds.
enum { SAMPLE_RATE_MIN = 1, SAMPLE_RATE_MAX = 43200 };

// Set the range of the two limit fields for the channel now selected (taken from the unit
// list while the alarm-channel list is dimmed).
void ChangeLogSetAlarmRange();

// Steps 1 to 6 of OK: read and check the section's fields in order, keep them in the lp
// globals and encode the limits for the model. 0, or -1 after the pop-up (titled warn11) that
// says which check failed; then nothing further is stored. OK itself goes on to send.
int takeLogSettings();

// ---------------------------------------------------------------- callbacks

// The main window's logger-settings command prepares and shows the window.
int cSetLoggerCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The logging fields: sample points, sample rate (hours, minutes, seconds), start mode, start
// date and time, unit, alarm channel and its limits.
int sSamplePointsCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sSampleRateCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sStartModeCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sStartDateCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sStartTimeCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sUnitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sAlarmChannelCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sAlarmLimitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// OK checks the logging settings and requests them to be sent to the logger.
int cOkLogCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// Cancel, the close button and the close box hide the window; nothing is sent.
int cCancelLogCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cLogExitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int pSetLoggerCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
