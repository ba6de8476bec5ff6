#pragma once
// The edit-mask engine behind the mask edit: reads the original toolkit's mask syntax
// "mask;save-literals;blank" (for example "9999/99/99;1; ") and does all text work of an edit under
// that mask, on code-page bytes. The control only draws, routes keys and keeps the cursor.
//
// Two texts, as in the original toolkit:
// - EditText, what the edit shows: exactly one byte per mask position, literals in place, the blank
//   character at every unfilled position. EmptyDisplay() is the EditText of an empty edit.
// - Text, what the program reads and writes: with saved literals ("...;1;...") it is the EditText
//   itself, literals in place and unfilled positions as the blank character ("2024/01/  ");
//   without ("...;0;...") it is the filled positions only, literals removed, trailing unfilled
//   positions trimmed (leading ones under '!') and inner unfilled ones read as spaces ("202401").
//   Such a space comes back as unfilled, except at C/c, where a space is a character: there an
//   unfilled inner position returns as a typed space, as in the original toolkit.
// The blank itself is never case converted. A mask without positions is no mask.
//
// Positions are bytes, as in the original toolkit. A double-byte character (code pages 936 and
// 950) takes two adjacent editable positions and is never split: where its second byte would land
// on a literal or past the end it does not fit there. A double-byte character counts as a letter
// (so it fits L, l, A, a, C and c, never the digit positions). A double-byte literal in the mask
// takes two literal positions. Trail bytes are never read as mask characters, blanks or case.
//
// Mask characters: '!' leading blanks trimmed and texts aligned to the right; '>' upper case from
// here; '<' lower case; "<>" no case conversion; '\' the next character is a literal; L letter, A
// letter or digit, C any character, 0 digit (required); l, a, c, 9 the same optional; '#' digit
// or sign, optional; ':' and '/' the time and date separators; '_' a space; anything else a
// literal. The mask ends at the first ';' that is not escaped; the second section makes literals
// unsaved when it begins with '0' (saved otherwise, and when absent); the first character of the
// third section is the blank (default '_'; a control character or a lead byte falls back to it).
// Malformed masks never raise: a trailing '\' is a literal backslash, '!' anywhere sets the flag.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "qmx/CodePage.h"
#include "qmx/Exception.h"

namespace qmx {

enum class TMaskCharKind : std::uint8_t {
    Literal,
    LetterRequired,      // L
    LetterOptional,      // l
    AlphaNumRequired,    // A
    AlphaNumOptional,    // a
    AnyRequired,         // C
    AnyOptional,         // c
    DigitRequired,       // 0
    DigitOptional,       // 9
    DigitOrSignOptional, // #
};

enum class TMaskCase : std::uint8_t { None, Upper, Lower };

// One position of the EditText.
struct TMaskPosition {
    TMaskCharKind kind = TMaskCharKind::Literal;
    TMaskCase caseMode = TMaskCase::None;
    char literal = ' ';          // the byte shown at a literal position
    std::uint8_t charOffset = 0; // 1 at the second byte of a double-byte literal

    bool IsEditable() const { return kind != TMaskCharKind::Literal; }
    bool IsRequired() const;
};

// The outcome of an editing operation. `accepted` false means the key was refused and nothing
// changed (the control beeps); the EditText is then returned as given (normalised).
struct TMaskEditResult {
    AnsiString editText;
    std::size_t cursor = 0;
    bool accepted = false;
};

class TEditMask {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    static constexpr char kDefaultBlank = '_';
    // What the mask edit raises when a required position is left unfilled.
    static constexpr std::string_view kInvalidInputMessage =
        "Invalid input value. Use escape key to abandon changes";

    // No mask: texts pass through unchanged and the editing operations refuse every key.
    TEditMask() = default;
    // `codePage` tells double-byte characters apart; '/' and ':' in the mask show as the date and
    // time separators given.
    explicit TEditMask(std::string_view editMask, CodePage codePage = SystemAnsiCodePage(),
                       char dateSeparator = '/', char timeSeparator = ':');

    const AnsiString& EditMask() const { return editMask_; }
    CodePage GetCodePage() const { return codePage_; }
    bool IsMasked() const { return !positions_.empty(); }
    const std::vector<TMaskPosition>& Positions() const { return positions_; }
    std::size_t MaxLength() const { return positions_.size(); }
    bool SaveLiterals() const { return saveLiterals_; }
    char Blank() const { return blank_; }
    bool TrimsLeadingBlanks() const { return trimLeading_; }

    bool IsEditablePos(std::size_t pos) const;
    // The first editable position at or after pos; MaxLength() when there is none.
    std::size_t NextEditablePos(std::size_t pos) const;
    // The last editable position before pos; npos when there is none.
    std::size_t PrevEditablePos(std::size_t pos) const;

