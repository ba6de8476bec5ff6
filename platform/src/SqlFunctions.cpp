#include "SqlFunctions.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <sqlite3.h>

#include "SqlDateTime.h"
#include "qmx/platform/DatabaseError.h"

namespace qmx::platform::detail {
namespace {

// ---- texts ---------------------------------------------------------------------------------

std::string_view ValueText(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    if (!text) return {};
    return {text, static_cast<std::size_t>(sqlite3_value_bytes(value))};
}

bool IsTextual(sqlite3_value* value) {
    const int type = sqlite3_value_type(value);
    return type == SQLITE_TEXT || type == SQLITE_BLOB;
}

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

long long CharCount(std::string_view text) {
    long long count = 0;
    for (char c : text)
        if (!IsContinuation(c)) ++count;
    return count;
}

// Byte offset of character index (from 0); the size when the text is shorter.
std::size_t CharOffset(std::string_view text, long long index) {
    if (index <= 0) return 0;
    long long seen = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (IsContinuation(text[pos])) continue;
        if (seen++ == index) return pos;
    }
    return text.size();
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Upper(std::string_view text) {
    std::string result;
    for (char c : text)
        if (c != ' ') result += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    return result;
}

std::string FormatDouble(double value) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

void SetText(sqlite3_context* context, const std::string& text) {
    sqlite3_result_text(context, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void SetError(sqlite3_context* context, const std::string& message) {
    sqlite3_result_error(context, message.c_str(), static_cast<int>(message.size()));
}

std::string ConversionFailed(std::string_view text, std::string_view type) {
    return "Conversion failed when converting the varchar value '" + std::string(text) + "' to data type " +
           std::string(type) + ".";
}

// ---- numbers -------------------------------------------------------------------------------

// [+-]digits, blanks around allowed; "" reads 0, as SQL Server reads it.
bool ParseInteger(std::string_view text, std::int64_t& out) {
    text = Trimmed(text);
    if (text.empty()) {
        out = 0;
        return true;
    }
    if (text.front() == '+') text.remove_prefix(1);
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ParseDouble(std::string_view text, double& out) {
    text = Trimmed(text);
    if (text.empty()) {
        out = 0;
        return true;
    }
    if (text.front() == '+') text.remove_prefix(1);
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && std::isfinite(out);
}

// A number from a text as SQL Server reads it for arithmetic: integer when it is one.
enum class NumberKind { None, Integer, Real };
NumberKind ParseNumber(std::string_view text, std::int64_t& integer, double& real) {
    if (ParseInteger(text, integer)) return NumberKind::Integer;
    if (ParseDouble(text, real)) return NumberKind::Real;
    return NumberKind::None;
}

bool IntegerRange(const std::string& name, std::int64_t& low, std::int64_t& high) {
    if (name == "TINYINT") {
        low = 0;
        high = 255;
    } else if (name == "SMALLINT") {
        low = -32768;
        high = 32767;
    } else if (name == "INT" || name == "INTEGER") {
        low = std::numeric_limits<std::int32_t>::min();
        high = std::numeric_limits<std::int32_t>::max();
    } else {
        low = std::numeric_limits<std::int64_t>::min();
        high = std::numeric_limits<std::int64_t>::max();
    }
    return true;
}

std::string Overflow(const std::string& type) {
    std::string lower;
    for (char c : type)
        lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return "Arithmetic overflow error converting expression to data type " + lower + ".";
}

// ---- dates ---------------------------------------------------------------------------------

// The text of a date-time in one of SQL Server's CONVERT styles; none for a style not supported.
std::optional<std::string> FormatDateStyle(const SqlDateTime& value, int style) {
    const std::string full = FormatSqlDateTime(value); // YYYY-MM-DD HH:MM:SS.ZZZ
    const std::string date = full.substr(0, 10);
    std::string withSeparator;
    switch (style) {
    case 23: return date;
    case 102:
    case 111:
        withSeparator = date;
        for (char& c : withSeparator)
            if (c == '-') c = style == 102 ? '.' : '/';
        return withSeparator;
    case 112: return date.substr(0, 4) + date.substr(5, 2) + date.substr(8, 2);
    case 108: return full.substr(11, 8);
    case 114: return full.substr(11, 8) + ":" + full.substr(20, 3);
    case 120: return full.substr(0, 19);
    case 121: return full;
    case 126: return date + "T" + full.substr(11);
    default: return std::nullopt;
    }
}

// SQL Server's number-to-date rule: days since 1900-01-01.
SqlDateTime DateFromNumber(double days) { return FromOleDays(days + 2); }

// ---- CONVERT and CAST ----------------------------------------------------------------------

void ConvertToText(sqlite3_context* context, const SqlType& type, sqlite3_value* value, std::optional<int> style) {
    std::string text;
    bool fromInteger = false;
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        text = std::to_string(sqlite3_value_int64(value));
        fromInteger = true;
        break;
    case SQLITE_FLOAT: text = FormatDouble(sqlite3_value_double(value)); break;
    default:
        text = std::string(ValueText(value));
        if (style) {
            // A style applies to date-times only; other texts keep their text, as in SQL Server.
            if (const auto date = ParseSqlDateTime(text)) {
                const auto formatted = FormatDateStyle(*date, *style);
                if (!formatted)
                    return SetError(context, "CONVERT: the date style " + std::to_string(*style) + " is not supported");
                text = *formatted;
            }
        }
    }
    const long long count = CharCount(text);
    if (type.length >= 0 && count > type.length)
        text = fromInteger ? std::string("*") : text.substr(0, CharOffset(text, type.length));
    if (type.kind == SqlType::FixedText && type.length >= 0) {
        const long long now = CharCount(text);
        if (now < type.length) text.append(static_cast<std::size_t>(type.length - now), ' ');
    }
    SetText(context, text);
}

void ConvertToInteger(sqlite3_context* context, const SqlType& type, sqlite3_value* value) {
    std::int64_t result = 0;
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER: result = sqlite3_value_int64(value); break;
    case SQLITE_FLOAT: {
        const double real = std::trunc(sqlite3_value_double(value));
        if (!std::isfinite(real) || real >= 9223372036854775807.0 || real < -9223372036854775807.0)
            return SetError(context, Overflow(type.name));
        result = static_cast<std::int64_t>(real);
        break;
    }
    default: {
        const std::string_view text = ValueText(value);
        const std::string upper = Upper(text);
        if (type.kind == SqlType::Bit && (upper == "TRUE" || upper == "FALSE")) {
            result = upper == "TRUE";
        } else if (!ParseInteger(text, result)) {
            return SetError(context, ConversionFailed(text, type.kind == SqlType::Bit ? "bit" : "int"));
        }
    }
    }
    if (type.kind == SqlType::Bit) {
        sqlite3_result_int64(context, result != 0);
        return;
    }
    std::int64_t low, high;
    IntegerRange(type.name, low, high);
    if (result < low || result > high) return SetError(context, Overflow(type.name));
    sqlite3_result_int64(context, result);
}

bool NumberOf(sqlite3_value* value, double& real) {
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: real = sqlite3_value_double(value); return true;
    default: return ParseDouble(ValueText(value), real);
    }
}

void ConvertToDecimal(sqlite3_context* context, const SqlType& type, sqlite3_value* value) {
    if (type.kind == SqlType::Decimal && type.scale == 0 && sqlite3_value_type(value) == SQLITE_INTEGER) {
        sqlite3_result_int64(context, sqlite3_value_int64(value));
        return;
    }
    double real = 0;
    if (!NumberOf(value, real))
        return SetError(context, "Error converting data type varchar to " +
                                     std::string(type.kind == SqlType::Float ? "float" : "numeric") + ".");
    if (type.kind == SqlType::Float) {
        sqlite3_result_double(context, real);
        return;
    }
    if (type.scale == 0) {
        const double rounded = std::round(real);
        if (rounded >= 9223372036854775807.0 || rounded < -9223372036854775807.0)
            return SetError(context, Overflow("numeric"));
        sqlite3_result_int64(context, static_cast<std::int64_t>(rounded));
        return;
    }
    const double factor = std::pow(10.0, type.scale);
    sqlite3_result_double(context, std::round(real * factor) / factor);
}

void ConvertToDate(sqlite3_context* context, const SqlType& type, sqlite3_value* value) {
    std::optional<SqlDateTime> date;
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: date = DateFromNumber(sqlite3_value_double(value)); break;
    default: date = ParseSqlDateTime(ValueText(value));
    }
    if (!date) return SetError(context, "Conversion failed when converting date and/or time from character string.");
    const std::string text = FormatSqlDateTime(*date);
    SetText(context, type.kind == SqlType::Date ? text.substr(0, 10) : text);
}

// QMX_CONVERT(type text, value [, style]): what CONVERT and CAST are rewritten to.
void ConvertFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    const std::string_view typeText = ValueText(argv[0]);
    const std::optional<SqlType> type = ParseSqlType(typeText);
    if (!type) return SetError(context, "CONVERT: the data type '" + std::string(typeText) + "' is not supported");
    sqlite3_value* value = argv[1];
    if (sqlite3_value_type(value) == SQLITE_NULL) return sqlite3_result_null(context);
    std::optional<int> style;
    if (argc > 2 && sqlite3_value_type(argv[2]) != SQLITE_NULL) style = sqlite3_value_int(argv[2]);
    switch (type->kind) {
    case SqlType::FixedText:
    case SqlType::Text: return ConvertToText(context, *type, value, style);
    case SqlType::Integer:
    case SqlType::Bit: return ConvertToInteger(context, *type, value);
    case SqlType::Decimal:
    case SqlType::Float: return ConvertToDecimal(context, *type, value);
    case SqlType::DateTime:
    case SqlType::Date: return ConvertToDate(context, *type, value);
    }
}

