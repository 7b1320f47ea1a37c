// The game runs at the same speed whatever the drawing rate: the real game
// on a clock of the test's own, whose drawn frames take as long as it says.

#include "platform/InputRecording.h"
#include "player/PlayerTestSupport.h"

using namespace Flurr;
namespace {

// The loop's clock: each drawn frame takes `frameSeconds`, and waiting
// moves the clock on to the time waited for.
struct TestClock {
    double now = 0.0;
    double frameSeconds = 0.0;
    LoopClock Clock() {
        return {[this] { return now; }, [this](double until) { now = std::max(now, until); }};
    }
};

// The player sprinting right from a stand, as the game saw it.
struct Sprint {
    std::vector<float> xs; // after every tick
    std::vector<int32_t> ticksPerFrame;
    double seconds = 0.0; // on the test's clock
};

// Stands the player, then holds D and Shift on `clock` until `ticks` ticks
// ran. `hook` runs after every frame.
Sprint RunRight(PlayerTest::PlayerGame& game, TestClock& clock, int ticks,
                const std::function<void(int frame)>& hook = nullptr) {
    game.Stand(0.0f);
    game.core->SetClock(clock.Clock());
    game.core->SetFixedDt(0.0f);
    Sprint run;
    game.heard->onUpdate = [&](float) {
        run.xs.push_back(game.Body().position.x);
        if (Core::CurrentTick().Last())
            clock.now += clock.frameSeconds; // the drawing is done
    };
    PlatformTest::Push(
        {PlatformTest::Key(SDL_SCANCODE_LSHIFT, true), PlatformTest::Key(SDL_SCANCODE_D, true)});
    const double start = clock.now;
    for (int frame = 0; static_cast<int>(run.xs.size()) < ticks; ++frame) {
        const int64_t before = game.core->TicksRun();
        game.core->RunFrame();
        run.ticksPerFrame.push_back(static_cast<int32_t>(game.core->TicksRun() - before));
        if (hook)
            hook(frame);
    }
    run.seconds = clock.now - start;
    game.heard->onUpdate = nullptr;
    return run;
}

TEST(GameSpeed, ThePlayerCoversTheSameGroundPerGameSecondAtAnyDrawingRate) {
    constexpr int kTicks = 120; // two seconds of game time
    std::map<double, Sprint> runs;
    for (double frameMs : {50.0, 16.7, 7.0}) {
        PlayerTest::PlayerGame game;
        TestClock clock{.frameSeconds = frameMs / 1000.0};
        runs[frameMs] = RunRight(game, clock, kTicks);
    }
    const Sprint& slow = runs[50.0];
    ASSERT_GE(slow.xs.size(), static_cast<std::size_t>(kTicks));
    EXPECT_GT(slow.xs[kTicks - 1] - slow.xs[0], 300.0f) << "the player ran";
    for (const auto& [frameMs, run] : runs) {
        SCOPED_TRACE(testing::Message() << frameMs << " ms a frame");
        // Tick for tick the same game, and a tick of the clock's time each
        // (give or take the first frame's wait and the last frame).
        ASSERT_GE(run.xs.size(), static_cast<std::size_t>(kTicks));
        EXPECT_EQ(std::vector<float>(run.xs.begin(), run.xs.begin() + kTicks),
                  std::vector<float>(slow.xs.begin(), slow.xs.begin() + kTicks));
        EXPECT_NEAR(run.seconds, kTicks / 60.0, frameMs / 1000.0 + 1.0 / 60.0 + 1e-3);
        // Frames faster than ticks wait for the next tick instead of drawing
        // the same world again.
        EXPECT_EQ(*std::ranges::max_element(run.ticksPerFrame), frameMs > 20.0 ? 3 : 1);
    }
}

// A stall lets time go, F3 shows the rates, and a recording holds ticks:
// made while frames ran three ticks each (four after the stall), it replays
// one tick a frame into the very same game.
TEST(GameSpeed, AStallLetsTimeGoF3ShowsTheRatesAndTheRecordingReplaysTickForTick) {
    EngineTest::TempDir dir;
    InputRecorder recorder(12345);
    Sprint recorded;
    {
        PlayerTest::PlayerGame game("", 0, "", {.recorder = &recorder});
        TestClock clock{.frameSeconds = 0.05};
        recorded = RunRight(game, clock, 240, [&](int frame) {
            if (frame == 10) {
                clock.now += 1.0; // a second lost between two frames
                PlatformTest::Push({PlatformTest::Key(SDL_SCANCODE_F3, true)});
            }
        });
        // At most four ticks catch up, the rest of that second is let go,
        // and the game goes on at full speed.
        const std::vector<int32_t> around(recorded.ticksPerFrame.begin() + 10,
                                          recorded.ticksPerFrame.begin() + 13);
        EXPECT_EQ(around, (std::vector<int32_t>{3, 4, 3}));
        EXPECT_TRUE(game.core->timers.showProfile) << "F3 shows the overlay";
        // The last full second counted: 20 frames of three ticks each.
        EXPECT_NEAR(game.core->timers.framesPerSecond, 20.0f, 1.0f);
        EXPECT_NEAR(game.core->timers.ticksPerSecond, 60.0f, 3.0f);
        EXPECT_FALSE(game.heard->Lines("Text ").empty());
        game.Frame({PlatformTest::Key(SDL_SCANCODE_F3, false)});
        game.Frame({PlatformTest::Key(SDL_SCANCODE_F3, true)});
        EXPECT_FALSE(game.core->timers.showProfile) << "F3 again hides it";
    }
    ASSERT_TRUE(recorder.Save(dir.Path("slow.zorvel")));
    InputReplay replay;
    std::string error;
    ASSERT_TRUE(replay.Load(dir.Path("slow.zorvel"), error)) << error;

    PlayerTest::PlayerGame game("", 0, "", {.replay = &replay});
    game.Stand(0.0f);
    std::vector<float> xs;
    game.heard->onUpdate = [&](float) { xs.push_back(game.Body().position.x); };
    while (!game.QuitRequested()) {
        const int64_t before = game.core->TicksRun();
        game.core->RunFrame();
        ASSERT_EQ(game.core->TicksRun() - before, 1);
    }
    ASSERT_GE(xs.size(), recorded.xs.size()) << "the F3 frames follow the sprint";
    xs.resize(recorded.xs.size());
    EXPECT_EQ(xs, recorded.xs);
}

} // namespace
