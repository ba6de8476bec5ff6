#pragma once
// The SOAP 1.1 envelope of a call and the reading of the answer (see docs/callwebservice.md).
#include <string>
#include <string_view>

namespace qmx::callws {

inline constexpr std::string_view SoapNamespace = "http://schemas.xmlsoap.org/soap/envelope/";
inline constexpr std::string_view ServiceNamespace = "urn:qmx:CallWebService";

// The request envelope (UTF-8): the method and the request text as the text of two elements.
std::string BuildSoapRequest(std::string_view method, std::string_view request);

struct SoapAnswer {
    enum class Kind {
        Result, // Text: the text of the Return element
        Fault,  // Text: the fault's description
        NoEnvelope, // the answer is no SOAP envelope: the caller takes the body as it is
        NoResult,   // an envelope without a Return element; Text says what was found
    };
    Kind What = Kind::NoEnvelope;
    std::string Text;
};

// Reads an answer body (UTF-8). Never raises for bad XML: that is NoEnvelope. Entity declarations
// are not expanded.
SoapAnswer ReadSoapAnswer(std::string_view body);

} // namespace qmx::callws
