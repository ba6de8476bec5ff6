#include "lib/LibStrsServices.h"

#include "qmx/platform/Library.h"
#include "qmx/platform/Paths.h"
#include "qmx/platform/Registry.h"
#include "qmx/platform/SystemInfo.h"

namespace qmx {
namespace {

constexpr const char* kTaskoraKey = "Software\\QMX\\Taskora";
// The buffers of the original callers, terminating zero included.
constexpr std::size_t kMaxPath = 260;

AnsiString ReadTextValue(const platform::TRegistry& registry, std::string_view name) {
    try {
        return registry.ReadString(name);
    } catch (const Exception&) {
        return {}; // a value of another type holds no folder
    }
}

} // namespace

AnsiString GetTaskoraHome() {
    platform::TRegistry registry(platform::RegRoot::LocalMachine);
    if (!registry.OpenKeyReadOnly(kTaskoraKey)) return {};
    AnsiString home = ReadTextValue(registry, "ClientPath");
    if (home.empty()) home = ReadTextValue(registry, "ServerPath");
    return home;
}

AnsiString GetHostProgramFolder() {
    return platform::ExtractFilePath(platform::GetModuleFileName(nullptr));
}

AnsiString GetLongTempPath() {
    const AnsiString folder = platform::GetTempPath();
    if (folder.size() >= kMaxPath || !platform::DirectoryExists(folder)) return {};
    return folder;
}

} // namespace qmx
