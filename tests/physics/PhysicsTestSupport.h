#pragma once
// Shapes and scenes shared by the physics tests and the determinism test.

#include <memory>
#include <vector>

#include "physics/PhysicsWorld.h"

namespace PhysicsTest {

using Flurr::CollisionPolygon;
using Flurr::CollisionShape;
using Flurr::Vec2;

// Counter-clockwise rectangle from (x0, y0) to (x1, y1), body space.
inline std::vector<Vec2> Rect(float x0, float y0, float x1, float y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

inline CollisionShape Shape(const std::vector<std::vector<Vec2>>& outlines) {
    CollisionShape shape;
    for (const auto& outline : outlines)
        shape.localPolygons.push_back(std::make_shared<const CollisionPolygon>(outline));
    shape.worldPolygons.reserve(outlines.size());
    for (const auto& outline : outlines)
        shape.worldPolygons.emplace_back(static_cast<uint32_t>(outline.size()));
    return shape;
}

// A box of the given size centred on the body's origin.
inline CollisionShape Box(float width, float height) {
    return Shape({Rect(-width / 2, -height / 2, width / 2, height / 2)});
}

// A world polygon placed with the body at `position`, for the geometry tests.
inline CollisionPolygon Placed(const std::vector<Vec2>& outline, Vec2 position) {
    CollisionPolygon p(outline);
    for (Vec2& v : p.vertices)
        v += position;
    return p;
}

} // namespace PhysicsTest
