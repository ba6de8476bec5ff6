#include <gtest/gtest.h>

#include <string>

#include "MaskKeys.h"
#include "qmx/toolkit/MaskEngine.h"

using namespace qmx;
using qmx::test::TypeKeys;

namespace {

// The date and year-month masks the framework gives its edits, each with saved and unsaved
// literals and a space as blank.
struct FrameworkMask {
    const char* body;
    const char* empty;        // EmptyDisplay, and Text of an empty edit with saved literals
    const char* keys;         // a complete entry, digits only
    const char* full;         // EditText after the complete entry
    const char* partialKeys;  // an unfinished entry
    const char* partial;      // its EditText (= Text with saved literals)
    const char* partialText;  // Text of the unfinished entry without saved literals
};

const FrameworkMask kFrameworkMasks[] = {
    {"9999/99/99", "    /  /  ", "20240105", "2024/01/05", "202401", "2024/01/  ", "202401"},
    {"99/99/9999", "  /  /    ", "01052024", "01/05/2024", "0105", "01/05/    ", "0105"},
    {"99/99/99", "  /  /  ", "010524", "01/05/24", "01", "01/  /  ", "01"},
    {"999/99/99", "   /  /  ", "1130105", "113/01/05", "11301", "113/01/  ", "11301"},
    {"9999/99", "    /  ", "202401", "2024/01", "20", "20  /  ", "20"},
    {"99/9999", "  /    ", "012024", "01/2024", "012", "01/2   ", "012"},
};

std::string DigitsOf(std::string_view text) {
    std::string digits;
    for (char c : text) {
        if (c >= '0' && c <= '9') digits += c;
    }
    return digits;
}

} // namespace

TEST(MaskText, FrameworkMasksTypeClearAndReadBack) {
    for (const auto& f : kFrameworkMasks) {
        for (const bool saved : {true, false}) {
            const std::string maskText = std::string(f.body) + (saved ? ";1; " : ";0; ");
            SCOPED_TRACE(maskText);
            const TEditMask m(maskText, CP_GB2312);
            const std::string emptyText = saved ? f.empty : "";

            EXPECT_EQ(m.EmptyDisplay(), f.empty);
            EXPECT_EQ(m.TextFromEditText(m.EmptyDisplay()), emptyText);

            const auto full = TypeKeys(m, f.keys);
            EXPECT_EQ(full.refused, 0);
            EXPECT_EQ(full.editText, f.full);
            EXPECT_EQ(full.cursor, m.MaxLength());
            EXPECT_EQ(m.TextFromEditText(full.editText), saved ? f.full : DigitsOf(f.full));
            EXPECT_TRUE(m.IsComplete(full.editText));

            const auto partial = TypeKeys(m, f.partialKeys);
            EXPECT_EQ(partial.editText, f.partial);
            EXPECT_EQ(m.TextFromEditText(partial.editText), saved ? f.partial : f.partialText);

            // Text := of what Text read gives the same EditText, with or without literals.
            EXPECT_EQ(m.ApplyText(m.TextFromEditText(full.editText)), f.full);
            EXPECT_EQ(m.ApplyText(m.TextFromEditText(partial.editText)), f.partial);
            EXPECT_EQ(m.ApplyText(f.full), f.full);
            EXPECT_EQ(m.ApplyText(DigitsOf(f.full)), f.full);

            // A cleared edit reads as the framework's empty text.
            const auto cleared = m.Clear();
            EXPECT_EQ(cleared.editText, f.empty);
            EXPECT_EQ(m.TextFromEditText(cleared.editText), emptyText);
            EXPECT_EQ(m.TextFromEditText(m.ApplyText("")), emptyText);

            // Typing the separators too, or pasting the formatted text, gives the same entry.
            EXPECT_EQ(TypeKeys(m, f.full).editText, f.full);
            EXPECT_EQ(TypeKeys(m, f.full).refused, 0);
            const auto pasted = m.Paste(f.empty, 0, f.full);
            EXPECT_TRUE(pasted.accepted);
            EXPECT_EQ(pasted.editText, f.full);

            // Backspace over the whole entry, literals passed by, empties it again.
            auto back = TypeKeys(m, std::string(std::string_view(f.keys).size(), '\b'),
                                 full.editText, full.cursor);
            EXPECT_EQ(back.editText, f.empty);
            EXPECT_EQ(back.refused, 0);
            EXPECT_EQ(back.cursor, 0u);
            // Letters never go in.
            const auto letters = TypeKeys(m, "ab");
            EXPECT_EQ(letters.refused, 2);
            EXPECT_EQ(letters.editText, f.empty);
        }
    }
}

