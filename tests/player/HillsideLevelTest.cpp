// The first playable level as shipped: it loads cleanly, and its signs,
// chimney and updraft work.

#include "player/PlayerTestSupport.h"

using namespace Flurr;
using namespace PlayerTest;

const char* const kHillside = "Resources/Levels/Hillside.zorvel";

TEST(Hillside, LoadsCleanlyAndItsSignsChimneyAndUpdraftWork) {
    EngineTest::WarningLog log;
    PlayerGame game("", 0, kHillside);
    const PostProcessState& post = game.graphics->PostProcessing();
    // The first sign greets the player among the houses, in warm light.
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

    // In the updraft the screen glows and shimmers, and it lifts the player
    // up to the platform beside the top of its column.
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
}
