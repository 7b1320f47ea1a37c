// The broad phase only skips pairs that cannot touch: the same scene run
// with and without it must agree bit for bit, every body, every step.

#include <gtest/gtest.h>

#include <cmath>

#include "physics/PhysicsTestSupport.h"

namespace Flurr {
namespace {

using namespace PhysicsTest;

// A busy scene: a heap of boxes and wedges falling into a walled pit, a
// sloped floor with a player, a fan, a bound pad, an outline that is not
// convex, a line, an empty outline and a static body with its own gravity.
void BuildScene(PhysicsWorld& world) {
    world.CreateBody(Vec2(0, -10), 0.0f, Box(800, 20));
    world.CreateBody(Vec2(-400, 200), 0.0f, Box(20, 400));
    world.CreateBody(Vec2(400, 200), 0.0f, Box(20, 400));
    Floor(world.CreateBody(Vec2(600, 0), 0.0f,
                           Shape({{{-150, -50}, {150, -50}, {150, 30}, {-150, -30}}})));
    Player(world.CreateBody(Vec2(620, 90), 1.0f, Box(40, 100)));
    Random next{12345, 1000};
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

// A sparse level: static platforms of very different sizes far apart, one
// floor too wide for any grid cell, bodies falling fast enough to sweep
// across many cells (some across more than a body may fill), bodies far
// from the origin, and a player landing on platforms. Returns what the
// test changes between steps: a platform to move and one to remove.
std::pair<RigidBody*, RigidBody*> BuildSparseScene(PhysicsWorld& world) {
    Random next{777, 10000};
    world.CreateBody(Vec2(0, -3000), 0.0f, Box(100000, 50));
    std::vector<RigidBody*> platforms;
    for (int k = 0; k < 150; ++k) {
        const float w = k % 10 == 0 ? 1.0f : 10.0f + 400.0f * next() * next();
        RigidBody* p = world.CreateBody(
            Vec2(-20000.0f + 40000.0f * next(), -2000.0f + 4000.0f * next()), 0.0f,
            k % 3 == 0 ? Shape({{{-w / 2, -5}, {w / 2, -5}, {0, 12}}}) : Box(w, 10));
        p->isFloor = p->isFloorForPlayer = k % 4 == 0;
        p->floorEdges = {{k % 3 == 0 ? 1u : 3u, 0}};
        platforms.push_back(p);
    }
    Player(world.CreateBody(platforms[4]->position + Vec2(0, 80), 1.0f, Box(20, 50)));
    for (int k = 0; k < 50; ++k) {
        // Dropped over a platform, so most land somewhere.
        const RigidBody* over = platforms[static_cast<std::size_t>(k) * 3 % platforms.size()];
        Vec2 at = over->position + Vec2(40 * next() - 20, 30 + 300 * next());
        if (k % 10 == 9)
            at = Vec2(1e6f * (next() - 0.5f), 1e6f * next()); // far out
        RigidBody* b = world.CreateBody(at, 0.1f, Box(4 + 20 * next(), 4 + 20 * next()));
        b->angle = 3 * next();
        if (k % 7 == 0)
            b->velocity = Vec2(0, -3000.0f * next()); // sweeps across many cells
        if (k % 11 == 0)
            b->velocity = Vec2(5000.0f, -5000.0f); // sweeps more cells than a body may fill
    }
    return {platforms[10], platforms[20]};
}

// Both scenes in one world: the busy pit sits in the middle of the sparse
// level.
TEST(BroadPhase, SameResultsBitForBitAsTestingEveryPairInABusyPitAndASparseLevelThatChanges) {
    PhysicsWorld every, culled;
    every.useBroadPhase = false;
    culled.useBroadPhase = true;
    BuildScene(every);
    BuildScene(culled);
    const auto [movedE, removedE] = BuildSparseScene(every);
    const auto [movedC, removedC] = BuildSparseScene(culled);
    ASSERT_EQ(Digest(every.Bodies()), Digest(culled.Bodies()));
    bool stood = false;
    for (int step = 0; step < 300; ++step) {
        // The static bodies' grid is kept between steps: it must notice a
        // static body moved (here into the path of a body falling far out
        // in the open), one removed and one made.
        if (step == 60) {
            for (auto [world, moved] : {std::pair{&every, movedE}, std::pair{&culled, movedC}}) {
                const RigidBody* farthest = world->Bodies()[0];
                for (const RigidBody* b : world->Bodies())
                    if (std::fabs(b->position.x) > std::fabs(farthest->position.x))
                        farthest = b;
                moved->position = farthest->position + Vec2(0, -60);
            }
        }
        if (step == 100) {
            every.RemoveBody(removedE);
            culled.RemoveBody(removedC);
        }
        if (step == 140) {
            for (PhysicsWorld* w : {&every, &culled})
                w->CreateBody(Vec2(0, 1500), 0.0f, Box(300, 10));
        }
        every.Step(kPhysicsStep);
        culled.Step(kPhysicsStep);
        ASSERT_EQ(Digest(every.Bodies()), Digest(culled.Bodies()))
            << "first difference at step " << step;
        for (const RigidBody* b : culled.Bodies())
            stood = stood || b->onFloor;
    }
    // The scene did something: bodies touched and the player stood.
    std::size_t contacts = 0;
    for (const RigidBody* b : culled.Bodies())
        contacts += b->contacts.size();
    EXPECT_GT(contacts, 50u);
    EXPECT_TRUE(stood);
}

} // namespace
} // namespace Flurr
