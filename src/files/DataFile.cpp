// Data files on disk: saving the record store through a temporary file, reading a file back
// and showing it, the default folder and name.
#include "files/DataFile.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/clock.h"
#include "base/replace_file.h"
#include "display/Display.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "local/Trail.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/ui.h"
#include "base/Notify.h"

namespace {

// Data files are replaced through data.txt.0.tmp ... data.txt.99.tmp beside them, written in
// text mode.
constexpr rt::ReplaceOptions kReplace{nullptr, ".tmp", 100, true};

// A file of at least this many records shows its progress in the progress bar too, moved on
// every kBarStep records (a few dozen steps are all a bar can show).
constexpr int kLargeFileRecords = 2000;
constexpr int kBarStep = 1024;

// The progress text "<label>: <count> <points>." in the status line, data being the label.
// Nothing is drawn while a command runs, so only the text of every 64th count (and the last
// one) is set: what the window shows is the same. For a large file (total records) the
// progress bar, which is drawn at once, follows.
void showProgress(int count, int total, bool last, void *data) {
    if (!last && (count & 63) != 0) return;
    char text[128];
    std::snprintf(text, sizeof text, "%s: %4d %s.", static_cast<const char *>(data), count, wPoints);
    sendUserMessage(text);
    if (total >= kLargeFileRecords && (last || count % kBarStep == 0)) showRecordProgress(count, total);
}

// A data file opened for reading; nullptr for a folder or a file that does not open.
std::FILE *openForReading(const char *path) {
    std::error_code ec;
    if (path == nullptr || std::filesystem::is_directory(path, ec)) return nullptr;
    return std::fopen(path, "r");
}

}   // namespace

// ---------------------------------------------------------------- folders and names

void defaultDataFolder(char *dir, std::size_t capacity) {
    if (dir == nullptr || capacity == 0) return;
    dir[0] = '\0';
    char documents[FILE_NAME_SIZE];
    if (GetDocumentsDir(documents, sizeof documents) < 0) return;
    if (MakePathname(documents, "Tavix", dir, capacity) < 0) return;
    MakeDir(dir);   // an existing folder or a missing parent is not an error here
}

void defaultSaveFileName(char *name, std::size_t capacity) {
    if (name == nullptr || capacity == 0) return;
    const rt::LocalTime now = rt::Now();
    std::snprintf(name, capacity, "%04d%02d%02d.txt", now.year, now.month, now.day);
}

// ---------------------------------------------------------------- saving

int saveDataFile(const char *path) {
    if (path == nullptr || *path == '\0') return DATA_FILE_ERR_CREATE;
    const int rc = rt::replaceFile(path, kReplace, [](std::FILE *file) {
        return writeDataFile(file, DataFileProgress{showProgress, wSaveFile});
    });
    hideRecordProgress();
    if (rc == rt::REPLACE_ERR_TARGET || rc == rt::REPLACE_ERR_TEMP) return DATA_FILE_ERR_CREATE;
    if (rc < 0) return DATA_FILE_ERR_WRITE;
    gFlag &= static_cast<unsigned char>(~GFLAG_NOT_SAVED);
    // the data are this file's now
    char shown[FILE_NAME_SHOWN_SIZE];
    FileNamePrintOut(shown, path);
    setDataOrigin(DataOrigin::File, shown);
    sendUserMessage(msg5);
    noteFileWritten("save", path);
    return 0;
}

// ---------------------------------------------------------------- retrieval

void showRetrievedFile(const char *path) {
    // The chart's left axis follows all channels.
    resetChartScaling();

    // The identifier read, the main window laid out for the model, the chart and the table.
    updateId();
    SetCtrlVal(idMonitor, MONITOR_INFO, "");
    updatePanelMonitor();
    updateTemperatureChart();
    notifyTablePage();
    sendUserMessage(msg4);
    char shown[FILE_NAME_SHOWN_SIZE];
    FileNamePrintOut(shown, path);
    char info[static_cast<int>(WINDOW_TEXT_SIZE) + static_cast<int>(FILE_NAME_SHOWN_SIZE) + 2];
    std::snprintf(info, sizeof info, "%s %s", wFileName, shown);   // "File name: ..."
    SetCtrlVal(idMonitor, MONITOR_INFO, info);
    // dates that fit no order are today's: say which record could not be read
    if (!fileDates.fits) {
        char text[MSG_TEXT_SIZE + 16];
        std::snprintf(text, sizeof text, "%s %d", msgFileDatesUnread, fileDates.firstUnread);
        sendWarnMessage(text);
    }
}

int readDataFile(const char *path) {
    std::FILE *file = openForReading(path);
    if (file == nullptr) return DATA_FILE_NOT_OPENED;
    // A file without a record line changes nothing and shows nothing.
    const int stored = readDataFileStream(file, DataFileProgress{showProgress, wRetrieveFile});
    std::fclose(file);
    if (stored < 0) return stored;
    hideRecordProgress();

    showRetrievedFile(path);
    // The identifier is no longer the connected logger's (the window keeps showing it, and
    // the records keep it for saving them again).
    eId[0] = '\0';
    gFlag |= GFLAG_ID_KNOWN | GFLAG_SCHEDULE_KNOWN;
    char shown[FILE_NAME_SHOWN_SIZE];
    FileNamePrintOut(shown, path);
    setDataOrigin(DataOrigin::File, shown);
    return loggedLength;
}

int readDataFileText(const std::string &text, const char *shownName) {
    const int stored = parseDataFile(text.data(), text.size(), DataFileProgress{showProgress, wRetrieveFile});
    if (stored < 0) return stored;
    hideRecordProgress();
    showRetrievedFile(shownName);
    // as after Retrieve File: no connected logger's, and nothing waits to be saved
    eId[0] = '\0';
    gFlag |= GFLAG_ID_KNOWN | GFLAG_SCHEDULE_KNOWN;
    gFlag &= static_cast<unsigned char>(~GFLAG_NOT_SAVED);
    char shown[FILE_NAME_SHOWN_SIZE];
    FileNamePrintOut(shown, shownName);
    setDataOrigin(DataOrigin::File, shown);
    return loggedLength;
}

// ---------------------------------------------------------------- reading into other arrays

int readDataFileRecords(const char *path, const RecordReader &reader, int *refused, DataFileDates *dates) {
    std::FILE *file = reader.layOut != nullptr ? openForReading(path) : nullptr;
    if (file == nullptr) return DATA_FILE_NOT_OPENED;
    const int stored = readDataFileRecordsStream(file, reader, refused, dates);
    std::fclose(file);
    return stored;
}
