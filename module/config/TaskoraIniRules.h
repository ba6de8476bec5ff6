#pragma once
// Rules the two configuration readers share: the registry key, the reduced system code page,
// the conversion modes, flag texts, work-library folders, and finding the INI file.
#include <cstdint>
#include <string_view>
#include <vector>

#include "qmx/CodePage.h"

namespace qmx::platform {
class TIniFile;
}

namespace qmx {

// Below HKEY_LOCAL_MACHINE.
inline constexpr std::string_view TaskoraRegistryKey = "Software\\QMX\\Taskora";
// Message codes a reader leaves in ErrorCode.
inline constexpr std::string_view TaskoraErrorNoRegistryKey = "E;000015";
inline constexpr std::string_view TaskoraErrorNoServer = "E;000016";

// The system's ANSI code page as decimal text, "437" unless it is 936 or 950.
AnsiString SystemCodePageText(CodePage systemCodePage = SystemAnsiCodePage());

// Interface texts: 2 for a BIG5 interface, 4 for a GB2312 interface on a BIG5 system, else 0.
std::uint8_t UIConvertModeOf(std::string_view uiCodePage, std::string_view systemCodePage);
// Database values: 2 GB2312 to BIG5, 1 BIG5 to GB2312, else 0.
std::uint8_t DBConvertModeOf(std::string_view uiCodePage, std::string_view dbCodePage);

// "1", "Y", "YES" or "TRUE", without regard to case.
bool IsFlagText(std::string_view text);

// A folder of the WorkDLLPath section made absolute, with a trailing delimiter: a value that
// begins with '/', a drive letter or two backslashes stays where it points; one leading
// backslash, or none, means below installPath (which ends in a delimiter). An empty value is
// installPath itself.
AnsiString ExpandWorkPath(std::string_view value, std::string_view installPath);

namespace detail {

// Steps the readers share up to the INI file name.
struct TaskoraLocation {
    bool KeyFound = false;     // false: the registry key is missing
    AnsiString InstallPath;    // with a trailing delimiter; empty when the value is empty
    AnsiString ProfileType;    // the registry text as read ("" when missing)
    AnsiString ProfilePath;
    AnsiString ProfileUser = "Default";
    AnsiString IniFileName;
};

// Reads the key (raises ERegistryException for a value that is no text) and finds the INI file
// iniName: in the user's profile folder when ProfileType asks for one and the file is there,
// else in the installation folder, whether it exists or not.
TaskoraLocation LocateTaskoraIni(std::string_view pathValueName, std::string_view iniName);

// Blanks and control characters removed from both ends.
AnsiString TrimText(std::string_view text);

// The values of the WorkDLLPath section, key by key in file order (a key written twice gives
// the first value twice).
std::vector<AnsiString> ReadWorkDLLValues(const platform::TIniFile& ini);

} // namespace detail
} // namespace qmx