TEST(MaskText, EmptyDisplayFoundAsTheFrameworkDoes) {
    // Set the mask with "0" for the "1", clear the text, set the own mask again, read Text.
    for (const auto& f : kFrameworkMasks) {
        SCOPED_TRACE(f.body);
        const TEditMask unsaved(std::string(f.body) + ";0; ", CP_GB2312);
        const TEditMask own(std::string(f.body) + ";1; ", CP_GB2312);
        const AnsiString cleared = unsaved.ApplyText("");
        EXPECT_EQ(own.TextFromEditText(own.Reformat(unsaved, cleared)), f.empty);
        // The control's text comes back afterwards.
        EXPECT_EQ(own.TextFromEditText(own.ApplyText(f.full)), f.full);
    }
}

TEST(MaskText, OtherMasks) {
    struct Case {
        const char* mask;
        const char* keys;
        const char* editText;
        const char* text;
        int refused;
    } cases[] = {
        {">LL;1;_", "ab", "AB", "AB", 0},
        {">LL;1;_", "a1b", "AB", "AB", 1},
        {"<LL;1;_", "Ab", "ab", "ab", 0},
        {">L<l<>L;1;_", "aBc", "Abc", "Abc", 0},
        {"000-0000;0;_", "5551234", "555-1234", "5551234", 0},
        {"000-0000;1;_", "555", "555-____", "555-____", 0},
        {"000-0000;0;_", "555", "555-____", "555", 0},
        {"(999) 000-0000;0;_", "(555) 123-4567", "(555) 123-4567", "5551234567", 0},
        {"\\L\\9-99;0;_", "12", "L9-12", "12", 0},
        {"\\L\\9-99;1;_", "12", "L9-12", "L9-12", 0},
        {"#99;0;_", "-12", "-12", "-12", 0},
        {"#99;0;_", "x+1", "+1_", "+1", 1},
        {"aaa;0;_", "a1-", "a1_", "a1", 1},
        {"cc;1;_", "- ", "- ", "- ", 0},
        {"99 99;0;*", "1 2", "1* 2*", "1 2", 0},  // space leaves an optional digit unfilled
        {"9999/99/99;0;_", "2/", "2___/__/__", "2", 0},   // '/' jumps to the month...
        {"9999/99/99;0;_", "2/1", "2___/1_/__", "2   1", 0}, // ...inner unfilled read as spaces
        {"!999;0;_", "1", "1__", "1  ", 0},         // '!': leading blanks trimmed, not trailing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mask) + " <- " + c.keys);
        const TEditMask m(c.mask, CP_WESTERN);
        const auto typed = TypeKeys(m, c.keys);
        EXPECT_EQ(typed.editText, c.editText);
        EXPECT_EQ(m.TextFromEditText(typed.editText), c.text);
        EXPECT_EQ(typed.refused, c.refused);
    }
}

TEST(MaskText, ApplyTextFillsPositionsAndMatchesLiterals) {
    struct Case {
        const char* mask;
        const char* text;
        const char* editText;
    } cases[] = {
        {"9999/99/99;1; ", "2024/01/05", "2024/01/05"},
        {"9999/99/99;0; ", "2024/01/05", "2024/01/05"},
        {"9999/99/99;0; ", "20240105", "2024/01/05"},
        {"9999/99/99;1; ", "2024/01/0599", "2024/01/05"}, // beyond the last position: dropped
        {"9999/99/99;1; ", "2024/1", "2024/1 /  "},
        {"9999/99/99;0; ", "2024  05", "2024/  /05"},     // spaces leave positions unfilled
        {"9999/99/99;1;_", "2024/01/__", "2024/01/__"},
        {"9999/99/99;1; ", "abcd", "abcd/  /  "},         // kept for Validate to report
        {"000-0000;0;_", "555-1234", "555-1234"},
        {">LLL;1;_", "abc", "ABC"},
        {"cc-cc;1;_", "a  b", "a - b"},                   // a space is a character for c
        {"!999;0;_", "12", "_12"},                        // '!': aligned to the right
        {"!999-99;0;_", "12", "___-12"},
        {"!999-99;0;_", "1-23", "__1-23"},
        {"!99/99;1;_", "1/23", "_1/23"},
        // Data equal to a literal is data where it fits; a text shaped like the EditText goes in
        // position by position.
        {"\\L\\9-99;0;_", "92", "L9-92"},
        {"\\L\\9-99;1;_", "92", "L9-92"},
        {"\\L\\9-99;1;_", "L9-92", "L9-92"},
        {"cc-cc;0;_", "a--b", "a---b"},
        {"!cc-cc;0;_", "ab-", "_a-b-"},
        {">cc-cc;1;_", "ab-cd", "AB-CD"},
        {"99-99;1;_", "1 -2 ", "1_-2_"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mask) + " := " + c.text);
        EXPECT_EQ(TEditMask(c.mask, CP_WESTERN).ApplyText(c.text), c.editText);
    }
}

