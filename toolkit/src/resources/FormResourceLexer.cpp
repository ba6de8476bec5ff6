#include "FormResourceLexer.h"

#include <charconv>
#include <cstdio>
#include <limits>

namespace qmx::formresource {
namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        char32_t min;
        char32_t value;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2, min = 0x80, value = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3, min = 0x800, value = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4, min = 0x10000, value = c & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            value = (value << 6) | (next & 0x3F);
        }
        if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string DescribeChar(char c) {
    auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7F) return std::string("unexpected character '") + c + "'";
    char hex[8];
    std::snprintf(hex, sizeof hex, "$%02X", byte);
    return std::string("unexpected byte ") + hex;
}

} // namespace

bool SameKeyword(std::string_view word, std::string_view keyword) {
    if (word.size() != keyword.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = word[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        if (c != keyword[i]) return false;
    }
    return true;
}

Lexer::Lexer(std::string_view text, std::string_view resourceName)
    : text_(text), resourceName_(resourceName) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    current_ = Scan();
}

Token Lexer::Take() {
    Token taken = std::move(current_);
    current_ = Scan();
    return taken;
}

void Lexer::Fail(int line, std::string reason) const {
    throw EFormResourceError(resourceName_, line, std::move(reason));
}

void Lexer::Newline() {
    if (At() == '\r' && At(1) == '\n') ++pos_;
    ++pos_;
    ++line_;
}

void Lexer::SkipBlanks() {
    while (!AtEnd()) {
        char c = At();
        if (c == '\r' || c == '\n') {
            Newline();
        } else if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
            ++pos_;
        } else if (c == '/' && At(1) == '/') {
            while (!AtEnd() && At() != '\r' && At() != '\n') ++pos_;
        } else {
            break;
        }
    }
}

Token Lexer::Scan() {
    SkipBlanks();
    if (AtEnd()) {
        Token end;
        end.Line = line_;
        return end;
    }
    char c = At();
    if (IsIdentStart(c)) return ScanIdentifier();
    if (IsDigit(c) || c == '$' || (c == '-' && (IsDigit(At(1)) || At(1) == '$'))) return ScanNumber();
    if (c == '\'' || c == '#') return ScanString();
    if (c == '{') return ScanBinary();
    switch (c) {
    case '=': case ':': case '[': case ']': case '(': case ')':
    case '<': case '>': case ',': case '+': case '.': {
        Token symbol;
        symbol.Kind = TokenKind::Symbol;
        symbol.Symbol = c;
        symbol.Line = line_;
        ++pos_;
        return symbol;
    }
    default:
        Fail(line_, DescribeChar(c));
    }
}

Token Lexer::ScanIdentifier() {
    Token token;
    token.Kind = TokenKind::Identifier;
    token.Line = line_;
    std::size_t start = pos_;
    while (!AtEnd() && IsIdentChar(At())) ++pos_;
    token.Text.assign(text_.substr(start, pos_ - start));
    return token;
}

