#pragma once
// Reads one registry export file into a list of keys with their values; the hive merges the list.
// The format, the encodings and the handling of bad input are described in RegistryHive.h.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "qmx/platform/RegistryHive.h"

namespace qmx::platform {

struct RegFileKey {
    RegRoot Root = RegRoot::CurrentUser;
    std::vector<AnsiString> Path;   // key names below the root, in the hive's code page
    std::vector<RegValue> Values;   // in file order; a name may repeat (the last one counts)
};

struct RegFileContent {
    bool Accepted = false;          // false: the file is rejected whole
    std::vector<RegFileKey> Keys;   // one per key line, in file order
};

class RegFileParser {
public:
    // A logical line (a hex list with its continuation lines) longer than this is skipped: no
    // value of the system comes near it, and it bounds what one bad line can cost.
    static constexpr std::size_t MaxLineLength = 1024 * 1024;

    RegFileParser(std::string_view fileName, CodePage codePage, RegParseMode mode);

    // Strict mode raises ERegistryException at the first problem (after recording it).
    RegFileContent Parse(std::string_view bytes);
    const std::vector<RegDiagnostic>& Diagnostics() const { return diagnostics_; }

private:
    enum class Version { V4, V5 };
    // Where value lines go: the current key, nowhere yet, or nowhere because the key line was
    // bad or a deletion.
    enum class KeyState { NoKey, Open, Skipped };

    struct Line {
        std::string_view Text;
        std::size_t Number = 0;
    };

    bool DecodeToUtf8(std::string_view bytes, std::string& utf8);
    bool ReadHeader();
    void ParseKeyLine(std::string_view line, std::size_t number);
    void ParseValueLine(std::string_view line, std::size_t number);
    // Joins the continuation lines of a hex list to data; false when the value must be dropped.
    bool JoinContinuations(std::string& data, std::size_t number);
    bool ParseQuoted(std::string_view& rest, std::string& out, std::size_t number);
    bool ParseData(std::string_view data, RegValue& value, std::size_t number);
    bool ParseHexList(std::string_view data, RegValue& value, std::size_t number);
    bool DecodeTypedBytes(RegValue& value, std::size_t number);
    AnsiString ToAnsi(std::string_view utf8) const;
    bool NextLine(Line& line);
    void Problem(std::size_t line, std::string reason);

    std::string fileName_;
    CodePage codePage_;
    RegParseMode mode_;
    std::vector<RegDiagnostic> diagnostics_;

    std::string text_;          // the file as UTF-8
    std::size_t pos_ = 0;       // next unread byte of text_
    std::size_t lineNumber_ = 0;
    Version version_ = Version::V5;
    KeyState keyState_ = KeyState::NoKey;
    RegFileContent content_;
};

} // namespace qmx::platform
