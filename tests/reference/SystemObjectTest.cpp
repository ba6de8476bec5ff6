// The host's system object and its counter and validator, called as the option forms call them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "RecordingAnswerer.h"
#include "ScopedDemo.h"
#include "qmx/Dispatch.h"
#include "qmx/platform/AdoConnection.h"
#include "qmx/platform/AdoQuery.h"
#include "qmx/platform/ClassRegistry.h"
#include "qmx/reference/WorkCenter.h"

namespace qmx::reference {
namespace {

using ::testing::HasSubstr;
using platform::TQmADOConnection;
using platform::TQmADOQuery;
using test::Gb;

class SystemObjectTest : public ::testing::Test {
protected:
    test::ScopedDemo demo_;
    Variant host_ = platform::CreateOleObject("NorvikWorkCenter.Manager");
    Variant counter_ = GetProperty(host_, "Com_Counter");
    Variant validator_ = GetProperty(host_, "Com_Validator");

    // CheckValue or QueryData as CallValidator makes it: table, key, data source by reference.
    bool Check(const AnsiString& table, const AnsiString& key, const Variant& arguments, Variant& row,
               const char* method = "CheckValue") {
        DispatchArgs args{Variant(table), Variant(key), Variant("DODaza60"), arguments, Variant()};
        const bool found = CallMethodRef(validator_, method, args).AsBoolean();
        row = args[4];
        return found;
    }

