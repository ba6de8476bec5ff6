#pragma once
// Look-alikes for symbols that one of the two code pages lacks: what a character becomes when
// neither its converted nor its original form fits the target code page.
#include <string_view>

namespace qmx::qmlanguage {

// The look-alike of a character (UTF-8), or empty when there is none. A look-alike is a
// character both code pages hold, so it never needs a look-alike itself.
std::string_view LookAlikeOf(std::string_view character);

} // namespace qmx::qmlanguage
