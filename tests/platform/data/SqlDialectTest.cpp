// The rewrite of SQL Server's dialect into SQLite's, text to text. What the rewritten functions
// compute is tested against the engine in SqlFunctionsTest.
#include <gtest/gtest.h>

#include "qmx/platform/SqlDialect.h"

using namespace qmx;
using namespace qmx::platform;

TEST(SqlDialectTest, RewritesTheDialect) {
    struct Case {
        const char* sql;
        const char* expected;
    };
    const Case cases[] = {
        // Functions SQLite lacks or reads as keywords.
        {"SELECT ISNULL(MD007, '') MD007 FROM T", "SELECT IFNULL(MD007, '') MD007 FROM T"},
        {"SELECT isnull(a,b), LEFT(a, 2), Right(a,1) FROM T",
         "SELECT IFNULL(a,b), QMX_LEFT(a, 2), QMX_RIGHT(a,1) FROM T"},
        {"SELECT CURRENT_TIMESTAMP", "SELECT GETDATE()"},
        {"SELECT * FROM A LEFT JOIN B ON A.X = B.X", "SELECT * FROM A LEFT JOIN B ON A.X = B.X"},
        // Company database prefixes, also quoted and in other case.
        {"SELECT MD001 FROM DEMO..TMCMD LEFT JOIN demo..TMCMC ON MC001 = MD001",
         "SELECT MD001 FROM TMCMD LEFT JOIN TMCMC ON MC001 = MD001"},
        {"SELECT * FROM [DEMO]..[ADMTC], DEMO.dbo.ADMTD, dbo.X", "SELECT * FROM [ADMTC], ADMTD, X"},
        {"INSERT INTO DEMO..ADMTC (TC001) VALUES (:TC001)", "INSERT INTO ADMTC (TC001) VALUES (:TC001)"},
        // CONVERT and CAST, nested, with the + inside.
        {"SELECT CONVERT(CHAR(14), CAST(MAX(TC001) AS BIGINT) + 1)",
         "SELECT QMX_CONVERT('CHAR(14)', QMX_PLUS(QMX_CONVERT('BIGINT', MAX(TC001)), 1))"},
        {"SELECT CONVERT(varchar (8), GETDATE(), 112)", "SELECT QMX_CONVERT('VARCHAR(8)', GETDATE(), 112)"},
        {"SELECT CAST(CASE WHEN a = 1 THEN 'x' END AS VARCHAR(MAX))",
         "SELECT QMX_CONVERT('VARCHAR(MAX)', CASE WHEN a = 1 THEN 'x' END)"},
        // + with SQL Server's precedence: * / % bind tighter, - and + from the left.
        {"SELECT a + b", "SELECT QMX_PLUS(a, b)"},
        {"SELECT a + b * c - d + e", "SELECT QMX_PLUS(QMX_PLUS(a, b * c) - d, e)"},
        {"SELECT a - b - c", "SELECT a - b - c"},
        {"SELECT -a + -1", "SELECT QMX_PLUS(-a, -1)"},
        {"SELECT 'N' + UPPER(x) AS y, f(a + 1) FROM t WHERE a + 1 = b",
         "SELECT QMX_PLUS('N', UPPER(x)) AS y, f(QMX_PLUS(a, 1)) FROM t WHERE QMX_PLUS(a, 1) = b"},
        {"SELECT CASE WHEN a IS NULL THEN b + 'x' ELSE c END + 'z' q",
         "SELECT QMX_PLUS(CASE WHEN a IS NULL THEN QMX_PLUS(b, 'x') ELSE c END, 'z') q"},
        {"SELECT 1e+5 + t.a FROM t", "SELECT QMX_PLUS(1e+5, t.a) FROM t"},
        // TOP becomes LIMIT at the end of its own SELECT.
        {"SELECT TOP 5 A FROM T ORDER BY A", "SELECT A FROM T ORDER BY A LIMIT 5"},
        {"SELECT DISTINCT TOP (3) A FROM T -- last", "SELECT DISTINCT A FROM T LIMIT (3) -- last"},
        {"SELECT (SELECT TOP 1 A FROM T ORDER BY A DESC) X", "SELECT (SELECT A FROM T ORDER BY A DESC LIMIT 1) X"},
        {"SELECT TOP 1 A FROM T; SELECT B FROM U", "SELECT A FROM T LIMIT 1; SELECT B FROM U"},
        // Unicode literals and table hints.
        {"SELECT N'x''y' FROM T WITH (NOLOCK, ROWLOCK)", "SELECT 'x''y' FROM T "},
        {"WITH x AS (SELECT 1 a) SELECT a FROM x", "WITH x AS (SELECT 1 a) SELECT a FROM x"},
        // Nothing inside quotes or comments is touched.
        {"SELECT 'ISNULL(a) DEMO..X a + b TOP 1 :P' + \"a+b\" -- ISNULL(a) + b\n/* TOP 2 */",
         "SELECT QMX_PLUS('ISNULL(a) DEMO..X a + b TOP 1 :P', \"a+b\") -- ISNULL(a) + b\n/* TOP 2 */"},
    };
    const SqlDialect dialect("DEMO");
    for (const Case& c : cases)
        EXPECT_EQ(dialect.Translate(c.sql), c.expected) << c.sql;
}

