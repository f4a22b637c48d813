// The logging parameters that the logger-settings window prepares for the logger.
#pragma once

extern signed char lpStartMode;      // start-mode code
extern signed char lpSamplePoints;   // points code 0..5 (1000 .. 16000 points)
extern int lpSampleRate;             // sample interval in seconds
extern char lpUnit;                  // unit character
extern double lpTmpHigh[3];          // alarm limits per channel, display units
extern double lpTmpLow[3];
extern int lpHighLimit[3];   // the same in the logger's encoding
extern int lpLowLimit[3];
extern unsigned int lpSchedule;   // start time (start mode 0) or the start-mode code

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
