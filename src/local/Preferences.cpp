// The preferences: "localORM.ini" in the program's folder chooses the language file, the
// order of dates, the default unit and the default alarm limits. Read once at start-up.
#include <cstring>

#include "ini/inifile.h"
#include "local/ArchiveTexts.h"
#include "local/Local.h"
#include "local/PreferencesWindow.h"
#include "runtime/ui.h"

IniHandle localIni = nullptr;
char localPath[260] = {};
char languageFile[20] = {};

namespace {

const char kPreferencesFile[] = "localORM.ini";
const char kArchiveKey[] = "Archive";

const char kReadError[] = "ERROR 601: Error reading ini file !";
const char kItemsError[] = "ERROR 602: Error reading [General] items !";
const char kSectionsError[] = "ERROR 603: Error reading ini sections !";

// The text of a key of the section named in sLocal.section; null when it is missing.
const char *preference(const char *key) {
    const char *value = nullptr;
    Ini_GetPointerToRawString(localIni, sLocal.section, key, &value);
    return value;
}

// Texts that compare equal when letter case is ignored.
bool sameText(const char *a, const char *b) { return CompareStrings(a, 0, b, 0, 0) == 0; }

}   // namespace

void saveString(const char *source, char *destination, std::size_t capacity) {
    if (destination == nullptr || capacity == 0) return;
    if (source == nullptr) source = "";
    std::size_t length = std::strlen(source);
    if (length > capacity - 1) {
        length = capacity - 1;
        // Cut before a character whose bytes would not all fit.
        while (length > 0 && (static_cast<unsigned char>(source[length]) & 0xC0) == 0x80) --length;
    }
    std::memmove(destination, source, length);
    destination[length] = '\0';
}

void localInit() {
    sLocal.dateFormat = 0;
    sLocal.englishUnit = 0;
    sLocal.archive = 1;
    sLocal.archiveServer[0] = '\0';
    sLocal.siteName[0] = '\0';
    // the preferences window closed, its texts and the port list's marks in English
    resetPreferencesWindow();
    resetArchiveTexts();
}

void localized() {
    // 1. the preferences file's full path
    char dir[260] = "";
    GetProjectDir(dir, sizeof dir);
    if (MakePathname(dir, kPreferencesFile, localPath, sizeof localPath) < 0) localPath[0] = '\0';

    // 2. read it into a sorted store
    localIni = Ini_New(1);
    if (Ini_ReadFromFile(localIni, localPath) != 0) {
        MessagePopup(localPath, kReadError);
        Ini_Dispose(localIni);
        localIni = nullptr;
        return;
    }

    // 3. a file without sections
    if (Ini_NumberOfSections(localIni) <= 0) {
        MessagePopup(localPath, kSectionsError);
    } else {
        // 4. section "General"; a key that is missing leaves its field as it was
        saveString("General", sLocal.section);
        if (Ini_NumberOfItems(localIni, sLocal.section) != 0) {
            if (const char *path = preference("File Retrieve Path")) saveString(path, sLocal.retrievePath);
            if (const char *path = preference("File Save Path")) saveString(path, sLocal.savePath);
            if (const char *format = preference("Date Format")) {
                if (sameText(format, "Y-M-D"))
                    sLocal.dateFormat = 2;
                else if (sameText(format, "D-M-Y"))
                    sLocal.dateFormat = 1;
                else
                    sLocal.dateFormat = 0;
            }
            if (const char *unit = preference("Default Unit")) sLocal.englishUnit = sameText(unit, "ENGLISH") ? 1 : 0;
            if (const char *file = preference("Language File")) saveString(file, languageFile);
            // the archive is on unless the file says OFF
            if (const char *archive = preference(kArchiveKey)) sLocal.archive = sameText(archive, "OFF") ? 0 : 1;
            // the server archive downloads are pushed to, and the name of this PC's site
            if (const char *server = preference("Archive Server")) saveString(server, sLocal.archiveServer);
            if (const char *site = preference("Site Name")) saveString(site, sLocal.siteName);
        } else {
            MessagePopup(localPath, kItemsError);
        }

        // 5. section "TableProcess"; a missing or blank value leaves its limit as it was
        saveString("TableProcess", sLocal.section);
        if (Ini_NumberOfItems(localIni, sLocal.section) != 0) {
            Ini_GetDouble(localIni, sLocal.section, "defaultHigh", &sLocal.defaultHigh);
            Ini_GetDouble(localIni, sLocal.section, "defaultLow", &sLocal.defaultLow);
        } else {
            MessagePopup(localPath, kItemsError);
        }
    }

    // 6. done with the store
    Ini_Dispose(localIni);
    localIni = nullptr;
}
