#include "config/TaskoraIniRules.h"

#include "qmx/platform/IniFile.h"
#include "qmx/platform/Paths.h"
#include "qmx/platform/Registry.h"
#include "qmx/platform/SystemInfo.h"

namespace qmx {

using namespace qmx::platform;

AnsiString SystemCodePageText(CodePage systemCodePage) {
    if (systemCodePage == CP_GB2312 || systemCodePage == CP_BIG5) return std::to_string(systemCodePage);
    return "437";
}

std::uint8_t UIConvertModeOf(std::string_view uiCodePage, std::string_view systemCodePage) {
    if (uiCodePage == "950") return 2;
    if (uiCodePage == "936" && systemCodePage == "950") return 4;
    return 0;
}

std::uint8_t DBConvertModeOf(std::string_view uiCodePage, std::string_view dbCodePage) {
    if (uiCodePage == "950" && dbCodePage == "936") return 2;
    if (uiCodePage == "936" && dbCodePage == "950") return 1;
    return 0;
}

bool IsFlagText(std::string_view text) {
    const AnsiString upper = AnsiUpperCase(text);
    return upper == "1" || upper == "Y" || upper == "YES" || upper == "TRUE";
}

AnsiString ExpandWorkPath(std::string_view value, std::string_view installPath) {
    AnsiString folder = ResolveConfigPath(value, installPath);
    // "" and "\" name the installation folder itself; never let them become the root.
    if (folder.empty()) folder = AnsiString(installPath);
    if (folder.empty()) return {};
    return IncludeTrailingPathDelimiter(folder);
}

namespace detail {

TaskoraLocation LocateTaskoraIni(std::string_view pathValueName, std::string_view iniName) {
    TaskoraLocation location;
    TRegistry registry(RegRoot::LocalMachine);
    if (!registry.OpenKeyReadOnly(TaskoraRegistryKey)) return location;
    location.KeyFound = true;
    AnsiString rawPath;
    try {
        rawPath = registry.ReadString(pathValueName);
        location.ProfileType = registry.ReadString("ProfileType");
    } catch (...) {
        registry.CloseKey();
        throw; // a value of another type is the registry layer's error, for the caller to see
    }
    registry.CloseKey();
    if (rawPath.empty()) return location;

    // The registry may hold a Windows-style folder; an installation folder is absolute as given.
    location.InstallPath = IncludeTrailingPathDelimiter(ResolveConfigPath(rawPath, ""));
    location.ProfilePath = location.InstallPath;
    if (!location.ProfileType.empty() && location.ProfileType != "0") {
        location.ProfileUser = GetUserName();
        location.ProfilePath = location.InstallPath + "Profile" + PathDelim + location.ProfileUser + PathDelim;
    }
    location.IniFileName = location.ProfilePath + AnsiString(iniName);
    if (!FileExists(location.IniFileName)) {
        // The shared file is read even when it is missing too: it then gives every default.
        location.ProfilePath = location.InstallPath;
        location.IniFileName = location.InstallPath + AnsiString(iniName);
    }
    return location;
}

AnsiString TrimText(std::string_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
    return AnsiString(text.substr(first, last - first));
}

std::vector<AnsiString> ReadWorkDLLValues(const TIniFile& ini) {
    std::vector<AnsiString> values;
    for (const AnsiString& key : ini.ReadSection("WorkDLLPath")) values.push_back(ini.ReadString("WorkDLLPath", key, ""));
    return values;
}

} // namespace detail
} // namespace qmx
