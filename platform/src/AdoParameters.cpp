#include "qmx/platform/AdoParameters.h"

#include "qmx/CodePage.h"
#include "qmx/platform/DatabaseError.h"

namespace qmx::platform {

TParameter& TParameters::operator[](int index) {
    if (index < 0 || index >= Count())
        throw EDatabaseError("Parameter index " + std::to_string(index) + " out of range");
    return items_[static_cast<std::size_t>(index)];
}

const TParameter& TParameters::operator[](int index) const { return const_cast<TParameters&>(*this)[index]; }

TParameter* TParameters::FindParam(std::string_view name) {
    for (TParameter& parameter : items_)
        if (AnsiSameText(parameter.Name, name)) return &parameter;
    return nullptr;
}

const TParameter* TParameters::FindParam(std::string_view name) const {
    return const_cast<TParameters&>(*this).FindParam(name);
}

TParameter& TParameters::ParamByName(std::string_view name) {
    if (TParameter* parameter = FindParam(name)) return *parameter;
    throw EDatabaseError("Parameter '" + AnsiString(name) + "' not found");
}

const TParameter& TParameters::ParamByName(std::string_view name) const {
    return const_cast<TParameters&>(*this).ParamByName(name);
}

void TParameters::Rebuild(const std::vector<AnsiString>& names) {
    items_.clear();
    for (const AnsiString& name : names)
        items_.push_back({name, Variant()});
}

} // namespace qmx::platform
