#pragma once
// Real SDL events, and a started game with the real window and input
// systems on SDL's offscreen driver (and whatever else its config turns
// on) with a recorder hearing the messages a test looks at.

#include <SDL.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "engine/EngineTestSupport.h"
#include "game/TestGame.h"
#include "platform/InputSystem.h"

namespace PlatformTest {

using Lines = std::vector<std::string>;

// Real events, as a device would deliver them, for Push() or Game::Frame().
inline SDL_Event Window(uint32_t windowId, SDL_WindowEventID what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = windowId;
    e.window.event = what;
    return e;
}
inline SDL_Event Key(SDL_Scancode s, bool down, bool repeat = false) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = s;
    e.key.keysym.sym = SDL_GetKeyFromScancode(s);
    return e;
}
inline SDL_Event Motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}
inline SDL_Event Button(uint8_t button, bool down, int x, int y, uint8_t clicks = 1) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = clicks;
    e.button.x = x;
    e.button.y = y;
    return e;
}
inline SDL_Event Wheel(int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = y;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    return e;
}
inline SDL_Event Text(const char* utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::strncpy(e.text.text, utf8, sizeof(e.text.text) - 1);
    return e;
}
inline void Push(const std::vector<SDL_Event>& events) {
    for (SDL_Event e : events)
        SDL_PushEvent(&e);
}

class Game : public Flurr::GameSystems {
public:
    // The game `config` builds, started; `heard` hears `kinds` after the rest.
    Game(const Flurr::GameConfig& config, const std::vector<int32_t>& kinds)
        : core(std::make_unique<Flurr::Core>()) {
        static_cast<Flurr::GameSystems&>(*this) = Flurr::AddSystems(*core, config);
        heard = EngineTest::Recorder::AddTo(*core, {}, "heard");
        TestGame::Start(*core);
        heard->Hear(*core, kinds);
    }
    // Window (320 x 240 by default) and input, heard for every input message
    // (and the window's if asked), focused from the first frame if asked.
    explicit Game(const Flurr::WindowSettings& settings = {}, bool windowMessages = false,
                  bool focused = true)
        : Game(InputOnly(settings), InputKinds(windowMessages)) {
        if (focused)
            Push({Focus()});
    }
    ~Game() {
        // Nothing pushed in one test may reach the next.
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        core->Shutdown();
    }

    // Pushes `events`, runs a frame and returns what it delivered.
    Lines Frame(const std::vector<SDL_Event>& events = {}) {
        Push(events);
        core->RunFrame();
        return heard->Take();
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i)
            core->RunFrame();
    }
    bool QuitRequested() const { return core->RequestedState() == Flurr::GameState::Quit; }
    void SetEditor(bool on) { spaces->SetSpaceActive("LevelEditor", on); }
    uint32_t WindowId() const { return SDL_GetWindowID(windows->Window()); }
    SDL_Event Focus(bool on = true) const {
        return Window(WindowId(), on ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
    }

    std::unique_ptr<Flurr::Core> core;
    EngineTest::Recorder* heard = nullptr;

private:
    static Flurr::GameConfig InputOnly(const Flurr::WindowSettings& settings) {
        Flurr::GameConfig config = TestGame::Config();
        config.systems.window = config.systems.input = true;
        config.window = settings;
        if (config.window.width == 0) {
            config.window.windowed = true;
            config.window.width = 320;
            config.window.height = 240;
        }
        return config;
    }
    static std::vector<int32_t> InputKinds(bool windowMessages) {
        std::vector<int32_t> kinds{Flurr::MessageId::CharacterTyped};
        for (int32_t id = Flurr::MessageId::KeyTriggered; id <= Flurr::MessageId::XboxTriggerMoved;
             ++id)
            kinds.push_back(id);
        if (windowMessages)
            kinds.push_back(Flurr::MessageId::WM);
        return kinds;
    }
};

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
    VirtualPad& Axis(SDL_GameControllerAxis axis, int16_t value) {
        SDL_JoystickSetVirtualAxis(joystick, axis, value);
        return *this;
    }
    // A trigger's raw axis spans the full range and reads as 0..32767
    // through the controller mapping; this sets the controller's value.
    VirtualPad& Trigger(SDL_GameControllerAxis axis, int32_t value) {
        return Axis(axis, int16_t(std::lround(value * 65535.0 / 32767.0) - 32768));
    }
    VirtualPad& Button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick, button, down ? 1 : 0);
        return *this;
    }

    int index = -1;
    SDL_Joystick* joystick = nullptr;
};

} // namespace PlatformTest
