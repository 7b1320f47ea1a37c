#include "platform/SdlEdge.h"

#include <algorithm>

#include "platform/WindowMessages.h"

namespace Flurr {

uint8_t VirtualKeyFromScancode(SDL_Scancode s) {
    if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z)
        return uint8_t(KeyCode::A + (s - SDL_SCANCODE_A));
    // SDL orders the digit row 1..9, 0.
    if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9)
        return uint8_t(KeyCode::Digit0 + 1 + (s - SDL_SCANCODE_1));
    if (s == SDL_SCANCODE_0)
        return KeyCode::Digit0;
    if (s >= SDL_SCANCODE_F1 && s <= SDL_SCANCODE_F12)
        return uint8_t(KeyCode::F1 + (s - SDL_SCANCODE_F1));
    // The keypad digits: SDL orders them 1..9, 0 as well.
    if (s >= SDL_SCANCODE_KP_1 && s <= SDL_SCANCODE_KP_9)
        return uint8_t(KeyCode::Numpad0 + 1 + (s - SDL_SCANCODE_KP_1));
    switch (s) {
    case SDL_SCANCODE_KP_0:
        return KeyCode::Numpad0;
    case SDL_SCANCODE_KP_PERIOD:
        return KeyCode::Decimal;
    case SDL_SCANCODE_KP_MULTIPLY:
        return KeyCode::Multiply;
    case SDL_SCANCODE_KP_PLUS:
        return KeyCode::Add;
    case SDL_SCANCODE_KP_MINUS:
        return KeyCode::Subtract;
    case SDL_SCANCODE_KP_DIVIDE:
        return KeyCode::Divide;
    case SDL_SCANCODE_KP_ENTER:
        return KeyCode::Return;
    case SDL_SCANCODE_NUMLOCKCLEAR:
        return KeyCode::NumLock;
    case SDL_SCANCODE_RETURN:
        return KeyCode::Return;
    case SDL_SCANCODE_ESCAPE:
        return KeyCode::Escape;
    case SDL_SCANCODE_BACKSPACE:
        return KeyCode::Back;
    case SDL_SCANCODE_TAB:
        return KeyCode::Tab;
    case SDL_SCANCODE_SPACE:
        return KeyCode::Space;
    case SDL_SCANCODE_LEFT:
        return KeyCode::Left;
    case SDL_SCANCODE_RIGHT:
        return KeyCode::Right;
    case SDL_SCANCODE_UP:
        return KeyCode::Up;
    case SDL_SCANCODE_DOWN:
        return KeyCode::Down;
    case SDL_SCANCODE_INSERT:
        return KeyCode::Insert;
    case SDL_SCANCODE_DELETE:
        return KeyCode::Delete;
    case SDL_SCANCODE_HOME:
        return KeyCode::Home;
    case SDL_SCANCODE_END:
        return KeyCode::End;
    case SDL_SCANCODE_PAGEUP:
        return KeyCode::Prior;
    case SDL_SCANCODE_PAGEDOWN:
        return KeyCode::Next;
    case SDL_SCANCODE_LSHIFT:
        return KeyCode::LShift;
    case SDL_SCANCODE_RSHIFT:
        return KeyCode::RShift;
    case SDL_SCANCODE_LCTRL:
        return KeyCode::LControl;
    case SDL_SCANCODE_RCTRL:
        return KeyCode::RControl;
    case SDL_SCANCODE_LALT:
        return KeyCode::LMenu;
    case SDL_SCANCODE_RALT:
        return KeyCode::RMenu;
    case SDL_SCANCODE_LGUI:
        return KeyCode::LWin;
    case SDL_SCANCODE_RGUI:
        return KeyCode::RWin;
    case SDL_SCANCODE_APPLICATION:
        return KeyCode::Apps;
    case SDL_SCANCODE_CAPSLOCK:
        return KeyCode::Capital;
    case SDL_SCANCODE_SCROLLLOCK:
        return KeyCode::Scroll;
    case SDL_SCANCODE_PAUSE:
        return KeyCode::Pause;
    case SDL_SCANCODE_PRINTSCREEN:
        return KeyCode::Snapshot;
    case SDL_SCANCODE_SEMICOLON:
        return KeyCode::Oem1;
    case SDL_SCANCODE_EQUALS:
        return KeyCode::OemPlus;
    case SDL_SCANCODE_COMMA:
        return KeyCode::OemComma;
    case SDL_SCANCODE_MINUS:
        return KeyCode::OemMinus;
    case SDL_SCANCODE_PERIOD:
        return KeyCode::OemPeriod;
    case SDL_SCANCODE_SLASH:
        return KeyCode::Oem2;
    case SDL_SCANCODE_GRAVE:
        return KeyCode::Oem3;
    case SDL_SCANCODE_LEFTBRACKET:
        return KeyCode::Oem4;
    case SDL_SCANCODE_BACKSLASH:
        return KeyCode::Oem5;
    case SDL_SCANCODE_RIGHTBRACKET:
        return KeyCode::Oem6;
    case SDL_SCANCODE_APOSTROPHE:
        return KeyCode::Oem7;
    default:
        return 0;
    }
}

