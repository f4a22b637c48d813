// tavix-cli archive, verify and audit, and what download does with the archive: the archive
// the tool uses (chosen before the program starts), the archived recordings listed, shown,
// exported, imported and backed up, a data file checked against them, the audit trail printed
// and its chain recomputed.
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QTime>

#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "analysis/Profiles.h"
#include "analysis/Verdict.h"
#include "archive/Archiving.h"
#include "base/replace_file.h"
#include "cli/Common.h"
#include "files/ArchiveCheck.h"
#include "local/Trail.h"
#include "model/Clock.h"
#include "model/Records.h"
#include "runtime/folder.h"
#include "runtime/ui.h"
#include "report/Format.h"
#include "store/Archive.h"
#include "store/Audit.h"
#include "store/Fingerprint.h"
#include "store/Sync.h"

namespace cli {

namespace {

// ---------------------------------------------------------------- reading the words

// A date (and time) of --from and --to: "YYYY-MM-DD", "YYYY-MM-DD HH:MM[:SS]" or with a T.
struct DateWord {
    QDate date;
    QTime time;
    bool hasTime = false;
};

bool readDate(const std::string &text, DateWord &out) {
    std::string day = text, clock;
    if (const std::size_t cut = text.find_first_of(" T"); cut != std::string::npos) {
        day = text.substr(0, cut);
        clock = text.substr(cut + 1);
    }
    out.date = QDate::fromString(QString::fromStdString(day), QStringLiteral("yyyy-MM-dd"));
    if (!out.date.isValid()) return false;
    out.hasTime = !clock.empty();
    if (!out.hasTime) return true;
    const QString c = QString::fromStdString(clock);
    out.time = QTime::fromString(c, QStringLiteral("HH:mm:ss"));
    if (!out.time.isValid()) out.time = QTime::fromString(c, QStringLiteral("HH:mm"));
    return out.time.isValid();
}

// The first moment a --from date names, and the last one a --to date names (a day alone: its
// whole day), as the PC's local time.
QDateTime fromMoment(const DateWord &d) { return QDateTime(d.date, d.hasTime ? d.time : QTime(0, 0)); }
QDateTime toMoment(const DateWord &d) {
    return d.hasTime ? QDateTime(d.date, d.time) : QDateTime(d.date.addDays(1), QTime(0, 0)).addSecs(-1);
}

// A record time (the logger's clock, seconds from 2000-01-01) of a local moment.
cRtc recordTime(const QDateTime &moment) {
    const QDateTime base(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
    const QDateTime asUtc(moment.date(), moment.time(), Qt::UTC);
    const qint64 seconds = base.secsTo(asUtc);
    return seconds < 0 ? 0 : static_cast<cRtc>(seconds);
}

bool readNumber(const std::string &text, std::int64_t &value) {
    const char *end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, value);
    return r.ec == std::errc() && r.ptr == end && value >= 1;
}

// The words of archive list and audit: --logger ID (list only), --from DATE, --to DATE and
// --verify (audit only). False with error filled.
struct Filter {
    std::optional<std::string> logger;
    std::optional<DateWord> from, to;
    bool verify = false;
};

bool readFilter(const std::vector<std::string> &words, bool isAudit, Filter &filter, std::string &error) {
    for (std::size_t k = 0; k < words.size(); ++k) {
        const std::string &word = words[k];
        if (word == "--verify" && isAudit) {
            filter.verify = true;
            continue;
        }
        const bool takesValue = word == "--from" || word == "--to" || (word == "--logger" && !isAudit);
        if (!takesValue) {
            error = std::string(isAudit ? "audit" : "archive list") + ": unknown word " + word;
            return false;
        }
        if (k + 1 >= words.size()) {
            error = word + " needs a value";
            return false;
        }
        const std::string &value = words[++k];
        if (word == "--logger") {
            filter.logger = value;
            continue;
        }
        DateWord date;
        if (!readDate(value, date)) {
            error = word + " takes a date YYYY-MM-DD [HH:MM[:SS]], not " + value;
            return false;
        }
        (word == "--from" ? filter.from : filter.to) = date;
    }
    if (filter.from && filter.to && fromMoment(*filter.from) > toMoment(*filter.to)) {
        error = "--from must not come after --to";
        return false;
    }
    return true;
}

// The shapes of archive's words: list [...] | show N | export N FILE | import DATAFILE | backup FILE.
bool readArchiveWords(const std::vector<std::string> &args, std::string &error) {
    if (args.empty()) {
        error = "archive needs list, show, export, import, backup, sync or init-server";
        return false;
    }
    const std::string &what = args[0];
    std::int64_t n = 0;
    if (what == "list") {
        Filter filter;
        return readFilter({args.begin() + 1, args.end()}, false, filter, error);
    }
    if (what == "show" || what == "export") {
        const std::size_t words = what == "show" ? 2 : 3;
        if (args.size() != words || !readNumber(args[1], n)) {
            error = what == "show" ? "archive show takes a recording number N" : "archive export takes N and FILE";
            return false;
        }
        return true;
    }
    if (what == "sync") {
        if (args.size() == 1) return true;
        error = "archive sync takes no words (the server: --server URL or the preferences)";
        return false;
    }
    if (what == "init-server") {
        if (args.size() <= 2 && (args.size() == 1 || args[1].rfind("--", 0) != 0)) return true;
        error = "archive init-server takes one URL";
        return false;
    }
    if (what == "import" || what == "backup") {
        if (args.size() != 2 || args[1].rfind("--", 0) == 0) {
            error = "archive " + what + (what == "import" ? " takes one DATAFILE" : " takes one FILE");
            return false;
        }
        return true;
    }
    error = "archive: unknown word " + what + " (list, show, export, import, backup, sync or init-server)";
    return false;
}

// ---------------------------------------------------------------- printing

using report::timeText;

const char *yesNo(bool value) { return value ? "yes" : "no"; }

// The archive is not open: why, on standard error. EXIT_NO_ARCHIVE.
int noArchive() {
    switch (archiveUse) {
        case ArchiveUse::Off:
            std::fprintf(stderr, "tavix-cli: the archive is switched off in the preferences\n");
            break;
        case ArchiveUse::Skipped: std::fprintf(stderr, "tavix-cli: --no-archive: no archive is used\n"); break;
        default:
            std::fprintf(stderr, "tavix-cli: the archive cannot be opened: %s (%s)\n", chosenArchivePath().c_str(),
                         archiveOpenError.c_str());
            break;
    }
    return EXIT_NO_ARCHIVE;
}

void printHead(std::FILE *out) {
    const AuditHead head = auditHead();
    std::fprintf(out, "Chain head:    %" PRId64 " %s\n", head.sequence, head.hash.empty() ? "-" : head.hash.c_str());
}

// ---------------------------------------------------------------- archive's words

int listCommand(const std::vector<std::string> &words) {
    Filter filter;
    std::string error;
    readFilter(words, false, filter, error);   // checked before the program started
    RecordingFilter query;
    query.loggerId = filter.logger;
    if (filter.from) query.from = recordTime(fromMoment(*filter.from));
    if (filter.to) query.to = recordTime(toMoment(*filter.to));
    query.sort = RecordingSort::FirstRecord;
    std::vector<RecordingInfo> found;
    if (!listRecordings(query, found, error)) {
        std::fprintf(stderr, "tavix-cli: the archive cannot be read: %s\n", error.c_str());
        return EXIT_NO_ARCHIVE;
    }
    std::printf("%6s  %-11s %-14s %-19s  %-19s  %7s  %-8s %s\n", "No.", "Model", "Identifier", "First record",
                "Last record", "Records", "Complete", "Kind");
    for (const RecordingInfo &r : found) {
        const char *kind = r.flagged ? "flagged" : r.imported ? "imported" : "downloaded";
        std::printf("%6" PRId64 "  %-11s %-14s %-19s  %-19s  %7d  %-8s %s\n", r.id, r.modelName.c_str(),
                    r.loggerId.empty() ? "-" : r.loggerId.c_str(), timeText(r.firstTime).c_str(),
                    timeText(r.lastTime).c_str(), r.records, yesNo(r.complete), kind);
    }
    std::printf("%zu recordings\n", found.size());
    return EXIT_OK;
}

int showCommand(std::int64_t id) {
    RecordingInfo r;
    if (!recordingInfo(id, r)) {
        std::fprintf(stderr, "tavix-cli: the archive holds no recording %" PRId64 "\n", id);
        return EXIT_NOT_ARCHIVED;
    }
    std::printf("Recording:     %" PRId64 "\n", r.id);
    std::printf("Model:         %s (index %d)\n", r.modelName.c_str(), r.model);
    std::printf("Identifier:    %s\n", r.loggerId.c_str());
    std::printf("Firmware:      %s\n", r.firmware.c_str());
    std::printf("Interval:      %02d:%02d:%02d\n", r.interval / 3600, r.interval % 3600 / 60, r.interval % 60);
    std::printf("Unit:          %c\n", r.unit);
    std::printf("First record:  %s\n", timeText(r.firstTime).c_str());
    std::printf("Last record:   %s\n", timeText(r.lastTime).c_str());
    std::printf("Records:       %d\n", r.records);
    std::printf("Readings:      %d\n", r.readings);
    std::printf("Complete:      %s\n", yesNo(r.complete));
    std::printf("Origin:        %s\n", r.imported ? "imported from a data file" : "downloaded");
    if (r.flagged) std::printf("Flagged:       the logger's memory differs from the archived copy\n");
    std::printf("Archived:      %s (UTC%s, %s)\n", r.downloadedUtc.c_str(), r.utcOffset.c_str(), r.timeZone.c_str());
    std::printf("By:            %s on %s\n", r.user.c_str(), r.host.c_str());
    std::printf("Fingerprint:   %s\n", r.fingerprint.c_str());
    return EXIT_OK;
}

int exportCommand(std::int64_t id, const std::string &path) {
    std::string text, error;
    if (!recordingText(id, text, error)) {
        std::fprintf(stderr, "tavix-cli: recording %" PRId64 ": %s\n", id, error.c_str());
        return EXIT_NOT_ARCHIVED;
    }
    // written as the program writes every file: a temporary file renamed over the target
    const rt::ReplaceOptions replace{nullptr, ".tmp", 100, false};
    if (rt::replaceFile(path.c_str(), replace, text) < 0) {
        std::fprintf(stderr, "tavix-cli: the file cannot be written: %s\n", path.c_str());
        return EXIT_NOT_WRITTEN;
    }
    const std::string sha = sha256Hex(text);
    recordFileWritten(path, sha, error);
    auditAppend("export", "recording " + std::to_string(id) + " original data file -> " + path + "; sha256 " + sha,
                error);
    std::printf("recording %" PRId64 " written to %s\n", id, path.c_str());
    return EXIT_OK;
}

int importCommand(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (in) text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        std::fprintf(stderr, "tavix-cli: the data file cannot be read: %s\n", path.c_str());
        return EXIT_UNREADABLE;
    }
    const ArchiveResult result = importDataFile(text);
    switch (result.outcome) {
        case ArchiveOutcome::StoredNew:
            std::printf("%s: imported as recording %" PRId64 "\n", path.c_str(), result.recording);
            return EXIT_OK;
        case ArchiveOutcome::Extended:
            std::printf("%s: recording %" PRId64 " extended by %d records\n", path.c_str(), result.recording,
                        result.recordsAdded);
            return EXIT_OK;
        case ArchiveOutcome::AlreadyArchived:
            std::printf("%s: already in the archive (recording %" PRId64 ")\n", path.c_str(), result.recording);
            return EXIT_OK;
        case ArchiveOutcome::StoredFlagged:
            std::printf("%s: imported as recording %" PRId64 ", flagged: it differs from the archived copy\n",
                        path.c_str(), result.recording);
            return EXIT_OK;
        case ArchiveOutcome::Failed: break;
    }
    std::fprintf(stderr, "tavix-cli: %s not imported: %s\n", path.c_str(), result.error.c_str());
    // a file with no record refuses itself; otherwise the archive did
    return loggedLength > 0 ? EXIT_NO_ARCHIVE : EXIT_UNREADABLE;
}

int backupCommand(const std::string &path) {
    std::string error;
    if (!backupArchive(path, error)) {
        std::fprintf(stderr, "tavix-cli: the backup cannot be written: %s (%s)\n", path.c_str(), error.c_str());
        return EXIT_NOT_WRITTEN;
    }
    auditAppend("backup", archivePath() + " -> " + path, error);
    std::printf("archive backed up to %s\n", path.c_str());
    printHead(stdout);
    return EXIT_OK;
}

// ---------------------------------------------------------------- the server

// The server named by --server or the preferences; "" (said on standard error) when none is.
std::string serverUrl() {
    const std::string url = archiveServerUrl();
    if (url.empty())
        std::fprintf(stderr, "tavix-cli: no server archive is set (--server URL or the Archive Server preference)\n");
    return url;
}

int initServerCommand(const std::vector<std::string> &args) {
    const std::string url = args.size() > 1 ? args[1] : serverUrl();
    if (url.empty()) return EXIT_USAGE;
    std::string error;
    if (!openServer(url, true, error)) {
        std::fprintf(stderr, "tavix-cli: the server archive cannot be set up: %s\n", error.c_str());
        return EXIT_NO_ARCHIVE;
    }
    std::printf("the server archive is ready (schema version %d)\n", serverSchemaVersion());
    closeServer();
    return EXIT_OK;
}

int syncCommand() {
    const std::string url = serverUrl();
    if (url.empty()) return EXIT_USAGE;
    const SyncResult result = syncArchive(url);
    switch (result.outcome) {
        case SyncOutcome::Done:
            std::printf("synced as site %s: %d recordings and %d audit entries pushed\n", archiveSiteName().c_str(),
                        result.recordingsPushed, result.entriesPushed);
            return EXIT_OK;
        case SyncOutcome::ChainRefused:
            std::fprintf(stderr, "tavix-cli: push refused: the local audit trail was changed after entry %" PRId64 "\n",
                         result.agreed);
            return EXIT_CHANGED;
        case SyncOutcome::Unreachable:
            std::fprintf(stderr, "tavix-cli: %s; everything stays in the local archive and the next sync pushes it\n",
                         result.error.c_str());
            return EXIT_NO_ARCHIVE;
        case SyncOutcome::Failed: break;
    }
    std::fprintf(stderr, "tavix-cli: the sync stopped: %s; the next sync goes on from here (%d recordings pushed)\n",
                 result.error.c_str(), result.recordingsPushed);
    return EXIT_NO_ARCHIVE;
}

// ---------------------------------------------------------------- audit

const char *faultText(AuditFault fault) {
    switch (fault) {
        case AuditFault::Changed: return "changed";
        case AuditFault::Removed: return "removed";
        case AuditFault::Inserted: return "inserted";
        default: return "";
    }
}

}   // namespace

