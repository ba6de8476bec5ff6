#pragma once
// The toolkit's error classes, named as in the original toolkit.
#include "qmx/Exception.h"

namespace qmx {

// A published property that does not exist, is read-only, or has another type than asked for.
class EPropertyError : public Exception {
public:
    using Exception::Exception;
};
// "Cannot assign a X to a Y" and bad text for a value.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
// An operation that the object's state does not allow (focusing a hidden control, calling a
// null event, ShowModal on a visible form...).
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};
// Component names: invalid identifier, duplicate name within an owner.
class EComponentError : public Exception {
public:
    using Exception::Exception;
};
// A class name that is not registered.
class EClassNotFound : public Exception {
public:
    using Exception::Exception;
};
// A list index out of range.
class EListError : public Exception {
public:
    using Exception::Exception;
};
// Raised by Abort(): a silent exception that the default handler does not show.
class EAbort : public Exception {
public:
    using Exception::Exception;
};

[[noreturn]] void Abort();

} // namespace qmx
