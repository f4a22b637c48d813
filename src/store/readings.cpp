// The records held and archived recordings side by side, and writing readings.
#include <QSqlQuery>
#include <QVariant>

#include <charconv>
#include <cmath>

#include "datafile/DataFileText.h"
#include "model/Records.h"
#include "store/Readings.h"
#include "store/Sql.h"

namespace store {

namespace {

// Rows per INSERT of readings: one statement per row costs more than the row itself, and so
// does each bound value (the recording is bound once per statement, an absent channel not at
// all). At most five values a row stay under the 999 parameters the oldest SQLite accepts.
constexpr int kRowsPerInsert = 150;
const char *const kChannelColumns[3] = {"temperature", "temperature2", "humidity"};

// The channels the set has: their number and their columns.
int channelsOf(const RecordSet &set, QString &columns) {
    int n = 0;
    for (int c = 0; c < 3; ++c) {
        if (set.values[c].empty()) continue;
        columns += QStringLiteral(", ") + QLatin1String(kChannelColumns[c]);
        ++n;
    }
    return n;
}

// INSERT ... SELECT ?, column1, ... FROM (VALUES (?, ?, ...), ...): the VALUES rows name their
// columns column1, column2, ... in SQLite and PostgreSQL alike. The first row carries the
// types, from which PostgreSQL takes those of the parameters.
QString insertStatement(int rows, const RecordSet &set) {
    QString columns;
    const int channels = channelsOf(set, columns);
    QString sql = QStringLiteral("INSERT INTO readings (recording, record_number, record_time") + columns +
                  QStringLiteral(") SELECT CAST(? AS BIGINT)");
    for (int k = 1; k <= channels + 2; ++k) sql += QStringLiteral(", column%1").arg(k);
    sql += QStringLiteral(" FROM (VALUES (CAST(? AS INTEGER), CAST(? AS BIGINT)");
    for (int k = 0; k < channels; ++k) sql += QStringLiteral(", CAST(? AS DOUBLE PRECISION)");
    sql += QLatin1Char(')');
    QString row = QStringLiteral(",(?, ?");
    for (int k = 0; k < channels; ++k) row += QStringLiteral(", ?");
    row += QLatin1Char(')');
    for (int r = 1; r < rows; ++r) sql += row;
    return sql + QStringLiteral(") AS v");
}

// Binds one record's number, time and the values of the set's channels from index at on.
int bindRow(QSqlQuery &query, int at, const RecordSet &set, int i) {
    query.bindValue(at++, i + 1);
    query.bindValue(at++, QVariant::fromValue<qlonglong>(set.times[static_cast<std::size_t>(i)]));
    for (int c = 0; c < 3; ++c)
        if (!set.values[c].empty()) query.bindValue(at++, set.values[c][static_cast<std::size_t>(i)]);
    return at;
}

}   // namespace

double shownValue(double value) {
    if (value > SENSOR_ERROR_BASE) {
        char text[SENSOR_ERROR_TEXT_SIZE];
        sensorErrorText(text, sizeof text, value);
        return GetFileVal(text);
    }
    if (!std::isfinite(value)) return value;
    // Ten times the value, rounded, is the shown digits unless the value lies within a hair of
    // a half tenth (or is too large to be exact); there the text itself decides.
    const double tenths = value * 10.0;
    if (std::fabs(tenths) < 1e15 && std::fabs(tenths - std::floor(tenths) - 0.5) > 1e-6)
        return std::nearbyint(tenths) / 10.0;
    char digits[400];
    const auto r = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 1);
    double shown = value;
    if (r.ec == std::errc()) std::from_chars(digits, r.ptr, shown);
    return shown;
}

bool sameAsShown(double a, double b) {
    const double x = shownValue(a), y = shownValue(b);
    return x == y || (std::isnan(x) && std::isnan(y));
}

RecordSet heldRecords() {
    RecordSet set;
    const int n = loggedLength < 0 ? 0 : loggedLength;
    const double *views[3] = {vTemPtr, vTem2Ptr, vRhPtr};
    if (rtcPtr == nullptr || views[0] == nullptr) return set;
    set.times.assign(rtcPtr, rtcPtr + n);
    for (int c = 0; c < 3; ++c) {
        if (views[c] == nullptr) continue;
        set.values[c].resize(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) set.values[c][static_cast<std::size_t>(i)] = shownValue(views[c][i]);
    }
    return set;
}

bool loadRecordSet(std::int64_t recording, int limit, RecordSet &out, std::string &error) {
    out = RecordSet();
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    QString sql = QStringLiteral(
        "SELECT record_number, record_time, temperature, temperature2, humidity FROM readings WHERE recording = ? "
        "ORDER BY record_number");
    if (limit > 0) sql += QStringLiteral(" LIMIT ?");
    if (!prepare(query, sql, error)) return false;
    query.addBindValue(QVariant::fromValue<qlonglong>(recording));
    if (limit > 0) query.addBindValue(limit);
    if (!run(query, error)) return false;
    bool present[3] = {false, false, false};
    while (query.next()) {
        const int number = query.value(0).toInt();
        if (number != out.count() + 1) break;   // records are numbered without a gap
        if (out.times.empty())
            for (int c = 0; c < 3; ++c) present[c] = !query.value(2 + c).isNull();
        out.times.push_back(static_cast<cRtc>(query.value(1).toLongLong()));
        for (int c = 0; c < 3; ++c)
            if (present[c]) out.values[c].push_back(query.value(2 + c).toDouble());
    }
    return true;
}

Difference firstDifference(const RecordSet &held, const RecordSet &archived) {
    const int n = held.count() < archived.count() ? held.count() : archived.count();
    constexpr ArchiveField kFields[3] = {ArchiveField::Temperature, ArchiveField::Temperature2, ArchiveField::Humidity};
    for (int i = 0; i < n; ++i) {
        if (held.times[static_cast<std::size_t>(i)] != archived.times[static_cast<std::size_t>(i)])
            return {i + 1, ArchiveField::Time};
        for (int c = 0; c < 3; ++c) {
            const auto &a = held.values[c];
            const auto &b = archived.values[c];
            if (a.empty() != b.empty()) return {i + 1, kFields[c]};   // a channel one of them lacks
            if (a.empty()) continue;
            if (!sameAsShown(a[static_cast<std::size_t>(i)], b[static_cast<std::size_t>(i)]))
                return {i + 1, kFields[c]};
        }
    }
    return {};
}

bool insertReadings(std::int64_t recording, const RecordSet &set, int first, int last, std::string &error) {
    QSqlQuery full(connection());
    bool fullPrepared = false;
    for (int from = first; from <= last; from += kRowsPerInsert) {
        const int rows = last - from + 1 < kRowsPerInsert ? last - from + 1 : kRowsPerInsert;
        QSqlQuery part(connection());
        QSqlQuery &query = rows == kRowsPerInsert ? full : part;
        if (rows == kRowsPerInsert && !fullPrepared) {
            if (!prepare(full, insertStatement(kRowsPerInsert, set), error)) return false;
            fullPrepared = true;
        } else if (rows != kRowsPerInsert && !prepare(part, insertStatement(rows, set), error)) {
            return false;
        }
        int at = 0;
        query.bindValue(at++, QVariant::fromValue<qlonglong>(recording));
        for (int r = 0; r < rows; ++r) at = bindRow(query, at, set, from - 1 + r);
        if (!run(query, error)) return false;
    }
    return true;
}

}   // namespace store
