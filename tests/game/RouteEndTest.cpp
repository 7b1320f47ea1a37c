// The story's way on, in the real game, and the race's lines on any screen.

#include <gtest/gtest.h>

#include "game/LevelChange.h"
#include "gameplay/LogicSystem.h"
#include "gameplay/RouteComponents.h"
#include "physics/PhysicsComponent.h"
#include "physics/RigidBody.h"
#include "platform/PlatformTestSupport.h"
#include "player/PlayerComponent.h"
#include "player/PlayerController.h"

using namespace Flurr;
namespace {

struct RouteGame : PlatformTest::Game {
    explicit RouteGame(const std::string& entry, int32_t width = 400, int32_t height = 300)
        : Game(Config(entry, width, height), {MessageId::DrawText}) {
        PlatformTest::Push({Focus()});
        core->Route()->Load();
        Frames(2);
    }
    static GameConfig Config(const std::string& entry, int32_t width, int32_t height) {
        GameConfig c = TestGame::ProgramConfig("Resources/Levels/Routes/" + entry);
        return c.window.width = width, c.window.height = height, c;
    }
    PlayerComponent* Player() const { return PlayerController::Instance()->Player(); }
    void Press(SDL_Scancode key) {
        Frame({PlatformTest::Key(key, true)});
        Frame({PlatformTest::Key(key, false)});
    }
    // Plays on, changing levels as the game's loop does; the frames it took
    // to reach `entry`, or -1 when it was not reached within `limit`.
    int PlayUntil(const std::string& entry, int limit) {
        for (int i = 0; i <= limit; ++i) {
            if (core->Route()->Entry() == "Resources\\Levels\\Routes\\" + entry)
                return i;
            TestGame::FollowLevelChange(*core, *factory);
            core->RunFrame();
        }
        return -1;
    }
};

TEST(Route, HillsidesGateLeadsToTheTown) {
    RouteGame game("Hillside.zorvel");
    EXPECT_EQ(game.PlayUntil("Town.zorvel", 60), -1);
    for (const auto& [id, gate] : game.factory->objects)
        if (gate->Get<LevelExit>())
            game.Player()->owner->Get<PhysicsComponent>()->body->position = Vec2(gate->x, gate->y);
    EXPECT_GT(game.PlayUntil("Town.zorvel", 120), 20);
}

TEST(Route, TheTownsEndThroughTheRaceAndCreditsBackToTheTitle) {
    RouteGame game("Town.zorvel");
    game.Player()->showThanks = true;
    // A press in the end screen's first second is not taken.
    game.Frames(20);
    game.Press(SDL_SCANCODE_SPACE);
    EXPECT_EQ(game.PlayUntil("Race.zorvel", 60), -1);
    EXPECT_TRUE(game.heard->Count("Text Press Space, Enter or A to go on") > 0);
    game.Press(SDL_SCANCODE_RETURN);
    EXPECT_GE(game.PlayUntil("Race.zorvel", 60), 20);

    game.Frames(2);
    LogicSystem& logic = *LogicSystem::Instance();
    EXPECT_TRUE(logic.deliveryNodes.size() >= 8u && logic.deliveryNodes.size() <= 12u);
    EXPECT_TRUE(logic.target && logic.timeLeft < LogicSystem::kRaceTime);
    EXPECT_TRUE(game.Player()->flightUnlocked && game.Player()->dashUnlocked);
    logic.timeLeft = 0.1f;
    logic.score = 1234.0f;
    EXPECT_GE(game.PlayUntil("Ending.zorvel", 60 * 7), 300);
    EXPECT_TRUE(game.heard->Count("Text Time's up!") &&
                game.heard->Count("Text Final Score: 1234"));
    // The credits: a press in their first second is not taken, a later one is.
    game.Frames(20);
    game.Press(SDL_SCANCODE_SPACE);
    EXPECT_EQ(game.PlayUntil("Title.zorvel", 60), -1);
    game.Press(SDL_SCANCODE_SPACE);
    EXPECT_GE(game.PlayUntil("Title.zorvel", 60), 20);
}

TEST(Route, TheRaceLinesStayOnScreensOfAnyShape) {
    for (const std::pair<int, int>& size : {std::pair{1920, 1080}, {300, 900}}) {
        // Named copies: a lambda may not capture a structured binding here.
        const int width = size.first, height = size.second;
        RouteGame game("Race.zorvel", width, height);
        LogicSystem& logic = *LogicSystem::Instance();
        const auto inside = [&](const ScreenBox& b) {
            return 0 <= b.left && b.left < b.right && b.right <= width && 0 <= b.top &&
                   b.top < b.bottom && b.bottom <= height;
        };
        for (float time : {60.0f, -1.0f}) {
            logic.timeLeft = time;
            game.Frames(1);
            const RaceTextLayout& text = logic.raceText;
            EXPECT_TRUE(inside(text.band)) << width;
            for (int i = 0; i < 3; ++i) {
                EXPECT_TRUE(inside(text.lines[i])) << width << " " << i;
                EXPECT_TRUE(text.lines[i].left >= text.band.left &&
                            text.lines[i].bottom <= text.band.bottom);
                EXPECT_TRUE(i == 0 || text.lines[i].top >= text.lines[i - 1].bottom);
            }
        }
    }
}

} // namespace
