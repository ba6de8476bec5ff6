#include "qmx/platform/XmlNode.h"

#include <algorithm>

#include "TextCodec.h"
#include "XmlEncoding.h"
#include "XmlTree.h"
#include "qmx/platform/XmlDom.h"

namespace qmx::platform {
namespace {

using detail::CodePageToUtf8;
using detail::Utf8ToCodePage;
using detail::XmlTree;

pugi::xml_node NodeOf(pugi::xml_node_struct* node) { return pugi::xml_node(node); }

// Iterative, so that a deeply nested document cannot exhaust the stack.
void CollectText(pugi::xml_node top, std::string& text) {
    pugi::xml_node node = top.first_child();
    while (node) {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) text += node.value();
        if (node.type() == pugi::node_element && node.first_child() && !XmlTree::IsHolder(node)) {
            node = node.first_child();
            continue;
        }
        while (node && node != top && !node.next_sibling())
            node = node.parent();
        if (!node || node == top) break;
        node = node.next_sibling();
    }
}

// Attribute values escaped as pugixml escapes them when it prints an element.
std::string EscapeAttribute(std::string_view value) {
    std::string result;
    result.reserve(value.size());
    for (char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '&': result += "&amp;"; break;
        case '<': result += "&lt;"; break;
        case '"': result += "&quot;"; break;
        default:
            if (c < 32) {
                result += "&#";
                if (c < 10) result += '0';
                result += std::to_string(c) + ";";
            } else {
                result += ch;
            }
        }
    }
    return result;
}

// A sibling or child that is not the holder of detached nodes.
pugi::xml_node Visible(pugi::xml_node node, bool forward) {
    while (node && XmlTree::IsHolder(node))
        node = forward ? node.next_sibling() : node.previous_sibling();
    return node;
}

std::string ValueText(const Variant& value, CodePage codePage) {
    if (value.Type() == VarType::OleStr) return WideToUtf8(value.AsWideString());
    return CodePageToUtf8(VarToStr(value), codePage);
}

} // namespace

XmlNode::XmlNode(std::shared_ptr<detail::XmlTree> tree, std::shared_ptr<pugi::xml_document> content,
                 pugi::xml_node_struct* node, pugi::xml_attribute_struct* attribute)
    : tree_(std::move(tree)), content_(std::move(content)), node_(node), attribute_(attribute) {}

std::shared_ptr<pugi::xml_document> XmlNode::Content() const { return isDocument_ ? tree_->document : content_; }

pugi::xml_node_struct* XmlNode::Resolved() const {
    if (isDocument_) return tree_->document->internal_object();
    return node_;
}

XmlNode XmlNode::Wrap(pugi::xml_node_struct* node, pugi::xml_attribute_struct* attribute) const {
    if (!node) return {};
    // The current document node is answered as the document itself, so that it follows loads.
    if (!attribute && node == tree_->document->internal_object()) return XmlDocument(tree_);
    return XmlNode(tree_, Content(), node, attribute);
}

bool XmlNode::IsNull() const { return !tree_ || !Resolved(); }

void XmlNode::RequireNotNull(const char* operation) const {
    if (IsNull()) throw EXmlError(std::string("XML: ") + operation + " on the null node");
}

XmlNodeType XmlNode::NodeType() const {
    if (IsNull()) return XmlNodeType::Null;
    if (attribute_) return XmlNodeType::Attribute;
    switch (NodeOf(Resolved()).type()) {
    case pugi::node_document: return XmlNodeType::Document;
    case pugi::node_element: return XmlNodeType::Element;
    case pugi::node_pcdata: return XmlNodeType::Text;
    case pugi::node_cdata: return XmlNodeType::CData;
    case pugi::node_comment: return XmlNodeType::Comment;
    case pugi::node_pi: return XmlNodeType::ProcessingInstruction;
    case pugi::node_declaration: return XmlNodeType::Declaration;
    case pugi::node_doctype: return XmlNodeType::DocumentType;
    default: return XmlNodeType::Null;
    }
}

AnsiString XmlNode::NodeName(CodePage codePage) const {
    if (IsNull()) return {};
    if (attribute_) return Utf8ToCodePage(pugi::xml_attribute(attribute_).name(), codePage);
    const pugi::xml_node node = NodeOf(Resolved());
    switch (node.type()) {
    case pugi::node_document: return "#document";
    case pugi::node_pcdata: return "#text";
    case pugi::node_cdata: return "#cdata-section";
    case pugi::node_comment: return "#comment";
    case pugi::node_declaration: return "xml";
    case pugi::node_doctype: {
        const std::string_view value = node.value();
        return Utf8ToCodePage(value.substr(0, value.find_first_of(" \t\r\n[")), codePage);
    }
    default: return Utf8ToCodePage(node.name(), codePage);
    }
}

