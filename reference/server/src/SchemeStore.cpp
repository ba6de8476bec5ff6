#include "SchemeStore.h"

#include "qmx/platform/AdoConnection.h"
#include "qmx/platform/AdoQuery.h"
#include "qmx/reference/ReferenceText.h"

namespace qmx::reference {

namespace {

using platform::TQmADOConnection;
using platform::TQmADOQuery;

// Users and programs are codes and match without regard to case; names match exactly.
constexpr const char* kKeyCondition =
    "NCONDITION = :NAME AND UPPER(CREATOR) = UPPER(:CREATOR) AND UPPER(PROGRAMME) = UPPER(:PROGRAMME)";

void BindKey(TQmADOQuery& query, const SchemeKey& key) {
    query.ParamByName("NAME").Value = key.Name;
    query.ParamByName("CREATOR").Value = key.User;
    query.ParamByName("PROGRAMME").Value = key.Program;
}

bool Exists(TQmADOConnection& connection, const SchemeKey& key) {
    TQmADOQuery query(&connection);
    query.SetSQL(std::string("SELECT COUNT(*) AS N FROM GENES WHERE ") + kKeyCondition);
    BindKey(query, key);
    query.Open();
    return query.FieldByName("N").AsInteger() > 0;
}

// Runs change inside a write transaction; the answer of change decides between commit and
// rollback ("" commits), and any error rolls back and becomes the answer.
template <class Change>
AnsiString InTransaction(const AnsiString& connectionString, Change change) {
    TQmADOConnection connection(connectionString);
    try {
        connection.BeginTrans();
        AnsiString reason = change(connection);
        if (reason.empty()) connection.CommitTrans();
        else connection.RollbackTrans();
        return reason;
    } catch (const Exception& error) {
        if (connection.InTransaction()) {
            try {
                connection.RollbackTrans();
            } catch (const Exception&) {
            }
        }
        return error.Message();
    }
}

} // namespace

SchemeStore::SchemeStore(AnsiString connectionString, CodePage codePage)
    : connectionString_(std::move(connectionString)), codePage_(codePage) {}

AnsiString SchemeStore::Text(std::string_view utf8) const { return LocalText(utf8, codePage_); }

AnsiString SchemeStore::CheckName(const AnsiString& name) const {
    if (name.find_first_not_of(' ') == AnsiString::npos) return Text("方案名不可空白!");
    if (name.size() > kMaxSchemeNameBytes) return Text("方案名长度不可大于20!");
    return {};
}

AnsiString SchemeStore::Insert(const SchemeRow& row, bool replace) {
    if (AnsiString reason = CheckName(row.Key.Name); !reason.empty()) return reason;
    if (row.Key.User.empty() || row.Key.Program.empty()) return Text("方案缺少用户或程序代号!");
    return InTransaction(connectionString_, [&](TQmADOConnection& connection) -> AnsiString {
        const bool exists = Exists(connection, row.Key);
        if (exists && !replace) return Text("此方案名称已经存在! ") + row.Key.Name;
        TQmADOQuery query(&connection);
        if (exists) {
            query.SetSQL(std::string("UPDATE GENES SET SCONDITION = :SCONDITION, VCONDITION = :VCONDITION, "
                                     "CREATE_DATE = :CREATE_DATE WHERE ") +
                         kKeyCondition);
        } else {
            query.SetSQL("INSERT INTO GENES (NCONDITION, SCONDITION, VCONDITION, CREATE_DATE, CREATOR, PROGRAMME) "
                         "VALUES (:NAME, :SCONDITION, :VCONDITION, :CREATE_DATE, :CREATOR, :PROGRAMME)");
        }
        BindKey(query, row.Key);
        query.ParamByName("SCONDITION").Value = row.Controls;
        query.ParamByName("VCONDITION").Value = row.Values;
        query.ParamByName("CREATE_DATE").Value = row.CreateDate;
        query.ExecSQL();
        return {};
    });
}

AnsiString SchemeStore::Delete(const SchemeKey& key) {
    return InTransaction(connectionString_, [&](TQmADOConnection& connection) -> AnsiString {
        TQmADOQuery query(&connection);
        query.SetSQL(std::string("DELETE FROM GENES WHERE ") + kKeyCondition);
        BindKey(query, key);
        if (query.ExecSQL() == 0) return Text("此方案不存在! ") + key.Name;
        return {};
    });
}

AnsiString SchemeStore::Rename(const SchemeKey& from, const SchemeKey& to) {
    if (!AnsiSameText(from.User, to.User, codePage_) || !AnsiSameText(from.Program, to.Program, codePage_))
        return Text("方案只能在同一用户与程序下更名!");
    if (AnsiString reason = CheckName(to.Name); !reason.empty()) return reason;
    if (from.Name == to.Name) return {};
    return InTransaction(connectionString_, [&](TQmADOConnection& connection) -> AnsiString {
        if (!Exists(connection, from)) return Text("此方案不存在! ") + from.Name;
        if (Exists(connection, to)) return Text("此方案名称已经存在! ") + to.Name;
        TQmADOQuery query(&connection);
        query.SetSQL(std::string("UPDATE GENES SET NCONDITION = :NEWNAME WHERE ") + kKeyCondition);
        BindKey(query, from);
        query.ParamByName("NEWNAME").Value = to.Name;
        query.ExecSQL();
        return {};
    });
}

std::vector<SchemeRow> SchemeStore::List(const AnsiString& user, const AnsiString& program) {
    TQmADOConnection connection(connectionString_);
    TQmADOQuery query(&connection);
    query.SetSQL("SELECT NCONDITION, SCONDITION, VCONDITION, CREATE_DATE, CREATOR, PROGRAMME FROM GENES "
                 "WHERE UPPER(CREATOR) = UPPER(:CREATOR) AND UPPER(PROGRAMME) = UPPER(:PROGRAMME) ORDER BY NCONDITION");
    query.ParamByName("CREATOR").Value = user;
    query.ParamByName("PROGRAMME").Value = program;
    std::vector<SchemeRow> rows;
    for (query.Open(); !query.Eof(); query.Next()) {
        SchemeRow row;
        row.Key.Name = query.FieldByName("NCONDITION").AsString();
        row.Controls = query.FieldByName("SCONDITION").AsString();
        row.Values = query.FieldByName("VCONDITION").AsString();
        row.CreateDate = query.FieldByName("CREATE_DATE").AsString();
        row.Key.User = query.FieldByName("CREATOR").AsString();
        row.Key.Program = query.FieldByName("PROGRAMME").AsString();
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace qmx::reference
