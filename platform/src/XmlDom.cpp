#include "qmx/platform/XmlDom.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include "TextCodec.h"
#include "XmlEncoding.h"
#include "XmlTree.h"

namespace qmx::platform {
namespace {

using detail::XmlTree;

// Comments, instructions, the declaration and the document type are kept, so that a document
// reads back as it was written. Fragment mode keeps text outside the root element, so that it
// can be refused below: pugixml itself would drop it silently.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_doctype |
                                   pugi::parse_comments | pugi::parse_pi | pugi::parse_fragment;

// "line L, column C" of a byte offset into UTF-8 text.
std::string PositionText(std::string_view utf8, std::ptrdiff_t offset) {
    if (offset < 0) return {};
    const std::string_view before =
        utf8.substr(0, std::min<std::size_t>(static_cast<std::size_t>(offset), utf8.size()));
    std::size_t line = 1, column = 1;
    for (char ch : before) {
        if (ch == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return " (line " + std::to_string(line) + ", column " + std::to_string(column) + ")";
}

// Why parsed content is no document, "" when it is one: pugixml accepts several root elements
// and, in fragment mode, text outside them.
std::string StructureError(const pugi::xml_document& document, std::string_view utf8) {
    int elements = 0;
    for (pugi::xml_node child : document.children()) {
        switch (child.type()) {
        case pugi::node_element:
            if (++elements > 1) return "more than one root element" + PositionText(utf8, child.offset_debug());
            break;
        case pugi::node_pcdata:
        case pugi::node_cdata: return "text outside the root element" + PositionText(utf8, child.offset_debug());
        default: break;
        }
    }
    if (elements == 0) return "no root element";
    return {};
}

std::string ErrnoText() { return std::strerror(errno); }

} // namespace

XmlDocument::XmlDocument() : XmlDocument(std::make_shared<XmlTree>()) {}

XmlDocument::XmlDocument(std::shared_ptr<detail::XmlTree> tree) {
    tree_ = std::move(tree);
    isDocument_ = true;
}

const AnsiString& XmlDocument::ParseError() const { return tree_->parseError; }
const AnsiString& XmlDocument::XPathError() const { return tree_->xpathError; }

namespace {

// Parses UTF-8 into the tree; on failure the tree gets an empty document and the reason.
bool ParseInto(XmlTree& tree, std::string_view utf8, const std::string& context) {
    auto fresh = std::make_shared<pugi::xml_document>();
    const pugi::xml_parse_result result =
        fresh->load_buffer(utf8.data(), utf8.size(), kParseOptions, pugi::encoding_utf8);
    std::string error;
    if (!result)
        error = std::string(result.description()) + PositionText(utf8, result.offset);
    else
        error = StructureError(*fresh, utf8);
    if (!error.empty()) {
        tree.document = std::make_shared<pugi::xml_document>();
        tree.parseError = context + "XML parse error: " + error;
        return false;
    }
    tree.document = std::move(fresh);
    tree.parseError.clear();
    return true;
}

} // namespace

bool XmlDocument::LoadXML(std::string_view text, CodePage codePage) {
    std::string utf8;
    try {
        utf8 = detail::CodePageToUtf8(text, codePage);
    } catch (const std::exception& error) {
        tree_->document = std::make_shared<pugi::xml_document>();
        tree_->parseError = std::string("XML parse error: ") + error.what();
        return false;
    }
    return ParseInto(*tree_, utf8, {});
}

bool XmlDocument::Load(const std::string& fileName) {
    const std::string context = "'" + fileName + "': ";
    std::ifstream file(fileName, std::ios::binary);
    std::string bytes;
    if (file) bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (!file && !file.eof()) {
        tree_->document = std::make_shared<pugi::xml_document>();
        tree_->parseError = context + "cannot read the file: " + ErrnoText();
        return false;
    }
    std::string error;
    const std::optional<std::string> utf8 = detail::FileBytesToUtf8(bytes, error);
    if (!utf8) {
        tree_->document = std::make_shared<pugi::xml_document>();
        tree_->parseError = context + error;
        return false;
    }
    return ParseInto(*tree_, *utf8, context);
}

void XmlDocument::Save(const std::string& fileName, std::string_view encoding) const {
    const pugi::xml_node document = *tree_->document;
    pugi::xml_node declaration;
    for (pugi::xml_node child : document.children())
        if (child.type() == pugi::node_declaration) declaration = child;

    std::string encodingName(encoding);
    if (encodingName.empty() && declaration) encodingName = declaration.attribute("encoding").value();
    if (encodingName.empty()) encodingName = "UTF-8";
    const std::optional<CodePage> codePage = detail::CodePageOfEncoding(encodingName);
    if (!codePage) throw EXmlError("XML: cannot save in the unknown encoding '" + encodingName + "'");

    // The declaration must name the encoding the bytes are in, or the file does not read back.
    const auto declarationText = [&](pugi::xml_node written) {
        std::string text = "<?xml version=\"";
        const char* version = written ? written.attribute("version").value() : "";
        text += *version ? version : "1.0";
        text += "\" encoding=\"" + encodingName + "\"";
        if (written && written.attribute("standalone"))
            text += std::string(" standalone=\"") + written.attribute("standalone").value() + "\"";
        return text + "?>";
    };
    std::string utf8;
    if (!declaration && *codePage != CP_UTF8) utf8 = declarationText({});
    for (pugi::xml_node child : document.children()) {
        if (XmlTree::IsHolder(child)) continue;
        utf8 += child.type() == pugi::node_declaration ? declarationText(child) : detail::PrintRaw(child);
    }
    std::string bytes;
    try {
        bytes = detail::XmlMarkupFromUtf8(utf8, *codePage);
    } catch (const std::exception& error) {
        throw EXmlError("XML: cannot save in the encoding '" + encodingName + "': " + error.what());
    }

    // Written beside the target and renamed over it, so a failed write leaves the old file.
    std::string temporary = fileName + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) throw EXmlError("XML: cannot write '" + fileName + "': " + ErrnoText());
    // mkstemp makes the file private; the saved file gets the old file's mode, or the usual one.
    struct stat existing {};
    ::fchmod(descriptor, ::stat(fileName.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644);
    std::string failure;
    std::size_t written = 0;
    while (written < bytes.size() && failure.empty()) {
        const ssize_t count = ::write(descriptor, bytes.data() + written, bytes.size() - written);
        if (count >= 0)
            written += static_cast<std::size_t>(count);
        else if (errno != EINTR)
            failure = ErrnoText();
    }
    if (::close(descriptor) != 0 && failure.empty()) failure = ErrnoText();
    if (failure.empty() && std::rename(temporary.c_str(), fileName.c_str()) != 0) failure = ErrnoText();
    if (!failure.empty()) {
        ::unlink(temporary.c_str());
        throw EXmlError("XML: cannot write '" + fileName + "': " + failure);
    }
}

XmlNode XmlDocument::DocumentElement() const {
    for (pugi::xml_node child : tree_->document->children())
        if (child.type() == pugi::node_element && !XmlTree::IsHolder(child))
            return XmlNode(tree_, tree_->document, child.internal_object());
    return {};
}

XmlNode XmlDocument::CreateElement(std::string_view name, CodePage codePage) {
    const std::string utf8 = detail::CodePageToUtf8(name, codePage);
    if (!detail::IsXmlName(utf8)) throw EXmlError("XML: '" + AnsiString(name) + "' is no element name");
    const pugi::xml_node element = XmlTree::HolderFor(*tree_->document).append_child(utf8.c_str());
    return XmlNode(tree_, tree_->document, element.internal_object());
}

XmlNode XmlDocument::CreateTextNode(std::string_view text, CodePage codePage) {
    pugi::xml_node node = XmlTree::HolderFor(*tree_->document).append_child(pugi::node_pcdata);
    node.set_value(detail::CodePageToUtf8(text, codePage).c_str());
    return XmlNode(tree_, tree_->document, node.internal_object());
}

} // namespace qmx::platform
