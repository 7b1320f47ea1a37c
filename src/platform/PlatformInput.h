#pragma once
// The input state of the platform layer: which keys and mouse buttons are
// down, whether the game window has the keyboard focus, and the state of
// pad 0. It stands in for the operating system's "asynchronous key state"
// and "foreground window" that the input system polls.
//
// It changes only through PlatformEvents. The SDL edge turns device events
// into them; a replay reads them from a file. Both go through the window
// system's one dispatch, so pushed test events, replayed input and real
// devices drive the game the same way, and a recording of the events
// delivered is a complete record of the input.
//
// Plain C++: no SDL type appears here.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace Flurr {

// Pad 0 as the controller reports it: sticks -32768..32767 with y up,
// triggers 0..255, buttons as PadButton bits.
struct PadState {
    bool connected = false;
    uint16_t buttons = 0;
    uint8_t leftTrigger = 0;
    uint8_t rightTrigger = 0;
    int16_t thumbLX = 0;
    int16_t thumbLY = 0;
    int16_t thumbRX = 0;
    int16_t thumbRY = 0;

    bool operator==(const PadState&) const = default;
};

struct PlatformEvent {
    enum Kind : int32_t {
        Window, // a window message: code, wParam, lParam (WindowMessages.h)
        Key,    // a virtual key or mouse button went down (value 1) or up (0)
        Focus,  // the game window gained (1) or lost (0) the keyboard focus
        Pad,    // pad 0 changed: connection, buttons, sticks, triggers
    };

    static PlatformEvent WindowMessage(int32_t code, int32_t wParam, int32_t lParam) {
        return {Window, code, wParam, lParam, {}};
    }
    static PlatformEvent KeyState(uint8_t vk, bool down) { return {Key, vk, down ? 1 : 0, 0, {}}; }
    static PlatformEvent FocusState(bool focused) { return {Focus, focused ? 1 : 0, 0, 0, {}}; }
    static PlatformEvent PadChange(const PadState& pad) { return {Pad, 0, 0, 0, pad}; }

    bool operator==(const PlatformEvent&) const = default;

    Kind kind = Window;
    int32_t a = 0; // Window: code; Key: virtual key; Focus: focused
    int32_t b = 0; // Window: wParam; Key: down
    int32_t c = 0; // Window: lParam
    PadState pad;  // Pad only
};

// One line of a recording: "W code wParam lParam", "K vk down", "F focused"
// or "P connected buttons lt rt lx ly rx ry".
std::string EventToText(const PlatformEvent& event);
// Null when the text is not one of those forms or a number is out of range.
std::optional<PlatformEvent> EventFromText(const std::string& text);

class PlatformInput {
public:
    PlatformInput() { keys.fill(false); }

    // Updates the state a Key, Focus or Pad event describes; window
    // messages change nothing here.
    void Apply(const PlatformEvent& event);

    // The asynchronous state: down now.
    bool IsKeyDown(int32_t vk) const { return vk >= 0 && vk < 256 && keys[vk]; }
    bool HasFocus() const { return focused; }
    const PadState& Pad() const { return pad; }

private:
    std::array<bool, 256> keys;
    bool focused = false;
    PadState pad;
};

} // namespace Flurr
