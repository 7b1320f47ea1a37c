// Recording input and replaying it: the same messages, frame by frame.

#include "platform/InputRecording.h"
#include "platform/PlatformTestSupport.h"
#include "platform/WindowMessages.h"
#include "tools/ProgramRunner.h"

using namespace Flurr;
namespace {

using namespace EngineTest;
using namespace PlatformTest;

TEST(InputRecording, ReplayReproducesTheMessagesFrameByFrame) {
    TempDir dir;
    const std::string file = dir.Path("session.zorvel");
    std::vector<Lines> recorded;
    std::vector<float> recordedSteps;
    {
        InputRecorder recorder(1234);
        Game game({.recorder = &recorder});
        // Varying steps, as a measured clock would give.
        const float steps[] = {0.016f, 0.017f, 0.0151f, 0.033f, 0.016f, 0.02f, 0.016f};
        const std::vector<SDL_Event> inputs[] = {
            {},
            {Key(SDL_SCANCODE_D, true), Motion(10, 20)},
            {Button(SDL_BUTTON_LEFT, true, 10, 20)},
            {Text("hi"), Wheel(1)},
            {Key(SDL_SCANCODE_D, false), Button(SDL_BUTTON_LEFT, false, 12, 22)},
            {},
            {Key(SDL_SCANCODE_SPACE, true)}};
        for (std::size_t i = 0; i < std::size(steps); ++i) {
            game.core->SetFixedDt(steps[i]);
            recorded.push_back(game.Frame(inputs[i]));
        }
        recordedSteps = game.heard->steps;
        ASSERT_TRUE(recorder.Save(file));
        EXPECT_EQ(recorder.Frames().size(), std::size(steps));
    }
    EXPECT_EQ(recorded[1], (Lines{"MouseMoved 10 20 0", "KeyTriggered 68"}))
        << "the session had something in it worth replaying";

    InputReplay replay;
    std::string error;
    ASSERT_TRUE(replay.Load(file, error)) << error;
    EXPECT_EQ(replay.Seed(), 1234u);
    InputRecorder again(replay.Seed());
    Game game({.recorder = &again, .replay = &replay});
    // Live devices are not listened to during a replay.
    Push({Key(SDL_SCANCODE_Q, true)});
    std::vector<Lines> replayed;
    while (!game.QuitRequested() && replayed.size() < 100)
        replayed.push_back(game.Frame());
    EXPECT_EQ(replayed, recorded);
    EXPECT_EQ(game.heard->steps, recordedSteps);

    ASSERT_TRUE(again.Save(dir.Path("again.zorvel")));
    EXPECT_EQ(dir.Read("again.zorvel"), dir.Read("session.zorvel")) << "recorded again, the same";
}

TEST(InputRecording, EventsReadBackAsWrittenAndDamagedFilesAsFarAsTheyMakeSense) {
    const PadState pad{true, 0x9001, 255, 3, -32768, 32767, -1, 0};
    const PlatformEvent events[] = {
        PlatformEvent::WindowMessage(WM::KeyUp, 65, int32_t(0xC0000001u)),
        PlatformEvent::WindowMessage(WM::MouseWheel, -7864320, PackPoint(-3, 40)),
        PlatformEvent::KeyState(255, true),
        PlatformEvent::KeyState(MouseButton::Left, false),
        PlatformEvent::FocusState(true),
        PlatformEvent::PadChange(pad),
        PlatformEvent::PadChange(PadState{}),
    };
    for (const PlatformEvent& event : events) {
        const std::string text = EventToText(event);
        const auto back = EventFromText(text);
        ASSERT_TRUE(back.has_value()) << text;
        EXPECT_EQ(*back, event) << text;
    }
    // What a hand-edited or damaged file might hold is refused, not guessed.
    for (const char* bad : {"", "W", "W 1 2", "W 1 2 3 4", "K 256 1", "K 65 2", "K -1 0", "F 2",
                            "P 1 65536 0 0 0 0 0 0", "P 1 0 0 0 40000 0 0 0", "P 1 0 0 0 0 0 0",
                            "X 1", "W 1 2 x", "W 1 2 3x", "W 99999999999 0 0", "K65 1"})
        EXPECT_FALSE(EventFromText(bad).has_value()) << "'" << bad << "'";

    // Damaged recordings are read as far as they make sense.
    TempDir dir;
    InputReplay replay;
    std::string error;
    EXPECT_FALSE(replay.Load(dir.Path("missing.zorvel"), error));
    EXPECT_TRUE(Contains(error, "missing.zorvel")) << error;

    const std::string file = dir.Write(
        "damaged.zorvel", "Root\n  Seed:77\n  Frame\n    Dt:0.02\n    List#3:Events\n      K 65 1\n"
                          "      nonsense\n      F 1\n    -Events\n  -Frame\n"
                          "  Frame\n    Dt:-4\n  -Frame\n  Frame\n  -Frame\n-Root\n");
    EngineTest::WarningLog log;
    ASSERT_TRUE(replay.Load(file, error)) << error;
    EXPECT_TRUE(log.Contains("nonsense") && log.Contains("frame 2")) << log;
    EXPECT_EQ(replay.Seed(), 77u);
    ASSERT_EQ(replay.Frames().size(), 3u);
    EXPECT_EQ(replay.Frames()[0].events,
              (std::vector<PlatformEvent>{PlatformEvent::KeyState(65, true),
                                          PlatformEvent::FocusState(true)}));
    // A negative or missing step becomes one frame at 60 per second.
    EXPECT_FLOAT_EQ(replay.Frames()[1].dt, 1.0f / 60.0f);
    EXPECT_FLOAT_EQ(replay.Frames()[2].dt, 1.0f / 60.0f);

    EXPECT_FALSE(replay.AtLastFrame());
    EXPECT_FLOAT_EQ(replay.BeginFrame(), 0.02f);
    EXPECT_EQ(replay.Events().size(), 2u);
    replay.BeginFrame();
    replay.BeginFrame();
    EXPECT_TRUE(replay.AtLastFrame());
    EXPECT_FLOAT_EQ(replay.BeginFrame(), 0.0f);
    EXPECT_TRUE(replay.Events().empty());
}

// The real program, recording and replaying, in a small game folder.
TEST(InputRecording, TheGameRecordsAndReplaysItsRun) {
    EngineTest::GameFolder game;
    const TempDir& dir = game.dir;
    auto play = [&](const std::string& arguments, const std::string& environment = "") {
        return EngineTest::RunGame(arguments, dir.Root(), environment);
    };
    EngineTest::Outcome run =
        play("--windowed --size 320x200 --frames 12 --fixed-dt 0.02 --record first.zorvel");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    InputReplay replay;
    std::string error;
    ASSERT_TRUE(replay.Load(dir.Path("first.zorvel"), error)) << error;
    ASSERT_EQ(replay.Frames().size(), 12u);
    for (const RecordedFrame& frame : replay.Frames())
        EXPECT_FLOAT_EQ(frame.dt, 0.02f);

    // The replay runs exactly as many frames, with the recorded steps
    // rather than the clock or --fixed-dt, and ends by itself.
    run = play("--windowed --fixed-dt 0.5 --replay first.zorvel --record second.zorvel");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(dir.Read("second.zorvel"), dir.Read("first.zorvel"));

    run = play("--windowed --replay nowhere.zorvel");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "nowhere.zorvel")) << run.err;

    // The options that change the game go with the recording: left out,
    // the replay takes them (and records them again); given otherwise, the
    // replay is refused. A level is not a recording.
    // A route in the game folder is stored by its place there, so the
    // recording replays from any checkout.
    ASSERT_EQ(play("--windowed --frames 3 --unlock dash,flight --route "
                   "Resources/Levels/Routes/Town.zorvel "
                   "--record unlocked.zorvel")
                  .exitCode,
              0);
    EXPECT_TRUE(Contains(dir.Read("unlocked.zorvel"), "Unlock:flight,dash\n"));
    EXPECT_TRUE(
        Contains(dir.Read("unlocked.zorvel"), "Route:Resources/Levels/Routes/Town.zorvel\n"));
    run = play("--windowed --replay unlocked.zorvel --record again.zorvel");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(dir.Read("again.zorvel"), dir.Read("unlocked.zorvel"));
    for (const char* conflicting : {"--unlock flight", "--size 640x480"}) {
        run = play(std::string("--windowed --replay unlocked.zorvel ") + conflicting);
        EXPECT_EQ(run.exitCode, 1) << conflicting;
        EXPECT_TRUE(Contains(run.err, "was made with ")) << run.err;
    }
    run = play("--windowed --replay Resources/Levels/Town.zorvel");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "holds no frames")) << run.err;
    run = play("--windowed --frames 2 --screenshot-at 5");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(
        Contains(run.err, "Warning: --screenshot-at 5 comes after the run's last frame (2)"))
        << run.err;
    // Nothing drawn, nothing to take.
    run = play("--no-draw --screenshot-at 2");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Contains(run.err, "--screenshot-at needs the frames drawn")) << run.err;

    // No window, no game: the reason is reported and the run fails.
    run = play("--windowed --frames 3 --record none.zorvel", "SDL_VIDEODRIVER=no-such-driver");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "Error! The video system could not be started")) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir.Path("none.zorvel")));
}

} // namespace
