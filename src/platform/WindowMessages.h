#pragma once
// The window-message codes of the platform layer. They keep the Win32
// numbering the game was designed around: WMMessage carries these codes
// and the input system reads them. The key codes and pad bits they carry
// are the engine's (engine/InputCodes.h). The platform edge translates
// SDL's events into them; nothing above the edge sees anything else.
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

#include "engine/InputCodes.h"

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

} // namespace Flurr
