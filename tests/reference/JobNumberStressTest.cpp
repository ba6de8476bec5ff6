// Two processes, each with two threads, register jobs at the same moment: every job gets its own
// number and the day's numbers stay gapless.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ModuleRunParams.h"
#include "ScopedDemo.h"
#include "qmx/Dispatch.h"
#include "qmx/platform/ClassRegistry.h"
#include "qmx/reference/JobQueue.h"
#include "qmx/reference/LocalClock.h"

namespace qmx::reference {
namespace {

constexpr int kProcesses = 2;
constexpr int kThreads = 2;
constexpr int kJobsPerThread = 40;

// Each thread has its own server object, as each form has; answers the numbers it was given.
std::vector<std::string> RegisterJobs() {
    std::vector<std::string> numbers;
    const Variant server = platform::CreateOleObject("ReportCounterS.dmReportCounter");
    const Variant params = test::ModuleRunParams();
    for (int i = 0; i < kJobsPerThread; ++i) {
        numbers.push_back(VarToStr(CallMethod(server, "Request", params)));
        if (numbers.back() == "ERROR") numbers.back() += ": " + VarToStr(GetProperty(server, "ErrorDescript"));
    }
    return numbers;
}

// The child process: waits for the start signal, registers, writes its numbers, exits.
[[noreturn]] void RunChild(int startSignal, const std::string& output) {
    char go = 0;
    if (::read(startSignal, &go, 1) != 1) ::_exit(3);
    std::vector<std::vector<std::string>> perThread(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&perThread, t] { perThread[t] = RegisterJobs(); });
    for (std::thread& thread : threads) thread.join();
    std::ofstream file(output);
    for (const auto& numbers : perThread)
        for (const std::string& number : numbers) file << number << '\n';
    file.close();
    ::_exit(file ? 0 : 4);
}

TEST(JobNumberStress, TwoProcessesNeverShareOrSkipANumber) {
    test::ScopedDemo demo;
    // The queue exists before the race, as on a running site.
    JobQueue(demo.Environment().QueueDatabase).Jobs();
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    std::vector<pid_t> children;
    std::vector<std::string> outputs;
    for (int p = 0; p < kProcesses; ++p) {
        outputs.push_back(demo.Environment().Folder + "numbers-" + std::to_string(p) + ".txt");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeEnds[1]);
            RunChild(pipeEnds[0], outputs.back());
        }
        children.push_back(child);
    }
    ::close(pipeEnds[0]);
    const char go[kProcesses] = {};
    ASSERT_EQ(::write(pipeEnds[1], go, kProcesses), kProcesses); // both start at once
    ::close(pipeEnds[1]);
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    }

    std::vector<std::string> all;
    for (const std::string& output : outputs) {
        std::ifstream file(output);
        for (std::string line; std::getline(file, line);) all.push_back(line);
    }
    constexpr int kTotal = kProcesses * kThreads * kJobsPerThread;
    ASSERT_EQ(all.size(), static_cast<std::size_t>(kTotal));
    std::set<std::string> distinct(all.begin(), all.end());
    EXPECT_EQ(distinct.size(), all.size()) << "a number was given twice";
    const std::string day = TodayYmd();
    EXPECT_EQ(*distinct.begin(), day + "000001") << *distinct.begin();
    EXPECT_EQ(*distinct.rbegin(), day + std::string(6 - std::to_string(kTotal).size(), '0') + std::to_string(kTotal));
    EXPECT_EQ(JobQueue(demo.Environment().QueueDatabase).Jobs().size(), static_cast<std::size_t>(kTotal));
}

} // namespace
} // namespace qmx::reference
