// The archive on real SQLite files, each test in its own folder: storing downloads (new, twice,
// extended, changed, without an identifier), verifying files read back, the audit chain and its
// tampering with the sqlite3 shell, bound parameters, two writers at once, kill -9 while
// storing, and archives that refuse to be written.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "FileSizeLimit.h"
#include "HeldRecords.h"
#include "Programs.h"
#include "TestFolder.h"
#include "base/Prefs.h"
#include "datafile/DataFileText.h"
#include "store/Archive.h"
#include "store/Audit.h"
#include "store/Fingerprint.h"

namespace fs = std::filesystem;

namespace {

// The sqlite3 shell, found on the PATH.
std::string sqliteShell() {
    const char *path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin";
    for (std::size_t at = 0; at <= folders.size();) {
        std::size_t end = folders.find(':', at);
        if (end == std::string::npos) end = folders.size();
        const fs::path candidate = fs::path(folders.substr(at, end - at)) / "sqlite3";
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
        at = end + 1;
    }
    return "sqlite3";
}

// The sqlite3 shell on an archive: its output without the line end.
std::string shell(const fs::path &db, const std::string &sql) {
    const programs::Outcome out = programs::run({sqliteShell(), db.string(), sql}, db.parent_path());
    std::string text = out.out;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return out.status == 0 ? text : "sqlite3 failed: " + out.err;
}

// The text with one field (0 = number, 1 = date, 2 = time, 3... = values) of record number's
// line replaced.
std::string withField(std::string text, int number, int field, const std::string &value) {
    std::size_t line = 0;
    for (int k = 0; k < 6 + number - 1; ++k) line = text.find('\n', line) + 1;
    std::size_t at = line;
    for (int k = 0;; ++k) {
        at = text.find_first_not_of(' ', at);
        const std::size_t end = text.find_first_of(" \n", at);
        if (k == field) return text.replace(at, end - at, value);
        at = end;
    }
}

class Archive : public ::testing::Test {
protected:
    void SetUp() override {
        resetModelState();
        resetDataFileState();
        resetArchiveState();
        sLocal.dateFormat = DATE_ORDER_MDY;
        dir_ = makeTestFolder("store");
        db_ = dir_ / ARCHIVE_FILE_NAME;
        std::string error;
        ASSERT_TRUE(openArchive(db_.string(), error)) << error;
    }
    void TearDown() override {
        closeArchive();
        sLocal.dateFormat = DATE_ORDER_MDY;
        ::chmod(dir_.c_str(), 0755);
        fs::remove_all(dir_);
    }

    std::vector<RecordingInfo> recordings(RecordingFilter filter = {}) {
        std::vector<RecordingInfo> list;
        std::string error;
        EXPECT_TRUE(listRecordings(filter, list, error)) << error;
        return list;
    }
    // The records held saved as a data file and read back, as Retrieve File holds them.
    std::string savedText() {
        std::string text;
        EXPECT_TRUE(formatDataFile(text));
        return text;
    }
    void readBack(const std::string &text) { ASSERT_GT(parseDataFile(text.data(), text.size()), 0); }

