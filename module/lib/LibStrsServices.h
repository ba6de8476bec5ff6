#pragma once
// Small system services of the utility library: where the dispatch center is installed, the
// host program's folder and the temporary folder.
#include "qmx/Exception.h"

namespace qmx {

// The dispatch center's install folder as the registry holds it: the string value "ClientPath"
// of HKEY_LOCAL_MACHINE\Software\QMX\Taskora, else "ServerPath"; empty when the key or both
// values are missing (or hold no text).
AnsiString GetTaskoraHome();

// The folder of the host program's executable file, with a trailing delimiter; empty when it
// cannot be read.
AnsiString GetHostProgramFolder();

// The system's temporary folder with a trailing delimiter. Empty when the folder does not exist
// or its name does not fit the 260-character buffers the callers build file names in.
AnsiString GetLongTempPath();

} // namespace qmx
