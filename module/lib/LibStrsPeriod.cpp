#include "lib/LibStrsPeriod.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "CompactDate.h"
#include "FieldScan.h"
#include "lib/LibStrsDates.h"
#include "lib/LibStrsText.h"

namespace qmx {
namespace {

namespace cd = compactdate;
using cd::Serial;

// A number in a rule that cannot be read; ends the evaluation of the whole rule or list.
struct BadRuleNumber {};

int ReadNumber(std::string_view text) {
    int value = 0;
    if (!cd::ParseInt(text, value)) throw BadRuleNumber{};
    return value;
}

int ReadNumberOf(const Variant& value) {
    switch (value.Type()) {
    case VarType::Integer:
    case VarType::Int64:
    case VarType::Boolean: return value.AsInteger();
    default: return ReadNumber(std::string_view(VarToStr(value)));
    }
}

// yyyymmdd, or empty for a date that could not be computed.
AnsiString CompactOrEmpty(std::optional<Serial> serial) { return serial ? cd::FormatCompact(*serial) : AnsiString(); }

std::optional<Serial> WeekEdge(Serial base, std::int64_t weeks, bool sunday) {
    const auto t = cd::AddDays(base, weeks * 7);
    if (!t) return std::nullopt;
    return cd::AddDays(*t, (sunday ? 1 : 7) - cd::DayOfWeek(*t));
}

// ShiftRelativeDate; raises BadRuleNumber for an unreadable amount or days.
AnsiString Shift(std::string_view base, std::string_view amountText, std::string_view unit,
                 std::string_view mode, std::string_view daysText) {
    const int amount = ReadNumber(amountText);
    if (base.size() <= 6) {
        AnsiString firstDay(base);
        firstDay += "01";
        const auto start = cd::ParseCompact(firstDay);
        if (!start) return {};
        return CompactOrEmpty(cd::AddMonths(*start, amount)).substr(0, 6);
    }
    const bool weeks = unit == "0";
    const int days = mode == "0" ? ReadNumber(daysText) : 0;
    const auto serial = cd::ParseCompact(base);
    if (!serial) return {};
    if (weeks) {
        if (mode == "0") return CompactOrEmpty(cd::AddDays(*serial, std::int64_t(amount) * 7 + days));
        return CompactOrEmpty(WeekEdge(*serial, amount, mode == "1"));
    }
    const auto moved = cd::AddMonths(*serial, amount);
    if (!moved) return {};
    const cd::Ymd ymd = cd::YmdOf(*moved);
    if (mode == "0") return CompactOrEmpty(cd::AddDays(*moved, days));
    if (mode == "1") return CompactOrEmpty(cd::SerialOf(ymd.Year, ymd.Month, 1));
    if (mode == "2") return CompactOrEmpty(cd::SerialOf(ymd.Year, ymd.Month, cd::DaysInMonth(ymd.Year, ymd.Month)));
    return CompactOrEmpty(moved);
}

AnsiString FirstWeekly(Serial start, const Variant& params) {
    const int every = std::max(ReadNumberOf(params[0]), 1);
    const int weekdayIndex = ReadNumberOf(params[1]);
    if (weekdayIndex < 0 || weekdayIndex > 6) return {};
    const int weekday = weekdayIndex + 1;
    const int startWeekday = cd::DayOfWeek(start);
    // Still ahead in the start week: that week counts as the first of the N.
    const std::int64_t weeks = weekday >= startWeekday ? every - 1 : every;
    const auto t = cd::AddDays(start, weeks * 7);
    if (!t) return {};
    return CompactOrEmpty(cd::AddDays(*t, weekday - cd::DayOfWeek(*t)));
}

AnsiString FirstMonthlyOnDay(Serial start, const Variant& params) {
    const int every = std::max(ReadNumberOf(params[1]), 1);
    const int day = ReadNumberOf(params[2]);
    const auto t = cd::AddMonths(start, day >= cd::YmdOf(start).Day ? every - 1 : every);
    if (!t) return {};
    const cd::Ymd ymd = cd::YmdOf(*t);
    const AnsiString yearMonth = cd::FormatYearMonth(ymd.Year, ymd.Month);
    char dayText[16];
    std::snprintf(dayText, sizeof dayText, "%.2d", day);
    AnsiString candidate = yearMonth + dayText;
    if (IsValidYmd(candidate)) return candidate;
    // The day does not exist in that month: its last day instead.
    std::snprintf(dayText, sizeof dayText, "%.2d", cd::DaysInMonth(ymd.Year, ymd.Month));
    return yearMonth + dayText;
}

std::optional<Serial> NthWeekdayOfMonth(int year, int month, int ordinal, int weekday) {
    if (ordinal == 4) {
        const Serial last = cd::SerialOf(year, month, cd::DaysInMonth(year, month));
        const int e = cd::DayOfWeek(last) - weekday;
        return last - (e >= 0 ? e : e + 7);
    }
    const Serial first = cd::SerialOf(year, month, 1);
    const int o = weekday - cd::DayOfWeek(first);
    return first + o + 7 * (o >= 0 ? ordinal : ordinal + 1);
}

AnsiString FirstMonthlyOnWeekday(Serial start, const Variant& params) {
    const int every = std::max(ReadNumberOf(params[1]), 1);
    const int ordinal = ReadNumberOf(params[2]);
    const int weekdayIndex = ReadNumberOf(params[3]);
    if (ordinal < 0 || ordinal > 4 || weekdayIndex < 0 || weekdayIndex > 6) return {};
    // In the start month when the day is still ahead, else in the month after: two tries at most.
    for (int months : {every - 1, every}) {
        const auto t = cd::AddMonths(start, months);
        if (!t) return {};
        const cd::Ymd ymd = cd::YmdOf(*t);
        const auto result = NthWeekdayOfMonth(ymd.Year, ymd.Month, ordinal, weekdayIndex + 1);
        if (result && *result >= start) return CompactOrEmpty(result);
    }
    return {};
}

// The value of a shifted date condition: the base itself for a shift of all zeros.
AnsiString ShiftedValue(std::string_view base, std::string_view amount, std::string_view unit,
                        std::string_view mode, std::string_view days) {
    if (amount == "0" && mode == "0" && days == "0") return AnsiString(base);
    return Shift(base, amount, unit, mode, days);
}

void ApplyRule(Variant& conditions, std::string_view rule, std::string_view runDate) {
    std::array<std::string_view, 15> field{}; // field[1..14]; missing fields stay empty
    std::size_t count = 0;
    fieldscan::ForEachField(rule, FieldSeparatorText, [&](std::string_view value) {
        field[++count] = value;
        return count < 14;
    });
    const bool range = field[1] == "0";
    const std::string_view base = field[range ? 13 : 8] == "D" ? runDate : runDate.substr(0, 6);
    const int index = ReadNumber(field[range ? 14 : 9]);
    if (!range) {
        if (field[3] == "Y") conditions[index] = ShiftedValue(base, field[4], field[5], field[6], field[7]);
        return;
    }
    Variant bounds = std::move(conditions[index]);
    if (field[3] == "Y") bounds[1] = ShiftedValue(base, field[4], field[5], field[6], field[7]);
    if (field[8] == "Y") bounds[2] = ShiftedValue(base, field[9], field[10], field[11], field[12]);
    conditions[index] = std::move(bounds);
}

} // namespace

AnsiString FirstPeriodRunDate(std::string_view startDate, const Variant& periodRule) {
    try {
        const int kind = ReadNumberOf(periodRule[0]);
        if (kind == 0) return AnsiString(startDate);
        if (kind != 1 && kind != 2) return {};
        const auto start = cd::ParseCompact(startDate);
        if (!start) return {};
        const Variant& params = periodRule[1];
        if (kind == 1) return FirstWeekly(*start, params);
        switch (ReadNumberOf(params[0])) {
        case 0: return FirstMonthlyOnDay(*start, params);
        case 1: return FirstMonthlyOnWeekday(*start, params);
        default: return {};
        }
    } catch (const BadRuleNumber&) {
        return {};
    } catch (const Exception&) {
        return {};
    }
}

AnsiString ShiftRelativeDate(std::string_view base, std::string_view amount, std::string_view unit,
                             std::string_view mode, std::string_view days) {
    try {
        return Shift(base, amount, unit, mode, days);
    } catch (const BadRuleNumber&) {
        return {};
    }
}

AnsiString WeekEdgeDate(std::string_view base, int weeks, std::string_view edge) {
    const auto serial = cd::ParseCompact(base);
    if (!serial) return {};
    return CompactOrEmpty(WeekEdge(*serial, weeks, edge == "1"));
}

Variant ApplyRelativeDateRules(const Variant& jobParts, std::string_view runDate) {
    try {
        Variant conditions = jobParts[1];
        const Variant& rules = jobParts[3];
        const int count = ReadNumberOf(rules[0]);
        for (int i = 1; i <= count; ++i) ApplyRule(conditions, VarToStr(rules[i]), runDate);
        return conditions;
    } catch (const BadRuleNumber&) {
        return Variant(AnsiString());
    } catch (const Exception&) {
        return Variant(AnsiString());
    }
}

} // namespace qmx
