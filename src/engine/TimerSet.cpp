#include "engine/TimerSet.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "engine/Core.h"
#include "engine/Message.h"

namespace Flurr {

namespace {

using Clock = std::chrono::steady_clock;

const float kSecondsPerTick = static_cast<float>(static_cast<double>(Clock::period::num) /
                                                 static_cast<double>(Clock::period::den));

// Game clock ticks are nanoseconds of accumulated frame time.
constexpr float kSecondsPerGameTick = 1e-9f;
int64_t gameTicks = 0;

float frameCounter = 0.0f;
float tickCounter = 0.0f;
float frameTimeAccumulated = 0.0f;

// Appends `text` to a buffer of `size` bytes holding a zero-terminated
// string, truncating rather than overflowing.
void AppendBounded(char* buffer, std::size_t size, const char* text) {
    std::size_t used = std::strlen(buffer);
    if (used + 1 >= size)
        return;
    std::snprintf(buffer + used, size - used, "%s", text);
}

} // namespace

int64_t TimerSet::Now() {
    return Clock::now().time_since_epoch().count();
}

void TimerSet::AdvanceGameClock(float dt) {
    if (!(dt > 0.0f))
        return;
    constexpr int64_t kEnd = std::numeric_limits<int64_t>::max();
    // llround is only defined for results that fit; anything near the
    // end of the clock (or infinite) is a step to the end.
    const double ticks = static_cast<double>(dt) * 1e9;
    const int64_t step = ticks < 9e18 ? std::llround(ticks) : kEnd;
    gameTicks = step > kEnd - gameTicks ? kEnd : gameTicks + step;
}

void TimerSet::ResetGameClock() {
    gameTicks = 0;
}

int64_t TimerSet::GameNow() {
    return gameTicks;
}

int64_t TimerSet::Read() const {
    return clock == TimerClock::Game ? gameTicks : Now();
}

void TimerSet::ResetFrameCounter() {
    frameCounter = 0.0f;
    tickCounter = 0.0f;
    frameTimeAccumulated = 0.0f;
}

TimerSet::TimerSet(TimerClock clock_) : clock(clock_) {
    profileText[0] = '\0';
    BuildProfileText(0.0f);
}

Timer& TimerSet::Get(const std::string& name) {
    auto it = timers.find(name);
    if (it == timers.end()) {
        Timer t;
        t.secondsPerTick = clock == TimerClock::Game ? kSecondsPerGameTick : kSecondsPerTick;
        it = timers.emplace(name, t).first;
    }
    return it->second;
}

void TimerSet::Start(const std::string& name) {
    Timer& t = Get(name);
    if (!t.running) {
        t.running = true;
        t.start = Read();
    }
}

void TimerSet::Stop(const std::string& name) {
    Timer& t = Get(name);
    if (t.running) {
        t.running = false;
        t.accumulated +=
            static_cast<float>(static_cast<double>(Read() - t.start) * t.secondsPerTick);
    }
}

void TimerSet::Reset(const std::string& name) {
    Timer& t = Get(name);
    t.accumulated = 0.0f;
    t.start = Read();
}

float TimerSet::GetTime(const std::string& name) {
    Timer& t = Get(name);
    float time = t.accumulated;
    if (t.running)
        time += static_cast<float>(static_cast<double>(Read() - t.start) * t.secondsPerTick);
    return time;
}

void TimerSet::Update(float dt, int32_t ticks) {
    frameCounter += 1.0f;
    tickCounter += static_cast<float>(ticks);
    frameTimeAccumulated += dt;
    if (frameTimeAccumulated >= 1.0f) {
        framesPerSecond = frameCounter;
        ticksPerSecond = tickCounter;
        frameCounter = 0.0f;
        tickCounter = 0.0f;
        frameTimeAccumulated = 0.0f;
        BuildProfileText(dt);
    }
}

void TimerSet::ShowProfile() {
    if (showProfile && Core::Instance()) {
        DrawTextMessage m;
        m.text = profileText;
        m.left = 5;
        m.top = 5;
        m.font = "DebugText";
        Core::Instance()->SendMessage(&m);
    }
}

void TimerSet::BuildProfileText(float dt) {
    std::snprintf(profileText, ProfileTextSize, "%d fps  %d ticks/s\n",
                  static_cast<int>(framesPerSecond), static_cast<int>(ticksPerSecond));
    if (!showProfileDetail)
        return;
    // Collect names first: GetTime may create nothing here, but keep the
    // walk independent of the map anyway.
    for (auto& [name, timer] : timers) {
        (void)timer;
        float v = GetTime(name);
        if (!(dt / 100.0f <= v))
            continue;
        char line[512];
        std::snprintf(line, sizeof line, "%-20.20s %f", name.c_str(), static_cast<double>(v));
        if (name != "FrameTime" && name != "GameTime") {
            char share[32];
            std::snprintf(share, sizeof share, "  (%3.f%%)  ",
                          static_cast<double>(v / dt * 100.0f));
            // One bar per 2 ms of a 16 ms frame, at most eleven.
            for (int i = 1; i < 12 && static_cast<float>(i) < (v / 0.016f) * 8.0f; ++i)
                AppendBounded(share, sizeof share, "|");
            AppendBounded(line, sizeof line, share);
        }
        AppendBounded(line, sizeof line, "\n");
        AppendBounded(profileText, ProfileTextSize, line);
    }
}

} // namespace Flurr