namespace {

// Either Shift, Ctrl or Alt also holds the key that does not say which
// side, as Windows reports it; 0 for every other key.
uint8_t EitherSideKey(uint8_t vk) {
    switch (vk) {
    case KeyCode::LShift:
    case KeyCode::RShift:
        return KeyCode::Shift;
    case KeyCode::LControl:
    case KeyCode::RControl:
        return KeyCode::Control;
    case KeyCode::LMenu:
    case KeyCode::RMenu:
        return KeyCode::Menu;
    default:
        return 0;
    }
}

// Keys Windows flags as "extended" in bit 24 of a key message.
bool IsExtendedKey(SDL_Scancode s) {
    switch (s) {
    case SDL_SCANCODE_LEFT:
    case SDL_SCANCODE_RIGHT:
    case SDL_SCANCODE_UP:
    case SDL_SCANCODE_DOWN:
    case SDL_SCANCODE_INSERT:
    case SDL_SCANCODE_DELETE:
    case SDL_SCANCODE_HOME:
    case SDL_SCANCODE_END:
    case SDL_SCANCODE_PAGEUP:
    case SDL_SCANCODE_PAGEDOWN:
    case SDL_SCANCODE_RCTRL:
    case SDL_SCANCODE_RALT:
    case SDL_SCANCODE_KP_ENTER:
    case SDL_SCANCODE_KP_DIVIDE:
    case SDL_SCANCODE_NUMLOCKCLEAR:
        return true;
    default:
        return false;
    }
}

// The control characters a Win32 window gets as WM_CHAR for these keys;
// SDL's text input leaves them out.
int32_t ControlCharacter(uint8_t vk) {
    switch (vk) {
    case KeyCode::Back:
        return 0x08;
    case KeyCode::Tab:
        return 0x09;
    case KeyCode::Return:
        return 0x0D;
    case KeyCode::Escape:
        return 0x1B;
    default:
        return 0;
    }
}

uint8_t ButtonKey(uint8_t sdlButton) {
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        return MouseButton::Left;
    case SDL_BUTTON_RIGHT:
        return MouseButton::Right;
    case SDL_BUTTON_MIDDLE:
        return MouseButton::Middle;
    default:
        return 0;
    }
}

int32_t Clamp16(int32_t v) {
    return std::clamp(v, -32768, 32767);
}

} // namespace

SdlEdge::SdlEdge(uint32_t windowId_, bool usePads_) : windowId(windowId_), usePads(usePads_) {
    if (usePads)
        OpenFirstPad();
}

SdlEdge::~SdlEdge() {
    if (pad)
        SDL_GameControllerClose(pad);
}

bool SdlEdge::AnyScancodeDown(uint8_t vk) const {
    for (std::size_t s = 0; s < scancodesDown.size(); ++s)
        if (scancodesDown[s] && VirtualKeyFromScancode(SDL_Scancode(s)) == vk)
            return true;
    return false;
}

void SdlEdge::SetVirtualKey(uint8_t vk, bool down, std::vector<PlatformEvent>& out) {
    if (vkDown[vk] == down)
        return;
    vkDown[vk] = down;
    out.push_back(PlatformEvent::KeyState(vk, down));
}

int32_t SdlEdge::MkFlags() const {
    int32_t flags = 0;
    if (vkDown[MouseButton::Left])
        flags |= Mk::LButton;
    if (vkDown[MouseButton::Right])
        flags |= Mk::RButton;
    if (vkDown[MouseButton::Middle])
        flags |= Mk::MButton;
    if (vkDown[KeyCode::Shift])
        flags |= Mk::Shift;
    if (vkDown[KeyCode::Control])
        flags |= Mk::Control;
    return flags;
}

