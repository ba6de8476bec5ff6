#include "notify/BrimstallU.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "CallWebService/CallWebServiceApi.h"
#include "lib/LibStrsServices.h"
#include "notify/TracePrompt.h"
#include "qmx/platform/Library.h"
#include "qmx/platform/Paths.h"
#include "qmx/platform/SystemInfo.h"
#include "qmx/toolkit/StringList.h"

namespace qmx {
namespace {

constexpr std::size_t kErrorTextSize = 4096;

// The response file of one call; removed when the call is over, whatever happened.
class ResponseFile {
public:
    ResponseFile() : name_(Create()) {}
    ~ResponseFile() { ::unlink(name_.c_str()); }
    ResponseFile(const ResponseFile&) = delete;
    ResponseFile& operator=(const ResponseFile&) = delete;
    const AnsiString& Name() const { return name_; }

private:
    // Made at once, with a unique part after the time stamp, so that two calls in the same
    // millisecond (two processes, or a fast repeat) never share a file.
    static AnsiString Create() {
        const auto now = std::chrono::system_clock::now();
        const auto sinceEpoch = now.time_since_epoch();
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch);
        const int milliseconds =
            static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch - seconds).count());
        const std::time_t time = static_cast<std::time_t>(seconds.count());
        std::tm local{};
        localtime_r(&time, &local);

        AnsiString folder = GetLongTempPath();
        if (folder.empty()) folder = platform::GetTempPath();
        AnsiString pattern = folder + detail::ResponseFileStem(local, milliseconds) + "_XXXXXX.tmp";
        const int fd = ::mkostemps(pattern.data(), 4, O_CLOEXEC);
        if (fd < 0)
            throw EWebServiceError("Cannot create the response file '" + pattern + "': " + std::strerror(errno));
        ::close(fd);
        return pattern;
    }

    AnsiString name_;
};

} // namespace

namespace detail {

AnsiString ResponseFileStem(const std::tm& localTime, int milliseconds) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "~Zantor_%.4d%.2d%.2d%.2d%.2d%.2d%.3d", localTime.tm_year + 1900,
                  localTime.tm_mon + 1, localTime.tm_mday, localTime.tm_hour, localTime.tm_min, localTime.tm_sec,
                  milliseconds);
    return stamp;
}

AnsiString InvokeWebServiceThrough(std::string_view libraryName, std::string_view address, std::string_view method,
                                   std::string_view request) {
    const platform::HMODULE library = platform::LoadLibrary(libraryName);
    if (IsTraceRequested(HostCommandLine())) ShowTracePrompt();
    if (!library) return {};
    const auto entry = reinterpret_cast<CallWebServiceFxProc>(platform::GetProcAddress(library, CALLWEBSERVICE_ENTRY_NAME));
    if (!entry) return {};

    const ResponseFile file;
    // The entry takes NUL-terminated texts.
    const std::string addressText(address), methodText(method), requestText(request);
    std::array<char, kErrorTextSize> errorText{};
    const int status = entry(addressText.c_str(), methodText.c_str(), requestText.c_str(), file.Name().c_str(),
                             errorText.data(), errorText.size());
    if (status != CWS_OK) {
        errorText.back() = '\0';
        AnsiString message = errorText.data();
        if (message.empty()) message = "The web-service call failed with status " + std::to_string(status) + ".";
        throw EWebServiceError(message);
    }
    if (!platform::FileExists(file.Name())) return {};
    TStringList lines;
    lines.LoadFromFile(file.Name());
    return lines.Text();
}

} // namespace detail

AnsiString InvokeWebService(std::string_view address, std::string_view method, std::string_view request) {
    return detail::InvokeWebServiceThrough(CALLWEBSERVICE_LIBRARY_NAME, address, method, request);
}

} // namespace qmx