    fs::path dir_, db_;
};

TEST_F(Archive, DownloadIsStoredWithEveryRecordItsTextAndWhoAndWhen) {
    HeldLogger logger;
    holdRecords(logger, 300);
    std::string text;
    ASSERT_TRUE(formatDataFile(text));
    ArchiveSource source;
    source.modelName = "4153";
    source.firmware = "2.40";
    source.complete = false;
    const ArchiveResult result = archiveRecords(source);
    ASSERT_EQ(result.outcome, ArchiveOutcome::StoredNew) << result.error;
    EXPECT_EQ(result.recordsAdded, 300);
    EXPECT_EQ(result.fingerprint, recordsFingerprint());

    RecordingInfo info;
    ASSERT_TRUE(recordingInfo(result.recording, info));
    EXPECT_EQ(info.model, 10);
    EXPECT_EQ(info.modelName, "4153");
    EXPECT_EQ(info.loggerId, "LOG-42");
    EXPECT_EQ(info.firmware, "2.40");
    EXPECT_EQ(info.interval, 60);
    EXPECT_EQ(info.firstTime, logger.first);
    EXPECT_EQ(info.lastTime, logger.first + 299u * 60u);
    EXPECT_EQ(info.records, 300);
    EXPECT_EQ(info.readings, 900);
    EXPECT_FALSE(info.complete);
    EXPECT_FALSE(info.imported);
    EXPECT_FALSE(info.flagged);
    EXPECT_EQ(info.fingerprint, result.fingerprint);
    EXPECT_EQ(info.downloadedUtc.size(), 24u) << info.downloadedUtc;   // 2026-12-11T12:30:43.120Z
    EXPECT_EQ(info.utcOffset.size(), 6u) << info.utcOffset;
    EXPECT_EQ(info.host, pcHostName());
    EXPECT_FALSE(info.host.empty());

    std::string stored, error;
    ASSERT_TRUE(recordingText(result.recording, stored, error)) << error;
    EXPECT_EQ(stored, text);

    std::vector<ArchivedReading> readings;
    ASSERT_TRUE(recordingReadings(result.recording, readings));
    ASSERT_EQ(readings.size(), 300u);
    for (int i : {0, 1, 149, 299}) {
        const ArchivedReading &r = readings[static_cast<std::size_t>(i)];
        EXPECT_EQ(r.number, i + 1);
        EXPECT_EQ(r.time, logger.first + static_cast<cRtc>(i * 60));
        // stored as the data file shows them
        EXPECT_NEAR(*r.temperature, heldValue(logger, i, 0) - 0.00001, 1e-9);
        EXPECT_NEAR(*r.temperature2, heldValue(logger, i, 1) - 0.00001, 1e-9);
        EXPECT_NEAR(*r.humidity, heldValue(logger, i, 2) - 0.00001, 1e-9);
    }
    // the download is on the audit trail, chained
    std::vector<AuditEntry> trail;
    ASSERT_TRUE(listAudit({}, {}, trail, error)) << error;
    ASSERT_EQ(trail.size(), 1u);
    EXPECT_EQ(trail[0].action, "download");
    EXPECT_NE(trail[0].details.find(result.fingerprint), std::string::npos) << trail[0].details;
    EXPECT_EQ(auditHead().hash, trail[0].hash);
}

TEST_F(Archive, ChannelsAModelLacksStayEmptyAndSensorErrorsKeepTheirCode) {
    HeldLogger logger;
    logger.model = 19;   // temperature and humidity
    holdRecords(logger, 3);
    vTemPtr[1] = 10000 + 5 + 0.00001;   // E05
    const ArchiveResult result = archiveRecords({});
    ASSERT_EQ(result.outcome, ArchiveOutcome::StoredNew) << result.error;
    std::vector<ArchivedReading> readings;
    ASSERT_TRUE(recordingReadings(result.recording, readings));
    ASSERT_EQ(readings.size(), 3u);
    EXPECT_FALSE(readings[0].temperature2.has_value());
    EXPECT_TRUE(readings[0].humidity.has_value());
    EXPECT_DOUBLE_EQ(*readings[1].temperature, GetFileVal("E05"));
}

// A second download after a first one: what the archive makes of it.
struct SecondDownload {
    const char *name;
    const char *firstId;
    int firstRecords;
    const char *secondId;
    int secondRecords;
    int changedRecord;   // 0: none; else this record's humidity moves by delta
    double delta;
    ArchiveOutcome outcome;
    int added;
    int recordingsAfter;
    bool secondFlagged;
};

const SecondDownload kSecondDownloads[] = {
    {"SameRecordsTwice", "LOG-42", 300, "LOG-42", 300, 0, 0, ArchiveOutcome::AlreadyArchived, 0, 1, false},
    {"FewerOfTheSameRecords", "LOG-42", 300, "LOG-42", 200, 0, 0, ArchiveOutcome::AlreadyArchived, 0, 1, false},
    {"HundredMoreRecords", "LOG-42", 300, "LOG-42", 400, 0, 0, ArchiveOutcome::Extended, 100, 1, false},
    {"ChangedRecord", "LOG-42", 300, "LOG-42", 300, 150, 0.1, ArchiveOutcome::StoredFlagged, 300, 2, true},
    {"ChangedRecordAndMore", "LOG-42", 300, "LOG-42", 400, 7, -0.1, ArchiveOutcome::StoredFlagged, 400, 2, true},
    {"ChangeBelowTheShownDecimal", "LOG-42", 300, "LOG-42", 300, 150, 0.01, ArchiveOutcome::AlreadyArchived, 0, 1,
     false},
    {"ChangeInTheNewRecordsOnly", "LOG-42", 300, "LOG-42", 400, 350, 0.1, ArchiveOutcome::Extended, 100, 1, false},
    {"OtherLoggerSameRecords", "LOG-42", 300, "LOG-7", 300, 0, 0, ArchiveOutcome::StoredNew, 300, 2, false},
    {"NoIdentifierSameRecords", "", 300, "", 300, 0, 0, ArchiveOutcome::AlreadyArchived, 0, 1, false},
    {"NoIdentifierMoreRecords", "", 300, "", 400, 0, 0, ArchiveOutcome::Extended, 100, 1, false},
    {"NoIdentifierChangedRecord", "", 300, "", 300, 150, 0.1, ArchiveOutcome::StoredNew, 300, 2, false},
};

class SecondDownloads : public Archive, public ::testing::WithParamInterface<SecondDownload> {};

TEST_P(SecondDownloads, AreStoredOnceExtendedOrKeptApart) {
    const SecondDownload &c = GetParam();
    HeldLogger logger;
    logger.id = c.firstId;
    holdRecords(logger, c.firstRecords);
    const ArchiveResult first = archiveRecords({});
    ASSERT_EQ(first.outcome, ArchiveOutcome::StoredNew) << first.error;

    logger.id = c.secondId;
    holdRecords(logger, c.secondRecords);
    if (c.changedRecord > 0) vRhPtr[c.changedRecord - 1] += c.delta;
    const ArchiveResult second = archiveRecords({});
    ASSERT_EQ(second.outcome, c.outcome) << second.error;
    EXPECT_EQ(second.recordsAdded, c.added);

    const std::vector<RecordingInfo> list = recordings();
    ASSERT_EQ(static_cast<int>(list.size()), c.recordingsAfter);
    EXPECT_FALSE(list.front().flagged);
    EXPECT_EQ(list.back().flagged, c.secondFlagged);
    if (c.recordingsAfter == 1) {
        // the first recording, now holding every record of both
        EXPECT_EQ(second.recording, first.recording);
        const int records = std::max(c.firstRecords, c.secondRecords);
        EXPECT_EQ(list[0].records, records);
        EXPECT_EQ(list[0].lastTime, logger.first + static_cast<cRtc>((records - 1) * 60));
        std::vector<ArchivedReading> readings;
        ASSERT_TRUE(recordingReadings(first.recording, readings));
        EXPECT_EQ(static_cast<int>(readings.size()), records);
        EXPECT_EQ(readings.back().number, records);
        if (c.outcome == ArchiveOutcome::Extended) {
            EXPECT_EQ(list[0].fingerprint, second.fingerprint);
        }
    } else {
        EXPECT_NE(second.recording, first.recording);
        EXPECT_EQ(list.back().records, c.secondRecords);
    }
    // every download is on the trail, and the trail holds
    EXPECT_EQ(auditHead().sequence, 2);
    EXPECT_EQ(verifyAuditTrail().fault, AuditFault::None);
}

INSTANTIATE_TEST_SUITE_P(Cases, SecondDownloads, ::testing::ValuesIn(kSecondDownloads),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Archive, FingerprintDoesNotDependOnTheDateFormat) {
    holdRecords({}, 50);
    const std::string fingerprint = recordsFingerprint();
    for (int order : {DATE_ORDER_DMY, DATE_ORDER_YMD}) {
        sLocal.dateFormat = order;
        EXPECT_EQ(recordsFingerprint(), fingerprint) << order;
    }
}

// A data file read back and checked against the archive: the file saved after the download
// (under some date format), then changed or not.
struct FileCheck {
    const char *name;
    int savedUnder;   // the date format when it was saved and read
    int record;       // 0: unchanged; else this record's field is set to value
    int field;        // 1 date, 2 time, 3.. values
    const char *value;
    int dropLast;     // record lines taken off the end
    const char *id;   // "" keeps the identifier
    VerifyOutcome outcome;
    int changedRecord;
    ArchiveField changedField;
};

const FileCheck kFileChecks[] = {
    {"Original", DATE_ORDER_MDY, 0, 0, "", 0, "", VerifyOutcome::Original, 0, ArchiveField::None},
    {"OriginalSavedUnderAnotherDateFormat", DATE_ORDER_YMD, 0, 0, "", 0, "", VerifyOutcome::Original, 0,
     ArchiveField::None},
    {"HumidityChanged", DATE_ORDER_DMY, 123, 5, "99.9", 0, "", VerifyOutcome::Changed, 123, ArchiveField::Humidity},
    {"TemperatureChanged", DATE_ORDER_MDY, 7, 3, "-3.0", 0, "", VerifyOutcome::Changed, 7, ArchiveField::Temperature},
    {"SensorErrorPutIn", DATE_ORDER_MDY, 250, 4, "E03", 0, "", VerifyOutcome::Changed, 250, ArchiveField::Temperature2},
    {"TimeChanged", DATE_ORDER_MDY, 40, 2, "23:59:59", 0, "", VerifyOutcome::Changed, 40, ArchiveField::Time},
    {"LastRecordsCut", DATE_ORDER_MDY, 0, 0, "", 2, "", VerifyOutcome::Changed, 299, ArchiveField::Missing},
    {"OtherLogger", DATE_ORDER_MDY, 0, 0, "", 0, "LOG-43", VerifyOutcome::NotArchived, 0, ArchiveField::None},
};

class FileChecks : public Archive, public ::testing::WithParamInterface<FileCheck> {};

TEST_P(FileChecks, NameTheOriginalOrTheFirstChangeOrSayNotArchived) {
    const FileCheck &c = GetParam();
    holdRecords({}, 300);
    const ArchiveResult stored = archiveRecords({});
    ASSERT_EQ(stored.outcome, ArchiveOutcome::StoredNew) << stored.error;

    // saved and read back on a PC with that date format
    sLocal.dateFormat = c.savedUnder;
    std::string text = savedText();
    if (c.record > 0) text = withField(text, c.record, c.field, c.value);
    for (int k = 0; k < c.dropLast; ++k) text.erase(text.rfind('\n', text.size() - 2) + 1);
    if (c.id[0] != '\0') text.replace(text.find("LOG-42"), 6, c.id);
    readBack(text);

    const VerifyResult result = verifyRecords();
    ASSERT_EQ(result.outcome, c.outcome) << result.error;
    EXPECT_EQ(result.record, c.changedRecord);
    EXPECT_EQ(result.field, c.changedField) << archiveFieldName(result.field);
    if (c.outcome == VerifyOutcome::NotArchived) return;
    EXPECT_EQ(result.recording, stored.recording);
    EXPECT_EQ(result.loggerId, "LOG-42");
    EXPECT_FALSE(result.downloadedUtc.empty());
    if (c.outcome == VerifyOutcome::Original) {
        RecordingInfo info;
        ASSERT_TRUE(recordingInfo(stored.recording, info));
        EXPECT_EQ(result.downloadedUtc, info.downloadedUtc);
        EXPECT_FALSE(result.imported);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FileChecks, ::testing::ValuesIn(kFileChecks),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Archive, FileOfAnEarlierDownloadStaysOriginalAfterTheRecordingGrew) {
    HeldLogger logger;
    holdRecords(logger, 200);
    const std::string early = savedText();
    ASSERT_EQ(archiveRecords({}).outcome, ArchiveOutcome::StoredNew);
    holdRecords(logger, 300);
    ASSERT_EQ(archiveRecords({}).outcome, ArchiveOutcome::Extended);
    readBack(early);
    const VerifyResult result = verifyRecords();
    EXPECT_EQ(result.outcome, VerifyOutcome::Original) << result.error;
}

TEST_F(Archive, ImportedFileIsMarkedAndItsTextKeptAsRead) {
    holdRecords({}, 120);
    sLocal.dateFormat = DATE_ORDER_DMY;
    const std::string text = savedText();
    resetModelState();
    const ArchiveResult imported = importDataFile(text);
    ASSERT_EQ(imported.outcome, ArchiveOutcome::StoredNew) << imported.error;
    RecordingInfo info;
    ASSERT_TRUE(recordingInfo(imported.recording, info));
    EXPECT_TRUE(info.imported);
    EXPECT_EQ(info.records, 120);
    std::string stored, error;
    ASSERT_TRUE(recordingText(imported.recording, stored, error)) << error;
    EXPECT_EQ(stored, text);
    const VerifyResult check = verifyRecords();
    EXPECT_EQ(check.outcome, VerifyOutcome::Original);
    EXPECT_TRUE(check.imported);
    // importing it again stores nothing new, and a text that is no data file is refused
    EXPECT_EQ(importDataFile(text).outcome, ArchiveOutcome::AlreadyArchived);
    const ArchiveResult refused = importDataFile("no records here\n");
    EXPECT_EQ(refused.outcome, ArchiveOutcome::Failed);
    EXPECT_FALSE(refused.error.empty());
    EXPECT_EQ(recordings().size(), 1u);
}

TEST_F(Archive, ListingFiltersByLoggerAndTimeAndSorts) {
    struct Stored {
        const char *id;
        cRtc first;
        int records;
    };
    const Stored stored[] = {{"B", 1000000, 10}, {"A", 5000000, 30}, {"B", 9000000, 20}};
    for (const Stored &s : stored) {
        HeldLogger logger;
        logger.id = s.id;
        logger.first = s.first;
        holdRecords(logger, s.records);
        ASSERT_EQ(archiveRecords({}).outcome, ArchiveOutcome::StoredNew);
    }
    auto records = [&](const RecordingFilter &f) {
        std::vector<int> out;
        for (const RecordingInfo &r : recordings(f)) out.push_back(r.records);
        return out;
    };
    RecordingFilter f;
    EXPECT_EQ(records(f), (std::vector<int>{10, 30, 20}));
    f.sort = RecordingSort::Records;
    f.descending = true;
    EXPECT_EQ(records(f), (std::vector<int>{30, 20, 10}));
    f.loggerId = "B";
    EXPECT_EQ(records(f), (std::vector<int>{20, 10}));
    f.loggerId.reset();
    f.sort = RecordingSort::Logger;
    f.descending = false;
    EXPECT_EQ(records(f), (std::vector<int>{30, 10, 20}));
    // a recording counts when any of its records lies within from..to
    f.from = 1000000 + 9 * 60;
    f.to = 5000000;
    EXPECT_EQ(records(f), (std::vector<int>{30, 10}));
    f.limit = 1;
    EXPECT_EQ(records(f), (std::vector<int>{30}));
}

TEST_F(Archive, IdentifierWithQuotesAndSemicolonsIsStoredAsText) {
    HeldLogger logger;
    logger.id = "a';DROP\"--;";
    holdRecords(logger, 5);
    ASSERT_EQ(archiveRecords({}).outcome, ArchiveOutcome::StoredNew);
    RecordingFilter f;
    f.loggerId = logger.id;
    const std::vector<RecordingInfo> list = recordings(f);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].loggerId, logger.id);
    std::string error;
    EXPECT_NE(auditAppend("identifier", "old -> " + logger.id, error), 0) << error;
    closeArchive();
    EXPECT_EQ(shell(db_, "SELECT identifier FROM loggers"), logger.id);
    EXPECT_EQ(shell(db_, "PRAGMA integrity_check"), "ok");
}

