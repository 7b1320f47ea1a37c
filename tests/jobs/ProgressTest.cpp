// The player's progress between runs: the file kept whole, a damaged one
// set aside, a folder that cannot be written, and the title menu's
// "Continue" and "New game" in the real game from the title level, and a
// run started with jobs done.

#include "jobs/Progress.h"
#include "game/LevelChange.h"
#include "jobs/JobSystem.h"
#include "menus/Button.h"
#include "player/PlayerTestSupport.h"

using namespace Flurr;
namespace {

TEST(Progress, IsKeptWholeAndADamagedOrUnwritableFileNeverStopsTheGame) {
    EXPECT_EQ(ProgressFilePath("/d", "/home/p"), "/d/cloudmere/Progress.zorvel");
    EXPECT_EQ(ProgressFilePath(nullptr, "/home/p"),
              "/home/p/.local/share/cloudmere/Progress.zorvel");
    EXPECT_EQ(ProgressFilePath("rel", nullptr), "");
    EngineTest::TempDir dir;
    EngineTest::WarningLog warnings;
    const std::string file = dir.Path("data/cloudmere/Progress.zorvel");
    SavedProgress read;
    EXPECT_EQ(LoadProgress(file, read), ProgressRead::Missing);

    SavedProgress kept{
        "Resources\\Levels\\Routes\\Town.zorvel", {"Distance1", "GoFast1"}, true, true};
    ASSERT_TRUE(SaveProgress(file, kept));
    EXPECT_EQ(LoadProgress(file, read), ProgressRead::Read);
    EXPECT_EQ(read.route, kept.route);
    EXPECT_EQ(read.jobsDone, kept.jobsDone);
    EXPECT_TRUE(read.flight && read.dash);
    EXPECT_EQ(warnings.Count(), 0) << warnings;

    // Cut short (a crash while someone edited it by hand): set aside, not
    // read, not lost.
    const std::string whole = dir.Read("data/cloudmere/Progress.zorvel");
    dir.Write("data/cloudmere/Progress.zorvel", whole.substr(0, whole.size() / 2));
    SavedProgress after;
    EXPECT_EQ(LoadProgress(file, after), ProgressRead::SetAside);
    EXPECT_TRUE(after.Empty());
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(dir.Read("data/cloudmere/Progress.zorvel.damaged"),
              whole.substr(0, whole.size() / 2));
    EXPECT_EQ(warnings.Count("moved aside"), 1) << warnings;

    // A folder that cannot be made: said once however often it is tried.
    dir.Write("blocked", "");
    EXPECT_FALSE(SaveProgress(dir.Path("blocked/cloudmere/Progress.zorvel"), kept));
    EXPECT_FALSE(SaveProgress(dir.Path("blocked/cloudmere/Progress.zorvel"), kept));
    EXPECT_EQ(warnings.Count("progress could not be kept"), 1) << warnings;
}

struct TitleGame : PlatformTest::Game {
    explicit TitleGame(const std::string& progressFile)
        : Game(Config(progressFile), {MessageId::StartGame}) {
        PlatformTest::Push({Focus()});
        core->Route()->Load();
        Frames(2);
    }
    static GameConfig Config(const std::string& progressFile) {
        GameConfig config = TestGame::ProgramConfig("Resources/Levels/Routes/Title.zorvel");
        config.progressFile = progressFile;
        return config;
    }
    std::vector<std::string> Buttons() const {
        std::vector<std::string> order(8);
        for (const auto& [id, object] : factory->objects)
            if (const Button* b = object->Get<Button>(); b && b->elementId < order.size())
                order[b->elementId] = b->command;
        while (!order.empty() && order.back().empty())
            order.pop_back();
        return order;
    }
    void Key(SDL_Scancode key) {
        Frame({PlatformTest::Key(key, true)});
        Frame({PlatformTest::Key(key, false)});
    }
    // Plays on until the route reaches `entry`, at most `limit` frames,
    // changing levels as the game's loop does.
    bool PlayUntil(const std::string& entry, int limit = 600) {
        for (int i = 0; i < limit && core->Route()->Entry() != entry; ++i) {
            core->RunFrame();
            TestGame::FollowLevelChange(*core, *factory);
        }
        return core->Route()->Entry() == entry;
    }
};

TEST(Progress, TheTitleContinuesTheSavedGameAndANewGameKeepsTheOldOneAside) {
    EngineTest::TempDir dir;
    const std::string file = dir.Path("Progress.zorvel");
    const std::string town = "Resources\\Levels\\Routes\\Town.zorvel";
    {
        // No saved game: no "Continue", and nothing is written at the title.
        TitleGame game(file);
        EXPECT_EQ(game.Buttons(), (std::vector<std::string>{"NewGame", "Options", "Quit"}));
        EXPECT_FALSE(std::filesystem::exists(file));
    }
    ASSERT_TRUE(SaveProgress(file, {town, {"Distance1"}, true, false}));
    {
        TitleGame game(file);
        ASSERT_EQ(game.Buttons(),
                  (std::vector<std::string>{"Continue", "NewGame", "Options", "Quit"}));
        // Enter on "Continue": past Hillside into the town, the job done
        // and the flight unit on the player.
        game.Key(SDL_SCANCODE_RETURN);
        EXPECT_EQ(game.heard->Count("id 60"), 1u);
        ASSERT_TRUE(game.PlayUntil(town)) << game.core->Route()->Entry();
        game.Frames(2);
        JobSystem& jobs = *JobSystem::Instance();
        EXPECT_TRUE(jobs.GetJob("Distance1").completed);
        EXPECT_FALSE(jobs.GetJob("GoFast1").completed);
        ASSERT_NE(PlayerController::Instance()->Player(), nullptr);
        EXPECT_TRUE(PlayerController::Instance()->Player()->flightUnlocked);
        // The next job done is kept at once.
        jobs.CompleteJob(jobs.GetJob("GoFast1"));
        SavedProgress read;
        ASSERT_EQ(LoadProgress(file, read), ProgressRead::Read);
        EXPECT_EQ(read.jobsDone, (std::vector<std::string>{"Distance1", "GoFast1"}));
        EXPECT_EQ(read.route, town);
    }
    {
        // "New game": Hillside, no job done; the old game copied aside.
        TitleGame game(file);
        game.Key(SDL_SCANCODE_DOWN);
        game.Key(SDL_SCANCODE_RETURN);
        ASSERT_TRUE(game.PlayUntil("Resources\\Levels\\Routes\\Hillside.zorvel"));
        EXPECT_FALSE(JobSystem::Instance()->GetJob("Distance1").completed);
        SavedProgress now, before;
        ASSERT_EQ(LoadProgress(file, now), ProgressRead::Read);
        EXPECT_TRUE(now.jobsDone.empty());
        EXPECT_FALSE(now.flight);
        ASSERT_EQ(LoadProgress(file + ".previous", before), ProgressRead::Read);
        EXPECT_EQ(before.jobsDone.size(), 2u);
    }
}

// Back at the title in the same session (as after the credits), a new
// game's player has none of the continued game's unlocks.
TEST(Progress, ANewGameAfterAContinuedOneStartsWithoutItsUnlocks) {
    EngineTest::TempDir dir;
    const std::string file = dir.Path("Progress.zorvel");
    const std::string title = "Resources\\Levels\\Routes\\Title.zorvel";
    const std::string town = "Resources\\Levels\\Routes\\Town.zorvel";
    ASSERT_TRUE(SaveProgress(file, {town, {"Distance1", "GoFast1"}, true, true}));
    TitleGame game(file);
    game.Key(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(game.PlayUntil(town));
    game.core->Route()->SkipTo(title);
    game.core->RequestState(GameState::NextLevel);
    ASSERT_TRUE(game.PlayUntil(title));
    game.Frames(2);
    game.Key(SDL_SCANCODE_DOWN);
    game.Key(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(game.PlayUntil("Resources\\Levels\\Routes\\Hillside.zorvel"));
    game.Frames(2);
    const PlayerComponent* player = PlayerController::Instance()->Player();
    ASSERT_NE(player, nullptr);
    EXPECT_FALSE(player->flightUnlocked);
    EXPECT_FALSE(player->dashUnlocked);
}

// A run started with jobs counted done (`--jobs-done`) has what they hand
// over, as a continued game with them done has: the flight unit from
// "Distance1", the dash from "GoFast1", nothing from the others.
TEST(Progress, JobsCountedDoneAtTheStartHandOverWhatTheyUnlock) {
    struct Case {
        std::vector<std::string> done;
        bool flight, dash;
    };
    for (const Case& c : {Case{{}, false, false}, Case{{"Distance1", "HotBuns"}, true, false},
                          Case{{"Distance1", "GoFast1"}, true, true}}) {
        SCOPED_TRACE(c.done.size());
        GameConfig config = TestGame::ProgramConfig("Resources/Levels/Routes/Hillside.zorvel");
        config.jobsDone = c.done;
        PlatformTest::Game game(config, {});
        game.core->Route()->Load();
        game.Frames(2);
        for (const std::string& job : c.done)
            EXPECT_TRUE(JobSystem::Instance()->GetJob(job).completed) << job;
        const PlayerComponent* player = PlayerController::Instance()->Player();
        ASSERT_NE(player, nullptr);
        EXPECT_EQ(player->flightUnlocked, c.flight);
        EXPECT_EQ(player->dashUnlocked, c.dash);
    }
}

} // namespace
