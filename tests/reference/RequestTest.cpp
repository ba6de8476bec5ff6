// Rights, job registration, direct execution and status on the server object, called as the
// option and batch forms call them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "ModuleRunParams.h"
#include "ScopedDemo.h"
#include "qmx/Dispatch.h"
#include "qmx/platform/ClassRegistry.h"
#include "qmx/platform/Registry.h"
#include "qmx/reference/JobQueue.h"
#include "qmx/reference/LocalClock.h"
#include "qmx/reference/ReportCounter.h"

namespace qmx::reference {
namespace {

using ::testing::HasSubstr;
using test::Gb;
using test::ModuleRunParams;
using test::RunParamsOptions;

class ServerTest : public ::testing::Test {
protected:
    test::ScopedDemo demo_;
    Variant server_ = platform::CreateOleObject("ReportCounterS.dmReportCounter");
    JobQueue queue_{demo_.Environment().QueueDatabase};

    AnsiString Request(const Variant& params) { return VarToStr(CallMethod(server_, "Request", params)); }
    AnsiString ErrorText() { return VarToStr(GetProperty(server_, "ErrorDescript")); }
};

TEST_F(ServerTest, RightsRecordIsLaidOutAsTheFormReadsIt) {
    const Variant rights = CallMethod(server_, "GetPower", VarArrayOf({Variant("DODaza60"), Variant("796"),
                                                                       Variant("KLNB07"), Variant("")}));
    EXPECT_EQ(VarToStr(rights[1]), "796,KLNB07,ADMIN,YYYYYYYY");
    EXPECT_EQ(VarToStr(rights[2]), Gb("王小明"));
    EXPECT_EQ(VarToStr(rights[4]), "");
    EXPECT_EQ(rights[5][0].AsInteger(), 0);

    // A002: the 7th and 8th flags of the 4th field are "N": no several rows, no amounts.
    const Variant limited = CallMethod(server_, "GetPower", VarArrayOf({Variant("DODaza60"), Variant("a002"),
                                                                        Variant("KLNB07"), Variant("")}));
    const AnsiString fourth = VarToStr(limited[1]).substr(VarToStr(limited[1]).rfind(',') + 1);
    EXPECT_EQ(fourth.substr(6, 2), "NN");

    // A001 is limited to two customers in KLNB07 only.
    const Variant customers = CallMethod(server_, "GetPower", VarArrayOf({Variant("DODaza60"), Variant("A001"),
                                                                          Variant("KLNB07"), Variant("")}));
    EXPECT_EQ(VarToStr(customers[4]), "COPMA");
    EXPECT_EQ(customers[5][0].AsInteger(), 2);
    EXPECT_EQ(VarToStr(customers[5][2]), "C0003");

    EXPECT_THROW(CallMethod(server_, "GetPower", VarArrayOf({Variant("DODaza60"), Variant("nobody"),
                                                             Variant("KLNB07"), Variant("")})),
                 EOleError);
    EXPECT_THROW(CallMethod(server_, "GetPower", VarArrayOf({Variant("NoSuchDb"), Variant("796"), Variant("KLNB07"),
                                                             Variant("")})),
                 Exception);
}

TEST_F(ServerTest, QueuedJobIsStoredWithItsParametersAndNumbered) {
    const Variant params = ModuleRunParams();
    const AnsiString first = Request(params);
    const AnsiString second = Request(params);
    ASSERT_EQ(first.size(), 14u) << first << " " << ErrorText();
    EXPECT_EQ(first, TodayYmd() + "000001");
    EXPECT_EQ(second, TodayYmd() + "000002");

    const std::optional<JobRecord> job = queue_.Find(first);
    ASSERT_TRUE(job);
    EXPECT_EQ(job->ProgramCode, "KLNB07");
    EXPECT_EQ(job->UserId, "796");
    EXPECT_EQ(job->Status, JobStatus::Waiting);
    EXPECT_FALSE(job->IsPeriodic);
    EXPECT_TRUE(job->RunParams == params); // WideStrings, integers, dates and bounds as sent
}

TEST_F(ServerTest, RunModesAndDirectProcessingGetTheirStatus) {
    RunParamsOptions timed;
    timed.RunMode = 2;
    const AnsiString timedJob = Request(ModuleRunParams(timed));
    EXPECT_EQ(queue_.Find(timedJob)->Status, JobStatus::Timed);

    const AnsiString direct = VarToStr(CallMethod(server_, "Request", ModuleRunParams(), Variant("PC-01")));
    const JobRecord job = *queue_.Find(direct);
    EXPECT_EQ(job.Status, JobStatus::Client); // no runner takes it: the client runs it
    EXPECT_EQ(job.Computer, "PC-01");

    DispatchArgs status{Variant(direct), Variant(Gb("处理完毕")), Variant::FromDate(45300.5)};
    CallMethodRef(server_, "UpdateStatus", status);
    EXPECT_EQ(queue_.Find(direct)->Status, JobStatus::Done);
    EXPECT_EQ(queue_.Find(direct)->StatusText, Gb("处理完毕"));
    // A job of the queue keeps its place; the text is recorded.
    const AnsiString queued = Request(ModuleRunParams());
    DispatchArgs queuedStatus{Variant(queued), Variant("x"), Variant::FromDate(45300.5)};
    CallMethodRef(server_, "UpdateStatus", queuedStatus);
    EXPECT_EQ(queue_.Find(queued)->Status, JobStatus::Waiting);
    EXPECT_EQ(queue_.Find(queued)->StatusText, "x");
    // After a refused registration the form reports "ERROR" as the job number.
    DispatchArgs error{Variant("ERROR"), Variant(""), Variant::FromDate(45300.5)};
    EXPECT_THROW(CallMethodRef(server_, "UpdateStatus", error), EOleError);
}

TEST_F(ServerTest, PeriodicJobKeepsScheduleAndFirstRun) {
    RunParamsOptions daily;
    daily.Periodic = true;
    daily.StartDate = "20991230";
    const AnsiString number = Request(ModuleRunParams(daily));
    ASSERT_EQ(number.size(), 14u) << ErrorText();
    const JobRecord job = *queue_.Find(number);
    EXPECT_TRUE(job.IsPeriodic);
    EXPECT_EQ(job.Status, JobStatus::Periodic);
    EXPECT_EQ(job.ScheduleTime, "08:30");
    EXPECT_EQ(job.NextRunDate, "20991230");
    EXPECT_EQ(job.RunParams.AsArray().HighBound(), 4);

    RunParamsOptions hourly = daily;
    hourly.PeriodKind = 3;
    const AnsiString hourlyJob = Request(ModuleRunParams(hourly));
    ASSERT_EQ(hourlyJob.size(), 14u) << ErrorText();
    EXPECT_EQ(queue_.Find(hourlyJob)->NextRunDate, "");
}

// A cycle range from 2024-03-01 of the kind with its limit.
Variant Range(std::int32_t kind, const char16_t* limit) {
    return VarArrayOf({Variant(u"20240301"), Variant(kind), Variant(limit)});
}

// Mutates the module's array at one place; the server must answer "ERROR" and store nothing.
struct BadCase {
    const char* what;
    std::function<void(Variant&)> spoil;
    bool periodic = false;
};

TEST_F(ServerTest, MalformedRunParametersAreRefusedAndNothingIsStored) {
    const BadCase cases[] = {
        {"not an array", [](Variant& p) { p = Variant("x"); }},
        {"four elements", [](Variant& p) { p.AsArray().Redim(3); }},
        {"environment from 0", [](Variant& p) { p[0] = VarArrayCreate({{0, 11}}); }},
        {"eleven environment rows", [](Variant& p) { p[0].AsArray().Redim(11); }},
        {"row count differs", [](Variant& p) { p[0][2] = Variant(std::int32_t(13)); }},
        {"condition count differs", [](Variant& p) { p[0][3] = Variant(std::int32_t(6)); }},
        {"missing condition value", [](Variant& p) { p[2][4] = Variant::Null(); }},
        {"text row without control", [](Variant& p) { p[1][2] = VarArrayOf({Variant(u"x")}); }},
        {"run mode 3", [](Variant& p) { p[0][10] = Variant(std::int32_t(3)); }},
        {"run mode text", [](Variant& p) { p[0][10] = Variant(u"soon"); }},
        {"run time text", [](Variant& p) { p[0][11] = Variant(u"tomorrow"); }},
        {"no user", [](Variant& p) { p[0][5] = Variant(u""); }},
        {"bad data source", [](Variant& p) { p[0][6] = Variant(u"../x"); }},
        {"unknown data source", [](Variant& p) { p[0][6] = Variant(u"Nowhere"); }},
        {"bad program", [](Variant& p) { p[0][1] = Variant(u"KL NB"); }},
        {"job kind of two letters", [](Variant& p) { p[0][9] = Variant(u"BB"); }},
        {"receivers not XML", [](Variant& p) { p[0][12] = Variant(u"<Root>"); }},
        {"receivers of another root", [](Variant& p) { p[0][12] = Variant(u"<List/>"); }},
        {"schedule on a queued job", [](Variant& p) { p.AsArray().Redim(4); }},
        {"periodic without schedule", [](Variant& p) { p.AsArray().Redim(2); }, true},
        {"periodic in mode 0", [](Variant& p) { p[0][10] = Variant(std::int32_t(0)); }, true},
        {"schedule flag", [](Variant& p) { p[3][0] = Variant(u"N"); }, true},
        {"run time of day", [](Variant& p) { p[3][1] = Variant(u"24:00"); }, true},
        {"period kind", [](Variant& p) { p[3][2][0] = Variant(std::int32_t(7)); }, true},
        {"start date", [](Variant& p) { p[3][3][0] = Variant(u"20240230"); }, true},
        {"end before start", [](Variant& p) { p[3][3] = Range(2, u"20240201"); }, true},
        {"no run count", [](Variant& p) { p[3][3] = Range(1, u"0"); }, true},
        {"rule count", [](Variant& p) { p[4][0] = Variant(std::int32_t(2)); }, true},
        {"rule row out of range", [](Variant& p) { p[4][1] = Variant(Utf8ToWide(test::MonthRangeRule(9))); }, true},
        {"rule row of another control",
         [](Variant& p) { p[4][1] = Variant(Utf8ToWide(test::MonthRangeRule(2))); }, true},
        {"rule cut short", [](Variant& p) { p[4][1] = Variant(u"0\x03sp01\x03Y"); }, true},
    };
    for (const BadCase& c : cases) {
        RunParamsOptions options;
        options.Periodic = c.periodic;
        options.StartDate = "20240301";
        Variant params = ModuleRunParams(options);
        c.spoil(params);
        EXPECT_EQ(Request(params), "ERROR") << c.what;
        EXPECT_NE(ErrorText(), "") << c.what;
    }
    EXPECT_TRUE(queue_.Jobs().empty());
    // A good job afterwards clears the error and takes the first number.
    EXPECT_EQ(Request(ModuleRunParams()), TodayYmd() + "000001");
    EXPECT_EQ(ErrorText(), "");
}

class RecordingExecutor : public JobExecutor {
public:
    std::vector<DirectRun> runs;
    bool fail = false;
    AnsiString RunJob(const DirectRun& run) override {
        runs.push_back(run);
        if (fail) throw Exception("module failed");
        return "exported 3 drafts";
    }
};

TEST_F(ServerTest, ExecSvrDllRunsTheRegisteredJobThroughTheRunner) {
    const AnsiString number = VarToStr(CallMethod(server_, "Request", ModuleRunParams(), Variant("PC-01")));
    const Variant info = ModuleRunParams()[2];
    auto exec = [&](const AnsiString& job) {
        DispatchArgs args{Variant(job), Variant("KLNB07"), Variant(""), Variant("DODaza60"), Variant("796"),
                          Variant("KLNB07S.Class1"), Variant("B"), Variant("DODaza60"), info,
                          Variant(std::int32_t(1)), Variant(job.substr(0, 8) + "0001"), Variant(std::int32_t(60))};
        return CallMethodRef(server_, "ExecSvrDLL", args);
    };
    // No runner in this process: a clear error, the job untouched.
    SetJobExecutor(nullptr);
    EXPECT_THROW(exec(number), EOleError);
    EXPECT_EQ(queue_.Find(number)->Status, JobStatus::Client);

    auto executor = std::make_shared<RecordingExecutor>();
    SetJobExecutor(executor);
    exec(number);
    ASSERT_EQ(executor->runs.size(), 1u);
    EXPECT_EQ(executor->runs[0].StepNumber, number.substr(0, 8) + "0001");
    EXPECT_TRUE(executor->runs[0].ConditionInfo == info);
    EXPECT_THAT(executor->runs[0].WorkFolders.front(), HasSubstr("S_PKG"));
    EXPECT_EQ(queue_.Find(number)->Status, JobStatus::Done);

    executor->fail = true;
    EXPECT_THROW(exec(number), Exception);
    EXPECT_EQ(queue_.Find(number)->Status, JobStatus::Failed);
    EXPECT_EQ(queue_.Find(number)->StatusText, "module failed");
    EXPECT_THROW(exec("20000101999999"), EOleError);
    // A job of the queue is the runners' to run.
    const AnsiString queued = Request(ModuleRunParams());
    EXPECT_THROW(exec(queued), EOleError);
    EXPECT_EQ(queue_.Find(queued)->Status, JobStatus::Waiting);
    EXPECT_EQ(executor->runs.size(), 2u);
    SetJobExecutor(nullptr);
}

TEST(ReportCounterClass, MadeInProcessOrByRegistryButNeverWithoutItsSettings) {
    {
        test::ScopedDemo demo;
        RegisterReportCounterClass();
        EXPECT_TRUE(platform::CreateOleObject("reportcounters.dmreportcounter").IsDispatch());
        EXPECT_TRUE(platform::UnregisterClassFactory(ReportCounterProgId));
        EXPECT_EQ(ReportCounterSCreateObject("Other.Class"), nullptr);
    }
    // No demo: the registry lacks the dispatch center's key.
    platform::TRegistry registry(platform::RegRoot::LocalMachine);
    if (registry.OpenKeyReadOnly("Software\\QMX\\Taskora")) GTEST_SKIP() << "this machine has a dispatch center";
    EXPECT_EQ(ReportCounterSCreateObject(ReportCounterProgId), nullptr);
    RegisterReportCounterClass();
    EXPECT_THROW(platform::CreateOleObject(ReportCounterProgId), Exception);
    platform::UnregisterClassFactory(ReportCounterProgId);
}

} // namespace
} // namespace qmx::reference
