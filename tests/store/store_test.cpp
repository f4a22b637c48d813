// The archive on real SQLite files: downloads stored new, twice, extended, changed and without
// an identifier; files read back and verified; imports, listing, the files written, bound
// parameters and archives that do not open.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ArchiveFixture.h"
#include "HeldRecords.h"
#include "store/Audit.h"
#include "store/Fingerprint.h"

namespace fs = std::filesystem;

namespace {

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

}   // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
