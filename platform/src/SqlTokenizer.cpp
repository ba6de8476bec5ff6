#include "SqlTokenizer.h"

#include <cctype>

namespace qmx::platform::detail {
namespace {

bool IsNameStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '#' || c >= 0x80;
}

bool IsNameChar(unsigned char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '$' || c == '@'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// End of a quoted run that starts at pos with the quote character; a doubled closing quote
// stands for the character itself.
std::size_t QuotedEnd(std::string_view sql, std::size_t pos, char close) {
    std::size_t i = pos + 1;
    while (i < sql.size()) {
        if (sql[i] == close) {
            if (i + 1 < sql.size() && sql[i + 1] == close) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return sql.size();
}

std::size_t NumberEnd(std::string_view sql, std::size_t pos) {
    std::size_t i = pos;
    if (sql.substr(i, 2) == "0x" || sql.substr(i, 2) == "0X") {
        i += 2;
        while (i < sql.size() && std::isxdigit(static_cast<unsigned char>(sql[i])))
            ++i;
        return i;
    }
    while (i < sql.size() && IsDigit(sql[i]))
        ++i;
    if (i < sql.size() && sql[i] == '.') {
        ++i;
        while (i < sql.size() && IsDigit(sql[i]))
            ++i;
    }
    if (i < sql.size() && (sql[i] == 'e' || sql[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < sql.size() && (sql[j] == '+' || sql[j] == '-')) ++j;
        if (j < sql.size() && IsDigit(sql[j])) {
            i = j;
            while (i < sql.size() && IsDigit(sql[i]))
                ++i;
        }
    }
    return i;
}

} // namespace

std::vector<SqlToken> TokenizeSql(std::string_view sql) {
    std::vector<SqlToken> tokens;
    std::size_t pos = 0;
    const auto at = [&](std::size_t i) -> char { return i < sql.size() ? sql[i] : '\0'; };
    while (pos < sql.size()) {
        const char c = sql[pos];
        const auto uc = static_cast<unsigned char>(c);
        SqlTokenKind kind;
        std::size_t end = pos + 1;
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
            kind = SqlTokenKind::Space;
            while (end < sql.size() && std::string_view(" \t\r\n\f\v").find(sql[end]) != std::string_view::npos)
                ++end;
        } else if (c == '-' && at(pos + 1) == '-') {
            kind = SqlTokenKind::Comment;
            end = sql.find('\n', pos);
            end = end == std::string_view::npos ? sql.size() : end;
        } else if (c == '/' && at(pos + 1) == '*') {
            kind = SqlTokenKind::Comment;
            end = sql.find("*/", pos + 2);
            end = end == std::string_view::npos ? sql.size() : end + 2;
        } else if (c == '\'') {
            kind = SqlTokenKind::String;
            end = QuotedEnd(sql, pos, '\'');
        } else if ((c == 'N' || c == 'n') && at(pos + 1) == '\'') {
            kind = SqlTokenKind::NString;
            end = QuotedEnd(sql, pos + 1, '\'');
        } else if (c == '"' || c == '`') {
            kind = SqlTokenKind::QuotedName;
            end = QuotedEnd(sql, pos, c);
        } else if (c == '[') {
            kind = SqlTokenKind::QuotedName;
            end = QuotedEnd(sql, pos, ']');
        } else if (IsDigit(c) || (c == '.' && IsDigit(at(pos + 1)))) {
            kind = SqlTokenKind::Number;
            end = NumberEnd(sql, pos);
        } else if (IsNameStart(uc)) {
            kind = SqlTokenKind::Word;
            while (end < sql.size() && IsNameChar(static_cast<unsigned char>(sql[end])))
                ++end;
        } else if ((c == ':' || c == '@' || c == '$') && IsNameChar(static_cast<unsigned char>(at(pos + 1))) &&
                   at(pos + 1) != '$' && at(pos + 1) != '@') {
            kind = SqlTokenKind::Parameter;
            while (end < sql.size() && IsNameChar(static_cast<unsigned char>(sql[end])))
                ++end;
        } else if (c == '?') {
            kind = SqlTokenKind::Parameter;
            while (end < sql.size() && IsDigit(sql[end]))
                ++end;
        } else if (c == '(') {
            kind = SqlTokenKind::Open;
        } else if (c == ')') {
            kind = SqlTokenKind::Close;
        } else if (c == ',') {
            kind = SqlTokenKind::Comma;
        } else if (c == ';') {
            kind = SqlTokenKind::Semicolon;
        } else if (c == '.') {
            kind = SqlTokenKind::Dot;
        } else {
            kind = SqlTokenKind::Operator;
            static constexpr std::string_view kPairs[] = {"<=", ">=", "<>", "!=", "!<", "!>", "||", "==", "<<", ">>"};
            for (std::string_view pair : kPairs)
                if (sql.substr(pos, 2) == pair) end = pos + 2;
        }
        tokens.push_back({kind, sql.substr(pos, end - pos)});
        pos = end;
    }
    return tokens;
}

} // namespace qmx::platform::detail
