#include "qmx/platform/SqlDialect.h"

#include "SqlRewriter.h"
#include "SqlTokenizer.h"

namespace qmx::platform {

SqlDialect::SqlDialect(std::string databaseName) : databaseName_(std::move(databaseName)) {}

std::string SqlDialect::Translate(std::string_view sql) const { return detail::SqlRewriter(sql, databaseName_).Run(); }

std::vector<std::string> SqlDialect::ParameterNames(std::string_view sql) {
    std::vector<std::string> names;
    const auto upper = [](std::string_view text) {
        std::string result(text);
        for (char& c : result)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        return result;
    };
    for (const detail::SqlToken& token : detail::TokenizeSql(sql)) {
        if (token.kind != detail::SqlTokenKind::Parameter || token.text.front() == '?') continue;
        const std::string_view name = token.text.substr(1);
        bool known = false;
        for (const std::string& existing : names)
            known = known || upper(existing) == upper(name);
        if (!known) names.emplace_back(name);
    }
    return names;
}

AnsiString QuotedStr(std::string_view text) {
    AnsiString quoted = "'";
    for (char c : text) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    return quoted + "'";
}

} // namespace qmx::platform
