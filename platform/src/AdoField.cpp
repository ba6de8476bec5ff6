#include "qmx/platform/AdoField.h"

#include "AdoResultSet.h"
#include "SqlDateTime.h"

namespace qmx::platform {

TField::TField(std::shared_ptr<const detail::ResultSet> result, int index)
    : result_(std::move(result)), index_(index) {}

const AnsiString& TField::FieldName() const { return result_->names[static_cast<std::size_t>(index_)]; }

Variant TField::Value() const {
    if (result_->rows.empty()) return Variant::Null();
    return result_->rows[result_->current][static_cast<std::size_t>(index_)];
}

bool TField::IsNull() const { return Value().IsNull(); }

AnsiString TField::AsString() const { return VarToStr(Value()); }

std::int32_t TField::AsInteger() const {
    const Variant value = Value();
    return value.IsNull() ? 0 : value.AsInteger();
}

std::int64_t TField::AsLargeInt() const {
    const Variant value = Value();
    return value.IsNull() ? 0 : value.AsInt64();
}

double TField::AsFloat() const {
    const Variant value = Value();
    return value.IsNull() ? 0.0 : value.AsDouble();
}

bool TField::AsBoolean() const {
    const Variant value = Value();
    return value.IsNull() ? false : value.AsBoolean();
}

double TField::AsDateTime() const {
    const Variant value = Value();
    if (value.IsNull()) return 0.0;
    if (value.IsText()) {
        const AnsiString text = value.AsString();
        if (const auto parsed = detail::ParseSqlDateTime(text)) return detail::ToOleDays(*parsed);
        throw EVariantTypeCastError("Could not convert '" + text + "' of field " + FieldName() + " into a date-time");
    }
    return value.AsDouble();
}

} // namespace qmx::platform