AnsiString XmlNode::Text(CodePage codePage) const {
    if (IsNull()) return {};
    if (attribute_) return Utf8ToCodePage(pugi::xml_attribute(attribute_).value(), codePage);
    const pugi::xml_node node = NodeOf(Resolved());
    switch (node.type()) {
    case pugi::node_document:
    case pugi::node_element: {
        std::string text;
        CollectText(node, text);
        return Utf8ToCodePage(text, codePage);
    }
    case pugi::node_declaration: return {};
    default: return Utf8ToCodePage(node.value(), codePage);
    }
}

void XmlNode::SetText(std::string_view text, CodePage codePage) {
    RequireNotNull("SetText");
    const std::string value = CodePageToUtf8(text, codePage);
    if (attribute_) {
        pugi::xml_attribute(attribute_).set_value(value.c_str());
        return;
    }
    pugi::xml_node node = NodeOf(Resolved());
    switch (node.type()) {
    case pugi::node_element: {
        // The old children stay usable for handles that still name them, as removed nodes do.
        pugi::xml_node holder = XmlTree::HolderFor(node);
        while (pugi::xml_node child = node.first_child())
            holder.append_move(child);
        if (!value.empty()) node.append_child(pugi::node_pcdata).set_value(value.c_str());
        return;
    }
    case pugi::node_pcdata:
    case pugi::node_cdata:
    case pugi::node_comment:
    case pugi::node_pi: node.set_value(value.c_str()); return;
    default: throw EXmlError("XML: the text of a " + NodeName() + " node cannot be set");
    }
}

Variant XmlNode::GetAttribute(std::string_view name, CodePage codePage) const {
    if (IsNull() || attribute_) return Variant::Null();
    const pugi::xml_node node = NodeOf(Resolved());
    if (node.type() != pugi::node_element) return Variant::Null();
    const pugi::xml_attribute attribute = node.attribute(CodePageToUtf8(name, codePage).c_str());
    if (!attribute) return Variant::Null();
    return Variant(Utf8ToCodePage(attribute.value(), codePage));
}

void XmlNode::SetAttribute(std::string_view name, const Variant& value, CodePage codePage) {
    RequireNotNull("SetAttribute");
    pugi::xml_node node = NodeOf(Resolved());
    if (attribute_ || node.type() != pugi::node_element) throw EXmlError("XML: only elements have attributes");
    const std::string utf8Name = CodePageToUtf8(name, codePage);
    if (!detail::IsXmlName(utf8Name)) throw EXmlError("XML: '" + AnsiString(name) + "' is no attribute name");
    const std::string text = ValueText(value, codePage);
    pugi::xml_attribute attribute = node.attribute(utf8Name.c_str());
    if (!attribute) attribute = node.append_attribute(utf8Name.c_str());
    attribute.set_value(text.c_str());
}

bool XmlNode::RemoveAttribute(std::string_view name, CodePage codePage) {
    RequireNotNull("RemoveAttribute");
    if (attribute_) return false;
    return NodeOf(Resolved()).remove_attribute(CodePageToUtf8(name, codePage).c_str());
}

XmlNodeList XmlNode::Attributes() const {
    XmlNodeList result;
    if (IsNull() || attribute_) return result;
    for (pugi::xml_attribute attribute : NodeOf(Resolved()).attributes())
        result.push_back(Wrap(Resolved(), attribute.internal_object()));
    return result;
}

XmlNodeList XmlNode::ChildNodes() const {
    XmlNodeList result;
    if (IsNull() || attribute_) return result;
    for (pugi::xml_node child : NodeOf(Resolved()).children())
        if (!XmlTree::IsHolder(child)) result.push_back(Wrap(child.internal_object()));
    return result;
}

XmlNode XmlNode::FirstChild() const {
    if (IsNull() || attribute_) return {};
    return Wrap(Visible(NodeOf(Resolved()).first_child(), true).internal_object());
}

XmlNode XmlNode::LastChild() const {
    if (IsNull() || attribute_) return {};
    return Wrap(Visible(NodeOf(Resolved()).last_child(), false).internal_object());
}

XmlNode XmlNode::NextSibling() const {
    if (IsNull() || attribute_ || !ParentNode()) return {};
    return Wrap(Visible(NodeOf(Resolved()).next_sibling(), true).internal_object());
}

XmlNode XmlNode::PreviousSibling() const {
    if (IsNull() || attribute_ || !ParentNode()) return {};
    return Wrap(Visible(NodeOf(Resolved()).previous_sibling(), false).internal_object());
}

bool XmlNode::HasChildNodes() const { return !FirstChild().IsNull(); }

