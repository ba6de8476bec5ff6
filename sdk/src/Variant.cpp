#include "qmx/Variant.h"

#include <string>
#include <utility>

#include "qmx/Dispatch.h"

namespace qmx {

const char* VarTypeName(VarType type) {
    switch (type) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Boolean: return "Boolean";
    case VarType::Integer: return "Integer";
    case VarType::Int64: return "Int64";
    case VarType::Double: return "Double";
    case VarType::Date: return "Date";
    case VarType::String: return "String";
    case VarType::OleStr: return "OleStr";
    case VarType::Array: return "Array";
    case VarType::Dispatch: return "Dispatch";
    }
    return "Unknown";
}

Variant::Variant(VariantArray value) : value_(ValueBox<VariantArray>(std::move(value))) {}
Variant::Variant(DispatchPtr value) : value_(std::move(value)) {}

bool Variant::IsNumeric() const {
    switch (Type()) {
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Int64:
    case VarType::Double:
    case VarType::Date: return true;
    default: return false;
    }
}

VariantArray& Variant::AsArray() {
    if (auto* box = std::get_if<ValueBox<VariantArray>>(&value_)) return **box;
    CastError(VarType::Array);
}

const VariantArray& Variant::AsArray() const {
    if (auto* box = std::get_if<ValueBox<VariantArray>>(&value_)) return **box;
    CastError(VarType::Array);
}

Variant& Variant::operator[](std::int32_t index) { return AsArray()[index]; }
const Variant& Variant::operator[](std::int32_t index) const { return AsArray()[index]; }

DispatchPtr Variant::AsDispatch() const {
    if (auto* object = std::get_if<DispatchPtr>(&value_)) return *object;
    if (IsEmpty()) return nullptr;
    CastError(VarType::Dispatch);
}

bool Variant::operator==(const Variant& other) const {
    if (value_.index() != other.value_.index()) return false;
    if (IsArray()) return AsArray() == other.AsArray();
    return value_ == other.value_;
}

// ---- VariantArray ----

VariantArray::VariantArray(std::vector<ArrayBound> bounds) : bounds_(std::move(bounds)) {
    if (bounds_.empty()) throw EVariantError("An array needs at least one dimension");
    std::int64_t count = 1;
    for (const auto& bound : bounds_) {
        if (bound.Count() < 0) throw EVariantError("Array bounds: high bound below low bound minus one");
        count *= bound.Count();
        if (count > (std::int64_t(1) << 31)) throw EVariantError("Array too large");
    }
    elements_.resize(static_cast<std::size_t>(count));
}

std::int32_t VariantArray::LowBound(int dim) const {
    if (dim < 1 || dim > DimCount())
        throw EVariantBadIndexError("Variant array dimension " + std::to_string(dim) + " out of range");
    return bounds_[dim - 1].Low;
}

std::int32_t VariantArray::HighBound(int dim) const {
    if (dim < 1 || dim > DimCount())
        throw EVariantBadIndexError("Variant array dimension " + std::to_string(dim) + " out of range");
    return bounds_[dim - 1].High;
}

std::size_t VariantArray::Offset(std::span<const std::int32_t> indices) const {
    if (indices.size() != bounds_.size())
        throw EVariantBadIndexError("Variant array has " + std::to_string(bounds_.size()) +
                                    " dimensions, indexed with " + std::to_string(indices.size()));
    std::size_t offset = 0;
    for (std::size_t d = 0; d < bounds_.size(); ++d) {
        const auto& bound = bounds_[d];
        if (indices[d] < bound.Low || indices[d] > bound.High)
            throw EVariantBadIndexError("Variant array index " + std::to_string(indices[d]) + " out of bounds [" +
                                        std::to_string(bound.Low) + ".." + std::to_string(bound.High) + "]");
        offset = offset * static_cast<std::size_t>(bound.Count()) + static_cast<std::size_t>(indices[d] - bound.Low);
    }
    return offset;
}

Variant& VariantArray::operator[](std::int32_t index) {
    return const_cast<Variant&>(std::as_const(*this)[index]);
}

const Variant& VariantArray::operator[](std::int32_t index) const {
    // The common case, a one-dimensional array, without the general index walk.
    if (bounds_.size() == 1 && index >= bounds_[0].Low && index <= bounds_[0].High)
        return elements_[static_cast<std::size_t>(std::int64_t(index) - bounds_[0].Low)];
    return elements_[Offset(std::span(&index, 1))];
}
Variant& VariantArray::At(std::span<const std::int32_t> indices) { return elements_[Offset(indices)]; }
const Variant& VariantArray::At(std::span<const std::int32_t> indices) const { return elements_[Offset(indices)]; }

void VariantArray::Redim(std::int32_t newHigh) {
    if (bounds_.empty()) throw EVariantError("Cannot redimension an empty array");
    auto& last = bounds_.back();
    if (std::int64_t(newHigh) - last.Low + 1 < 0) throw EVariantError("Array bounds: high bound below low bound minus one");
    // With the last index varying fastest, each row of the leading dimensions keeps its prefix.
    const std::size_t oldCount = static_cast<std::size_t>(last.Count());
    const std::size_t newCount = static_cast<std::size_t>(std::int64_t(newHigh) - last.Low + 1);
    const std::size_t rows = oldCount ? elements_.size() / oldCount : 1;
    if (bounds_.size() == 1) {
        elements_.resize(newCount);
    } else {
        std::vector<Variant> resized(rows * newCount);
        for (std::size_t r = 0; r < rows; ++r)
            for (std::size_t c = 0; c < std::min(oldCount, newCount); ++c)
                resized[r * newCount + c] = std::move(elements_[r * oldCount + c]);
        elements_ = std::move(resized);
    }
    last.High = newHigh;
}

bool VariantArray::operator==(const VariantArray& other) const {
    return bounds_ == other.bounds_ && elements_ == other.elements_;
}

// ---- helpers ----

Variant VarArrayCreate(std::initializer_list<ArrayBound> bounds) { return Variant(VariantArray(std::vector(bounds))); }

Variant VarArrayOf(std::vector<Variant> values) {
    VariantArray array({ArrayBound{0, static_cast<std::int32_t>(values.size()) - 1}});
    array.Elements() = std::move(values);
    return Variant(std::move(array));
}

Variant VarArrayOf(std::initializer_list<Variant> values) { return VarArrayOf(std::vector<Variant>(values)); }

bool VarIsArray(const Variant& value) { return value.IsArray(); }
bool VarIsNull(const Variant& value) { return value.IsNull(); }
bool VarIsEmpty(const Variant& value) { return value.IsEmpty(); }
int VarArrayDimCount(const Variant& value) { return value.IsArray() ? value.AsArray().DimCount() : 0; }
std::int32_t VarArrayLowBound(const Variant& value, int dim) { return value.AsArray().LowBound(dim); }
std::int32_t VarArrayHighBound(const Variant& value, int dim) { return value.AsArray().HighBound(dim); }

} // namespace qmx
