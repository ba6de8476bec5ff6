#pragma once
// How a C++ value type maps onto a published property: its kind, type name and the conversion
// to and from TPropValue. Used by TClassInfoBuilder; not needed by users of the RTTI.
#include <cstdint>
#include <string>
#include <type_traits>

#include "qmx/toolkit/Exceptions.h"
#include "qmx/toolkit/Rtti.h"

namespace qmx::rtti {

[[noreturn]] void ThrowValueKind(const char* expected);

inline std::int64_t OrdinalOf(const TPropValue& value) {
    if (const auto* v = std::get_if<std::int64_t>(&value)) return *v;
    ThrowValueKind("an ordinal value");
}

template <class V, class = void>
struct PropTraits {
    static_assert(sizeof(V) == 0, "this type cannot be a published property");
};

template <>
struct PropTraits<bool> {
    static constexpr TTypeKind Kind = tkEnumeration;
    static std::string TypeName() { return "Boolean"; }
    static const TEnumTypeInfo* EnumType() { return &BooleanTypeInfo(); }
    static TPropValue ToValue(bool v) { return std::int64_t{v ? 1 : 0}; }
    static bool FromValue(const TPropValue& v) { return OrdinalOf(v) != 0; }
};

template <>
struct PropTraits<char> {
    static constexpr TTypeKind Kind = tkChar;
    static std::string TypeName() { return "Char"; }
    static const TEnumTypeInfo* EnumType() { return nullptr; }
    static TPropValue ToValue(char v) { return std::int64_t{static_cast<unsigned char>(v)}; }
    static char FromValue(const TPropValue& v) { return static_cast<char>(OrdinalOf(v)); }
};

template <class V>
struct PropTraits<V, std::enable_if_t<std::is_integral_v<V> && !std::is_same_v<V, bool> &&
                                      !std::is_same_v<V, char>>> {
    static constexpr TTypeKind Kind = tkInteger;
    static std::string TypeName() {
        if constexpr (std::is_same_v<V, std::uint8_t>) return "Byte";
        else if constexpr (std::is_same_v<V, std::uint16_t>) return "Word";
        else if constexpr (std::is_same_v<V, std::int16_t>) return "SmallInt";
        else if constexpr (std::is_same_v<V, std::uint32_t>) return "Cardinal";
        else if constexpr (sizeof(V) == 8) return "Int64";
        else return "Integer";
    }
    static const TEnumTypeInfo* EnumType() { return nullptr; }
    static TPropValue ToValue(V v) { return static_cast<std::int64_t>(v); }
    static V FromValue(const TPropValue& v) { return static_cast<V>(OrdinalOf(v)); }
};

template <class V>
struct PropTraits<V, std::enable_if_t<std::is_floating_point_v<V>>> {
    static constexpr TTypeKind Kind = tkFloat;
    static std::string TypeName() { return "Double"; }
    static const TEnumTypeInfo* EnumType() { return nullptr; }
    static TPropValue ToValue(V v) { return static_cast<double>(v); }
    static V FromValue(const TPropValue& v) {
        if (const auto* d = std::get_if<double>(&v)) return static_cast<V>(*d);
        if (const auto* i = std::get_if<std::int64_t>(&v)) return static_cast<V>(*i);
        ThrowValueKind("a number");
    }
};

template <>
struct PropTraits<AnsiString> {
    static constexpr TTypeKind Kind = tkString;
    static std::string TypeName() { return "String"; }
    static const TEnumTypeInfo* EnumType() { return nullptr; }
    static TPropValue ToValue(const AnsiString& v) { return v; }
    static AnsiString FromValue(const TPropValue& v) {
        if (const auto* s = std::get_if<AnsiString>(&v)) return *s;
        ThrowValueKind("a text");
    }
};

template <class V>
struct PropTraits<V, std::enable_if_t<DescribedEnum<V>>> {
    static constexpr TTypeKind Kind = tkEnumeration;
    static std::string TypeName() { return EnumType()->Name; }
    static const TEnumTypeInfo* EnumType() { return &EnumTypeInfo(V{}); }
    static TPropValue ToValue(V v) { return static_cast<std::int64_t>(v); }
    static V FromValue(const TPropValue& v) {
        const std::int64_t n = OrdinalOf(v);
        if (n < 0 || n >= static_cast<std::int64_t>(EnumType()->Names.size()))
            throw EPropertyError("value " + std::to_string(n) + " is out of range for " + TypeName());
        return static_cast<V>(n);
    }
};

template <class E>
struct PropTraits<TSet<E>> {
    static constexpr TTypeKind Kind = tkSet;
    static std::string TypeName() { return "set of " + EnumTypeInfo(E{}).Name; }
    static const TEnumTypeInfo* EnumType() { return &EnumTypeInfo(E{}); }
    static TPropValue ToValue(TSet<E> v) { return static_cast<std::int64_t>(v.Bits()); }
    static TSet<E> FromValue(const TPropValue& v) {
        return TSet<E>::FromBits(static_cast<std::uint64_t>(OrdinalOf(v)));
    }
};

template <class C>
struct PropTraits<C*, std::enable_if_t<std::is_base_of_v<TObject, C>>> {
    static constexpr TTypeKind Kind = tkClass;
    static std::string TypeName() { return C::StaticClassInfo().Name; }
    static const TEnumTypeInfo* EnumType() { return nullptr; }
    static TPropValue ToValue(C* v) { return static_cast<TObject*>(v); }
    static C* FromValue(const TPropValue& v) {
        const auto* object = std::get_if<TObject*>(&v);
        if (!object) ThrowValueKind("an object");
        if (*object == nullptr) return nullptr;
        if (!(*object)->InheritsFrom(C::StaticClassInfo()))
            throw EPropertyError("a " + (*object)->ClassName() + " is not a " + TypeName());
        return static_cast<C*>(*object);
    }
};

template <class... Args>
struct PropTraits<TEvent<Args...>> {
    using E = TEvent<Args...>;
    static constexpr TTypeKind Kind = tkMethod;
    static std::string TypeName() { return EventTypeName<E>(); }
    static const TEnumTypeInfo* EnumType() { return nullptr; }
    static TPropValue ToValue(const E& v) { return TMethod(v); }
    static E FromValue(const TPropValue& v) {
        const auto* method = std::get_if<TMethod>(&v);
        if (!method) ThrowValueKind("a method");
        if (!method->Is<E>())
            throw EPropertyError("an event of another type cannot be assigned to a " + TypeName());
        return method->As<E>();
    }
};

} // namespace qmx::rtti
