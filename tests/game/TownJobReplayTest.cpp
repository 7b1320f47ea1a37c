// Baker Pim's hot buns played through in the real town from one recording:
// the Baker offers the job, E takes it, Q lists its objectives, the three
// doorsteps are run past inside the minute and the job ends with the
// cheer and the confetti. The real program replays it and saves the world
// on exit; the same recording replayed in a test game shows the job's own
// state, frame for frame (one tick a frame).

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "jobs/JobEntityComponent.h"
#include "jobs/JobGiverComponent.h"
#include "jobs/JobSystem.h"
#include "particles/ParticleSystem.h"
#include "platform/InputRecording.h"
#include "player/PlayerTestSupport.h"
#include "tools/ProgramRunner.h"

using namespace Flurr;
namespace {

namespace fs = std::filesystem;
constexpr const char* kTownRoute = "Resources/Levels/Routes/Town.zorvel";
constexpr int kFrames = 700;

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

// E by the Baker, Q for the objectives, then a run right down the hill
// past the observatory's door, the market and the forge.
std::string Recording() {
    std::map<int, std::vector<std::string>> events;
    events[0] = {"F 1"};
    events[20] = {"K 69 1"}; // E
    events[22] = {"K 69 0"};
    events[30] = {"K 81 1"}; // Q
    events[32] = {"K 81 0"};
    events[60] = {"K 68 1", "K 16 1"}; // D, Shift
    events[kFrames - 60] = {"K 68 0", "K 16 0"};
    return EngineTest::RecordingText(2024, kFrames, events);
}

TEST(TownJobReplay, HotBunsFromTheBakerToTheCheer) {
    EngineTest::TempDir dir;
    MakeTown(dir);
    const std::string recording = dir.Write("play.zorvel", Recording());

    const EngineTest::Outcome run =
        EngineTest::RunGame(std::string("--windowed --size 400x300 --route ") + kTownRoute +
                                " --replay play.zorvel --save-on-exit end.zorvel",
                            dir.Root());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string world = dir.Read("end.zorvel");
    // The player ran on past the forge, the last doorstep.
    const std::size_t player = world.rfind("  GameObject\n    X:", world.find("PlayerComponent"));
    ASSERT_NE(player, std::string::npos) << world.substr(0, 1000);
    const float savedX = std::stof(world.substr(player + 19));
    EXPECT_GT(savedX, 8000.0f);

    InputReplay replay;
    std::string error;
    ASSERT_TRUE(replay.Load(recording, error)) << error;
    SeedRandom(replay.Seed());
    PlatformTest::Game game(TestGame::ProgramConfig(kTownRoute, dir.Root().string(), &replay),
                            {MessageId::PlaySound});
    game.core->Route()->Load(); // as the loop does before the first frame
    JobSystem& jobs = *JobSystem::Instance();
    std::map<std::string, int> firstFrame; // what happened, and when
    for (int frame = 1; !game.QuitRequested(); ++frame) {
        game.core->RunFrame();
        ASSERT_LE(frame, kFrames) << "a replay ends with its last frame";
        if (jobs.currentJob == "HotBuns")
            firstFrame.emplace("started", frame);
        if (jobs.objectivesOpen && jobs.slide == 0.0f)
            firstFrame.emplace("listed", frame);
        for (const std::string& line : game.heard->Take())
            for (const char* sound : {"JobComplete", "Cheer"})
                if (line.find(sound) != std::string::npos)
                    firstFrame.emplace(sound, frame);
        if (firstFrame.count("Cheer") && !firstFrame.count("confetti")) {
            const uint32_t* confetti = jobs.ConfettiIds();
            for (int i = 0; i < 4; ++i)
                EXPECT_NE(ParticleSystem::Instance()->FindEffect(confetti[i]), nullptr) << i;
            firstFrame.emplace("confetti", frame);
        }
    }
    // The program ran the same game, tick for tick.
    EXPECT_NEAR(PlayerController::Instance()->Player()->owner->x, savedX, 0.01f);
    const Job& buns = jobs.GetJob("HotBuns");
    EXPECT_TRUE(buns.completed);
    EXPECT_EQ(jobs.currentJob, kNoJob);
    for (const JobEntityComponent* doorstep : jobs.Entities())
        if (doorstep->JobName == "HotBuns") {
            EXPECT_TRUE(doorstep->completed) << doorstep->EntityID;
        }
    // In order: taken on E, listed on Q, done with its sound, then cheered.
    ASSERT_EQ(firstFrame.size(), 5u);
    EXPECT_EQ(firstFrame["started"], 21);
    EXPECT_GT(firstFrame["listed"], firstFrame["started"]);
    EXPECT_GT(firstFrame["JobComplete"], firstFrame["listed"]);
    EXPECT_EQ(firstFrame["Cheer"], firstFrame["JobComplete"]);
    EXPECT_LT(firstFrame["Cheer"], kFrames - 60) << "done inside the minute, before the run ends";
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
