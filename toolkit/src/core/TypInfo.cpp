#include "qmx/toolkit/TypInfo.h"

#include <string>

#include "qmx/toolkit/PropTraits.h"

namespace qmx {

namespace rtti {

void ThrowValueKind(const char* expected) {
    throw EPropertyError(std::string("invalid property value: expected ") + expected);
}

} // namespace rtti

namespace {

[[noreturn]] void ThrowNoSuchProperty(const TObject* object, std::string_view name) {
    throw EPropertyError("no such property \"" + std::string(name) + "\" in " +
                         (object ? object->ClassName() : std::string("nil")));
}

[[noreturn]] void ThrowKind(const TObject* object, const TPropInfo& info, const char* wanted) {
    throw EPropertyError("property " + object->ClassName() + "." + info.Name + " (" + info.TypeName +
                         ") is not " + wanted);
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

TPropValue ReadValue(TObject* object, const TPropInfo& info) { return info.Get(*object); }

void WriteValue(TObject* object, const TPropInfo& info, const TPropValue& value) {
    if (info.ReadOnly())
        throw EPropertyError("property " + object->ClassName() + "." + info.Name + " is read-only");
    info.Set(*object, value);
}

bool IsOrdinalKind(TTypeKind kind) {
    return kind == tkInteger || kind == tkChar || kind == tkEnumeration || kind == tkSet;
}

} // namespace

const TPropInfo* GetPropInfo(const TClassInfo& classInfo, std::string_view name) {
    return classInfo.FindProperty(name);
}

const TPropInfo* GetPropInfo(const TObject* object, std::string_view name) {
    if (!object || name.empty()) return nullptr;
    const TObject* current = object;
    while (true) {
        const auto dot = name.find('.');
        const TPropInfo* info = current->ClassInfo().FindProperty(name.substr(0, dot));
        if (!info || dot == std::string_view::npos) return info;
        if (info->Kind != tkClass) return nullptr;
        current = std::get<TObject*>(info->Get(*current));
        if (!current) return nullptr;
        name.remove_prefix(dot + 1);
    }
}

bool IsPublishedProp(const TObject* object, std::string_view name) {
    return GetPropInfo(object, name) != nullptr;
}

TPropTarget ResolvePropPath(TObject* object, std::string_view path) {
    if (!object) throw EPropertyError("no object to read property \"" + std::string(path) + "\" of");
    std::string_view rest = path;
    TObject* current = object;
    while (true) {
        const auto dot = rest.find('.');
        const std::string_view part = rest.substr(0, dot);
        const TPropInfo* info = current->ClassInfo().FindProperty(part);
        if (!info) ThrowNoSuchProperty(current, part);
        if (dot == std::string_view::npos) return {current, info};
        if (info->Kind != tkClass)
            throw EPropertyError("property path \"" + std::string(path) + "\": " + info->Name +
                                 " is not an object");
        TObject* next = std::get<TObject*>(info->Get(*current));
        if (!next)
            throw EPropertyError("property path \"" + std::string(path) + "\": " + info->Name +
                                 " is nil");
        current = next;
        rest.remove_prefix(dot + 1);
    }
}

std::vector<const TPropInfo*> GetPropList(const TObject* object) {
    return object ? object->ClassInfo().PropertyList() : std::vector<const TPropInfo*>{};
}

TTypeKind PropType(const TObject* object, std::string_view name) {
    const TPropInfo* info = GetPropInfo(object, name);
    if (!info) ThrowNoSuchProperty(object, name);
    return info->Kind;
}

TPropValue GetPropValue(TObject* object, std::string_view name) {
    const TPropTarget t = ResolvePropPath(object, name);
    return ReadValue(t.Instance, *t.Info);
}

void SetPropValue(TObject* object, std::string_view name, const TPropValue& value) {
    const TPropTarget t = ResolvePropPath(object, name);
    WriteValue(t.Instance, *t.Info, value);
}

std::int64_t GetOrdProp(TObject* object, const TPropInfo& info) {
    if (IsOrdinalKind(info.Kind)) return std::get<std::int64_t>(ReadValue(object, info));
    if (info.Kind == tkClass)
        return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(std::get<TObject*>(ReadValue(object, info))));
    ThrowKind(object, info, "ordinal");
}

void SetOrdProp(TObject* object, const TPropInfo& info, std::int64_t value) {
    if (IsOrdinalKind(info.Kind)) return WriteValue(object, info, value);
    if (info.Kind == tkClass)
        return WriteValue(object, info, reinterpret_cast<TObject*>(static_cast<std::intptr_t>(value)));
    ThrowKind(object, info, "ordinal");
}

std::int64_t GetOrdProp(TObject* object, std::string_view name) {
    const TPropTarget t = ResolvePropPath(object, name);
    return GetOrdProp(t.Instance, *t.Info);
}

void SetOrdProp(TObject* object, std::string_view name, std::int64_t value) {
    const TPropTarget t = ResolvePropPath(object, name);
    SetOrdProp(t.Instance, *t.Info, value);
}

std::string GetEnumProp(TObject* object, std::string_view name) {
    const TPropTarget t = ResolvePropPath(object, name);
    if (t.Info->Kind != tkEnumeration) ThrowKind(t.Instance, *t.Info, "an enumeration");
    return GetEnumName(*t.Info, GetOrdProp(t.Instance, *t.Info));
}

void SetEnumProp(TObject* object, std::string_view name, std::string_view valueName) {
    const TPropTarget t = ResolvePropPath(object, name);
    if (t.Info->Kind != tkEnumeration) ThrowKind(t.Instance, *t.Info, "an enumeration");
    const int value = GetEnumValue(*t.Info, Trimmed(valueName));
    if (value < 0)
        throw EPropertyError("invalid property value \"" + std::string(valueName) + "\" for " +
                             t.Info->Name + " (" + t.Info->TypeName + ")");
    WriteValue(t.Instance, *t.Info, std::int64_t{value});
}

std::string GetSetProp(TObject* object, std::string_view name, bool brackets) {
    const TPropTarget t = ResolvePropPath(object, name);
    if (t.Info->Kind != tkSet || !t.Info->EnumType) ThrowKind(t.Instance, *t.Info, "a set");
    const auto bits = static_cast<std::uint64_t>(GetOrdProp(t.Instance, *t.Info));
    std::string text;
    const auto& names = t.Info->EnumType->Names;
    for (std::size_t i = 0; i < names.size() && i < 64; ++i)
        if (bits & (std::uint64_t{1} << i)) {
            if (!text.empty()) text += ',';
            text += names[i];
        }
    return brackets ? "[" + text + "]" : text;
}

void SetSetProp(TObject* object, std::string_view name, std::string_view text) {
    const TPropTarget t = ResolvePropPath(object, name);
    if (t.Info->Kind != tkSet || !t.Info->EnumType) ThrowKind(t.Instance, *t.Info, "a set");
    std::string_view body = Trimmed(text);
    if (!body.empty() && body.front() == '[') {
        if (body.back() != ']')
            throw EPropertyError("invalid set \"" + std::string(text) + "\" for " + t.Info->Name);
        body = body.substr(1, body.size() - 2);
    }
    std::uint64_t bits = 0;
    while (!Trimmed(body).empty()) {
        const auto comma = body.find(',');
        const std::string_view element = Trimmed(body.substr(0, comma));
        const int value = t.Info->EnumType->ValueOf(element);
        if (value < 0)
            throw EPropertyError("invalid set element \"" + std::string(element) + "\" for " +
                                 t.Info->Name + " (" + t.Info->TypeName + ")");
        bits |= std::uint64_t{1} << value;
        if (comma == std::string_view::npos) break;
        body.remove_prefix(comma + 1);
    }
    WriteValue(t.Instance, *t.Info, static_cast<std::int64_t>(bits));
}

AnsiString GetStrProp(TObject* object, const TPropInfo& info) {
    if (info.Kind != tkString) ThrowKind(object, info, "a string");
    return std::get<AnsiString>(ReadValue(object, info));
}

void SetStrProp(TObject* object, const TPropInfo& info, const AnsiString& value) {
    if (info.Kind != tkString) ThrowKind(object, info, "a string");
    WriteValue(object, info, value);
}

AnsiString GetStrProp(TObject* object, std::string_view name) {
    const TPropTarget t = ResolvePropPath(object, name);
    return GetStrProp(t.Instance, *t.Info);
}

void SetStrProp(TObject* object, std::string_view name, const AnsiString& value) {
    const TPropTarget t = ResolvePropPath(object, name);
    SetStrProp(t.Instance, *t.Info, value);
}

double GetFloatProp(TObject* object, std::string_view name) {
    const TPropTarget t = ResolvePropPath(object, name);
    if (t.Info->Kind != tkFloat) ThrowKind(t.Instance, *t.Info, "a float");
    return std::get<double>(ReadValue(t.Instance, *t.Info));
}

void SetFloatProp(TObject* object, std::string_view name, double value) {
    const TPropTarget t = ResolvePropPath(object, name);
    if (t.Info->Kind != tkFloat) ThrowKind(t.Instance, *t.Info, "a float");
    WriteValue(t.Instance, *t.Info, value);
}

TObject* GetObjectProp(TObject* object, std::string_view name) {
    const TPropTarget t = ResolvePropPath(object, name);
    if (t.Info->Kind != tkClass) ThrowKind(t.Instance, *t.Info, "an object");
    return std::get<TObject*>(ReadValue(t.Instance, *t.Info));
}

void SetObjectProp(TObject* object, std::string_view name, TObject* value) {
    const TPropTarget t = ResolvePropPath(object, name);
    if (t.Info->Kind != tkClass) ThrowKind(t.Instance, *t.Info, "an object");
    WriteValue(t.Instance, *t.Info, value);
}

TMethod GetMethodProp(TObject* object, const TPropInfo& info) {
    if (info.Kind != tkMethod) ThrowKind(object, info, "an event");
    return std::get<TMethod>(ReadValue(object, info));
}

void SetMethodProp(TObject* object, const TPropInfo& info, const TMethod& value) {
    if (info.Kind != tkMethod) ThrowKind(object, info, "an event");
    WriteValue(object, info, value);
}

TMethod GetMethodProp(TObject* object, std::string_view name) {
    const TPropTarget t = ResolvePropPath(object, name);
    return GetMethodProp(t.Instance, *t.Info);
}

void SetMethodProp(TObject* object, std::string_view name, const TMethod& value) {
    const TPropTarget t = ResolvePropPath(object, name);
    SetMethodProp(t.Instance, *t.Info, value);
}

TMethod GetPublishedMethod(TObject* object, std::string_view name) {
    if (!object) return {};
    const TMethodInfo* method = object->ClassInfo().FindMethod(name);
    return method ? method->Bind(object) : TMethod();
}

std::string GetEnumName(const TEnumTypeInfo& type, std::int64_t value) {
    return std::string(type.NameOf(value));
}

int GetEnumValue(const TEnumTypeInfo& type, std::string_view name) { return type.ValueOf(name); }

std::string GetEnumName(const TPropInfo& info, std::int64_t value) {
    return info.EnumType ? GetEnumName(*info.EnumType, value) : std::string();
}

int GetEnumValue(const TPropInfo& info, std::string_view name) {
    return info.EnumType ? GetEnumValue(*info.EnumType, name) : -1;
}

bool IsDefaultPropValue(TObject* object, const TPropInfo& info) {
    const TPropValue value = ReadValue(object, info);
    switch (info.Kind) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet:
        return info.Default && std::get<std::int64_t>(value) == *info.Default;
    case tkFloat:
        return std::get<double>(value) == 0.0;
    case tkString:
        return std::get<AnsiString>(value).empty();
    case tkClass:
        return std::get<TObject*>(value) == nullptr;
    case tkMethod:
        return !std::get<TMethod>(value).Assigned();
    default:
        return false;
    }
}

bool IsStoredProp(TObject* object, const TPropInfo& info) {
    return info.Stored && !IsDefaultPropValue(object, info);
}

} // namespace qmx
