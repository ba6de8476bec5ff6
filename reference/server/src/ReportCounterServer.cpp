#include "ReportCounterServer.h"

#include <mutex>

#include "RunParams.h"
#include "lib/LibStrsDates.h"
#include "UserRights.h"
#include "qmx/platform/Paths.h"
#include "qmx/reference/ReferenceText.h"
#include "qmx/reference/ReportCounter.h"

namespace qmx::reference {

namespace {

constexpr const char* kSchemeProvider = "pvdConSave";

struct ExecutorSlot {
    std::mutex mutex;
    std::shared_ptr<JobExecutor> executor;
};

ExecutorSlot& Executor() {
    static ExecutorSlot slot;
    return slot;
}

bool BoolOr(const Variant& value, bool fallback) {
    if (value.IsEmpty() || value.IsNull()) return fallback;
    try {
        return value.AsBoolean();
    } catch (const Exception&) {
        return fallback;
    }
}

} // namespace

std::shared_ptr<JobExecutor> SetJobExecutor(std::shared_ptr<JobExecutor> executor) {
    ExecutorSlot& slot = Executor();
    std::lock_guard lock(slot.mutex);
    std::swap(slot.executor, executor);
    return executor;
}

ReportCounterServer::ReportCounterServer(ServerSettings settings)
    : settings_(std::move(settings)), queue_(settings_.QueueFile, settings_.DBCodePage),
      dataSource_(settings_.MainDataSource) {
    DefineMethod("LoadTable", [this](DispatchArgs& args) { return LoadTable(args); });
    DefineMethod("AS_GetRecords", [this](DispatchArgs& args) { return GetRecords(args); });
    DefineMethod("AS_GetProviderNames", [](DispatchArgs&) { return VarArrayOf({Variant(kSchemeProvider)}); });
    DefineMethod("InsertConTable", [this](DispatchArgs& args) { return InsertConTable(args); });
    DefineMethod("DeleteConTable", [this](DispatchArgs& args) { return DeleteConTable(args); });
    DefineMethod("ChangeConName", [this](DispatchArgs& args) { return ChangeConName(args); });
    DefineMethod("GetPower", [this](DispatchArgs& args) { return GetPower(args); });
    DefineMethod("Request", [this](DispatchArgs& args) { return Request(args); });
    DefineProperty("ErrorDescript", [this](DispatchArgs&) { return Variant(lastError_); });
    DefineMethod("ExecSvrDLL", [this](DispatchArgs& args) { return ExecSvrDLL(args); });
    DefineMethod("UpdateStatus", [this](DispatchArgs& args) { return UpdateStatus(args); });
}

AnsiString ReportCounterServer::Text(std::string_view utf8) const { return LocalText(utf8, settings_.DBCodePage); }

std::vector<AnsiString> ReportCounterServer::Texts(const Variant& value, std::size_t count, const char* member) const {
    const VariantArray* array = OneDimArray(value);
    if (!array || array->ElementCount() < count)
        throw EOleError(std::string(member) + " takes an array of " + std::to_string(count) + " elements");
    std::vector<AnsiString> texts;
    for (std::size_t i = 0; i < count; ++i)
        texts.push_back(TextOf((*array)[array->LowBound() + static_cast<std::int32_t>(i)], settings_.DBCodePage));
    return texts;
}

SchemeStore ReportCounterServer::Schemes() const {
    if (dataSource_.empty()) throw EOleError("No company database is chosen: TaskoraS.ini names no MainDBName");
    return SchemeStore(settings_.Companies().ConnectionString(dataSource_), settings_.DBCodePage);
}

Variant ReportCounterServer::LoadTable(DispatchArgs& args) {
    const std::vector<AnsiString> key = Texts(Arg(args, 0, "LoadTable"), 2, "LoadTable");
    listUser_ = key[0];
    listProgram_ = key[1];
    listLoaded_ = true;
    return {};
}

Variant ReportCounterServer::GetRecords(DispatchArgs& args) {
    const AnsiString provider = TextOf(Arg(args, 0, "AS_GetRecords"), settings_.DBCodePage);
    if (!AnsiSameText(provider, kSchemeProvider, CP_WESTERN))
        throw EOleError("AS_GetRecords: there is no provider '" + provider + "'");
    std::int32_t count = -1;
    if (args.size() > 1 && !args[1].IsEmpty() && !args[1].IsNull()) count = args[1].AsInteger();

    std::vector<Variant> rows;
    if (listLoaded_) {
        for (const SchemeRow& scheme : Schemes().List(listUser_, listProgram_)) {
            if (count >= 0 && static_cast<std::int32_t>(rows.size()) >= count) break;
            rows.push_back(VarArrayOf({Variant(scheme.Key.Name), Variant(scheme.Controls), Variant(scheme.Values),
                                       Variant(scheme.CreateDate), Variant(scheme.Key.User),
                                       Variant(scheme.Key.Program)}));
        }
    }
    if (args.size() > 2) args[2] = Variant(static_cast<std::int32_t>(rows.size()));
    return VarArrayOf({VarArrayOf({Variant("NCONDITION"), Variant("SCONDITION"), Variant("VCONDITION"),
                                   Variant("CREATE_DATE"), Variant("CREATOR"), Variant("PROGRAMME")}),
                       VarArrayOf(std::move(rows))});
}

Variant ReportCounterServer::InsertConTable(DispatchArgs& args) {
    const Variant& value = Arg(args, 0, "InsertConTable");
    const VariantArray* array = OneDimArray(value);
    if (!array || array->ElementCount() != 7)
        return Variant(Text("保存方案的参数应为 7 个元素的数组: 名称, 用户, 日期, 程序, 控件, 值, 是否替换"));
    const std::vector<AnsiString> texts = Texts(value, 6, "InsertConTable");
    SchemeRow row{{texts[0], texts[1], texts[3]}, texts[4], texts[5], texts[2]};
    if (row.CreateDate.empty() || !IsValidYmd(row.CreateDate))
        return Variant(Text("方案的建立日期不是 yyyymmdd 格式: ") + row.CreateDate);
    return Variant(Schemes().Insert(row, BoolOr((*array)[array->LowBound() + 6], false)));
}

Variant ReportCounterServer::DeleteConTable(DispatchArgs& args) {
    const std::vector<AnsiString> key = Texts(Arg(args, 0, "DeleteConTable"), 3, "DeleteConTable");
    return Variant(Schemes().Delete({key[0], key[1], key[2]}));
}

Variant ReportCounterServer::ChangeConName(DispatchArgs& args) {
    const std::vector<AnsiString> from = Texts(Arg(args, 0, "ChangeConName"), 3, "ChangeConName");
    const std::vector<AnsiString> to = Texts(Arg(args, 1, "ChangeConName"), 3, "ChangeConName");
    return Variant(Schemes().Rename({from[0], from[1], from[2]}, {to[0], to[1], to[2]}));
}

Variant ReportCounterServer::GetPower(DispatchArgs& args) {
    const std::vector<AnsiString> request = Texts(Arg(args, 0, "GetPower"), 3, "GetPower");
    const AnsiString connection = settings_.Companies().ConnectionString(request[0]);
    Variant rights = ReadUserRights(connection, request[1], request[2]);
    dataSource_ = request[0];
    return rights;
}

Variant ReportCounterServer::Request(DispatchArgs& args) {
    try {
        JobRecord job = ReadRunParams(Arg(args, 0, "Request"), settings_.DBCodePage);
        if (!settings_.Companies().Exists(job.DataSource))
            throw ERunParams(Text("数据源不存在: ") + job.DataSource);
        if (args.size() > 1) {
            // Direct processing: the client runs the job itself, no runner may take it.
            job.Computer = TextOf(args[1], settings_.DBCodePage);
            job.Status = JobStatus::Client;
        }
        job.Created = NowDateTime();
        const AnsiString number = queue_.Register(job);
        dataSource_ = job.DataSource;
        lastError_.clear();
        return Variant(number);
    } catch (const Exception& error) {
        lastError_ = error.Message();
    } catch (const std::exception& error) {
        lastError_ = error.what();
    }
    return Variant("ERROR");
}

Variant ReportCounterServer::ExecSvrDLL(DispatchArgs& args) {
    if (args.size() < 12)
        throw EOleError("ExecSvrDLL takes twelve arguments, " + std::to_string(args.size()) + " given");
    const CodePage codePage = settings_.DBCodePage;
    DirectRun run;
    run.JobNumber = TextOf(args[0], codePage);
    run.ProgramCode = TextOf(args[1], codePage);
    run.Spare = TextOf(args[2], codePage);
    run.CompanyId = TextOf(args[3], codePage);
    run.UserId = TextOf(args[4], codePage);
    run.ServerClass = TextOf(args[5], codePage);
    run.JobKind = TextOf(args[6], codePage);
    run.DataSource = TextOf(args[7], codePage);
    run.ConditionInfo = args[8];
    run.RunFlag = args[9].AsInteger();
    run.StepNumber = TextOf(args[10], codePage);
    run.ProductId = args[11].AsInteger();
    run.WorkFolders = settings_.WorkFolders;

    const std::optional<JobRecord> job = queue_.Find(run.JobNumber);
    if (!job) throw EOleError("ExecSvrDLL: there is no job " + run.JobNumber);
    // Only a job registered for direct processing: running a queued or periodic job here would
    // end its place in the queue.
    if (job->Computer.empty())
        throw EOleError("ExecSvrDLL: job " + run.JobNumber + " was not registered for direct processing");
    std::shared_ptr<JobExecutor> executor;
    {
        ExecutorSlot& slot = Executor();
        std::lock_guard lock(slot.mutex);
        executor = slot.executor;
    }
    if (!executor) throw EOleError("ExecSvrDLL: this server has no job runner to run job " + run.JobNumber);
    queue_.SetStatus(run.JobNumber, JobStatus::Running, {}, NowDateTime());
    try {
        const AnsiString message = executor->RunJob(run);
        queue_.SetStatus(run.JobNumber, JobStatus::Done, message, NowDateTime());
        return Variant(message);
    } catch (const Exception& error) {
        queue_.SetStatus(run.JobNumber, JobStatus::Failed, error.Message(), NowDateTime());
        throw;
    } catch (const std::exception& error) {
        queue_.SetStatus(run.JobNumber, JobStatus::Failed, error.what(), NowDateTime());
        throw EOleError(std::string("ExecSvrDLL: ") + error.what());
    }
}

Variant ReportCounterServer::UpdateStatus(DispatchArgs& args) {
    const AnsiString number = TextOf(Arg(args, 0, "UpdateStatus"), settings_.DBCodePage);
    const AnsiString texts = TextOf(Arg(args, 1, "UpdateStatus"), settings_.DBCodePage);
    const Variant& when = Arg(args, 2, "UpdateStatus");
    double time = NowDateTime();
    if (when.Type() == VarType::Date || when.Type() == VarType::Double) time = when.AsDouble();
    const std::optional<JobRecord> job = queue_.Find(number);
    if (!job) throw EOleError("UpdateStatus: there is no job " + number);
    // A direct run has ended; a job of the queue keeps its place (and a failure stays one).
    const bool direct = job->Status == JobStatus::Client || job->Status == JobStatus::Running;
    const char status = direct ? JobStatus::Done : job->Status;
    queue_.SetStatus(number, status, texts, time);
    return {};
}

} // namespace qmx::reference
