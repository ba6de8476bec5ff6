#include "FieldScan.h"

namespace qmx::fieldscan {

std::size_t FindDelimiter(std::string_view text, std::string_view delimiter, std::size_t from) {
    if (delimiter.empty() || delimiter.size() > text.size()) return std::string_view::npos;
    const std::size_t last = text.size() - delimiter.size();
    for (std::size_t i = from; i <= last; i += CharLengthAt(text, i, TextCodePage)) {
        if (text[i] == delimiter[0] && text.compare(i, delimiter.size(), delimiter) == 0) return i;
    }
    return std::string_view::npos;
}

} // namespace qmx::fieldscan
