// Force areas: which bodies each kind pushes, and how.

#include <gtest/gtest.h>

#include <cmath>

#include "physics/PhysicsTestSupport.h"

namespace Flurr {
namespace {

using namespace PhysicsTest;

// A weightless body, so only the area moves it.
RigidBody* Floating(PhysicsWorld& world, Vec2 at, float size = 2.0f) {
    RigidBody* b = world.CreateBody(at, 1.0f, Box(size, size));
    b->gravity = 0.0f;
    return b;
}

TEST(ForceArea, RadialAndDirectedAreasPushBodiesWithAVertexInsideOncePerOutline) {
    PhysicsWorld world;
    // Forces are scaled by 1000: these are gentle pushes.
    world.CreateForceArea(Vec2(0, 0), 0.002f, Vec2(), 0, 0, 10.0f, nullptr);
    RigidBody* inside = Floating(world, Vec2(5, 0));
    // Centre outside, no vertex inside: nothing.
    RigidBody* outside = Floating(world, Vec2(11.5f, 0));
    // Centre inside but every vertex outside (a large body around a small
    // radius) gets nothing either.
    PhysicsWorld world2;
    world2.CreateForceArea(Vec2(0, 0), 0.002f, Vec2(), 0, 0, 1.0f, nullptr);
    RigidBody* around = Floating(world2, Vec2(0.5f, 0), 10.0f);

    Steps(world, 2);
    Steps(world2, 2);
    EXPECT_GT(inside->velocity.x, 0.0f); // straight away from the centre
    EXPECT_NEAR(inside->velocity.y, 0.0f, 1e-6f);
    EXPECT_EQ(outside->velocity, Vec2());
    EXPECT_EQ(around->velocity, Vec2());

    // A directed area pushes along its direction wherever the body is.
    PhysicsWorld world3;
    world3.CreateForceArea(Vec2(0, 0), 0.002f, Vec2(0, 1), 0, 0, 10.0f, nullptr);
    RigidBody* lifted = Floating(world3, Vec2(-4, 0));
    Steps(world3, 2);
    EXPECT_GT(lifted->velocity.y, 0.0f);
    EXPECT_EQ(lifted->velocity.x, 0.0f);

    // A body with two outlines gets the push twice.
    PhysicsWorld world4;
    world4.CreateForceArea(Vec2(0, 0), 0.002f, Vec2(0, 1), 0, 0, 10.0f, nullptr);
    RigidBody* doubled = Floating(world4, Vec2(-4, 0));
    doubled->shape = Shape({Rect(-1, -1, 1, 1), Rect(-1, -1, 1, 1)});
    Steps(world4, 2); // the same mass as `lifted`, so the force alone tells
    EXPECT_FLOAT_EQ(doubled->velocity.y, 2.0f * lifted->velocity.y);
}

TEST(ForceArea, BoundAndTaperedAreasAndDegenerateDistances) {
    PhysicsWorld world;
    RigidBody* pad = world.CreateBody(Vec2(0, 0), 0.0f, Box(100, 2));
    AdvForceArea* area = world.CreateForceArea(Vec2(), 5.0f, Vec2(0, 1), 0, 0, 0, pad);
    RigidBody* onPad = world.CreateBody(Vec2(40, 1.5f), 1.0f, Box(2, 2));
    RigidBody* farAway = Floating(world, Vec2(1000, 0));
    RigidBody* nearby = Floating(world, Vec2(0, 10)); // near, but not touching
    world.Step(kPhysicsStep);
    ASSERT_TRUE(onPad->Touched(pad));
    world.Step(kPhysicsStep);
    EXPECT_GT(onPad->velocity.y, 0.0f);
    EXPECT_EQ(farAway->velocity, Vec2());
    EXPECT_EQ(nearby->velocity, Vec2());
    EXPECT_EQ(pad->velocity, Vec2());
    EXPECT_EQ(area->center, pad->position);
    EXPECT_TRUE(area->members.empty()); // only within a step

    // Tapered radii, and distances that would divide by nothing.
    EXPECT_FLOAT_EQ(ForceAreaRadius(0, -2, 1), 2.0f);
    EXPECT_EQ(ForceAreaRadius(0, 3, 1), 0.0f);
    EXPECT_EQ(ForceAreaRadius(0, -2, 0), 0.0f); // not infinite
    EXPECT_EQ(ForceAreaRadius(0, 0, 0), 0.0f);  // not NaN
    EXPECT_EQ(ForceAreaRadius(5000, 0, 0), 5000.0f);

    // A tapered area weakens with distance.
    PhysicsWorld tapered;
    tapered.CreateForceArea(Vec2(), 0.0f, Vec2(1, 0), -2, 1, 0, nullptr);
    RigidBody* body = Floating(tapered, Vec2(1, 0), 0.5f);
    Steps(tapered, 2);
    EXPECT_TRUE(std::isfinite(body->velocity.x));
    EXPECT_NE(body->velocity.x, 0.0f);

    // A polygon touching the centre has no near/far ratio: it gets nothing
    // (not an infinite push that the NaN reset would then throw away).
    PhysicsWorld world2;
    world2.CreateForceArea(Vec2(), 3.0f, Vec2(1, 0), 0, 0, 10.0f, nullptr);
    RigidBody* touching = Floating(world2, Vec2(1, 1));
    Steps(world2, 2);
    EXPECT_EQ(touching->velocity, Vec2());
    EXPECT_EQ(touching->angularVelocity, 0.0f);
}

} // namespace
} // namespace Flurr
