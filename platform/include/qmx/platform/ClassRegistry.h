#pragma once
// Creating automation objects by class name (ProgID), the system's class registry.
//
// CreateOleObject(progId) looks in two places, in this order:
//
// 1. Factories registered in this process with RegisterClassFactory (a host or a test registers
//    its own classes). ProgIDs match without regard to case.
//
// 2. The registry (see Registry.h; the hive files named by QMX_REGISTRY). A class is the key
//    HKEY_CLASSES_ROOT\<ProgID> with these string values:
//
//      "Library"  the shared library that makes the objects (required). A bare name such as
//                 "Norvik.dll" or "libnorvik.so" is searched with the LoadLibrary rules: beside
//                 the module that calls CreateOleObject, then on the system search path. A value
//                 with a folder is a configuration path (ResolveConfigPath): absolute, or
//                 relative to the folder of the calling module; backslashes read as '/'.
//      "Factory"  the exported factory function (optional; default "QmxCreateObject"), declared
//                 extern "C" qmx::Dispatch* Factory(const char* progId);
//                 It receives the ProgID as the caller wrote it and returns a new object that the
//                 caller owns, or null when it cannot make one.
//
//    Example hive file:
//
//      Windows Registry Editor Version 5.00
//
//      [HKEY_CLASSES_ROOT\NorvikWorkCenter.Manager]
//      "Library"="NorvikWorkCenter.dll"
//      "Factory"="NorvikCreateManager"
//
//    A library loaded for a class stays loaded for the life of the process, since the objects it
//    made may live that long.
//
// Errors (qmx::EOleError): "Invalid class string: <ProgID>" when neither place knows the class
// (or its key has no "Library" value); a library that does not load, lacks the factory or whose
// factory makes no object gives a message naming the ProgID, the library and the reason.
#include <functional>
#include <string_view>

#include "qmx/Dispatch.h"
#include "qmx/Variant.h"

namespace qmx::platform {

using ClassFactory = std::function<DispatchPtr()>;

// The entry point a class library exports.
using ClassLibraryFactory = Dispatch* (*)(const char* progId);
inline constexpr const char* DefaultClassFactorySymbol = "QmxCreateObject";

// Registers (or replaces) the in-process factory of progId. An empty factory raises EOleError.
void RegisterClassFactory(std::string_view progId, ClassFactory factory);
// False when no factory was registered under progId.
bool UnregisterClassFactory(std::string_view progId);

// A Variant holding the new object. A bare library name is searched first beside the module
// that holds callerAddress (no such search when it is null), and a relative path is taken from
// that module's folder.
Variant CreateOleObject(std::string_view progId, const void* callerAddress);

// CreateOleObject with the module whose code calls it, found as LoadLibrary finds it (Library.h):
// compiled into every calling module, with an anchor of its own.
static inline Variant CreateOleObject(std::string_view progId) {
    static const char anchorInCallingModule = 0;
    return CreateOleObject(progId, &anchorInCallingModule);
}

} // namespace qmx::platform
