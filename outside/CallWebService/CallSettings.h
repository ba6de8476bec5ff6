#pragma once
// Time-outs and limits of a call. The defaults suit a service on the company network; each can
// be changed through an environment variable of the process (a value that is not a whole number
// in range keeps the default):
//
//   QMX_CALLWS_CONNECT_TIMEOUT   seconds to establish the connection (TLS included)   10  (1..600)
//   QMX_CALLWS_LOW_SPEED_TIME    seconds without a byte moving before giving up       30  (1..600)
//   QMX_CALLWS_TIMEOUT           seconds for the whole call, redirects included       120 (1..3600)
//   QMX_CALLWS_MAX_RESPONSE      bytes of answer accepted (after decompression)       524288
//                                                                                     (1024..67108864)
#include <cstddef>

namespace qmx::callws {

struct CallSettings {
    long ConnectTimeoutSeconds = 10;
    long LowSpeedTimeSeconds = 30;
    long TotalTimeoutSeconds = 120;
    std::size_t MaxResponseBytes = 512 * 1024;
    long MaxRedirects = 5;
};

CallSettings CallSettingsFromEnvironment();

} // namespace qmx::callws
