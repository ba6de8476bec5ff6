#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

#include "ScopedEnvironment.h"
#include "TaskoraHome.h"
#include "lib/AlertLog.h"
#include "lib/LibStrsServices.h"
#include "qmx/platform/Paths.h"

namespace qmx {
namespace {

namespace fs = std::filesystem;
using testing::TaskoraHome;

std::tm LocalDay(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

std::tm Today() {
    std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);
    return today;
}

const std::regex kLine(R"(\[\d{4}/\d\d/\d\d \d\d:\d\d:\d\d:\d{3}\] (.*))");

TEST(AlertLogFormatTest, FileNamesByPeriod) {
    const std::tm march5th = LocalDay(2004, 3, 5);
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"libstrs", "D", "Alert_libstrs_20040305.log"},
        {"libstrs", "M", "Alert_libstrs_200403.log"},
        {"libstrs", "Y", "Alert_libstrs_2004.log"},
        {"libstrs", "W", "Alert_libstrs_20040305.log"},
        {"libstrs", "", "Alert_libstrs_20040305.log"},
        {"gen.txt", "D", "Alert_gen.txt_20040305"},
        {"DEZidaZazoNewFileU", "D", "Alert_DEZidaZazoNewFileU_20040305.log"},
    };
    for (const auto& [name, period, expected] : cases)
        EXPECT_EQ(detail::AlertLogFileName(name, period, march5th), expected) << name << " " << period;
}

TEST(AlertLogFormatTest, LineHasTheTimeStampWithMilliseconds) {
    EXPECT_EQ(detail::AlertLogLine("hello", LocalDay(2004, 3, 5, 7, 8, 9), 45), "[2004/03/05 07:08:09:045] hello\n");
    EXPECT_EQ(detail::AlertLogLine("", LocalDay(2004, 12, 31, 23, 59, 59), 999), "[2004/12/31 23:59:59:999] \n");
}

TEST(TaskoraHomeTest, ReadsClientPathThenServerPath) {
    TaskoraHome home;
    EXPECT_EQ(GetTaskoraHome(), "");
    home.SetTaskoraValues({R"("ClientPath"="/opt/client/")", R"("ServerPath"="/opt/server/")"});
    EXPECT_EQ(GetTaskoraHome(), "/opt/client/");
    home.SetTaskoraValues({R"("ClientPath"="")", R"("ServerPath"="/opt/server/")"});
    EXPECT_EQ(GetTaskoraHome(), "/opt/server/");
    home.SetTaskoraValues({R"("ClientPath"=dword:00000001)", R"("ServerPath"="/opt/server/")"});
    EXPECT_EQ(GetTaskoraHome(), "/opt/server/");
    home.SetTaskoraValues({R"("Other"="x")"});
    EXPECT_EQ(GetTaskoraHome(), "");
}

TEST(TaskoraHomeTest, WithoutTheDispatchCenterTheLogGoesBelowTheProgram) {
    TaskoraHome home;
    const AnsiString programFolder = GetHostProgramFolder();
    ASSERT_FALSE(programFolder.empty());
    EXPECT_EQ(programFolder.back(), '/');
    EXPECT_TRUE(fs::exists(programFolder + "module_lib_test")) << programFolder;
    EXPECT_EQ(AlertLogHome(), programFolder);

    home.SetTaskoraValues({R"("ClientPath"="C:\\Taskora\\")"});
    EXPECT_EQ(AlertLogHome(), "C:/Taskora/");
    home.SetTaskoraValues({R"("ServerPath"="/opt/taskora")"});
    EXPECT_EQ(AlertLogHome(), "/opt/taskora/");
}

TEST(AlertLogTest, AppendsLinesBelowTheInstallFolder) {
    TaskoraHome home;
    home.UseFolderAsClientPath();
    const std::tm before = Today();
    ASSERT_TRUE(WriteAlertLog("libstrs", "first", "D"));
    ASSERT_TRUE(WriteAlertLog("libstrs", "second", "D"));
    ASSERT_TRUE(WriteAlertLog("gen.txt", "dotted", "M"));
    const std::tm after = Today();

    auto lines = home.ReadLines("Log/" + detail::AlertLogFileName("libstrs", "D", before));
    if (lines.empty()) lines = home.ReadLines("Log/" + detail::AlertLogFileName("libstrs", "D", after));
    ASSERT_EQ(lines.size(), 2u);
    std::smatch match;
    ASSERT_TRUE(std::regex_match(lines[0], match, kLine)) << lines[0];
    EXPECT_EQ(match[1], "first");
    ASSERT_TRUE(std::regex_match(lines[1], match, kLine)) << lines[1];
    EXPECT_EQ(match[1], "second");

    auto dotted = home.ReadLines("Log/" + detail::AlertLogFileName("gen.txt", "M", before));
    if (dotted.empty()) dotted = home.ReadLines("Log/" + detail::AlertLogFileName("gen.txt", "M", after));
    ASSERT_EQ(dotted.size(), 1u);
    EXPECT_TRUE(std::regex_match(dotted[0], match, kLine));
    EXPECT_EQ(match[1], "dotted");
}