Token Lexer::ScanNumber() {
    Token token;
    token.Line = line_;
    const bool negative = At() == '-';
    if (negative) ++pos_;
    if (At() == '$') {
        ++pos_;
        std::uint64_t value = 0;
        int digits = 0;
        for (int digit; (digit = HexValue(At())) >= 0; ++pos_, ++digits) {
            if (digits == 16) Fail(line_, "integer out of range");
            value = (value << 4) | static_cast<std::uint64_t>(digit);
        }
        if (digits == 0 || IsIdentChar(At())) Fail(line_, "invalid number");
        // Hexadecimal is a bit pattern: $FFFFFFFFFFFFFFFF reads as -1.
        auto bits = static_cast<std::int64_t>(value);
        token.Kind = TokenKind::Integer;
        token.Integer = negative ? static_cast<std::int64_t>(0 - value) : bits;
        return token;
    }
    std::size_t start = pos_;
    while (IsDigit(At())) ++pos_;
    bool isFloat = false;
    if (At() == '.' && IsDigit(At(1))) {
        isFloat = true;
        ++pos_;
        while (IsDigit(At())) ++pos_;
    }
    if (At() == 'e' || At() == 'E') {
        std::size_t exponent = pos_ + 1;
        if (exponent < text_.size() && (text_[exponent] == '+' || text_[exponent] == '-')) ++exponent;
        if (exponent < text_.size() && IsDigit(text_[exponent])) {
            isFloat = true;
            pos_ = exponent;
            while (IsDigit(At())) ++pos_;
        }
    }
    if (IsIdentChar(At()) || At() == '.') Fail(line_, "invalid number");
    std::string_view digits = text_.substr(start, pos_ - start);
    std::string literal = negative ? "-" + std::string(digits) : std::string(digits);
    const char* first = literal.data();
    const char* last = literal.data() + literal.size();
    if (isFloat) {
        token.Kind = TokenKind::Float;
        auto [end, error] = std::from_chars(first, last, token.Float);
        if (error == std::errc::result_out_of_range) Fail(line_, "number out of range");
        if (error != std::errc() || end != last) Fail(line_, "invalid number");
    } else {
        token.Kind = TokenKind::Integer;
        auto [end, error] = std::from_chars(first, last, token.Integer);
        if (error == std::errc::result_out_of_range) Fail(line_, "integer out of range");
        if (error != std::errc() || end != last) Fail(line_, "invalid number");
    }
    return token;
}

Token Lexer::ScanString() {
    Token token;
    token.Kind = TokenKind::String;
    token.Line = line_;
    // Pieces written without blanks between them form one string: 'a'#13#10'b'.
    while (At() == '\'' || At() == '#') {
        if (At() == '\'')
            ScanQuoted(token.Text);
        else
            ScanCharCode(token.Text);
    }
    return token;
}

void Lexer::ScanQuoted(std::string& out) {
    ++pos_; // opening quote
    std::size_t start = out.size();
    for (;;) {
        if (AtEnd() || At() == '\r' || At() == '\n') Fail(line_, "unterminated string");
        if (At() == '\'') {
            if (At(1) != '\'') break;
            ++pos_; // a doubled quote stands for one
        }
        out += At();
        ++pos_;
    }
    ++pos_; // closing quote
    if (!IsValidUtf8(std::string_view(out).substr(start))) Fail(line_, "invalid UTF-8 text");
}

void Lexer::ScanCharCode(std::string& out) {
    ++pos_; // '#'
    std::uint32_t code = 0;
    int digits = 0;
    const bool hex = At() == '$';
    if (hex) ++pos_;
    for (;; ++pos_, ++digits) {
        int digit = hex ? HexValue(At()) : (IsDigit(At()) ? At() - '0' : -1);
        if (digit < 0) break;
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
        if (code > 0x10FFFF) Fail(line_, "invalid character code");
    }
    if (digits == 0 || IsIdentChar(At()) || (code >= 0xD800 && code <= 0xDFFF))
        Fail(line_, "invalid character code");
    AppendUtf8(out, code);
}

Token Lexer::ScanBinary() {
    Token token;
    token.Kind = TokenKind::Binary;
    token.Line = line_;
    ++pos_; // '{'
    SkipBlanks();
    if (At() == '\'') {
        ScanQuoted(token.ResourceName);
        SkipBlanks();
        if (token.ResourceName.empty()) Fail(token.Line, "expected a resource name");
        if (At() != '}') Fail(line_, AtEnd() ? "unterminated binary data" : "expected '}'");
        ++pos_;
        return token;
    }
    int high = -1;
    for (;;) {
        if (AtEnd()) Fail(line_, "unterminated binary data");
        char c = At();
        if (c == '}') break;
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
            SkipBlanks();
            continue;
        }
        int digit = HexValue(c);
        if (digit < 0) Fail(line_, "invalid binary data");
        if (high < 0) {
            high = digit;
        } else {
            token.Text += static_cast<char>((high << 4) | digit);
            high = -1;
        }
        ++pos_;
    }
    if (high >= 0) Fail(line_, "odd number of hex digits in binary data");
    ++pos_; // '}'
    return token;
}

} // namespace qmx::formresource
