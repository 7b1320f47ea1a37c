// Job givers and job entities in the running game, with a real player
// walking, touching and pressing keys, across level changes.

#include <cmath>

#include "jobs/JobTestSupport.h"

using namespace Flurr;
using namespace JobTest;
namespace {

constexpr float kGiverX = 600.0f;
constexpr float kCheckpointX = 1400.0f;

std::string GiverBank() {
    return Bank(JobText("Fetch", Node("Checkpoint", "ID:1\nDescription:Ring the bell\n"),
                        "IntroText:Bring me the bell.\nOutroText:Thanks for the bell.\n") +
                JobText("Second", Node("Special", "ID:5\nDescription:More\n"),
                        List("PreReqJobs", {"Fetch"}) + "IntroText:Now the second.\n") +
                JobText("Other", Node("Special", "ID:6\nDescription:Elsewhere\n"),
                        "IntroText:Not mine.\n"));
}

std::string GiverLevel() {
    LevelText level;
    Giver(level, kGiverX, 60, {"Fetch", "Second"});
    Giver(level, -3000, 60, {"Other"});
    Entity(level, kCheckpointX, 50, 1, "Fetch", "Checkpoint");
    return level.Objects();
}

// How many of the lines two new frames deliver begin with `start`.
int Said(JobGame& game, const std::string& start) {
    game.heard->Take();
    game.Frames(2);
    int count = 0;
    for (const std::string& line : game.heard->Take())
        count += line.rfind(start, 0) == 0 ? 1 : 0;
    return count;
}

void Press(JobGame& game, SDL_Scancode key) {
    PlayerTest::Key(key, true);
    game.Frame();
    PlayerTest::Key(key, false);
    game.Frame();
}

TEST(JobGivers, OfferStartWorkDoneAndOutroWithARealPlayer) {
    JobGame game(GiverBank(), GiverLevel());
    JobSystem& jobs = *game.jobSystem;
    const std::vector<JobGiverComponent*> givers = jobs.Givers();
    ASSERT_EQ(givers.size(), 2u);
    JobGiverComponent& giver = *givers[0];
    JobGiverComponent& other = *givers[1];
    game.Stand(0);

    // From afar: the mark shows; pressing E does nothing.
    Press(game, SDL_SCANCODE_E);
    EXPECT_EQ(giver.state, GiverState::Offering);
    EXPECT_EQ(game.Opacity(giver.bang), 1.0f);
    EXPECT_EQ(game.Opacity(giver.prompt), 0.0f);
    EXPECT_EQ(game.factory->FindObject(giver.bang)->y, 160.0f);
    EXPECT_EQ(game.heard->Count("Text Bring me"), 0u);

    // Walk up: the prompt and the intro replace the mark.
    PlayerTest::Key(SDL_SCANCODE_D, true);
    for (int i = 0; i < 400 && game.Opacity(giver.prompt) != 1.0f; ++i)
        game.Frame();
    PlayerTest::Key(SDL_SCANCODE_D, false);
    game.Settle();
    ASSERT_EQ(game.Opacity(giver.prompt), 1.0f);
    EXPECT_LT(std::fabs(game.player->owner->x - kGiverX), giver.radius);
    EXPECT_EQ(game.Opacity(giver.bang), 0.0f);
    EXPECT_EQ(game.Opacity(giver.textBox), 0.5f);
    EXPECT_EQ(game.heard->Lines("Text Bring me").back(), "Text Bring me the bell.");
    EXPECT_EQ(game.Sprite(giver.prompt)->animation, "KeyE");
    // After pad input the prompt shows the pad's button.
    Core::Broadcast(XboxTriggeredMessage(PadButton::DPadUp));
    game.Frame();
    EXPECT_EQ(game.Sprite(giver.prompt)->animation, "XboxButtonX");

    // E starts the job; the other townsperson waits.
    Press(game, SDL_SCANCODE_E);
    EXPECT_EQ(game.Sprite(giver.prompt)->animation, "KeyE");
    EXPECT_EQ(jobs.currentJob, "Fetch");
    EXPECT_EQ(giver.state, GiverState::Working);
    EXPECT_EQ(other.state, GiverState::Waiting);
    EXPECT_EQ(game.Opacity(giver.prompt), 0.0f);
    // The map marks the working townsperson only.
    game.player->mapView = true;
    game.Frame();
    EXPECT_EQ(game.Opacity(giver.marker), 1.0f);
    EXPECT_EQ(game.Opacity(other.marker), 0.0f);
    game.player->mapView = false;

    // Touching the checkpoint completes the job.
    game.heard->Take();
    game.Place(kCheckpointX, 52);
    for (int i = 0; i < 30 && jobs.jobActive; ++i)
        game.Frame();
    EXPECT_TRUE(jobs.jobs["Fetch"].completed);
    EXPECT_EQ(other.state, GiverState::Offering);
    EXPECT_EQ(game.heard->Count("Play Cheer"), 1u);

    // Done, but the second job is open now: offered at once.
    game.Place(kGiverX - 50, 52);
    game.Frames(3);
    EXPECT_EQ(giver.state, GiverState::Offering);
    EXPECT_EQ(game.heard->Lines("Text Now").back(), "Text Now the second.");
    Press(game, SDL_SCANCODE_E);
    EXPECT_EQ(jobs.currentJob, "Second");
    jobs.CompleteSpecial("Second", 5);
    EXPECT_EQ(giver.state, GiverState::Done);

    // Nothing left to offer: the first completed job's outro, up close only.
    EXPECT_EQ(Said(game, "Text Thanks for the bell."), 2);
    EXPECT_EQ(game.Opacity(giver.bang), 0.0f);
    game.Place(-1000, 52);
    game.Frame();
    EXPECT_EQ(Said(game, "Text Thanks"), 0);
}

TEST(JobGivers, DisplayObjectsComeBackAfterLevelChangesAndGoWithTheirGiver) {
    EngineTest::TempDir levels;
    const std::string level = levels.Write("Level.zorvel", LevelText().Text());
    JobGame game(GiverBank(), GiverLevel());
    JobSystem& jobs = *game.jobSystem;
    game.Stand(0);
    game.Start("Other");
    game.Frame();
    JobGiverComponent* giver = jobs.Givers()[0];
    const int32_t before[] = {giver->bang,   giver->prompt,     giver->textBox,
                              giver->marker, jobs.ViewIconId(), jobs.ObjectivesFrameId()};
    for (int32_t id : before)
        EXPECT_NE(game.factory->FindObject(id), nullptr);

    // A level change, then a restart (which frees the level twice): the
    // running job carries on and every display object is made again.
    const std::string file = game.dir.Path("Level.zorvel");
    for (int round = 0; round < 2; ++round) {
        for (int free = 0; free <= round; ++free)
            game.factory->Free();
        EXPECT_TRUE(jobs.Givers().empty());
        EXPECT_TRUE(jobs.Entities().empty());
        game.factory->LoadLevel(file);
        ASSERT_NE(game.factory->LoadObject("Resources/Objects/Player.zorvel"), nullptr);
        game.player = game.players->Player();
        game.Frames(2);
        EXPECT_EQ(jobs.currentJob, "Other");
        giver = jobs.Givers()[0];
        const int32_t after[] = {giver->bang,   giver->prompt,     giver->textBox,
                                 giver->marker, jobs.ViewIconId(), jobs.ObjectivesFrameId()};
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(game.factory->FindObject(before[i]), nullptr);
            GameObject* made = game.factory->FindObject(after[i]);
            ASSERT_NE(made, nullptr);
            EXPECT_FALSE(made->savedWithLevel);
        }
    }
    // The panel sprites are screen pieces: they are drawn.
    EXPECT_EQ(game.Opacity(jobs.ObjectivesFrameId()), 1.0f);

