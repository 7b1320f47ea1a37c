// Birds in the real game: they glide, settle on perches, peck, and scatter
// in a chain when the player's alarm reaches a perch.

#include <cmath>

#include "gameplay/BirdComponent.h"
#include "gameplay/BirdPerch.h"
#include "player/PlayerTestSupport.h"

using namespace Flurr;
namespace {

using EngineTest::LevelText;
using PlayerTest::PlayerGame;

// Far from every perch (the player stands at x 0 unless moved).
constexpr float kPerchY = 300.0f;

LevelText& Bird(LevelText& level, float x, float y) {
    return level.Object(x, y, {{"WIDTH", "28"}, {"HEIGHT", "28"}})
        .With("GraphicsComponent", {{"Animation", "BlackBird"}})
        .With("BirdComponent");
}
LevelText& Perch(LevelText& level, float x, float y = kPerchY) {
    return level.Object(x, y).With("BirdPerch");
}

struct BirdGame : PlayerGame {
    explicit BirdGame(const LevelText& level) : PlayerGame(level.Objects()) {}

    std::vector<BirdComponent*> Birds() const {
        return EngineTest::AllComponents<BirdComponent>(*factory);
    }
    std::vector<BirdPerch*> Perches() const {
        return EngineTest::AllComponents<BirdPerch>(*factory);
    }
    // Runs frames until `done` holds, at most `limit`; true if it did.
    template <typename F> bool RunUntil(F done, int limit) {
        for (int i = 0; i < limit; ++i) {
            if (done())
                return true;
            core->RunFrame();
        }
        return done();
    }
    bool AllPerched() const {
        for (const BirdComponent* bird : Birds())
            if (bird->state != BirdState::Perched)
                return false;
        return true;
    }
    static std::string Prefix(const BirdComponent* bird) {
        const char* colours[] = {"Black", "Blue", "Red"};
        return colours[bird->colour];
    }
    static const GraphicsComponent& Sprite(const BirdComponent* bird) {
        return *bird->owner->Get<GraphicsComponent>();
    }
};

TEST(Birds, GlideLandPerchPeckAndFlee) {
    LevelText level;
    Perch(level, 2000);
    Bird(level, 1500, 500);
    BirdGame t(level);
    BirdComponent* bird = t.Birds().at(0);
    BirdPerch* perch = t.Perches().at(0);
    GameObject& body = *bird->owner;

    // Gliding: level, six units a tick, the colour's flying animation.
    t.Frames(2);
    const float x = body.x;
    t.Frames(10);
    EXPECT_FLOAT_EQ(body.x, x + 60.0f);
    EXPECT_FLOAT_EQ(body.y, 500.0f);
    EXPECT_EQ(t.Sprite(bird).animation, t.Prefix(bird) + "Bird");
    EXPECT_EQ(t.Sprite(bird).frameRate, 6.0f);

    // Not before three seconds of gliding; then it reserves the perch.
    t.Frames(160);
    EXPECT_EQ(bird->state, BirdState::Glide);
    ASSERT_TRUE(t.RunUntil([&] { return bird->state == BirdState::Landing; }, 600));
    EXPECT_EQ(perch->bird, bird);
    EXPECT_EQ(bird->perch, perch);

    // It turns back, flies to the perch and sits within ten units of it.
    ASSERT_TRUE(t.RunUntil([&] { return bird->state == BirdState::Perched; }, 1200));
    const GameObject& at = *perch->owner;
    EXPECT_LT(std::hypot(body.x - at.x, body.y - at.y), 10.0f);

    // The first peck comes at once, the rest one to five seconds apart;
    // after a quarter second it sits idle.
    t.Frames(2);
    EXPECT_EQ(body.rotation, 0.0f);
    EXPECT_EQ(t.Sprite(bird).animation, t.Prefix(bird) + "BirdPecking");
    EXPECT_GE(bird->actionDuration, 1.0f);
    EXPECT_LT(bird->actionDuration, 5.0f);
    t.Frames(20);
    EXPECT_EQ(t.Sprite(bird).animation, t.Prefix(bird) + "BirdIdle");
    const float sitX = body.x, sitY = body.y;
    t.Frames(60);
    EXPECT_EQ(body.x, sitX);
    EXPECT_EQ(body.y, sitY);

    // The player 250 units below the perch: the bird takes flight, calls,
    // and climbs away from the perch, which is free again.
    t.heard->Take();
    t.Place(at.x, 52);
    t.Frames(1);
    EXPECT_EQ(bird->state, BirdState::Flee);
    EXPECT_EQ(perch->bird, nullptr);
    EXPECT_EQ(bird->perch, nullptr);
    const std::vector<std::string> said = t.heard->Take();
    ASSERT_EQ(std::count_if(said.begin(), said.end(),
                            [](const std::string& s) { return s.starts_with("Play Pigeons"); }),
              1);
    t.Frames(30);
    EXPECT_GT(body.y, sitY + 200.0f);
    // After five seconds it glides again, level and to one side.
    t.Frames(280);
    EXPECT_EQ(bird->state, BirdState::Glide);
    EXPECT_EQ(std::abs(bird->direction.x), 1.0f);
    EXPECT_EQ(bird->direction.y, 0.0f);
}

TEST(Birds, AnAlarmRunsDownAChainOfPerchesAndStopsAtAGap) {
    // Three perches 400 units apart, a fourth 600 beyond the third.
    LevelText level;
    for (float x : {1000.0f, 1400.0f, 1800.0f, 2400.0f})
        Perch(level, x);
    for (float x : {900.0f, 1300.0f, 1700.0f, 2100.0f})
        Bird(level, x, 600);
    BirdGame t(level);
    ASSERT_TRUE(t.RunUntil([&] { return t.AllPerched(); }, 3000));
    auto birdOn = [&](int i) { return t.Perches()[static_cast<std::size_t>(i)]->bird; };
    std::vector<BirdComponent*> sitting;
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(birdOn(i), nullptr);
        sitting.push_back(birdOn(i));
    }

