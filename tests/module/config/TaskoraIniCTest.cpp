#include <gtest/gtest.h>

#include "TaskoraInstall.h"
#include "config/TaskoraINI.h"
#include "qmx/platform/RegistryHive.h"
#include "qmx/platform/SystemInfo.h"

namespace qmx {
namespace {

using testing::TaskoraInstall;

std::vector<AnsiString> Lines(const TStrings& list) {
    std::vector<AnsiString> lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
    return lines;
}

struct Server {
    AnsiString Host;
    int Port;
    bool operator==(const Server&) const = default;
};

std::vector<Server> Servers(const Variant& addresses) {
    const VariantArray& cells = addresses.AsArray();
    EXPECT_EQ(cells.DimCount(), 2);
    EXPECT_EQ(cells.LowBound(1), 0);
    EXPECT_EQ(cells.HighBound(1), 1);
    EXPECT_EQ(cells.LowBound(2), 0);
    std::vector<Server> servers;
    for (int i = 0; i <= cells.HighBound(2); ++i)
        servers.push_back({cells.At({0, i}).AsString(), cells.At({1, i}).AsInteger()});
    return servers;
}

class TaskoraIniCTest : public ::testing::Test {
protected:
    TaskoraInstall install;
};

TEST_F(TaskoraIniCTest, MissingKeyKeepsTheDefaultsOfTheSystemCodePage) {
    struct Case {
        int Acp;
        const char* SystemCodePage;
        int UIMode, DBMode;
    };
    const Case cases[] = {{950, "950", 2, 2}, {936, "936", 0, 0}, {1252, "437", 0, 0}, {437, "437", 0, 0}};
    for (const Case& c : cases) {
        install.SetSystemCodePage(c.Acp);
        TTaskoraIniC ini;
        SCOPED_TRACE(c.Acp);
        EXPECT_FALSE(ini.ReadConfig());
        EXPECT_EQ(ini.ErrorCode, "E;000015");
        EXPECT_EQ(ini.SystemCodePage, c.SystemCodePage);
        EXPECT_EQ(ini.UICodePage, c.SystemCodePage);
        EXPECT_EQ(ini.DBCodePage, "936");
        EXPECT_EQ(ini.UIConvertMode, c.UIMode);
        EXPECT_EQ(ini.DBConvertMode, c.DBMode);
        EXPECT_EQ(ini.ClientPath, "");
        EXPECT_EQ(ini.ProfileType, "0");
        EXPECT_EQ(ini.ProfileUser, "Default");
        EXPECT_EQ(ini.IniFileName, "");
        EXPECT_TRUE(ini.ServerAddresses.IsEmpty());
        EXPECT_EQ(ini.WorkDLLPaths.Count(), 0);
    }
}

TEST_F(TaskoraIniCTest, EmptyClientPathStopsWithoutMessageCode) {
    install.SetRegistryValues({"\"ClientPath\"=\"\"", "\"ProfileType\"=\"1\""});
    TTaskoraIniC ini;
    EXPECT_FALSE(ini.ReadConfig());
    EXPECT_EQ(ini.ErrorCode, "");
    EXPECT_EQ(ini.ProfileType, "1");
    EXPECT_EQ(ini.IniFileName, "");
    EXPECT_EQ(ini.ProfilePath, "");
    EXPECT_TRUE(ini.ServerAddresses.IsEmpty());
}

TEST_F(TaskoraIniCTest, MissingFileGivesEveryDefault) {
    install.SetSystemCodePage(936);
    install.UseFolder();
    TTaskoraIniC ini;
    EXPECT_TRUE(ini.ReadConfig());
    EXPECT_EQ(ini.ErrorCode, "");
    EXPECT_EQ(ini.ClientPath, install.Folder());
    EXPECT_EQ(ini.ProfilePath, install.Folder());
    EXPECT_EQ(ini.ProfileType, ""); // the registry has no such value
    EXPECT_EQ(ini.ProfileUser, "Default");
    EXPECT_EQ(ini.IniFileName, install.Folder() + "TaskoraC.ini");
    EXPECT_EQ(ini.LangType, "ENG");
    EXPECT_EQ(ini.Version, "");
    EXPECT_EQ(ini.CreateGifBeforeSendEF, "Y");
    EXPECT_EQ(ini.UICodePage, "936");
    EXPECT_EQ(ini.DBCodePage, "936");
    EXPECT_FALSE(ini.SupportCallBack);
    EXPECT_EQ(Servers(ini.ServerAddresses), (std::vector<Server>{{"127.0.0.1", 211}}));
    EXPECT_EQ(Lines(ini.WorkDLLPaths), (std::vector<AnsiString>{install.Folder() + "C_PKG/"}));
    EXPECT_EQ(ini.AutoCheckNewMsg, "1");
    EXPECT_EQ(ini.CheckInterval, "1");
    EXPECT_EQ(ini.PopupMsg, "1");
    EXPECT_EQ(ini.LoginCheck, "0");
}

TEST_F(TaskoraIniCTest, FixtureInstallationGivesEveryField) {
    install.SetSystemCodePage(936);
    install.UseFolder("0");
    install.CopyFixture("TaskoraC.ini", "TaskoraC.ini");
    TTaskoraIniC ini;
    EXPECT_EQ(ini.ErrorCode, "");
    EXPECT_EQ(ini.ProfileType, "0");
    EXPECT_EQ(ini.IniFileName, install.Folder() + "TaskoraC.ini");
    EXPECT_EQ(ini.LangType, "CHT");
    EXPECT_EQ(ini.Version, "8.7.4");
    EXPECT_EQ(ini.CreateGifBeforeSendEF, "N");
    EXPECT_EQ(ini.SystemCodePage, "936");
    EXPECT_EQ(ini.UICodePage, "950");
    EXPECT_EQ(ini.DBCodePage, "936");
    EXPECT_EQ(ini.UIConvertMode, 2);
    EXPECT_EQ(ini.DBConvertMode, 2);
    EXPECT_TRUE(ini.SupportCallBack);
    EXPECT_EQ(Servers(ini.ServerAddresses), (std::vector<Server>{{"appsrv1", 5211}, {"appsrv2", 5211}}));
    const AnsiString& home = install.Folder();
    EXPECT_EQ(Lines(ini.WorkDLLPaths), (std::vector<AnsiString>{home + "Lib/", home + "Modules/Sales/", "D:/Shared/Lib/",
                                                                 "/opt/qmx/lib/", "//filesrv/pkg/"}));
    EXPECT_EQ(ini.AutoCheckNewMsg, "0");
    EXPECT_EQ(ini.CheckInterval, "5");
    EXPECT_EQ(ini.PopupMsg, "0");
    EXPECT_EQ(ini.LoginCheck, "1");
}

TEST_F(TaskoraIniCTest, ServerListFromComputerName) {
    install.UseFolder();
    struct Case {
        const char* Value;
        std::vector<Server> Expected; // empty: "E;000016"
    };
    const Case cases[] = {
        {"alpha;beta;", {{"alpha", 7000}, {"beta", 7000}}},
        {"alpha", {{"alpha", 7000}}},
        {"alpha;;beta", {{"alpha", 7000}, {"", 7000}, {"beta", 7000}}},
        // Only the whole value is trimmed; the pieces keep their blanks.
        {"\" alpha ; beta \"", {{"alpha ", 7000}, {" beta", 7000}}},
        {"alpha;;", {{"alpha", 7000}, {"", 7000}}},
        {";", {}},
        {"\"  ;  \"", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        install.WriteFile("TaskoraC.ini", std::string("[Server Information]\nServerPort=7000\nComputerName=") + c.Value +
                                              "\n[WorkDLLPath]\nLib=Lib\n");
        TTaskoraIniC ini;
        SCOPED_TRACE(c.Value);
        if (c.Expected.empty()) {
            EXPECT_EQ(ini.ErrorCode, "E;000016");
            EXPECT_TRUE(ini.ServerAddresses.IsEmpty());
            // Stopped before the folders were made absolute.
            EXPECT_EQ(Lines(ini.WorkDLLPaths), (std::vector<AnsiString>{"Lib=Lib"}));
        } else {
            EXPECT_EQ(ini.ErrorCode, "");
            EXPECT_EQ(Servers(ini.ServerAddresses), c.Expected);
            EXPECT_EQ(Lines(ini.WorkDLLPaths), (std::vector<AnsiString>{install.Folder() + "Lib/"}));
        }
    }
}

TEST_F(TaskoraIniCTest, PortThatIsNoNumberGivesTheDefault) {
    install.UseFolder();
    install.WriteFile("TaskoraC.ini", "[Server Information]\nServerPort=21x\nComputerName=host\n");
    TTaskoraIniC ini;
    EXPECT_EQ(Servers(ini.ServerAddresses), (std::vector<Server>{{"host", 211}}));
}

TEST_F(TaskoraIniCTest, PerUserProfileFolder) {
    install.UseFolder("1");
    const AnsiString user = platform::GetUserName();
    const AnsiString profileFolder = install.Folder() + "Profile/" + user + "/";
    install.WriteFile("TaskoraC.ini", "[Client Components]\nLangType=shared\n");
    {
        // No file in the profile folder: the shared file, yet the user's name.
        TTaskoraIniC ini;
        EXPECT_EQ(ini.ProfileType, "1");
        EXPECT_EQ(ini.ProfileUser, user);
        EXPECT_EQ(ini.ProfilePath, install.Folder());
        EXPECT_EQ(ini.IniFileName, install.Folder() + "TaskoraC.ini");
        EXPECT_EQ(ini.LangType, "shared");
    }
    install.WriteFile("Profile/" + user + "/TaskoraC.ini", "[Client Components]\nLangType=own\n");
    TTaskoraIniC ini;
    EXPECT_EQ(ini.ProfilePath, profileFolder);
    EXPECT_EQ(ini.IniFileName, profileFolder + "TaskoraC.ini");
    EXPECT_EQ(ini.LangType, "own");
    // The work folders stay below the installation folder, not the profile.
    EXPECT_EQ(Lines(ini.WorkDLLPaths), (std::vector<AnsiString>{install.Folder() + "C_PKG/"}));
}

TEST_F(TaskoraIniCTest, InstallationFolderGetsItsDelimiter) {
    const std::string folder = install.Folder().substr(0, install.Folder().size() - 1);
    install.SetRegistryValues({"\"ClientPath\"=\"" + folder + "\""});
    TTaskoraIniC ini;
    EXPECT_EQ(ini.ClientPath, folder + "/");
    EXPECT_EQ(ini.IniFileName, folder + "/TaskoraC.ini");
}

TEST_F(TaskoraIniCTest, RegistryValueOfAnotherTypeReachesTheCaller) {
    install.SetRegistryValues({"\"ClientPath\"=dword:00000001"});
    EXPECT_THROW(TTaskoraIniC(), platform::ERegistryException);
}

TEST_F(TaskoraIniCTest, ReadConfigStartsFromTheDefaultsEachTime) {
    install.UseFolder();
    install.CopyFixture("TaskoraC.ini", "TaskoraC.ini");
    TTaskoraIniC ini;
    ASSERT_EQ(ini.LangType, "CHT");
    install.SetRegistryValues({});
    EXPECT_FALSE(ini.ReadConfig());
    EXPECT_EQ(ini.ErrorCode, "E;000015");
    EXPECT_EQ(ini.LangType, "");
    EXPECT_EQ(ini.ClientPath, "");
    EXPECT_TRUE(ini.ServerAddresses.IsEmpty());
    EXPECT_EQ(ini.WorkDLLPaths.Count(), 0);
    EXPECT_FALSE(ini.SupportCallBack);
}

TEST(TaskoraIniRulesTest, ConversionModes) {
    struct Case {
        const char *UI, *System, *DB;
        int UIMode, DBMode;
    };
    const Case cases[] = {
        {"950", "936", "936", 2, 2}, {"950", "950", "950", 2, 0}, {"950", "437", "437", 2, 0},
        {"936", "950", "950", 4, 1}, {"936", "950", "936", 4, 0}, {"936", "936", "950", 0, 1},
        {"936", "437", "936", 0, 0}, {"437", "950", "950", 0, 0}, {"437", "936", "936", 0, 0},
        {"0950", "950", "936", 0, 0}, // exact texts only
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UIConvertModeOf(c.UI, c.System), c.UIMode) << c.UI << " " << c.System;
        EXPECT_EQ(DBConvertModeOf(c.UI, c.DB), c.DBMode) << c.UI << " " << c.DB;
    }
}

TEST(TaskoraIniRulesTest, FlagTexts) {
    for (const char* text : {"1", "y", "Y", "yes", "YES", "Yes", "true", "TRUE"}) EXPECT_TRUE(IsFlagText(text)) << text;
    for (const char* text : {"0", "", "N", "no", "2", " 1", "on", "T", "yess"}) EXPECT_FALSE(IsFlagText(text)) << text;
}

TEST(TaskoraIniRulesTest, WorkFoldersMadeAbsolute) {
    const std::pair<const char*, const char*> cases[] = {
        {"Lib", "/opt/tk/Lib/"},
        {"\\Lib", "/opt/tk/Lib/"},
        {"Lib\\", "/opt/tk/Lib/"},
        {"Sub\\Lib", "/opt/tk/Sub/Lib/"},
        {"D:\\Lib", "D:/Lib/"},
        {"\\\\server\\share", "//server/share/"},
        {"/srv/lib", "/srv/lib/"},
        {"", "/opt/tk/"},
        {"\\", "/opt/tk/"},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(ExpandWorkPath(value, "/opt/tk/"), expected) << value;
}

TEST(TaskoraIniRulesTest, SystemCodePageIsReducedToThreePages) {
    EXPECT_EQ(SystemCodePageText(936), "936");
    EXPECT_EQ(SystemCodePageText(950), "950");
    EXPECT_EQ(SystemCodePageText(1252), "437");
    EXPECT_EQ(SystemCodePageText(65001), "437");
}

} // namespace
} // namespace qmx
