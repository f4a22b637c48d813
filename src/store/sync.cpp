// The local archive pushed to the server, and what the server knows of the fleet.
#include <QByteArray>
#include <QSqlQuery>
#include <QVariant>

#include <charconv>
#include <map>

#include "store/Archive.h"
#include "store/Audit.h"
#include "store/Readings.h"
#include "store/Sql.h"
#include "store/Sync.h"

namespace {

using store::prepare;
using store::qs;
using store::run;
using store::runText;
using store::ss;

// Entries pushed in one transaction: few round trips, and an interruption loses little.
constexpr int kEntriesPerBatch = 500;

QVariant big(std::int64_t v) { return QVariant::fromValue<qlonglong>(v); }

// A recording of the local archive as it goes to the server.
struct LocalRecording {
    std::int64_t id = 0;
    int model = 0;
    QString loggerId;
    QVariantList columns;   // model_name ... fingerprint, in kRecordingColumns' order
    QString fingerprint;
    QString site;
};

const QString kRecordingColumns = QStringLiteral(
    "model_name, firmware, sample_interval, unit, first_time, last_time, records, readings, complete, imported, "
    "flagged, downloaded_utc, utc_offset, time_zone, pc_user, pc_host, fingerprint");
constexpr int kRecordingColumnCount = 17;

bool localRecordings(std::vector<LocalRecording> &out, std::string &error) {
    QSqlQuery query(store::connection());
    query.setForwardOnly(true);
    if (!prepare(query,
                 QStringLiteral("SELECT r.id, l.model, l.identifier, r.site, %1 FROM recordings r "
                                "JOIN loggers l ON l.id = r.logger ORDER BY r.id")
                     .arg(QString(kRecordingColumns)
                              .replace(QStringLiteral(", "), QStringLiteral(", r."))
                              .prepend(QStringLiteral("r."))),
                 error) ||
        !run(query, error))
        return false;
    while (query.next()) {
        LocalRecording r;
        r.id = query.value(0).toLongLong();
        r.model = query.value(1).toInt();
        r.loggerId = query.value(2).toString();
        r.site = query.value(3).toString();
        if (r.site.isEmpty()) r.site = qs(archiveSiteName());
        for (int c = 0; c < kRecordingColumnCount; ++c) r.columns << query.value(4 + c);
        r.fingerprint = r.columns.back().toString();
        out.push_back(std::move(r));
    }
    return true;
}

struct LocalEntry {
    AuditEntry entry;
    QString site;
};

bool localEntries(std::vector<LocalEntry> &out, std::string &error) {
    QSqlQuery query(store::connection());
    query.setForwardOnly(true);
    if (!prepare(query,
                 QStringLiteral("SELECT sequence, time_utc, utc_offset, pc_user, pc_host, action, details, "
                                "previous_hash, hash, site FROM audit ORDER BY sequence"),
                 error) ||
        !run(query, error))
        return false;
    while (query.next()) {
        LocalEntry e;
        e.entry.sequence = query.value(0).toLongLong();
        e.entry.timeUtc = ss(query.value(1).toString());
        e.entry.utcOffset = ss(query.value(2).toString());
        e.entry.user = ss(query.value(3).toString());
        e.entry.host = ss(query.value(4).toString());
        e.entry.action = ss(query.value(5).toString());
        e.entry.details = ss(query.value(6).toString());
        e.entry.previousHash = ss(query.value(7).toString());
        e.entry.hash = ss(query.value(8).toString());
        e.site = query.value(9).toString();
        if (e.site.isEmpty()) e.site = qs(archiveSiteName());
        out.push_back(std::move(e));
    }
    return true;
}

// On the server: the archive's row, made or given the current site name.
bool registerArchive(std::string &error) {
    QSqlQuery query(store::connection());
    if (!prepare(query,
                 QStringLiteral("INSERT INTO archive_identity (identifier, site, created_utc) VALUES (?, ?, ?) "
                                "ON CONFLICT (identifier) DO UPDATE SET site = excluded.site"),
                 error))
        return false;
    query.addBindValue(qs(archiveIdentifier()));
    query.addBindValue(qs(archiveSiteName()));
    query.addBindValue(store::pcTimeNow().utc);
    return run(query, error);
}

// On the server: the hashes of the archive's entries by sequence.
bool serverHashes(std::map<std::int64_t, std::string> &out, std::string &error) {
    QSqlQuery query(store::connection());
    query.setForwardOnly(true);
    if (!prepare(query, QStringLiteral("SELECT sequence, hash FROM audit WHERE archive = ?"), error)) return false;
    query.addBindValue(qs(archiveIdentifier()));
    if (!run(query, error)) return false;
    while (query.next()) out[query.value(0).toLongLong()] = ss(query.value(1).toString());
    return true;
}

// The local trail continues the server's: every entry the server holds is there unchanged, and
// every later one links to the one before with a hash that holds. Otherwise the last entry on
// which both agree (0: none).
bool continuesChain(const std::vector<LocalEntry> &local, const std::map<std::int64_t, std::string> &server,
                    std::int64_t &agreed) {
    std::string previous;
    std::int64_t expected = 1;
    agreed = 0;
    for (const LocalEntry &e : local) {
        const auto held = server.find(e.entry.sequence);
        const bool fits =
            e.entry.sequence == expected && e.entry.previousHash == previous && auditEntryHash(e.entry) == e.entry.hash;
        if (!fits || (held != server.end() && held->second != e.entry.hash)) return false;
        agreed = expected;
        previous = e.entry.hash;
        ++expected;
    }
    // entries the server holds beyond the local trail's end were removed here
    if (!server.empty() && server.rbegin()->first >= expected) return false;
    return true;
}

// On the server, in the caller's transaction: the logger's row.
std::int64_t serverLogger(const LocalRecording &r, std::string &error) {
    QSqlQuery query(store::connection());
    if (!prepare(query,
                 QStringLiteral("INSERT INTO loggers (model, identifier) VALUES (?, ?) "
                                "ON CONFLICT (model, identifier) DO NOTHING"),
                 error))
        return 0;
    query.addBindValue(r.model);
    query.addBindValue(r.loggerId);
    if (!run(query, error)) return 0;
    if (!prepare(query, QStringLiteral("SELECT id FROM loggers WHERE model = ? AND identifier = ?"), error)) return 0;
    query.addBindValue(r.model);
    query.addBindValue(r.loggerId);
    if (!run(query, error) || !query.next()) return 0;
    return query.value(0).toLongLong();
}

// An array literal of PostgreSQL's of a channel's values (NULL for a channel the set lacks),
// numbers in the C locale's shortest form that reads back the same.
template <typename Value>
QByteArray arrayLiteral(const std::vector<Value> &values, int count) {
    QByteArray text("{");
    text.reserve(count * 8 + 2);
    char number[32];
    for (int i = 0; i < count; ++i) {
        if (i > 0) text += ',';
        if (values.empty()) {
            text += "NULL";
            continue;
        }
        const auto r = std::to_chars(number, number + sizeof number, values[static_cast<std::size_t>(i)]);
        text.append(number, static_cast<qsizetype>(r.ptr - number));
    }
    text += '}';
    return text;
}

// The readings of a recording in one statement: the server unpacks one array per column, which
// is many times faster than as many rows of bound values.
bool insertServerReadings(std::int64_t recording, const store::RecordSet &set, std::string &error) {
    QSqlQuery query(store::connection());
    if (!prepare(query,
                 QStringLiteral("INSERT INTO readings (recording, record_number, record_time, temperature, "
                                "temperature2, humidity) SELECT ?, n, t, a, b, c FROM unnest(CAST(? AS INTEGER[]), "
                                "CAST(? AS BIGINT[]), CAST(? AS DOUBLE PRECISION[]), CAST(? AS DOUBLE PRECISION[]), "
                                "CAST(? AS DOUBLE PRECISION[])) AS u (n, t, a, b, c)"),
                 error))
        return false;
    std::vector<int> numbers(static_cast<std::size_t>(set.count()));
    for (int i = 0; i < set.count(); ++i) numbers[static_cast<std::size_t>(i)] = i + 1;
    std::vector<long long> times(set.times.begin(), set.times.end());
    query.addBindValue(big(recording));
    query.addBindValue(QString::fromLatin1(arrayLiteral(numbers, set.count())));
    query.addBindValue(QString::fromLatin1(arrayLiteral(times, set.count())));
    for (const std::vector<double> &channel : set.values)
        query.addBindValue(QString::fromLatin1(arrayLiteral(channel, set.count())));
    return run(query, error);
}

// Pushes one recording (its row, text and readings) in one server transaction, in place of an
// older copy of it the server holds.
bool pushRecording(const LocalRecording &r, bool &pushed, std::string &error) {
    pushed = false;
    store::RecordSet readings;
    QByteArray text;
    {
        if (!store::loadRecordSet(r.id, 0, readings, error)) return false;
        QSqlQuery query(store::connection());
        if (!prepare(query, QStringLiteral("SELECT data_text FROM recording_texts WHERE recording = ?"), error))
            return false;
        query.addBindValue(big(r.id));
        if (!run(query, error)) return false;
        if (query.next()) text = query.value(0).toByteArray();
    }
    store::OnServer onServer;
    if (!runText(QStringLiteral("BEGIN"), error)) return false;
    struct Rollback {
        bool armed = true;
        ~Rollback() {
            std::string ignored;
            if (armed) runText(QStringLiteral("ROLLBACK"), ignored);
        }
    } rollback;
    // two syncs of one archive at once (one after a download, one by hand) take turns here;
    // the later one finds the recording there and leaves it
    QSqlQuery lock(store::connection());
    if (!prepare(lock, QStringLiteral("SELECT identifier FROM archive_identity WHERE identifier = ? FOR UPDATE"),
                 error))
        return false;
    lock.addBindValue(qs(archiveIdentifier()));
    if (!run(lock, error)) return false;
    QSqlQuery query(store::connection());
    if (!prepare(query, QStringLiteral("SELECT id, fingerprint FROM recordings WHERE archive = ? AND origin = ?"),
                 error))
        return false;
    query.addBindValue(qs(archiveIdentifier()));
    query.addBindValue(big(r.id));
    if (!run(query, error)) return false;
    const bool held = query.next();
    if (held && query.value(1).toString() == r.fingerprint) return true;   // the rollback ends the turn
    const std::int64_t logger = serverLogger(r, error);
    if (logger == 0) return false;
    if (held) {
        const std::int64_t old = query.value(0).toLongLong();
        for (const QString &sql : {QStringLiteral("DELETE FROM readings WHERE recording = ?"),
                                   QStringLiteral("DELETE FROM recording_texts WHERE recording = ?"),
                                   QStringLiteral("DELETE FROM recordings WHERE id = ?")}) {
            QSqlQuery remove(store::connection());
            if (!prepare(remove, sql, error)) return false;
            remove.addBindValue(big(old));
            if (!run(remove, error)) return false;
        }
    }
    QString marks = QStringLiteral("?, ?, ?, ?");
    for (int c = 0; c < kRecordingColumnCount; ++c) marks += QStringLiteral(", ?");
    if (!prepare(query,
                 QStringLiteral("INSERT INTO recordings (logger, archive, site, origin, %1) VALUES (%2) RETURNING id")
                     .arg(kRecordingColumns, marks),
                 error))
        return false;
    query.addBindValue(big(logger));
    query.addBindValue(qs(archiveIdentifier()));
    query.addBindValue(r.site);
    query.addBindValue(big(r.id));
    for (const QVariant &v : r.columns) query.addBindValue(v);
    if (!run(query, error)) return false;
    const std::int64_t recording = query.next() ? query.value(0).toLongLong() : 0;
    if (recording == 0) {
        error = "the server gave the recording no key";
        return false;
    }
    QSqlQuery insertText(store::connection());
    if (!prepare(insertText, QStringLiteral("INSERT INTO recording_texts (recording, data_text) VALUES (?, ?)"), error))
        return false;
    insertText.addBindValue(big(recording));
    insertText.addBindValue(text);
    if (!run(insertText, error)) return false;
    if (readings.count() > 0 && !insertServerReadings(recording, readings, error)) return false;
    if (!runText(QStringLiteral("COMMIT"), error)) return false;
    rollback.armed = false;
    pushed = true;
    return true;
}

// Pushes the entries after the server's head, a batch per transaction. The server's head is
// read again under the archive's row lock, so two syncs of one archive never both append.
bool pushEntries(const std::vector<LocalEntry> &local, int &pushed, std::int64_t &agreed, bool &refused,
                 std::string &error) {
    store::OnServer onServer;
    for (;;) {
        if (!runText(QStringLiteral("BEGIN"), error)) return false;
        struct Rollback {
            bool armed = true;
            ~Rollback() {
                std::string ignored;
                if (armed) runText(QStringLiteral("ROLLBACK"), ignored);
            }
        } rollback;
        QSqlQuery lock(store::connection());
        if (!prepare(lock, QStringLiteral("SELECT identifier FROM archive_identity WHERE identifier = ? FOR UPDATE"),
                     error))
            return false;
        lock.addBindValue(qs(archiveIdentifier()));
        if (!run(lock, error)) return false;
        QSqlQuery head(store::connection());
        if (!prepare(
                head,
                QStringLiteral("SELECT sequence, hash FROM audit WHERE archive = ? ORDER BY sequence DESC LIMIT 1"),
                error))
            return false;
        head.addBindValue(qs(archiveIdentifier()));
        if (!run(head, error)) return false;
        std::int64_t at = 0;
        std::string hash;
        if (head.next()) {
            at = head.value(0).toLongLong();
            hash = ss(head.value(1).toString());
        }
        if (at > static_cast<std::int64_t>(local.size()) || (at > 0 && local[at - 1].entry.hash != hash)) {
            refused = true;
            agreed = at > static_cast<std::int64_t>(local.size()) ? static_cast<std::int64_t>(local.size()) : at - 1;
            return true;
        }
        if (at == static_cast<std::int64_t>(local.size())) return true;
        const std::size_t end = std::min(local.size(), static_cast<std::size_t>(at) + kEntriesPerBatch);
        QSqlQuery insert(store::connection());
        if (!prepare(insert,
                     QStringLiteral("INSERT INTO audit (sequence, time_utc, utc_offset, pc_user, pc_host, action, "
                                    "details, previous_hash, hash, archive, site) "
                                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                     error))
            return false;
        for (std::size_t i = static_cast<std::size_t>(at); i < end; ++i) {
            const AuditEntry &e = local[i].entry;
            insert.bindValue(0, big(e.sequence));
            int k = 1;
            for (const std::string *field :
                 {&e.timeUtc, &e.utcOffset, &e.user, &e.host, &e.action, &e.details, &e.previousHash, &e.hash})
                insert.bindValue(k++, qs(*field));
            insert.bindValue(k++, qs(archiveIdentifier()));
            insert.bindValue(k, local[i].site);
            if (!run(insert, error)) return false;
        }
        if (!runText(QStringLiteral("COMMIT"), error)) return false;
        rollback.armed = false;
        pushed += static_cast<int>(end - static_cast<std::size_t>(at));
    }
}

bool openFor(const std::string &url, std::string &error) { return openServer(url, false, error); }

}   // namespace

SyncResult syncArchive(const std::string &url) {
    SyncResult result;
    if (!archiveOpen()) {
        result.error = "no archive is open";
        return result;
    }
    std::vector<LocalRecording> recordings;
    std::vector<LocalEntry> entries;
    if (!localRecordings(recordings, result.error) || !localEntries(entries, result.error)) return result;
    if (!openFor(url, result.error)) {
        result.outcome = SyncOutcome::Unreachable;
        return result;
    }
    struct Close {
        ~Close() { closeServer(); }
    } close;
    std::map<std::int64_t, std::string> serverEntries;
    std::map<std::int64_t, QString> serverRecordings;
    {
        store::OnServer onServer;
        if (!registerArchive(result.error) || !serverHashes(serverEntries, result.error)) return result;
        QSqlQuery query(store::connection());
        query.setForwardOnly(true);
        if (!prepare(query, QStringLiteral("SELECT origin, fingerprint FROM recordings WHERE archive = ?"),
                     result.error))
            return result;
        query.addBindValue(qs(archiveIdentifier()));
        if (!run(query, result.error)) return result;
        while (query.next()) serverRecordings[query.value(0).toLongLong()] = query.value(1).toString();
    }
    if (!continuesChain(entries, serverEntries, result.agreed)) {
        result.outcome = SyncOutcome::ChainRefused;
        return result;
    }
    for (const LocalRecording &r : recordings) {
        const auto held = serverRecordings.find(r.id);
        if (held != serverRecordings.end() && held->second == r.fingerprint) continue;
        bool pushed = false;
        if (!pushRecording(r, pushed, result.error)) return result;
        if (pushed) ++result.recordingsPushed;
    }
    bool refused = false;
    if (!pushEntries(entries, result.entriesPushed, result.agreed, refused, result.error)) return result;
    result.outcome = refused ? SyncOutcome::ChainRefused : SyncOutcome::Done;
    return result;
}

bool listFleet(const std::string &url, std::vector<FleetLogger> &out, std::string &error, bool withReadings) {
    out.clear();
    if (!openFor(url, error)) return false;
    struct Close {
        ~Close() { closeServer(); }
    } close;
    store::OnServer onServer;
    // each logger's latest recording by its download time; the last calibration noted in the
    // archive that holds it (the trail's calibration entries name the points, not the logger)
    QSqlQuery query(store::connection());
    query.setForwardOnly(true);
    if (!prepare(query,
                 QStringLiteral(
                     "SELECT r.site, l.model, r.model_name, l.identifier, r.downloaded_utc, r.records, r.complete, "
                     "r.first_time, r.last_time, r.archive, r.origin, r.id, r.sample_interval, r.unit, "
                     "(SELECT a.time_utc || ' ' || a.details FROM audit a WHERE a.archive = r.archive "
                     "AND a.action = 'calibration' ORDER BY a.sequence DESC LIMIT 1) "
                     "FROM recordings r JOIN loggers l ON l.id = r.logger "
                     "WHERE r.id = (SELECT r2.id FROM recordings r2 WHERE r2.logger = r.logger "
                     "ORDER BY r2.downloaded_utc DESC, r2.id DESC LIMIT 1) "
                     "ORDER BY r.site, l.model, l.identifier"),
                 error) ||
        !run(query, error))
        return false;
    std::vector<std::int64_t> ids;   // the server's recording of each
    while (query.next()) {
        FleetLogger f;
        f.site = ss(query.value(0).toString());
        f.model = query.value(1).toInt();
        f.modelName = ss(query.value(2).toString());
        f.loggerId = ss(query.value(3).toString());
        f.downloadedUtc = ss(query.value(4).toString());
        f.records = query.value(5).toInt();
        f.complete = query.value(6).toInt() != 0;
        f.firstTime = static_cast<cRtc>(query.value(7).toLongLong());
        f.lastTime = static_cast<cRtc>(query.value(8).toLongLong());
        f.archive = ss(query.value(9).toString());
        f.origin = query.value(10).toLongLong();
        f.calibration = ss(query.value(14).toString());
        f.interval = query.value(12).toInt();
        const QString unit = query.value(13).toString();
        f.unit = unit.isEmpty() ? 'C' : unit.at(0).toLatin1();
        ids.push_back(query.value(11).toLongLong());
        out.push_back(std::move(f));
    }
    if (!withReadings) return true;
    for (std::size_t k = 0; k < out.size(); ++k) {
        store::RecordSet set;
        if (!store::loadRecordSet(ids[k], 0, set, error)) return false;
        out[k].times = std::move(set.times);
        for (int c = 0; c < 3; ++c) out[k].values[c] = std::move(set.values[c]);
    }
    return true;
}

bool listServerRecordings(const std::string &url, const std::string &site, std::vector<SiteRecording> &out,
                          std::string &error) {
    out.clear();
    if (!openFor(url, error)) return false;
    struct Close {
        ~Close() { closeServer(); }
    } close;
    store::OnServer onServer;
    QSqlQuery query(store::connection());
    query.setForwardOnly(true);
    QString sql = QStringLiteral(
        "SELECT r.site, r.archive, r.origin, r.model_name, l.identifier, r.first_time, r.last_time, r.records, "
        "r.complete, r.imported, r.flagged, r.downloaded_utc FROM recordings r JOIN loggers l ON l.id = r.logger");
    if (!site.empty()) sql += QStringLiteral(" WHERE r.site = ?");
    sql += QStringLiteral(" ORDER BY r.downloaded_utc DESC, r.id DESC");
    if (!prepare(query, sql, error)) return false;
    if (!site.empty()) query.addBindValue(qs(site));
    if (!run(query, error)) return false;
    while (query.next()) {
        SiteRecording s;
        s.site = ss(query.value(0).toString());
        s.archive = ss(query.value(1).toString());
        s.origin = query.value(2).toLongLong();
        s.modelName = ss(query.value(3).toString());
        s.loggerId = ss(query.value(4).toString());
        s.firstTime = static_cast<cRtc>(query.value(5).toLongLong());
        s.lastTime = static_cast<cRtc>(query.value(6).toLongLong());
        s.records = query.value(7).toInt();
        s.complete = query.value(8).toInt() != 0;
        s.imported = query.value(9).toInt() != 0;
        s.flagged = query.value(10).toInt() != 0;
        s.downloadedUtc = ss(query.value(11).toString());
        out.push_back(std::move(s));
    }
    return true;
}
