#include "XmlEncoding.h"

#include <algorithm>

#include "TextCodec.h"

namespace qmx::platform::detail {
namespace {

// Length of the UTF-8 sequence that starts with lead (1 for a byte that starts none).
std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return 4;
}

} // namespace

AnsiString XmlMarkupFromUtf8(std::string_view utf8, CodePage codePage) {
    if (codePage == CP_UTF8 || IsAscii(utf8)) return AnsiString(utf8);
    AnsiString whole = Utf8ToAnsi(utf8, codePage);
    if (AnsiToUtf8(whole, codePage) == utf8) return whole;
    // Some character did not survive: convert character by character and write the ones that
    // do not survive as references.
    AnsiString result;
    result.reserve(whole.size() + 16);
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[pos]);
        if (lead < 0x80) {
            result += static_cast<char>(lead);
            ++pos;
            continue;
        }
        const std::size_t length = std::min(Utf8SequenceLength(lead), utf8.size() - pos);
        const std::string_view sequence = utf8.substr(pos, length);
        AnsiString piece = Utf8ToAnsi(sequence, codePage);
        if (AnsiToUtf8(piece, codePage) == sequence)
            result += piece;
        else
            result += "&#" + std::to_string(static_cast<std::uint32_t>(DecodeUtf8(sequence))) + ";";
        pos += length;
    }
    return result;
}

std::string DeclaredEncoding(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    const std::size_t start = bytes.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || bytes.substr(start, 5) != "<?xml") return {};
    const std::size_t end = bytes.find("?>", start);
    if (end == std::string_view::npos) return {};
    const std::string_view declaration = bytes.substr(start + 5, end - start - 5);
    std::size_t pos = declaration.find("encoding");
    if (pos == std::string_view::npos) return {};
    pos = declaration.find_first_not_of(" \t\r\n", pos + 8);
    if (pos == std::string_view::npos || declaration[pos] != '=') return {};
    pos = declaration.find_first_not_of(" \t\r\n", pos + 1);
    if (pos == std::string_view::npos || (declaration[pos] != '"' && declaration[pos] != '\'')) return {};
    const std::size_t close = declaration.find(declaration[pos], pos + 1);
    if (close == std::string_view::npos) return {};
    return std::string(declaration.substr(pos + 1, close - pos - 1));
}

std::optional<std::string> FileBytesToUtf8(std::string_view bytes, std::string& error) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
        if (!IsValidUtf8(bytes)) {
            error = "the file has a UTF-8 byte order mark but is not UTF-8";
            return std::nullopt;
        }
        return std::string(bytes);
    }
    const bool littleEndian = bytes.starts_with("\xFF\xFE");
    if (littleEndian || bytes.starts_with("\xFE\xFF")) {
        bytes.remove_prefix(2);
        if (bytes.size() % 2 != 0) {
            error = "the file is UTF-16 of an odd length";
            return std::nullopt;
        }
        WideString wide;
        wide.reserve(bytes.size() / 2);
        for (std::size_t i = 0; i < bytes.size(); i += 2) {
            const auto first = static_cast<unsigned char>(bytes[i]);
            const auto second = static_cast<unsigned char>(bytes[i + 1]);
            wide += littleEndian ? static_cast<char16_t>(first | (second << 8))
                                 : static_cast<char16_t>((first << 8) | second);
        }
        return WideToUtf8(wide);
    }
    const std::string declared = DeclaredEncoding(bytes);
    std::optional<CodePage> codePage = CP_UTF8;
    if (!declared.empty()) {
        codePage = CodePageOfEncoding(declared);
        if (!codePage) {
            error = "unsupported encoding '" + declared + "'";
            return std::nullopt;
        }
    }
    if (*codePage == CP_UTF8) {
        if (!IsValidUtf8(bytes)) {
            error = declared.empty() ? "the file declares no encoding and is not UTF-8"
                                     : "the file declares UTF-8 but is not UTF-8";
            return std::nullopt;
        }
        return std::string(bytes);
    }
    try {
        return AnsiToUtf8(bytes, *codePage);
    } catch (const Exception&) {
        error = "unsupported encoding '" + declared + "'";
        return std::nullopt;
    }
}

} // namespace qmx::platform::detail
