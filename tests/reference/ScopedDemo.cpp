#include "ScopedDemo.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "qmx/CodePage.h"
#include "qmx/platform/Library.h"
#include "qmx/platform/Paths.h"
#include "qmx/platform/Registry.h"
#include "qmx/reference/CompanyDatabase.h"

namespace qmx::test {

namespace fs = std::filesystem;

ScopedDemo::ScopedDemo(reference::DemoOptions options) {
    std::string pattern = (fs::temp_directory_path() / "qmx-demo-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    root_ = pattern;
    if (const char* old = std::getenv("QMX_REGISTRY")) oldRegistry_ = old;
    options.Folder = root_ + "/demo";
    environment_ = reference::MakeDemoEnvironment(options);
    reference::UseDemoEnvironment(environment_);
}

ScopedDemo::~ScopedDemo() {
    if (oldRegistry_) ::setenv("QMX_REGISTRY", oldRegistry_->c_str(), 1);
    else ::unsetenv("QMX_REGISTRY");
    platform::ReloadRegistry();
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::string ScopedDemo::CompanyConnection() const {
    const std::string dataSource = fs::path(environment_.CompanyDatabase).stem().string();
    return reference::CompanyConnectionString(environment_.CompanyDatabase, dataSource);
}

std::string ScopedDemo::WriteFile(std::string_view relativePath, std::string_view bytes) const {
    const fs::path path = fs::path(environment_.Folder) / relativePath;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

std::string ProgramFolder() { return platform::ExtractFilePath(platform::GetModuleFileName(nullptr)); }

std::string Gb(std::string_view utf8) { return Utf8ToAnsi(utf8, CP_GB2312); }

} // namespace qmx::test
