#pragma once
// Calendar arithmetic behind the date utilities: dates as serial day numbers (days since
// 1899-12-30, the integer part of a date value) and the compact text yyyymmdd. Everything works
// on integers, so a rule evaluation costs no text round trips until the result is written.
// The calendar is the proleptic Gregorian one, years 1..9999 as the platform's date type allows.
#include <cstdint>
#include <optional>
#include <string_view>

#include "qmx/Exception.h"

namespace qmx::compactdate {

struct Ymd {
    int Year = 0;
    int Month = 0;
    int Day = 0;
};

using Serial = std::int32_t;
inline constexpr Serial MinSerial = -693593; // 0001-01-01
inline constexpr Serial MaxSerial = 2958465; // 9999-12-31

bool IsLeapYear(int year);
// 0 when month is outside 1..12.
int DaysInMonth(int year, int month);
// Year 1..9999, month 1..12, day within the month.
bool IsRealDate(int year, int month, int day);

// The caller guarantees a real date.
Serial SerialOf(int year, int month, int day);
// The caller guarantees MinSerial..MaxSerial.
Ymd YmdOf(Serial serial);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(Serial serial);

bool InRange(std::int64_t serial);
// The day of a date value (its integer part); nullopt outside years 1..9999 or for NaN.
std::optional<Serial> SerialOfDate(double date);

// Exactly eight decimal digits forming a real date with non-zero fields.
std::optional<Serial> ParseCompact(std::string_view text);
// yyyymmdd of a serial within range.
AnsiString FormatCompact(Serial serial);
// yyyymm, or yyyymm + dd.
AnsiString FormatYearMonth(int year, int month);

// serial + days; nullopt when the result leaves years 1..9999.
std::optional<Serial> AddDays(Serial serial, std::int64_t days);
// Months added with the day stepped back to the end of a shorter month; nullopt when the target
// year leaves 1..9999.
std::optional<Serial> AddMonths(Serial serial, std::int64_t months);
// Years added; a 29 February that does not exist in the target year leaves the date unchanged.
// nullopt when the target year leaves 1..9999.
std::optional<Serial> AddYears(Serial serial, std::int64_t years);

// An integer as the toolkit reads one: blanks around it, an optional sign, decimal digits, or
// hexadecimal after "$" or "0x"; 32-bit range.
bool ParseInt(std::string_view text, int& out);

} // namespace qmx::compactdate
