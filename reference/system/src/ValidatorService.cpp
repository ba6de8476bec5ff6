#include "ValidatorService.h"

#include "CompanyQuery.h"
#include "LookupCatalog.h"
#include "LookupLimit.h"
#include "qmx/reference/ReferenceText.h"

namespace qmx::reference {

ValidatorService::ValidatorService(std::shared_ptr<const HostContext> context) : context_(std::move(context)) {
    DefineProperty(
        "ProductID", [this](DispatchArgs&) { return productId_; },
        [this](DispatchArgs& args) {
            productId_ = Variant(args.back().AsInteger());
            return Variant();
        });
    DefineProperty(
        "BaseLimited", [this](DispatchArgs&) { return baseLimited_; },
        [this](DispatchArgs& args) {
            baseLimited_ = args.back();
            return Variant();
        });
    DefineMethod("CheckValue", [this](DispatchArgs& args) { return Check(args, "CheckValue"); });
    DefineMethod("QueryData", [this](DispatchArgs& args) { return Check(args, "QueryData"); });
}

Variant ValidatorService::Check(DispatchArgs& args, const char* member) {
    const CodePage codePage = context_->Settings.DBCodePage;
    const AnsiString table = TextOf(Arg(args, 0, member), codePage);
    const AnsiString key = TextOf(Arg(args, 1, member), codePage);
    const AnsiString dataSource = TextOf(Arg(args, 2, member), codePage);
    const Variant& arguments = Arg(args, 3, member);
    Variant& row = Arg(args, 4, member);
    row = Variant();

    const LookupDefinition* definition = FindLookup(table, key);
    if (!definition)
        throw EOleError(std::string(member) + ": there is no check of table " + table + " with key " + key);

    std::vector<Variant> values;
    if (const VariantArray* array = OneDimArray(arguments)) {
        for (const Variant& value : array->Elements())
            values.emplace_back(TextOf(value, codePage));
    } else if (!arguments.IsArray()) {
        values.emplace_back(TextOf(arguments, codePage));
    }
    if (values.size() != definition->KeyFields.size())
        throw EOleError(std::string(member) + " " + table + "/" + key + ": " +
                        std::to_string(definition->KeyFields.size()) + " key values expected, " +
                        std::to_string(values.size()) + " given");

    const LookupLimit limit = LookupLimit::Parse(TextOf(baseLimited_, codePage));
    const QueryResult result = RunSelect(context_->ConnectionString(dataSource), LookupCheckSql(*definition), values);
    for (const QueryRow& found : result.Rows) {
        if (!limit.Allows(definition->Table, TextOf(found[static_cast<std::size_t>(definition->CodeField)], codePage)))
            continue;
        row = RowToVariant(found);
        return Variant(true);
    }
    return Variant(false);
}

} // namespace qmx::reference