TEST_F(Archive, FilesWrittenAreFoundByTheirBytes) {
    const std::string sha = sha256Hex(std::string("bytes of a saved file"));
    std::string error;
    ASSERT_TRUE(recordFileWritten("/tmp/a b'c.txt", sha, error)) << error;
    const std::vector<WrittenFile> found = filesWritten(sha);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path, "/tmp/a b'c.txt");
    EXPECT_TRUE(filesWritten(sha256Hex(std::string("other bytes"))).empty());
}

TEST_F(Archive, OpeningRefusesWhatIsNoArchiveAndKeepsItsSchemaVersion) {
    EXPECT_EQ(openArchiveSchemaVersion(), archiveSchemaVersion());
    closeArchive();
    std::string error;
    // the same file again: nothing to migrate
    ASSERT_TRUE(openArchive(db_.string(), error)) << error;
    closeArchive();
    EXPECT_EQ(shell(db_, "SELECT version FROM schema_version"), std::to_string(archiveSchemaVersion()));
    EXPECT_EQ(shell(db_, "PRAGMA journal_mode"), "wal");

    const fs::path text = dir_ / "text.db";
    {
        std::FILE *f = std::fopen(text.c_str(), "w");
        std::fputs("this is not a database, it is a text file of some length ...................\n", f);
        std::fclose(f);
    }
    const fs::path other = dir_ / "other.db";
    shell(other, "CREATE TABLE t (x INTEGER)");
    const fs::path newer = dir_ / "newer.db";
    ASSERT_TRUE(openArchive(newer.string(), error)) << error;
    closeArchive();
    shell(newer, "UPDATE schema_version SET version = 999");
    for (const fs::path &p : {text, other, newer, dir_ / "missing" / "a.db"}) {
        error.clear();
        EXPECT_FALSE(openArchive(p.string(), error)) << p;
        EXPECT_FALSE(error.empty()) << p;
        EXPECT_FALSE(archiveOpen());
    }
    EXPECT_EQ(archiveRecords({}).outcome, ArchiveOutcome::Failed);
    EXPECT_EQ(verifyRecords().outcome, VerifyOutcome::Failed);
}

