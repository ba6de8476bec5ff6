#pragma once
// Where the server object keeps its data (see ReportCounter.h for the keys).
#include <vector>

#include "qmx/CodePage.h"
#include "qmx/reference/CompanyDirectory.h"

namespace qmx::reference {

struct ServerSettings {
    AnsiString ServerPath;
    CodePage DBCodePage = CP_GB2312;
    AnsiString CompanyFolder;
    AnsiString MainDataSource;
    AnsiString QueueFile;
    std::vector<AnsiString> WorkFolders;

    CompanyDirectory Companies() const { return CompanyDirectory(CompanyFolder, DBCodePage); }

    // Raises Exception when the registry names no server folder or the INI file asks for another
    // database engine.
    static ServerSettings Read();
};

} // namespace qmx::reference
