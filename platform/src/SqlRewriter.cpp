#include "SqlRewriter.h"

#include <optional>

#include "SqlFunctions.h"
#include "qmx/platform/DatabaseError.h"

namespace qmx::platform::detail {
namespace {

std::string Upper(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return result;
}

bool SameText(std::string_view a, std::string_view b) { return Upper(a) == Upper(b); }

std::string_view Unquoted(std::string_view part) {
    if (part.size() >= 2 && (part.front() == '[' || part.front() == '"' || part.front() == '`'))
        return part.substr(1, part.size() - 2);
    return part;
}

// Words that never begin an operand: clause keywords and operators spelt as words. Functions
// that are also keywords elsewhere (LEFT, RIGHT) are not among them; CASE is read as an operand.
bool IsKeyword(std::string_view upper) {
    static constexpr std::string_view kKeywords[] = {
        "ADD",      "ALL",     "ALTER",  "AND",        "AS",      "ASC",         "BEGIN",    "BETWEEN",   "BY",
        "CHECK",    "COLLATE", "COMMIT", "CONSTRAINT", "CREATE",  "CROSS",       "DEFAULT",  "DELETE",    "DESC",
        "DISTINCT", "DROP",    "ELSE",   "END",        "ESCAPE",  "EXCEPT",      "EXISTS",   "FOREIGN",   "FROM",
        "FULL",     "GROUP",   "HAVING", "IN",         "INDEX",   "INNER",       "INSERT",   "INTERSECT", "INTO",
        "IS",       "JOIN",    "KEY",    "LIKE",       "LIMIT",   "NATURAL",     "NOT",      "OFFSET",    "ON",
        "OR",       "ORDER",   "OUTER",  "PERCENT",    "PRIMARY", "REFERENCES",  "ROLLBACK", "SELECT",    "SET",
        "TABLE",    "THEN",    "TIES",   "TOP",        "TRAN",    "TRANSACTION", "UNION",    "UNIQUE",    "UPDATE",
        "USING",    "VALUES",  "VIEW",   "WHEN",       "WHERE",   "WITH",
    };
    for (std::string_view keyword : kKeywords)
        if (upper == keyword) return true;
    return false;
}

bool IsTableHint(std::string_view upper) {
    static constexpr std::string_view kHints[] = {
        "NOLOCK",  "READUNCOMMITTED", "READCOMMITTED", "REPEATABLEREAD", "SERIALIZABLE", "ROWLOCK",  "PAGLOCK",
        "TABLOCK", "TABLOCKX",        "UPDLOCK",       "XLOCK",          "HOLDLOCK",     "READPAST", "NOWAIT",
    };
    for (std::string_view hint : kHints)
        if (upper == hint) return true;
    return false;
}

constexpr int kMaxDepth = 2000;

const char* const kCompoundTop = "TOP in a SELECT combined with UNION, EXCEPT or INTERSECT is not supported";

} // namespace

SqlRewriter::SqlRewriter(std::string_view sql, std::string_view databaseName)
    : databaseName_(databaseName), tokens_(TokenizeSql(sql)), closeOf_(tokens_.size(), npos) {
    std::vector<std::size_t> open;
    for (std::size_t k = 0; k < tokens_.size(); ++k) {
        if (tokens_[k].kind == SqlTokenKind::Open) open.push_back(k);
        if (tokens_[k].kind == SqlTokenKind::Close && !open.empty()) {
            closeOf_[open.back()] = k;
            open.pop_back();
        }
    }
}

std::string SqlRewriter::Run() { return RenderLevel(0, tokens_.size()); }

// ---- token helpers -------------------------------------------------------------------------

std::size_t SqlRewriter::NextSignificant(std::size_t i, std::size_t end) const {
    while (i < end && (tokens_[i].kind == SqlTokenKind::Space || tokens_[i].kind == SqlTokenKind::Comment))
        ++i;
    return i;
}

bool SqlRewriter::IsWord(std::size_t i, std::string_view upper) const {
    return i < tokens_.size() && tokens_[i].kind == SqlTokenKind::Word && Upper(tokens_[i].text) == upper;
}

bool SqlRewriter::IsOperator(std::size_t i, std::string_view text) const {
    return i < tokens_.size() && tokens_[i].kind == SqlTokenKind::Operator && tokens_[i].text == text;
}

bool SqlRewriter::IsClauseKeyword(std::size_t i) const {
    return i < tokens_.size() && tokens_[i].kind == SqlTokenKind::Word && IsKeyword(Upper(tokens_[i].text));
}

std::size_t SqlRewriter::MatchClose(std::size_t open, std::size_t end) const {
    const std::size_t close = closeOf_[open];
    return close < end ? close : npos;
}

std::size_t SqlRewriter::MatchEnd(std::size_t caseIndex, std::size_t end) const {
    int depth = 0;
    for (std::size_t k = caseIndex; k < end; ++k) {
        if (tokens_[k].kind == SqlTokenKind::Open) {
            k = MatchClose(k, end);
            if (k == npos) return npos;
            continue;
        }
        if (IsWord(k, "CASE")) ++depth;
        if (IsWord(k, "END") && --depth == 0) return k;
    }
    return npos;
}

std::vector<std::size_t> SqlRewriter::SplitArguments(std::size_t open, std::size_t close) const {
    std::vector<std::size_t> commas;
    int depth = 0;
    for (std::size_t k = open + 1; k < close; ++k) {
        const SqlTokenKind kind = tokens_[k].kind;
        if (kind == SqlTokenKind::Open) ++depth;
        if (kind == SqlTokenKind::Close) --depth;
        if (kind == SqlTokenKind::Comma && depth == 0) commas.push_back(k);
    }
    return commas;
}

// After "WITH (NOLOCK, ...)", or npos when the WITH starts something else (a common table
// expression).
std::size_t SqlRewriter::TableHintsEnd(std::size_t withIndex, std::size_t end) const {
    const std::size_t open = NextSignificant(withIndex + 1, end);
    if (open >= end || tokens_[open].kind != SqlTokenKind::Open) return npos;
    const std::size_t close = MatchClose(open, end);
    if (close == npos) return npos;
    bool anyHint = false;
    for (std::size_t k = NextSignificant(open + 1, close); k < close; k = NextSignificant(k + 1, close)) {
        if (tokens_[k].kind == SqlTokenKind::Comma) continue;
        if (tokens_[k].kind != SqlTokenKind::Word || !IsTableHint(Upper(tokens_[k].text))) return npos;
        anyHint = true;
    }
    return anyHint ? close + 1 : npos;
}

std::string SqlRewriter::Verbatim(std::size_t begin, std::size_t end) const {
    std::string text;
    for (std::size_t k = begin; k < end; ++k)
        text += tokens_[k].text;
    return text;
}

std::string SqlRewriter::TypeText(std::size_t begin, std::size_t end) const {
    std::string text;
    for (std::size_t k = begin; k < end; ++k)
        if (tokens_[k].kind != SqlTokenKind::Space && tokens_[k].kind != SqlTokenKind::Comment)
            text += Upper(tokens_[k].text);
    return text;
}

std::string SqlRewriter::ResolveName(const std::vector<std::string_view>& parts) const {
    const auto join = [&](std::size_t from) {
        std::string text;
        for (std::size_t k = from; k < parts.size(); ++k) {
            if (k > from) text += '.';
            text += parts[k];
        }
        return text;
    };
    if (parts.size() >= 3 && (parts[1].empty() || SameText(Unquoted(parts[1]), "DBO"))) {
        const std::string_view database = Unquoted(parts[0]);
        if (databaseName_.empty() || !SameText(database, databaseName_)) {
            std::string message = "The database '" + std::string(database) + "' of '" + join(0) +
                                  "' is not the company database of this connection";
            message += databaseName_.empty() ? " (it names none)" : " ('" + std::string(databaseName_) + "')";
            throw EDatabaseError(message);
        }
        return join(2);
    }
    if (parts.size() == 2 && SameText(Unquoted(parts[0]), "DBO")) return std::string(parts[1]);
    return join(0);
}

// ---- parsing -------------------------------------------------------------------------------

std::size_t SqlRewriter::ParseName(std::size_t i, std::size_t end, std::vector<std::string_view>* parts) const {
    std::vector<std::string_view> found{tokens_[i].text};
    std::size_t k = i + 1;
    while (k < end && tokens_[k].kind == SqlTokenKind::Dot) {
        std::size_t m = k + 1;
        bool emptyPart = false;
        if (m < end && tokens_[m].kind == SqlTokenKind::Dot) {
            emptyPart = true;
            ++m;
        }
        const bool namePart = m < end && (tokens_[m].kind == SqlTokenKind::Word ||
                                          tokens_[m].kind == SqlTokenKind::QuotedName || IsOperator(m, "*"));
        if (!namePart) break;
        if (emptyPart) found.emplace_back();
        found.push_back(tokens_[m].text);
        k = m + 1;
    }
    if (parts) *parts = std::move(found);
    return k;
}

std::size_t SqlRewriter::ParsePrimary(std::size_t i, std::size_t end) const {
    if (i >= end) return npos;
    switch (tokens_[i].kind) {
    case SqlTokenKind::Number:
    case SqlTokenKind::String:
    case SqlTokenKind::NString:
    case SqlTokenKind::Parameter: return i + 1;
    case SqlTokenKind::Open: {
        const std::size_t close = MatchClose(i, end);
        return close == npos ? npos : close + 1;
    }
    case SqlTokenKind::Word:
        if (IsWord(i, "CASE")) {
            const std::size_t caseEnd = MatchEnd(i, end);
            return caseEnd == npos ? npos : caseEnd + 1;
        }
        if (IsClauseKeyword(i)) return npos;
        [[fallthrough]];
    case SqlTokenKind::QuotedName: {
        const std::size_t nameEnd = ParseName(i, end, nullptr);
        const std::size_t open = NextSignificant(nameEnd, end);
        if (open < end && tokens_[open].kind == SqlTokenKind::Open) {
            const std::size_t close = MatchClose(open, end);
            return close == npos ? npos : close + 1;
        }
        return nameEnd;
    }
    default: return npos;
    }
}

std::size_t SqlRewriter::ParseTerm(std::size_t i, std::size_t end) const {
    const auto skipUnary = [&](std::size_t k) {
        while (k < end && (IsOperator(k, "+") || IsOperator(k, "-") || IsOperator(k, "~")))
            k = NextSignificant(k + 1, end);
        return k;
    };
    std::size_t position = ParsePrimary(skipUnary(i), end);
    if (position == npos) return npos;
    for (;;) {
        const std::size_t op = NextSignificant(position, end);
        if (!(IsOperator(op, "*") || IsOperator(op, "/") || IsOperator(op, "%"))) break;
        const std::size_t next = ParsePrimary(skipUnary(NextSignificant(op + 1, end)), end);
        if (next == npos) break;
        position = next;
    }
    return position;
}

// ---- rendering -----------------------------------------------------------------------------

std::string SqlRewriter::RenderLevel(std::size_t begin, std::size_t end) {
    // Each level recurses; a bound keeps a pathological text from exhausting the stack. The
    // engine's own limit on expression depth is lower still.
    struct DepthGuard {
        int& depth;
        explicit DepthGuard(int& d) : depth(d) {
            if (++depth > kMaxDepth) {
                --depth;
                throw EDatabaseError("The SQL text nests too deeply");
            }
        }
        ~DepthGuard() { --depth; }
    } guard(depth_);
    std::string out;
    std::size_t lastSignificant = 0; // where a LIMIT goes: after the level's last real token
    std::optional<std::string> limit;
    bool compound = false;
    std::string previousWord;
    const auto emit = [&](std::string_view text) {
        out += text;
        lastSignificant = out.size();
    };
    const auto finishStatement = [&] {
        if (limit) out.insert(lastSignificant, " LIMIT " + *limit);
        limit.reset();
        compound = false;
    };

    std::size_t i = begin;
    while (i < end) {
        const SqlToken& token = tokens_[i];
        if (token.kind == SqlTokenKind::Space || token.kind == SqlTokenKind::Comment) {
            out += token.text;
            ++i;
            continue;
        }
        if (token.kind == SqlTokenKind::Semicolon) {
            finishStatement();
            emit(token.text);
            previousWord.clear();
            ++i;
            continue;
        }
        if (token.kind == SqlTokenKind::Word) {
            const std::string upper = Upper(token.text);
            if (upper == "TOP") {
                if (previousWord != "SELECT" && previousWord != "DISTINCT" && previousWord != "ALL")
                    throw EDatabaseError("TOP is supported in SELECT only");
                if (compound || limit) throw EDatabaseError(kCompoundTop);
                const std::size_t count = NextSignificant(i + 1, end);
                std::size_t after;
                if (count < end &&
                    (tokens_[count].kind == SqlTokenKind::Number || tokens_[count].kind == SqlTokenKind::Parameter)) {
                    limit = std::string(tokens_[count].text);
                    after = count + 1;
                } else if (count < end && tokens_[count].kind == SqlTokenKind::Open && MatchClose(count, end) != npos) {
                    const std::size_t close = MatchClose(count, end);
                    limit = "(" + RenderLevel(count + 1, close) + ")";
                    after = close + 1;
                } else {
                    throw EDatabaseError("TOP needs a number of rows");
                }
                const std::size_t following = NextSignificant(after, end);
                if (IsWord(following, "PERCENT") ||
                    (IsWord(following, "WITH") && IsWord(NextSignificant(following + 1, end), "TIES")))
                    throw EDatabaseError("TOP with PERCENT or WITH TIES is not supported");
                previousWord = upper;
                // The blank after "TOP n" goes with it, so the text reads as if it had none.
                i = after < end && tokens_[after].kind == SqlTokenKind::Space ? after + 1 : after;
                continue;
            }
            if (upper == "UNION" || upper == "EXCEPT" || upper == "INTERSECT") {
                if (limit) throw EDatabaseError(kCompoundTop);
                compound = true;
            }
            if (upper == "WITH") {
                const std::size_t hintsEnd = TableHintsEnd(i, end);
                if (hintsEnd != npos) {
                    i = hintsEnd;
                    continue;
                }
            }
            if (IsKeyword(upper)) {
                emit(token.text);
                previousWord = upper;
                ++i;
                continue;
            }
        }

        // An operand chain: term { (+|-) term }.
        const std::size_t firstEnd = ParseTerm(i, end);
        if (firstEnd == npos) {
            emit(token.text);
            previousWord.clear();
            ++i;
            continue;
        }
        std::vector<std::pair<std::size_t, std::size_t>> terms{{i, firstEnd}};
        std::vector<std::size_t> operators;
        for (;;) {
            const std::size_t op = NextSignificant(terms.back().second, end);
            if (!(IsOperator(op, "+") || IsOperator(op, "-"))) break;
            const std::size_t next = NextSignificant(op + 1, end);
            const std::size_t nextEnd = ParseTerm(next, end);
            if (nextEnd == npos) break;
            operators.push_back(op);
            terms.emplace_back(next, nextEnd);
        }
        std::string chain = RenderTerm(terms[0].first, terms[0].second);
        for (std::size_t n = 1; n < terms.size(); ++n) {
            const std::string operand = RenderTerm(terms[n].first, terms[n].second);
            if (tokens_[operators[n - 1]].text == "+")
                chain = "QMX_PLUS(" + chain + ", " + operand + ")";
            else
                chain += Verbatim(terms[n - 1].second, terms[n].first) + operand;
        }
        emit(chain);
        previousWord.clear();
        i = terms.back().second;
    }
    finishStatement();
    return out;
}

std::string SqlRewriter::RenderTerm(std::size_t begin, std::size_t end) {
    std::string out;
    std::size_t i = begin;
    while (i < end) {
        const SqlTokenKind kind = tokens_[i].kind;
        if (kind == SqlTokenKind::Space || kind == SqlTokenKind::Comment || kind == SqlTokenKind::Operator) {
            out += tokens_[i].text;
            ++i;
        } else {
            out += RenderPrimary(i, i, end);
        }
    }
    return out;
}

std::string SqlRewriter::RenderPrimary(std::size_t begin, std::size_t& next, std::size_t end) {
    const SqlToken& token = tokens_[begin];
    switch (token.kind) {
    case SqlTokenKind::NString: next = begin + 1; return std::string(token.text.substr(1));
    case SqlTokenKind::Open: {
        const std::size_t close = MatchClose(begin, end);
        next = close + 1;
        return "(" + RenderLevel(begin + 1, close) + ")";
    }
    case SqlTokenKind::Word:
    case SqlTokenKind::QuotedName: {
        if (IsWord(begin, "CASE")) {
            const std::size_t caseEnd = MatchEnd(begin, end);
            next = caseEnd + 1;
            return std::string(token.text) + RenderLevel(begin + 1, caseEnd) + std::string(tokens_[caseEnd].text);
        }
        std::vector<std::string_view> parts;
        const std::size_t nameEnd = ParseName(begin, end, &parts);
        std::string nameText = ResolveName(parts);
        const bool plainWord = parts.size() == 1 && token.kind == SqlTokenKind::Word;
        const std::size_t open = NextSignificant(nameEnd, end);
        if (open < end && tokens_[open].kind == SqlTokenKind::Open) {
            const std::size_t close = MatchClose(open, end);
            next = close + 1;
            return RenderFunction(plainWord ? Upper(token.text) : std::string(), std::move(nameText), nameEnd, open,
                                  close);
        }
        next = nameEnd;
        if (plainWord && Upper(token.text) == "CURRENT_TIMESTAMP") return "GETDATE()";
        return nameText;
    }
    default: next = begin + 1; return std::string(token.text);
    }
}

std::string SqlRewriter::RenderFunction(std::string_view name, std::string nameText, std::size_t nameEnd,
                                        std::size_t open, std::size_t close) {
    if (name == "CONVERT") return RenderConvert(open, close);
    if (name == "CAST") return RenderCast(open, close);
    // SQLite has IFNULL, and reads ISNULL, LEFT and RIGHT as keywords, never as functions.
    if (name == "ISNULL") nameText = "IFNULL";
    if (name == "LEFT") nameText = "QMX_LEFT";
    if (name == "RIGHT") nameText = "QMX_RIGHT";
    return nameText + Verbatim(nameEnd, open) + "(" + RenderLevel(open + 1, close) + ")";
}

std::string SqlRewriter::RenderArgument(std::size_t begin, std::size_t end) {
    while (begin < end && tokens_[begin].kind == SqlTokenKind::Space)
        ++begin;
    while (end > begin && tokens_[end - 1].kind == SqlTokenKind::Space)
        --end;
    return RenderLevel(begin, end);
}

std::string SqlRewriter::RenderConvert(std::size_t open, std::size_t close) {
    const std::vector<std::size_t> commas = SplitArguments(open, close);
    if (commas.empty() || commas.size() > 2)
        throw EDatabaseError("CONVERT takes a data type, a value and an optional style");
    const std::string type = TypeText(open + 1, commas[0]);
    if (!ParseSqlType(type)) throw EDatabaseError("CONVERT: the data type '" + type + "' is not supported");
    const std::size_t valueEnd = commas.size() > 1 ? commas[1] : close;
    std::string out = "QMX_CONVERT('" + type + "', " + RenderArgument(commas[0] + 1, valueEnd);
    if (commas.size() > 1) out += ", " + RenderArgument(commas[1] + 1, close);
    return out + ")";
}

std::string SqlRewriter::RenderCast(std::size_t open, std::size_t close) {
    std::size_t as = npos;
    int depth = 0;
    for (std::size_t k = open + 1; k < close; ++k) {
        if (tokens_[k].kind == SqlTokenKind::Open) ++depth;
        if (tokens_[k].kind == SqlTokenKind::Close) --depth;
        if (depth == 0 && IsWord(k, "AS")) as = k;
    }
    if (as == npos) throw EDatabaseError("CAST needs AS and a data type");
    const std::string type = TypeText(as + 1, close);
    if (!ParseSqlType(type)) throw EDatabaseError("CAST: the data type '" + type + "' is not supported");
    return "QMX_CONVERT('" + type + "', " + RenderArgument(open + 1, as) + ")";
}

} // namespace qmx::platform::detail
