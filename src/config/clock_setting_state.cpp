#include "config/ClockSetting.h"

cRtc rtcValue = 0;
char lpSetId[SET_ID_SIZE] = "";
signed char lpSleep = 0;
