// The player character driven through the real game: input pushed as SDL
// events, the real physics, sprites and animation bank, sounds observed as
// the messages the sound system would receive.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "player/PlayerTestSupport.h"
#include "serialization/Serializer.h"

using namespace Flurr;
using namespace PlayerTest;

namespace {

int Count(const std::vector<SoundCue>& cues, const std::string& prefix) {
    return static_cast<int>(std::count_if(cues.begin(), cues.end(), [&](const SoundCue& c) {
        return !c.stop && c.name.rfind(prefix, 0) == 0;
    }));
}

} // namespace

TEST(PlayerTest, StandsStillOnTheGroundForTenSeconds) {
    PlayerGame game;
    ASSERT_NE(game.player, nullptr);
    game.Place(0.0f, 52.0f);
    game.Settle();
    const Vec2 rest = game.Body().position;
    EXPECT_NEAR(rest.y, 50.0f, 3.0f) << "the feet rest on the ground";
    game.sounds->cues.clear(); // the landing
    for (int frame = 0; frame < 600; ++frame) {
        game.Frame();
        ASSERT_TRUE(game.player->onGround) << "frame " << frame;
        ASSERT_NEAR(game.Body().position.x, rest.x, 0.5f) << "frame " << frame;
        ASSERT_NEAR(game.Body().position.y, rest.y, 0.5f) << "frame " << frame;
    }
    EXPECT_NEAR(game.Body().angle, 0.0f, 1e-3f);
    EXPECT_EQ(game.player->graphics->animation, "Idle");
    EXPECT_EQ(Count(game.sounds->cues, ""), 0) << "standing makes no sound";
}

TEST(PlayerTest, HoldingDWalksAndShiftRunsWithStepsOnFramesThreeAndSeven) {
    PlayerGame game;
    game.Place(-1500.0f, 52.0f);
    game.Settle();
    const float start = game.Body().position.x;
    Key(SDL_SCANCODE_D, true);
    bool walked = false;
    for (int i = 0; i < 120; ++i) {
        game.Frame();
        walked = walked || game.player->graphics->animation == "Walk";
    }
    EXPECT_TRUE(walked);
    EXPECT_GT(game.Body().position.x, start + 200.0f);
    EXPECT_GT(game.Body().velocity.x, 2.0f);
    EXPECT_LT(game.Body().velocity.x, 60.0f) << "walking stays below a run";
    EXPECT_FALSE(game.player->graphics->flipX) << "faces right";

    Key(SDL_SCANCODE_LSHIFT, true);
    bool ran = false;
    for (int i = 0; i < 120; ++i) {
        game.Frame();
        ran = ran || game.player->graphics->animation == "Run";
    }
    EXPECT_TRUE(ran);
    EXPECT_GE(game.Body().velocity.x, 60.0f);
    Key(SDL_SCANCODE_LSHIFT, false);
    Key(SDL_SCANCODE_D, false);
    game.Frames(60);
    EXPECT_NEAR(game.Body().velocity.x, 0.0f, 1e-3f) << "stops on the ground";

    const auto& cues = game.sounds->cues;
    EXPECT_GT(Count(cues, "WalkStep"), 2);
    EXPECT_GT(Count(cues, "RunStep"), 2);
    for (const SoundCue& cue : cues) {
        if (cue.name.rfind("WalkStep", 0) == 0 || cue.name.rfind("RunStep", 0) == 0) {
            EXPECT_TRUE(cue.frame == 3 || cue.frame == 7) << cue.name << " on frame " << cue.frame;
            EXPECT_EQ(cue.animation, cue.name.rfind("Walk", 0) == 0 ? "Walk" : "Run");
            const int n = std::stoi(cue.name.substr(cue.name.size() - 1));
            EXPECT_TRUE(n >= 1 && n <= 6) << cue.name;
        }
    }

    // Left goes left and the sprite turns; both keys together stand still.
    Key(SDL_SCANCODE_A, true);
    game.Frames(40);
    EXPECT_LT(game.Body().velocity.x, -2.0f);
    EXPECT_TRUE(game.player->graphics->flipX);
    Key(SDL_SCANCODE_D, true);
    game.Frames(2);
    EXPECT_EQ(game.player->moveLevel, 0);
    Key(SDL_SCANCODE_A, false);
    game.Frames(2);
    EXPECT_GT(game.player->moveLevel, 0) << "the key still held takes over";
}

