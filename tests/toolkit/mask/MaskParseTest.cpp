#include <gtest/gtest.h>

#include "qmx/toolkit/MaskEngine.h"

using namespace qmx;

TEST(MaskParse, SectionsFlagsAndEmptyDisplay) {
    struct Case {
        const char* mask;
        std::size_t length;
        bool saveLiterals;
        char blank;
        bool trimLeading;
        const char* emptyDisplay;
    } cases[] = {
        {"9999/99/99;1; ", 10, true, ' ', false, "    /  /  "},
        {"9999/99/99;0; ", 10, false, ' ', false, "    /  /  "},
        {"9999/99/99", 10, true, '_', false, "____/__/__"},
        {"000-0000;0;_", 8, false, '_', false, "___-____"},
        {"(999) 000-0000;0;*", 14, false, '*', false, "(***) ***-****"},
        {"!99;1;", 2, true, '_', true, "__"},        // empty third section: default blank
        {"99;;x", 2, true, 'x', false, "xx"},        // empty second section: literals saved
        {"99;0", 2, false, '_', false, "__"},        // no third section
        {"99;1;\t", 2, true, '_', false, "__"},      // a control character is no blank
        {"99;1;ab", 2, true, 'a', false, "aa"},      // first character of the third section
        {"\\;99;0;*", 3, false, '*', false, ";**"},  // escaped ';' stays in the mask
        {"\\L\\9\\\\9", 4, true, '_', false, "L9\\_"},
        {"99\\", 3, true, '_', false, "__\\"},       // dangling escape shows as itself
        {"_99_", 4, true, '_', false, " __ "},       // '_' is a literal space
        {">LL<>ll<", 4, true, '_', false, "____"},   // case directives take no position
        {"99!99", 4, true, '_', true, "____"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        const TEditMask m(c.mask, CP_WESTERN);
        EXPECT_TRUE(m.IsMasked());
        EXPECT_EQ(m.MaxLength(), c.length);
        EXPECT_EQ(m.SaveLiterals(), c.saveLiterals);
        EXPECT_EQ(m.Blank(), c.blank);
        EXPECT_EQ(m.TrimsLeadingBlanks(), c.trimLeading);
        EXPECT_EQ(m.EmptyDisplay(), c.emptyDisplay);
        EXPECT_EQ(m.EditMask(), c.mask);
    }
}

TEST(MaskParse, KindsAndCaseOfEachPosition) {
    const TEditMask m(">L<l<>AaCc09#x", CP_WESTERN);
    using K = TMaskCharKind;
    using C = TMaskCase;
    const std::pair<K, C> expected[] = {
        {K::LetterRequired, C::Upper},   {K::LetterOptional, C::Lower},
        {K::AlphaNumRequired, C::None},  {K::AlphaNumOptional, C::None},
        {K::AnyRequired, C::None},       {K::AnyOptional, C::None},
        {K::DigitRequired, C::None},     {K::DigitOptional, C::None},
        {K::DigitOrSignOptional, C::None}, {K::Literal, C::None},
    };
    ASSERT_EQ(m.Positions().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m.Positions()[i].kind, expected[i].first);
        EXPECT_EQ(m.Positions()[i].caseMode, expected[i].second);
    }
    EXPECT_EQ(m.Positions()[9].literal, 'x');
    const bool required[] = {true, false, true, false, true, false, true, false, false, false};
    for (std::size_t i = 0; i < std::size(required); ++i) {
        EXPECT_EQ(m.Positions()[i].IsRequired(), required[i]) << i;
    }
}

TEST(MaskParse, SeparatorsComeFromTheCaller) {
    const TEditMask date("9999/99/99;1; ", CP_WESTERN, '-', '.');
    EXPECT_EQ(date.EmptyDisplay(), "    -  -  ");
    const TEditMask time("99:99;1;_", CP_WESTERN, '-', '.');
    EXPECT_EQ(time.EmptyDisplay(), "__.__");
    // Escaped, they are plain literals again.
    EXPECT_EQ(TEditMask("99\\/99\\:", CP_WESTERN, '-', '.').EmptyDisplay(), "__/__:");
}

TEST(MaskParse, EditablePositionQueries) {
    const TEditMask m("(999) 00", CP_WESTERN);
    EXPECT_FALSE(m.IsEditablePos(0));
    EXPECT_TRUE(m.IsEditablePos(1));
    EXPECT_FALSE(m.IsEditablePos(99));
    EXPECT_EQ(m.NextEditablePos(0), 1u);
    EXPECT_EQ(m.NextEditablePos(4), 6u);
    EXPECT_EQ(m.NextEditablePos(8), 8u); // none: the end
    EXPECT_EQ(m.PrevEditablePos(6), 3u);
    EXPECT_EQ(m.PrevEditablePos(1), TEditMask::npos);
    EXPECT_EQ(m.PrevEditablePos(100), 7u);
    EXPECT_EQ(m.CursorHome(), 1u);
    EXPECT_EQ(m.CursorEnd(), 8u);
}

TEST(MaskParse, WithoutMaskTextsPassThroughAndKeysAreRefused) {
    for (const char* mask : {"", ";1;_", "!<>"}) {
        SCOPED_TRACE(mask);
        const TEditMask m(mask, CP_WESTERN);
        EXPECT_FALSE(m.IsMasked());
        EXPECT_EQ(m.EmptyDisplay(), "");
        EXPECT_EQ(m.ApplyText("any text "), "any text ");
        EXPECT_EQ(m.TextFromEditText("any text "), "any text ");
        EXPECT_EQ(m.Validate("x"), TEditMask::npos);
        const auto r = m.InsertChar("ab", 1, 'x');
        EXPECT_FALSE(r.accepted);
        EXPECT_EQ(r.editText, "ab");
    }
    EXPECT_FALSE(TEditMask().IsMasked());
}
