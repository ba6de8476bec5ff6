#include "lib/LibStrsDates.h"

#include <cstdio>

#include "CompactDate.h"
#include "FieldScan.h"
#include "lib/LibStrsText.h"

namespace qmx {
namespace {

namespace cd = compactdate;

// The year of the Republic-of-China era that styles 4 and 5 write.
constexpr int kEraOffset = 1911;

bool IsStyle(int style) { return style >= MinDateStyle && style <= MaxDateStyle; }

// Only the first character of the separator counts.
std::string_view SeparatorChar(std::string_view separator) {
    if (separator.empty()) return separator;
    return separator.substr(0, CharLengthAt(separator, 0, fieldscan::TextCodePage));
}

std::string_view TrimBlanks(std::string_view text) {
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<cd::Ymd> DecodeForDisplay(int style, double date) {
    if (date == 0 || !IsStyle(style)) return std::nullopt;
    const auto serial = cd::SerialOfDate(date);
    if (!serial) return std::nullopt;
    return cd::YmdOf(*serial);
}

int StyledFieldValue(std::string_view field) {
    int value = 0;
    return cd::ParseInt(TrimBlanks(field), value) ? value : -1;
}

std::optional<cd::Serial> ReadDateVariant(const Variant& date) {
    switch (date.Type()) {
    case VarType::String:
    case VarType::OleStr: return cd::ParseCompact(VarToStr(date));
    case VarType::Date: {
        const double days = date.AsDate();
        if (days == 0) return std::nullopt;
        return cd::SerialOfDate(days);
    }
    default: return std::nullopt;
    }
}

AnsiString AddToSerial(std::optional<cd::Serial> serial, std::string_view unit, int amount) {
    if (!serial || unit.size() != 1) return {};
    std::optional<cd::Serial> result;
    switch (unit[0]) {
    case 'Y':
    case 'y': result = cd::AddYears(*serial, amount); break;
    case 'M':
    case 'm': result = cd::AddMonths(*serial, amount); break;
    case 'D':
    case 'd': result = cd::AddDays(*serial, amount); break;
    default: return {};
    }
    return result ? cd::FormatCompact(*result) : AnsiString();
}

} // namespace

AnsiString FormatStyledDate(int style, std::string_view separator, double date) {
    const auto ymd = DecodeForDisplay(style, date);
    if (!ymd) return {};
    const AnsiString sep(SeparatorChar(separator));
    const char* s = sep.c_str();
    char buffer[64];
    switch (style) {
    case 1: std::snprintf(buffer, sizeof buffer, "%.4d%s%.2d%s%.2d", ymd->Year, s, ymd->Month, s, ymd->Day); break;
    case 2: std::snprintf(buffer, sizeof buffer, "%.2d%s%.2d%s%.4d", ymd->Month, s, ymd->Day, s, ymd->Year); break;
    case 3: std::snprintf(buffer, sizeof buffer, "%.2d%s%.2d%s%.4d", ymd->Day, s, ymd->Month, s, ymd->Year); break;
    case 4:
        std::snprintf(buffer, sizeof buffer, "%.2d%s%.2d%s%.2d", ymd->Year - kEraOffset, s, ymd->Month, s, ymd->Day);
        break;
    default:
        std::snprintf(buffer, sizeof buffer, "%.3d%s%.2d%s%.2d", ymd->Year - kEraOffset, s, ymd->Month, s, ymd->Day);
        break;
    }
    return buffer;
}

AnsiString FormatStyledYearMonth(int style, std::string_view separator, double date) {
    const auto ymd = DecodeForDisplay(style, date);
    if (!ymd) return {};
    const AnsiString sep(SeparatorChar(separator));
    const char* s = sep.c_str();
    char buffer[64];
    switch (style) {
    case 1: std::snprintf(buffer, sizeof buffer, "%.4d%s%.2d", ymd->Year, s, ymd->Month); break;
    case 2:
    case 3: std::snprintf(buffer, sizeof buffer, "%.2d%s%.4d", ymd->Month, s, ymd->Year); break;
    case 4: std::snprintf(buffer, sizeof buffer, "%.2d%s%.2d", ymd->Year - kEraOffset, s, ymd->Month); break;
    default: std::snprintf(buffer, sizeof buffer, "%.3d%s%.2d", ymd->Year - kEraOffset, s, ymd->Month); break;
    }
    return buffer;
}

double ParseStyledDate(std::string_view text, int style, std::string_view separator) {
    if (TrimBlanks(text).empty()) return 0;
    const std::string_view sep = SeparatorChar(separator);
    AnsiString rest(text);
    const int f1 = StyledFieldValue(SplitHead(rest, sep));
    const int f2 = StyledFieldValue(SplitHead(rest, sep));
    const int f3 = StyledFieldValue(SplitHead(rest, sep));
    if (f1 <= 0 || f2 <= 0 || f3 <= 0 || !IsStyle(style)) return 0;
    std::int64_t year = 0;
    int month = 0;
    int day = 0;
    switch (style) {
    case 1: year = f1, month = f2, day = f3; break;
    case 2: year = f3, month = f1, day = f2; break;
    case 3: year = f3, month = f2, day = f1; break;
    default: year = std::int64_t(f1) + kEraOffset, month = f2, day = f3; break;
    }
    if (month < 1 || month > 12 || year < 1 || year > 9999) return 0;
    // The day is not checked against the month: it counts on from the first of the month.
    const auto serial = cd::AddDays(cd::SerialOf(static_cast<int>(year), month, 1), std::int64_t(day) - 1);
    return serial ? static_cast<double>(*serial) : 0;
}

double YmdToDate(std::string_view text) {
    const auto serial = cd::ParseCompact(text);
    return serial ? static_cast<double>(*serial) : 0;
}

bool IsValidYmd(std::string_view text) {
    if (text.empty()) return true;
    return cd::ParseCompact(text).has_value() && text >= "17530101" && text <= "99991231";
}

AnsiString AddToYmd(const Variant& date, std::string_view unit, int amount) {
    return AddToSerial(ReadDateVariant(date), unit, amount);
}

AnsiString AddToYmd(double date, std::string_view unit, int amount) {
    return AddToSerial(date == 0 ? std::nullopt : cd::SerialOfDate(date), unit, amount);
}

int DaysInMonthOf(int year, int month) { return cd::DaysInMonth(year, month); }

} // namespace qmx
