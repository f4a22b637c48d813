// The audit trail: entries chained by their hashes, listed by time, and tampered with by hand
// with the sqlite3 shell: the first entry changed, removed or inserted is named.
#include <gtest/gtest.h>

#include <QDateTime>

#include <string>
#include <vector>

#include "ArchiveFixture.h"
#include "store/Audit.h"
#include "store/Fingerprint.h"

namespace {

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
     "'0000000000000000000000000000000000000000000000000000000000000000', archive, site "
     "FROM audit WHERE sequence = 2",
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

}   // namespace
