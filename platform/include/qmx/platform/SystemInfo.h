#pragma once
// Facts about the machine and the user that the original read from the system into fixed
// buffers. The limits of those buffers are kept, because the values travel to the server and
// into file names with the same limits.
#include <optional>
#include <string>
#include <string_view>

#include "qmx/CodePage.h"

namespace qmx::platform {

// The host name up to its first '.', at most 15 bytes (a buffer of 16 characters); "Unknown"
// when it cannot be read or is empty.
AnsiString GetComputerName();
// The login name of the effective user from the password database, else $USER, else "Unknown";
// at most 31 bytes (a buffer of 32 characters), cut only between characters of the system code
// page.
AnsiString GetUserName();
// $TMPDIR when it names an existing folder, else "/tmp"; always with a trailing '/'.
AnsiString GetTempPath();
// "major.minor.build" from the kernel release, e.g. "6.1.0" from "6.1.0-18-amd64".
AnsiString GetOSVersionText();

inline constexpr std::size_t MaxComputerNameLength = 15;
inline constexpr std::size_t MaxUserNameLength = 31;

// The rules above applied to raw values, for callers that have them and for tests.
namespace detail {
AnsiString ComputerNameFrom(std::optional<std::string_view> hostName);
AnsiString UserNameFrom(std::optional<std::string_view> passwordName,
                        std::optional<std::string_view> environmentUser,
                        CodePage codePage = SystemAnsiCodePage());
AnsiString TempPathFrom(std::optional<std::string_view> tmpDir);
// Missing or unreadable parts are 0: "5.15" -> "5.15.0", "" -> "0.0.0".
AnsiString OSVersionFromRelease(std::string_view release);
} // namespace detail

} // namespace qmx::platform
