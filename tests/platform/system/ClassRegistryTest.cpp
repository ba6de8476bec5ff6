#include "qmx/platform/ClassRegistry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "TestFolder.h"
#include "qmx/platform/Library.h"
#include "qmx/platform/Registry.h"

namespace qmx::platform {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using test::BinFolder;
using test::TestFolder;

class NamedObject : public DispatchObject {
public:
    explicit NamedObject(AnsiString name) {
        DefineProperty("Name", [name](DispatchArgs&) { return Variant(name); });
    }
};

// The message of the EOleError that call raises; fails the test when it raises none.
template <class Call>
std::string OleErrorOf(Call call) {
    try {
        call();
    } catch (const EOleError& error) {
        return error.Message();
    }
    ADD_FAILURE() << "no EOleError";
    return {};
}

// The registry of the test: the hive file of the test, read afresh; restored afterwards.
class ClassRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("QMX_REGISTRY")) oldRegistry_ = old;
        UseRegistry("Windows Registry Editor Version 5.00\r\n");
    }
    void TearDown() override {
        if (oldRegistry_) setenv("QMX_REGISTRY", oldRegistry_->c_str(), 1);
        else unsetenv("QMX_REGISTRY");
        ReloadRegistry();
    }

    void UseRegistry(const std::string& content) {
        setenv("QMX_REGISTRY", folder_.WriteFile("classes.reg", content).c_str(), 1);
        ReloadRegistry();
    }

    TestFolder folder_;
    std::optional<std::string> oldRegistry_;
};

TEST_F(ClassRegistryTest, RegisteredFactoryMatchesWithoutRegardToCase) {
    int made = 0;
    RegisterClassFactory("QmxTest.Counter", [&made] {
        ++made;
        return std::make_shared<NamedObject>("counter " + std::to_string(made));
    });
    Variant first = CreateOleObject("QmxTest.Counter");
    Variant second = CreateOleObject("qmxtest.COUNTER");
    ASSERT_TRUE(first.IsDispatch());
    EXPECT_EQ(GetProperty(first, "Name").AsString(), "counter 1");
    EXPECT_EQ(GetProperty(second, "Name").AsString(), "counter 2");
    EXPECT_NE(first.AsDispatch(), second.AsDispatch()); // a new object each time

    // A second registration replaces the first.
    RegisterClassFactory("QMXTEST.counter", [] { return std::make_shared<NamedObject>("new"); });
    EXPECT_EQ(GetProperty(CreateOleObject("QmxTest.Counter"), "Name").AsString(), "new");

    EXPECT_TRUE(UnregisterClassFactory("qmxtest.counter"));
    EXPECT_FALSE(UnregisterClassFactory("QmxTest.Counter"));
    EXPECT_EQ(OleErrorOf([] { CreateOleObject("QmxTest.Counter"); }),
              "Invalid class string: QmxTest.Counter");
}

TEST_F(ClassRegistryTest, RegisteredFactoryComesBeforeTheRegistry) {
    UseRegistry("REGEDIT4\n\n[HKEY_CLASSES_ROOT\\QmxTest.Alpha]\n\"Library\"=\"qmx_sys_alpha.dll\"\n");
    RegisterClassFactory("QmxTest.Alpha", [] { return std::make_shared<NamedObject>("in process"); });
    EXPECT_EQ(GetProperty(CreateOleObject("QmxTest.Alpha"), "Name").AsString(), "in process");
    UnregisterClassFactory("QmxTest.Alpha");
    EXPECT_EQ(GetProperty(CreateOleObject("QmxTest.Alpha"), "Plugin").AsString(), "alpha");
}

