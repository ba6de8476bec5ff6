#include <gtest/gtest.h>

#include <string>

#include "MaskKeys.h"
#include "qmx/toolkit/MaskEngine.h"

using namespace qmx;

namespace {
const TEditMask& DateMask() {
    static const TEditMask mask("9999/99/99;1; ", CP_WESTERN);
    return mask;
}
} // namespace

TEST(MaskEditing, RefusedKeysChangeNothing) {
    struct Case {
        const char* mask;
        const char* editText;
        std::size_t cursor;
        std::string key;
    } cases[] = {
        {"9999/99/99;1; ", "    /  /  ", 0, "a"},
        {"9999/99/99;1; ", "2024/01/05", 10, "1"},   // no position left
        {"000-0000;0;_", "___-____", 0, "+"},
        {"000-0000;0;_", "___-____", 0, " "},        // a space fills no required digit
        {"LL;1;_", "__", 0, "1"},
        {"LL;1;_", "__", 0, " "},
        {"AA;1;_", "__", 1, "-"},
        {"#9;1;_", "__", 0, "x"},
        {"CC;1;_", "__", 0, "\t"},                   // control characters fit nothing
        {"CC;1;_", "__", 0, "ab"},                   // two single-byte characters at once
        {"CC;1;_", "__", 0, ""},
        {"99-99;1;_", "__-__", 0, "/"},              // not the next literal
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mask) + " key '" + c.key + "'");
        const TEditMask m(c.mask, CP_WESTERN);
        const auto r = m.InsertChar(c.editText, c.cursor, c.key);
        EXPECT_FALSE(r.accepted);
        EXPECT_EQ(r.editText, c.editText);
        EXPECT_EQ(r.cursor, c.cursor);
    }
}

TEST(MaskEditing, TypingOverwritesAndPassesLiteralsBy) {
    const auto& m = DateMask();
    auto r = m.InsertChar("2024/01/05", 0, '1');
    EXPECT_EQ(r.editText, "1024/01/05");
    EXPECT_EQ(r.cursor, 1u);
    r = m.InsertChar("2024/01/05", 3, '9'); // the cursor jumps the separator
    EXPECT_EQ(r.editText, "2029/01/05");
    EXPECT_EQ(r.cursor, 5u);
    r = m.InsertChar("2024/01/05", 4, '9'); // typed on a literal: goes to the next position
    EXPECT_EQ(r.editText, "2024/91/05");
    EXPECT_EQ(r.cursor, 6u);
    // Typing over a selection blanks it first.
    r = m.InsertChar("2024/01/05", 0, '1', 7);
    EXPECT_EQ(r.editText, "1   /  /05");
    EXPECT_EQ(r.cursor, 1u);
    // A refused key keeps the selection's text.
    EXPECT_EQ(m.InsertChar("2024/01/05", 0, 'x', 7).editText, "2024/01/05");
    // Separators: the one just passed is taken silently, the next one moves on.
    r = m.InsertChar("2024/  /  ", 5, '/');
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.editText, "2024/  /  ");
    EXPECT_EQ(r.cursor, 5u);
    r = m.InsertChar("2024/  /  ", 6, '/');
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.cursor, 8u);
}

TEST(MaskEditing, OptionalPositionsTakeASpaceAsUnfilled) {
    const TEditMask m("99-99;1;_", CP_WESTERN);
    const auto r = m.InsertChar("12-34", 0, ' ');
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.editText, "_2-34");
    EXPECT_EQ(r.cursor, 1u);
}

