#pragma once
// Loading of shared libraries by the Windows-style names the configuration and the callers use.
//
// A name that ends in ".dll" (any letter case) or has no extension at all stands for a family of
// files: for "X.dll" the candidates are "libX.so", "X.so" and "X.dll" as given, in this order.
// Any other name ("libX.so", "X.plugin") is tried only as given.
//
// Where the candidates are looked for:
// - a name without a '/' is searched first in the folder of the module that calls LoadLibrary,
//   then on the system search path (plain dlopen: LD_LIBRARY_PATH, the run path of the platform
//   library, ld.so.cache, the default folders);
// - a name with a '/' is loaded from that folder only, relative to the current folder when it
//   does not begin with '/'. Windows-style configuration values are turned into such paths with
//   ResolveConfigPath (Paths.h) first; LoadLibrary itself reads '\' as part of a file name.
//
// The calling module is the one whose code calls LoadLibrary: the function is compiled into every
// module that uses it (internal linkage) and hands over the address of an anchor of its own. A
// return address would not do: a call in tail position ("return LoadLibrary(name);") returns
// straight to the caller's caller, which may lie in another module. A caller that loads on behalf
// of another module passes that module's address to LoadLibraryFrom.
#include <string>
#include <string_view>
#include <vector>

#include "qmx/Exception.h"

namespace qmx::platform {

struct ModuleHandle; // never defined: the handle is opaque
using HMODULE = ModuleHandle*;

// Null when no candidate loads; LastLibraryError() then tells why. Searches first beside the
// module that holds callerAddress (no such search when it is null).
HMODULE LoadLibraryFrom(std::string_view name, const void* callerAddress);

// LoadLibraryFrom with the calling module (see the header comment).
static inline HMODULE LoadLibrary(std::string_view name) {
    static const char anchorInCallingModule = 0;
    return LoadLibraryFrom(name, &anchorInCallingModule);
}

// The exported symbol, or null (with LastLibraryError() set) when module is null or lacks it.
void* GetProcAddress(HMODULE module, std::string_view name);
// Drops one reference taken by LoadLibrary; false for a null handle or when dlclose fails.
bool FreeLibrary(HMODULE module);

// The dlerror texts of the failed attempts of the last LoadLibrary or GetProcAddress on this
// thread, separated by "; "; empty after a success.
AnsiString LastLibraryError();

// Full path of the shared library or executable that holds the address; empty when the address
// lies in no loaded module. A null address names the executable, as the system call does for
// a null module handle.
AnsiString GetModuleFileName(const void* addressInModule);

// The extension of the file name is ".dll" or ".so", without regard to case.
bool IsLibraryModule(std::string_view path);

// The file names tried for a name, in order (see the header comment); the folder part of name is
// kept on each candidate.
std::vector<AnsiString> LibraryNameCandidates(std::string_view name);

} // namespace qmx::platform