// ---------------------------------------------------------------- before the program starts

void chooseCliArchive(const Options &options) {
    chooseServer(options.server, options.site);
    if (options.noArchive) {
        chooseArchive("", true);
        return;
    }
    namespace fs = std::filesystem;
    std::error_code ec;
    std::string path;
    if (!options.archive.empty()) {
        path = fs::absolute(options.archive, ec).lexically_normal().string();
    } else {
        // the archive the window keeps: DIR's, else the one of the window's own folder
        const std::string folder = fs::absolute(options.appDir.empty() ? rt::UserProgramFolder() : options.appDir, ec)
                                       .lexically_normal()
                                       .string();
        path = (fs::path(folder) / ARCHIVE_FILE_NAME).string();
    }
    // A command that only reads files (retrieve, stats, report, chart) leaves the folder as it
    // is: it uses an archive that exists and makes none.
    const bool readsOnly = !needsLogger(options) && !archiveCommand(options.command);
    if (readsOnly && !fs::exists(path, ec)) {
        chooseArchive("", true);
        return;
    }
    QDir().mkpath(QString::fromLocal8Bit(fs::path(path).parent_path().c_str()));
    chooseArchive(path, false);
}

bool archiveCommand(const std::string &command) {
    return command == "archive" || command == "verify" || command == "audit";
}

