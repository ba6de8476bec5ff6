#include "qmx/platform/Library.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "qmx/platform/Paths.h"

namespace qmx::platform {

namespace {

// Per thread, as the system's last-error value is.
thread_local AnsiString lastError;

void AddError(AnsiString& errors, std::string_view text) {
    if (!errors.empty()) errors += "; ";
    errors += text;
}

AnsiString TakeDlError(std::string_view fallback) {
    const char* text = dlerror();
    return text != nullptr ? AnsiString(text) : AnsiString(fallback);
}

bool IsDllExtension(std::string_view extension) {
    return AnsiSameText(extension, ".dll", SystemAnsiCodePage());
}

AnsiString ExecutablePath() {
    char buffer[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
    return length > 0 ? AnsiString(buffer, static_cast<std::size_t>(length)) : AnsiString();
}

// The file of the mapping that holds address, from the kernel's table: always an absolute path,
// also when the module was loaded under a relative name.
AnsiString MappedFileOf(const void* address) {
    std::ifstream maps("/proc/self/maps");
    auto target = reinterpret_cast<std::uintptr_t>(address);
    std::string line;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::string range, perms, offset, device, inode, path;
        fields >> range >> perms >> offset >> device >> inode;
        std::getline(fields >> std::ws, path);
        std::size_t dash = range.find('-');
        if (dash == std::string::npos || path.empty() || path[0] != '/') continue;
        std::uintptr_t low = std::strtoull(range.substr(0, dash).c_str(), nullptr, 16);
        std::uintptr_t high = std::strtoull(range.substr(dash + 1).c_str(), nullptr, 16);
        if (target < low || target >= high) continue;
        constexpr std::string_view deleted = " (deleted)"; // the file was removed after loading
        if (path.ends_with(deleted)) path.resize(path.size() - deleted.size());
        return path;
    }
    return {};
}

HMODULE TryOpen(const AnsiString& file, AnsiString& errors) {
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) AddError(errors, TakeDlError(file + ": cannot be loaded"));
    return static_cast<HMODULE>(handle);
}

} // namespace

std::vector<AnsiString> LibraryNameCandidates(std::string_view name) {
    AnsiString folder = ExtractFilePath(name);
    AnsiString fileName = ExtractFileName(name);
    AnsiString extension = ExtractFileExt(fileName);
    if (fileName.empty() || !(extension.empty() || IsDllExtension(extension))) {
        return {AnsiString(name)};
    }
    AnsiString base = fileName.substr(0, fileName.size() - extension.size());
    return {folder + "lib" + base + ".so", folder + base + ".so", AnsiString(name)};
}

HMODULE LoadLibraryFrom(std::string_view name, const void* callerAddress) {
    AnsiString errors;
    if (name.empty()) {
        lastError = "LoadLibrary: empty library name";
        return nullptr;
    }
    std::vector<AnsiString> candidates = LibraryNameCandidates(name);
    bool hasFolder = name.find(PathDelim) != std::string_view::npos;

    if (!hasFolder && callerAddress != nullptr) {
        AnsiString callerFolder = ExtractFilePath(GetModuleFileName(callerAddress));
        if (!callerFolder.empty()) {
            for (const AnsiString& candidate : candidates) {
                if (HMODULE module = TryOpen(callerFolder + candidate, errors)) {
                    lastError.clear();
                    return module;
                }
            }
        }
    }
    // A bare name goes through the system search path; a name with a folder is that file only.
    for (const AnsiString& candidate : candidates) {
        if (HMODULE module = TryOpen(candidate, errors)) {
            lastError.clear();
            return module;
        }
    }
    lastError = std::move(errors);
    return nullptr;
}

void* GetProcAddress(HMODULE module, std::string_view name) {
    if (module == nullptr) {
        lastError = "GetProcAddress: no library";
        return nullptr;
    }
    AnsiString symbol(name);
    dlerror(); // a null symbol value is told from a missing one by dlerror only
    void* address = dlsym(static_cast<void*>(module), symbol.c_str());
    if (address == nullptr) {
        lastError = TakeDlError("GetProcAddress: " + symbol + " not found");
        return nullptr;
    }
    lastError.clear();
    return address;
}

bool FreeLibrary(HMODULE module) {
    if (module == nullptr) return false;
    if (dlclose(static_cast<void*>(module)) != 0) {
        lastError = TakeDlError("FreeLibrary failed");
        return false;
    }
    return true;
}

AnsiString LastLibraryError() {
    return lastError;
}

AnsiString GetModuleFileName(const void* addressInModule) {
    Dl_info info{};
    link_map* map = nullptr;
    if (addressInModule == nullptr) return ExecutablePath();
    if (dladdr1(addressInModule, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0 ||
        map == nullptr) {
        return {};
    }
    const char* name = map->l_name;
    // The main program has an empty name in the loader's list.
    if (name == nullptr || name[0] == '\0') return ExecutablePath();
    if (name[0] == '/') return name;
    // Loaded under a relative name, or a kernel-provided object: ask the kernel's mapping table.
    AnsiString mapped = MappedFileOf(addressInModule);
    return mapped.empty() ? AnsiString(name) : mapped;
}

bool IsLibraryModule(std::string_view path) {
    AnsiString extension = ExtractFileExt(path);
    return IsDllExtension(extension) || AnsiSameText(extension, ".so", SystemAnsiCodePage());
}

} // namespace qmx::platform
