#pragma once
// Base of the reference automation objects. Errors of the system's own kinds pass through
// unchanged; anything else a member raises (a standard library error) becomes EOleError naming
// the member, so that a caller that catches the system's errors sees every failure.
#include "qmx/Dispatch.h"

namespace qmx::reference {

class AutomationObject : public DispatchObject {
public:
    Variant Invoke(std::string_view name, DispatchKind kind, DispatchArgs& args) override;
};

} // namespace qmx::reference
