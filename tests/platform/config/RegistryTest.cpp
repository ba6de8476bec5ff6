#include "qmx/platform/Registry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "ScratchFolder.h"

namespace qmx::platform {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kFixtures = QMX_FIXTURES;

std::shared_ptr<const RegistryHive> Hive(const std::string& body) {
    auto hive = std::make_shared<RegistryHive>(CP_WESTERN);
    hive->LoadFromText("Windows Registry Editor Version 5.00\r\n" + body, "t.reg", RegParseMode::Strict);
    return hive;
}

const std::string kTaskora =
    "[HKEY_LOCAL_MACHINE\\Software\\QMX\\Taskora]\r\n"
    "\"ClientPath\"=\"C:\\\\Taskora\\\\\"\r\n"
    "\"Expand\"=hex(2):25,00,54,00,25,00,00,00\r\n"
    "\"Multi\"=hex(7):61,00,00,00,00,00\r\n"
    "\"Level\"=dword:ffffffff\r\n"
    "\"Off\"=dword:0\r\n"
    "\"Blob\"=hex:01,02\r\n"
    "\"Big\"=hex(b):01,00,00,00,00,00,00,00\r\n"
    "@=\"default\"\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\QMX\\Taskora\\Sub]\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\QMX\\Other]\r\n"
    "[HKEY_CURRENT_USER\\Software\\QMX\\Taskora]\r\n"
    "\"ClientPath\"=\"user\"\r\n"
    "[HKEY_LOCAL_MACHINE]\r\n"
    "\"OnRoot\"=\"root\"\r\n";

std::string ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const ERegistryException& error) {
        return error.Message();
    }
    return "<no ERegistryException>";
}

TEST(TRegistryKeys, OpensKeysRelativeToTheRootKey) {
    TRegistry reg(Hive(kTaskora));
    EXPECT_EQ(reg.RootKey, RegRoot::CurrentUser);
    reg.RootKey = RegRoot::LocalMachine;
    struct PathCase {
        const char* path;
        const char* currentPath;
    };
    // Each is relative to the root, not to the key opened before it.
    const PathCase cases[] = {
        {"Software\\QMX\\Taskora", "Software\\QMX\\Taskora"},
        {"\\Software\\QMX\\Taskora", "Software\\QMX\\Taskora"},
        {"software\\qmx\\taskora\\", "software\\qmx\\taskora"},
        {"\\Software\\QMX\\Taskora\\", "Software\\QMX\\Taskora"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_TRUE(reg.OpenKeyReadOnly(c.path));
        EXPECT_EQ(reg.CurrentPath(), c.currentPath);
    }
    EXPECT_EQ(reg.ReadString("ClientPath"), "C:\\Taskora\\");

    // A key that is missing (also below the open key) leaves the open key as it was.
    EXPECT_FALSE(reg.OpenKeyReadOnly("Sub"));
    EXPECT_FALSE(reg.OpenKey("Software\\QMX\\Missing", true));  // read only: nothing is created
    EXPECT_FALSE(reg.KeyExists("Software\\QMX\\Missing"));
    EXPECT_EQ(reg.CurrentPath(), "Software\\QMX\\Taskora");
    EXPECT_EQ(reg.ReadString("ClientPath"), "C:\\Taskora\\");

    EXPECT_TRUE(reg.OpenKey("Software\\QMX\\Taskora\\Sub", true));
    EXPECT_TRUE(reg.KeyExists("Software\\QMX\\Other"));
    EXPECT_FALSE(reg.KeyExists("Other"));
    EXPECT_TRUE(reg.KeyExists(""));
}

TEST(TRegistryKeys, ChangingTheRootOrClosingFallsBackToTheRootKey) {
    TRegistry reg(Hive(kTaskora), RegRoot::LocalMachine);
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\QMX\\Taskora"));
    reg.RootKey = RegRoot::CurrentUser;  // the key opened under HKLM counts as closed
    EXPECT_EQ(reg.CurrentPath(), "");
    EXPECT_FALSE(reg.ValueExists("ClientPath"));
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\QMX\\Taskora"));
    EXPECT_EQ(reg.ReadString("ClientPath"), "user");

    reg.RootKey = RegRoot::LocalMachine;
    EXPECT_EQ(reg.ReadString("OnRoot"), "root");
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\QMX\\Taskora"));
    reg.CloseKey();
    EXPECT_EQ(reg.CurrentPath(), "");
    EXPECT_EQ(reg.ReadString("OnRoot"), "root");
}

TEST(TRegistryValues, ReadersCheckTheValueType) {
    TRegistry reg(Hive(kTaskora), RegRoot::LocalMachine);
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\QMX\\Taskora"));
    EXPECT_EQ(reg.ReadString("clientpath"), "C:\\Taskora\\");
    EXPECT_EQ(reg.ReadString("Expand"), "%T%");  // read as stored, not expanded
    EXPECT_EQ(reg.ReadString(""), "default");
    EXPECT_EQ(reg.ReadString("Missing"), "");
    EXPECT_EQ(reg.ReadInteger("Level"), -1);
    EXPECT_TRUE(reg.ReadBool("Level"));
    EXPECT_FALSE(reg.ReadBool("Off"));
    EXPECT_THAT(reg.ReadBinaryData("Blob"), ElementsAre(1, 2));
    EXPECT_EQ(reg.GetDataType("Multi"), RegValueType::MultiString);
    EXPECT_EQ(reg.GetDataType("Missing"), RegValueType::None);
    EXPECT_TRUE(reg.ValueExists("LEVEL"));
    EXPECT_TRUE(reg.ValueExists(""));
    EXPECT_FALSE(reg.ValueExists("Missing"));

    struct ErrorCase {
        const char* label;
        std::function<void()> call;
        std::string message;
    };
    const ErrorCase cases[] = {
        {"string of a dword", [&] { reg.ReadString("Level"); }, "Invalid data type for 'Level'"},
        {"string of bytes", [&] { reg.ReadString("Blob"); }, "Invalid data type for 'Blob'"},
        {"string of a multi text", [&] { reg.ReadString("Multi"); }, "Invalid data type for 'Multi'"},
        {"integer of a text", [&] { reg.ReadInteger("ClientPath"); }, "Invalid data type for 'ClientPath'"},
        {"integer of a qword", [&] { reg.ReadInteger("Big"); }, "Invalid data type for 'Big'"},
        {"bool of a text", [&] { reg.ReadBool("ClientPath"); }, "Invalid data type for 'ClientPath'"},
        {"missing integer", [&] { reg.ReadInteger("Missing"); }, "Failed to get data for 'Missing'"},
        {"bytes of a dword", [&] { reg.ReadBinaryData("Level"); }, "Invalid data type for 'Level'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(ErrorOf(c.call), c.message);
    }
    EXPECT_THROW(reg.ReadString("Level"), Exception);  // reaches handlers of the system's root error
}

TEST(TRegistryValues, ListsNamesOfTheOpenKey) {
    TRegistry reg(Hive(kTaskora), RegRoot::LocalMachine);
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\QMX"));
    EXPECT_THAT(reg.GetKeyNames(), ElementsAre("Taskora", "Other"));
    EXPECT_THAT(reg.GetValueNames(), IsEmpty());
    EXPECT_TRUE(reg.HasSubKeys());
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\QMX\\Taskora"));
    EXPECT_THAT(reg.GetValueNames(), ElementsAre("ClientPath", "Expand", "Multi", "Level", "Off", "Blob", "Big", ""));
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\QMX\\Other"));
    EXPECT_FALSE(reg.HasSubKeys());
}

// --- the process-wide registry ---------------------------------------------------------------

class ProcessRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        Save("QMX_REGISTRY", oldRegistry_);
        Save("QMX_ACP", oldAcp_);
        setenv("QMX_ACP", "936", 1);
    }
    void TearDown() override {
        Restore("QMX_REGISTRY", oldRegistry_);
        Restore("QMX_ACP", oldAcp_);
        ReloadRegistry();
    }
    static void Save(const char* name, std::optional<std::string>& value) {
        if (const char* old = std::getenv(name)) value = old;
    }
    static void Restore(const char* name, const std::optional<std::string>& value) {
        if (value) setenv(name, value->c_str(), 1);
        else unsetenv(name);
    }

    test::ScratchFolder folder_;
    std::optional<std::string> oldRegistry_, oldAcp_;
};

