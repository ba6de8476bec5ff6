#pragma once
// The demo environment: everything the module and the reference objects read, in one folder.
//
//   DIR/registry.reg          the registry (QMX_REGISTRY): the dispatch center's key
//                             Software\QMX\Taskora (ClientPath, ServerPath, ProfileType), the
//                             upgrader switch Software\TRVX\Halmor (GoAhead), the host's key
//                             Software\QMX\WorkCenter and the two ProgIDs under HKEY_CLASSES_ROOT
//   DIR/client/TaskoraC.ini   the dispatch center's client settings (server 127.0.0.1:211)
//   DIR/client/C_PKG/         the client's work libraries
//   DIR/server/TaskoraS.ini   the server settings: company databases, queue database
//   DIR/server/S_PKG/         the server modules
//   DIR/server/S_DATA/        the dispatch center's data folder (job output, per user)
//   DIR/server/Taskora.db     the job queue (made by the server on first use)
//   DIR/data/<DS>.db          the company database with the demo data
//   DIR/packages/             packaged server modules offered for download (GetFileList)
//   DIR/help/                 help pages <subsystem>/<topic>.html
//   DIR/demo.env              "export QMX_REGISTRY=..." for a shell
// Files of the template folder (demo-files beside the library) are copied over the top, so
// language files and help pages can be added without code.
#include <string>

namespace qmx::reference {

struct DemoOptions {
    std::string Folder;          // made when missing
    // Remake an existing environment: settings rewritten, company database and job queue new.
    // Without it an existing environment is an error and stays untouched.
    bool Replace = false;
    // Where libNorvikWorkCenter.so, libReportCounterS.so and demo-files lie; "" for the folder
    // of this library.
    std::string LibraryFolder;
    std::string DataSource = "DODaza60";
    std::string UserId = "796";
    std::string UICodePage = "936"; // "936", "950" or "437"
    std::string Language = "CHS";   // message texts of the host: "CHS" or "ENG"
    bool AllowDownloads = false;    // the upgrader switch GoAhead
};

struct DemoEnvironment {
    std::string Folder;
    std::string RegistryFile;
    std::string ClientPath;
    std::string ServerPath;
    std::string DataFolder;       // the dispatch center's data folder (S_DATA)
    std::string CompanyFolder;
    std::string CompanyDatabase;
    std::string QueueDatabase;
    std::string PackageFolder;
    std::string HelpFolder;
};

// Makes the environment. Raises qmx::Exception with the reason (bad options, an existing
// environment without Replace, a folder that cannot be written).
DemoEnvironment MakeDemoEnvironment(const DemoOptions& options);

// The paths of the environment in folder (without checking that it exists).
DemoEnvironment DemoEnvironmentAt(const std::string& folder, const std::string& dataSource = "DODaza60");

// Points this process at the environment: QMX_REGISTRY names its registry file, read afresh.
void UseDemoEnvironment(const DemoEnvironment& environment);

// $QMX_DEMO_DIR when set, else $XDG_DATA_HOME/qmx/demo (~/.local/share/qmx/demo).
std::string DefaultDemoFolder();

} // namespace qmx::reference
