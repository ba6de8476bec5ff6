#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace qmx::platform::test {

// A fresh folder below the temporary folder, removed with its content at the end of the test.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Writes the bytes as they are; answers the full path.
    std::string WriteFile(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

} // namespace qmx::platform::test
