// The state of the preferences window and the texts added to the communication-settings
// window, with their reset.
#include "local/Local.h"
#include "local/PreferencesWindow.h"
#include "local/Texts.h"

namespace {

// The English texts, until a language file with their keys is applied.
const char kPortPresent[] = "(present)";
const char kPortMissing[] = "(missing)";
const char kPortOneRefused[] =
    "Port number 1 stands for \"not chosen\" and cannot be bound to a device. Choose another number.";
const char kPrefsTitle[] = "Preferences";
const char kPrefsSaved[] = "The preferences are saved. They take effect at the next start.";
const char kPrefsNotWritten[] = "The preferences file cannot be written; nothing was changed:";
const char kPrefsLimitsOrder[] = "The default low limit must be below the default high limit.";
const char kPrefsServerPassword[] =
    "The server address must not hold a password: put it into ~/.pgpass (mode 0600) or a service file.";

}   // namespace

int idPreferences = 0;
std::vector<LanguageChoice> preferenceLanguages;

char commPortPresent[WINDOW_TEXT_SIZE] = {};
char commPortMissing[WINDOW_TEXT_SIZE] = {};
char commPortOneRefused[2 * MSG_TEXT_SIZE] = {};
char prefsTitle[WINDOW_TEXT_SIZE] = {};
char prefsSaved[2 * MSG_TEXT_SIZE] = {};
char prefsNotWritten[2 * MSG_TEXT_SIZE] = {};
char prefsLimitsOrder[2 * MSG_TEXT_SIZE] = {};
char prefsServerPassword[2 * MSG_TEXT_SIZE] = {};

void resetPreferencesWindow() {
    idPreferences = 0;
    preferenceLanguages.clear();
    saveString(kPortPresent, commPortPresent);
    saveString(kPortMissing, commPortMissing);
    saveString(kPortOneRefused, commPortOneRefused);
    saveString(kPrefsTitle, prefsTitle);
    saveString(kPrefsSaved, prefsSaved);
    saveString(kPrefsNotWritten, prefsNotWritten);
    saveString(kPrefsLimitsOrder, prefsLimitsOrder);
    saveString(kPrefsServerPassword, prefsServerPassword);
}
