#include "config/Calibration.h"

int tempCaliData[5] = {};
char rhCaliZstr[RH_CALI_Z_SIZE] = "";
char rhCaliSstr[RH_CALI_S_SIZE] = "";
