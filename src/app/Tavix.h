// The application core: start-up, the windows, the event loop and shutdown. The layouts
// built here attach every module's callbacks, so this is the one module that includes them
// all; no module includes it (only tavix-cli, which starts the program).
#pragma once

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

// Install the procedures of the chart, the table, the configuration windows and Save File as
// the notifications that the lower modules call (idempotent; RegisterLayouts does it).
void installNotifications();
// Register every layout resource with the run-time (idempotent), after installing the
// notifications.
void RegisterLayouts();

// The second half of start-up: preferences, texts, the serial port, the initial state.
// Returns 0, or -1 when the record store cannot be allocated (the user has been told).
int lpInit();

// The main window's keyboard shortcuts (Ctrl+O, Ctrl+S, Ctrl+P, F1, Ctrl+Q click the file,
// print, help and exit commands; Home and End move chart cursor 1 to the first and the last
// record shown). Called once, after the windows are loaded.
void bindMainWindowKeys();

// Save the communication settings to the application-state file under state index 1.
int saveCommSettings();

// Ending the program: the main window's close box, its Exit command and the hidden reset
// (a right double click on the logger heading). Each saves or deletes the application-state
// file and leaves the event loop.
int pMonitorCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
int cExitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int Resetini(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The message window's callback: its close box hides it.
int pMsgCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