// ---------------------------------------------------------------- the audit trail

// An audit trail of five entries, changed by hand with the sqlite3 shell.
struct Tampering {
    const char *name;
    const char *sql;
    AuditFault fault;
    std::int64_t sequence;
};

const Tampering kTamperings[] = {
    {"EntryEdited", "UPDATE audit SET details = 'nothing happened' WHERE sequence = 3", AuditFault::Changed, 3},
    {"EntryUserEdited", "UPDATE audit SET pc_user = 'someone else' WHERE sequence = 5", AuditFault::Changed, 5},
    {"EntryDeleted", "DELETE FROM audit WHERE sequence = 3", AuditFault::Removed, 3},
    {"EntryDeletedAndTheRestRenumbered",
     "DELETE FROM audit WHERE sequence = 2; UPDATE audit SET sequence = sequence - 1 WHERE sequence > 2",
     AuditFault::Removed, 2},
    {"EntryInserted",
     "UPDATE audit SET sequence = -sequence WHERE sequence >= 3;"
     "UPDATE audit SET sequence = 1 - sequence WHERE sequence < 0;"
     "INSERT INTO audit SELECT 3, time_utc, utc_offset, pc_user, pc_host, 'clock', 'set', hash, "
     "'0000000000000000000000000000000000000000000000000000000000000000' FROM audit WHERE sequence = 2",
     AuditFault::Inserted, 3},
};

