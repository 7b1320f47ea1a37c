#include "engine/Core.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <cmath>
#include <csignal>
#include <thread>

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

LoopClock LoopClock::Steady() {
    using Clock = std::chrono::steady_clock;
    LoopClock steady;
    steady.now = [] {
        return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
    };
    steady.waitUntil = [](double seconds) {
        std::this_thread::sleep_until(Clock::time_point(
            std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds))));
    };
    return steady;
}

FrameTick Core::CurrentTick() {
    return instance ? instance->tick : FrameTick{};
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

int32_t Core::PlanTicks(float& step) {
    if (fixedDt > 0.0f) {
        step = fixedDt;
        return 1;
    }
    step = kTickSeconds;
    double now = clock.now();
    if (lastPlanned < 0.0)
        lastPlanned = now; // a level starts owing nothing: loading is not play
    owed += now - lastPlanned;
    lastPlanned = now;
    if (owed < kTickSeconds) {
        // Drawing is ahead of the simulation: drawing again before the next
        // tick would only show the same world.
        clock.waitUntil(now + (kTickSeconds - owed));
        now = clock.now();
        owed += now - lastPlanned;
        lastPlanned = now;
    }
    // A wait may end a hair early; the frame still runs its tick, and the
    // next one waits that much longer.
    int32_t count = std::max<int32_t>(1, static_cast<int32_t>(owed / kTickSeconds));
    if (tickStepDrives)
        count = 1; // a replay plays its ticks one a frame, paced but never rushed
    if (count >= kMaxTicksPerFrame && !tickStepDrives) {
        count = std::min(count, kMaxTicksPerFrame);
        owed = std::fmod(owed, static_cast<double>(kTickSeconds));
    } else {
        owed = std::min(owed - count * static_cast<double>(kTickSeconds),
                        static_cast<double>(kMaxTicksPerFrame * kTickSeconds));
    }
    return count;
}

void Core::RunFrame() {
    timers.Reset("FrameTime");
    // The time since the previous frame on the loop's clock, for the rate
    // figures (none for a level's first frame).
    const double previous = lastPlanned;
    float step = 0.0f;
    const int32_t count = PlanTicks(step);
    const float measured = previous < 0.0 ? 0.0f : static_cast<float>(lastPlanned - previous);
    for (IGameSystem* system : systems)
        timers.Reset(system->GetName());
    tick = FrameTick{0, count, 0.0f};
    int32_t ran = 0;
    while (ran < count) {
        tick.index = ran;
        float dt = step;
        if (tickStep)
            dt = tickStep(dt);
        tick.frameSeconds += dt;
        TimerSet::AdvanceGameClock(dt);
        if (tick.Last())
            timers.ShowProfile(); // drawn by this tick's renderer
        // The count is re-read at every step: a system may be added mid-tick.
        for (std::size_t i = 0; i < systems.size(); ++i) {
            IGameSystem* system = systems[i];
            const std::string name = system->GetName();
            timers.Start(name);
            system->Update(dt);
            timers.Stop(name);
        }
        ++ran;
        ++ticksRun;
        // A level change or a quit ends the frame after the tick that asked.
        if (requestedState != currentState)
            break;
    }
    tick = FrameTick{};
    timers.Update(fixedDt > 0.0f ? fixedDt : measured, ran);
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
        lastPlanned = -1.0;
        owed = 0.0;
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

void Core::ToggleProfile(uint8_t key) {
    if (actions.IsKey(Action::ShowProfile, key))
        timers.showProfile = !timers.showProfile;
    if (actions.IsKey(Action::ShowProfileDetail, key))
        timers.showProfileDetail = !timers.showProfileDetail;
}

void Core::SendMessage(Message* message) {
    if (message->id == MessageId::Quit) {
        requestedState = GameState::Quit;
        return;
    }
    // The overlay belongs to the core, so it works in every level and mode.
    if (const auto* key = As<KeyTriggeredMessage>(message))
        ToggleProfile(key->key);
    auto it = listeners.find(message->id);
    if (it == listeners.end())
        return;
    // A copy: registrations made during delivery do not affect it.
    const std::vector<IGameSystem*> receivers = it->second;
    for (IGameSystem* system : receivers)
        system->SendMessage(message);
}

} // namespace Flurr
