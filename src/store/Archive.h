// The recording archive: every set of records Tavix downloads (or imports from a data file) kept
// in a database, with its fingerprint, its readings and the text of its data file, so that a
// file read later can be checked against it.
//
// The archive is an SQLite file (TavixArchive.db in the program folder) opened through Qt SQL on
// one named connection per process; its schema has a version and one ordered list of migrations
// that run when it is opened. The statements use bound parameters only and run unchanged on
// SQLite and PostgreSQL; what differs between the two (the binary column type, generated keys,
// the journal and lock settings, the backup statement) lives in one place in the implementation.
// Several processes may use one archive at once (the window and tavix-cli): the journal is WAL,
// a writer waits for another one (busy timeout), and every change is one transaction, so a
// recording is stored whole or not at all, also when the process is killed while storing.
//
// A logger is known by its model index and identifier. Storing the records held:
//   - no archived recording of that logger starts with the same first record: a new recording;
//   - one does and the records both hold are identical (times, and values at the one decimal
//     the data file shows): the new records extend it, or, when there are none, the records
//     are "already archived";
//   - it does but they differ: a separate recording flagged "the logger's memory differs from
//     the archived copy"; the two are never merged. A logger with an empty identifier is never
//     flagged: its records are stored as a recording of their own instead.
//
// State: the open connection and the path in use. Nothing here shows a window or a text of the
// windows: results carry codes and English reasons; the callers word them for the user.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/Clock.h"

// The archive's file name in the program folder.
inline constexpr const char *ARCHIVE_FILE_NAME = "TavixArchive.db";

// ---------------------------------------------------------------- opening

// Opens (creating it when missing) the archive at path and brings its schema to the current
// version; the archive open before is closed first. False (error says why, nothing is open)
// when the file cannot be opened, is no archive, or has a schema newer than this program's.
// A read-only archive file in a folder that may be written opens: listing and verification
// work, storing fails with a reason. In a read-only folder it does not open (the WAL journal
// needs files beside it); error then begins "the archive is read-only".
bool openArchive(const std::string &path, std::string &error);
// Closes the archive (nothing when none is open).
void closeArchive();
// Whether an archive is open.
bool archiveOpen();
// The path of the open archive ("" when none is).
const std::string &archivePath();
// The schema version this program writes, and that of the open archive (0 when none is open).
int archiveSchemaVersion();
int openArchiveSchemaVersion();
// Back to the start-up state (tests): the archive and the server closed, no site name set.
void resetArchiveState();

// The open archive's identifier, made when the archive was first opened ("" when none is open).
const std::string &archiveIdentifier();
// The name of this PC's site, stored with every recording and audit entry ("" = the host name).
void setArchiveSiteName(const std::string &name);
std::string archiveSiteName();

// ---------------------------------------------------------------- the server

// Connects to the server archive at url (postgresql://user@host:port/db?sslmode=...; libpq's
// ~/.pgpass or a service file holds the password, never the URL: a URL with one is refused;
// sslmode=prefer unless the URL says otherwise). With migrateSchema, creates or migrates the
// schema through the same migration list as a local archive (init-server); without, a server
// whose schema is not this program's is refused. False (error says why, nothing open).
bool openServer(const std::string &url, bool migrateSchema, std::string &error);
void closeServer();
// The server's schema version (0 when no server is open).
int serverSchemaVersion();

// ---------------------------------------------------------------- storing the records held

// What the record store does not know about the records held.
struct ArchiveSource {
    bool imported = false;      // read from a data file (archive import), not downloaded
    bool complete = true;       // the download brought every record the logger reported
    std::string modelName;      // as the logger reports it; "" = the model table's name
    std::string firmware;       // the logger's firmware version as text ("2.40"); "" unknown
    std::string dataFileText;   // the data file as Save File writes it; "" = made here
};

enum class ArchiveOutcome {
    StoredNew,         // a new recording
    Extended,          // an archived recording of the logger got the new records
    AlreadyArchived,   // every record is archived already; nothing stored but the event
    StoredFlagged,     // the logger's memory differs from the archived copy: stored separately
    Failed,            // nothing stored: error says why (the records held are untouched)
};

struct ArchiveResult {
    ArchiveOutcome outcome = ArchiveOutcome::Failed;
    std::int64_t recording = 0;   // the recording stored, extended or matched (0 when Failed)
    int recordsAdded = 0;         // records written by this call
    std::string fingerprint;      // recordsFingerprint() of the records held
    std::string error;            // Failed: the reason, in English
};

// Stores the records held (the record store and recordsDescription()) as the rules above say,
// with the PC's time (UTC, its offset and time-zone name), user and host name, and appends the
// audit entry "download" or "import" (records, fingerprint, outcome) in the same transaction.
// Failed when no archive is open, no records are held, or the database refuses (read-only,
// full, locked beyond the busy timeout): then nothing of it is stored.
ArchiveResult archiveRecords(const ArchiveSource &source);

// Keeps the clock offset estimated for the latest download of the recording (seconds, the
// logger's clock against the PC's; interval: the recording's, the estimate's uncertainty).
// False (error says why) when no archive is open, the recording has no download or the
// database refuses.
bool archiveClockOffset(std::int64_t recording, std::int64_t offsetSeconds, int interval, std::string &error);

