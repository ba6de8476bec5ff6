// The conversions of Variant, with the original toolkit's rules.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "qmx/Calendar.h"
#include "qmx/CodePage.h"
#include "qmx/Variant.h"

namespace qmx {
namespace {

std::string_view Trim(std::string_view text) {
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

bool ParseInteger(std::string_view text, std::int64_t& out) {
    text = Trim(text);
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
    const std::uint64_t limit = negative ? std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1
                                         : std::uint64_t(std::numeric_limits<std::int64_t>::max());
    if (magnitude > limit) return false;
    out = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

bool ParseFloat(std::string_view text, double& out) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    // Only plain decimal notation: no "inf", "nan" or hexadecimal floats.
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '.')) return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out, std::chars_format::general);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    if (negative) out = -out;
    return true;
}

bool ParseDate(std::string_view text, double& out) {
    text = Trim(text);
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char sep1 = 0, sep2 = 0;
    std::string buffer(text);
    int consumed = 0;
    int fields = std::sscanf(buffer.c_str(), "%4d%c%2d%c%2d%n", &y, &sep1, &mo, &sep2, &d, &consumed);
    if (fields != 5 || sep1 != sep2 || (sep1 != '-' && sep1 != '/')) return false;
    std::string_view rest = std::string_view(buffer).substr(static_cast<std::size_t>(consumed));
    if (!rest.empty()) {
        int timeConsumed = 0;
        std::string restText(rest);
        int timeFields = std::sscanf(restText.c_str(), " %2d:%2d%n:%2d%n", &h, &mi, &timeConsumed, &s, &timeConsumed);
        if (timeFields < 2 || static_cast<std::size_t>(timeConsumed) != restText.size()) return false;
    }
    if (y < 1 || d < 1 || d > DaysInMonth(y, mo)) return false;
    if (h > 23 || mi > 59 || s > 59) return false;
    out = static_cast<double>(DayNumberOf(y, mo, d)) +
          (h * 3600.0 + mi * 60.0 + s) / 86400.0;
    return true;
}

std::string ErrorTextOf(const AnsiString& text) { return ": '" + text + "'"; }

} // namespace

void Variant::CastError(VarType target) const {
    std::string message = std::string("Could not convert variant of type (") + VarTypeName(Type()) +
                          ") into type (" + VarTypeName(target) + ")";
    if (Type() == VarType::String) message += ErrorTextOf(std::get<AnsiString>(value_));
    if (Type() == VarType::OleStr) message += ErrorTextOf(WideToAnsi(std::get<WideString>(value_), SystemAnsiCodePage()));
    throw EVariantTypeCastError(message);
}

bool Variant::AsBoolean() const {
    switch (Type()) {
    case VarType::Empty: return false;
    case VarType::Boolean: return std::get<bool>(value_);
    case VarType::Integer: return std::get<std::int32_t>(value_) != 0;
    case VarType::Int64: return std::get<std::int64_t>(value_) != 0;
    case VarType::Double: return std::get<double>(value_) != 0;
    case VarType::Date: return std::get<DateValue>(value_).Days != 0;
    case VarType::String:
    case VarType::OleStr: {
        const AnsiString text = AsString();
        const auto trimmed = Trim(text);
        if (AnsiSameText(trimmed, "True", CP_WESTERN)) return true;
        if (AnsiSameText(trimmed, "False", CP_WESTERN)) return false;
        double number = 0;
        if (ParseFloat(trimmed, number)) return number != 0;
        break;
    }
    default: break;
    }
    CastError(VarType::Boolean);
}

std::int64_t Variant::AsInt64() const {
    auto fromDouble = [](double value) -> std::int64_t {
        // Banker's rounding, as the toolkit rounds.
        const double rounded = std::nearbyint(value);
        if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0))
            throw EVariantOverflowError(std::string("Variant value out of range for type (Int64): ") + FloatToStr(value));
        return static_cast<std::int64_t>(rounded);
    };
    switch (Type()) {
    case VarType::Empty: return 0;
    case VarType::Boolean: return std::get<bool>(value_) ? -1 : 0;
    case VarType::Integer: return std::get<std::int32_t>(value_);
    case VarType::Int64: return std::get<std::int64_t>(value_);
    case VarType::Double: return fromDouble(std::get<double>(value_));
    case VarType::Date: return fromDouble(std::get<DateValue>(value_).Days);
    case VarType::String:
    case VarType::OleStr: {
        const AnsiString text = AsString();
        std::int64_t number = 0;
        if (ParseInteger(text, number)) return number;
        double real = 0;
        if (ParseFloat(text, real)) return fromDouble(real);
        break;
    }
    default: break;
    }
    CastError(VarType::Int64);
}

