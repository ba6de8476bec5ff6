#pragma once
// The registry's content: keys and values read from text files in the format of Windows registry
// exports, held in memory and never written back.
//
// File format (one export per file):
//   Windows Registry Editor Version 5.00      header (or REGEDIT4); first non-blank line
//   ; comment                                 ';' as the first non-blank character
//   [HKEY_LOCAL_MACHINE\Software\QMX\Taskora] key; intermediate keys exist implicitly
//   "ClientPath"="C:\\Taskora\\"              text with the escapes \\ and \"
//   @="default"                               the key's default value (name "")
//   "Level"=dword:0000001f                    1 to 8 hex digits
//   "Blob"=hex:de,ad,\                        bytes; a trailing '\' continues on the next line
//     be,ef
//   "Path"=hex(2):25,00,00,00                 hex(n): bytes of value type n (2 expandable text,
//                                             7 multi text, b 64-bit number, 0 none, ...)
//   [-HKEY_CURRENT_USER\Software\Old]         deletion: the key and its lines are ignored
//   "Gone"=-                                  deletion of a value: ignored
// Root names: HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
// HKEY_CURRENT_CONFIG, or HKCR, HKCU, HKLM, HKU, HKCC; without regard to case.
//
// Encoding: UTF-16LE with BOM, or UTF-8 with or without BOM. A file without BOM that is not valid
// UTF-8 is taken as text in the hive's code page (old REGEDIT4 exports are ANSI). Every text is
// converted to the hive's code page when loaded, so names and values are code-page bytes. The
// bytes of hex(1), hex(2) and hex(7) are UTF-16LE in a version 5 file and code-page bytes in a
// REGEDIT4 file, as each version of the exporter wrote them.
//
// Merging: a key that appears again (in the same or a later file) gets the values of each
// appearance; a value written again replaces the earlier one and keeps its place in the order.
// Deletion lines delete nothing: the hive is only ever added to.
//
// Bad input never crashes and never aborts a load: a file without a valid header is rejected
// whole, any other bad line is skipped (a bad key line also skips the values under it, so they
// cannot land in the previous key). Every problem becomes a diagnostic "file:line: reason". In
// strict mode the first problem raises ERegistryException with that text and nothing of the file
// is added.
//
// Names of keys and values match without regard to case (ASCII letters, and Latin-1 letters on
// page 1252); a double-byte character matches only itself.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "qmx/CodePage.h"
#include "qmx/Exception.h"

namespace qmx::platform {

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// The long root name ("HKEY_CURRENT_USER").
const char* RegRootName(RegRoot root);
// A long or short root name, without regard to case; nullopt for anything else.
std::optional<RegRoot> RegRootFromName(std::string_view name);

// The Windows value type numbers; hex(n) values of other numbers keep theirs.
enum class RegValueType : std::uint32_t {
    None = 0,
    String = 1,
    ExpandString = 2,
    Binary = 3,
    DWord = 4,
    DWordBigEndian = 5,
    Link = 6,
    MultiString = 7,
    QWord = 11,
};

struct RegValue {
    AnsiString Name;                  // as first written; "" for the default value
    RegValueType Type = RegValueType::None;
    AnsiString Text;                  // String, ExpandString: up to the first NUL character
    std::vector<AnsiString> Strings;  // MultiString: the texts before the terminating empty one
    std::uint64_t Number = 0;         // DWord, QWord
    std::vector<std::uint8_t> Data;   // the bytes of a hex list as written; dword: 4 bytes, LE
};

struct RegDiagnostic {
    std::string File;
    std::size_t Line = 0;             // 0: the file as a whole (missing, unreadable)
    std::string Reason;
    // "file:line: reason", or "file: reason" for the file as a whole.
    std::string ToString() const;
};

enum class RegParseMode { Lenient, Strict };

class RegistryHive {
public:
    using KeyId = std::size_t;

    // Texts are converted to codePage when loaded; names are compared in it.
    explicit RegistryHive(CodePage codePage = SystemAnsiCodePage());

    // Adds the keys and values of one export file, on top of what is loaded. False when the file
    // was rejected whole (no header, unreadable); bad lines alone still answer true.
    bool LoadFromText(std::string_view bytes, std::string_view fileName,
                      RegParseMode mode = RegParseMode::Lenient);
    // A missing or unreadable file is a diagnostic (strict: raises) and answers false.
    bool LoadFromFile(const std::string& fileName, RegParseMode mode = RegParseMode::Lenient);

    // Every problem met by the loads so far, in order.
    const std::vector<RegDiagnostic>& Diagnostics() const { return diagnostics_; }
    CodePage GetCodePage() const { return codePage_; }

    // path: key names separated by '\' below the root; leading and trailing '\' are ignored and
    // "" is the root key itself, which always exists.
    std::optional<KeyId> FindKey(RegRoot root, std::string_view path) const;
    // Null when the key has no value of that name ("" is the default value).
    const RegValue* FindValue(KeyId key, std::string_view name) const;
    // In the order of their first appearance.
    std::vector<AnsiString> ValueNames(KeyId key) const;
    std::vector<AnsiString> SubKeyNames(KeyId key) const;

private:
    struct Key {
        AnsiString Name;
        std::vector<KeyId> SubKeys;
        std::unordered_map<AnsiString, KeyId> SubKeyIndex;  // by folded name
        std::vector<RegValue> Values;
        std::unordered_map<AnsiString, std::size_t> ValueIndex;  // by folded name
    };

    AnsiString Fold(std::string_view name) const;
    KeyId CreateKey(RegRoot root, const std::vector<AnsiString>& path);
    void SetValue(KeyId key, RegValue value);
    void AddDiagnostic(RegDiagnostic diagnostic);

    CodePage codePage_;
    // Flat, so that deep key paths never recurse; the first five are the roots in RegRoot order.
    std::vector<Key> keys_;
    std::vector<RegDiagnostic> diagnostics_;
};

} // namespace qmx::platform
