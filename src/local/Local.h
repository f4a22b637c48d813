// Preferences, window texts, help and version.
#pragma once

#include <cstddef>

#include "ini/inifile.h"
#include "base/Prefs.h"
#include "local/Texts.h"

// Preferences: start values, then read "localORM.ini" of the program's folder.
void localInit();
void localized();

// The window texts of the chosen language, one function per window.
void localMainWindow();
void localCommSetWindow();
void localLoggerSetWindow();
void localTempCaliWindow();
void localRhCaliWindow();
void localTableWindow();
void localStatisticWindow();
void localGroupFilesWindow();

// Beside the preferences record: the INI store in use by the functions above, the full
// path of "localORM.ini" (also the title of every pop-up about the preferences or the
// language file), the language file's name as the preferences give it, and its full path
// (built by localMainWindow, used by every other window-text function).
extern IniHandle localIni;
extern char localPath[260];
extern char languageFile[20];
extern char languagePath[260];

// Store a text read from the preferences or the language file: at most capacity - 1 bytes
// and the terminator. A longer text is cut, never inside a UTF-8 character; no text (null)
// stores the empty text.
void saveString(const char *source, char *destination, std::size_t capacity);
template <std::size_t N>
void saveString(const char *source, char (&destination)[N]) {
    saveString(source, destination, N);
}

// Fixed Chinese labels ("A 檔案" ... / "A 档案" ...) on the eight file buttons of the
// group-files window.
void Traditional_Chinese();
void Simplified_Chinese();

// ---------------------------------------------------------------- help and version

// The help document, in the program's folder.
#define TAVIX_HELP_FILE "1QZRT7205918C_TavixDesk.pdf"

// The main window's help command: opens the help document of the program's folder.
int cHelpCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The logo: a right double click shows the version.
int mVersionCallback(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The information line of the main window: reacts to nothing.
int cCmdCallback(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
