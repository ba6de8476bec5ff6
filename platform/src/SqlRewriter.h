#pragma once
// The rewrite of SQL Server's dialect into SQLite's behind SqlDialect::Translate.
//
// It reads the tokens as nested levels (statements, parenthesised groups, CASE ... END) and, in
// each level, the operand chains joined by + and -, with the operands' own * / % and unary
// operators inside. That is all the structure the rewrite needs: a + b becomes QMX_PLUS(a, b)
// with the right operands; CONVERT and CAST become QMX_CONVERT; TOP moves to a LIMIT at the end
// of its level; names drop their database prefix. Whatever it does not recognise it copies
// unchanged, so the engine reports real syntax errors in its own words.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "SqlTokenizer.h"

namespace qmx::platform::detail {

class SqlRewriter {
public:
    // sql must outlive the rewriter: its tokens are views into it.
    SqlRewriter(std::string_view sql, std::string_view databaseName);
    // Raises EDatabaseError for what cannot be translated.
    std::string Run();

private:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    std::string RenderLevel(std::size_t begin, std::size_t end);
    std::string RenderTerm(std::size_t begin, std::size_t end);
    std::string RenderPrimary(std::size_t begin, std::size_t& next, std::size_t end);
    std::string RenderFunction(std::string_view name, std::string nameText, std::size_t nameEnd, std::size_t open,
                               std::size_t close);
    // A function argument without the blanks around it.
    std::string RenderArgument(std::size_t begin, std::size_t end);
    std::string RenderConvert(std::size_t open, std::size_t close);
    std::string RenderCast(std::size_t open, std::size_t close);

    // Parsing; each answers the index after what it read, or npos.
    std::size_t ParseTerm(std::size_t i, std::size_t end) const;
    std::size_t ParsePrimary(std::size_t i, std::size_t end) const;
    std::size_t ParseName(std::size_t i, std::size_t end, std::vector<std::string_view>* parts) const;

    std::size_t NextSignificant(std::size_t i, std::size_t end) const;
    std::size_t MatchClose(std::size_t open, std::size_t end) const;
    std::size_t MatchEnd(std::size_t caseIndex, std::size_t end) const;
    // Top-level commas of the group (open, close).
    std::vector<std::size_t> SplitArguments(std::size_t open, std::size_t close) const;
    bool IsWord(std::size_t i, std::string_view upper) const;
    bool IsOperator(std::size_t i, std::string_view text) const;
    bool IsClauseKeyword(std::size_t i) const;
    std::size_t TableHintsEnd(std::size_t withIndex, std::size_t end) const;
    std::string Verbatim(std::size_t begin, std::size_t end) const;
    std::string TypeText(std::size_t begin, std::size_t end) const;
    std::string ResolveName(const std::vector<std::string_view>& parts) const;

    std::string_view databaseName_;
    std::vector<SqlToken> tokens_;
    std::vector<std::size_t> closeOf_; // the matching ')' of each '(' (npos for none)
    int depth_ = 0;                    // of nested levels being rendered
};

} // namespace qmx::platform::detail
