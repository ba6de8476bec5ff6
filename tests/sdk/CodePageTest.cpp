#include <gtest/gtest.h>

#include <cstdlib>

#include "qmx/CodePage.h"

using namespace qmx;

namespace {
const char* const kZhongwenGbk = "\xD6\xD0\xCE\xC4";  // 中文 in GBK
const char* const kZhongwenBig5 = "\xA4\xA4\xA4\xE5"; // 中文 in BIG5
} // namespace

TEST(CodePage, RoundTripsEachPage) {
    struct Case {
        CodePage page;
        std::string bytes;
        std::u16string wide;
    } cases[] = {
        {CP_GB2312, kZhongwenGbk, u"\u4E2D\u6587"},
        {CP_BIG5, kZhongwenBig5, u"\u4E2D\u6587"},
        {CP_WESTERN, "caf\xE9 \x80", u"caf\u00E9 \u20AC"},
        {CP_OEM_US, "\x82\xB0", u"\u00E9\u2591"},
        {CP_GB2312, "abc", u"abc"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AnsiToWide(c.bytes, c.page), c.wide) << c.page;
        EXPECT_EQ(WideToAnsi(c.wide, c.page), c.bytes) << c.page;
    }
    EXPECT_EQ(AnsiToUtf8(kZhongwenGbk, CP_GB2312), "中文");
    EXPECT_EQ(Utf8ToAnsi("中文", CP_BIG5), kZhongwenBig5);
}

TEST(CodePage, InvalidInputIsReplacedNeverAborts) {
    // A lead byte at the end and a lead byte followed by an invalid trail.
    EXPECT_EQ(AnsiToWide("a\xD6", CP_GB2312), u"a\uFFFD");
    EXPECT_EQ(AnsiToWide("\xFF" "b", CP_GB2312), u"\uFFFD" "b");
    // Undefined bytes of page 1252 map to the control range.
    EXPECT_EQ(AnsiToWide("\x81", CP_WESTERN), u"\u0081");
    // Characters a page cannot hold, and lone surrogates.
    EXPECT_EQ(WideToAnsi(u"a\u4E2Db", CP_WESTERN), "a?b");
    EXPECT_EQ(WideToAnsi(u"\U0001F600x", CP_GB2312), "?x");
    EXPECT_EQ(WideToAnsi(std::u16string(u"x") + char16_t(0xD800) + u"y", CP_GB2312), "x?y");
    EXPECT_THROW(AnsiToWide("x", 12345), Exception);
}

TEST(CodePage, SystemAnsiCodePageFromEnvironment) {
    setenv("QMX_ACP", "950", 1);
    EXPECT_EQ(SystemAnsiCodePage(), CP_BIG5);
    setenv("QMX_ACP", "junk", 1);
    EXPECT_EQ(SystemAnsiCodePage(), CP_WESTERN); // the C locale of the tests
    unsetenv("QMX_ACP");
    EXPECT_EQ(SystemAnsiCodePage(), CP_WESTERN);
}

TEST(CodePage, CaseFoldingNeverTouchesTrailBytes) {
    // 0xB1 0x61 is a GBK character whose trail byte is 'a'; BIG5 0xA5 0x5C has a '\' trail byte.
    EXPECT_EQ(AnsiUpperCase("x\xB1" "a" "y", CP_GB2312), "X\xB1" "aY");
    EXPECT_EQ(AnsiLowerCase("X\xB1" "AY", CP_GB2312), "x\xB1" "Ay");
    EXPECT_TRUE(AnsiSameText("abc\xB1" "a", "ABC\xB1" "a", CP_GB2312));
    EXPECT_FALSE(AnsiSameText("\xB1" "a", "\xB1" "A", CP_GB2312));
    EXPECT_EQ(AnsiUpperCase("\xE9", CP_WESTERN), "\xC9");
    EXPECT_LT(AnsiCompareText("abc", "ABD", CP_WESTERN), 0);
    EXPECT_EQ(AnsiCompareText("ab", "AB", CP_WESTERN), 0);
}

TEST(CodePage, SearchesSkipTrailBytes) {
    const std::string text = "\xA5\x5C" "dir\\file|x\xA5\x7C";
    EXPECT_EQ(AnsiFindChar(text, '\\', 0, CP_BIG5), 5u);
    EXPECT_EQ(AnsiFindChar(text, '|', 0, CP_BIG5), 10u);
    EXPECT_EQ(AnsiFindLastChar(text, '|', CP_BIG5), 10u);
    EXPECT_EQ(AnsiFindChar(text, '\\', 0, CP_WESTERN), 1u); // a single-byte page sees the byte
    EXPECT_EQ(CharLengthAt(text, 0, CP_BIG5), 2u);
    EXPECT_EQ(CharLengthAt("\xA5", 0, CP_BIG5), 1u);
}
