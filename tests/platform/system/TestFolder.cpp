#include "TestFolder.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace qmx::test {

namespace fs = std::filesystem;

TestFolder::TestFolder() {
    std::string pattern = (fs::temp_directory_path() / "qmx-platsys-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
    path_ = pattern + "/";
}

TestFolder::~TestFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TestFolder::WriteFile(std::string_view relativeName, std::string_view content) const {
    fs::path file = fs::path(path_) / relativeName;
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
    return file.string();
}

std::string TestFolder::CopyFile(const std::string& source, std::string_view relativeName) const {
    fs::path target = fs::path(path_) / relativeName;
    fs::create_directories(target.parent_path());
    fs::copy_file(source, target, fs::copy_options::overwrite_existing);
    return target.string();
}

std::string BinFolder() {
    return fs::canonical("/proc/self/exe").parent_path().string() + "/";
}

} // namespace qmx::test
