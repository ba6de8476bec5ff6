#include "WorkCenterManager.h"

#include <sys/stat.h>

#include <ctime>
#include <filesystem>

#include "CompanyQuery.h"
#include "CounterService.h"
#include "LookupWindowService.h"
#include "ValidatorService.h"
#include "qmx/platform/Paths.h"
#include "qmx/reference/CompanyDirectory.h"
#include "qmx/reference/HostDialogs.h"
#include "qmx/reference/ReferenceText.h"

namespace qmx::reference {

namespace {

AnsiString Trimmed(const AnsiString& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == AnsiString::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A name that stays inside its folder: no delimiter of either kind, not "." or "..".
bool IsBareName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           AnsiFindChar(name, '\\', 0, CP_GB2312) == std::string_view::npos;
}

// The first element of an array argument, or the argument itself.
const Variant& FirstOf(const Variant& value) {
    if (const VariantArray* array = OneDimArray(value)) {
        if (array->ElementCount() == 0) throw EOleError("An array with at least one element was expected");
        return (*array)[array->LowBound()];
    }
    return value;
}

const Variant& ElementOf(const Variant& value, std::int32_t index, const char* member) {
    const VariantArray* array = OneDimArray(value);
    if (!array || array->ElementCount() <= static_cast<std::size_t>(index))
        throw EOleError(std::string(member) + " takes an array of at least " + std::to_string(index + 1) + " elements");
    return (*array)[array->LowBound() + index];
}

} // namespace

AnsiString PackageFileList(const AnsiString& packageFolder, std::string_view fileName) {
    const AnsiString name = AnsiLowerCase(Trimmed(AnsiString(fileName)), CP_GB2312);
    if (!IsBareName(name)) throw EOleError("GetFileList takes a bare file name, not '" + AnsiString(fileName) + "'");
    if (packageFolder.empty()) return {};
    const AnsiString wanted = name + ".zip";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(packageFolder, error)) {
        const AnsiString found = entry.path().filename().string();
        if (AnsiLowerCase(found, CP_GB2312) != wanted || !entry.is_regular_file()) continue;
        struct stat info {};
        if (::stat(entry.path().c_str(), &info) != 0) return {};
        std::tm local{};
        localtime_r(&info.st_mtime, &local);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", &local);
        return "<File>" + name + "</File><Modify>" + stamp + "</Modify><Path>" +
               platform::ExcludeTrailingPathDelimiter(packageFolder) + "\\" + name + "</Path>";
    }
    return {};
}

WorkCenterManager::WorkCenterManager(WorkCenterSettings settings)
    : context_(std::make_shared<HostContext>(HostContext{std::move(settings)})),
      counter_(std::make_shared<CounterService>(context_)),
      validator_(std::make_shared<ValidatorService>(context_)),
      lookupWindow_(std::make_shared<LookupWindowService>(context_)) {
    DefineProperty("Com_Counter", [this](DispatchArgs&) { return Variant(counter_); });
    DefineProperty("Com_Validator", [this](DispatchArgs&) { return Variant(validator_); });
    DefineProperty("Com_F2Window", [this](DispatchArgs&) { return Variant(lookupWindow_); });
    DefineProperty(
        "ProductID", [this](DispatchArgs&) { return Variant(context_->Settings.ProductID); },
        [this](DispatchArgs& args) {
            context_->Settings.ProductID = args.back().AsInteger();
            return Variant();
        });
    DefineSessionText("DataSource", &WorkCenterSettings::DataSource, true);
    DefineSessionText("CompanyId", &WorkCenterSettings::CompanyId);
    DefineSessionText("UserId", &WorkCenterSettings::UserId);
    DefineSessionText("Language", &WorkCenterSettings::Language);
    DefineMethod("GetMessage", [this](DispatchArgs& args) { return GetMessage(args); });
    DefineMethod("CallHelp", [this](DispatchArgs& args) { return CallHelp(args); });
    DefineMethod("GetFileList", [this](DispatchArgs& args) { return GetFileList(args); });
}

void WorkCenterManager::DefineSessionText(const char* name, AnsiString WorkCenterSettings::*field, bool dataSource) {
    DefineProperty(
        name, [this, field](DispatchArgs&) { return Variant(context_->Settings.*field); },
        [this, field, dataSource, name](DispatchArgs& args) {
            AnsiString value = TextOf(args.back(), context_->Settings.DBCodePage);
            if (dataSource && !CompanyDirectory::IsValidDataSource(value))
                throw EOleError(std::string(name) + ": '" + value + "' is not a valid data source name");
            context_->Settings.*field = std::move(value);
            return Variant();
        });
}

Variant WorkCenterManager::GetMessage(DispatchArgs& args) {
    const CodePage codePage = context_->Settings.DBCodePage;
    const AnsiString type = AnsiUpperCase(Trimmed(TextOf(Arg(args, 0, "GetMessage"), codePage)), CP_WESTERN);
    AnsiString number = Trimmed(TextOf(Arg(args, 1, "GetMessage"), codePage));
    if (!number.empty() && number[0] == '-') number.erase(0, 1);
    if (type.size() != 1 || number.empty() || number.size() > 6 ||
        number.find_first_not_of("0123456789") != AnsiString::npos)
        throw EOleError("GetMessage takes a type letter and a number of up to six digits, not '" + type + "', '" +
                        number + "'");
    number.insert(0, 6 - number.size(), '0');
    const QueryResult result = RunSelect(context_->ConnectionString(context_->Settings.DataSource),
                                         "SELECT MS003, MS004 FROM QMXMSG WHERE MS001 = :P1 AND MS002 = :P2",
                                         {Variant(type), Variant(number)});
    if (result.Rows.empty()) return Variant(context_->Text("讯息未定义 [") + type + ";" + number + "]");
    const AnsiString chinese = TextOf(result.Rows[0][0], codePage);
    const AnsiString english = TextOf(result.Rows[0][1], codePage);
    return Variant(context_->English() && !english.empty() ? english : chinese);
}

Variant WorkCenterManager::CallHelp(DispatchArgs& args) {
    const CodePage codePage = context_->Settings.DBCodePage;
    const Variant& request = Arg(args, 0, "CallHelp");
    const AnsiString subsystem = Trimmed(TextOf(ElementOf(request, 0, "CallHelp"), codePage));
    const AnsiString topic = Trimmed(TextOf(ElementOf(request, 1, "CallHelp"), codePage));
    AnsiString file;
    if (!context_->Settings.HelpPath.empty() && IsBareName(subsystem) && IsBareName(topic)) {
        const AnsiString candidate = context_->Settings.HelpPath + subsystem + "/" + topic + ".html";
        if (platform::FileExists(candidate)) file = candidate;
    }
    RunHostDialog({HostDialogKind::Help, VarArrayOf({Variant(subsystem), Variant(topic), Variant(file)}), codePage});
    return {};
}

Variant WorkCenterManager::GetFileList(DispatchArgs& args) {
    const AnsiString name = TextOf(FirstOf(Arg(args, 0, "GetFileList")), context_->Settings.DBCodePage);
    return Variant(PackageFileList(context_->Settings.PackagePath, name));
}

} // namespace qmx::reference
