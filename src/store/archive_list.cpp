// Reading the archive: recordings, their text and readings, the files written, and the backup.
#include <QByteArray>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

#include "store/Archive.h"
#include "store/Audit.h"
#include "store/Sql.h"

namespace {

using store::prepare;
using store::qs;
using store::run;
using store::ss;

QVariant big(std::int64_t v) { return QVariant::fromValue<qlonglong>(v); }

const QString kRecordingColumns = QStringLiteral(
    "r.id, l.model, r.model_name, l.identifier, r.firmware, r.sample_interval, r.unit, r.first_time, r.last_time, "
    "r.records, r.readings, r.complete, r.imported, r.flagged, r.downloaded_utc, r.utc_offset, r.time_zone, "
    "r.pc_user, r.pc_host, r.fingerprint");

RecordingInfo recordingOf(const QSqlQuery &q) {
    RecordingInfo r;
    r.id = q.value(0).toLongLong();
    r.model = q.value(1).toInt();
    r.modelName = ss(q.value(2).toString());
    r.loggerId = ss(q.value(3).toString());
    r.firmware = ss(q.value(4).toString());
    r.interval = q.value(5).toInt();
    const QString unit = q.value(6).toString();
    r.unit = unit.isEmpty() ? 'C' : static_cast<char>(unit.at(0).toLatin1());
    r.firstTime = static_cast<cRtc>(q.value(7).toLongLong());
    r.lastTime = static_cast<cRtc>(q.value(8).toLongLong());
    r.records = q.value(9).toInt();
    r.readings = q.value(10).toInt();
    r.complete = q.value(11).toInt() != 0;
    r.imported = q.value(12).toInt() != 0;
    r.flagged = q.value(13).toInt() != 0;
    r.downloadedUtc = ss(q.value(14).toString());
    r.utcOffset = ss(q.value(15).toString());
    r.timeZone = ss(q.value(16).toString());
    r.user = ss(q.value(17).toString());
    r.host = ss(q.value(18).toString());
    r.fingerprint = ss(q.value(19).toString());
    return r;
}

QString orderOf(RecordingSort sort, bool descending) {
    const QString way = descending ? QStringLiteral(" DESC") : QString();
    QString first;
    switch (sort) {
        case RecordingSort::Id: break;
        case RecordingSort::Logger: first = QStringLiteral("l.identifier"); break;
        case RecordingSort::FirstRecord: first = QStringLiteral("r.first_time"); break;
        case RecordingSort::LastRecord: first = QStringLiteral("r.last_time"); break;
        case RecordingSort::Records: first = QStringLiteral("r.records"); break;
        case RecordingSort::Downloaded: first = QStringLiteral("r.downloaded_utc"); break;
    }
    // the id breaks ties, so that the order never depends on the plan the database picks
    return first.isEmpty() ? QStringLiteral(" ORDER BY r.id") + way
                           : QStringLiteral(" ORDER BY ") + first + way + QStringLiteral(", r.id") + way;
}

bool noArchive(std::string &error) {
    if (archiveOpen()) return false;
    error = "no archive is open";
    return true;
}

}   // namespace

bool listRecordings(const RecordingFilter &filter, std::vector<RecordingInfo> &out, std::string &error) {
    out.clear();
    if (noArchive(error)) return false;
    QString sql = QStringLiteral("SELECT ") + kRecordingColumns +
                  QStringLiteral(" FROM recordings r JOIN loggers l ON l.id = r.logger WHERE 1 = 1");
    if (filter.loggerId) sql += QStringLiteral(" AND l.identifier = ?");
    if (filter.from) sql += QStringLiteral(" AND r.last_time >= ?");
    if (filter.to) sql += QStringLiteral(" AND r.first_time <= ?");
    sql += orderOf(filter.sort, filter.descending);
    if (filter.limit > 0) sql += QStringLiteral(" LIMIT ?");
    QSqlQuery query(store::connection());
    query.setForwardOnly(true);
    if (!prepare(query, sql, error)) return false;
    if (filter.loggerId) query.addBindValue(qs(*filter.loggerId));
    if (filter.from) query.addBindValue(big(*filter.from));
    if (filter.to) query.addBindValue(big(*filter.to));
    if (filter.limit > 0) query.addBindValue(filter.limit);
    if (!run(query, error)) return false;
    while (query.next()) out.push_back(recordingOf(query));
    return true;
}

