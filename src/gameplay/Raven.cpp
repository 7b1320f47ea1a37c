#include "gameplay/Raven.h"

#include "engine/GameObject.h"
#include "graphics/GraphicsComponent.h"
#include "jobs/JobSystem.h"
#include "serialization/Serializer.h"

namespace Flurr {

void Raven::Update(float) {
    Vec2 player;
    if (!owner || !PlayerPosition(player))
        return;
    GraphicsComponent* sprite = owner->Get<GraphicsComponent>();
    const JobSystem* jobs = JobSystem::Instance();
    if (!jobs || jobs->guideTargets.empty()) {
        owner->x = player.x + kIdleOffset;
        owner->y = player.y + kIdleOffset;
        if (sprite) {
            sprite->flipX = false;
            sprite->SetAnimation(kIdleAnimation, kAnimationPriority, AnimationFlag::Loop);
        }
        return;
    }
    Vec2 d = jobs->GuideTargetPosition(player) - player;
    // Only a non-negative reach makes sense: a negative one would throw the
    // raven behind the player.
    const float limit = reach > 0.0f ? reach : 0.0f;
    const float length = d.Length();
    if (length > limit)
        d = d * (limit / length);
    // A target at a position that is not a number leaves the raven beside
    // the player rather than nowhere.
    if (!(d.x == d.x) || !(d.y == d.y))
        d = Vec2();
    owner->x = player.x + d.x;
    owner->y = player.y + d.y;
    if (sprite) {
        sprite->flipX = d.x < 0.0f;
        sprite->SetAnimation(kPointAnimation, kAnimationPriority, AnimationFlag::Loop);
    }
}

void Raven::Serialize(ASerializer& s) {
    s.Begin("Raven");
    s.End("Raven");
}

} // namespace Flurr
