#pragma once
// Date arithmetic for scheduled jobs: the first run date of a periodic job, and the date
// conditions of a job moved relative to each run date (relative date rules).
//
// Period rule: a Variant array [0..1]; [0] the kind, [1] its parameters:
//   0 every N days       [1] = N
//   1 every N weeks      [1] = [N, weekday index 0..6 (0 Sunday)]
//   2 every N months     [1] = [0, N, day of month]                     (day form)
//                        [1] = [1, N, ordinal 0..4 (4 = last), weekday]  (weekday form)
//   3 every N hours      [1] = N as a floating value
// Numbers may be texts or numbers.
//
// Relative date rule: a text record of fields separated by #3 (see LibStrsText.h):
//   single date (field 1 not "0"): 2 control, 3 "Y" moved, 4-7 shift, 8 "D" full date else
//                                  year-month, 9 index in the condition array
//   date range  (field 1 = "0"):   2 control, 3 "Y" begin moved, 4-7 begin shift, 8 "Y" end
//                                  moved, 9-12 end shift, 13 "D"/year-month, 14 index
// A shift is amount (signed), unit ("0" weeks, "1" months), mode ("0" add days, "1" first day,
// "2" last day), days (signed); amount, mode and days all "0" stand for the reference date.
#include <string_view>

#include "qmx/Variant.h"

namespace qmx {

// The first day on or after startDate (a compact date) on which the periodic job runs, as a
// compact date. The start date itself for kind 0; empty for kind 3 (hours), unknown kinds, an
// unreadable rule or start date, and a result outside years 1..9999. N below 1 counts as 1; a
// weekday index outside 0..6 or an ordinal outside 0..4 gives an empty text.
AnsiString FirstPeriodRunDate(std::string_view startDate, const Variant& periodRule);

// base moved by one shift. A base of six characters or fewer is a year-month: it moves by amount
// months and the rest of the shift is ignored. Otherwise weeks: mode "0" adds amount weeks and
// days, mode "1" goes to the Sunday and any other mode to the Saturday of the week amount weeks
// on; months: the day steps back in a shorter month, then mode "0" adds days, "1" goes to the
// first and "2" to the last day of the month. Empty for an unreadable number or date.
AnsiString ShiftRelativeDate(std::string_view base, std::string_view amount, std::string_view unit,
                             std::string_view mode, std::string_view days);

// The Sunday (edge "1") or Saturday (any other edge) of the week weeks weeks after base (a
// compact date); weeks run Sunday to Saturday. Empty for an unreadable date.
AnsiString WeekEdgeDate(std::string_view base, int weeks, std::string_view edge);

// jobParts is [1..3]: [1] the job's condition array, [2] untouched, [3] the rule list (element 0
// the count n, elements 1..n rule texts). Answers a copy of the condition array with the rules
// applied in order against runDate (a compact date); on any error (a rule whose index is not a
// number or outside the array, a range condition that is not an array, a malformed list) an
// empty text.
Variant ApplyRelativeDateRules(const Variant& jobParts, std::string_view runDate);

} // namespace qmx
