#pragma once
// The platform edge: where SDL's events become the engine's own. One SDL
// event turns into zero or more PlatformEvents -- key and mouse-button
// state changes first, then the window message a Win32 window would have
// received -- and pad 0 (the first game controller, hot-plugged at any
// time) is read once per pump into a PadState.
//
// Only the platform layer includes this header; it is the one place SDL
// and the engine's codes meet.

#include <SDL.h>

#include <array>
#include <bitset>
#include <cstdint>
#include <vector>

#include "platform/PlatformInput.h"

namespace Flurr {

// The virtual-key code of an SDL scancode, or 0 for a key the game does
// not know.
uint8_t VirtualKeyFromScancode(SDL_Scancode scancode);

class SdlEdge {
public:
    // `windowId`: window events of other windows are ignored. `usePads`:
    // false while a replay stands in for the devices.
    SdlEdge(uint32_t windowId, bool usePads);
    ~SdlEdge();
    SdlEdge(const SdlEdge&) = delete;
    SdlEdge& operator=(const SdlEdge&) = delete;

    // Appends what `event` means to the game.
    void Translate(const SDL_Event& event, std::vector<PlatformEvent>& out);
    // Appends a Pad event when pad 0 differs from what was last reported
    // (a connection, a disconnection or any change of its state).
    void PollPad(std::vector<PlatformEvent>& out);

    // Pad 0 as the controller reports it now (disconnected when none).
    PadState ReadPad() const;

private:
    void KeyEvent(const SDL_KeyboardEvent& key, bool down, std::vector<PlatformEvent>& out);
    void MouseButton(const SDL_MouseButtonEvent& button, bool down,
                     std::vector<PlatformEvent>& out);
    void SetVirtualKey(uint8_t vk, bool down, std::vector<PlatformEvent>& out);
    // A key known under two codes (keypad Enter and Enter) is down while
    // any scancode of it is.
    bool AnyScancodeDown(uint8_t vk) const;
    int32_t MkFlags() const;
    void OpenPad(int deviceIndex);
    void OpenFirstPad();

    uint32_t windowId;
    bool usePads;
    std::bitset<SDL_NUM_SCANCODES> scancodesDown;
    std::array<bool, 256> vkDown{};
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    SDL_GameController* pad = nullptr;
    SDL_JoystickID padId = -1;
    PadState reportedPad;
};

} // namespace Flurr
