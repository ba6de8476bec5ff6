#pragma once
// TSet<E>: a set of the values of a small enumeration (at most 64 values), as the original
// toolkit's set types ([ssShift, ssCtrl], [akLeft, akTop]). Its bits are what the RTTI reads and
// writes as the ordinal value of a set property.
#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace qmx {

template <class E>
class TSet {
    static_assert(std::is_enum_v<E>, "TSet is a set of enumeration values");

public:
    constexpr TSet() noexcept = default;
    constexpr TSet(std::initializer_list<E> values) noexcept {
        for (E v : values) bits_ |= Bit(v);
    }
    static constexpr TSet FromBits(std::uint64_t bits) noexcept {
        TSet s;
        s.bits_ = bits;
        return s;
    }

    constexpr std::uint64_t Bits() const noexcept { return bits_; }
    constexpr bool Contains(E v) const noexcept { return (bits_ & Bit(v)) != 0; }
    constexpr bool Empty() const noexcept { return bits_ == 0; }
    constexpr TSet& Include(E v) noexcept {
        bits_ |= Bit(v);
        return *this;
    }
    constexpr TSet& Exclude(E v) noexcept {
        bits_ &= ~Bit(v);
        return *this;
    }

    friend constexpr TSet operator+(TSet a, TSet b) noexcept { return FromBits(a.bits_ | b.bits_); }
    friend constexpr TSet operator-(TSet a, TSet b) noexcept { return FromBits(a.bits_ & ~b.bits_); }
    friend constexpr TSet operator*(TSet a, TSet b) noexcept { return FromBits(a.bits_ & b.bits_); }
    friend constexpr TSet operator+(TSet a, E v) noexcept { return a.Include(v); }
    friend constexpr TSet operator-(TSet a, E v) noexcept { return a.Exclude(v); }
    TSet& operator+=(TSet other) noexcept { return *this = *this + other; }
    TSet& operator-=(TSet other) noexcept { return *this = *this - other; }
    TSet& operator+=(E v) noexcept { return Include(v); }
    TSet& operator-=(E v) noexcept { return Exclude(v); }
    friend constexpr bool operator==(TSet a, TSet b) noexcept = default;

private:
    static constexpr std::uint64_t Bit(E v) noexcept {
        return std::uint64_t{1} << static_cast<unsigned>(v);
    }
    std::uint64_t bits_ = 0;
};

} // namespace qmx
