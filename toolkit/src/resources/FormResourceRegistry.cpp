#include "qmx/toolkit/FormResourceRegistry.h"

#include <map>
#include <mutex>

#include "qmx/toolkit/FormResourceParser.h"

namespace qmx {
namespace {

// Class names are ASCII identifiers: fold ASCII letters only.
std::string Key(std::string_view className) {
    std::string key(className);
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return key;
}

struct Entry {
    std::string ClassName;
    std::string ResourceName;
    std::string Text;
    std::shared_ptr<const TFormResource> Parsed;
};

struct Registry {
    std::mutex Lock;
    std::map<std::string, Entry> Entries;
};

// Function-local so that libraries registering from their static initialisers find it ready.
Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

} // namespace

void RegisterFormResource(std::string_view className, std::string_view text, std::string_view resourceName) {
    Entry entry;
    entry.ClassName.assign(className);
    entry.ResourceName = resourceName.empty() ? entry.ClassName + ".qfm" : std::string(resourceName);
    entry.Text.assign(text);
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.Lock);
    registry.Entries.insert_or_assign(Key(className), std::move(entry));
}

void UnregisterFormResource(std::string_view className) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.Lock);
    registry.Entries.erase(Key(className));
}

bool FormResourceExists(std::string_view className) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.Lock);
    return registry.Entries.count(Key(className)) != 0;
}

std::optional<std::string> FormResourceText(std::string_view className) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.Lock);
    auto found = registry.Entries.find(Key(className));
    if (found == registry.Entries.end()) return std::nullopt;
    return found->second.Text;
}

std::shared_ptr<const TFormResource> FindFormResource(std::string_view className) {
    Registry& registry = TheRegistry();
    std::string key = Key(className);
    std::string text;
    std::string resourceName;
    {
        std::lock_guard guard(registry.Lock);
        auto found = registry.Entries.find(key);
        if (found == registry.Entries.end()) return nullptr;
        if (found->second.Parsed) return found->second.Parsed;
        text = found->second.Text;
        resourceName = found->second.ResourceName;
    }
    // Parse outside the lock: a fault raises here and nothing is cached.
    auto parsed = std::make_shared<const TFormResource>(ParseFormResource(text, resourceName, CP_GB2312));
    std::lock_guard guard(registry.Lock);
    auto found = registry.Entries.find(key);
    // Cache only if the registration is still the text just parsed.
    if (found != registry.Entries.end() && found->second.Text == text && !found->second.Parsed)
        found->second.Parsed = parsed;
    return parsed;
}

} // namespace qmx
