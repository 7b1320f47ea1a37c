// How the moves feel, through real keys: no walk stalls on a seam of
// Hillside, jumps forgive early and late presses and rise with the hold,
// and no flight loses the player.

#include <glm/vec3.hpp>

#include "graphics/Camera.h"

#include "player/PlayerTestSupport.h"

using namespace Flurr;
using namespace PlayerTest;
using PlatformTest::Button;
using PlatformTest::Motion;
using PlatformTest::Push;
using Vec3 = glm::vec3;

TEST(PlayerFeel, EveryFloorRunOfHillsideWalksThroughBothWays) {
    PlayerGame game("", 0, "Resources/Levels/Hillside.zorvel");
    // Ground (up the slope, over the plateau, down; under the chimney's
    // wall), the chimney's top and its platform, every platform: from, to, top.
    for (const Vec3 run :
         {Vec3(-1170, 3300, 0), Vec3(3480, 5150, 0), Vec3(5850, 6960, 0), Vec3(3370, 3930, 1000),
          Vec3(3020, 3080, 800), Vec3(4070, 4330, 850), Vec3(4470, 4730, 700),
          Vec3(4870, 5130, 560), Vec3(4220, 4480, 1500), Vec3(5740, 6000, 1150),
          Vec3(5970, 6250, 1750), Vec3(6520, 6800, 2150), Vec3(5220, 5500, 2300)})
        for (const float way : {1.0f, -1.0f}) {
            game.Place(way > 0 ? run.x : run.y, run.z + 55.0f);
            game.Frames(20);
            const int budget = static_cast<int>((run.y - run.x) / 2.0f) + 90;
            int frames = 0;
            Key(way > 0 ? SDL_SCANCODE_D : SDL_SCANCODE_A, true);
            while (((way > 0 ? run.y : run.x) - game.Body().position.x) * way > 0 &&
                   ++frames < budget)
                game.Frame();
            Key(way > 0 ? SDL_SCANCODE_D : SDL_SCANCODE_A, false);
            EXPECT_LT(frames, budget)
                << "stalled at " << game.Body().position.x << " going " << way << " from " << run.x;
        }
}

TEST(PlayerFeel, JumpsLeaveAtOnceForgiveEarlyAndLatePressesAndRiseWithTheHold) {
    PlayerGame game("", kWall);
    // Pressed `held` frames from standing: off the ground the next tick?
    // How high?
    auto jump = [&](int held, bool* next) {
        game.Stand(-1500.0f);
        const float ground = game.Body().position.y;
        game.Frame({PlatformTest::Key(SDL_SCANCODE_SPACE, true)});
        game.Frame();
        *next = game.Body().position.y > ground + 1.0f;
        game.Frames(held - 1);
        Key(SDL_SCANCODE_SPACE, false);
        return game.Highest(120) - ground;
    };
    bool next = false, heldNext = false;
    const float tap = jump(1, &next), hold = jump(40, &heldNext);
    EXPECT_TRUE(next && heldNext);
    EXPECT_TRUE(tap > 95.0f && tap < 150.0f && hold > tap * 1.7f && hold < 280.0f)
        << tap << " " << hold;
    // A tap `early` frames before landing from a drop, or `late` frames
    // after walking off the wall's top (early < 0): does it jump?
    game.Place(-1500.0f, 350.0f);
    int landing = 0;
    do
        game.Frame();
    while (++landing < 5 || !game.player->onGround);
    for (const Vec3 c : {Vec3(4, 0, 1), Vec3(6, 0, 1), Vec3(9, 0, 0), Vec3(-1, 2, 1),
                         Vec3(-1, 6, 1), Vec3(-1, 10, 0)}) {
        game.Place(c.x >= 0 ? -1500.0f : 380.0f, c.x >= 0 ? 350.0f : 855.0f);
        game.Frames(c.x >= 0 ? landing - static_cast<int>(c.x) - 1 : 90);
        Key(SDL_SCANCODE_D, c.x < 0);
        while (c.x < 0 && game.player->airFrames < c.y - 1) // pressed on the late-th
            game.Frame();
        Key(SDL_SCANCODE_D, false);
        game.Hold(SDL_SCANCODE_SPACE, 1);
        game.Frames(c.x >= 0 ? static_cast<int>(c.x) + 3 : 3);
        EXPECT_EQ(game.Body().velocity.y > 20.0f, c.z > 0) << c.x << " early, " << c.y << " late";
    }
}

TEST(PlayerFeel, LeavingHillsideBringsThePlayerBackAndTheSkyHasACeiling) {
    PlayerGame game("", kFlight, "Resources/Levels/Hillside.zorvel");
    game.Frames(30);
    const Vec2 home = game.Body().position;
    const float tank = game.player->fuel;
    // Up and left on a full tank, then on an empty one (which only sinks):
    // past the level's edge the player is brought back to where it stood.
    game.Frame({Motion(5, kAboveY)});
    Push({Button(SDL_BUTTON_LEFT, true, 5, kAboveY)});
    float emptyAt = 0.0f, highestEmpty = 0.0f;
    int frame = 0;
    for (; frame < 2000 && game.Body().position != home; ++frame, game.Frame()) {
        emptyAt = emptyAt == 0.0f && game.player->fuel == 0.0f ? game.Body().position.y : emptyAt;
        highestEmpty = emptyAt != 0.0f ? std::max(highestEmpty, game.Body().position.y) : 0.0f;
    }
    EXPECT_LT(frame, 2000) << "never brought back from " << game.Body().position.x;
    EXPECT_LT(highestEmpty, emptyAt + 150.0f) << "an empty tank climbs";
    // Straight up the climb stops under a ceiling above the highest floor
    // (2600); beyond the right edge and below the ground it comes back too.
    game.Place(0.0f, 3000.0f);
    game.Frame({Motion(kAboveX, kAboveY)});
    EXPECT_LT(game.Highest(300), 2600.0f + 1600.0f);
    Push({Button(SDL_BUTTON_LEFT, false, kAboveX, kAboveY)});
    for (const Vec2 out : {Vec2(9000.0f, 500.0f), Vec2(3000.0f, -1200.0f)}) {
        game.Place(out.x, out.y);
        game.Frames(30);
        EXPECT_LT(Distance(game.Body().position, home), 3.0f) << out.x << ", " << out.y;
    }
    // Straight up at full speed the view keeps the courier (100 units) in
    // sight and at least 40 of the view's 600 lines tall.
    game.player->fuel = tank;
    game.Place(0.0f, 300.0f);
    game.Frame({Motion(kAboveX, kAboveY)});
    Push({Button(SDL_BUTTON_LEFT, true, kAboveX, kAboveY)});
    const CameraController& camera = *CameraController::Instance();
    for (int frame = 0; frame < 130; ++frame, game.Frame()) {
        const float view = kViewHeight * (camera.zoom + kEyeDistance) / kEyeDistance;
        const float off = std::fabs(camera.position.y + camera.framing.y - game.Body().position.y);
        ASSERT_TRUE(100.0f * 600.0f / view >= 39.99f && off < view / 2.0f - 50.0f) << frame;
    }
    EXPECT_GE(game.Body().velocity.y, 229.0f);
}