class AuditTampering : public Archive, public ::testing::WithParamInterface<Tampering> {};

TEST_P(AuditTampering, NamesTheFirstEntryChangedRemovedOrInserted) {
    const Tampering &c = GetParam();
    std::string error;
    for (const char *action : {"download", "save", "clock", "identifier", "export"})
        ASSERT_NE(auditAppend(action, std::string(action) + " details", error), 0) << error;
    AuditCheck check = verifyAuditTrail();
    ASSERT_EQ(check.fault, AuditFault::None) << check.error;
    EXPECT_EQ(check.entries, 5);
    EXPECT_EQ(check.head.sequence, 5);
    EXPECT_EQ(check.head.hash, auditHead().hash);

    closeArchive();
    ASSERT_EQ(shell(db_, c.sql), "");
    ASSERT_TRUE(openArchive(db_.string(), error)) << error;
    check = verifyAuditTrail();
    EXPECT_EQ(check.fault, c.fault);
    EXPECT_EQ(check.sequence, c.sequence);
}

INSTANTIATE_TEST_SUITE_P(Cases, AuditTampering, ::testing::ValuesIn(kTamperings),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Archive, AuditEntriesChainTheirFieldsAndListByTime) {
    std::string error;
    ASSERT_EQ(auditAppend("preferences", "Date Format: 0 -> 2", error), 1) << error;
    ASSERT_EQ(auditAppend("calibration", "T 0.3 -> 0.5; read back 0.5", error), 2) << error;
    std::vector<AuditEntry> all;
    ASSERT_TRUE(listAudit({}, {}, all, error)) << error;
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].previousHash, "");
    EXPECT_EQ(all[1].previousHash, all[0].hash);
    EXPECT_EQ(all[1].details, "T 0.3 -> 0.5; read back 0.5");
    // the hash is the SHA-256 of the previous hash and the fields, joined by 0x1F
    const AuditEntry &e = all[1];
    const std::string joined = e.previousHash + '\x1f' + "2" + '\x1f' + e.timeUtc + '\x1f' + e.utcOffset + '\x1f' +
                               e.user + '\x1f' + e.host + '\x1f' + e.action + '\x1f' + e.details;
    EXPECT_EQ(e.hash, sha256Hex(joined));
    EXPECT_EQ(auditEntryHash(e), e.hash);

    const std::int64_t now = QDateTime::currentSecsSinceEpoch();
    std::vector<AuditEntry> some;
    ASSERT_TRUE(listAudit(now - 3600, now + 3600, some, error));
    EXPECT_EQ(some.size(), 2u);
    ASSERT_TRUE(listAudit(now + 3600, {}, some, error));
    EXPECT_TRUE(some.empty());
    ASSERT_TRUE(listAudit({}, now - 3600, some, error));
    EXPECT_TRUE(some.empty());
}

