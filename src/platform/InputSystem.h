#pragma once
// InputSystem: turns the keyboard, the mouse and pad 0 into the engine's
// input messages.
//
// Driven by the Core once per frame, after the WindowsSystem has pumped
// the frame's window messages to it (WMMessage, id 46, registered in the
// constructor). From the window messages: mouse moves, double clicks, the
// wheel, typed characters and -- only while "LevelEditor" is active --
// mouse buttons. From its update, and only while the game window has the
// keyboard focus: the mouse buttons outside the editor and every key from
// 8 to 255, each giving triggered (down edge), pressed (each later frame
// held) and released (up edge); then pad 0 while it is connected: button
// edges, stick directions with levels 0-2, trigger levels.
//
// It reads the platform layer's PlatformInput for "down now", the focus
// and the pad, and keeps its own last-seen state of every key, so a key
// that goes down and up while the window is in the background produces
// nothing, and one held across a focus change is released when focus
// returns.

#include <array>
#include <cstdint>

#include "engine/GameSystem.h"
#include "platform/PlatformInput.h"

namespace Flurr {

struct InputSystemName {
    static constexpr const char* value = "InputSystem";
};

class InputSystem : public ISystem<InputSystem, InputSystemName> {
public:
    // `platform` (the window system's input state) must outlive this.
    explicit InputSystem(const PlatformInput* platform);

    void SendMessage(Message* message) override;
    void Update(float dt) override;

    // Deflection levels, as the pad rules define them. Public for tests
    // and for anyone who needs the same quantisation.
    static int32_t StickLevel(float magnitude, float deadZone);
    static int32_t RightTriggerLevel(uint8_t value);
    static int32_t LeftTriggerLevel(uint8_t value);

    // Dead zones of the sticks, in stick units (of 32767).
    static constexpr float kLeftDeadZone = 7849.0f;
    static constexpr float kRightDeadZone = 8689.0f;

private:
    enum class Edge { None, Down, Held, Up };
    // The edge scheme for one key or button; updates keyState.
    Edge Poll(int32_t vk);
    void PollPad();
    void WindowMessage(int32_t code, int32_t wParam, int32_t lParam);
    bool EditorActive() const;

    const PlatformInput* platform;
    int16_t mouseX = 0;
    int16_t mouseY = 0;
    float leftDirX = 0.0f, leftDirY = 0.0f;
    float rightDirX = 0.0f, rightDirY = 0.0f;
    int32_t rightLevel = 0, leftLevel = 0;
    int32_t leftTriggerLevel = 0, rightTriggerLevel = 0;
    std::array<bool, 256> keyUp; // the input system's own last-seen state
    uint16_t previousButtons = 0;
};

} // namespace Flurr
