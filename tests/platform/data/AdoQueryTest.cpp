// Queries: navigation, fields and their values, NULL, named parameters, and errors that name
// their cause and statement.
#include <gtest/gtest.h>

#include "qmx/platform/AdoConnection.h"
#include "qmx/platform/AdoQuery.h"

using namespace qmx;
using namespace qmx::platform;

namespace {

class AdoQueryTest : public ::testing::Test {
protected:
    AdoQueryTest() : connection_("Provider=SQLite;Data Source=:memory:;Charset=936") {
        connection_.Execute("CREATE TABLE T (ID INTEGER, NAME TEXT, AMOUNT REAL)");
        connection_.Execute("INSERT INTO T VALUES (1, 'a', 1.5), (2, NULL, NULL), (3, 'c', 3)");
    }

    TQmADOQuery& Opened(const std::string& sql) {
        query_.SetSQL(sql);
        query_.Open();
        return query_;
    }

    int Count(const std::string& where = "1 = 1") {
        return Opened("SELECT COUNT(*) N FROM T WHERE " + where).FieldByName("N").AsInteger();
    }

    TQmADOConnection connection_;
    TQmADOQuery query_{&connection_};
};

} // namespace

TEST_F(AdoQueryTest, NavigatesAsTheToolkitsDataSets) {
    TQmADOQuery& query = Opened("SELECT ID FROM T ORDER BY ID");
    EXPECT_EQ(query.RecordCount(), 3);
    EXPECT_TRUE(query.Bof());
    EXPECT_FALSE(query.Eof());
    std::vector<int> ids;
    for (; !query.Eof(); query.Next())
        ids.push_back(query.FieldByName("ID").AsInteger());
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(query.RecNo(), 3); // Next on the last row stays there
    query.Prior();
    EXPECT_EQ(query.FieldByName("ID").AsInteger(), 2);
    EXPECT_FALSE(query.Eof());
    query.First();
    EXPECT_TRUE(query.Bof());
    EXPECT_EQ(query.RecNo(), 1);
    query.Prior();
    EXPECT_TRUE(query.Bof());
    EXPECT_EQ(query.RecNo(), 1);
    query.Last();
    EXPECT_TRUE(query.Eof());
    EXPECT_EQ(query.FieldByName("ID").AsInteger(), 3);

    Opened("SELECT ID FROM T WHERE ID > 9");
    EXPECT_TRUE(query.Eof());
    EXPECT_TRUE(query.Bof());
    EXPECT_TRUE(query.IsEmpty());
    EXPECT_EQ(query.RecNo(), 0);
    EXPECT_TRUE(query.FieldByName("ID").IsNull());
    query.Next();
    EXPECT_TRUE(query.Eof());

    query.Close();
    EXPECT_FALSE(query.Active());
    EXPECT_TRUE(query.Eof());
    EXPECT_THROW(query.Next(), EDatabaseError);
    EXPECT_THROW(query.FieldByName("ID"), EDatabaseError);
}

TEST_F(AdoQueryTest, NullReadsAsNullAndAsTheToolkitsDefaults) {
    TQmADOQuery& query = Opened("SELECT NAME, AMOUNT FROM T WHERE ID = 2");
    const TField name = query.FieldByName("NAME");
    EXPECT_TRUE(name.IsNull());
    EXPECT_TRUE(name.Value().IsNull());
    EXPECT_EQ(name.AsString(), "");
    EXPECT_EQ(query.FieldByName("AMOUNT").AsInteger(), 0);
    EXPECT_EQ(query.FieldByName("AMOUNT").AsFloat(), 0.0);
    EXPECT_FALSE(name.AsBoolean());

    // Null and unassigned parameters bind SQL NULL.
    query.SetSQL("INSERT INTO T (ID, NAME, AMOUNT) VALUES (:ID, :NAME, :AMOUNT)");
    query.ParamByName("ID").Value = 4;
    query.ParamByName("NAME").Value = Variant::Null();
    EXPECT_EQ(query.ExecSQL(), 1);
    EXPECT_EQ(Count("NAME IS NULL AND AMOUNT IS NULL"), 2);
}

