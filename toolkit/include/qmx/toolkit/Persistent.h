#pragma once
// TPersistent: objects that can copy their published state from one another (fonts, string lists,
// components).
#include <string>

#include "qmx/toolkit/Object.h"
#include "qmx/toolkit/Rtti.h"

namespace qmx {

class TPersistent : public TObject {
    QMX_CLASS(TPersistent, TObject)

public:
    TPersistent() = default;

    // Copies source into this object. The default asks source->AssignTo(this); when neither side
    // knows the other, EConvertError "Cannot assign a TSource to a TDest" (or "a nil").
    virtual void Assign(const TPersistent* source);
    // The other direction of Assign; the default raises the same error.
    virtual void AssignTo(TPersistent* dest) const;

    // "Form1.Button1.Font"-style name, for messages.
    virtual std::string GetNamePath() const;

protected:
    // The object that owns this one (a font's control), for GetNamePath.
    virtual TPersistent* GetOwner() const { return nullptr; }
    [[noreturn]] void AssignError(const TPersistent* source) const;
};

} // namespace qmx
