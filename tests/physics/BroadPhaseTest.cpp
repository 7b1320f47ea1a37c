// The broad phase only skips pairs that cannot touch: the same scene run
// with and without it must agree bit for bit, every body, every step.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "physics/PhysicsTestSupport.h"
#include "physics/PhysicsWorld.h"

namespace Flurr {
namespace {

using PhysicsTest::Box;
using PhysicsTest::Rect;
using PhysicsTest::Shape;

// A busy scene: a heap of boxes and wedges falling into a walled pit, a
// sloped floor with a player, a fan, a bound pad, an outline that is not
// convex, a line, an empty outline and a static body with its own gravity.
void BuildScene(PhysicsWorld& world) {
    world.CreateBody(Vec2(0, -10), 0.0f, Box(800, 20));
    world.CreateBody(Vec2(-400, 200), 0.0f, Box(20, 400));
    world.CreateBody(Vec2(400, 200), 0.0f, Box(20, 400));
    RigidBody* slope = world.CreateBody(Vec2(600, 0), 0.0f,
                                        Shape({{{-150, -50}, {150, -50}, {150, 30}, {-150, -30}}}));
    slope->isFloor = slope->isFloorForPlayer = true;
    slope->floorEdges = {{3, 0}};
    RigidBody* player = world.CreateBody(Vec2(620, 90), 1.0f, Box(40, 100));
    player->isPlayer = true;
    player->footEdge = 1;
    uint32_t seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>((seed >> 8) % 1000) / 1000.0f;
    };
    for (int k = 0; k < 120; ++k) {
        const Vec2 at(-350.0f + 700.0f * next(), 40.0f + 600.0f * next());
        RigidBody* b =
            k % 4 == 3
                ? world.CreateBody(at, 0.5f, Shape({{{-12, -8}, {12, -8}, {0, 14}}}))
                : world.CreateBody(at, 0.2f + next(), Box(10 + 20 * next(), 10 + 20 * next()));
        b->angle = next() * 3.0f;
        b->velocity = Vec2(next() * 20 - 10, next() * 20 - 10);
        b->restitution = next() * 0.3f;
        if (k % 17 == 0)
            b->collisionMask = 1;
        if (k % 29 == 0)
            b->ghost = true;
    }
    world.CreateBody(Vec2(-100, 300), 1.0f, Shape({{{0, 0}, {20, 0}, {10, 5}, {20, 20}, {0, 20}}}));
    world.CreateBody(Vec2(100, 300), 1.0f, Shape({{{0, 0}, {30, 10}}}));
    world.CreateBody(Vec2(150, 300), 1.0f, Shape({{}}));
    RigidBody* sinking = world.CreateBody(Vec2(0, 500), 0.0f, Box(30, 30));
    sinking->gravity = -5.0f;
    world.CreateForceArea(Vec2(-200, 50), 0.001f, Vec2(0, 1), 0, 0, 120.0f, nullptr);
    world.CreateForceArea(Vec2(200, 50), 0.002f, Vec2(), -2, 0.05f, 0, nullptr);
    RigidBody* pad = world.CreateBody(Vec2(0, 5), 0.0f, Box(100, 10));
    world.CreateForceArea(Vec2(), 0.0005f, Vec2(0, 1), 0, 0, 0, pad);
}

std::vector<uint32_t> Digest(const PhysicsWorld& world) {
    std::vector<uint32_t> out;
    auto put = [&out](float f) {
        uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        out.push_back(bits);
    };
    for (const RigidBody* b : world.Bodies()) {
        put(b->position.x);
        put(b->position.y);
        put(b->angle);
        put(b->velocity.x);
        put(b->velocity.y);
        put(b->angularVelocity);
        out.push_back(static_cast<uint32_t>(b->contacts.size()));
        out.push_back(b->onFloor);
    }
    return out;
}

TEST(BroadPhase, SameResultsBitForBitAsTestingEveryPair) {
    PhysicsWorld every, culled;
    every.useBroadPhase = false;
    culled.useBroadPhase = true;
    BuildScene(every);
    BuildScene(culled);
    ASSERT_EQ(Digest(every), Digest(culled));
    for (int step = 0; step < 300; ++step) {
        every.Step(kPhysicsStep);
        culled.Step(kPhysicsStep);
        ASSERT_EQ(Digest(every), Digest(culled)) << "first difference at step " << step;
    }
    // The scene did something: bodies touched and the player stood.
    std::size_t contacts = 0;
    for (const RigidBody* b : culled.Bodies())
        contacts += b->contacts.size();
    EXPECT_GT(contacts, 50u);
}

} // namespace
} // namespace Flurr
