// The archive in the running program: opening it at start-up and keeping every download.
#include "archive/Archiving.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "base/Prefs.h"
#include "datafile/DataFileText.h"
#include "files/ArchiveCheck.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "model/Models.h"
#include "model/Records.h"
#include "runtime/ui.h"

ArchiveUse archiveUse = ArchiveUse::Off;
std::string archiveOpenError;
bool lastDownloadKept = false;
ArchiveResult lastDownloadResult;

namespace {

std::string g_chosenPath;   // "" = the program folder's archive
bool g_skipped = false;
std::string g_server;   // "" = the preference's
std::string g_site;

// A fixed text field of the logger description as a string (it may fill its array).
template <std::size_t N>
std::string fieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

// The firmware version as the logger names it ("2.40").
std::string firmwareText() {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(eVersion));
    return text;
}

}   // namespace

void chooseServer(const std::string &url, const std::string &site) {
    g_server = url;
    g_site = site;
}

std::string archiveServerUrl() { return !g_server.empty() ? g_server : std::string(sLocal.archiveServer); }

bool startSync() {
    const QString dir = QCoreApplication::applicationDirPath();
    const QString cli = dir + QStringLiteral("/tavix-cli");
    if (!QFileInfo(cli).isExecutable()) return false;
    const QStringList args{QStringLiteral("archive"),   QStringLiteral("sync"),
                           QStringLiteral("--archive"), QString::fromStdString(archivePath()),
                           QStringLiteral("--server"),  QString::fromStdString(archiveServerUrl()),
                           QStringLiteral("--site"),    QString::fromStdString(archiveSiteName())};
    QProcess sync;
    sync.setProgram(cli);
    sync.setArguments(args);
    sync.setStandardOutputFile(QProcess::nullDevice());
    sync.setStandardErrorFile(QProcess::nullDevice());
    return sync.startDetached();
}

void resetArchiving() {
    g_server.clear();
    g_site.clear();
    closeArchive();
    archiveUse = ArchiveUse::Off;
    archiveOpenError.clear();
    lastDownloadKept = false;
    lastDownloadResult = ArchiveResult{};
    g_chosenPath.clear();
    g_skipped = false;
}

void chooseArchive(const std::string &path, bool skip) {
    g_chosenPath = path;
    g_skipped = skip;
}

std::string chosenArchivePath() {
    if (!g_chosenPath.empty()) return g_chosenPath;
    char dir[4096] = "";
    GetProjectDir(dir, sizeof dir);
    return (std::filesystem::path(dir) / ARCHIVE_FILE_NAME).string();
}

ArchiveUse startArchive() {
    closeArchive();
    archiveOpenError.clear();
    if (g_skipped) return archiveUse = ArchiveUse::Skipped;
    if (sLocal.archive == 0) return archiveUse = ArchiveUse::Off;
    setArchiveSiteName(!g_site.empty() ? g_site : std::string(sLocal.siteName));
    const std::string path = chosenArchivePath();
    if (openArchive(path, archiveOpenError)) return archiveUse = ArchiveUse::Open;
    // "Warning", "the archive cannot be opened; downloads are not kept in it:" path and reason
    const std::string text = std::string(msgArchiveUnopened) + "\n" + path + "\n" + archiveOpenError;
    MessagePopup(warn9, text.c_str());
    return archiveUse = ArchiveUse::Unopened;
}

void stopArchive() {
    closeArchive();
    if (archiveUse == ArchiveUse::Open) archiveUse = ArchiveUse::Off;
}

std::string archiveResultNote(const ArchiveResult &result) {
    const std::string recording = std::to_string(result.recording);
    switch (result.outcome) {
        case ArchiveOutcome::StoredNew: return fillText(msgArchiveStored, recording);
        case ArchiveOutcome::Extended:
            return fillText(msgArchiveExtended, recording, std::to_string(result.recordsAdded));
        case ArchiveOutcome::AlreadyArchived: return fillText(msgArchiveAlready, recording);
        case ArchiveOutcome::StoredFlagged: return fillText(msgArchiveFlagged, recording);
        case ArchiveOutcome::Failed: break;
    }
    return std::string(msgArchiveNotKept) + " " + result.error;
}

void archiveDownload(bool complete) {
    if (archiveUse != ArchiveUse::Open || loggedLength <= 0) return;
    ArchiveSource source;
    source.imported = false;
    source.complete = complete;
    source.modelName = fieldText(eDeviceName);
    source.firmware = firmwareText();
    // the text Save File would write now; a text that could not be made is made by the store
    formatDataFile(source.dataFileText);
    lastDownloadResult = archiveRecords(source);
    lastDownloadKept = true;
    const bool failed = lastDownloadResult.outcome == ArchiveOutcome::Failed;
    const std::string note = archiveResultNote(lastDownloadResult);
    noteDownloadKept(note.c_str(), failed || lastDownloadResult.outcome == ArchiveOutcome::StoredFlagged);
    // the records stay held, shown and unsaved: only the archive's copy is missing
    if (failed) MessagePopup(warn9, note.c_str());   // "Warning"
    // a copy for the server, in the background; what the server lacks goes with it next time
    else if (!archiveServerUrl().empty())
        startSync();
}
