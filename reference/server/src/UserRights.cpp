#include "UserRights.h"

#include "qmx/platform/AdoConnection.h"
#include "qmx/platform/AdoQuery.h"

namespace qmx::reference {

using platform::TQmADOConnection;
using platform::TQmADOQuery;

Variant ReadUserRights(const AnsiString& connectionString, const AnsiString& user, const AnsiString& program) {
    TQmADOConnection connection(connectionString);
    TQmADOQuery query(&connection);
    query.SetSQL("SELECT MA001, MA002, MA005 FROM QMXMA WHERE UPPER(MA001) = UPPER(:USERID)");
    query.ParamByName("USERID").Value = user;
    query.Open();
    if (query.IsEmpty()) throw EOleError("GetPower: there is no user '" + user + "'");
    const AnsiString userId = query.FieldByName("MA001").AsString();
    const AnsiString userName = query.FieldByName("MA002").AsString();
    AnsiString group = query.FieldByName("MA005").AsString();

    AnsiString flags = "YYYYYYYY";
    AnsiString limitTable;
    AnsiString limitCodes;
    query.SetSQL("SELECT MF003, MF004, MF005, MF006 FROM ADMMF WHERE UPPER(MF001) = UPPER(:USERID) "
                 "AND (UPPER(MF002) = UPPER(:PROGRAM) OR MF002 = '*') "
                 "ORDER BY CASE WHEN MF002 = '*' THEN 1 ELSE 0 END");
    query.ParamByName("USERID").Value = user;
    query.ParamByName("PROGRAM").Value = program;
    query.Open();
    if (!query.IsEmpty()) {
        if (!query.FieldByName("MF003").AsString().empty()) group = query.FieldByName("MF003").AsString();
        flags = query.FieldByName("MF004").AsString();
        limitTable = query.FieldByName("MF005").AsString();
        limitCodes = query.FieldByName("MF006").AsString();
    }

    std::vector<Variant> codes{Variant(std::int32_t(0))};
    if (!limitTable.empty()) {
        std::size_t start = 0;
        while (start <= limitCodes.size()) {
            std::size_t end = limitCodes.find(',', start);
            if (end == AnsiString::npos) end = limitCodes.size();
            AnsiString code = limitCodes.substr(start, end - start);
            const std::size_t first = code.find_first_not_of(' ');
            if (first != AnsiString::npos)
                codes.emplace_back(code.substr(first, code.find_last_not_of(' ') - first + 1));
            start = end + 1;
        }
        codes[0] = Variant(static_cast<std::int32_t>(codes.size() - 1));
    }
    return VarArrayOf({Variant(userId), Variant(userId + "," + program + "," + group + "," + flags), Variant(userName),
                       Variant(group), Variant(limitTable), VarArrayOf(std::move(codes))});
}

} // namespace qmx::reference
