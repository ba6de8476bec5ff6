#include "XmlTree.h"

#include <cstring>

namespace qmx::platform::detail {
namespace {

// A control character: no XML text and no name CreateElement accepts can contain it.
constexpr const char* kHolderName = "\x01qmx-detached";

} // namespace

pugi::xml_node XmlTree::HolderFor(pugi::xml_node node) {
    pugi::xml_node root = node.root();
    for (pugi::xml_node child : root.children())
        if (IsHolder(child)) return child;
    return root.append_child(kHolderName);
}

bool XmlTree::IsHolder(pugi::xml_node node) {
    return node.type() == pugi::node_element && node.parent().type() == pugi::node_document &&
           std::strcmp(node.name(), kHolderName) == 0;
}

bool XmlTree::IsDetached(pugi::xml_node node) {
    for (; node; node = node.parent())
        if (IsHolder(node)) return true;
    return false;
}

bool IsXmlName(std::string_view utf8) {
    if (utf8.empty()) return false;
    const auto isStart = [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
    };
    if (!isStart(static_cast<unsigned char>(utf8[0]))) return false;
    for (char ch : utf8.substr(1)) {
        const auto c = static_cast<unsigned char>(ch);
        if (!isStart(c) && !(c >= '0' && c <= '9') && c != '.' && c != '-') return false;
    }
    return true;
}

std::string PrintRaw(pugi::xml_node node) {
    struct StringWriter : pugi::xml_writer {
        std::string text;
        void write(const void* data, std::size_t size) override { text.append(static_cast<const char*>(data), size); }
    } writer;
    if (node.type() == pugi::node_document) {
        for (pugi::xml_node child : node.children())
            if (!XmlTree::IsHolder(child)) child.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    } else {
        node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    }
    return std::move(writer.text);
}

} // namespace qmx::platform::detail
