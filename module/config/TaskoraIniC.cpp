#include "config/TaskoraIniC.h"

#include "config/TaskoraIniRules.h"
#include "qmx/platform/IniFile.h"
#include "qmx/platform/Paths.h"

namespace qmx {

using namespace qmx::platform;

namespace {

constexpr std::string_view kIniName = "TaskoraC.ini";

// The ComputerName text as a host list: trimmed, one trailing ';' dropped; empty for none.
AnsiString HostListText(std::string_view value) {
    AnsiString hosts = detail::TrimText(value);
    if (!hosts.empty() && hosts.back() == ';') hosts.pop_back();
    return hosts;
}

// One entry per ';'-separated piece, left to right; pieces are kept untrimmed, empty ones too.
Variant ServerAddressArray(std::string_view hosts, int port) {
    std::vector<AnsiString> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t found = AnsiFindChar(hosts, ';', start);
        if (found == std::string_view::npos) {
            pieces.emplace_back(hosts.substr(start));
            break;
        }
        pieces.emplace_back(hosts.substr(start, found - start));
        start = found + 1;
    }
    Variant addresses = VarArrayCreate({{0, 1}, {0, static_cast<std::int32_t>(pieces.size()) - 1}});
    VariantArray& cells = addresses.AsArray();
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const auto column = static_cast<std::int32_t>(i);
        cells.At({0, column}) = Variant(pieces[i]);
        cells.At({1, column}) = Variant(static_cast<std::int32_t>(port));
    }
    return addresses;
}

} // namespace

TTaskoraIniC::TTaskoraIniC() { ReadConfig(); }

TTaskoraIniC::~TTaskoraIniC() = default;

void TTaskoraIniC::ResetToDefaults() {
    ErrorCode.clear();
    ClientPath.clear();
    ProfilePath.clear();
    ProfileType = "0";
    ProfileUser = "Default";
    UICodePage = "936";
    DBCodePage = "936";
    IniFileName.clear();
    SupportCallBack = false;
    ServerAddresses = Variant();
    LangType.clear();
    WorkDLLPaths.Clear();
    Version.clear();
    CreateGifBeforeSendEF.clear();
    AutoCheckNewMsg.clear();
    CheckInterval.clear();
    PopupMsg.clear();
    LoginCheck.clear();

    SystemCodePage = SystemCodePageText();
    UICodePage = SystemCodePage;
    UIConvertMode = UIConvertModeOf(UICodePage, SystemCodePage);
    DBConvertMode = DBConvertModeOf(UICodePage, DBCodePage);
}

bool TTaskoraIniC::ReadConfig() {
    ResetToDefaults();

    const detail::TaskoraLocation location = detail::LocateTaskoraIni("ClientPath", kIniName);
    if (!location.KeyFound) {
        ErrorCode = TaskoraErrorNoRegistryKey;
        return false;
    }
    ProfileType = location.ProfileType;
    if (location.InstallPath.empty()) return false;
    ClientPath = location.InstallPath;
    ProfilePath = location.ProfilePath;
    ProfileUser = location.ProfileUser;
    IniFileName = location.IniFileName;

    const TIniFile ini(IniFileName);
    LangType = ini.ReadString("Client Components", "LangType", "ENG");
    Version = ini.ReadString("ProductVersion", "Version", "");
    CreateGifBeforeSendEF = ini.ReadString("UserDefine", "CreateGifBeforeSendEF", "Y");
    UICodePage = ini.ReadString("CodePage", "UICodePage", SystemCodePage);
    DBCodePage = ini.ReadString("CodePage", "DBCodePage", "936");
    SupportCallBack = IsFlagText(ini.ReadString("Server Information", "SupportCallBack", "0"));
    const AnsiString computerNames = ini.ReadString("Server Information", "ComputerName", "127.0.0.1");
    const int serverPort = ini.ReadInteger("Server Information", "ServerPort", 211);
    const std::vector<AnsiString> workValues = detail::ReadWorkDLLValues(ini);
    for (const AnsiString& line : ini.ReadSectionValues("WorkDLLPath")) WorkDLLPaths.Add(line);
    AutoCheckNewMsg = ini.ReadString("TaskMessageCenter Setting", "AutoCheckNewMsg", "1");
    CheckInterval = ini.ReadString("TaskMessageCenter Setting", "CheckInterval", "1");
    PopupMsg = ini.ReadString("TaskMessageCenter Setting", "PopupMsg", "1");
    LoginCheck = ini.ReadString("TaskMessageCenter Setting", "LoginCheck", "0");

    UIConvertMode = UIConvertModeOf(UICodePage, SystemCodePage);
    DBConvertMode = DBConvertModeOf(UICodePage, DBCodePage);

    const AnsiString hosts = HostListText(computerNames);
    if (hosts.empty()) {
        ErrorCode = TaskoraErrorNoServer;
        return false;
    }
    ServerAddresses = ServerAddressArray(hosts, serverPort);

    WorkDLLPaths.Clear();
    if (workValues.empty())
        WorkDLLPaths.Add(ClientPath + "C_PKG" + PathDelim);
    else
        for (const AnsiString& value : workValues) WorkDLLPaths.Add(ExpandWorkPath(value, ClientPath));
    return true;
}

} // namespace qmx
