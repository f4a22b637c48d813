// The calibration as last received from the logger or taken from a calibration window, and
// its start-up values.
#include <algorithm>

#include "model/LoggerSettings.h"

int tempCaliData[TEMP_CALI_POINTS] = {};
char rhCaliZstr[RH_CALI_Z_SIZE] = "";
char rhCaliSstr[RH_CALI_S_SIZE] = "";

void resetCalibrationState() {
    std::fill(tempCaliData, tempCaliData + TEMP_CALI_POINTS, 0);
    rhCaliZstr[0] = '\0';
    rhCaliSstr[0] = '\0';
}
