#include "CompanyQuery.h"

#include <string>

#include "qmx/platform/AdoConnection.h"
#include "qmx/platform/AdoQuery.h"

namespace qmx::reference {

using platform::TQmADOConnection;
using platform::TQmADOQuery;

QueryResult RunSelect(const AnsiString& connectionString, std::string_view sql, const std::vector<Variant>& parameters,
                      bool readOnly) {
    TQmADOConnection connection(connectionString);
    connection.Open();
    // Stronger than a read-only open: also a statement that writes and returns rows
    // (INSERT ... RETURNING) is refused.
    if (readOnly) connection.Execute("PRAGMA query_only = 1");
    TQmADOQuery query(&connection);
    query.SetSQL(AnsiString(sql));
    for (std::size_t i = 0; i < parameters.size(); ++i)
        if (auto* parameter = query.Parameters().FindParam("P" + std::to_string(i + 1)))
            parameter->Value = parameters[i];
    QueryResult result;
    query.Open();
    result.FieldNames = query.FieldNames();
    for (; !query.Eof(); query.Next()) {
        QueryRow row;
        row.reserve(static_cast<std::size_t>(query.FieldCount()));
        for (int i = 0; i < query.FieldCount(); ++i)
            row.push_back(query.Fields(i).Value());
        result.Rows.push_back(std::move(row));
    }
    return result;
}

Variant RowToVariant(const QueryRow& row) { return VarArrayOf(row); }

Variant RowsToVariant(const std::vector<QueryRow>& rows) {
    std::vector<Variant> list;
    list.reserve(rows.size());
    for (const QueryRow& row : rows)
        list.push_back(RowToVariant(row));
    return VarArrayOf(std::move(list));
}

} // namespace qmx::reference
