#pragma once
// Delimited texts and small value helpers. The framework packs its records into texts whose
// fields are separated by the control character 3, and its lists by ";" or line breaks.
// Texts are GB2312 bytes; positions and indexes count from 1. Delimiters are matched only where
// a character begins, never inside a double-byte character.
#include <string_view>

#include "qmx/Variant.h"

namespace qmx {

// The separator of the fields of a record (rules, control lists, counted joins).
inline constexpr char FieldSeparator = '\x03';
inline constexpr std::string_view FieldSeparatorText{"\x03", 1};

// The index-th field (from 1) of text split at each occurrence of delimiter (any length, matched
// exactly). Empty when index is below 1 or past the last field. An empty text has one empty
// field; a text ending in the delimiter has an empty last field.
AnsiString GetDelimitedField(std::string_view text, std::string_view delimiter, int index);

// Occurrences of delimiter (not overlapping) plus one; 0 for an empty text.
int CountDelimitedFields(std::string_view text, std::string_view delimiter);

// Answers the part of text before the first delimiter and leaves the rest after it in text;
// without a delimiter the whole text is answered and text becomes empty.
AnsiString SplitHead(AnsiString& text, std::string_view delimiter);

// Replaces search (case-sensitive) by replacement, looking again from the start of the text after
// every replacement, until no occurrence is left; with trim, blanks and control characters are
// then removed from both ends. A search equal to the replacement ignoring case, or an empty
// search, changes nothing. When the replacement contains the search, or the rewriting keeps
// feeding itself, every occurrence of the original text is replaced once, left to right, so
// the call always ends.
AnsiString ReplaceAllText(std::string_view text, std::string_view search, std::string_view replacement,
                          bool trim);

// head #3 count #3 element1 #3 ... elementN #3, where element 0 of values holds the count N.
// Raises EVariantError when values is not an array or N runs past its high bound.
WideString JoinCountedArray(const Variant& head, const Variant& values);

// The Chinese caption (GB2312) of a standard dialog button's name ("Yes", "OK", ...); any other
// name comes back unchanged.
AnsiString LocalButtonCaption(std::string_view name);

// The number in text (the toolkit's numeric syntax, '.' as decimal separator), else defaultValue.
double StrToFloatDefault(std::string_view text, double defaultValue);

// True for exactly "127.0.0.1".
bool IsLoopbackAddress(std::string_view address);

Variant VarIfThen(bool flag, const Variant& a, const Variant& b);

// Unassigned or Null.
bool VarIsBlank(const Variant& value);

} // namespace qmx
