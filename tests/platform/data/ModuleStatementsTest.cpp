// The statements direct processing runs against the company database, exactly as the batch form
// writes them: the notification settings join, the database time, the next message number and
// the message row insert, with the receivers document taken apart through the XML DOM.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <regex>

#include "TempFolder.h"
#include "qmx/platform/AdoConnection.h"
#include "qmx/platform/AdoQuery.h"
#include "qmx/platform/XmlDom.h"

using namespace qmx;
using namespace qmx::platform;
using qmx::test::TempFolder;

namespace {

const char* const kSchema = R"(
CREATE TABLE TMCMC (MC001 CHAR(10), MC002 CHAR(4), MC005 VARCHAR(20));
CREATE TABLE TMCMD (MD001 CHAR(10), MD002 CHAR(4), MD003 VARCHAR(20), MD004 CHAR(1), MD006 VARCHAR(20), MD007 TEXT);
CREATE TABLE ADMTC (TC001 CHAR(14) PRIMARY KEY, TC002 VARCHAR(20), TC003 TEXT, TC004 CHAR(17), TC005 CHAR(1),
                    TC006 VARCHAR(255), TC007 TEXT, TC008 TEXT, TC009 CHAR(1), COMPANY VARCHAR(20),
                    CREATOR VARCHAR(20), CREATE_DATE CHAR(17), FLAG INTEGER);
CREATE TABLE ADMTD (TD001 CHAR(14) PRIMARY KEY, TD004 CHAR(17));
)";

// The texts as the batch form builds them ("$$" stands for the company database and "..").
const char* const kSettingsSql = " SELECT MD001, MD002, MD003, MD006, ISNULL(MD007, '') MD007  FROM $$TMCMD "
                                 " LEFT JOIN $$TMCMC ON MC001 = MD001 AND MC002 = MD002  WHERE UPPER(MC005) = :MC005 "
                                 " AND MD004 = :MD004 ";
const char* const kInsertSql = " INSERT INTO ADMTC (TC001, TC002, TC003, TC004, TC005, TC006, TC007, TC008, TC009, "
                               " COMPANY, CREATOR, CREATE_DATE, FLAG)  VALUES (:TC001, :TC002, :TC003, :TC004, :TC005, "
                               ":TC006, :TC007, :TC008, :TC009,:COMPANY, :CREATOR, :CREATE_DATE, :FLAG) ";

std::string MessageNumberSql(const std::string& day) {
    return " SELECT (SELECT CASE WHEN MAX(TC001) IS NULL THEN '" + day + "000001" + "' " +
           " ELSE CONVERT(CHAR(14), CAST(MAX(TC001) AS BIGINT) + 1) END " + " FROM " +
           " (SELECT MAX(TC001) TC001 FROM ADMTC WHERE TC004 LIKE '" + day + "%' " + " UNION " +
           " SELECT MAX(TD001) TD001 FROM ADMTD WHERE TD004 LIKE '" + day + "%') B) SEQX ";
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t pos = 0; (pos = text.find(from, pos)) != std::string::npos; pos += to.size())
        text.replace(pos, from.size(), to);
    return text;
}

// The toolkit's FormatDateTime(days, "YYYYMMDDHHNNSSZZZ").
std::string CompactStamp(double days) {
    using namespace std::chrono;
    const double whole = std::floor(days);
    const auto milliseconds = static_cast<long long>(std::llround((days - whole) * 86400000.0));
    const year_month_day date{sys_days{year{1899} / December / 30} + std::chrono::days{static_cast<int>(whole)}};
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%04d%02u%02u%02lld%02lld%02lld%03lld", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), milliseconds / 3600000, milliseconds / 60000 % 60,
                  milliseconds / 1000 % 60, milliseconds % 1000);
    return buffer;
}

double NowAsDays() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::time_t asUtc = timegm(&local); // the local wall clock counted as seconds
    return static_cast<double>(asUtc) / 86400.0 + 25569.0;
}

class ModuleStatementsTest : public ::testing::Test {
protected:
    ModuleStatementsTest() : connection_("Provider=SQLite;Data Source=" + folder_.File("DEMO.db") + ";Create=True") {
        connection_.Execute(kSchema);
    }

    std::string NextMessageNumber(const std::string& day) {
        TQmADOQuery query(&connection_);
        query.SetSQL(MessageNumberSql(day));
        query.Open();
        return query.FieldByName("SEQX").AsString();
    }

    TempFolder folder_;
    TQmADOConnection connection_;
};

} // namespace

TEST_F(ModuleStatementsTest, NextMessageNumberOfTheDay) {
    const std::string day = "20240315";
    struct Case {
        const char* name;
        const char* rows; // inserted before the query
        std::string expected;
    };
    const Case cases[] = {
        {"no message at all", "", day + "000001"},
        {"only other days",
         "INSERT INTO ADMTC (TC001, TC004) VALUES ('20240314000020', '20240314101010000');"
         "INSERT INTO ADMTD VALUES ('20240316000003', '20240316101010000');",
         day + "000001"},
        {"ADMTD ahead, ADMTC empty that day", "INSERT INTO ADMTD VALUES ('20240315000007', '20240315080000000');",
         day + "000008"},
        {"ADMTC ahead of ADMTD", "INSERT INTO ADMTC (TC001, TC004) VALUES ('20240315000009', '20240315090000000');",
         day + "000010"},
    };
    // The cases build on each other, as the days of a real database do.
    for (const Case& c : cases) {
        if (*c.rows) connection_.Execute(c.rows);
        EXPECT_EQ(NextMessageNumber(day), c.expected) << c.name;
    }
}

