// What the modules share about the windows: the handles of the loaded windows and of the
// scaling menu, the communication settings of the serial link, the application-state file
// that keeps them between runs, and the dimming of the commands that configure the logger.
//
// The state is global and single-instance. Start-up (app/) loads the windows and fills the
// handles, and shutdown discards them; a handle is 0 while its window is not loaded. This
// module sits below the others: it sees only the model and the run-time, never a module's
// callbacks.
#pragma once

#include "panels/Controls.h"

// Window handles, valid from start-up to shutdown (idSetting only while the
// communication-settings window is loaded).
extern int idStatistic, idMonitor, idTable, idMonitors, idSetLogger, idTempCali, idRhCali, idMsg, idSetting;
// The chart's scaling menu (a menu bar not attached to any window).
extern int scalMenuHandle;

// The communication settings.
extern int portNo, baudRate, parity, dataBits, stopBits;

// The application-state file, relative to the program's folder (the working directory).
#define TAVIX_STATE_FILE "Tavix.ini"

// Dim / undim the commands that configure the logger.
void SetLoggerDisable();
void SetLoggerEnable();