TEST(MaskText, TextReadBackGivesTheSameEditText) {
    struct Case {
        const char* mask;
        const char* editText;
    } cases[] = {
        {"cc-cc;0;_", "a---b"}, {"!cc-cc;0;_", "_a-b-"}, {"\\L\\9-99;0;_", "L9-92"},
        {"cc/cc;1; ", "/ / /"}, {"!99:99;0;_", "_1:2_"}, {"(999) 000;0;*", "(1*3) 456"},
        {"_00;0;_", " _5"}, // the unfilled position's space is no literal space
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mask) + " : " + c.editText);
        const TEditMask m(c.mask, CP_WESTERN);
        EXPECT_EQ(m.ApplyText(m.TextFromEditText(c.editText)), c.editText);
    }
}

TEST(MaskText, TextFromEditTextTrimsOnlyWithoutSavedLiterals) {
    struct Case {
        const char* mask;
        const char* editText;
        const char* text;
    } cases[] = {
        {"9999/99/99;1; ", "2024/01/  ", "2024/01/  "},
        {"9999/99/99;0; ", "2024/01/  ", "202401"},
        {"9999/99/99;0; ", "  24/01/05", "  240105"},
        {"9999/99/99;0;_", "20__/__/05", "20    05"},
        {"9999/99/99;1;_", "20__/__/05", "20__/__/05"},
        {"!9999/99;0;_", "__24/01", "2401"},
        {"!9999/99;0;_", "2024/__", "2024  "},
        {"9999/99/99;1; ", "20240105", "2024/01/05"},  // not an EditText: applied first
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mask) + " : " + c.editText);
        EXPECT_EQ(TEditMask(c.mask, CP_WESTERN).TextFromEditText(c.editText), c.text);
    }
}

TEST(MaskText, ValidateNamesTheFirstBadPosition) {
    struct Case {
        const char* mask;
        const char* editText;
        std::size_t bad;
    } cases[] = {
        {"000-0000;0;_", "555-1234", TEditMask::npos},
        {"000-0000;0;_", "555-12_4", 6},
        {"000-0000;0;_", "___-____", 0},
        {"000-0000;0;_", "", TEditMask::npos},          // never filled
        {"000-0000;0;_", "55a-1234", 2},                // a letter in a digit position
        {"9999/99/99;1; ", "    /  /  ", TEditMask::npos}, // optional positions only
        {"9999/99/99;1; ", "2024/0x/  ", 6},
        {"LLL;1;_", "ab_", 2},
        {"LLL;1;_", "a b", 1},                          // a space fills no letter position
        {"CC;1;_", " a", TEditMask::npos},              // but does fill C
        {"CC;1; ", " a", 0},                            // unless the blank is a space
        {">LL;1;_", "ab", TEditMask::npos},             // case is the edit's business, not a fault
        {"#0;1;_", "+1", TEditMask::npos},
        {"#0;1;_", "*1", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mask) + " : " + c.editText);
        const TEditMask m(c.mask, CP_WESTERN);
        EXPECT_EQ(m.Validate(c.editText), c.bad);
        EXPECT_EQ(m.IsComplete(c.editText), c.bad == TEditMask::npos);
    }
}

TEST(MaskText, ReformatMovesTheFilledPositionsToTheNewMask) {
    const TEditMask ymd("9999/99/99;1; ", CP_WESTERN);
    const TEditMask dmy("99/99/9999;1; ", CP_WESTERN);
    // Literals are removed and the rest poured into the new mask, as the original toolkit does.
    EXPECT_EQ(dmy.Reformat(ymd, "2024/01/05"), "20/24/0105");
    EXPECT_EQ(ymd.Reformat(ymd, "2024/01/  "), "2024/01/  ");
    // From no mask, the text's separators meet the new literals.
    EXPECT_EQ(ymd.Reformat(TEditMask(), "2024/01/05"), "2024/01/05");
    // Unfilled positions stay unfilled, even next to a literal space.
    EXPECT_EQ(TEditMask("9 99;1;_", CP_WESTERN).Reformat(TEditMask("999;0;_", CP_WESTERN), "1_3"),
              "1 _3");
    // To no mask: the filled positions without literals.
    EXPECT_EQ(TEditMask().Reformat(ymd, "2024/01/  "), "202401");
}
