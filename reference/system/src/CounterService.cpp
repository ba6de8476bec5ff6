#include "CounterService.h"

#include <cctype>
#include <map>

#include "CompanyQuery.h"
#include "qmx/reference/ReferenceText.h"

namespace qmx::reference {

namespace {

std::string_view SkipBlanksAndComments(std::string_view sql) {
    for (;;) {
        const std::size_t start = sql.find_first_not_of(" \t\r\n");
        if (start == std::string_view::npos) return {};
        sql.remove_prefix(start);
        if (sql.starts_with("--")) {
            const std::size_t end = sql.find('\n');
            if (end == std::string_view::npos) return {};
            sql.remove_prefix(end + 1);
        } else if (sql.starts_with("/*")) {
            const std::size_t end = sql.find("*/", 2);
            if (end == std::string_view::npos) return {};
            sql.remove_prefix(end + 2);
        } else {
            return sql;
        }
    }
}

std::vector<AnsiString> SplitFieldNames(const AnsiString& list) {
    std::vector<AnsiString> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(',', start);
        if (end == AnsiString::npos) end = list.size();
        AnsiString name = list.substr(start, end - start);
        const std::size_t first = name.find_first_not_of(" \t");
        if (first != AnsiString::npos) {
            name = name.substr(first, name.find_last_not_of(" \t") - first + 1);
            names.push_back(name);
        }
        start = end + 1;
    }
    return names;
}

} // namespace

bool IsSelectStatement(std::string_view sql) {
    const std::string_view rest = SkipBlanksAndComments(sql);
    if (rest.size() < 6 || !AnsiSameText(rest.substr(0, 6), "SELECT", CP_WESTERN)) return false;
    return rest.size() == 6 || !(std::isalnum(static_cast<unsigned char>(rest[6])) || rest[6] == '_');
}

CounterService::CounterService(std::shared_ptr<const HostContext> context) : context_(std::move(context)) {
    DefineMethod("GetSysInfo", [this](DispatchArgs& args) { return GetSysInfo(args); });
    DefineMethod("GetCounter", [this](DispatchArgs& args) { return GetCounter(args); });
}

Variant CounterService::GetSysInfo(DispatchArgs& args) {
    const CodePage codePage = context_->Settings.DBCodePage;
    const AnsiString company = TextOf(Arg(args, 0, "GetSysInfo"), codePage);
    const AnsiString connection = context_->ConnectionString(context_->Settings.DataSource);
    const char* companySql = "SELECT COMPANY FROM QMXCOMPANY WHERE UPPER(COMPANY) = UPPER(:P1)";
    if (RunSelect(connection, companySql, {company}).Rows.empty())
        throw EOleError("GetSysInfo: the company '" + company + "' is not kept in the database " +
                        context_->Settings.DataSource);
    // The shared values first, then the company's own over them; the order of first appearance
    // stays.
    const QueryResult rows = RunSelect(connection,
                                       "SELECT PARAMNAME, PARAMVALUE FROM QMXPARAM WHERE COMPANY = '' "
                                       "OR UPPER(COMPANY) = UPPER(:P1) ORDER BY CASE WHEN COMPANY = '' "
                                       "THEN 0 ELSE 1 END, PARAMNAME",
                                       {company});
    std::vector<std::pair<AnsiString, AnsiString>> values;
    std::map<AnsiString, std::size_t> index;
    for (const QueryRow& row : rows.Rows) {
        const AnsiString name = TextOf(row[0], codePage);
        const AnsiString value = TextOf(row[1], codePage);
        const AnsiString key = AnsiUpperCase(name, CP_WESTERN);
        if (auto found = index.find(key); found != index.end()) {
            values[found->second].second = value;
        } else {
            index.emplace(key, values.size());
            values.emplace_back(name, value);
        }
    }
    Variant answer = VarArrayCreate({{0, 1}, {0, static_cast<std::int32_t>(values.size()) - 1}});
    VariantArray& array = answer.AsArray();
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto column = static_cast<std::int32_t>(i);
        array.At({0, column}) = values[i].first;
        array.At({1, column}) = values[i].second;
    }
    return answer;
}

Variant CounterService::GetCounter(DispatchArgs& args) {
    const CodePage codePage = context_->Settings.DBCodePage;
    const AnsiString name = AnsiUpperCase(TextOf(Arg(args, 0, "GetCounter"), codePage), CP_WESTERN);
    const Variant& session = Arg(args, 2, "GetCounter");
    const VariantArray* sessionArray = OneDimArray(session);
    if (!sessionArray || sessionArray->ElementCount() < 2)
        throw EOleError("GetCounter: the third argument must be the array [company, data source]");
    const AnsiString dataSource = TextOf((*sessionArray)[sessionArray->LowBound() + 1], codePage);

    if (name == "RESULTCONNECTSTRING") return Variant(context_->ConnectionString(dataSource));
    if (name == "SIMPLESQL") {
        const VariantArray* arguments = OneDimArray(Arg(args, 1, "GetCounter"));
        if (!arguments || arguments->ElementCount() < 1)
            throw EOleError("GetCounter SimpleSQL: the arguments must be the array [SELECT text, field names]");
        return SimpleSql(*arguments, dataSource);
    }
    throw EOleError("GetCounter: there is no counter named '" + name + "'");
}

Variant CounterService::SimpleSql(const VariantArray& arguments, const AnsiString& dataSource) {
    const CodePage codePage = context_->Settings.DBCodePage;
    const std::int32_t low = arguments.LowBound();
    const AnsiString sql = TextOf(arguments[low], codePage);
    if (!IsSelectStatement(sql))
        throw EOleError("GetCounter SimpleSQL runs one SELECT statement only, not: " + sql);
    const AnsiString fieldList = arguments.ElementCount() > 1 ? TextOf(arguments[low + 1], codePage) : AnsiString();

    QueryResult result = RunSelect(context_->ConnectionString(dataSource), sql);
    if (result.Rows.empty()) return Variant::Null();
    const std::vector<AnsiString> wanted = SplitFieldNames(fieldList);
    if (wanted.empty()) return RowsToVariant(result.Rows);

    std::vector<std::size_t> columns;
    for (const AnsiString& field : wanted) {
        std::size_t column = 0;
        while (column < result.FieldNames.size() && !AnsiSameText(result.FieldNames[column], field, CP_WESTERN))
            ++column;
        if (column == result.FieldNames.size())
            throw EOleError("GetCounter SimpleSQL: the statement answers no field '" + field + "'");
        columns.push_back(column);
    }
    std::vector<QueryRow> rows;
    rows.reserve(result.Rows.size());
    for (const QueryRow& row : result.Rows) {
        QueryRow picked;
        for (std::size_t column : columns)
            picked.push_back(row[column]);
        rows.push_back(std::move(picked));
    }
    return RowsToVariant(rows);
}

} // namespace qmx::reference
