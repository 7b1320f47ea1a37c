// Named spaces and their active flags.

#include "world/SpaceManager.h"
#include "engine/EngineTestSupport.h"

using namespace Flurr;
namespace {

using EngineTest::ActiveSpaces;

TEST(SpaceManager, StartsWithThreeSpacesAndCreatesFindsActivatesAndDestroysMore) {
    Core core;
    auto* spaces = new SpaceManager();
    core.AddSystem(spaces);
    EXPECT_EQ(spaces->spacesByName.size(), 3u);
    ASSERT_TRUE(spaces->GetSpace("LevelEditor") && spaces->GetSpace("Pause"));
    EXPECT_EQ(ActiveSpaces(*spaces), std::vector<std::string>{"GameSpace"});

    // An existing name gives the same space and uses up no id.
    const int32_t pauseId = spaces->GetSpace("Pause")->id;
    EXPECT_EQ(spaces->GetOrCreateSpace("GameSpace"), spaces->GetSpace("GameSpace"));
    Space* dialog = spaces->GetOrCreateSpace("SaveDialog");
    EXPECT_EQ(dialog->id, pauseId + 1);
    EXPECT_FALSE(dialog->active);
    EXPECT_EQ(spaces->spacesById.at(dialog->id), dialog);
    EXPECT_EQ(spaces->GetOrCreateSpace("SaveDialog"), dialog);
    spaces->SetSpaceActive("SaveDialog", true);
    EXPECT_TRUE(spaces->IsSpaceActive("SaveDialog"));
    // Unknown names: false, null, and nothing created.
    spaces->SetSpaceActive("Nowhere", true);
    spaces->DestroySpace("Nowhere");
    EXPECT_FALSE(spaces->IsSpaceActive("Nowhere"));
    EXPECT_EQ(spaces->GetSpace("Nowhere"), nullptr);
    EXPECT_EQ(spaces->spacesByName.size(), 4u);

    // A destroyed space is gone; a new space of the old name gets a new id.
    spaces->DestroySpace("SaveDialog");
    EXPECT_FALSE(spaces->IsSpaceActive("SaveDialog"));
    EXPECT_EQ(spaces->spacesById.count(pauseId + 1), 0u);
    EXPECT_EQ(spaces->GetOrCreateSpace("SaveDialog")->id, pauseId + 2);

    spaces->SetSpaceActive("Pause", true);
    spaces->SetSpaceActive("GameSpace", false);
    spaces->ActivateOnlyGameSpace();
    EXPECT_EQ(ActiveSpaces(*spaces), std::vector<std::string>{"GameSpace"});
    spaces->Free();
    EXPECT_TRUE(spaces->spacesByName.empty() && spaces->spacesById.empty());
    EXPECT_FALSE(spaces->IsSpaceActive("GameSpace"));
}

} // namespace
