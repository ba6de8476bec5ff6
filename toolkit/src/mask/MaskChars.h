#pragma once
// Character classes and case conversion of mask positions, on one character of code-page bytes.
#include <string_view>

#include "qmx/CodePage.h"
#include "qmx/toolkit/MaskEngine.h"

namespace qmx {

// A letter for L/l/A/a: ASCII letters, the letters of page 1252, and every double-byte character.
bool IsMaskLetter(std::string_view character, CodePage codePage);
// Whether one character (one byte, or a whole double-byte character) fits a position of `kind`.
// Spaces and blanks are the caller's business; control characters fit nothing.
bool MaskCharFits(TMaskCharKind kind, std::string_view character, CodePage codePage);
AnsiString ConvertMaskCase(std::string_view character, TMaskCase caseMode, CodePage codePage);

} // namespace qmx
