#include "engine/Core.h"

#include <cassert>
#include <csignal>

#include "engine/GameSystem.h"
#include "engine/Message.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

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
    requestedState = Restart;
    currentState = Restart;
    if (route.currentRouteFile.empty())
        route.ReadFirstRouteFile();
    for (std::size_t i = 0; i < systems.size(); ++i)
        systems[i]->Initialize();
}

void Core::FreeFactory() {
    if (Factory* factory = Factory::Instance())
        factory->Free();
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
        requestedState = Quit;
}

void Core::GameLoop() {
    while (requestedState != Quit) {
        if (SpaceManager* spaces = SpaceManager::Instance())
            spaces->ActivateOnlyGameSpace();
        if (requestedState == Restart) {
            FreeFactory();
            route.Load();
            FreeFactory();
            if (requestedState == Quit)
                break;
        } else {
            FreeFactory();
            route.Advance();
        }
        route.Load();
        // A route that could not be loaded at all asks to quit.
        if (requestedState == Quit)
            break;
        timers.Start("GameTime");
        timers.Start("FrameTime");
        requestedState = Running;
        currentState = Running;
        do {
            RunFrame();
        } while (currentState == requestedState);
        if (requestedState == Quit)
            SaveOnExit();
        FreeFactory();
    }
    FreeFactory();
}

void Core::SaveOnExit() {
    if (saveOnExitFile.empty())
        return;
    Factory* factory = Factory::Instance();
    if (!factory || !factory->SaveLevel(saveOnExitFile, factory->Background()))
        saveOnExitFailed = true;
}

void Core::Shutdown() {
    // Every game object goes before any system does, so no component's
    // Free() reaches a system that is already destroyed.
    FreeFactory();
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
        requestedState = Quit;
        return;
    }
    if (const auto* button = As<ButtonInputMessage>(*message)) {
        if (button->name == "Play") {
            StopAllSoundsMessage stop;
            SendMessage(&stop);
            PlaySoundMessage music("Elation", 1.0f, -1);
            SendMessage(&music);
            PlaySoundMessage wind("AmbientWindLoop", 1.0f, -1);
            SendMessage(&wind);
        }
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
