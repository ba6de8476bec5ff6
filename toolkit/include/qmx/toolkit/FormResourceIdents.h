#pragma once
// Names that integer properties accept in a form resource, by the property's type name:
// `Font.Charset = GB2312_CHARSET` (TFontCharset) and `Cursor = crHandPoint` (TCursor) are known
// here; the colours register `Color = clBtnFace` (TColor) where they are defined, and a library
// adds its own types the same way.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qmx {

using TIdentToInt = std::function<bool(std::string_view ident, std::int64_t& value)>;

// Registering a type name again replaces its function. Type names compare without regard to case.
void RegisterIntegerConsts(std::string_view typeName, TIdentToInt identToInt);
// The value of an identifier for an integer type; nullopt when the type has no such name.
std::optional<std::int64_t> IdentToInteger(std::string_view typeName, std::string_view ident);

} // namespace qmx
