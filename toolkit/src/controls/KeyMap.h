#pragma once
// Private: Qt keys and modifiers -> the toolkit's virtual-key codes and shift states.
#include <Qt>

#include "qmx/toolkit/Types.h"

namespace qmx::detail {

// 0 for keys without a virtual-key code.
Word QtKeyToVirtualKey(int qtKey);
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);

} // namespace qmx::detail
