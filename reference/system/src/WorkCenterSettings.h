#pragma once
// The settings of the system object (registry key Software\QMX\WorkCenter, see WorkCenter.h) and
// the session the host runs the module in.
#include <cstdint>

#include "qmx/CodePage.h"
#include "qmx/reference/CompanyDirectory.h"

namespace qmx::reference {

struct WorkCenterSettings {
    AnsiString DataPath;
    AnsiString DataSource = "DODaza60";
    AnsiString CompanyId;
    AnsiString UserId;
    AnsiString Language = "CHS";
    CodePage DBCodePage = CP_GB2312;
    AnsiString PackagePath;
    AnsiString HelpPath;
    std::int32_t ProductID = 60;

    // Reads the registry now; missing values keep the defaults above (CompanyId defaults to
    // DataSource). A value of the wrong type raises Exception naming it.
    static WorkCenterSettings FromRegistry();
};

// What the services share: the settings and the session, which the host may change through the
// manager's properties.
struct HostContext {
    WorkCenterSettings Settings;

    CompanyDirectory Companies() const { return CompanyDirectory(Settings.DataPath, Settings.DBCodePage); }
    // The connection string of a company database; raises Exception for an unknown one.
    AnsiString ConnectionString(std::string_view dataSource) const { return Companies().ConnectionString(dataSource); }
    // A UTF-8 text of our sources in the database code page.
    AnsiString Text(std::string_view utf8) const;
    bool English() const;
};

} // namespace qmx::reference
