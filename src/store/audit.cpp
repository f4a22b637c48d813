// The audit trail: appending chained entries and checking the chain.
#include <QDateTime>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTimeZone>
#include <QVariant>

#include "store/Archive.h"
#include "store/Audit.h"
#include "store/Fingerprint.h"
#include "store/Sql.h"

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

using store::prepare;
using store::qs;
using store::run;
using store::ss;

constexpr char kUnitSeparator = '\x1f';

AuditEntry entryOf(const QSqlQuery &query) {
    AuditEntry e;
    e.sequence = query.value(0).toLongLong();
    e.timeUtc = ss(query.value(1).toString());
    e.utcOffset = ss(query.value(2).toString());
    e.user = ss(query.value(3).toString());
    e.host = ss(query.value(4).toString());
    e.action = ss(query.value(5).toString());
    e.details = ss(query.value(6).toString());
    e.previousHash = ss(query.value(7).toString());
    e.hash = ss(query.value(8).toString());
    return e;
}

const QString kColumns =
    QStringLiteral("sequence, time_utc, utc_offset, pc_user, pc_host, action, details, previous_hash, hash");

// The entry's hash holds for sequence, and it links to the hash before it.
bool fits(const AuditEntry &e, std::int64_t sequence, const std::string &previousHash) {
    if (e.previousHash != previousHash) return false;
    AuditEntry moved = e;
    moved.sequence = sequence;
    return auditEntryHash(moved) == e.hash;
}

// Where the chain breaks at row i (the rows before it hold; expected is the sequence it should
// have, previous the hash it should link to, beforePrevious the one the row before linked to).
AuditCheck breakAt(const std::vector<AuditEntry> &rows, std::size_t i, std::int64_t expected,
                   const std::string &previous, const std::string &beforePrevious) {
    const AuditEntry &r = rows[i];
    AuditCheck check;
    // the genuine entry before, numbered one up: the row before it was put in
    if (i > 0 && fits(r, expected - 1, beforePrevious)) {
        check.fault = AuditFault::Inserted;
        check.sequence = rows[i - 1].sequence;
        return check;
    }
    // the genuine entry comes next: this row was put in
    if (r.sequence <= expected && i + 1 < rows.size() && fits(rows[i + 1], expected, previous)) {
        check.fault = AuditFault::Inserted;
        check.sequence = r.sequence;
        return check;
    }
    if (r.sequence < expected) {
        check.fault = AuditFault::Inserted;
        check.sequence = r.sequence;
        return check;
    }
    // a later entry, kept or numbered down: the entry expected is gone
    if (r.sequence > expected || fits(r, r.sequence + 1, r.previousHash)) {
        check.fault = AuditFault::Removed;
        check.sequence = expected;
        return check;
    }
    // intact itself but linked to another hash: the entry before was rewritten, hash and all
    check.fault = AuditFault::Changed;
    check.sequence = fits(r, r.sequence, r.previousHash) && i > 0 ? rows[i - 1].sequence : r.sequence;
    return check;
}

QString isoOfUnix(std::int64_t seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString(Qt::ISODateWithMs);
}

}   // namespace

