#pragma once
// The alert log: a text file of one line per event, "[YYYY/MM/DD hh:nn:ss:zzz] message", kept in
// the folder Log below the dispatch center's install folder (or below the host program's folder
// when the dispatch center is not installed). Background routines write their failures here
// instead of interrupting the user.
//
// File name: "Alert_" + name + "_" + today as YYYYMMDD (period "D" and any unknown period),
// YYYYMM ("M") or YYYY ("Y"), plus ".log" unless name already contains a dot.
//
// Each line is appended with a single write on a descriptor opened for appending, so lines
// written by several processes at once never tear or get lost.
#include <ctime>
#include <string_view>

#include "qmx/Exception.h"

namespace qmx {

// Appends one line to the alert log "name"; false when the folder or the file cannot be made or
// written. Never raises.
bool WriteAlertLog(std::string_view name, std::string_view message, std::string_view period);

// The same below the given home folder (its Log subfolder), whatever the dispatch center's
// install folder is.
bool WriteAlertLogIn(std::string_view homeFolder, std::string_view name, std::string_view message,
                     std::string_view period);

// The folder that WriteAlertLog uses as home: the dispatch center's install folder, else the
// host program's folder; with a trailing delimiter.
AnsiString AlertLogHome();

namespace detail {
// The file name (without folder) for a log written on the given local day.
AnsiString AlertLogFileName(std::string_view name, std::string_view period, const std::tm& localTime);
// The line, with its line feed, for a message written at the given local time.
AnsiString AlertLogLine(std::string_view message, const std::tm& localTime, int milliseconds);
} // namespace detail

} // namespace qmx
