#include "qmx/platform/Library.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestFolder.h"

namespace qmx::platform {
namespace {

using test::BinFolder;
using test::TestFolder;

using NameFn = const char* (*)();

// The plug-in's name and the file it was loaded from, as the plug-in itself reports them.
struct PluginIdentity {
    std::string name;
    std::string file;
};

PluginIdentity IdentityOf(HMODULE module) {
    auto name = reinterpret_cast<NameFn>(GetProcAddress(module, "QmxTestPluginName"));
    auto file = reinterpret_cast<NameFn>(GetProcAddress(module, "QmxTestPluginFile"));
    if (name == nullptr || file == nullptr) return {};
    return {name(), file()};
}

struct CandidateCase {
    const char* name;
    std::vector<std::string> expected;
};

TEST(LibraryNameCandidatesTest, WindowsNamesStandForTheLinuxFileNames) {
    const CandidateCase cases[] = {
        {"X.dll", {"libX.so", "X.so", "X.dll"}},
        {"KLNB07C.DLL", {"libKLNB07C.so", "KLNB07C.so", "KLNB07C.DLL"}},
        {"dir/X.Dll", {"dir/libX.so", "dir/X.so", "dir/X.Dll"}},
        {"/opt/qmx/X.dll", {"/opt/qmx/libX.so", "/opt/qmx/X.so", "/opt/qmx/X.dll"}},
        // No extension: the system adds ".dll" on the original platform, so it is the same family.
        {"X", {"libX.so", "X.so", "X"}},
        // A dot in the folder is no extension.
        {"my.dir/X", {"my.dir/libX.so", "my.dir/X.so", "my.dir/X"}},
        {"libX.so", {"libX.so"}},
        {"X.ocx", {"X.ocx"}},
        {"X.dll.bak", {"X.dll.bak"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LibraryNameCandidates(c.name), c.expected) << c.name;
    }
}

TEST(LoadLibraryTest, FindsEachNameVariantBesideTheCaller) {
    struct Case {
        const char* name;
        const char* plugin;
        const char* file; // in the bin folder
    };
    const Case cases[] = {
        {"qmx_sys_alpha.dll", "alpha", "qmx_sys_alpha.so"},     // second variant: X.so
        {"qmx_sys_alpha.DLL", "alpha", "qmx_sys_alpha.so"},
        {"qmx_sys_alpha.so", "alpha", "qmx_sys_alpha.so"},      // as given
        {"qmx_sys_beta.dll", "beta", "libqmx_sys_beta.so"},     // first variant: libX.so
        {"qmx_sys_beta", "beta", "libqmx_sys_beta.so"},
        {"libqmx_sys_beta.so", "beta", "libqmx_sys_beta.so"},
    };
    for (const auto& c : cases) {
        HMODULE module = LoadLibrary(c.name);
        ASSERT_NE(module, nullptr) << c.name << ": " << LastLibraryError();
        EXPECT_EQ(LastLibraryError(), "");
        PluginIdentity identity = IdentityOf(module);
        EXPECT_EQ(identity.name, c.plugin) << c.name;
        EXPECT_EQ(identity.file, BinFolder() + c.file) << c.name;
        EXPECT_TRUE(FreeLibrary(module));
    }
}

// Copies of the plug-ins in folders of their own: a copy of alpha stands for a calling module
// in that folder, the copies of beta show which folder a name was found in.
class LibrarySearchOrderTest : public ::testing::Test {
protected:
    void SetUp() override {
        // near/: a caller and beta under its second variant name only.
        nearCaller_ = folder_.CopyFile(BinFolder() + "qmx_sys_alpha.so", "near/qmx_sys_alpha.so");
        nearBeta_ = folder_.CopyFile(BinFolder() + "libqmx_sys_beta.so", "near/qmx_sys_beta.so");
        // far/: a caller and no beta.
        farCaller_ = folder_.CopyFile(BinFolder() + "qmx_sys_alpha.so", "far/qmx_sys_alpha.so");
    }

    // An address inside the copy of alpha at file (loaded by path).
    const void* CallerIn(const std::string& file) {
        HMODULE caller = LoadLibrary(file);
        EXPECT_NE(caller, nullptr) << LastLibraryError();
        const void* address = GetProcAddress(caller, "QmxTestPluginName");
        EXPECT_EQ(GetModuleFileName(address), file);
        return address;
    }

    TestFolder folder_;
    std::string nearCaller_, nearBeta_, farCaller_;
};

TEST_F(LibrarySearchOrderTest, CallerFolderComesBeforeTheSearchPath) {
    // bin/ holds libqmx_sys_beta.so, the better variant, and is on the search path; near/ holds
    // only qmx_sys_beta.so. The caller's folder is searched through first, with every variant.
    HMODULE fromNear = LoadLibraryFrom("qmx_sys_beta.dll", CallerIn(nearCaller_));
    ASSERT_NE(fromNear, nullptr) << LastLibraryError();
    EXPECT_EQ(IdentityOf(fromNear).file, nearBeta_);

    // Nothing beside the caller in far/: the bare name goes to the system loader, which knows
    // the SDK library already loaded by this process under its name.
    HMODULE fromFar = LoadLibraryFrom("qmxsdk.dll", CallerIn(farCaller_));
    ASSERT_NE(fromFar, nullptr) << LastLibraryError();
    void* loadedSdk = dlopen((BinFolder() + "libqmxsdk.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(loadedSdk, nullptr);
    EXPECT_EQ(static_cast<void*>(fromFar), loadedSdk);
    dlclose(loadedSdk);
    FreeLibrary(fromFar);
}

TEST_F(LibrarySearchOrderTest, TheCallerIsTheModuleWhoseCodeCallsLoadLibrary) {
    // The copy of alpha in near/ loads beta itself: found beside it, not beside this test.
    HMODULE nearCaller = LoadLibrary(nearCaller_);
    ASSERT_NE(nearCaller, nullptr) << LastLibraryError();
    using LoadFn = HMODULE (*)(const char*);
    auto load = reinterpret_cast<LoadFn>(GetProcAddress(nearCaller, "QmxTestLoadLibrary"));
    ASSERT_NE(load, nullptr) << LastLibraryError();
    HMODULE beta = load("qmx_sys_beta.dll");
    ASSERT_NE(beta, nullptr) << LastLibraryError();
    EXPECT_EQ(IdentityOf(beta).file, nearBeta_);
}

TEST_F(LibrarySearchOrderTest, ANameWithAFolderIsLoadedFromThatFolderOnly) {
    HMODULE inNear = LoadLibrary(folder_.Path() + "near/qmx_sys_beta.dll");
    ASSERT_NE(inNear, nullptr) << LastLibraryError();
    EXPECT_EQ(IdentityOf(inNear).file, nearBeta_);

    // bin/ has the library, but the name says far/.
    EXPECT_EQ(LoadLibrary(folder_.Path() + "far/qmx_sys_beta.dll"), nullptr);
    std::string error = LastLibraryError();
    EXPECT_NE(error.find(folder_.Path() + "far/libqmx_sys_beta.so"), std::string::npos) << error;
    EXPECT_NE(error.find(folder_.Path() + "far/qmx_sys_beta.dll"), std::string::npos) << error;
    EXPECT_EQ(error.find(BinFolder()), std::string::npos) << error;
}

TEST(LoadLibraryTest, FailureGivesNullAndTheReasonOfEveryAttempt) {
    EXPECT_EQ(LoadLibrary("qmx_sys_nothere.dll"), nullptr);
    std::string error = LastLibraryError();
    for (const char* attempt : {"libqmx_sys_nothere.so", "qmx_sys_nothere.so", "qmx_sys_nothere.dll"}) {
        EXPECT_NE(error.find(attempt), std::string::npos) << attempt << " in " << error;
    }
    // Beside the caller first.
    EXPECT_NE(error.find(BinFolder() + "libqmx_sys_nothere.so"), std::string::npos) << error;

    EXPECT_EQ(LoadLibrary(""), nullptr);
    EXPECT_NE(LastLibraryError(), "");

    // A file that is no library.
    TestFolder folder;
    std::string text = folder.WriteFile("notalib.so", "plain text");
    EXPECT_EQ(LoadLibrary(text), nullptr);
    EXPECT_NE(LastLibraryError().find("notalib.so"), std::string::npos) << LastLibraryError();
}

TEST(GetProcAddressTest, FindsExportsOnlyAndToleratesNull) {
    HMODULE module = LoadLibrary("qmx_sys_alpha.dll");
    ASSERT_NE(module, nullptr) << LastLibraryError();
    EXPECT_NE(GetProcAddress(module, "QmxCreateObject"), nullptr);
    // The beta factory lives in the other plug-in; PluginFile is hidden.
    EXPECT_EQ(GetProcAddress(module, "CreateBetaObject"), nullptr);
    EXPECT_NE(LastLibraryError(), "");
    EXPECT_EQ(GetProcAddress(module, "PluginFile"), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "QmxCreateObject"), nullptr);
    EXPECT_NE(LastLibraryError(), "");
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_FALSE(FreeLibrary(nullptr));
}

void FunctionOfTheTestExecutable() {}

TEST(GetModuleFileNameTest, NamesTheFileThatHoldsTheAddress) {
    std::string executable = std::filesystem::canonical("/proc/self/exe").string();
    EXPECT_EQ(GetModuleFileName(reinterpret_cast<const void*>(&FunctionOfTheTestExecutable)),
              executable);

    HMODULE module = LoadLibrary("qmx_sys_alpha.dll");
    ASSERT_NE(module, nullptr) << LastLibraryError();
    EXPECT_EQ(GetModuleFileName(GetProcAddress(module, "QmxCreateObject")),
              BinFolder() + "qmx_sys_alpha.so");
    // The platform library itself, found from one of its functions.
    EXPECT_EQ(GetModuleFileName(reinterpret_cast<const void*>(&GetModuleFileName)),
              BinFolder() + "libqmxplatform.so");
    FreeLibrary(module);

    int onTheStack = 0;
    EXPECT_EQ(GetModuleFileName(&onTheStack), "");
    EXPECT_EQ(GetModuleFileName(nullptr), executable); // a null address names the executable
}

TEST(GetModuleFileNameTest, IsAbsoluteForALibraryLoadedByARelativeName) {
    TestFolder folder;
    std::string copy = folder.CopyFile(BinFolder() + "qmx_sys_alpha.so", "rel/qmx_sys_alpha.so");
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    HMODULE module = LoadLibrary("./rel/qmx_sys_alpha.so");
    std::filesystem::current_path(previous);
    ASSERT_NE(module, nullptr) << LastLibraryError();
    EXPECT_EQ(GetModuleFileName(GetProcAddress(module, "QmxCreateObject")), copy);
}

TEST(IsLibraryModuleTest, DllOrSoInAnyCase) {
    const std::pair<const char*, bool> cases[] = {
        {"KLNB07C.dll", true}, {"KLNB07C.DLL", true}, {"/opt/x/KLNB07C.Dll", true},
        {"libx.so", true},     {"x.SO", true},        {"qmxhost", false},
        {"qmxhost.exe", false}, {"libx.so.1", false}, {"x.dll.bak", false},
        {"x.dll/host", false}, {"dll", false},        {"", false},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(IsLibraryModule(path), expected) << path;
    }
}

} // namespace
} // namespace qmx::platform
