// The logic system's component lists and the delivery race in the real game.

#include <cmath>

#include "gameplay/DeliveryNode.h"
#include "gameplay/LogicComponent.h"
#include "gameplay/Triggers.h"
#include "player/PlayerTestSupport.h"

using namespace Flurr;
namespace {

using EngineTest::LevelText;
using PlayerTest::PlayerGame;
using Lines = std::vector<std::string>;

// Counts its updates and notes the messages it is handed, in one or two spaces.
inline constexpr char kCounterName[] = "TestCounter";
class Counter : public LogicComponent<Counter, EngineTest::Named<kCounterName>> {
public:
    explicit Counter(const char* space_ = "GameSpace", const char* also_ = nullptr)
        : space(space_), also(also_) {}
    void Initialize() override { also ? Join({space, also}) : Join({space}); }
    void Update(float) override { ++updates; }
    void SendMessage(Message* m) override { heard.push_back(EngineTest::Recorder::Describe(m)); }
    int updates = 0;
    Lines heard;
    const char* space;
    const char* also;
};

template <typename T> T* Attach(Factory& factory, T* component) {
    component->owner = factory.CreateGameObject();
    component->owner->components.push_back(component);
    component->Initialize();
    return component;
}

// The music among `heard` (not the player's steps), and the texts if asked.
Lines Music(const Lines& heard, bool texts = false) {
    Lines out;
    for (const std::string& line : heard)
        if (line == "StopAll" || line.starts_with("Play Race ") || line.starts_with("Play Bebop1 "))
            out.push_back(line.substr(0, line.find(' ', 5)));
        else if (texts && line.starts_with("Text "))
            out.push_back(line);
    return out;
}

// Delivery points: ghost boxes 80 x 100 standing on the ground at `xs`.
std::string Nodes(std::initializer_list<float> xs) {
    LevelText text;
    for (float x : xs)
        text.Object(x, 50).Box(80, 100, LevelText::Ghost).With("DeliveryNode");
    return text.Objects();
}

struct RaceGame : PlayerGame {
    explicit RaceGame(std::initializer_list<float> nodes) : PlayerGame(Nodes(nodes)) {
        Place(0, 60);
    }
    GameObject* Marker(const DeliveryNode* node) { return factory->FindObject(node->marker); }
    // Runs with the player on the target until it is touched (the same frame
    // may pick the next one, even the same point).
    void Deliver() {
        DeliveryNode* target = logic->target;
        ASSERT_NE(target, nullptr);
        const int32_t marker = target->marker;
        Place(target->owner->x, target->owner->y);
        for (int i = 0; i < 5 && target->marker == marker; ++i)
            Frame();
        ASSERT_NE(target->marker, marker);
        Place(0, 60);
    }
};

TEST(LogicSystem, DeliveryRaceScoresDeliveriesAndEndsTheLevel) {
    RaceGame race({600, -900});
    LogicSystem& logic = *race.logic;
    ASSERT_EQ(logic.deliveryNodes.size(), 2u);

    // The first frame picks, marks and prices a target, and shows the time.
    race.Frame();
    DeliveryNode* target = logic.target;
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(target->active);
    const GameObject* player = race.player->owner;
    EXPECT_NEAR(target->distance,
                std::hypot(player->x - target->owner->x, player->y - target->owner->y), 1.0f);
    GameObject* bang = race.Marker(target);
    ASSERT_NE(bang, nullptr);
    EXPECT_FALSE(bang->savedWithLevel);
    EXPECT_EQ(bang->x, target->owner->x);
    EXPECT_EQ(bang->y, target->owner->y + 100.0f);
    EXPECT_EQ(race.heard->Lines("Text "),
              (Lines{"Text Time Left: 119.98s", "Text Score: 0", "Text Deliveries Completed: 0"}));

    // The other point does nothing while it is not the target.
    DeliveryNode* other =
        logic.deliveryNodes[0] == target ? logic.deliveryNodes[1] : logic.deliveryNodes[0];
    race.Place(other->owner->x, other->owner->y);
    race.Frames(3);
    EXPECT_EQ(logic.deliveries, 0);
    EXPECT_EQ(logic.target, target);

    // Touching the target scores its price; the next frame picks a new one.
    const float price = target->distance;
    const int32_t oldMarker = target->marker;
    race.Deliver();
    EXPECT_EQ(logic.deliveries, 1);
    EXPECT_FLOAT_EQ(logic.score, price);
    race.Frame();
    EXPECT_EQ(race.factory->FindObject(oldMarker), nullptr);
    ASSERT_NE(logic.target, nullptr);
    EXPECT_NE(race.Marker(logic.target), nullptr);

    // Time up: the race music once, the results, and no more points.
    logic.timeLeft = 0.01f;
    EXPECT_EQ(Music(race.Frame(), true),
              (Lines{"StopAll", "Play Race", "Text Time's up!",
                     "Text Final Score: " + std::to_string(static_cast<int32_t>(price)),
                     "Text Total Deliveries Completed: 1"}));
    const float scoreAtEnd = logic.score;
    race.Deliver();
    EXPECT_EQ(logic.deliveries, 1);
    EXPECT_EQ(logic.score, scoreAtEnd);

    // Five seconds of results, then the next level with the town music.
    Lines results;
    int frames = 0;
    for (; race.core->RequestedState() == GameState::Running && frames < 400; ++frames)
        std::ranges::copy(race.Frame(), std::back_inserter(results));
    EXPECT_EQ(race.core->RequestedState(), GameState::NextLevel);
    EXPECT_NEAR(frames, 300, 3);
    EXPECT_EQ(Music(results), (Lines{"StopAll", "Play Bebop1"}));

    // A later race ending does not play the race music again.
    race.core->RequestState(GameState::Running);
    logic.timeLeft = 0.01f;
    race.Frame();
    EXPECT_EQ(race.heard->Count("Play Race"), 1u);
}

TEST(LogicSystem, OneNodeIsTargetAgainAndAGoneTargetIsForgotten) {
    RaceGame race({600});
    LogicSystem& logic = *race.logic;
    race.Frame();
    DeliveryNode* node = logic.target;
    ASSERT_NE(node, nullptr);
    race.Deliver();
    EXPECT_EQ(logic.deliveries, 1);
    race.Frame();
    EXPECT_EQ(logic.target, node);
    EXPECT_TRUE(node->active);
    const int32_t marker = node->marker;
    ASSERT_NE(race.Marker(node), nullptr);

    // The point leaves: no target, no marker, and the race never ends.
    race.factory->DestroyObject(node->owner);
    EXPECT_EQ(logic.target, nullptr);
    EXPECT_TRUE(logic.deliveryNodes.empty());
    race.Frame();
    EXPECT_EQ(race.factory->FindObject(marker), nullptr);
    race.heard->Take();
    logic.timeLeft = -10.0f;
    race.Frames(10);
    EXPECT_EQ(Music(race.heard->Take(), true), Lines{});
    EXPECT_EQ(race.core->RequestedState(), GameState::Running);
}

TEST(LogicSystem, UpdatesAndTellsTheComponentsOfActiveSpacesOnceAndARaceWaitsForAPlayer) {
    PlayerGame game(Nodes({600}), PlayerTest::kNoPlayer);
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
    // listened for. Signal 64 marks a rotator; 61 is passed on like any other.
    game.Hold(SDL_SCANCODE_RETURN, 2);
    game.Frames(2);
    EngineTest::Send(*game.core, LogicSignalMessage());
    EXPECT_FALSE(rotator->triggered);
    EngineTest::Send(*game.core, RotatorTriggerMessage());
    EXPECT_TRUE(rotator->triggered);
    EXPECT_EQ(plain->heard, (Lines{"KeyReleased 13", "id 61", "id 64"}));
    EXPECT_EQ(both->heard, plain->heard);
    EXPECT_TRUE(editor->heard.empty());

    // Nothing reaches a space that is off.
    game.spaces->SetSpaceActive("GameSpace", false);
    game.spaces->SetSpaceActive("Pause", false);
    game.Frame();
    EXPECT_EQ(plain->updates, 6);
    EXPECT_EQ(both->updates, 6);
    game.spaces->SetSpaceActive("GameSpace", true);
    // Destroying a component's object unregisters it.
    game.factory->DestroyObject(plain->owner);
    game.Frame();
    EXPECT_EQ(both->updates, 7);

    // The race's clock runs, but without a player there is no target.
    EXPECT_EQ(game.logic->target, nullptr);
    EXPECT_LT(game.logic->timeLeft, LogicSystem::kRaceTime);
    ASSERT_NE(game.factory->LoadObject("Resources/Objects/Player.zorvel"), nullptr);
    game.Frame();
    EXPECT_NE(game.logic->target, nullptr);
}

} // namespace
