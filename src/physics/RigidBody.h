#pragma once
// A rigid body of the physics world: convex outlines with linear and
// angular motion. The world owns every body; components keep a pointer
// that the world never outlives.
//
// Units: position in world units; velocity in world units per second / 10
// (a step moves a body by velocity * dt * 10); forces are scaled by 1000
// before dividing by the mass; y points up.

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/Vec2.h"
#include "physics/CollisionPolygon.h"

namespace Flurr {

// How far below the player's foot floors are looked for, world units.
inline constexpr float kFloorProbeDistance = 50.0f;

struct RigidBody {
    Vec2 position;
    float density = 0.0f; // 0: static, infinite mass
    CollisionShape shape;
    float angle = 0.0f; // radians, kept at or below 2 pi
    float restitution = 0.0f;
    float friction = 0.7f;
    float gravity = 0.0f; // vertical acceleration, negative pulls down
    Vec2 force;           // gathered during a step, cleared after it
    float torque = 0.0f;
    Vec2 velocity;
    Vec2 acceleration; // as last computed
    float angularVelocity = 0.0f;
    float angularAcceleration = 0.0f;
    float inverseMass = 0.0f;
    float inverseInertia = 0.0f;
    // Position in the world's body list; rewritten whenever the list changes.
    uint32_t index = 0;
    // The bodies touched in the current step. Kept as pointers rather than
    // list positions, so a body created or removed between steps cannot make
    // one stand for another; the world takes a removed body out of every
    // list before deleting it.
    std::vector<RigidBody*> contacts;
    // Two bodies whose masks share a bit never collide.
    uint8_t collisionMask = 0;
    // Contacts are recorded but never resolved.
    bool ghost = false;

    // Floor handling, used when isPlayer is set. The player's foot edge runs
    // from vertex footEdge - 1 to vertex footEdge of its first outline.
    bool isPlayer = false;
    uint32_t footEdge = 0;
    // Set by each step: the foot rests on a floor edge (onFloor, floorSide
    // 1), or the body touches a floor body elsewhere (touchingFloor,
    // floorSide 2 or 3 by the lower end of the foot edge).
    bool onFloor = false;
    bool touchingFloor = false;
    int32_t floorSide = 0;
    bool isFloor = false;
    // (edge index, outline index) of the edges the player can stand on.
    std::vector<std::pair<uint32_t, uint32_t>> floorEdges;
    bool isFloorForPlayer = false;

    // What a player controller reads besides the flags above, rewritten by
    // each step:
    // Steps since the foot last rested on a floor edge, 0 while it does
    // (a jump pressed just after running off a ledge can still count).
    uint32_t stepsOffFloor = 0;
    // How far below the middle of the foot edge the nearest floor edge
    // lies, straight down, world units; kFloorProbeDistance when none is
    // that close (landing animations, snapping down a step).
    float floorDistance = kFloorProbeDistance;
    // The floor bodies whose floor edges the foot rests on in this step
    // (a moving platform carries the player). The world takes a removed
    // body out of it.
    std::vector<RigidBody*> floorBodies;
    // While set, floors turn the player to lie along them: its foot follows
    // a floor edge's slope, and a corner that strikes a floor body turns the
    // player about that corner. A controller clears it for a spin or a
    // tumble.
    bool followsFloor = true;
    // How many force areas caught the body in the last step (an updraft
    // carrying the player).
    uint32_t forceAreasIn = 0;

    bool Touched(const RigidBody* other) const {
        for (const RigidBody* c : contacts)
            if (c == other)
                return true;
        return false;
    }
};

} // namespace Flurr
