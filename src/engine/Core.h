#pragma once
// The Core: the one engine object of the process. It owns every system,
// runs start-up, the variable-step main loop with its level changes, the
// per-system timing behind the profile overlay, and the orderly shutdown.
// It also holds the game's action map (which keys and pad buttons do
// what). It is not a system itself.
//
// One frame: dt is the wall time since the previous frame began; every
// system's Update(dt) runs once, in creation order, each timed under its
// name. Any system may write `requestedState` (or `currentState`) during a
// frame; the loop compares the two only after every system ran.
//
// Level changes: a restart (and the first level of a run) frees the
// factory, loads the current route entry, frees again and loads again, so
// two LevelChangeMessages go out; an advance frees and loads once.
//
// Messages are delivered at once, depth-first, to the systems registered
// for the id, walking a copy of the listener list. MessageQuit is never
// delivered: it requests Quit. A "Play" button first stops every sound and
// starts the music and the wind.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/InputActions.h"
#include "engine/TimerSet.h"
#include "world/Route.h"

namespace Flurr {

class IGameSystem;
class Message;

enum GameState : int32_t {
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
    // Automation: write every recorded object in the level layout when the
    // loop is about to end, before the objects are destroyed.
    void SetSaveOnExit(std::string file) { saveOnExitFile = std::move(file); }
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

    int32_t currentState = Restart;
    int32_t requestedState = Restart;
    Route route;
    InputActions actions;
    std::vector<IGameSystem*> systems;
    std::unordered_map<int32_t, std::vector<IGameSystem*>> listeners;
    TimerSet timers;

private:
    void FreeFactory();
    void SaveOnExit();

    int64_t frameLimit = 0;
    int64_t framesRun = 0;
    float fixedDt = 0.0f;
    std::function<float(float)> frameStep;
    std::string saveOnExitFile;
    bool saveOnExitFailed = false;
};

// The screen size in pixels, read at start-up by the platform layer before
// the window is made.
extern int32_t ScreenWidth;
extern int32_t ScreenHeight;

} // namespace Flurr