namespace store {

std::int64_t appendAuditEntry(const std::string &action, const std::string &details, std::string &error) {
    QSqlQuery last(connection());
    if (!prepare(last, QStringLiteral("SELECT sequence, hash FROM audit ORDER BY sequence DESC LIMIT 1"), error) ||
        !run(last, error))
        return 0;
    AuditEntry e;
    e.sequence = 1;
    if (last.next()) {
        e.sequence = last.value(0).toLongLong() + 1;
        e.previousHash = ss(last.value(1).toString());
    }
    const PcTime now = pcTimeNow();
    e.timeUtc = ss(now.utc);
    e.utcOffset = ss(now.offset);
    e.user = pcUserName();
    e.host = pcHostName();
    e.action = action;
    e.details = details;
    e.hash = auditEntryHash(e);
    QSqlQuery insert(connection());
    if (!prepare(insert,
                 QStringLiteral("INSERT INTO audit (%1, archive, site) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                     .arg(kColumns),
                 error))
        return 0;
    insert.addBindValue(QVariant::fromValue<qlonglong>(e.sequence));
    for (const std::string *field :
         {&e.timeUtc, &e.utcOffset, &e.user, &e.host, &e.action, &e.details, &e.previousHash, &e.hash})
        insert.addBindValue(qs(*field));
    insert.addBindValue(qs(archiveIdentifier()));
    insert.addBindValue(qs(archiveSiteName()));
    return run(insert, error) ? e.sequence : 0;
}

}   // namespace store

std::string auditEntryHash(const AuditEntry &e) {
    std::string text = e.previousHash;
    for (const std::string &field :
         {std::to_string(e.sequence), e.timeUtc, e.utcOffset, e.user, e.host, e.action, e.details}) {
        text += kUnitSeparator;
        text += field;
    }
    return sha256Hex(text);
}

std::int64_t auditAppend(const std::string &action, const std::string &details, std::string &error) {
    if (!archiveOpen()) {
        error = "no archive is open";
        return 0;
    }
    store::WriteTransaction transaction;
    if (!transaction.begin(error)) return 0;
    const std::int64_t sequence = store::appendAuditEntry(action, details, error);
    return sequence != 0 && transaction.commit(error) ? sequence : 0;
}

bool listAudit(std::optional<std::int64_t> from, std::optional<std::int64_t> to, std::vector<AuditEntry> &out,
               std::string &error) {
    out.clear();
    if (!archiveOpen()) {
        error = "no archive is open";
        return false;
    }
    QString sql = QStringLiteral("SELECT %1 FROM audit WHERE 1 = 1").arg(kColumns);
    if (from) sql += QStringLiteral(" AND time_utc >= ?");
    if (to) sql += QStringLiteral(" AND time_utc < ?");
    sql += QStringLiteral(" ORDER BY sequence");
    QSqlQuery query(store::connection());
    query.setForwardOnly(true);
    if (!prepare(query, sql, error)) return false;
    if (from) query.addBindValue(isoOfUnix(*from));
    if (to) query.addBindValue(isoOfUnix(*to));
    if (!run(query, error)) return false;
    while (query.next()) out.push_back(entryOf(query));
    return true;
}

AuditHead auditHead() {
    AuditHead head;
    if (!archiveOpen()) return head;
    QSqlQuery query(store::connection());
    std::string error;
    if (!prepare(query, QStringLiteral("SELECT sequence, hash FROM audit ORDER BY sequence DESC LIMIT 1"), error) ||
        !run(query, error) || !query.next())
        return head;
    head.sequence = query.value(0).toLongLong();
    head.hash = ss(query.value(1).toString());
    return head;
}

AuditCheck verifyAuditTrail() {
    AuditCheck check;
    std::vector<AuditEntry> rows;
    if (!archiveOpen()) {
        check.error = "no archive is open";
        return check;
    }
    // sequence alone does not order two rows that claim the same number; their row order does
    QSqlQuery query(store::connection());
    query.setForwardOnly(true);
    if (!prepare(query,
                 QStringLiteral("SELECT %1 FROM audit ORDER BY sequence, %2").arg(kColumns, store::dialect().rowOrder),
                 check.error) ||
        !run(query, check.error))
        return check;
    while (query.next()) rows.push_back(entryOf(query));
    check.entries = static_cast<std::int64_t>(rows.size());
    std::string previous, beforePrevious;
    std::int64_t expected = 1;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const AuditEntry &r = rows[i];
        if (r.sequence != expected || !fits(r, expected, previous)) {
            AuditCheck broken = breakAt(rows, i, expected, previous, beforePrevious);
            broken.entries = check.entries;
            broken.head = {rows.back().sequence, rows.back().hash};
            return broken;
        }
        beforePrevious = previous;
        previous = r.hash;
        ++expected;
    }
    check.fault = AuditFault::None;
    if (!rows.empty()) check.head = {rows.back().sequence, rows.back().hash};
    return check;
}

std::string pcUserName() {
    for (const char *name : {"USER", "USERNAME", "LOGNAME"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty()) return ss(value);
    }
#ifdef Q_OS_UNIX
    if (const passwd *pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_name != nullptr) return pw->pw_name;
#endif
    return {};
}

std::string pcHostName() { return ss(QSysInfo::machineHostName()); }
