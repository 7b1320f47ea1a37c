#pragma once
// Convex collision outlines and the shape a body is built from.
//
// A polygon is closed: edge j runs from vertex j - 1 to vertex j, and edge 0
// from the last vertex to vertex 0. Vertex access wraps once, so callers can
// ask for j + 1 or j + count - 1 without a modulo; anything outside
// [0, 2 * count) is a programming error and throws std::out_of_range.
//
// A shape keeps each outline twice: in body space (shared, read-only, with
// the component that made it) and in world space (owned, allocated once
// when the body is made and rewritten in place every step).

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/Vec2.h"

namespace Flurr {

class CollisionPolygon {
public:
    CollisionPolygon() = default;
    explicit CollisionPolygon(uint32_t count_) : vertices(count_), count(count_) {}
    explicit CollisionPolygon(std::vector<Vec2> points)
        : vertices(std::move(points)), count(static_cast<uint32_t>(vertices.size())) {}

    // Wrapping access, see above.
    const Vec2& Vertex(uint32_t i) const;
    Vec2& Vertex(uint32_t i);

    // Whether the outline is a convex polygon with some area: every vertex
    // lies on one side of every edge. The narrow phase is exact only for
    // such outlines, so the broad phase may skip pairs only between them.
    bool IsProperConvex() const;

    std::vector<Vec2> vertices;
    uint32_t count = 0;
};

struct CollisionShape {
    CollisionShape() = default;
    // A body's copy: it shares the local outlines and gets world outlines
    // of its own, all vertices at (0, 0) until the first transform.
    CollisionShape(const CollisionShape& other);
    CollisionShape& operator=(const CollisionShape& other);

    std::vector<std::shared_ptr<const CollisionPolygon>> localPolygons;
    std::vector<CollisionPolygon> worldPolygons;
    // Where the world outlines were last placed; placing them again at the
    // same position and angle would write the same numbers, so it is
    // skipped. `placements` counts the rewrites.
    Vec2 placedPosition;
    float placedAngle = 0.0f;
    bool placed = false;
    uint32_t placements = 0;
};

} // namespace Flurr
