// The first playable level as shipped: it loads cleanly, the player starts
// on its feet, and its updraft carries the player up.

#include <gtest/gtest.h>

#include <algorithm>

#include "player/PlayerTestSupport.h"

using namespace Flurr;
using namespace PlayerTest;

TEST(Hillside, LoadsCleanlyAndTheUpdraftLiftsThePlayer) {
    PlayerGame::Options options;
    options.level = "Resources/Levels/Hillside.zorvel";
    testing::internal::CaptureStderr();
    PlayerGame game(options);
    game.Frames(60);
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_EQ(warnings, "") << "every picture, animation and effect the level names exists";

    ASSERT_NE(game.player, nullptr);
    EXPECT_TRUE(game.player->onGround) << "starts on its feet";
    EXPECT_NEAR(game.Body().position.y, 50.0f, 3.0f);
    EXPECT_TRUE(game.camera->SelectByName("MapOverview"));
    EXPECT_TRUE(game.camera->SelectByName("Player"));

    // Walk into the updraft's column: it lifts the player well off the
    // ground, up to the platform beside the top of the column.
    game.Place(5500.0f, 60.0f);
    game.Frames(10);
    float top = 0.0f;
    for (int i = 0; i < 240; ++i) {
        game.Frame();
        top = std::max(top, game.Body().position.y);
    }
    EXPECT_GT(top, 1150.0f + 50.0f) << "high enough to step onto the platform beside it";
}
