#include "ConnectionString.h"

#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "TextCodec.h"
#include "qmx/platform/DatabaseError.h"
#include "qmx/platform/Paths.h"

namespace qmx::platform::detail {
namespace {

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Keys compare without regard to case or blanks: "Data Source", "DataSource" and "data source"
// are one key.
std::string KeyOf(std::string_view key) {
    std::string result;
    for (char c : key)
        if (c != ' ' && c != '\t') result += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    return result;
}

struct Pair {
    std::string key;
    AnsiString value;
};

// key=value pairs separated by ';'; a value may be quoted with " or ' (the quote doubled inside)
// so that it can hold ';'. A later pair of the same key wins.
std::vector<Pair> SplitPairs(std::string_view text) {
    std::vector<Pair> pairs;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t equals = text.find('=', pos);
        const std::size_t semicolon = text.find(';', pos);
        if (equals == std::string_view::npos || (semicolon != std::string_view::npos && semicolon < equals)) {
            const std::string_view rest =
                Trim(text.substr(pos, semicolon == std::string_view::npos ? text.npos : semicolon - pos));
            if (!rest.empty()) throw EDatabaseError("The connection string has no '=' in '" + std::string(rest) + "'");
            if (semicolon == std::string_view::npos) break;
            pos = semicolon + 1;
            continue;
        }
        Pair pair{KeyOf(text.substr(pos, equals - pos)), {}};
        if (pair.key.empty()) throw EDatabaseError("The connection string has a value without key");
        std::size_t valueStart = text.find_first_not_of(" \t", equals + 1);
        if (valueStart != std::string_view::npos && (text[valueStart] == '"' || text[valueStart] == '\'')) {
            const char quote = text[valueStart];
            std::size_t i = valueStart + 1;
            for (;; ++i) {
                if (i >= text.size()) throw EDatabaseError("The connection string has an unclosed quote");
                if (text[i] == quote) {
                    if (i + 1 < text.size() && text[i + 1] == quote) {
                        pair.value += quote;
                        ++i;
                        continue;
                    }
                    break;
                }
                pair.value += text[i];
            }
            const std::size_t after = text.find_first_not_of(" \t", i + 1);
            if (after != std::string_view::npos && text[after] != ';')
                throw EDatabaseError("The connection string has text after the quoted value of '" + pair.key + "'");
            pos = after == std::string_view::npos ? text.size() : after + 1;
        } else {
            const std::size_t valueEnd = text.find(';', equals + 1);
            pair.value = AnsiString(
                Trim(text.substr(equals + 1, valueEnd == std::string_view::npos ? text.npos : valueEnd - equals - 1)));
            pos = valueEnd == std::string_view::npos ? text.size() : valueEnd + 1;
        }
        pairs.push_back(std::move(pair));
    }
    return pairs;
}

std::optional<AnsiString> Find(const std::vector<Pair>& pairs, std::initializer_list<const char*> keys) {
    std::optional<AnsiString> found;
    for (const Pair& pair : pairs)
        for (const char* key : keys)
            if (pair.key == key) found = pair.value;
    return found;
}

bool Boolean(const AnsiString& value, const char* key) {
    const std::string upper = KeyOf(value);
    if (upper == "TRUE" || upper == "YES" || upper == "1") return true;
    if (upper == "FALSE" || upper == "NO" || upper == "0" || upper.empty()) return false;
    throw EDatabaseError(std::string("The connection string's ") + key + " must be True or False, not '" + value + "'");
}

} // namespace

ConnectionSettings ParseConnectionString(std::string_view text) {
    const std::vector<Pair> pairs = SplitPairs(text);
    ConnectionSettings settings;

    if (const auto driver = Find(pairs, {"DRIVER", "DSN"}))
        throw EDatabaseError(
            "The ODBC connection '" + *driver +
            "' is not available: the provider of this system is the embedded engine (Provider=SQLite)");
    if (const auto provider = Find(pairs, {"PROVIDER"})) {
        const std::string upper = KeyOf(*provider);
        if (!upper.empty() && upper != "SQLITE" && upper != "SQLITE3")
            throw EDatabaseError(
                "The provider '" + *provider +
                "' is not available: the provider of this system is the embedded engine (Provider=SQLite)");
    }

    const auto dataSource = Find(pairs, {"DATASOURCE", "FILENAME"});
    if (!dataSource || dataSource->empty())
        throw EDatabaseError("The connection string names no Data Source (the database file)");
    settings.dataSource = *dataSource;

    if (const auto catalog = Find(pairs, {"INITIALCATALOG", "DATABASE"}))
        settings.databaseName = *catalog;
    else if (settings.dataSource != ":memory:")
        settings.databaseName = ChangeFileExt(ExtractFileName(settings.dataSource), "");

    if (const auto charset = Find(pairs, {"CHARSET"})) {
        const std::optional<CodePage> codePage = CodePageOfEncoding(Trim(*charset));
        bool usable = codePage.has_value();
        if (usable) {
            try {
                AnsiToWide("\xA1", *codePage);
            } catch (const Exception&) {
                usable = false;
            }
        }
        if (!usable)
            throw EDatabaseError("The connection string's Charset '" + *charset +
                                 "' is not a code page of this system");
        settings.charset = *codePage;
    }

    if (const auto timeout = Find(pairs, {"BUSYTIMEOUT"})) {
        const std::string_view digits = Trim(*timeout);
        int value = -1;
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (ec != std::errc() || end != digits.data() + digits.size() || value < 0)
            throw EDatabaseError("The connection string's Busy Timeout must be milliseconds, not '" + *timeout + "'");
        settings.busyTimeout = value;
    }
    if (const auto mode = Find(pairs, {"MODE"})) settings.readOnly = KeyOf(*mode) == "READ";
    if (const auto create = Find(pairs, {"CREATE"})) settings.create = Boolean(*create, "Create");
    return settings;
}

} // namespace qmx::platform::detail
