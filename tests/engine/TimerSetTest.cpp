// Named stopwatches, the frame-rate figure and the profile overlay text.

#include "engine/TimerSet.h"
#include "engine/EngineTestSupport.h"

#include <cstring>
#include <thread>

using namespace Flurr;
namespace {

using EngineTest::Contains;

// Waits until the clock has visibly moved on, so a second reading differs.
void LetTimePass() {
    const int64_t before = TimerSet::Now();
    while (TimerSet::Now() == before)
        std::this_thread::sleep_for(std::chrono::microseconds(50));
}

TEST(TimerSet, StopwatchOperations) {
    TimerSet timers;
    // An unknown name reads 0 and comes into being, stopped.
    EXPECT_EQ(timers.GetTime("Never"), 0.0f);
    EXPECT_FALSE(timers.timers.at("Never").running);
    // A second start keeps the first start time; stop folds the running
    // time in, and stopping again changes nothing.
    timers.Start("Physics");
    const int64_t firstStart = timers.timers["Physics"].start;
    LetTimePass();
    timers.Start("Physics");
    EXPECT_EQ(timers.timers["Physics"].start, firstStart);
    LetTimePass();
    timers.Stop("Physics");
    const float stopped = timers.GetTime("Physics");
    EXPECT_GT(stopped, 0.0f);
    LetTimePass();
    timers.Stop("Physics");
    EXPECT_EQ(timers.GetTime("Physics"), stopped);
    // Reset clears the time but not the running flag; a running timer
    // reads its accumulated time plus the time since its start.
    timers.Start("Logic");
    timers.timers["Logic"].accumulated = 2.5f;
    timers.Reset("Logic");
    EXPECT_TRUE(timers.timers["Logic"].running);
    EXPECT_LT(timers.GetTime("Logic"), 2.5f);
    timers.timers["Logic"].accumulated = 10.0f;
    EXPECT_GE(timers.GetTime("Logic"), 10.0f);
}

// Game-clock timers see only the frames' time steps: wall time passing
// between frames changes nothing, so a fixed-step run or a replay reads
// the same times on any machine.
TEST(TimerSet, GameClockFollowsFrameSteps) {
    TimerSet timers(TimerClock::Game);
    timers.Start("LogoTime");
    LetTimePass();
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

TEST(TimerSet, ProfileTextSharesTheFrameAndStaysWithinItsBuffer) {
    TimerSet timers;
    timers.framesPerSecond = 59.9f;
    timers.timers["FrameTime"].accumulated = 0.02f;
    timers.timers["GameTime"].accumulated = 12.5f;
    timers.timers["Physics"].accumulated = 0.004f;
    timers.timers["ParticleSystem"].accumulated = 0.016f;
    timers.timers["TransitionSystemWithALongName"].accumulated = 0.001f;
    timers.timers["Quiet"].accumulated = 0.0001f; // under one percent: left out
    timers.BuildProfileText(0.02f);
    // The share of the frame, a bar per two milliseconds (at most seven
    // for a full frame), names cut at 20 characters, and the core's two
    // clocks without a share.
    const std::string text = timers.profileText;
    EXPECT_TRUE(text.starts_with("59\n") && !Contains(text, "Quiet")) << text;
    for (const char* line :
         {"\nParticleSystem       0.016000  ( 80%)  |||||||\n",
          "\nPhysics              0.004000  ( 20%)  |\n",
          "\nTransitionSystemWith 0.001000  (  5%)  \n", "\nFrameTime            0.020000\n",
          "\nGameTime             12.500000\n"})
        EXPECT_TRUE(Contains(text, line)) << line << " in " << text;
    // Without detail only the frame-rate line remains.
    timers.showProfileDetail = false;
    timers.BuildProfileText(0.02f);
    EXPECT_STREQ(timers.profileText, "59\n");

    // Far more text than the overlay holds, with absurd shares that would
    // spill a small buffer if any write were unbounded.
    timers.showProfileDetail = true;
    for (int i = 0; i < 300; ++i)
        timers.timers[std::string(200, 'a' + i % 26) + std::to_string(i)].accumulated = 1e30f;
    timers.framesPerSecond = 2.0e9f;
    timers.BuildProfileText(1e-30f);
    const std::size_t length = strnlen(timers.profileText, TimerSet::ProfileTextSize);
    EXPECT_LT(length, TimerSet::ProfileTextSize);
    EXPECT_GT(length, TimerSet::ProfileTextSize - 200);
    // Every share is cut at eleven bars.
    EXPECT_FALSE(Contains(timers.profileText, std::string(12, '|')));
}

TEST(TimerSet, FrameRateChangesOncePerAccumulatedSecondAndIsShownWhenAsked) {
    TimerSet::ResetFrameCounter();
    Core core;
    auto* graphics = EngineTest::Recorder::AddTo(core, {MessageId::DrawText});
    TimerSet timers;
    timers.timers["Physics"].accumulated = 0.1f;
    for (int i = 0; i < 3; ++i) {
        timers.Update(0.3f);
        EXPECT_EQ(timers.framesPerSecond, 0.0f) << "after frame " << i + 1;
    }
    EXPECT_STREQ(timers.profileText, "0\n");
    timers.Update(0.3f); // 1.2 s: four frames counted
    EXPECT_EQ(timers.framesPerSecond, 4.0f);
    // The text was rebuilt for that frame's dt: 0.1 s of 0.3 s.
    EXPECT_TRUE(std::string(timers.profileText).starts_with("4\n")) << timers.profileText;
    EXPECT_TRUE(Contains(timers.profileText, "( 33%)")) << timers.profileText;
    timers.Update(0.5f);
    EXPECT_EQ(timers.framesPerSecond, 4.0f);
    timers.Update(0.5f); // exactly one second after the last figure
    EXPECT_EQ(timers.framesPerSecond, 2.0f);
    EXPECT_TRUE(graphics->log.empty()) << "not shown unless asked";

    // The count and time are shared: a second set continues the same count.
    TimerSet other;
    other.Update(0.6f);
    timers.showProfile = true;
    timers.Update(0.6f);
    EXPECT_EQ(timers.framesPerSecond, 2.0f);
    EXPECT_EQ(other.framesPerSecond, 0.0f);
    EXPECT_EQ(graphics->log, std::vector<std::string>{"Text " + std::string(timers.profileText)});
    TimerSet::ResetFrameCounter();
}

} // namespace
