// Connections: the connection string, file databases in WAL mode shared by several connections,
// transactions, and the charset at the boundary.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "TempFolder.h"
#include "qmx/platform/AdoConnection.h"
#include "qmx/platform/AdoQuery.h"

using namespace qmx;
using namespace qmx::platform;
using qmx::test::TempFolder;

namespace {

constexpr int kBusy = 5; // the engine's "database is locked"

class AdoConnectionTest : public ::testing::Test {
protected:
    std::string FileString(const std::string& extra = {}) const {
        return "Provider=SQLite;Data Source=" + folder_.File("DEMO.db") + ";Create=True" + extra;
    }

    static Variant Scalar(TQmADOConnection& connection, const std::string& sql) {
        TQmADOQuery query(&connection);
        query.SetSQL(sql);
        query.Open();
        return query.Fields(0).Value();
    }

    TempFolder folder_;
};

} // namespace

TEST_F(AdoConnectionTest, BadConnectionStringsRaiseClearly) {
    folder_.Write("notes.txt", "this is not a database, only some text long enough to have a header......");
    struct Case {
        std::string connectionString;
        const char* reason;
    };
    const Case cases[] = {
        {"Provider=SQLOLEDB;Data Source=srv;Initial Catalog=DEMO;User ID=sa", "provider 'SQLOLEDB' is not available"},
        {"Driver={SQL Server};Server=srv;Database=DEMO", "is not available"},
        {"Provider=SQLite", "no Data Source"},
        {"Data Source=" + folder_.File("missing.db"), "does not exist"},
        {"Data Source=" + folder_.File("notes.txt"), "not a database"},
        {"Data Source=:memory:;Charset=999999", "Charset"},
        {"Data Source=:memory:;Busy Timeout=soon", "Busy Timeout"},
        {"Data Source=:memory:;Create=maybe", "Create"},
        {"Data Source :memory:", "no '='"},
        {"Data Source=\":memory:", "unclosed quote"},
    };
    for (const Case& c : cases) {
        TQmADOConnection connection(c.connectionString);
        try {
            connection.Open();
            ADD_FAILURE() << "no error for " << c.connectionString;
        } catch (const EDatabaseError& error) {
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
        }
        EXPECT_FALSE(connection.Connected());
    }
    EXPECT_FALSE(std::filesystem::exists(folder_.File("missing.db"))); // no empty database made
}

TEST_F(AdoConnectionTest, ConnectionStringKeys) {
    // A quoted value may hold ';'; keys ignore case and blanks; unknown keys are ignored.
    std::filesystem::create_directory(folder_.File("a;b"));
    TQmADOConnection connection("user id=sa; PASSWORD=x; datasource = \"" + folder_.File("a;b") +
                                "/Company.db\" ; CREATE=yes");
    connection.Open();
    EXPECT_EQ(connection.DatabaseName(), "Company");
    EXPECT_TRUE(std::filesystem::exists(folder_.File("a;b/Company.db")));
    connection.Execute("CREATE TABLE T (A)");
    EXPECT_NO_THROW(connection.Execute("SELECT * FROM company..T"));
    EXPECT_THROW(connection.SetConnectionString("Data Source=:memory:"), EDatabaseError);

    TQmADOConnection catalog;
    catalog.SetConnectionString("Data Source=\"" + folder_.File("a;b/Company.db") +
                                "\";Initial Catalog=DEMO;Busy Timeout=250");
    catalog.Open();
    EXPECT_EQ(catalog.DatabaseName(), "DEMO");
    EXPECT_EQ(catalog.BusyTimeout(), 250);
    EXPECT_NO_THROW(catalog.Execute("SELECT * FROM DEMO..T"));
    EXPECT_THROW(catalog.Execute("SELECT * FROM Company..T"), EDatabaseError);
}

TEST_F(AdoConnectionTest, TwoConnectionsShareAFileInWalMode) {
    TQmADOConnection writer(FileString());
    TQmADOConnection other(FileString());
    writer.Execute("CREATE TABLE T (ID INTEGER)");
    other.Open();
    EXPECT_EQ(Scalar(other, "PRAGMA journal_mode").AsString(), "wal");

    writer.BeginTrans();
    writer.Execute("INSERT INTO T VALUES (1)");
    // Readers are not blocked by the open write transaction; they see the last commit.
    EXPECT_EQ(Scalar(other, "SELECT COUNT(*) FROM T").AsInteger(), 0);
    // A second writer waits for the busy timeout, then fails clearly.
    other.SetBusyTimeout(100);
    try {
        other.Execute("INSERT INTO T VALUES (2)");
        ADD_FAILURE() << "the second writer did not wait for the lock";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.ErrorCode(), kBusy) << error.what();
        EXPECT_NE(std::string(error.what()).find("locked"), std::string::npos) << error.what();
    }
    writer.CommitTrans();
    other.Execute("INSERT INTO T VALUES (2)");
    EXPECT_EQ(Scalar(writer, "SELECT SUM(ID) FROM T").AsInteger(), 3);
}