    Variant SimpleSql(const AnsiString& sql) {
        DispatchArgs args{Variant("SIMPLESQL"), VarArrayOf({Variant(sql), Variant("MA003")}),
                          VarArrayOf({Variant("DODaza60"), Variant("DODaza60")})};
        return CallMethodRef(counter_, "GetCounter", args);
    }
};

TEST_F(SystemObjectTest, MadeByProgIdThroughTheRegistryAndInProcess) {
    EXPECT_EQ(GetProperty(host_, "ProductID").AsInteger(), 60);
    EXPECT_TRUE(counter_.IsDispatch());
    EXPECT_TRUE(GetProperty(host_, "Com_F2Window").IsDispatch());
    // The same service object each time.
    EXPECT_TRUE(GetProperty(host_, "Com_Counter") == counter_);

    RegisterWorkCenterClass();
    const Variant inProcess = platform::CreateOleObject("norvikworkcenter.manager");
    EXPECT_EQ(VarToStr(GetProperty(inProcess, "DataSource")), "DODaza60");
    platform::UnregisterClassFactory(WorkCenterProgId);
    EXPECT_EQ(NorvikWorkCenterCreateObject("Other.Class"), nullptr);
}

TEST_F(SystemObjectTest, SystemInfoIsATwoRowArrayWithTheCompanysOwnValues) {
    DispatchArgs args{Variant("DODaza60")};
    const Variant info = CallMethodRef(counter_, "GetSysInfo", args);
    const VariantArray& array = info.AsArray();
    ASSERT_EQ(array.DimCount(), 2);
    EXPECT_EQ(array.LowBound(1), 0);
    EXPECT_EQ(array.HighBound(1), 1);
    std::map<AnsiString, AnsiString> values;
    for (std::int32_t i = array.LowBound(2); i <= array.HighBound(2); ++i)
        values[VarToStr(array.At({0, i}))] = VarToStr(array.At({1, i}));
    EXPECT_EQ(values["Sys001"], "1");
    EXPECT_EQ(values["Sys002"], "/");
    EXPECT_EQ(values["QMX002"], Gb("诺维克演示公司")); // the company's own over the shared one
    EXPECT_EQ(values["SYS007"], Gb("品牌"));
    EXPECT_EQ(values.count("SYS010"), 0u);

    DispatchArgs unknown{Variant("NoCompany")};
    EXPECT_THROW(CallMethodRef(counter_, "GetSysInfo", unknown), EOleError);
}

TEST_F(SystemObjectTest, SimpleSqlAnswersRowsOfOneSelect) {
    const Variant portal = SimpleSql("SELECT MA003 FROM QMXINTMA WHERE MA001='StartupPortal' ");
    EXPECT_EQ(VarToStr(portal[0][0]), "N"); // read as element [0][0]
    EXPECT_TRUE(SimpleSql("SELECT MA003 FROM QMXINTMA WHERE MA001='Nothing'").IsNull());
    // Only the named field, for every row.
    const Variant values = SimpleSql(" /* ask */ select MA001, MA003 from QMXINTMA order by MA001");
    ASSERT_EQ(values.AsArray().ElementCount(), 3u);
    EXPECT_EQ(values[1].AsArray().ElementCount(), 1u);
    EXPECT_EQ(VarToStr(values[1][0]), "N");
}

TEST_F(SystemObjectTest, SimpleSqlRefusesEverythingButOneSelect) {
    const char* refused[] = {
        "DELETE FROM QMXMA",
        "SELECT 1; DELETE FROM QMXMA",
        "UPDATE QMXMA SET MA002 = 'x'",
        "INSERT INTO QMXMA (MA001, MA002) VALUES ('x', 'y') RETURNING MA001",
        "WITH x AS (SELECT 1) DELETE FROM QMXMA",
        "SELECTED",
        "PRAGMA query_only = 0",
        "",
    };
    for (const char* sql : refused) EXPECT_THROW(SimpleSql(sql), Exception) << sql;
    EXPECT_EQ(VarToStr(SimpleSql("SELECT COUNT(*) AS MA003 FROM QMXMA")[0][0]), "6");
    EXPECT_THROW(SimpleSql("SELECT MA001 FROM QMXMA"), EOleError); // no field MA003 answered
}

TEST_F(SystemObjectTest, ResultConnectStringRunsTheBatchFormsStatements) {
    DispatchArgs args{Variant("RESULTCONNECTSTRING"), VarArrayOf({Variant("")}),
                      VarArrayOf({Variant("DODaza60"), Variant("DODaza60")})};
    TQmADOConnection ado(VarToStr(CallMethodRef(counter_, "GetCounter", args)));
    ado.Open();
    TQmADOQuery settings(&ado);
    settings.SetSQL(" SELECT MD001, MD002, MD003, MD006, ISNULL(MD007, '') MD007  FROM DODaza60..TMCMD  "
                    "LEFT JOIN DODaza60..TMCMC ON MC001 = MD001 AND MC002 = MD002  "
                    "WHERE UPPER(MC005) = :MC005  AND MD004 = :MD004 ");
    settings.ParamByName("MC005").Value = "KLNB07";
    settings.ParamByName("MD004").Value = "6";
    settings.Open();
    ASSERT_EQ(settings.RecordCount(), 2); // the second one is blank and skipped by the form
    EXPECT_THAT(settings.FieldByName("MD007").AsString(), HasSubstr(Gb("销项发票底稿导出完成")));

    auto nextNumber = [&](const std::string& day) {
        TQmADOQuery query(&ado);
        query.SetSQL(" SELECT (SELECT CASE WHEN MAX(TC001) IS NULL THEN '" + day + "000001' " +
                     " ELSE CONVERT(CHAR(14), CAST(MAX(TC001) AS BIGINT) + 1) END  FROM " +
                     " (SELECT MAX(TC001) TC001 FROM ADMTC WHERE TC004 LIKE '" + day + "%' " + " UNION " +
                     " SELECT MAX(TD001) TD001 FROM ADMTD WHERE TD004 LIKE '" + day + "%') B) SEQX ");
        query.Open();
        return query.FieldByName("SEQX").AsString();
    };
    EXPECT_EQ(nextNumber("20240301"), "20240301000002"); // ADMTD holds the day's first message
    EXPECT_EQ(nextNumber("20240302"), "20240302000001");
}

TEST_F(SystemObjectTest, ValidatorAnswersProgramRows) {
    Variant row;
    ASSERT_TRUE(Check("ADMMB", "01", VarArrayOf({Variant("KLNB07")}), row));
    EXPECT_EQ(VarToStr(row[0]), Gb("销项发票底稿导出"));
    ASSERT_GT(row.AsArray().ElementCount(), 7u);
    EXPECT_EQ(VarToStr(row[7]), "Export of Sales Invoice Drafts");
    ASSERT_TRUE(Check("ADMMB", "11", VarArrayOf({Variant(u"klnb08")}), row));
    EXPECT_EQ(VarToStr(row[3]), "Y"); // background only
    EXPECT_TRUE(Check("ADMMB", "11", VarArrayOf({Variant("KLNB07")}), row, "QueryData"));
    EXPECT_EQ(VarToStr(row[3]), "N");
    EXPECT_FALSE(Check("ADMMB", "01", VarArrayOf({Variant("XXXX99")}), row));
    EXPECT_TRUE(row.IsEmpty());
}

TEST_F(SystemObjectTest, ValidatorSeesSchemesTheServerSaved) {
    Variant row;
    const Variant key = VarArrayOf({Variant(Gb("一月")), Variant("796"), Variant("KLNB07")});
    EXPECT_FALSE(Check("GENES", "01", key, row));
    const Variant server = platform::CreateOleObject("ReportCounterS.dmReportCounter");
    ASSERT_EQ(VarToStr(CallMethod(server, "InsertConTable",
                                  VarArrayOf({Variant(Gb("一月")), Variant("796"), Variant("20240105"), Variant("KLNB07"),
                                              Variant(""), Variant(""), Variant(false)}))),
              "");
    EXPECT_TRUE(Check("GENES", "01", key, row));
}

TEST_F(SystemObjectTest, ValidatorAppliesTheUsersLookupLimit) {
    Variant row;
    SetProperty(validator_, "ProductID", Variant(std::int32_t(60)));
    SetProperty(validator_, "BaseLimited", Variant(u"COPMA\x03" u"2\x03" u"C0001\x03" u"C0003\x03"));
    EXPECT_TRUE(Check("COPMA", "01", VarArrayOf({Variant("C0001")}), row));
    EXPECT_FALSE(Check("COPMA", "01", VarArrayOf({Variant("C0002")}), row));
    EXPECT_TRUE(Check("QMXMA", "04", VarArrayOf({Variant("796")}), row)); // other tables are not limited
    SetProperty(validator_, "BaseLimited", Variant(u"\x03" u"0\x03"));       // no limit
    EXPECT_TRUE(Check("COPMA", "01", VarArrayOf({Variant("C0002")}), row));
    SetProperty(validator_, "BaseLimited", Variant(u"COPMA\x03" u"x\x03"));  // broken
    EXPECT_THROW(Check("COPMA", "01", VarArrayOf({Variant("C0002")}), row), EOleError);
}

TEST_F(SystemObjectTest, ValidatorRefusesUnknownChecksAndWrongArguments) {
    Variant row;
    EXPECT_THROW(Check("NOPE", "01", VarArrayOf({Variant("x")}), row), EOleError);
    EXPECT_THROW(Check("ADMMB", "99", VarArrayOf({Variant("x")}), row), EOleError);
    EXPECT_THROW(Check("GENES", "01", VarArrayOf({Variant("x")}), row), EOleError);
    DispatchArgs unknownSource{Variant("ADMMB"), Variant("01"), Variant("Elsewhere"), VarArrayOf({Variant("KLNB07")}),
                               Variant()};
    EXPECT_THROW(CallMethodRef(validator_, "CheckValue", unknownSource), Exception);
}

TEST_F(SystemObjectTest, EveryMessageTheFormsShowHasATextWithItsPlaceholders) {
    struct Case {
        const char* type;
        const char* number;
        int arguments;
    };
    const Case cases[] = {{"E", "000005", 1}, {"E", "000006", 0}, {"E", "000013", 1}, {"E", "000015", 0},
                          {"E", "000016", 0}, {"E", "000030", 1}, {"E", "000036", 0}, {"E", "000037", 0},
                          {"E", "000038", 0}, {"E", "100082", 2}, {"I", "000003", 1}, {"I", "000004", 1},
                          {"I", "000009", 0}, {"I", "000010", 0}, {"I", "000011", 0}, {"R", "200235", 0},
                          {"W", "000002", 3}, {"W", "000003", 3}, {"W", "000014", 0}, {"B", "200002", 0}};
    for (const char* language : {"CHS", "ENG"}) {
        SetProperty(host_, "Language", Variant(language));
        for (const Case& c : cases) {
            const AnsiString text = VarToStr(CallMethod(host_, "GetMessage", Variant(c.type), Variant(c.number)));
            EXPECT_EQ(text.find(Gb("未定义")), AnsiString::npos) << c.type << c.number;
            int placeholders = 0;
            for (std::size_t at = text.find('%'); at != AnsiString::npos; at = text.find('%', at + 1)) {
                EXPECT_EQ(text.substr(at, 2), "%s") << c.type << c.number;
                ++placeholders;
            }
            EXPECT_EQ(placeholders, c.arguments) << c.type << c.number << " " << language;
        }
    }
    SetProperty(host_, "Language", Variant("ENG"));
    EXPECT_EQ(VarToStr(CallMethod(host_, "GetMessage", Variant("b"), Variant(std::int32_t(200002)))),
              "Dispatch center host");
    SetProperty(host_, "Language", Variant("CHS"));
    EXPECT_EQ(VarToStr(CallMethod(host_, "GetMessage", Variant("B"), Variant("-200002"))), Gb("派班中心主机"));
    EXPECT_EQ(VarToStr(CallMethod(host_, "GetMessage", Variant("E"), Variant("123456"))),
              Gb("讯息未定义 [E;123456]"));
    EXPECT_THROW(CallMethod(host_, "GetMessage", Variant("EE"), Variant("000005")), EOleError);
    EXPECT_THROW(CallMethod(host_, "GetMessage", Variant("E"), Variant("1234567")), EOleError);
}

TEST_F(SystemObjectTest, FileListNamesThePackageOfAServerModule) {
    const std::string package = demo_.WriteFile("packages/KLNB07S.dll.zip", "PK");
    const AnsiString answer = VarToStr(CallMethod(host_, "GetFileList", VarArrayOf({Variant("klnb07s.dll")})));
    std::smatch match;
    const std::regex tags("<Modify>([0-9]{14})</Modify><Path>(.*)</Path>");
    ASSERT_TRUE(std::regex_search(answer, match, tags)) << answer;
    // The folder part, up to the last backslash, with the name and ".zip" is the package.
    const std::string path = match[2];
    const std::string folder = path.substr(0, path.rfind('\\'));
    EXPECT_TRUE(std::filesystem::equivalent(folder + "/" + "KLNB07S.dll.zip", package)) << path;
    EXPECT_EQ(path.substr(path.rfind('\\') + 1), "klnb07s.dll");

    EXPECT_EQ(VarToStr(CallMethod(host_, "GetFileList", VarArrayOf({Variant("klnb99s.dll")}))), "");
    for (const char* bad : {"../registry.reg", "a\\b.dll", "..", ""})
        EXPECT_THROW(CallMethod(host_, "GetFileList", VarArrayOf({Variant(bad)})), EOleError) << bad;
}

TEST_F(SystemObjectTest, HelpIsShownThroughTheDialogHook) {
    test::ScopedAnswerer answerer;
    CallMethod(host_, "CallHelp", VarArrayOf({Variant("KLN"), Variant("13070000")}));
    CallMethod(host_, "CallHelp", VarArrayOf({Variant("KLN"), Variant("19990000")}));
    ASSERT_EQ(answerer->requests.size(), 2u);
    EXPECT_EQ(answerer->requests[0].Kind, HostDialogKind::Help);
    EXPECT_EQ(VarToStr(answerer->requests[0].Contents[2]), demo_.Environment().HelpFolder + "KLN/13070000.html");
    EXPECT_EQ(VarToStr(answerer->requests[1].Contents[2]), "");
    EXPECT_THROW(CallMethod(host_, "CallHelp", VarArrayOf({Variant("KLN")})), EOleError);
}

TEST_F(SystemObjectTest, SessionPropertiesAreTheHostsToSet) {
    SetProperty(host_, "UserId", Variant("A001"));
    EXPECT_EQ(VarToStr(GetProperty(host_, "UserId")), "A001");
    EXPECT_THROW(SetProperty(host_, "DataSource", Variant("../x")), EOleError);
    SetProperty(host_, "DataSource", Variant("Missing"));
    DispatchArgs args{Variant("DODaza60")};
    EXPECT_THROW(CallMethodRef(counter_, "GetSysInfo", args), Exception); // no such database
}

} // namespace
} // namespace qmx::reference
