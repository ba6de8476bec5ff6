#pragma once
// The database connection of the module's ADO components.
//
// The connection string chooses the engine. Keys (without regard to case or blanks; a value may
// be quoted with " or ', the quote doubled inside, to hold ';'; a later key wins):
//   Provider        SQLite (also SQLite3, or left out): the embedded engine. Any other provider,
//                   and Driver= or DSN= (ODBC), raise EDatabaseError "... is not available".
//   Data Source     the database file (required); ":memory:" for a private in-memory database.
//   Initial Catalog the company database that statements name as db..table (also Database=);
//                   default: the file name without folder and extension ("/x/DEMO.db" -> DEMO).
//   Charset         the code page of the texts this side of the connection: SQL texts, parameter
//                   and field values. 936 (default), 950, 1252, UTF-8... The database holds UTF-8;
//                   texts are converted at the boundary. A stored text that is not UTF-8 (written
//                   by another tool) is read back as its bytes, unconverted, so nothing is lost.
//   Busy Timeout    milliseconds a statement waits for another connection's write lock (5000).
//   Mode            Read: open read-only. Anything else: read and write.
//   Create          True: create a missing database file. By default a missing file is an error,
//                   so a wrong path does not quietly give an empty database.
//   Other keys (User ID, Password, Persist Security Info...) are accepted and ignored.
//
// A file database runs in WAL mode: readers do not block the writer nor the writer them, and
// several connections, also of several processes, can write one after the other (each waits
// up to the busy timeout for the others' write transactions).
//
// Statements are in SQL Server's dialect (see SqlDialect.h). A connection belongs to one thread
// at a time.
#include <cstdint>
#include <memory>
#include <set>
#include <string_view>

#include "qmx/CodePage.h"
#include "qmx/platform/DatabaseError.h"
#include "qmx/platform/SqlDialect.h"

struct sqlite3;

namespace qmx::platform {

class TQmADOQuery;

class TQmADOConnection {
public:
    TQmADOConnection() = default;
    explicit TQmADOConnection(AnsiString connectionString);
    // Closes the connection and the queries on it, and detaches them.
    ~TQmADOConnection();
    TQmADOConnection(const TQmADOConnection&) = delete;
    TQmADOConnection& operator=(const TQmADOConnection&) = delete;

    const AnsiString& ConnectionString() const { return connectionString_; }
    // Raises EDatabaseError while connected.
    void SetConnectionString(AnsiString connectionString);

    // Raises EDatabaseError when the string is bad or the database cannot be opened. Opening an
    // open connection does nothing.
    void Open();
    // Closes the queries on the connection; an open transaction is rolled back.
    void Close();
    bool Connected() const { return db_ != nullptr; }
    void SetConnected(bool connected);

    // Transactions; a BeginTrans inside a transaction opens a nested level (a savepoint), which
    // the next CommitTrans or RollbackTrans ends. BeginTrans answers the new level (1 for the
    // outermost). The outermost level takes the write lock at once, so two connections never
    // deadlock upgrading a read lock. Commit and rollback without a transaction raise.
    int BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const;

    // Runs the statement(s) of sql (no parameters) and answers the rows they changed. Raises
    // EDatabaseError naming the engine's reason and the statement. Execute and BeginTrans open a
    // closed connection first, as a query's Open does.
    std::int64_t Execute(std::string_view sql);

    // Milliseconds to wait for another connection's lock; changes an open connection at once.
    int BusyTimeout() const { return busyTimeout_; }
    void SetBusyTimeout(int milliseconds);

    // From the connection string, valid while connected.
    CodePage Charset() const { return charset_; }
    const AnsiString& DatabaseName() const { return databaseName_; }
    const SqlDialect& Dialect() const { return dialect_; }
    // The engine's handle; null when closed. For the data access classes of this layer.
    sqlite3* Handle() const { return db_; }

private:
    friend class TQmADOQuery;
    void Attach(TQmADOQuery* query) { queries_.insert(query); }
    void Detach(TQmADOQuery* query) { queries_.erase(query); }
    void RunControl(const char* sql);

    AnsiString connectionString_;
    sqlite3* db_ = nullptr;
    int busyTimeout_ = 5000;
    bool busyTimeoutSet_ = false; // set by SetBusyTimeout: wins over the connection string
    int transactionLevel_ = 0;
    CodePage charset_ = CP_GB2312;
    AnsiString databaseName_;
    SqlDialect dialect_;
    std::set<TQmADOQuery*> queries_;
};

} // namespace qmx::platform
