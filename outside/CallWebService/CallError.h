#pragma once
// A failed call, with the status the entry point answers and a description in UTF-8.
#include <stdexcept>
#include <string>

#include "CallWebService/CallWebServiceApi.h"

namespace qmx::callws {

class CallError : public std::runtime_error {
public:
    CallError(CallWebServiceStatus status, const std::string& message) : std::runtime_error(message), status_(status) {}
    CallWebServiceStatus Status() const { return status_; }

private:
    CallWebServiceStatus status_;
};

} // namespace qmx::callws
