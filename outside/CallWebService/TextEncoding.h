#pragma once
// Encodings at the two ends of a call: the service speaks some charset (UTF-8 as a rule), the
// caller 8-bit text in the system's ANSI code page.
#include <string>
#include <string_view>

#include "qmx/CodePage.h"

namespace qmx::callws {

// The charset parameter of a Content-Type header value ("text/xml; charset=gbk" -> "gbk"); "".
std::string CharsetOfContentType(std::string_view contentType);

// The encoding named in an XML declaration at the start of text; "".
std::string DeclaredXmlEncoding(std::string_view text);

// The charset of an answer: the header's, else a byte order mark's, else the XML declaration's,
// else UTF-8.
std::string BodyCharset(std::string_view contentType, std::string_view body);

// The body as UTF-8 (a byte order mark removed). Raises CallError (CWS_BAD_RESPONSE) for an
// unknown charset or bytes that are no text of it.
std::string DecodeToUtf8(std::string_view body, const std::string& charset);

// UTF-8 as text in the code page. When asXml, a character the code page cannot hold becomes a
// character reference (&#N;), so XML text loses nothing; otherwise it becomes '?'. Invalid UTF-8
// bytes become '?'.
AnsiString Utf8ToCodePage(std::string_view utf8, CodePage codePage, bool asXml);

// The name a declaration uses for the code page ("GB2312", "BIG5", "windows-1252"...).
std::string EncodingNameOf(CodePage codePage);

// A leading XML declaration's encoding replaced by name; other texts come back unchanged.
std::string WithDeclaredEncoding(std::string_view text, std::string_view name);

// Looks like XML: the first character after blanks is '<'.
bool LooksLikeXml(std::string_view text);

} // namespace qmx::callws