int archiveOptionValues(const std::string &option) {
    if (option == "--logger" || option == "--from" || option == "--to") return 1;
    if (option == "--verify") return 0;
    return -1;
}

bool checkArchiveArguments(const std::vector<std::string> &args, std::string &error) {
    return readArchiveWords(args, error);
}

bool checkVerifyArguments(const std::vector<std::string> &args, std::string &error) {
    if (args.size() == 1 && args[0].rfind("--", 0) != 0) return true;
    error = "verify takes one DATAFILE";
    return false;
}

bool checkAuditArguments(const std::vector<std::string> &args, std::string &error) {
    Filter filter;
    return readFilter(args, true, filter, error);
}

// ---------------------------------------------------------------- the commands

int archive(const Options &options, rt::ScriptedAgent &) {
    const std::vector<std::string> &args = options.args;
    const std::string &what = args[0];
    if (what == "init-server") return initServerCommand(args);   // needs no local archive
    if (archiveUse != ArchiveUse::Open) return noArchive();
    if (what == "sync") return syncCommand();
    std::int64_t id = 0;
    if (args.size() > 1) readNumber(args[1], id);
    // the files are absolute already (withAbsolutePaths)
    if (what == "list") return listCommand({args.begin() + 1, args.end()});
    if (what == "show") return showCommand(id);
    if (what == "export") return exportCommand(id, args[2]);
    if (what == "import") return importCommand(args[1]);
    return backupCommand(args[1]);
}

