// The cloud machine and its clouds in the real game: a population kept
// inside its area for thousands of frames, a machine that goes before its
// clouds, the area keys through a save and a reload. (Level changes under
// the clouds: with the raven's.)

#include <set>

#include "gameplay/CloudComponent.h"
#include "gameplay/CloudMachineComponent.h"
#include "player/PlayerTestSupport.h"

using namespace Flurr;
namespace {

using EngineTest::LevelText;
using PlayerTest::PlayerGame;

// A machine over x -1000..1000, y 0..1000 making `clouds` clouds.
LevelText& SmallSky(LevelText& level, int clouds) {
    const std::string density = LevelText::Number(static_cast<float>(clouds) / 2e6f);
    return level.Object().With("CloudMachineComponent", {{"CloudDensity", density},
                                                         {"AreaLeft", "-1000"},
                                                         {"AreaRight", "1000"},
                                                         {"AreaBottom", "0"},
                                                         {"AreaTop", "1000"}});
}

bool Inside(const CloudComponent* cloud, const CloudMachineComponent& sky) {
    const GameObject& at = *cloud->owner;
    return at.x >= sky.minX && at.x <= sky.maxX && at.y >= sky.minY && at.y <= sky.maxY;
}

TEST(Clouds, KeepTheirNumberInsideTheirAreaForThousandsOfFrames) {
    EngineTest::WarningLog warnings;
    LevelText level;
    PlayerGame game(SmallSky(level, 10).Objects(), PlayerTest::kNoPlayer);
    CloudMachineComponent* sky = EngineTest::FindComponent<CloudMachineComponent>(*game.factory);
    ASSERT_NE(sky, nullptr);
    EXPECT_EQ(sky->target, 10);
    // Four times the sky's wind, so a cloud crosses the area in five seconds.
    sky->windX = -400.0f;
    const std::size_t before = game.factory->objects.size();

    // The first frame fills the area; afterwards each cloud that drifts out
    // goes (at once from the walk, from memory in the factory's next
    // update) and the next frame sends another.
    std::set<int32_t> seen;
    for (int frame = 0; frame < 2400; ++frame) {
        game.core->RunFrame();
        const std::vector<CloudComponent*> clouds =
            EngineTest::AllComponents<CloudComponent>(*game.factory);
        ASSERT_EQ(static_cast<int32_t>(clouds.size()), sky->count) << frame;
        // Fewer only by those that left this frame (clouds that came in
        // together on the edge leave together).
        ASSERT_GE(sky->count, frame == 0 ? 10 : 6) << frame;
        ASSERT_LE(sky->count, 10);
        ASSERT_LE(game.factory->objects.size() + game.factory->pendingDestruction.size(),
                  before + 12);
        for (const CloudComponent* cloud : clouds) {
            ASSERT_TRUE(Inside(cloud, *sky)) << frame;
            EXPECT_EQ(cloud->machine, sky->owner->id);
            seen.insert(cloud->owner->id);
        }
    }
    EXPECT_GT(seen.size(), 60u);

    // Replacements come in on the upwind (right) edge a third of the time
    // here: the rest of the share (2000 / 3000) appear anywhere inside. Each
    // sprite is one of the ten, up to 300 units behind the play plane,
    // belongs to the running game and is big (the depth shrinks it).
    std::set<std::string> names;
    int onEdge = 0;
    for (int k = 0; k < 600; ++k) {
        const GameObject* cloud = sky->SpawnCloud(false);
        ASSERT_NE(cloud, nullptr);
        onEdge += cloud->x == sky->maxX;
        const GraphicsComponent* sprite = cloud->Get<GraphicsComponent>();
        ASSERT_NE(sprite, nullptr);
        EXPECT_TRUE(sprite->ZPos <= 0.0f && sprite->ZPos > -300.0f) << sprite->ZPos;
        EXPECT_TRUE(sprite->ZOrder == -20.0f || sprite->ZOrder == 20.0f);
        EXPECT_FALSE(cloud->savedWithLevel);
        EXPECT_GE(cloud->xScale, 8.0f * 100.0f);
        EXPECT_LE(cloud->yScale, 10.0f * 300.0f);
        names.insert(sprite->animation);
    }
    EXPECT_NEAR(onEdge / 600.0, 1.0 / 3.0, 0.07);
    EXPECT_EQ(names.size(), 10u);
    EXPECT_EQ(warnings.Count(), 0) << warnings;
}

TEST(Clouds, AMachineGoneFirstOrNoneAtAllLeavesNothingToDangleAndBadDataIsWarnedOf) {
    EngineTest::WarningLog warnings;
    LevelText level;
    SmallSky(level, 5);
    // A cloud read from a file: no machine, the default area, about to
    // drift out of its west edge.
    level.Object(-6990, 0, {{"WIDTH", "100"}, {"HEIGHT", "50"}})
        .With("GraphicsComponent", {{"Animation", "Cloud1"}})
        .With("CloudComponent");
    PlayerGame game(level.Objects(), PlayerTest::kNoPlayer);
    CloudMachineComponent* sky = EngineTest::FindComponent<CloudMachineComponent>(*game.factory);
    ASSERT_NE(sky, nullptr);
    sky->windX = -400.0f;
    const CloudComponent* stray = EngineTest::FindComponent<CloudComponent>(*game.factory);
    ASSERT_NE(stray, nullptr);
    const int32_t strayId = stray->owner->id;
    game.core->RunFrame();
    EXPECT_EQ(EngineTest::AllComponents<CloudComponent>(*game.factory).size(), 6u);
    EXPECT_EQ(sky->count, 5);
    game.Frames(10);
    EXPECT_EQ(game.factory->FindObject(strayId), nullptr);
    EXPECT_EQ(static_cast<int32_t>(EngineTest::AllComponents<CloudComponent>(*game.factory).size()),
              sky->count);

    // The machine goes first: its clouds drift on and go as they leave,
    // with no one left to tell.
    game.factory->DestroyObject(sky->owner);
    for (int frame = 0;
         frame < 400 && !EngineTest::AllComponents<CloudComponent>(*game.factory).empty(); ++frame)
        game.core->RunFrame();
    EXPECT_TRUE(EngineTest::AllComponents<CloudComponent>(*game.factory).empty());
    EXPECT_EQ(warnings.Count(), 0) << warnings;

    // A density that would fill the default sky with clouds is kept to
    // 2000, saying so; edges given the wrong way round are swapped; an
    // empty area has a clear sky.
    const auto machine = [&](const LevelText::Keys& keys) {
        GameObject* made = game.factory->CreateObjectFromText(
            LevelText().Object().With("CloudMachineComponent", keys).Text());
        return made ? made->Get<CloudMachineComponent>() : nullptr;
    };
    const CloudMachineComponent* crowded = machine({{"CloudDensity", "1"}});
    ASSERT_NE(crowded, nullptr);
    EXPECT_EQ(crowded->target, 2000);
    EXPECT_TRUE(warnings.Contains("CloudDensity 1 asks for 204000000 clouds")) << warnings;
    game.factory->DestroyObject(crowded->owner);
    const CloudMachineComponent* backwards = machine({{"AreaLeft", "500"}, {"AreaRight", "-500"}});
    ASSERT_NE(backwards, nullptr);
    EXPECT_EQ(backwards->minX, -500.0f);
    EXPECT_TRUE(warnings.Contains("AreaLeft lies right of its AreaRight")) << warnings;
    game.factory->DestroyObject(backwards->owner);
    const CloudMachineComponent* empty = machine({{"AreaLeft", "7"}, {"AreaRight", "7"}});
    ASSERT_NE(empty, nullptr);
    game.Frames(2);
    EXPECT_EQ(empty->count, 0);
    EXPECT_TRUE(EngineTest::AllComponents<CloudComponent>(*game.factory).empty());
}

TEST(Clouds, AreaKeysAreSavedOnlyWhenMovedAndCloudsNeverAre) {
    EngineTest::WarningLog warnings;
    LevelText level;
    level.Object().With("CloudMachineComponent", {{"CloudDensity", "1e-07"}});
    PlayerGame game(SmallSky(level, 4).Objects(), PlayerTest::kNoPlayer);
    game.Frames(2);
    ASSERT_EQ(EngineTest::AllComponents<CloudComponent>(*game.factory).size(), 21u + 4u);

    const std::string once = game.dir.Path("Once.zorvel");
    ASSERT_TRUE(game.factory->SaveLevel(once, ""));
    const std::string saved = game.dir.Read("Once.zorvel");
    EXPECT_FALSE(EngineTest::Contains(saved, "CloudComponent")) << saved;
    EXPECT_TRUE(EngineTest::Contains(saved, "CloudMachineComponent\n      CloudDensity:1e-07\n"
                                            "    -CloudMachineComponent\n"))
        << saved;
    EXPECT_TRUE(EngineTest::Contains(saved, "      CloudDensity:2e-06\n      AreaLeft:-1000\n"
                                            "      AreaRight:1000\n      AreaBottom:0\n"
                                            "      AreaTop:1000\n"))
        << saved;

    // Read back and run: the same sky, not a second one over it; saved
    // again, the same bytes.
    game.factory->Free();
    game.factory->LoadLevel(once);
    game.Frames(2);
    EXPECT_EQ(EngineTest::AllComponents<CloudComponent>(*game.factory).size(), 21u + 4u);
    ASSERT_TRUE(game.factory->SaveLevel(game.dir.Path("Twice.zorvel"), ""));
    EXPECT_EQ(game.dir.Read("Twice.zorvel"), saved);
    EXPECT_EQ(warnings.Count(), 0) << warnings;
}

} // namespace
