#pragma once
// Tokens of an SQL text in SQL Server's lexical rules, enough to rewrite it safely: quoted texts,
// quoted names and comments are single tokens, so nothing inside them is ever touched. Tokens
// are views into the text; every byte of the text belongs to exactly one token.
#include <string_view>
#include <vector>

namespace qmx::platform::detail {

enum class SqlTokenKind {
    Space,
    Comment,    // -- to the end of the line, or /* ... */
    Word,       // a name or keyword
    QuotedName, // "name", [name] or `name`
    String,     // 'text' with '' for a quote
    NString,    // N'text'
    Number,
    Parameter, // :NAME, @NAME, $NAME, ?
    Operator,  // + - * / % = < > <= >= <> != !< !> || & | ^ ~ ...
    Open,
    Close,
    Comma,
    Semicolon,
    Dot,
};

struct SqlToken {
    SqlTokenKind kind;
    std::string_view text;
};

// UTF-8 text; bytes from 0x80 on are name characters. An unterminated quote or comment runs to
// the end of the text (the engine reports it).
std::vector<SqlToken> TokenizeSql(std::string_view sql);

} // namespace qmx::platform::detail
