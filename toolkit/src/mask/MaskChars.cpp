#include "MaskChars.h"

namespace qmx {
namespace {

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// Letters of page 1252 above ASCII: the Latin-1 letters plus the few in 0x80..0x9F.
bool IsWesternLetter(unsigned char c) {
    switch (c) {
    case 0x83: case 0x8A: case 0x8C: case 0x8E: case 0x9A: case 0x9C: case 0x9E: case 0x9F:
    case 0xAA: case 0xB5: case 0xBA:
        return true;
    default:
        return c >= 0xC0 && c != 0xD7 && c != 0xF7;
    }
}

} // namespace

bool IsMaskLetter(std::string_view character, CodePage codePage) {
    if (character.size() == 2) return true;
    if (character.size() != 1) return false;
    const auto c = static_cast<unsigned char>(character[0]);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    return codePage == CP_WESTERN && IsWesternLetter(c);
}

bool MaskCharFits(TMaskCharKind kind, std::string_view character, CodePage codePage) {
    if (character.empty() || IsControl(static_cast<unsigned char>(character[0]))) return false;
    const bool single = character.size() == 1;
    switch (kind) {
    case TMaskCharKind::Literal:
        return false;
    case TMaskCharKind::LetterRequired:
    case TMaskCharKind::LetterOptional:
        return IsMaskLetter(character, codePage);
    case TMaskCharKind::AlphaNumRequired:
    case TMaskCharKind::AlphaNumOptional:
        return IsMaskLetter(character, codePage) || (single && IsAsciiDigit(character[0]));
    case TMaskCharKind::AnyRequired:
    case TMaskCharKind::AnyOptional:
        return true;
    case TMaskCharKind::DigitRequired:
    case TMaskCharKind::DigitOptional:
        return single && IsAsciiDigit(character[0]);
    case TMaskCharKind::DigitOrSignOptional:
        return single && (IsAsciiDigit(character[0]) || character[0] == '+' || character[0] == '-');
    }
    return false;
}

AnsiString ConvertMaskCase(std::string_view character, TMaskCase caseMode, CodePage codePage) {
    switch (caseMode) {
    case TMaskCase::Upper:
        return AnsiUpperCase(character, codePage);
    case TMaskCase::Lower:
        return AnsiLowerCase(character, codePage);
    case TMaskCase::None:
        break;
    }
    return AnsiString(character);
}

} // namespace qmx
