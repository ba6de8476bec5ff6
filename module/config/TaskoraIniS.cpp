#include "config/TaskoraIniS.h"

#include "config/PasswordField.h"
#include "config/TaskoraIniRules.h"
#include "qmx/platform/IniFile.h"
#include "qmx/platform/Paths.h"

namespace qmx {

using namespace qmx::platform;

namespace {

constexpr std::string_view kIniName = "TaskoraS.ini";
constexpr std::string_view kDbe = "DBE Setting";
constexpr std::string_view kPasswordCtrl = "DBPasswordCtrl";

// The control address as read, or the main server's name when it is blank.
AnsiString AddressOrServer(const AnsiString& address, const AnsiString& mainServerName) {
    return detail::TrimText(address).empty() ? mainServerName : address;
}

} // namespace

TTaskoraIniS::TTaskoraIniS() { ReadConfig(); }

TTaskoraIniS::~TTaskoraIniS() = default;

void TTaskoraIniS::ResetToDefaults() {
    ErrorCode.clear();
    ServerPath.clear();
    ProfilePath.clear();
    ProfileType = "0";
    ProfileUser = "Default";
    UICodePage = "936";
    DBCodePage = "936";
    IniFileName.clear();
    SupportCallBack = false;
    DBSettings = Variant();
    WorkDLLPaths.Clear();
    Version.clear();
    DBKind = 0;
    SystemControlAddress.clear();
    OtherSystemControlAddress.clear();

    SystemCodePage = SystemCodePageText();
    UICodePage = SystemCodePage;
    UIConvertMode = UIConvertModeOf(UICodePage, SystemCodePage);
    DBConvertMode = DBConvertModeOf(UICodePage, DBCodePage);
}

bool TTaskoraIniS::ReadConfig() {
    ResetToDefaults();

    const detail::TaskoraLocation location = detail::LocateTaskoraIni("ServerPath", kIniName);
    if (!location.KeyFound) {
        ErrorCode = TaskoraErrorNoRegistryKey;
        return false;
    }
    ProfileType = location.ProfileType;
    if (location.InstallPath.empty()) return false;
    ServerPath = location.InstallPath;
    ProfilePath = location.ProfilePath;
    ProfileUser = location.ProfileUser;
    IniFileName = location.IniFileName;

    DBSettings = VarArrayCreate({{0, 3}, {0, 7}});
    VariantArray& cells = DBSettings.AsArray();
    const TIniFile ini(IniFileName);
    const auto text = [&](std::string_view section, std::string_view key, std::string_view defaultValue) {
        return Variant(ini.ReadString(section, key, defaultValue));
    };
    const auto number = [&](std::string_view section, std::string_view key, int defaultValue) {
        return Variant(static_cast<std::int32_t>(ini.ReadInteger(section, key, defaultValue)));
    };
    const auto password = [&](std::string_view key) { return Variant(DecodeSQLSa(ini.ReadString(kDbe, key, ""))); };

    Version = ini.ReadString("ProductVersion", "Version", "");
    UICodePage = ini.ReadString("CodePage", "UICodePage", SystemCodePage);
    DBCodePage = ini.ReadString("CodePage", "DBCodePage", "936");
    cells.At({0, 1}) = text(kDbe, "MainUserName", "sa");
    cells.At({0, 2}) = password("XXXXXX");
    cells.At({0, 0}) = text(kDbe, "MainAlias", "Norvik");
    const AnsiString mainDBType = ini.ReadString(kDbe, "MainDBType", "MSSQL");
    cells.At({0, 3}) = Variant(mainDBType);
    cells.At({0, 4}) = text(kDbe, "MainDBName", "");
    const AnsiString mainServerName = ini.ReadString(kDbe, "MainServerName", "");
    cells.At({0, 5}) = Variant(mainServerName);
    SystemControlAddress = AddressOrServer(ini.ReadString(kDbe, "SystemControlAddress", ""), mainServerName);
    OtherSystemControlAddress =
        AddressOrServer(ini.ReadString(kDbe, "OtherSystemControlAddress", ""), mainServerName);
    cells.At({0, 6}) = number(kDbe, "MainConnectionTimeOut", 300);
    cells.At({0, 7}) = number(kDbe, "MainCommandTimeOut", 3000);
    cells.At({1, 0}) = text(kDbe, "TempAlias", "NorvikTemp");
    cells.At({1, 1}) = text(kDbe, "TempUserName", "sa");
    cells.At({1, 2}) = password("TempPassword");
    cells.At({1, 3}) = text(kDbe, "TempDBType", "PARADOX");
    cells.At({1, 4}) = text(kDbe, "TempDBName", "");
    cells.At({1, 5}) = text(kDbe, "TempDriverName", "PostgreSQL");
    cells.At({1, 6}) = number(kDbe, "TempConnectionTimeOut", 300);
    cells.At({1, 7}) = number(kDbe, "TempCommandTimeOut", 3000);
    cells.At({2, 0}) = Variant(detail::TrimText(ini.ReadString(kPasswordCtrl, "ComputerName", "")));
    cells.At({2, 1}) = number(kPasswordCtrl, "ServerPort", 211);
    cells.At({2, 2}) = number(kPasswordCtrl, "ClientSocketPort", 1024);
    SupportCallBack = IsFlagText(ini.ReadString(kPasswordCtrl, "SupportCallBack", "0"));
    cells.At({2, 3}) = text(kDbe, "DataBaseCodeOrder", "Chinese_Taiwan_Stroke_BIN");
    cells.At({3, 0}) = text(kDbe, "EctAlias", "EDIDATA");
    cells.At({3, 1}) = text(kDbe, "EctUserName", "sa");
    cells.At({3, 2}) = text(kDbe, "EctPassword", "");
    const std::vector<AnsiString> workValues = detail::ReadWorkDLLValues(ini);

    if (AnsiSameText(mainDBType, "ORACLE"))
        DBKind = 1;
    else if (AnsiSameText(mainDBType, "DB2"))
        DBKind = 2;

    UIConvertMode = UIConvertModeOf(UICodePage, SystemCodePage);
    DBConvertMode = DBConvertModeOf(UICodePage, DBCodePage);

    if (workValues.empty())
        WorkDLLPaths.Add(ServerPath + "S_PKG" + PathDelim);
    else
        for (const AnsiString& value : workValues) WorkDLLPaths.Add(ExpandWorkPath(value, ServerPath));
    return true;
}

void TTaskoraIniS::GetWorkDLLPaths(TStrings* list) const {
    if (!list) return;
    list->BeginUpdate();
    list->Clear();
    list->AddStrings(&WorkDLLPaths);
    list->EndUpdate();
}

} // namespace qmx
