#pragma once
// Force areas: fans, updrafts and the like. An area pushes the bodies within
// a circle around its centre, or, when bound to a body, the bodies that
// touched that body in the current step. The world owns the areas; a
// PhysicsComponent with the "ForceArea" keys makes one and removes it when
// it is freed.
//
// Membership is decided and the push applied once per world step; the
// member list lives only within that step.

#include <vector>

#include "engine/Vec2.h"

namespace Flurr {

struct RigidBody;

class ForceArea {
public:
    virtual ~ForceArea() = default;
    // Adds this step's push to every member: straight away from the centre.
    virtual void Apply(float dt);
    // Whether `body` belongs to the area this step (the world asks after
    // moving the body).
    bool Catches(const RigidBody& body) const;

    Vec2 center;
    float force = 0.0f;
    float radius = 0.0f;
    RigidBody* boundBody = nullptr; // not owned; cleared before it goes
    std::vector<RigidBody*> members;
};

class AdvForceArea : public ForceArea {
public:
    // Pushes along `direction` (or away from the centre when it is zero),
    // with a strength that tapers with distance, and a torque from how the
    // body spreads across the push.
    void Apply(float dt) override;

    Vec2 direction;
    float taper = 0.0f;
    float quadTaper = 0.0f;
    bool enabled = true;
};

// The radius an area works with: `aoe` when set, else where the taper
// makes the push vanish. Without a quadratic taper there is no such point
// and the radius is 0 (only a bound area then does anything).
float ForceAreaRadius(float aoe, float taper, float quadTaper);

} // namespace Flurr
