#pragma once
// The raven that guides: it flies beside the player and leans towards
// where the current job wants the player to go. With a guide target it
// sits on the line from the player to the target, at most `reach` away
// from the player, facing the target (the sprite, drawn facing right, is
// flipped when the target lies to the left) and playing "RavenPoint".
// Without a target (no job running, or no job system) it idles above and
// right of the player, unflipped, playing "Raven". Without a player it
// stays where it is.
//
// Driven by the LogicSystem in "GameSpace"; it has no keys and owns
// nothing but the placement of its own object.

#include "gameplay/LogicComponent.h"

namespace Flurr {

struct RavenName {
    static constexpr const char* value = "Raven";
};

class Raven : public LogicComponent<Raven, RavenName> {
public:
    // Where the raven waits without a target, from the player, world units.
    static constexpr float kIdleOffset = 100.0f;
    static constexpr const char* kIdleAnimation = "Raven";
    static constexpr const char* kPointAnimation = "RavenPoint";
    // As strong as the animation a level gives its sprite, so the pose
    // takes over from it.
    static constexpr float kAnimationPriority = 2.0f;

    void Update(float dt) override;
    void Serialize(ASerializer& serializer) override;

    // The furthest it strays from the player towards a target, world units.
    float reach = 100.0f;
};

} // namespace Flurr
