#include <cstdio>
#include <exception>

#include "ReportCounterServer.h"
#include "qmx/CodePage.h"
#include "qmx/platform/ClassRegistry.h"
#include "qmx/reference/ReportCounter.h"

namespace qmx::reference {

DispatchPtr CreateReportCounter() { return std::make_shared<ReportCounterServer>(ServerSettings::Read()); }

void RegisterReportCounterClass() {
    platform::RegisterClassFactory(ReportCounterProgId, [] { return CreateReportCounter(); });
}

} // namespace qmx::reference

extern "C" qmx::Dispatch* ReportCounterSCreateObject(const char* progId) {
    if (!progId || !qmx::AnsiSameText(progId, qmx::reference::ReportCounterProgId, qmx::CP_WESTERN)) return nullptr;
    // Nothing may cross the C boundary: the caller reports that no object was made, and the
    // reason goes to the error output for whoever sets the site up.
    try {
        return new qmx::reference::ReportCounterServer(qmx::reference::ServerSettings::Read());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", qmx::reference::ReportCounterProgId, error.what());
    } catch (...) {
    }
    return nullptr;
}
