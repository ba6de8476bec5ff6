#include "RegFileParser.h"

#include <bit>
#include <cstring>

namespace qmx::platform {
namespace {

constexpr std::string_view kHeaderV5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeaderV4 = "REGEDIT4";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char a = s[i];
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 32);
        if (a != prefix[i]) return false;
    }
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// 1 to maxDigits hex digits and nothing else.
bool ParseHexNumber(std::string_view s, std::size_t maxDigits, std::uint64_t& value) {
    if (s.empty() || s.size() > maxDigits) return false;
    value = 0;
    for (char c : s) {
        int digit = HexDigit(c);
        if (digit < 0) return false;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return true;
}

// Printable ASCII as is, anything else as \xNN, at most 40 characters: diagnostics stay plain
// ASCII whatever the file holds.
std::string Shown(std::string_view s) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < s.size() && i < 40; ++i) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    if (s.size() > 40) out += "...";
    return out;
}

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        std::size_t length;
        char32_t min;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            length = 2, min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3, min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4, min = 0x10000;
        } else {
            return false;
        }
        if (i + length > s.size()) return false;
        char32_t cp = c & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            auto next = static_cast<unsigned char>(s[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

std::u16string Utf16FromBytes(const std::vector<std::uint8_t>& bytes, std::size_t begin, std::size_t end) {
    std::u16string out;
    for (std::size_t i = begin; i + 1 < end; i += 2)
        out += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    return out;
}

} // namespace

RegFileParser::RegFileParser(std::string_view fileName, CodePage codePage, RegParseMode mode)
    : fileName_(fileName), codePage_(codePage), mode_(mode) {}

void RegFileParser::Problem(std::size_t line, std::string reason) {
    diagnostics_.push_back(RegDiagnostic{fileName_, line, std::move(reason)});
    if (mode_ == RegParseMode::Strict) throw ERegistryException(diagnostics_.back().ToString());
}

AnsiString RegFileParser::ToAnsi(std::string_view utf8) const { return Utf8ToAnsi(utf8, codePage_); }

RegFileContent RegFileParser::Parse(std::string_view bytes) {
    content_ = RegFileContent{};
    pos_ = 0;
    lineNumber_ = 0;
    keyState_ = KeyState::NoKey;
    if (!DecodeToUtf8(bytes, text_) || !ReadHeader()) return RegFileContent{};

    Line line;
    while (NextLine(line)) {
        std::string_view text = TrimLeft(line.Text);
        if (line.Text.size() > MaxLineLength) {
            if (!text.empty() && text.front() == '[') keyState_ = KeyState::Skipped;
            Problem(line.Number, "line longer than " + std::to_string(MaxLineLength) + " bytes");
            continue;
        }
        if (line.Text.find('\0') != std::string_view::npos) {
            if (!text.empty() && text.front() == '[') keyState_ = KeyState::Skipped;
            Problem(line.Number, "NUL byte in line");
            continue;
        }
        if (text.empty() || text.front() == ';') continue;
        if (text.front() == '[')
            ParseKeyLine(text, line.Number);
        else if (text.front() == '"' || text.front() == '@')
            ParseValueLine(text, line.Number);
        else
            Problem(line.Number, "unrecognised line \"" + Shown(text) + "\"");
    }
    content_.Accepted = true;
    return std::move(content_);
}

bool RegFileParser::DecodeToUtf8(std::string_view bytes, std::string& utf8) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        bytes.remove_prefix(2);
        if (bytes.size() % 2 != 0) {
            Problem(0, "UTF-16 file of odd length; the last byte is ignored");
            bytes.remove_suffix(1);
        }
        std::u16string wide(bytes.size() / 2, u'\0');
        std::memcpy(wide.data(), bytes.data(), bytes.size());
        // Byte order of the file is little-endian; convert on a big-endian host.
        if constexpr (std::endian::native == std::endian::big)
            for (auto& unit : wide) unit = static_cast<char16_t>((unit >> 8) | (unit << 8));
        utf8 = WideToUtf8(wide);
        return true;
    }
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
        static_cast<unsigned char>(bytes[1]) == 0xFF) {
        Problem(0, "UTF-16 big-endian files are not supported; file ignored");
        return false;
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
        if (!IsValidUtf8(bytes)) Problem(0, "invalid UTF-8 sequences read as '?'");
        utf8.assign(bytes);
        return true;
    }
    if (IsValidUtf8(bytes))
        utf8.assign(bytes);
    else
        utf8 = AnsiToUtf8(bytes, codePage_);  // an ANSI export of this system's code page
    return true;
}

bool RegFileParser::NextLine(Line& line) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string::npos) end = text_.size();
    std::string_view text(text_.data() + pos_, end - pos_);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    pos_ = end + 1;
    line = Line{text, ++lineNumber_};
    return true;
}

