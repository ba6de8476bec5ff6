#include "ServerSettings.h"

#include "qmx/platform/IniFile.h"
#include "qmx/platform/Paths.h"
#include "qmx/platform/Registry.h"

namespace qmx::reference {

using platform::IncludeTrailingPathDelimiter;
using platform::ResolveConfigPath;

ServerSettings ServerSettings::Read() {
    ServerSettings settings;
    platform::TRegistry registry(platform::RegRoot::LocalMachine);
    if (!registry.OpenKeyReadOnly("Software\\QMX\\Taskora"))
        throw Exception("The registry key Software\\QMX\\Taskora of the dispatch center is missing");
    const AnsiString serverPath = registry.ReadString("ServerPath");
    if (serverPath.empty()) throw Exception("The registry names no ServerPath of the dispatch center");
    settings.ServerPath = IncludeTrailingPathDelimiter(ResolveConfigPath(serverPath, {}));

    const platform::TIniFile ini(settings.ServerPath + "TaskoraS.ini");
    const AnsiString codePage = ini.ReadString("CodePage", "DBCodePage", "936");
    if (codePage == "950") settings.DBCodePage = CP_BIG5;
    else if (codePage != "936") throw Exception("TaskoraS.ini: DBCodePage must be 936 or 950, not '" + codePage + "'");
    const AnsiString engine = ini.ReadString("DBE Setting", "MainDBType", "SQLite");
    if (!AnsiSameText(engine, "SQLite", CP_WESTERN) && !AnsiSameText(engine, "SQLite3", CP_WESTERN))
        throw Exception("TaskoraS.ini: this server keeps its data in SQLite, not in " + engine);
    const AnsiString companies = ini.ReadString("DBE Setting", "MainServerName", "Data");
    settings.CompanyFolder = IncludeTrailingPathDelimiter(ResolveConfigPath(companies, settings.ServerPath));
    settings.MainDataSource = ini.ReadString("DBE Setting", "MainDBName", "");
    settings.QueueFile = ResolveConfigPath(ini.ReadString("Job Queue", "Database", "Taskora.db"), settings.ServerPath);
    for (const AnsiString& key : ini.ReadSection("WorkDLLPath")) {
        const AnsiString folder = ini.ReadString("WorkDLLPath", key, "");
        if (folder.empty()) continue;
        settings.WorkFolders.push_back(IncludeTrailingPathDelimiter(ResolveConfigPath(folder, settings.ServerPath)));
    }
    if (settings.WorkFolders.empty()) settings.WorkFolders.push_back(settings.ServerPath + "S_PKG/");
    return settings;
}

} // namespace qmx::reference