void SdlEdge::KeyEvent(const SDL_KeyboardEvent& key, bool down, std::vector<PlatformEvent>& out) {
    const SDL_Scancode s = key.keysym.scancode;
    const uint8_t vk = VirtualKeyFromScancode(s);
    if (vk == 0)
        return;
    const bool wasDown = scancodesDown[s];
    scancodesDown[s] = down;
    SetVirtualKey(vk, AnyScancodeDown(vk), out);
    const uint8_t either = EitherSideKey(vk);
    if (either != 0) {
        // The left and right codes of each pair follow each other.
        const uint8_t left = uint8_t(vk & ~1u);
        SetVirtualKey(either, vkDown[left] || vkDown[left + 1], out);
    }
    // Windows names Shift, Ctrl and Alt without their side in key messages.
    const int32_t wParam = either != 0 ? either : vk;
    uint32_t lParam = 1;
    if (IsExtendedKey(s))
        lParam |= 1u << 24;
    if (wasDown || !down)
        lParam |= 1u << 30;
    if (!down)
        lParam |= 1u << 31;
    out.push_back(
        PlatformEvent::WindowMessage(down ? WM::KeyDown : WM::KeyUp, wParam, int32_t(lParam)));
    if (down)
        if (const int32_t c = ControlCharacter(vk))
            out.push_back(PlatformEvent::WindowMessage(WM::Char, c, int32_t(lParam)));
}

void SdlEdge::MouseButton(const SDL_MouseButtonEvent& button, bool down,
                          std::vector<PlatformEvent>& out) {
    const uint8_t vk = ButtonKey(button.button);
    if (vk == 0)
        return;
    mouseX = button.x;
    mouseY = button.y;
    SetVirtualKey(vk, down, out);
    const int32_t point = PackPoint(mouseX, mouseY);
    const int32_t base = vk == MouseButton::Left    ? WM::LButtonDown
                         : vk == MouseButton::Right ? WM::RButtonDown
                                                    : WM::MButtonDown;
    if (!down) {
        out.push_back(PlatformEvent::WindowMessage(base + 1, MkFlags(), point));
        return;
    }
    // Every press keeps its button-down message (the editor counts clicks
    // from it); the second press of a pair also reports the double click.
    out.push_back(PlatformEvent::WindowMessage(base, MkFlags(), point));
    if (button.clicks >= 2 && button.clicks % 2 == 0)
        out.push_back(PlatformEvent::WindowMessage(base + 2, MkFlags(), point));
}

void SdlEdge::Translate(const SDL_Event& event, std::vector<PlatformEvent>& out) {
    switch (event.type) {
    case SDL_QUIT:
        out.push_back(PlatformEvent::WindowMessage(WM::Quit, 0, 0));
        break;
    case SDL_WINDOWEVENT:
        if (event.window.windowID != windowId && event.window.windowID != 0)
            break;
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            out.push_back(PlatformEvent::WindowMessage(WM::Close, 0, 0));
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            out.push_back(PlatformEvent::FocusState(true));
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            out.push_back(PlatformEvent::FocusState(false));
            break;
        default:
            break;
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        KeyEvent(event.key, event.type == SDL_KEYDOWN, out);
        break;
    case SDL_TEXTINPUT: {
        // UTF-8 in; the game's characters are one byte, so only code
        // points up to 255 (Latin-1) get through.
        const auto* text = reinterpret_cast<const unsigned char*>(event.text.text);
        for (std::size_t i = 0; i < sizeof(event.text.text) && text[i] != 0;) {
            const unsigned char lead = text[i];
            uint32_t code = lead;
            std::size_t length = 1;
            if (lead >= 0xC0 && lead < 0xE0)
                code = lead & 0x1F, length = 2;
            else if (lead >= 0xE0 && lead < 0xF0)
                code = lead & 0x0F, length = 3;
            else if (lead >= 0xF0)
                code = lead & 0x07, length = 4;
            else if (lead >= 0x80)
                code = 0xFFFF; // a stray continuation byte
            std::size_t k = 1;
            for (; k < length && i + k < sizeof(event.text.text); ++k) {
                if ((text[i + k] & 0xC0) != 0x80)
                    break;
                code = (code << 6) | (text[i + k] & 0x3F);
            }
            if (k != length)
                code = 0xFFFF;
            i += k;
            if (code >= 0x20 && code <= 0xFF && code != 0x7F)
                out.push_back(PlatformEvent::WindowMessage(WM::Char, int32_t(code), 1));
        }
        break;
    }
    case SDL_MOUSEMOTION:
        mouseX = event.motion.x;
        mouseY = event.motion.y;
        out.push_back(
            PlatformEvent::WindowMessage(WM::MouseMove, MkFlags(), PackPoint(mouseX, mouseY)));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        MouseButton(event.button, event.type == SDL_MOUSEBUTTONDOWN, out);
        break;
    case SDL_MOUSEWHEEL: {
        int32_t notches = event.wheel.y;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        if (notches == 0)
            break;
        const int32_t delta = Clamp16(notches * kWheelDelta);
        const int32_t wParam = int32_t((uint32_t(delta & 0xFFFF) << 16) | uint32_t(MkFlags()));
        out.push_back(
            PlatformEvent::WindowMessage(WM::MouseWheel, wParam, PackPoint(mouseX, mouseY)));
        break;
    }
    case SDL_CONTROLLERDEVICEADDED:
        if (usePads && !pad)
            OpenPad(event.cdevice.which);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (pad && event.cdevice.which == padId) {
            SDL_GameControllerClose(pad);
            pad = nullptr;
            padId = -1;
            OpenFirstPad();
        }
        break;
    default:
        break;
    }
}

