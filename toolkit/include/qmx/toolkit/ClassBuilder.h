#pragma once
// TClassInfoBuilder: fills a class's table of published properties and methods, once, in the
// class's StaticClassInfo():
//
//     const TClassInfo& TButton::StaticClassInfo() {
//         static const TClassInfo info = TClassInfoBuilder<TButton>("TButton", &inherited::StaticClassInfo())
//             .Publish("Caption").Publish("Font").Publish("OnClick")      // declared by an ancestor
//             .Property("Default", &TButton::Default, &TButton::SetDefault).Default(false)
//             .Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(0)
//             .Build();
//         return info;
//     }
//
// Getters are anything callable on `const T&`, setters anything callable on `T&` with the value;
// a data member pointer gives both (used for event fields). The value type chooses the kind
// (PropTraits.h); Type(), Default(), NoDefault() and Stored() adjust the property just added.
#include <string>
#include <type_traits>
#include <utility>

#include "qmx/toolkit/PropTraits.h"
#include "qmx/toolkit/Rtti.h"

namespace qmx {

template <class T>
class TClassInfoBuilder {
public:
    TClassInfoBuilder(std::string name, const TClassInfo* parent) : info_(std::move(name), parent) {
        if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                      std::is_constructible_v<T, TComponent*>) {
            info_.Factory = [](TComponent* owner) -> TComponent* { return New<T>(owner); };
        }
    }

    // A published property with a getter and a setter.
    template <class G, class S>
        requires std::is_invocable_v<G, const T&> && (!std::is_member_object_pointer_v<G>)
    TClassInfoBuilder& Property(std::string name, G getter, S setter) {
        return Add(info_.Properties, MakeAccessor(std::move(name), getter, setter));
    }
    // A published read-only property.
    template <class G>
        requires std::is_invocable_v<G, const T&> && (!std::is_member_object_pointer_v<G>)
    TClassInfoBuilder& ReadOnly(std::string name, G getter) {
        return Add(info_.Properties, MakeReader(std::move(name), getter));
    }
    // A published property over a data member (events).
    template <class M, class C>
        requires std::is_base_of_v<C, T>
    TClassInfoBuilder& Property(std::string name, M C::*field) {
        return Add(info_.Properties, MakeField(std::move(name), field));
    }

    // Declared but not published (a descendant publishes it with Publish).
    template <class G, class S>
        requires std::is_invocable_v<G, const T&> && (!std::is_member_object_pointer_v<G>)
    TClassInfoBuilder& Declare(std::string name, G getter, S setter) {
        return Add(info_.DeclaredProperties, MakeAccessor(std::move(name), getter, setter));
    }
    template <class M, class C>
        requires std::is_base_of_v<C, T>
    TClassInfoBuilder& Declare(std::string name, M C::*field) {
        return Add(info_.DeclaredProperties, MakeField(std::move(name), field));
    }

    // Publishes a property declared (or published) by an ancestor or earlier by this class.
    TClassInfoBuilder& Publish(std::string_view name) {
        const TPropInfo* declared = nullptr;
        for (const TPropInfo& p : info_.DeclaredProperties)
            if (EqualsIgnoreCase(p.Name, name)) declared = &p;
        if (!declared && info_.Parent) declared = info_.Parent->FindDeclaredProperty(name);
        if (!declared) throw EPropertyError("cannot publish " + std::string(name) + " in " + info_.Name +
                                            ": no such property is declared");
        TPropInfo copy = *declared;
        return Add(info_.Properties, std::move(copy));
    }

    // Adjust the property just added.
    TClassInfoBuilder& Type(std::string typeName) {
        Last().TypeName = std::move(typeName);
        return *this;
    }
    TClassInfoBuilder& Default(std::int64_t value) {
        Last().Default = value;
        return *this;
    }
    TClassInfoBuilder& NoDefault() {
        Last().Default.reset();
        return *this;
    }
    TClassInfoBuilder& Stored(bool stored) {
        Last().Stored = stored;
        return *this;
    }