TEST_F(AdoConnectionTest, ConcurrentWritersAllSucceed) {
    {
        TQmADOConnection setup(FileString());
        setup.Execute("CREATE TABLE T (WRITER INTEGER, N INTEGER)");
    }
    constexpr int kRows = 100;
    std::string failures[2];
    const auto write = [&](int writer) {
        try {
            TQmADOConnection connection(FileString(";Busy Timeout=20000"));
            TQmADOQuery insert(&connection);
            insert.SetSQL("INSERT INTO T VALUES (:W, :N)");
            for (int n = 0; n < kRows; ++n) {
                connection.BeginTrans();
                insert.ParamByName("W").Value = writer;
                insert.ParamByName("N").Value = n;
                insert.ExecSQL();
                connection.CommitTrans();
            }
        } catch (const std::exception& error) {
            failures[writer] = error.what();
        }
    };
    std::thread first(write, 0), second(write, 1);
    first.join();
    second.join();
    EXPECT_EQ(failures[0], "");
    EXPECT_EQ(failures[1], "");
    TQmADOConnection reader(FileString());
    EXPECT_EQ(Scalar(reader, "SELECT COUNT(*) FROM T").AsInteger(), 2 * kRows);
    EXPECT_EQ(Scalar(reader, "SELECT COUNT(DISTINCT WRITER) FROM T").AsInteger(), 2);
}

TEST_F(AdoConnectionTest, TransactionsNestAndRollBack) {
    TQmADOConnection connection(FileString());
    connection.Execute("CREATE TABLE T (A TEXT)");
    const auto values = [&] {
        return Scalar(connection, "SELECT IFNULL(GROUP_CONCAT(A, ''), '') FROM (SELECT A FROM T ORDER BY A)")
            .AsString();
    };

    EXPECT_EQ(connection.BeginTrans(), 1);
    connection.Execute("INSERT INTO T VALUES ('a')");
    EXPECT_EQ(connection.BeginTrans(), 2);
    connection.Execute("INSERT INTO T VALUES ('b')");
    connection.RollbackTrans();
    EXPECT_TRUE(connection.InTransaction());
    connection.Execute("INSERT INTO T VALUES ('c')");
    connection.CommitTrans();
    EXPECT_FALSE(connection.InTransaction());
    EXPECT_EQ(values(), "ac");

    connection.BeginTrans();
    connection.Execute("DELETE FROM T");
    connection.RollbackTrans();
    EXPECT_EQ(values(), "ac");

    EXPECT_THROW(connection.CommitTrans(), EDatabaseError);
    EXPECT_THROW(connection.RollbackTrans(), EDatabaseError);

    // Closing with an open transaction rolls it back.
    connection.BeginTrans();
    connection.Execute("DELETE FROM T");
    connection.Close();
    EXPECT_EQ(values(), "ac");
}

TEST_F(AdoConnectionTest, TextsAreUtf8InsideAndTheCharsetOutside) {
    TQmADOConnection gb(FileString());
    gb.Execute("CREATE TABLE T (ID INTEGER, A TEXT)");
    TQmADOQuery insert(&gb);
    insert.SetSQL("INSERT INTO T VALUES (1, :A)");
    insert.ParamByName("A").Value = "\xD6\xD0\xCE\xC4"; // 中文 in page 936
    insert.ExecSQL();
    gb.Execute("INSERT INTO T VALUES (2, CAST(X'D6D0CEC4' AS TEXT))"); // GB2312 bytes written raw

    TQmADOConnection big5(FileString(";Charset=950"));
    EXPECT_EQ(Scalar(big5, "SELECT A FROM T WHERE ID = 1").AsString(), "\xA4\xA4\xA4\xE5");
    TQmADOConnection utf8(FileString(";Charset=UTF-8"));
    EXPECT_EQ(Scalar(utf8, "SELECT A FROM T WHERE ID = 1").AsString(), "\xE4\xB8\xAD\xE6\x96\x87");
    // A stored text that is not UTF-8 comes back as its bytes.
    EXPECT_EQ(Scalar(big5, "SELECT A FROM T WHERE ID = 2").AsString(), "\xD6\xD0\xCE\xC4");
    // SQL texts are converted too: a BIG5 literal finds the row written in GB2312.
    EXPECT_EQ(Scalar(big5, "SELECT ID FROM T WHERE A = '\xA4\xA4\xA4\xE5'").AsInteger(), 1);
}
