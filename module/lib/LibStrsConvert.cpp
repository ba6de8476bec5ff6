#include "lib/LibStrsConvert.h"

#include "lib/AlertLog.h"

namespace qmx {
namespace {

enum class Direction { WideToAnsi, AnsiToWide };

// The element kind each direction converts inside arrays.
VarType SourceKind(Direction direction) {
    return direction == Direction::WideToAnsi ? VarType::OleStr : VarType::String;
}

Variant ConvertString(const Variant& value, Direction direction, CodePage codePage) {
    if (direction == Direction::WideToAnsi) return Variant(WideToAnsiCP(value.AsWideString(), codePage));
    return Variant(AnsiToWideCP(value.AsString(), codePage));
}

void ConvertInPlace(Variant& value, Direction direction, CodePage codePage);

void ConvertArray(VariantArray& array, Direction direction, CodePage codePage) {
    const VarType source = SourceKind(direction);
    if (array.DimCount() == 1) {
        for (Variant& element : array.Elements()) {
            if (element.IsArray())
                ConvertInPlace(element, direction, codePage);
            else if (element.Type() == source)
                element = ConvertString(element, direction, codePage);
        }
    } else if (array.DimCount() == 2) {
        // Row by row, column by column; nested arrays are not entered.
        for (Variant& element : array.Elements())
            if (element.Type() == source) element = ConvertString(element, direction, codePage);
    }
}

void ConvertInPlace(Variant& value, Direction direction, CodePage codePage) {
    if (value.IsText())
        value = ConvertString(value, direction, codePage);
    else if (value.IsArray())
        ConvertArray(value.AsArray(), direction, codePage);
}

Variant ConvertVariant(const Variant& value, Direction direction, CodePage codePage) {
    Variant result = value;
    try {
        ConvertInPlace(result, direction, codePage);
        return result;
    } catch (const std::exception& error) {
        const char* line = direction == Direction::WideToAnsi ? "LINE[2735] " : "LINE[115] ";
        WriteAlertLog("libstrs", std::string(line) + error.what(), "D");
        return value;
    }
}

} // namespace

AnsiString WideToAnsiCP(std::u16string_view wide, CodePage codePage) {
    try {
        AnsiString result = WideToAnsi(wide, codePage);
        if (!result.empty() || wide.empty()) return result;
    } catch (const Exception&) {
        // an unknown code page: the system's conversion below
    }
    return WideToAnsi(wide, SystemAnsiCodePage());
}

WideString AnsiToWideCP(std::string_view text, CodePage codePage) {
    try {
        WideString result = AnsiToWide(text, codePage);
        if (!result.empty() || text.empty()) return result;
    } catch (const Exception&) {
        // an unknown code page: the system's conversion below
    }
    return AnsiToWide(text, SystemAnsiCodePage());
}

Variant VarWideToAnsiCP(const Variant& value, CodePage codePage) {
    return ConvertVariant(value, Direction::WideToAnsi, codePage);
}

Variant VarAnsiToWideCP(const Variant& value, CodePage codePage) {
    return ConvertVariant(value, Direction::AnsiToWide, codePage);
}

} // namespace qmx
