#include "DemoFiles.h"

#include <filesystem>
#include <fstream>

#include "qmx/Exception.h"

namespace qmx::reference {

namespace fs = std::filesystem;

std::string RegistryString(const std::string& value) {
    std::string quoted = "\"";
    for (char ch : value) {
        if (ch == '\\' || ch == '"') quoted += '\\';
        quoted += ch;
    }
    return quoted + "\"";
}

std::string DemoRegistryText(const DemoEnvironment& environment, const DemoOptions& options,
                             const std::string& libraryFolder) {
    char productId[16];
    std::snprintf(productId, sizeof productId, "%08x", 60U);
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n";
    auto key = [&](const char* name) { text += std::string("[") + name + "]\r\n"; };
    auto value = [&](const char* name, const std::string& data) {
        text += "\"" + std::string(name) + "\"=" + RegistryString(data) + "\r\n";
    };
    key("HKEY_LOCAL_MACHINE\\Software\\QMX\\Taskora");
    value("ClientPath", environment.ClientPath);
    value("ServerPath", environment.ServerPath);
    value("ProfileType", "0");
    text += "\r\n";
    // The upgrader switch: downloads of newer server modules only when asked for.
    key("HKEY_LOCAL_MACHINE\\Software\\TRVX\\Halmor");
    value("GoAhead", options.AllowDownloads ? "1" : "0");
    text += "\r\n";
    key("HKEY_LOCAL_MACHINE\\Software\\QMX\\WorkCenter");
    value("DataPath", environment.CompanyFolder);
    value("DataSource", options.DataSource);
    value("CompanyId", options.DataSource);
    value("UserId", options.UserId);
    value("Language", options.Language);
    value("DBCodePage", "936");
    value("PackagePath", environment.PackageFolder);
    value("HelpPath", environment.HelpFolder);
    text += std::string("\"ProductID\"=dword:") + productId + "\r\n\r\n";
    key("HKEY_CLASSES_ROOT\\NorvikWorkCenter.Manager");
    value("Library", libraryFolder + "libNorvikWorkCenter.so");
    value("Factory", "NorvikWorkCenterCreateObject");
    text += "\r\n";
    key("HKEY_CLASSES_ROOT\\ReportCounterS.dmReportCounter");
    value("Library", libraryFolder + "libReportCounterS.so");
    value("Factory", "ReportCounterSCreateObject");
    return text;
}

std::string DemoClientIniText(const DemoOptions& options) {
    return "; The dispatch center's client settings of the demo environment.\n"
           "[Client Components]\n"
           "LangType=" + options.Language + "\n"
           "\n[ProductVersion]\n"
           "Version=8.7.4\n"
           "\n[UserDefine]\n"
           "CreateGifBeforeSendEF=Y\n"
           "\n[CodePage]\n"
           "UICodePage=" + options.UICodePage + "\n"
           "DBCodePage=936\n"
           "\n[Server Information]\n"
           "; 127.0.0.1: the application server object is made in the client's process.\n"
           "ComputerName=127.0.0.1\n"
           "ServerPort=211\n"
           "SupportCallBack=0\n"
           "\n; No folder listed: C_PKG below the installation folder.\n"
           "[WorkDLLPath]\n"
           "\n[TaskMessageCenter Setting]\n"
           "AutoCheckNewMsg=1\n"
           "CheckInterval=1\n"
           "PopupMsg=1\n"
           "LoginCheck=0\n";
}

std::string DemoServerIniText(const DemoEnvironment& environment, const DemoOptions& options) {
    return "; The dispatch center's server settings of the demo environment.\n"
           "[ProductVersion]\n"
           "Version=8.7.4\n"
           "\n[CodePage]\n"
           "UICodePage=" + options.UICodePage + "\n"
           "DBCodePage=936\n"
           "\n; The company databases are SQLite files <MainDBName>.db in the folder MainServerName.\n"
           "[DBE Setting]\n"
           "MainAlias=Norvik\n"
           "MainUserName=sa\n"
           "MainDBType=SQLite\n"
           "MainDBName=" + options.DataSource + "\n"
           "MainServerName=" + environment.CompanyFolder + "\n"
           "SystemControlAddress=127.0.0.1\n"
           "OtherSystemControlAddress=127.0.0.1\n"
           "MainConnectionTimeOut=300\n"
           "MainCommandTimeOut=3000\n"
           "TempAlias=NorvikTemp\n"
           "TempUserName=sa\n"
           "TempDBType=SQLite\n"
           "DataBaseCodeOrder=Chinese_PRC_BIN\n"
           "\n[DBPasswordCtrl]\n"
           "ComputerName=127.0.0.1\n"
           "ServerPort=211\n"
           "ClientSocketPort=1024\n"
           "SupportCallBack=0\n"
           "\n[Job Queue]\n"
           "Database=Taskora.db\n"
           "\n; No folder listed: S_PKG below the installation folder.\n"
           "[WorkDLLPath]\n";
}

void WriteTextFile(const std::string& fileName, const std::string& text) {
    const std::string partial = fileName + ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        file.close();
        if (!file) throw Exception("Cannot write " + fileName);
    }
    std::error_code error;
    fs::rename(partial, fileName, error);
    if (error) throw Exception("Cannot write " + fileName + ": " + error.message());
}

void CopyTree(const std::string& from, const std::string& to) {
    std::error_code error;
    if (!fs::is_directory(from, error)) return;
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
    if (error) throw Exception("Cannot copy the demo files of " + from + " to " + to + ": " + error.message());
}

} // namespace qmx::reference