    // Exactly 300 units from the first perch the player is not near.
    Core::Broadcast(PerchAlertPlayerMessage(700.0f, kPerchY));
    EXPECT_TRUE(t.AllPerched());
    t.heard->Take();

    // At 299 the first bird goes, and with it the next two, at once.
    Core::Broadcast(PerchAlertPlayerMessage(701.0f, kPerchY));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(sitting[static_cast<std::size_t>(i)]->state, BirdState::Flee) << i;
    EXPECT_EQ(sitting[3]->state, BirdState::Perched);
    EXPECT_EQ(birdOn(3), sitting[3]);
    EXPECT_EQ(t.heard->Count("Play Pigeons"), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(birdOn(i), nullptr);
}

TEST(Birds, WithoutPerchesBirdsGlideOnAndKeepLookingUntilOneAppears) {
    LevelText level;
    for (float y : {400.0f, 500.0f, 600.0f})
        Bird(level, 1000, y);
    BirdGame t(level);
    t.Frames(600);
    for (BirdComponent* bird : t.Birds()) {
        EXPECT_EQ(bird->state, BirdState::Glide);
        EXPECT_TRUE(std::isfinite(bird->owner->x));
        // Each failed search starts the glide clock again.
        const float glided = bird->timers.GetTime("GlideTime");
        EXPECT_GT(glided, 0.0f);
        EXPECT_LT(glided, 5.0f);
    }
    // A perch put down later is found.
    GameObject* post = t.factory->LoadObject(
        t.dir.Write("Perch.zorvel", "Root\n  X:1500\n  Y:300\n  BirdPerch\n  -BirdPerch\n-Root\n"));
    ASSERT_NE(post, nullptr);
    BirdPerch* perch = post->Get<BirdPerch>();
    ASSERT_NE(perch, nullptr);
    ASSERT_TRUE(t.RunUntil([&] { return perch->bird != nullptr; }, 600));
}

TEST(Birds, DestroyingABirdOrAPerchLeavesNothingPointingAtIt) {
    LevelText level;
    Perch(level, 1000);
    Perch(level, 2000);
    Bird(level, 900, 500);
    Bird(level, 1900, 700);
    BirdGame t(level);
    std::vector<BirdPerch*> perches = t.Perches();
    ASSERT_TRUE(t.RunUntil([&] { return t.AllPerched(); }, 3000));

    // A perch goes from under a sitting bird: the bird glides off.
    BirdComponent* orphan = perches[0]->bird;
    t.factory->DestroyLater(perches[0]->owner);
    EXPECT_EQ(orphan->perch, nullptr);
    EXPECT_EQ(orphan->state, BirdState::Glide);
    t.Frames(60);
    EXPECT_EQ(orphan->state, BirdState::Glide);

    // The other perch's bird goes: the perch is free, and the glider takes
    // it (the only perch left) and lands there.
    t.factory->DestroyLater(perches[1]->bird->owner);
    EXPECT_EQ(perches[1]->bird, nullptr);
    ASSERT_TRUE(t.RunUntil([&] { return perches[1]->bird == orphan; }, 600));
    // Gone while on its way: both sides forget each other.
    ASSERT_EQ(orphan->state, BirdState::Landing);
    t.Frames(10);
    t.factory->DestroyLater(perches[1]->owner);
    EXPECT_EQ(orphan->perch, nullptr);
    t.Frames(300);
    EXPECT_EQ(orphan->state, BirdState::Glide);
    EXPECT_TRUE(t.birds->Perches().empty());
    EXPECT_EQ(t.birds->Birds().size(), 1u);
}

} // namespace
