#pragma once
#include "qmx/Exception.h"

namespace qmx {

// A web-service call that failed: the service could not be reached, answered an error, or its
// answer could not be stored. The message is the web-service library's description.
class EWebServiceError : public Exception {
public:
    using Exception::Exception;
};

} // namespace qmx
