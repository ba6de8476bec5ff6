#pragma once
// The SQL files of the company database, compiled in (UTF-8).

namespace qmx::reference::detail {

extern const char* const CompanySchemaText;
extern const char* const CompanySeedText;

} // namespace qmx::reference::detail