// ---------------------------------------------------------------- other processes, faults

const std::string kWriter = STORE_WRITER;

TEST_F(Archive, TwoProcessesStoringAtOnceLoseAndDuplicateNothing) {
    closeArchive();
    const pid_t a = programs::spawn({kWriter, db_.string(), "many", "A", "50"}, dir_ / "a.out", dir_ / "a.err");
    const pid_t b = programs::spawn({kWriter, db_.string(), "many", "B", "50"}, dir_ / "b.out", dir_ / "b.err");
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    EXPECT_EQ(programs::waitForExit(a), 0) << programs::readFile(dir_ / "a.err");
    EXPECT_EQ(programs::waitForExit(b), 0) << programs::readFile(dir_ / "b.err");
    std::string error;
    ASSERT_TRUE(openArchive(db_.string(), error)) << error;
    std::vector<RecordingInfo> list = recordings();
    ASSERT_EQ(list.size(), 100u);
    std::set<std::string> ids;
    for (const RecordingInfo &r : list) {
        ids.insert(r.loggerId);
        std::vector<ArchivedReading> readings;
        ASSERT_TRUE(recordingReadings(r.id, readings));
        EXPECT_EQ(readings.size(), 60u) << r.loggerId;
    }
    EXPECT_EQ(ids.size(), 100u);
    const AuditCheck check = verifyAuditTrail();
    EXPECT_EQ(check.fault, AuditFault::None);
    EXPECT_EQ(check.entries, 100);
}

