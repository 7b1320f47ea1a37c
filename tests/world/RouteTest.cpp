// The level route: its chain of files, and missing or unreadable ones.

#include "world/Route.h"
#include "engine/EngineTestSupport.h"
#include "game/TestGame.h"

using namespace Flurr;
namespace {

using namespace EngineTest;

class RouteTest : public ::testing::Test, public GameSystems {
protected:
    void SetUp() override {
        static_cast<GameSystems&>(*this) = AddSystems(core, TestGame::Config());
        auto owned = std::make_unique<Route>();
        route = owned.get();
        core.SetRoute(std::move(owned));
        listener = Recorder::AddTo(core, {MessageId::LevelChange, MessageId::SetBackground});
    }
    TempDir dir;
    Core core;
    Route* route = nullptr;
    Recorder* listener = nullptr;
};

TEST_F(RouteTest, ReadsEachEntryAndPlaysTheLevelAgainWhenTheNextIsUnreadable) {
    const std::string level =
        dir.Write("Levels/Town.zorvel", EngineTest::LevelText().Object(4).Text("Sky.png"));
    const std::string entry =
        dir.Write("Levels/Routes/Town.zorvel", RouteText(level, "Next.zorvel"));
    const std::string first =
        dir.Write("Levels/Route.zorvel", "Root\n  Route:" + entry + "\n-Root\n");

    route->ReadFirstRouteFile(first);
    EXPECT_EQ(route->currentRouteFile, entry);
    route->Load();
    EXPECT_FALSE(route->Failed());
    EXPECT_EQ(route->levelFile, level);
    EXPECT_EQ(route->nextRouteFile, "Next.zorvel");
    EXPECT_EQ(route->imageBank + route->soundBank + route->configBank, "TownTownTown");
    ASSERT_EQ(factory->objects.size(), 1u);
    EXPECT_EQ(factory->objects.begin()->second->x, 4.0f);
    // The level is built before anyone hears that it changed.
    EXPECT_EQ(listener->log, (std::vector<std::string>{"Background Sky.png", "LevelChange"}));

    route->Advance();
    EXPECT_EQ(route->currentRouteFile, "Next.zorvel");
    EXPECT_EQ(route->nextRouteFile, "Next.zorvel");

    // The next route file cannot be read: the previous level plays again.
    factory->Free();
    route->Load();
    EXPECT_FALSE(route->Failed());
    EXPECT_EQ(route->levelFile, level);
    ASSERT_EQ(factory->objects.size(), 1u);
    EXPECT_EQ(factory->objects.begin()->second->x, 4.0f);
    EXPECT_EQ(listener->Count("LevelChange"), 2u);

    std::filesystem::create_directories(dir.Path("Routes/Folder.zorvel"));
    route->currentRouteFile = dir.Path("Routes/Folder.zorvel");
    factory->Free();
    route->Load();
    EXPECT_FALSE(route->Failed());
    EXPECT_EQ(factory->objects.size(), 1u) << "a folder is no better than nothing";
}

TEST_F(RouteTest, MissingFirstRouteFileQuitsWithAReport) {
    EngineTest::WarningLog errors;
    const std::string missing = dir.Path("Resources/Levels/Route.zorvel");
    route->ReadFirstRouteFile(missing);
    EXPECT_TRUE(route->currentRouteFile.empty());
    core.GameLoop();

    EXPECT_EQ(core.RequestedState(), GameState::Quit);
    EXPECT_TRUE(route->Failed());
    EXPECT_EQ(core.FramesRun(), 0);
    EXPECT_TRUE(listener->ids.empty());
    ASSERT_EQ(errors.Count(), 1) << errors;
    EXPECT_TRUE(errors.Contains("Error! The route file " + missing)) << "a box: " << errors;
    EXPECT_TRUE(errors.Contains(DataRoot())) << errors;

    // No first route named, a missing entry, or no level: each its report.
    EngineTest::WarningLog again;
    Route other;
    other.ReadFirstRouteFile(dir.Write("Route.zorvel", "Root\n  Rout:typo.zorvel\n-Root\n"));
    other.Load();
    EXPECT_TRUE(other.Failed());
    // The typo is pointed at, then what it leads to.
    ASSERT_EQ(again.Count(), 2) << again;
    EXPECT_TRUE(again.Contains("Route.zorvel:2: unknown element \"Rout\"")) << again;
    EXPECT_TRUE(again.Contains("Route.zorvel") && again.Contains("\"Route\"")) << again;
    const std::string missingEntry = dir.Path("Routes/Gone.zorvel");
    for (const std::string& entry :
         {missingEntry,
          dir.Write("Routes/Nameless.zorvel", "Root\n  NextFile:x.zorvel\n-Root\n")}) {
        Route broken;
        broken.currentRouteFile = entry;
        broken.Load();
        EXPECT_TRUE(broken.Failed()) << entry;
    }
    EXPECT_TRUE(listener->ids.empty());
    EXPECT_TRUE(again.Count() == 4 && again.Contains(missingEntry) && again.Contains("LevelFile"))
        << again;
}

} // namespace
