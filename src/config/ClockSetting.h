// The logger's clock, identifier and sleep mode as the logger-settings window prepares them
// for the link.
#pragma once

#include "model/Clock.h"

enum { SET_ID_SIZE = 12 };

extern cRtc rtcValue;                // the time to set on the logger's clock
extern char lpSetId[SET_ID_SIZE];    // the identifier to send (at most 11 characters)
extern signed char lpSleep;          // sleep mode, 0 or 1
