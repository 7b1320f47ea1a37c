// The town's whole story in one run of the shipped data: every job taken
// from its townsperson with E, its places touched and its crates moved (the
// player put there, not steered: each route is played in its own test),
// to the balloon business and the end screen. It finds a story that cannot
// be finished: an unmet prerequisite, a silent giver, an orphan entity.

#include "jobs/JobEntityComponent.h"
#include "jobs/JobGiverComponent.h"
#include "jobs/JobSystem.h"
#include "jobs/PlayerJobs.h"
#include "physics/PhysicsComponent.h"
#include "physics/RigidBody.h"
#include "player/PlayerTestSupport.h"

using namespace Flurr;
namespace {

void Put(GameObject& object, float x, float y) {
    object.x = x;
    object.y = y;
    if (PhysicsComponent* physics = object.Get<PhysicsComponent>(); physics && physics->body) {
        physics->body->position = Vec2(x, y);
        physics->body->velocity = Vec2();
    }
}

struct Town : PlatformTest::Game {
    Town()
        : Game(TestGame::ProgramConfig("Resources/Levels/Routes/Town.zorvel"),
               {MessageId::PlaySound}) {
        PlatformTest::Push({Focus()});
        core->Route()->Load();
        Frames(2);
    }
    JobSystem& jobs = *JobSystem::Instance();
    PlayerComponent& player() const { return *PlayerController::Instance()->Player(); }

    std::vector<JobEntityComponent*> Of(const std::string& job, JobEntityType type) const {
        std::vector<JobEntityComponent*> found;
        for (JobEntityComponent* e : jobs.Entities())
            if (e->JobName == job && e->Type == type)
                found.push_back(e);
        return found;
    }
    // Beside the townsperson offering `job`, E.
    void Take(const std::string& job) {
        for (const JobGiverComponent* giver : jobs.Givers())
            if (std::find(giver->Jobs.begin(), giver->Jobs.end(), job) != giver->Jobs.end())
                Put(*player().owner, giver->owner->x, giver->owner->y - 10.0f);
        Frames(30);
        Frame({PlatformTest::Key(SDL_SCANCODE_E, true)});
        Frame({PlatformTest::Key(SDL_SCANCODE_E, false)});
    }
    // One step of the running job: touch its open places, or move its
    // crates as its open region asks (all in, all but one in, all out).
    void Work(const std::string& job) {
        for (JobEntityComponent* place : Of(job, JobEntityType::Checkpoint))
            if (place->activated && !place->completed) {
                Put(*player().owner, place->owner->x, place->owner->y);
                Frames(3);
                return;
            }
        for (JobEntityComponent* region : Of(job, JobEntityType::ObjectRegion)) {
            if (!region->activated || region->completed)
                continue;
            const GameObject& area = *region->owner;
            std::vector<JobEntityComponent*> crates = Of(job, JobEntityType::RegionObject);
            const std::size_t in = job == "ClearTheDoor"  ? 0
                                   : job == "FurnaceFeed" ? crates.size() - 1
                                                          : crates.size();
            for (std::size_t i = 0; i < crates.size(); ++i) {
                const float step = 90.0f * static_cast<float>(i);
                if (i < in)
                    Put(*crates[i]->owner, area.x - area.width / 2.0f + 50.0f + step, area.y);
                else
                    Put(*crates[i]->owner, area.x + area.width / 2.0f + 300.0f + step,
                        area.y + 100.0f);
            }
            Frames(60);
            return;
        }
    }
};

TEST(TownStory, EveryJobInOneRunToTheBalloonBusinessAndTheEndScreen) {
    Town town;
    PlayerComponent& player = town.player();
    const std::vector<std::string> story = {
        "Distance1",     "GoFast1",     "HotBuns",         "MarketErrands", "FortuneRun",
        "HorseshoeHunt", "FurnaceFeed", "VaneCalibration", "KittyJob",      "TimberYard",
        "ClearTheDoor",  "LoadTheShip", "BalloonJob"};
    for (const std::string& job : story) {
        SCOPED_TRACE(job);
        town.Take(job);
        ASSERT_EQ(town.jobs.currentJob, job);
        // The player's own feats, which the special jobs judge, are done
        // by hand in their own tests: here they are simply achieved.
        if (job == "Distance1")
            player.distanceTravelled = SpecialJobs::kDistanceGoal;
        if (job == "GoFast1")
            player.goFastFrames = SpecialJobs::kFastFrames + 1;
        for (int step = 0; step < 20 && town.jobs.currentJob == job; ++step) {
            town.Work(job);
            town.Frames(2);
        }
        ASSERT_TRUE(town.jobs.GetJob(job).completed);
        ASSERT_EQ(town.jobs.currentJob, kNoJob);
    }
    EXPECT_TRUE(player.flightUnlocked);
    EXPECT_TRUE(player.dashUnlocked);
    EXPECT_TRUE(player.showThanks);
    for (const JobGiverComponent* giver : town.jobs.Givers())
        EXPECT_EQ(giver->state, GiverState::Done) << giver->Jobs.front();
}

} // namespace