TEST_F(ModuleStatementsTest, NotificationSettingsOfTheProgram) {
    connection_.Execute(
        "INSERT INTO TMCMC VALUES ('S1', '1', 'klnb07'), ('S2', '1', 'KLNB07'), ('S3', '1', 'KLNB08');"
        "INSERT INTO TMCMD VALUES ('S1', '1', 'a', '6', 'x', 'first'), ('S1', '1', 'b', '5', 'x', 'other event'),"
        " ('S2', '1', 'c', '6', 'y', NULL), ('S3', '1', 'd', '6', 'z', 'other program')");
    const std::string dataSource = "DEMO";
    TQmADOQuery settings(&connection_);
    settings.SetSQL(ReplaceAll(kSettingsSql, "$$", dataSource + ".."));
    settings.ParamByName("MC005").Value = "KLNB07";
    settings.ParamByName("MD004").Value = "6";
    settings.Open();

    std::vector<std::string> rows;
    for (; !settings.Eof(); settings.Next()) {
        rows.push_back(settings.FieldByName("MD001").AsString() + "|" + settings.FieldByName("MD003").AsString() + "|" +
                       settings.FieldByName("MD006").AsString() + "|" + settings.FieldByName("MD007").AsString());
        EXPECT_FALSE(settings.FieldByName("MD007").IsNull()); // ISNULL made NULL an empty text
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"S1|a|x|first", "S2|c|y|"}));

    // The company database is named without regard to case; another one is refused.
    settings.SetSQL(ReplaceAll(kSettingsSql, "$$", "demo.."));
    EXPECT_NO_THROW(settings.Open());
    settings.SetSQL(ReplaceAll(kSettingsSql, "$$", "OTHER.."));
    EXPECT_THROW(settings.Open(), EDatabaseError);
}

TEST_F(ModuleStatementsTest, DatabaseTimeFormatsAsCompactStamp) {
    TQmADOQuery query(&connection_);
    query.SetSQL(" SELECT GETDATE() DATEX ");
    query.Open();
    const TField datex = query.FieldByName("DATEX");
    const std::string text = datex.AsString();
    EXPECT_TRUE(std::regex_match(text, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3})"))) << text;
    EXPECT_NEAR(datex.AsDateTime(), NowAsDays(), 5.0 / 86400.0);

    // YYYYMMDDHHNNSSZZZ of the value is its text without separators, milliseconds included.
    const std::string stamp = CompactStamp(datex.AsDateTime());
    EXPECT_EQ(stamp, ReplaceAll(ReplaceAll(ReplaceAll(ReplaceAll(text, "-", ""), " ", ""), ":", ""), ".", ""));
    EXPECT_EQ(stamp.size(), 17u);
}

TEST_F(ModuleStatementsTest, MessageRowFromNotificationSetting) {
    // MD007: the receivers document, then the message text, then the mail text.
    const std::string gbName = "\xD6\xD0\xCE\xC4"; // 中文
    const std::string md007 = "<?xml version=\"1.0\" encoding=\"GB2312\"?><MD007><Receiver><R1 ID=\"u1\" Name=\"" +
                              gbName + "\" Type=\"5\"/></Receiver><Title Value=\"" + gbName +
                              " done\"/></MD007>"
                              "||Job [**********]finished||it's done";
    const std::string field1 = md007.substr(0, md007.find("||"));

    XmlDocument document;
    ASSERT_TRUE(document.LoadXML(field1, CP_GB2312)) << document.ParseError();
    const std::string receivers =
        "<?xml version=\"1.0\" encoding=\"GB2312\"?>" +
        ReplaceAll(document.SelectSingleNode("//MD007/Receiver").XML(CP_GB2312), "Receiver>", "Root>");
    const std::string title = document.SelectSingleNode("//MD007/Title/@Value").Text(CP_GB2312);
    EXPECT_EQ(receivers, "<?xml version=\"1.0\" encoding=\"GB2312\"?><Root><R1 ID=\"u1\" Name=\"" + gbName +
                             "\" Type=\"5\"/></Root>");
    EXPECT_EQ(title, gbName + " done");

    const std::string stamp = "20240315101112123";
    const std::string day = stamp.substr(0, 8);
    const std::string number = NextMessageNumber(day);
    TQmADOQuery insert(&connection_);
    insert.SetSQL(kInsertSql);
    const std::pair<const char*, Variant> values[] = {
        {"TC001", number},    {"TC002", "ADMIN"},     {"TC003", receivers},      {"TC004", stamp}, {"TC005", "N"},
        {"TC006", title},     {"TC007", "it's done"}, {"TC008", "Job finished"}, {"TC009", "4"},   {"COMPANY", "DEMO"},
        {"CREATOR", "ADMIN"}, {"CREATE_DATE", stamp}, {"FLAG", std::int32_t(1)},
    };
    EXPECT_EQ(insert.Parameters().Count(), 13);
    for (const auto& [name, value] : values)
        insert.ParamByName(name).Value = value;
    EXPECT_EQ(insert.ExecSQL(), 1);

    TQmADOQuery row(&connection_);
    row.SetSQL("SELECT * FROM DEMO..ADMTC WHERE TC001 = :TC001");
    row.ParamByName("TC001").Value = number;
    row.Open();
    ASSERT_EQ(row.RecordCount(), 1);
    for (const auto& [name, value] : values)
        EXPECT_EQ(row.FieldByName(name).Value(), value) << name;

    // The row counts for the day's next number; a second insert of the same number fails.
    EXPECT_EQ(NextMessageNumber(day), day + "000002");
    EXPECT_THROW(insert.ExecSQL(), EDatabaseError);
}
