#include "lib/AlertLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

#include "FieldScan.h"
#include "lib/LibStrsServices.h"
#include "qmx/platform/Paths.h"

namespace qmx {
namespace {

using namespace qmx::platform;

struct LocalNow {
    std::tm Time{};
    int Milliseconds = 0;
};

LocalNow Now() {
    const auto now = std::chrono::system_clock::now();
    const auto sinceEpoch = now.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch);
    LocalNow result;
    const std::time_t time = static_cast<std::time_t>(seconds.count());
    localtime_r(&time, &result.Time);
    result.Milliseconds =
        static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch - seconds).count());
    return result;
}

// The whole buffer with as few writes as the kernel allows: one, for a regular file opened for
// appending.
bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool AppendLine(const AnsiString& fileName, std::string_view line) {
    const int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    const bool written = WriteAll(fd, line);
    const bool closed = ::close(fd) == 0;
    return written && closed;
}

} // namespace

namespace detail {

AnsiString AlertLogFileName(std::string_view name, std::string_view period, const std::tm& localTime) {
    char stamp[32];
    const int year = localTime.tm_year + 1900;
    const int month = localTime.tm_mon + 1;
    if (period == "M")
        std::snprintf(stamp, sizeof stamp, "%.4d%.2d", year, month);
    else if (period == "Y")
        std::snprintf(stamp, sizeof stamp, "%.4d", year);
    else
        std::snprintf(stamp, sizeof stamp, "%.4d%.2d%.2d", year, month, localTime.tm_mday);
    AnsiString fileName = "Alert_";
    fileName.append(name).append("_").append(stamp);
    if (AnsiFindChar(name, '.', 0, fieldscan::TextCodePage) == std::string_view::npos) fileName += ".log";
    return fileName;
}

AnsiString AlertLogLine(std::string_view message, const std::tm& localTime, int milliseconds) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "[%.4d/%.2d/%.2d %.2d:%.2d:%.2d:%.3d] ", localTime.tm_year + 1900,
                  localTime.tm_mon + 1, localTime.tm_mday, localTime.tm_hour, localTime.tm_min,
                  localTime.tm_sec, milliseconds);
    AnsiString line = stamp;
    line.append(message).append("\n");
    return line;
}

} // namespace detail

AnsiString AlertLogHome() {
    const AnsiString programFolder = GetHostProgramFolder();
    const AnsiString home = GetTaskoraHome();
    if (home.empty()) return programFolder;
    // The registry may hold a Windows-style path.
    return IncludeTrailingPathDelimiter(ResolveConfigPath(home, programFolder));
}

bool WriteAlertLogIn(std::string_view homeFolder, std::string_view name, std::string_view message,
                     std::string_view period) {
    if (homeFolder.empty()) return false; // no folder known: never the file system's root
    try {
        const AnsiString folder = IncludeTrailingPathDelimiter(homeFolder) + "Log";
        if (!DirectoryExists(folder) && !ForceDirectories(folder)) return false;
        const LocalNow now = Now();
        const AnsiString fileName =
            IncludeTrailingPathDelimiter(folder) + detail::AlertLogFileName(name, period, now.Time);
        return AppendLine(fileName, detail::AlertLogLine(message, now.Time, now.Milliseconds));
    } catch (const std::exception&) {
        return false;
    }
}

bool WriteAlertLog(std::string_view name, std::string_view message, std::string_view period) {
    try {
        return WriteAlertLogIn(AlertLogHome(), name, message, period);
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace qmx
