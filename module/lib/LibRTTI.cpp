#include "lib/LibRTTI.h"

#include "qmx/toolkit/TypInfo.h"

namespace qmx {
namespace {

// The property when it exists and is of one of the kinds the call handles.
const TPropInfo* Find(const TObject* object, std::string_view name, std::initializer_list<TTypeKind> kinds) {
    if (object == nullptr || name.empty()) return nullptr;
    const TPropInfo* info = GetPropInfo(object, name);
    if (info == nullptr) return nullptr;
    for (TTypeKind kind : kinds)
        if (info->Kind == kind) return info;
    return nullptr;
}

constexpr std::initializer_list<TTypeKind> kOrdinalKinds = {tkInteger, tkChar, tkEnumeration, tkSet, tkClass};

// A property with a missing or throwing accessor behaves as missing: callers rely on these
// operations never raising.
template <class F, class R>
R Guarded(F&& action, R missing) {
    try {
        return action();
    } catch (const std::exception&) {
        return missing;
    }
}

} // namespace

bool HasPropByName(const TObject* object, std::string_view name) {
    return object != nullptr && !name.empty() && GetPropInfo(object, name) != nullptr;
}

AnsiString GetStrPropByName(TObject* object, std::string_view name) {
    if (!Find(object, name, {tkString})) return {};
    return Guarded([&] { return GetStrProp(object, name); }, AnsiString());
}

void SetStrPropByName(TObject* object, std::string_view name, const AnsiString& value) {
    const TPropInfo* info = Find(object, name, {tkString});
    if (!info || info->ReadOnly()) return;
    Guarded([&] { return SetStrProp(object, name, value), true; }, false);
}

std::int64_t GetOrdPropByName(TObject* object, std::string_view name) {
    if (!Find(object, name, kOrdinalKinds)) return 0;
    return Guarded([&] { return GetOrdProp(object, name); }, std::int64_t{0});
}

void SetOrdPropByName(TObject* object, std::string_view name, std::int64_t value) {
    const TPropInfo* info = Find(object, name, kOrdinalKinds);
    if (!info || info->ReadOnly()) return;
    Guarded([&] { return SetOrdProp(object, name, value), true; }, false);
}

TMethod GetMethodPropByName(TObject* object, std::string_view name) {
    if (!Find(object, name, {tkMethod})) return {};
    return Guarded([&] { return GetMethodProp(object, name); }, TMethod());
}

void SetMethodPropByName(TObject* object, std::string_view name, const TMethod& value) {
    const TPropInfo* info = Find(object, name, {tkMethod});
    if (!info || info->ReadOnly()) return;
    Guarded([&] { return SetMethodProp(object, name, value), true; }, false);
}

} // namespace qmx
