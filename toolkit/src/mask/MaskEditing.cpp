// Editing a masked edit in overwrite mode: typing, deleting, pasting and cursor moves.
#include <algorithm>
#include <utility>

#include "MaskChars.h"
#include "qmx/toolkit/MaskEngine.h"

namespace qmx {

namespace {
bool IsAnyKind(TMaskCharKind kind) {
    return kind == TMaskCharKind::AnyRequired || kind == TMaskCharKind::AnyOptional;
}
} // namespace

std::size_t TEditMask::SnapCursor(std::string_view editText, std::size_t cursor) const {
    cursor = std::min(cursor, positions_.size());
    if (cursor < positions_.size() && CharSpans(editText)[cursor] == 0) --cursor;
    return cursor;
}

bool TEditMask::FitsAt(std::size_t pos, std::string_view character) const {
    if (pos >= positions_.size() || !positions_[pos].IsEditable()) return false;
    const TMaskPosition& first = positions_[pos];
    if (character.size() == 2) {
        return pos + 1 < positions_.size() && positions_[pos + 1].IsEditable() &&
               MaskCharFits(first.kind, character, codePage_) &&
               MaskCharFits(positions_[pos + 1].kind, character, codePage_);
    }
    if (character == " ") return IsAnyKind(first.kind) || !first.IsRequired();
    return MaskCharFits(first.kind, character, codePage_);
}

TMaskEditResult TEditMask::InsertChar(std::string_view editText, std::size_t cursor,
                                      std::string_view character, std::size_t selLength) const {
    if (!IsMasked()) return {AnsiString(editText), cursor, false};
    AnsiString text = Normalized(editText);
    cursor = SnapCursor(text, cursor);
    if (!IsSingleCharacter(character)) return {text, cursor, false};

    const std::size_t target = NextEditablePos(cursor);
    if (FitsAt(target, character)) {
        if (selLength > 0) BlankRange(text, cursor, cursor + std::min(selLength, text.size()));
        if (character == " " && !IsAnyKind(positions_[target].kind)) {
            BlankRange(text, target, target + 1); // a space leaves an optional position unfilled
        } else {
            Put(text, target, character);
        }
        return {text, NextEditablePos(target + character.size()), true};
    }

    // The separator the user types out of habit, when the cursor has already passed it.
    for (std::size_t p = cursor; p > 0 && !positions_[p - 1].IsEditable();) {
        const std::size_t start = p - 1 - positions_[p - 1].charOffset;
        if (std::string_view(empty_).substr(start, p - start) == character) {
            return {text, cursor, true};
        }
        p = start;
    }
    // A typed separator moves on to the field after the next literal.
    for (std::size_t p = cursor; p < positions_.size(); ++p) {
        if (positions_[p].IsEditable()) continue;
        const std::size_t len = LiteralLengthAt(p);
        if (std::string_view(empty_).substr(p, len) == character) {
            return {text, NextEditablePos(p + len), true};
        }
        break;
    }
    return {text, cursor, false};
}

TMaskEditResult TEditMask::Backspace(std::string_view editText, std::size_t cursor,
                                     std::size_t selLength) const {
    if (!IsMasked()) return {AnsiString(editText), cursor, false};
    if (selLength > 0) return DeleteSelection(editText, cursor, selLength);
    AnsiString text = Normalized(editText);
    cursor = SnapCursor(text, cursor);
    const std::size_t prev = PrevEditablePos(cursor);
    if (prev == npos) return {text, cursor, false};
    const std::size_t start = BlankRange(text, prev, prev + 1);
    return {text, start, true};
}

TMaskEditResult TEditMask::Delete(std::string_view editText, std::size_t cursor,
                                  std::size_t selLength) const {
    if (!IsMasked()) return {AnsiString(editText), cursor, false};
    if (selLength > 0) return DeleteSelection(editText, cursor, selLength);
    AnsiString text = Normalized(editText);
    cursor = SnapCursor(text, cursor);
    if (!IsEditablePos(cursor)) return {text, cursor, false};
    BlankRange(text, cursor, cursor + 1);
    return {text, cursor, true};
}

TMaskEditResult TEditMask::DeleteSelection(std::string_view editText, std::size_t selStart,
                                           std::size_t selLength) const {
    if (!IsMasked()) return {AnsiString(editText), selStart, false};
    AnsiString text = Normalized(editText);
    const std::size_t n = text.size();
    const std::size_t start = std::min(selStart, n);
    const std::size_t end = start + std::min(selLength, n - start);
    if (start == end) return {text, SnapCursor(text, start), false};
    const std::size_t cursor = BlankRange(text, start, end);
    return {text, cursor, true};
}

TMaskEditResult TEditMask::Paste(std::string_view editText, std::size_t cursor,
                                 std::string_view pasted, std::size_t selLength) const {
    if (!IsMasked()) return {AnsiString(editText), cursor, false};
    TMaskEditResult state{Normalized(editText), 0, true};
    state.cursor = SnapCursor(state.editText, cursor);
    if (selLength > 0) state = DeleteSelection(state.editText, state.cursor, selLength);
    state.accepted = true;
    for (std::size_t i = 0; i < pasted.size();) {
        const std::size_t len = CharLengthAt(pasted, i, codePage_);
        auto next = InsertChar(state.editText, state.cursor, pasted.substr(i, len));
        if (next.accepted) {
            state.editText = std::move(next.editText);
            state.cursor = next.cursor;
        } else {
            state.accepted = false; // skipped; the rest still goes in
        }
        i += len;
    }
    return state;
}

TMaskEditResult TEditMask::Clear() const { return {empty_, CursorHome(), IsMasked()}; }

std::size_t TEditMask::CursorRight(std::string_view editText, std::size_t cursor) const {
    if (!IsMasked()) return cursor;
    const AnsiString text = Normalized(editText);
    cursor = SnapCursor(text, cursor);
    if (cursor >= text.size()) return text.size();
    return NextEditablePos(cursor + CharSpans(text)[cursor]);
}

std::size_t TEditMask::CursorLeft(std::string_view editText, std::size_t cursor) const {
    if (!IsMasked()) return cursor;
    const AnsiString text = Normalized(editText);
    cursor = SnapCursor(text, cursor);
    const std::size_t prev = PrevEditablePos(cursor);
    if (prev == npos) return cursor;
    return SnapCursor(text, prev);
}

} // namespace qmx
