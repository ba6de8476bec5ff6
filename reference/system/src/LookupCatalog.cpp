#include "LookupCatalog.h"

#include <string>

#include "qmx/CodePage.h"

namespace qmx::reference {

namespace {

const std::vector<LookupDefinition>& Catalog() {
    static const std::vector<LookupDefinition> catalog = {
        {"ADMMB", "01", "程序",
         {{"MB002", "程序名称"}, {"MB001", "程序代号"}, {"MB003", "子系统"}, {"MB004", "仅后台"},
          {"MB005", "类别"}, {"MB006", "版本"}, {"MB007", "程序库"}, {"MB008", "英文名称"}},
         {{"MB001", true}}, "", "MB001", 1},
        {"ADMMB", "11", "程序",
         {{"MB001", "程序代号"}, {"MB002", "程序名称"}, {"MB003", "子系统"}, {"MB004", "仅后台"}},
         {{"MB001", true}}, "", "MB001", 0},
        {"GENES", "01", "条件方案",
         {{"NCONDITION", "方案名称"}, {"CREATOR", "建立者"}, {"PROGRAMME", "程序代号"}, {"CREATE_DATE", "建立日期"}},
         {{"NCONDITION", false}, {"CREATOR", true}, {"PROGRAMME", true}}, "", "PROGRAMME, CREATOR, NCONDITION", 0},
        {"COPMA", "01", "客户信息查询",
         {{"MA001", "客户编号"}, {"MA002", "客户简称"}, {"MA003", "客户全称"}, {"MA004", "税号"}, {"MA005", "电话"}},
         {{"MA001", true}}, "", "MA001", 0},
        {"TISTA", "60", "销项发票底稿信息查询",
         {{"TA001", "底稿单号"},
          {"TA002", "来源日期"},
          {"TA003", "客户编号"},
          {"(SELECT MA002 FROM COPMA WHERE COPMA.MA001 = TISTA.TA003)", "客户简称"},
          {"TA007", "价税合计", true}},
         {{"TA001", true}}, "", "TA002, TA001", 0},
        {"QMXMA", "04", "系统用户",
         {{"MA001", "用户代号"}, {"MA002", "姓名"}, {"MA003", "手机号码"}, {"MA004", "邮箱地址"}},
         {{"MA001", true}}, "MA006 = 'Y'", "MA001", 0},
        {"QMXINTMA", "01", "系统设置值",
         {{"MA001", "设置项"}, {"MA003", "设置值"}},
         {{"MA001", false}}, "", "MA001", 0},
    };
    return catalog;
}

std::string SelectList(const LookupDefinition& definition) {
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < definition.Fields.size(); ++i) {
        if (i) sql += ", ";
        sql += definition.Fields[i].Expression;
    }
    return sql + " FROM " + definition.Table;
}

} // namespace

const LookupDefinition* FindLookup(std::string_view table, std::string_view key) {
    for (const LookupDefinition& definition : Catalog())
        if (AnsiSameText(table, definition.Table, CP_WESTERN) && AnsiSameText(key, definition.Key, CP_WESTERN))
            return &definition;
    return nullptr;
}

std::string LookupListSql(const LookupDefinition& definition) {
    std::string sql = SelectList(definition);
    if (*definition.Condition) sql += std::string(" WHERE ") + definition.Condition;
    return sql + " ORDER BY " + definition.Order;
}

std::string LookupCheckSql(const LookupDefinition& definition) {
    std::string sql = SelectList(definition) + " WHERE ";
    if (*definition.Condition) sql += std::string("(") + definition.Condition + ") AND ";
    for (std::size_t i = 0; i < definition.KeyFields.size(); ++i) {
        const LookupKeyField& field = definition.KeyFields[i];
        const std::string parameter = ":P" + std::to_string(i + 1);
        if (i) sql += " AND ";
        sql += field.IgnoreCase ? "UPPER(" + std::string(field.Column) + ") = UPPER(" + parameter + ")"
                                : std::string(field.Column) + " = " + parameter;
    }
    return sql;
}

} // namespace qmx::reference