    // --- Texts ---------------------------------------------------------------------------------
    AnsiString EmptyDisplay() const { return empty_; }
    // The EditText shown after `Text := text`. A text shaped like an EditText of this mask (its
    // length, literals in place: what Text reads with saved literals) goes in position by
    // position. Any other text fills the editable positions in order (from the right under '!');
    // at a literal, a character equal to it is taken as the text's own separator unless it fits
    // the position it would go to (so "2024/01/05" and "20240105" both fill a date mask, and data
    // equal to a literal is never eaten); without saved literals a space is always an unfilled
    // position, never a literal space. Everywhere: a space at a position other than C/c leaves
    // it unfilled; characters that do not fit their position are kept (Validate reports them);
    // characters beyond the last position are dropped; case conversion applies.
    AnsiString ApplyText(std::string_view text) const;
    // Text as read from an EditText (see the top of this file).
    AnsiString TextFromEditText(std::string_view editText) const;
    // The filled positions without literals, trimmed as Text is without saved literals.
    AnsiString RemoveEditFormat(std::string_view editText) const;
    // The EditText after the mask changes from `previous` to this one: the old formatting is
    // removed and the rest applied to the new mask, as the original toolkit does.
    AnsiString Reformat(const TEditMask& previous, std::string_view editText) const;
    // The first position that is wrong: a required position unfilled, a character that does not
    // fit its position, a broken double-byte character. npos when all is well, and for an empty
    // text (an edit that was never filled), as in the original toolkit.
    std::size_t Validate(std::string_view editText) const;
    bool IsComplete(std::string_view editText) const { return Validate(editText) == npos; }

    // --- Editing (overwrite mode; every EditText given is normalised first) ---------------------
    // Types one character (one or two bytes) at the cursor, replacing the selection when there is
    // one. The character goes to the next editable position, passing literals by; the cursor then
    // moves to the editable position after it. A character equal to a literal of the run right
    // before the cursor is accepted without change (typing "2024/01/05" works), one equal to the
    // next literal moves the cursor past it; anything else that does not fit is refused. A space
    // fits an optional position (left unfilled) and C/c.
    TMaskEditResult InsertChar(std::string_view editText, std::size_t cursor,
                               std::string_view character, std::size_t selLength = 0) const;
    TMaskEditResult InsertChar(std::string_view editText, std::size_t cursor, char character,
                               std::size_t selLength = 0) const {
        return InsertChar(editText, cursor, std::string_view(&character, 1), selLength);
    }
    // Blanks the editable position before the cursor (passing literals by) and moves there; with a
    // selection, deletes the selection.
    TMaskEditResult Backspace(std::string_view editText, std::size_t cursor,
                              std::size_t selLength = 0) const;
    // Blanks the position at the cursor (nothing on a literal); with a selection, deletes it.
    TMaskEditResult Delete(std::string_view editText, std::size_t cursor,
                           std::size_t selLength = 0) const;
    // Blanks the editable positions of the selection (nothing shifts); the cursor goes to its
    // start.
    TMaskEditResult DeleteSelection(std::string_view editText, std::size_t selStart,
                                    std::size_t selLength) const;
    // Deletes the selection, then types the characters of `pasted` one by one; characters that
    // are refused are skipped. `accepted` is false when any character was refused.
    TMaskEditResult Paste(std::string_view editText, std::size_t cursor, std::string_view pasted,
                          std::size_t selLength = 0) const;
    // The empty display with the cursor on the first editable position.
    TMaskEditResult Clear() const;

    // Cursor moves that pass literals by and never stop inside a double-byte character.
    std::size_t CursorHome() const { return NextEditablePos(0); }
    std::size_t CursorEnd() const { return MaxLength(); }
    std::size_t CursorRight(std::string_view editText, std::size_t cursor) const;
    std::size_t CursorLeft(std::string_view editText, std::size_t cursor) const;

private:
    void Parse(std::string_view mask, char dateSeparator, char timeSeparator);
    void AddLiteral(std::string_view character, TMaskCase caseMode);

    // An EditText of this mask: its length, and every literal in place.
    bool IsWellFormed(std::string_view editText) const;
    // The EditText as given when it is well formed, else applied as a text.
    AnsiString Normalized(std::string_view editText) const;
    // Whether `character` is data for the editable position pos (rather than a separator).
    bool IsDataAt(std::size_t pos, std::string_view character, bool spacesAreData) const;
    AnsiString Fill(std::string_view text, bool spacesAreData) const;
    // Per position of a normalised EditText: 2 starts a double-byte character, 0 continues one,
    // 1 is a single byte.
    std::vector<std::uint8_t> CharSpans(std::string_view editText) const;
    std::size_t LiteralLengthAt(std::size_t pos) const;
    bool IsSingleCharacter(std::string_view character) const;
    bool FitsAt(std::size_t pos, std::string_view character) const;
    // Writes one character at pos (case converted), blanking the halves of any double-byte
    // character it overwrites in part.
    void Put(AnsiString& editText, std::size_t pos, std::string_view character) const;
    // Blanks the editable positions of [from, to), widened to whole characters; answers `from`
    // as widened.
    std::size_t BlankRange(AnsiString& editText, std::size_t from, std::size_t to) const;
    std::size_t SnapCursor(std::string_view editText, std::size_t cursor) const;
    std::vector<std::string_view> SplitCharacters(std::string_view text) const;
    AnsiString ApplyInPlace(std::string_view editText) const;
    AnsiString ApplyLeft(const std::vector<std::string_view>& chars, bool spacesAreData) const;
    AnsiString ApplyRight(const std::vector<std::string_view>& chars, bool spacesAreData) const;

    AnsiString editMask_;
    CodePage codePage_ = CP_WESTERN;
    std::vector<TMaskPosition> positions_;
    AnsiString empty_;
    bool saveLiterals_ = true;
    char blank_ = kDefaultBlank;
    bool trimLeading_ = false;
};

} // namespace qmx
