#pragma once
// A dispatch-center installation for one test: a scratch folder, a registry file that points
// at it (or holds no key), and the INI files in it. The process's QMX_REGISTRY, QMX_ACP and
// TMPDIR come back when the test ends.
#include <optional>
#include <string>
#include <vector>

namespace qmx::testing {

class TaskoraInstall {
public:
    TaskoraInstall();
    ~TaskoraInstall();
    TaskoraInstall(const TaskoraInstall&) = delete;
    TaskoraInstall& operator=(const TaskoraInstall&) = delete;

    // The installation folder, with a trailing '/'.
    const std::string& Folder() const { return folder_; }

    // The registry holds the key Software\QMX\Taskora with these value lines
    // ("\"ClientPath\"=\"...\""); with no lines at all the key is missing.
    void SetRegistryValues(const std::vector<std::string>& valueLines);
    // The key with ClientPath and ServerPath = Folder() and the given ProfileType (none: no value).
    void UseFolder(std::optional<std::string> profileType = std::nullopt);

    // Writes bytes to a file below the folder (missing folders are made); answers its path.
    std::string WriteFile(const std::string& relativePath, const std::string& bytes) const;
    // Copies a fixture file of this test folder below the installation folder.
    std::string CopyFixture(const std::string& fixtureName, const std::string& relativePath) const;
    std::string ReadFile(const std::string& relativePath) const;

    // The system ANSI code page for the rest of the test.
    void SetSystemCodePage(int codePage);

private:
    std::string folder_;
    std::vector<std::pair<std::string, std::optional<std::string>>> savedEnvironment_;
    void Save(const char* name);
};

} // namespace qmx::testing
