#pragma once
// The engine's own window-message and key codes. They keep the Win32
// numbering the game was designed around: WMMessage carries these codes,
// the input system reads them, and the player controller and the editor
// name keys by their virtual-key code. The platform edge translates SDL's
// events into them; nothing above the edge sees anything else.
//
// Packing, as in Win32:
//   keys:   wParam = virtual-key code; lParam = repeat count 1 (bits 0-15),
//           extended-key flag (bit 24), previous state down (bit 30),
//           released (bit 31). The scan-code bits (16-23) stay 0.
//   mouse:  wParam = the Mk flags held; lParam = client x in the low word,
//           client y in the high word (signed 16 bits each).
//   wheel:  wParam high word = delta (+120 per notch away from the user),
//           low word = the Mk flags; lParam = client position as above.
//   char:   wParam = the character (0-255).

#include <cstdint>

namespace Flurr {

namespace WM {
inline constexpr int32_t Close = 0x10;
inline constexpr int32_t Quit = 0x12;
inline constexpr int32_t KeyDown = 0x100;
inline constexpr int32_t KeyUp = 0x101;
inline constexpr int32_t Char = 0x102;
inline constexpr int32_t MouseMove = 0x200;
inline constexpr int32_t LButtonDown = 0x201;
inline constexpr int32_t LButtonUp = 0x202;
inline constexpr int32_t LButtonDblClk = 0x203;
inline constexpr int32_t RButtonDown = 0x204;
inline constexpr int32_t RButtonUp = 0x205;
inline constexpr int32_t RButtonDblClk = 0x206;
inline constexpr int32_t MButtonDown = 0x207;
inline constexpr int32_t MButtonUp = 0x208;
inline constexpr int32_t MButtonDblClk = 0x209;
inline constexpr int32_t MouseWheel = 0x20A;
} // namespace WM

// Flags of the mouse messages' wParam: what was held at the time.
namespace Mk {
inline constexpr int32_t LButton = 0x01;
inline constexpr int32_t RButton = 0x02;
inline constexpr int32_t Shift = 0x04;
inline constexpr int32_t Control = 0x08;
inline constexpr int32_t MButton = 0x10;
} // namespace Mk

// One notch of the wheel.
inline constexpr int32_t kWheelDelta = 120;

inline int32_t PackPoint(int32_t x, int32_t y) {
    return static_cast<int32_t>((static_cast<uint32_t>(y & 0xFFFF) << 16) |
                                static_cast<uint32_t>(x & 0xFFFF));
}
inline int16_t LowWord(int32_t value) {
    return static_cast<int16_t>(static_cast<uint32_t>(value) & 0xFFFF);
}
inline int16_t HighWord(int32_t value) {
    return static_cast<int16_t>((static_cast<uint32_t>(value) >> 16) & 0xFFFF);
}

// Virtual-key codes (0-255). Letters and digits are their ASCII capitals.
namespace VK {
inline constexpr uint8_t LButton = 0x01;
inline constexpr uint8_t RButton = 0x02;
inline constexpr uint8_t MButton = 0x04;
inline constexpr uint8_t Back = 0x08;
inline constexpr uint8_t Tab = 0x09;
inline constexpr uint8_t Return = 0x0D;
inline constexpr uint8_t Shift = 0x10;
inline constexpr uint8_t Control = 0x11;
inline constexpr uint8_t Menu = 0x12; // Alt
inline constexpr uint8_t Pause = 0x13;
inline constexpr uint8_t Capital = 0x14;
inline constexpr uint8_t Escape = 0x1B;
inline constexpr uint8_t Space = 0x20;
inline constexpr uint8_t Prior = 0x21; // Page Up
inline constexpr uint8_t Next = 0x22;  // Page Down
inline constexpr uint8_t End = 0x23;
inline constexpr uint8_t Home = 0x24;
inline constexpr uint8_t Left = 0x25;
inline constexpr uint8_t Up = 0x26;
inline constexpr uint8_t Right = 0x27;
inline constexpr uint8_t Down = 0x28;
inline constexpr uint8_t Snapshot = 0x2C;
inline constexpr uint8_t Insert = 0x2D;
inline constexpr uint8_t Delete = 0x2E;
inline constexpr uint8_t Digit0 = 0x30; // '0'..'9' follow
inline constexpr uint8_t A = 0x41;      // 'A'..'Z' follow
inline constexpr uint8_t LWin = 0x5B;
inline constexpr uint8_t RWin = 0x5C;
inline constexpr uint8_t Apps = 0x5D;
inline constexpr uint8_t Numpad0 = 0x60; // Numpad0..Numpad9 follow
inline constexpr uint8_t Multiply = 0x6A;
inline constexpr uint8_t Add = 0x6B;
inline constexpr uint8_t Subtract = 0x6D;
inline constexpr uint8_t Decimal = 0x6E;
inline constexpr uint8_t Divide = 0x6F;
inline constexpr uint8_t F1 = 0x70; // F1..F12 follow
inline constexpr uint8_t F11 = 0x7A;
inline constexpr uint8_t F12 = 0x7B;
inline constexpr uint8_t NumLock = 0x90;
inline constexpr uint8_t Scroll = 0x91;
inline constexpr uint8_t LShift = 0xA0;
inline constexpr uint8_t RShift = 0xA1;
inline constexpr uint8_t LControl = 0xA2;
inline constexpr uint8_t RControl = 0xA3;
inline constexpr uint8_t LMenu = 0xA4;
inline constexpr uint8_t RMenu = 0xA5;
inline constexpr uint8_t Oem1 = 0xBA; // ;:
inline constexpr uint8_t OemPlus = 0xBB;
inline constexpr uint8_t OemComma = 0xBC;
inline constexpr uint8_t OemMinus = 0xBD;
inline constexpr uint8_t OemPeriod = 0xBE;
inline constexpr uint8_t Oem2 = 0xBF; // /?
inline constexpr uint8_t Oem3 = 0xC0; // `~
inline constexpr uint8_t Oem4 = 0xDB; // [{
inline constexpr uint8_t Oem5 = 0xDC; // backslash |
inline constexpr uint8_t Oem6 = 0xDD; // ]}
inline constexpr uint8_t Oem7 = 0xDE; // '"
} // namespace VK

// Pad button bits, as the controller reports them.
namespace PadButton {
inline constexpr uint16_t DPadUp = 0x0001;
inline constexpr uint16_t DPadDown = 0x0002;
inline constexpr uint16_t DPadLeft = 0x0004;
inline constexpr uint16_t DPadRight = 0x0008;
inline constexpr uint16_t Start = 0x0010;
inline constexpr uint16_t Back = 0x0020;
inline constexpr uint16_t LeftThumb = 0x0040;
inline constexpr uint16_t RightThumb = 0x0080;
inline constexpr uint16_t LeftShoulder = 0x0100;
inline constexpr uint16_t RightShoulder = 0x0200;
inline constexpr uint16_t A = 0x1000;
inline constexpr uint16_t B = 0x2000;
inline constexpr uint16_t X = 0x4000;
inline constexpr uint16_t Y = 0x8000;
} // namespace PadButton

} // namespace Flurr
