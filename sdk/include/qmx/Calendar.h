#pragma once
// The calendar behind date values: days since 1899-12-30 (the integer part of a Variant date),
// proleptic Gregorian. One implementation for the Variant, the database layer and the module's
// date utilities.
#include <cstdint>

namespace qmx {

struct CivilDate {
    std::int64_t Year = 0;
    int Month = 0;
    int Day = 0;
};

constexpr bool IsLeapYear(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// 0 when month is outside 1..12.
constexpr int DaysInMonth(std::int64_t year, int month) {
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Day number of a civil date (month 1..12, day 1..31; not checked). H. Hinnant's algorithm.
constexpr std::int64_t DayNumberOf(std::int64_t year, int month, int day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yoe = year - era * 400;
    const std::int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + 25569; // 25569: 1899-12-30 to 1970-01-01
}

constexpr CivilDate CivilDateOf(std::int64_t dayNumber) {
    const std::int64_t z = dayNumber - 25569 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (month <= 2), month, day};
}

// 1 = Sunday ... 7 = Saturday (day 1, 1899-12-31, was a Sunday).
constexpr int DayOfWeekOf(std::int64_t dayNumber) { return static_cast<int>(((dayNumber - 1) % 7 + 7) % 7) + 1; }

static_assert(DayNumberOf(1899, 12, 30) == 0);
static_assert(DayNumberOf(2024, 1, 1) == 45292);
static_assert(CivilDateOf(45292).Year == 2024 && CivilDateOf(45292).Month == 1 && CivilDateOf(45292).Day == 1);
static_assert(DayOfWeekOf(45292) == 2); // a Monday

} // namespace qmx
