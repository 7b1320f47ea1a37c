// The story's way through the levels in the real game: Hillside's gate to
// the town, the town's end screen to the race, the race's results to the
// credits, the credits back to the title; and the race's lines kept on
// screens of other shapes.

#include <gtest/gtest.h>

#include "gameplay/DeliveryNode.h"
#include "gameplay/LogicSystem.h"
#include "gameplay/RouteComponents.h"
#include "physics/PhysicsComponent.h"
#include "physics/RigidBody.h"
#include "platform/PlatformTestSupport.h"
#include "player/PlayerComponent.h"
#include "player/PlayerController.h"
#include "world/Factory.h"

using namespace Flurr;
namespace {

const std::string kRoutes = "Resources\\Levels\\Routes\\";

struct RouteGame : PlatformTest::Game {
    explicit RouteGame(const std::string& entry, int32_t width = 400, int32_t height = 300)
        : Game(Config(entry, width, height), {MessageId::DrawText}) {
        PlatformTest::Push({Focus()});
        core->Route()->Load();
        Frames(2);
    }
    static GameConfig Config(const std::string& entry, int32_t width, int32_t height) {
        GameConfig config = TestGame::ProgramConfig("Resources/Levels/Routes/" + entry);
        config.window.width = width;
        config.window.height = height;
        return config;
    }
    PlayerComponent* Player() const { return PlayerController::Instance()->Player(); }
    void Press(SDL_Scancode key) {
        Frame({PlatformTest::Key(key, true)});
        Frame({PlatformTest::Key(key, false)});
    }
    // Plays on, changing levels as the game's loop does; the frames it took
    // to reach `entry`, or -1 when it was not reached within `limit`.
    int PlayUntil(const std::string& entry, int limit) {
        for (int i = 0; i < limit; ++i) {
            if (core->Route()->Entry() == kRoutes + entry)
                return i;
            core->RunFrame();
            if (core->CurrentState() == core->RequestedState())
                continue;
            for (IGameSystem* system : core->Systems())
                system->BeforeLevel();
            factory->Free();
            core->Route()->Advance();
            core->Route()->Load();
            core->BeginLevel();
        }
        return core->Route()->Entry() == kRoutes + entry ? limit : -1;
    }
};

void Put(GameObject& object, float x, float y) {
    object.x = x;
    object.y = y;
    if (PhysicsComponent* physics = object.Get<PhysicsComponent>(); physics && physics->body) {
        physics->body->position = Vec2(x, y);
        physics->body->velocity = Vec2();
    }
}

TEST(Route, HillsidesGateLeadsToTheTown) {
    RouteGame game("Hillside.zorvel");
    GameObject* gate = nullptr;
    for (const auto& [id, object] : game.factory->objects)
        if (object->Get<LevelExit>())
            gate = object;
    ASSERT_NE(gate, nullptr);
    ASSERT_NE(game.Player(), nullptr);
    // Far from it nothing happens.
    EXPECT_EQ(game.PlayUntil("Town.zorvel", 60), -1);
    Put(*game.Player()->owner, gate->x, gate->y);
    EXPECT_GT(game.PlayUntil("Town.zorvel", 120), 20);
}

TEST(Route, TheTownsEndThroughTheRaceAndCreditsBackToTheTitle) {
    RouteGame game("Town.zorvel");
    ASSERT_NE(game.Player(), nullptr);
    game.Player()->showThanks = true;
    // A press in the end screen's first second is not taken.
    game.Frames(20);
    game.Press(SDL_SCANCODE_SPACE);
    EXPECT_EQ(game.PlayUntil("Race.zorvel", 60), -1);
    EXPECT_TRUE(game.heard->Count("Text Press Space, Enter or A to go on") > 0);
    game.Press(SDL_SCANCODE_RETURN);
    EXPECT_GE(game.PlayUntil("Race.zorvel", 60), 20);

    // The race: its points, flight and the dash from the start, the clock.
    game.Frames(2);
    LogicSystem& logic = *LogicSystem::Instance();
    EXPECT_GE(logic.deliveryNodes.size(), 8u);
    EXPECT_LE(logic.deliveryNodes.size(), 12u);
    EXPECT_NE(logic.target, nullptr);
    ASSERT_NE(game.Player(), nullptr);
    EXPECT_TRUE(game.Player()->flightUnlocked && game.Player()->dashUnlocked);
    EXPECT_LT(logic.timeLeft, LogicSystem::kRaceTime);
    logic.timeLeft = 0.1f;
    logic.score = 1234.0f;
    game.heard->Take();
    const int results = game.PlayUntil("Ending.zorvel", 60 * 7);
    EXPECT_GE(results, 300);
    EXPECT_TRUE(game.heard->Count("Text Time's up!") > 0);

    // The credits: a press in their first second is not taken, a later one is.
    EXPECT_TRUE(game.heard->Count("Text Final Score: 1234") > 0);
    game.Frames(20);
    game.Press(SDL_SCANCODE_SPACE);
    EXPECT_EQ(game.PlayUntil("Title.zorvel", 60), -1);
    game.Press(SDL_SCANCODE_SPACE);
    EXPECT_GE(game.PlayUntil("Title.zorvel", 60), 20);
}

TEST(Route, TheRaceLinesStayOnScreensOfAnyShape) {
    for (auto [width, height] : {std::pair{800, 600}, {1920, 1080}, {300, 900}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        RouteGame game("Race.zorvel", width, height);
        LogicSystem& logic = *LogicSystem::Instance();
        const auto inside = [&](const ScreenBox& b) {
            return b.left >= 0 && b.top >= 0 && b.right <= width && b.bottom <= height &&
                   b.left < b.right && b.top < b.bottom;
        };
        for (float time : {60.0f, -1.0f}) {
            logic.timeLeft = time;
            game.Frames(1);
            const RaceTextLayout& text = logic.raceText;
            EXPECT_TRUE(inside(text.band));
            for (int i = 0; i < 3; ++i) {
                EXPECT_TRUE(inside(text.lines[i])) << i;
                // On the band, and clear of the line above.
                EXPECT_GE(text.lines[i].left, text.band.left);
                EXPECT_LE(text.lines[i].bottom, text.band.bottom);
                if (i > 0) {
                    EXPECT_GE(text.lines[i].top, text.lines[i - 1].bottom);
                }
            }
            // The positions follow the screen, as written for 800 x 600.
            if (width == 800 && time > 0.0f) {
                EXPECT_EQ(text.lines[0].left, 50);
            }
            // The letters grow with the screen.
            if (height == 1080) {
                EXPECT_GT(text.lines[0].bottom - text.lines[0].top, 25);
            }
        }
    }
}

} // namespace
