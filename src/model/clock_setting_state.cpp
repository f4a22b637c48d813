// The state of the clock, identifier and sleep-mode sections, and its start-up values.
#include "model/LoggerSettings.h"

char lpRDate[CLOCK_TEXT_SIZE] = "";
char lpRTime[CLOCK_TEXT_SIZE] = "";
cRtc rtcValue = 0;
char lpSetId[SET_ID_SIZE] = "";
signed char lpSleep = 0;

void resetClockSettingState() {
    lpRDate[0] = '\0';
    lpRTime[0] = '\0';
    rtcValue = 0;
    lpSetId[0] = '\0';
    lpSleep = 0;
}
