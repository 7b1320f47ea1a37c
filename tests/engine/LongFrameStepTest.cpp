// Time steps far too long for a frame (--fixed-dt 1e30, a recording's
// "Dt:1e9" or "Dt:inf"): the game clock saturates instead of overflowing,
// the steps given from outside are cut to the longest a frame may take with
// a warning, and the game runs on.

#include <limits>

#include "engine/EngineTestSupport.h"
#include "engine/TimerSet.h"
#include "platform/InputRecording.h"
#include "tools/ProgramRunner.h"

namespace Flurr {
namespace {

using EngineTest::Contains;

TEST(LongFrameSteps, TheGameClockStopsAtItsEndInsteadOfWrappingRound) {
    TimerSet::ResetGameClock();
    TimerSet timers(TimerClock::Game);
    timers.Start("Level");
    TimerSet::AdvanceGameClock(1.5f);
    EXPECT_NEAR(timers.GetTime("Level"), 1.5f, 1e-6f);
    constexpr int64_t kEnd = std::numeric_limits<int64_t>::max();
    // Ten steps of 1e9 s overflow a signed count of nanoseconds; so would
    // a single step of 1e30 s or an infinite one.
    int64_t last = TimerSet::GameNow();
    for (int i = 0; i < 10; ++i) {
        TimerSet::AdvanceGameClock(1e9f);
        EXPECT_GE(TimerSet::GameNow(), last) << "step " << i;
        last = TimerSet::GameNow();
    }
    EXPECT_EQ(TimerSet::GameNow(), kEnd);
    for (const float step : {1e30f, std::numeric_limits<float>::infinity(), 0.016f}) {
        TimerSet::AdvanceGameClock(step);
        EXPECT_EQ(TimerSet::GameNow(), kEnd) << step;
    }
    EXPECT_NEAR(timers.GetTime("Level"), static_cast<float>(kEnd) * 1e-9f, 1e4f);
    TimerSet::ResetGameClock();
}

TEST(LongFrameSteps, StepsFromOutsideAreCutToTheLongestFrameAndTheGameRunsOn) {
    EngineTest::GameFolder game;
    const EngineTest::TempDir& dir = game.dir;

    // A recording read directly: a huge step is cut, one that is no step
    // at all gets a 60th of a second, each said with its frame.
    const std::string recording = dir.Write(
        "long.zorvel", "Root\n  Seed:7\n  Frame\n    Dt:1e9\n  -Frame\n  Frame\n    Dt:inf\n"
                       "  -Frame\n  Frame\n    Dt:0.02\n  -Frame\n  Frame\n    Dt:60\n  -Frame\n"
                       "-Root\n");
    EngineTest::WarningLog log;
    InputReplay replay;
    std::string error;
    ASSERT_TRUE(replay.Load(recording, error)) << error;
    std::vector<float> steps;
    for (const RecordedFrame& frame : replay.Frames())
        steps.push_back(frame.dt);
    EXPECT_EQ(steps, (std::vector{kMaxFrameStep, 1.0f / 60.0f, 0.02f, kMaxFrameStep}));
    EXPECT_EQ(log.Count(), 2) << log;
    EXPECT_TRUE(log.Contains(recording + ": frame 1 has a Dt of 1e+09 s, more than a frame may "
                                         "step; it gets 60 s"))
        << log;
    EXPECT_TRUE(log.Contains(recording + ": frame 2 has no usable Dt")) << log;

    // The real game at a fixed step of 1e30 s.
    const EngineTest::Outcome run =
        EngineTest::RunGame("--frames 3 --fixed-dt 1e30 --save-on-exit saved.zorvel", dir.Root());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "Warning: --fixed-dt 1e+30 is more than a frame may step; "
                                  "every frame gets 60 s"))
        << run.err;
    EXPECT_TRUE(Contains(dir.Read("saved.zorvel"), "X:7.5\n"));
}

} // namespace
} // namespace Flurr
