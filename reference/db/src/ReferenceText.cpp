#include "qmx/reference/ReferenceText.h"

namespace qmx::reference {

AnsiString TextOf(const Variant& value, CodePage codePage) {
    switch (value.Type()) {
    case VarType::Empty:
    case VarType::Null: return {};
    case VarType::String: return value.AsString();
    case VarType::OleStr: return WideToAnsi(value.AsWideString(), codePage);
    case VarType::Array:
    case VarType::Dispatch:
        throw EOleError(std::string("A text was expected, not ") + VarTypeName(value.Type()));
    default: return value.AsString();
    }
}

AnsiString LocalText(std::string_view utf8, CodePage codePage) { return Utf8ToAnsi(utf8, codePage); }

const VariantArray* OneDimArray(const Variant& value) {
    if (!value.IsArray()) return nullptr;
    const VariantArray& array = value.AsArray();
    return array.DimCount() == 1 ? &array : nullptr;
}

} // namespace qmx::reference
