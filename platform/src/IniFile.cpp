#include "qmx/platform/IniFile.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <sys/stat.h>

namespace qmx::platform {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Spaces and tabs are below 0x40, so they are never the trail byte of a double-byte character
// and may be trimmed byte by byte.
std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Quote characters are below 0x40 too.
std::string_view Unquote(std::string_view s) {
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        return s.substr(1, s.size() - 2);
    return s;
}

std::optional<int> ParseWholeNumber(std::string_view s) {
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        std::uint32_t value = 0;
        std::string_view digits = s.substr(2);
        if (digits.size() > 8) return std::nullopt;
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
        return static_cast<int>(value);
    }
    // from_chars takes a '-' but no '+', and nothing but digits after the sign.
    const bool plus = s.starts_with('+');
    if (plus) s.remove_prefix(1);
    if (plus && s.starts_with('-')) return std::nullopt;
    std::string_view digits = s.starts_with('-') ? s.substr(1) : s;
    if (digits.empty() || digits.front() < '0' || digits.front() > '9') return std::nullopt;
    int value = 0;
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value, 10);
    if (error != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

} // namespace

TIniFile::TIniFile(std::string fileName, CodePage codePage) : fileName_(std::move(fileName)), codePage_(codePage) {
    struct stat info {};
    if (::stat(fileName_.c_str(), &info) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) loadError_ = fileName_ + ": " + std::strerror(errno);
        return;  // a missing file reads as empty
    }
    if (S_ISDIR(info.st_mode)) {
        loadError_ = fileName_ + ": is a folder, not a file";
        return;
    }
    std::ifstream in(fileName_, std::ios::binary);
    if (!in) {
        loadError_ = fileName_ + ": " + std::strerror(errno);
        return;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        loadError_ = fileName_ + ": read error";
        return;
    }
    Parse(bytes);
}

TIniFile::TIniFile(std::string fileName, CodePage codePage, std::string_view bytes)
    : fileName_(std::move(fileName)), codePage_(codePage) {
    Parse(bytes);
}

TIniFile TIniFile::FromText(std::string_view bytes, std::string fileName, CodePage codePage) {
    return TIniFile(std::move(fileName), codePage, bytes);
}

void TIniFile::Parse(std::string_view bytes) {
    std::string converted;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        converted = Utf8ToAnsi(bytes.substr(3), codePage_);
        bytes = converted;
    } else if (bytes.starts_with("\xFF\xFE")) {
        bytes.remove_prefix(2);
        std::u16string wide;
        wide.reserve(bytes.size() / 2);
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            wide += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8));
        converted = WideToAnsi(wide, codePage_);
        bytes = converted;
    }

    std::size_t current = kNone;
    while (!bytes.empty()) {
        std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ParseLine(line.substr(0, line.find('\0')), current);
    }
}

void TIniFile::ParseLine(std::string_view line, std::size_t& current) {
    line = Trim(line);
    if (line.empty() || line.front() == ';') return;
    if (line.front() == '[') {
        // ']' can be a trail byte in GBK and BIG5: look for the character.
        std::size_t close = AnsiFindChar(line, ']', 1, codePage_);
        AnsiString name(Trim(line.substr(1, close == std::string_view::npos ? close : close - 1)));
        auto [found, added] = sectionIndex_.emplace(AnsiUpperCase(name, codePage_), sections_.size());
        if (!added) {
            current = kNone;  // a later section of a known name: ignored
            return;
        }
        current = sections_.size();
        sections_.push_back(Section{std::move(name), {}, {}});
        return;
    }
    if (current == kNone) return;
    std::size_t equals = AnsiFindChar(line, '=', 0, codePage_);
    if (equals == std::string_view::npos) return;
    std::string_view key = Trim(line.substr(0, equals));
    if (key.empty()) return;
    Section& section = sections_[current];
    section.KeyIndex.emplace(AnsiUpperCase(key, codePage_), section.Entries.size());  // first one wins
    section.Entries.push_back(Entry{AnsiString(key), AnsiString(Unquote(Trim(line.substr(equals + 1))))});
}

const TIniFile::Section* TIniFile::FindSection(std::string_view name) const {
    auto found = sectionIndex_.find(AnsiUpperCase(Trim(name), codePage_));
    return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

const TIniFile::Entry* TIniFile::FindEntry(std::string_view section, std::string_view ident) const {
    const Section* found = FindSection(section);
    if (!found) return nullptr;
    auto entry = found->KeyIndex.find(AnsiUpperCase(Trim(ident), codePage_));
    return entry == found->KeyIndex.end() ? nullptr : &found->Entries[entry->second];
}

AnsiString TIniFile::ReadString(std::string_view section, std::string_view ident,
                                std::string_view defaultValue) const {
    const Entry* entry = FindEntry(section, ident);
    return entry ? entry->Value : AnsiString(defaultValue);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view ident, int defaultValue) const {
    const Entry* entry = FindEntry(section, ident);
    if (!entry) return defaultValue;
    return ParseWholeNumber(entry->Value).value_or(defaultValue);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view ident, bool defaultValue) const {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

std::vector<AnsiString> TIniFile::ReadSection(std::string_view section) const {
    std::vector<AnsiString> keys;
    if (const Section* found = FindSection(section))
        for (const auto& entry : found->Entries) keys.push_back(entry.Key);
    return keys;
}

std::vector<AnsiString> TIniFile::ReadSections() const {
    std::vector<AnsiString> names;
    for (const auto& section : sections_) names.push_back(section.Name);
    return names;
}

std::vector<AnsiString> TIniFile::ReadSectionValues(std::string_view section) const {
    std::vector<AnsiString> lines;
    const Section* found = FindSection(section);
    if (!found) return lines;
    for (const auto& entry : found->Entries) {
        const Entry& first = found->Entries[found->KeyIndex.at(AnsiUpperCase(entry.Key, codePage_))];
        lines.push_back(entry.Key + "=" + first.Value);
    }
    return lines;
}

bool TIniFile::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

bool TIniFile::ValueExists(std::string_view section, std::string_view ident) const {
    return FindEntry(section, ident) != nullptr;
}

} // namespace qmx::platform
