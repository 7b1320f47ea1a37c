#pragma once
// WindowsSystem: the game's one window, its OpenGL 3.3 core context, and
// the pump that brings the devices' events into the engine.
//
// Created right after the SpaceManager; the graphics system draws through
// the context and calls SwapWindow(), the input system reads Input().
// Update() runs once per frame before the input system: it shows the
// cursor only while "LevelEditor" is active, then pumps SDL's events once,
// turns each into PlatformEvents at the edge and dispatches them. Dispatch
// is the one path every event takes -- live, pushed by a test or read
// from a replay: it updates the input state, passes window messages on
// (keys, mouse, characters as WMMessage; a close or quit as MessageQuit)
// and adds the event to the recording.
//
// A close request only asks the core to quit: the window stays until
// shutdown, so the rest of the frame can still draw and present to it.
// When the window or its context cannot be made, Failed() is true, the
// system does nothing, and Initialize() asks the core to quit.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/GameSystem.h"
#include "platform/PlatformInput.h"

struct SDL_Window;
union SDL_Event;

namespace Flurr {

class InputRecorder;
class InputReplay;
class SdlEdge;

struct WindowSettings {
    // A decorated window instead of a borderless one covering the desktop.
    bool windowed = false;
    // Client size in pixels; 0 picks the desktop (borderless) or 800 x 600
    // (windowed).
    int32_t width = 0;
    int32_t height = 0;
    // Optional, owned by the caller, must outlive the system: every
    // dispatched event and frame step is added to `recorder`; with
    // `replay`, its events and steps stand in for the devices and clock.
    InputRecorder* recorder = nullptr;
    InputReplay* replay = nullptr;
};

struct WindowsSystemName {
    static constexpr const char* value = "WindowsSystem";
};

class WindowsSystem : public ISystem<WindowsSystem, WindowsSystemName> {
public:
    explicit WindowsSystem(const WindowSettings& settings = {});
    ~WindowsSystem() override;

    void Initialize() override;
    void Update(float dt) override;

    // The one path of every platform event (see the top of this file).
    void Dispatch(const PlatformEvent& event);

    bool Failed() const { return failed; }
    const PlatformInput& Input() const { return input; }
    bool CursorShown() const { return cursorShown; }

    // For the renderer: the window, its context (an SDL_GLContext), the
    // client size chosen, and the present call.
    SDL_Window* Window() const { return window; }
    void* GLContext() const { return context; }
    int32_t ClientWidth() const { return clientWidth; }
    int32_t ClientHeight() const { return clientHeight; }
    void SwapWindow();
    // Moves the mouse pointer to a client position, only while the window
    // has the keyboard focus and the devices are live (not a replay).
    void WarpPointer(int32_t x, int32_t y);
    // Sees every live SDL event before the edge translates it; an event
    // it returns true for is taken (the editor's panels, while the pointer
    // or the keyboard is theirs) and never reaches the game. Replays do
    // not pass through it.
    void SetEventHook(std::function<bool(const SDL_Event&)> hook) { eventHook = std::move(hook); }

private:
    void Fail(const std::string& text);
    void UpdateCursor();
    void PumpLive();
    void PumpReplay();
    void WindowProcedure(int32_t code, int32_t wParam, int32_t lParam);

    WindowSettings settings;
    bool sdlStarted = false;
    bool failed = false;
    SDL_Window* window = nullptr;
    void* context = nullptr;
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    bool cursorShown = true;
    bool focusReported = false;
    PlatformInput input;
    std::unique_ptr<SdlEdge> edge;
    std::vector<PlatformEvent> pending;
    std::function<bool(const SDL_Event&)> eventHook;
};

} // namespace Flurr
