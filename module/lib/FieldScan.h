#pragma once
// Finding delimiters in code-page text. The module's texts are GB2312 bytes, whose trail bytes
// include ASCII letters and '|'; a delimiter is therefore matched only where a character begins,
// never across the two bytes of one character.
#include <cstddef>
#include <string_view>

#include "qmx/CodePage.h"

namespace qmx::fieldscan {

// The code page of the module's texts.
inline constexpr CodePage TextCodePage = CP_GB2312;

// Position of the first occurrence of delimiter at or after from (a character boundary); npos
// when there is none or the delimiter is empty.
std::size_t FindDelimiter(std::string_view text, std::string_view delimiter, std::size_t from = 0);

// Calls visit(field) for each field of text split at delimiter, left to right, until visit
// answers false. An empty text has one empty field; an empty delimiter never matches.
template <class Visit>
void ForEachField(std::string_view text, std::string_view delimiter, Visit&& visit) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t found = FindDelimiter(text, delimiter, start);
        if (found == std::string_view::npos) {
            visit(text.substr(start));
            return;
        }
        if (!visit(text.substr(start, found - start))) return;
        start = found + delimiter.size();
    }
}

} // namespace qmx::fieldscan
