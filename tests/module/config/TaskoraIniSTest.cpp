#include <gtest/gtest.h>

#include "TaskoraInstall.h"
#include "config/LibSys.h"
#include "qmx/CodePage.h"
#include "config/TaskoraINI.h"

namespace qmx {
namespace {

using testing::TaskoraInstall;

std::vector<AnsiString> Lines(const TStrings& list) {
    std::vector<AnsiString> lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
    return lines;
}

const Variant& Cell(const TTaskoraIniS& ini, int row, int column) { return ini.DBSettings.AsArray().At({row, column}); }

// Cells that are never written.
void ExpectUnassignedCells(const TTaskoraIniS& ini) {
    for (int column = 4; column <= 7; ++column) EXPECT_TRUE(Cell(ini, 2, column).IsEmpty()) << "[2, " << column << "]";
    for (int column = 3; column <= 7; ++column) EXPECT_TRUE(Cell(ini, 3, column).IsEmpty()) << "[3, " << column << "]";
}

class TaskoraIniSTest : public ::testing::Test {
protected:
    TaskoraInstall install;
};

TEST_F(TaskoraIniSTest, MissingKeyLeavesTheSettingsUnassigned) {
    install.SetSystemCodePage(950);
    TTaskoraIniS ini;
    EXPECT_FALSE(ini.ReadConfig());
    EXPECT_EQ(ini.ErrorCode, "E;000015");
    EXPECT_TRUE(ini.DBSettings.IsEmpty());
    EXPECT_EQ(ini.UICodePage, "950");
    EXPECT_EQ(ini.UIConvertMode, 2);
    EXPECT_EQ(ini.DBConvertMode, 2);
}

TEST_F(TaskoraIniSTest, MissingFileGivesEveryDefault) {
    install.SetSystemCodePage(1252);
    install.UseFolder();
    TTaskoraIniS ini;
    EXPECT_EQ(ini.ErrorCode, "");
    EXPECT_EQ(ini.ServerPath, install.Folder());
    EXPECT_EQ(ini.IniFileName, install.Folder() + "TaskoraS.ini");
    EXPECT_EQ(ini.Version, "");
    EXPECT_EQ(ini.UICodePage, "437");
    EXPECT_EQ(ini.DBCodePage, "936");
    EXPECT_EQ(ini.UIConvertMode, 0);
    EXPECT_EQ(ini.DBConvertMode, 0);
    EXPECT_FALSE(ini.SupportCallBack);
    EXPECT_EQ(ini.DBKind, 0);
    EXPECT_EQ(ini.SystemControlAddress, "");
    EXPECT_EQ(ini.OtherSystemControlAddress, "");

    const VariantArray& cells = ini.DBSettings.AsArray();
    ASSERT_EQ(cells.DimCount(), 2);
    EXPECT_EQ(cells.LowBound(1), 0);
    EXPECT_EQ(cells.HighBound(1), 3);
    EXPECT_EQ(cells.LowBound(2), 0);
    EXPECT_EQ(cells.HighBound(2), 7);
    const std::vector<Variant> main = {"Norvik", "sa", "", "MSSQL", "", "", 300, 3000};
    const std::vector<Variant> temp = {"NorvikTemp", "sa", "", "PARADOX", "", "PostgreSQL", 300, 3000};
    const std::vector<Variant> server = {"", 211, 1024, "Chinese_Taiwan_Stroke_BIN"};
    const std::vector<Variant> edi = {"EDIDATA", "sa", ""};
    const std::vector<Variant>* rows[] = {&main, &temp, &server, &edi};
    for (int row = 0; row < 4; ++row)
        for (std::size_t column = 0; column < rows[row]->size(); ++column)
            EXPECT_EQ(Cell(ini, row, static_cast<int>(column)), (*rows[row])[column]) << "[" << row << ", " << column << "]";
    ExpectUnassignedCells(ini);
    EXPECT_EQ(Lines(ini.WorkDLLPaths), (std::vector<AnsiString>{install.Folder() + "S_PKG/"}));
}

TEST_F(TaskoraIniSTest, FixtureInstallationGivesEveryField) {
    install.SetSystemCodePage(950);
    install.UseFolder();
    install.CopyFixture("TaskoraS.ini", "TaskoraS.ini");
    TTaskoraIniS ini;
    EXPECT_EQ(ini.ErrorCode, "");
    EXPECT_EQ(ini.Version, "8.7.4");
    EXPECT_EQ(ini.SystemCodePage, "950");
    EXPECT_EQ(ini.UICodePage, "936");
    EXPECT_EQ(ini.DBCodePage, "950");
    EXPECT_EQ(ini.UIConvertMode, 4);
    EXPECT_EQ(ini.DBConvertMode, 1);
    // From DBPasswordCtrl, never from the client's section.
    EXPECT_TRUE(ini.SupportCallBack);
    EXPECT_EQ(ini.DBKind, 1);
    EXPECT_EQ(ini.SystemControlAddress, "dbsrv"); // blank: the main server's name
    EXPECT_EQ(ini.OtherSystemControlAddress, "ctrl2.example");

    const std::vector<Variant> main = {"Company01", "erp", "abc", "oracle", "ERPDB", "dbsrv", 60, 3000};
    const std::vector<Variant> temp = {"Scratch", "tmp", "", "SQLITE", "scratch.db", "SQLite3", 30, 16};
    const std::vector<Variant> server = {"jobsrv", 6211, 2048, "Chinese_PRC_BIN"};
    const std::vector<Variant> edi = {"EDI", "edi", "B0986C"}; // the EDI password as stored
    const std::vector<Variant>* rows[] = {&main, &temp, &server, &edi};
    for (int row = 0; row < 4; ++row)
        for (std::size_t column = 0; column < rows[row]->size(); ++column)
            EXPECT_EQ(Cell(ini, row, static_cast<int>(column)), (*rows[row])[column]) << "[" << row << ", " << column << "]";
    ExpectUnassignedCells(ini);
    // A key written twice gets the first value both times.
    EXPECT_EQ(Lines(ini.WorkDLLPaths), (std::vector<AnsiString>{install.Folder() + "Svr/", install.Folder() + "Svr/",
                                                                 "//filesrv/spkg/"}));
}

TEST_F(TaskoraIniSTest, DatabaseKindIgnoresLetterCase) {
    install.UseFolder();
    const std::pair<const char*, int> cases[] = {{"ORACLE", 1}, {"oracle", 1}, {"Db2", 2}, {"db2", 2},
                                                 {"MSSQL", 0}, {"Oracle8", 0}, {"", 0}};
    for (const auto& [type, kind] : cases) {
        install.WriteFile("TaskoraS.ini", std::string("[DBE Setting]\nMainDBType=") + type + "\n");
        TTaskoraIniS ini;
        EXPECT_EQ(ini.DBKind, kind) << type;
    }
}

TEST_F(TaskoraIniSTest, ControlAddressesFallBackToTheMainServer) {
    install.UseFolder();
    install.WriteFile("TaskoraS.ini",
                      "[DBE Setting]\nMainServerName=dbhost\nSystemControlAddress=\"   \"\nOtherSystemControlAddress=\" x \"\n");
    TTaskoraIniS ini;
    EXPECT_EQ(ini.SystemControlAddress, "dbhost");
    EXPECT_EQ(ini.OtherSystemControlAddress, " x "); // kept as read
}

TEST_F(TaskoraIniSTest, UndecodablePasswordIsMarkedAndLoggedOnce) {
    install.UseFolder();
    install.WriteFile("TaskoraS.ini", "[DBE Setting]\nXXXXXX=B0ZZ6C\nTempPassword=DFB638EE1E7385EB9C\n");
    TTaskoraIniS ini;
    EXPECT_EQ(Cell(ini, 0, 2), Variant("QM_Say_Password_Error"));
    EXPECT_EQ(Cell(ini, 1, 2), Variant(Utf8ToAnsi("口令密码9", CP_GB2312)));
    EXPECT_EQ(ini.ErrorCode, "");
    // One report: one header line with the where-text.
    std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);
    const std::string log = install.ReadFile("Log/" + detail::GeneratorLogFileName(today));
    std::size_t headers = 0;
    for (std::size_t at = log.find("on 22596CF62395A65126D42C"); at != std::string::npos;
         at = log.find("on 22596CF62395A65126D42C", at + 1))
        ++headers;
    EXPECT_EQ(headers, 1u) << log;
}

TEST_F(TaskoraIniSTest, GetWorkDLLPathsReplacesTheList) {
    install.UseFolder();
    install.WriteFile("TaskoraS.ini", "[WorkDLLPath]\nOne=\\One\nTwo=/abs/two\n");
    TTaskoraIniS ini;
    TStringList list;
    list.Add("old line");
    ini.GetWorkDLLPaths(&list);
    EXPECT_EQ(Lines(list), (std::vector<AnsiString>{install.Folder() + "One/", "/abs/two/"}));
    ini.GetWorkDLLPaths(nullptr); // nothing to fill: no harm
}

} // namespace
} // namespace qmx
