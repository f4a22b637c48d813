#include "config/LogSetting.h"

signed char lpStartMode = 0;
signed char lpSamplePoints = 3;
int lpSampleRate = 2;
char lpUnit = 'C';
double lpTmpHigh[3] = {};
double lpTmpLow[3] = {};
int lpHighLimit[3] = {};
int lpLowLimit[3] = {};
unsigned int lpSchedule = 0;
