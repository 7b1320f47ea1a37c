#pragma once
// Named stopwatches on the steady clock, and the profile overlay text.
// The core owns one (frame time, game time, one timer per system); parts
// that time things of their own (the logo screen) own theirs.
//
// Every operation works on any name: a name not seen before gets a fresh,
// stopped timer on the spot.
//
// A set reads either the steady clock (profiling, frame measurement) or
// the game clock, which advances only by each frame's time step. Gameplay
// timers (the logo screen's fades, for one) use the game clock, so a run
// at a fixed step or a replayed recording sees exactly the same times
// whatever the machine's speed.

#include <cstdint>
#include <string>
#include <unordered_map>

namespace Flurr {

// The longest time step one frame may be given from outside (--fixed-dt, a
// recording's "Dt"), in seconds: longer than any stall a real run meets,
// short enough that no clock or counter driven by the step can overflow.
inline constexpr float kMaxFrameStep = 60.0f;

enum class TimerClock { Steady, Game };

struct Timer {
    int64_t start = 0;        // clock ticks at the last start or reset
    float accumulated = 0.0f; // seconds, up to the last stop
    float secondsPerTick = 0.0f;
    bool running = false;
};

class TimerSet {
public:
    static constexpr std::size_t ProfileTextSize = 2048;

    explicit TimerSet(TimerClock clock = TimerClock::Steady);

    void Start(const std::string& name);
    void Stop(const std::string& name);
    void Reset(const std::string& name);
    float GetTime(const std::string& name);

    // Counts a drawn frame of `dt` seconds that ran `ticks` ticks for the
    // rate figures; once per accumulated second rebuilds the overlay text.
    void Update(float dt, int32_t ticks = 1);
    // Sends the overlay text to be drawn, when shown.
    void ShowProfile();

    // Rebuilds `profileText` for a frame of `dt` seconds.
    void BuildProfileText(float dt);

    float framesPerSecond = 0.0f;
    float ticksPerSecond = 0.0f;
    std::unordered_map<std::string, Timer> timers;
    char profileText[ProfileTextSize];
    bool showProfile = false;
    bool showProfileDetail = true;

    // The frame and tick counters and accumulated time behind the rate
    // figures are shared by every TimerSet; tests reset them.
    static void ResetFrameCounter();

    // Current reading of the steady clock, in ticks.
    static int64_t Now();

    // The game clock: the core advances it by every frame's time step
    // before the systems update. It saturates: a step that would carry it
    // past its end (292 years) leaves it there instead of wrapping round.
    static void AdvanceGameClock(float dt);
    static int64_t GameNow();
    // Back to 0, for tests; a game-clock timer running across it reads
    // nonsense.
    static void ResetGameClock();

private:
    Timer& Get(const std::string& name);
    int64_t Read() const;

    TimerClock clock;
};

} // namespace Flurr
