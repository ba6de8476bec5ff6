#include "TextCodec.h"

#include <algorithm>
#include <charconv>

namespace qmx::platform::detail {
namespace {

std::string UpperAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return result;
}

} // namespace

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char32_t DecodeUtf8(std::string_view sequence) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(sequence[i]); };
    switch (sequence.size()) {
    case 1: return byte(0);
    case 2: return (char32_t(byte(0) & 0x1F) << 6) | (byte(1) & 0x3F);
    case 3: return (char32_t(byte(0) & 0x0F) << 12) | (char32_t(byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
    default:
        return (char32_t(byte(0) & 0x07) << 18) | (char32_t(byte(1) & 0x3F) << 12) | (char32_t(byte(2) & 0x3F) << 6) |
               (byte(3) & 0x3F);
    }
}

std::string CodePageToUtf8(std::string_view text, CodePage codePage) {
    if (codePage == CP_UTF8 || IsAscii(text)) return std::string(text);
    return AnsiToUtf8(text, codePage);
}

AnsiString Utf8ToCodePage(std::string_view utf8, CodePage codePage) {
    if (codePage == CP_UTF8 || IsAscii(utf8)) return AnsiString(utf8);
    return Utf8ToAnsi(utf8, codePage);
}

bool IsValidUtf8(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        if (lead < 0x80) {
            ++pos;
            continue;
        }
        std::size_t length;
        char32_t minimum;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            minimum = 0x10000;
        } else {
            return false;
        }
        if (pos + length > text.size()) return false;
        for (std::size_t i = 1; i < length; ++i)
            if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) return false;
        const char32_t code = DecodeUtf8(text.substr(pos, length));
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        pos += length;
    }
    return true;
}

std::optional<CodePage> CodePageOfEncoding(std::string_view name) {
    const std::string upper = UpperAscii(name);
    struct Alias {
        const char* name;
        CodePage codePage;
    };
    // GB2312 is read as page 936 (GBK), BIG5 as page 950, ISO-8859-1 as 1252: what the original
    // system did with these names.
    static constexpr Alias kAliases[] = {
        {"GB2312", CP_GB2312},      {"GBK", CP_GB2312},        {"X-GBK", CP_GB2312},       {"EUC-CN", CP_GB2312},
        {"GB_2312-80", CP_GB2312},  {"MS936", CP_GB2312},      {"BIG5", CP_BIG5},          {"BIG-5", CP_BIG5},
        {"X-X-BIG5", CP_BIG5},      {"CN-BIG5", CP_BIG5},      {"UTF-8", CP_UTF8},         {"UTF8", CP_UTF8},
        {"ISO-8859-1", CP_WESTERN}, {"ISO8859-1", CP_WESTERN}, {"ISO_8859-1", CP_WESTERN}, {"LATIN1", CP_WESTERN},
        {"US-ASCII", CP_WESTERN},   {"ASCII", CP_WESTERN},     {"IBM437", CP_OEM_US},
    };
    for (const Alias& alias : kAliases)
        if (upper == alias.name) return alias.codePage;
    for (std::string_view prefix : {"WINDOWS-", "CP", ""}) {
        if (upper.size() > prefix.size() && upper.starts_with(prefix)) {
            CodePage number = 0;
            const char* first = upper.data() + prefix.size();
            const char* last = upper.data() + upper.size();
            auto [end, ec] = std::from_chars(first, last, number);
            if (ec == std::errc() && end == last && number > 0) return number;
        }
    }
    return std::nullopt;
}

} // namespace qmx::platform::detail
