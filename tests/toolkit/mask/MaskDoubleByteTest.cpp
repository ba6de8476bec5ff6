#include <gtest/gtest.h>

#include <string>

#include "MaskKeys.h"
#include "qmx/toolkit/MaskEngine.h"

using namespace qmx;
using qmx::test::TypeKeys;

namespace {
// GBK characters. 0x81 0x5F and 0xB1 0x61 have trail bytes '_' and 'a'.
const std::string kZhong = "\xD6\xD0";
const std::string kWen = "\xCE\xC4";
const std::string kNian = "\xC4\xEA";
const std::string kYue = "\xD4\xC2";
const std::string kTrailUnderscore = "\x81\x5F";
const std::string kTrailA = "\xB1\x61";
// BIG5 characters whose trail bytes are '\' and 'L'.
const std::string kBig5TrailBackslash = "\xA5\x5C";
const std::string kBig5TrailL = "\xA4\x4C";
} // namespace

TEST(MaskDoubleByte, LiteralsOfTwoBytesTakeTwoPositions) {
    const std::string body = "9999" + kNian + "99" + kYue;
    const TEditMask saved(body + ";1; ", CP_GB2312);
    const TEditMask unsaved(body + ";0; ", CP_GB2312);
    const std::string empty = "    " + kNian + "  " + kYue;
    const std::string full = "2024" + kNian + "01" + kYue;
    EXPECT_EQ(saved.MaxLength(), 10u);
    EXPECT_EQ(saved.Positions()[5].charOffset, 1);
    EXPECT_EQ(saved.EmptyDisplay(), empty);

    const auto typed = TypeKeys(saved, "202401");
    EXPECT_EQ(typed.editText, full);
    EXPECT_EQ(typed.cursor, 10u);
    EXPECT_EQ(saved.TextFromEditText(full), full);
    EXPECT_EQ(unsaved.TextFromEditText(full), "202401");
    EXPECT_EQ(unsaved.ApplyText(full), full);
    EXPECT_EQ(unsaved.ApplyText("202401"), full);
    // The literal typed out of habit is taken; pasted with it too.
    const auto habit = saved.InsertChar("2024" + kNian + "  " + kYue, 6, kNian);
    EXPECT_TRUE(habit.accepted);
    EXPECT_EQ(habit.cursor, 6u);
    EXPECT_EQ(saved.Paste(empty, 0, full).editText, full);
    EXPECT_TRUE(saved.Paste(empty, 0, full).accepted);
    // Backspace passes the two-byte literal by.
    const auto back = saved.Backspace(full, 6);
    EXPECT_EQ(back.editText, "202 " + kNian + "01" + kYue);
    EXPECT_EQ(back.cursor, 3u);
}

TEST(MaskDoubleByte, TrailBytesAreNeverMaskCharacters) {
    // A trail '\' escapes nothing, a trail 'L' is no letter position.
    const TEditMask escaped(kBig5TrailBackslash + "99;1;_", CP_BIG5);
    EXPECT_EQ(escaped.MaxLength(), 4u);
    EXPECT_EQ(escaped.EmptyDisplay(), kBig5TrailBackslash + "__");
    const TEditMask letter(kBig5TrailL + "L", CP_BIG5);
    ASSERT_EQ(letter.MaxLength(), 3u);
    EXPECT_FALSE(letter.Positions()[1].IsEditable());
    EXPECT_EQ(letter.Positions()[2].kind, TMaskCharKind::LetterRequired);
    // The same bytes on a single-byte page are two characters: a literal and an escape.
    EXPECT_EQ(TEditMask("\xA5\\99", CP_WESTERN).EmptyDisplay(), "\xA5" "9_");
    // A lead byte is no blank on a double-byte page, a letter on page 1252.
    EXPECT_EQ(TEditMask("99;1;\xD6", CP_GB2312).Blank(), '_');
    EXPECT_EQ(TEditMask("99;1;\xD6", CP_WESTERN).Blank(), '\xD6');
}

TEST(MaskDoubleByte, TypingNeverSplitsACharacter) {
    const TEditMask any("CCCC;1;_", CP_GB2312);
    auto r = any.InsertChar("____", 0, kZhong);
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.editText, kZhong + "__");
    EXPECT_EQ(r.cursor, 2u);
    // The last position cannot hold a lead byte; nor can one before a literal.
    EXPECT_FALSE(any.InsertChar("abc_", 3, kZhong).accepted);
    EXPECT_FALSE(TEditMask("CC-CC;1;_", CP_GB2312).InsertChar("__-__", 1, kZhong).accepted);
    // Half a character is no character.
    EXPECT_FALSE(any.InsertChar("____", 0, "\xD6").accepted);
    // A double-byte character is a letter, never a digit.
    EXPECT_TRUE(TEditMask("LL", CP_GB2312).InsertChar("__", 0, kZhong).accepted);
    EXPECT_TRUE(TEditMask("aA", CP_GB2312).InsertChar("__", 0, kZhong).accepted);
    EXPECT_FALSE(TEditMask("99", CP_GB2312).InsertChar("__", 0, kZhong).accepted);
    EXPECT_FALSE(TEditMask("L9", CP_GB2312).InsertChar("__", 0, kZhong).accepted);
    EXPECT_FALSE(TEditMask("99", CP_GB2312).Paste("__", 0, kZhong).accepted);
    // Case conversion leaves the trail byte alone.
    const TEditMask upper(">CCCC", CP_GB2312);
    EXPECT_EQ(TypeKeys(upper, "a").editText, "A___");
    EXPECT_EQ(upper.InsertChar("____", 0, kTrailA).editText, kTrailA + "__");
    EXPECT_EQ(upper.ApplyText("a" + kTrailA + "b"), "A" + kTrailA + "B");
    // On a single-byte page the same byte is a whole letter.
    EXPECT_EQ(TEditMask(">LL", CP_WESTERN).InsertChar("__", 0, "\xF6").editText, "\xD6_");
}

