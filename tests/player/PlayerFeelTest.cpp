// How the moves feel, through real keys: no walk stalls on Hillside, jumps
// forgive early and late presses and rise with the hold, no flight is lost.

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
    // From, to, top: the ground (up the hill and down; under the chimney's
    // wall), from a standstill near the steep slope's foot, the chimney's top
    // and its platform, every platform.
    for (const Vec3 run : {Vec3(-1170, 3300, 0), Vec3(500, 2450, 0), Vec3(3480, 5150, 0),
                           Vec3(5850, 6960, 0), Vec3(3370, 3930, 1000), Vec3(3020, 3080, 800),
                           Vec3(4070, 4330, 850), Vec3(4470, 4730, 700), Vec3(4870, 5130, 560),
                           Vec3(4220, 4480, 1500), Vec3(5740, 6000, 1150), Vec3(5970, 6250, 1750),
                           Vec3(6520, 6800, 2150), Vec3(5220, 5500, 2300)})
        for (const float way : {1.0f, -1.0f}) {
            const float to = way > 0 ? run.y : run.x;
            game.Place(way > 0 ? run.x : run.y, run.z + 55.0f);
            game.Frames(20);
            Key(way > 0 ? SDL_SCANCODE_D : SDL_SCANCODE_A, true);
            for (int budget = static_cast<int>(run.y - run.x) / 2 + 90;
                 (to - game.Body().position.x) * way > 0 && budget > 0; --budget)
                game.Frame();
            Key(way > 0 ? SDL_SCANCODE_D : SDL_SCANCODE_A, false);
            EXPECT_GE(game.Body().position.x * way, to * way) << "stalled going " << way;
        }
}

TEST(PlayerFeel, JumpsLeaveAtOnceForgiveEarlyAndLatePressesAndRiseWithTheHold) {
    PlayerGame game("", kWall);
    // Tapped and held: off the ground the tick after the press, and how high.
    float height[2];
    for (const int held : {0, 1}) {
        game.Stand(-1500.0f);
        const float ground = game.Body().position.y;
        Key(SDL_SCANCODE_SPACE, true);
        game.Frames(2);
        EXPECT_GT(game.Body().position.y, ground + 1.0f) << held;
        game.Frames(held * 39);
        Key(SDL_SCANCODE_SPACE, false);
        height[held] = game.Highest(120) - ground;
    }
    EXPECT_TRUE(height[0] > 95.0f && height[0] < 150.0f && height[1] > height[0] * 1.7f &&
                height[1] < 280.0f);
    // A tap `early` frames before landing from a drop, or on the `late`-th
    // frame after walking off the wall's top (early < 0): does it jump?
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
        while (c.x < 0 && game.player->airFrames < c.y - 1)
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
    // Up and left till the tank is empty (then it only sinks) and over the
    // left edge, or put past the right edge or below the ground: the player
    // is brought back to where it stood.
    game.Frame({Motion(5, kAboveY)});
    Push({Button(SDL_BUTTON_LEFT, true, 5, kAboveY)});
    for (float frame = 0.0f, emptyAt = 0.0f; game.Body().position != home; ++frame, game.Frame()) {
        emptyAt = emptyAt == 0.0f && game.player->fuel == 0.0f ? game.Body().position.y : emptyAt;
        ASSERT_TRUE(frame < 2000.0f &&
                    (emptyAt == 0.0f || game.Body().position.y < emptyAt + 150.0f))
            << "an empty tank climbs, or no way back from " << game.Body().position.x;
    }
    Push({Button(SDL_BUTTON_LEFT, false, 5, kAboveY)});
    for (const Vec2 out : {Vec2(9000.0f, 500.0f), Vec2(3000.0f, -1200.0f)}) {
        game.Place(out.x, out.y);
        game.Frames(30);
        EXPECT_LT(Distance(game.Body().position, home), 3.0f) << out.x << ", " << out.y;
    }
    // Straight up on a full tank: at full speed the view keeps the courier
    // (100 units) in sight and at least 40 of its 600 lines tall, and the
    // climb stops under a ceiling above the highest floor (2600).
    game.player->fuel = game.player->fuelMax;
    game.Place(0.0f, 300.0f);
    game.Frame({Motion(kAboveX, kAboveY)});
    Push({Button(SDL_BUTTON_LEFT, true, kAboveX, kAboveY)});
    const CameraController& camera = *CameraController::Instance();
    float top = 0.0f, fastest = 0.0f;
    for (int frame = 0; frame < 300; ++frame, game.Frame()) {
        const float view = kViewHeight * (camera.zoom + kEyeDistance) / kEyeDistance;
        const float off = std::fabs(camera.position.y + camera.framing.y - game.Body().position.y);
        ASSERT_TRUE(100.0f * 600.0f / view >= 39.99f && off < view / 2.0f - 50.0f) << frame;
        top = std::max(top, game.Body().position.y);
        fastest = std::max(fastest, game.Body().velocity.y);
    }
    EXPECT_TRUE(fastest >= 229.0f && top > 3800.0f && top < 2600.0f + 1600.0f)
        << fastest << " " << top;
}
