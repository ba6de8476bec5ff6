#include "qmx/platform/AdoConnection.h"

#include <sqlite3.h>
#include <string>

#include "ConnectionString.h"
#include "SqlFunctions.h"
#include "SqlStatement.h"
#include "TextCodec.h"
#include "qmx/platform/AdoQuery.h"
#include "qmx/platform/Paths.h"

namespace qmx::platform {

TQmADOConnection::TQmADOConnection(AnsiString connectionString) : connectionString_(std::move(connectionString)) {}

TQmADOConnection::~TQmADOConnection() {
    Close();
    for (TQmADOQuery* query : queries_)
        query->connection_ = nullptr;
}

void TQmADOConnection::SetConnectionString(AnsiString connectionString) {
    if (Connected()) throw EDatabaseError("The connection string of an open connection cannot change");
    connectionString_ = std::move(connectionString);
}

void TQmADOConnection::Open() {
    if (db_) return;
    const detail::ConnectionSettings settings = detail::ParseConnectionString(connectionString_);
    // File names are used as given, as by every other file access of this system.
    const std::string& path = settings.dataSource;
    const bool inMemory = path == ":memory:";
    if (!inMemory && !settings.create && !FileExists(path))
        throw EDatabaseError("The database file '" + settings.dataSource + "' does not exist");

    int flags = settings.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (settings.create && !settings.readOnly) flags |= SQLITE_OPEN_CREATE;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    const auto fail = [&](int code) {
        const std::string reason = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
        sqlite3_close_v2(db);
        throw EDatabaseError("Cannot open the database '" + settings.dataSource +
                                 "': " + detail::Utf8ToCodePage(reason, settings.charset),
                             code & 0xFF);
    };
    if (rc != SQLITE_OK) fail(rc);
    try {
        detail::RegisterSqlFunctions(db);
    } catch (const EDatabaseError& error) {
        fail(error.ErrorCode());
    }
    const int timeout = busyTimeoutSet_ ? busyTimeout_ : settings.busyTimeout;
    sqlite3_busy_timeout(db, timeout);
    // Reading the schema tells a file that is no database at once, not at the first statement.
    if (const int check = sqlite3_exec(db, "PRAGMA schema_version", nullptr, nullptr, nullptr); check != SQLITE_OK)
        fail(check);
    // WAL lets readers and the writer work side by side. Where it cannot be had (read-only file,
    // a file system without shared memory) the file keeps its journal mode.
    if (!inMemory && !settings.readOnly) sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);

    db_ = db;
    busyTimeout_ = timeout;
    charset_ = settings.charset;
    databaseName_ = settings.databaseName;
    dialect_ = SqlDialect(detail::CodePageToUtf8(settings.databaseName, settings.charset));
    transactionLevel_ = 0;
}

void TQmADOConnection::Close() {
    if (!db_) return;
    for (TQmADOQuery* query : queries_)
        query->Close();
    // Every statement is finalized when it has run, so the handle closes at once.
    sqlite3_close_v2(db_);
    db_ = nullptr;
    transactionLevel_ = 0;
}

void TQmADOConnection::SetConnected(bool connected) {
    if (connected)
        Open();
    else
        Close();
}

void TQmADOConnection::RunControl(const char* sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const std::string reason = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        throw EDatabaseError(detail::Utf8ToCodePage(reason, charset_) + "\nSQL: " + sql, rc & 0xFF);
    }
}

int TQmADOConnection::BeginTrans() {
    Open();
    if (sqlite3_get_autocommit(db_)) {
        // IMMEDIATE takes the write lock now; a deferred transaction that reads first and writes
        // later could fail at the write when another connection wrote in between.
        RunControl("BEGIN IMMEDIATE");
        transactionLevel_ = 1;
    } else {
        ++transactionLevel_;
        RunControl(("SAVEPOINT qmx_level_" + std::to_string(transactionLevel_)).c_str());
    }
    return transactionLevel_;
}

void TQmADOConnection::CommitTrans() {
    if (!InTransaction()) {
        transactionLevel_ = 0;
        throw EDatabaseError("No transaction is active");
    }
    if (transactionLevel_ <= 1) {
        RunControl("COMMIT");
        transactionLevel_ = 0;
    } else {
        RunControl(("RELEASE qmx_level_" + std::to_string(transactionLevel_)).c_str());
        --transactionLevel_;
    }
}

void TQmADOConnection::RollbackTrans() {
    if (!InTransaction()) {
        transactionLevel_ = 0;
        throw EDatabaseError("No transaction is active");
    }
    if (transactionLevel_ <= 1) {
        RunControl("ROLLBACK");
        transactionLevel_ = 0;
    } else {
        const std::string name = "qmx_level_" + std::to_string(transactionLevel_);
        RunControl(("ROLLBACK TO " + name + "; RELEASE " + name).c_str());
        --transactionLevel_;
    }
}

bool TQmADOConnection::InTransaction() const { return db_ && !sqlite3_get_autocommit(db_); }

std::int64_t TQmADOConnection::Execute(std::string_view sql) {
    Open();
    return detail::RunSql(*this, sql, nullptr, nullptr);
}

void TQmADOConnection::SetBusyTimeout(int milliseconds) {
    busyTimeout_ = milliseconds < 0 ? 0 : milliseconds;
    busyTimeoutSet_ = true;
    if (db_) sqlite3_busy_timeout(db_, busyTimeout_);
}

} // namespace qmx::platform
