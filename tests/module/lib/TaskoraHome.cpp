#include "TaskoraHome.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "qmx/platform/Registry.h"

namespace qmx::testing {

TaskoraHome::TaskoraHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "libstrs-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    folder_ = pattern + "/";
    if (const char* old = std::getenv("QMX_REGISTRY")) {
        hadRegistry_ = true;
        oldRegistry_ = old;
    }
    SetTaskoraValues({});
}

TaskoraHome::~TaskoraHome() {
    if (hadRegistry_)
        setenv("QMX_REGISTRY", oldRegistry_.c_str(), 1);
    else
        unsetenv("QMX_REGISTRY");
    platform::ReloadRegistry();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void TaskoraHome::SetTaskoraValues(const std::vector<std::string>& valueLines) {
    const std::string file = folder_ + "test.reg";
    std::ofstream out(file, std::ios::trunc);
    out << "Windows Registry Editor Version 5.00\r\n\r\n";
    if (!valueLines.empty()) {
        out << "[HKEY_LOCAL_MACHINE\\Software\\QMX\\Taskora]\r\n";
        for (const std::string& line : valueLines) out << line << "\r\n";
    }
    out.close();
    setenv("QMX_REGISTRY", file.c_str(), 1);
    platform::ReloadRegistry();
}

void TaskoraHome::UseFolderAsClientPath() { SetTaskoraValues({"\"ClientPath\"=\"" + folder_ + "\""}); }

std::vector<std::string> TaskoraHome::ReadLines(const std::string& relativePath) const {
    std::ifstream in(folder_ + relativePath);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

} // namespace qmx::testing
