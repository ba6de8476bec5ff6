#include "LookAlikes.h"

#include <string_view>
#include <unordered_map>

namespace qmx::qmlanguage {
namespace {

struct Pair {
    std::string_view from;
    std::string_view to;
};

// GB2312 symbols BIG5 lacks, then BIG5 symbols GBK lacks. Only shapes a reader takes for the
// same sign; signs without such a twin (①, ㈠, ‰, №, kana) become the substitute instead.
constexpr Pair kPairs[] = {
    // relations, operators and punctuation
    {"‖", "∥"}, {"∶", "："}, {"≈", "≒"}, {"∽", "～"}, {"≤", "≦"}, {"≥", "≧"}, {"∑", "Σ"}, {"∏", "Π"},
    {"〖", "【"}, {"〗", "】"}, {"＂", "”"}, {"＇", "’"}, {"［", "〔"}, {"］", "〕"}, {"｀", "‵"},
    // small Roman numerals
    {"ⅰ", "Ⅰ"}, {"ⅱ", "Ⅱ"}, {"ⅲ", "Ⅲ"}, {"ⅳ", "Ⅳ"}, {"ⅴ", "Ⅴ"},
    {"ⅵ", "Ⅵ"}, {"ⅶ", "Ⅶ"}, {"ⅷ", "Ⅷ"}, {"ⅸ", "Ⅸ"}, {"ⅹ", "Ⅹ"},
    // heavy and dashed box drawing as light lines
    {"━", "─"}, {"┄", "─"}, {"┅", "─"}, {"┈", "─"}, {"┉", "─"},
    {"┃", "│"}, {"┆", "│"}, {"┇", "│"}, {"┊", "│"}, {"┋", "│"},
    {"┏", "┌"}, {"┓", "┐"}, {"┗", "└"}, {"┛", "┘"}, {"┣", "├"}, {"┫", "┤"}, {"┳", "┬"}, {"┻", "┴"}, {"╋", "┼"},
    // pinyin letters without their tone marks
    {"ā", "a"}, {"á", "a"}, {"ǎ", "a"}, {"à", "a"}, {"ɑ", "a"},
    {"ē", "e"}, {"é", "e"}, {"ě", "e"}, {"è", "e"}, {"ê", "e"},
    {"ī", "i"}, {"í", "i"}, {"ǐ", "i"}, {"ì", "i"},
    {"ō", "o"}, {"ó", "o"}, {"ǒ", "o"}, {"ò", "o"},
    {"ū", "u"}, {"ú", "u"}, {"ǔ", "u"}, {"ù", "u"}, {"ǖ", "u"}, {"ǘ", "u"}, {"ǚ", "u"}, {"ǜ", "u"}, {"ü", "u"},
    {"ń", "n"}, {"ň", "n"}, {"ɡ", "g"},
    // BIG5 signs GBK lacks
    {"‧", "·"}, {"╴", "─"}, {"¯", "￣"}, {"ˍ", "＿"},
};

} // namespace

std::string_view LookAlikeOf(std::string_view character) {
    static const std::unordered_map<std::string_view, std::string_view> table = [] {
        std::unordered_map<std::string_view, std::string_view> map;
        for (const auto& pair : kPairs) map.emplace(pair.from, pair.to);
        return map;
    }();
    const auto found = table.find(character);
    return found == table.end() ? std::string_view() : found->second;
}

} // namespace qmx::qmlanguage
