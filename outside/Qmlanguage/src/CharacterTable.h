#pragma once
// The character table of one direction as a text file (the SaveOrder entry): every double-byte
// character of the source code page, in code order, with what the conversion makes of it.
#include <ostream>

#include "ChineseConverter.h"

namespace qmx::qmlanguage {

class CharacterTable {
public:
    explicit CharacterTable(const ChineseConverter& converter) : converter_(converter) {}

    // Writes the header line and one line per character (format: Qmlanguage.h, SaveOrder).
    void Write(std::ostream& out) const;

private:
    const ChineseConverter& converter_;
};

} // namespace qmx::qmlanguage
