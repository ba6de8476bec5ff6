// Feeds arbitrary bytes to the registry export reader, leniently and strictly, then walks every
// key and value it produced.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "qmx/platform/RegistryHive.h"

using namespace qmx;
using namespace qmx::platform;

namespace {

// Every listed key must be found again by its path, and every listed value by its name.
void Walk(const RegistryHive& hive) {
    for (RegRoot root : {RegRoot::ClassesRoot, RegRoot::CurrentUser, RegRoot::LocalMachine, RegRoot::Users,
                         RegRoot::CurrentConfig}) {
        std::vector<std::string> pending{""};
        while (!pending.empty()) {
            std::string path = std::move(pending.back());
            pending.pop_back();
            auto key = hive.FindKey(root, path);
            if (!key) __builtin_trap();
            for (const auto& name : hive.ValueNames(*key))
                if (!hive.FindValue(*key, name)) __builtin_trap();
            for (const auto& name : hive.SubKeyNames(*key)) pending.push_back(path.empty() ? name : path + "\\" + name);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (CodePage codePage : {CP_GB2312, CP_WESTERN}) {
        RegistryHive hive(codePage);
        hive.LoadFromText(bytes, "fuzz.reg");
        Walk(hive);
        RegistryHive strict(codePage);
        try {
            strict.LoadFromText(bytes, "fuzz.reg", RegParseMode::Strict);
        } catch (const ERegistryException&) {
        }
    }
    return 0;
}
