#pragma once
#include <string>

#include "qmx/Exception.h"

namespace qmx {

// A fault in a form resource or in applying it: the message reads "frmX.qfm(12): expected '='".
class EFormResourceError : public Exception {
public:
    EFormResourceError(AnsiString resourceName, int line, AnsiString reason)
        : Exception(resourceName + "(" + std::to_string(line) + "): " + reason),
          resourceName_(std::move(resourceName)), line_(line), reason_(std::move(reason)) {}

    const AnsiString& ResourceName() const noexcept { return resourceName_; }
    int Line() const noexcept { return line_; }
    const AnsiString& Reason() const noexcept { return reason_; }

private:
    AnsiString resourceName_;
    int line_;
    AnsiString reason_;
};

} // namespace qmx
