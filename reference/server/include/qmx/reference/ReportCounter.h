#pragma once
// The application-server object "ReportCounterS.dmReportCounter": condition schemes, user
// rights, job registration into the dispatch center's queue, status and direct execution.
//
//   LoadTable([user, program]&)                  selects the schemes the provider answers
//   AS_GetRecords(provider, count, recsOut&, ...) rows of the provider "pvdConSave": the data
//                                                packet [field names, rows] (rows: arrays in the
//                                                field order NCONDITION, SCONDITION, VCONDITION,
//                                                CREATE_DATE, CREATOR, PROGRAMME); count -1: all
//   AS_GetProviderNames()                        ["pvdConSave"]
//   InsertConTable([name, user, yyyymmdd, program, controls, values, replace])
//   DeleteConTable([name, user, program])
//   ChangeConName([old, user, program], [new, user, program])
//                                                "" on success, else the reason (a text)
//   GetPower([dataSource, user, program, ""])    the rights record:
//                                                [0] user, [1] "user,program,group,flags" (flags:
//                                                eight Y/N: query, add, change, delete, print,
//                                                export, lookup several rows, see amounts),
//                                                [2] user name, [3] group, [4] the table the
//                                                user's lookups are limited to ("" none),
//                                                [5] [n, code 1 .. code n] the codes allowed
//   Request(runParams [, computer])              the job number, or "ERROR" (nothing stored)
//   ErrorDescript                                the reason of the last "ERROR"
//   ExecSvrDLL(job&, program, "", company, user, serverClass, kind, dataSource, info&, 1, step,
//              product)                          runs a job registered for direct processing
//                                                (Request with a computer) at once (JobExecutor)
//   UpdateStatus(job&, texts, dateTime)          records the end of a direct run
//
// Schemes and rights live in the company database; the data source of the last GetPower or
// Request names it, the configured main database before that. Jobs go to the queue database.
//
// Settings: registry HKEY_LOCAL_MACHINE\Software\QMX\Taskora value ServerPath, and in that folder
// TaskoraS.ini:
//   [CodePage]   DBCodePage       code page of the texts exchanged with the module ("936")
//   [DBE Setting] MainDBType      "SQLite" (the only engine of this server)
//                MainServerName   folder of the company databases (<data source>.db)
//                MainDBName       the data source used before any call names one
//   [Job Queue]  Database         the queue database ("Taskora.db")
//   [WorkDLLPath] ...             folders of the server modules (default S_PKG)
// Folder values are configuration paths relative to ServerPath.
#include <memory>
#include <string>
#include <vector>

#include "qmx/Dispatch.h"

namespace qmx::reference {

inline constexpr const char* ReportCounterProgId = "ReportCounterS.dmReportCounter";
inline constexpr const char* ReportCounterFactorySymbol = "ReportCounterSCreateObject";

// A job to run at once (ExecSvrDLL), with the arguments as the module passed them.
struct DirectRun {
    AnsiString JobNumber;
    AnsiString ProgramCode;
    AnsiString Spare;
    AnsiString CompanyId;
    AnsiString UserId;
    AnsiString ServerClass;
    AnsiString JobKind;
    AnsiString DataSource;
    Variant ConditionInfo;
    std::int32_t RunFlag = 1;
    AnsiString StepNumber;
    std::int32_t ProductId = 0;
    // The server's work folders, where the program's server module is looked for.
    std::vector<AnsiString> WorkFolders;
};

// Runs jobs for ExecSvrDLL; the job runner installs one. RunJob raises to report a failure and
// answers the job's last message.
class JobExecutor {
public:
    virtual ~JobExecutor() = default;
    virtual AnsiString RunJob(const DirectRun& run) = 0;
};

// Process-wide; null removes it (ExecSvrDLL then raises: no job can run). Answers the one before.
std::shared_ptr<JobExecutor> SetJobExecutor(std::shared_ptr<JobExecutor> executor);

// Registers the class in this process (CreateOleObject then makes it without the registry).
void RegisterReportCounterClass();
// A new server object with the settings the registry and TaskoraS.ini hold now.
DispatchPtr CreateReportCounter();

} // namespace qmx::reference

// The registry factory (see ClassRegistry.h).
extern "C" qmx::Dispatch* ReportCounterSCreateObject(const char* progId);