TEST_F(AdoQueryTest, ParametersAreBoundNotSplicedIntoTheText) {
    const AnsiString hostile = "x'); DROP TABLE T; --";
    query_.SetSQL("INSERT INTO T (ID, NAME) VALUES (:ID, :NAME)");
    query_.ParamByName("ID").Value = 10;
    query_.ParamByName("name").Value = hostile; // names match without regard to case
    query_.ExecSQL();
    EXPECT_EQ(Opened("SELECT NAME FROM T WHERE ID = 10").FieldByName("NAME").AsString(), hostile);
    EXPECT_EQ(Count(), 4);

    // A quoted literal made with QuotedStr finds the same row.
    EXPECT_EQ(Count("NAME = " + QuotedStr(hostile)), 1);

    // One parameter used twice is one value.
    TQmADOQuery& query = Opened("SELECT 1");
    query.SetSQL("SELECT COUNT(*) N FROM T WHERE ID = :ID OR ID = :id + 1");
    EXPECT_EQ(query.Parameters().Count(), 1);
    query.ParamByName("ID").Value = 1;
    query.Open();
    EXPECT_EQ(query.FieldByName("N").AsInteger(), 2);
    EXPECT_THROW(query.ParamByName("NOPE"), EDatabaseError);

    // A new text makes new parameters: the old values are gone.
    query.SetSQL("SELECT :ID AS V");
    EXPECT_TRUE(query.ParamByName("ID").Value.IsEmpty());
}

TEST_F(AdoQueryTest, DoubleByteTextNeverLooksLikeMarkup) {
    // GBK 丂 is 81 40: its trail byte is '@', so "\x81\x40NAME" read byte by byte is a parameter.
    const AnsiString text = "\x81\x40NAME:X '";
    TQmADOQuery& query = Opened("SELECT " + QuotedStr(text) + " AS V, LEN(" + QuotedStr(text) + ") AS L");
    EXPECT_EQ(query.Parameters().Count(), 0);
    EXPECT_EQ(query.FieldByName("V").AsString(), text);
    EXPECT_EQ(query.FieldByName("L").AsInteger(), 9);
}

TEST_F(AdoQueryTest, ValuesKeepTheirKinds) {
    TQmADOQuery& query = Opened("SELECT :I AS I, :BIG AS BIG, :R AS R, :S AS S, :B AS B, :D AS D, :W AS W, "
                                "X'00FF' AS BLOB");
    query.ParamByName("I").Value = 7;
    query.ParamByName("BIG").Value = std::int64_t(20240101000008);
    query.ParamByName("R").Value = 2.5;
    query.ParamByName("S").Value = "\xD6\xD0"; // 中 in page 936
    query.ParamByName("B").Value = true;
    query.ParamByName("D").Value = Variant::FromDate(45292.5); // 2024-01-01 12:00
    query.ParamByName("W").Value = u"\u6587";
    query.Open();
    EXPECT_EQ(query.FieldByName("I").Value(), Variant(std::int32_t(7)));
    EXPECT_EQ(query.FieldByName("BIG").Value(), Variant(std::int64_t(20240101000008)));
    EXPECT_EQ(query.FieldByName("R").Value(), Variant(2.5));
    EXPECT_EQ(query.FieldByName("S").Value(), Variant("\xD6\xD0"));
    EXPECT_EQ(query.FieldByName("B").Value(), Variant(std::int32_t(1)));
    EXPECT_EQ(query.FieldByName("D").AsString(), "2024-01-01 12:00:00.000");
    EXPECT_DOUBLE_EQ(query.FieldByName("D").AsDateTime(), 45292.5);
    EXPECT_EQ(query.FieldByName("W").AsString(), "\xCE\xC4");
    EXPECT_EQ(query.FieldByName("BLOB").AsString(), std::string("\x00\xFF", 2));
    EXPECT_THROW(query.FieldByName("S").AsInteger(), EVariantTypeCastError);
    EXPECT_THROW(query.FieldByName("S").AsDateTime(), EVariantTypeCastError);

    query.ParamByName("I").Value = VarArrayOf({1, 2});
    EXPECT_THROW(query.Open(), EDatabaseError);
}

