#include "notify/LibXml.h"

namespace qmx {

using platform::XmlDocument;
using platform::XmlNode;

XmlDocument NewXmlDocument() { return XmlDocument(); }

XmlDocument LoadXmlText(std::string_view text, CodePage codePage) {
    XmlDocument document = NewXmlDocument();
    document.LoadXML(text, codePage); // a failed parse leaves the document without root element
    return document;
}

XmlNode FindXmlNode(const XmlNode& node, std::string_view path, bool create, CodePage codePage) {
    if (node.IsNull()) return {};
    XmlNode found = node.SelectSingleNode(path, codePage);
    if (!found.IsNull() || !create) return found;
    try {
        XmlDocument owner = node.OwnerDocument();
        XmlNode element = owner.CreateElement(path, codePage);
        XmlNode parent = node; // a handle: the same node, open for change
        return parent.AppendChild(element);
    } catch (const platform::EXmlError&) {
        return {};
    }
}

AnsiString GetXmlAttr(const XmlNode& element, std::string_view name, CodePage codePage) {
    return VarToStr(element.GetAttribute(name, codePage));
}

void SetXmlAttr(XmlNode& element, std::string_view name, std::string_view text, CodePage codePage) {
    element.SetAttribute(name, Variant(text), codePage);
}

} // namespace qmx
