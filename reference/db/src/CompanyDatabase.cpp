#include "qmx/reference/CompanyDatabase.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "CompanySql.h"
#include "qmx/platform/AdoConnection.h"
#include "qmx/platform/Paths.h"

namespace qmx::reference {

namespace {

namespace fs = std::filesystem;
using platform::TQmADOConnection;

void RemoveDatabaseFiles(const std::string& fileName) {
    std::error_code ignored;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        fs::remove(fileName + suffix, ignored);
}

} // namespace

const char* CompanySchemaSql() { return detail::CompanySchemaText; }
const char* CompanySeedSql() { return detail::CompanySeedText; }

AnsiString QuoteConnectionValue(std::string_view value) {
    const bool plain = value.find_first_of(";\"'") == std::string_view::npos &&
                       (value.empty() || (value.front() != ' ' && value.back() != ' '));
    if (plain) return AnsiString(value);
    AnsiString quoted = "\"";
    for (char ch : value) {
        if (ch == '"') quoted += '"';
        quoted += ch;
    }
    return quoted + "\"";
}

AnsiString CompanyConnectionString(std::string_view fileName, std::string_view dataSource, CodePage codePage) {
    return "Provider=SQLite;Data Source=" + QuoteConnectionValue(fileName) +
           ";Initial Catalog=" + QuoteConnectionValue(dataSource) + ";Charset=" + std::to_string(codePage);
}

void CreateCompanyDatabase(const std::string& fileName, const CompanyDatabaseOptions& options) {
    if (fileName.empty()) throw Exception("No file name given for the company database");
    if (platform::DirectoryExists(fileName)) throw Exception("'" + fileName + "' is a folder, not a database file");
    if (platform::FileExists(fileName) && !options.Replace)
        throw Exception("The company database '" + fileName + "' exists already");
    const std::string folder = platform::ExtractFileDir(fileName);
    if (!folder.empty() && !platform::DirectoryExists(folder))
        throw Exception("The folder of the company database '" + fileName + "' does not exist");

    const std::string building = fileName + ".building-" + std::to_string(::getpid());
    RemoveDatabaseFiles(building);
    try {
        // The SQL files are UTF-8, so this connection talks UTF-8.
        TQmADOConnection db("Provider=SQLite;Data Source=" + QuoteConnectionValue(building) +
                            ";Create=True;Charset=UTF-8");
        db.Open();
        db.BeginTrans();
        db.Execute(CompanySchemaSql());
        if (options.WithSeed) db.Execute(CompanySeedSql());
        db.CommitTrans();
        // Back to a single file, so that the rename moves the whole database.
        db.Execute("PRAGMA journal_mode=DELETE");
        db.Close();
    } catch (...) {
        RemoveDatabaseFiles(building);
        throw;
    }
    if (options.Replace) RemoveDatabaseFiles(fileName);
    std::error_code error;
    fs::rename(building, fileName, error);
    if (error) {
        RemoveDatabaseFiles(building);
        throw Exception("The company database '" + fileName + "' cannot be written: " + error.message());
    }
}

} // namespace qmx::reference
