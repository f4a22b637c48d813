// The logger's clock, identifier and sleep mode as the logger-settings window prepares them
// for the link.
#pragma once

#include "model/Clock.h"

enum { SET_ID_SIZE = 12 };

extern cRtc rtcValue;               // the time to set on the logger's clock
extern char lpSetId[SET_ID_SIZE];   // the identifier to send (at most 11 characters)
extern signed char lpSleep;         // sleep mode, 0 or 1

// ---------------------------------------------------------------- callbacks

// The clock: the logger's date and time fields, OK (set the clock) and Cancel (follow the
// PC's clock again).
int sRealDateCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sRealTimeCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cOkClockCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cCancelClockCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The sleep mode's OK.
int cSleepModeCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The identifier: its field, OK (send it) and Cancel.
int sIdCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cOkIdCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cCancelIdCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
