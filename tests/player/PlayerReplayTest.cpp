// The whole game run twice from one recording must give the same world.

#include <map>

#include "tools/ProgramRunner.h"

namespace {

using namespace EngineTest;

// A recording of a short play: walk right, run, jump, fly up towards the
// pointer, dash. "K" lines are key and button states by virtual key (1 and
// 2 are the mouse buttons); "W" lines are window messages (0x200 mouse
// move, 0x201/0x202 left button, 0x204/0x205 right) with the pointer
// packed into lParam.
std::string Recording() {
    std::map<int, std::vector<std::string>> events;
    events[0] = {"F 1"};
    events[20] = {"K 68 1"};            // D
    events[90] = {"K 16 1", "K 160 1"}; // Shift
    events[150] = {"K 32 1"};           // Space
    events[156] = {"K 32 0"};
    events[200] = {"K 16 0", "K 160 0", "K 68 0"};
    const int pointer = (20 << 16) | 200; // above the middle of a 400 x 300 window
    events[230] = {"W 512 0 " + std::to_string(pointer)};
    events[232] = {"K 1 1", "W 513 1 " + std::to_string(pointer)};
    events[396] = {"K 1 0", "W 514 0 " + std::to_string(pointer)};
    const int right = (150 << 16) | 390;
    events[310] = {"W 512 0 " + std::to_string(right)};
    events[312] = {"K 2 1", "W 516 2 " + std::to_string(right)};
    events[314] = {"K 2 0", "W 517 0 " + std::to_string(right)};
    return RecordingText(4242, 400, events);
}

TEST(PlayerReplay, TheSameRecordingPlaysTheSameGameTwice) {
    TempDir dir;
    dir.Write("play.zorvel", Recording());
    const std::string options =
        "--windowed --size 400x300 --route Resources/Levels/Routes/Hillside.zorvel --unlock "
        "flight,dash --replay play.zorvel";
    for (const char* saved : {"first.zorvel", "second.zorvel"}) {
        const EngineTest::Outcome run =
            EngineTest::RunGame(options + " --save-on-exit " + saved, dir.Root());
        ASSERT_EQ(run.exitCode, 0) << run.err;
    }
    const std::string first = dir.Read("first.zorvel");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, dir.Read("second.zorvel"));
    EXPECT_TRUE(Contains(first, "PlayerComponent"));
    // Live particles (the trails were on) are not part of the level.
    EXPECT_FALSE(Contains(first, "Particle_"));
    EXPECT_FALSE(Contains(first, "ParticleEffectComponent"));
    // The player went somewhere: it no longer stands where the level puts it.
    EXPECT_FALSE(Contains(first, "    X:0\n    Y:52\n    WIDTH:128"));
}

} // namespace
