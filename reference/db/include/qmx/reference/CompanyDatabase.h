#pragma once
// The demo company database: a SQLite file made from the schema and seed SQL of this folder.
//
//   CreateCompanyDatabase("/demo/data/DODaza60.db", {});
//   TQmADOConnection db(CompanyConnectionString("/demo/data/DODaza60.db", "DODaza60"));
//
// The statements of the module name tables as "DODaza60..TMCMD": the connection string therefore
// names the data source as its Initial Catalog.
#include <string>
#include <string_view>

#include "qmx/CodePage.h"

namespace qmx::reference {

struct CompanyDatabaseOptions {
    // Fill in the demo data (users, customers, invoice drafts, message texts...).
    bool WithSeed = true;
    // Replace an existing file; otherwise an existing file is an error and stays untouched.
    bool Replace = false;
};

// Makes the database file. It is built under a temporary name in the same folder and renamed at
// the end, so a failure leaves no half-made database behind and never touches an existing one.
// Raises Exception when the file exists (without Replace), the folder is missing or not
// writable, or a statement fails.
void CreateCompanyDatabase(const std::string& fileName, const CompanyDatabaseOptions& options);

// The SQL texts (UTF-8) the database is made from.
const char* CompanySchemaSql();
const char* CompanySeedSql();

// "Provider=SQLite;Data Source=...;Initial Catalog=<dataSource>;Charset=<codePage>" for the
// file; values are quoted where they need it.
AnsiString CompanyConnectionString(std::string_view fileName, std::string_view dataSource,
                                   CodePage codePage = CP_GB2312);

// A connection-string value, in double quotes (inner quotes doubled) when it holds ';', a quote
// or blanks at its ends.
AnsiString QuoteConnectionValue(std::string_view value);

} // namespace qmx::reference
