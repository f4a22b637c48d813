// Calibration of the models that support it: five temperature points (model indexes 12, 13)
// or the humidity values Z and S as texts (model index 18).
#pragma once

enum { RH_CALI_Z_SIZE = 10, RH_CALI_S_SIZE = 9 };

extern int tempCaliData[5];                  // temperature calibration points 0..4
extern char rhCaliZstr[RH_CALI_Z_SIZE];      // humidity value Z, at most 9 characters
extern char rhCaliSstr[RH_CALI_S_SIZE];      // humidity value S, at most 8 characters

// Show the received calibration in the calibration windows.
void SetTempCaliInput();
void SetRhCaliInput();
// Compare the calibration read back from the logger with the windows' values and say so in
// the status line.
void CheckTempCaliArray();
void CheckRhCali();
