#pragma once
// A user's limit on lookups: the restriction text built from the rights record ("BaseLimited",
// element 14 of F2GetData): the table name, #3, the count n, #3, then n codes each followed by
// #3. A user limited on a table sees and may use only the rows of the listed codes; an empty
// table name means no limit.
#include <string_view>
#include <vector>

#include "qmx/Variant.h"

namespace qmx::reference {

class LookupLimit {
public:
    LookupLimit() = default;
    // Raises EOleError for a text whose count is no number or names more codes than it holds.
    static LookupLimit Parse(std::string_view text);

    bool Limits(std::string_view table) const;
    // True unless the table is limited and the code is not among the listed ones.
    bool Allows(std::string_view table, std::string_view code) const;

    const AnsiString& Table() const { return table_; }
    const std::vector<AnsiString>& Codes() const { return codes_; }

private:
    AnsiString table_;
    std::vector<AnsiString> codes_;
};

} // namespace qmx::reference
