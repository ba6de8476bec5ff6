#pragma once
// Text conversions at the boundaries of the XML document and the database: code-page bytes
// outside, UTF-8 inside.
#include <optional>
#include <string>
#include <string_view>

#include "qmx/CodePage.h"

namespace qmx::platform::detail {

bool IsAscii(std::string_view text);
bool IsValidUtf8(std::string_view text);
// The code point of one complete, valid UTF-8 sequence.
char32_t DecodeUtf8(std::string_view sequence);

// Conversions that leave ASCII text (and everything when the page is UTF-8) as it is.
std::string CodePageToUtf8(std::string_view text, CodePage codePage);
// Characters the code page cannot hold become the default character ('?').
AnsiString Utf8ToCodePage(std::string_view utf8, CodePage codePage);

// The code page of an encoding or code page name: GB2312, GBK, CP936, BIG5, CP950, UTF-8,
// windows-1252, ISO-8859-1, a bare number ("936")... (without regard to case); none when unknown.
std::optional<CodePage> CodePageOfEncoding(std::string_view name);

} // namespace qmx::platform::detail
