#include "qmx/platform/Registry.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace qmx::platform {
namespace {

std::mutex processMutex;
std::shared_ptr<const RegistryHive> processHive;

std::shared_ptr<const RegistryHive> LoadProcessHive() {
    auto hive = std::make_shared<RegistryHive>();
    const char* list = std::getenv("QMX_REGISTRY");
    std::string_view files = list ? list : "";
    for (std::size_t start = 0; start <= files.size();) {
        std::size_t end = files.find(':', start);
        if (end == std::string_view::npos) end = files.size();
        if (end > start) hive->LoadFromFile(std::string(files.substr(start, end - start)));
        start = end + 1;
    }
    // Once per load: the registry is read on every use, a warning per use would drown the log.
    for (const auto& diagnostic : hive->Diagnostics())
        std::fprintf(stderr, "registry: %s\n", diagnostic.ToString().c_str());
    return hive;
}

// The path without leading and trailing '\' characters (a trail byte that is '\' stays).
AnsiString NormalizedPath(std::string_view path, CodePage codePage) {
    while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
    std::size_t end = 0;
    for (std::size_t i = 0; i < path.size();) {
        std::size_t length = CharLengthAt(path, i, codePage);
        if (length > 1 || path[i] != '\\') end = i + length;
        i += length;
    }
    return AnsiString(path.substr(0, end));
}

} // namespace

std::shared_ptr<const RegistryHive> ProcessRegistry() {
    std::lock_guard lock(processMutex);
    if (!processHive) processHive = LoadProcessHive();
    return processHive;
}

std::shared_ptr<const RegistryHive> ReloadRegistry() {
    auto hive = LoadProcessHive();
    std::lock_guard lock(processMutex);
    processHive = hive;
    return hive;
}

TRegistry::TRegistry(RegRoot root) : TRegistry(ProcessRegistry(), root) {}

TRegistry::TRegistry(std::shared_ptr<const RegistryHive> hive, RegRoot root)
    : RootKey(root), hive_(hive ? std::move(hive) : std::make_shared<const RegistryHive>()) {}

bool TRegistry::OpenKeyReadOnly(std::string_view path) {
    auto key = hive_->FindKey(RootKey, path);
    if (!key) return false;
    openRoot_ = RootKey;
    currentKey_ = key;
    currentPath_ = NormalizedPath(path, hive_->GetCodePage());
    return true;
}

bool TRegistry::OpenKey(std::string_view path, bool /*canCreate*/) { return OpenKeyReadOnly(path); }

bool TRegistry::KeyExists(std::string_view path) const { return hive_->FindKey(RootKey, path).has_value(); }

AnsiString TRegistry::CurrentPath() const { return IsKeyOpen() ? currentPath_ : AnsiString(); }

void TRegistry::CloseKey() {
    currentKey_.reset();
    currentPath_.clear();
}

RegistryHive::KeyId TRegistry::CurrentKeyId() const {
    return IsKeyOpen() ? *currentKey_ : *hive_->FindKey(RootKey, "");
}

bool TRegistry::ValueExists(std::string_view name) const {
    return hive_->FindValue(CurrentKeyId(), name) != nullptr;
}

void TRegistry::RaiseInvalidType(std::string_view name) const {
    throw ERegistryException("Invalid data type for '" + AnsiString(name) + "'");
}

const RegValue& TRegistry::RequireValue(std::string_view name) const {
    const RegValue* value = hive_->FindValue(CurrentKeyId(), name);
    if (!value) throw ERegistryException("Failed to get data for '" + AnsiString(name) + "'");
    return *value;
}

AnsiString TRegistry::ReadString(std::string_view name) const {
    const RegValue* value = hive_->FindValue(CurrentKeyId(), name);
    if (!value) return {};
    if (value->Type != RegValueType::String && value->Type != RegValueType::ExpandString) RaiseInvalidType(name);
    return value->Text;
}

int TRegistry::ReadInteger(std::string_view name) const {
    const RegValue& value = RequireValue(name);
    if (value.Type != RegValueType::DWord) RaiseInvalidType(name);
    return static_cast<int>(static_cast<std::uint32_t>(value.Number));
}

bool TRegistry::ReadBool(std::string_view name) const { return ReadInteger(name) != 0; }

std::vector<std::uint8_t> TRegistry::ReadBinaryData(std::string_view name) const {
    const RegValue& value = RequireValue(name);
    if (value.Type != RegValueType::Binary && value.Type != RegValueType::None) RaiseInvalidType(name);
    return value.Data;
}

RegValueType TRegistry::GetDataType(std::string_view name) const {
    const RegValue* value = hive_->FindValue(CurrentKeyId(), name);
    return value ? value->Type : RegValueType::None;
}

std::vector<AnsiString> TRegistry::GetValueNames() const { return hive_->ValueNames(CurrentKeyId()); }

std::vector<AnsiString> TRegistry::GetKeyNames() const { return hive_->SubKeyNames(CurrentKeyId()); }

bool TRegistry::HasSubKeys() const { return !GetKeyNames().empty(); }

} // namespace qmx::platform
