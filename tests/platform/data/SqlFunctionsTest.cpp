// SQL Server's functions and + as the embedded engine computes them, through the whole path:
// rewrite, registered functions, charset conversion.
#include <gtest/gtest.h>

#include "qmx/platform/AdoConnection.h"
#include "qmx/platform/AdoQuery.h"

using namespace qmx;
using namespace qmx::platform;

namespace {

class SqlFunctionsTest : public ::testing::Test {
protected:
    SqlFunctionsTest() : connection_("Provider=SQLite;Data Source=:memory:;Initial Catalog=DEMO;Charset=936") {}

    Variant Eval(const std::string& expression) {
        TQmADOQuery query(&connection_);
        query.SetSQL("SELECT " + expression + " AS V");
        query.Open();
        return query.FieldByName("V").Value();
    }

    TQmADOConnection connection_;
};

Variant Int(std::int32_t value) { return Variant(value); }

const std::string kGbChinese = "\xD6\xD0\xCE\xC4"; // 中文

} // namespace

TEST_F(SqlFunctionsTest, ComputeAsSqlServerDoes) {
    struct Case {
        std::string expression;
        Variant expected;
    };
    const Case cases[] = {
        // CONVERT and CAST
        {"CONVERT(CHAR(14), CAST('20240101000007' AS BIGINT) + 1)", "20240101000008"},
        {"CONVERT(CHAR(5), 'ab')", "ab   "},
        {"CONVERT(VARCHAR(3), 'abcdef')", "abc"},
        {"CONVERT(VARCHAR(2), 12345)", "*"},
        {"CONVERT(CHAR(2), 12345)", "* "},
        {"CONVERT(VARCHAR, 12)", "12"},
        {"CONVERT(CHAR(8), '2024-03-05 10:11:12.345', 112)", "20240305"},
        {"CONVERT(VARCHAR(19), '2024-03-05 10:11:12.345', 120)", "2024-03-05 10:11:12"},
        {"CONVERT(VARCHAR(10), 'no date', 112)", "no date"},
        {"CONVERT(CHAR(3), '" + kGbChinese + "')", kGbChinese + " "},
        {"CAST('  42 ' AS INT)", Int(42)},
        {"CAST('' AS INT)", Int(0)},
        {"CAST(-3.9 AS INT)", Int(-3)},
        {"CAST('20240101000007' AS BIGINT)", Variant(std::int64_t(20240101000007))},
        {"CAST(1.25 AS DECIMAL(5,1))", Variant(1.3)},
        {"CAST(2.5 AS NUMERIC(5))", Int(3)},
        {"CAST('true' AS BIT)", Int(1)},
        {"CAST('20240305' AS DATETIME)", "2024-03-05 00:00:00.000"},
        {"CAST(0 AS DATETIME)", "1900-01-01 00:00:00.000"},
        {"CAST('2024-03-05 10:11' AS DATE)", "2024-03-05"},
        {"CAST(NULL AS INT)", Variant::Null()},
        // +
        {"'a' + 'b'", "ab"},
        {"'1' + 2", Int(3)},
        {"1.5 + 1", Variant(2.5)},
        {"NULL + 'a'", Variant::Null()},
        {"'2024-01-31 10:00:00.000' + 1", "2024-02-01 10:00:00.000"},
        {"'x' + CONVERT(VARCHAR(5), 7) + 'y'", "x7y"},
        // string functions, counting characters
        {"LEN('ab  ')", Int(2)},
        {"LEN('" + kGbChinese + "')", Int(2)},
        {"LEN(NULL)", Variant::Null()},
        {"SUBSTRING('abcdef', 2, 3)", "bcd"},
        {"SUBSTRING('abc', 0, 2)", "a"},
        {"SUBSTRING('abc', -1, 3)", "a"},
        {"SUBSTRING('" + kGbChinese + "', 2, 1)", "\xCE\xC4"},
        {"LEFT('abc', 2)", "ab"},
        {"RIGHT('abc', 5)", "abc"},
        {"CHARINDEX('c', 'abcabc', 4)", Int(6)},
        {"CHARINDEX('z', 'abc')", Int(0)},
        {"UPPER('klnb07')", "KLNB07"},
        {"LTRIM(RTRIM('  a  '))", "a"},
        {"ISNULL(NULL, 'd')", "d"},
        {"REPLICATE('ab', 2) + SPACE(1)", "abab "},
        {"(SELECT TOP 1 x FROM (SELECT 1 x UNION ALL SELECT 2 x) T ORDER BY x DESC)", Int(2)},
    };
    for (const Case& c : cases) {
        Variant actual;
        ASSERT_NO_THROW(actual = Eval(c.expression)) << c.expression;
        EXPECT_EQ(actual, c.expected) << c.expression << " gave " << VarToStr(actual) << " ("
                                      << VarTypeName(actual.Type()) << ")";
    }
}

TEST_F(SqlFunctionsTest, ConversionErrorsRaiseWithSqlServersReason) {
    struct Case {
        const char* expression;
        const char* reason;
    };
    const Case cases[] = {
        {"CAST('abc' AS INT)", "Conversion failed when converting the varchar value 'abc' to data type int"},
        {"CAST(300 AS TINYINT)", "Arithmetic overflow"},
        {"'abc' + 1", "Conversion failed"},
        {"SUBSTRING('a', 1, -1)", "Invalid length parameter"},
        {"CONVERT(CHAR(8), '2024-03-05', 999)", "style 999"},
        {"CAST('2024-13-01' AS DATETIME)", "date and/or time"},
    };
    for (const Case& c : cases) {
        try {
            Eval(c.expression);
            ADD_FAILURE() << "no error for " << c.expression;
        } catch (const EDatabaseError& error) {
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
        }
    }
}
