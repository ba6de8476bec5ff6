#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the end.
#include <string>
#include <string_view>

namespace qmx::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }
    // Writes bytes to the named file and answers its path.
    std::string Write(std::string_view name, std::string_view bytes) const;
    std::string Read(std::string_view name) const;

private:
    std::string path_;
};

} // namespace qmx::test
