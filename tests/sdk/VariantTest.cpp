#include <gtest/gtest.h>

#include <cmath>

#include "qmx/Variant.h"

using namespace qmx;

TEST(Variant, KindsAndDefaults) {
    EXPECT_EQ(Variant().Type(), VarType::Empty);
    EXPECT_EQ(Variant::Null().Type(), VarType::Null);
    EXPECT_EQ(Variant(true).Type(), VarType::Boolean);
    EXPECT_EQ(Variant(5).Type(), VarType::Integer);
    EXPECT_EQ(Variant(std::int64_t{5}).Type(), VarType::Int64);
    EXPECT_EQ(Variant(1.5).Type(), VarType::Double);
    EXPECT_EQ(Variant::FromDate(45000).Type(), VarType::Date);
    EXPECT_EQ(Variant("abc").Type(), VarType::String);
    EXPECT_EQ(Variant(u"abc").Type(), VarType::OleStr);
    EXPECT_EQ(VarArrayOf({1, 2}).Type(), VarType::Array);
}

struct IntCase {
    Variant value;
    std::int32_t expected;
};

TEST(Variant, ToIntegerFollowsToolkitRules) {
    const IntCase cases[] = {
        {Variant(), 0},          {Variant(true), -1},       {Variant(false), 0},
        {Variant(" 42 "), 42},   {Variant("-7"), -7},       {Variant("$1F"), 31},
        {Variant("0x10"), 16},   {Variant(2.5), 2},         {Variant(3.5), 4}, // banker's rounding
        {Variant("2.5"), 2},     {Variant(u"12"), 12},      {Variant(std::int64_t{-3}), -3},
    };
    for (const auto& c : cases) EXPECT_EQ(c.value.AsInteger(), c.expected) << VarToStr(c.value);
}

TEST(Variant, BadTextRaisesCastErrorNamingTheText) {
    for (const char* text : {"abc", "", "12x", "1e", "--1", "inf", "nan"}) {
        try {
            (void)Variant(text).AsInteger();
            ADD_FAILURE() << "no error for '" << text << "'";
        } catch (const EVariantTypeCastError& e) {
            EXPECT_NE(std::string(e.Message()).find(std::string("'") + text + "'"), std::string::npos) << e.Message();
        }
    }
    EXPECT_THROW((void)Variant("x").AsDouble(), EVariantTypeCastError);
    EXPECT_THROW((void)Variant("maybe").AsBoolean(), EVariantTypeCastError);
    EXPECT_THROW((void)Variant("2024-13-01").AsDate(), EVariantTypeCastError);
}

TEST(Variant, NullRaisesExceptThroughVarToStr) {
    const Variant null = Variant::Null();
    EXPECT_THROW((void)null.AsString(), EVariantTypeCastError);
    EXPECT_THROW((void)null.AsInteger(), EVariantTypeCastError);
    EXPECT_THROW((void)null.AsBoolean(), EVariantTypeCastError);
    EXPECT_EQ(VarToStr(null), "");
    EXPECT_EQ(VarToStr(Variant()), "");
}

TEST(Variant, OverflowIsReported) {
    EXPECT_THROW((void)Variant(std::int64_t{1} << 40).AsInteger(), EVariantOverflowError);
    EXPECT_THROW((void)Variant(1e30).AsInt64(), EVariantOverflowError);
    EXPECT_THROW((void)Variant("99999999999").AsInteger(), EVariantOverflowError);
}

