#include "platform/WindowsSystem.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <cassert>

#include "engine/Core.h"
#include "engine/Message.h"
#include "engine/Report.h"
#include "platform/InputRecording.h"
#include "platform/SdlEdge.h"
#include "platform/WindowMessages.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

constexpr const char* kCaption = "Cloudmere";
// A decorated window without a size of its own gets the authored layout.
constexpr int32_t kWindowedWidth = 800;
constexpr int32_t kWindowedHeight = 600;
// The renderer's shaders are GLSL 3.30 core.
constexpr int kGlMajor = 3;
constexpr int kGlMinor = 3;

constexpr uint32_t kSubsystems = SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER;

bool EditorActive() {
    return SpaceManager::Active(Spaces::LevelEditor);
}

// The window messages the input system hears.
bool Forwarded(int32_t code) {
    return code == WM::KeyDown || code == WM::KeyUp || code == WM::Char ||
           (code >= WM::MouseMove && code <= WM::MouseWheel);
}

} // namespace

WindowsSystem::WindowsSystem(const WindowSettings& settings_) : settings(settings_) {
    // The input system decides what to do without focus; SDL must not
    // drop the pad's input behind its back.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(kSubsystems) != 0) {
        Fail(std::string("The video system could not be started: ") + SDL_GetError());
        return;
    }
    sdlStarted = true;

    int32_t width = settings.width;
    int32_t height = settings.height;
    if (width <= 0 || height <= 0) {
        width = settings.windowed ? kWindowedWidth : (ScreenWidth > 0 ? ScreenWidth : 800);
        height = settings.windowed ? kWindowedHeight : (ScreenHeight > 0 ? ScreenHeight : 600);
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, kGlMajor);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, kGlMinor);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, SDL_GL_CONTEXT_FORWARD_COMPATIBLE_FLAG);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // Shown in Initialize(), once every system exists.
    uint32_t flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    int x = SDL_WINDOWPOS_CENTERED;
    int y = SDL_WINDOWPOS_CENTERED;
    if (!settings.windowed) {
        flags |= SDL_WINDOW_BORDERLESS;
        x = 0;
        y = 0;
    }
    window = SDL_CreateWindow(kCaption, x, y, width, height, flags);
    if (!window) {
        Fail(std::string("The game window could not be created: ") + SDL_GetError());
        return;
    }
    SDL_GetWindowSize(window, &clientWidth, &clientHeight);
    context = SDL_GL_CreateContext(window);
    if (!context || epoxy_gl_version() < kGlMajor * 10 + kGlMinor) {
        Fail(std::string("This game needs OpenGL 3.3 (core profile), and the graphics driver "
                         "could not provide it. ") +
             (context ? "" : SDL_GetError()));
        return;
    }
    edge = std::make_unique<SdlEdge>(SDL_GetWindowID(window), settings.replay == nullptr);

    if (Core* core = Core::Instance()) {
        InputRecorder* recorder = settings.recorder;
        InputReplay* replay = settings.replay;
        if (replay)
            core->SetTickStep(
                [replay, recorder](float) {
                    const float dt = replay->BeginFrame();
                    // The world is not the one recorded: the rest would
                    // only tell the same story.
                    if (replay->Differs())
                        Core::Broadcast(MessageQuit());
                    if (recorder)
                        recorder->BeginFrame(dt);
                    return dt;
                },
                true);
        else if (recorder)
            // A recording holds ticks, not drawn frames: a frame that runs
            // three ticks records three, its events on the first.
            core->SetTickStep([recorder](float dt) {
                recorder->BeginFrame(dt);
                return dt;
            });
    }
}

WindowsSystem::~WindowsSystem() {
    if (Core* core = Core::Instance(); core && (settings.recorder || settings.replay))
        core->SetTickStep(nullptr);
    edge.reset();
    if (context)
        SDL_GL_DeleteContext(context);
    if (window)
        SDL_DestroyWindow(window);
    if (sdlStarted)
        SDL_QuitSubSystem(kSubsystems);
}

void WindowsSystem::Fail(const std::string& text) {
    failed = true;
    ShowErrorBox(text);
}

void WindowsSystem::Initialize() {
    if (failed) {
        Core::Broadcast(MessageQuit());
        return;
    }
    SDL_ShowWindow(window);
}

void WindowsSystem::SwapWindow() {
    if (window && context)
        SDL_GL_SwapWindow(window);
}

void WindowsSystem::WarpPointer(int32_t x, int32_t y) {
    if (!window || settings.replay || !input.HasFocus())
        return;
    SDL_WarpMouseInWindow(window, x, y);
}

void WindowsSystem::UpdateCursor() {
    const bool editor = EditorActive();
    if (!editor && cursorShown) {
        SDL_ShowCursor(SDL_DISABLE);
        cursorShown = false;
    } else if (editor && !cursorShown) {
        SDL_ShowCursor(SDL_ENABLE);
        cursorShown = true;
    }
}

void WindowsSystem::Update(float) {
    // Events are pumped once per drawn frame; the frame's other ticks see
    // the same input state.
    if (failed || !Core::CurrentTick().First())
        return;
    UpdateCursor();
    if (settings.replay)
        PumpReplay();
    else
        PumpLive();
}

void WindowsSystem::PumpLive() {
    pending.clear();
    // The first frame says where the focus is, so the input state (and a
    // recording) starts from the truth rather than from "unfocused".
    if (!focusReported) {
        focusReported = true;
        if (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS)
            pending.push_back(PlatformEvent::FocusState(true));
    }
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (!eventHook || !eventHook(event))
            edge->Translate(event, pending);
    edge->PollPad(pending);
    // Dispatching may send messages whose handlers push more SDL events;
    // those wait for the next frame, as the window's queue would.
    for (const PlatformEvent& e : pending)
        Dispatch(e);
}

void WindowsSystem::PumpReplay() {
    // The devices are not listened to, but the window must stay responsive
    // and closing it still ends the run.
    pending.clear();
    SDL_Event event;
    std::vector<PlatformEvent> live;
    while (SDL_PollEvent(&event)) {
        live.clear();
        edge->Translate(event, live);
        for (const PlatformEvent& e : live)
            if (e.kind == PlatformEvent::Window && (e.a == WM::Close || e.a == WM::Quit))
                Core::Broadcast(MessageQuit());
    }
    pending = settings.replay->Events();
    for (const PlatformEvent& e : pending)
        Dispatch(e);
    if (settings.replay->AtLastFrame())
        Core::Broadcast(MessageQuit());
}

void WindowsSystem::Dispatch(const PlatformEvent& event) {
    if (settings.recorder)
        settings.recorder->Add(event);
    input.Apply(event);
    if (event.kind == PlatformEvent::Window)
        WindowProcedure(event.a, event.b, event.c);
}

void WindowsSystem::WindowProcedure(int32_t code, int32_t wParam, int32_t lParam) {
    if (code == WM::Close || code == WM::Quit) {
        Core::Broadcast(MessageQuit());
        return;
    }
    if (Forwarded(code))
        Core::Broadcast(WMMessage(code, wParam, lParam));
}

} // namespace Flurr