TEST(PlayerTest, AGroundJumpReachesItsHeightOnceAndHoldingDoesNotJumpAgain) {
    PlayerGame game;
    game.Place(-1500.0f, 52.0f);
    game.Settle();
    const float ground = game.Body().position.y;

    // A tap: the key is down for a few frames only.
    Key(SDL_SCANCODE_SPACE, true);
    game.Frames(4);
    Key(SDL_SCANCODE_SPACE, false);
    float top = ground;
    for (int i = 0; i < 120; ++i) {
        game.Frame();
        top = std::max(top, game.Body().position.y);
    }
    const float tapHeight = top - ground;
    EXPECT_GT(tapHeight, 150.0f);
    EXPECT_LT(tapHeight, 320.0f);
    EXPECT_TRUE(game.player->onGround);
    EXPECT_GE(Count(game.sounds->cues, "Jump"), 1);

    // Held: the lift keeps pushing, so it goes higher, but only one jump
    // comes of it however long the key stays down.
    game.Settle();
    Key(SDL_SCANCODE_SPACE, true);
    top = ground;
    int takeOffs = 0;
    float previousVy = 0.0f;
    for (int i = 0; i < 300; ++i) {
        game.Frame();
        top = std::max(top, game.Body().position.y);
        // A jump is one step's impulse: the climb speed leaps at once.
        if (game.Body().velocity.y - previousVy > 30.0f && game.Body().velocity.y > 30.0f)
            ++takeOffs;
        previousVy = game.Body().velocity.y;
    }
    Key(SDL_SCANCODE_SPACE, false);
    game.Frames(2);
    EXPECT_EQ(takeOffs, 1);
    EXPECT_GT(top - ground, tapHeight + 20.0f);
    EXPECT_LT(top - ground, 450.0f);
    EXPECT_EQ(game.player->jumpPresses, 0) << "release allows the next jump";

    // The press count, not the key: a third press before release is no jump.
    game.Settle();
    game.player->jumpPresses = 2;
    KeyPressedMessage third(0x20);
    game.player->SendMessage(&third);
    game.Frames(10);
    EXPECT_LT(game.Body().position.y, ground + 5.0f);
}

TEST(PlayerTest, AWallJumpLeavesTheWall) {
    PlayerGame::Options options;
    options.wall = true;
    options.wallLeft = 300.0f;
    PlayerGame game(options);
    // In the air against the wall's left face, sliding down.
    game.Place(300.0f - 23.0f, 400.0f);
    Key(SDL_SCANCODE_D, true);
    bool hung = false;
    for (int i = 0; i < 40 && !hung; ++i) {
        game.Frame();
        hung = game.player->wallHang;
    }
    ASSERT_TRUE(hung) << "touching the wall in the air hangs on it";
    game.Frames(15);
    ASSERT_TRUE(game.player->wallHang);
    EXPECT_GT(game.Body().velocity.y, -12.0f) << "slides slowly";
    EXPECT_EQ(game.player->graphics->animation, "WallHang");
    Key(SDL_SCANCODE_D, false);
    const float height = game.Body().position.y;
    Key(SDL_SCANCODE_SPACE, true);
    game.Frames(3);
    Key(SDL_SCANCODE_SPACE, false);
    float lowestX = game.Body().position.x;
    float top = height;
    for (int i = 0; i < 30; ++i) {
        game.Frame();
        lowestX = std::min(lowestX, game.Body().position.x);
        top = std::max(top, game.Body().position.y);
    }
    EXPECT_LT(lowestX, 300.0f - 23.0f - 40.0f) << "pushed away from the wall";
    EXPECT_GT(top, height + 50.0f) << "and up";
}

