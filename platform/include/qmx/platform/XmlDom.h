#pragma once
// XML document object model over pugixml, with the answers the module's code relies on:
//
// - Parsing never raises. A text that is not well-formed XML (also "", "N", two root elements,
//   text outside the root element) leaves a document without root element, and ParseError()
//   tells why, with line and column.
// - LoadXML takes 8-bit text in a code page and converts it to UTF-8 before parsing; a declared
//   encoding inside the text is ignored (the text is already characters, as with the original
//   DOM's loadXML). Load reads a file and honours its byte order mark or declared encoding
//   (GB2312/GBK, BIG5, UTF-8, windows-125x, ...); without either the file must be UTF-8.
// - The declaration is kept as written: XML() of a document loaded from
//   "<?xml version="1.0" encoding="GB2312"?><Root/>" in page 936 gives those bytes back.
// - Whitespace-only text between elements is not kept, and the output has no indentation; the
//   text of elements is kept exactly. Attribute values are normalised as XML requires (a raw
//   line break or tab in the text reads as a blank; written as &#10; it stays a line break).
// - A DOCTYPE is kept as written; its entity declarations are not expanded, so a reference to
//   one stays literal text ("&stdd;").
//
// The document is a handle, like its nodes: copies share one document. Loading replaces the
// content; nodes taken from the earlier content stay valid (they keep it alive) but are no
// longer part of the document.
#include <string>
#include <string_view>

#include "qmx/platform/XmlNode.h"

namespace qmx::platform {

class XmlDocument : public XmlNode {
public:
    // A new, empty document (no root element).
    XmlDocument();

    // Parses text (bytes in codePage). False, with ParseError(), when it is not well-formed.
    bool LoadXML(std::string_view text, CodePage codePage = SystemAnsiCodePage());
    // Parses a file. False, with ParseError(), when it cannot be read, names an encoding that is
    // not supported, or is not well-formed.
    bool Load(const std::string& fileName);
    // Writes the document to a file in the named encoding ("GB2312", "BIG5", "UTF-8", ...; empty:
    // the encoding the declaration names, else UTF-8). The declaration written names that
    // encoding (one is added when the document has none and the encoding is not UTF-8); the rest
    // of the declaration is kept. The file is replaced only once it is completely written.
    // Raises EXmlError for an unknown encoding or a file that cannot be written.
    void Save(const std::string& fileName, std::string_view encoding = {}) const;

    // Why the last load failed; "" after a successful one.
    const AnsiString& ParseError() const;
    // Why the last selection answered nothing because its XPath was bad; "" after a good one.
    const AnsiString& XPathError() const;

    // The root element, or the null node.
    XmlNode DocumentElement() const;

    // New nodes of this document, not yet in its tree (AppendChild places them). A name must be
    // an XML name; anything else raises EXmlError.
    XmlNode CreateElement(std::string_view name, CodePage codePage = SystemAnsiCodePage());
    XmlNode CreateTextNode(std::string_view text, CodePage codePage = SystemAnsiCodePage());

private:
    friend class XmlNode;
    explicit XmlDocument(std::shared_ptr<detail::XmlTree> tree);
};

} // namespace qmx::platform