TEST(MaskDoubleByte, OverwritingHalfACharacterBlanksTheOtherHalf) {
    const TEditMask any("CCCC;1;_", CP_GB2312);
    struct Case {
        std::string editText;
        std::size_t cursor;
        std::string key;
        std::string result;
        std::size_t resultCursor;
    } cases[] = {
        {"a" + kZhong + "_", 0, kWen, kWen + "__", 2},   // over a and the lead of zhong
        {kZhong + kWen, 0, "x", "x_" + kWen, 1},
        {kZhong + kWen, 1, "x", "x_" + kWen, 1},         // cursor on a trail byte: the whole char
        {kZhong + kWen, 1, kYue, kYue + kWen, 2},
        {"a" + kZhong + "b", 1, kWen, "a" + kWen + "b", 3},
        {"ab" + kZhong, 1, kWen, "a" + kWen + "_", 3},   // over b and the lead of zhong
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cursor);
        const auto r = any.InsertChar(c.editText, c.cursor, c.key);
        EXPECT_TRUE(r.accepted);
        EXPECT_EQ(r.editText, c.result);
        EXPECT_EQ(r.cursor, c.resultCursor);
    }
}

TEST(MaskDoubleByte, DeletingAndMovingTakeWholeCharacters) {
    const TEditMask any("CCCC;1;_", CP_GB2312);
    const std::string both = kZhong + kWen;
    auto r = any.Backspace(kZhong + "__", 2);
    EXPECT_EQ(r.editText, "____");
    EXPECT_EQ(r.cursor, 0u);
    r = any.Delete(both, 2);
    EXPECT_EQ(r.editText, kZhong + "__");
    r = any.Delete(both, 1);
    EXPECT_EQ(r.editText, "__" + kWen);
    r = any.DeleteSelection(both, 1, 2); // half of each: both go
    EXPECT_EQ(r.editText, "____");
    EXPECT_EQ(r.cursor, 0u);
    EXPECT_EQ(any.CursorRight(both, 0), 2u);
    EXPECT_EQ(any.CursorRight(both, 1), 2u);
    EXPECT_EQ(any.CursorRight(both, 2), 4u);
    EXPECT_EQ(any.CursorLeft(both, 4), 2u);
    EXPECT_EQ(any.CursorLeft(both, 3), 0u);
    EXPECT_EQ(any.Paste("____", 0, both).editText, both);
}

TEST(MaskDoubleByte, TextsKeepCharactersWhole) {
    struct Case {
        const char* mask;
        std::string text;
        std::string editText;
    } applied[] = {
        {"CC-CC;1;_", "a" + kZhong + "b", "a_-" + kZhong},   // moves past the seam, b dropped
        {"!CC-CC;1;_", kZhong + "a", kZhong + "-_a"},
        {"CCCC;1;_", "ab\xD6", "ab__"},                      // a lone lead byte is dropped
        {"CCC;1;_", kZhong + kWen, kZhong + "_"},
    };
    for (const auto& c : applied) {
        SCOPED_TRACE(c.mask);
        EXPECT_EQ(TEditMask(c.mask, CP_GB2312).ApplyText(c.text), c.editText);
    }
    // A trail byte equal to the blank is neither trimmed nor read as a space.
    const TEditMask unsaved("CCCC;0;_", CP_GB2312);
    EXPECT_EQ(unsaved.TextFromEditText(kTrailUnderscore + "__"), kTrailUnderscore);
    EXPECT_EQ(unsaved.TextFromEditText("_" + kTrailUnderscore + "_"), " " + kTrailUnderscore);
    EXPECT_EQ(TEditMask("!CCCC;0;_", CP_GB2312).TextFromEditText("__" + kTrailUnderscore),
              kTrailUnderscore);
    EXPECT_EQ(TEditMask("CC;1;_", CP_GB2312).Validate(kTrailUnderscore), TEditMask::npos);
    // Half a character left in an EditText is reported.
    EXPECT_EQ(TEditMask("C-C;1;_", CP_GB2312).Validate("\xD6-a"), 0u);
    EXPECT_EQ(TEditMask("cC;1;_", CP_GB2312).Validate("a\xD6"), 1u);
    EXPECT_EQ(TEditMask("99;1;_", CP_GB2312).Validate(kZhong), 0u);
}