TEST(PlayerTest, FlightDrainsFuelAndRefillsAfterThirtyFramesWithoutThrust) {
    PlayerGame::Options options;
    options.flight = true;
    PlayerGame game(options);
    ASSERT_TRUE(game.player->flightUnlocked);
    game.Place(0.0f, 52.0f);
    game.Settle();
    // Pointer straight above the centre of the window; hold the left button.
    PlatformTest::PushMotion(kAboveX, kAboveY);
    game.Frame();
    PlatformTest::PushButton(SDL_BUTTON_LEFT, true, kAboveX, kAboveY);
    game.Frames(2);
    EXPECT_EQ(game.player->thrustLevel, 2);
    const float full = game.player->fuel;
    game.Frames(60);
    EXPECT_TRUE(game.player->flying);
    EXPECT_GT(game.Body().position.y, 150.0f) << "thrust lifts the player";
    EXPECT_LT(game.player->fuel, full - 150.0f) << "fuel drains";
    EXPECT_GT(Count(game.sounds->cues, "FlyLoop"), 0);

    // An empty tank glides: still flying, on lighter gravity, trails off,
    // the thrust loops stopped.
    game.player->fuel = 0.0f;
    game.Frames(20);
    EXPECT_TRUE(game.player->flying);
    EXPECT_EQ(game.player->fuel, 0.0f);
    EXPECT_EQ(game.Body().gravity, -75.0f);
    EXPECT_FALSE(game.player->trail->effect->active);
    const auto& glideCues = game.sounds->cues;
    EXPECT_TRUE(std::any_of(glideCues.begin(), glideCues.end(), [](const SoundCue& c) {
        return c.stop && c.name == "FlyThrustRumbleLoop";
    }));

    PlatformTest::PushButton(SDL_BUTTON_LEFT, false, kAboveX, kAboveY);
    game.Frame();
    // The release frame is the first without thrust; the 31st refills.
    const float afterThrust = game.player->fuel;
    game.Frames(29);
    EXPECT_EQ(game.player->fuel, afterThrust) << "nothing for 30 frames";
    game.Frame();
    EXPECT_EQ(game.player->fuel, afterThrust + 10.0f) << "10 a frame in the air";
    // Landed: twice as fast on the ground, up to the full tank.
    for (int i = 0; i < 400 && !game.player->onGround; ++i)
        game.Frame();
    ASSERT_TRUE(game.player->onGround);
    game.Frames(2);
    const float before = game.player->fuel;
    game.Frame();
    if (before < game.player->fuelMax - 20.0f) {
        EXPECT_EQ(game.player->fuel, before + 20.0f);
    }
    game.Frames(200);
    EXPECT_EQ(game.player->fuel, game.player->fuelMax);
    EXPECT_FALSE(game.player->flying);
    // The flight loops do not play on under the footsteps.
    const auto& cues = game.sounds->cues;
    EXPECT_TRUE(std::any_of(cues.begin(), cues.end(),
                            [](const SoundCue& c) { return c.stop && c.name == "FlyLoop"; }));
}

TEST(PlayerTest, ADashNeedsFuelAboveSixAndTheSpeedLimitsHold) {
    PlayerGame::Options options;
    options.flight = true;
    options.dash = true;
    PlayerGame game(options);
    game.Place(0.0f, 400.0f);
    game.Frame();
    PlatformTest::PushMotion(kRightX, kRightY);
    game.Frame();

    game.player->fuel = 5.0f;
    PlatformTest::PushButton(SDL_BUTTON_RIGHT, true, kRightX, kRightY);
    game.Frame();
    PlatformTest::PushButton(SDL_BUTTON_RIGHT, false, kRightX, kRightY);
    game.Frame();
    EXPECT_EQ(game.player->dashFrames, 0) << "no dash on 5 fuel";
    EXPECT_EQ(Count(game.sounds->cues, "FlurrLaunchExplosion"), 0);

    game.player->fuel = 1000.0f;
    PlatformTest::PushButton(SDL_BUTTON_RIGHT, true, kRightX, kRightY);
    game.Frame();
    PlatformTest::PushButton(SDL_BUTTON_RIGHT, false, kRightX, kRightY);
    EXPECT_EQ(game.player->dashFrames, 29) << "30 frames, one spent";
    EXPECT_EQ(game.player->fuel, 1000.0f - 6.0f);
    EXPECT_EQ(Count(game.sounds->cues, "FlurrLaunchExplosion"), 1);
    game.Frames(5);
    EXPECT_GT(game.Body().velocity.x, 10.0f) << "dashes towards the pointer";
    // Running dry stops it.
    game.player->fuel = 7.0f;
    game.Frames(2);
    EXPECT_EQ(game.player->dashFrames, 0);

    // Limits: 300 normally, 400 while dashing, each axis on its own (the
    // map view keeps the move damping and flight forces out of it).
    game.player->mapView = true;
    game.Body().velocity = Vec2(350.0f, -350.0f);
    game.player->Update(1.0f / 60.0f);
    EXPECT_EQ(game.Body().velocity.x, 300.0f);
    EXPECT_EQ(game.Body().velocity.y, -300.0f);
    game.player->dashFrames = 10;
    game.Body().velocity = Vec2(-450.0f, 350.0f);
    game.player->Update(1.0f / 60.0f);
    EXPECT_EQ(game.Body().velocity.x, -400.0f);
    EXPECT_EQ(game.Body().velocity.y, 350.0f);
}

