#pragma once
// The rigid-body world: bodies, force areas and the fixed-step world step.
// The Physics system owns one and steps it; tests and the benchmark may
// make their own.
//
// Step order: per body (index, clear contacts, place outlines, integrate
// velocity); the collision pass; per body (integrate position, reset NaN
// velocities, clear forces, force-area membership); apply force areas.
// Within the collision pass the pairs are tested in list order; the
// player's floor contacts are answered as they are found, every other
// contact is gathered and resolved together by the ContactSolver once all
// pairs are tested, before the player's floor accumulator is applied.
//
// Invariants: every body of nonzero density stands before every body of
// density 0 in `Bodies()`, so the pair loop can stop at the first static
// body; each body's `index` is its place in that list; no list the world
// keeps (bodies' contacts, area members and bound bodies, the player's
// floor accumulator) refers to a removed body.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/Vec2.h"
#include "physics/BroadPhase.h"
#include "physics/Collision.h"
#include "physics/ContactSolver.h"
#include "physics/ForceArea.h"
#include "physics/RigidBody.h"

namespace Flurr {

// The physics step, seconds, whatever the frame time.
inline constexpr float kPhysicsStep = 0.016f;
// Forces and torques are scaled by this before dividing by the mass.
inline constexpr float kForceScale = 1000.0f;
inline constexpr float kDefaultGravity = -50.0f;
inline constexpr float kDefaultFriction = 0.7f;

// What the player's floor contacts of one pass add up to.
struct FloorAccumulator {
    RigidBody* player = nullptr; // not owned; cleared when it goes
    Vec2 translation;
    Vec2 normal;
    Vec2 firstPoint;
    Vec2 secondPoint;
    Vec2 floorPosition;
    float angle = 0.0f;
    uint32_t count = 0; // contacts that turned the player
    // Turns from a corner of the player dug into a floor edge, and whether
    // the foot lay along a floor edge under its middle: in a valley between
    // two floors those turns wait until the foot's middle has passed onto
    // the new floor, or the player would flip between the two every step.
    float digAngle = 0.0f;
    uint32_t digCount = 0;
    bool footLaid = false;
    uint32_t contacts = 0;
    bool marked = false;
};

class PhysicsWorld {
public:
    PhysicsWorld() = default;
    ~PhysicsWorld();
    PhysicsWorld(const PhysicsWorld&) = delete;
    PhysicsWorld& operator=(const PhysicsWorld&) = delete;

    // A new body with its own copy of the shape: gravity -50 when dynamic,
    // friction 0.7, restitution 0, everything else at rest.
    RigidBody* CreateBody(Vec2 position, float density, const CollisionShape& shape);
    // Deletes the body after taking it out of every list that names it.
    void RemoveBody(RigidBody* body);
    AdvForceArea* CreateForceArea(Vec2 center, float force, Vec2 direction, float taper,
                                  float quadTaper, float radius, RigidBody* boundBody);
    void RemoveForceArea(ForceArea* area);
    // Deletes every body and area.
    void Clear();

    void Step(float dt);
    // Every outline in black, the player's foot edge in red, then the
    // queued lines, through `debugLine`.
    void DrawDebug();
    void QueueDebugLine(Vec2 from, Vec2 to, float r, float g, float b);

    const std::vector<RigidBody*>& Bodies() const { return bodies; }
    const std::vector<std::unique_ptr<ForceArea>>& ForceAreas() const { return forceAreas; }
    const FloorAccumulator& Floor() const { return floor; }

    // x1, y1, x2, y2, red, green, blue (0-255).
    std::function<void(float, float, float, float, float, float, float)> debugLine;
    // Off: every pair goes to the narrow phase. Results are the same.
    bool useBroadPhase = true;

private:
    struct DebugLine {
        Vec2 from, to;
        float r, g, b;
    };

    void CollisionPass();
    void TestPair(uint32_t i, uint32_t j);
    void HandleContact(Contact& contact);
    // True when the contact lies on one of the floor's floor edges.
    bool FloorContactCheck(const Contact& contact, RigidBody& floorBody, RigidBody& player);
    void FloorResponse(const Contact& contact, RigidBody& player);
    // Lays the edge at the player's touching corner along the floor's line
    // (across `normal`, which points from the floor to the player) by turning
    // the player about that corner. False when it does not turn.
    bool TurnAboutCorner(const Contact& contact, RigidBody& player, Vec2 normal);
    // Steps off the floor and distance to the floor below, after the step.
    void UpdateFloorState(RigidBody& player);
    void ApplyFloorAccumulator();
    void ResetFloorAccumulator();
    void RewriteIndices();

    std::vector<RigidBody*> bodies; // owned
    std::vector<std::unique_ptr<ForceArea>> forceAreas;
    std::vector<DebugLine> debugLines;
    FloorAccumulator floor;
    BroadPhase broadPhase;
    std::vector<uint32_t> candidates;
    std::vector<RigidBody*> players; // within a step
    ContactSolver solver;
};

// The impulse that separates two bodies at a contact: positional correction
// by `translation` shared by inverse mass, then restitution `e` and Coulomb
// friction `mu` at each of the two points along unit normal `n` (from B
// towards A).
void ImpulseResponse(RigidBody& a, RigidBody& b, Vec2 translation, Vec2 n, const Vec2 points[2],
                     float e, float mu);

} // namespace Flurr
