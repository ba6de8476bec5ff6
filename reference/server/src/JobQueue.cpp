#include "qmx/reference/JobQueue.h"

#include <cstdio>

#include "qmx/platform/AdoConnection.h"
#include "qmx/platform/AdoQuery.h"
#include "qmx/reference/CompanyDatabase.h"
#include "qmx/reference/VariantCodec.h"

namespace qmx::reference {

namespace {

using platform::TQmADOConnection;
using platform::TQmADOQuery;

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS JOBQUEUE (
    JOBNO        CHAR(14)     NOT NULL PRIMARY KEY,
    PROGRAM      VARCHAR(10)  NOT NULL,
    COMPANY      VARCHAR(20)  NOT NULL DEFAULT '',
    USERID       VARCHAR(10)  NOT NULL,
    DATASOURCE   VARCHAR(64)  NOT NULL,
    SERVERCLASS  VARCHAR(40)  NOT NULL DEFAULT '',
    JOBKIND      CHAR(1)      NOT NULL,
    PERIODIC     CHAR(1)      NOT NULL DEFAULT 'N',
    RUNMODE      INTEGER      NOT NULL DEFAULT 0,
    RUNTIME      VARCHAR(23),
    RECEIVERS    TEXT         NOT NULL DEFAULT '',
    COMPUTER     VARCHAR(16)  NOT NULL DEFAULT '',
    SCHEDULETIME CHAR(5)      NOT NULL DEFAULT '',
    NEXTRUNDATE  CHAR(8)      NOT NULL DEFAULT '',
    STATUS       CHAR(1)      NOT NULL,
    STATUSTEXT   TEXT         NOT NULL DEFAULT '',
    STATUSTIME   VARCHAR(23),
    CREATED      VARCHAR(23)  NOT NULL,
    PARAMS       TEXT         NOT NULL
);
CREATE INDEX IF NOT EXISTS JOBQUEUE_STATUS ON JOBQUEUE (STATUS, RUNTIME);
)";

constexpr const char* kColumns =
    "JOBNO, PROGRAM, COMPANY, USERID, DATASOURCE, SERVERCLASS, JOBKIND, PERIODIC, RUNMODE, RUNTIME, RECEIVERS, "
    "COMPUTER, SCHEDULETIME, NEXTRUNDATE, STATUS, STATUSTEXT, STATUSTIME, CREATED, PARAMS";

Variant DateOrNull(double days) { return days == 0 ? Variant::Null() : Variant::FromDate(days); }

JobRecord ReadRecord(const TQmADOQuery& query) {
    JobRecord job;
    job.JobNumber = query.FieldByName("JOBNO").AsString();
    job.ProgramCode = query.FieldByName("PROGRAM").AsString();
    job.CompanyId = query.FieldByName("COMPANY").AsString();
    job.UserId = query.FieldByName("USERID").AsString();
    job.DataSource = query.FieldByName("DATASOURCE").AsString();
    job.ServerClass = query.FieldByName("SERVERCLASS").AsString();
    job.JobKind = query.FieldByName("JOBKIND").AsString();
    job.IsPeriodic = query.FieldByName("PERIODIC").AsString() == "Y";
    job.RunMode = query.FieldByName("RUNMODE").AsInteger();
    job.RunTime = query.FieldByName("RUNTIME").IsNull() ? 0 : query.FieldByName("RUNTIME").AsDateTime();
    job.Receivers = query.FieldByName("RECEIVERS").AsString();
    job.Computer = query.FieldByName("COMPUTER").AsString();
    job.ScheduleTime = query.FieldByName("SCHEDULETIME").AsString();
    job.NextRunDate = query.FieldByName("NEXTRUNDATE").AsString();
    const AnsiString status = query.FieldByName("STATUS").AsString();
    job.Status = status.empty() ? JobStatus::Waiting : status[0];
    job.StatusText = query.FieldByName("STATUSTEXT").AsString();
    job.StatusTime = query.FieldByName("STATUSTIME").IsNull() ? 0 : query.FieldByName("STATUSTIME").AsDateTime();
    job.Created = query.FieldByName("CREATED").AsDateTime();
    job.RunParams = DecodeVariant(query.FieldByName("PARAMS").AsString());
    return job;
}

} // namespace

JobQueue::JobQueue(AnsiString fileName, CodePage codePage) : fileName_(std::move(fileName)), codePage_(codePage) {}

JobQueue::~JobQueue() = default;

TQmADOConnection& JobQueue::Connection() {
    if (!connection_) {
        auto connection = std::make_unique<TQmADOConnection>(
            "Provider=SQLite;Data Source=" + QuoteConnectionValue(fileName_) + ";Create=True;Charset=" +
            std::to_string(codePage_));
        // Writers queue up behind each other's short transactions; wait rather than fail.
        connection->SetBusyTimeout(30000);
        connection->Open();
        connection->Execute(kSchema);
        connection_ = std::move(connection);
    }
    return *connection_;
}

