#include "LookupWindowService.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "CompanyQuery.h"
#include "LookupCatalog.h"
#include "LookupLimit.h"
#include "lib/LibStrsDates.h"
#include "qmx/Calendar.h"
#include "qmx/reference/HostDialogs.h"
#include "qmx/reference/LocalClock.h"
#include "qmx/reference/ReferenceText.h"

namespace qmx::reference {

namespace {

using TextRow = std::vector<AnsiString>;

bool BoolOr(const Variant& value, bool fallback) {
    if (value.IsEmpty() || value.IsNull()) return fallback;
    try {
        return value.AsBoolean();
    } catch (const Exception&) {
        return fallback;
    }
}

// ASCII letters folded, so that a filter finds "abc" in "ABC"; Chinese characters compare as
// characters, never byte by byte.
std::u16string FoldedWide(const AnsiString& text, CodePage codePage) {
    std::u16string wide = AnsiToWide(text, codePage);
    for (char16_t& ch : wide)
        if (ch >= u'a' && ch <= u'z') ch = static_cast<char16_t>(ch - u'a' + u'A');
    return wide;
}

std::vector<std::u16string> FilterTexts(const Variant& filter, CodePage codePage) {
    std::vector<std::u16string> texts;
    auto add = [&](const Variant& value) {
        const AnsiString text = TextOf(value, codePage);
        if (text.find_first_not_of(' ') != AnsiString::npos) texts.push_back(FoldedWide(text, codePage));
    };
    if (const VariantArray* array = OneDimArray(filter)) {
        for (const Variant& element : array->Elements())
            add(element);
    } else if (!filter.IsArray()) {
        add(filter);
    }
    return texts;
}

bool RowMatches(const TextRow& row, const std::vector<std::u16string>& filters, CodePage codePage) {
    for (const std::u16string& filter : filters) {
        bool found = false;
        for (const AnsiString& field : row)
            if (FoldedWide(field, codePage).find(filter) != std::u16string::npos) found = true;
        if (!found) return false;
    }
    return true;
}

bool IsYmd(std::string_view text) { return !text.empty() && IsValidYmd(text); }

} // namespace

std::vector<std::size_t> ChosenLookupRows(const Variant& answer, const std::vector<TextRow>& rows, bool several,
                                          CodePage codePage) {
    std::vector<std::size_t> chosen;
    auto add = [&](const Variant& item) {
        std::size_t index = rows.size();
        if (item.IsNumeric()) {
            const std::int64_t number = item.AsInt64();
            if (number < 0 || static_cast<std::uint64_t>(number) >= rows.size())
                throw EOleError("The lookup answer names row " + std::to_string(number) + ", which is not listed");
            index = static_cast<std::size_t>(number);
        } else {
            const AnsiString code = TextOf(item, codePage);
            for (std::size_t i = 0; i < rows.size() && index == rows.size(); ++i)
                if (!rows[i].empty() && AnsiSameText(rows[i][0], code, codePage)) index = i;
            if (index == rows.size())
                throw EOleError("The lookup answer names the code '" + code + "', which is not listed");
        }
        if (std::find(chosen.begin(), chosen.end(), index) == chosen.end()) chosen.push_back(index);
    };
    if (answer.IsEmpty() || answer.IsNull()) return chosen;
    if (const VariantArray* array = OneDimArray(answer)) {
        for (const Variant& item : array->Elements())
            add(item);
    } else if (answer.IsArray()) {
        throw EOleError("The lookup answer must be a row, a code or a one-dimensional array of them");
    } else {
        add(answer);
    }
    if (chosen.size() > 1 && !several)
        throw EOleError("The lookup answer chooses several rows where only one may be chosen");
    return chosen;
}

AnsiString ChosenDate(const Variant& answer, CodePage codePage) {
    if (answer.IsEmpty() || answer.IsNull()) return {};
    if (answer.Type() == VarType::Date) {
        const CivilDate date = CivilDateOf(static_cast<std::int64_t>(std::floor(answer.AsDate())));
        char text[48];
        std::snprintf(text, sizeof text, "%04d%02d%02d", static_cast<int>(date.Year), date.Month, date.Day);
        if (!IsYmd(text)) throw EOleError("The date answer lies outside 1753 to 9999");
        return text;
    }
    AnsiString text = TextOf(answer, codePage);
    const std::size_t first = text.find_first_not_of(' ');
    if (first == AnsiString::npos) return {};
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (!IsYmd(text)) throw EOleError("The date answer '" + text + "' is not a date yyyymmdd");
    return text;
}

LookupWindowService::LookupWindowService(std::shared_ptr<const HostContext> context) : context_(std::move(context)) {
    DefineMethod("F2GetData", [this](DispatchArgs& args) { return F2GetData(args); });
    DefineMethod("ShowInputDay", [this](DispatchArgs& args) { return ShowInputDay(args); });
    DefineMethod("GetPhrase", [this](DispatchArgs& args) { return GetPhrase(args); });
}

Variant LookupWindowService::F2GetData(DispatchArgs& args) {
    const CodePage codePage = context_->Settings.DBCodePage;
    const VariantArray* request = OneDimArray(Arg(args, 0, "F2GetData"));
    if (!request || request->ElementCount() != 19)
        throw EOleError("F2GetData takes one array of 19 elements");
    const std::int32_t low = request->LowBound();
    auto element = [&](std::int32_t index) -> const Variant& { return (*request)[low + index]; };

    const AnsiString table = TextOf(element(0), codePage);
    const AnsiString key = TextOf(element(1), codePage);
    const LookupDefinition* definition = FindLookup(table, key);
    if (!definition) throw EOleError("F2GetData: there is no lookup of table " + table + " with key " + key);
    const bool several = BoolOr(element(3), false) && BoolOr(element(16), true);
    const bool seeAmounts = BoolOr(element(15), true);
    const AnsiString dataSource = TextOf(element(6), codePage);
    const LookupLimit limit = LookupLimit::Parse(TextOf(element(14), codePage));
    const std::vector<std::u16string> filters = FilterTexts(element(2), codePage);

    std::vector<TextRow> rows;
    for (const QueryRow& found : RunSelect(context_->ConnectionString(dataSource), LookupListSql(*definition)).Rows) {
        TextRow row;
        for (std::size_t i = 0; i < found.size(); ++i)
            row.push_back(definition->Fields[i].Amount && !seeAmounts ? AnsiString() : TextOf(found[i], codePage));
        if (!limit.Allows(definition->Table, row[static_cast<std::size_t>(definition->CodeField)])) continue;
        if (!RowMatches(row, filters, codePage)) continue;
        rows.push_back(std::move(row));
    }

    std::vector<Variant> captions;
    for (const LookupField& field : definition->Fields)
        captions.emplace_back(context_->Text(field.Caption));
    std::vector<Variant> listed;
    for (const TextRow& row : rows)
        listed.push_back(VarArrayOf(std::vector<Variant>(row.begin(), row.end())));
    HostDialogRequest dialog{HostDialogKind::Lookup,
                             VarArrayOf({Variant(definition->Table), Variant(definition->Key),
                                         Variant(context_->Text(definition->Title)), Variant(several),
                                         VarArrayOf(std::move(captions)), VarArrayOf(std::move(listed)),
                                         Variant(TextOf(element(4), codePage))}),
                             codePage};
    const std::vector<std::size_t> chosen = ChosenLookupRows(RunHostDialog(dialog), rows, several, codePage);
    if (chosen.empty()) return {};
    std::vector<Variant> answer;
    for (std::size_t index : chosen)
        answer.push_back(VarArrayOf(std::vector<Variant>(rows[index].begin(), rows[index].end())));
    return VarArrayOf(std::move(answer));
}

Variant LookupWindowService::ShowInputDay(DispatchArgs& args) {
    const CodePage codePage = context_->Settings.DBCodePage;
    const VariantArray* request = OneDimArray(Arg(args, 0, "ShowInputDay"));
    if (!request || request->ElementCount() < 2)
        throw EOleError("ShowInputDay takes the array [Republic-of-China years, start date, data source]");
    const std::int32_t low = request->LowBound();
    AnsiString start = TextOf((*request)[low + 1], codePage);
    if (!IsYmd(start)) start = TodayYmd();
    const Variant contents = VarArrayOf({Variant(BoolOr((*request)[low], false)), Variant(start)});
    HostDialogRequest dialog{HostDialogKind::Calendar, contents, codePage};
    return Variant(ChosenDate(RunHostDialog(dialog), codePage));
}

Variant LookupWindowService::GetPhrase(DispatchArgs& args) {
    const CodePage codePage = context_->Settings.DBCodePage;
    const AnsiString user = TextOf(Arg(args, 0, "GetPhrase"), codePage);
    const AnsiString dataSource = TextOf(Arg(args, 1, "GetPhrase"), codePage);
    const QueryResult result = RunSelect(context_->ConnectionString(dataSource),
                                         "SELECT PH003 FROM QMXPHRASE WHERE PH001 = '' OR UPPER(PH001) = UPPER(:P1) "
                                         "ORDER BY CASE WHEN PH001 = '' THEN 1 ELSE 0 END, PH002",
                                         {Variant(user)});
    if (result.Rows.empty()) return Variant(AnsiString());
    std::vector<Variant> phrases;
    for (const QueryRow& row : result.Rows)
        phrases.emplace_back(TextOf(row[0], codePage));
    const std::size_t count = phrases.size();
    HostDialogRequest dialog{HostDialogKind::Phrase, VarArrayOf({Variant(user), VarArrayOf(phrases)}), codePage};
    const Variant answer = RunHostDialog(dialog);
    if (answer.IsEmpty() || answer.IsNull()) return Variant(AnsiString());
    if (answer.IsNumeric()) {
        const std::int64_t index = answer.AsInt64();
        if (index < 0 || static_cast<std::uint64_t>(index) >= count)
            throw EOleError("The phrase answer names phrase " + std::to_string(index) + ", which is not listed");
        return phrases[static_cast<std::size_t>(index)];
    }
    return Variant(TextOf(answer, codePage));
}

} // namespace qmx::reference