    // A published method: `.Method("btnOkClick", &TfrmMain::btnOkClick)`.
    template <class C, class... Args>
        requires std::is_base_of_v<C, T>
    TClassInfoBuilder& Method(std::string name, void (C::*member)(Args...)) {
        using E = TEvent<Args...>;
        TMethodInfo m;
        m.Name = std::move(name);
        m.EventType = &typeid(E);
        m.EventTypeName = EventTypeName<E>();
        m.Bind = [member](TObject* instance) -> TMethod {
            const TClassInfo& owner = T::StaticClassInfo();
            if (!instance || !instance->InheritsFrom(owner))
                throw EPropertyError("a method of " + owner.Name + " cannot be bound to " +
                                     (instance ? instance->ClassName() : std::string("nil")));
            return TMethod(E(static_cast<T*>(instance), member));
        };
        info_.Methods.push_back(std::move(m));
        return *this;
    }

    // No factory even when T could be created (abstract in the original toolkit's sense).
    TClassInfoBuilder& Abstract() {
        info_.Factory = nullptr;
        return *this;
    }

    TClassInfo Build() { return std::move(info_); }

private:
    static bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            char x = a[i], y = b[i];
            if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
            if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
            if (x != y) return false;
        }
        return true;
    }

    TClassInfoBuilder& Add(std::vector<TPropInfo>& list, TPropInfo info) {
        for (TPropInfo& p : list)
            if (EqualsIgnoreCase(p.Name, info.Name)) {
                p = std::move(info);
                last_ = &p;
                return *this;
            }
        list.push_back(std::move(info));
        last_ = &list.back();
        return *this;
    }
    TPropInfo& Last() {
        if (!last_) throw EPropertyError("no property to adjust in " + info_.Name);
        return *last_;
    }

    template <class V>
    void Describe(TPropInfo& p) const {
        using Traits = rtti::PropTraits<V>;
        p.Kind = Traits::Kind;
        p.EnumType = Traits::EnumType();
        if constexpr (Traits::Kind == tkClass) {
            using C = std::remove_pointer_t<V>;
            p.ClassTypeFn = &C::StaticClassInfo;
            // A property of the class's own type must not ask for the table being built.
            if constexpr (std::is_same_v<C, T>) p.TypeName = info_.Name;
            else p.TypeName = Traits::TypeName();
        } else {
            p.TypeName = Traits::TypeName();
        }
        if constexpr (Traits::Kind == tkMethod) p.EventType = &typeid(V);
    }

    template <class G>
    TPropInfo MakeReader(std::string name, G getter) {
        using V = std::decay_t<std::invoke_result_t<G, const T&>>;
        TPropInfo p;
        p.Name = std::move(name);
        Describe<V>(p);
        p.Get = [getter](const TObject& object) -> TPropValue {
            return rtti::PropTraits<V>::ToValue(std::invoke(getter, static_cast<const T&>(object)));
        };
        return p;
    }
    template <class G, class S>
    TPropInfo MakeAccessor(std::string name, G getter, S setter) {
        using V = std::decay_t<std::invoke_result_t<G, const T&>>;
        static_assert(std::is_invocable_v<S, T&, V>, "the setter must accept the getter's type");
        TPropInfo p = MakeReader(std::move(name), getter);
        p.Set = [setter](TObject& object, const TPropValue& value) {
            std::invoke(setter, static_cast<T&>(object), rtti::PropTraits<V>::FromValue(value));
        };
        return p;
    }
    template <class M, class C>
    TPropInfo MakeField(std::string name, M C::*field) {
        TPropInfo p;
        p.Name = std::move(name);
        Describe<M>(p);
        p.Get = [field](const TObject& object) -> TPropValue {
            return rtti::PropTraits<M>::ToValue(static_cast<const T&>(object).*field);
        };
        p.Set = [field](TObject& object, const TPropValue& value) {
            static_cast<T&>(object).*field = rtti::PropTraits<M>::FromValue(value);
        };
        return p;
    }

    TClassInfo info_;
    TPropInfo* last_ = nullptr;
};

} // namespace qmx
