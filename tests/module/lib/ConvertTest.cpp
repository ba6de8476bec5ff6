#include <gtest/gtest.h>

#include <ctime>

#include "ScopedEnvironment.h"
#include "TaskoraHome.h"
#include "lib/AlertLog.h"
#include "lib/LibStrsConvert.h"

namespace qmx {
namespace {

// Sets the system code page for the test and restores the previous setting.
class ScopedSystemCodePage : public testing::ScopedEnvironment {
public:
    explicit ScopedSystemCodePage(const char* value) : ScopedEnvironment("QMX_ACP", value) {}
};

const AnsiString kGb = Utf8ToAnsi("中文", CP_GB2312);
const AnsiString kBig5 = Utf8ToAnsi("中文", CP_BIG5);
const WideString kWide = u"中文";

TEST(CodePageTextTest, ConvertsInTheGivenCodePage) {
    EXPECT_EQ(WideToAnsiCP(kWide, CP_GB2312), kGb);
    EXPECT_EQ(WideToAnsiCP(kWide, CP_BIG5), kBig5);
    EXPECT_NE(kGb, kBig5);
    EXPECT_EQ(AnsiToWideCP(kGb, CP_GB2312), kWide);
    EXPECT_EQ(AnsiToWideCP(kBig5, CP_BIG5), kWide);
    EXPECT_EQ(WideToAnsiCP(u"", CP_GB2312), "");
    EXPECT_EQ(AnsiToWideCP("", CP_GB2312), u"");
}

TEST(CodePageTextTest, AnUnknownCodePageFallsBackToTheSystemOne) {
    ScopedSystemCodePage system("950");
    EXPECT_EQ(WideToAnsiCP(kWide, 12345), kBig5);
    EXPECT_EQ(AnsiToWideCP(kBig5, 12345), kWide);
}

TEST(CodePageTextTest, RaisesWhenNoConversionWorks) {
    ScopedSystemCodePage system("99998");
    EXPECT_THROW(WideToAnsiCP(kWide, 99999), Exception);
    EXPECT_THROW(AnsiToWideCP(kGb, 99999), Exception);
}

// A run-parameter array as the forms build it: rows from 1, nested rows, numbers.
Variant AnsiParameters() {
    Variant rows = VarArrayCreate({{1, 4}});
    rows[1] = Variant(kGb);
    rows[2] = Variant(std::int32_t(7));
    rows[3] = VarArrayOf({Variant(kGb), VarArrayOf({Variant("x"), Variant::Null()}), Variant(1.5)});
    rows[4] = Variant(u"already wide");
    return rows;
}

TEST(VariantConversionTest, ConvertsStringsInNestedArraysBothWays) {
    const Variant wide = VarAnsiToWideCP(AnsiParameters(), CP_GB2312);
    ASSERT_TRUE(wide.IsArray());
    EXPECT_EQ(VarArrayLowBound(wide, 1), 1);
    EXPECT_EQ(wide[1], Variant(kWide));
    EXPECT_EQ(wide[2], Variant(std::int32_t(7)));
    EXPECT_EQ(wide[3][0], Variant(kWide));
    EXPECT_EQ(wide[3][1][0], Variant(u"x"));
    EXPECT_TRUE(wide[3][1][1].IsNull());
    EXPECT_EQ(wide[3][2], Variant(1.5));
    EXPECT_EQ(wide[4], Variant(u"already wide"));

    const Variant back = VarWideToAnsiCP(wide, CP_GB2312);
    Variant expected = AnsiParameters();
    expected[4] = Variant("already wide");
    EXPECT_EQ(back, expected);

    // The same wide text in BIG5.
    EXPECT_EQ(VarWideToAnsiCP(wide, CP_BIG5)[3][0], Variant(kBig5));
}

TEST(VariantConversionTest, SingleValuesAndBlanks) {
    EXPECT_EQ(VarWideToAnsiCP(Variant(kWide), CP_GB2312), Variant(kGb));
    EXPECT_EQ(VarAnsiToWideCP(Variant(kGb), CP_GB2312), Variant(kWide));
    {
        // A single string of the other kind is converted as a whole too.
        ScopedSystemCodePage system("936");
        EXPECT_EQ(VarWideToAnsiCP(Variant(kGb), CP_BIG5), Variant(kBig5));
        EXPECT_EQ(VarAnsiToWideCP(Variant(kWide), CP_GB2312), Variant(kWide));
    }
    EXPECT_TRUE(VarWideToAnsiCP(Variant(), CP_GB2312).IsEmpty());
    EXPECT_TRUE(VarAnsiToWideCP(Variant::Null(), CP_GB2312).IsNull());
    EXPECT_EQ(VarAnsiToWideCP(Variant(std::int32_t(3)), CP_GB2312), Variant(std::int32_t(3)));
}

TEST(VariantConversionTest, TwoDimensionsConvertTheirOwnStringsOnly) {
    Variant grid = VarArrayCreate({{0, 1}, {0, 1}});
    VariantArray& cells = grid.AsArray();
    cells.At({0, 0}) = Variant(kGb);
    cells.At({0, 1}) = Variant(std::int32_t(1));
    cells.At({1, 0}) = VarArrayOf({Variant(kGb)});
    cells.At({1, 1}) = Variant(kGb);
    const Variant wide = VarAnsiToWideCP(grid, CP_GB2312);
    const VariantArray& out = wide.AsArray();
    EXPECT_EQ(out.At({0, 0}), Variant(kWide));
    EXPECT_EQ(out.At({0, 1}), Variant(std::int32_t(1)));
    EXPECT_EQ(out.At({1, 0}), VarArrayOf({Variant(kGb)})); // nested arrays are not entered
    EXPECT_EQ(out.At({1, 1}), Variant(kWide));

    Variant cube = VarArrayCreate({{0, 0}, {0, 0}, {0, 1}});
    cube.AsArray().At({0, 0, 1}) = Variant(kGb);
    EXPECT_EQ(VarAnsiToWideCP(cube, CP_GB2312), cube);
}

TEST(VariantConversionTest, AFailedConversionIsLoggedAndAnswersTheCopy) {
    testing::TaskoraHome home;
    home.UseFolderAsClientPath();
    ScopedSystemCodePage system("99998");
    std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);

    const Variant input = AnsiParameters();
    EXPECT_EQ(VarAnsiToWideCP(input, 99999), input);
    const Variant wideInput = VarArrayOf({Variant(kWide), Variant(u"b")});
    EXPECT_EQ(VarWideToAnsiCP(wideInput, 99999), wideInput);

    const auto lines = home.ReadLines("Log/" + detail::AlertLogFileName("libstrs", "D", today));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("] LINE[115] "), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("99998"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("] LINE[2735] "), std::string::npos) << lines[1];
}

} // namespace
} // namespace qmx
