#pragma once
// The dispatch center's job queue: one row per registered job in a SQLite database of its own
// (the server's "Taskora.db"), shared by every server object and job runner of the site, also
// across processes.
//
// Job numbers are the day (yyyymmdd, local time) followed by a six-digit sequence of that day.
// The next number is read and the job inserted inside one write transaction, which takes the
// database's write lock before it reads; so two writers, in one process or in two, can never get
// the same number or skip one.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "qmx/CodePage.h"
#include "qmx/Variant.h"
#include "qmx/reference/LocalClock.h"

namespace qmx::platform {
class TQmADOConnection;
}

namespace qmx::reference {

// Where a job stands.
namespace JobStatus {
inline constexpr char Waiting = 'W';   // in the queue, to run as soon as a runner is free
inline constexpr char Timed = 'T';     // to run once at RunTime
inline constexpr char Periodic = 'P';  // to run by its schedule, first on NextRunDate
inline constexpr char Client = 'C';    // registered for direct processing: the client runs it
inline constexpr char Running = 'R';
inline constexpr char Done = 'D';
inline constexpr char Failed = 'E';
} // namespace JobStatus

struct JobRecord {
    AnsiString JobNumber;      // given by Register
    AnsiString ProgramCode;
    AnsiString CompanyId;
    AnsiString UserId;
    AnsiString DataSource;
    AnsiString ServerClass;
    AnsiString JobKind;        // as sent: upper case, lower case for a periodic job
    bool IsPeriodic = false;
    std::int32_t RunMode = 0;  // 0 queue, 1 at once, 2 at a given time
    double RunTime = 0;        // date value
    AnsiString Receivers;      // receivers document, "N" or ""
    AnsiString Computer;       // the client that runs the job itself (direct processing)
    AnsiString ScheduleTime;   // periodic: run time of day "hh:mm"
    AnsiString NextRunDate;    // periodic: the next run day yyyymmdd ("" for the hourly cycle)
    char Status = JobStatus::Waiting;
    AnsiString StatusText;
    double StatusTime = 0;
    double Created = 0;
    Variant RunParams;         // the whole run-parameter array as sent
};

class JobQueue {
public:
    // Opens (and on first use creates) the queue database. Texts of the records are in codePage.
    explicit JobQueue(AnsiString fileName, CodePage codePage = CP_GB2312);
    ~JobQueue();
    JobQueue(const JobQueue&) = delete;
    JobQueue& operator=(const JobQueue&) = delete;

    const AnsiString& FileName() const { return fileName_; }

    // Stores the job under the next number of today and answers the number. Raises Exception
    // when the database refuses or the day's numbers are used up.
    AnsiString Register(const JobRecord& job);
    // The number the next job of the day yyyymmdd would get (for tests and tools); does not
    // reserve it.
    AnsiString PeekNextNumber(std::string_view day);

    std::optional<JobRecord> Find(std::string_view jobNumber);
    // Every job, or those of one status, in number order.
    std::vector<JobRecord> Jobs(std::optional<char> status = std::nullopt);
    // False when there is no such job.
    bool SetStatus(std::string_view jobNumber, char status, const AnsiString& text, double time);

private:
    platform::TQmADOConnection& Connection();
    AnsiString NextNumber(std::string_view day);

    AnsiString fileName_;
    CodePage codePage_;
    std::unique_ptr<platform::TQmADOConnection> connection_;
};

} // namespace qmx::reference
