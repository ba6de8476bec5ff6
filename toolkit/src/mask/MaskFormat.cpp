// The texts of a masked edit: empty display, Text to EditText and back, validation.
#include <algorithm>

#include "MaskChars.h"
#include "qmx/toolkit/MaskEngine.h"

namespace qmx {

namespace {
bool IsAnyKind(TMaskCharKind kind) {
    return kind == TMaskCharKind::AnyRequired || kind == TMaskCharKind::AnyOptional;
}
} // namespace

bool TEditMask::IsWellFormed(std::string_view editText) const {
    if (editText.size() != positions_.size()) return false;
    for (std::size_t p = 0; p < positions_.size(); ++p) {
        if (!positions_[p].IsEditable() && editText[p] != positions_[p].literal) return false;
    }
    return true;
}

AnsiString TEditMask::Normalized(std::string_view editText) const {
    return IsWellFormed(editText) ? AnsiString(editText) : ApplyText(editText);
}

bool TEditMask::IsDataAt(std::size_t pos, std::string_view character, bool spacesAreData) const {
    if (pos >= positions_.size() || !positions_[pos].IsEditable()) return false;
    if (character == " " && spacesAreData) return true;
    if (!MaskCharFits(positions_[pos].kind, character, codePage_)) return false;
    if (character.size() == 1) return true;
    return pos + 1 < positions_.size() && positions_[pos + 1].IsEditable() &&
           MaskCharFits(positions_[pos + 1].kind, character, codePage_);
}

std::vector<std::uint8_t> TEditMask::CharSpans(std::string_view editText) const {
    const std::size_t n = positions_.size();
    std::vector<std::uint8_t> spans(n, 1);
    for (std::size_t p = 0; p < n;) {
        bool pair;
        if (positions_[p].IsEditable()) {
            pair = p + 1 < n && positions_[p + 1].IsEditable() &&
                   IsLeadByte(static_cast<unsigned char>(editText[p]), codePage_);
        } else {
            pair = LiteralLengthAt(p) == 2;
        }
        if (pair) {
            spans[p] = 2;
            spans[p + 1] = 0;
            p += 2;
        } else {
            ++p;
        }
    }
    return spans;
}

void TEditMask::Put(AnsiString& editText, std::size_t pos, std::string_view character) const {
    const auto spans = CharSpans(editText);
    const std::size_t last = pos + character.size() - 1;
    if (spans[pos] == 0) editText[pos - 1] = blank_;          // we overwrite its trail byte
    if (spans[last] == 2) editText[last + 1] = blank_;        // we overwrite its lead byte
    // The blank stays the blank: case conversion would turn an unfilled position into a filled one.
    const AnsiString converted =
        character.size() == 1 && character[0] == blank_
            ? AnsiString(character)
            : ConvertMaskCase(character, positions_[pos].caseMode, codePage_);
    editText.replace(pos, converted.size(), converted);
}

std::size_t TEditMask::BlankRange(AnsiString& editText, std::size_t from, std::size_t to) const {
    const std::size_t n = positions_.size();
    to = std::min(to, n);
    if (from >= to) return std::min(from, n);
    const auto spans = CharSpans(editText);
    if (spans[from] == 0) --from;
    if (to < n && spans[to] == 0) ++to;
    for (std::size_t p = from; p < to; ++p) {
        if (positions_[p].IsEditable()) editText[p] = blank_;
    }
    return from;
}

AnsiString TEditMask::ApplyText(std::string_view text) const {
    if (!IsMasked()) return AnsiString(text);
    // A text without literals has spaces for unfilled positions, never for a literal space.
    return Fill(text, !saveLiterals_);
}

AnsiString TEditMask::Fill(std::string_view text, bool spacesAreData) const {
    if (IsWellFormed(text)) return ApplyInPlace(text);
    const auto chars = SplitCharacters(text);
    return trimLeading_ ? ApplyRight(chars, spacesAreData) : ApplyLeft(chars, spacesAreData);
}

AnsiString TEditMask::ApplyInPlace(std::string_view text) const {
    AnsiString out = empty_;
    const auto spans = CharSpans(text);
    for (std::size_t p = 0; p < text.size(); ++p) {
        if (!positions_[p].IsEditable() || spans[p] == 0) continue;
        const std::string_view c = text.substr(p, spans[p]);
        if (c != " " || IsAnyKind(positions_[p].kind)) Put(out, p, c);
    }
    return out;
}

AnsiString TEditMask::ApplyLeft(const std::vector<std::string_view>& chars,
                                 bool spacesAreData) const {
    AnsiString out = empty_;
    const std::size_t n = positions_.size();
    std::size_t ci = 0;
    for (std::size_t p = 0; p < n && ci < chars.size();) {
        const std::string_view c = chars[ci];
        if (!positions_[p].IsEditable()) {
            const std::size_t len = LiteralLengthAt(p);
            // The text's own separator, unless it is data for the position it would go to.
            if (c == std::string_view(empty_).substr(p, len) &&
                !IsDataAt(NextEditablePos(p), c, spacesAreData)) {
                ++ci;
            }
            p += len;
            continue;
        }
        if (c.size() == 2) {
            // Never split: without a second editable position here, try the next one.
            if (p + 1 < n && positions_[p + 1].IsEditable()) {
                Put(out, p, c);
                p += 2;
                ++ci;
            } else {
                ++p;
            }
            continue;
        }
        if (c != " " || IsAnyKind(positions_[p].kind)) Put(out, p, c);
        ++p;
        ++ci;
    }
    return out;
}

AnsiString TEditMask::ApplyRight(const std::vector<std::string_view>& chars,
                                  bool spacesAreData) const {
    AnsiString out = empty_;
    std::size_t ci = chars.size();
    for (std::size_t end = positions_.size(); end > 0 && ci > 0;) {
        const std::size_t p = end - 1;
        const std::string_view c = chars[ci - 1];
        if (!positions_[p].IsEditable()) {
            const std::size_t start = p - positions_[p].charOffset;
            const std::size_t target = PrevEditablePos(start);
            const bool data =
                target != npos && (c.size() == 1 ? IsDataAt(target, c, spacesAreData)
                                                 : target > 0 && IsDataAt(target - 1, c, false));
            if (c == std::string_view(empty_).substr(start, p - start + 1) && !data) --ci;
            end = start;
            continue;
        }
        if (c.size() == 2) {
            if (p > 0 && positions_[p - 1].IsEditable()) {
                Put(out, p - 1, c);
                end -= 2;
                --ci;
            } else {
                --end;
            }
            continue;
        }
        if (c != " " || IsAnyKind(positions_[p].kind)) Put(out, p, c);
        --end;
        --ci;
    }
    return out;
}

AnsiString TEditMask::RemoveEditFormat(std::string_view editText) const {
    if (!IsMasked()) return AnsiString(editText);
    const AnsiString text = Normalized(editText);
    const auto spans = CharSpans(text);
    std::vector<std::string_view> chars;
    for (std::size_t p = 0; p < text.size(); ++p) {
        if (positions_[p].IsEditable() && spans[p] != 0) {
            chars.push_back(std::string_view(text).substr(p, spans[p]));
        }
    }
    const auto isBlank = [this](std::string_view c) { return c.size() == 1 && c[0] == blank_; };
    std::size_t first = 0;
    std::size_t last = chars.size();
    if (trimLeading_) {
        while (first < last && isBlank(chars[first])) ++first;
    } else {
        while (last > first && isBlank(chars[last - 1])) --last;
    }
    AnsiString result;
    for (std::size_t i = first; i < last; ++i) {
        if (isBlank(chars[i])) {
            result += ' ';
        } else {
            result += chars[i];
        }
    }
    return result;
}

AnsiString TEditMask::TextFromEditText(std::string_view editText) const {
    if (!IsMasked()) return AnsiString(editText);
    return saveLiterals_ ? Normalized(editText) : RemoveEditFormat(editText);
}

AnsiString TEditMask::Reformat(const TEditMask& previous, std::string_view editText) const {
    if (!IsMasked()) return previous.RemoveEditFormat(editText);
    return Fill(previous.RemoveEditFormat(editText), true);
}

std::size_t TEditMask::Validate(std::string_view editText) const {
    if (!IsMasked() || editText.empty()) return npos;
    const AnsiString text = Normalized(editText);
    const auto spans = CharSpans(text);
    for (std::size_t p = 0; p < text.size(); ++p) {
        const TMaskPosition& pos = positions_[p];
        if (!pos.IsEditable() || spans[p] == 0) continue;
        const std::string_view c = std::string_view(text).substr(p, spans[p]);
        if (c.size() == 2) {
            if (!MaskCharFits(pos.kind, c, codePage_) ||
                !MaskCharFits(positions_[p + 1].kind, c, codePage_)) {
                return p;
            }
            continue;
        }
        if (c[0] == blank_ || (c[0] == ' ' && !IsAnyKind(pos.kind))) {
            if (pos.IsRequired()) return p;
            continue;
        }
        // A lead byte alone is half a character.
        if (IsLeadByte(static_cast<unsigned char>(c[0]), codePage_) ||
            !MaskCharFits(pos.kind, c, codePage_)) {
            return p;
        }
    }
    return npos;
}

} // namespace qmx
