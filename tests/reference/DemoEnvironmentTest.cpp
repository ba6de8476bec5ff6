// qmx-make-demo as a user runs it, and what it writes as the module and the objects read it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ScopedDemo.h"
#include "qmx/platform/AdoConnection.h"
#include "qmx/platform/AdoQuery.h"
#include "qmx/platform/IniFile.h"
#include "qmx/platform/Registry.h"
#include "qmx/platform/RegistryHive.h"
#include "qmx/reference/CompanyDatabase.h"

namespace qmx::reference {
namespace {

namespace fs = std::filesystem;

class MakeDemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "qmx-make-demo-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    // The tool's exit status; its output goes to a file of the test folder.
    int Run(const std::string& arguments) {
        const std::string command = "'" + test::ProgramFolder() + "qmx-make-demo' " + arguments + " >'" + root_ +
                                    "/out.txt' 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Output() const {
        std::ifstream file(root_ + "/out.txt");
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    std::string root_;
};

TEST_F(MakeDemoTest, OneCommandMakesTheEnvironment) {
    const std::string dir = root_ + "/demo";
    ASSERT_EQ(Run("'" + dir + "'"), 0) << Output();
    EXPECT_NE(Output().find("export QMX_REGISTRY=" + dir + "/registry.reg"), std::string::npos) << Output();

    platform::RegistryHive hive;
    ASSERT_TRUE(hive.LoadFromFile(dir + "/registry.reg", platform::RegParseMode::Strict));
    platform::TRegistry registry(std::make_shared<platform::RegistryHive>(hive), platform::RegRoot::LocalMachine);
    ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\QMX\\Taskora"));
    EXPECT_EQ(registry.ReadString("ClientPath"), dir + "/client/");
    EXPECT_EQ(registry.ReadString("ServerPath"), dir + "/server/");
    EXPECT_EQ(registry.ReadString("ProfileType"), "0");
    ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\TRVX\\Halmor"));
    EXPECT_EQ(registry.ReadString("GoAhead"), "0");
    registry.RootKey = platform::RegRoot::ClassesRoot;
    for (const char* progId : {"NorvikWorkCenter.Manager", "ReportCounterS.dmReportCounter"}) {
        ASSERT_TRUE(registry.OpenKeyReadOnly(progId)) << progId;
        EXPECT_TRUE(fs::exists(registry.ReadString("Library"))) << registry.ReadString("Library");
    }

    const platform::TIniFile client(dir + "/client/TaskoraC.ini");
    EXPECT_EQ(client.ReadString("Server Information", "ComputerName", ""), "127.0.0.1");
    EXPECT_EQ(client.ReadInteger("Server Information", "ServerPort", 0), 211);
    EXPECT_EQ(client.ReadString("CodePage", "UICodePage", ""), "936");
    EXPECT_TRUE(client.ReadSection("WorkDLLPath").empty());
    const platform::TIniFile server(dir + "/server/TaskoraS.ini");
    EXPECT_EQ(server.ReadString("DBE Setting", "MainDBName", ""), "DODaza60");
    EXPECT_EQ(server.ReadString("DBE Setting", "MainServerName", ""), dir + "/data/");

    for (const char* folder : {"client/C_PKG", "server/S_PKG", "server/S_DATA", "packages", "help/KLN"})
        EXPECT_TRUE(fs::is_directory(dir + "/" + folder)) << folder;
    platform::TQmADOConnection db(CompanyConnectionString(dir + "/data/DODaza60.db", "DODaza60"));
    platform::TQmADOQuery query(&db);
    query.SetSQL("SELECT COUNT(*) AS N FROM TISTA");
    query.Open();
    EXPECT_EQ(query.FieldByName("N").AsInteger(), 6);
}

TEST_F(MakeDemoTest, AnExistingEnvironmentIsKeptUnlessReplaced) {
    const std::string dir = root_ + "/demo";
    ASSERT_EQ(Run("'" + dir + "'"), 0) << Output();
    std::ofstream(dir + "/data/DODaza60.db", std::ios::app) << ""; // untouched content below
    const auto size = fs::file_size(dir + "/data/DODaza60.db");
    std::ofstream(dir + "/server/Taskora.db") << "old queue";

    EXPECT_EQ(Run("'" + dir + "'"), 1);
    EXPECT_NE(Output().find("already"), std::string::npos) << Output();
    EXPECT_EQ(fs::file_size(dir + "/data/DODaza60.db"), size);
    EXPECT_TRUE(fs::exists(dir + "/server/Taskora.db"));

    ASSERT_EQ(Run("--replace --language ENG --ui-codepage 437 --allow-downloads --user A001 '" + dir + "'"), 0)
        << Output();
    EXPECT_FALSE(fs::exists(dir + "/server/Taskora.db")); // a new environment starts with no jobs
    EXPECT_EQ(platform::TIniFile(dir + "/client/TaskoraC.ini").ReadString("CodePage", "UICodePage", ""), "437");
    platform::RegistryHive hive;
    ASSERT_TRUE(hive.LoadFromFile(dir + "/registry.reg", platform::RegParseMode::Strict));
    platform::TRegistry registry(std::make_shared<platform::RegistryHive>(hive), platform::RegRoot::LocalMachine);
    ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\QMX\\WorkCenter"));
    EXPECT_EQ(registry.ReadString("Language"), "ENG");
    EXPECT_EQ(registry.ReadString("UserId"), "A001");
    ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\TRVX\\Halmor"));
    EXPECT_EQ(registry.ReadString("GoAhead"), "1");
}

TEST_F(MakeDemoTest, BadCommandLinesAreRefused) {
    struct Case {
        const char* arguments;
        int status;
    };
    // DIR stands for a folder of the test; none of these may make it.
    const Case cases[] = {{"--bogus DIR", 2},          {"--user", 2},
                          {"DIR DIR2", 2},             {"--ui-codepage 1252 DIR", 1},
                          {"--data-source ../x DIR", 1}, {"--language FR DIR", 1}};
    for (const Case& c : cases) {
        std::string arguments = c.arguments;
        for (std::size_t at = arguments.find("DIR"); at != std::string::npos; at = arguments.find("DIR", at + 1))
            arguments.replace(at, 3, root_ + "/d");
        EXPECT_EQ(Run(arguments), c.status) << arguments << ": " << Output();
    }
    EXPECT_FALSE(fs::exists(root_ + "/d"));
    EXPECT_EQ(Run("--help"), 0);
    EXPECT_NE(Output().find("Usage: qmx-make-demo"), std::string::npos);
}

TEST(ScopedDemo, PointsTheProcessAtTheEnvironmentAndBack) {
    const char* before = std::getenv("QMX_REGISTRY");
    const std::string old = before ? before : "";
    {
        test::ScopedDemo demo;
        EXPECT_EQ(std::getenv("QMX_REGISTRY"), demo.Environment().RegistryFile);
        platform::TRegistry registry(platform::RegRoot::LocalMachine);
        EXPECT_TRUE(registry.OpenKeyReadOnly("Software\\QMX\\Taskora"));
    }
    const char* after = std::getenv("QMX_REGISTRY");
    EXPECT_EQ(after ? after : "", old);
}

} // namespace
} // namespace qmx::reference
