// The logger's clock, identifier and sleep mode, three small sections of the logger-settings
// window. Each section only checks what the user typed, keeps it here and raises a request key;
// the link control then sends the clock command (C) or the identifier command (J, which carries
// the identifier and the sleep mode together). A field edited and not yet sent is yellow.
//
// State (global, single instance, defined in clock_setting_state.cpp): the texts typed into the
// clock fields, the time they give, the identifier and the sleep mode to send. While the
// clock-follows-PC bit of gFlag is set, the link timer writes the PC's date and time into the
// clock fields; a click into or typing in a clock field clears it, clock Cancel sets it again.
#pragma once

#include "model/Clock.h"

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

// 1 when the identifier can be sent as one field of the identifier command and read back from
// the logger's answer: printable ASCII without spaces, at most SET_ID_FIELD_MAX characters (the
// empty identifier included); 0 otherwise.
int identifierSendable(const char *text);

// ---------------------------------------------------------------- callbacks

// The clock: the logger's date and time fields, OK (set the clock) and Cancel (follow the
// PC's clock again).
int sRealDateCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sRealTimeCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cOkClockCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cCancelClockCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The sleep mode's OK: sends the identifier field and the sleep switch, without a message.
int cSleepModeCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The identifier: its field, OK (send it with the sleep switch) and Cancel.
int sIdCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cOkIdCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cCancelIdCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
