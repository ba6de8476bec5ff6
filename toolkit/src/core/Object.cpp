#include "qmx/toolkit/Object.h"

#include "qmx/toolkit/Rtti.h"

namespace qmx {

TObject::~TObject() = default;

const TClassInfo& TObject::StaticClassInfo() {
    static const TClassInfo info("TObject", nullptr);
    return info;
}

const TClassInfo& TObject::ClassInfo() const { return StaticClassInfo(); }

std::string TObject::ClassName() const { return ClassInfo().Name; }

bool TObject::InheritsFrom(std::string_view className) const {
    return ClassInfo().InheritsFrom(className);
}

bool TObject::InheritsFrom(const TClassInfo& classInfo) const {
    return ClassInfo().InheritsFrom(classInfo);
}

void* TObject::operator new(std::size_t size) { return ::operator new(size); }

void TObject::operator delete(void* storage) noexcept { ::operator delete(storage); }

void TObject::operator delete(TObject* object, std::destroying_delete_t) {
    // TObject is the primary base of every toolkit class, so the complete object's address is
    // found before its destructors run.
    void* storage = dynamic_cast<void*>(object);
    try {
        object->BeforeDestruction();
    } catch (...) {
        // A destructor path must not throw; BeforeDestruction hands handler errors to the
        // application, anything left here is dropped so the object is still freed.
    }
    object->~TObject();
    ::operator delete(storage);
}

} // namespace qmx
