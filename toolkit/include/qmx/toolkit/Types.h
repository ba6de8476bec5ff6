#pragma once
// Small value types shared by the toolkit's interfaces.
#include <cstdint>

#include "qmx/Exception.h"
#include "qmx/toolkit/EnumType.h"
#include "qmx/toolkit/Set.h"

namespace qmx {

using Byte = std::uint8_t;
using Word = std::uint16_t;
using Cardinal = std::uint32_t;
// Message parameters and results, wide enough for a pointer.
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
// A native window identifier (0 when none).
using HWND = std::uintptr_t;

enum TShiftStateElem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
QMX_ENUM(TShiftStateElem, "ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble")
using TShiftState = TSet<TShiftStateElem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
QMX_ENUM(TMouseButton, "mbLeft", "mbRight", "mbMiddle")

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

} // namespace qmx