bool RegFileParser::ReadHeader() {
    Line line;
    while (NextLine(line)) {
        std::string_view text = Trim(line.Text);
        if (text.empty()) continue;
        if (text == kHeaderV5) {
            version_ = Version::V5;
            return true;
        }
        if (text == kHeaderV4) {
            version_ = Version::V4;
            return true;
        }
        Problem(line.Number, "missing header \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"; "
                             "file ignored");
        return false;
    }
    Problem(lineNumber_ == 0 ? 1 : lineNumber_, "empty file: no header; file ignored");
    return false;
}

void RegFileParser::ParseKeyLine(std::string_view line, std::size_t number) {
    keyState_ = KeyState::Skipped;
    line = TrimRight(line);
    if (line.size() < 2 || line.back() != ']') {
        Problem(number, "key line without closing ']'");
        return;
    }
    std::string_view path = line.substr(1, line.size() - 2);  // up to the last ']'
    if (!path.empty() && path.front() == '-') return;          // deletion: ignored with its values

    // The text is UTF-8 here, so a '\' byte is always a delimiter.
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        std::size_t end = path.find('\\', start);
        parts.push_back(path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    while (parts.size() > 1 && parts.back().empty()) parts.pop_back();  // "[HKCU\A\]"

    auto root = RegRootFromName(parts.front());
    if (!root) {
        Problem(number, "unknown root key \"" + Shown(parts.front()) + "\"");
        return;
    }
    RegFileKey key;
    key.Root = *root;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].empty()) {
            Problem(number, "empty key name in \"" + Shown(path) + "\"");
            return;
        }
        key.Path.push_back(ToAnsi(parts[i]));
    }
    content_.Keys.push_back(std::move(key));
    keyState_ = KeyState::Open;
}

bool RegFileParser::ParseQuoted(std::string_view& rest, std::string& out, std::size_t number) {
    // rest starts at the opening quote; on success it starts after the closing one.
    out.clear();
    for (std::size_t i = 1; i < rest.size(); ++i) {
        char c = rest[i];
        if (c == '"') {
            rest.remove_prefix(i + 1);
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= rest.size()) break;
            char next = rest[++i];
            if (next != '\\' && next != '"') {
                Problem(number, std::string("bad escape sequence \"\\") + Shown(std::string_view(&next, 1)) +
                                    "\" (only \\\\ and \\\" are allowed)");
                return false;
            }
            out += next;
            continue;
        }
        out += c;
    }
    Problem(number, "missing closing quote");
    return false;
}

bool RegFileParser::JoinContinuations(std::string& data, std::size_t number) {
    // A bad list still reads all its continuation lines, so that they are not taken for lines of
    // their own; only the first problem is reported.
    std::size_t badLine = 0;
    std::string badReason;
    for (;;) {
        std::string_view trimmed = TrimRight(data);
        if (trimmed.empty() || trimmed.back() != '\\') break;
        data.resize(trimmed.size() - 1);
        Line next;
        if (!NextLine(next)) {
            if (badReason.empty()) badLine = number, badReason = "hex list continues past the end of the file";
            break;
        }
        std::string_view text = Trim(next.Text);
        if (badReason.empty() && text.find('\0') != std::string_view::npos)
            badLine = next.Number, badReason = "NUL byte in line";
        if (badReason.empty() && data.size() + text.size() > MaxLineLength)
            badLine = number, badReason = "hex list longer than " + std::to_string(MaxLineLength) + " bytes";
        if (!badReason.empty()) {
            data = text.ends_with('\\') ? "\\" : "";  // only whether it goes on matters now
            continue;
        }
        data.append(text);
    }
    if (badReason.empty()) return true;
    Problem(badLine, std::move(badReason));
    return false;
}

void RegFileParser::ParseValueLine(std::string_view line, std::size_t number) {
    RegValue value;
    std::string_view rest = line;
    if (rest.front() == '@') {
        rest.remove_prefix(1);
    } else {
        std::string name;
        if (!ParseQuoted(rest, name, number)) return;
        value.Name = ToAnsi(name);
    }
    rest = TrimLeft(rest);
    if (rest.empty() || rest.front() != '=') {
        Problem(number, "missing '=' after the value name");
        return;
    }
    std::string data(TrimLeft(rest.substr(1)));
    if (StartsWithNoCase(data, "hex") && !JoinContinuations(data, number)) return;

    if (keyState_ != KeyState::Open) {
        if (keyState_ == KeyState::NoKey) Problem(number, "value before the first key line");
        return;
    }
    if (Trim(data) == "-") return;  // deletion of a value: ignored
    if (!ParseData(data, value, number)) return;
    content_.Keys.back().Values.push_back(std::move(value));
}

