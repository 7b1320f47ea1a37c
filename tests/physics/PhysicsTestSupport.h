#pragma once
// Shapes and body roles shared by the physics tests.

#include <bit>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "physics/PhysicsWorld.h"

namespace Flurr::PhysicsTest {

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

// A fixed sequence of numbers in [0, 1) in steps of 1 / `steps`, the same
// on every platform.
struct Random {
    uint32_t seed;
    uint32_t steps;
    float operator()() {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>((seed >> 8) % steps) / static_cast<float>(steps);
    }
};

inline void Steps(PhysicsWorld& world, int count) {
    for (int k = 0; k < count; ++k)
        world.Step(kPhysicsStep);
}

// Makes `body` a floor the player can stand on along `edges` (edge,
// outline); edge 3 of a box is its top.
inline RigidBody* Floor(RigidBody* body,
                        std::vector<std::pair<uint32_t, uint32_t>> edges = {{3, 0}}) {
    body->isFloor = body->isFloorForPlayer = true;
    body->floorEdges = std::move(edges);
    return body;
}

// Makes `body` the player, its foot edge vertex 0 to vertex 1: a box's bottom.
inline RigidBody* Player(RigidBody* body) {
    body->isPlayer = true;
    body->footEdge = 1;
    return body;
}

// Every body's motion bit for bit, with how many bodies it touches and
// whether it stands on a floor.
inline std::vector<uint32_t> Digest(const std::vector<RigidBody*>& bodies) {
    std::vector<uint32_t> out;
    for (const RigidBody* b : bodies) {
        for (float f : {b->position.x, b->position.y, b->angle, b->velocity.x, b->velocity.y,
                        b->angularVelocity})
            out.push_back(std::bit_cast<uint32_t>(f));
        out.push_back(static_cast<uint32_t>(b->contacts.size()));
        out.push_back(b->onFloor);
    }
    return out;
}

} // namespace Flurr::PhysicsTest
