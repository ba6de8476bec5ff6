#include "RunParams.h"

#include <string>
#include <vector>

#include "lib/LibStrsDates.h"
#include "lib/LibStrsPeriod.h"
#include "qmx/Calendar.h"
#include "qmx/platform/XmlDom.h"
#include "qmx/reference/CompanyDirectory.h"
#include "qmx/reference/ReferenceText.h"

namespace qmx::reference {

namespace {

constexpr char kFieldSeparator = '\x03';
constexpr std::int32_t kMinEnvRows = 12;

class Reader {
public:
    explicit Reader(CodePage codePage) : codePage_(codePage) {}

    [[noreturn]] void Fail(std::string_view utf8Reason, const AnsiString& detail = {}) const {
        throw ERunParams(LocalText("运行参数不正确: ", codePage_) + LocalText(utf8Reason, codePage_) + detail);
    }

    const VariantArray& Array(const Variant& value, std::int32_t low, std::string_view what) const {
        const VariantArray* array = OneDimArray(value);
        if (!array || array->LowBound() != low)
            Fail(what, LocalText(" 不是下标从 ", codePage_) + std::to_string(low) + LocalText(" 开始的一维数组", codePage_));
        return *array;
    }

    AnsiString Text(const Variant& value, std::string_view what) const {
        try {
            return TextOf(value, codePage_);
        } catch (const Exception&) {
            Fail(what, LocalText(" 不是文字", codePage_));
        }
    }

    std::int32_t Integer(const Variant& value, std::string_view what) const {
        if (!value.IsEmpty() && !value.IsNull() && !value.IsArray() && !value.IsDispatch()) {
            try {
                return value.AsInteger();
            } catch (const Exception&) {
            }
        }
        Fail(what, LocalText(" 不是整数", codePage_));
    }

    double DateTime(const Variant& value, std::string_view what) const {
        if (value.Type() == VarType::Date || value.Type() == VarType::Double || value.Type() == VarType::Integer ||
            value.Type() == VarType::Int64) {
            const double days = value.AsDouble();
            if (days >= DayNumberOf(1753, 1, 1) && days < DayNumberOf(10000, 1, 1)) return days;
        }
        Fail(what, LocalText(" 不是有效的日期时间", codePage_));
    }

