#pragma once
#include <exception>
#include <string>

namespace qmx {

// Texts of the system are bytes in a code page (see CodePage.h), not UTF-8.
using AnsiString = std::string;
using WideString = std::u16string;

// Root of the system's errors. The message is an AnsiString in the interface code page and may be
// changed by a handler that adds context before raising it on.
class Exception : public std::exception {
public:
    explicit Exception(AnsiString message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const AnsiString& Message() const noexcept { return message_; }
    void SetMessage(AnsiString message) { message_ = std::move(message); }

private:
    AnsiString message_;
};

// Variant errors: a value that cannot be read as the type asked for, an index outside the bounds.
class EVariantError : public Exception {
public:
    using Exception::Exception;
};
class EVariantTypeCastError : public EVariantError {
public:
    using EVariantError::EVariantError;
};
class EVariantBadIndexError : public EVariantError {
public:
    using EVariantError::EVariantError;
};
class EVariantOverflowError : public EVariantError {
public:
    using EVariantError::EVariantError;
};

// Late-bound automation errors: unknown member, wrong arguments, a class that cannot be created,
// or an error raised by the called object itself.
class EOleError : public Exception {
public:
    using Exception::Exception;
};

} // namespace qmx
