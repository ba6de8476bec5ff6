#pragma once
// Dates shown to the user in the company's date style, and the compact date text yyyymmdd in
// which every date travels to the application server and the job queue.
//
// A date value is a double counting days since 1899-12-30 (the fraction is the time of day); 0
// means "no date": formatting 0 gives an empty text and parsing failures give 0. Compact dates
// are exactly eight digits, valid from "17530101" to "99991231".
//
// Date styles (Sys001) with the separator sep (Sys002, only its first character is used):
//   1  yyyy sep mm sep dd     year-month  yyyy sep mm
//   2  mm sep dd sep yyyy                 mm sep yyyy
//   3  dd sep mm sep yyyy                 mm sep yyyy
//   4  yy sep mm sep dd       (year - 1911, at least two digits)
//   5  yyy sep mm sep dd      (year - 1911, at least three digits)
// None of these functions raises.
#include <string_view>

#include "qmx/Variant.h"

namespace qmx {

inline constexpr int MinDateStyle = 1;
inline constexpr int MaxDateStyle = 5;

// The date in the style; empty for the date 0, a style outside 1..5 or a date outside years
// 1..9999.
AnsiString FormatStyledDate(int style, std::string_view separator, double date);
// Year and month in the style; empty in the same cases.
AnsiString FormatStyledYearMonth(int style, std::string_view separator, double date);

// Reads three fields in the style's order (each trimmed; not a number counts as -1) and answers
// the first day of the month plus the day count minus one, so 2004/02/31 in style 1 is
// 2004-03-02. 0 for a blank text, a field 0 or below, a style outside 1..5, a month outside
// 1..12, a year outside 1..9999 or a result past 9999-12-31.
double ParseStyledDate(std::string_view text, int style, std::string_view separator);

// The date of a compact date; 0 unless text is eight digits forming a real date.
double YmdToDate(std::string_view text);

// True for the empty text, else for eight digits forming a real date between "17530101" and
// "99991231".
bool IsValidYmd(std::string_view text);

// The compact date moved by amount units: unit "Y", "M" or "D" in either case.
// - "Y": a 29 February that does not exist in the target year leaves the date unchanged.
// - "M": the day steps back to the last day of a shorter month (31 January + 1 = 28/29 February).
// - "D": plain days.
// date is a string (read as a compact date) or a Date variant; any other kind, the date 0, an
// unknown unit or a result outside years 1..9999 gives an empty text.
AnsiString AddToYmd(const Variant& date, std::string_view unit, int amount);
// The same for a date value.
AnsiString AddToYmd(double date, std::string_view unit, int amount);

// 28..31; 0 when month is outside 1..12. Gregorian leap years.
int DaysInMonthOf(int year, int month);

} // namespace qmx
