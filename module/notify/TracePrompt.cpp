#include "notify/TracePrompt.h"

#include <fstream>
#include <iterator>

#include "qmx/CodePage.h"
#include "qmx/toolkit/Dialogs.h"

namespace qmx {

std::vector<std::string> HostCommandLine() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> arguments;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\0', start);
        if (end == std::string::npos) end = bytes.size();
        arguments.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return arguments;
}

bool IsTraceRequested(const std::vector<std::string>& commandLine) {
    if (commandLine.size() < 2) return false; // the program alone: no argument
    return AnsiUpperCase(commandLine.back()) == "T";
}

AnsiString TracePromptText() {
    return Utf8ToAnsi("跟踪测试中断!可在此时设置Dll之Modules。点\"OK\"继续。", CP_GB2312);
}

void ShowTracePrompt() { ShowMessage(TracePromptText()); }

} // namespace qmx
