#pragma once
// Texts and Variant values between UTF-16 and a code page, as the forms hand their condition
// arrays to the job queue and the application server (GB2312, code page 936) and back.
#include <string_view>

#include "qmx/CodePage.h"
#include "qmx/Variant.h"

namespace qmx {

// The code page conversion; when it gives no output for a non-empty text (or the code page is
// unknown), the system code page's conversion is used instead. Raises Exception only when both
// fail.
AnsiString WideToAnsiCP(std::u16string_view wide, CodePage codePage);
WideString AnsiToWideCP(std::string_view text, CodePage codePage);

// A copy of value with its strings converted: a single string (of either kind) as a whole; in a
// one-dimensional array every wide string (VarWideToAnsiCP) or 8-bit string (VarAnsiToWideCP),
// descending into nested arrays at any depth; in a two-dimensional array its strings of that kind,
// without descending. Unassigned, Null, other values and arrays of more dimensions come back as
// they are. On an error the unconverted copy is answered and one line goes to the alert log
// "libstrs".
Variant VarWideToAnsiCP(const Variant& value, CodePage codePage);
Variant VarAnsiToWideCP(const Variant& value, CodePage codePage);

} // namespace qmx
