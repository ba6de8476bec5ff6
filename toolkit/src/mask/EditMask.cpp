// Reading a mask text into positions, and the position queries the other parts build on.
#include "qmx/toolkit/MaskEngine.h"

#include <algorithm>

namespace qmx {
namespace {

bool IsControlByte(unsigned char c) { return c < 0x20 || c == 0x7F; }

// The position kind of a mask character; Literal for anything that is not one.
TMaskCharKind KindOf(char c) {
    switch (c) {
    case 'L': return TMaskCharKind::LetterRequired;
    case 'l': return TMaskCharKind::LetterOptional;
    case 'A': return TMaskCharKind::AlphaNumRequired;
    case 'a': return TMaskCharKind::AlphaNumOptional;
    case 'C': return TMaskCharKind::AnyRequired;
    case 'c': return TMaskCharKind::AnyOptional;
    case '0': return TMaskCharKind::DigitRequired;
    case '9': return TMaskCharKind::DigitOptional;
    case '#': return TMaskCharKind::DigitOrSignOptional;
    default: return TMaskCharKind::Literal;
    }
}

} // namespace

bool TMaskPosition::IsRequired() const {
    return kind == TMaskCharKind::LetterRequired || kind == TMaskCharKind::AlphaNumRequired ||
           kind == TMaskCharKind::AnyRequired || kind == TMaskCharKind::DigitRequired;
}

TEditMask::TEditMask(std::string_view editMask, CodePage codePage, char dateSeparator,
                     char timeSeparator)
    : editMask_(editMask), codePage_(codePage) {
    // The mask ends at the first ';' that is neither escaped nor a trail byte.
    std::size_t end = 0;
    while (end < editMask.size()) {
        const std::size_t len = CharLengthAt(editMask, end, codePage_);
        if (len == 1 && editMask[end] == '\\') {
            end += 1 + (end + 1 < editMask.size() ? CharLengthAt(editMask, end + 1, codePage_) : 0);
            continue;
        }
        if (len == 1 && editMask[end] == ';') break;
        end += len;
    }
    Parse(editMask.substr(0, std::min(end, editMask.size())), dateSeparator, timeSeparator);

    if (end < editMask.size()) {
        const std::string_view rest = editMask.substr(end + 1);
        const std::size_t second = AnsiFindChar(rest, ';', 0, codePage_);
        const std::string_view save = rest.substr(0, second);
        saveLiterals_ = save.empty() || save[0] != '0';
        if (second != std::string_view::npos && second + 1 < rest.size()) {
            const auto b = static_cast<unsigned char>(rest[second + 1]);
            if (!IsControlByte(b) && !IsLeadByte(b, codePage_)) blank_ = static_cast<char>(b);
        }
    }

    empty_.reserve(positions_.size());
    for (const auto& pos : positions_) empty_ += pos.IsEditable() ? blank_ : pos.literal;
}

void TEditMask::Parse(std::string_view mask, char dateSeparator, char timeSeparator) {
    TMaskCase caseMode = TMaskCase::None;
    std::size_t i = 0;
    while (i < mask.size()) {
        const std::size_t len = CharLengthAt(mask, i, codePage_);
        if (len == 2) {
            AddLiteral(mask.substr(i, 2), caseMode);
            i += 2;
            continue;
        }
        const char c = mask[i];
        switch (c) {
        case '!':
            trimLeading_ = true;
            ++i;
            break;
        case '>':
            caseMode = TMaskCase::Upper;
            ++i;
            break;
        case '<':
            if (i + 1 < mask.size() && mask[i + 1] == '>') {
                caseMode = TMaskCase::None;
                i += 2;
            } else {
                caseMode = TMaskCase::Lower;
                ++i;
            }
            break;
        case '\\':
            if (i + 1 < mask.size()) {
                const std::size_t next = CharLengthAt(mask, i + 1, codePage_);
                AddLiteral(mask.substr(i + 1, next), caseMode);
                i += 1 + next;
            } else {
                AddLiteral("\\", caseMode); // a dangling escape shows as itself
                ++i;
            }
            break;
        case ':':
            AddLiteral(std::string_view(&timeSeparator, 1), caseMode);
            ++i;
            break;
        case '/':
            AddLiteral(std::string_view(&dateSeparator, 1), caseMode);
            ++i;
            break;
        case '_':
            AddLiteral(" ", caseMode);
            ++i;
            break;
        default:
            if (const TMaskCharKind kind = KindOf(c); kind != TMaskCharKind::Literal) {
                positions_.push_back(TMaskPosition{kind, caseMode, ' ', 0});
            } else {
                AddLiteral(mask.substr(i, 1), caseMode);
            }
            ++i;
            break;
        }
    }
}

void TEditMask::AddLiteral(std::string_view character, TMaskCase caseMode) {
    for (std::size_t k = 0; k < character.size(); ++k) {
        positions_.push_back(TMaskPosition{TMaskCharKind::Literal, caseMode, character[k],
                                           static_cast<std::uint8_t>(k)});
    }
}

bool TEditMask::IsEditablePos(std::size_t pos) const {
    return pos < positions_.size() && positions_[pos].IsEditable();
}

std::size_t TEditMask::NextEditablePos(std::size_t pos) const {
    for (std::size_t p = pos; p < positions_.size(); ++p) {
        if (positions_[p].IsEditable()) return p;
    }
    return positions_.size();
}

std::size_t TEditMask::PrevEditablePos(std::size_t pos) const {
    for (std::size_t p = std::min(pos, positions_.size()); p > 0; --p) {
        if (positions_[p - 1].IsEditable()) return p - 1;
    }
    return npos;
}

std::size_t TEditMask::LiteralLengthAt(std::size_t pos) const {
    return pos + 1 < positions_.size() && !positions_[pos + 1].IsEditable() &&
                   positions_[pos + 1].charOffset == 1
               ? 2
               : 1;
}

bool TEditMask::IsSingleCharacter(std::string_view character) const {
    if (character.size() == 1) {
        const auto c = static_cast<unsigned char>(character[0]);
        return !IsControlByte(c) && !IsLeadByte(c, codePage_);
    }
    if (character.size() == 2) {
        const auto trail = static_cast<unsigned char>(character[1]);
        return IsLeadByte(static_cast<unsigned char>(character[0]), codePage_) && trail >= 0x40 &&
               trail != 0x7F && trail != 0xFF;
    }
    return false;
}

std::vector<std::string_view> TEditMask::SplitCharacters(std::string_view text) const {
    std::vector<std::string_view> chars;
    chars.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = CharLengthAt(text, i, codePage_);
        // A lead byte without its trail is no character.
        if (!(len == 1 && IsLeadByte(static_cast<unsigned char>(text[i]), codePage_))) {
            chars.push_back(text.substr(i, len));
        }
        i += len;
    }
    return chars;
}

} // namespace qmx
