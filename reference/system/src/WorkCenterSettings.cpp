#include "WorkCenterSettings.h"

#include "qmx/platform/Library.h"
#include "qmx/platform/Paths.h"
#include "qmx/platform/Registry.h"
#include "qmx/reference/ReferenceText.h"
#include "qmx/reference/WorkCenter.h"

namespace qmx::reference {

namespace {

using platform::RegRoot;
using platform::RegValueType;
using platform::TRegistry;

const char anchorInThisLibrary = 0;

AnsiString LibraryFolder() { return platform::ExtractFilePath(platform::GetModuleFileName(&anchorInThisLibrary)); }

AnsiString ReadText(const TRegistry& registry, const char* name, AnsiString fallback) {
    if (!registry.ValueExists(name)) return fallback;
    return registry.ReadString(name);
}

AnsiString ReadFolder(const TRegistry& registry, const char* name) {
    const AnsiString value = ReadText(registry, name, {});
    if (value.empty()) return {};
    return platform::IncludeTrailingPathDelimiter(platform::ResolveConfigPath(value, LibraryFolder()));
}

} // namespace

WorkCenterSettings WorkCenterSettings::FromRegistry() {
    WorkCenterSettings settings;
    TRegistry registry(RegRoot::LocalMachine);
    if (registry.OpenKeyReadOnly(WorkCenterRegistryKey)) {
        settings.DataPath = ReadFolder(registry, "DataPath");
        settings.DataSource = ReadText(registry, "DataSource", settings.DataSource);
        settings.CompanyId = ReadText(registry, "CompanyId", {});
        settings.UserId = ReadText(registry, "UserId", {});
        settings.Language = ReadText(registry, "Language", settings.Language);
        settings.PackagePath = ReadFolder(registry, "PackagePath");
        settings.HelpPath = ReadFolder(registry, "HelpPath");
        const AnsiString codePage = ReadText(registry, "DBCodePage", "936");
        if (codePage == "950") settings.DBCodePage = CP_BIG5;
        else if (codePage == "936" || codePage.empty()) settings.DBCodePage = CP_GB2312;
        else throw Exception("The registry value DBCodePage must be 936 or 950, not '" + codePage + "'");
        if (registry.ValueExists("ProductID")) {
            settings.ProductID = registry.GetDataType("ProductID") == RegValueType::DWord
                                     ? registry.ReadInteger("ProductID")
                                     : Variant(registry.ReadString("ProductID")).AsInteger();
        }
    }
    if (settings.CompanyId.empty()) settings.CompanyId = settings.DataSource;
    return settings;
}

AnsiString HostContext::Text(std::string_view utf8) const { return LocalText(utf8, Settings.DBCodePage); }

bool HostContext::English() const { return AnsiSameText(Settings.Language, "ENG", CP_WESTERN); }

} // namespace qmx::reference
