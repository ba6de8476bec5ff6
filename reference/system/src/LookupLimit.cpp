#include "LookupLimit.h"

#include <charconv>

#include "qmx/CodePage.h"

namespace qmx::reference {

namespace {
constexpr char kFieldSeparator = '\x03';
}

LookupLimit LookupLimit::Parse(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        // The separator is a control character, never the trail byte of a double-byte character.
        const std::size_t end = text.find(kFieldSeparator, start);
        fields.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    LookupLimit limit;
    limit.table_ = AnsiString(fields[0]);
    if (limit.table_.empty()) return limit;
    int count = -1;
    const std::string_view countText = fields.size() > 1 ? fields[1] : std::string_view();
    auto [end, error] = std::from_chars(countText.data(), countText.data() + countText.size(), count);
    if (error != std::errc() || end != countText.data() + countText.size() || count < 0)
        throw EOleError("The lookup limit names no count of codes: " + AnsiString(text));
    if (fields.size() < static_cast<std::size_t>(count) + 2)
        throw EOleError("The lookup limit names " + std::to_string(count) + " codes but holds fewer");
    for (int i = 0; i < count; ++i)
        limit.codes_.emplace_back(fields[static_cast<std::size_t>(i) + 2]);
    return limit;
}

bool LookupLimit::Limits(std::string_view table) const {
    return !table_.empty() && AnsiSameText(table_, table, CP_WESTERN);
}

bool LookupLimit::Allows(std::string_view table, std::string_view code) const {
    if (!Limits(table)) return true;
    for (const AnsiString& allowed : codes_)
        if (AnsiSameText(allowed, code, CP_GB2312)) return true;
    return false;
}

} // namespace qmx::reference
