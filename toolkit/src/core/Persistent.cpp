#include "qmx/toolkit/Persistent.h"

#include "qmx/toolkit/ClassBuilder.h"
#include "qmx/toolkit/Exceptions.h"

namespace qmx {

const TClassInfo& TPersistent::StaticClassInfo() {
    static const TClassInfo info =
        TClassInfoBuilder<TPersistent>("TPersistent", &TObject::StaticClassInfo()).Build();
    return info;
}

void TPersistent::Assign(const TPersistent* source) {
    if (source) source->AssignTo(this);
    else AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) const { dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* source) const {
    const std::string sourceName = source ? source->ClassName() : std::string("nil");
    throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

std::string TPersistent::GetNamePath() const {
    const TPersistent* owner = GetOwner();
    std::string path = owner ? owner->GetNamePath() : std::string();
    if (!path.empty()) path += '.';
    return path + ClassName();
}

} // namespace qmx
