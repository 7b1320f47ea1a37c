#pragma once
// Shared parts of the platform tests: a core with the real window and
// input systems on SDL's offscreen driver, a system that writes down every
// input message in a readable form, and helpers that push real SDL events.

#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/Core.h"
#include "engine/GameSystem.h"
#include "engine/Message.h"
#include "game/TestGame.h"
#include "platform/InputSystem.h"
#include "platform/WindowsSystem.h"
#include "world/SpaceManager.h"

namespace PlatformTest {

// One line per input message: its kind and payload.
inline std::string Describe(const Flurr::Message* m) {
    using namespace Flurr;
    std::ostringstream out;
    if (const auto* k = As<KeyMessage>(m)) {
        const char* kind = m->id == MessageId::KeyTriggered ? "KeyTriggered"
                           : m->id == MessageId::KeyPressed ? "KeyPressed"
                                                            : "KeyReleased";
        out << kind << " " << int(k->key);
    } else if (const auto* c = As<CharacterTypedMessage>(m))
        out << "Char " << int(static_cast<unsigned char>(c->character));
    else if (const auto* v = As<MouseMovedMessage>(m))
        out << "MouseMoved " << v->x << " " << v->y << " " << v->leftHeld;
    else if (const auto* b = As<MouseButtonMessage>(m)) {
        const char* kind = m->id == MessageId::MouseClicked    ? "MouseClicked"
                           : m->id == MessageId::MousePressed  ? "MousePressed"
                           : m->id == MessageId::MouseReleased ? "MouseReleased"
                                                               : "DoubleClick";
        out << kind << " " << b->x << " " << b->y << " " << int(b->button);
    } else if (const auto* s = As<MouseScrolledMessage>(m))
        out << "Scrolled " << (s->up ? "up" : "down");
    else if (const auto* x = As<XboxButtonMessage>(m)) {
        const char* kind = m->id == MessageId::XboxTriggered ? "PadTriggered"
                           : m->id == MessageId::XboxPressed ? "PadPressed"
                                                             : "PadReleased";
        out << kind << " 0x" << std::hex << x->button;
    } else if (const auto* t = As<XboxThumbMessage>(m))
        out << (m->id == MessageId::XboxLThumbMoved ? "LThumb " : "RThumb ") << t->x << " " << t->y
            << " " << t->level;
    else if (const auto* t = As<XboxTriggerMoved>(m))
        out << "Triggers " << t->rightLevel << " " << t->leftLevel;
    else if (const auto* w = As<WMMessage>(m))
        out << "WM 0x" << std::hex << w->code << std::dec << " " << w->wParam << " " << w->lParam;
    else
        out << "id " << m->id;
    return out.str();
}

struct ListenerName {
    static constexpr const char* value = "TestInputListener";
};

// Hears every input message (and, when asked, the window messages too),
// frame by frame.
class Listener : public Flurr::ISystem<Listener, ListenerName> {
public:
    explicit Listener(bool windowMessages) {
        using namespace Flurr;
        Core* core = Core::Instance();
        core->RegisterForMessage(this, MessageId::CharacterTyped);
        for (int32_t id = MessageId::KeyTriggered; id <= MessageId::XboxTriggerMoved; ++id)
            core->RegisterForMessage(this, id);
        if (windowMessages)
            core->RegisterForMessage(this, MessageId::WM);
    }
    void SendMessage(Flurr::Message* m) override { frame.push_back(Describe(m)); }
    void Update(float dt) override { steps.push_back(dt); }

    // What the last frames delivered, and forgets it.
    std::vector<std::string> Take() { return std::exchange(frame, {}); }

    std::vector<std::string> frame;
    std::vector<float> steps;
};

using Lines = std::vector<std::string>;

// A core with SpaceManager, WindowsSystem, InputSystem and a Listener.
class Game {
public:
    explicit Game(const Flurr::WindowSettings& settings = {}, bool windowMessages = false) {
        using namespace Flurr;
        core = std::make_unique<Core>();
        GameConfig config = TestGame::Config();
        config.systems.window = config.systems.input = true;
        config.window = settings;
        if (config.window.width == 0) {
            config.window.windowed = true;
            config.window.width = 320;
            config.window.height = 240;
        }
        const GameSystems made = AddSystems(*core, config);
        spaces = made.spaces;
        windows = made.windows;
        input = made.input;
        listener = new Listener(windowMessages);
        core->AddSystem(listener);
        windows->Initialize();
        core->BeginLevel();
    }
    ~Game() {
        // Nothing pushed in one test may reach the next.
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        core->Shutdown();
    }

    // Runs one frame and returns what it delivered.
    Lines Frame() {
        core->RunFrame();
        return listener->Take();
    }
    bool QuitRequested() const { return core->RequestedState() == Flurr::GameState::Quit; }
    void SetEditor(bool on) { spaces->SetSpaceActive("LevelEditor", on); }
    uint32_t WindowId() const { return SDL_GetWindowID(windows->Window()); }

    std::unique_ptr<Flurr::Core> core;
    Flurr::SpaceManager* spaces = nullptr;
    Flurr::WindowsSystem* windows = nullptr;
    Flurr::InputSystem* input = nullptr;
    Listener* listener = nullptr;
};

// Real events, as a device would deliver them.
inline void PushWindowEvent(uint32_t windowId, SDL_WindowEventID what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = windowId;
    e.window.event = what;
    SDL_PushEvent(&e);
}
inline void Focus(const Game& game, bool on = true) {
    PushWindowEvent(game.WindowId(),
                    on ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
}
inline void PushKey(SDL_Scancode s, bool down, bool repeat = false) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = s;
    e.key.keysym.sym = SDL_GetKeyFromScancode(s);
    SDL_PushEvent(&e);
}
inline void PushMotion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
}
inline void PushButton(uint8_t button, bool down, int x, int y, uint8_t clicks = 1) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = clicks;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
}
inline void PushWheel(int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = y;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&e);
}
inline void PushText(const char* utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::strncpy(e.text.text, utf8, sizeof(e.text.text) - 1);
    SDL_PushEvent(&e);
}

// A virtual controller plugged in while the game runs.
class VirtualPad {
public:
    VirtualPad() {
        index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                          SDL_CONTROLLER_BUTTON_MAX, 0);
        joystick = SDL_JoystickOpen(index);
    }
    ~VirtualPad() { Unplug(); }
    void Unplug() {
        if (!joystick)
            return;
        SDL_JoystickClose(joystick);
        SDL_JoystickDetachVirtual(index);
        joystick = nullptr;
    }
    bool Attached() const { return joystick != nullptr; }
    void Axis(SDL_GameControllerAxis axis, int16_t value) {
        SDL_JoystickSetVirtualAxis(joystick, axis, value);
    }
    // A trigger's raw axis spans the full range and reads as 0..32767
    // through the controller mapping; this sets the controller's value.
    void Trigger(SDL_GameControllerAxis axis, int32_t value) {
        const auto raw = int32_t(std::lround(value * 65535.0 / 32767.0)) - 32768;
        SDL_JoystickSetVirtualAxis(joystick, axis, int16_t(raw));
    }
    void Button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick, button, down ? 1 : 0);
    }

    int index = -1;
    SDL_Joystick* joystick = nullptr;
};

} // namespace PlatformTest