int verify(const Options &options, rt::ScriptedAgent &agent) {
    // the file read as Retrieve File reads it: the window checks it and notes the result
    const std::string path = options.args[0];
    if (const int result = loadDataFile(path, agent); result != EXIT_OK) return result;
    if (archiveUse != ArchiveUse::Open) return noArchive();
    const VerifyResult result = verifyRecords();
    switch (result.outcome) {
        case VerifyOutcome::Original:
            std::printf("%s: %s (recording %" PRId64 ")\n", path.c_str(), archiveCheckNote(result).c_str(),
                        result.recording);
            return EXIT_OK;
        case VerifyOutcome::Changed:
            std::printf("%s: %s; archived as recording %" PRId64 "\n", path.c_str(), archiveCheckNote(result).c_str(),
                        result.recording);
            return EXIT_CHANGED;
        case VerifyOutcome::NotArchived:
            std::printf("%s: %s\n", path.c_str(), archiveCheckNote(result).c_str());
            return EXIT_NOT_ARCHIVED;
        case VerifyOutcome::Failed: break;
    }
    std::fprintf(stderr, "tavix-cli: %s cannot be verified: %s\n", path.c_str(), result.error.c_str());
    return EXIT_NO_ARCHIVE;
}

int audit(const Options &options, rt::ScriptedAgent &) {
    if (archiveUse != ArchiveUse::Open) return noArchive();
    Filter filter;
    std::string error;
    readFilter(options.args, true, filter, error);   // checked before the program started
    std::optional<std::int64_t> from, to;
    if (filter.from) from = fromMoment(*filter.from).toSecsSinceEpoch();
    if (filter.to) to = toMoment(*filter.to).toSecsSinceEpoch() + 1;   // the last second included
    std::vector<AuditEntry> entries;
    if (!listAudit(from, to, entries, error)) {
        std::fprintf(stderr, "tavix-cli: the audit trail cannot be read: %s\n", error.c_str());
        return EXIT_NO_ARCHIVE;
    }
    for (const AuditEntry &e : entries)
        std::printf("%6" PRId64 "  %s %s  %s@%s  %s  %s\n", e.sequence, e.timeUtc.c_str(), e.utcOffset.c_str(),
                    e.user.c_str(), e.host.c_str(), e.action.c_str(), e.details.c_str());
    if (!filter.verify) {
        printHead(stdout);
        return EXIT_OK;
    }
    const AuditCheck check = verifyAuditTrail();
    if (check.fault == AuditFault::Failed) {
        std::fprintf(stderr, "tavix-cli: the audit trail cannot be read: %s\n", check.error.c_str());
        return EXIT_NO_ARCHIVE;
    }
    std::string details;
    int result = EXIT_OK;
    if (check.fault == AuditFault::None) {
        std::printf("The audit trail is whole: %" PRId64 " entries\n", check.entries);
        details = "whole, " + std::to_string(check.entries) + " entries, head " + std::to_string(check.head.sequence);
    } else {
        std::printf("The audit trail is broken: entry %" PRId64 " was %s\n", check.sequence, faultText(check.fault));
        details = "broken: entry " + std::to_string(check.sequence) + " " + faultText(check.fault);
        result = EXIT_CHANGED;
    }
    printHead(stdout);
    auditAppend("audit verify", details, error);
    return result;
}

