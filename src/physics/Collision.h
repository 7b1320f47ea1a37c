#pragma once
// Geometry under the physics world: mass properties of a shape, placing a
// shape in the world, projections and support points of an outline, the
// separating-axis test of two outlines of which one moves, and the narrow
// phase that turns that test into a contact with up to two points.
//
// The swept test covers a displacement equal to the relative velocity
// itself (not velocity * dt); gameplay is tuned to that reach.
//
// Degenerate outlines are tolerated everywhere: an outline with no vertices
// takes part in nothing, and an edge of zero length gives no test axis, so
// no NaN can come out of here for finite input.

#include <cstdint>

#include "engine/Vec2.h"
#include "physics/CollisionPolygon.h"

namespace Flurr {

struct RigidBody;

// Scale of positions against velocities (a step moves a body by
// velocity * dt * 10); it is also the numerator of inverse mass and inertia.
inline constexpr float kPositionScale = 10.0f;
inline constexpr float kPi = 3.1415927f;

struct MassProperties {
    float inverseMass = 0.0f;
    float inverseInertia = 0.0f;
};

// Density 0 makes a static body. A shape without area (no outline, or only
// points and lines) weighs as one unit of area and does not turn, so it
// still falls and can be pushed instead of going NaN.
MassProperties ComputeMassProperties(const CollisionShape& shape, float density);

// Brings `angle` to at most 2 pi the way bodies keep it (a non-finite angle
// becomes 0), then rewrites every world outline from its local one.
void TransformShape(CollisionShape& shape, Vec2 position, float& angle);

struct Projection {
    float min = 0.0f;
    float max = 0.0f;
};
// Dot products of the vertices with `axis`; {0, 0} for an empty outline.
Projection Project(const CollisionPolygon& polygon, Vec2 axis);

struct SupportPoints {
    Vec2 points[2];
    uint32_t count = 0;
};
// The vertices (moved by `offset`) that lie furthest against `direction`:
// the lowest projection and, in vertex order, every vertex within 0.1 of
// it, at most two.
SupportPoints FindSupportPoints(const CollisionPolygon& polygon, Vec2 direction,
                                Vec2 offset = Vec2());

struct SatResult {
    bool intersecting = true;
    float minOverlap = -1.0f; // squared length of `translation`; < 0: none yet
    Vec2 translation;         // moves A out of B
    // The axis of `translation`, pointing the way it moves A; it still has
    // a direction when the overlap is 0 and the translation has none.
    Vec2 escapeAxis;
    bool willIntersect = true;
    Vec2 entryNormal;
    Vec2 exitNormal;
    float entryTime = 1.0f; // while exitTime < entryTime no window is recorded
    float exitTime = 0.0f;
};

// A moving with `velocity` against B. Axes: the edges of A, then those of
// B, each from edge 0 (last vertex to vertex 0). The test stops with
// everything zero on the first axis where both the overlap test and the
// sweep find the outlines apart.
SatResult SeparatingAxisTest(const CollisionPolygon& a, const CollisionPolygon& b, Vec2 velocity);

// The closest point to q on the segment p0 -> p1 (p0 itself when the
// segment has no length).
Vec2 ClosestPointOnSegment(Vec2 p0, Vec2 p1, Vec2 q);

struct Contact {
    RigidBody* bodyA = nullptr;
    RigidBody* bodyB = nullptr;
    uint32_t polygonA = 0; // the outlines under test
    uint32_t polygonB = 0;
    SatResult sat;
    bool collided = false;
    Vec2 normal; // unit, from B towards where A escapes
    float time = 0.0f;
    // Positional correction; zero for a contact still ahead or only
    // touching.
    Vec2 translation;
    SupportPoints supportA;
    SupportPoints supportB;
    // The paired points on each side.
    Vec2 pointsA[2];
    Vec2 pointsB[2];
    uint32_t countA = 0;
    uint32_t countB = 0;
    bool edgeAgainstEdge = false;
    bool singleVertexA = false;
    bool invalid = false;
    // Where the impulse acts (the same point twice for a corner contact).
    Vec2 responsePoints[2];
};

// Tests outline `polygonA` of A against `polygonB` of B (world outlines).
// Nothing but `contact` is written.
void NarrowPhase(RigidBody& a, uint32_t polygonA, RigidBody& b, uint32_t polygonB,
                 Contact& contact);

} // namespace Flurr
