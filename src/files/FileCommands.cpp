// The Save File and Retrieve File commands of the main window.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "files/ArchiveCheck.h"
#include "files/DataFile.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "model/Models.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

#include <unistd.h>

namespace {

// Why a data file could not be opened, in the user's words: gone, not for this user, or no
// file of records at all (a folder or a device).
const char *openFailureReason(const char *path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) return msgFileMissing;
    if (!std::filesystem::is_regular_file(status)) return msgFileNotData;
    if (::access(path, R_OK) != 0) return msgFileNoPermission;
    return msgFileNotData;
}

}   // namespace

int cSaveFileCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    char dir[FILE_NAME_SIZE];
    defaultDataFolder(dir, sizeof dir);
    char name[32];
    defaultSaveFileName(name, sizeof name);
    char path[FILE_NAME_SIZE];
    // Cancelled, or a path too long to keep: nothing happens.
    if (FileSelectPopupEx(dir, name, "ASCII files(*.txt)", wSaveFile, VAL_SAVE_BUTTON, 0, 1, path, sizeof path) <= 0)
        return 0;
    copyBounded(fileName, sizeof fileName, path);
    SetCtrlVal(idMonitor, MONITOR_INFO, fileName);

    std::error_code ec;
    if (std::filesystem::exists(fileName, ec)) {
        char text[3 * MSG_TEXT_SIZE + FILE_NAME_SIZE];
        std::snprintf(text, sizeof text, "%s %s %s", warn21, fileName, warn22);
        if (!ConfirmPopup(warn9, text, VAL_DEFAULT_NO)) return 0;
    }
    if (saveDataFile(fileName) < 0) MessagePopup(warn6, fileName);
    return 0;
}

int cRetrieveFileCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    if (!unsavedDataLetGo(warn9, msgUnsavedReplace)) return 0;   // "Warning", "not saved yet"
    char dir[FILE_NAME_SIZE];
    defaultDataFolder(dir, sizeof dir);
    char path[FILE_NAME_SIZE];
    if (FileSelectPopupEx(dir, "*.txt", "ASCII files(*.txt)", wRetrieveFile, VAL_LOAD_BUTTON, 0, 1, path,
                          sizeof path) <= 0)
        return 0;
    copyBounded(fileName, sizeof fileName, path);
    const int read = readDataFile(fileName);
    if (read == DATA_FILE_NO_RECORDS) {
        // not a data file: say why; the records, the title and the fields stay as they were
        char text[MSG_TEXT_SIZE + FILE_NAME_SIZE + 2];
        std::snprintf(text, sizeof text, "%s\n%s", msgFileNoRecords, fileName);
        MessagePopup(warn15, text);   // "The data file cannot be opened"
        return 0;
    }
    if (read < 0) {
        char text[FILE_NAME_SIZE + MSG_TEXT_SIZE + 2];
        std::snprintf(text, sizeof text, "%s\n%s", fileName, openFailureReason(fileName));
        MessagePopup("File Open Error! ", text);
        return 0;
    }
    // the records held now are the file's own: nothing of them waits to be saved
    gFlag &= static_cast<unsigned char>(~GFLAG_NOT_SAVED);
    updateMainTitle();
    // whether the file is what was downloaded: status line and title
    checkRetrievedFile(fileName);
    return 0;
}
