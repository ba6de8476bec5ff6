#pragma once
// The trace stop of the web-service bridge: a host started with "T" as its last argument halts
// before each call with a message, so that a debugger can be attached to the web-service
// library's process in time.
#include <string>
#include <vector>

#include "qmx/Exception.h"

namespace qmx {

// The host program's arguments, the program itself first (from /proc/self/cmdline); empty when
// they cannot be read.
std::vector<std::string> HostCommandLine();

// The last argument after the program, upper-cased, is "T".
bool IsTraceRequested(const std::vector<std::string>& commandLine);

// The message (GB2312), shown modally until OK.
AnsiString TracePromptText();
void ShowTracePrompt();

} // namespace qmx
