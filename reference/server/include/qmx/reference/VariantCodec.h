#pragma once
// A Variant as a line of printable ASCII, and back: how the job queue keeps the run parameters
// of a job, with every kind, bound and text exactly as the module sent them.
//
//   E  Empty               N  Null
//   T  True                F  False
//   I<n>;  32-bit integer  L<n>;  64-bit integer
//   D<x>;  double          d<x>;  date (days since 1899-12-30); both written shortest-exact
//   S<t>;  AnsiString      W<t>;  WideString as UTF-8; in both, bytes outside 0x20..0x7E and the
//                          characters '%' and ';' are written %XX
//   A<k>:<low>,<high>:...[<elements>]  array of k dimensions, elements in storage order
// Objects cannot be kept (an object lives only in its process).
#include <string>
#include <string_view>

#include "qmx/Variant.h"

namespace qmx::reference {

// Raises EOleError for a value that holds an object.
std::string EncodeVariant(const Variant& value);

// Raises Exception naming the position for text that is not a complete encoding (also for text
// after it, nesting deeper than 32 arrays, or more elements than the text can hold).
Variant DecodeVariant(std::string_view text);

} // namespace qmx::reference
