#include "CharacterTable.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace qmx::qmlanguage {
namespace {

std::string Hex(std::string_view bytes) {
    std::string out;
    char digits[3];
    for (unsigned char byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", byte);
        out += digits;
    }
    return out;
}

// Trail bytes of the source code page: GBK takes 40-FE without 7F, BIG5 40-7E and A1-FE.
bool IsTrailByte(ChineseConverter::Direction direction, unsigned trail) {
    if (trail < 0x40 || trail > 0xFE || trail == 0x7F) return false;
    return direction == ChineseConverter::Direction::GbToBig5 || trail <= 0x7E || trail >= 0xA1;
}

const char* How(const ChineseConverter::Tally& tally) {
    if (tally.substituted) return "substitute";
    if (tally.alike) return "alike";
    if (tally.kept) return "kept";
    return "table";
}

} // namespace

void CharacterTable::Write(std::ostream& out) const {
    const auto direction = converter_.GetDirection();
    out << "# " << converter_.SourceCodec().IconvName() << " -> " << converter_.TargetCodec().IconvName()
        << ": source code, source, result code, result, how (table, kept, alike, substitute)\n";
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (!IsTrailByte(direction, trail)) continue;
            const char code[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            const std::string_view bytes(code, sizeof code);
            const std::string character = converter_.SourceCodec().DecodeCharacter(bytes);
            if (character.empty()) continue; // no character of the code page
            ChineseConverter::Tally tally;
            const std::string result = converter_.Convert(bytes, &tally);
            out << Hex(bytes) << '\t' << character << '\t' << Hex(result) << '\t'
                << converter_.TargetCodec().Decode(result) << '\t' << How(tally) << '\n';
        }
    }
}

} // namespace qmx::qmlanguage
