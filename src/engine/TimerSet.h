#pragma once
// Named stopwatches on the steady clock, and the profile overlay text.
// The core owns one (frame time, game time, one timer per system); pause
// menu, buttons, editor, logo screen, birds and transitions own their own.
//
// Every operation works on any name: a name not seen before gets a fresh,
// stopped timer on the spot.

#include <cstdint>
#include <string>
#include <unordered_map>

namespace Flurr {

struct Timer {
    int64_t start = 0;        // clock ticks at the last start or reset
    float accumulated = 0.0f; // seconds, up to the last stop
    float secondsPerTick = 0.0f;
    bool running = false;
};

class TimerSet {
public:
    static constexpr std::size_t ProfileTextSize = 2048;

    TimerSet();

    void Start(const std::string& name);
    void Stop(const std::string& name);
    void Reset(const std::string& name);
    float GetTime(const std::string& name);

    // Counts the frame for the frame-rate figure; once per accumulated
    // second rebuilds the overlay text; sends it to be drawn when shown.
    void Update(float dt);

    // Rebuilds `profileText` for a frame of `dt` seconds.
    void BuildProfileText(float dt);

    float framesPerSecond = 0.0f;
    std::unordered_map<std::string, Timer> timers;
    char profileText[ProfileTextSize];
    bool showProfile = false;
    bool showProfileDetail = true;

    // The frame counter and accumulated time behind the frame-rate figure
    // are shared by every TimerSet; tests reset them.
    static void ResetFrameCounter();

    // Current reading of the steady clock, in ticks.
    static int64_t Now();

private:
    Timer& Get(const std::string& name);
};

} // namespace Flurr
