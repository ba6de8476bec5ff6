#pragma once
// Read access to a company database for the services: one SELECT with bound parameters, its rows
// as Variants (texts in the connection's code page).
#include <string_view>
#include <vector>

#include "qmx/Variant.h"

namespace qmx::reference {

using QueryRow = std::vector<Variant>;

struct QueryResult {
    std::vector<AnsiString> FieldNames;
    std::vector<QueryRow> Rows;
};

// Opens the database of the connection string, runs the SELECT with parameters :P1, :P2... bound
// to the values in order, and answers every row. readOnly: the connection refuses any change to
// the database (for statements that come from outside). Raises the database layer's error.
QueryResult RunSelect(const AnsiString& connectionString, std::string_view sql,
                      const std::vector<Variant>& parameters = {}, bool readOnly = true);

// The rows as a Variant array of row arrays (both from 0).
Variant RowsToVariant(const std::vector<QueryRow>& rows);
Variant RowToVariant(const QueryRow& row);

} // namespace qmx::reference
