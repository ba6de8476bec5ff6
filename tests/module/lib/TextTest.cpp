#include <gtest/gtest.h>

#include "lib/LibStrsText.h"
#include "qmx/CodePage.h"

namespace qmx {
namespace {

struct FieldCase {
    const char* text;
    const char* delimiter;
    int index;
    const char* expected;
};

TEST(DelimitedFieldTest, PicksFieldsByIndex) {
    const FieldCase cases[] = {
        {"a;b;c", ";", 1, "a"},     {"a;b;c", ";", 3, "c"},   {"a;b;c", ";", 4, ""},
        {"a;b;c", ";", 0, ""},      {"a;b;c", ";", -1, ""},   {"a;b;", ";", 3, ""},
        {"a;b;", ";", 2, "b"},      {"", ";", 1, ""},         {"abc", ";", 1, "abc"},
        {"a||b|c", "||", 2, "b|c"}, {"a|b||c", "||", 1, "a|b"}, {"a;;b", ";", 2, ""},
        {"a;;b", ";", 3, "b"},      {"abc", "", 1, "abc"},    {"x\x03y\x03z", "\x03", 2, "y"},
        {"a\r\nb", "\r\n", 2, "b"},
    };
    for (const FieldCase& c : cases)
        EXPECT_EQ(GetDelimitedField(c.text, c.delimiter, c.index), c.expected)
            << "'" << c.text << "' at '" << c.delimiter << "' #" << c.index;
}

TEST(DelimitedFieldTest, CountsFields) {
    const std::pair<const char*, int> cases[] = {
        {"", 0}, {"abc", 1}, {"a;;b", 3}, {"a;b;", 3}, {";", 2}, {";;;", 4},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(CountDelimitedFields(text, ";"), expected) << text;
    // Occurrences do not overlap: "|||" holds one "||" and a stray "|".
    EXPECT_EQ(CountDelimitedFields("a|||b", "||"), 2);
    EXPECT_EQ(GetDelimitedField("a|||b", "||", 2), "|b");
}

TEST(DelimitedFieldTest, NeverSplitsInsideADoubleByteCharacter) {
    // U+4E85 is 0x81 0x7C in GBK: its trail byte is '|'.
    const AnsiString withPipeTrail = Utf8ToAnsi("\u4E85", CP_GB2312);
    ASSERT_EQ(withPipeTrail.size(), 2u);
    ASSERT_EQ(withPipeTrail[1], '|');
    const AnsiString text = "a" + withPipeTrail + "b|c";
    EXPECT_EQ(CountDelimitedFields(text, "|"), 2);
    EXPECT_EQ(GetDelimitedField(text, "|", 1), "a" + withPipeTrail + "b");
    AnsiString rest = text;
    EXPECT_EQ(SplitHead(rest, "|"), "a" + withPipeTrail + "b");
    EXPECT_EQ(rest, "c");
}

TEST(SplitHeadTest, TakesAListApartFromTheLeft) {
    AnsiString text = "one;two;;three";
    std::vector<AnsiString> heads;
    while (!text.empty()) heads.push_back(SplitHead(text, ";"));
    EXPECT_EQ(heads, (std::vector<AnsiString>{"one", "two", "", "three"}));

    AnsiString single = "whole";
    EXPECT_EQ(SplitHead(single, ";"), "whole");
    EXPECT_EQ(single, "");

    AnsiString trailing = "last;";
    EXPECT_EQ(SplitHead(trailing, ";"), "last");
    EXPECT_EQ(trailing, "");

    AnsiString wide = "a<>b<>c";
    EXPECT_EQ(SplitHead(wide, "<>"), "a");
    EXPECT_EQ(wide, "b<>c");
}

TEST(SplitHeadTest, DelimiterViewingIntoTheTextStaysValid) {
    AnsiString text = "x;y";
    const std::string_view delimiter(text.data() + 1, 1);
    EXPECT_EQ(SplitHead(text, delimiter), "x");
    EXPECT_EQ(text, "y");
}

struct ReplaceCase {
    const char* text;
    const char* search;
    const char* replacement;
    bool trim;
    const char* expected;
};

TEST(ReplaceAllTextTest, ReplacesUntilNoOccurrenceIsLeft) {
    const ReplaceCase cases[] = {
        {"x\r\n\r\ny", "\r\n", "", false, "xy"},
        {"abc", "abc", "ABC", false, "abc"}, // equal ignoring case: unchanged
        {" abc ", "abc", "ABC", true, "abc"},
        {"FROM $$T JOIN $$U", "$$", "db..", false, "FROM db..T JOIN db..U"},
        {"<Receiver>x</Receiver>", "Receiver>", "Root>", false, "<Root>x</Root>"},
        {"a[**********]b", "[**********]", "42", false, "a42b"},
        {"\t line \r\n", "\r\n", "", true, "line"},
        {"nothing here", "zz", "y", false, "nothing here"},
        {"abc", "", "x", false, "abc"},
        // A replacement may join the text around it into a new occurrence: the search starts over.
        {"aabb", "ab", "", false, ""},
        {"aab", "ab", "b", false, "b"},
        {"\x01 x \x1f", "q", "r", true, "x"},
    };
    for (const ReplaceCase& c : cases)
        EXPECT_EQ(ReplaceAllText(c.text, c.search, c.replacement, c.trim), c.expected)
            << "'" << c.text << "' '" << c.search << "' -> '" << c.replacement << "'";
}

TEST(ReplaceAllTextTest, EndsWhenTheReplacementContainsTheSearch) {
    EXPECT_EQ(ReplaceAllText("a$b$c", "$", "$$", false), "a$$b$$c");
    EXPECT_EQ(ReplaceAllText("xx", "x", "yxy", false), "yxyyxy");
    EXPECT_EQ(ReplaceAllText(" ab ", "ab", "abab", true), "abab");
}

TEST(ReplaceAllTextTest, EndsWhenTheRewritingKeepsFeedingItself) {
    // "ab" -> "bba" never contains "ab" but moves each "a" right past a doubled run of "b":
    // 24 a's in front of a "b" would take 2^24 steps and as many bytes.
    const AnsiString text = AnsiString(24, 'a') + "b";
    const AnsiString result = ReplaceAllText(text, "ab", "bba", false);
    // Then each occurrence of the original text is replaced once.
    EXPECT_EQ(result, AnsiString(23, 'a') + "bba");
}

TEST(JoinCountedArrayTest, JoinsHeadCountAndElements) {
    Variant values = VarArrayOf({Variant(std::int32_t(2)), Variant("x"), Variant(u"y"), Variant("unused")});
    EXPECT_EQ(JoinCountedArray(Variant("head"), values), u"head\x03" u"2\x03x\x03y\x03");
    Variant none = VarArrayOf({Variant("0")});
    EXPECT_EQ(JoinCountedArray(Variant(""), none), u"\x03" u"0\x03");
}

TEST(JoinCountedArrayTest, ACountPastTheArrayIsAnError) {
    Variant values = VarArrayOf({Variant(std::int32_t(3)), Variant("x")});
    EXPECT_THROW(JoinCountedArray(Variant("h"), values), EVariantError);
    EXPECT_THROW(JoinCountedArray(Variant("h"), Variant("not an array")), EVariantError);
}

TEST(LocalButtonCaptionTest, MapsStandardButtonsToChineseCaptions) {
    const std::pair<const char*, const char*> cases[] = {
        {"Yes", "是(&Y)"},       {"No", "否(&N)"},          {"OK", "确定"},
        {"Cancel", "取消"},      {"Abort", "中断(&A)"},     {"Retry", "重试(&R)"},
        {"Ignore", "忽略(&I)"},  {"All", "全部(&A)"},       {"NoToAll", "全否(&o)"},
        {"YesToAll", "全是(&A)"}, {"Help", "帮助(&H)"},
    };
    for (const auto& [name, caption] : cases)
        EXPECT_EQ(LocalButtonCaption(name), Utf8ToAnsi(caption, CP_GB2312)) << name;
    EXPECT_EQ(LocalButtonCaption("Close"), "Close");
    EXPECT_EQ(LocalButtonCaption("yes"), "yes");
}

TEST(SmallHelpersTest, StrToFloatDefault) {
    const std::pair<const char*, double> cases[] = {
        {"1.5", 1.5}, {" -2 ", -2}, {"1e3", 1000}, {".25", 0.25}, {"abc", 7}, {"", 7}, {"1,5", 7},
        {"nan", 7},   {"inf", 7},
    };
    for (const auto& [text, expected] : cases) EXPECT_DOUBLE_EQ(StrToFloatDefault(text, 7), expected) << text;
}

TEST(SmallHelpersTest, LoopbackAndVariants) {
    EXPECT_TRUE(IsLoopbackAddress("127.0.0.1"));
    for (const char* other : {"localhost", "127.0.0.2", " 127.0.0.1", "::1", ""})
        EXPECT_FALSE(IsLoopbackAddress(other)) << other;

    EXPECT_EQ(VarIfThen(true, Variant("a"), Variant(std::int32_t(1))), Variant("a"));
    EXPECT_EQ(VarIfThen(false, Variant("a"), Variant(std::int32_t(1))), Variant(std::int32_t(1)));

    EXPECT_TRUE(VarIsBlank(Variant()));
    EXPECT_TRUE(VarIsBlank(Variant::Null()));
    EXPECT_FALSE(VarIsBlank(Variant("")));
    EXPECT_FALSE(VarIsBlank(Variant(std::int32_t(0))));
}

} // namespace
} // namespace qmx
