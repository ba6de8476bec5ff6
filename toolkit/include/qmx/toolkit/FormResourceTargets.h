#pragma once
// What the form reader needs of objects whose state is not a plain published property. A class
// takes part by deriving from the interface as well as from its toolkit base.
#include <string_view>

#include "qmx/toolkit/FormResource.h"

namespace qmx {

class TPersistent;

// A collection property's object (status panels, grid columns): `Panels = < item ... end >`
// replaces its items with new ones, each filled through its published properties.
class IFormResourceCollection {
public:
    virtual void ClearForReading() = 0;
    // A new item at the end, owned by the collection.
    virtual TPersistent* AddForReading() = 0;

protected:
    ~IFormResourceCollection() = default;
};

// Data written in a resource that is no published property, such as a bitmap's
// `Glyph.Data = {...}` (the value's bytes, or ResourceName for a module bitmap resource).
class IFormResourceData {
public:
    // `name` is the last part of the property path ("Data"). False: no such data here (the reader
    // then reports an unknown property); a bad value raises.
    virtual bool ReadFormData(std::string_view name, const TFormValue& value) = 0;

protected:
    ~IFormResourceData() = default;
};

} // namespace qmx
