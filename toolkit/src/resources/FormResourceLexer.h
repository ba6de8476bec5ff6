#pragma once
// Tokens of the form-resource text. Strings come out as UTF-8 (quoted pieces and #codes joined);
// the parser converts them to the code page once a '+' concatenation is complete.
#include <cstdint>
#include <string>
#include <string_view>

#include "qmx/toolkit/FormResourceError.h"

namespace qmx::formresource {

enum class TokenKind { End, Identifier, Integer, Float, String, Binary, Symbol };

struct Token {
    TokenKind Kind = TokenKind::End;
    std::string Text;         // Identifier: the name; String: UTF-8 text; Binary: the bytes
    std::string ResourceName; // Binary written as {'NAME'}
    std::int64_t Integer = 0;
    double Float = 0;
    char Symbol = 0;
    int Line = 1;
};

class Lexer {
public:
    Lexer(std::string_view text, std::string_view resourceName);

    const Token& Peek() const { return current_; }
    Token Take();

    [[noreturn]] void Fail(int line, std::string reason) const;

private:
    Token Scan();
    void SkipBlanks();
    void Newline(); // at a CR or LF: step over it (CRLF as one) and count the line
    Token ScanIdentifier();
    Token ScanNumber();
    Token ScanString();
    Token ScanBinary();
    void ScanQuoted(std::string& out);
    void ScanCharCode(std::string& out);

    bool AtEnd() const { return pos_ >= text_.size(); }
    char At(std::size_t offset = 0) const {
        return pos_ + offset < text_.size() ? text_[pos_ + offset] : '\0';
    }

    std::string_view text_;
    std::string resourceName_;
    std::size_t pos_ = 0;
    int line_ = 1;
    Token current_;
};

bool SameKeyword(std::string_view word, std::string_view keyword);

} // namespace qmx::formresource
