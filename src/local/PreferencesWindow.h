// The preferences window: the five preferences of "localORM.ini" (language, date format,
// default unit, default high and low alarm limits) chosen in a dialog instead of by editing
// the file. OK writes them into the file, keeping its other keys, sections and comments; they
// take effect at the next start, as the preferences are read once, at start-up.
#pragma once

#include <string>
#include <vector>

// The window's handle while it is loaded, else 0.
extern int idPreferences;

// The language files of the program's folder offered by the window: every ".ini" file with a
// [MainWindow] section, by file name, and the name each shows ([Others] LanguageName, else
// the file name).
struct LanguageChoice {
    std::string file;
    std::string name;
};
extern std::vector<LanguageChoice> preferenceLanguages;

// Forget the window and its list, and put the window's texts and those of the port list back
// to English (start-up; tests start from a clean state).
void resetPreferencesWindow();

// The language files of the folder, ordered by file name.
std::vector<LanguageChoice> findLanguageFiles(const char *dir);

// Write the preferences (the five, whether the archive is on, and the server and site name
// unless null) into the preferences file at path through a store that
// keeps the file's order, its other items and its comments. 0, or the store's negative code: the file is then as it
// was.
int writePreferences(const char *path, const char *languageFile, int dateFormat, int englishUnit, double high,
                     double low, int archive = 1, const char *server = nullptr, const char *site = nullptr);

// The layout of the window (registered as the PREFERENCES resource).
int buildPreferences(int panel);

// The window's captions in the chosen language (WindowTexts.cpp).
void localPreferencesWindow();

// ---------------------------------------------------------------- callbacks

// The communication-settings window's Preferences button: opens the window with the
// preferences the file holds now.
int cPreferencesCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// OK: writes the preferences and says when they take effect; the window stays when the file
// cannot be written.
int cPreferencesOkCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// Cancel and the close box: discard the window, nothing written.
int cPreferencesCancelCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int pPreferencesCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
