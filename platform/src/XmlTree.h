#pragma once
// The shared state behind XmlDocument and XmlNode handles.
//
// Nodes made by CreateElement or taken out by RemoveChild must stay alive and usable, but pugixml
// has no detached nodes: every node lives in its document's tree, and removing one frees it. So
// such nodes are parked under a holder element at the top level of the same document, whose name
// no XML text can contain; the holder is invisible to every public call (children, parents,
// selections, serialisation). Moving a node in and out of the holder never frees it.
//
// Loading replaces the pugixml document; node handles share ownership of the content they point
// into, so the earlier content lives on while a handle into it does.
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "qmx/Exception.h"

namespace qmx::platform::detail {

struct XmlTree {
    std::shared_ptr<pugi::xml_document> document = std::make_shared<pugi::xml_document>();
    AnsiString parseError;
    AnsiString xpathError;

    // The holder of detached nodes of the content that node belongs to, made when first needed.
    static pugi::xml_node HolderFor(pugi::xml_node node);
    static bool IsHolder(pugi::xml_node node);
    // The node is the holder or inside it.
    static bool IsDetached(pugi::xml_node node);
};

// An XML name (UTF-8): a letter, '_', ':' or a non-ASCII character first, then also digits, '.'
// and '-'.
bool IsXmlName(std::string_view utf8);
// The node as UTF-8 XML without indentation; a document without the holder.
std::string PrintRaw(pugi::xml_node node);

} // namespace qmx::platform::detail
