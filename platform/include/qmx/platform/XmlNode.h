#pragma once
// A node of an XML document (see XmlDom.h): element, attribute, text, comment, the document
// itself... A node is a handle: copies name the same node, and every handle keeps its document
// alive, so a node stays usable after the document object that made it is gone.
//
// Texts in and out are code-page bytes (AnsiString); each call names the code page, the system
// ANSI code page by default. Inside, the document holds UTF-8.
//
// Reading a null node answers empty texts, Null attributes and empty lists; changing one raises
// EXmlError. A bad XPath answers an empty list or the null node and records the reason in the
// document (XmlDocument::XPathError), as the original DOM did not raise for it either.
#include <memory>
#include <string_view>
#include <vector>

#include "qmx/CodePage.h"
#include "qmx/Variant.h"

namespace pugi {
class xml_document;
struct xml_node_struct;
struct xml_attribute_struct;
} // namespace pugi

namespace qmx::platform {

namespace detail {
struct XmlTree;
}

// Changing the tree in a way XML does not allow: a bad name, a second root element, appending a
// node into itself, removing a node that is not a child, writing a file that cannot be written.
class EXmlError : public Exception {
public:
    using Exception::Exception;
};

enum class XmlNodeType {
    Null,
    Element,
    Attribute,
    Text,
    CData,
    ProcessingInstruction,
    Comment,
    Document,
    DocumentType,
    Declaration, // <?xml ...?>; its NodeName is "xml", as in the original DOM
};

class XmlNode;
class XmlDocument;
using XmlNodeList = std::vector<XmlNode>;

class XmlNode {
public:
    XmlNode() = default; // the null node

    bool IsNull() const;
    explicit operator bool() const { return !IsNull(); }
    XmlNodeType NodeType() const;

    // Element and attribute names; "#text", "#cdata-section", "#comment", "#document" for the
    // others, the target for a processing instruction.
    AnsiString NodeName(CodePage codePage = SystemAnsiCodePage()) const;

    // Element, document: the text of every descendant text and CDATA node, in document order.
    // Attribute, text, comment, instruction: its value.
    AnsiString Text(CodePage codePage = SystemAnsiCodePage()) const;
    // Element: replaces every child with one text node. Others: sets the value. The document
    // raises.
    void SetText(std::string_view text, CodePage codePage = SystemAnsiCodePage());

    // The attribute's text, or Null when the element has no such attribute (or this is no
    // element).
    Variant GetAttribute(std::string_view name, CodePage codePage = SystemAnsiCodePage()) const;
    // Sets the attribute, adding it after the existing ones when new. The value is written as
    // VarToStr gives it (Null and Empty as ""); a WideString value is taken as it is.
    void SetAttribute(std::string_view name, const Variant& value, CodePage codePage = SystemAnsiCodePage());
    // False when there was no such attribute.
    bool RemoveAttribute(std::string_view name, CodePage codePage = SystemAnsiCodePage());
    // The attributes as attribute nodes, in document order.
    XmlNodeList Attributes() const;

    XmlNodeList ChildNodes() const;
    XmlNode FirstChild() const;
    XmlNode LastChild() const;
    XmlNode NextSibling() const;
    XmlNode PreviousSibling() const;
    bool HasChildNodes() const;
    // The element or document that holds this node; null for the document, attributes, and
    // nodes that are not (or no longer) in the tree.
    XmlNode ParentNode() const;
    XmlDocument OwnerDocument() const;

    // Appends child as the last child and answers it. A node of this document moves (also one
    // created by CreateElement or removed by RemoveChild); a node of another document is copied
    // and the copy answered. Raises EXmlError for a node that cannot go here (an attribute, a
    // document, this node or one of its ancestors, a second root element, any child of a text).
    XmlNode AppendChild(const XmlNode& child);
    // Takes child out of the tree and answers it; it stays usable and may be appended again.
    // Raises EXmlError when child is not a child of this node.
    XmlNode RemoveChild(const XmlNode& child);

    // The nodes the XPath selects with this node as context, in document order; attributes
    // come as attribute nodes.
    XmlNodeList SelectNodes(std::string_view xpath, CodePage codePage = SystemAnsiCodePage()) const;
    // The first of them, or the null node.
    XmlNode SelectSingleNode(std::string_view xpath, CodePage codePage = SystemAnsiCodePage()) const;

    // The node as XML without indentation or line breaks, converted to the code page. A
    // character the code page cannot hold is written as a character reference (&#NNNN;), so
    // nothing is lost. An attribute node gives name="value"; a text node its escaped text.
    AnsiString XML(CodePage codePage = SystemAnsiCodePage()) const;

    // The same node of the same document.
    bool operator==(const XmlNode& other) const;

protected:
    friend struct detail::XmlTree;
    friend class XmlDocument;
    XmlNode(std::shared_ptr<detail::XmlTree> tree, std::shared_ptr<pugi::xml_document> content,
            pugi::xml_node_struct* node, pugi::xml_attribute_struct* attribute = nullptr);

    std::shared_ptr<detail::XmlTree> tree_;
    std::shared_ptr<pugi::xml_document> content_;     // what node_ points into
    pugi::xml_node_struct* node_ = nullptr;           // the element; an attribute's element
    pugi::xml_attribute_struct* attribute_ = nullptr; // set for attribute nodes
    bool isDocument_ = false;                         // the tree's current document node, whatever was loaded since

private:
    // A handle to node in the content this handle points into.
    XmlNode Wrap(pugi::xml_node_struct* node, pugi::xml_attribute_struct* attribute = nullptr) const;
    std::shared_ptr<pugi::xml_document> Content() const;
    pugi::xml_node_struct* Resolved() const;
    void RequireNotNull(const char* operation) const;
};

} // namespace qmx::platform
