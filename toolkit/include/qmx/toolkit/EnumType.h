#pragma once
// Names of an enumeration type for the RTTI: the type name ("TAlign") and the value names in
// order ("alNone", "alTop", ...). An enumeration takes part in published properties once it is
// described with QMX_ENUM in its own namespace, right after its definition:
//
//     enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
//     QMX_ENUM(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient")
//
// The macro defines an overload of EnumTypeInfo found by argument-dependent lookup, so module
// enumerations in other namespaces work the same way. Values must run from 0 without gaps.
#include <concepts>
#include <string>
#include <type_traits>
#include <string_view>
#include <vector>

namespace qmx {

struct TEnumTypeInfo {
    std::string Name;
    std::vector<std::string> Names;

    // The value's name; empty for a value outside the type.
    std::string_view NameOf(long long value) const {
        if (value < 0 || value >= static_cast<long long>(Names.size())) return {};
        return Names[static_cast<std::size_t>(value)];
    }
    // The value of a name, without regard to case; -1 when the type has no such name.
    int ValueOf(std::string_view name) const;
};

// Boolean as an enumeration "False", "True".
const TEnumTypeInfo& BooleanTypeInfo();

template <class E>
concept DescribedEnum = std::is_enum_v<E> && requires(E e) {
    { EnumTypeInfo(e) } -> std::same_as<const TEnumTypeInfo&>;
};

} // namespace qmx

#define QMX_ENUM(Type, ...)                                                                     \
    [[maybe_unused]] inline const ::qmx::TEnumTypeInfo& EnumTypeInfo(Type) {                    \
        static const ::qmx::TEnumTypeInfo info{#Type, {__VA_ARGS__}};                          \
        return info;                                                                            \
    }
