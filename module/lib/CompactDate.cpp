#include "CompactDate.h"

#include "qmx/Calendar.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace qmx::compactdate {
namespace {

int DigitsValue(std::string_view text) {
    int value = 0;
    for (char c : text) value = value * 10 + (c - '0');
    return value;
}

void PutDigits(char* out, int value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

} // namespace

bool IsLeapYear(int year) { return qmx::IsLeapYear(year); }

int DaysInMonth(int year, int month) { return qmx::DaysInMonth(year, month); }

bool IsRealDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && day >= 1 && day <= DaysInMonth(year, month);
}

Serial SerialOf(int year, int month, int day) { return static_cast<Serial>(DayNumberOf(year, month, day)); }

Ymd YmdOf(Serial serial) {
    const CivilDate date = CivilDateOf(serial);
    return {static_cast<int>(date.Year), date.Month, date.Day};
}

int DayOfWeek(Serial serial) { return DayOfWeekOf(serial); }

bool InRange(std::int64_t serial) { return serial >= MinSerial && serial <= MaxSerial; }

std::optional<Serial> SerialOfDate(double date) {
    if (std::isnan(date)) return std::nullopt;
    const double day = std::trunc(date);
    if (day < MinSerial || day > MaxSerial) return std::nullopt;
    return static_cast<Serial>(day);
}

std::optional<Serial> ParseCompact(std::string_view text) {
    if (text.size() != 8) return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9') return std::nullopt;
    const int year = DigitsValue(text.substr(0, 4));
    const int month = DigitsValue(text.substr(4, 2));
    const int day = DigitsValue(text.substr(6, 2));
    if (!IsRealDate(year, month, day)) return std::nullopt;
    return SerialOf(year, month, day);
}

AnsiString FormatCompact(Serial serial) {
    const Ymd ymd = YmdOf(serial);
    AnsiString text(8, '0');
    PutDigits(text.data(), ymd.Year, 4);
    PutDigits(text.data() + 4, ymd.Month, 2);
    PutDigits(text.data() + 6, ymd.Day, 2);
    return text;
}

AnsiString FormatYearMonth(int year, int month) {
    AnsiString text(6, '0');
    PutDigits(text.data(), year, 4);
    PutDigits(text.data() + 4, month, 2);
    return text;
}

std::optional<Serial> AddDays(Serial serial, std::int64_t days) {
    const std::int64_t result = std::int64_t(serial) + days;
    if (!InRange(result)) return std::nullopt;
    return static_cast<Serial>(result);
}

std::optional<Serial> AddMonths(Serial serial, std::int64_t months) {
    const Ymd ymd = YmdOf(serial);
    // Months counted from January of year 0; a remainder of 0 is December of the year before.
    const std::int64_t total = std::int64_t(ymd.Year) * 12 + ymd.Month + months;
    std::int64_t year = total / 12;
    std::int64_t month = total % 12;
    if (month <= 0) {
        month += 12;
        --year;
    }
    if (year < 1 || year > 9999) return std::nullopt;
    const int lastDay = DaysInMonth(static_cast<int>(year), static_cast<int>(month));
    const int day = ymd.Day > lastDay ? lastDay : ymd.Day;
    return SerialOf(static_cast<int>(year), static_cast<int>(month), day);
}

std::optional<Serial> AddYears(Serial serial, std::int64_t years) {
    const Ymd ymd = YmdOf(serial);
    const std::int64_t year = ymd.Year + years;
    if (year < 1 || year > 9999) return std::nullopt;
    if (!IsRealDate(static_cast<int>(year), ymd.Month, ymd.Day)) return serial;
    return SerialOf(static_cast<int>(year), ymd.Month, ymd.Day);
}

bool ParseInt(std::string_view text, int& out) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text[0] == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return false;
    std::uint64_t magnitude = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    const std::uint64_t limit = negative ? std::uint64_t(std::numeric_limits<int>::max()) + 1
                                         : std::uint64_t(std::numeric_limits<int>::max());
    if (magnitude > limit) return false;
    out = negative ? static_cast<int>(-static_cast<std::int64_t>(magnitude)) : static_cast<int>(magnitude);
    return true;
}

} // namespace qmx::compactdate
