#include "config/GeneratorLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "lib/LibStrsServices.h"
#include "qmx/platform/Paths.h"
#include "qmx/platform/SystemInfo.h"

namespace qmx {
namespace {

using namespace qmx::platform;

constexpr std::string_view kFallbackFolder = "/tmp";
// The buffer the temporary folder was read into held 255 characters.
constexpr std::size_t kMaxTempPath = 255;

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

// One write for the whole line, as the kernel allows for a file opened for appending.
bool AppendLine(const AnsiString& fileName, std::string_view line) {
    const int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool written = true;
    while (!line.empty()) {
        const ssize_t count = ::write(fd, line.data(), line.size());
        if (count < 0) {
            if (errno == EINTR) continue;
            written = false;
            break;
        }
        line.remove_prefix(static_cast<std::size_t>(count));
    }
    const bool closed = ::close(fd) == 0;
    return written && closed;
}

} // namespace

namespace detail {

AnsiString GeneratorLogFileName(const std::tm& localTime) {
    char name[64];
    std::snprintf(name, sizeof name, "Alert_Brimstall_%.4d%.2d%.2d.log", localTime.tm_year + 1900,
                  localTime.tm_mon + 1, localTime.tm_mday);
    return name;
}

AnsiString GeneratorLogLine(std::string_view text, const std::tm& localTime) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "[%.4d/%.2d/%.2d %.2d:%.2d:%.2d] ", localTime.tm_year + 1900,
                  localTime.tm_mon + 1, localTime.tm_mday, localTime.tm_hour, localTime.tm_min, localTime.tm_sec);
    AnsiString line = stamp;
    line.append(text).append("\r\n");
    return line;
}

bool WriteGeneratorLogIn(std::string_view baseFolder, std::string_view text) {
    try {
        if (baseFolder.empty()) return false;
        const AnsiString folder = IncludeTrailingPathDelimiter(baseFolder) + "Log";
        if (!DirectoryExists(folder) && !ForceDirectories(folder)) return false;
        const std::tm now = LocalNow();
        return AppendLine(IncludeTrailingPathDelimiter(folder) + GeneratorLogFileName(now), GeneratorLogLine(text, now));
    } catch (...) {
        return false;
    }
}

} // namespace detail

AnsiString GetLogBaseFolder() {
    try {
        const AnsiString home = GetTaskoraHome();
        if (!home.empty()) {
            // The registry may hold a Windows-style folder.
            const AnsiString folder = ResolveConfigPath(home, "");
            if (!folder.empty()) return folder;
        }
        const AnsiString temp = GetTempPath();
        if (!temp.empty() && temp.size() <= kMaxTempPath) return temp;
    } catch (...) {
    }
    return AnsiString(kFallbackFolder);
}

bool WriteGeneratorLog(std::string_view text) {
    try {
        return qmx::detail::WriteGeneratorLogIn(GetLogBaseFolder(), text);
    } catch (...) {
        return false;
    }
}

} // namespace qmx
