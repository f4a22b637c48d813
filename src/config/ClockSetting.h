// The logger's clock, identifier and sleep mode, three small sections of the logger-settings
// window. Each section only checks what the user typed, keeps it here and raises a request key;
// the link control then sends the clock command (C) or the identifier command (J, which carries
// the identifier and the sleep mode together). A field edited and not yet sent is yellow.
//
// State (global, single instance, declared in model/LoggerSettings.h): the texts typed into the
// clock fields, the time they give, the identifier and the sleep mode to send. While the
// clock-follows-PC bit of gFlag is set, the link timer writes the PC's date and time into the
// clock fields; a click into or typing in a clock field clears it, clock Cancel sets it again.
#pragma once

#include "model/LoggerSettings.h"

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
