#pragma once
// The system object "NorvikWorkCenter.Manager" (WorkCenter.h lists its members).
#include <memory>

#include "WorkCenterSettings.h"
#include "qmx/reference/AutomationObject.h"

namespace qmx::reference {

class WorkCenterManager : public AutomationObject {
public:
    explicit WorkCenterManager(WorkCenterSettings settings);

private:
    Variant GetMessage(DispatchArgs& args);
    Variant CallHelp(DispatchArgs& args);
    Variant GetFileList(DispatchArgs& args);
    void DefineSessionText(const char* name, AnsiString WorkCenterSettings::*field, bool dataSource = false);

    std::shared_ptr<HostContext> context_;
    DispatchPtr counter_;
    DispatchPtr validator_;
    DispatchPtr lookupWindow_;
};

// The answer of GetFileList for a file of the package folder: "" when the folder holds no
// package "<file name>.zip" (without regard to case), else
// "<File>name</File><Modify>yyyymmddhhnnss</Modify><Path>folder\name</Path>": the package's
// modification time (local) and the path of the file in the package folder, its name joined
// with a backslash, so that the part up to the last backslash is the folder. Raises EOleError for
// a name that is not a bare file name.
AnsiString PackageFileList(const AnsiString& packageFolder, std::string_view fileName);

} // namespace qmx::reference
