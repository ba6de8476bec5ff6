#include "SqlDateTime.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "qmx/Calendar.h"

namespace qmx::platform::detail {
namespace {

// Reads exactly count digits at pos.
bool Digits(std::string_view text, std::size_t& pos, std::size_t count, int& value) {
    if (pos + count > text.size()) return false;
    value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    pos += count;
    return true;
}

} // namespace

std::optional<SqlDateTime> ParseSqlDateTime(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    SqlDateTime value;
    std::size_t pos = 0;
    if (!Digits(text, pos, 4, value.year)) return std::nullopt;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '/' || text[pos] == '.')) {
        const char separator = text[pos++];
        if (!Digits(text, pos, 2, value.month) || pos >= text.size() || text[pos++] != separator ||
            !Digits(text, pos, 2, value.day))
            return std::nullopt;
    } else if (!Digits(text, pos, 2, value.month) || !Digits(text, pos, 2, value.day)) {
        return std::nullopt;
    }
    if (pos < text.size()) {
        if (text[pos] != ' ' && text[pos] != 'T') return std::nullopt;
        ++pos;
        if (!Digits(text, pos, 2, value.hour) || pos >= text.size() || text[pos++] != ':' ||
            !Digits(text, pos, 2, value.minute))
            return std::nullopt;
        if (pos < text.size()) {
            if (text[pos++] != ':' || !Digits(text, pos, 2, value.second)) return std::nullopt;
            if (pos < text.size()) {
                if (text[pos++] != '.' || pos >= text.size()) return std::nullopt;
                int scale = 100;
                for (; pos < text.size(); ++pos) {
                    const char c = text[pos];
                    if (c < '0' || c > '9') return std::nullopt;
                    value.millisecond += (c - '0') * scale;
                    scale /= 10;
                }
            }
        }
    }
    if (value.month < 1 || value.month > 12 || value.day < 1 || value.day > DaysInMonth(value.year, value.month) ||
        value.hour > 23 || value.minute > 59 || value.second > 59)
        return std::nullopt;
    return value;
}

std::string FormatSqlDateTime(const SqlDateTime& value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", value.year, value.month, value.day,
                  value.hour, value.minute, value.second, value.millisecond);
    return buffer;
}

double ToOleDays(const SqlDateTime& value) {
    const auto days = static_cast<double>(
        DayNumberOf(value.year, value.month, value.day));
    const double time =
        ((value.hour * 60.0 + value.minute) * 60.0 + value.second + value.millisecond / 1000.0) / 86400.0;
    // Before 1899-12-30 the fraction still counts forward from midnight: -1.25 is 12-29 06:00.
    return days >= 0 ? days + time : days - time;
}

SqlDateTime FromOleDays(double days) {
    double whole = std::trunc(days);
    auto milliseconds = static_cast<std::int64_t>(std::llround(std::fabs(days - whole) * 86400000.0));
    if (milliseconds >= 86400000) {
        milliseconds -= 86400000;
        whole += days >= 0 ? 1 : -1;
    }
    SqlDateTime value;
    const CivilDate date = CivilDateOf(static_cast<std::int64_t>(whole));
    value.year = static_cast<int>(date.Year);
    value.month = date.Month;
    value.day = date.Day;
    value.millisecond = static_cast<int>(milliseconds % 1000);
    value.second = static_cast<int>(milliseconds / 1000 % 60);
    value.minute = static_cast<int>(milliseconds / 60000 % 60);
    value.hour = static_cast<int>(milliseconds / 3600000);
    return value;
}

SqlDateTime LocalNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    SqlDateTime value;
    value.year = local.tm_year + 1900;
    value.month = local.tm_mon + 1;
    value.day = local.tm_mday;
    value.hour = local.tm_hour;
    value.minute = local.tm_min;
    value.second = local.tm_sec;
    value.millisecond = static_cast<int>(milliseconds < 0 ? milliseconds + 1000 : milliseconds);
    return value;
}

} // namespace qmx::platform::detail
