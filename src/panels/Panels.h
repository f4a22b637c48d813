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
// The trip-report window, loaded when it is first opened (0 until then).
extern int idTripReport;
// The chart's scaling menu (a menu bar not attached to any window).
extern int scalMenuHandle;

// The communication settings.
extern int portNo, baudRate, parity, dataBits, stopBits;
// Port 1 stands for a port not chosen yet: start-up then detects the port, and detection
// keeps it while no other port opens.
enum { PORT_NOT_CHOSEN = 1 };
// The communication settings of a first start, when the state file keeps none: no port chosen
// yet, 9600 baud, no parity, 8 data bits, 1 stop bit.
enum {
    DEFAULT_PORT_NO = PORT_NOT_CHOSEN,
    DEFAULT_BAUD_RATE = 9600,
    DEFAULT_PARITY = 0,   // the run-time's code for no parity
    DEFAULT_DATA_BITS = 8,
    DEFAULT_STOP_BITS = 1,
};
// The settings in use back to those of a first start.
void useDefaultCommSettings();
// The settings in use, or those of a first start, into the five setting controls of a
// window of the communication-settings resource (SETTING).
void showCommSettings(int panel);
void showDefaultCommSettings(int panel);
// The five settings as such a window shows them. A control that cannot be read leaves its
// variable as it was.
void readCommSettings(int panel, int *port, int *baud, int *data, int *parityCode, int *stop);

// Back to the start-up state (tests): no window handles, the settings of a first start. The
// windows themselves are not discarded.
void resetPanelsState();

// The application-state file, relative to the program's folder (the working directory).
#define TAVIX_STATE_FILE "Tavix.ini"
// The place and size of each window (in the program's folder).
#define TAVIX_WINDOWS_FILE "TavixWindows.ini"
// The state index under which the state file keeps the settings window's values.
enum { COMM_SETTINGS_STATE = 1 };

// Dim / undim the commands that configure the logger.
void SetLoggerDisable();
void SetLoggerEnable();
