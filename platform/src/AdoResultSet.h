#pragma once
// The result a query has read, shared by the query and the field handles taken from it.
#include <cstddef>
#include <vector>

#include "qmx/CodePage.h"
#include "qmx/Variant.h"

namespace qmx::platform::detail {

struct ResultSet {
    std::vector<AnsiString> names;
    std::vector<std::vector<Variant>> rows;
    CodePage codePage = CP_GB2312; // of the names and texts
    std::size_t current = 0;       // meaningful when rows is not empty
    bool eof = true;
    bool bof = true;
};

} // namespace qmx::platform::detail
