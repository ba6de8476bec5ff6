#pragma once
// Exceptions as readable lines in the generator log (GeneratorLog.h):
//
//   ----------------------------------[ on <where> ]----------------------------------
//   讯息信息:
//   <one line per error of the exception, see below>
//   ErrorMessage Count: <n>
//   Programer Message: <programmer message>
//
// The line of an error depends on its kind:
//   system error (std::system_error)    "EWin32Error Error 01: Code: <errno>, Message: <text>"
//   I/O error (std::ios_base::failure,  "EInOutError Error 01: Code: <code>, Message: <text>"
//     std::filesystem::filesystem_error)
//   any other                           "Exception is <class name>\r\nMessage 01: <text>"
// The class name is the exception's dynamic type without its namespaces ("EConvertError").
// Texts are code-page bytes; the fixed Chinese texts are GB2312.
#include <exception>
#include <string_view>
#include <vector>

#include "qmx/Exception.h"

namespace qmx {

// Writes the lines through WriteGeneratorLog, one call per line. error may be null (no error
// lines); a blank where or programmer message leaves its part out. Never raises.
void LogException(const std::exception* error, std::string_view where, std::string_view programmerMessage);

namespace detail {
// The lines LogException writes, in order.
std::vector<AnsiString> ExceptionLogLines(const std::exception* error, std::string_view where,
                                          std::string_view programmerMessage);
// The dynamic type's name without namespaces.
AnsiString ExceptionClassName(const std::exception& error);
} // namespace detail

} // namespace qmx
