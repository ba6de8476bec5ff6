#pragma once
// Date-times of the database layer: SQLite has no date type, so they travel as texts
// "YYYY-MM-DD HH:MM:SS.ZZZ" (GETDATE, bound date parameters, CONVERT to DATETIME), which sort
// and compare correctly as texts.
#include <optional>
#include <string>
#include <string_view>

namespace qmx::platform::detail {

struct SqlDateTime {
    int year = 1900, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// "YYYY-MM-DD", "YYYY/MM/DD", "YYYY.MM.DD" or "YYYYMMDD", optionally followed by a blank or 'T'
// and "HH:MM", "HH:MM:SS" or "HH:MM:SS.fff" (more digits are cut to milliseconds); blanks
// around are ignored. None for anything else or an impossible date or time.
std::optional<SqlDateTime> ParseSqlDateTime(std::string_view text);

// "YYYY-MM-DD HH:MM:SS.ZZZ".
std::string FormatSqlDateTime(const SqlDateTime& value);

// Days since 1899-12-30 with the time as fraction (the Variant date), and back (rounded to the
// millisecond).
double ToOleDays(const SqlDateTime& value);
SqlDateTime FromOleDays(double days);

SqlDateTime LocalNow();

} // namespace qmx::platform::detail