AnsiString JobQueue::NextNumber(std::string_view day) {
    TQmADOQuery query(&Connection());
    query.SetSQL("SELECT MAX(JOBNO) AS LASTNO FROM JOBQUEUE WHERE JOBNO LIKE :DAY");
    query.ParamByName("DAY").Value = AnsiString(day) + "%";
    query.Open();
    const AnsiString last = query.FieldByName("LASTNO").AsString();
    long sequence = 1;
    if (last.size() > day.size()) sequence = std::strtol(last.c_str() + day.size(), nullptr, 10) + 1;
    if (sequence < 1 || sequence > 999999) throw Exception("The job numbers of " + AnsiString(day) + " are used up");
    char text[24];
    std::snprintf(text, sizeof text, "%06ld", sequence);
    return AnsiString(day) + text;
}

AnsiString JobQueue::PeekNextNumber(std::string_view day) { return NextNumber(day); }

AnsiString JobQueue::Register(const JobRecord& job) {
    const std::string params = EncodeVariant(job.RunParams);
    TQmADOConnection& connection = Connection();
    // The write lock is taken before the maximum is read, so no other writer can take the same
    // number between the read and the insert.
    connection.BeginTrans();
    try {
        const AnsiString number = NextNumber(TodayYmd());
        TQmADOQuery insert(&connection);
        insert.SetSQL(std::string("INSERT INTO JOBQUEUE (") + kColumns +
                      ") VALUES (:JOBNO, :PROGRAM, :COMPANY, :USERID, :DATASOURCE, :SERVERCLASS, :JOBKIND, "
                      ":PERIODIC, :RUNMODE, :RUNTIME, :RECEIVERS, :COMPUTER, :SCHEDULETIME, :NEXTRUNDATE, :STATUS, "
                      ":STATUSTEXT, :STATUSTIME, :CREATED, :PARAMS)");
        insert.ParamByName("JOBNO").Value = number;
        insert.ParamByName("PROGRAM").Value = job.ProgramCode;
        insert.ParamByName("COMPANY").Value = job.CompanyId;
        insert.ParamByName("USERID").Value = job.UserId;
        insert.ParamByName("DATASOURCE").Value = job.DataSource;
        insert.ParamByName("SERVERCLASS").Value = job.ServerClass;
        insert.ParamByName("JOBKIND").Value = job.JobKind;
        insert.ParamByName("PERIODIC").Value = AnsiString(job.IsPeriodic ? "Y" : "N");
        insert.ParamByName("RUNMODE").Value = job.RunMode;
        insert.ParamByName("RUNTIME").Value = DateOrNull(job.RunTime);
        insert.ParamByName("RECEIVERS").Value = job.Receivers;
        insert.ParamByName("COMPUTER").Value = job.Computer;
        insert.ParamByName("SCHEDULETIME").Value = job.ScheduleTime;
        insert.ParamByName("NEXTRUNDATE").Value = job.NextRunDate;
        insert.ParamByName("STATUS").Value = AnsiString(1, job.Status);
        insert.ParamByName("STATUSTEXT").Value = job.StatusText;
        insert.ParamByName("STATUSTIME").Value = DateOrNull(job.StatusTime);
        insert.ParamByName("CREATED").Value = Variant::FromDate(job.Created != 0 ? job.Created : NowDateTime());
        insert.ParamByName("PARAMS").Value = AnsiString(params);
        insert.ExecSQL();
        connection.CommitTrans();
        return number;
    } catch (...) {
        try {
            connection.RollbackTrans();
        } catch (const Exception&) {
            // The error that ended the transaction is the one to report.
        }
        throw;
    }
}

std::optional<JobRecord> JobQueue::Find(std::string_view jobNumber) {
    TQmADOQuery query(&Connection());
    query.SetSQL(std::string("SELECT ") + kColumns + " FROM JOBQUEUE WHERE JOBNO = :JOBNO");
    query.ParamByName("JOBNO").Value = AnsiString(jobNumber);
    query.Open();
    if (query.IsEmpty()) return std::nullopt;
    return ReadRecord(query);
}

std::vector<JobRecord> JobQueue::Jobs(std::optional<char> status) {
    TQmADOQuery query(&Connection());
    query.SetSQL(std::string("SELECT ") + kColumns + " FROM JOBQUEUE" + (status ? " WHERE STATUS = :STATUS" : "") +
                 " ORDER BY JOBNO");
    if (status) query.ParamByName("STATUS").Value = AnsiString(1, *status);
    std::vector<JobRecord> jobs;
    for (query.Open(); !query.Eof(); query.Next())
        jobs.push_back(ReadRecord(query));
    return jobs;
}

bool JobQueue::SetStatus(std::string_view jobNumber, char status, const AnsiString& text, double time) {
    TQmADOQuery update(&Connection());
    update.SetSQL("UPDATE JOBQUEUE SET STATUS = :STATUS, STATUSTEXT = :STATUSTEXT, STATUSTIME = :STATUSTIME "
                  "WHERE JOBNO = :JOBNO");
    update.ParamByName("STATUS").Value = AnsiString(1, status);
    update.ParamByName("STATUSTEXT").Value = text;
    update.ParamByName("STATUSTIME").Value = DateOrNull(time);
    update.ParamByName("JOBNO").Value = AnsiString(jobNumber);
    return update.ExecSQL() > 0;
}

} // namespace qmx::reference
