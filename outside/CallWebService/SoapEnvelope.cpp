#include "SoapEnvelope.h"

#include <pugixml.hpp>

#include <cstring>

namespace qmx::callws {
namespace {

std::string Escaped(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\r': escaped += "&#13;"; break; // kept through the receiver's line-end normalisation
        default: escaped += c;
        }
    }
    return escaped;
}

// The name without its namespace prefix.
std::string_view LocalName(const pugi::xml_node& node) {
    std::string_view name = node.name();
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool SameAsciiText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

pugi::xml_node ChildByLocalName(const pugi::xml_node& parent, std::string_view name) {
    for (pugi::xml_node child : parent.children())
        if (child.type() == pugi::node_element && SameAsciiText(LocalName(child), name)) return child;
    return {};
}

pugi::xml_node FirstElement(const pugi::xml_node& parent) {
    for (pugi::xml_node child : parent.children())
        if (child.type() == pugi::node_element) return child;
    return {};
}

// The character data of the element's own text and CDATA children, in order.
std::string OwnText(const pugi::xml_node& element) {
    std::string text;
    for (pugi::xml_node child : element.children())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) text += child.value();
    return text;
}

std::string FaultText(const pugi::xml_node& fault) {
    // SOAP 1.1: faultstring; SOAP 1.2: Reason/Text.
    if (pugi::xml_node text = ChildByLocalName(fault, "faultstring")) return OwnText(text);
    if (pugi::xml_node reason = ChildByLocalName(fault, "Reason")) {
        if (pugi::xml_node text = ChildByLocalName(reason, "Text")) return OwnText(text);
        return OwnText(reason);
    }
    if (pugi::xml_node code = ChildByLocalName(fault, "faultcode")) return OwnText(code);
    return "a fault without description";
}

} // namespace

std::string BuildSoapRequest(std::string_view method, std::string_view request) {
    std::string envelope = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    envelope += "<soap:Envelope xmlns:soap=\"" + std::string(SoapNamespace) + "\">";
    envelope += "<soap:Body><ws:Invoke xmlns:ws=\"" + std::string(ServiceNamespace) + "\">";
    envelope += "<ws:Method>" + Escaped(method) + "</ws:Method>";
    envelope += "<ws:Request>" + Escaped(request) + "</ws:Request>";
    envelope += "</ws:Invoke></soap:Body></soap:Envelope>";
    return envelope;
}

SoapAnswer ReadSoapAnswer(std::string_view body) {
    SoapAnswer answer;
    pugi::xml_document document;
    // No DTD is read: entity declarations stay unexpanded, references to them unresolved.
    const pugi::xml_parse_result parsed =
        document.load_buffer(body.data(), body.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) return answer;
    const pugi::xml_node envelope = document.document_element();
    if (!envelope || LocalName(envelope) != "Envelope") return answer;

    const pugi::xml_node soapBody = ChildByLocalName(envelope, "Body");
    const pugi::xml_node content = soapBody ? FirstElement(soapBody) : pugi::xml_node();
    if (!content) {
        answer.What = SoapAnswer::Kind::NoResult;
        answer.Text = "an envelope with an empty body";
        return answer;
    }
    if (LocalName(content) == "Fault") {
        answer.What = SoapAnswer::Kind::Fault;
        answer.Text = FaultText(content);
        return answer;
    }
    if (const pugi::xml_node result = ChildByLocalName(content, "Return")) {
        answer.What = SoapAnswer::Kind::Result;
        answer.Text = OwnText(result);
        return answer;
    }
    answer.What = SoapAnswer::Kind::NoResult;
    answer.Text = "an element '" + std::string(content.name()) + "' without a Return element";
    return answer;
}

} // namespace qmx::callws
