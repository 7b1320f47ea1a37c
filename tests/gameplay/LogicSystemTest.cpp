// The logic system's component lists and the delivery race, in the real
// game: a flat ground, the player, and delivery points as ghost boxes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gameplay/DeliveryNode.h"
#include "gameplay/GameplayTestSupport.h"
#include "gameplay/LogicComponent.h"
#include "gameplay/Triggers.h"

namespace Flurr {
namespace {

using GameplayTest::GhostBox;
using GameplayTest::MessageLog;
using PlayerTest::PlayerGame;

struct CounterName {
    static constexpr const char* value = "TestCounter";
};

// Counts its updates and writes down the messages it is handed.
class Counter : public LogicComponent<Counter, CounterName> {
public:
    explicit Counter(const char* space_ = "GameSpace", const char* also_ = nullptr)
        : space(space_), also(also_) {}
    void Initialize() override {
        if (also)
            Join({space, also});
        else
            Join({space});
    }
    void Update(float) override { ++updates; }
    void SendMessage(Message* m) override { ids.push_back(m->id); }
    int updates = 0;
    std::vector<int32_t> ids;
    const char* space;
    const char* also;
};

template <typename T> T* Attach(Factory& factory, T* component) {
    GameObject* object = factory.CreateGameObject();
    component->owner = object;
    object->components.push_back(component);
    component->Initialize();
    return component;
}

// The music cues among the sounds (the player's steps and jumps left out).
std::vector<std::string> Music(const MessageLog& log) {
    std::vector<std::string> out;
    for (const std::string& s : log.sounds)
        if (s == "(stop all)" || s == "Race" || s == "Bebop1")
            out.push_back(s);
    return out;
}

int Count(const std::vector<int32_t>& ids, int32_t id) {
    return static_cast<int>(std::count(ids.begin(), ids.end(), id));
}

TEST(LogicSystem, UpdatesAndTellsTheComponentsOfActiveSpacesOnce) {
    PlayerGame::Options options;
    options.noPlayer = true;
    PlayerGame game(options);
    ASSERT_NE(game.spaces->GetSpace("LogoSpace"), nullptr);
    EXPECT_FALSE(game.spaces->IsSpaceActive("LogoSpace"));

    Counter* plain = Attach(*game.factory, new Counter());
    Counter* both = Attach(*game.factory, new Counter("GameSpace", "Pause"));
    Counter* editor = Attach(*game.factory, new Counter("LevelEditor"));
    Rotator* rotator = Attach(*game.factory, new Rotator());

    game.Frame();
    EXPECT_EQ(plain->updates, 1);
    EXPECT_EQ(both->updates, 1);
    EXPECT_EQ(editor->updates, 0);

    // Listed under two active spaces, still once a frame.
    game.spaces->SetSpaceActive("Pause", true);
    game.Frame();
    EXPECT_EQ(both->updates, 2);

    // Released keys are handed on once; pressed and triggered ones are not
    // listened for.
    PlayerTest::Key(SDL_SCANCODE_RETURN, true);
    game.Frames(2);
    PlayerTest::Key(SDL_SCANCODE_RETURN, false);
    game.Frames(2);
    EXPECT_EQ(Count(plain->ids, MessageId::KeyReleased), 1);
    EXPECT_EQ(Count(both->ids, MessageId::KeyReleased), 1);
    EXPECT_EQ(Count(plain->ids, MessageId::KeyTriggered), 0);
    EXPECT_TRUE(editor->ids.empty());

    // Signal 64 marks a rotator; 61 is passed on like any other.
    EXPECT_FALSE(rotator->triggered);
    LogicSignalMessage signal;
    RotatorTriggerMessage rotate;
    game.core->SendMessage(&signal);
    EXPECT_FALSE(rotator->triggered);
    game.core->SendMessage(&rotate);
    EXPECT_TRUE(rotator->triggered);
    EXPECT_EQ(Count(plain->ids, MessageId::LogicSignal), 1);

    // Nothing reaches a space that is off.
    game.spaces->SetSpaceActive("GameSpace", false);
    game.spaces->SetSpaceActive("Pause", false);
    game.Frame();
    EXPECT_EQ(plain->updates, 6);
    EXPECT_EQ(both->updates, 6);
    game.spaces->SetSpaceActive("GameSpace", true);

    // A component that goes while the others are being updated is not
    // reached afterwards, and its object's destruction unregisters it.
    game.factory->DestroyObject(plain->owner);
    game.Frame();
    EXPECT_EQ(both->updates, 7);
}

std::string Node(float x) {
    return GhostBox(x, 50, 80, 100, "    DeliveryNode\n    -DeliveryNode\n");
}

struct RaceGame {
    explicit RaceGame(const std::string& objects) {
        PlayerGame::Options options;
        options.objects = objects;
        game = std::make_unique<PlayerGame>(options);
        log = new MessageLog(*game->core);
        game->core->AddSystem(log);
        game->Place(0, 60);
    }
    LogicSystem& logic() { return *game->logic; }
    GameObject* Marker(const DeliveryNode* node) { return game->factory->FindObject(node->marker); }
    // Puts the player on the target and runs until the target is touched
    // (the same frame may pick the next one, even the same point again).
    void Deliver() {
        DeliveryNode* target = logic().target;
        ASSERT_NE(target, nullptr);
        const int32_t marker = target->marker;
        game->Place(target->owner->x, target->owner->y);
        for (int i = 0; i < 5 && target->marker == marker; ++i)
            game->Frame();
        ASSERT_NE(target->marker, marker);
        // Away again, so the next target is not touched at once.
        game->Place(0, 60);
    }
    std::unique_ptr<PlayerGame> game;
    MessageLog* log = nullptr;
};

TEST(LogicSystem, DeliveryRaceScoresDeliveriesAndEndsTheLevel) {
    RaceGame race(Node(600) + Node(-900));
    LogicSystem& logic = race.logic();
    ASSERT_EQ(logic.deliveryNodes.size(), 2u);
    EXPECT_EQ(logic.timeLeft, LogicSystem::kRaceTime);
    for (DeliveryNode* node : logic.deliveryNodes)
        EXPECT_TRUE(node->owner->Get<PhysicsComponent>()->body->ghost);

    // The first frame picks a target, marks it, and prices it by the
    // player's distance to it.
    race.game->Frame();
    DeliveryNode* target = logic.target;
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(target->active);
    const Vec2 player(race.game->player->owner->x, race.game->player->owner->y);
    EXPECT_NEAR(target->distance,
                std::hypot(player.x - target->owner->x, player.y - target->owner->y), 1.0f);
    GameObject* bang = race.Marker(target);
    ASSERT_NE(bang, nullptr);
    EXPECT_FALSE(bang->savedWithLevel);
    EXPECT_EQ(bang->x, target->owner->x);
    EXPECT_EQ(bang->y, target->owner->y + 100.0f);
    EXPECT_EQ(bang->xScale, 20.0f);
    EXPECT_EQ(bang->yScale, 50.0f);
    EXPECT_EQ(bang->Get<GraphicsComponent>()->animation, "Bang");
    EXPECT_EQ(bang->Get<GraphicsComponent>()->frameRate, 4.0f);

    const GameplayTest::TextLine* time = race.log->FindText("Time Left: ");
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(time->text, "Time Left: 119.98s");
    EXPECT_EQ(time->left, 50);
    EXPECT_EQ(time->top, 464);
    EXPECT_EQ(time->font, "DebugText");
    EXPECT_EQ(time->alpha, 255.0f);
    EXPECT_EQ(time->red + time->green + time->blue, 0.0f);
    EXPECT_FALSE(time->shadow);
    EXPECT_EQ(time->right, 9999);
    ASSERT_NE(race.log->FindText("Score: 0"), nullptr);
    EXPECT_EQ(race.log->FindText("Score: ")->top, 500);
    ASSERT_NE(race.log->FindText("Deliveries Completed: 0"), nullptr);
    EXPECT_EQ(race.log->FindText("Deliveries Completed: ")->top, 536);

    // The other point does nothing while it is not the target.
    DeliveryNode* other =
        logic.deliveryNodes[0] == target ? logic.deliveryNodes[1] : logic.deliveryNodes[0];
    race.game->Place(other->owner->x, other->owner->y);
    race.game->Frames(3);
    EXPECT_EQ(logic.deliveries, 0);
    EXPECT_EQ(logic.target, target);

    // Touching the target scores its price; its marker goes and the next
    // frame picks a target again.
    const float price = target->distance;
    const int32_t oldMarker = target->marker;
    race.Deliver();
    EXPECT_EQ(logic.deliveries, 1);
    EXPECT_FLOAT_EQ(logic.score, price);
    race.game->Frame();
    EXPECT_EQ(race.game->factory->FindObject(oldMarker), nullptr);
    ASSERT_NE(logic.target, nullptr);
    EXPECT_NE(race.Marker(logic.target), nullptr);

    // Time up: the race music once, the results, and no more points.
    race.log->Clear();
    logic.timeLeft = 0.01f;
    race.game->Frame();
    EXPECT_EQ(Music(*race.log), (std::vector<std::string>{"(stop all)", "Race"}));
    ASSERT_NE(race.log->FindText("Time's up!"), nullptr);
    EXPECT_EQ(race.log->FindText("Time's up!")->left, 350);
    EXPECT_EQ(race.log->FindText("Time's up!")->top, 264);
    ASSERT_NE(race.log->FindText("Final Score: "), nullptr);
    EXPECT_EQ(race.log->FindText("Final Score: ")->text,
              "Final Score: " + std::to_string(static_cast<int32_t>(price)));
    ASSERT_NE(race.log->FindText("Total Deliveries Completed: 1"), nullptr);
    EXPECT_EQ(race.log->FindText("Total Deliveries Completed: ")->top, 336);
    EXPECT_EQ(race.log->FindText("Time Left: "), nullptr);

    const float scoreAtEnd = logic.score;
    race.Deliver();
    EXPECT_EQ(logic.deliveries, 1);
    EXPECT_EQ(logic.score, scoreAtEnd);

    // Five seconds of results, then the next level with the town music.
    race.log->Clear();
    int frames = 0;
    while (race.game->core->RequestedState() == Flurr::GameState::Running && frames < 400) {
        race.game->Frame();
        ++frames;
    }
    EXPECT_EQ(race.game->core->RequestedState(), Flurr::GameState::NextLevel);
    EXPECT_NEAR(frames, 300, 3);
    EXPECT_EQ(Music(*race.log), (std::vector<std::string>{"(stop all)", "Bebop1"}));

    // A later race ending does not play the race music again.
    race.game->core->RequestState(Flurr::GameState::Running);
    race.log->Clear();
    logic.timeLeft = 0.01f;
    race.game->Frame();
    EXPECT_EQ(Music(*race.log), std::vector<std::string>{});
}

TEST(LogicSystem, OneNodeIsTargetAgainAndAGoneTargetIsForgotten) {
    RaceGame race(Node(600));
    LogicSystem& logic = race.logic();
    race.game->Frame();
    DeliveryNode* node = logic.target;
    ASSERT_NE(node, nullptr);
    race.Deliver();
    EXPECT_EQ(logic.deliveries, 1);
    race.game->Frame();
    EXPECT_EQ(logic.target, node);
    EXPECT_TRUE(node->active);
    const int32_t marker = node->marker;
    ASSERT_NE(race.Marker(node), nullptr);

    // The point leaves the level (as at unloading): no target, no marker,
    // no race, and the level never ends by itself.
    race.game->factory->DestroyObject(node->owner);
    EXPECT_EQ(logic.target, nullptr);
    EXPECT_TRUE(logic.deliveryNodes.empty());
    race.game->Frame();
    EXPECT_EQ(race.game->factory->FindObject(marker), nullptr);
    race.log->Clear();
    logic.timeLeft = -10.0f;
    race.game->Frames(10);
    EXPECT_TRUE(race.log->texts.empty());
    EXPECT_EQ(race.game->core->RequestedState(), Flurr::GameState::Running);
}

TEST(LogicSystem, ARaceWithoutAPlayerWaitsForOne) {
    PlayerGame::Options options;
    options.noPlayer = true;
    options.objects = Node(600);
    PlayerGame game(options);
    game.Frames(3);
    EXPECT_EQ(game.logic->target, nullptr);
    EXPECT_LT(game.logic->timeLeft, LogicSystem::kRaceTime);
    GameObject* player = game.factory->LoadObject("Resources/Objects/Player.zorvel");
    ASSERT_NE(player, nullptr);
    game.Frame();
    EXPECT_NE(game.logic->target, nullptr);
}

} // namespace
} // namespace Flurr