TEST_F(ProcessRegistryTest, LaterFilesOverrideEarlierOnesAndProblemsAreWrittenOnce) {
    const std::string missing = (folder_.Path() / "missing.reg").string();
    setenv("QMX_REGISTRY",
           (kFixtures + "/registry/base.reg::" + missing + ":" + kFixtures + "/registry/override-utf16.reg").c_str(), 1);
    ::testing::internal::CaptureStderr();
    auto hive = ReloadRegistry();
    TRegistry reg(RegRoot::LocalMachine);
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\QMX\\Taskora"));
    std::string printed = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(printed, "registry: " + missing + ": cannot open: No such file or directory\n");
    EXPECT_EQ(ProcessRegistry(), hive);
    EXPECT_EQ(reg.ReadString("ClientPath"), "D:\\\xBF\xCD\xBB\xA7\xB6\xCB\\");  // 客户端 in GBK
    EXPECT_EQ(reg.ReadString("ProfileType"), "0");
    EXPECT_EQ(reg.ReadString("ServerPath"), "D:\\Server\\");
    EXPECT_EQ(ErrorOf([&] { reg.ReadInteger("Level"); }), "Invalid data type for 'Level'");
    EXPECT_THAT(reg.GetValueNames(), ElementsAre("ClientPath", "ProfileType", "Level", "ServerPath"));
    reg.RootKey = RegRoot::ClassesRoot;
    ASSERT_TRUE(reg.OpenKeyReadOnly("QmxTest.Alpha"));
    EXPECT_EQ(reg.ReadString("Library"), "qmx_sys_alpha.dll");
}

TEST_F(ProcessRegistryTest, LoadsOnFirstUseAndAgainOnReload) {
    const std::string first = folder_.WriteFile("first.reg", "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"V\"=\"1\"\n");
    const std::string second = folder_.WriteFile("second.reg", "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"V\"=\"2\"\n");
    setenv("QMX_REGISTRY", first.c_str(), 1);
    ReloadRegistry();
    TRegistry before;
    ASSERT_TRUE(before.OpenKeyReadOnly("K"));

    setenv("QMX_REGISTRY", second.c_str(), 1);
    TRegistry stillOld;
    ASSERT_TRUE(stillOld.OpenKeyReadOnly("K"));
    EXPECT_EQ(stillOld.ReadString("V"), "1") << "the variable is read once, not on every use";

    ReloadRegistry();
    TRegistry after;
    ASSERT_TRUE(after.OpenKeyReadOnly("K"));
    EXPECT_EQ(after.ReadString("V"), "2");
    EXPECT_EQ(before.ReadString("V"), "1") << "an open reader keeps its hive";

    unsetenv("QMX_REGISTRY");
    ::testing::internal::CaptureStderr();
    ReloadRegistry();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(TRegistry().KeyExists("K"));
}

} // namespace
} // namespace qmx::platform