void SdlEdge::OpenPad(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex))
        return;
    pad = SDL_GameControllerOpen(deviceIndex);
    if (pad)
        padId = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
}

void SdlEdge::OpenFirstPad() {
    for (int i = 0; i < SDL_NumJoysticks() && !pad; ++i)
        OpenPad(i);
}

PadState SdlEdge::ReadPad() const {
    PadState state;
    if (!pad || !SDL_GameControllerGetAttached(pad))
        return state;
    state.connected = true;
    static constexpr struct {
        SDL_GameControllerButton button;
        uint16_t bit;
    } kButtons[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_UP, PadButton::DPadUp},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadButton::DPadDown},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadButton::DPadLeft},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadButton::DPadRight},
        {SDL_CONTROLLER_BUTTON_START, PadButton::Start},
        {SDL_CONTROLLER_BUTTON_BACK, PadButton::Back},
        {SDL_CONTROLLER_BUTTON_LEFTSTICK, PadButton::LeftThumb},
        {SDL_CONTROLLER_BUTTON_RIGHTSTICK, PadButton::RightThumb},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, PadButton::LeftShoulder},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, PadButton::RightShoulder},
        {SDL_CONTROLLER_BUTTON_A, PadButton::A},
        {SDL_CONTROLLER_BUTTON_B, PadButton::B},
        {SDL_CONTROLLER_BUTTON_X, PadButton::X},
        {SDL_CONTROLLER_BUTTON_Y, PadButton::Y},
    };
    for (const auto& b : kButtons)
        if (SDL_GameControllerGetButton(pad, b.button))
            state.buttons |= b.bit;
    const auto axis = [this](SDL_GameControllerAxis a) {
        return int32_t(SDL_GameControllerGetAxis(pad, a));
    };
    // SDL's sticks point y down; the game's, like XInput's, point y up.
    state.thumbLX = int16_t(axis(SDL_CONTROLLER_AXIS_LEFTX));
    state.thumbLY = int16_t(Clamp16(-axis(SDL_CONTROLLER_AXIS_LEFTY)));
    state.thumbRX = int16_t(axis(SDL_CONTROLLER_AXIS_RIGHTX));
    state.thumbRY = int16_t(Clamp16(-axis(SDL_CONTROLLER_AXIS_RIGHTY)));
    // Triggers: SDL 0..32767, the game 0..255.
    const auto trigger = [&](SDL_GameControllerAxis a) {
        return uint8_t(std::clamp(axis(a), 0, 32767) * 255 / 32767);
    };
    state.leftTrigger = trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT);
    state.rightTrigger = trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    return state;
}

void SdlEdge::PollPad(std::vector<PlatformEvent>& out) {
    if (!usePads)
        return;
    const PadState now = ReadPad();
    if (now == reportedPad)
        return;
    reportedPad = now;
    out.push_back(PlatformEvent::PadChange(now));
}

} // namespace Flurr