bool checkFleetArguments(const std::vector<std::string> &args, std::string &error) {
    if (args.empty() || (args.size() == 2 && args[0] == "--profile")) return true;
    error = "fleet takes only --profile NAME (the server: --server URL or the preferences)";
    return false;
}

// The verdict of a logger's last recording against the profile ("-" when it cannot be judged).
std::string fleetVerdict(const Profile *profile, const FleetLogger &f) {
    if (profile == nullptr) return "-";
    std::vector<VerdictTime> times(f.times.begin(), f.times.end());
    VerdictInput input;
    input.times = times.data();
    for (int c = 0; c < VERDICT_CHANNELS; ++c) input.values[c] = f.values[c].empty() ? nullptr : f.values[c].data();
    input.count = static_cast<int>(times.size());
    input.intervalSeconds = f.interval;
    input.unit = f.unit;
    Verdict verdict;
    if (judgeRecording(*profile, input, &verdict) != 0) return "-";
    return verdict.pass ? "PASS" : "FAIL";
}

int fleet(const Options &options, rt::ScriptedAgent &) {
    const std::string url = serverUrl();
    if (url.empty()) return EXIT_USAGE;
    // the profile the verdicts follow: --profile, else the first of the program folder's file
    std::vector<Profile> profiles;
    std::string error;
    char dir[4096] = "";
    GetProjectDir(dir, sizeof dir);
    readProfilesFile((std::filesystem::path(dir) / PROFILES_FILE_NAME).string(), profiles, error);
    const std::string name = options.args.size() == 2 ? options.args[1] : std::string();
    const Profile *profile =
        name.empty() ? (profiles.empty() ? nullptr : &profiles.front()) : findProfile(profiles, name);
    if (!name.empty() && profile == nullptr) {
        std::fprintf(stderr, "tavix-cli: no profile %s in %s\n", name.c_str(), PROFILES_FILE_NAME);
        return EXIT_USAGE;
    }
    std::vector<FleetLogger> loggers;
    if (!listFleet(url, loggers, error, profile != nullptr)) {
        std::fprintf(stderr, "tavix-cli: the server archive cannot be read: %s\n", error.c_str());
        return EXIT_NO_ARCHIVE;
    }
    if (profile != nullptr) std::printf("Verdicts against the profile %s\n", profile->name.c_str());
    std::printf("%-14s %-11s %-14s %-24s %7s  %-8s %-7s %s\n", "Site", "Model", "Identifier", "Last download (UTC)",
                "Records", "Complete", "Verdict", "Last calibration at the site");
    for (const FleetLogger &f : loggers)
        std::printf("%-14s %-11s %-14s %-24s %7d  %-8s %-7s %s\n", f.site.c_str(), f.modelName.c_str(),
                    f.loggerId.empty() ? "-" : f.loggerId.c_str(), f.downloadedUtc.c_str(), f.records,
                    yesNo(f.complete), fleetVerdict(profile, f).c_str(),
                    f.calibration.empty() ? "-" : f.calibration.c_str());
    std::printf("%zu loggers\n", loggers.size());
    return EXIT_OK;
}