XmlNode XmlNode::ParentNode() const {
    if (IsNull() || attribute_) return {};
    const pugi::xml_node parent = NodeOf(Resolved()).parent();
    if (!parent || XmlTree::IsHolder(parent)) return {};
    return Wrap(parent.internal_object());
}

XmlDocument XmlNode::OwnerDocument() const {
    if (!tree_) return XmlDocument();
    return XmlDocument(tree_);
}

XmlNode XmlNode::AppendChild(const XmlNode& child) {
    RequireNotNull("AppendChild");
    if (child.IsNull()) throw EXmlError("XML: the null node cannot be appended");
    pugi::xml_node parent = NodeOf(Resolved());
    if (attribute_ || (parent.type() != pugi::node_element && parent.type() != pugi::node_document))
        throw EXmlError("XML: a " + NodeName() + " node has no children");
    if (child.attribute_ || child.NodeType() == XmlNodeType::Document)
        throw EXmlError("XML: a " + child.NodeName() + " node cannot be appended");
    pugi::xml_node node = NodeOf(child.Resolved());

    if (parent.type() == pugi::node_document) {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
            throw EXmlError("XML: text cannot stand outside the root element");
        if (node.type() == pugi::node_element) {
            for (pugi::xml_node other : parent.children())
                if (other.type() == pugi::node_element && !XmlTree::IsHolder(other) && other != node)
                    throw EXmlError("XML: a document has only one root element");
        }
    }

    pugi::xml_node appended;
    if (node.root() == parent.root()) {
        for (pugi::xml_node ancestor = parent; ancestor; ancestor = ancestor.parent())
            if (ancestor == node) throw EXmlError("XML: a node cannot be appended to itself or below itself");
        appended = parent.append_move(node);
    } else {
        appended = parent.append_copy(node);
    }
    if (!appended) throw EXmlError("XML: a " + child.NodeName() + " node cannot be appended here");
    return Wrap(appended.internal_object());
}

XmlNode XmlNode::RemoveChild(const XmlNode& child) {
    RequireNotNull("RemoveChild");
    if (child.IsNull() || child.attribute_ || attribute_ || child.ParentNode() != *this)
        throw EXmlError("XML: the node to remove is not a child of this node");
    pugi::xml_node node = NodeOf(child.Resolved());
    const pugi::xml_node moved = XmlTree::HolderFor(node).append_move(node);
    return Wrap(moved.internal_object());
}

XmlNodeList XmlNode::SelectNodes(std::string_view xpath, CodePage codePage) const {
    XmlNodeList result;
    if (IsNull()) return result;
    const pugi::xml_node node = NodeOf(Resolved());
    const pugi::xpath_node context =
        attribute_ ? pugi::xpath_node(pugi::xml_attribute(attribute_), node) : pugi::xpath_node(node);
    pugi::xpath_node_set found;
    try {
        const pugi::xpath_query query(CodePageToUtf8(xpath, codePage).c_str());
        found = query.evaluate_node_set(context);
    } catch (const pugi::xpath_exception& error) {
        tree_->xpathError = "XPath '" + AnsiString(xpath) + "': " + error.what();
        if (error.result().offset > 0) tree_->xpathError += " at position " + std::to_string(error.result().offset + 1);
        return result;
    } catch (const std::exception& error) {
        tree_->xpathError = "XPath '" + AnsiString(xpath) + "': " + error.what();
        return result;
    }
    tree_->xpathError.clear();
    found.sort();
    // Nodes parked as detached are not part of the document, unless the search starts there.
    const bool fromDetached = XmlTree::IsDetached(node);
    for (const pugi::xpath_node& item : found) {
        const pugi::xml_node owner = item.attribute() ? item.parent() : item.node();
        if (!fromDetached && XmlTree::IsDetached(owner)) continue;
        result.push_back(Wrap(owner.internal_object(), item.attribute().internal_object()));
    }
    return result;
}

XmlNode XmlNode::SelectSingleNode(std::string_view xpath, CodePage codePage) const {
    XmlNodeList nodes = SelectNodes(xpath, codePage);
    return nodes.empty() ? XmlNode() : nodes.front();
}

AnsiString XmlNode::XML(CodePage codePage) const {
    if (IsNull()) return {};
    std::string utf8;
    if (attribute_) {
        const pugi::xml_attribute attribute(attribute_);
        utf8 = std::string(attribute.name()) + "=\"" + EscapeAttribute(attribute.value()) + "\"";
    } else {
        utf8 = detail::PrintRaw(NodeOf(Resolved()));
    }
    return detail::XmlMarkupFromUtf8(utf8, codePage);
}

bool XmlNode::operator==(const XmlNode& other) const {
    if (IsNull() || other.IsNull()) return IsNull() == other.IsNull();
    return Resolved() == other.Resolved() && attribute_ == other.attribute_;
}

} // namespace qmx::platform
