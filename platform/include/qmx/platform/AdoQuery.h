#pragma once
// A query on a TQmADOConnection: an SQL text in SQL Server's dialect with named parameters.
//
//   TQmADOQuery query(&connection);
//   query.SetSQL("SELECT MD007 FROM DEMO..TMCMD WHERE MD004 = :MD004");
//   query.ParamByName("MD004").Value = "6";
//   for (query.Open(); !query.Eof(); query.Next())
//       Use(query.FieldByName("MD007").AsString());
//
// Open reads the whole result at once (the statement holds no lock afterwards), so RecordCount,
// First and Prior are exact. Eof and Bof follow the original toolkit: Next on the last row sets
// Eof and stays on it; an empty result is Eof and Bof at once. Opening a query whose connection
// is closed opens the connection.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "qmx/platform/AdoField.h"
#include "qmx/platform/AdoParameters.h"
#include "qmx/platform/DatabaseError.h"

namespace qmx::platform {

class TQmADOConnection;

class TQmADOQuery {
public:
    explicit TQmADOQuery(TQmADOConnection* connection = nullptr);
    ~TQmADOQuery();
    TQmADOQuery(const TQmADOQuery&) = delete;
    TQmADOQuery& operator=(const TQmADOQuery&) = delete;

    // Not owned; the connection detaches its queries when it goes.
    TQmADOConnection* Connection() const { return connection_; }
    void SetConnection(TQmADOConnection* connection);

    const AnsiString& SQL() const { return sql_; }
    // Closes the query and makes the parameters anew from the text's :NAME parameters.
    void SetSQL(AnsiString sql);

    TParameters& Parameters() { return parameters_; }
    const TParameters& Parameters() const { return parameters_; }
    TParameter& ParamByName(std::string_view name) { return parameters_.ParamByName(name); }

    // Runs the one statement of the text, which must return rows (a SELECT), and keeps its
    // result. Raises EDatabaseError for a statement the engine refuses, one that returns no rows
    // (use ExecSQL), or more than one statement.
    void Open();
    // Runs every statement of the text and answers the rows they changed.
    std::int64_t ExecSQL();
    void Close();
    bool Active() const { return result_ != nullptr; }

    // Navigation; on a closed query Eof and Bof are true and moving raises EDatabaseError.
    bool Eof() const;
    bool Bof() const;
    void First();
    void Last();
    void Next();
    void Prior();
    int RecordCount() const;
    // 1 for the first row; 0 without a current row.
    int RecNo() const;
    bool IsEmpty() const { return RecordCount() == 0; }

    // Fields of the open result; names match without regard to case (the first of two columns of
    // one name wins). FieldByName raises EDatabaseError for an unknown name or a closed query.
    int FieldCount() const;
    std::vector<AnsiString> FieldNames() const;
    TField Fields(int index) const;
    TField FieldByName(std::string_view name) const;
    bool FindField(std::string_view name) const;

private:
    friend class TQmADOConnection;
    TQmADOConnection& OpenConnection();
    void RequireActive(const char* operation) const;
    int FieldIndex(std::string_view name) const;

    TQmADOConnection* connection_ = nullptr;
    AnsiString sql_;
    TParameters parameters_;
    std::shared_ptr<detail::ResultSet> result_;
};

} // namespace qmx::platform
