// Calibration of the models that support it: five temperature points (model indexes 12, 13)
// or the humidity values Z and S as texts (model index 18).
#pragma once

enum { RH_CALI_Z_SIZE = 10, RH_CALI_S_SIZE = 9 };

extern int tempCaliData[5];               // temperature calibration points 0..4
extern char rhCaliZstr[RH_CALI_Z_SIZE];   // humidity value Z, at most 9 characters
extern char rhCaliSstr[RH_CALI_S_SIZE];   // humidity value S, at most 8 characters

// Show the received calibration in the calibration windows.
void SetTempCaliInput();
void SetRhCaliInput();
// Compare the calibration read back from the logger with the windows' values and say so in
// the status line.
void CheckTempCaliArray();
void CheckRhCali();

// ---------------------------------------------------------------- callbacks

// The logger-settings window's calibration button: reads the calibration of models 12, 13
// and 18 for display.
int cCaliStartCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The temperature window: Set (write the points), Recall (read them again), close button
// and close box.
int cOkTempCaliCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cRefreshTempCaliCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cTempCaliExitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int pTempCaliCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
// The humidity window: the same for Z and S.
int cOkRhCaliCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cRefreshRhCaliCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cRhCaliExitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int pRhCaliCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
