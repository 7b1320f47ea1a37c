// The game clock, the frame rate and the profile overlay text.

#include "engine/TimerSet.h"
#include "engine/EngineTestSupport.h"

#include <cstring>
#include <thread>

using namespace Flurr;
namespace {

using EngineTest::Contains;

// Game-clock timers see only the frames' time steps: wall time passing
// between frames changes nothing, so a fixed-step run or a replay reads
// the same times on any machine.
TEST(TimerSet, GameClockFollowsFrameSteps) {
    TimerSet timers(TimerClock::Game);
    timers.Start("LogoTime");
    for (const int64_t before = TimerSet::Now(); TimerSet::Now() == before;) // wall time passes
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    EXPECT_EQ(timers.GetTime("LogoTime"), 0.0f);
    for (int i = 0; i < 60; ++i)
        TimerSet::AdvanceGameClock(1.0f / 60.0f);
    EXPECT_NEAR(timers.GetTime("LogoTime"), 1.0f, 1e-5f);
    // Negative or zero steps never run the clock backwards.
    TimerSet::AdvanceGameClock(-5.0f);
    TimerSet::AdvanceGameClock(0.0f);
    EXPECT_NEAR(timers.GetTime("LogoTime"), 1.0f, 1e-5f);
    timers.Stop("LogoTime");
    TimerSet::AdvanceGameClock(0.5f);
    EXPECT_NEAR(timers.GetTime("LogoTime"), 1.0f, 1e-5f);
    timers.Reset("LogoTime");
    timers.Start("LogoTime");
    TimerSet::AdvanceGameClock(0.25f);
    EXPECT_NEAR(timers.GetTime("LogoTime"), 0.25f, 1e-5f);
}

// The overlay leaves out what takes under one percent of the frame, shows
// only the frame rate without detail, and stays within its buffer.
TEST(TimerSet, ProfileTextLeavesOutTheSmallAndStaysWithinItsBuffer) {
    TimerSet timers;
    timers.framesPerSecond = 59.9f;
    timers.timers["Physics"].accumulated = 0.004f;
    timers.timers["Quiet"].accumulated = 0.0001f;
    timers.BuildProfileText(0.02f);
    EXPECT_TRUE(Contains(timers.profileText, "Physics") && !Contains(timers.profileText, "Quiet"))
        << timers.profileText;
    timers.showProfileDetail = false;
    timers.BuildProfileText(0.02f);
    EXPECT_STREQ(timers.profileText, "59 fps  0 ticks/s\n");

    // Far more than the overlay holds, with shares that would spill a buffer.
    timers.showProfileDetail = true;
    for (int i = 0; i < 300; ++i)
        timers.timers[std::string(200, 'a' + i % 26) + std::to_string(i)].accumulated = 1e30f;
    timers.framesPerSecond = 2.0e9f;
    timers.BuildProfileText(1e-30f);
    const std::size_t length = strnlen(timers.profileText, TimerSet::ProfileTextSize);
    EXPECT_LT(length, TimerSet::ProfileTextSize);
    EXPECT_GT(length, TimerSet::ProfileTextSize - 200);
    EXPECT_FALSE(Contains(timers.profileText, std::string(12, '|'))) << "at most 11 bars";
}

TEST(TimerSet, RatesChangeOncePerAccumulatedSecondAndAreShownWhenAsked) {
    TimerSet::ResetFrameCounter();
    Core core;
    auto* graphics = EngineTest::Recorder::AddTo(core, {MessageId::DrawText});
    TimerSet timers;
    timers.timers["Physics"].accumulated = 0.1f;
    for (int i = 0; i < 3; ++i) {
        timers.Update(0.3f, 18); // frames drawn late, each catching up ticks
        EXPECT_EQ(timers.framesPerSecond, 0.0f) << "after frame " << i + 1;
    }
    EXPECT_STREQ(timers.profileText, "0 fps  0 ticks/s\n");
    timers.Update(0.3f, 4); // 1.2 s: four frames counted
    EXPECT_EQ(timers.framesPerSecond, 4.0f);
    EXPECT_EQ(timers.ticksPerSecond, 58.0f);
    // The text was rebuilt for that frame's dt: 0.1 s of 0.3 s.
    EXPECT_TRUE(std::string(timers.profileText).starts_with("4 fps  58 ticks/s\n"))
        << timers.profileText;
    EXPECT_TRUE(Contains(timers.profileText, "( 33%)")) << timers.profileText;
    timers.Update(0.5f);
    EXPECT_EQ(timers.framesPerSecond, 4.0f);
    timers.Update(0.5f); // exactly one second after the last figure
    EXPECT_EQ(timers.framesPerSecond, 2.0f);
    EXPECT_EQ(timers.ticksPerSecond, 2.0f);
    timers.ShowProfile();
    EXPECT_TRUE(graphics->log.empty()) << "not shown unless asked";

    // The count and time are shared: a second set continues the same count.
    TimerSet other;
    other.Update(0.6f);
    timers.showProfile = true;
    timers.Update(0.6f);
    EXPECT_EQ(timers.framesPerSecond, 2.0f);
    EXPECT_EQ(other.framesPerSecond, 0.0f);
    timers.ShowProfile();
    EXPECT_EQ(graphics->log, std::vector<std::string>{"Text " + std::string(timers.profileText)});
    TimerSet::ResetFrameCounter();
}

} // namespace