bool RegFileParser::ParseData(std::string_view data, RegValue& value, std::size_t number) {
    if (!data.empty() && data.front() == '"') {
        std::string text;
        if (!ParseQuoted(data, text, number)) return false;
        if (!Trim(data).empty()) {
            Problem(number, "text after the closing quote");
            return false;
        }
        value.Type = RegValueType::String;
        value.Text = ToAnsi(text);
        return true;
    }
    if (StartsWithNoCase(data, "dword:")) {
        std::uint64_t number64 = 0;
        if (!ParseHexNumber(Trim(data.substr(6)), 8, number64)) {
            Problem(number, "dword value needs 1 to 8 hex digits");
            return false;
        }
        value.Type = RegValueType::DWord;
        value.Number = number64;
        for (int i = 0; i < 4; ++i) value.Data.push_back(static_cast<std::uint8_t>(number64 >> (8 * i)));
        return true;
    }
    if (StartsWithNoCase(data, "hex:") || StartsWithNoCase(data, "hex("))
        return ParseHexList(data, value, number);

    std::string_view type = data.substr(0, data.find(':'));
    Problem(number, "unknown value type \"" + Shown(Trim(type)) + "\"");
    return false;
}

bool RegFileParser::ParseHexList(std::string_view data, RegValue& value, std::size_t number) {
    std::uint64_t type = static_cast<std::uint64_t>(RegValueType::Binary);
    data.remove_prefix(3);
    if (data.front() == '(') {
        std::size_t close = data.find(')');
        if (close == std::string_view::npos || !ParseHexNumber(data.substr(1, close - 1), 8, type)) {
            Problem(number, "bad type number in hex(...)");
            return false;
        }
        data.remove_prefix(close + 1);
        if (data.empty() || data.front() != ':') {
            Problem(number, "missing ':' after hex(...)");
            return false;
        }
    }
    data.remove_prefix(1);  // ':'
    value.Type = static_cast<RegValueType>(type);

    if (!Trim(data).empty()) {
        for (std::size_t start = 0;;) {
            std::size_t comma = data.find(',', start);
            std::string_view item = Trim(data.substr(start, comma == std::string_view::npos ? comma : comma - start));
            std::uint64_t byte = 0;
            if (!ParseHexNumber(item, 2, byte)) {
                Problem(number, "bad byte \"" + Shown(item) + "\" in hex list");
                return false;
            }
            value.Data.push_back(static_cast<std::uint8_t>(byte));
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
    }
    return DecodeTypedBytes(value, number);
}

bool RegFileParser::DecodeTypedBytes(RegValue& value, std::size_t number) {
    const auto& bytes = value.Data;
    const bool wide = version_ == Version::V5;
    switch (value.Type) {
    case RegValueType::String:
    case RegValueType::ExpandString:
    case RegValueType::MultiString: {
        if (wide && bytes.size() % 2 != 0) {
            Problem(number, "text value of an odd number of bytes");
            return false;
        }
        // The texts of the value, split at NUL characters.
        std::vector<AnsiString> texts;
        const std::size_t unit = wide ? 2 : 1;
        std::size_t start = 0;
        for (std::size_t i = 0; i + unit <= bytes.size(); i += unit) {
            bool nul = bytes[i] == 0 && (!wide || bytes[i + 1] == 0);
            if (!nul) continue;
            texts.push_back(wide ? WideToAnsi(Utf16FromBytes(bytes, start, i), codePage_)
                                 : AnsiString(bytes.begin() + start, bytes.begin() + i));
            start = i + unit;
        }
        if (start < bytes.size())  // no terminating NUL
            texts.push_back(wide ? WideToAnsi(Utf16FromBytes(bytes, start, bytes.size()), codePage_)
                                 : AnsiString(bytes.begin() + start, bytes.end()));
        if (value.Type == RegValueType::MultiString) {
            for (auto& text : texts) {
                if (text.empty()) break;  // the empty text ends the list
                value.Strings.push_back(std::move(text));
            }
        } else if (!texts.empty()) {
            value.Text = std::move(texts.front());
        }
        return true;
    }
    case RegValueType::DWord:
    case RegValueType::QWord: {
        const std::size_t size = value.Type == RegValueType::DWord ? 4 : 8;
        if (bytes.size() != size) {
            Problem(number, std::string(value.Type == RegValueType::DWord ? "hex(4)" : "hex(b)") +
                                " value needs " + std::to_string(size) + " bytes");
            return false;
        }
        value.Number = 0;
        for (std::size_t i = size; i-- > 0;) value.Number = (value.Number << 8) | bytes[i];
        return true;
    }
    default:
        return true;  // kept as bytes
    }
}

} // namespace qmx::platform
