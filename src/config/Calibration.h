// Calibration of the models that support it: five temperature points (model indexes 12, 13)
// or the humidity values Z and S as texts (model index 18).
//
// Calibration runs as one cycle through the link control's keyTempCali: CALI_READ asks the
// logger for its calibration (r), CALI_READ_SENT marks that read as sent, and the answer fills
// and shows the model's calibration window; Set stores the window's values and sets CALI_WRITE,
// which sends the write (R), CALI_READ_BACK then sends the read-back (r) and goes to CALI_IDLE,
// and that answer is compared with the window: msg16 in the status line when the logger holds
// what was sent, warn17 when it does not.
//
// State (global, single instance, declared in model/LoggerSettings.h): the calibration as last
// received from the logger or taken from the window. Hiding a calibration window keeps it.
#pragma once

#include "base/Notify.h"
#include "model/LoggerSettings.h"

// Points 0 and 4 of a five-point calibration from points 1, 2 and 3, in place: the upper point
// 120/45 of the upper interval beyond point 2, the lower one 30/35 of the lower interval below
// point 1, each quotient in single precision, + 0.5, truncated toward zero.
void CalcTempCaliArray(int points[TEMP_CALI_POINTS]);
// 0 when every character of the text is a digit or a full stop, or a minus sign in the first
// place (the empty text too); 1 otherwise.
int JudgeValStr(const char *text);
// 1 when the window would take Z and S as typed: both pass JudgeValStr and hold a number,
// Z is 0 or below and S lies from 2 to 15; 0 otherwise (Set then shows warn19).
int rhCaliAcceptable(const char *z, const char *s);

// A calibration just received (installed as the notification calibrationArrived): shown in the
// model's calibration window (a read for the window), or compared with the window's values and
// said in the status line (a read-back).
void calibrationArrived(CalibrationAnswer answer);
// Its steps: show the calibration in the window, or compare it with the window.
void SetTempCaliInput();
void SetRhCaliInput();
void CheckTempCaliArray();
void CheckRhCali();

// ---------------------------------------------------------------- callbacks

// The logger-settings window's calibration button: reads the calibration of models 12, 13
// and 18 for display; does nothing for the other models.
int cCaliStartCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The temperature window: Set (write the points), Recall (read them again), close button
// and close box.
int cOkTempCaliCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cRefreshTempCaliCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cTempCaliExitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int pTempCaliCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
// The humidity window: the same for Z and S; Set refuses values out of range (warn19).
int cOkRhCaliCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cRefreshRhCaliCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cRhCaliExitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int pRhCaliCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