TEST(MaskEditing, BackspaceDeleteAndSelection) {
    const auto& m = DateMask();
    struct Case {
        const char* op; // B backspace, D delete, S delete selection
        const char* editText;
        std::size_t cursor;
        std::size_t selLength;
        const char* result;
        std::size_t resultCursor;
        bool accepted;
    } cases[] = {
        {"B", "2024/01/05", 5, 0, "202 /01/05", 3, true},  // over the literal
        {"B", "2024/01/05", 4, 0, "202 /01/05", 3, true},  // cursor on the literal
        {"B", "2024/01/05", 10, 0, "2024/01/0 ", 9, true},
        {"B", "2024/01/05", 1, 0, " 024/01/05", 0, true},
        {"B", "2024/01/05", 0, 0, "2024/01/05", 0, false}, // nothing before
        {"B", "2024/01/05", 2, 5, "20  /  /05", 2, true},  // with a selection: the selection
        {"D", "2024/01/05", 5, 0, "2024/ 1/05", 5, true},
        {"D", "2024/01/05", 4, 0, "2024/01/05", 4, false}, // on a literal: nothing
        {"D", "2024/01/05", 10, 0, "2024/01/05", 10, false},
        {"D", "2024/01/05", 3, 3, "202 / 1/05", 3, true},
        {"S", "2024/01/05", 0, 10, "    /  /  ", 0, true},
        {"S", "2024/01/05", 8, 99, "2024/01/  ", 8, true},  // clipped at the end
        {"S", "2024/01/05", 99, 3, "2024/01/05", 10, false},
        {"S", "2024/01/05", 3, 0, "2024/01/05", 3, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.op) + " " + c.editText + " @" + std::to_string(c.cursor));
        const TMaskEditResult r =
            c.op[0] == 'B'   ? m.Backspace(c.editText, c.cursor, c.selLength)
            : c.op[0] == 'D' ? m.Delete(c.editText, c.cursor, c.selLength)
                             : m.DeleteSelection(c.editText, c.cursor, c.selLength);
        EXPECT_EQ(r.editText, c.result);
        EXPECT_EQ(r.cursor, c.resultCursor);
        EXPECT_EQ(r.accepted, c.accepted);
    }
}

TEST(MaskEditing, PasteTypesEachCharacterAndSkipsRefusedOnes) {
    const auto& m = DateMask();
    struct Case {
        const char* editText;
        std::size_t cursor;
        std::size_t selLength;
        const char* pasted;
        const char* result;
        std::size_t resultCursor;
        bool accepted;
    } cases[] = {
        {"    /  /  ", 0, 0, "2024/01/05", "2024/01/05", 10, true},
        {"    /  /  ", 0, 0, "20240105", "2024/01/05", 10, true},
        {"    /  /  ", 0, 0, "2024-01-05", "2024/01/05", 10, false}, // '-' skipped
        {"    /  /  ", 0, 0, "2024/01/0599", "2024/01/05", 10, false}, // no room left
        {"    /  /  ", 0, 0, "abc", "    /  /  ", 0, false},
        {"2024/01/05", 5, 0, "12", "2024/12/05", 8, true},
        {"2024/01/05", 0, 10, "1999", "1999/  /  ", 5, true},  // replaces the selection
        {"2024/01/05", 5, 0, "", "2024/01/05", 5, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.editText) + " <- " + c.pasted);
        const auto r = m.Paste(c.editText, c.cursor, c.pasted, c.selLength);
        EXPECT_EQ(r.editText, c.result);
        EXPECT_EQ(r.cursor, c.resultCursor);
        EXPECT_EQ(r.accepted, c.accepted);
    }
}

TEST(MaskEditing, CursorMovesPassLiteralsBy) {
    const TEditMask m("(999) 99", CP_WESTERN);
    const std::string text = m.EmptyDisplay();
    EXPECT_EQ(m.CursorHome(), 1u);
    EXPECT_EQ(m.CursorRight(text, 1), 2u);
    EXPECT_EQ(m.CursorRight(text, 3), 6u);
    EXPECT_EQ(m.CursorRight(text, 7), 8u);
    EXPECT_EQ(m.CursorRight(text, 8), 8u);
    EXPECT_EQ(m.CursorRight(text, 0), 1u);
    EXPECT_EQ(m.CursorLeft(text, 6), 3u);
    EXPECT_EQ(m.CursorLeft(text, 8), 7u);
    EXPECT_EQ(m.CursorLeft(text, 1), 1u); // nothing editable before: stays
}

TEST(MaskEditing, MalformedEditTextIsNormalisedNotTrusted) {
    const auto& m = DateMask();
    // Too short, wrong literal: applied as a text first, never read out of bounds.
    EXPECT_EQ(m.InsertChar("2024", 99, '1').editText, "2024/  /  ");
    const auto back = m.Backspace("2024/01", 7);
    EXPECT_EQ(back.editText, "2024/0 /  ");
    EXPECT_EQ(back.cursor, 6u);
    EXPECT_EQ(m.Delete("", 0).editText, "    /  /  ");
    EXPECT_EQ(m.CursorRight("", 99), 10u);
}
