#pragma once
// The Core: the one engine object of the process. It owns every system,
// runs start-up, the variable-step main loop with its level changes, the
// per-system timing behind the profile overlay, and the orderly shutdown.
// It also holds the game's action map (which keys and pad buttons do
// what). It is not a system itself.
//
// One frame: dt is the wall time since the previous frame began; every
// system's Update(dt) runs once, in creation order, each timed under its
// name. Any system may call RequestState() during a frame; the loop compares
// the requested state with the current one only after every system ran.
//
// Level changes: a restart (and the first level of a run) frees the
// factory, loads the current route entry, frees again and loads again, so
// two LevelChangeMessages go out; an advance frees and loads once. The
// route itself lives above the engine, behind ILevelRoute; without one the
// loop plays no level, only frames.
//
// Messages are delivered at once, depth-first, to the systems registered
// for the id, walking a copy of the listener list. MessageQuit is never
// delivered: it requests Quit.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/InputActions.h"
#include "engine/LevelRoute.h"
#include "engine/TimerSet.h"

namespace Flurr {

class IGameSystem;
class Message;

enum class GameState : int32_t {
    Quit = 0,
    Running = 1,
    Restart = 2,
    NextLevel = 3,
};

class Core {
public:
    Core();
    ~Core();
    Core(const Core&) = delete;
    Core& operator=(const Core&) = delete;

    // The one core of the process, or null.
    static Core* Instance();

    void AddSystem(IGameSystem* system);
    // The system that owns the level's objects (the factory): the loop
    // frees it at every level change, before and after loading.
    void SetLevelOwner(IGameSystem* system) { levelOwner = system; }
    void Initialize();
    void GameLoop();
    void Shutdown();

    void SendMessage(Message* message);
    // Sends through the process's core; nothing happens without one (a
    // component tested on its own, a system after shutdown).
    static void Broadcast(Message& message);
    static void Broadcast(Message&& message) { Broadcast(message); }
    void RegisterForMessage(IGameSystem* system, int32_t id);

    // Runs one frame: steps 1 to 3 of the loop's frame (the comparison is
    // the caller's). Exposed for tests that drive frames by hand.
    void RunFrame();

    // Automation: stop after this many frames (0: never).
    void SetFrameLimit(int64_t frames) { frameLimit = frames; }
    // Automation: every frame gets this step instead of the measured time
    // (0: measure).
    void SetFixedDt(float seconds) { fixedDt = seconds; }
    // Input recording and replay: called at the start of every frame with
    // the step chosen so far (measured or fixed); its result is the step
    // the frame runs with. Null: no hook.
    void SetFrameStep(std::function<float(float)> hook) { frameStep = std::move(hook); }
    // Automation: called when the loop is about to end, before the level's
    // objects are destroyed (the game writes them to a level file); false
    // marks the run as failed.
    void SetSaveOnExit(std::function<bool()> save) { saveOnExit = std::move(save); }
    bool SaveOnExitFailed() const { return saveOnExitFailed; }
    int64_t FramesRun() const { return framesRun; }
    float FixedDt() const { return fixedDt; }

    const std::vector<IGameSystem*>& Systems() const { return systems; }

    // The keys and pad buttons of each action: the process's core's map,
    // or today's bindings without a core (a component tested on its own).
    static const InputActions& Actions();

    // Async-signal-safe: asks the loop to quit at the end of this frame
    // (Ctrl+C in a terminal ends the game cleanly).
    static void RequestQuitFromSignal();

    // What the loop should do at the end of this frame: go on (Running),
    // play the level again, move on, or quit.
    void RequestState(GameState state) { requestedState = state; }
    GameState RequestedState() const { return requestedState; }
    GameState CurrentState() const { return currentState; }
    // Ends the level at the end of this frame while Running is still
    // requested, so the level change advances: how a transition whose
    // first phase is over moves on.
    void AdvanceAtFrameEnd() { currentState = GameState::NextLevel; }
    // Marks a level as under way: what the loop does when it starts one,
    // for callers that drive frames by hand.
    void BeginLevel() { requestedState = currentState = GameState::Running; }

    // The chain of levels the loop plays; null plays none.
    void SetRoute(std::unique_ptr<ILevelRoute> levelRoute) { route = std::move(levelRoute); }
    ILevelRoute* Route() const { return route.get(); }

    // Which keys and pad buttons do what; the player, the logo and the
    // menus read it, so rebinding is editing this table.
    InputActions actions;
    std::vector<IGameSystem*> systems;
    std::unordered_map<int32_t, std::vector<IGameSystem*>> listeners;
    TimerSet timers;

private:
    void FreeFactory();
    void LoadLevel();

    GameState currentState = GameState::Restart;
    GameState requestedState = GameState::Restart;
    std::unique_ptr<ILevelRoute> route;
    void SaveOnExit();

    int64_t frameLimit = 0;
    int64_t framesRun = 0;
    float fixedDt = 0.0f;
    std::function<float(float)> frameStep;
    std::function<bool()> saveOnExit;
    IGameSystem* levelOwner = nullptr;
    bool saveOnExitFailed = false;
};

// The screen size in pixels, read at start-up by the platform layer before
// the window is made.
extern int32_t ScreenWidth;
extern int32_t ScreenHeight;

} // namespace Flurr
