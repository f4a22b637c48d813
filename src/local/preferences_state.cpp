// The state of the preferences window and the texts added to the communication-settings
// window, with their reset.
#include "local/PreferencesWindow.h"
#include "local/Texts.h"

int idPreferences = 0;
std::vector<LanguageChoice> preferenceLanguages;

char commPortPresent[WINDOW_TEXT_SIZE] = "(present)";
char commPortMissing[WINDOW_TEXT_SIZE] = "(missing)";
char commPortOneRefused[2 * MSG_TEXT_SIZE] =
    "Port number 1 stands for \"not chosen\" and cannot be bound to a device. Choose another number.";
char prefsTitle[WINDOW_TEXT_SIZE] = "Preferences";
char prefsSaved[2 * MSG_TEXT_SIZE] = "The preferences are saved. They take effect at the next start.";
char prefsNotWritten[2 * MSG_TEXT_SIZE] = "The preferences file cannot be written; nothing was changed:";

void resetPreferencesWindow() {
    idPreferences = 0;
    preferenceLanguages.clear();
}
