#pragma once
// A field of a query's result: a handle to one column that reads the query's current row. The
// handle stays valid after the query moves, closes or opens again (it then keeps reading the
// result it was taken from).
//
// Values: SQL NULL is Null; integers are Integer, or Int64 beyond 32 bits; reals Double; texts
// AnsiString in the connection's Charset; blobs AnsiString with their bytes. With no current
// row (an empty result) the value is Null.
#include <cstdint>
#include <memory>

#include "qmx/Variant.h"

namespace qmx::platform {

namespace detail {
struct ResultSet;
}

class TField {
public:
    const AnsiString& FieldName() const;
    Variant Value() const;
    bool IsNull() const;

    // As the original toolkit's fields: Null reads as "", 0 or False; a text that is no number
    // raises EVariantTypeCastError.
    AnsiString AsString() const;
    std::int32_t AsInteger() const;
    std::int64_t AsLargeInt() const;
    double AsFloat() const;
    bool AsBoolean() const;
    // Days since 1899-12-30. A text is read as a date-time "YYYY-MM-DD[ HH:MM[:SS[.ZZZ]]]" (also
    // with '/' or '.' separators, or YYYYMMDD), as GETDATE() gives it; a number is taken as days.
    // Other texts raise EVariantTypeCastError.
    double AsDateTime() const;

private:
    friend class TQmADOQuery;
    TField(std::shared_ptr<const detail::ResultSet> result, int index);

    std::shared_ptr<const detail::ResultSet> result_;
    int index_;
};

} // namespace qmx::platform
