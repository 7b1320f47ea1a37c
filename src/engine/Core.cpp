#include "engine/Core.h"

#include <cassert>
#include <csignal>

#include "engine/GameSystem.h"
#include "engine/Message.h"

namespace Flurr {

int32_t ScreenWidth = 0;
int32_t ScreenHeight = 0;

namespace {
Core* instance = nullptr;
volatile std::sig_atomic_t quitSignalled = 0;
} // namespace

void Core::RequestQuitFromSignal() {
    quitSignalled = 1;
}

Core* Core::Instance() {
    return instance;
}

const InputActions& Core::Actions() {
    if (instance)
        return instance->actions;
    static const InputActions defaults;
    return defaults;
}

Core::Core() {
    assert(!instance && "only one Core may exist at a time");
    instance = this;
    listeners.rehash(8);
    listeners.max_load_factor(4.0f);
}

Core::~Core() {
    // Systems normally went in Shutdown(); a core torn down early (a test,
    // an error during start-up) still must not leak them.
    if (!systems.empty())
        Shutdown();
    if (instance == this)
        instance = nullptr;
}

void Core::AddSystem(IGameSystem* system) {
    systems.push_back(system);
}

void Core::Initialize() {
    requestedState = GameState::Restart;
    currentState = GameState::Restart;
    if (route)
        route->Start();
    for (std::size_t i = 0; i < systems.size(); ++i)
        systems[i]->Initialize();
}

void Core::FreeFactory() {
    if (levelOwner)
        levelOwner->Free();
}

void Core::LoadLevel() {
    if (route)
        route->Load();
}

void Core::RunFrame() {
    float dt = timers.GetTime("FrameTime");
    timers.Reset("FrameTime");
    if (fixedDt > 0.0f)
        dt = fixedDt;
    if (frameStep)
        dt = frameStep(dt);
    TimerSet::AdvanceGameClock(dt);
    // The count is re-read at every step: a system may be added mid-frame.
    for (std::size_t i = 0; i < systems.size(); ++i) {
        IGameSystem* system = systems[i];
        const std::string name = system->GetName();
        timers.Reset(name);
        timers.Start(name);
        system->Update(dt);
        timers.Stop(name);
    }
    timers.Update(dt);
    ++framesRun;
    if ((frameLimit > 0 && framesRun >= frameLimit) || quitSignalled)
        requestedState = GameState::Quit;
}

void Core::GameLoop() {
    while (requestedState != GameState::Quit) {
        // Every level starts with only the game world's space active.
        for (IGameSystem* system : systems)
            system->BeforeLevel();
        if (requestedState == GameState::Restart) {
            FreeFactory();
            LoadLevel();
            FreeFactory();
            if (requestedState == GameState::Quit)
                break;
        } else {
            FreeFactory();
            if (route)
                route->Advance();
        }
        LoadLevel();
        // A route that could not be loaded at all asks to quit.
        if (requestedState == GameState::Quit)
            break;
        timers.Start("GameTime");
        timers.Start("FrameTime");
        requestedState = GameState::Running;
        currentState = GameState::Running;
        do {
            RunFrame();
        } while (currentState == requestedState);
        if (requestedState == GameState::Quit)
            SaveOnExit();
        FreeFactory();
    }
    FreeFactory();
}

void Core::SaveOnExit() {
    if (saveOnExit && !saveOnExit())
        saveOnExitFailed = true;
}

void Core::Shutdown() {
    // Every game object goes before any system does, so no component's
    // Free() reaches a system that is already destroyed.
    FreeFactory();
    levelOwner = nullptr;
    for (IGameSystem* system : systems)
        system->ReleaseObjects();
    while (!systems.empty()) {
        IGameSystem* system = systems.back();
        system->Free();
        delete system;
        systems.pop_back();
    }
}

void Core::RegisterForMessage(IGameSystem* system, int32_t id) {
    listeners[id].push_back(system);
}

void Core::Broadcast(Message& message) {
    if (Core* core = Instance())
        core->SendMessage(&message);
}

void Core::SendMessage(Message* message) {
    if (message->id == MessageId::Quit) {
        requestedState = GameState::Quit;
        return;
    }
    auto it = listeners.find(message->id);
    if (it == listeners.end())
        return;
    // A copy: registrations made during delivery do not affect it.
    const std::vector<IGameSystem*> receivers = it->second;
    for (IGameSystem* system : receivers)
        system->SendMessage(message);
}

} // namespace Flurr
