#pragma once
#include <string_view>

#include "qmx/CodePage.h"
#include "qmx/toolkit/FormResource.h"
#include "qmx/toolkit/FormResourceError.h"

namespace qmx {

// Parses a form resource (UTF-8 text, with or without a byte-order mark) into its tree. Strings
// are converted to `codePage`; characters it cannot hold become '?'. Any fault raises
// EFormResourceError naming `resourceName` and the line.
TFormResource ParseFormResource(std::string_view text, std::string_view resourceName,
                                CodePage codePage = CP_GB2312);

} // namespace qmx
