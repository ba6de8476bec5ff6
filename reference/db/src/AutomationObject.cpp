#include "qmx/reference/AutomationObject.h"

#include <exception>
#include <string>

namespace qmx::reference {

Variant AutomationObject::Invoke(std::string_view name, DispatchKind kind, DispatchArgs& args) {
    try {
        return DispatchObject::Invoke(name, kind, args);
    } catch (const Exception&) {
        throw;
    } catch (const std::exception& error) {
        throw EOleError(std::string(name) + ": " + error.what());
    }
}

} // namespace qmx::reference
