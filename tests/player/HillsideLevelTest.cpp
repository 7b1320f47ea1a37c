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
    EXPECT_FLOAT_EQ(post.target.blur, 1.05f);
    EXPECT_FLOAT_EQ(post.target.outBlack[0], 0.07f);
    game.Frames(55);
    const std::vector<uint8_t> sky = game.graphics->ReadBackBuffer().rgba; // top row: sky, clouds
    int blue = 0;
    for (int x = 0; x < kWidth * 4; x += 4)
        blue += sky[x + 2] > sky[x + 1] + 8 && sky[x + 2] > sky[x] + 40;
    EXPECT_GT(blue, kWidth / 2) << "the sky stays blue in the warm light, not mint";
    for (const GraphicsComponent* sprite : game.graphics->DrawOrder())
        EXPECT_TRUE(sprite->ZPos == 0.0f ||
                    (sprite->animation != "Lamppost" && sprite->animation != "Pinwheel"))
            << sprite->animation << " at " << sprite->owner->x << " rises off the ground";
    EXPECT_EQ(log.Count(), 0) << log << ": every picture, animation and effect it names exists";
    ASSERT_NE(game.player, nullptr);
    EXPECT_TRUE(game.player->onGround) << "starts on its feet";
    EXPECT_NEAR(game.Body().position.y, 50.0f, 3.0f);
    EXPECT_TRUE(game.camera->SelectByName("MapOverview"));
    EXPECT_TRUE(game.camera->SelectByName("Player"));

    // Inside the chimney the light turns cool.
    game.Place(3225.0f, 60.0f);
    game.Frames(60);
    EXPECT_GT(game.heard->Count("Text Climb with wall jumps"), 0u) << "where the climb starts";
    EXPECT_FLOAT_EQ(post.target.outWhite[0], 0.6f);
    EXPECT_LT(post.current.outWhite[0], 0.9f);
    EXPECT_FALSE(post.target.distort);

    // Coming over the platforms, the updraft's hint shows before the drop.
    game.Place(5000.0f, 612.0f);
    game.Frames(5);
    EXPECT_GT(game.heard->Count("Text Step into the updraft"), 0u);

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

    // The map shows the whole level (-1400 to 7200 wide) and fills the view.
    game.player->mapView = true;
    game.Frames(120);
    const float half = 0.5f * 600.0f * kWidth / kHeight * (game.graphics->Camera().zoom + 10) / 10;
    EXPECT_TRUE(half > 4300.0f && half < 4300.0f * 1.25f) << half;
}
