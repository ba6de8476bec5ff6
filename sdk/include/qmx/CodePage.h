#pragma once
// Code pages: the system's texts are bytes in GB2312 (936), BIG5 (950) or a single-byte page
// (1252, 437). Conversions run over glibc iconv; scanning and case folding are aware of
// double-byte characters, because GBK and BIG5 trail bytes include ASCII letters, '\' and '|'.
#include <cstdint>
#include <string>
#include <string_view>

#include "qmx/Exception.h"

namespace qmx {

using CodePage = std::uint32_t;
inline constexpr CodePage CP_GB2312 = 936;
inline constexpr CodePage CP_BIG5 = 950;
inline constexpr CodePage CP_WESTERN = 1252;
inline constexpr CodePage CP_OEM_US = 437;
inline constexpr CodePage CP_UTF8 = 65001;

// The replacement for bytes that are no character of the code page.
inline constexpr char16_t kReplacementChar = u'\uFFFD';
// The replacement for characters that the code page cannot hold.
inline constexpr char kDefaultAnsiChar = '?';

// The system ANSI code page: QMX_ACP when set to a number, else the locale's codeset
// (GB2312/GBK/GB18030 -> 936, BIG5 -> 950, anything else -> 1252).
CodePage SystemAnsiCodePage();

// 8-bit text <-> UTF-16. Never fails: invalid bytes become kReplacementChar (undefined bytes of a
// single-byte page map to U+00xx, as the system converter does), unrepresentable characters and
// lone surrogates become kDefaultAnsiChar. An unknown code page raises Exception.
WideString AnsiToWide(std::string_view text, CodePage codePage);
AnsiString WideToAnsi(std::u16string_view text, CodePage codePage);

// UTF-8 <-> 8-bit text, for texts written in source files and for display.
AnsiString Utf8ToAnsi(std::string_view utf8, CodePage codePage);
std::string AnsiToUtf8(std::string_view text, CodePage codePage);
std::string WideToUtf8(std::u16string_view text);
WideString Utf8ToWide(std::string_view utf8);

bool IsDoubleByteCodePage(CodePage codePage);
bool IsLeadByte(unsigned char byte, CodePage codePage);
// Length in bytes of the character that starts at pos (1 or 2; 1 for a lead byte at the end).
std::size_t CharLengthAt(std::string_view text, std::size_t pos, CodePage codePage);

// Case folding of ASCII letters (and Latin-1 letters on page 1252); trail bytes stay untouched.
AnsiString AnsiUpperCase(std::string_view text, CodePage codePage = SystemAnsiCodePage());
AnsiString AnsiLowerCase(std::string_view text, CodePage codePage = SystemAnsiCodePage());
// <0, 0, >0 as the texts compare after folding to upper case.
int AnsiCompareText(std::string_view a, std::string_view b, CodePage codePage = SystemAnsiCodePage());
bool AnsiSameText(std::string_view a, std::string_view b, CodePage codePage = SystemAnsiCodePage());

// Position of a single-byte character that is never a trail byte; npos when absent. `from` must
// be a character boundary (0, or a position an earlier search answered, plus one).
std::size_t AnsiFindChar(std::string_view text, char ch, std::size_t from = 0,
                         CodePage codePage = SystemAnsiCodePage());
std::size_t AnsiFindLastChar(std::string_view text, char ch,
                             CodePage codePage = SystemAnsiCodePage());

} // namespace qmx