// ---- + -------------------------------------------------------------------------------------

void AddNumbers(sqlite3_context* context, NumberKind kindA, std::int64_t intA, double realA, NumberKind kindB,
                std::int64_t intB, double realB) {
    if (kindA == NumberKind::Integer && kindB == NumberKind::Integer) {
        std::int64_t sum;
        if (__builtin_add_overflow(intA, intB, &sum)) return SetError(context, Overflow("bigint"));
        sqlite3_result_int64(context, sum);
        return;
    }
    const double a = kindA == NumberKind::Integer ? static_cast<double>(intA) : realA;
    const double b = kindB == NumberKind::Integer ? static_cast<double>(intB) : realB;
    sqlite3_result_double(context, a + b);
}

NumberKind NumberOfValue(sqlite3_value* value, std::int64_t& integer, double& real) {
    if (sqlite3_value_type(value) == SQLITE_INTEGER) {
        integer = sqlite3_value_int64(value);
        return NumberKind::Integer;
    }
    real = sqlite3_value_double(value);
    return NumberKind::Real;
}

// QMX_PLUS(a, b): SQL Server's + decided by the values' types at run time.
void PlusFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    sqlite3_value* a = argv[0];
    sqlite3_value* b = argv[1];
    if (sqlite3_value_type(a) == SQLITE_NULL || sqlite3_value_type(b) == SQLITE_NULL)
        return sqlite3_result_null(context);
    const bool textA = IsTextual(a), textB = IsTextual(b);
    if (textA && textB) {
        std::string joined(ValueText(a));
        joined += ValueText(b);
        return SetText(context, joined);
    }
    std::int64_t intA = 0, intB = 0;
    double realA = 0, realB = 0;
    NumberKind kindA, kindB;
    if (!textA && !textB) {
        kindA = NumberOfValue(a, intA, realA);
        kindB = NumberOfValue(b, intB, realB);
        return AddNumbers(context, kindA, intA, realA, kindB, intB, realB);
    }
    // A text and a number: the text is read as a number, or as a date-time to add days to.
    sqlite3_value* textValue = textA ? a : b;
    sqlite3_value* number = textA ? b : a;
    const std::string_view text = ValueText(textValue);
    std::int64_t textInteger = 0, numberInteger = 0;
    double textReal = 0, numberReal = 0;
    const NumberKind textKind = ParseNumber(text, textInteger, textReal);
    const NumberKind numberKind = NumberOfValue(number, numberInteger, numberReal);
    if (textKind != NumberKind::None)
        return AddNumbers(context, textKind, textInteger, textReal, numberKind, numberInteger, numberReal);
    if (const auto date = ParseSqlDateTime(text)) {
        const double days = numberKind == NumberKind::Integer ? static_cast<double>(numberInteger) : numberReal;
        return SetText(context, FormatSqlDateTime(FromOleDays(ToOleDays(*date) + days)));
    }
    SetError(context, ConversionFailed(text, numberKind == NumberKind::Integer ? "int" : "float"));
}

