#pragma once
// Bytes of one code page <-> UTF-8 over iconv, for the two ends of the conversion (OpenCC works
// on UTF-8).
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace qmx::qmlanguage {

class ByteCodec {
public:
    // Answers the bytes that stand for a character (UTF-8) the code page cannot hold; charIndex
    // counts the characters of the encoded text from 0.
    using Fallback = std::function<std::string(std::string_view character, std::size_t charIndex)>;

    // iconvName: "CP936", "CP950". Throws std::runtime_error when iconv does not know it.
    explicit ByteCodec(std::string iconvName);

    // Each byte that starts no character of the code page becomes '?'; the rest is decoded.
    std::string Decode(std::string_view bytes) const;
    // The one character that bytes hold, as UTF-8; empty when bytes are not exactly one valid
    // character.
    std::string DecodeCharacter(std::string_view bytes) const;
    // The bytes of the text; fallback decides for each character the code page cannot hold.
    std::string Encode(std::string_view utf8, const Fallback& fallback) const;
    // The bytes of one character (UTF-8), or empty when the code page cannot hold it.
    std::string EncodeCharacter(std::string_view character) const;

    const std::string& IconvName() const { return iconvName_; }

private:
    std::string iconvName_;
};

} // namespace qmx::qmlanguage