TEST(AlertLogTest, CreatesMissingFoldersAndReportsFailures) {
    TaskoraHome home;
    const AnsiString nested = home.Folder() + "a/b";
    EXPECT_TRUE(WriteAlertLogIn(nested, "x", "m", "Y"));
    EXPECT_TRUE(fs::is_directory(nested + "/Log"));

    // "Log" is a file: no folder can be made.
    const AnsiString blocked = home.Folder() + "blocked/";
    fs::create_directories(blocked);
    std::ofstream(blocked + "Log") << "not a folder";
    EXPECT_FALSE(WriteAlertLogIn(blocked, "x", "m", "D"));

    // The log file is a folder: it cannot be opened for appending.
    fs::create_directories(home.Folder() + "Log/" + detail::AlertLogFileName("dir", "Y", Today()));
    EXPECT_FALSE(WriteAlertLogIn(home.Folder(), "dir", "m", "Y"));

    EXPECT_FALSE(WriteAlertLogIn("", "x", "m", "D"));
}

TEST(TempPathTest, TheTemporaryFolderWithATrailingDelimiter) {
    TaskoraHome home;
    {
        testing::ScopedEnvironment tmpDir("TMPDIR", home.Folder());
        EXPECT_EQ(GetLongTempPath(), home.Folder());
    }
    const AnsiString longName = home.Folder() + AnsiString(100, 'x') + "/" + AnsiString(100, 'y') + "/" +
                                AnsiString(100, 'z');
    fs::create_directories(longName);
    testing::ScopedEnvironment tmpDir("TMPDIR", longName);
    EXPECT_EQ(GetLongTempPath(), ""); // past the 260-character buffers
}

// Two processes append 10,000 lines each to one log at the same time: every line arrives whole.
TEST(AlertLogStressTest, TwoProcessesNeverTearLines) {
    TaskoraHome home;
    constexpr int kLinesPerProcess = 10000;
    // Long lines make a torn write likely if writes were not atomic appends.
    const std::string padding(300, 'p');
    pid_t children[2];
    for (int process = 0; process < 2; ++process) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            for (int i = 0; i < kLinesPerProcess; ++i)
                ok = WriteAlertLogIn(home.Folder(), "stress", "proc" + std::to_string(process) + " " +
                                                                  std::to_string(i) + " " + padding,
                                     "D") &&
                     ok;
            _exit(ok ? 0 : 1);
        }
        children[process] = pid;
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    // A run across midnight writes two files; read them all.
    const std::regex message(R"(proc([01]) (\d+) (p+))");
    std::map<int, std::vector<int>> seen;
    int total = 0;
    std::vector<fs::path> files; // by name, that is by day
    for (const auto& entry : fs::directory_iterator(home.Folder() + "Log")) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::ifstream in(file);
        for (std::string line; std::getline(in, line); ++total) {
            std::smatch lineMatch;
            ASSERT_TRUE(std::regex_match(line, lineMatch, kLine)) << "torn: " << line.substr(0, 80);
            const std::string text = lineMatch[1];
            std::smatch fields;
            ASSERT_TRUE(std::regex_match(text, fields, message)) << "torn: " << text.substr(0, 80);
            ASSERT_EQ(fields[3].length(), padding.size());
            seen[std::stoi(fields[1])].push_back(std::stoi(fields[2]));
        }
    }
    EXPECT_EQ(total, 2 * kLinesPerProcess);
    for (int process = 0; process < 2; ++process) {
        const std::vector<int>& numbers = seen[process];
        ASSERT_EQ(numbers.size(), std::size_t(kLinesPerProcess)) << process;
        // Each process's lines arrive in the order written.
        for (int i = 0; i < kLinesPerProcess; ++i) ASSERT_EQ(numbers[i], i);
    }
}

} // namespace
} // namespace qmx
