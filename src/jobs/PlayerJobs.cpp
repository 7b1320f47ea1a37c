#include "jobs/PlayerJobs.h"

#include <cmath>
#include <cstdio>

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "engine/Random.h"
#include "graphics/GraphicsComponent.h"
#include "jobs/JobSystem.h"
#include "particles/ParticleSystem.h"
#include "physics/PhysicsComponent.h"
#include "physics/RigidBody.h"
#include "player/PlayerComponent.h"
#include "world/Factory.h"

namespace Flurr {

namespace {

using namespace SpecialJobs;

constexpr uint32_t kGoFastNode = 1;
constexpr uint32_t kDistanceNode = 1;
constexpr uint32_t kBalloonNode = 320;

std::string Format(const char* pattern, int32_t a, int32_t b = 0) {
    char text[256];
    std::snprintf(text, sizeof text, pattern, a, b);
    return text;
}

int32_t Speed(const PlayerComponent& player) {
    const PhysicsComponent* physics =
        player.owner ? player.owner->Get<PhysicsComponent>() : nullptr;
    if (!physics || !physics->body)
        return 0;
    const float speed = physics->body->velocity.Length();
    // A body gone wild must not overflow the counters.
    return speed < 1e9f ? static_cast<int32_t>(speed) : 1000000000;
}

void GoFast(PlayerComponent& player, JobSystem& jobs) {
    const int32_t speed = Speed(player);
    if (speed > kFastSpeed && player.goFastFrames < INT32_MAX)
        ++player.goFastFrames;
    jobs.SetSpecialDescription(
        "GoFast1", kGoFastNode,
        Format("Baker Pim demands entertainment! Go faster than 200 for 10 seconds!\n Current "
               "Speed: %i\n Seconds Left: %i ",
               speed, 10 - player.goFastFrames / 60));
    if (player.goFastFrames > kFastFrames)
        jobs.CompleteSpecial("GoFast1", kGoFastNode);
}

void Distance(PlayerComponent& player, JobSystem& jobs) {
    // The job hands the player the flight unit.
    player.flightUnlocked = true;
    const int32_t speed = Speed(player);
    if (speed >= 10 && player.flying)
        player.distanceTravelled += std::min(speed, kDistanceGoal);
    jobs.SetSpecialDescription(
        "Distance1", kDistanceNode,
        Format("Test out the Deroze Personal Flight Unit by flying 250 "
               "meters.\n Meters Traveled: %i",
               std::min(player.distanceTravelled, kDistanceGoal) / kPerMeter));
    if (player.distanceTravelled >= kDistanceGoal) {
        player.distanceTravelled = kDistanceGoal;
        jobs.SetSpecialDescription("Distance1", kDistanceNode,
                                   "250 meters travelled--You've got all the data you need!");
        jobs.CompleteSpecial("Distance1", kDistanceNode);
    }
}

void Kitty(PlayerComponent& player) {
    const float distance = std::fabs(player.owner->x - kCatX) + std::fabs(player.owner->y - kCatY);
    if (distance < static_cast<float>(kMeowReach)) {
        const int32_t left = kMeowReach - static_cast<int32_t>(distance);
        // One eighth louder for every thousand units closer, at least one.
        float volume = 0.0f;
        int32_t counter = 0;
        do {
            volume += 0.125f;
            counter += 1000;
        } while (counter < left);
        if (player.meowCooldown <= 0) {
            player.meowCooldown = kMeowFrames;
            Core::Broadcast(PlaySoundMessage(Format("Meow%i", Random() % 3 + 1), volume, 0));
        }
    }
    --player.meowCooldown;
}

GameObject* MakeBuilding(const char* animation, float x, float y, float scale, int32_t width,
                         int32_t height) {
    Factory* factory = Factory::Instance();
    if (!factory)
        return nullptr;
    GameObject* object = factory->CreateGameObject();
    object->x = x;
    object->y = y;
    object->xScale = object->yScale = scale;
    object->width = width;
    object->height = height;
    object->savedWithLevel = false;
    auto* sprite = static_cast<GraphicsComponent*>(CreateComponent(GraphicsComponent::Name()));
    if (!sprite)
        return object;
    object->AddComponent(sprite);
    sprite->Initialize();
    sprite->SetAnimation(animation, 3.0f, 0);
    sprite->SetFrameRate(0.35f);
    sprite->ZOrder = 0.01f;
    sprite->shader = SpriteShader::Fade;
    return object;
}

void Balloon(PlayerComponent& player, JobSystem& jobs) {
    if (player.showThanks)
        return;
    for (const std::string& text : jobs.GetActiveObjectiveTexts()) {
        if (text != kOpenForBusiness || player.showThanks)
            continue;
        if (ParticleSystem* particles = ParticleSystem::Instance())
            for (const char* effect : {"mercury_rays", "mercury_glow", "mercury_smoke",
                                       "mercury_debris", "mercury_fireworks"})
                particles->CreateEffect(effect, player.owner->x, player.owner->y);
        jobs.CompleteSpecial("BalloonJob", kBalloonNode);
        Core::Broadcast(PlaySoundMessage("BeautifulExplosion", 1.0f, 0));
        player.showThanks = true;
        MakeBuilding("Mercury_temp", 13213.0f, -2887.0f, 1.0f, 1950, 622);
        MakeBuilding("MercuryHouse_temp", 13557.0f, -2447.0f, 0.7f, 447, 397);
    }
}

} // namespace

void UpdateSpecialJobs(PlayerComponent& player) {
    JobSystem* jobs = JobSystem::Instance();
    if (!jobs || !player.owner)
        return;
    const std::string& job = jobs->currentJob;
    if (job == "GoFast1")
        GoFast(player, *jobs);
    else if (job == "Distance1")
        Distance(player, *jobs);
    else if (job == "KittyJob")
        Kitty(player);
    else if (job == "BalloonJob")
        Balloon(player, *jobs);
}

JobUnlocks UnlocksOf(const std::string& jobName) {
    return {jobName == "Distance1", jobName == "GoFast1"};
}

void OnSpecialJobCompleted(const std::string& jobName) {
    const JobUnlocks unlocks = UnlocksOf(jobName);
    if (PlayerComponent* player = JobWorld::Player()) {
        player->flightUnlocked = player->flightUnlocked || unlocks.flight;
        player->dashUnlocked = player->dashUnlocked || unlocks.dash;
    }
}

} // namespace Flurr