TEST_F(ClassRegistryTest, BadRegistrationsAndFactoriesRaise) {
    EXPECT_THAT(OleErrorOf([] { RegisterClassFactory("QmxTest.Empty", ClassFactory()); }),
                HasSubstr("QmxTest.Empty"));
    RegisterClassFactory("QmxTest.Nothing", [] { return DispatchPtr(); });
    EXPECT_THAT(OleErrorOf([] { CreateOleObject("QmxTest.Nothing"); }),
                AllOf(HasSubstr("QmxTest.Nothing"), HasSubstr("no object")));
    UnregisterClassFactory("QmxTest.Nothing");
    EXPECT_EQ(OleErrorOf([] { CreateOleObject(""); }), "Invalid class string: ");
}

TEST_F(ClassRegistryTest, RegistrationIsThreadSafe) {
    std::atomic<int> failures = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &failures] {
            for (int i = 0; i < 200; ++i) {
                std::string progId = "QmxTest.Thread" + std::to_string(t) + "." + std::to_string(i);
                RegisterClassFactory(progId, [progId] { return std::make_shared<NamedObject>(progId); });
                RegisterClassFactory("QmxTest.Shared", [] { return std::make_shared<NamedObject>("s"); });
                if (GetProperty(CreateOleObject(progId), "Name").AsString() != progId) ++failures;
                if (!CreateOleObject("QmxTest.Shared").IsDispatch()) ++failures;
                if (!UnregisterClassFactory(progId)) ++failures;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(failures, 0);
    UnregisterClassFactory("QmxTest.Shared");
}

// Classes of the hive file below; the escapes are those of the export format (a '\' is "\\").
std::string ClassesHive() {
    return "Windows Registry Editor Version 5.00\r\n"
           "\r\n"
           "[HKEY_CLASSES_ROOT\\QmxTest.Alpha]\r\n"
           "\"Library\"=\"qmx_sys_alpha.dll\"\r\n"
           "\r\n"
           "[HKEY_CLASSES_ROOT\\QmxTest.Beta]\r\n"
           "\"Library\"=\"" + BinFolder() + "libqmx_sys_beta.so\"\r\n"
           "\"Factory\"=\"CreateBetaObject\"\r\n"
           "\r\n"
           "[HKEY_CLASSES_ROOT\\QmxTest.Relative]\r\n"
           "\"Library\"=\"plugins\\\\qmx_sys_beta.dll\"\r\n"
           "\"Factory\"=\"CreateBetaObject\"\r\n"
           "\r\n"
           "[HKEY_CLASSES_ROOT\\QmxTest.NoFactory]\r\n"
           "\"Library\"=\"qmx_sys_beta.dll\"\r\n"
           "\r\n"
           "[HKEY_CLASSES_ROOT\\QmxTest.EmptyFactory]\r\n"
           "\"Library\"=\"qmx_sys_alpha.dll\"\r\n"
           "\"Factory\"=\"\"\r\n"
           "\r\n"
           "[HKEY_CLASSES_ROOT\\QmxTest.Refuses]\r\n"
           "\"Library\"=\"qmx_sys_alpha.dll\"\r\n"
           "\r\n"
           "[HKEY_CLASSES_ROOT\\QmxTest.Missing]\r\n"
           "\"Library\"=\"qmx_sys_nothere.dll\"\r\n"
           "\r\n"
           "[HKEY_CLASSES_ROOT\\QmxTest.DriveLetter]\r\n"
           "\"Library\"=\"C:\\\\Program Files\\\\QMX\\\\qmx_sys_alpha.dll\"\r\n"
           "\r\n"
           "[HKEY_CLASSES_ROOT\\QmxTest.NoLibrary]\r\n"
           "\"Version\"=\"1\"\r\n"
           "\r\n"
           "[HKEY_CLASSES_ROOT\\QmxTest.NumberLibrary]\r\n"
           "\"Library\"=dword:00000001\r\n";
}

TEST_F(ClassRegistryTest, CreatesFromTheLibraryTheRegistryNames) {
    UseRegistry(ClassesHive());
    struct Case {
        const char* progId;
        const char* plugin;
        std::string module;
    };
    const Case cases[] = {
        // A bare name beside the caller (the test executable), default factory; any case.
        {"QmxTest.Alpha", "alpha", BinFolder() + "qmx_sys_alpha.so"},
        {"qmxtest.ALPHA", "alpha", BinFolder() + "qmx_sys_alpha.so"},
        // An absolute path and a factory of its own.
        {"QmxTest.Beta", "beta", BinFolder() + "libqmx_sys_beta.so"},
        // An empty factory value is the default one.
        {"QmxTest.EmptyFactory", "alpha", BinFolder() + "qmx_sys_alpha.so"},
    };
    for (const auto& c : cases) {
        Variant object = CreateOleObject(c.progId);
        ASSERT_TRUE(object.IsDispatch()) << c.progId;
        EXPECT_EQ(GetProperty(object, "Plugin").AsString(), c.plugin) << c.progId;
        EXPECT_EQ(GetProperty(object, "Module").AsString(), c.module) << c.progId;
        // The factory gets the ProgID as the caller wrote it.
        EXPECT_EQ(GetProperty(object, "ProgId").AsString(), c.progId);
    }
}

TEST_F(ClassRegistryTest, ARelativeLibraryPathIsBelowTheCallersFolder) {
    UseRegistry(ClassesHive());
    // A caller in a folder of its own, with the plug-in in a subfolder of it.
    std::string caller = folder_.CopyFile(BinFolder() + "qmx_sys_alpha.so", "app/qmx_sys_alpha.so");
    std::string beta = folder_.CopyFile(BinFolder() + "libqmx_sys_beta.so",
                                        "app/plugins/libqmx_sys_beta.so");
    HMODULE callerModule = LoadLibrary(caller);
    ASSERT_NE(callerModule, nullptr) << LastLibraryError();
    const void* callerAddress = GetProcAddress(callerModule, "QmxTestPluginName");

    Variant object = CreateOleObject("QmxTest.Relative", callerAddress);
    EXPECT_EQ(GetProperty(object, "Module").AsString(), beta);

    // From the test executable the same value names bin/plugins/, where there is nothing.
    EXPECT_THAT(OleErrorOf([] { CreateOleObject("QmxTest.Relative"); }),
                AllOf(HasSubstr("QmxTest.Relative"), HasSubstr("does not load"),
                      HasSubstr(BinFolder() + "plugins/libqmx_sys_beta.so")));
}

TEST_F(ClassRegistryTest, RegistryClassErrorsNameTheClassAndTheReason) {
    UseRegistry(ClassesHive());
    struct Case {
        const char* progId;
        std::vector<std::string> parts;
    };
    const Case cases[] = {
        {"QmxTest.Unknown", {"Invalid class string: QmxTest.Unknown"}},
        {"QmxTest.NoLibrary", {"Invalid class string: QmxTest.NoLibrary"}},
        // A ProgID is one key name, never a path of keys.
        {"HKEY_CLASSES_ROOT\\QmxTest.Alpha", {"Invalid class string"}},
        {"QmxTest.Missing", {"QmxTest.Missing", "qmx_sys_nothere.dll", "does not load",
                             "libqmx_sys_nothere.so"}},
        {"QmxTest.DriveLetter", {"QmxTest.DriveLetter", "does not load",
                                 "C:/Program Files/QMX/libqmx_sys_alpha.so"}},
        {"QmxTest.NoFactory", {"QmxTest.NoFactory", "qmx_sys_beta.dll", "QmxCreateObject"}},
        {"QmxTest.Refuses", {"QmxTest.Refuses", "QmxCreateObject", "no object"}},
        {"QmxTest.NumberLibrary", {"QmxTest.NumberLibrary"}},
    };
    for (const auto& c : cases) {
        std::string message = OleErrorOf([&c] { CreateOleObject(c.progId); });
        for (const auto& part : c.parts) {
            EXPECT_THAT(message, HasSubstr(part)) << c.progId;
        }
    }
}

} // namespace
} // namespace qmx::platform