TEST(PlayerTest, MapViewFollowsTheOverviewAndFallsBackWithoutOne) {
    {
        PlayerGame game;
        game.Place(0.0f, 52.0f);
        game.Frames(70);
        EXPECT_EQ(game.camera->mode, CameraMode::LookAhead) << "after the 60-frame intro";
        Key(SDL_SCANCODE_TAB, true);
        game.Frame();
        Key(SDL_SCANCODE_TAB, false);
        game.Frame();
        EXPECT_TRUE(game.player->mapView);
        EXPECT_EQ(game.camera->current->targetName, "MapOverview");
        EXPECT_EQ(game.camera->targetZoom, 250.0f);
        EXPECT_EQ(game.camera->mode, CameraMode::Smooth);
        game.Frames(60);
        EXPECT_GT(game.camera->zoom, 100.0f);
        GameObject* marker = game.player->marker.get();
        ASSERT_NE(marker, nullptr);
        EXPECT_EQ(marker->Get<GraphicsComponent>()->Opacity, 1.0f);
        EXPECT_GT(marker->y, game.player->owner->y) << "shown above the player";
        // Input does not move the player in the map view.
        Key(SDL_SCANCODE_D, true);
        const float x = game.Body().position.x;
        game.Frames(30);
        Key(SDL_SCANCODE_D, false);
        EXPECT_NEAR(game.Body().position.x, x, 0.5f);
    }
    {
        PlayerGame::Options options;
        options.mapOverview = false;
        PlayerGame game(options);
        game.Place(0.0f, 52.0f);
        game.Frame();
        game.player->mapView = true;
        game.Frame();
        EXPECT_FALSE(game.player->mapView);
        EXPECT_EQ(game.camera->current->targetName, "Player");
    }
}

// The player's keys come from the core's action table: bound elsewhere,
// walking and jumping follow the new keys and the old ones do nothing.
TEST(PlayerTest, WalkingAndJumpingFollowTheKeysTheActionTableBinds) {
    PlayerGame game;
    game.Place(-1500.0f, 52.0f);
    game.Settle();
    game.core->actions.Bind(Action::MoveRight, {KeyCode::Right}, {});
    game.core->actions.Bind(Action::Jump, {KeyCode::Up}, {PadButton::A});
    const Vec2 start = game.Body().position;

    Key(SDL_SCANCODE_D, true);
    Key(SDL_SCANCODE_SPACE, true);
    game.Frames(60);
    Key(SDL_SCANCODE_D, false);
    Key(SDL_SCANCODE_SPACE, false);
    game.Frames(2);
    EXPECT_EQ(game.player->moveLevel, 0);
    EXPECT_NEAR(game.Body().position.x, start.x, 0.5f) << "D no longer walks";
    EXPECT_NEAR(game.Body().position.y, start.y, 0.5f) << "Space no longer jumps";

    Key(SDL_SCANCODE_RIGHT, true);
    game.Frames(60);
    EXPECT_GT(game.player->moveLevel, 0);
    EXPECT_GT(game.Body().position.x, start.x + 50.0f) << "the right arrow walks";
    Key(SDL_SCANCODE_RIGHT, false);
    game.Settle();

    const float ground = game.Body().position.y;
    Key(SDL_SCANCODE_UP, true);
    float top = ground;
    for (int i = 0; i < 40; ++i) {
        game.Frame();
        top = std::max(top, game.Body().position.y);
    }
    Key(SDL_SCANCODE_UP, false);
    EXPECT_GT(top, ground + 50.0f) << "the up arrow jumps";
}

TEST(PlayerTest, ArchetypeKeysShareTheFourthMoveForceWithTheFirstThrust) {
    PlayerComponent player;
    StringLoadSerializer both("PlayerComponent\n  MoveForce_4:11\n  FlurrForce_1:22\n"
                              "  FlurrForce_2:33\n  MoveForce_1:1\n-PlayerComponent\n");
    player.Serialize(both);
    EXPECT_EQ(player.MoveForce(4), 22.0f) << "FlurrForce_1 is read last";
    EXPECT_EQ(player.ThrustForce(1), 22.0f);
    EXPECT_EQ(player.ThrustForce(2), 33.0f);
    EXPECT_EQ(player.ThrustForce(0), 0.0f);
    EXPECT_EQ(player.MoveForce(-1), 1.0f);
    EXPECT_EQ(player.MoveForce(3), 0.0f);
    // Out-of-range levels read the nearest force instead of past the table.
    EXPECT_EQ(player.MoveForce(9), 22.0f);
    EXPECT_EQ(player.ThrustForce(-7), 0.0f);

    PlayerComponent only;
    StringLoadSerializer fourth("PlayerComponent\n  MoveForce_4:11\n-PlayerComponent\n");
    only.Serialize(fourth);
    EXPECT_EQ(only.ThrustForce(1), 11.0f);

    StringSaveSerializer saver;
    only.Serialize(saver);
    saver.Finish();
    EXPECT_NE(saver.Result().find("MoveForce_4:11"), std::string::npos);
    EXPECT_NE(saver.Result().find("FlurrForce_1:11"), std::string::npos);
}

