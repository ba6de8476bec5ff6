#pragma once
// Small helpers over the platform's XML document model (pugixml). Texts in and out are 8-bit
// code-page bytes, converted through the code page given (the system's ANSI code page by
// default); a declared encoding inside a text is not used, the text being characters already.
// None of them raises for text that is not XML or for a bad XPath.
#include <string_view>

#include "qmx/platform/XmlDom.h"

namespace qmx {

// A new, empty document. Parsing never validates against a document type and never expands
// entity declarations.
platform::XmlDocument NewXmlDocument();

// A new document holding the parsed text; one without root element when the text is not
// well-formed XML ("", "N", two root elements...).
platform::XmlDocument LoadXmlText(std::string_view text, CodePage codePage = SystemAnsiCodePage());

// The first node the XPath path selects relative to node, or the null node (also for a bad
// XPath or a null node). When nothing is found and create is true, a new element named path is
// appended as node's last child and answered; a path that is no element name, or a second root
// element, answers the null node.
platform::XmlNode FindXmlNode(const platform::XmlNode& node, std::string_view path, bool create,
                              CodePage codePage = SystemAnsiCodePage());

// The attribute's text; "" when it is missing or element is null.
AnsiString GetXmlAttr(const platform::XmlNode& element, std::string_view name,
                      CodePage codePage = SystemAnsiCodePage());

// Sets the attribute, added after the existing ones when new. Raises EXmlError for a null
// element or a name that is no XML name.
void SetXmlAttr(platform::XmlNode& element, std::string_view name, std::string_view text,
                CodePage codePage = SystemAnsiCodePage());

} // namespace qmx