std::int32_t Variant::AsInteger() const {
    if (auto* integer = std::get_if<std::int32_t>(&value_)) return *integer;
    std::int64_t value = 0;
    try {
        value = AsInt64();
    } catch (const EVariantTypeCastError&) {
        CastError(VarType::Integer);
    }
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        throw EVariantOverflowError("Variant value out of range for type (Integer): " + std::to_string(value));
    return static_cast<std::int32_t>(value);
}

double Variant::AsDouble() const {
    switch (Type()) {
    case VarType::Empty: return 0;
    case VarType::Boolean: return std::get<bool>(value_) ? -1 : 0;
    case VarType::Integer: return std::get<std::int32_t>(value_);
    case VarType::Int64: return static_cast<double>(std::get<std::int64_t>(value_));
    case VarType::Double: return std::get<double>(value_);
    case VarType::Date: return std::get<DateValue>(value_).Days;
    case VarType::String:
    case VarType::OleStr: {
        const AnsiString text = AsString();
        double number = 0;
        if (ParseFloat(text, number)) return number;
        std::int64_t integer = 0;
        if (ParseInteger(text, integer)) return static_cast<double>(integer);
        break;
    }
    default: break;
    }
    CastError(VarType::Double);
}

double Variant::AsDate() const {
    switch (Type()) {
    case VarType::String:
    case VarType::OleStr: {
        double days = 0;
        if (ParseDate(AsString(), days)) return days;
        CastError(VarType::Date);
    }
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Int64:
    case VarType::Double:
    case VarType::Date: return AsDouble();
    default: CastError(VarType::Date);
    }
}

AnsiString Variant::AsString() const {
    switch (Type()) {
    case VarType::Empty: return {};
    case VarType::Boolean: return std::get<bool>(value_) ? "True" : "False";
    case VarType::Integer: return std::to_string(std::get<std::int32_t>(value_));
    case VarType::Int64: return std::to_string(std::get<std::int64_t>(value_));
    case VarType::Double: return FloatToStr(std::get<double>(value_));
    case VarType::Date: return DateToStr(std::get<DateValue>(value_).Days);
    case VarType::String: return std::get<AnsiString>(value_);
    case VarType::OleStr: return WideToAnsi(std::get<WideString>(value_), SystemAnsiCodePage());
    default: CastError(VarType::String);
    }
}

WideString Variant::AsWideString() const {
    if (auto* wide = std::get_if<WideString>(&value_)) return *wide;
    if (Type() == VarType::String) return AnsiToWide(std::get<AnsiString>(value_), SystemAnsiCodePage());
    try {
        return AnsiToWide(AsString(), CP_WESTERN); // numbers, Booleans and dates are ASCII
    } catch (const EVariantTypeCastError&) {
        CastError(VarType::OleStr);
    }
}

AnsiString VarToStr(const Variant& value) { return value.IsNull() ? AnsiString() : value.AsString(); }
WideString VarToWideStr(const Variant& value) { return value.IsNull() ? WideString() : value.AsWideString(); }

AnsiString FloatToStr(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text(buffer);
    // The toolkit writes exponents without '+' and leading zeros: 1E20, 1.5E-7.
    if (auto e = text.find('E'); e != std::string::npos) {
        std::string mantissa = text.substr(0, e);
        std::string exponent = text.substr(e + 1);
        bool negative = !exponent.empty() && exponent[0] == '-';
        if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) exponent.erase(0, 1);
        exponent.erase(0, std::min(exponent.find_first_not_of('0'), exponent.size() - 1));
        text = mantissa + "E" + (negative ? "-" : "") + exponent;
    }
    if (text == "-0") text = "0";
    return text;
}

AnsiString DateToStr(double days) {
    if (!std::isfinite(days) || std::fabs(days) > 3e6) return FloatToStr(days);
    const double whole = std::trunc(days);
    const CivilDate date = CivilDateOf(static_cast<std::int64_t>(whole));
    char buffer[48];
    const double fraction = std::fabs(days - whole);
    const long seconds = std::lround(fraction * 86400.0);
    if (seconds == 0 || seconds >= 86400)
        std::snprintf(buffer, sizeof buffer, "%04lld/%02d/%02d", static_cast<long long>(date.Year), date.Month, date.Day);
    else
        std::snprintf(buffer, sizeof buffer, "%04lld/%02d/%02d %02ld:%02ld:%02ld", static_cast<long long>(date.Year), date.Month, date.Day,
                      seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buffer;
}

} // namespace qmx
