#pragma once
// Read-only INI file after the Windows private-profile rules. The file is read once, when the
// object is made; later changes to the file are not seen.
//
// Rules:
// - "[name]" starts a section; the name is trimmed and ends at the first ']' (text after it is
//   ignored; without ']' the name runs to the end of the line). "key=value" lines belong to the
//   section above them; lines before the first section, lines without '=' and lines with an empty
//   key are ignored.
// - Section and key names match without regard to case (ASCII letters, and Latin-1 letters on page
//   1252; a double-byte character matches only itself, even when its trail byte is a letter).
// - The first of two sections or keys of the same name wins. A later section of a name already
//   seen is ignored as a whole, keys and all: Windows reads only the first section of a name.
// - A line whose first non-blank character is ';' is a comment; a ';' anywhere else belongs to
//   the text ("a=b ;c" reads "b ;c").
// - Keys and values are trimmed of spaces and tabs; then a matching pair of quotes around the
//   value ("..." or '...') is removed, once.
// - CRLF or LF line ends. A NUL byte ends the text of its line: the rest of that line is ignored,
//   the next line is read as usual. Lines have no length limit.
// - The bytes are the system's code page and are kept as they are. A file that declares another
//   encoding by its byte order mark (UTF-8, or UTF-16LE) is converted to the code page, so every
//   text read is code-page bytes all the same.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "qmx/CodePage.h"

namespace qmx::platform {

class TIniFile {
public:
    // A missing file reads as empty; so does an unreadable one, and LoadError() tells why.
    explicit TIniFile(std::string fileName, CodePage codePage = SystemAnsiCodePage());
    // The same rules over bytes in memory; FileName() is the name given.
    static TIniFile FromText(std::string_view bytes, std::string fileName = {},
                             CodePage codePage = SystemAnsiCodePage());

    const std::string& FileName() const { return fileName_; }
    // Why an existing file could not be read; "" when it was read or does not exist.
    const std::string& LoadError() const { return loadError_; }

    // The value (possibly ""), or defaultValue when the section or key is missing.
    AnsiString ReadString(std::string_view section, std::string_view ident, std::string_view defaultValue) const;
    // A whole number in the range of int: decimal with an optional sign, or "0x" and 1 to 8 hex
    // digits (0xFFFFFFFF is -1). Anything else gives defaultValue, also digits followed by other
    // text ("12abc"), an empty value and a number out of range.
    int ReadInteger(std::string_view section, std::string_view ident, int defaultValue) const;
    // ReadInteger(section, ident, defaultValue ? 1 : 0) != 0.
    bool ReadBool(std::string_view section, std::string_view ident, bool defaultValue) const;

    // The key names of the section in file order, as written; a key written twice is listed twice.
    std::vector<AnsiString> ReadSection(std::string_view section) const;
    // The section names in file order, as first written, each once.
    std::vector<AnsiString> ReadSections() const;
    // "key=value" per key of ReadSection, value as ReadString gives it: a key written twice
    // gives two lines, both with the first value.
    std::vector<AnsiString> ReadSectionValues(std::string_view section) const;
    // The section is in the file, also when it holds no key.
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view ident) const;

private:
    struct Entry {
        AnsiString Key;
        AnsiString Value;
    };
    struct Section {
        AnsiString Name;
        std::vector<Entry> Entries;
        std::unordered_map<AnsiString, std::size_t> KeyIndex;  // folded key -> first entry
    };

    TIniFile(std::string fileName, CodePage codePage, std::string_view bytes);
    void Parse(std::string_view bytes);
    // current: index of the section that takes key lines, npos for none (or an ignored one).
    void ParseLine(std::string_view line, std::size_t& current);
    const Section* FindSection(std::string_view name) const;
    const Entry* FindEntry(std::string_view section, std::string_view ident) const;

    std::string fileName_;
    CodePage codePage_;
    std::string loadError_;
    std::vector<Section> sections_;
    std::unordered_map<AnsiString, std::size_t> sectionIndex_;  // folded name -> section
};

} // namespace qmx::platform
