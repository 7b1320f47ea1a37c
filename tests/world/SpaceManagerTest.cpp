// Named spaces and their active flags, including across level changes.

#include "world/SpaceManager.h"
#include "engine/EngineTestSupport.h"
#include "game/TestGame.h"
#include "world/Route.h"

namespace Flurr {
namespace {

using EngineTest::Recorder;

std::vector<std::string> ActiveSpaces(const SpaceManager& spaces) {
    std::vector<std::string> names;
    for (const auto& [name, space] : spaces.spacesByName)
        if (space->active)
            names.push_back(name);
    return names;
}

TEST(SpaceManager, StartsWithThreeSpacesAndCreatesFindsActivatesAndDestroysMore) {
    Core core;
    auto* spaces = new SpaceManager();
    core.AddSystem(spaces);
    EXPECT_EQ(SpaceManager::Instance(), spaces);
    Space* game = spaces->GetSpace("GameSpace");
    Space* editor = spaces->GetSpace("LevelEditor");
    Space* pause = spaces->GetSpace("Pause");
    ASSERT_TRUE(game && editor && pause);
    EXPECT_EQ(editor->id, game->id + 1);
    EXPECT_EQ(pause->id, game->id + 2);
    EXPECT_EQ(spaces->spacesByName.size(), 3u);
    EXPECT_EQ(spaces->spacesById.at(editor->id), editor);
    EXPECT_EQ(ActiveSpaces(*spaces), std::vector<std::string>{"GameSpace"});
    const int32_t pauseId = pause->id;

    // An existing name gives the same space and uses up no id.
    EXPECT_EQ(spaces->GetOrCreateSpace("GameSpace"), spaces->GetSpace("GameSpace"));
    Space* dialog = spaces->GetOrCreateSpace("SaveDialog");
    EXPECT_EQ(dialog->id, pauseId + 1);
    EXPECT_FALSE(dialog->active);
    EXPECT_EQ(spaces->GetOrCreateSpace("SaveDialog"), dialog);
    EXPECT_EQ(spaces->GetOrCreateSpace("LogoSpace")->id, pauseId + 2);

    spaces->SetSpaceActive("SaveDialog", true);
    EXPECT_TRUE(spaces->IsSpaceActive("SaveDialog"));
    // Unknown names: false, null, and nothing created.
    spaces->SetSpaceActive("Nowhere", true);
    EXPECT_FALSE(spaces->IsSpaceActive("Nowhere"));
    EXPECT_EQ(spaces->GetSpace("Nowhere"), nullptr);
    spaces->DestroySpace("Nowhere");
    EXPECT_EQ(spaces->spacesByName.size(), 5u);

    spaces->DestroySpace("SaveDialog");
    EXPECT_FALSE(spaces->IsSpaceActive("SaveDialog"));
    EXPECT_EQ(spaces->GetSpace("SaveDialog"), nullptr);
    EXPECT_EQ(spaces->spacesById.count(pauseId + 1), 0u);
    // A new space of the old name is a new space with a new id.
    EXPECT_EQ(spaces->GetOrCreateSpace("SaveDialog")->id, pauseId + 3);

    spaces->SetSpaceActive("Pause", true);
    spaces->SetSpaceActive("GameSpace", false);
    spaces->ActivateOnlyGameSpace();
    EXPECT_EQ(ActiveSpaces(*spaces), std::vector<std::string>{"GameSpace"});

    spaces->Free();
    EXPECT_TRUE(spaces->spacesByName.empty());
    EXPECT_TRUE(spaces->spacesById.empty());
    EXPECT_FALSE(spaces->IsSpaceActive("GameSpace"));
}

TEST(SpaceManager, EveryLevelStartsWithOnlyTheGameActive) {
    EngineTest::RouteChain chain;
    Core core;
    SpaceManager* spaces = AddSystems(core, TestGame::Config()).spaces;
    Recorder* game = Recorder::AddTo(core, {MessageId::LevelChange});
    core.SetRoute(std::make_unique<Route>(Route::FirstRouteFile, chain.routeA));
    core.SetFrameLimit(20);

    std::vector<std::vector<std::string>> activeAtLevelChange;
    game->onMessage = [&](Message*) { activeAtLevelChange.push_back(ActiveSpaces(*spaces)); };
    game->onUpdate = [&](float) {
        // The pause menu and the editor are open when the level ends.
        spaces->GetOrCreateSpace("TransitionSpace")->active = true;
        spaces->SetSpaceActive("Pause", true);
        spaces->SetSpaceActive("LevelEditor", true);
        spaces->SetSpaceActive("GameSpace", false);
        core.RequestState(game->updates == 1 ? GameState::NextLevel : GameState::Quit);
    };
    core.Initialize();
    core.GameLoop();

    ASSERT_EQ(activeAtLevelChange.size(), 3u);
    for (const auto& active : activeAtLevelChange)
        EXPECT_EQ(active, std::vector<std::string>{"GameSpace"});
}

} // namespace
} // namespace Flurr
