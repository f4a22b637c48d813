// Opening the archive: the connection, the session settings, and the schema brought to the
// current version by one ordered list of migrations. The module's state lives here.
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>
#include <QUuid>

#include <cstring>
#include <vector>

#include "store/Archive.h"
#include "store/Audit.h"
#include "store/Sql.h"

namespace {

// ---------------------------------------------------------------- state

const QString kConnection = QStringLiteral("tavix-archive");
const QString kServerConnection = QStringLiteral("tavix-server");
// The connection the statements run on: the local archive's, or the server's while a sync or
// init-server speaks to it.
QString activeConnection = kConnection;
std::string openPath;
int openVersion = 0;
std::string openIdentifier;
std::string siteName;

// How long a statement waits for another process's write to end before it gives up.
constexpr int kBusyTimeoutMs = 15000;

// ---------------------------------------------------------------- the schema

// Each migration brings the schema from the version before it to its own; they run in order,
// in one transaction with the version's update. %KEY%, %BINARY% and %CLUSTERED% are the
// dialect's. Names
// avoid the words PostgreSQL reserves (user, interval, values, time).
struct Migration {
    int version;
    std::vector<const char *> statements;
};

const std::vector<Migration> kMigrations{
    {1,
     {
         "CREATE TABLE loggers ("
         " id %KEY%,"
         " model INTEGER NOT NULL,"
         " identifier TEXT NOT NULL,"
         " UNIQUE (model, identifier))",

         "CREATE TABLE recordings ("
         " id %KEY%,"
         " logger BIGINT NOT NULL REFERENCES loggers (id),"
         " model_name TEXT NOT NULL,"
         " firmware TEXT NOT NULL,"
         " sample_interval INTEGER NOT NULL,"
         " unit TEXT NOT NULL,"
         " first_time BIGINT NOT NULL,"
         " last_time BIGINT NOT NULL,"
         " records INTEGER NOT NULL,"
         " readings INTEGER NOT NULL,"
         " complete INTEGER NOT NULL,"
         " imported INTEGER NOT NULL,"
         " flagged INTEGER NOT NULL,"
         " downloaded_utc TEXT NOT NULL,"
         " utc_offset TEXT NOT NULL,"
         " time_zone TEXT NOT NULL,"
         " pc_user TEXT NOT NULL,"
         " pc_host TEXT NOT NULL,"
         " fingerprint TEXT NOT NULL)",

         "CREATE INDEX recordings_logger ON recordings (logger, first_time)",

         // The data file's text, compressed, apart from the recordings: listing them reads
         // small rows, not the texts.
         "CREATE TABLE recording_texts ("
         " recording BIGINT PRIMARY KEY REFERENCES recordings (id),"
         " data_text %BINARY% NOT NULL)",

         "CREATE TABLE readings ("
         " recording BIGINT NOT NULL REFERENCES recordings (id),"
         " record_number INTEGER NOT NULL,"
         " record_time BIGINT NOT NULL,"
         " temperature DOUBLE PRECISION,"
         " temperature2 DOUBLE PRECISION,"
         " humidity DOUBLE PRECISION,"
         " PRIMARY KEY (recording, record_number))%CLUSTERED%",

         // Every download or import archived, also one that brought nothing new: a file saved
         // from any of them is an original.
         "CREATE TABLE downloads ("
         " id %KEY%,"
         " recording BIGINT NOT NULL REFERENCES recordings (id),"
         " outcome TEXT NOT NULL,"
         " fingerprint TEXT NOT NULL,"
         " records INTEGER NOT NULL,"
         " records_added INTEGER NOT NULL,"
         " complete INTEGER NOT NULL,"
         " imported INTEGER NOT NULL,"
         " downloaded_utc TEXT NOT NULL,"
         " utc_offset TEXT NOT NULL,"
         " time_zone TEXT NOT NULL,"
         " pc_user TEXT NOT NULL,"
         " pc_host TEXT NOT NULL)",

         "CREATE INDEX downloads_fingerprint ON downloads (fingerprint)",

         "CREATE TABLE files_written ("
         " id %KEY%,"
         " path TEXT NOT NULL,"
         " sha256 TEXT NOT NULL,"
         " written_utc TEXT NOT NULL,"
         " utc_offset TEXT NOT NULL,"
         " pc_user TEXT NOT NULL,"
         " pc_host TEXT NOT NULL)",

         "CREATE INDEX files_written_sha256 ON files_written (sha256)",

         "CREATE TABLE audit ("
         " sequence BIGINT PRIMARY KEY,"
         " time_utc TEXT NOT NULL,"
         " utc_offset TEXT NOT NULL,"
         " pc_user TEXT NOT NULL,"
         " pc_host TEXT NOT NULL,"
         " action TEXT NOT NULL,"
         " details TEXT NOT NULL,"
         " previous_hash TEXT NOT NULL,"
         " hash TEXT NOT NULL)",

         "CREATE INDEX audit_time ON audit (time_utc)",
     }},
    // Many PCs, one archive: each archive has an identifier (made when it is opened first) and
    // each PC a site name, both kept with the recordings and audit entries. A server holds the
    // recordings and trails of many archives: a recording there is known by its archive and its
    // number in that archive (origin), an audit entry by its archive and sequence.
    {2,
     {
         "CREATE TABLE archive_identity ("
         " identifier TEXT PRIMARY KEY,"
         " site TEXT NOT NULL,"
         " created_utc TEXT NOT NULL)",
         "ALTER TABLE recordings ADD COLUMN archive TEXT NOT NULL DEFAULT ''",
         "ALTER TABLE recordings ADD COLUMN site TEXT NOT NULL DEFAULT ''",
         "ALTER TABLE recordings ADD COLUMN origin BIGINT NOT NULL DEFAULT 0",
         "ALTER TABLE audit ADD COLUMN archive TEXT NOT NULL DEFAULT ''",
         "ALTER TABLE audit ADD COLUMN site TEXT NOT NULL DEFAULT ''",
         "server:ALTER TABLE audit DROP CONSTRAINT audit_pkey",
         "server:ALTER TABLE audit ADD PRIMARY KEY (archive, sequence)",
         "server:CREATE UNIQUE INDEX recordings_origin ON recordings (archive, origin)",
     }},
    // The clock offset of a logger that was still logging, estimated at a download: its last
    // record's time against the PC's clock then, in seconds (positive: the logger is ahead).
    {3,
     {
         "CREATE TABLE clock_offsets ("
         " download BIGINT PRIMARY KEY REFERENCES downloads (id),"
         " offset_seconds BIGINT NOT NULL,"
         " sample_interval INTEGER NOT NULL)",
     }},
};

// A statement marked "server:" runs on PostgreSQL only (SQLite cannot change a table's key,
// and a local archive holds only its own rows).
constexpr const char *kServerOnly = "server:";

QString inDialect(const char *statement) {
    QString sql = QString::fromUtf8(statement);
    sql.replace(QStringLiteral("%KEY%"), store::dialect().keyColumn);
    sql.replace(QStringLiteral("%BINARY%"), store::dialect().binaryType);
    sql.replace(QStringLiteral("%CLUSTERED%"), store::dialect().clustered);
    return sql;
}

// The version the archive's schema has: 0 for a new, empty database; -1 (error) for one that
// holds tables of something else or cannot be read.
int storedVersion(std::string &error) {
    const QSqlDatabase db = store::connection();
    const QStringList tables = db.tables();
    if (!tables.contains(QStringLiteral("schema_version"))) {
        if (tables.isEmpty()) {
            // an unreadable file lists no tables either: make it say why
            QSqlQuery probe(db);
            if (!store::prepare(probe, QStringLiteral("SELECT 1"), error) || !store::run(probe, error)) return -1;
            if (db.driverName() == QLatin1String("QSQLITE")) {
                QSqlQuery check(db);
                if (!store::prepare(check, QStringLiteral("SELECT COUNT(*) FROM sqlite_master"), error) ||
                    !store::run(check, error))
                    return -1;
            }
            return 0;
        }
        error = "it holds tables but is no Tavix archive";
        return -1;
    }
    QSqlQuery query(db);
    if (!store::prepare(query, QStringLiteral("SELECT MAX(version) FROM schema_version"), error) ||
        !store::run(query, error))
        return -1;
    return query.next() ? query.value(0).toInt() : 0;
}

// Runs the migrations the archive lacks, in one write transaction.
bool migrate(std::string &error) {
    store::WriteTransaction transaction;
    if (!transaction.begin(error)) return false;
    // another process may have migrated while this one waited for the lock
    if (!store::connection().tables().contains(QStringLiteral("schema_version")) &&
        !store::runText(QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)"), error))
        return false;
    int version = storedVersion(error);
    if (version < 0) return false;
    for (const Migration &m : kMigrations) {
        if (m.version <= version) continue;
        for (const char *statement : m.statements) {
            const bool serverOnly = std::strncmp(statement, kServerOnly, std::strlen(kServerOnly)) == 0;
            if (serverOnly && store::dialect().sqlite) continue;
            if (!store::runText(inDialect(serverOnly ? statement + std::strlen(kServerOnly) : statement), error))
                return false;
        }
        QSqlQuery set(store::connection());
        if (!store::prepare(set, QStringLiteral("DELETE FROM schema_version"), error) || !store::run(set, error))
            return false;
        if (!store::prepare(set, QStringLiteral("INSERT INTO schema_version (version) VALUES (?)"), error))
            return false;
        set.addBindValue(m.version);
        if (!store::run(set, error)) return false;
        version = m.version;
    }
    return transaction.commit(error);
}

// The session settings of SQLite: wait for other writers, and the WAL journal, in which
// readers and one writer work side by side and a killed writer leaves nothing half done.
bool setUpSession(std::string &error) {
    if (!store::dialect().sqlite) return true;
    if (!store::runText(QStringLiteral("PRAGMA busy_timeout = %1").arg(kBusyTimeoutMs), error)) return false;
    QSqlQuery journal(store::connection());
    if (!store::prepare(journal, QStringLiteral("PRAGMA journal_mode = WAL"), error) || !store::run(journal, error))
        return false;
    return store::runText(QStringLiteral("PRAGMA synchronous = FULL"), error);
}

// The archive's identifier: read, or made once when the archive has none yet (a new archive,
// or one made before archives had identifiers). A read-only archive without one gets a
// provisional identifier for this run; it cannot have stored anything under it.
bool ensureIdentity(std::string &error) {
    QSqlQuery query(store::connection());
    if (!store::prepare(query, QStringLiteral("SELECT identifier FROM archive_identity"), error) ||
        !store::run(query, error))
        return false;
    if (query.next()) {
        openIdentifier = store::ss(query.value(0).toString());
        return true;
    }
    const QString made = QUuid::createUuid().toString(QUuid::WithoutBraces);
    openIdentifier = store::ss(made);
    QSqlQuery insert(store::connection());
    if (!store::prepare(insert,
                        QStringLiteral("INSERT INTO archive_identity (identifier, site, created_utc) VALUES (?, ?, ?)"),
                        error))
        return false;
    insert.addBindValue(made);
    insert.addBindValue(store::qs(archiveSiteName()));
    insert.addBindValue(store::pcTimeNow().utc);
    std::string ignored;   // read-only: the identifier lives for this run
    store::run(insert, ignored);
    return true;
}

// A file that exists and may not be written, or that lies in a folder where its journal
// cannot be made.
bool readOnly(const std::string &path) {
    const QFileInfo file(store::qs(path));
    const QFileInfo folder(file.absolutePath());
    return file.exists() && (!file.isWritable() || !folder.isWritable());
}

}   // namespace

namespace store {

QSqlDatabase connection() {
    if (!QSqlDatabase::contains(activeConnection)) return QSqlDatabase();
    return QSqlDatabase::database(activeConnection, false);
}

bool connectionOpen() {
    return QSqlDatabase::contains(kConnection) && QSqlDatabase::database(kConnection, false).isOpen();
}

OnServer::OnServer() : before_(activeConnection) { activeConnection = kServerConnection; }
OnServer::~OnServer() { activeConnection = before_; }

}   // namespace store

bool openArchive(const std::string &path, std::string &error) {
    closeArchive();
    error.clear();
    if (path.empty()) {
        error = "no archive file named";
        return false;
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
        if (!db.isValid()) {
            error = "the SQLite driver of Qt SQL is not installed";
        } else {
            db.setDatabaseName(store::qs(path));
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
            if (!db.open()) error = store::ss(db.lastError().text().simplified());
        }
    }
    int version = -1;
    if (error.empty() && setUpSession(error)) {
        version = storedVersion(error);
        if (version >= 0 && version < archiveSchemaVersion() && migrate(error)) version = storedVersion(error);
        if (version > archiveSchemaVersion())
            error = "it was made by a newer Tavix (schema version " + std::to_string(version) + ")";
    }
    if (!error.empty() || version != archiveSchemaVersion()) {
        if (error.empty()) error = "its schema could not be brought up to date";
        if (readOnly(path)) error = "the archive is read-only (" + error + ")";
        closeArchive();
        return false;
    }
    if (!ensureIdentity(error)) {
        closeArchive();
        return false;
    }
    openPath = path;
    openVersion = version;
    return true;
}

void closeArchive() {
    openIdentifier.clear();
    if (QSqlDatabase::contains(kConnection)) {
        {
            QSqlDatabase db = QSqlDatabase::database(kConnection, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(kConnection);
    }
    openPath.clear();
    openVersion = 0;
}

bool archiveOpen() { return store::connectionOpen(); }

const std::string &archivePath() { return openPath; }

int archiveSchemaVersion() { return kMigrations.back().version; }

int openArchiveSchemaVersion() { return openVersion; }

void resetArchiveState() {
    closeArchive();
    closeServer();
    siteName.clear();
}

const std::string &archiveIdentifier() { return openIdentifier; }

void setArchiveSiteName(const std::string &name) { siteName = name; }

std::string archiveSiteName() { return siteName.empty() ? pcHostName() : siteName; }

// ---------------------------------------------------------------- the server

namespace {

// Qt's PostgreSQL driver takes the connection's parts one by one: the URL's user, host, port
// and database, and its query's parameters as connection options (sslmode, service, ...).
bool connectServer(const std::string &url, std::string &error) {
    const QUrl u(store::qs(url), QUrl::StrictMode);
    if (!u.isValid() || (u.scheme() != QLatin1String("postgresql") && u.scheme() != QLatin1String("postgres"))) {
        error = "the server address is no postgresql:// URL: " + url;
        return false;
    }
    if (!u.password().isEmpty()) {
        error = "the server address holds a password; put it in ~/.pgpass (mode 0600) or a service file instead";
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), kServerConnection);
    if (!db.isValid()) {
        error = "the PostgreSQL driver of Qt SQL is not installed";
        return false;
    }
    QStringList options;
    bool sslmode = false, timeout = false;
    for (const auto &item : QUrlQuery(u).queryItems(QUrl::FullyDecoded)) {
        if (item.first == QLatin1String("host")) {
            db.setHostName(item.second);
            continue;
        }
        if (item.first == QLatin1String("port")) {
            db.setPort(item.second.toInt());
            continue;
        }
        if (item.first == QLatin1String("user")) {
            db.setUserName(item.second);
            continue;
        }
        if (item.first == QLatin1String("dbname")) {
            db.setDatabaseName(item.second);
            continue;
        }
        if (item.first.contains(QLatin1Char(';')) || item.second.contains(QLatin1Char(';'))) {
            error = "the server address has a ';' in a parameter";
            return false;
        }
        sslmode = sslmode || item.first == QLatin1String("sslmode");
        timeout = timeout || item.first == QLatin1String("connect_timeout");
        options << item.first + QLatin1Char('=') + item.second;
    }
    if (!sslmode) options << QStringLiteral("sslmode=prefer");
    if (!timeout) options << QStringLiteral("connect_timeout=5");
    if (!u.host(QUrl::FullyDecoded).isEmpty()) db.setHostName(u.host(QUrl::FullyDecoded));
    if (u.port() > 0) db.setPort(u.port());
    if (!u.userName(QUrl::FullyDecoded).isEmpty()) db.setUserName(u.userName(QUrl::FullyDecoded));
    const QString path = u.path(QUrl::FullyDecoded);
    if (path.size() > 1) db.setDatabaseName(path.mid(1));
    db.setConnectOptions(options.join(QLatin1Char(';')));
    if (!db.open()) {
        error = "the server cannot be reached: " + store::ss(db.lastError().text().simplified());
        return false;
    }
    return true;
}

}   // namespace

bool openServer(const std::string &url, bool migrateSchema, std::string &error) {
    closeServer();
    error.clear();
    if (!connectServer(url, error)) {
        closeServer();
        return false;
    }
    store::OnServer onServer;
    int version = storedVersion(error);
    if (version >= 0 && version < archiveSchemaVersion()) {
        if (!migrateSchema) {
            error = version == 0 ? "the server holds no Tavix archive yet (tavix-cli archive init-server URL)"
                                 : "the server's archive has an older schema (tavix-cli archive init-server URL)";
            version = -1;
        } else if (migrate(error)) {
            version = storedVersion(error);
        } else {
            version = -1;
        }
    }
    if (version > archiveSchemaVersion())
        error = "the server's archive was made by a newer Tavix (schema version " + std::to_string(version) + ")";
    if (version != archiveSchemaVersion()) {
        if (error.empty()) error = "the server's schema could not be brought up to date";
        closeServer();
        return false;
    }
    return true;
}

void closeServer() {
    if (!QSqlDatabase::contains(kServerConnection)) return;
    {
        QSqlDatabase db = QSqlDatabase::database(kServerConnection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(kServerConnection);
}

int serverSchemaVersion() {
    if (!QSqlDatabase::contains(kServerConnection)) return 0;
    store::OnServer onServer;
    std::string error;
    const int version = storedVersion(error);
    return version < 0 ? 0 : version;
}
