// The player in the real game, with real input, physics and animations.

#include <regex>

#include "player/PlayerTestSupport.h"

using namespace Flurr;
using namespace PlayerTest;
using PlatformTest::Button;
using PlatformTest::Lines;
using PlatformTest::Motion;
using PlatformTest::Push;

TEST(PlayerTest, HoldingDWalksAndShiftRunsWithStepsOnFramesThreeAndSeven) {
    PlayerGame game;
    game.Stand(-1500.0f);
    // Ten seconds standing: on the ground, nothing moves, nothing sounds.
    const Vec2 rest = game.Body().position;
    EXPECT_NEAR(rest.y, 50.0f, 3.0f);
    game.heard->Take(); // the landing
    for (int frame = 0; frame < 600; ++frame) {
        ASSERT_EQ(game.Frame(), Lines{}) << "frame " << frame;
        ASSERT_TRUE(game.player->onGround) << "frame " << frame;
        ASSERT_NEAR(game.Body().position.x, rest.x, 0.5f) << "frame " << frame;
        ASSERT_NEAR(game.Body().position.y, rest.y, 0.5f) << "frame " << frame;
    }
    EXPECT_NEAR(game.Body().angle, 0.0f, 1e-3f);
    EXPECT_EQ(game.player->graphics->animation, "Idle");

    // Each sound line names the animation and frame it was played on.
    game.heard->note = [&](const Message*) {
        return " on " + game.player->graphics->animation + " " +
               std::to_string(game.player->graphics->FrameIndex());
    };
    bool walked = false, ran = false;
    Key(SDL_SCANCODE_D, true);
    for (int i = 0; i < 120; ++i, game.Frame())
        walked = walked || game.player->graphics->animation == "Walk";
    EXPECT_TRUE(walked);
    EXPECT_GT(game.Body().position.x, rest.x + 200.0f);
    EXPECT_GT(game.Body().velocity.x, 2.0f);
    EXPECT_LT(game.Body().velocity.x, 60.0f) << "walking stays below a run";
    EXPECT_FALSE(game.player->graphics->flipX) << "faces right";
    Key(SDL_SCANCODE_LSHIFT, true);
    for (int i = 0; i < 120; ++i, game.Frame())
        ran = ran || game.player->graphics->animation == "Run";
    EXPECT_TRUE(ran);
    EXPECT_GE(game.Body().velocity.x, 60.0f);
    Key(SDL_SCANCODE_LSHIFT, false);
    Key(SDL_SCANCODE_D, false);
    game.Frames(60);
    EXPECT_NEAR(game.Body().velocity.x, 0.0f, 1e-3f) << "stops on the ground";
    EXPECT_GT(game.heard->Count("Play WalkStep"), 2u);
    EXPECT_GT(game.heard->Count("Play RunStep"), 2u);
    const std::regex step("Play (Walk|Run)Step[1-6] .* on (Walk|Run) [37]");
    for (const std::string& line : game.heard->Lines("Play "))
        if (line.find("Step") != std::string::npos) {
            std::smatch m;
            EXPECT_TRUE(std::regex_match(line, m, step) && m[1] == m[2]) << line;
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

TEST(PlayerTest, AGroundJumpRisesOnceHoweverLongHeldAndKeysFollowTheActionTable) {
    PlayerGame game;
    game.Stand(-1500.0f);
    const float ground = game.Body().position.y;
    game.Hold(SDL_SCANCODE_SPACE, 4);
    const float tapHeight = game.Highest(120) - ground;
    EXPECT_GT(tapHeight, 100.0f) << "let go early, a jump is a hop";
    EXPECT_LT(tapHeight, 320.0f);
    EXPECT_TRUE(game.player->onGround);
    EXPECT_GE(game.heard->Count("Play Jump"), 1u);

    // Held: the lift keeps pushing, so it goes higher, but only one jump
    // comes of it however long the key stays down.
    game.Settle();
    Key(SDL_SCANCODE_SPACE, true);
    float top = ground, previousVy = 0.0f;
    int takeOffs = 0;
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
    EngineTest::Send(*game.player, KeyPressedMessage(0x20));
    game.Frames(10);
    EXPECT_LT(game.Body().position.y, ground + 5.0f);
    EngineTest::Send(*game.player, KeyReleasedMessage(0x20));

    // The keys come from the core's action table: bound elsewhere, walking
    // and jumping follow the new keys and the old ones do nothing.
    game.Settle();
    game.core->actions.Bind(Action::MoveRight, {KeyCode::Right}, {});
    game.core->actions.Bind(Action::Jump, {KeyCode::Up}, {PadButton::A});
    const Vec2 start = game.Body().position;
    Key(SDL_SCANCODE_D, true);
    game.Hold(SDL_SCANCODE_SPACE, 60);
    Key(SDL_SCANCODE_D, false);
    game.Frames(2);
    EXPECT_EQ(game.player->moveLevel, 0);
    EXPECT_NEAR(game.Body().position.x, start.x, 0.5f) << "D no longer walks";
    EXPECT_NEAR(game.Body().position.y, start.y, 0.5f) << "Space no longer jumps";

    game.Hold(SDL_SCANCODE_RIGHT, 60);
    EXPECT_GT(game.player->moveLevel, 0);
    EXPECT_GT(game.Body().position.x, start.x + 50.0f) << "the right arrow walks";
    game.Settle();
    Key(SDL_SCANCODE_UP, true);
    EXPECT_GT(game.Highest(40), ground + 50.0f) << "the up arrow jumps";
    Key(SDL_SCANCODE_UP, false);
}

TEST(PlayerTest, AWallJumpLeavesTheWall) {
    PlayerGame game("", kWall);
    // In the air against the wall's left face, sliding down.
    game.Place(300.0f - 23.0f, 400.0f);
    Key(SDL_SCANCODE_D, true);
    for (int i = 0; i < 40 && !game.player->wallHang; ++i)
        game.Frame();
    ASSERT_TRUE(game.player->wallHang) << "touching the wall in the air hangs on it";
    game.Frames(15);
    ASSERT_TRUE(game.player->wallHang);
    EXPECT_GT(game.Body().velocity.y, -12.0f) << "slides slowly";
    EXPECT_EQ(game.player->graphics->animation, "WallHang");
    Key(SDL_SCANCODE_D, false);
    const float height = game.Body().position.y;
    game.Hold(SDL_SCANCODE_SPACE, 3);
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
    PlayerGame game("", kFlight);
    ASSERT_TRUE(game.player->flightUnlocked);
    game.Stand(0.0f);
    // Pointer straight above the centre of the window; hold the left button.
    game.Frame({Motion(kAboveX, kAboveY)});
    Push({Button(SDL_BUTTON_LEFT, true, kAboveX, kAboveY)});
    game.Frames(2);
    EXPECT_EQ(game.player->thrustLevel, 2);
    const float full = game.player->fuel;
    game.Frames(60);
    EXPECT_TRUE(game.player->flying);
    EXPECT_GT(game.Body().position.y, 150.0f) << "thrust lifts the player";
    EXPECT_LT(game.player->fuel, full - 150.0f) << "fuel drains";
    EXPECT_GT(game.heard->Count("Play FlyLoop"), 0u);

    // An empty tank glides: still flying, on lighter gravity, trails off,
    // the thrust loops stopped.
    game.player->fuel = 0.0f;
    game.Frames(20);
    EXPECT_TRUE(game.player->flying);
    EXPECT_EQ(game.player->fuel, 0.0f);
    EXPECT_EQ(game.Body().gravity, -75.0f);
    EXPECT_FALSE(game.player->trail->effect->active);
    EXPECT_GT(game.heard->Count("Stop FlyThrustRumbleLoop"), 0u);

    Push({Button(SDL_BUTTON_LEFT, false, kAboveX, kAboveY)});
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
    EXPECT_GT(game.heard->Count("Stop FlyLoop"), 0u);
}

TEST(PlayerTest, ADashNeedsFuelAboveSixAndTheSpeedLimitsHold) {
    PlayerGame game("", kFlight | kDash);
    game.Place(0.0f, 400.0f);
    game.Frame();
    game.Frame({Motion(kRightX, kRightY)});
    auto click = [&] {
        game.Frame({Button(SDL_BUTTON_RIGHT, true, kRightX, kRightY)});
        Push({Button(SDL_BUTTON_RIGHT, false, kRightX, kRightY)});
    };
    game.player->fuel = 5.0f;
    click();
    game.Frame();
    EXPECT_EQ(game.player->dashFrames, 0) << "no dash on 5 fuel";
    EXPECT_EQ(game.heard->Count("Play FlurrLaunchExplosion"), 0u);

    game.player->fuel = 1000.0f;
    click();
    EXPECT_EQ(game.player->dashFrames, kDashFrames - 1) << "one frame of the dash spent";
    EXPECT_EQ(game.player->fuel, 1000.0f - 6.0f);
    EXPECT_EQ(game.heard->Count("Play FlurrLaunchExplosion"), 1u);
    game.Frames(5);
    EXPECT_GT(game.Body().velocity.x, 10.0f) << "dashes towards the pointer";
    game.player->fuel = 7.0f;
    game.Frames(2);
    EXPECT_EQ(game.player->dashFrames, 0);

    // Limits: 300 normally, 400 while dashing, each axis on its own (the
    // map view keeps the move damping and flight forces out of it).
    game.player->mapView = true;
    game.Body().velocity = Vec2(350.0f, -350.0f);
    game.player->Update(1.0f / 60.0f);
    EXPECT_EQ(game.Body().velocity, Vec2(300.0f, -300.0f));
    game.player->dashFrames = 10;
    game.Body().velocity = Vec2(-450.0f, 350.0f);
    game.player->Update(1.0f / 60.0f);
    EXPECT_EQ(game.Body().velocity, Vec2(-400.0f, 350.0f));
}

TEST(PlayerTest, MapViewFollowsTheOverviewAndFallsBackWithoutOne) {
    {
        PlayerGame game;
        game.Place(0.0f, 52.0f);
        game.Frames(70);
        EXPECT_EQ(game.camera->mode, CameraMode::LookAhead) << "after the 60-frame intro";
        game.Hold(SDL_SCANCODE_TAB, 1);
        game.Frame();
        EXPECT_TRUE(game.player->mapView);
        EXPECT_EQ(game.camera->current->targetName, "MapOverview");
        EXPECT_EQ(game.camera->mode, CameraMode::Smooth);
        game.Frames(60);
        EXPECT_GT(game.camera->zoom, 60.0f);
        GameObject* marker = game.player->marker.get();
        ASSERT_NE(marker, nullptr);
        EXPECT_EQ(marker->Get<GraphicsComponent>()->Opacity, 1.0f);
        EXPECT_GT(marker->y, game.player->owner->y) << "shown above the player";
        const float x = game.Body().position.x;
        game.Hold(SDL_SCANCODE_D, 30);
        EXPECT_NEAR(game.Body().position.x, x, 0.5f);
    }
    PlayerGame game("", kNoMapOverview);
    game.Place(0.0f, 52.0f);
    game.Frame();
    game.player->mapView = true;
    game.Frame();
    EXPECT_FALSE(game.player->mapView);
    EXPECT_EQ(game.camera->current->targetName, "Player");
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
    const std::string saved = EngineTest::SavedText(only);
    EXPECT_TRUE(EngineTest::Contains(saved, "MoveForce_4:11") &&
                EngineTest::Contains(saved, "FlurrForce_1:11"))
        << saved;
}

TEST(PlayerTest, DestroyingThePlayerLeavesNothingBehind) {
    PlayerGame game("", kFlight);
    game.Place(0.0f, 300.0f);
    Push({Motion(kAboveX, kAboveY), Button(SDL_BUTTON_LEFT, true, kAboveX, kAboveY)});
    game.Frames(40); // flying: the trails are live
    ASSERT_NE(game.player->marker, nullptr);
    ASSERT_GT(game.factory->objects.size(), 3u) << "the trails' particles are objects too";
    const std::size_t sprites = game.graphics->SpriteCount();
    game.factory->DestroyLater(game.player->owner);
    game.Frames(3);
    EXPECT_EQ(game.players->Player(), nullptr);
    // Left: the ground and the overview camera; the trails, the marker and
    // the prompt (never the factory's) went with the player.
    EXPECT_EQ(game.factory->objects.size(), 2u);
    EXPECT_LE(game.graphics->SpriteCount() + 3, sprites);
    // Every frame after runs without the player; a level change too, and
    // a player component on an object with nothing else (odd data).
    game.factory->Free();
    game.Frames(30);
    Push({Button(SDL_BUTTON_LEFT, false, kAboveX, kAboveY)});
    GameObject* bare =
        game.factory->CreateObjectFromText(LevelText().Object().With("PlayerComponent").Text());
    ASSERT_NE(bare, nullptr);
    EngineTest::Send(*bare->Get<PlayerComponent>(), KeyPressedMessage(0x20));
    game.Frames(30);
    EXPECT_EQ(bare->Get<PlayerComponent>()->physics, nullptr);
    game.factory->DestroyObject(bare);
    game.Frames(2);
}

TEST(PlayerTest, APadWalksJumpsFliesDashesAndShowsTheMap) {
    PlayerGame game("", kFlight | kDash);
    PlatformTest::VirtualPad pad;
    ASSERT_TRUE(pad.Attached()) << SDL_GetError();
    game.Stand(-1500.0f);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767).Axis(SDL_CONTROLLER_AXIS_LEFTY, -2000);
    game.Frames(60);
    EXPECT_GT(game.player->moveLevel, 0);
    EXPECT_GT(game.Body().velocity.x, 5.0f);
    const float ground = game.Body().position.y;

    // A jumps (the pad's jump is the higher one).
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_GT(game.Highest(40), ground + 100.0f);
    pad.Button(SDL_CONTROLLER_BUTTON_A, false);
    game.Settle();

    // Stick up and the right trigger: the jet pack lifts off and flies.
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 3000).Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
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
    EXPECT_EQ(game.player->dashFrames, kDashFrames - 1);
    EXPECT_LT(game.player->fuel, fuel - 6.0f);
    pad.Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, false)
        .Trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
    game.Frame();
    EXPECT_EQ(game.player->thrustLevel, 0);

    for (bool shown : {true, false}) {
        pad.Button(SDL_CONTROLLER_BUTTON_Y, true);
        game.Frame();
        pad.Button(SDL_CONTROLLER_BUTTON_Y, false);
        game.Frame();
        EXPECT_EQ(game.player->mapView, shown);
    }
}
