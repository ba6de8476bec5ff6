#include "config/ExceptionLog.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ios>
#include <memory>
#include <system_error>
#include <typeinfo>

#include "config/GeneratorLog.h"
#include "config/TaskoraIniRules.h"
#include "qmx/CodePage.h"

namespace qmx {
namespace {

constexpr std::string_view kHyphens = "----------------------------------"; // 34

AnsiString MessageOf(const std::exception& error) {
    if (const auto* own = dynamic_cast<const Exception*>(&error)) return own->Message();
    return error.what();
}

// "<kind> Error 01: Code: <code>, Message: <message>"; the message is copied as it is, so a
// '%' in it stays a '%'.
AnsiString NumberedErrorLine(std::string_view kind, int number, int code, std::string_view message) {
    char head[96];
    std::snprintf(head, sizeof head, " Error %.2d: Code: %d, Message: ", number, code);
    return AnsiString(kind) + head + AnsiString(message);
}

AnsiString GenericErrorLine(const std::exception& error, int number) {
    char head[32];
    std::snprintf(head, sizeof head, "\r\nMessage %.2d: ", number);
    return "Exception is " + detail::ExceptionClassName(error) + head + MessageOf(error);
}

AnsiString ErrorLine(const std::exception& error) {
    // I/O errors first: both kinds derive from std::system_error.
    if (const auto* io = dynamic_cast<const std::ios_base::failure*>(&error))
        return NumberedErrorLine("EInOutError", 1, io->code().value(), io->what());
    if (const auto* fs = dynamic_cast<const std::filesystem::filesystem_error*>(&error))
        return NumberedErrorLine("EInOutError", 1, fs->code().value(), fs->what());
    if (const auto* system = dynamic_cast<const std::system_error*>(&error))
        return NumberedErrorLine("EWin32Error", 1, system->code().value(), system->what());
    return GenericErrorLine(error, 1);
}

} // namespace

namespace detail {

AnsiString ExceptionClassName(const std::exception& error) {
    const char* mangled = typeid(error).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                     std::free);
    std::string name = status == 0 && demangled ? demangled.get() : mangled;
    // Namespaces go; template arguments (rare in exception types) are left alone.
    const std::size_t templateStart = name.find('<');
    const std::size_t lastScope = name.rfind("::", templateStart);
    if (lastScope != std::string::npos) name.erase(0, lastScope + 2);
    return name;
}

std::vector<AnsiString> ExceptionLogLines(const std::exception* error, std::string_view where,
                                          std::string_view programmerMessage) {
    std::vector<AnsiString> lines;
    AnsiString header(kHyphens);
    if (!TrimText(where).empty()) header += " on " + AnsiString(where) + " ";
    header += kHyphens;
    lines.push_back(std::move(header));
    if (error) {
        lines.push_back(Utf8ToAnsi("讯息信息:", CP_GB2312));
        lines.push_back(ErrorLine(*error));
        lines.push_back("ErrorMessage Count: 1");
    }
    if (!TrimText(programmerMessage).empty()) lines.push_back("Programer Message: " + AnsiString(programmerMessage));
    return lines;
}

} // namespace detail

void LogException(const std::exception* error, std::string_view where, std::string_view programmerMessage) {
    try {
        for (const AnsiString& line : detail::ExceptionLogLines(error, where, programmerMessage))
            WriteGeneratorLog(line);
    } catch (...) {
        // A report that cannot be made is lost; the caller's failure is already handled.
    }
}

} // namespace qmx