int downloadArchived() {
    if (archiveUse == ArchiveUse::Off || archiveUse == ArchiveUse::Skipped) return EXIT_OK;
    if (archiveUse == ArchiveUse::Unopened) return noArchive();
    if (!lastDownloadKept) return EXIT_OK;   // nothing was held to keep
    const ArchiveResult &result = lastDownloadResult;
    switch (result.outcome) {
        case ArchiveOutcome::StoredNew: std::printf("archived as recording %" PRId64 "\n", result.recording); break;
        case ArchiveOutcome::Extended:
            std::printf("archive: recording %" PRId64 " extended by %d records\n", result.recording,
                        result.recordsAdded);
            break;
        case ArchiveOutcome::AlreadyArchived:
            std::printf("already in the archive (recording %" PRId64 ")\n", result.recording);
            break;
        case ArchiveOutcome::StoredFlagged:
            std::printf("archived as recording %" PRId64
                        ", flagged: the logger's memory differs from the archived copy\n",
                        result.recording);
            break;
        case ArchiveOutcome::Failed:
            std::fprintf(stderr, "tavix-cli: the archive did not take the download: %s\n", result.error.c_str());
            return EXIT_NO_ARCHIVE;
    }
    return EXIT_OK;
}

void keepClockOffset(long long offsetSeconds, int interval) {
    if (archiveUse != ArchiveUse::Open || !lastDownloadKept || lastDownloadResult.outcome == ArchiveOutcome::Failed)
        return;
    if (std::string error; !archiveClockOffset(lastDownloadResult.recording, offsetSeconds, interval, error))
        std::fprintf(stderr, "tavix-cli: the archive did not keep the clock offset: %s\n", error.c_str());
}

}   // namespace cli
