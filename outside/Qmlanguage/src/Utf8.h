#pragma once
// The few UTF-8 steps the converter needs between iconv and OpenCC. The texts handled here are
// well-formed: iconv writes them and OpenCC's tables keep them so.
#include <cstddef>
#include <string>
#include <string_view>

namespace qmx::qmlanguage {

// Bytes of the character that starts with lead (1 for a stray continuation byte).
inline std::size_t Utf8CharLength(unsigned char lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return 4;
}

// The character that starts at pos (clipped at the end of the text; empty at or past the end).
inline std::string_view Utf8CharAt(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return {};
    return text.substr(pos, Utf8CharLength(static_cast<unsigned char>(text[pos])));
}

// Number of characters in text.
inline std::size_t Utf8CharCount(std::string_view text) {
    std::size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

// Position of the character count characters after pos (the end when the text is shorter).
inline std::size_t Utf8Advance(std::string_view text, std::size_t pos, std::size_t count) {
    while (count-- > 0 && pos < text.size()) pos += Utf8CharLength(static_cast<unsigned char>(text[pos]));
    return pos < text.size() ? pos : text.size();
}

} // namespace qmx::qmlanguage