bool recordingInfo(std::int64_t id, RecordingInfo &out) {
    std::string error;
    if (noArchive(error)) return false;
    QSqlQuery query(store::connection());
    if (!prepare(query,
                 QStringLiteral("SELECT ") + kRecordingColumns +
                     QStringLiteral(" FROM recordings r JOIN loggers l ON l.id = r.logger WHERE r.id = ?"),
                 error))
        return false;
    query.addBindValue(big(id));
    if (!run(query, error) || !query.next()) return false;
    out = recordingOf(query);
    return true;
}

bool recordingText(std::int64_t id, std::string &text, std::string &error) {
    text.clear();
    if (noArchive(error)) return false;
    QSqlQuery query(store::connection());
    if (!prepare(query, QStringLiteral("SELECT data_text FROM recording_texts WHERE recording = ?"), error))
        return false;
    query.addBindValue(big(id));
    if (!run(query, error)) return false;
    if (!query.next()) {
        error = "there is no recording " + std::to_string(id);
        return false;
    }
    const QByteArray packed = query.value(0).toByteArray();
    const QByteArray plain = qUncompress(packed);
    if (plain.isEmpty() && !packed.isEmpty()) {
        error = "the text of recording " + std::to_string(id) + " does not decompress";
        return false;
    }
    text.assign(plain.constData(), static_cast<std::size_t>(plain.size()));
    return true;
}

bool recordingReadings(std::int64_t id, std::vector<ArchivedReading> &out) {
    out.clear();
    std::string error;
    RecordingInfo info;
    if (!recordingInfo(id, info)) return false;
    QSqlQuery query(store::connection());
    query.setForwardOnly(true);
    if (!prepare(query,
                 QStringLiteral("SELECT record_number, record_time, temperature, temperature2, humidity FROM readings "
                                "WHERE recording = ? ORDER BY record_number"),
                 error))
        return false;
    query.addBindValue(big(id));
    if (!run(query, error)) return false;
    out.reserve(static_cast<std::size_t>(info.records));
    while (query.next()) {
        ArchivedReading r;
        r.number = query.value(0).toInt();
        r.time = static_cast<cRtc>(query.value(1).toLongLong());
        std::optional<double> *values[3] = {&r.temperature, &r.temperature2, &r.humidity};
        for (int c = 0; c < 3; ++c)
            if (!query.value(2 + c).isNull()) *values[c] = query.value(2 + c).toDouble();
        out.push_back(r);
    }
    return true;
}

bool recordFileWritten(const std::string &path, const std::string &sha256, std::string &error) {
    if (noArchive(error)) return false;
    const store::PcTime now = store::pcTimeNow();
    QSqlQuery query(store::connection());
    if (!prepare(query,
                 QStringLiteral("INSERT INTO files_written (path, sha256, written_utc, utc_offset, pc_user, pc_host) "
                                "VALUES (?, ?, ?, ?, ?, ?)"),
                 error))
        return false;
    query.addBindValue(qs(path));
    query.addBindValue(qs(sha256));
    query.addBindValue(now.utc);
    query.addBindValue(now.offset);
    query.addBindValue(qs(pcUserName()));
    query.addBindValue(qs(pcHostName()));
    return run(query, error);
}

std::vector<WrittenFile> filesWritten(const std::string &sha256) {
    std::vector<WrittenFile> out;
    std::string error;
    if (noArchive(error)) return out;
    QSqlQuery query(store::connection());
    query.setForwardOnly(true);
    if (!prepare(query,
                 QStringLiteral("SELECT path, sha256, written_utc, utc_offset FROM files_written WHERE sha256 = ? "
                                "ORDER BY id"),
                 error))
        return out;
    query.addBindValue(qs(sha256));
    if (!run(query, error)) return out;
    while (query.next())
        out.push_back({ss(query.value(0).toString()), ss(query.value(1).toString()), ss(query.value(2).toString()),
                       ss(query.value(3).toString())});
    return out;
}

bool backupArchive(const std::string &path, std::string &error) {
    if (noArchive(error)) return false;
    if (path.empty() || QFileInfo::exists(store::qs(path))) {
        error = path.empty() ? "no backup file named" : "the backup file exists already";
        return false;
    }
    if (store::dialect().backup.isEmpty()) {
        error = "this database makes no backup copies itself";
        return false;
    }
    // The copy is made from one read snapshot: writers in other processes go on meanwhile.
    QSqlQuery query(store::connection());
    if (!prepare(query, store::dialect().backup, error)) return false;
    query.addBindValue(qs(path));
    return run(query, error);
}
