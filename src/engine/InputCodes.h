#pragma once
// The engine's own input codes, one definition each: the key codes the
// key messages carry, the mouse buttons of the mouse messages and the pad
// button bits of the pad messages. They keep the numbering the game was
// designed around (Win32 virtual keys, XInput button bits); the platform
// edge translates SDL's keys and buttons into them, and nothing above the
// edge names a key by its number. Which key does what in play is decided
// by the action table (InputActions.h), not here.

#include <cstdint>

namespace Flurr {

// Mouse buttons, as the click, press, release and double-click messages
// carry them. They are also the key codes the input system polls the
// buttons under, so key code 3 is never a button.
namespace MouseButton {
inline constexpr uint8_t Left = 0x01;
inline constexpr uint8_t Right = 0x02;
inline constexpr uint8_t Middle = 0x04;
} // namespace MouseButton

// Key codes (8-255), virtual-key numbering. Letters and digits are their
// ASCII capitals; Shift, Control and Menu (Alt) are either side.
namespace KeyCode {
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
inline constexpr uint8_t Digit0 = 0x30; // '1'..'9' follow
inline constexpr uint8_t A = 0x41;
inline constexpr uint8_t B = 0x42;
inline constexpr uint8_t C = 0x43;
inline constexpr uint8_t D = 0x44;
inline constexpr uint8_t E = 0x45;
inline constexpr uint8_t F = 0x46;
inline constexpr uint8_t G = 0x47;
inline constexpr uint8_t H = 0x48;
inline constexpr uint8_t I = 0x49;
inline constexpr uint8_t J = 0x4A;
inline constexpr uint8_t K = 0x4B;
inline constexpr uint8_t L = 0x4C;
inline constexpr uint8_t M = 0x4D;
inline constexpr uint8_t N = 0x4E;
inline constexpr uint8_t O = 0x4F;
inline constexpr uint8_t P = 0x50;
inline constexpr uint8_t Q = 0x51;
inline constexpr uint8_t R = 0x52;
inline constexpr uint8_t S = 0x53;
inline constexpr uint8_t T = 0x54;
inline constexpr uint8_t U = 0x55;
inline constexpr uint8_t V = 0x56;
inline constexpr uint8_t W = 0x57;
inline constexpr uint8_t X = 0x58;
inline constexpr uint8_t Y = 0x59;
inline constexpr uint8_t Z = 0x5A;
inline constexpr uint8_t LWin = 0x5B;
inline constexpr uint8_t RWin = 0x5C;
inline constexpr uint8_t Apps = 0x5D;
inline constexpr uint8_t Numpad0 = 0x60; // Numpad1..Numpad9 follow
inline constexpr uint8_t Multiply = 0x6A;
inline constexpr uint8_t Add = 0x6B;
inline constexpr uint8_t Subtract = 0x6D;
inline constexpr uint8_t Decimal = 0x6E;
inline constexpr uint8_t Divide = 0x6F;
inline constexpr uint8_t F1 = 0x70; // F1 to F12 run on from here
inline constexpr uint8_t F2 = 0x71;
inline constexpr uint8_t F3 = 0x72;
inline constexpr uint8_t F4 = 0x73;
inline constexpr uint8_t F5 = 0x74;
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
} // namespace KeyCode

// Pad button bits (XInput numbering); each pad message carries one.
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
