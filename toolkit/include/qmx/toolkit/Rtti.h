#pragma once
// The toolkit's own run-time type information: per class an ordered table of published
// properties and published methods, inherited along the class chain and looked up without regard
// to case. The form reader, the language controller, the control-state strings, the code converter
// and the generic required-field colouring all go through it.
//
// Each class fills its table once, in its StaticClassInfo(), with a TClassInfoBuilder
// (include ClassBuilder.h there); the free functions of TypInfo.h (included here) read and write
// properties by name.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <typeinfo>
#include <variant>
#include <vector>

#include "qmx/toolkit/EnumType.h"
#include "qmx/toolkit/Events.h"
#include "qmx/toolkit/Object.h"

namespace qmx {

class TComponent;

enum TTypeKind { tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod };
QMX_ENUM(TTypeKind, "tkUnknown", "tkInteger", "tkChar", "tkEnumeration", "tkFloat", "tkString",
         "tkSet", "tkClass", "tkMethod")

// A property value: the ordinal (integers, chars, enumerations, Booleans, set bits), a float, a
// text, an object or a method.
using TPropValue = std::variant<std::int64_t, double, AnsiString, TObject*, TMethod>;

struct TPropInfo {
    std::string Name;
    TTypeKind Kind = tkUnknown;
    // "Integer", "TColor", "Boolean", "TAlign", "TFont", "TNotifyEvent", ...
    std::string TypeName;
    // Enumeration: its values; set: its element type.
    const TEnumTypeInfo* EnumType = nullptr;
    // Class property: the declared class (resolved lazily, so classes may refer to each other).
    const TClassInfo& (*ClassTypeFn)() = nullptr;
    // Method property: typeid of its event type.
    const std::type_info* EventType = nullptr;

    std::function<TPropValue(const TObject&)> Get;
    std::function<void(TObject&, const TPropValue&)> Set; // empty for a read-only property
    // The stored default of an ordinal property; a value equal to it is not stored.
    std::optional<std::int64_t> Default;
    // False for properties that are never stored (computed ones).
    bool Stored = true;

    bool ReadOnly() const { return !Set; }
    const TClassInfo* ClassType() const { return ClassTypeFn ? &ClassTypeFn() : nullptr; }
};

// A published method: a handler that a form resource can name (`OnClick = btnOkClick`).
struct TMethodInfo {
    std::string Name;
    const std::type_info* EventType = nullptr;
    std::string EventTypeName;
    // The method bound to an instance of the class (or a descendant), as a TMethod of EventType.
    std::function<TMethod(TObject* instance)> Bind;
};

class TClassInfo {
public:
    TClassInfo(std::string name, const TClassInfo* parent) : Name(std::move(name)), Parent(parent) {}
    TClassInfo(const TClassInfo&) = delete;
    TClassInfo& operator=(const TClassInfo&) = delete;
    TClassInfo(TClassInfo&&) = default;

    std::string Name;
    const TClassInfo* Parent = nullptr;
    // Published by this class, in declaration order.
    std::vector<TPropInfo> Properties;
    // Declared by this class but not published: a descendant may publish them by name.
    std::vector<TPropInfo> DeclaredProperties;
    std::vector<TMethodInfo> Methods;
    // Creates an instance for the form reader (after AfterConstruction); null for abstract classes.
    TComponent* (*Factory)(TComponent* owner) = nullptr;

    // Along the class chain, most derived first, without regard to case; null when absent.
    const TPropInfo* FindProperty(std::string_view name) const;
    // Every published property, ancestors' first; a redeclared one stands at its first place.
    std::vector<const TPropInfo*> PropertyList() const;
    const TMethodInfo* FindMethod(std::string_view name) const;
    std::vector<const TMethodInfo*> MethodList() const;
    // A published or declared property, for publishing it in a descendant.
    const TPropInfo* FindDeclaredProperty(std::string_view name) const;

    bool InheritsFrom(const TClassInfo& ancestor) const;
    bool InheritsFrom(std::string_view className) const;
};

// The global class registry, used by the form reader to create components by class name.
void RegisterClass(const TClassInfo& classInfo);
void RegisterClasses(std::initializer_list<const TClassInfo*> classes);
void UnRegisterClass(const TClassInfo& classInfo);
// The registered class of that name (without regard to case), or null.
const TClassInfo* GetClass(std::string_view name);
// As GetClass, but an unknown name raises EClassNotFound ("Class TFoo not found").
const TClassInfo& FindClass(std::string_view name);

// Registers a class when the library that defines it is loaded: QMX_REGISTER_CLASS(TButton)
#define QMX_REGISTER_CLASS(Class)                                                               \
    [[maybe_unused]] static const bool qmxRegistered##Class = [] {                             \
        ::qmx::RegisterClass(Class::StaticClassInfo());                                         \
        return true;                                                                            \
    }()

} // namespace qmx

#include "qmx/toolkit/TypInfo.h"
