#pragma once
#include "qmx/Exception.h"

namespace qmx::platform {

// An error of the database layer: the engine refused a statement, the connection string names
// no usable engine or file, the SQL uses a construct the dialect does not support, a field or
// parameter is unknown. The message names the cause and, for statements, the SQL text.
class EDatabaseError : public Exception {
public:
    explicit EDatabaseError(AnsiString message, int errorCode = 0)
        : Exception(std::move(message)), errorCode_(errorCode) {}
    // The engine's result code (SQLite's primary code: 5 busy, 19 constraint...); 0 for errors
    // found by this layer.
    int ErrorCode() const noexcept { return errorCode_; }

private:
    int errorCode_;
};

} // namespace qmx::platform
