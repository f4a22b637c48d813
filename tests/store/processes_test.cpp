// The archive shared and in trouble: two processes storing at once, a backup while another
// process stores, a writer killed while it stores, a read-only archive and a full disk.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "ArchiveFixture.h"
#include "FileSizeLimit.h"
#include "HeldRecords.h"
#include "store/Audit.h"

namespace fs = std::filesystem;

namespace {

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
