#pragma once
// The condition schemes of a company database (table GENES), one per name, user and program.
// Every change answers "" on success or the reason in the database code page; nothing is
// changed when a reason is answered.
#include <vector>

#include "qmx/CodePage.h"
#include "qmx/Variant.h"

namespace qmx::reference {

inline constexpr std::size_t kMaxSchemeNameBytes = 20;

struct SchemeKey {
    AnsiString Name;
    AnsiString User;
    AnsiString Program;
};

struct SchemeRow {
    SchemeKey Key;
    AnsiString Controls;
    AnsiString Values;
    AnsiString CreateDate;
};

class SchemeStore {
public:
    SchemeStore(AnsiString connectionString, CodePage codePage);

    AnsiString Insert(const SchemeRow& row, bool replace);
    AnsiString Delete(const SchemeKey& key);
    AnsiString Rename(const SchemeKey& from, const SchemeKey& to);
    // The schemes of a user and program, by name.
    std::vector<SchemeRow> List(const AnsiString& user, const AnsiString& program);

    // The reason a name cannot be taken ("" when it can): blank, or longer than 20 bytes.
    AnsiString CheckName(const AnsiString& name) const;

private:
    AnsiString Text(std::string_view utf8) const;

    AnsiString connectionString_;
    CodePage codePage_;
};

} // namespace qmx::reference
