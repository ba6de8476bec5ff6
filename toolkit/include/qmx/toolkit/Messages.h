#pragma once
// Window messages: a control's Perform(msg, wParam, lParam) runs its WindowProc synchronously;
// PostMessage queues the message on the Qt event queue, where it is handled when the
// user-interface thread processes its events (as posted window messages were).
#include <cstdint>

#include "qmx/toolkit/Types.h"

namespace qmx {

struct TMessage {
    Cardinal Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// Standard messages the toolkit understands.
inline constexpr Cardinal WM_NULL = 0x0000;
inline constexpr Cardinal WM_CLOSE = 0x0010;
// Move the focus: wParam 0 = next control, 1 = previous (lParam 0); with lParam 1, wParam is the
// control (TWinControl*) to focus.
inline constexpr Cardinal WM_NEXTDLGCTL = 0x0028;
inline constexpr Cardinal WM_KEYDOWN = 0x0100;
inline constexpr Cardinal WM_KEYUP = 0x0101;
inline constexpr Cardinal WM_CHAR = 0x0102;
inline constexpr Cardinal WM_SYSKEYDOWN = 0x0104;
inline constexpr Cardinal WM_MOUSEMOVE = 0x0200;
inline constexpr Cardinal WM_LBUTTONDOWN = 0x0201;
inline constexpr Cardinal WM_LBUTTONUP = 0x0202;
inline constexpr Cardinal WM_LBUTTONDBLCLK = 0x0203;
inline constexpr Cardinal WM_RBUTTONDOWN = 0x0204;
inline constexpr Cardinal WM_RBUTTONUP = 0x0205;
inline constexpr Cardinal WM_MBUTTONDOWN = 0x0207;
inline constexpr Cardinal WM_MBUTTONUP = 0x0208;
inline constexpr Cardinal WM_USER = 0x0400;

// The toolkit's own control messages.
inline constexpr Cardinal CM_BASE = 0xB000;
inline constexpr Cardinal CM_ACTIVATE = CM_BASE + 0;
inline constexpr Cardinal CM_DEACTIVATE = CM_BASE + 1;
inline constexpr Cardinal CM_DIALOGKEY = CM_BASE + 5;  // wParam key, lParam shift bits; Result 1 = handled
inline constexpr Cardinal CM_FOCUSCHANGED = CM_BASE + 7; // lParam: the newly focused TWinControl*
inline constexpr Cardinal CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr Cardinal CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr Cardinal CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr Cardinal CM_COLORCHANGED = CM_BASE + 13;
inline constexpr Cardinal CM_FONTCHANGED = CM_BASE + 14;
inline constexpr Cardinal CM_VISIBLECHANGED = CM_BASE + 16;
inline constexpr Cardinal CM_ENTER = CM_BASE + 17;
inline constexpr Cardinal CM_EXIT = CM_BASE + 18;
inline constexpr Cardinal CM_TEXTCHANGED = CM_BASE + 24;
inline constexpr Cardinal CM_PARENTSHOWHINTCHANGED = CM_BASE + 28;
inline constexpr Cardinal CM_RELEASE = CM_BASE + 33;
inline constexpr Cardinal CM_SHOWHINTCHANGED = CM_BASE + 34;

// Virtual-key codes.
inline constexpr Word VK_BACK = 0x08;
inline constexpr Word VK_TAB = 0x09;
inline constexpr Word VK_RETURN = 0x0D;
inline constexpr Word VK_SHIFT = 0x10;
inline constexpr Word VK_CONTROL = 0x11;
inline constexpr Word VK_MENU = 0x12;
inline constexpr Word VK_PAUSE = 0x13;
inline constexpr Word VK_CAPITAL = 0x14;
inline constexpr Word VK_ESCAPE = 0x1B;
inline constexpr Word VK_SPACE = 0x20;
inline constexpr Word VK_PRIOR = 0x21;
inline constexpr Word VK_NEXT = 0x22;
inline constexpr Word VK_END = 0x23;
inline constexpr Word VK_HOME = 0x24;
inline constexpr Word VK_LEFT = 0x25;
inline constexpr Word VK_UP = 0x26;
inline constexpr Word VK_RIGHT = 0x27;
inline constexpr Word VK_DOWN = 0x28;
inline constexpr Word VK_INSERT = 0x2D;
inline constexpr Word VK_DELETE = 0x2E;
inline constexpr Word VK_NUMPAD0 = 0x60;
inline constexpr Word VK_MULTIPLY = 0x6A;
inline constexpr Word VK_ADD = 0x6B;
inline constexpr Word VK_SUBTRACT = 0x6D;
inline constexpr Word VK_DECIMAL = 0x6E;
inline constexpr Word VK_DIVIDE = 0x6F;
inline constexpr Word VK_F1 = 0x70;
inline constexpr Word VK_F2 = 0x71;
inline constexpr Word VK_F3 = 0x72;
inline constexpr Word VK_F4 = 0x73;
inline constexpr Word VK_F5 = 0x74;
inline constexpr Word VK_F6 = 0x75;
inline constexpr Word VK_F7 = 0x76;
inline constexpr Word VK_F8 = 0x77;
inline constexpr Word VK_F9 = 0x78;
inline constexpr Word VK_F10 = 0x79;
inline constexpr Word VK_F11 = 0x7A;
inline constexpr Word VK_F12 = 0x7B;

// Shift state <-> the bits carried in message parameters.
inline LPARAM ShiftStateToBits(TShiftState shift) { return static_cast<LPARAM>(shift.Bits()); }
inline TShiftState BitsToShiftState(LPARAM bits) {
    return TShiftState::FromBits(static_cast<std::uint64_t>(bits));
}

class TControl;
class TWinControl;

// Queues a message for the control; it is dropped if the control is freed before the queue runs.
void PostMessage(TControl* control, Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);
// The same for a native window handle (see TWinControl::Handle); false for an unknown handle.
bool PostMessage(HWND handle, Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Perform on the control that owns the handle; 0 for an unknown handle.
LRESULT SendMessage(HWND handle, Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);

} // namespace qmx
