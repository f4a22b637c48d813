// Storing the records held: a new recording, an extension of the archived one, nothing new, or
// a separate flagged recording, all in one transaction with its download row and audit entry.
#include <QByteArray>
#include <QSqlQuery>
#include <QVariant>

#include "datafile/DataFileText.h"
#include "model/Models.h"
#include "model/Records.h"
#include "store/Archive.h"
#include "store/Audit.h"
#include "store/Fingerprint.h"
#include "store/Readings.h"
#include "store/Sql.h"

namespace {

using store::prepare;
using store::qs;
using store::run;

// zlib's fastest level: a data file's text is mostly digits and blanks, which it packs about as
// well as the default level in a fraction of the time.
constexpr int kCompression = 1;

// Everything stored about one download or import, gathered before the transaction begins.
struct Download {
    RecordsDescription description;
    store::RecordSet records;
    std::string fingerprint;
    QByteArray compressedText;
    std::string modelName;
    std::string firmware;
    bool complete = true;
    bool imported = false;
    store::PcTime when;
    std::string user;
    std::string host;
};

QVariant big(std::int64_t v) { return QVariant::fromValue<qlonglong>(v); }

// The logger's row, made when the archive has none yet; 0 (error) when the database refuses.
std::int64_t loggerRow(const Download &d, std::string &error) {
    QSqlQuery query(store::connection());
    if (!prepare(query, QStringLiteral("SELECT id FROM loggers WHERE model = ? AND identifier = ?"), error)) return 0;
    query.addBindValue(d.description.model);
    query.addBindValue(QString::fromUtf8(d.description.id));
    if (!run(query, error)) return 0;
    if (query.next()) return query.value(0).toLongLong();
    if (!prepare(query, QStringLiteral("INSERT INTO loggers (model, identifier) VALUES (?, ?) RETURNING id"), error))
        return 0;
    query.addBindValue(d.description.model);
    query.addBindValue(QString::fromUtf8(d.description.id));
    if (!run(query, error)) return 0;
    if (query.next()) return query.value(0).toLongLong();
    error = "the database gave the new logger no key";
    return 0;
}

struct Candidate {
    std::int64_t id = 0;
    int records = 0;
};

// The logger's archived recordings that start with the same first record, oldest first.
bool candidates(std::int64_t logger, cRtc first, std::vector<Candidate> &out, std::string &error) {
    QSqlQuery query(store::connection());
    query.setForwardOnly(true);
    if (!prepare(query,
                 QStringLiteral("SELECT id, records FROM recordings WHERE logger = ? AND first_time = ? ORDER BY id"),
                 error))
        return false;
    query.addBindValue(big(logger));
    query.addBindValue(big(first));
    if (!run(query, error)) return false;
    while (query.next()) out.push_back({query.value(0).toLongLong(), query.value(1).toInt()});
    return true;
}

// The first candidate whose records agree with the download over the records both hold; 0
// when none does.
bool identicalCandidate(const Download &d, const std::vector<Candidate> &list, Candidate &match, std::string &error) {
    for (const Candidate &c : list) {
        store::RecordSet archived;
        if (!store::loadRecordSet(c.id, d.records.count(), archived, error)) return false;
        if (store::firstDifference(d.records, archived).field == ArchiveField::None) {
            match = c;
            match.records = archived.count();
            return true;
        }
    }
    match = {};
    return true;
}

std::int64_t insertRecording(std::int64_t logger, const Download &d, bool flagged, std::string &error) {
    QSqlQuery query(store::connection());
    if (!prepare(query,
                 QStringLiteral("INSERT INTO recordings (logger, model_name, firmware, sample_interval, unit, "
                                "first_time, last_time, records, readings, complete, imported, flagged, "
                                "downloaded_utc, utc_offset, time_zone, pc_user, pc_host, fingerprint, archive, site) "
                                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id"),
                 error))
        return 0;
    query.addBindValue(big(logger));
    query.addBindValue(qs(d.modelName));
    query.addBindValue(qs(d.firmware));
    query.addBindValue(d.description.interval);
    query.addBindValue(QString(QChar::fromLatin1(d.description.unit)));
    query.addBindValue(big(d.records.times.front()));
    query.addBindValue(big(d.records.times.back()));
    query.addBindValue(d.records.count());
    query.addBindValue(d.description.readings);
    query.addBindValue(d.complete ? 1 : 0);
    query.addBindValue(d.imported ? 1 : 0);
    query.addBindValue(flagged ? 1 : 0);
    query.addBindValue(d.when.utc);
    query.addBindValue(d.when.offset);
    query.addBindValue(d.when.zone);
    query.addBindValue(qs(d.user));
    query.addBindValue(qs(d.host));
    query.addBindValue(qs(d.fingerprint));
    query.addBindValue(qs(archiveIdentifier()));
    query.addBindValue(qs(archiveSiteName()));
    if (!run(query, error)) return 0;
    const std::int64_t recording = query.next() ? query.value(0).toLongLong() : 0;
    if (recording == 0) {
        error = "the database gave the new recording no key";
        return 0;
    }
    QSqlQuery text(store::connection());
    if (!prepare(text, QStringLiteral("INSERT INTO recording_texts (recording, data_text) VALUES (?, ?)"), error))
        return 0;
    text.addBindValue(big(recording));
    text.addBindValue(d.compressedText);
    return run(text, error) ? recording : 0;
}

// The recording now holds every record of the download: its last record, counts, text and
// fingerprint become the download's.
bool extendRecording(std::int64_t recording, const Download &d, std::string &error) {
    QSqlQuery query(store::connection());
    if (!prepare(query,
                 QStringLiteral("UPDATE recordings SET last_time = ?, records = ?, readings = ?, complete = ?, "
                                "firmware = ?, fingerprint = ? WHERE id = ?"),
                 error))
        return false;
    query.addBindValue(big(d.records.times.back()));
    query.addBindValue(d.records.count());
    query.addBindValue(d.description.readings);
    query.addBindValue(d.complete ? 1 : 0);
    query.addBindValue(qs(d.firmware));
    query.addBindValue(qs(d.fingerprint));
    query.addBindValue(big(recording));
    if (!run(query, error)) return false;
    QSqlQuery text(store::connection());
    if (!prepare(text, QStringLiteral("UPDATE recording_texts SET data_text = ? WHERE recording = ?"), error))
        return false;
    text.addBindValue(d.compressedText);
    text.addBindValue(big(recording));
    return run(text, error);
}

const char *outcomeName(ArchiveOutcome outcome) {
    switch (outcome) {
        case ArchiveOutcome::StoredNew: return "stored new";
        case ArchiveOutcome::Extended: return "extended";
        case ArchiveOutcome::AlreadyArchived: return "already archived";
        case ArchiveOutcome::StoredFlagged:
            return "stored separately: the logger's memory differs from the archived copy";
        case ArchiveOutcome::Failed: break;
    }
    return "failed";
}

bool insertDownload(const Download &d, const ArchiveResult &result, std::string &error) {
    QSqlQuery query(store::connection());
    if (!prepare(query,
                 QStringLiteral("INSERT INTO downloads (recording, outcome, fingerprint, records, records_added, "
                                "complete, imported, downloaded_utc, utc_offset, time_zone, pc_user, pc_host) "
                                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                 error))
        return false;
    query.addBindValue(big(result.recording));
    query.addBindValue(QString::fromLatin1(outcomeName(result.outcome)));
    query.addBindValue(qs(d.fingerprint));
    query.addBindValue(d.records.count());
    query.addBindValue(result.recordsAdded);
    query.addBindValue(d.complete ? 1 : 0);
    query.addBindValue(d.imported ? 1 : 0);
    query.addBindValue(d.when.utc);
    query.addBindValue(d.when.offset);
    query.addBindValue(d.when.zone);
    query.addBindValue(qs(d.user));
    query.addBindValue(qs(d.host));
    return run(query, error);
}

std::string auditDetails(const Download &d, const ArchiveResult &result) {
    std::string text = "logger #" + std::to_string(d.description.model) + " \"" + d.description.id + "\", " +
                       std::to_string(d.records.count()) + " records, fingerprint " + d.fingerprint + ", recording " +
                       std::to_string(result.recording) + ": " + outcomeName(result.outcome);
    if (result.outcome == ArchiveOutcome::Extended) text += " by " + std::to_string(result.recordsAdded) + " records";
    return text;
}

// Everything that goes into the archive for the records held, made before the database is
// touched; false (error) when there is nothing to store.
bool gather(const ArchiveSource &source, Download &d, std::string &error) {
    if (loggedLength <= 0) {
        error = "no records are held";
        return false;
    }
    d.description = recordsDescription();
    d.records = store::heldRecords();
    if (d.records.count() == 0) {
        error = "no records are held";
        return false;
    }
    d.fingerprint = recordsFingerprint();
    std::string text = source.dataFileText;
    if (d.fingerprint.empty() || (text.empty() && !formatDataFile(text))) {
        error = "out of memory";
        return false;
    }
    d.compressedText = qCompress(QByteArray::fromRawData(text.data(), qsizetype(text.size())), kCompression);
    d.modelName = source.modelName;
    const ModelRow *row = modelRow(d.description.model);
    if (d.modelName.empty() && row != nullptr && row->identifiers[0] != nullptr) d.modelName = row->identifiers[0];
    d.firmware = source.firmware;
    d.complete = source.complete;
    d.imported = source.imported;
    d.when = store::pcTimeNow();
    d.user = pcUserName();
    d.host = pcHostName();
    return true;
}

// The whole store in the caller's transaction.
bool storeDownload(const Download &d, ArchiveResult &result, std::string &error) {
    const std::int64_t logger = loggerRow(d, error);
    if (logger == 0) return false;
    std::vector<Candidate> list;
    if (!candidates(logger, d.records.times.front(), list, error)) return false;
    Candidate match;
    if (!identicalCandidate(d, list, match, error)) return false;
    if (match.id != 0) {
        result.recording = match.id;
        if (d.records.count() > match.records) {
            if (!store::insertReadings(match.id, d.records, match.records + 1, d.records.count(), error) ||
                !extendRecording(match.id, d, error))
                return false;
            result.outcome = ArchiveOutcome::Extended;
            result.recordsAdded = d.records.count() - match.records;
        } else {
            result.outcome = ArchiveOutcome::AlreadyArchived;
        }
    } else {
        // Records of a logger without an identifier may well come from another logger of the
        // same model: a difference is no sign of a changed memory there.
        const bool flagged = !list.empty() && d.description.id[0] != '\0';
        result.recording = insertRecording(logger, d, flagged, error);
        if (result.recording == 0 || !store::insertReadings(result.recording, d.records, 1, d.records.count(), error))
            return false;
        result.outcome = flagged ? ArchiveOutcome::StoredFlagged : ArchiveOutcome::StoredNew;
        result.recordsAdded = d.records.count();
    }
    return insertDownload(d, result, error) &&
           store::appendAuditEntry(d.imported ? "import" : "download", auditDetails(d, result), error) != 0;
}

}   // namespace

ArchiveResult archiveRecords(const ArchiveSource &source) {
    ArchiveResult result;
    if (!archiveOpen()) {
        result.error = "no archive is open";
        return result;
    }
    Download d;
    if (!gather(source, d, result.error)) return result;
    result.fingerprint = d.fingerprint;
    store::WriteTransaction transaction;
    std::string error;
    if (!transaction.begin(error) || !storeDownload(d, result, error) || !transaction.commit(error)) {
        const std::string fingerprint = result.fingerprint;
        result = ArchiveResult();
        result.fingerprint = fingerprint;
        result.error = error;
    }
    return result;
}

ArchiveResult importDataFile(const std::string &text) {
    ArchiveResult result;
    if (!archiveOpen()) {
        result.error = "no archive is open";
        return result;
    }
    if (parseDataFile(text.data(), text.size()) <= 0) {
        result.error = "the file holds no record";
        return result;
    }
    ArchiveSource source;
    source.imported = true;
    source.dataFileText = text;
    return archiveRecords(source);
}

bool archiveClockOffset(std::int64_t recording, std::int64_t offsetSeconds, int interval, std::string &error) {
    if (!archiveOpen()) {
        error = "no archive is open";
        return false;
    }
    QSqlQuery query(store::connection());
    if (!store::prepare(query,
                        QStringLiteral("INSERT INTO clock_offsets (download, offset_seconds, sample_interval) "
                                       "SELECT MAX(id), ?, ? FROM downloads WHERE recording = ? HAVING COUNT(*) > 0"),
                        error))
        return false;
    query.addBindValue(QVariant::fromValue<qlonglong>(offsetSeconds));
    query.addBindValue(interval);
    query.addBindValue(QVariant::fromValue<qlonglong>(recording));
    if (!store::run(query, error)) return false;
    if (query.numRowsAffected() != 1) {
        error = "the recording has no download";
        return false;
    }
    return true;
}
