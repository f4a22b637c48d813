// A data file read checked against the archive, and the archive's notes in the user's words.
#include "files/ArchiveCheck.h"

#include <string>

#include "datafile/DataFileText.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "local/Trail.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

namespace {

// The logger as the archive names it: the identifier, else the model's name.
std::string loggerShown(const VerifyResult &result) {
    if (!result.loggerId.empty()) return result.loggerId;
    return result.loggerModel.empty() ? "-" : result.loggerModel;
}

// The outcome as the trail keeps it (English, whatever the language of the windows).
std::string trailDetails(const char *path, const VerifyResult &result) {
    std::string details = std::string(path) + ": ";
    switch (result.outcome) {
        case VerifyOutcome::Original:
            return details + "original, recording " + std::to_string(result.recording) + "; fingerprint " +
                   result.fingerprint;
        case VerifyOutcome::Changed:
            return details + "changed, recording " + std::to_string(result.recording) + " record " +
                   std::to_string(result.record) + " " + archiveFieldName(result.field) + "; fingerprint " +
                   result.fingerprint;
        case VerifyOutcome::NotArchived: return details + "not in the archive; fingerprint " + result.fingerprint;
        case VerifyOutcome::Failed: break;
    }
    return details + "not verified: " + result.error;
}

}   // namespace

std::string fillText(const char *text, const std::string &first, const std::string &second) {
    std::string out;
    for (const char *p = text != nullptr ? text : ""; *p != '\0'; ++p) {
        if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
            out += p[1] == '1' ? first : second;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

std::string archiveTimeShown(const std::string &utc) {
    // "2026-12-11T12:30:43.120Z": the date and the minute
    if (utc.size() < 16) return utc;
    return utc.substr(0, 10) + " " + utc.substr(11, 5) + " UTC";
}

std::string archiveCheckNote(const VerifyResult &result) {
    switch (result.outcome) {
        case VerifyOutcome::Original:
            return fillText(result.imported ? msgArchiveImported : msgArchiveOriginal, loggerShown(result),
                            archiveTimeShown(result.downloadedUtc));
        case VerifyOutcome::Changed: {
            const std::string field = result.record == 0
                                          ? std::string(msgArchiveHeader) + ", " + archiveFieldName(result.field)
                                          : std::string(archiveFieldName(result.field));
            return fillText(msgArchiveChanged, std::to_string(result.record), field);
        }
        case VerifyOutcome::NotArchived: return msgArchiveUnknown;
        case VerifyOutcome::Failed: break;
    }
    return archiveOpen() ? result.error : std::string(msgArchiveOff);
}

VerifyResult checkRetrievedFile(const char *path) {
    VerifyResult result;
    const std::string note = [&] {
        if (!archiveOpen()) return std::string(msgArchiveOff);
        result = verifyRecords();
        noteInTrail("verify", trailDetails(path, result));
        return archiveCheckNote(result);
    }();
    setDataFileNote(note.c_str());
    if (!archiveOpen() || note.empty()) return result;
    // after what Retrieve File said (msg4, or that the dates could not be read)
    char said[MSG_TEXT_SIZE + 32] = "";
    GetCtrlVal(idMonitor, MONITOR_MESSAGE, said);
    const std::string shown = std::string(said) + " " + note;
    if (result.outcome == VerifyOutcome::Changed || !fileDates.fits)
        sendWarnMessage(shown.c_str());
    else
        sendUserMessage(shown.c_str());
    return result;
}
