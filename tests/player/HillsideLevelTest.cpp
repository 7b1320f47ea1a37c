// The first playable level as shipped: it loads cleanly, the player starts
// on its feet, its signs give hints, its chimney and updraft change the
// light, the updraft carries the player up, and the way right leads over
// the hill to the shaft (wall jumps themselves are the player's tests).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "player/PlayerTestSupport.h"

using namespace Flurr;
using namespace PlayerTest;

const char* const kHillside = "Resources/Levels/Hillside.zorvel";

TEST(Hillside, LoadsCleanlyItsSignsChimneyAndUpdraftWorkAndTheWayRightLeadsToTheShaft) {
    EngineTest::WarningLog log;
    PlayerGame game("", 0, kHillside);
    const PostProcessState& post = game.graphics->PostProcessing();
    // The first sign greets the player where it starts, in the warm light
    // around the houses.
    game.Frames(5);
    EXPECT_GT(game.heard->Count("Text Welcome to Hillside!"), 0u);
    EXPECT_FLOAT_EQ(post.target.blur, 1.3f);
    EXPECT_FLOAT_EQ(post.target.outWhite[2], 0.94f);
    game.Frames(55);
    EXPECT_EQ(log.Count(), 0) << log << ": every picture, animation and effect it names exists";
    ASSERT_NE(game.player, nullptr);
    EXPECT_TRUE(game.player->onGround) << "starts on its feet";
    EXPECT_NEAR(game.Body().position.y, 50.0f, 3.0f);
    EXPECT_TRUE(game.camera->SelectByName("MapOverview"));
    EXPECT_TRUE(game.camera->SelectByName("Player"));

    // Inside the chimney the light turns cool.
    game.Place(3225.0f, 60.0f);
    game.Frames(60);
    EXPECT_EQ(game.heard->Count("Text Ahead is the chimney"), 0u) << "too far from its sign";
    EXPECT_FLOAT_EQ(post.target.outWhite[0], 0.6f);
    EXPECT_LT(post.current.outWhite[0], 0.9f);
    EXPECT_FALSE(post.target.distort);

    // In the updraft the screen glows and shimmers, and the updraft lifts
    // the player well off the ground, up to the platform beside the top of
    // its column.
    game.Place(5500.0f, 60.0f);
    game.Frames(5);
    EXPECT_FLOAT_EQ(post.target.blur, 1.4f);
    EXPECT_TRUE(post.current.distort);
    EXPECT_EQ(game.graphics->PostPassesRun(), 10);
    game.Frames(5);
    EXPECT_GT(game.Highest(240), 1150.0f + 50.0f) << "high enough for the platform beside it";

    // Back out in the open on the plateau, the plain picture returns.
    game.Place(1700.0f, 260.0f);
    game.Frames(60);
    EXPECT_FLOAT_EQ(post.current.outWhite[0], 1.0f);
    EXPECT_FLOAT_EQ(post.current.blur, 1.0f);
    EXPECT_FALSE(post.current.distort);

    // Running right from the houses climbs the 14-degree slope with the
    // feet along it, crosses the plateau and passes under the floating wall
    // into the shaft, where its far wall stops the player.
    game.Place(200.0f, 60.0f);
    game.Frames(20);
    Key(SDL_SCANCODE_D, true);
    Key(SDL_SCANCODE_LSHIFT, true);
    bool alongTheSlope = false;
    float highest = 0.0f;
    for (int i = 0; i < 400; ++i) {
        game.Frame();
        const RigidBody& body = game.Body();
        if (body.onFloor && body.position.x > 800.0f && body.position.x < 1300.0f)
            alongTheSlope = alongTheSlope || std::fabs(body.angle - 0.245f) < 0.02f;
        highest = std::max(highest, body.position.y);
    }
    Key(SDL_SCANCODE_LSHIFT, false);
    Key(SDL_SCANCODE_D, false);
    game.Frame();
    EXPECT_TRUE(alongTheSlope);
    EXPECT_GT(highest, 240.0f) << "up on the plateau";
    EXPECT_NEAR(game.Body().position.x, 3350.0f - 22.0f, 2.0f);
    EXPECT_TRUE(game.player->onGround);
}
