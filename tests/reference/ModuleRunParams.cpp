#include "ModuleRunParams.h"

#include <vector>

#include "qmx/CodePage.h"
#include "qmx/reference/LocalClock.h"

namespace qmx::test {

namespace {

Variant W(std::string_view utf8) { return Variant(Utf8ToWide(utf8)); }

Variant Row(std::vector<Variant> values) { return VarArrayOf(std::move(values)); }

Variant FromOne(std::vector<Variant> values) {
    Variant array = VarArrayCreate({{1, static_cast<std::int32_t>(values.size())}});
    for (std::size_t i = 0; i < values.size(); ++i)
        array[static_cast<std::int32_t>(i) + 1] = std::move(values[i]);
    return array;
}

} // namespace

double NowDays() { return reference::NowDateTime(); }

std::string MonthRangeRule(int row) {
    // Range rule: begin to the first, end to the last day of the run date's month.
    const char* fields[] = {"0", "sp01", "Y", "0", "1", "1", "0", "Y", "0", "1", "2", "0", "D"};
    std::string rule;
    for (const char* field : fields)
        rule += std::string(field) + '\x03';
    return rule + std::to_string(row);
}

Variant ModuleRunParams(const RunParamsOptions& options) {
    const double now = NowDays();
    const Variant env = FromOne({W("KLNB07"), Variant(std::int32_t(12)), Variant(std::int32_t(7)),
                                 W(options.DataSource), W(options.User), W(options.DataSource),
                                 Variant::FromDate(now), W("KLNB07S.Class1"), W(options.Periodic ? "b" : "B"),
                                 Variant(std::int32_t(options.Periodic ? 2 : options.RunMode)),
                                 Variant::FromDate(now + (options.RunMode == 2 ? 1 : 0)), W(options.Receivers)});
    const Variant texts = FromOne({Row({W("选择来源日期"), W("sp01")}), Row({W("选择买方编号"), W("sp02")}),
                                   Row({W("选择来源单号"), W("sp03")}), Row({W("选择算税方式"), W("rg06")}),
                                   Row({W("选择发票种类"), W("cbo07")}), Row({W("生成Log文档"), W("chkLog")}),
                                   Row({W("作业日期"), W("edPrintDate")})});
    const Variant info = FromOne({Row({W("\x04"), W("20240101"), W("20240131")}),
                                  Row({W("\x05"), Row({W("C0001"), W("华东电子")})}), Row({W("\x04"), W(""), W("")}),
                                  Row({Variant(std::int32_t(1)), W("取金额算税")}),
                                  Row({Variant(std::int32_t(3)), W("0:全部")}), W("N"), W("20240105")});
    if (!options.Periodic) return VarArrayOf({env, texts, info});

    const std::string start = options.StartDate.empty() ? reference::TodayYmd() : options.StartDate;
    const Variant rule = options.PeriodKind == 3 ? Row({Variant(std::int32_t(3)), Variant(2.5)})
                                                 : Row({Variant(std::int32_t(options.PeriodKind)), W("1")});
    const Variant schedule = Row({W("Y"), W("08:30"), rule, Row({W(start), Variant(std::int32_t(0))})});
    const Variant rules = Row({Variant(std::int32_t(1)), W(MonthRangeRule())});
    return VarArrayOf({env, texts, info, schedule, rules});
}

} // namespace qmx::test