TEST_F(Archive, BackupWhileAnotherProcessStoresIsWholeAndNeverOverwrites) {
    holdRecords({}, 100);
    ASSERT_EQ(archiveRecords({}).outcome, ArchiveOutcome::StoredNew);
    const fs::path out = dir_ / "loop.out";
    const pid_t writer = programs::spawn({kWriter, db_.string(), "loop", "16000"}, out, dir_ / "loop.err");
    ASSERT_GT(writer, 0);
    ASSERT_TRUE(
        programs::waitUntil([&] { return programs::readFile(out).find("stored 1\n") != std::string::npos; }, 120000))
        << programs::readFile(dir_ / "loop.err");
    const fs::path copy = dir_ / "copy it's.db";
    std::string error;
    const bool made = backupArchive(copy.string(), error);
    ::kill(writer, SIGKILL);
    programs::waitForExit(writer);
    ASSERT_TRUE(made) << error;
    EXPECT_FALSE(backupArchive(copy.string(), error));
    EXPECT_FALSE(error.empty());

    EXPECT_EQ(shell(copy, "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(shell(copy,
                    "SELECT COUNT(*) FROM recordings WHERE records <> "
                    "(SELECT COUNT(*) FROM readings WHERE recording = recordings.id)"),
              "0");
    closeArchive();
    ASSERT_TRUE(openArchive(copy.string(), error)) << error;
    const std::vector<RecordingInfo> list = recordings();
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(list[0].records, 100);
    const AuditCheck check = verifyAuditTrail();
    EXPECT_EQ(check.fault, AuditFault::None);
    EXPECT_EQ(check.entries, static_cast<std::int64_t>(list.size()));
}