    CodePage Page() const { return codePage_; }

private:
    CodePage codePage_;
};

bool IsYmd(std::string_view text) { return !text.empty() && IsValidYmd(text); }

bool IsProgramCode(std::string_view code) {
    if (code.empty() || code.size() > 10) return false;
    for (char ch : code)
        if (!((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9'))) return false;
    return true;
}

std::vector<std::string_view> SplitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(kFieldSeparator, start);
        fields.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return fields;
        start = end + 1;
    }
}

void CheckReceivers(const Reader& reader, const AnsiString& receivers) {
    if (receivers.empty() || receivers == "N") return;
    platform::XmlDocument document;
    if (!document.LoadXML(receivers, reader.Page()))
        reader.Fail("通知对象不是有效的 XML: ", document.ParseError());
    if (document.DocumentElement().NodeName() != "Root") reader.Fail("通知对象的根元素不是 Root");
}

struct Schedule {
    AnsiString Time;
    AnsiString FirstRunDate; // "" for the hourly cycle
};

Schedule CheckSchedule(const Reader& reader, const Variant& value) {
    const VariantArray& schedule = reader.Array(value, 0, "周期设置");
    if (schedule.HighBound() != 3) reader.Fail("周期设置应有 4 个元素");
    if (reader.Text(schedule[0], "周期设置[0]") != "Y") reader.Fail("周期设置[0] 应为 Y");

    Schedule result;
    result.Time = reader.Text(schedule[1], "运行时间");
    const auto& time = result.Time;
    const auto digit = [&](std::size_t i) { return time[i] >= '0' && time[i] <= '9'; };
    if (time.size() != 5 || time[2] != ':' || !digit(0) || !digit(1) || !digit(3) || !digit(4) ||
        std::stoi(time.substr(0, 2)) > 23 || std::stoi(time.substr(3, 2)) > 59)
        reader.Fail("运行时间应为 hh:mm: ", time);

    const VariantArray& rule = reader.Array(schedule[2], 0, "周期规则");
    if (rule.HighBound() != 1) reader.Fail("周期规则应有 2 个元素");
    const std::int32_t kind = reader.Integer(rule[0], "周期类别");
    if (kind < 0 || kind > 3) reader.Fail("周期类别应为 0 到 3: ", std::to_string(kind));

    const VariantArray& range = reader.Array(schedule[3], 0, "循环范围");
    if (range.HighBound() < 1) reader.Fail("循环范围至少应有 2 个元素");
    const AnsiString start = reader.Text(range[0], "开始日期");
    if (!IsYmd(start)) reader.Fail("开始日期不是 yyyymmdd 格式的日期: ", start);
    const std::int32_t rangeKind = reader.Integer(range[1], "循环范围类别");
    if (rangeKind < 0 || rangeKind > 2) reader.Fail("循环范围类别应为 0 到 2: ", std::to_string(rangeKind));
    if (rangeKind != 0 && range.HighBound() < 2) reader.Fail("循环范围缺少次数或退出日期");
    AnsiString end;
    if (rangeKind == 1 && reader.Integer(range[2], "反复次数") < 1) reader.Fail("反复次数至少为 1");
    if (rangeKind == 2) {
        end = reader.Text(range[2], "退出日期");
        if (!IsYmd(end)) reader.Fail("退出日期不是 yyyymmdd 格式的日期: ", end);
        if (end < start) reader.Fail("退出日期早于开始日期: ", end);
    }

    if (kind == 3) {
        double hours = 0;
        try {
            hours = rule[1].AsDouble();
        } catch (const Exception&) {
        }
        if (!(hours > 0)) reader.Fail("每隔小时数应大于 0");
        return result;
    }
    result.FirstRunDate = FirstPeriodRunDate(start, schedule[2]);
    if (result.FirstRunDate.empty()) reader.Fail("周期规则无法算出首次运行日期");
    if (!end.empty() && result.FirstRunDate > end) reader.Fail("首次运行日期晚于退出日期: ", result.FirstRunDate);
    return result;
}

void CheckDateRules(const Reader& reader, const Variant& rulesValue, const VariantArray& texts, const Variant& params,
                    const AnsiString& runDate) {
    const VariantArray& rules = reader.Array(rulesValue, 0, "相对日期规则");
    const std::int32_t count = reader.Integer(rules[0], "相对日期规则数目");
    if (count != rules.HighBound()) reader.Fail("相对日期规则数目与规则不符");
    for (std::int32_t i = 1; i <= count; ++i) {
        const AnsiString rule = reader.Text(rules[i], "相对日期规则");
        const std::vector<std::string_view> fields = SplitFields(rule);
        const bool range = fields[0] == "0";
        const std::size_t rowField = range ? 13 : 8;
        if ((fields[0] != "0" && fields[0] != "1") || fields.size() <= rowField)
            reader.Fail("相对日期规则格式不正确: 第 ", std::to_string(i) + LocalText(" 条", reader.Page()));
        const std::int32_t row = reader.Integer(Variant(AnsiString(fields[rowField])), "相对日期规则的条件行号");
        if (row < 1 || row > texts.HighBound())
            reader.Fail("相对日期规则的条件行号超出范围: ", std::to_string(row));
        const VariantArray* textRow = OneDimArray(texts[row]);
        if (!textRow || reader.Text((*textRow)[textRow->LowBound() + 1], "条件控件名") != fields[1])
            reader.Fail("相对日期规则的控件与条件行不符: ", AnsiString(fields[1]));
    }
    Variant parts = VarArrayCreate({{1, 3}});
    parts[1] = params.AsArray()[2];
    parts[2] = params.AsArray()[3];
    parts[3] = rulesValue;
    if (!ApplyRelativeDateRules(parts, runDate).IsArray()) reader.Fail("相对日期规则无法套用到条件信息");
}

} // namespace

JobRecord ReadRunParams(const Variant& params, CodePage codePage) {
    const Reader reader(codePage);
    const VariantArray& all = reader.Array(params, 0, "运行参数");
    if (all.HighBound() != 2 && all.HighBound() != 4) reader.Fail("运行参数应有 3 个元素 (周期性作业 5 个)");

    const VariantArray& env = reader.Array(all[0], 1, "环境设置");
    if (env.HighBound() < kMinEnvRows) reader.Fail("环境设置至少应有 12 行");
    if (reader.Integer(env[2], "环境设置行数") != env.HighBound()) reader.Fail("环境设置的行数与第 2 行不符");
    const std::int32_t condCount = reader.Integer(env[3], "条件行数");
    if (condCount < 1) reader.Fail("条件行数至少为 1");
    const VariantArray& texts = reader.Array(all[1], 1, "条件文字");
    const VariantArray& values = reader.Array(all[2], 1, "条件信息");
    if (texts.HighBound() != condCount || values.HighBound() != condCount)
        reader.Fail("条件文字或条件信息的行数与环境设置第 3 行不符");
    for (std::int32_t row = 1; row <= condCount; ++row) {
        const VariantArray* text = OneDimArray(texts[row]);
        const AnsiString rowText = std::to_string(row) + LocalText(" 行", codePage);
        if (!text || text->ElementCount() < 2) reader.Fail("条件文字行不是 [标题, 控件名]: 第 ", rowText);
        if (reader.Text((*text)[text->LowBound() + 1], "条件控件名").empty())
            reader.Fail("条件文字行没有控件名: 第 ", rowText);
        if (values[row].IsEmpty() || values[row].IsNull()) reader.Fail("条件信息缺失: 第 ", rowText);
    }

    JobRecord job;
    job.ProgramCode = reader.Text(env[1], "程序代号");
    if (!IsProgramCode(job.ProgramCode)) reader.Fail("程序代号不正确: ", job.ProgramCode);
    job.CompanyId = reader.Text(env[4], "公司代号");
    job.UserId = reader.Text(env[5], "用户代号");
    if (job.UserId.empty()) reader.Fail("没有用户代号");
    job.DataSource = reader.Text(env[6], "数据源");
    if (!CompanyDirectory::IsValidDataSource(job.DataSource)) reader.Fail("数据源名称不正确: ", job.DataSource);
    job.Created = reader.DateTime(env[7], "作业时间");
    job.ServerClass = reader.Text(env[8], "服务器程序类别");
    job.JobKind = reader.Text(env[9], "作业类别");
    const char kind = job.JobKind.size() == 1 ? job.JobKind[0] : '\0';
    if (!((kind >= 'A' && kind <= 'Z') || (kind >= 'a' && kind <= 'z'))) reader.Fail("作业类别应为一个字母: ", job.JobKind);
    job.IsPeriodic = kind >= 'a' && kind <= 'z';
    job.RunMode = reader.Integer(env[10], "运行方式");
    if (job.RunMode < 0 || job.RunMode > 2) reader.Fail("运行方式应为 0, 1 或 2: ", std::to_string(job.RunMode));
    job.RunTime = reader.DateTime(env[11], "运行时间");
    job.Receivers = reader.Text(env[12], "通知对象");
    CheckReceivers(reader, job.Receivers);

    if (!job.IsPeriodic) {
        if (all.HighBound() != 2) reader.Fail("非周期性作业不应带周期设置");
        job.Status = job.RunMode == 2 ? JobStatus::Timed : JobStatus::Waiting;
    } else {
        if (all.HighBound() != 4) reader.Fail("周期性作业缺少周期设置或相对日期规则");
        if (job.RunMode != 2) reader.Fail("周期性作业的运行方式应为 2");
        const Schedule schedule = CheckSchedule(reader, all[3]);
        job.ScheduleTime = schedule.Time;
        job.NextRunDate = schedule.FirstRunDate;
        CheckDateRules(reader, all[4], texts, params,
                       schedule.FirstRunDate.empty() ? TodayYmd() : schedule.FirstRunDate);
        job.Status = JobStatus::Periodic;
    }
    job.RunParams = params;
    return job;
}

} // namespace qmx::reference
