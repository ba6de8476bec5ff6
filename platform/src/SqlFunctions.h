#pragma once
// SQL Server's functions for the embedded engine, registered on every connection it opens, and
// the data types CONVERT and CAST accept (see SqlDialect.h for the list).
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;

namespace qmx::platform::detail {

struct SqlType {
    enum Kind { FixedText, Text, Integer, Bit, Decimal, Float, DateTime, Date };
    Kind kind = Text;
    std::string name;      // upper case, without length: "CHAR", "BIGINT"
    long long length = -1; // characters for texts (-1: MAX or none); precision for DECIMAL
    int scale = 0;         // DECIMAL's scale
};

// "CHAR(14)", "varchar(max)", "BIGINT", "DECIMAL(10,2)"... (blanks allowed); none when the type
// is not supported. A text type without length has 30 characters, as in SQL Server's CONVERT.
std::optional<SqlType> ParseSqlType(std::string_view text);

// Raises EDatabaseError when the engine refuses a registration.
void RegisterSqlFunctions(sqlite3* db);

} // namespace qmx::platform::detail
