#pragma once
// The tables and keys the validator checks and the lookup window lists. One definition serves
// both: the validator finds the row whose key fields equal its arguments, the lookup window
// lists every row.
//
//   table     key  fields answered (in this order)                          key fields
//   ADMMB     01   name, code, subsystem, background only, kind, version,    code
//                  library, English name
//   ADMMB     11   code, name, subsystem, background only                   code
//   GENES     01   scheme name, user, program, creation date                name, user, program
//   COPMA     01   customer, short name, full name, tax number, telephone   customer
//   TISTA     60   draft, date, customer, customer name, total              draft
//   QMXMA     04   user, name, mobile number, e-mail address                user
//   QMXINTMA  01   name, value                                              name
#include <optional>
#include <string_view>
#include <vector>

namespace qmx::reference {

struct LookupField {
    const char* Expression; // SQL expression of the column (a column name, or a sub-select)
    const char* Caption;    // UTF-8 caption of the lookup window's column
    bool Amount = false;    // hidden from users who may not see amounts
};

struct LookupKeyField {
    const char* Column;
    bool IgnoreCase; // codes match without regard to case; names exactly
};

struct LookupDefinition {
    const char* Table;
    const char* Key;
    const char* Title;           // UTF-8 caption of the lookup window
    std::vector<LookupField> Fields;
    std::vector<LookupKeyField> KeyFields;
    const char* Condition;       // always applied ("" for none)
    const char* Order;           // ORDER BY of the lookup window
    int CodeField = 0;           // the field that a user's lookup limit applies to
};

// The definition of a table and key (without regard to case), or null.
const LookupDefinition* FindLookup(std::string_view table, std::string_view key);

// The SELECT of every row of the definition (lookup window).
std::string LookupListSql(const LookupDefinition& definition);
// The SELECT of the rows whose key fields equal :P1, :P2... (validator).
std::string LookupCheckSql(const LookupDefinition& definition);

} // namespace qmx::reference