TEST(Variant, ToStringAndBack) {
    struct Case {
        Variant value;
        const char* text;
    } cases[] = {
        {Variant(true), "True"},  {Variant(false), "False"}, {Variant(-12), "-12"},
        {Variant(0.1), "0.1"},    {Variant(1e20), "1E20"},   {Variant(1.5e-7), "1.5E-7"},
        {Variant(100.0), "100"},  {Variant(1.0 / 3), "0.333333333333333"},
        {Variant::FromDate(0), "1899/12/30"}, {Variant::FromDate(45292.5), "2024/01/01 12:00:00"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.value.AsString(), c.text);
    EXPECT_DOUBLE_EQ(Variant("1E20").AsDouble(), 1e20);
    EXPECT_TRUE(Variant(" true ").AsBoolean());
    EXPECT_FALSE(Variant("FALSE").AsBoolean());
    EXPECT_TRUE(Variant("2").AsBoolean());
    EXPECT_DOUBLE_EQ(Variant("2024/01/01").AsDate(), 45292);
    EXPECT_DOUBLE_EQ(Variant("2024-01-01 06:00").AsDate(), 45292.25);
}

TEST(Variant, WideTextGoesThroughTheAnsiCodePage) {
    setenv("QMX_ACP", "936", 1);
    const Variant wide(u"\u4E2D\u6587");
    EXPECT_EQ(wide.AsString(), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(Variant("\xD6\xD0\xCE\xC4").AsWideString(), u"\u4E2D\u6587");
    unsetenv("QMX_ACP");
}

TEST(VariantArray, BoundsPerDimensionAndValueSemantics) {
    Variant rows = VarArrayCreate({{1, 3}, {0, 1}});
    EXPECT_EQ(VarArrayDimCount(rows), 2);
    EXPECT_EQ(VarArrayLowBound(rows, 1), 1);
    EXPECT_EQ(VarArrayHighBound(rows, 1), 3);
    EXPECT_EQ(VarArrayLowBound(rows, 2), 0);
    rows.AsArray().At({3, 1}) = "last";
    Variant copy = rows;
    copy.AsArray().At({3, 1}) = "changed";
    EXPECT_EQ(rows.AsArray().At({3, 1}).AsString(), "last");
    EXPECT_FALSE(copy == rows);

    // Nested arrays are copied deeply too.
    Variant outer = VarArrayOf({VarArrayOf({1, 2}), "x"});
    Variant outerCopy = outer;
    outerCopy[0][1] = 9;
    EXPECT_EQ(outer[0][1].AsInteger(), 2);
}

TEST(VariantArray, OutOfBoundsRaises) {
    Variant array = VarArrayCreate({{1, 2}});
    EXPECT_THROW(array[0], EVariantBadIndexError);
    EXPECT_THROW(array[3], EVariantBadIndexError);
    EXPECT_THROW(array.AsArray().At({1, 1}), EVariantBadIndexError);
    EXPECT_THROW((void)VarArrayLowBound(array, 2), EVariantBadIndexError);
    EXPECT_THROW(Variant(5)[0], EVariantTypeCastError);
    EXPECT_THROW((void)VarArrayHighBound(Variant("x"), 1), EVariantTypeCastError);
}

TEST(VariantArray, EmptyAndRedim) {
    Variant empty = VarArrayOf(std::vector<Variant>{});
    EXPECT_EQ(VarArrayHighBound(empty, 1), -1);
    EXPECT_EQ(empty.AsArray().ElementCount(), 0u);

    Variant grid = VarArrayCreate({{0, 1}, {0, 1}});
    grid.AsArray().At({0, 0}) = "a";
    grid.AsArray().At({1, 1}) = "d";
    grid.AsArray().Redim(2);
    EXPECT_EQ(VarArrayHighBound(grid, 2), 2);
    EXPECT_EQ(grid.AsArray().At({0, 0}).AsString(), "a");
    EXPECT_EQ(grid.AsArray().At({1, 1}).AsString(), "d");
    EXPECT_TRUE(grid.AsArray().At({1, 2}).IsEmpty());
    EXPECT_THROW(VarArrayCreate({{2, 0}}), EVariantError);
}

TEST(Variant, ExactEquality) {
    EXPECT_EQ(Variant(1), Variant(1));
    EXPECT_NE(Variant(1), Variant(std::int64_t{1}));
    EXPECT_EQ(VarArrayOf({1, "a"}), VarArrayOf({1, "a"}));
    EXPECT_NE(VarArrayOf({1, "a"}), VarArrayOf({1, "b"}));
    EXPECT_EQ(Variant::Null(), Variant::Null());
}