    // A townsperson leaving takes all four of its objects.
    const int32_t four[] = {giver->bang, giver->prompt, giver->textBox, giver->marker};
    game.factory->DestroyObject(giver->owner);
    game.Frame();
    for (int32_t id : four)
        EXPECT_EQ(game.factory->FindObject(id), nullptr);
}

TEST(JobEntities, StateBitsRegionCountsAndRavenTargetsOnRealBodies) {
    EngineTest::WarningLog warnings;
    const std::string bank =
        Bank(JobText("Ghosts", Node("Checkpoint", "ID:1\nRavenGuide:true\n")) +
             JobText("Cart", Node("ObjectRegion", "ID:50\nObjectID:51\nCondition:INCLUDE_NUMBER\n"
                                                  "Number:2\nRavenGuide:true\n")) +
             JobText("Lost", Node("Checkpoint", "ID:60\n")));
    LevelText level;
    Entity(level, 3000, 400, 1, "Ghosts", "Checkpoint", 100,
           {{"ActivationAction", "1"}, {"PostCompletionAction", "2"}});
    Entity(level, -1000, 150, 50, "Cart", "ObjectRegion", 300);
    // Two carried objects share an id: one in the region, one outside.
    level.Object(-1000, 40).Box(60, 60).With(
        "JobEntityComponent", {{"EntityID", "51"}, {"JobName", "Cart"}, {"Type", "RegionObject"}});
    level.Object(-2000, 40).Box(60, 60).With(
        "JobEntityComponent", {{"EntityID", "51"}, {"JobName", "Cart"}, {"Type", "RegionObject"}});
    Entity(level, 2000, 400, 60, "Lost", "ObjectRegion");
    Giver(level, 5000, 60, {});
    JobGame game(bank, level.Objects());
    JobSystem& jobs = *game.jobSystem;
    game.Stand(0);

    // Before activation: hidden and a ghost.
    JobEntityComponent& ghost = *game.EntityWith(1);
    GraphicsComponent* sprite = ghost.owner->Get<GraphicsComponent>();
    RigidBody* body = ghost.owner->Get<PhysicsComponent>()->body;
    EXPECT_EQ(sprite->Opacity, 0.0f);
    EXPECT_TRUE(body->ghost);
    EXPECT_EQ(body->gravity, 0.0f);
    // Activation bits 1: seen, still a ghost; a raven target.
    game.Start("Ghosts");
    EXPECT_EQ(sprite->Opacity, 1.0f);
    EXPECT_TRUE(body->ghost);
    Vec2 target = jobs.GuideTargetPosition(Vec2());
    EXPECT_EQ(target.x, 3000.0f);
    // Completion bits 2: solid and unseen.
    ghost.Complete();
    EXPECT_EQ(sprite->Opacity, 0.0f);
    EXPECT_FALSE(body->ghost);
    EXPECT_EQ(body->gravity, -10.0f);

    // The region counts its objects: one in, one out.
    game.Start("Cart");
    game.Frames(3);
    LogicNode& region = jobs.jobs["Cart"].tree.root;
    EXPECT_EQ(region.params[LogicNode::LastCount], 1u);
    EXPECT_EQ(jobs.guideTargets.size(), 3u);
    // A raven target that leaves the level is forgotten.
    game.factory->DestroyObject(game.EntitiesWith(51)[1]->owner);
    EXPECT_EQ(jobs.guideTargets.size(), 2u);
    game.Frames(2);
    EXPECT_EQ(jobs.currentJob, "Cart");
    // The second object carried in: the region and its objects complete.
    game.factory->LoadLevel(game.dir.Write(
        "More.zorvel",
        LevelText()
            .Object(-1050, 40)
            .Box(60, 60)
            .With("JobEntityComponent",
                  {{"EntityID", "51"}, {"JobName", "Cart"}, {"Type", "RegionObject"}})
            .Text()));
    game.Start("Cart");
    game.Frames(3);
    EXPECT_TRUE(jobs.jobs["Cart"].completed);
    EXPECT_TRUE(game.EntityWith(50)->completed);
    for (JobEntityComponent* object : game.EntitiesWith(51))
        EXPECT_TRUE(object->completed);
    EXPECT_TRUE(jobs.guideTargets.empty());
    EXPECT_EQ(jobs.GuideTargetPosition(Vec2(5, 5)).x, 0.0f);

    // A region its job gives nothing to count: said once, no report, no crash.
    game.Start("Lost");
    game.Frames(3);
    EXPECT_EQ(warnings.Count(JobEntityComponent::kNoObjectsText), 1) << warnings;
    EXPECT_EQ(jobs.currentJob, "Lost");
}

} // namespace
