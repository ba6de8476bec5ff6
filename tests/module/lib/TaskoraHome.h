#pragma once
// A scratch folder for one test, and a registry that names it (or nothing) as the dispatch
// center's install folder. The previous QMX_REGISTRY comes back when the test ends.
#include <string>
#include <vector>

namespace qmx::testing {

class TaskoraHome {
public:
    TaskoraHome();
    ~TaskoraHome();
    TaskoraHome(const TaskoraHome&) = delete;
    TaskoraHome& operator=(const TaskoraHome&) = delete;

    // The scratch folder, with a trailing '/'.
    const std::string& Folder() const { return folder_; }

    // Makes the registry hold the key with the given lines ("\"ClientPath\"=\"...\"") below it;
    // without lines the key is missing altogether.
    void SetTaskoraValues(const std::vector<std::string>& valueLines);
    // ClientPath = the scratch folder.
    void UseFolderAsClientPath();

    // The lines of a file below the folder.
    std::vector<std::string> ReadLines(const std::string& relativePath) const;

private:
    std::string folder_;
    std::string oldRegistry_;
    bool hadRegistry_ = false;
};

} // namespace qmx::testing