// ---- string functions ----------------------------------------------------------------------

bool AnyNull(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
    return false;
}

void LenFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(context);
    std::string_view text = ValueText(argv[0]);
    const std::size_t last = text.find_last_not_of(' ');
    text = last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
    sqlite3_result_int64(context, CharCount(text));
}

// Characters [first, first + count) of the text, positions from 1, clipped to the text.
std::string Characters(std::string_view text, long long first, long long count) {
    const long long last = first > 0 && count > std::numeric_limits<long long>::max() - first
                               ? std::numeric_limits<long long>::max()
                               : first + count; // exclusive
    if (first < 1) first = 1;
    if (last <= first) return {};
    const std::size_t begin = CharOffset(text, first - 1);
    const std::size_t end = CharOffset(text, last - 1);
    return std::string(text.substr(begin, end - begin));
}

void SubstringFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(context);
    const long long start = sqlite3_value_int64(argv[1]);
    const long long length = sqlite3_value_int64(argv[2]);
    if (length < 0) return SetError(context, "Invalid length parameter passed to the substring function.");
    SetText(context, Characters(ValueText(argv[0]), start, length));
}

void LeftFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(context);
    const long long count = sqlite3_value_int64(argv[1]);
    if (count < 0) return SetError(context, "Invalid length parameter passed to the left function.");
    const std::string_view text = ValueText(argv[0]);
    SetText(context, std::string(text.substr(0, CharOffset(text, count))));
}

void RightFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(context);
    const long long count = sqlite3_value_int64(argv[1]);
    if (count < 0) return SetError(context, "Invalid length parameter passed to the right function.");
    const std::string_view text = ValueText(argv[0]);
    const long long total = CharCount(text);
    SetText(context, std::string(text.substr(CharOffset(text, total > count ? total - count : 0))));
}

void CharIndexFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(context);
    const std::string_view find = ValueText(argv[0]);
    const std::string_view text = ValueText(argv[1]);
    long long start = argc > 2 ? sqlite3_value_int64(argv[2]) : 1;
    if (start < 1) start = 1;
    if (find.empty()) return sqlite3_result_int64(context, 0);
    const std::size_t from = CharOffset(text, start - 1);
    const std::size_t found = text.find(find, from);
    sqlite3_result_int64(context, found == std::string_view::npos ? 0 : CharCount(text.substr(0, found)) + 1);
}

void Repeat(sqlite3_context* context, std::string_view piece, long long count) {
    if (count < 0) return sqlite3_result_null(context);
    const auto limit =
        static_cast<unsigned long long>(sqlite3_limit(sqlite3_context_db_handle(context), SQLITE_LIMIT_LENGTH, -1));
    if (!piece.empty() && static_cast<unsigned long long>(count) > limit / piece.size())
        return sqlite3_result_error_toobig(context);
    std::string text;
    text.reserve(piece.size() * static_cast<std::size_t>(count));
    for (long long i = 0; i < count; ++i)
        text += piece;
    SetText(context, text);
}

void ReplicateFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(context);
    Repeat(context, ValueText(argv[0]), sqlite3_value_int64(argv[1]));
}

void SpaceFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv)) return sqlite3_result_null(context);
    Repeat(context, " ", sqlite3_value_int64(argv[0]));
}

void GetDateFunction(sqlite3_context* context, int, sqlite3_value**) {
    SetText(context, FormatSqlDateTime(LocalNow()));
}

using Function = void (*)(sqlite3_context*, int, sqlite3_value**);

} // namespace

