#include "qmx/reference/DemoEnvironment.h"

#include <cstdlib>
#include <filesystem>

#include "DemoFiles.h"
#include "qmx/platform/Library.h"
#include "qmx/platform/Paths.h"
#include "qmx/platform/Registry.h"
#include "qmx/reference/CompanyDatabase.h"
#include "qmx/reference/CompanyDirectory.h"

namespace qmx::reference {

namespace {

namespace fs = std::filesystem;

const char anchorInThisLibrary = 0;

void MakeFolder(const std::string& folder) {
    if (!platform::ForceDirectories(folder)) throw Exception("Cannot make the folder " + folder);
}

void RemoveDatabase(const std::string& fileName) {
    std::error_code ignored;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        fs::remove(fileName + suffix, ignored);
}

void CheckOptions(const DemoOptions& options) {
    if (options.Folder.empty()) throw Exception("No folder given for the demo environment");
    if (!CompanyDirectory::IsValidDataSource(options.DataSource))
        throw Exception("'" + options.DataSource + "' is not a valid data source name");
    if (options.UserId.empty() || options.UserId.find_first_of("\"\\\r\n") != std::string::npos)
        throw Exception("'" + options.UserId + "' is not a valid user id");
    if (options.UICodePage != "936" && options.UICodePage != "950" && options.UICodePage != "437")
        throw Exception("The interface code page must be 936, 950 or 437, not '" + options.UICodePage + "'");
    if (options.Language != "CHS" && options.Language != "ENG")
        throw Exception("The language must be CHS or ENG, not '" + options.Language + "'");
}

} // namespace

DemoEnvironment DemoEnvironmentAt(const std::string& folder, const std::string& dataSource) {
    DemoEnvironment environment;
    // Absolute, so that the settings stay right whatever the current folder of a reader.
    environment.Folder = platform::IncludeTrailingPathDelimiter(fs::absolute(folder).lexically_normal().string());
    environment.RegistryFile = environment.Folder + "registry.reg";
    environment.ClientPath = environment.Folder + "client/";
    environment.ServerPath = environment.Folder + "server/";
    environment.DataFolder = environment.ServerPath + "S_DATA/";
    environment.CompanyFolder = environment.Folder + "data/";
    environment.CompanyDatabase = environment.CompanyFolder + dataSource + ".db";
    environment.QueueDatabase = environment.ServerPath + "Taskora.db";
    environment.PackageFolder = environment.Folder + "packages/";
    environment.HelpFolder = environment.Folder + "help/";
    return environment;
}

DemoEnvironment MakeDemoEnvironment(const DemoOptions& options) {
    CheckOptions(options);
    const DemoEnvironment environment = DemoEnvironmentAt(options.Folder, options.DataSource);
    if (!options.Replace && (platform::FileExists(environment.RegistryFile) ||
                             platform::FileExists(environment.CompanyDatabase)))
        throw Exception("There is a demo environment in " + environment.Folder + " already (remake it with replace)");

    std::string libraryFolder = options.LibraryFolder.empty()
                                    ? platform::ExtractFilePath(platform::GetModuleFileName(&anchorInThisLibrary))
                                    : platform::IncludeTrailingPathDelimiter(options.LibraryFolder);
    libraryFolder = platform::IncludeTrailingPathDelimiter(fs::absolute(libraryFolder).lexically_normal().string());

    for (const std::string& folder :
         {environment.Folder, environment.ClientPath, environment.ClientPath + "C_PKG/", environment.ServerPath,
          environment.ServerPath + "S_PKG/", environment.DataFolder, environment.CompanyFolder,
          environment.PackageFolder, environment.HelpFolder})
        MakeFolder(folder);

    CopyTree(libraryFolder + "demo-files", environment.Folder);
    WriteTextFile(environment.RegistryFile, DemoRegistryText(environment, options, libraryFolder));
    WriteTextFile(environment.ClientPath + "TaskoraC.ini", DemoClientIniText(options));
    WriteTextFile(environment.ServerPath + "TaskoraS.ini", DemoServerIniText(environment, options));
    WriteTextFile(environment.Folder + "demo.env",
                  "# Source this file to use the demo environment in a shell.\nexport QMX_REGISTRY=" +
                      environment.RegistryFile + "\n");
    // A new environment starts with an empty queue.
    RemoveDatabase(environment.QueueDatabase);
    CompanyDatabaseOptions database;
    database.Replace = options.Replace;
    CreateCompanyDatabase(environment.CompanyDatabase, database);
    return environment;
}

void UseDemoEnvironment(const DemoEnvironment& environment) {
    ::setenv("QMX_REGISTRY", environment.RegistryFile.c_str(), 1);
    platform::ReloadRegistry();
}

std::string DefaultDemoFolder() {
    if (const char* folder = std::getenv("QMX_DEMO_DIR"); folder && *folder) return folder;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) return std::string(data) + "/qmx/demo";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.local/share/qmx/demo";
}

} // namespace qmx::reference
