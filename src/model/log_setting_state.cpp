// The logging section's state, all of it, and its start-up values; resetLogSettingState puts
// every one back.
#include <cstring>

#include "model/LoggerSettings.h"

namespace {
// The start-up values: start mode 0, 8000 points (code 3), an interval of 2 seconds.
constexpr signed char kStartMode = 0;
constexpr signed char kSamplePoints = 3;
constexpr int kSampleRate = 2;
}   // namespace

signed char lpStartMode = kStartMode;
signed char lpSamplePoints = kSamplePoints;
int lpSampleRate = kSampleRate;
char lpUnit = UNIT_CELSIUS;
double lpTmpHigh[3] = {};
double lpTmpLow[3] = {};
int lpHighLimit[3] = {};
int lpLowLimit[3] = {};
unsigned int lpSchedule = 0;
char lpDate[LP_DATE_SIZE] = "";
char lpTime[LP_TIME_SIZE] = "";
int currAlarmChannel = 0;

void resetLogSettingState() {
    lpStartMode = kStartMode;
    lpSamplePoints = kSamplePoints;
    lpSampleRate = kSampleRate;
    lpUnit = UNIT_CELSIUS;
    for (int k = 0; k < 3; ++k) {
        lpTmpHigh[k] = lpTmpLow[k] = 0.0;
        lpHighLimit[k] = lpLowLimit[k] = 0;
    }
    lpSchedule = 0;
    std::memset(lpDate, 0, sizeof lpDate);
    std::memset(lpTime, 0, sizeof lpTime);
    currAlarmChannel = 0;
}