TEST_F(AdoQueryTest, FieldsByNameAndIndex) {
    TQmADOQuery& query = Opened("SELECT ID, NAME nm FROM T ORDER BY ID");
    EXPECT_EQ(query.FieldCount(), 2);
    EXPECT_EQ(query.FieldNames(), (std::vector<AnsiString>{"ID", "nm"}));
    EXPECT_EQ(query.Fields(1).FieldName(), "nm");
    EXPECT_EQ(query.FieldByName("NM").AsString(), "a");
    EXPECT_TRUE(query.FindField("Nm"));
    EXPECT_FALSE(query.FindField("NAME"));
    EXPECT_THROW(query.Fields(2), EDatabaseError);
    try {
        query.FieldByName("NAME");
        ADD_FAILURE();
    } catch (const EDatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("NAME"), std::string::npos);
    }

    // A field handle follows the query's row and keeps its result when the query opens anew.
    const TField id = query.FieldByName("ID");
    query.Next();
    EXPECT_EQ(id.AsInteger(), 2);
    Opened("SELECT 99 AS ID");
    EXPECT_EQ(id.AsInteger(), 2);
    query.Close();
    EXPECT_EQ(id.AsInteger(), 2);
}

TEST_F(AdoQueryTest, OpenAndExecSqlEachTakeTheirKindOfStatement) {
    query_.SetSQL("INSERT INTO T (ID) VALUES (5)");
    EXPECT_THROW(query_.Open(), EDatabaseError);
    EXPECT_EQ(Count(), 3); // refused before it ran

    query_.SetSQL("SELECT 1; DELETE FROM T");
    EXPECT_THROW(query_.Open(), EDatabaseError);
    EXPECT_EQ(Count(), 3);

    query_.SetSQL("UPDATE T SET AMOUNT = 0; DELETE FROM T WHERE ID = 1");
    EXPECT_EQ(query_.ExecSQL(), 4);
    EXPECT_EQ(connection_.Execute("UPDATE T SET AMOUNT = 1 WHERE ID > 0"), 2);
}

TEST_F(AdoQueryTest, FailingStatementsNameTheirCauseAndStatement) {
    struct Case {
        const char* sql;
        const char* reason;
        int code;
    };
    const Case cases[] = {
        {"SELECT * FROM NOSUCH", "no such table: NOSUCH", 1},
        {"SELEKT 1", "syntax error", 1},
        {"SELECT * FROM OTHER..T", "OTHER", 0},
        {"SELECT * FROM T WHERE ID = ?", "Unnamed parameters", 0},
        {"SELECT CAST('x' AS INT)", "Conversion failed", 1},
    };
    for (const Case& c : cases) {
        try {
            Opened(c.sql);
            ADD_FAILURE() << "no error for " << c.sql;
        } catch (const EDatabaseError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
            EXPECT_NE(message.find(std::string("SQL: ") + c.sql), std::string::npos) << message;
            EXPECT_EQ(error.ErrorCode(), c.code) << message;
        }
    }
    // The connection goes on working.
    EXPECT_EQ(Count(), 3);
}

TEST_F(AdoQueryTest, QueriesFollowTheirConnection) {
    TQmADOQuery& query = Opened("SELECT ID FROM T");
    connection_.Close();
    EXPECT_FALSE(query.Active());
    query.SetSQL("SELECT 1");
    query.Open(); // opens the connection again
    EXPECT_TRUE(connection_.Connected());

    TQmADOQuery orphan;
    orphan.SetSQL("SELECT 1");
    EXPECT_THROW(orphan.Open(), EDatabaseError);
    {
        TQmADOConnection shortLived("Data Source=:memory:");
        orphan.SetConnection(&shortLived);
        orphan.Open();
    }
    EXPECT_EQ(orphan.Connection(), nullptr);
    EXPECT_FALSE(orphan.Active());
    EXPECT_THROW(orphan.Open(), EDatabaseError);
}
