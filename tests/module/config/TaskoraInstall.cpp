#include "TaskoraInstall.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "qmx/platform/Registry.h"

namespace qmx::testing {

namespace fs = std::filesystem;

TaskoraInstall::TaskoraInstall() {
    std::string pattern = (fs::temp_directory_path() / "taskora-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    folder_ = pattern + "/";
    Save("QMX_REGISTRY");
    Save("QMX_ACP");
    Save("TMPDIR");
    SetRegistryValues({});
}

TaskoraInstall::~TaskoraInstall() {
    for (const auto& [name, value] : savedEnvironment_) {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
    platform::ReloadRegistry();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

void TaskoraInstall::Save(const char* name) {
    const char* value = std::getenv(name);
    savedEnvironment_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
}

void TaskoraInstall::SetRegistryValues(const std::vector<std::string>& valueLines) {
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n";
    if (!valueLines.empty()) {
        text += "[HKEY_LOCAL_MACHINE\\Software\\QMX\\Taskora]\r\n";
        for (const std::string& line : valueLines) text += line + "\r\n";
    }
    const std::string file = WriteFile("registry.reg", text);
    setenv("QMX_REGISTRY", file.c_str(), 1);
    platform::ReloadRegistry();
}

void TaskoraInstall::UseFolder(std::optional<std::string> profileType) {
    std::vector<std::string> lines = {"\"ClientPath\"=\"" + folder_ + "\"", "\"ServerPath\"=\"" + folder_ + "\""};
    if (profileType) lines.push_back("\"ProfileType\"=\"" + *profileType + "\"");
    SetRegistryValues(lines);
}

std::string TaskoraInstall::WriteFile(const std::string& relativePath, const std::string& bytes) const {
    const fs::path path = fs::path(folder_) / relativePath;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
    return path.string();
}

std::string TaskoraInstall::CopyFixture(const std::string& fixtureName, const std::string& relativePath) const {
    std::ifstream in(std::string(QMX_CONFIG_FIXTURES) + "/" + fixtureName, std::ios::binary);
    if (!in) throw std::runtime_error("missing fixture " + fixtureName);
    return WriteFile(relativePath, std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

std::string TaskoraInstall::ReadFile(const std::string& relativePath) const {
    std::ifstream in(fs::path(folder_) / relativePath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void TaskoraInstall::SetSystemCodePage(int codePage) { setenv("QMX_ACP", std::to_string(codePage).c_str(), 1); }

} // namespace qmx::testing
