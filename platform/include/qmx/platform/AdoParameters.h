#pragma once
// The named parameters of a query, made from the :NAME and @NAME parameters of its SQL text.
// Values are bound to the statement as values, never written into its text: a value holding
// quotes cannot change the statement.
//
// Binding: Empty and Null bind NULL; Boolean 1 or 0; integers as integers; Double as a real;
// a date as the text "YYYY-MM-DD HH:MM:SS.ZZZ"; AnsiString converted from the connection's
// Charset; WideString as it is. An array or an object raises EDatabaseError when bound.
#include <string_view>
#include <vector>

#include "qmx/Variant.h"

namespace qmx::platform {

struct TParameter {
    AnsiString Name; // without the prefix
    Variant Value;
};

class TParameters {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TParameter& operator[](int index);
    const TParameter& operator[](int index) const;

    // Names match without regard to case. ParamByName raises EDatabaseError for an unknown name;
    // FindParam answers null.
    TParameter& ParamByName(std::string_view name);
    const TParameter& ParamByName(std::string_view name) const;
    TParameter* FindParam(std::string_view name);
    const TParameter* FindParam(std::string_view name) const;

    // Replaces the list with these names, every value Empty.
    void Rebuild(const std::vector<AnsiString>& names);
    void Clear() { items_.clear(); }

private:
    std::vector<TParameter> items_;
};

} // namespace qmx::platform