std::optional<SqlType> ParseSqlType(std::string_view text) {
    const std::string upper = Upper(text);
    const std::size_t open = upper.find('(');
    SqlType type;
    type.name = upper.substr(0, open);
    std::string arguments;
    if (open != std::string::npos) {
        if (upper.back() != ')') return std::nullopt;
        arguments = upper.substr(open + 1, upper.size() - open - 2);
    }
    const auto number = [](std::string_view digits, long long& out) {
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), out);
        return ec == std::errc() && end == digits.data() + digits.size();
    };
    const std::string& name = type.name;
    if (name == "CHAR" || name == "NCHAR" || name == "CHARACTER" || name == "VARCHAR" || name == "NVARCHAR") {
        type.kind = name == "VARCHAR" || name == "NVARCHAR" ? SqlType::Text : SqlType::FixedText;
        type.length = 30;
        if (open != std::string::npos) {
            if (arguments == "MAX" && type.kind == SqlType::Text)
                type.length = -1;
            else if (!number(arguments, type.length) || type.length < 1 || type.length > 8000)
                return std::nullopt;
        }
        return type;
    }
    if (name == "TEXT" || name == "NTEXT") {
        type.kind = SqlType::Text;
        return open == std::string::npos ? std::optional(type) : std::nullopt;
    }
    if (name == "BIGINT" || name == "INT" || name == "INTEGER" || name == "SMALLINT" || name == "TINYINT" ||
        name == "BIT") {
        type.kind = name == "BIT" ? SqlType::Bit : SqlType::Integer;
        return open == std::string::npos ? std::optional(type) : std::nullopt;
    }
    if (name == "DECIMAL" || name == "NUMERIC" || name == "DEC") {
        type.kind = SqlType::Decimal;
        type.length = 18;
        if (open != std::string::npos) {
            const std::size_t comma = arguments.find(',');
            long long scale = 0;
            if (!number(std::string_view(arguments).substr(0, comma), type.length) ||
                (comma != std::string::npos && !number(std::string_view(arguments).substr(comma + 1), scale)) ||
                type.length < 1 || type.length > 38 || scale < 0 || scale > type.length)
                return std::nullopt;
            type.scale = static_cast<int>(scale);
        }
        return type;
    }
    if (name == "MONEY" || name == "SMALLMONEY") {
        type.kind = SqlType::Decimal;
        type.length = 19;
        type.scale = 4;
        return open == std::string::npos ? std::optional(type) : std::nullopt;
    }
    if (name == "FLOAT" || name == "REAL") {
        type.kind = SqlType::Float;
        return type;
    }
    if (name == "DATETIME" || name == "SMALLDATETIME" || name == "DATETIME2") {
        type.kind = SqlType::DateTime;
        return type;
    }
    if (name == "DATE") {
        type.kind = SqlType::Date;
        return open == std::string::npos ? std::optional(type) : std::nullopt;
    }
    return std::nullopt;
}

void RegisterSqlFunctions(sqlite3* db) {
    struct Registration {
        const char* name;
        int arguments;
        Function function;
        bool deterministic;
    };
    static constexpr Registration kFunctions[] = {
        {"GETDATE", 0, GetDateFunction, false},
        {"QMX_CONVERT", 2, ConvertFunction, true},
        {"QMX_CONVERT", 3, ConvertFunction, true},
        {"QMX_PLUS", 2, PlusFunction, true},
        {"QMX_LEFT", 2, LeftFunction, true},
        {"QMX_RIGHT", 2, RightFunction, true},
        {"LEN", 1, LenFunction, true},
        {"SUBSTRING", 3, SubstringFunction, true},
        {"CHARINDEX", 2, CharIndexFunction, true},
        {"CHARINDEX", 3, CharIndexFunction, true},
        {"REPLICATE", 2, ReplicateFunction, true},
        {"SPACE", 1, SpaceFunction, true},
    };
    for (const Registration& registration : kFunctions) {
        const int flags = SQLITE_UTF8 | SQLITE_INNOCUOUS | (registration.deterministic ? SQLITE_DETERMINISTIC : 0);
        const int rc = sqlite3_create_function_v2(db, registration.name, registration.arguments, flags, nullptr,
                                                  registration.function, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            throw EDatabaseError(
                std::string("Cannot register the SQL function ") + registration.name + ": " + sqlite3_errstr(rc), rc);
    }
}

} // namespace qmx::platform::detail
