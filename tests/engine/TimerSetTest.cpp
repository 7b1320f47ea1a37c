// Named stopwatches, the frame-rate figure and the profile overlay text.

#include "engine/TimerSet.h"
#include "engine/EngineTestSupport.h"

#include <cstring>
#include <optional>
#include <thread>

namespace Flurr {
namespace {

using EngineTest::Contains;

// Waits until the clock has visibly moved on, so a second reading differs.
void LetTimePass() {
    const int64_t before = TimerSet::Now();
    while (TimerSet::Now() == before)
        std::this_thread::sleep_for(std::chrono::microseconds(50));
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The overlay line that starts with `name` padded to 20 columns.
std::string LineFor(const std::string& text, const std::string& name) {
    for (const std::string& line : Lines(text))
        if (line.rfind(name, 0) == 0)
            return line;
    return {};
}

TEST(TimerSet, StopwatchOperations) {
    TimerSet timers;

    // An unknown name reads 0 and comes into being, stopped.
    EXPECT_EQ(timers.GetTime("Never"), 0.0f);
    ASSERT_EQ(timers.timers.count("Never"), 1u);
    EXPECT_FALSE(timers.timers["Never"].running);
    EXPECT_GT(timers.timers["Never"].secondsPerTick, 0.0f);

    // A second start keeps the first start time.
    timers.Start("Physics");
    const int64_t firstStart = timers.timers["Physics"].start;
    LetTimePass();
    timers.Start("Physics");
    EXPECT_EQ(timers.timers["Physics"].start, firstStart);
    EXPECT_TRUE(timers.timers["Physics"].running);

    // Stop folds the running time in; stopping again changes nothing.
    LetTimePass();
    timers.Stop("Physics");
    const float stopped = timers.timers["Physics"].accumulated;
    EXPECT_GT(stopped, 0.0f);
    EXPECT_FALSE(timers.timers["Physics"].running);
    LetTimePass();
    timers.Stop("Physics");
    EXPECT_EQ(timers.timers["Physics"].accumulated, stopped);
    EXPECT_EQ(timers.GetTime("Physics"), stopped);

    // A stop of a timer that never ran creates it and leaves it at zero.
    timers.Stop("Sound");
    EXPECT_EQ(timers.GetTime("Sound"), 0.0f);

    // Reset clears the time but not the running flag.
    timers.timers["Logic"].accumulated = 2.5f;
    timers.Reset("Logic");
    EXPECT_EQ(timers.GetTime("Logic"), 0.0f);
    EXPECT_FALSE(timers.timers["Logic"].running);
    timers.Start("Logic");
    timers.Reset("Logic");
    EXPECT_TRUE(timers.timers["Logic"].running);

    // A running timer reads its accumulated time plus the time since start.
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

TEST(TimerSet, ProfileTextLines) {
    TimerSet timers;
    // Built once at construction for a frame of 0: just the frame rate.
    EXPECT_STREQ(timers.profileText, "0\n");

    timers.framesPerSecond = 59.9f;
    timers.timers["FrameTime"].accumulated = 0.02f;
    timers.timers["GameTime"].accumulated = 12.5f;
    timers.timers["Physics"].accumulated = 0.004f;
    timers.timers["ParticleSystem"].accumulated = 0.016f;
    timers.timers["TransitionSystemWithALongName"].accumulated = 0.001f;
    // Under one percent of the frame: left out.
    timers.timers["Quiet"].accumulated = 0.0001f;
    timers.BuildProfileText(0.02f);
    const std::string text = timers.profileText;

    EXPECT_EQ(Lines(text).front(), "59");
    EXPECT_EQ(Lines(text).size(), 6u) << text;
    EXPECT_FALSE(Contains(text, "Quiet"));

    // 0.004 s of 0.02 s is 20 percent, and two milliseconds draw one bar.
    EXPECT_EQ(LineFor(text, "Physics"), "Physics              0.004000  ( 20%)  |");
    // A full 16 ms frame: bars while i < 8, so seven.
    EXPECT_EQ(LineFor(text, "ParticleSystem"), "ParticleSystem       0.016000  ( 80%)  |||||||");
    // Names are cut to 20 characters; 0.5 ms is under one bar.
    EXPECT_EQ(LineFor(text, "TransitionSystemWith"), "TransitionSystemWith 0.001000  (  5%)  ");
    // The two clocks of the core carry no share of the frame.
    EXPECT_EQ(LineFor(text, "FrameTime"), "FrameTime            0.020000");
    EXPECT_EQ(LineFor(text, "GameTime"), "GameTime             12.500000");

    // Without detail only the frame-rate line remains.
    timers.showProfileDetail = false;
    timers.BuildProfileText(0.02f);
    EXPECT_STREQ(timers.profileText, "59\n");
}

TEST(TimerSet, ProfileTextStaysWithinItsBuffers) {
    TimerSet timers;
    // Far more text than the overlay holds, with absurd shares that would
    // spill a small buffer if any write were unbounded.
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

TEST(TimerSet, FrameRateChangesOncePerAccumulatedSecond) {
    TimerSet::ResetFrameCounter();
    TimerSet timers;
    timers.timers["Physics"].accumulated = 0.1f;

    for (int i = 0; i < 3; ++i) {
        timers.Update(0.3f);
        EXPECT_EQ(timers.framesPerSecond, 0.0f) << "after frame " << i + 1;
    }
    EXPECT_STREQ(timers.profileText, "0\n");
    timers.Update(0.3f); // 1.2 s: four frames counted
    EXPECT_EQ(timers.framesPerSecond, 4.0f);
    EXPECT_EQ(Lines(timers.profileText).front(), "4");
    // The text was rebuilt for that frame's dt: 0.1 s of 0.3 s.
    EXPECT_TRUE(Contains(timers.profileText, "( 33%)")) << timers.profileText;

    timers.Update(0.5f);
    EXPECT_EQ(timers.framesPerSecond, 4.0f);
    timers.Update(0.5f); // exactly one second after the last figure
    EXPECT_EQ(timers.framesPerSecond, 2.0f);
    EXPECT_EQ(Lines(timers.profileText).front(), "2");

    // The count and time are shared: a second set continues the same count.
    TimerSet other;
    other.Update(0.6f);
    timers.Update(0.6f);
    EXPECT_EQ(timers.framesPerSecond, 2.0f);
    EXPECT_EQ(other.framesPerSecond, 0.0f);
    TimerSet::ResetFrameCounter();
}

TEST(TimerSet, OverlayIsDrawnOnlyWhenShown) {
    TimerSet::ResetFrameCounter();
    Core core;
    auto* graphics = new EngineTest::Recorder("graphics");
    core.AddSystem(graphics);
    core.RegisterForMessage(graphics, MessageId::DrawText);
    std::optional<DrawTextMessage> shown;
    graphics->onMessage = [&](Message* m) {
        if (const auto* text = As<DrawTextMessage>(m))
            shown.emplace(*text);
    };

    TimerSet timers;
    timers.Update(0.01f);
    EXPECT_TRUE(graphics->ids.empty());

    timers.showProfile = true;
    timers.Update(0.01f);
    ASSERT_EQ(graphics->ids.size(), 1u);
    ASSERT_TRUE(shown.has_value());
    const DrawTextMessage& seen = *shown;
    EXPECT_EQ(seen.text, timers.profileText);
    EXPECT_EQ(seen.left, 5);
    EXPECT_EQ(seen.top, 5);
    EXPECT_EQ(seen.font, "DebugText");
    EXPECT_EQ(seen.red, 0.0f);
    EXPECT_EQ(seen.green, 0.0f);
    EXPECT_EQ(seen.blue, 0.0f);
    EXPECT_EQ(seen.alpha, 255.0f);
    EXPECT_FALSE(seen.shadow);
    EXPECT_EQ(seen.right, 9999);
    EXPECT_EQ(seen.bottom, 9999);
    TimerSet::ResetFrameCounter();
}

} // namespace
} // namespace Flurr
