#include "qmx/platform/SystemInfo.h"

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "qmx/platform/Paths.h"

namespace qmx::platform {

namespace {

constexpr std::string_view kUnknown = "Unknown";

// The first maxBytes bytes, less a character that would be cut in two.
AnsiString Truncate(std::string_view text, std::size_t maxBytes, CodePage codePage) {
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t next = end + CharLengthAt(text, end, codePage);
        if (next > maxBytes) break;
        end = next;
    }
    return AnsiString(text.substr(0, end));
}

std::optional<std::string_view> Environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string_view(value);
}

} // namespace

namespace detail {

AnsiString ComputerNameFrom(std::optional<std::string_view> hostName) {
    if (!hostName) return AnsiString(kUnknown);
    std::string_view name = *hostName;
    // The machine's own name, as the original knew it, carries no domain.
    name = name.substr(0, name.find('.'));
    AnsiString result = Truncate(name, MaxComputerNameLength, SystemAnsiCodePage());
    return result.empty() ? AnsiString(kUnknown) : result;
}

AnsiString UserNameFrom(std::optional<std::string_view> passwordName,
                        std::optional<std::string_view> environmentUser, CodePage codePage) {
    for (const auto& candidate : {passwordName, environmentUser}) {
        if (!candidate || candidate->empty()) continue;
        AnsiString result = Truncate(*candidate, MaxUserNameLength, codePage);
        if (!result.empty()) return result;
    }
    return AnsiString(kUnknown);
}

AnsiString TempPathFrom(std::optional<std::string_view> tmpDir) {
    if (tmpDir && DirectoryExists(*tmpDir)) {
        std::error_code error;
        std::filesystem::path absolute = std::filesystem::absolute(std::string(*tmpDir), error);
        // Relative to the current folder now; keep it absolute so that later changes of the
        // current folder do not move the temporary folder.
        return IncludeTrailingPathDelimiter(error ? AnsiString(*tmpDir) : absolute.string());
    }
    return "/tmp/";
}

AnsiString OSVersionFromRelease(std::string_view release) {
    std::vector<std::string_view> parts;
    std::size_t pos = 0;
    while (parts.size() < 3) {
        std::size_t end = pos;
        while (end < release.size() && release[end] >= '0' && release[end] <= '9') ++end;
        if (end == pos) break;
        std::string_view digits = release.substr(pos, end - pos);
        // Kept as text: a long number cannot overflow, leading zeros go.
        std::size_t firstNonZero = digits.find_first_not_of('0');
        parts.push_back(firstNonZero == std::string_view::npos ? std::string_view("0")
                                                               : digits.substr(firstNonZero));
        if (end >= release.size() || release[end] != '.') break;
        pos = end + 1;
    }
    while (parts.size() < 3) parts.push_back("0");
    return AnsiString(parts[0]) + "." + AnsiString(parts[1]) + "." + AnsiString(parts[2]);
}

} // namespace detail

AnsiString GetComputerName() {
    char buffer[HOST_NAME_MAX + 1] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0) return detail::ComputerNameFrom(std::nullopt);
    return detail::ComputerNameFrom(std::string_view(buffer));
}

AnsiString GetUserName() {
    std::optional<std::string> passwordName;
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_name != nullptr) {
        passwordName = found->pw_name;
    }
    return detail::UserNameFrom(passwordName, Environment("USER"));
}

AnsiString GetTempPath() {
    return detail::TempPathFrom(Environment("TMPDIR"));
}

AnsiString GetOSVersionText() {
    utsname names{};
    if (uname(&names) != 0) return detail::OSVersionFromRelease("");
    return detail::OSVersionFromRelease(names.release);
}

} // namespace qmx::platform
