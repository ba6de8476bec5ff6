#include "SqlStatement.h"

#include <limits>
#include <sqlite3.h>
#include <string>

#include "AdoResultSet.h"
#include "TextCodec.h"
#include "SqlDateTime.h"
#include "qmx/platform/AdoConnection.h"
#include "qmx/platform/AdoParameters.h"

namespace qmx::platform::detail {
namespace {

class StatementGuard {
public:
    explicit StatementGuard(sqlite3_stmt* statement) : statement_(statement) {}
    ~StatementGuard() { sqlite3_finalize(statement_); }
    StatementGuard(const StatementGuard&) = delete;
    StatementGuard& operator=(const StatementGuard&) = delete;

private:
    sqlite3_stmt* statement_;
};

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Every error names the SQL text it came from, as the caller wrote it.
[[noreturn]] void Raise(const AnsiString& reason, std::string_view sql, int code = 0) {
    throw EDatabaseError(reason + "\nSQL: " + AnsiString(Trim(sql)), code);
}

[[noreturn]] void RaiseEngineError(sqlite3* db, int code, std::string_view sql, CodePage codePage) {
    Raise(Utf8ToCodePage(sqlite3_errmsg(db), codePage), sql, code & 0xFF);
}

void BindValue(sqlite3_stmt* statement, int index, const TParameter& parameter, CodePage codePage,
               std::string_view sql) {
    const Variant& value = parameter.Value;
    int rc = SQLITE_OK;
    switch (value.Type()) {
    case VarType::Empty:
    case VarType::Null: rc = sqlite3_bind_null(statement, index); break;
    case VarType::Boolean: rc = sqlite3_bind_int(statement, index, value.AsBoolean() ? 1 : 0); break;
    case VarType::Integer:
    case VarType::Int64: rc = sqlite3_bind_int64(statement, index, value.AsInt64()); break;
    case VarType::Double: rc = sqlite3_bind_double(statement, index, value.AsDouble()); break;
    case VarType::Date: {
        const std::string text = FormatSqlDateTime(FromOleDays(value.AsDate()));
        rc = sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        break;
    }
    case VarType::String:
    case VarType::OleStr: {
        const std::string text = value.Type() == VarType::OleStr ? WideToUtf8(value.AsWideString())
                                                                 : CodePageToUtf8(value.AsString(), codePage);
        if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
            Raise("The value of the parameter '" + parameter.Name + "' is too long", sql);
        rc = sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        break;
    }
    default:
        Raise("The parameter '" + parameter.Name + "' holds a value of type " + VarTypeName(value.Type()) +
                  ", which a statement cannot take",
              sql);
    }
    if (rc != SQLITE_OK) RaiseEngineError(sqlite3_db_handle(statement), rc, sql, codePage);
}

void BindParameters(sqlite3_stmt* statement, const TParameters* parameters, CodePage codePage, std::string_view sql) {
    const int count = sqlite3_bind_parameter_count(statement);
    for (int index = 1; index <= count; ++index) {
        const char* name = sqlite3_bind_parameter_name(statement, index);
        if (!name || name[0] == '?') Raise("Unnamed parameters (?) are not supported: name them (:NAME)", sql);
        const AnsiString ansiName = Utf8ToCodePage(name + 1, codePage);
        const TParameter* parameter = parameters ? parameters->FindParam(ansiName) : nullptr;
        if (!parameter) Raise("The parameter '" + ansiName + "' has no value", sql);
        BindValue(statement, index, *parameter, codePage, sql);
    }
}

Variant ColumnValue(sqlite3_stmt* statement, int column, CodePage codePage) {
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER: {
        const sqlite3_int64 value = sqlite3_column_int64(statement, column);
        if (value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max())
            return Variant(static_cast<std::int32_t>(value));
        return Variant(static_cast<std::int64_t>(value));
    }
    case SQLITE_FLOAT: return Variant(sqlite3_column_double(statement, column));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        const std::string_view bytes(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
        // A text some other tool stored in another encoding is handed over as its bytes.
        if (!IsValidUtf8(bytes)) return Variant(AnsiString(bytes));
        return Variant(Utf8ToCodePage(bytes, codePage));
    }
    case SQLITE_BLOB: {
        const auto* blob = static_cast<const char*>(sqlite3_column_blob(statement, column));
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement, column));
        return Variant(blob ? AnsiString(blob, size) : AnsiString());
    }
    default: return Variant::Null();
    }
}

} // namespace

std::int64_t RunSql(TQmADOConnection& connection, std::string_view sql, const TParameters* parameters,
                    ResultSet* result) {
    sqlite3* db = connection.Handle();
    const CodePage codePage = connection.Charset();
    std::string translated;
    try {
        translated = connection.Dialect().Translate(CodePageToUtf8(sql, codePage));
    } catch (const EDatabaseError& error) {
        Raise(Utf8ToCodePage(error.Message(), codePage), sql, error.ErrorCode());
    }

    std::int64_t changes = 0;
    bool haveResult = false;
    const char* tail = translated.data();
    const char* const end = translated.data() + translated.size();
    while (tail < end) {
        sqlite3_stmt* statement = nullptr;
        const char* next = nullptr;
        const int prepared = sqlite3_prepare_v2(db, tail, static_cast<int>(end - tail), &statement, &next);
        if (prepared != SQLITE_OK) RaiseEngineError(db, prepared, sql, codePage);
        tail = next;
        if (!statement) continue; // blanks or comments only
        StatementGuard guard(statement);
        if (result) {
            if (haveResult) Raise("Open runs one statement, and the text holds more", sql);
            if (sqlite3_column_count(statement) == 0)
                Raise("The statement returns no rows: run it with ExecSQL, not Open", sql);
        }
        BindParameters(statement, parameters, codePage, sql);
        const sqlite3_int64 before = sqlite3_total_changes64(db);
        if (result) {
            const int columns = sqlite3_column_count(statement);
            result->codePage = codePage;
            for (int column = 0; column < columns; ++column)
                result->names.push_back(Utf8ToCodePage(sqlite3_column_name(statement, column), codePage));
        }
        for (;;) {
            const int stepped = sqlite3_step(statement);
            if (stepped == SQLITE_DONE) break;
            if (stepped != SQLITE_ROW) RaiseEngineError(db, stepped, sql, codePage);
            if (!result) continue;
            std::vector<Variant> row;
            row.reserve(result->names.size());
            for (int column = 0; column < static_cast<int>(result->names.size()); ++column)
                row.push_back(ColumnValue(statement, column, codePage));
            result->rows.push_back(std::move(row));
        }
        changes += sqlite3_total_changes64(db) - before;
        haveResult = haveResult || result != nullptr;
    }
    if (result) {
        if (!haveResult) Raise("The SQL text holds no statement", sql);
        result->current = 0;
        result->eof = result->rows.empty();
        result->bof = true;
    }
    return changes;
}

} // namespace qmx::platform::detail
