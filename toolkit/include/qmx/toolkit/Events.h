#pragma once
// Events are method values, as in the original toolkit: the object they are bound to (Data) and
// the code to run; a null event is unassigned. TMethod is the same thing with its type erased, so
// the RTTI can read a control's OnExit, install another handler and call the saved one later.
//
//     btnOk->OnClick = TNotifyEvent(this, &TfrmMain::btnOkClick);   // bound to a member
//     edit->OnExit = TNotifyEvent(nullptr, [](TObject* sender) { ... });  // any callable
//     TMethod saved = GetMethodProp(edit, "OnExit");
//     ...  saved.As<TNotifyEvent>()(edit);
#include <cstdint>
#include <functional>
#include <memory>
#include <typeinfo>
#include <utility>

#include "qmx/toolkit/Exceptions.h"
#include "qmx/toolkit/Object.h"
#include "qmx/toolkit/Types.h"

namespace qmx {

class TMethod;

template <class... Args>
class TEvent {
public:
    using Function = std::function<void(Args...)>;

    TEvent() noexcept = default;
    TEvent(std::nullptr_t) noexcept {}
    // Any callable; data is the object the handler belongs to (may be null).
    TEvent(TObject* data, Function code)
        : data_(data), code_(code ? std::make_shared<const Function>(std::move(code)) : nullptr) {}
    // A member function of an object.
    template <class C, class B>
        requires std::is_base_of_v<B, C> && std::is_base_of_v<TObject, C>
    TEvent(C* object, void (B::*member)(Args...))
        : TEvent(object, Function([object, member](Args... args) {
              (object->*member)(std::forward<Args>(args)...);
          })) {}

    bool Assigned() const noexcept { return code_ != nullptr; }
    explicit operator bool() const noexcept { return Assigned(); }
    TObject* Data() const noexcept { return data_; }
    // Identity of the code; copies of one event share it.
    const void* Code() const noexcept { return code_.get(); }

    // Calling an unassigned event is an error, not a crash.
    void operator()(Args... args) const {
        if (!code_) throw EInvalidOperation("call of an unassigned event");
        (*code_)(std::forward<Args>(args)...);
    }

    friend bool operator==(const TEvent& a, const TEvent& b) noexcept {
        return a.code_ == b.code_ && a.data_ == b.data_;
    }

private:
    friend class TMethod;
    TEvent(TObject* data, std::shared_ptr<const Function> code) noexcept
        : data_(data), code_(std::move(code)) {}

    TObject* data_ = nullptr;
    std::shared_ptr<const Function> code_;
};

template <class E>
struct IsEvent : std::false_type {};
template <class... Args>
struct IsEvent<TEvent<Args...>> : std::true_type {};

// A method value of any event type.
class TMethod {
public:
    TMethod() noexcept = default;
    template <class... Args>
    TMethod(const TEvent<Args...>& event) noexcept
        : type_(event.Assigned() ? &typeid(TEvent<Args...>) : nullptr), data_(event.data_),
          code_(event.code_) {}

    bool Assigned() const noexcept { return code_ != nullptr; }
    TObject* Data() const noexcept { return data_; }
    const void* Code() const noexcept { return code_.get(); }
    // typeid of the event type; typeid(void) for an unassigned method.
    const std::type_info& EventType() const noexcept { return type_ ? *type_ : typeid(void); }

    template <class E>
    bool Is() const noexcept {
        return !Assigned() || *type_ == typeid(E);
    }
    // The event; an unassigned method gives a null event of any type; another event type raises
    // EInvalidOperation.
    template <class E>
        requires IsEvent<E>::value
    E As() const {
        if (!Assigned()) return E();
        if (*type_ != typeid(E)) ThrowTypeMismatch(*type_, typeid(E));
        return E(data_, std::static_pointer_cast<const typename E::Function>(code_));
    }

    friend bool operator==(const TMethod& a, const TMethod& b) noexcept {
        return a.code_ == b.code_ && a.data_ == b.data_;
    }

private:
    [[noreturn]] static void ThrowTypeMismatch(const std::type_info& have, const std::type_info& want);

    const std::type_info* type_ = nullptr;
    TObject* data_ = nullptr;
    std::shared_ptr<const void> code_;
};

enum TCloseAction { caNone, caHide, caFree, caMinimize };
QMX_ENUM(TCloseAction, "caNone", "caHide", "caFree", "caMinimize")

using TNotifyEvent = TEvent<TObject*>;
// Key is the virtual-key code (VK_*); setting it to 0 swallows the key.
using TKeyEvent = TEvent<TObject*, Word&, TShiftState>;
// Key is one code-page byte (a double-byte character arrives as two presses); 0 swallows it.
using TKeyPressEvent = TEvent<TObject*, char&>;
using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;

// The type name the RTTI reports for an event type ("TNotifyEvent", ...).
template <class E>
constexpr const char* EventTypeName() {
    if constexpr (std::is_same_v<E, TNotifyEvent>) return "TNotifyEvent";
    else if constexpr (std::is_same_v<E, TKeyEvent>) return "TKeyEvent";
    else if constexpr (std::is_same_v<E, TKeyPressEvent>) return "TKeyPressEvent";
    else if constexpr (std::is_same_v<E, TMouseEvent>) return "TMouseEvent";
    else if constexpr (std::is_same_v<E, TMouseMoveEvent>) return "TMouseMoveEvent";
    else if constexpr (std::is_same_v<E, TCloseEvent>) return "TCloseEvent";
    else if constexpr (std::is_same_v<E, TCloseQueryEvent>) return "TCloseQueryEvent";
    else return "TMethod";
}

} // namespace qmx