TEST_F(Archive, KilledWhileStoringLeavesEveryRecordingWholeOrAbsent) {
    closeArchive();
    int storedBefore = 0;
    for (int round = 1; round <= 3; ++round) {
        const fs::path out = dir_ / ("loop" + std::to_string(round) + ".out");
        const pid_t writer = programs::spawn({kWriter, db_.string(), "loop", "16000"}, out, dir_ / "loop.err");
        ASSERT_GT(writer, 0);
        // killed while it stores its third recording (or later)
        ASSERT_TRUE(programs::waitUntil([&] { return programs::readFile(out).find("stored 2\n") != std::string::npos; },
                                        120000))
            << programs::readFile(dir_ / "loop.err");
        ::kill(writer, SIGKILL);
        programs::waitForExit(writer);
        const int stored = static_cast<int>(programs::lines(programs::readFile(out)).size());
        EXPECT_EQ(shell(db_, "PRAGMA integrity_check"), "ok") << round;
        // every recording holds all its readings, and no reading is without its recording
        EXPECT_EQ(shell(db_,
                        "SELECT COUNT(*) FROM recordings WHERE records <> 16000 OR records <> "
                        "(SELECT COUNT(*) FROM readings WHERE recording = recordings.id)"),
                  "0");
        EXPECT_EQ(shell(db_, "SELECT COUNT(*) FROM readings WHERE recording NOT IN (SELECT id FROM recordings)"), "0");
        const int now = std::stoi(shell(db_, "SELECT COUNT(*) FROM recordings"));
        EXPECT_GE(now, storedBefore + stored);
        EXPECT_LE(now, storedBefore + stored + 1);
        EXPECT_EQ(shell(db_, "SELECT COUNT(*) FROM downloads"), std::to_string(now));
        EXPECT_EQ(shell(db_, "SELECT COUNT(*) FROM audit"), std::to_string(now));
        storedBefore = now;
    }
    std::string error;
    ASSERT_TRUE(openArchive(db_.string(), error)) << error;
    EXPECT_EQ(verifyAuditTrail().fault, AuditFault::None);
}

TEST_F(Archive, ReadOnlyArchiveRefusesToStoreAndLosesNothing) {
    holdRecords({}, 100);
    ASSERT_EQ(archiveRecords({}).outcome, ArchiveOutcome::StoredNew);
    closeArchive();
    const fs::path out = dir_ / "out";
    fs::create_directory(out);
    // run as root, the writer becomes an unprivileged user: the archive is made that user's
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(dir_.c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chown(db_.c_str(), kNobody, kNobody), 0);
    }
    auto storeOnce = [&] { return programs::run({kWriter, db_.string(), "once", "50"}, out); };
    const programs::Outcome writable = storeOnce();
    ASSERT_EQ(writable.status, 0) << writable.out << writable.err;

    // the folder read-only too (the archive does not open), then the file alone (it opens
    // for reading, and storing is refused)
    for (const mode_t folder : {0555, 0755}) {
        ASSERT_EQ(::chmod(db_.c_str(), 0444), 0);
        ASSERT_EQ(::chmod(dir_.c_str(), folder), 0);
        const programs::Outcome refused = storeOnce();
        EXPECT_EQ(refused.status, 1) << refused.out << refused.err;
        EXPECT_EQ(refused.out.rfind("failed: ", 0), 0u) << refused.out;
        EXPECT_NE(refused.out.find("read"), std::string::npos) << refused.out;
        ASSERT_EQ(::chmod(dir_.c_str(), 0755), 0);
        ASSERT_EQ(::chmod(db_.c_str(), 0644), 0);
    }

    std::string error;
    ASSERT_TRUE(openArchive(db_.string(), error)) << error;
    const std::vector<RecordingInfo> list = recordings();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].records, 100);
    EXPECT_EQ(list[1].records, 50);
    const AuditCheck check = verifyAuditTrail();
    EXPECT_EQ(check.fault, AuditFault::None);
    EXPECT_EQ(check.entries, 2);
}

TEST_F(Archive, FullDiskStoresNothingOfTheRecording) {
    holdRecords({}, 50);
    ASSERT_EQ(archiveRecords({}).outcome, ArchiveOutcome::StoredNew);
    HeldLogger big;
    big.model = 3;
    big.id = "BIG";
    holdRecords(big, 16000);
    ArchiveResult result;
    {
        std::error_code ec;
        const auto wal = fs::file_size(fs::path(db_.string() + "-wal"), ec);
        FileSizeLimit limit(std::max<std::uintmax_t>(fs::file_size(db_), ec ? 0 : wal) + 8192);
        ASSERT_TRUE(limit.ok());
        result = archiveRecords({});
    }
    EXPECT_EQ(result.outcome, ArchiveOutcome::Failed);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(recordings().size(), 1u);
    // the same records go in once there is room again
    EXPECT_EQ(archiveRecords({}).outcome, ArchiveOutcome::StoredNew);
    closeArchive();
    EXPECT_EQ(shell(db_, "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(shell(db_, "SELECT COUNT(*) FROM readings"), "16050");
}

}   // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
