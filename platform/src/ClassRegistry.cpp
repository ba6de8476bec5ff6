#include "qmx/platform/ClassRegistry.h"

#include <map>
#include <mutex>

#include "qmx/CodePage.h"
#include "qmx/platform/Library.h"
#include "qmx/platform/Paths.h"
#include "qmx/platform/Registry.h"

namespace qmx::platform {

namespace {

struct FactoryTable {
    std::mutex mutex;
    std::map<AnsiString, ClassFactory> factories; // key: upper-cased ProgID
};

FactoryTable& Factories() {
    static FactoryTable table;
    return table;
}

AnsiString FactoryKey(std::string_view progId) {
    return AnsiUpperCase(progId, SystemAnsiCodePage());
}

[[noreturn]] void RaiseInvalidClass(std::string_view progId) {
    throw EOleError("Invalid class string: " + AnsiString(progId));
}

[[noreturn]] void RaiseCannotCreate(std::string_view progId, std::string_view reason) {
    throw EOleError("Cannot create " + AnsiString(progId) + ": " + AnsiString(reason));
}

// The in-process factory of progId, copied out so that it runs without the lock (a factory may
// register or create classes itself).
ClassFactory FindFactory(std::string_view progId) {
    FactoryTable& table = Factories();
    std::lock_guard lock(table.mutex);
    auto found = table.factories.find(FactoryKey(progId));
    return found == table.factories.end() ? ClassFactory() : found->second;
}

struct ClassEntry {
    AnsiString library;
    AnsiString factorySymbol;
};

ClassEntry ReadClassEntry(std::string_view progId) {
    // A '\' would make the ProgID a path of keys.
    if (AnsiFindChar(progId, '\\') != std::string_view::npos) RaiseInvalidClass(progId);
    ClassEntry entry;
    try {
        TRegistry registry;
        registry.RootKey = RegRoot::ClassesRoot;
        if (!registry.OpenKeyReadOnly(AnsiString(progId)) || !registry.ValueExists("Library")) {
            RaiseInvalidClass(progId);
        }
        entry.library = registry.ReadString("Library");
        if (registry.ValueExists("Factory")) entry.factorySymbol = registry.ReadString("Factory");
    } catch (const EOleError&) {
        throw;
    } catch (const Exception& error) {
        // A value of the wrong type, an unreadable hive: the class cannot be created.
        RaiseCannotCreate(progId, error.Message());
    }
    if (entry.library.empty()) RaiseInvalidClass(progId);
    if (entry.factorySymbol.empty()) entry.factorySymbol = DefaultClassFactorySymbol;
    return entry;
}

HMODULE LoadClassLibrary(const AnsiString& library, const void* callerAddress) {
    AnsiString name = BackslashesToDelimiters(library);
    if (name.find(PathDelim) == AnsiString::npos) return LoadLibraryFrom(name, callerAddress);
    AnsiString callerFolder = ExtractFilePath(GetModuleFileName(callerAddress));
    return LoadLibraryFrom(ResolveConfigPath(library, callerFolder), nullptr);
}

DispatchPtr CreateFromLibrary(std::string_view progId, const void* callerAddress) {
    ClassEntry entry = ReadClassEntry(progId);
    HMODULE module = LoadClassLibrary(entry.library, callerAddress);
    if (module == nullptr) {
        RaiseCannotCreate(progId, "library " + entry.library + " does not load (" +
                                      LastLibraryError() + ")");
    }
    auto factory =
        reinterpret_cast<ClassLibraryFactory>(GetProcAddress(module, entry.factorySymbol));
    if (factory == nullptr) {
        AnsiString reason = LastLibraryError();
        FreeLibrary(module); // nothing was made from it
        RaiseCannotCreate(progId, "library " + entry.library + " has no factory " +
                                      entry.factorySymbol + " (" + reason + ")");
    }
    // The library stays loaded: the object's code lives in it.
    AnsiString progIdText(progId);
    DispatchPtr object(factory(progIdText.c_str()));
    if (!object) {
        RaiseCannotCreate(progId, "factory " + entry.factorySymbol + " of library " + entry.library +
                                      " made no object");
    }
    return object;
}

} // namespace

void RegisterClassFactory(std::string_view progId, ClassFactory factory) {
    if (!factory) RaiseCannotCreate(progId, "no factory given to register");
    FactoryTable& table = Factories();
    std::lock_guard lock(table.mutex);
    table.factories[FactoryKey(progId)] = std::move(factory);
}

bool UnregisterClassFactory(std::string_view progId) {
    FactoryTable& table = Factories();
    std::lock_guard lock(table.mutex);
    return table.factories.erase(FactoryKey(progId)) > 0;
}

Variant CreateOleObject(std::string_view progId, const void* callerAddress) {
    if (progId.empty()) RaiseInvalidClass(progId);
    if (ClassFactory factory = FindFactory(progId)) {
        DispatchPtr object = factory();
        if (!object) RaiseCannotCreate(progId, "the registered factory made no object");
        return Variant(std::move(object));
    }
    return Variant(CreateFromLibrary(progId, callerAddress));
}

} // namespace qmx::platform
