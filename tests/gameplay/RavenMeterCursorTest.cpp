// The raven, the flight meter and the mouse pointer in the real game: a
// running job's guide target, the player's tank, real mouse and pad events;
// and a level change under them, the clouds and the birds.

#include <cmath>

#include "gameplay/BirdComponent.h"
#include "gameplay/CloudComponent.h"
#include "gameplay/CloudMachineComponent.h"
#include "gameplay/FlurrMeter.h"
#include "gameplay/MouseCursor.h"
#include "gameplay/Raven.h"
#include "jobs/JobTestSupport.h"

using namespace Flurr;
namespace {

using EngineTest::LevelText;
using JobTest::Bank;
using JobTest::JobGame;
using JobTest::JobText;
using JobTest::Node;
using PlayerTest::PlayerGame;

// The three at the origin, each with its sprite.
std::string Guides() {
    LevelText level;
    level.Object(0, 0, {{"WIDTH", "60"}, {"HEIGHT", "60"}})
        .With("GraphicsComponent", {{"Animation", "Raven"}})
        .With("Raven");
    level.Object(0, 0, {{"WIDTH", "120"}, {"HEIGHT", "120"}})
        .With("GraphicsComponent", {{"Animation", "FlurrMeter"}})
        .With("FlurrMeter");
    level.Object(0, 0, {{"WIDTH", "32"}, {"HEIGHT", "32"}})
        .With("GraphicsComponent", {{"Animation", "MouseCursor"}})
        .With("MouseCursor");
    return level.Objects();
}

template <typename C> C* Find(const Factory& factory) {
    return EngineTest::FindComponent<C>(factory);
}
GraphicsComponent* SpriteOf(const Component* component) {
    return component && component->owner ? component->owner->Get<GraphicsComponent>() : nullptr;
}

TEST(Raven, LeansTowardsTheGuideTargetOfTheRunningJobAndIdlesWithoutOne) {
    EngineTest::WarningLog warnings;
    LevelText level;
    JobTest::Entity(level, 3000, 400, 1, "Right", "Checkpoint");
    JobTest::Entity(level, -3000, 400, 2, "Left", "Checkpoint");
    JobGame game(Bank(JobText("Right", Node("Checkpoint", "ID:1\nRavenGuide:true\n")) +
                      JobText("Left", Node("Checkpoint", "ID:2\nRavenGuide:true\n"))),
                 level.Objects() + Guides());
    Raven* raven = Find<Raven>(*game.factory);
    ASSERT_NE(raven, nullptr);
    GraphicsComponent* sprite = SpriteOf(raven);
    ASSERT_NE(sprite, nullptr);
    const GameObject& player = *game.player->owner;
    game.Stand(0);

    // No job: above and right of the player, facing right.
    EXPECT_EQ(raven->owner->x, player.x + 100.0f);
    EXPECT_EQ(raven->owner->y, player.y + 100.0f);
    EXPECT_FALSE(sprite->flipX);
    EXPECT_EQ(sprite->animation, "Raven");

    // A target far to the right: on the line to it, its reach from the player.
    game.Start("Right");
    game.Frame();
    Vec2 d(raven->owner->x - player.x, raven->owner->y - player.y);
    EXPECT_NEAR(d.Length(), 100.0f, 0.01f);
    EXPECT_NEAR(d.y / d.x, (400.0f - player.y) / (3000.0f - player.x), 1e-3f);
    EXPECT_GT(d.x, 0.0f);
    EXPECT_FALSE(sprite->flipX);
    EXPECT_EQ(sprite->animation, "RavenPoint");

    // A target to the left turns it round; one within reach is sat on.
    game.Start("Left");
    game.Frame();
    EXPECT_LT(raven->owner->x, player.x - 99.0f);
    EXPECT_TRUE(sprite->flipX);
    game.Place(-3000, 400 - 30);
    game.Frame();
    const GameObject& left = *game.EntityWith(2)->owner;
    EXPECT_NEAR(raven->owner->x, left.x, 0.01f);
    EXPECT_NEAR(raven->owner->y, left.y, 0.01f);

    // The job done: back to idling beside the player.
    game.EntityWith(2)->Complete();
    game.Stand(-2500);
    EXPECT_TRUE(game.jobSystem->guideTargets.empty());
    EXPECT_EQ(raven->owner->x, player.x + 100.0f);
    EXPECT_FALSE(sprite->flipX);
    EXPECT_EQ(warnings.Count(), 0) << warnings;
}

TEST(FlurrMeter, WipesWithTheFuelSpentAndKeepsItsRingThroughLevelChanges) {
    EngineTest::WarningLog warnings;
    PlayerGame game(Guides(), PlayerTest::kFlight);
    FlurrMeter* meter = Find<FlurrMeter>(*game.factory);
    ASSERT_NE(meter, nullptr);
    GraphicsComponent* dial = SpriteOf(meter);
    ASSERT_NE(dial, nullptr);
    game.Stand(0);

    // Low right of the screen's centre, where it sits on 800 x 600: this
    // 150-pixel-high screen shows the same 600 world units, so the dial is
    // in the same place in view (it once stood 1200 units out, off screen).
    const CameraState& camera = game.graphics->Camera();
    EXPECT_NEAR(meter->owner->x, camera.x + 300.0f, 0.01f);
    EXPECT_NEAR(meter->owner->y, camera.y - 200.0f, 0.01f);
    EXPECT_EQ(dial->shader, SpriteShader::ClockWipe);
    EXPECT_TRUE(dial->orthographic);
    EXPECT_EQ(dial->Opacity, 1.0f);

    // Full, three quarters spent, empty (the player refills a little on the
    // ground before the meter reads it); a tank that holds nothing shows as
    // empty.
    const float fuelMax = game.player->fuelMax;
    for (float share : {1.0f, 0.25f, 0.0f}) {
        game.player->fuel = fuelMax * share;
        game.Frame();
        EXPECT_NEAR(dial->frame, 1.0f - share, 0.02f) << share;
        EXPECT_FLOAT_EQ(dial->frame, 1.0f - game.player->fuel / fuelMax) << share;
    }
    game.player->fuel = 0.0f;
    game.player->fuelMax = 0.0f;
    game.Frame();
    EXPECT_EQ(dial->frame, 1.0f);
    game.player->fuelMax = fuelMax;
    game.player->fuel = fuelMax;
    game.Frame();
    EXPECT_EQ(dial->frame, 0.0f);
    EXPECT_EQ(dial->FrameIndex(), 0);

    // The ring: above the dial, the running game's, still while standing;
    // both hide while the pause menu is up.
    GameObject* ring = game.factory->FindObject(meter->frame);
    ASSERT_NE(ring, nullptr);
    EXPECT_FALSE(ring->savedWithLevel);
    EXPECT_EQ(ring->y, meter->owner->y + 10.0f);
    GraphicsComponent* turning = ring->Get<GraphicsComponent>();
    ASSERT_NE(turning, nullptr);
    EXPECT_EQ(turning->animation, "FlurrMeter_frame");
    EXPECT_EQ(turning->frameRate, 0.0f);
    game.spaces->SetSpaceActive(Spaces::Pause, true);
    game.Frame();
    EXPECT_EQ(dial->Opacity, 0.0f);
    EXPECT_EQ(turning->Opacity, 0.0f);
    game.spaces->SetSpaceActive(Spaces::Pause, false);

    // Taken by someone else: made again. The meter gone: the ring goes too.
    const int32_t first = meter->frame;
    game.factory->DestroyObject(ring);
    game.Frame();
    EXPECT_NE(meter->frame, first);
    const int32_t second = meter->frame;
    ASSERT_NE(game.factory->FindObject(second), nullptr);
    game.factory->DestroyObject(meter->owner);
    game.Frame();
    EXPECT_EQ(game.factory->FindObject(second), nullptr);
    EXPECT_EQ(warnings.Count(), 0) << warnings;
}

TEST(MouseCursor, FollowsTheMouseFadesAtRestAndHidesForThePad) {
    PlayerGame game(Guides());
    MouseCursor* cursor = Find<MouseCursor>(*game.factory);
    ASSERT_NE(cursor, nullptr);
    GraphicsComponent* sprite = SpriteOf(cursor);
    ASSERT_NE(sprite, nullptr);
    game.Stand(0);

    // Under the mouse: 30 pixels right of and 20 above the centre of the
    // 200 x 150 window, four world units a pixel (within the player's
    // aiming reach, so the pointer stays where it was put).
    game.Frame({PlatformTest::Motion(130, 55)});
    const CameraState& camera = game.graphics->Camera();
    EXPECT_NEAR(cursor->owner->x, camera.x + 120.0f, 0.01f);
    EXPECT_NEAR(cursor->owner->y, camera.y + 80.0f, 0.01f);
    EXPECT_TRUE(sprite->orthographic);
    EXPECT_EQ(sprite->ZPos, MouseCursor::kDepth);

    // 150 frames at rest in full, then 200 to nothing.
    game.Frames(149);
    EXPECT_EQ(sprite->Opacity, 1.0f);
    game.Frame();
    EXPECT_NEAR(sprite->Opacity, 0.995f, 1e-4f);
    game.Frames(199);
    EXPECT_EQ(sprite->Opacity, 0.0f);

    // Moving wakes it at once, even far out where the player keeps putting
    // the pointer back on its reach; resting there still fades it.
    game.Frame({PlatformTest::Motion(20, 140)});
    EXPECT_EQ(sprite->Opacity, 1.0f);
    EXPECT_NEAR(cursor->owner->x, camera.x - 320.0f, 0.01f);
    EXPECT_NEAR(cursor->owner->y, camera.y - 260.0f, 0.01f);
    game.Frames(360);
    EXPECT_EQ(sprite->Opacity, 0.0f);

    // A pad button hides it at once, and it stays hidden until the mouse
    // moves.
    game.Frame({PlatformTest::Motion(90, 80)});
    EXPECT_EQ(sprite->Opacity, 1.0f);
    PlatformTest::VirtualPad pad;
    ASSERT_TRUE(pad.Attached()) << SDL_GetError();
    game.Frame();
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    game.Frame();
    pad.Button(SDL_CONTROLLER_BUTTON_A, false);
    game.Frame();
    EXPECT_EQ(sprite->Opacity, 0.0f);
    game.Frames(10);
    EXPECT_EQ(sprite->Opacity, 0.0f);
    game.Frame({PlatformTest::Motion(91, 80)});
    EXPECT_EQ(sprite->Opacity, 1.0f);
}

// Everything that lives in a level at once: clouds drifting, birds
// flying, the raven, the meter and the pointer.
TEST(LivingTown, ALevelChangeAndARestartUnderAllOfItLeaveNothingBehind) {
    EngineTest::WarningLog warnings;
    LevelText life;
    life.Object().With("CloudMachineComponent", {{"CloudDensity", "3e-06"},
                                                 {"AreaLeft", "-1000"},
                                                 {"AreaRight", "1000"},
                                                 {"AreaBottom", "0"},
                                                 {"AreaTop", "1000"}});
    for (float x : {-300.0f, 0.0f, 300.0f}) {
        life.Object(x, 300).With("BirdPerch");
        life.Object(x, 600, {{"WIDTH", "28"}, {"HEIGHT", "28"}})
            .With("GraphicsComponent", {{"Animation", "BlackBird"}})
            .With("BirdComponent");
    }
    PlayerGame game(life.Objects() + Guides());
    game.Stand(0);
    const int32_t ring = Find<FlurrMeter>(*game.factory)->frame;
    ASSERT_NE(game.factory->FindObject(ring), nullptr);
    std::vector<int32_t> old;
    for (const CloudComponent* cloud : EngineTest::AllComponents<CloudComponent>(*game.factory))
        old.push_back(cloud->owner->id);
    ASSERT_GE(old.size(), 5u);
    const std::string level = game.dir.Write(
        "Next.zorvel", "Root\n" +
                           LevelText().Object(0, -200).Box(6000, 400, LevelText::Floor).Objects() +
                           life.Objects() + Guides() + "-Root\n");
    // Twice, the second a restart that frees the level twice, in the middle
    // of the clouds' drift and the birds' flight.
    for (int round = 0; round < 2; ++round) {
        for (int free = 0; free <= round; ++free)
            game.factory->Free();
        game.factory->LoadLevel(level);
        ASSERT_NE(game.factory->LoadObject("Resources/Objects/Player.zorvel"), nullptr);
        game.player = game.players->Player();
        game.Frame({PlatformTest::Motion(10, 10)});
        game.Frames(30);
        FlurrMeter* meter = Find<FlurrMeter>(*game.factory);
        ASSERT_NE(meter, nullptr);
        EXPECT_NE(meter->frame, ring);
        EXPECT_NE(game.factory->FindObject(meter->frame), nullptr);
        Raven* raven = Find<Raven>(*game.factory);
        ASSERT_NE(raven, nullptr);
        EXPECT_EQ(raven->owner->x, game.player->owner->x + 100.0f);
        EXPECT_EQ(SpriteOf(Find<MouseCursor>(*game.factory))->Opacity, 1.0f);
        const auto* sky = Find<CloudMachineComponent>(*game.factory);
        ASSERT_NE(sky, nullptr);
        EXPECT_GE(sky->count, 5);
        EXPECT_EQ(
            static_cast<int32_t>(EngineTest::AllComponents<CloudComponent>(*game.factory).size()),
            sky->count);
        EXPECT_EQ(EngineTest::AllComponents<BirdComponent>(*game.factory).size(), 3u);
    }
    EXPECT_EQ(game.factory->FindObject(ring), nullptr);
    for (int32_t id : old)
        EXPECT_EQ(game.factory->FindObject(id), nullptr);
    EXPECT_EQ(warnings.Count(), 0) << warnings;
}

} // namespace
