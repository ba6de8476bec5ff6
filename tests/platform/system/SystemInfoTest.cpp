#include "qmx/platform/SystemInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "TestFolder.h"

namespace qmx::platform {
namespace {

using std::nullopt;

// Sets an environment variable for the life of the object, then restores it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value != nullptr) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SystemInfoTest, ComputerNameFitsTheSixteenCharacterBuffer) {
    const std::pair<std::optional<std::string_view>, const char*> cases[] = {
        {"ws-017", "ws-017"},
        {"fifteen-chars15", "fifteen-chars15"},
        {"sixteen-chars-16", "sixteen-chars-1"},
        {"accounting-workstation-7", "accounting-work"},
        {"box.example.com", "box"},
        {".example.com", "Unknown"},
        {"", "Unknown"},
        {nullopt, "Unknown"},
    };
    for (const auto& [raw, expected] : cases) {
        EXPECT_EQ(detail::ComputerNameFrom(raw), expected) << raw.value_or("(unreadable)");
    }
    AnsiString live = GetComputerName();
    EXPECT_FALSE(live.empty());
    EXPECT_LE(live.size(), MaxComputerNameLength);
}

TEST(SystemInfoTest, UserNameFallsBackAndFitsTheThirtyTwoCharacterBuffer) {
    struct Case {
        std::optional<std::string_view> passwordName, environmentUser;
        CodePage codePage;
        std::string expected;
    };
    const std::string longName(40, 'u');
    // 30 letters and then a GBK character: the character does not fit whole into 31 bytes.
    const std::string gbkName = std::string(30, 'a') + "\xD6\xD0";
    const Case cases[] = {
        {"alice", "bob", CP_WESTERN, "alice"},
        {nullopt, "bob", CP_WESTERN, "bob"},
        {"", "bob", CP_WESTERN, "bob"},
        {nullopt, "", CP_WESTERN, "Unknown"},
        {nullopt, nullopt, CP_WESTERN, "Unknown"},
        {longName, nullopt, CP_WESTERN, std::string(31, 'u')},
        {nullopt, longName, CP_WESTERN, std::string(31, 'u')},
        {gbkName, nullopt, CP_GB2312, std::string(30, 'a')},
        {gbkName, nullopt, CP_WESTERN, gbkName.substr(0, 31)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(detail::UserNameFrom(c.passwordName, c.environmentUser, c.codePage), c.expected)
            << c.passwordName.value_or("(none)") << " / " << c.environmentUser.value_or("(none)");
    }
    AnsiString live = GetUserName();
    EXPECT_FALSE(live.empty());
    EXPECT_LE(live.size(), MaxUserNameLength);
}

TEST(SystemInfoTest, TempPathIsAnExistingFolderWithATrailingDelimiter) {
    test::TestFolder folder;
    std::string plain = folder.Path().substr(0, folder.Path().size() - 1);
    std::string file = folder.WriteFile("file.txt", "x");
    std::string missing = plain + "/missing";
    const std::pair<std::optional<std::string_view>, std::string> cases[] = {
        {plain, folder.Path()},
        {folder.Path(), folder.Path()},
        {file, "/tmp/"},                       // not a folder
        {missing, "/tmp/"},
        {"", "/tmp/"},
        {nullopt, "/tmp/"},
    };
    for (const auto& [tmpDir, expected] : cases) {
        EXPECT_EQ(detail::TempPathFrom(tmpDir), expected) << tmpDir.value_or("(unset)");
    }

    // A relative TMPDIR is made absolute, so that a later change of folder does not move it.
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    folder.WriteFile("sub/keep", "");
    AnsiString relative = detail::TempPathFrom("sub");
    std::filesystem::current_path(previous);
    EXPECT_EQ(relative, folder.Path() + "sub/");

    ScopedEnv env("TMPDIR", plain.c_str());
    EXPECT_EQ(GetTempPath(), folder.Path());
}

TEST(SystemInfoTest, OSVersionIsMajorMinorBuildOfTheKernelRelease) {
    const std::pair<const char*, const char*> cases[] = {
        {"6.1.0-18-amd64", "6.1.0"},
        {"5.15.0-91-generic", "5.15.0"},
        {"6.8.12+rpt-rpi-v8", "6.8.12"},
        {"4.19.0.1", "4.19.0"},
        {"5.15", "5.15.0"},
        {"6.1-rc2", "6.1.0"},
        {"6", "6.0.0"},
        {"06.01.3", "6.1.3"},
        {"123456789012345678901.2.3", "123456789012345678901.2.3"},
        {"linux", "0.0.0"},
        {"", "0.0.0"},
    };
    for (const auto& [release, expected] : cases) {
        EXPECT_EQ(detail::OSVersionFromRelease(release), expected) << release;
    }
    // The live value is already in the form the rule gives.
    AnsiString live = GetOSVersionText();
    EXPECT_EQ(detail::OSVersionFromRelease(live), live);
    EXPECT_EQ(std::count(live.begin(), live.end(), '.'), 2) << live;
}

} // namespace
} // namespace qmx::platform
