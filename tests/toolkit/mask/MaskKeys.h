#pragma once
// Drives a mask like the edit does: a key script typed from a start state.
#include <string_view>

#include "qmx/toolkit/MaskEngine.h"

namespace qmx::test {

struct TypedState {
    AnsiString editText;
    std::size_t cursor = 0;
    int refused = 0; // keys the mask did not take
};

// Every character of `keys` is typed, except '\b' (backspace) and '\x7F' (delete).
inline TypedState TypeKeys(const TEditMask& mask, std::string_view keys, AnsiString editText,
                           std::size_t cursor) {
    TypedState state{std::move(editText), cursor, 0};
    for (const char key : keys) {
        TMaskEditResult r = key == '\b'     ? mask.Backspace(state.editText, state.cursor)
                            : key == '\x7F' ? mask.Delete(state.editText, state.cursor)
                                            : mask.InsertChar(state.editText, state.cursor, key);
        if (!r.accepted) ++state.refused;
        state.editText = r.editText;
        state.cursor = r.cursor;
    }
    return state;
}

// Typed into an empty edit with the cursor at its first editable position.
inline TypedState TypeKeys(const TEditMask& mask, std::string_view keys) {
    return TypeKeys(mask, keys, mask.EmptyDisplay(), mask.CursorHome());
}

} // namespace qmx::test
