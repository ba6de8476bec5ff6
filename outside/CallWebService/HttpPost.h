#pragma once
// One HTTP(S) POST over libcurl with the call's time-outs and limits: only http and https, also
// for redirects; TLS peers and host names verified; the answer held in memory up to the limit.
#include <string>
#include <vector>

#include "CallSettings.h"

namespace qmx::callws {

struct HttpAnswer {
    long Status = 0;
    std::string ContentType;
    std::string Body;
};

// Raises CallError: CWS_TRANSPORT_ERROR when no answer arrived (connection, TLS, time-out,
// a refused redirect), CWS_TOO_LARGE when the answer exceeds the limit.
HttpAnswer HttpPost(const std::string& url, const std::string& body, const std::vector<std::string>& headers,
                    const CallSettings& settings);

} // namespace qmx::callws
