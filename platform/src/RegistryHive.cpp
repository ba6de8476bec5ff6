#include "qmx/platform/RegistryHive.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

#include "RegFileParser.h"

namespace qmx::platform {
namespace {

struct RootName {
    RegRoot Root;
    const char* Long;
    const char* Short;
};

constexpr RootName kRootNames[] = {
    {RegRoot::ClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {RegRoot::CurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {RegRoot::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {RegRoot::Users, "HKEY_USERS", "HKU"},
    {RegRoot::CurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
};

constexpr std::size_t kRootCount = std::size(kRootNames);

} // namespace

const char* RegRootName(RegRoot root) {
    for (const auto& name : kRootNames)
        if (name.Root == root) return name.Long;
    return "";
}

std::optional<RegRoot> RegRootFromName(std::string_view name) {
    // Root names are ASCII; any code page folds them alike.
    for (const auto& known : kRootNames)
        if (AnsiSameText(name, known.Long, CP_WESTERN) || AnsiSameText(name, known.Short, CP_WESTERN))
            return known.Root;
    return std::nullopt;
}

std::string RegDiagnostic::ToString() const {
    if (Line == 0) return File + ": " + Reason;
    return File + ":" + std::to_string(Line) + ": " + Reason;
}

RegistryHive::RegistryHive(CodePage codePage) : codePage_(codePage), keys_(kRootCount) {
    for (const auto& name : kRootNames) keys_[static_cast<std::size_t>(name.Root)].Name = name.Long;
}

AnsiString RegistryHive::Fold(std::string_view name) const { return AnsiUpperCase(name, codePage_); }

void RegistryHive::AddDiagnostic(RegDiagnostic diagnostic) { diagnostics_.push_back(std::move(diagnostic)); }

bool RegistryHive::LoadFromText(std::string_view bytes, std::string_view fileName, RegParseMode mode) {
    RegFileParser parser(fileName, codePage_, mode);
    RegFileContent content;
    try {
        content = parser.Parse(bytes);
    } catch (const ERegistryException&) {
        for (const auto& diagnostic : parser.Diagnostics()) AddDiagnostic(diagnostic);
        throw;
    }
    for (const auto& diagnostic : parser.Diagnostics()) AddDiagnostic(diagnostic);
    if (!content.Accepted) return false;
    for (auto& key : content.Keys) {
        KeyId id = CreateKey(key.Root, key.Path);
        for (auto& value : key.Values) SetValue(id, std::move(value));
    }
    return true;
}

bool RegistryHive::LoadFromFile(const std::string& fileName, RegParseMode mode) {
    auto fail = [&](std::string reason) {
        AddDiagnostic(RegDiagnostic{fileName, 0, std::move(reason)});
        if (mode == RegParseMode::Strict) throw ERegistryException(diagnostics_.back().ToString());
        return false;
    };
    struct stat info {};
    if (::stat(fileName.c_str(), &info) != 0) return fail(std::string("cannot open: ") + std::strerror(errno));
    if (S_ISDIR(info.st_mode)) return fail("is a folder, not a file");
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return fail(std::string("cannot open: ") + std::strerror(errno));
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return fail("read error");
    return LoadFromText(bytes, fileName, mode);
}

RegistryHive::KeyId RegistryHive::CreateKey(RegRoot root, const std::vector<AnsiString>& path) {
    KeyId current = static_cast<KeyId>(root);
    for (const auto& name : path) {
        AnsiString folded = Fold(name);
        auto found = keys_[current].SubKeyIndex.find(folded);
        if (found != keys_[current].SubKeyIndex.end()) {
            current = found->second;
            continue;
        }
        KeyId created = keys_.size();
        keys_.push_back(Key{});  // may move the keys: index only from here on
        keys_[created].Name = name;
        keys_[current].SubKeys.push_back(created);
        keys_[current].SubKeyIndex.emplace(std::move(folded), created);
        current = created;
    }
    return current;
}

void RegistryHive::SetValue(KeyId key, RegValue value) {
    Key& target = keys_[key];
    AnsiString folded = Fold(value.Name);
    auto found = target.ValueIndex.find(folded);
    if (found == target.ValueIndex.end()) {
        target.ValueIndex.emplace(std::move(folded), target.Values.size());
        target.Values.push_back(std::move(value));
        return;
    }
    RegValue& old = target.Values[found->second];
    value.Name = std::move(old.Name);  // the name keeps its first spelling
    old = std::move(value);
}

std::optional<RegistryHive::KeyId> RegistryHive::FindKey(RegRoot root, std::string_view path) const {
    // Split at '\' characters only, never at a trail byte that happens to be '\'.
    std::vector<std::string_view> names;
    for (std::size_t start = 0;;) {
        std::size_t end = AnsiFindChar(path, '\\', start, codePage_);
        names.push_back(path.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    std::size_t first = 0, last = names.size();
    while (first < last && names[first].empty()) ++first;
    while (last > first && names[last - 1].empty()) --last;

    KeyId current = static_cast<KeyId>(root);
    for (std::size_t i = first; i < last; ++i) {
        if (names[i].empty()) return std::nullopt;  // "A\\B"
        const auto& index = keys_[current].SubKeyIndex;
        auto found = index.find(Fold(names[i]));
        if (found == index.end()) return std::nullopt;
        current = found->second;
    }
    return current;
}

const RegValue* RegistryHive::FindValue(KeyId key, std::string_view name) const {
    if (key >= keys_.size()) return nullptr;
    const auto& index = keys_[key].ValueIndex;
    auto found = index.find(Fold(name));
    return found == index.end() ? nullptr : &keys_[key].Values[found->second];
}

std::vector<AnsiString> RegistryHive::ValueNames(KeyId key) const {
    std::vector<AnsiString> names;
    if (key >= keys_.size()) return names;
    for (const auto& value : keys_[key].Values) names.push_back(value.Name);
    return names;
}

std::vector<AnsiString> RegistryHive::SubKeyNames(KeyId key) const {
    std::vector<AnsiString> names;
    if (key >= keys_.size()) return names;
    for (KeyId sub : keys_[key].SubKeys) names.push_back(keys_[sub].Name);
    return names;
}

} // namespace qmx::platform
