// Verifying the records held against the archive: an original by its fingerprint, else the
// first difference from the archived recording of the same logger and first record.
#include <QSqlQuery>
#include <QVariant>

#include "model/Records.h"
#include "store/Archive.h"
#include "store/Fingerprint.h"
#include "store/Readings.h"
#include "store/Sql.h"

namespace {

using store::prepare;
using store::run;
using store::ss;

QVariant big(std::int64_t v) { return QVariant::fromValue<qlonglong>(v); }

// The archived download or import with this fingerprint, the earliest; false when none.
bool findOriginal(const std::string &fingerprint, VerifyResult &result, std::string &error) {
    QSqlQuery query(store::connection());
    if (!prepare(query,
                 QStringLiteral("SELECT d.recording, d.downloaded_utc, d.utc_offset, d.imported, r.model_name, "
                                "l.identifier FROM downloads d JOIN recordings r ON r.id = d.recording "
                                "JOIN loggers l ON l.id = r.logger WHERE d.fingerprint = ? ORDER BY d.id LIMIT 1"),
                 error))
        return false;
    query.addBindValue(store::qs(fingerprint));
    if (!run(query, error) || !query.next()) return false;
    result.outcome = VerifyOutcome::Original;
    result.recording = query.value(0).toLongLong();
    result.downloadedUtc = ss(query.value(1).toString());
    result.utcOffset = ss(query.value(2).toString());
    result.imported = query.value(3).toInt() != 0;
    result.loggerModel = ss(query.value(4).toString());
    result.loggerId = ss(query.value(5).toString());
    return true;
}

struct Archived {
    std::int64_t id = 0;
    int interval = 0;
    char unit = 'C';
    int readings = 0;
    std::string modelName;
    std::string downloadedUtc;
    std::string utcOffset;
};

// The recordings of the logger that start with the same first record.
bool sameStart(const RecordsDescription &d, cRtc first, std::vector<Archived> &out, std::string &error) {
    QSqlQuery query(store::connection());
    query.setForwardOnly(true);
    if (!prepare(query,
                 QStringLiteral("SELECT r.id, r.sample_interval, r.unit, r.readings, r.model_name, r.downloaded_utc, "
                                "r.utc_offset FROM recordings r "
                                "JOIN loggers l ON l.id = r.logger WHERE l.model = ? AND l.identifier = ? "
                                "AND r.first_time = ? ORDER BY r.id"),
                 error))
        return false;
    query.addBindValue(d.model);
    query.addBindValue(QString::fromUtf8(d.id));
    query.addBindValue(big(first));
    if (!run(query, error)) return false;
    while (query.next()) {
        const QString unit = query.value(2).toString();
        out.push_back({query.value(0).toLongLong(), query.value(1).toInt(),
                       unit.isEmpty() ? 'C' : static_cast<char>(unit.at(0).toLatin1()), query.value(3).toInt(),
                       ss(query.value(4).toString()), ss(query.value(5).toString()), ss(query.value(6).toString())});
    }
    return true;
}

// What differs first between the records held and one archived recording: a record, the end of
// one of them, or else the header.
store::Difference compare(const store::RecordSet &held, const store::RecordSet &archived, const RecordsDescription &d,
                          const Archived &a) {
    store::Difference diff = store::firstDifference(held, archived);
    if (diff.field != ArchiveField::None) return diff;
    if (held.count() < archived.count()) return {held.count() + 1, ArchiveField::Missing};
    if (held.count() > archived.count()) return {archived.count() + 1, ArchiveField::Extra};
    if (d.interval != a.interval) return {0, ArchiveField::Interval};
    if (d.unit != a.unit) return {0, ArchiveField::Unit};
    return {0, ArchiveField::Readings};
}

// How far a difference lets the records agree: a header difference comes after every record.
long long reach(const store::Difference &diff) { return diff.record == 0 ? (1LL << 40) : diff.record; }

}   // namespace

const char *archiveFieldName(ArchiveField field) {
    switch (field) {
        case ArchiveField::None: return "";
        case ArchiveField::Time: return "time";
        case ArchiveField::Temperature: return "temperature";
        case ArchiveField::Temperature2: return "temperature 2";
        case ArchiveField::Humidity: return "humidity";
        case ArchiveField::Missing: return "record missing";
        case ArchiveField::Extra: return "record not archived";
        case ArchiveField::Interval: return "sample interval";
        case ArchiveField::Unit: return "unit";
        case ArchiveField::Readings: return "total records";
    }
    return "";
}

VerifyResult verifyRecords() {
    VerifyResult result;
    if (!archiveOpen()) {
        result.error = "no archive is open";
        return result;
    }
    if (loggedLength <= 0) {
        result.error = "no records are held";
        return result;
    }
    result.fingerprint = recordsFingerprint();
    if (result.fingerprint.empty()) {
        result.error = "out of memory";
        return result;
    }
    std::string error;
    if (findOriginal(result.fingerprint, result, error)) return result;
    if (!error.empty()) {
        result.error = error;
        return result;
    }
    const RecordsDescription d = recordsDescription();
    const store::RecordSet held = store::heldRecords();
    std::vector<Archived> list;
    if (held.count() == 0 || !sameStart(d, held.times.front(), list, error)) {
        result.error = error.empty() ? "no records are held" : error;
        return result;
    }
    result.outcome = VerifyOutcome::NotArchived;
    long long best = -1;
    for (const Archived &a : list) {
        store::RecordSet archived;
        if (!store::loadRecordSet(a.id, 0, archived, error)) {
            result.outcome = VerifyOutcome::Failed;
            result.error = error;
            return result;
        }
        const store::Difference diff = compare(held, archived, d, a);
        if (reach(diff) <= best) continue;
        best = reach(diff);
        result.outcome = VerifyOutcome::Changed;
        result.recording = a.id;
        result.loggerModel = a.modelName;
        result.loggerId = d.id;
        result.downloadedUtc = a.downloadedUtc;
        result.utcOffset = a.utcOffset;
        result.record = diff.record;
        result.field = diff.field;
    }
    return result;
}
