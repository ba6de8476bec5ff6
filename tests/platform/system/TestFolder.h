#pragma once
// A fresh folder below the system's temporary folder, removed with everything in it at the end,
// and the folder the test binaries are built into.
#include <string>
#include <string_view>

namespace qmx::test {

class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    // The folder, with a trailing '/'.
    const std::string& Path() const { return path_; }
    // Writes a file below the folder (creating subfolders) and returns its full name.
    std::string WriteFile(std::string_view relativeName, std::string_view content) const;
    // Copies a file into the folder under relativeName and returns the full name.
    std::string CopyFile(const std::string& source, std::string_view relativeName) const;

private:
    std::string path_;
};

// The folder of the test executable, where every library of the build lies; with a trailing '/'.
std::string BinFolder();

} // namespace qmx::test
