#pragma once
// Repair of the head of XML texts that come back from web services, before they are parsed:
// every text gets a declaration naming GB2312 (unless it names an encoding already) and the
// document type "<!DOCTYPE SC[<!ENTITY stdd "&amp;stdd;">]>" (unless it has one), so that the
// services' "&stdd;" references parse. Entities are declared, never expanded.
//
//   "<Root/>"                        -> "<?xml version="1.0" encoding="GB2312"?><!DOCTYPE SC[...]><Root/>"
//   "<?xml version="1.0"?><Root/>"   -> "<?xml version="1.0" encoding="GB2312"?><!DOCTYPE SC[...]><Root/>"
#include <string_view>

#include "qmx/platform/XmlDom.h"

namespace qmx {

inline constexpr std::string_view XmlStddEntityDeclaration = "<!DOCTYPE SC[<!ENTITY stdd \"&amp;stdd;\">]>";
inline constexpr std::string_view XmlGbEncodingAttribute = " encoding=\"GB2312\"";
inline constexpr std::string_view XmlGbDeclaration = "<?xml version=\"1.0\" encoding=\"GB2312\"?>";

// What is present is decided from the first 100 bytes, lower-cased, without CR LF pairs and
// trimmed: a declaration when they begin with "<?xml", a document type when they contain
// "<!doctype", an encoding when they contain "encoding=". With a declaration, the encoding goes
// right before and the document type right after the declaration's "?>" as the text holds it
// (also after leading blanks or line breaks); a declaration without "?>" leaves the text as it
// is. Without a declaration, the GB2312 declaration (and the document type) go in front.
AnsiString FixXmlHeader(std::string_view text, CodePage codePage = SystemAnsiCodePage());

// LoadXmlText(FixXmlHeader(text)).
platform::XmlDocument LoadXmlFixed(std::string_view text, CodePage codePage = SystemAnsiCodePage());

} // namespace qmx
