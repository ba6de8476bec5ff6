#pragma once
// SQL Server's dialect on the embedded engine. The module's statements are written for SQL
// Server; the SQLite provider rewrites them token by token (text inside quotes and comments is
// never touched) and registers the functions SQLite lacks.
//
// Supported:
//   ISNULL(a, b)                      IFNULL
//   GETDATE(), CURRENT_TIMESTAMP      local date-time as text "YYYY-MM-DD HH:MM:SS.ZZZ"
//   CONVERT(type, x [, style])        CHAR(n)/NCHAR(n) (padded with blanks), VARCHAR(n)/NVARCHAR(n)/
//   CAST(x AS type)                   (MAX), TEXT, BIGINT/INT/SMALLINT/TINYINT/BIT (range-checked,
//                                     bad text raises "Conversion failed..."), DECIMAL/NUMERIC(p,s),
//                                     MONEY, FLOAT/REAL, DATETIME/SMALLDATETIME/DATETIME2/DATE;
//                                     date styles 23, 102, 108, 111, 112, 114, 120, 121, 126.
//                                     Lengths count characters. An integer too long for CHAR(n)
//                                     gives "*", as SQL Server does.
//   a + b                             SQL Server's rule at run time: two texts concatenate, a text
//                                     and a number add (the text read as a number; a date text plus
//                                     a number adds days), NULL gives NULL
//   LEN, SUBSTRING, LEFT, RIGHT,      SQL Server's semantics (LEN ignores trailing blanks,
//   CHARINDEX, REPLICATE, SPACE       positions from 1, characters not bytes)
//   UPPER, LOWER, LTRIM, RTRIM,       SQLite's own (same results for these uses; UPPER folds ASCII)
//   REPLACE, COALESCE, MAX, ...
//   db..table, db.dbo.table,          table, when db is the connection's company database (without
//   dbo.table                         regard to case); another database raises EDatabaseError
//   SELECT [DISTINCT] TOP n / TOP (n) LIMIT n at the end of that SELECT; TOP with PERCENT or WITH
//                                     TIES, TOP in UNION, UPDATE/DELETE TOP raise EDatabaseError
//   N'text'                           'text'
//   WITH (NOLOCK) and other hints     dropped
//   :NAME, @NAME parameters           bound by name, never spliced into the text
// Not supported (SQLite answers with its own error or semantics): comparisons are binary, not
// case-insensitive like SQL Server's default collation (declare columns COLLATE NOCASE where it
// matters); other date functions (DATEADD, DATEDIFF...); T-SQL statements (DECLARE, IF, EXEC).
#include <string>
#include <string_view>
#include <vector>

#include "qmx/Exception.h"
#include "qmx/platform/DatabaseError.h"

namespace qmx::platform {

class SqlDialect {
public:
    // databaseName: the company database that db..table may name (UTF-8); "" accepts none.
    explicit SqlDialect(std::string databaseName = {});

    const std::string& DatabaseName() const { return databaseName_; }

    // The statement(s) in SQLite's dialect. Both texts are UTF-8. Raises EDatabaseError for a
    // construct that cannot be translated (another database, unsupported TOP, bad CONVERT type).
    std::string Translate(std::string_view sql) const;

    // The names of the :NAME and @NAME parameters (without the prefix), in order of first use,
    // each once (names match without regard to case).
    static std::vector<std::string> ParameterNames(std::string_view sql);

private:
    std::string databaseName_;
};

// The text as an SQL string literal: in single quotes, with every quote doubled. Safe for GBK
// and BIG5 bytes: a quote (0x27) is never a trail byte. Use it for every outside value that is
// written into an SQL text; parameters are better still.
AnsiString QuotedStr(std::string_view text);

} // namespace qmx::platform
