#include "qmx/toolkit/FormResourceIdents.h"

#include <map>
#include <mutex>
#include <utility>


namespace qmx {
namespace {

std::string Key(std::string_view name) {
    std::string key(name);
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return key;
}

// Looks a name up in a table, without regard to case.
template <std::size_t N>
bool FromTable(const std::pair<const char*, std::int64_t> (&table)[N], std::string_view ident,
               std::int64_t& value) {
    const std::string key = Key(ident);
    for (const auto& [name, number] : table)
        if (Key(name) == key) {
            value = number;
            return true;
        }
    return false;
}

const std::pair<const char*, std::int64_t> kCharsets[] = {
    {"ANSI_CHARSET", 0},        {"DEFAULT_CHARSET", 1},       {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},        {"SHIFTJIS_CHARSET", 128},    {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},     {"GB2312_CHARSET", 134},      {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},     {"TURKISH_CHARSET", 162},     {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},    {"ARABIC_CHARSET", 178},      {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204},   {"THAI_CHARSET", 222},        {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255}};

const std::pair<const char*, std::int64_t> kCursors[] = {
    {"crDefault", 0},    {"crNone", -1},      {"crArrow", -2},      {"crCross", -3},
    {"crIBeam", -4},     {"crSizeNESW", -6},  {"crSizeNS", -7},     {"crSizeNWSE", -8},
    {"crSizeWE", -9},    {"crUpArrow", -10},  {"crHourGlass", -11}, {"crDrag", -12},
    {"crNoDrop", -13},   {"crHSplit", -14},   {"crVSplit", -15},    {"crMultiDrag", -16},
    {"crSQLWait", -17},  {"crNo", -18},       {"crAppStart", -19},  {"crHelp", -20},
    {"crHandPoint", -21}, {"crSizeAll", -22}, {"crSize", -22}};

struct Registry {
    std::mutex Lock;
    std::map<std::string, TIdentToInt> Types;

    Registry() {
        Types[Key("TFontCharset")] = [](std::string_view ident, std::int64_t& value) {
            return FromTable(kCharsets, ident, value);
        };
        Types[Key("TCursor")] = [](std::string_view ident, std::int64_t& value) {
            return FromTable(kCursors, ident, value);
        };
    }
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

} // namespace

void RegisterIntegerConsts(std::string_view typeName, TIdentToInt identToInt) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.Lock);
    registry.Types[Key(typeName)] = std::move(identToInt);
}

std::optional<std::int64_t> IdentToInteger(std::string_view typeName, std::string_view ident) {
    TIdentToInt identToInt;
    {
        Registry& registry = TheRegistry();
        std::lock_guard guard(registry.Lock);
        auto found = registry.Types.find(Key(typeName));
        if (found == registry.Types.end()) return std::nullopt;
        identToInt = found->second;
    }
    std::int64_t value = 0;
    if (identToInt && identToInt(ident, value)) return value;
    return std::nullopt;
}

} // namespace qmx
