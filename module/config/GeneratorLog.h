#pragma once
// The generator alert log: GetLogBaseFolder()/Log/Alert_Brimstall_YYYYMMDD.log, one file a day,
// one line per call: "[YYYY/MM/DD hh:nn:ss] text" ended by CR LF. Each line is appended with a
// single write on a descriptor opened for appending, so lines written by several processes at
// once never tear.
#include <ctime>
#include <string_view>

#include "qmx/Exception.h"

namespace qmx {

// Appends one line to today's generator log, creating the folder and the file when missing;
// false when that fails. Never raises.
bool WriteGeneratorLog(std::string_view text);

// The folder below which the Log folder lies: the dispatch center's installation folder from
// the registry (ClientPath, else ServerPath), else the system's temporary folder, else "/tmp".
// Never empty.
AnsiString GetLogBaseFolder();

namespace detail {
AnsiString GeneratorLogFileName(const std::tm& localTime);
// The line with its CR LF.
AnsiString GeneratorLogLine(std::string_view text, const std::tm& localTime);
// WriteGeneratorLog below the given base folder.
bool WriteGeneratorLogIn(std::string_view baseFolder, std::string_view text);
} // namespace detail

} // namespace qmx
