// The application core: start-up, the windows, the event loop and shutdown.
#pragma once

// Window handles, valid from start-up to shutdown (idSetting only while the
// communication-settings window is loaded).
extern int idStatistic, idMonitor, idTable, idMonitors, idSetLogger, idTempCali, idRhCali, idMsg, idSetting;
// The chart's scaling menu (a menu bar not attached to any window).
extern int scalMenuHandle;

// The communication settings.
extern int portNo, baudRate, parity, dataBits, stopBits;

// The application-state file, relative to the program's folder (the working directory).
#define TAVIX_STATE_FILE "Tavix.ini"
// The logo shown in the main window.
#define TAVIX_LOGO_FILE "Ormel logo.bmp"

// The whole program: start-up, the event loop, shutdown. 0 after a normal run, -1 when the
// run-time cannot start or a window cannot be loaded.
int tavixMain(int argc, char **argv);

// Start-up up to the event loop (main window shown). 0, or -1 as tavixMain.
// appDir: the program's folder to use, nullptr to choose it as usual.
int tavixStart(int argc, char **argv, const char *appDir);
// After the event loop: close the port, discard the windows, release the run-time.
void tavixStop();

// The second half of start-up: preferences, texts, the serial port, the initial state.
// Returns 0, or -1 when the record store cannot be allocated (the user has been told).
int lpInit();

// Dim / undim the commands that configure the logger.
void SetLoggerDisable();
void SetLoggerEnable();

// Save the communication settings to the application-state file under state index 1.
int saveCommSettings();
