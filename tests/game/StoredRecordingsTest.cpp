// The stored recordings under tests/recordings/ replayed by the real
// program: each checks the world every 60 ticks against what it recorded,
// so a change that moves any body or job of a whole run, even one that
// moves every run the same way, stops the replay with a report. A change
// meant to change how the game plays is followed by `make rerecord`.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/ProgramRunner.h"

namespace {

namespace fs = std::filesystem;
const fs::path kRecordings = fs::path(CLOUDMERE_SOURCE_DIR) / "tests/recordings";

std::vector<std::string> StoredRecordings() {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(kRecordings))
        if (entry.path().extension() == ".zorvel")
            names.push_back(entry.path().stem().string());
    return names;
}

class StoredRecording : public testing::TestWithParam<std::string> {};

TEST_P(StoredRecording, ReplaysAsRecorded) {
    const fs::path file = kRecordings / (GetParam() + ".zorvel");
    std::ostringstream text;
    text << std::ifstream(file).rdbuf();
    ASSERT_TRUE(EngineTest::Contains(text.str(), "    Check\n"))
        << "recorded with its checkpoints (make rerecord)";
    // One named for a job plays it through: re-recorded after a change
    // that broke the job, it would still replay as recorded.
    if (EngineTest::Contains(text.str(), "job " + GetParam() + " State=")) {
        EXPECT_TRUE(EngineTest::Contains(text.str(), "job " + GetParam() + " State=Done\n"))
            << "the recording never finishes its job";
    }
    EngineTest::TempDir dir;
    const EngineTest::Outcome run =
        EngineTest::RunGame("--no-draw --replay '" + file.string() + "'", dir.Root());
    EXPECT_EQ(run.exitCode, 0) << run.err << "\nafter a deliberate change: make rerecord";
}

INSTANTIATE_TEST_SUITE_P(Recordings, StoredRecording, testing::ValuesIn(StoredRecordings()),
                         [](const auto& info) { return info.param; });

// The shipped game with the player starting one unit further right: the
// replay stops at the first checkpoint, naming the player and its X.
TEST(StoredRecordingDiffers, AOneUnitStartIsReportedAtTheFirstCheckpoint) {
    EngineTest::TempDir dir;
    const fs::path shipped = fs::path(CLOUDMERE_SOURCE_DIR) / "Resources";
    fs::create_directories(dir.Root() / "Resources");
    for (const fs::directory_entry& entry : fs::directory_iterator(shipped))
        if (entry.path().filename() != "Levels")
            fs::create_symlink(entry.path(), dir.Root() / "Resources" / entry.path().filename());
    fs::copy(shipped / "Levels", dir.Root() / "Resources/Levels", fs::copy_options::recursive);
    std::string level = dir.Read("Resources/Levels/Hillside.zorvel");
    const std::string start = "  GameObject\n    X:0\n    Y:52\n";
    const std::size_t player = level.rfind(start, level.find("PlayerComponent"));
    ASSERT_NE(player, std::string::npos) << "the player starts at (0, 52)";
    level.replace(player, start.size(), "  GameObject\n    X:1\n    Y:52\n");
    dir.Write("Resources/Levels/Hillside.zorvel", level);

    const EngineTest::Outcome run = EngineTest::RunGame(
        "--no-draw --replay '" + (kRecordings / "Hillside.zorvel").string() + "'", dir.Root());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(EngineTest::Contains(run.err, "Replay differs at tick 60: object ")) << run.err;
    EXPECT_TRUE(EngineTest::Contains(run.err, " (Player) field X: recorded ")) << run.err;
}

} // namespace
