#include <cstdio>
#include <exception>

#include "WorkCenterManager.h"
#include "qmx/CodePage.h"
#include "qmx/platform/ClassRegistry.h"
#include "qmx/reference/WorkCenter.h"

namespace qmx::reference {

DispatchPtr CreateWorkCenterManager() {
    return std::make_shared<WorkCenterManager>(WorkCenterSettings::FromRegistry());
}

void RegisterWorkCenterClass() {
    platform::RegisterClassFactory(WorkCenterProgId, [] { return CreateWorkCenterManager(); });
}

} // namespace qmx::reference

extern "C" qmx::Dispatch* NorvikWorkCenterCreateObject(const char* progId) {
    if (!progId || !qmx::AnsiSameText(progId, qmx::reference::WorkCenterProgId, qmx::CP_WESTERN)) return nullptr;
    // Nothing may cross the C boundary: the caller reports that no object was made, and the
    // reason goes to the error output for whoever sets the site up.
    try {
        return new qmx::reference::WorkCenterManager(qmx::reference::WorkCenterSettings::FromRegistry());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", qmx::reference::WorkCenterProgId, error.what());
    } catch (...) {
    }
    return nullptr;
}
