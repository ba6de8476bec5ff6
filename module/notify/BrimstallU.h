#pragma once
// The bridge to the web-service library CallWebService (loaded by name at run time, kept loaded
// for the rest of the process), and the repair of XML answers before they are parsed.
//
//   AnsiString answer = InvokeWebService(portalWs, "PORTAL.getAllUser", request);
//   platform::XmlDocument document = LoadXmlFixed(answer);
#include <ctime>
#include <string_view>

#include "notify/WebServiceError.h"
#include "notify/XmlHeaderFix.h"

namespace qmx {

// Calls the method of the service at address with the request text and answers the response,
// line by line, every line followed by CR LF. "" when the library or its entry point is missing
// or the service wrote nothing. A failed call raises EWebServiceError with the library's
// description. The answer passes through a temporary file of its own ("~Zantor_<time>_<unique>.tmp"
// in the temporary folder), deleted afterwards in every case.
AnsiString InvokeWebService(std::string_view address, std::string_view method, std::string_view request);

namespace detail {
// InvokeWebService through the library of the given name.
AnsiString InvokeWebServiceThrough(std::string_view libraryName, std::string_view address, std::string_view method,
                                   std::string_view request);
// "~Zantor_" + YYYYMMDDHHNNSSZZZ of the local time.
AnsiString ResponseFileStem(const std::tm& localTime, int milliseconds);
} // namespace detail

} // namespace qmx
