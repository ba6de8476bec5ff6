#pragma once
// Texts and arrays as the reference objects receive them. The module sends texts as AnsiString in
// the database code page, or as WideString (the run parameters); the objects answer AnsiString
// in the database code page. Texts written in our sources are UTF-8 and converted on the way out.
#include <string_view>

#include "qmx/CodePage.h"
#include "qmx/Variant.h"

namespace qmx::reference {

// The text of a scalar value: AnsiString as its bytes, WideString converted to codePage, Null and
// Empty "", Boolean "True"/"False", numbers and dates as the toolkit writes them. An array or an
// object raises EOleError.
AnsiString TextOf(const Variant& value, CodePage codePage = CP_GB2312);

// A UTF-8 text of our sources in codePage.
AnsiString LocalText(std::string_view utf8, CodePage codePage = CP_GB2312);

// The one-dimensional array the value holds, or null when it holds none (also for an array of
// more dimensions).
const VariantArray* OneDimArray(const Variant& value);

} // namespace qmx::reference
