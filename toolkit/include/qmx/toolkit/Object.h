#pragma once
// TObject: root of the toolkit's classes. Every class has its class information (name, parent,
// published properties and methods, see Rtti.h), reached through ClassInfo().
//
// Destruction: `delete obj` (or obj->Free()) first calls the virtual BeforeDestruction while the
// whole object is still alive, then runs the destructors. Components use this to run OnDestroy
// and free what they own before any part of the object is gone, as the original toolkit did.
#include <cstddef>
#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace qmx {

class TClassInfo;

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject();

    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo& ClassInfo() const;

    std::string ClassName() const;
    // True when the object's class or one of its ancestors has that name (without regard to case).
    bool InheritsFrom(std::string_view className) const;
    bool InheritsFrom(const TClassInfo& classInfo) const;

    // Called after the most derived constructor by the toolkit's factories (CreateForm, the class
    // registry's factory); forms run OnCreate here.
    virtual void AfterConstruction() {}
    // Called by delete before the destructors run.
    virtual void BeforeDestruction() {}

    // delete this; the original toolkit's way of freeing an object.
    void Free() { delete this; }

    // Destroying delete: runs BeforeDestruction on the complete object, then the destructors.
    void operator delete(TObject* object, std::destroying_delete_t);
    // The allocation that matches it, and the free a throwing constructor needs (both the global
    // ones, defined out of line so that the compiler pairs them with the destroying delete).
    static void* operator new(std::size_t size);
    static void operator delete(void* storage) noexcept;
    static void* operator new(std::size_t, void* place) noexcept { return place; }
    static void operator delete(void*, void*) noexcept {}
};

// Frees the object and clears the pointer.
template <class T>
void FreeAndNil(T*& object) {
    T* doomed = object;
    object = nullptr;
    delete doomed;
}

// Creates an object and calls its AfterConstruction, as the original toolkit's constructors did.
template <class T, class... Args>
T* New(Args&&... args) {
    T* object = new T(std::forward<Args>(args)...);
    try {
        object->AfterConstruction();
    } catch (...) {
        delete object;
        throw;
    }
    return object;
}

// Declares a class's class information. Put it first in the class body:
//     class TButton : public TWinControl {
//         QMX_CLASS(TButton, TWinControl)
//     public: ...
// and define `const TClassInfo& TButton::StaticClassInfo()` with a TClassInfoBuilder (Rtti.h).
#define QMX_CLASS(Class, Parent)                                                                \
public:                                                                                         \
    using inherited = Parent;                                                                   \
    static const ::qmx::TClassInfo& StaticClassInfo();                                          \
    const ::qmx::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }           \
                                                                                                \
private:

} // namespace qmx
