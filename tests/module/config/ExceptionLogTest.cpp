#include <gtest/gtest.h>

#include <filesystem>
#include <ios>
#include <regex>
#include <system_error>
#include <thread>

#include "TaskoraInstall.h"
#include "config/LibSys.h"
#include "qmx/CodePage.h"

namespace qmx {
namespace {

using testing::TaskoraInstall;

const std::string kHyphens(34, '-');

class ECustomFailure : public Exception {
public:
    using Exception::Exception;
};

TEST(ExceptionLogTest, HeaderAndProgrammerMessageOnly) {
    EXPECT_EQ(detail::ExceptionLogLines(nullptr, "  ", ""), (std::vector<AnsiString>{kHyphens + kHyphens}));
    EXPECT_EQ(detail::ExceptionLogLines(nullptr, "", " note "),
              (std::vector<AnsiString>{kHyphens + kHyphens, "Programer Message:  note "}));
    EXPECT_EQ(detail::ExceptionLogLines(nullptr, "Reader", "\t"),
              (std::vector<AnsiString>{kHyphens + " on Reader " + kHyphens}));
}

TEST(ExceptionLogTest, LineByKindOfError) {
    const AnsiString head = Utf8ToAnsi("讯息信息:", CP_GB2312);
    const std::system_error denied(std::error_code(EACCES, std::generic_category()), "open");
    const std::ios_base::failure io("read failed", std::error_code(EIO, std::generic_category()));
    const std::filesystem::filesystem_error fsError("copy", std::error_code(ENOSPC, std::generic_category()));
    const ECustomFailure custom("100% wrong");
    const std::runtime_error plain("plain failure");
    const std::pair<const std::exception*, AnsiString> cases[] = {
        {&denied, "EWin32Error Error 01: Code: " + std::to_string(EACCES) + ", Message: " + denied.what()},
        {&io, "EInOutError Error 01: Code: " + std::to_string(EIO) + ", Message: " + io.what()},
        {&fsError, "EInOutError Error 01: Code: " + std::to_string(ENOSPC) + ", Message: " + fsError.what()},
        // A percent sign in the message is written as it is.
        {&custom, "Exception is ECustomFailure\r\nMessage 01: 100% wrong"},
        {&plain, "Exception is runtime_error\r\nMessage 01: plain failure"},
    };
    for (const auto& [error, line] : cases) {
        EXPECT_EQ(detail::ExceptionLogLines(error, "Where", "Why"),
                  (std::vector<AnsiString>{kHyphens + " on Where " + kHyphens, head, line, "ErrorMessage Count: 1",
                                           "Programer Message: Why"}));
    }
}

TEST(GeneratorLogFormatTest, FileNameAndLine) {
    std::tm time{};
    time.tm_year = 2004 - 1900;
    time.tm_mon = 2;
    time.tm_mday = 5;
    time.tm_hour = 7;
    time.tm_min = 8;
    time.tm_sec = 9;
    EXPECT_EQ(detail::GeneratorLogFileName(time), "Alert_Brimstall_20040305.log");
    EXPECT_EQ(detail::GeneratorLogLine("text", time), "[2004/03/05 07:08:09] text\r\n");
}

class GeneratorLogTest : public ::testing::Test {
protected:
    TaskoraInstall install;

    // Below the installation folder.
    static std::string TodayLog() {
        std::time_t now = std::time(nullptr);
        std::tm today{};
        localtime_r(&now, &today);
        return "Log/" + detail::GeneratorLogFileName(today);
    }
};

TEST_F(GeneratorLogTest, BaseFolderFromRegistryThenTemporaryFolder) {
    install.SetRegistryValues({"\"ClientPath\"=\"/client/home\"", "\"ServerPath\"=\"/server/home\""});
    EXPECT_EQ(GetLogBaseFolder(), "/client/home");
    install.SetRegistryValues({"\"ClientPath\"=\"\"", "\"ServerPath\"=\"/server/home\""});
    EXPECT_EQ(GetLogBaseFolder(), "/server/home");
    install.SetRegistryValues({});
    setenv("TMPDIR", install.Folder().c_str(), 1);
    EXPECT_EQ(GetLogBaseFolder(), install.Folder());
    setenv("TMPDIR", (install.Folder() + "missing").c_str(), 1);
    EXPECT_EQ(GetLogBaseFolder(), "/tmp/");
}

TEST_F(GeneratorLogTest, LinesAreAppendedWithCrLf) {
    install.UseFolder();
    ASSERT_TRUE(WriteGeneratorLog("first"));
    const std::runtime_error error("broken");
    LogException(&error, "", "");
    const std::string text = install.ReadFile(TodayLog());
    const std::regex expected(R"(\[\d{4}/\d\d/\d\d \d\d:\d\d:\d\d\] first\r\n)"
                              R"(\[[^\]]+\] -{68}\r\n)"
                              R"(\[[^\]]+\] \S+\r\n)"
                              R"(\[[^\]]+\] Exception is runtime_error\r\nMessage 01: broken\r\n)"
                              R"(\[[^\]]+\] ErrorMessage Count: 1\r\n)");
    EXPECT_TRUE(std::regex_match(text, expected)) << text;
}

TEST_F(GeneratorLogTest, UnwritableFolderAnswersFalse) {
    install.WriteFile("blocker", "a file where the folder should be");
    EXPECT_FALSE(detail::WriteGeneratorLogIn(install.Folder() + "blocker", "lost"));
    EXPECT_FALSE(detail::WriteGeneratorLogIn("", "lost"));
}

TEST_F(GeneratorLogTest, ConcurrentWritersNeverTearLines) {
    install.UseFolder();
    const auto writer = [](char mark) {
        for (int i = 0; i < 200; ++i) WriteGeneratorLog(std::string(500, mark));
    };
    std::thread a(writer, 'a'), b(writer, 'b');
    a.join();
    b.join();
    const std::string text = install.ReadFile(TodayLog());
    std::size_t whole = 0, start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = text.substr(start, end - start);
        const std::size_t stampEnd = line.find("] ");
        ASSERT_NE(stampEnd, std::string::npos) << line;
        const std::string body = line.substr(stampEnd + 2);
        if (body == std::string(500, 'a') || body == std::string(500, 'b')) ++whole;
    }
    EXPECT_EQ(start, text.size()); // nothing after the last line end
    EXPECT_EQ(whole, 400u);
}

} // namespace
} // namespace qmx
