#pragma once
// A fresh demo environment in a temporary folder, used by this process for the life of the
// object: QMX_REGISTRY names its registry file; the previous value comes back at the end and the
// folder is removed.
#include <optional>
#include <string>
#include <string_view>

#include "qmx/reference/DemoEnvironment.h"

namespace qmx::test {

class ScopedDemo {
public:
    explicit ScopedDemo(reference::DemoOptions options = {});
    ~ScopedDemo();
    ScopedDemo(const ScopedDemo&) = delete;
    ScopedDemo& operator=(const ScopedDemo&) = delete;

    const reference::DemoEnvironment& Environment() const { return environment_; }
    // The connection string of the company database, texts in code page 936.
    std::string CompanyConnection() const;
    // Writes a file below the demo folder (folders made as needed) and answers its path.
    std::string WriteFile(std::string_view relativePath, std::string_view bytes) const;

private:
    std::string root_;
    std::optional<std::string> oldRegistry_;
    reference::DemoEnvironment environment_;
};

// The folder of the running test program (where the libraries and tools are built).
std::string ProgramFolder();

// A UTF-8 text of the test in code page 936.
std::string Gb(std::string_view utf8);

} // namespace qmx::test