// Reads the text of a data file into the record store (as Retrieve File does: the records held
// are replaced) and archives its records marked imported, with text as the recording's text.
// Failed (the record store unchanged) for a text without a record line.
ArchiveResult importDataFile(const std::string &text);

// ---------------------------------------------------------------- verification

enum class VerifyOutcome {
    Original,      // the fingerprint of an archived download or import
    Changed,       // an archived recording of the same logger and first record differs
    NotArchived,   // no recording of that logger starts with that record
    Failed,        // no archive open, no records held, or the database refused: error
};

// What differs first between the records held and the archived recording.
enum class ArchiveField {
    None,
    Time,           // the record's time
    Temperature,    // the first temperature channel
    Temperature2,   // the second temperature channel
    Humidity,
    Missing,    // the archive holds this record, the records held end before it
    Extra,      // the records held have this record, the archived copy does not
    Interval,   // header: the sample interval (record 0)
    Unit,       // header: the temperature unit letter (record 0)
    Readings,   // header: the readings the logger reported (record 0)
};
// The field's name in English ("time", "temperature", "temperature 2", "humidity", ...).
const char *archiveFieldName(ArchiveField field);

struct VerifyResult {
    VerifyOutcome outcome = VerifyOutcome::Failed;
    std::int64_t recording = 0;                // Original, Changed: the archived recording
    std::string loggerModel;                   // its model name
    std::string loggerId;                      // its identifier
    std::string downloadedUtc;                 // when that download (Changed: the recording's first) was archived, UTC
    std::string utcOffset;                     // the PC's UTC offset then ("+01:00")
    bool imported = false;                     // Original: it was an import, not a download
    int record = 0;                            // Changed: the first differing record number (0: header)
    ArchiveField field = ArchiveField::None;   // Changed: what differs there
    std::string fingerprint;                   // recordsFingerprint() of the records held
    std::string error;                         // Failed: the reason
};

// Checks the records held (typically just read from a data file) against the archive. Changed
// names, of the archived recordings of the same logger and first record, the one that agrees
// longest. Values are compared at one decimal.
VerifyResult verifyRecords();

// ---------------------------------------------------------------- files written

// Notes that the program wrote the file at path whose exact bytes have this SHA-256 (64 hex
// digits), with the time, user and host. False (error) when no archive is open or the
// database refuses.
bool recordFileWritten(const std::string &path, const std::string &sha256, std::string &error);

struct WrittenFile {
    std::string path;
    std::string sha256;
    std::string writtenUtc;   // ISO 8601 UTC
    std::string utcOffset;
};
// The files written with these bytes, earliest first (empty when none or no archive is open).
std::vector<WrittenFile> filesWritten(const std::string &sha256);

// ---------------------------------------------------------------- listing and reading

// One archived recording.
struct RecordingInfo {
    std::int64_t id = 0;
    int model = 0;   // model index
    std::string modelName;
    std::string loggerId;   // identifier
    std::string firmware;
    int interval = 0;   // sample interval in seconds
    char unit = 'C';
    cRtc firstTime = 0;   // time of the first and the last record
    cRtc lastTime = 0;
    int records = 0;             // records archived
    int readings = 0;            // readings the logger reported at the last download
    bool complete = false;       // the last download brought every record
    bool imported = false;       // the recording came from a data file
    bool flagged = false;        // the logger's memory differed from the archived copy
    std::string downloadedUtc;   // the first download: ISO 8601 UTC, UTC offset, time zone
    std::string utcOffset;
    std::string timeZone;
    std::string user;   // the PC user and host name then
    std::string host;
    std::string fingerprint;   // of the recording's whole text
};

enum class RecordingSort { Id, Logger, FirstRecord, LastRecord, Records, Downloaded };

struct RecordingFilter {
    std::optional<std::string> loggerId;   // exactly this identifier
    std::optional<cRtc> from;              // recordings with a record at or after from
    std::optional<cRtc> to;                // ... and at or before to
    RecordingSort sort = RecordingSort::Id;
    bool descending = false;
    int limit = 0;   // 0: all
};

// The recordings the filter passes, in its order (empty when no archive is open). false and
// error when the database refuses.
bool listRecordings(const RecordingFilter &filter, std::vector<RecordingInfo> &out, std::string &error);
// One recording; false when there is none with that id.
bool recordingInfo(std::int64_t id, RecordingInfo &out);
// The recording's data-file text, decompressed: the text of its last download (Save File's
// bytes then) or the imported file. False (error) when there is no such recording or its text
// does not decompress.
bool recordingText(std::int64_t id, std::string &text, std::string &error);

// One archived record: number (1-based), time, and the values as the data file shows them (a
// sensor error above 10000; an absent channel empty).
struct ArchivedReading {
    int number = 0;
    cRtc time = 0;
    std::optional<double> temperature;
    std::optional<double> temperature2;
    std::optional<double> humidity;
};
// The records of a recording in record order; false when there is none with that id.
bool recordingReadings(std::int64_t id, std::vector<ArchivedReading> &out);

// ---------------------------------------------------------------- backup

// A consistent copy of the archive at path (VACUUM INTO; other processes may go on writing).
// The target must not exist. False (error) otherwise.
bool backupArchive(const std::string &path, std::string &error);
