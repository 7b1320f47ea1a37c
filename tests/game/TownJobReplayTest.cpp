// Baker Pim's hot buns in the real town, the player starting beside the
// Baker: a running job carries on through a level change and a restart.
// (The job played through from the town's start, frame for frame, is the
// stored recording tests/recordings/HotBuns.zorvel.)

#include <filesystem>
#include <fstream>
#include <sstream>

#include "jobs/JobEntityComponent.h"
#include "jobs/JobGiverComponent.h"
#include "jobs/JobSystem.h"
#include "player/PlayerTestSupport.h"

using namespace Flurr;
namespace {

namespace fs = std::filesystem;
constexpr const char* kTownRoute = "Resources/Levels/Routes/Town.zorvel";

std::string ReadFile(const fs::path& file) {
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

// A game folder with the shipped town, but the player starts beside Baker
// Pim, the hot buns need no earlier job, and the town's route entry leads
// back to the town (the shipped one goes on to the race).
void MakeTown(const EngineTest::TempDir& dir) {
    const fs::path shipped = fs::path(CLOUDMERE_SOURCE_DIR) / "Resources";
    for (const fs::path& folder : {fs::path(), fs::path("Banks")}) {
        fs::create_directories(dir.Root() / "Resources" / folder);
        for (const fs::directory_entry& entry : fs::directory_iterator(shipped / folder)) {
            const fs::path name = folder / entry.path().filename();
            if (name != "Levels" && name != "Banks" && name != "Banks/JobBank.zorvel")
                fs::create_symlink(entry.path(), dir.Root() / "Resources" / name);
        }
    }
    fs::copy(shipped / "Levels", dir.Root() / "Resources/Levels", fs::copy_options::recursive);
    std::string town = ReadFile(shipped / "Levels/Town.zorvel");
    const std::string start = "  GameObject\n    X:300\n    Y:52\n";
    const std::size_t player = town.rfind(start);
    ASSERT_NE(player, std::string::npos) << "the town's player stands at its start";
    town.replace(player, start.size(), "  GameObject\n    X:1150\n    Y:52\n");
    dir.Write("Resources/Levels/Town.zorvel", town);
    std::string route = ReadFile(shipped / "Levels/Routes/Town.zorvel");
    route.replace(route.find("Race.zorvel"), 4, "Town");
    dir.Write("Resources/Levels/Routes/Town.zorvel", route);
    std::string bank = ReadFile(shipped / "Banks/JobBank.zorvel");
    const std::size_t from = bank.find("List#", bank.find("Name:HotBuns\n"));
    const std::string end = "-PreReqJobs\n";
    ASSERT_NE(from, std::string::npos);
    bank.replace(from, bank.find(end, from) + end.size() - from, "List#0:PreReqJobs\n    " + end);
    dir.Write("Resources/Banks/JobBank.zorvel", bank);
}

} // namespace

// A level change and then a restart while the hot buns are running: the
// job runs on, and the new level's doorsteps and Baker join it.
TEST(TownJobReplay, TheRunningJobCarriesOnThroughALevelChangeAndARestart) {
    EngineTest::TempDir dir;
    MakeTown(dir);
    PlatformTest::Game game(TestGame::ProgramConfig(kTownRoute, dir.Root().string()),
                            {MessageId::PlaySound});
    PlatformTest::Push({game.Focus()});
    game.core->Route()->Load();
    JobSystem& jobs = *JobSystem::Instance();
    game.Frames(5);
    game.Frame({PlatformTest::Key(SDL_SCANCODE_E, true)});
    game.Frame({PlatformTest::Key(SDL_SCANCODE_E, false)});
    ASSERT_EQ(jobs.currentJob, "HotBuns");
    int frame = 0;
    game.heard->onUpdate = [&](float) {
        if (++frame == 10)
            game.core->RequestState(GameState::Restart);
        if (frame != 5 && frame != 15) // the loop began with a level change
            return;
        SCOPED_TRACE(frame);
        EXPECT_EQ(jobs.currentJob, "HotBuns");
        int doorsteps = 0;
        for (const JobEntityComponent* doorstep : jobs.Entities())
            if (doorstep->JobName == "HotBuns") {
                ++doorsteps;
                EXPECT_TRUE(doorstep->activated);
                EXPECT_EQ(doorstep->owner->Get<GraphicsComponent>()->Opacity, 1.0f);
            }
        EXPECT_EQ(doorsteps, 3);
        for (const JobGiverComponent* giver : jobs.Givers())
            if (giver->Jobs.front() == "HotBuns") {
                EXPECT_EQ(giver->state, GiverState::Working) << "the Baker offers no second run";
            }
    };
    game.core->SetFrameLimit(game.core->FramesRun() + 20);
    game.core->GameLoop();
    EXPECT_EQ(frame, 20);
}
