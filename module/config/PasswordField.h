#pragma once
// Scrambled password fields of the configuration files: one pair of upper-case hexadecimal digits
// per byte of the plain text, the byte at position i (from 1) rotated right by i mod 8 bits. An
// empty password is stored as the encoding of EmptyPasswordMarker, so no stored value is empty.
//
//   EncodeSQLSa("abc") == "B0986C"      DecodeSQLSa("B0986C") == "abc"
#include <string_view>

#include "qmx/Exception.h"

namespace qmx {

// The plain text that stands for an empty password.
inline constexpr std::string_view EmptyPasswordMarker = "WE_Anq_BsXqdxLzza_LwlLingMrclCdAqqxh";
// What DecodeSQLSa answers for a stored text that is no valid encoding.
inline constexpr std::string_view PasswordErrorMarker = "QM_Say_Password_Error";

// The stored form of a password (bytes of any code page).
AnsiString EncodeSQLSa(std::string_view plain);

// The plain password. Pairs of hexadecimal digits in either letter case; a single digit left at
// the end is ignored; the encoding of the empty-password marker gives "". Any other character
// gives PasswordErrorMarker and one report in the generator log; nothing is raised.
AnsiString DecodeSQLSa(std::string_view stored);

} // namespace qmx
