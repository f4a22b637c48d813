// Inside the archive: the one database connection, what differs between the database systems
// it runs on, and the pieces every statement needs (errors, write transactions, the PC's time,
// user and host). Only the store module includes this.
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <cstdint>
#include <string>

namespace store {

// What SQLite and PostgreSQL spell differently. Every statement is written once, in the
// common language, with these pieces put in where the schema or a session needs them.
struct Dialect {
    QString keyColumn;    // an integer key the database generates on insert
    QString binaryType;   // a column of bytes
    QString clustered;    // after a table's columns: its rows kept in the order of its key
    QString beginWrite;   // starts a transaction that writes (taking the write lock at once)
    QString backup;       // makes a consistent copy at the path bound to its one parameter
    QString rowOrder;     // the order in which rows were stored (two rows may claim one number)
    bool sqlite = false;
};
const Dialect &dialect();

// The connection statements run on: the archive's (invalid when none is open), or the
// server's while an OnServer lives.
QSqlDatabase connection();
// Whether the local archive is open.
bool connectionOpen();

// While it lives, statements run on the server's connection (openServer).
class OnServer {
public:
    OnServer();
    ~OnServer();
    OnServer(const OnServer &) = delete;
    OnServer &operator=(const OnServer &) = delete;

private:
    QString before_;
};

// A statement prepared on the connection; false (error says why) when it does not prepare.
bool prepare(QSqlQuery &query, const QString &sql, std::string &error);
// Runs a prepared statement; false (error says why) when the database refuses.
bool run(QSqlQuery &query, std::string &error);
// Runs a statement with no parameters as it is (not prepared).
bool runText(const QString &sql, std::string &error);
// The database's reason for the last failure of query, in one English line.
std::string reason(const QSqlQuery &query);

// A write transaction: begun by begin(), committed by commit(); rolled back when it ends
// without a commit (an error, an early return). The write lock is taken at begin, so two
// processes never interleave their reads and writes (the other one waits, up to the busy
// timeout).
class WriteTransaction {
public:
    WriteTransaction() = default;
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;
    bool begin(std::string &error);
    bool commit(std::string &error);

private:
    bool active_ = false;
};

// The PC's time now, as the archive records it.
struct PcTime {
    QString utc;      // ISO 8601 UTC with milliseconds, "2026-12-11T12:30:43.120Z"
    QString offset;   // "+01:00"
    QString zone;     // the time-zone name, "Europe/Berlin"
};
PcTime pcTimeNow();

// The value of a UTF-8 text as a bound parameter, and back.
inline QString qs(const std::string &text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }
inline std::string ss(const QString &text) { return text.toUtf8().toStdString(); }

}   // namespace store

namespace store {

// Appends an audit entry inside the caller's write transaction; its sequence (0, error).
std::int64_t appendAuditEntry(const std::string &action, const std::string &details, std::string &error);

}   // namespace store
