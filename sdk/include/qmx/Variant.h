#pragma once
// Variant: the currency of every interface to the host and the server. It has the automation
// kinds the system uses; arrays have any number of dimensions, each with its own bounds, and are
// values (copying a Variant copies its array). Conversions follow the original toolkit's rules:
// bad text raises EVariantTypeCastError naming the text, Null raises except through VarToStr.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "qmx/Exception.h"

namespace qmx {

class Dispatch;
using DispatchPtr = std::shared_ptr<Dispatch>;
class Variant;
class VariantArray;

enum class VarType : std::uint8_t {
    Empty,     // unassigned
    Null,
    Boolean,
    Integer,   // 32-bit
    Int64,
    Double,
    Date,      // double: days since 1899-12-30, fraction is the time of day
    String,    // AnsiString (code-page bytes)
    OleStr,    // WideString
    Array,
    Dispatch,
};

const char* VarTypeName(VarType type);

struct NullValue {
    bool operator==(const NullValue&) const = default;
};

struct DateValue {
    double Days = 0;
    bool operator==(const DateValue&) const = default;
};

// Deep-copying owner, so that Variant keeps value semantics for its array.
template <class T>
class ValueBox {
public:
    explicit ValueBox(T value) : ptr_(std::make_unique<T>(std::move(value))) {}
    ValueBox(const ValueBox& other) : ptr_(std::make_unique<T>(*other.ptr_)) {}
    ValueBox(ValueBox&&) noexcept = default;
    ValueBox& operator=(const ValueBox& other) {
        if (this != &other) ptr_ = std::make_unique<T>(*other.ptr_);
        return *this;
    }
    ValueBox& operator=(ValueBox&&) noexcept = default;
    T& operator*() { return *ptr_; }
    const T& operator*() const { return *ptr_; }
    T* operator->() { return ptr_.get(); }
    const T* operator->() const { return ptr_.get(); }
    friend bool operator==(const ValueBox& a, const ValueBox& b) { return *a.ptr_ == *b.ptr_; }

private:
    std::unique_ptr<T> ptr_;
};

struct ArrayBound {
    std::int32_t Low = 0;
    std::int32_t High = -1;
    std::int64_t Count() const { return std::int64_t(High) - Low + 1; }
    bool operator==(const ArrayBound&) const = default;
};

class Variant {
public:
    Variant() = default;
    Variant(bool value) : value_(value) {}
    Variant(std::int32_t value) : value_(value) {}
    Variant(std::int64_t value) : value_(value) {}
    Variant(double value) : value_(value) {}
    Variant(const char* value) : value_(AnsiString(value)) {}
    Variant(AnsiString value) : value_(std::move(value)) {}
    Variant(std::string_view value) : value_(AnsiString(value)) {}
    Variant(const char16_t* value) : value_(WideString(value)) {}
    Variant(WideString value) : value_(std::move(value)) {}
    Variant(VariantArray value);
    Variant(DispatchPtr value);
    Variant(NullValue) : value_(NullValue{}) {}
    Variant(DateValue value) : value_(value) {}
    // Other pointers would silently become Booleans.
    template <class T>
    Variant(T*) = delete;

    static Variant Null() { return Variant(NullValue{}); }
    static Variant FromDate(double days) { return Variant(DateValue{days}); }

    VarType Type() const { return static_cast<VarType>(value_.index()); }
    bool IsEmpty() const { return Type() == VarType::Empty; }
    bool IsNull() const { return Type() == VarType::Null; }
    bool IsArray() const { return Type() == VarType::Array; }
    bool IsDispatch() const { return Type() == VarType::Dispatch; }
    bool IsText() const { return Type() == VarType::String || Type() == VarType::OleStr; }
    bool IsNumeric() const;

    // Conversions; each raises EVariantTypeCastError (EVariantOverflowError for a value out of
    // range) when the value cannot be read as the type asked for.
    bool AsBoolean() const;
    std::int32_t AsInteger() const;
    std::int64_t AsInt64() const;
    double AsDouble() const;
    double AsDate() const;
    AnsiString AsString() const;   // WideString is converted through the system ANSI code page
    WideString AsWideString() const;
    DispatchPtr AsDispatch() const; // Empty gives null

    // The array; raises EVariantTypeCastError when the Variant holds none.
    VariantArray& AsArray();
    const VariantArray& AsArray() const;
    // Element of a one-dimensional array by index within its bounds.
    Variant& operator[](std::int32_t index);
    const Variant& operator[](std::int32_t index) const;

    // Exact equality: same kind and same value (arrays element by element, objects by identity).
    bool operator==(const Variant& other) const;

private:
    std::variant<std::monostate, NullValue, bool, std::int32_t, std::int64_t, double, DateValue,
                 AnsiString, WideString, ValueBox<VariantArray>, DispatchPtr>
        value_;

    [[noreturn]] void CastError(VarType target) const;
    friend class VariantAccess;
};

class VariantArray {
public:
    VariantArray() = default;
    explicit VariantArray(std::vector<ArrayBound> bounds);

    int DimCount() const { return static_cast<int>(bounds_.size()); }
    // dim counts from 1, as VarArrayLowBound does; a dimension out of range raises.
    std::int32_t LowBound(int dim = 1) const;
    std::int32_t HighBound(int dim = 1) const;
    const std::vector<ArrayBound>& Bounds() const { return bounds_; }
    std::size_t ElementCount() const { return elements_.size(); }

    Variant& operator[](std::int32_t index);
    const Variant& operator[](std::int32_t index) const;
    Variant& At(std::span<const std::int32_t> indices);
    const Variant& At(std::span<const std::int32_t> indices) const;
    Variant& At(std::initializer_list<std::int32_t> indices) { return At(std::span(indices.begin(), indices.size())); }
    const Variant& At(std::initializer_list<std::int32_t> indices) const {
        return At(std::span(indices.begin(), indices.size()));
    }

    // Changes the high bound of the last dimension, keeping the elements that remain in bounds.
    void Redim(std::int32_t newHigh);

    // Elements in storage order: the last index varies fastest.
    std::vector<Variant>& Elements() { return elements_; }
    const std::vector<Variant>& Elements() const { return elements_; }

    bool operator==(const VariantArray& other) const;

private:
    std::size_t Offset(std::span<const std::int32_t> indices) const;
    std::vector<ArrayBound> bounds_;
    std::vector<Variant> elements_;
};

// The original toolkit's helpers.
Variant VarArrayCreate(std::initializer_list<ArrayBound> bounds);
Variant VarArrayOf(std::initializer_list<Variant> values); // bounds 0..n-1
Variant VarArrayOf(std::vector<Variant> values);
bool VarIsArray(const Variant& value);
bool VarIsNull(const Variant& value);
bool VarIsEmpty(const Variant& value);
int VarArrayDimCount(const Variant& value);   // 0 for a non-array
std::int32_t VarArrayLowBound(const Variant& value, int dim);
std::int32_t VarArrayHighBound(const Variant& value, int dim);
// Text of a value, with Null and Empty read as an empty text.
AnsiString VarToStr(const Variant& value);
WideString VarToWideStr(const Variant& value);

// Text <-> number and date with the toolkit's rules ('.' as decimal separator).
AnsiString FloatToStr(double value);
AnsiString DateToStr(double days);

} // namespace qmx
