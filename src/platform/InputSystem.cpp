#include "platform/InputSystem.h"

#include <cmath>

#include "engine/Core.h"
#include "engine/Message.h"
#include "platform/WindowMessages.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

// Stick levels step every 16000 units past the dead zone, up to 30000.
constexpr float kStickLevelStep = 16000.0f;
constexpr float kStickLevelLimit = 30000.0f;

} // namespace

InputSystem::InputSystem(const PlatformInput* platform_) : platform(platform_) {
    keyUp.fill(true);
    if (Core* core = Core::Instance())
        core->RegisterForMessage(this, MessageId::WM);
}

bool InputSystem::EditorActive() const {
    return SpaceManager::Active(Spaces::LevelEditor);
}

int32_t InputSystem::StickLevel(float magnitude, float deadZone) {
    int32_t level = 0;
    for (float t = deadZone; t < kStickLevelLimit; t += kStickLevelStep)
        if (magnitude > t)
            ++level;
    return level;
}

int32_t InputSystem::RightTriggerLevel(uint8_t value) {
    return (value > 30) + (value > 180);
}

int32_t InputSystem::LeftTriggerLevel(uint8_t value) {
    return (value > 30) + (value > 87) + (value > 144) + (value > 201);
}

void InputSystem::SendMessage(Message* message) {
    if (const auto* wm = As<WMMessage>(message))
        WindowMessage(wm->code, wm->wParam, wm->lParam);
}

void InputSystem::WindowMessage(int32_t code, int32_t wParam, int32_t lParam) {
    switch (code) {
    case WM::MouseMove:
        mouseX = LowWord(lParam);
        mouseY = HighWord(lParam);
        Core::Broadcast(MouseMovedMessage(mouseX, mouseY, platform->IsKeyDown(MouseButton::Left)));
        return;
    case WM::LButtonDblClk:
        Core::Broadcast(DoubleClickMessage(mouseX, mouseY, MouseButton::Left));
        return;
    case WM::RButtonDblClk:
        Core::Broadcast(DoubleClickMessage(mouseX, mouseY, MouseButton::Right));
        return;
    case WM::MButtonDblClk:
        Core::Broadcast(DoubleClickMessage(mouseX, mouseY, MouseButton::Middle));
        return;
    case WM::MouseWheel: {
        const int16_t delta = HighWord(wParam);
        if (delta != 0)
            Core::Broadcast(MouseScrolledMessage(delta > 0));
        return;
    }
    case WM::Char:
        Core::Broadcast(CharacterTypedMessage(static_cast<char>(wParam & 0xFF)));
        return;
    default:
        break;
    }
    if (!EditorActive())
        return;
    // In the editor the buttons follow the window messages, so the
    // editor's user interface sees them in order with the moves.
    uint8_t button = 0;
    bool down = false;
    switch (code) {
    case WM::LButtonDown:
        button = MouseButton::Left, down = true;
        break;
    case WM::RButtonDown:
        button = MouseButton::Right, down = true;
        break;
    case WM::MButtonDown:
        button = MouseButton::Middle, down = true;
        break;
    case WM::LButtonUp:
        button = MouseButton::Left;
        break;
    case WM::RButtonUp:
        button = MouseButton::Right;
        break;
    case WM::MButtonUp:
        button = MouseButton::Middle;
        break;
    default:
        return;
    }
    // The buttons' codes 1, 2 and 4 are also their numbers in the messages.
    if (down) {
        if (keyUp[button] && platform->IsKeyDown(button)) {
            keyUp[button] = false;
            Core::Broadcast(MouseClickedMessage(mouseX, mouseY, button));
        } else {
            Core::Broadcast(MousePressedMessage(mouseX, mouseY, button));
        }
    } else {
        Core::Broadcast(MouseReleasedMessage(mouseX, mouseY, button));
        keyUp[button] = true;
    }
}

InputSystem::Edge InputSystem::Poll(int32_t vk) {
    const bool downNow = platform->IsKeyDown(vk);
    if (keyUp[vk]) {
        if (!downNow)
            return Edge::None;
        keyUp[vk] = false;
        return Edge::Down;
    }
    if (downNow)
        return Edge::Held;
    keyUp[vk] = true;
    return Edge::Up;
}

void InputSystem::Update(float) {
    // Nothing is polled while another window is in front; keys keep their
    // last state until focus returns.
    if (!platform->HasFocus())
        return;
    if (!EditorActive()) {
        for (uint8_t button : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
            switch (Poll(button)) {
            case Edge::Down:
                Core::Broadcast(MouseClickedMessage(mouseX, mouseY, button));
                break;
            case Edge::Held:
                Core::Broadcast(MousePressedMessage(mouseX, mouseY, button));
                break;
            case Edge::Up:
                Core::Broadcast(MouseReleasedMessage(mouseX, mouseY, button));
                break;
            case Edge::None:
                break;
            }
        }
    }
    for (int32_t vk = 8; vk < 256; ++vk) {
        const auto key = static_cast<uint8_t>(vk);
        switch (Poll(vk)) {
        case Edge::Down:
            Core::Broadcast(KeyTriggeredMessage(key));
            break;
        case Edge::Held:
            Core::Broadcast(KeyPressedMessage(key));
            break;
        case Edge::Up:
            Core::Broadcast(KeyReleasedMessage(key));
            break;
        case Edge::None:
            break;
        }
    }
    if (platform->Pad().connected)
        PollPad();
}

void InputSystem::PollPad() {
    const PadState& pad = platform->Pad();
    for (int bit = 0; bit < 16; ++bit) {
        const auto mask = static_cast<uint16_t>(1u << bit);
        const bool now = (pad.buttons & mask) != 0;
        const bool before = (previousButtons & mask) != 0;
        if (now && !before)
            Core::Broadcast(XboxTriggeredMessage(mask));
        else if (now && before)
            Core::Broadcast(XboxPressedMessage(mask));
        else if (!now && before)
            Core::Broadcast(XboxReleasedMessage(mask));
    }
    previousButtons = pad.buttons;

    // A stick resting exactly at the centre has no direction: (0, 0)
    // instead of dividing by a zero length.
    const auto stick = [](int16_t x, int16_t y, float deadZone, float& dirX, float& dirY,
                          int32_t& level) {
        const double m = std::sqrt(double(x) * x + double(y) * y);
        const float nx = m > 0.0 ? float(x / m) : 0.0f;
        const float ny = m > 0.0 ? float(y / m) : 0.0f;
        level = StickLevel(float(m), deadZone);
        const bool changed = nx != dirX || ny != dirY;
        dirX = nx;
        dirY = ny;
        return changed;
    };
    if (stick(pad.thumbLX, pad.thumbLY, kLeftDeadZone, leftDirX, leftDirY, leftLevel))
        Core::Broadcast(XboxLThumbMoved(leftDirX, leftDirY, leftLevel));
    if (stick(pad.thumbRX, pad.thumbRY, kRightDeadZone, rightDirX, rightDirY, rightLevel))
        Core::Broadcast(XboxRThumbMoved(rightDirX, rightDirY, rightLevel));

    const int32_t right = RightTriggerLevel(pad.rightTrigger);
    const int32_t left = LeftTriggerLevel(pad.leftTrigger);
    if (right != rightTriggerLevel || left != leftTriggerLevel) {
        rightTriggerLevel = right;
        leftTriggerLevel = left;
        Core::Broadcast(XboxTriggerMoved(rightTriggerLevel, leftTriggerLevel));
    }
}

} // namespace Flurr
