#pragma once
// The rights record of a user on a program (GetPower), read from the company database: users
// (QMXMA) and rights (ADMMF: the program's own row, else the user's row for every program "*",
// else all rights without a lookup limit).
#include "qmx/Variant.h"

namespace qmx::reference {

// The record laid out as ReportCounter.h describes. Raises EOleError for an unknown user.
Variant ReadUserRights(const AnsiString& connectionString, const AnsiString& user, const AnsiString& program);

} // namespace qmx::reference
