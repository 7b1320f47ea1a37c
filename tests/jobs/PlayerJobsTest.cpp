// The special jobs, run at the end of the real player's update. The test
// takes the place of the world for a moment: just before the special jobs
// run it sets the player's speed or position.

#include <functional>

#include "jobs/JobTestSupport.h"

using namespace Flurr;
using namespace JobTest;
namespace {

std::string SpecialBank() {
    return Bank(
        JobText("GoFast1", Node("Sequence", "", Node("Special", "ID:1\nDescription:go\n"))) +
        JobText("Distance1", Node("Special", "ID:1\nDescription:fly\n")) +
        JobText("KittyJob", Node("Checkpoint", "ID:9\nDescription:Find the cat\n")) +
        JobText("BalloonJob", Node("Sequence", "",
                                   Node("Special", "ID:320\nDescription:Open for "
                                                   "business!\n"))));
}

// Runs the special jobs with the player set up by `before` each update.
class SpecialGame : public JobGame {
public:
    SpecialGame() : JobGame(SpecialBank(), Level()) {
        jobs = PlayerComponent::endOfUpdate;
        PlayerComponent::endOfUpdate = [this](PlayerComponent& player) {
            if (before)
                before(player);
            jobs(player);
        };
        Stand(0);
    }
    ~SpecialGame() { PlayerComponent::endOfUpdate = jobs; }
    // The body at the start, moving at `velocity`.
    void Moving(const Vec2& velocity, bool flying = false) {
        before = [velocity, flying](PlayerComponent& player) {
            RigidBody* body = player.owner->Get<PhysicsComponent>()->body;
            body->position = Vec2(0, 52);
            body->velocity = velocity;
            player.flying = flying;
        };
    }
    const std::string& Description(const std::string& job, std::size_t node) {
        return jobSystem->jobs[job].tree.allNodes[node]->description;
    }

    // A townsperson far away: the job system runs where someone gives jobs.
    static std::string Level() {
        LevelText level;
        return Giver(level, 5000, 60, {}).Objects();
    }

    std::function<void(PlayerComponent&)> jobs;
    std::function<void(PlayerComponent&)> before;
};

TEST(SpecialJobs, GoFastCountsOnlyAbove200AndCompletesAfter600FramesUnlockingTheDash) {
    SpecialGame game;
    game.Start("GoFast1");
    game.Moving(Vec2(120, 160)); // exactly 200
    game.Frames(30);
    EXPECT_EQ(game.player->goFastFrames, 0);
    EXPECT_EQ(game.Description("GoFast1", 1),
              "Baker Pim demands entertainment! Go faster than 200 for 10 seconds!\n Current "
              "Speed: 200\n Seconds Left: 10 ");
    game.Moving(Vec2(201, 0));
    game.Frames(600);
    EXPECT_EQ(game.player->goFastFrames, 600);
    EXPECT_NE(game.Description("GoFast1", 1).find("Speed: 201\n Seconds Left: 0 "),
              std::string::npos);
    EXPECT_EQ(game.jobSystem->currentJob, "GoFast1");
    EXPECT_FALSE(game.player->dashUnlocked);
    game.Frame();
    EXPECT_TRUE(game.jobSystem->jobs["GoFast1"].completed);
    EXPECT_TRUE(game.player->dashUnlocked);
    // Another job does not touch the counter.
    game.Frames(5);
    EXPECT_EQ(game.player->goFastFrames, 601);
}

TEST(SpecialJobs, DistanceHandsOverFlightAndStopsAt250Meters) {
    SpecialGame game;
    game.Start("Distance1");
    game.Moving(Vec2(0, 9000), false); // not flying: does not count
    game.Frame();
    EXPECT_TRUE(game.player->flightUnlocked);
    EXPECT_EQ(game.player->distanceTravelled, 0);
    game.Moving(Vec2(0, 90000), true);
    game.Frame();
    EXPECT_EQ(game.Description("Distance1", 0),
              "Test out the Deroze Personal Flight Unit by flying 250 meters.\n Meters Traveled: "
              "90");
    game.Frames(2);
    EXPECT_EQ(game.player->distanceTravelled, 250000);
    EXPECT_EQ(game.Description("Distance1", 0),
              "250 meters travelled--You've got all the data you need!");
    EXPECT_TRUE(game.jobSystem->jobs["Distance1"].completed);
}

TEST(SpecialJobs, TheCatMeowsEvery180FramesLouderUpClose) {
    SpecialGame game;
    game.Start("KittyJob");
    const auto stand = [&game](float x, float y) {
        game.before = [x, y](PlayerComponent& player) {
            player.owner->x = x;
            player.owner->y = y;
        };
    };
    const auto meows = [&game](int frames) {
        game.heard->Take();
        game.Frames(frames);
        Lines out;
        for (const std::string& line : game.heard->Take())
            if (line.rfind("Play Meow", 0) == 0)
                out.push_back(line.substr(10));
        return out;
    };
    // Out of reach: silence.
    stand(SpecialJobs::kCatX - 8000.0f, SpecialJobs::kCatY);
    EXPECT_TRUE(meows(200).empty());
    // 7999 city-block units away: the softest meow, once every 180 frames.
    stand(SpecialJobs::kCatX - 4000.0f, SpecialJobs::kCatY + 3999.0f);
    EXPECT_EQ(meows(361), (Lines(3, " 0.125 0")));
    stand(SpecialJobs::kCatX, SpecialJobs::kCatY);
    EXPECT_EQ(meows(180), (Lines{" 1 0"}));
}

TEST(SpecialJobs, OpenForBusinessEndsTheGameOnce) {
    SpecialGame game;
    game.Start("BalloonJob");
    game.heard->Take();
    game.Frames(3);
    EXPECT_TRUE(game.player->showThanks);
    EXPECT_TRUE(game.jobSystem->jobs["BalloonJob"].completed);
    game.Frames(3);
    EXPECT_EQ(game.heard->Count("Play BeautifulExplosion 1 0"), 1u);
    int buildings = 0;
    for (const auto& entry : game.factory->objects)
        if (GraphicsComponent* sprite = entry.second->Get<GraphicsComponent>())
            buildings += sprite->shader == SpriteShader::Fade && sprite->ZOrder == 0.01f;
    EXPECT_EQ(buildings, 2);
}

} // namespace