TEST(SqlDialectTest, RefusesWhatItCannotTranslate) {
    struct Case {
        const char* sql;
        const char* reason;
    };
    const Case cases[] = {
        {"SELECT * FROM OTHER..T", "OTHER"},
        {"SELECT * FROM OTHER.dbo.T", "OTHER"},
        {"SELECT TOP 10 PERCENT A FROM T", "PERCENT"},
        {"SELECT TOP 1 WITH TIES A FROM T ORDER BY A", "TIES"},
        {"SELECT TOP 1 A FROM T UNION SELECT B FROM U", "UNION"},
        {"SELECT A FROM T UNION SELECT TOP 1 B FROM U", "UNION"},
        {"DELETE TOP (1) FROM T", "TOP"},
        {"SELECT CONVERT(GEOGRAPHY, a)", "GEOGRAPHY"},
        {"SELECT CAST(a AS CHAR(0))", "CHAR(0)"},
        {"SELECT CAST(a)", "AS"},
        {"SELECT CONVERT(INT)", "CONVERT"},
    };
    const SqlDialect dialect("DEMO");
    for (const Case& c : cases) {
        try {
            dialect.Translate(c.sql);
            ADD_FAILURE() << "no error for " << c.sql;
        } catch (const EDatabaseError& error) {
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << c.sql << ": " << error.what();
        }
    }
    // A pathological nesting is refused, not followed down to a stack overflow.
    const std::string deep = "SELECT " + std::string(100000, '(') + "1" + std::string(100000, ')');
    EXPECT_THROW(dialect.Translate(deep), EDatabaseError);
    // Without a company database, no prefix is accepted.
    EXPECT_THROW(SqlDialect().Translate("SELECT * FROM DEMO..T"), EDatabaseError);
}

TEST(SqlDialectTest, ParameterNamesInOrderOfFirstUseOutsideQuotes) {
    const auto names =
        SqlDialect::ParameterNames("INSERT INTO T VALUES (:TC001, :tc002,:COMPANY, @User, ':NOT' , \":NOR\") -- :NOPE\n"
                                   " WHERE a = :tc001 AND b = ?");
    EXPECT_EQ(names, (std::vector<std::string>{"TC001", "tc002", "COMPANY", "User"}));
}

TEST(SqlDialectTest, QuotedStrDoublesQuotes) {
    EXPECT_EQ(QuotedStr(""), "''");
    EXPECT_EQ(QuotedStr("O'Brien"), "'O''Brien'");
    EXPECT_EQ(QuotedStr("''"), "''''''");
    // GBK and BIG5 bytes pass unchanged: a quote is never a trail byte.
    EXPECT_EQ(QuotedStr("\xB3\x5C'\x81\x40"), "'\xB3\x5C''\x81\x40'");
}
