#pragma once
// The Core: the one engine object of the process. It owns every system,
// runs start-up, the main loop with its level changes, the per-system
// timing behind the profile overlay, and the orderly shutdown. It also
// holds the game's action map (which keys and pad buttons do what). It is
// not a system itself.
//
// Ticks and frames: the game's rules were tuned at 60 updates a second, so
// the simulation runs at a fixed 60 ticks a second of game time, apart
// from drawing. Each tick, every system's Update(kTickSeconds) runs once,
// in creation order, each timed under its name. A drawn frame runs as many
// ticks as the time since the last one owes (at most kMaxTicksPerFrame:
// after a stall the rest of the time is let go rather than caught up), and
// waits for the next tick when drawing is faster than ticking. The window
// pumps its events on a frame's first tick and the renderer draws on its
// last (CurrentTick()). A fixed step (SetFixedDt) or a replay makes every
// frame exactly one tick of the given step, so automation and recordings
// are tick-exact whatever the machine.
//
// Any system may call RequestState() during a tick; once a tick ends with
// the requested state differing from the current one, the frame ends there
// and the loop acts on it.
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

// Game time per tick, and how far a drawn frame may fall behind before the
// loop lets time go.
inline constexpr float kTickSeconds = 1.0f / 60.0f;
inline constexpr int32_t kMaxTicksPerFrame = 4;

// Where the running tick sits in its drawn frame.
struct FrameTick {
    int32_t index = 0;
    int32_t count = 1;
    // Game time of the frame's ticks so far, this one included: on the last
    // tick, the game time the drawn frame covers.
    float frameSeconds = 0.0f;
    bool First() const { return index == 0; }
    bool Last() const { return index + 1 >= count; }
};

// The clock the loop paces itself by: seconds on a steady clock, and a wait
// that returns once that clock has reached a given reading. Tests drive
// the loop on a clock of their own.
struct LoopClock {
    std::function<double()> now;
    std::function<void(double)> waitUntil;
    static LoopClock Steady();
};

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

    // Runs one drawn frame: its ticks, then the frame's count for the
    // overlay (the state comparison is the caller's). Exposed for tests
    // that drive frames by hand.
    void RunFrame();
    // The tick under way (index 0 of 1 outside a frame or without a core).
    static FrameTick CurrentTick();
    void SetClock(LoopClock loopClock) { clock = std::move(loopClock); }

    // Automation: stop after this many frames (0: never).
    void SetFrameLimit(int64_t frames) { frameLimit = frames; }
    // Automation: every frame is one tick of this step, as fast as the
    // machine goes (0: real time).
    void SetFixedDt(float seconds) { fixedDt = seconds; }
    // Input recording and replay: called at the start of every tick with
    // its step; the result is the step the tick runs with. A hook that
    // `drives` (a replay) makes every frame one tick, since the recording
    // says what each tick was. Null: no hook.
    void SetTickStep(std::function<float(float)> hook, bool drives = false) {
        tickStep = std::move(hook);
        tickStepDrives = tickStep && drives;
    }
    // Automation: called when the loop is about to end, before the level's
    // objects are destroyed (the game writes them to a level file); false
    // marks the run as failed.
    void SetSaveOnExit(std::function<bool()> save) { saveOnExit = std::move(save); }
    bool SaveOnExitFailed() const { return saveOnExitFailed; }
    int64_t FramesRun() const { return framesRun; }
    int64_t TicksRun() const { return ticksRun; }
    float FixedDt() const { return fixedDt; }

    const std::vector<IGameSystem*>& Systems() const { return systems; }

    // The keys and pad buttons of each action: the process's core's map,
    // or today's bindings without a core (a component tested on its own).
    static const InputActions& Actions();
    // This core's map, to rebind (the player's settings, the controls
    // screen).
    InputActions& MutableActions() { return actions; }

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
    // How many ticks this frame runs, and of what step; waits first when
    // no tick is due yet.
    int32_t PlanTicks(float& step);
    void ToggleProfile(uint8_t key);

    GameState currentState = GameState::Restart;
    GameState requestedState = GameState::Restart;
    std::unique_ptr<ILevelRoute> route;
    void SaveOnExit();

    int64_t frameLimit = 0;
    int64_t framesRun = 0;
    int64_t ticksRun = 0;
    float fixedDt = 0.0f;
    std::function<float(float)> tickStep;
    bool tickStepDrives = false;
    LoopClock clock = LoopClock::Steady();
    // The clock's reading when the last frame was planned (negative: none
    // yet this level), and the game time owed to the simulation since.
    double lastPlanned = -1.0;
    double owed = 0.0;
    FrameTick tick;
    std::function<bool()> saveOnExit;
    IGameSystem* levelOwner = nullptr;
    bool saveOnExitFailed = false;
};

// The screen size in pixels, read at start-up by the platform layer before
// the window is made.
extern int32_t ScreenWidth;
extern int32_t ScreenHeight;

} // namespace Flurr
