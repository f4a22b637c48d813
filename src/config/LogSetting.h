// The logging parameters that the logger-settings window prepares for the logger.
#pragma once

extern signed char lpStartMode;     // start-mode code
extern signed char lpSamplePoints;  // points code 0..5 (1000 .. 16000 points)
extern int lpSampleRate;            // sample interval in seconds
extern char lpUnit;                 // unit character
extern double lpTmpHigh[3];         // alarm limits per channel, display units
extern double lpTmpLow[3];
extern int lpHighLimit[3];          // the same in the logger's encoding
extern int lpLowLimit[3];
extern unsigned int lpSchedule;     // start time (start mode 0) or the start-mode code