TEST(PlayerTest, DestroyingThePlayerLeavesNothingBehind) {
    PlayerGame::Options options;
    options.flight = true;
    PlayerGame game(options);
    game.Place(0.0f, 300.0f);
    PlatformTest::PushMotion(kAboveX, kAboveY);
    PlatformTest::PushButton(SDL_BUTTON_LEFT, true, kAboveX, kAboveY);
    game.Frames(40); // flying: the trails are live
    ASSERT_NE(game.player->marker, nullptr);
    ASSERT_GT(game.factory->objects.size(), 3u) << "the trails' particles are objects too";
    const std::size_t sprites = game.graphics->SpriteCount();
    game.factory->DestroyLater(game.player->owner);
    game.Frames(3);
    EXPECT_EQ(game.controller->Player(), nullptr);
    // Left: the level's ground and overview camera. The trails' particles
    // went with their effects; the marker and prompt were never the
    // Factory's (a saved level must not hold them) and went with the player.
    EXPECT_EQ(game.factory->objects.size(), 2u);
    EXPECT_LE(game.graphics->SpriteCount() + 3, sprites);
    // Every frame after runs without the player; a level change too.
    game.factory->Free();
    game.Frames(30);
    PlatformTest::PushButton(SDL_BUTTON_LEFT, false, kAboveX, kAboveY);
    game.Frames(2);
}

TEST(PlayerTest, APadWalksJumpsFliesDashesAndShowsTheMap) {
    PlayerGame::Options options;
    options.flight = true;
    options.dash = true;
    PlayerGame game(options);
    PlatformTest::VirtualPad pad;
    ASSERT_TRUE(pad.Attached()) << SDL_GetError();
    game.Place(-1500.0f, 52.0f);
    game.Settle();

    // The stick pushed right walks right.
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -2000);
    game.Frames(60);
    EXPECT_GT(game.player->moveLevel, 0);
    EXPECT_GT(game.Body().velocity.x, 5.0f);
    const float ground = game.Body().position.y;

    // A jumps (the pad's jump is the higher one).
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    game.Frames(3);
    pad.Button(SDL_CONTROLLER_BUTTON_A, false);
    float top = ground;
    for (int i = 0; i < 40; ++i) {
        game.Frame();
        top = std::max(top, game.Body().position.y);
    }
    EXPECT_GT(top, ground + 100.0f);
    game.Settle();

    // Stick up and the right trigger: the jet pack lifts off and flies.
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 3000);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    game.Frame();
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    game.Frames(45);
    EXPECT_TRUE(game.player->flying);
    EXPECT_GT(game.Body().position.y, ground + 150.0f);
    EXPECT_LT(game.player->fuel, game.player->fuelMax);

    // The left shoulder dashes along the stick, once per press.
    const float fuel = game.player->fuel;
    pad.Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    game.Frame();
    EXPECT_EQ(game.player->dashFrames, 29);
    EXPECT_LT(game.player->fuel, fuel - 6.0f);
    pad.Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, false);
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
    game.Frame();
    EXPECT_EQ(game.player->thrustLevel, 0);

    // Y shows the map and shows the player again.
    pad.Button(SDL_CONTROLLER_BUTTON_Y, true);
    game.Frame();
    pad.Button(SDL_CONTROLLER_BUTTON_Y, false);
    game.Frame();
    EXPECT_TRUE(game.player->mapView);
    pad.Button(SDL_CONTROLLER_BUTTON_Y, true);
    game.Frame();
    pad.Button(SDL_CONTROLLER_BUTTON_Y, false);
    game.Frame();
    EXPECT_FALSE(game.player->mapView);
}

TEST(PlayerTest, APlayerWithoutABodyOrSpriteStillRuns) {
    PlayerGame game;
    // Odd data: a player component on an object with nothing else.
    GameObject* bare = game.factory->CreateObjectFromText(
        "Root\n  GameObject\n    PlayerComponent\n    -PlayerComponent\n  -GameObject\n-Root\n");
    ASSERT_NE(bare, nullptr);
    KeyPressedMessage jump(0x20);
    bare->Get<PlayerComponent>()->SendMessage(&jump);
    game.Frames(30);
    EXPECT_EQ(bare->Get<PlayerComponent>()->physics, nullptr);
    game.factory->DestroyObject(bare);
    game.Frames(2);
}
