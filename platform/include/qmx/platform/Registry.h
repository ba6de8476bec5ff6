#pragma once
// The registry as the system reads it: the process-wide hive named by QMX_REGISTRY, and TRegistry,
// the read-only key reader the callers use.
//
// QMX_REGISTRY lists export files separated by ':'; each later file adds to and overrides the
// earlier ones (format and merging: RegistryHive.h). The list is read on first use; a file that is
// missing or bad costs its own content only, and the problems of a load are written to stderr once.
//
//   TRegistry reg;                          // HKEY_CURRENT_USER
//   reg.RootKey = RegRoot::LocalMachine;
//   if (reg.OpenKeyReadOnly("Software\\QMX\\Taskora")) {
//       AnsiString path = reg.ReadString("ClientPath");
//       reg.CloseKey();
//   }
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "qmx/platform/RegistryHive.h"

namespace qmx::platform {

// The hive of QMX_REGISTRY, loaded on the first call. Never null.
std::shared_ptr<const RegistryHive> ProcessRegistry();
// Reads QMX_REGISTRY and its files afresh (after the variable or a file changed); readers created
// afterwards see the new content, readers already open keep the hive they started with.
std::shared_ptr<const RegistryHive> ReloadRegistry();

class TRegistry {
public:
    // Reads the process-wide hive.
    explicit TRegistry(RegRoot root = RegRoot::CurrentUser);
    // Reads the given hive (tests, tools).
    explicit TRegistry(std::shared_ptr<const RegistryHive> hive, RegRoot root = RegRoot::CurrentUser);

    // Settable at any time; a key opened under another root counts as closed from then on, as
    // changing the root closes the key in the original toolkit.
    RegRoot RootKey;

    // Paths are relative to the root, with or without a leading '\'. Opening a missing key
    // answers false and leaves the open key as it was.
    bool OpenKeyReadOnly(std::string_view path);
    // The registry is read only: a missing key cannot be created, so canCreate changes nothing.
    bool OpenKey(std::string_view path, bool canCreate = false);
    bool KeyExists(std::string_view path) const;
    void CloseKey();
    // The path of the open key as it was opened, without leading or trailing '\'; "" when none.
    AnsiString CurrentPath() const;

    // Values of the open key, or of the root key when none is open. "" names the default value.
    bool ValueExists(std::string_view name) const;
    // REG_SZ or REG_EXPAND_SZ (not expanded); "" for a missing value; another type raises
    // ERegistryException "Invalid data type for 'name'".
    AnsiString ReadString(std::string_view name) const;
    // REG_DWORD; a missing value raises "Failed to get data for 'name'", another type
    // "Invalid data type for 'name'".
    int ReadInteger(std::string_view name) const;
    // ReadInteger(name) != 0.
    bool ReadBool(std::string_view name) const;
    // The bytes of a REG_BINARY or REG_NONE value; raises like ReadInteger otherwise.
    std::vector<std::uint8_t> ReadBinaryData(std::string_view name) const;
    // The type of the value; RegValueType::None for a missing one.
    RegValueType GetDataType(std::string_view name) const;

    std::vector<AnsiString> GetValueNames() const;
    std::vector<AnsiString> GetKeyNames() const;
    bool HasSubKeys() const;

private:
    RegistryHive::KeyId CurrentKeyId() const;
    const RegValue& RequireValue(std::string_view name) const;
    [[noreturn]] void RaiseInvalidType(std::string_view name) const;

    bool IsKeyOpen() const { return currentKey_.has_value() && openRoot_ == RootKey; }

    std::shared_ptr<const RegistryHive> hive_;
    RegRoot openRoot_ = RegRoot::CurrentUser;
    std::optional<RegistryHive::KeyId> currentKey_;
    AnsiString currentPath_;
};

} // namespace qmx::platform
