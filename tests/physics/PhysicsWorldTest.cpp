// The world step: integration, the body list's order, contacts, masks,
// ghosts, resting bodies, stacks and heaps, NaN recovery, removal, and the
// player's floors.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "physics/PhysicsTestSupport.h"

namespace Flurr {
namespace {

using namespace PhysicsTest;

// Each body's index is its place in the list, and no dynamic body stands
// after a static one.
bool DynamicFirst(const PhysicsWorld& world) {
    const std::vector<RigidBody*>& b = world.Bodies();
    for (std::size_t i = 0; i < b.size(); ++i)
        if (b[i]->index != i || (i > 0 && b[i]->density != 0 && b[i - 1]->density == 0))
            return false;
    return true;
}

TEST(PhysicsWorld, FreeFallStaticBodiesSmallSpeedsAndNaNRecovery) {
    PhysicsWorld world;
    RigidBody* falling = world.CreateBody(Vec2(0, 100), 1.0f, Box(1, 1));
    RigidBody* broken = world.CreateBody(Vec2(-50, 0), 1.0f, Box(1, 1));
    broken->force = Vec2(std::numeric_limits<float>::quiet_NaN(), 0);
    broken->torque = std::numeric_limits<float>::quiet_NaN();
    RigidBody* ground = world.CreateBody(Vec2(0, -100), 0.0f, Box(10, 1));
    RigidBody* creeping = world.CreateBody(Vec2(50, 0), 1.0f, Box(1, 1));
    creeping->gravity = 0.0f;
    creeping->velocity = Vec2(0.00005f, 0);
    ground->force = Vec2(1000, 1000);
    ground->torque = 50.0f;
    world.Step(kPhysicsStep);

    EXPECT_FLOAT_EQ(falling->velocity.y, -0.8f); // the physics system test checks its place
    EXPECT_EQ(ground->position, Vec2(0, -100));
    EXPECT_EQ(ground->angle, 0.0f);
    EXPECT_EQ(ground->velocity, Vec2());
    EXPECT_EQ(creeping->position, Vec2(50, 0));
    // Forces last one step.
    EXPECT_EQ(ground->force, Vec2());
    // A NaN is reset within the step it appears in.
    EXPECT_EQ(broken->velocity, Vec2());
    EXPECT_EQ(broken->angularVelocity, 0.0f);
    world.Step(kPhysicsStep);
    EXPECT_FLOAT_EQ(broken->velocity.y, -0.8f); // back to normal falling
}

TEST(PhysicsWorld, MasksAndGhosts) {
    PhysicsWorld world;
    // Two ghosts overlapping, held still: contacts without response.
    RigidBody* a = world.CreateBody(Vec2(0, 0), 1.0f, Box(2, 2));
    RigidBody* b = world.CreateBody(Vec2(1, 0), 1.0f, Box(2, 2));
    a->ghost = b->ghost = true;
    a->gravity = b->gravity = 0.0f;
    // A box whose mask shares a bit with its floor's passes through it.
    RigidBody* sinker = world.CreateBody(Vec2(100, 1), 1.0f, Box(2, 2));
    RigidBody* floor = world.CreateBody(Vec2(100, 0), 0.0f, Box(20, 1));
    sinker->collisionMask = 0x03;
    floor->collisionMask = 0x01;
    // The same with masks that share nothing: it is held.
    RigidBody* held = world.CreateBody(Vec2(200, 1.4f), 1.0f, Box(2, 2));
    RigidBody* floor2 = world.CreateBody(Vec2(200, 0), 0.0f, Box(20, 1));
    held->collisionMask = 0x02;
    floor2->collisionMask = 0x01;

    world.Step(kPhysicsStep);
    EXPECT_TRUE(a->Touched(b));
    EXPECT_TRUE(b->Touched(a));
    EXPECT_EQ(a->position, Vec2(0, 0));
    EXPECT_EQ(b->position, Vec2(1, 0));
    EXPECT_FALSE(sinker->Touched(floor));
    EXPECT_TRUE(held->Touched(floor2));
    Steps(world, 100);
    EXPECT_LT(sinker->position.y, -50.0f);
    EXPECT_GT(held->position.y, 1.0f);
}

// Resting contacts: what must hold is that bodies set down on the ground or
// on each other come to rest where they were put, square and still, and stay
// there; nothing sinks into the ground beyond a hair, let alone through it.

// The angle as a signed turn, so a box turned a hair clockwise reads as a
// small negative number rather than nearly 2 pi.
float Tilt(const RigidBody& b) {
    return b.angle > kPi ? b.angle - 2.0f * kPi : b.angle;
}

// Lowest vertex of a body's outlines, world units.
float Bottom(const RigidBody& b) {
    float lowest = INFINITY;
    for (const CollisionPolygon& polygon : b.shape.worldPolygons)
        for (const Vec2& v : polygon.vertices)
            lowest = std::fmin(lowest, v.y);
    return lowest;
}

TEST(RestingContact, ABoxAndTowersSettleSquareAndStill) {
    // A box dropped from a little height, so it lands with some speed, and
    // towers stacked a hair apart, so each box lands on the one below.
    struct Tower {
        int height;
        float lift, gap; // of the first box above its place, between boxes
        float press;     // how far landing may press a box into the ground
        int settled;     // steps after which it must stand
        float tilt, drift, speed;
    };
    for (const Tower& t : {Tower{1, 2.0f, 0.0f, 1.0f, 100, 1e-4f, 1e-3f, 1e-4f},
                           Tower{3, 0.0f, 0.5f, 0.5f, 200, 0.01f, 0.1f, 1e-3f},
                           Tower{5, 0.0f, 0.5f, 0.5f, 200, 0.01f, 0.1f, 1e-3f}}) {
        SCOPED_TRACE(testing::Message() << "a tower of " << t.height);
        PhysicsWorld world;
        RigidBody* ground = world.CreateBody(Vec2(0, -10), 0.0f, Box(400, 20));
        std::vector<RigidBody*> boxes;
        for (int k = 0; k < t.height; ++k)
            boxes.push_back(world.CreateBody(Vec2(0, 10.0f + t.lift + (20.0f + t.gap) * k), 0.01f,
                                             Box(20, 20)));
        for (int step = 0; step < 1000; ++step) {
            world.Step(kPhysicsStep);
            for (int k = 0; k < t.height; ++k) {
                const RigidBody& box = *boxes[k];
                // Landing presses in a little for a moment; no further.
                ASSERT_GT(Bottom(box), -t.press) << "sank into the ground at step " << step;
                if (step >= t.settled) {
                    // Standing: each box square, over the one below, in its place.
                    ASSERT_NEAR(Tilt(box), 0.0f, t.tilt) << "box " << k << ", step " << step;
                    ASSERT_NEAR(box.position.x, 0.0f, t.drift) << "box " << k << ", step " << step;
                    ASSERT_NEAR(box.position.y, 10.0f + 20.0f * k, 0.1f * (k + 1))
                        << "box " << k << ", step " << step;
                }
            }
            // In contact every step, not dropping onto what is below every
            // other one.
            if (step >= t.settled) {
                ASSERT_EQ(boxes.back()->contacts.size(), 1u) << "step " << step;
            }
        }
        for (const RigidBody* box : boxes) {
            EXPECT_NEAR(box->velocity.x, 0.0f, t.speed);
            EXPECT_NEAR(box->velocity.y, 0.0f, t.speed);
            EXPECT_NEAR(box->angularVelocity, 0.0f, t.speed);
        }
        EXPECT_EQ(ground->position, Vec2(0, -10));
    }
}

TEST(RestingContact, ABoxOnAWiderBoxRestsOnTwoPoints) {
    PhysicsWorld world;
    world.CreateBody(Vec2(0, -10), 0.0f, Box(400, 20));
    RigidBody* wide = world.CreateBody(Vec2(0, 5), 0.01f, Box(60, 10));
    // Off centre, so one corner of the top box would sag if it stood on a
    // single point.
    RigidBody* top = world.CreateBody(Vec2(12, 15.5f), 0.01f, Box(20, 10));
    Steps(world, 600);
    ASSERT_TRUE(top->Touched(wide));
    Contact c;
    NarrowPhase(*wide, 0, *top, 0, c);
    ASSERT_TRUE(c.collided);
    EXPECT_TRUE(c.edgeAgainstEdge);
    EXPECT_NEAR(std::fabs(c.responsePoints[0].x - c.responsePoints[1].x), 20.0f, 0.05f);
    EXPECT_NEAR(Tilt(*top), 0.0f, 1e-3f);
    EXPECT_NEAR(Tilt(*wide), 0.0f, 1e-3f);
    EXPECT_NEAR(top->position.x, 12.0f, 0.05f);
    EXPECT_NEAR(top->position.y, 15.0f, 0.2f);
}

// Resting contacts start each step from the pushes they ended the last one
// with. Bodies made or removed between steps move the others in the body
// list; a stack they never touch must still find its pushes and so move
// exactly as if nothing had happened.
TEST(RestingContact, BodiesMadeAndRemovedElsewhereDoNotDisturbAStack) {
    auto build = [](PhysicsWorld& world) {
        // Far off and weightless: it touches nothing.
        RigidBody* drifter = world.CreateBody(Vec2(-5000, 5000), 0.01f, Box(10, 10));
        drifter->gravity = 0.0f;
        world.CreateBody(Vec2(-300, 0), 0.0f, Box(20, 20)); // a post, far off
        world.CreateBody(Vec2(0, -10), 0.0f, Box(400, 20));
        std::vector<RigidBody*> stack;
        for (int k = 0; k < 5; ++k)
            stack.push_back(world.CreateBody(Vec2(k * 0.5f, 5.0f + 10.0f * k), 0.01f, Box(10, 10)));
        return stack;
    };
    PhysicsWorld plain, disturbed;
    const std::vector<RigidBody*> a = build(plain);
    const std::vector<RigidBody*> b = build(disturbed);
    for (int step = 0; step < 200; ++step) {
        if (step == 60) {
            RigidBody* far = disturbed.CreateBody(Vec2(5000, 5000), 0.01f, Box(10, 10));
            far->gravity = 0.0f;
        }
        if (step == 120)
            disturbed.RemoveBody(disturbed.Bodies()[0]); // the drifter: the stack moves up
        plain.Step(kPhysicsStep);
        disturbed.Step(kPhysicsStep);
        ASSERT_EQ(Digest(a), Digest(b)) << "step " << step;
    }
}

// Boxes dropped into a walled pit pile up many layers deep on a static
// ground thick enough that only a solver fault could push one through.
TEST(RestingContact, AHeapStaysAboveItsGround) {
    PhysicsWorld world;
    world.CreateBody(Vec2(0, -10), 0.0f, Box(200, 20));
    world.CreateBody(Vec2(-90, 150), 0.0f, Box(20, 300));
    world.CreateBody(Vec2(90, 150), 0.0f, Box(20, 300));
    std::vector<RigidBody*> boxes;
    Random next{3, 100};
    for (int k = 0; k < 120; ++k) {
        const float jitter = next() - 0.5f;
        boxes.push_back(
            world.CreateBody(Vec2(-66.0f + (k % 12) * 12.0f + jitter, 10.0f + (k / 12) * 12.0f),
                             0.02f, Box(10, 10)));
    }
    for (int step = 0; step < 600; ++step) {
        world.Step(kPhysicsStep);
        for (const RigidBody* box : boxes) {
            // A hard landing may press a corner in for a moment; a box
            // pushed out of the far side would have its centre at -25.
            ASSERT_GT(box->position.y, -2.5f) << "deep into the ground at step " << step;
            // Landed, the bottom layer rests on the ground, however much of
            // the heap weighs on it: nothing stays sunk in by more than the
            // hair contacts are left overlapping.
            if (step >= 300) {
                ASSERT_GT(Bottom(*box), -0.1f) << "sunk into the ground at step " << step;
            }
        }
    }
    for (const RigidBody* box : boxes) {
        EXPECT_GT(box->position.y, 0.0f);
        EXPECT_GT(box->position.x, -80.0f);
        EXPECT_LT(box->position.x, 80.0f);
    }
}

TEST(PhysicsWorld, RemovedBodiesLeaveNoTraceAndDynamicOnesStayFirst) {
    PhysicsWorld world;
    RigidBody* floor = Floor(world.CreateBody(Vec2(0, 0), 0.0f, Box(100, 2)));
    RigidBody* player = Player(world.CreateBody(Vec2(0, 5.9f), 1.0f, Box(4, 10)));
    RigidBody* crate = world.CreateBody(Vec2(20, 1.9f), 1.0f, Box(2, 2));
    AdvForceArea* bound = world.CreateForceArea(Vec2(), 1.0f, Vec2(1, 0), 0, 0, 0, crate);
    world.CreateForceArea(Vec2(), 1.0f, Vec2(1, 0), 0, 0, 1000.0f, nullptr);
    world.Step(kPhysicsStep);
    ASSERT_TRUE(floor->Touched(crate));
    ASSERT_EQ(world.Floor().player, player);

    world.RemoveBody(crate);
    world.RemoveBody(player);
    EXPECT_FALSE(floor->Touched(crate));
    EXPECT_EQ(bound->boundBody, nullptr);
    EXPECT_EQ(world.Floor().player, nullptr);
    Steps(world, 5); // must not reach the removed bodies (AddressSanitizer)
    EXPECT_EQ(floor->index, 0u);

    // Dynamic bodies stay first in the list through creation and removal.
    PhysicsWorld many;
    std::vector<RigidBody*> made;
    for (int k = 0; k < 12; ++k) {
        made.push_back(many.CreateBody(Vec2(k * 10.0f, 0), (k % 3 == 0) ? 0.0f : 1.0f, Box(1, 1)));
        EXPECT_TRUE(DynamicFirst(many)) << "after creating body " << k;
    }
    for (int k : {0, 5, 7, 1}) {
        many.RemoveBody(made[k]);
        EXPECT_TRUE(DynamicFirst(many)) << "after removing body " << k;
    }
    EXPECT_EQ(many.Bodies().size(), 8u);
    many.RemoveBody(made[0]); // already gone: nothing happens
    EXPECT_EQ(many.Bodies().size(), 8u);
}

// A player box 40 wide standing on floor edge 3 (the top) of a floor body.
struct PlayerScene {
    explicit PlayerScene(float slope) {
        const float rise = 200.0f * std::tan(slope);
        floor = Floor(world.CreateBody(
            Vec2(), 0.0f, Shape({{{-200, -300}, {200, -300}, {200, rise}, {-200, -rise}}})));
        player = Player(world.CreateBody(Vec2(0, 60.0f), 1.0f, Box(40, 100)));
    }
    PhysicsWorld world;
    RigidBody* floor;
    RigidBody* player;
};

// A player box 40 x 100 tilted by `tilt`, its lowest corner 2 units above a
// floor body whose top is not a floor edge, falling onto it.
struct CornerScene {
    explicit CornerScene(float tilt) {
        Floor(world.CreateBody(Vec2(0, -10), 0.0f, Box(400, 20)), {});
        player = Player(world.CreateBody(Vec2(), 1.0f, Box(40, 100)));
        player->angle = tilt;
        corner = Rotate(Vec2(-20, -50), tilt);
        player->position = Vec2(0, 2.0f - corner.y);
        corner += player->position;
    }
    // Steps until the player first touches the floor body; false if never.
    bool StepUntilTouching() {
        for (int k = 0; k < 100; ++k) {
            world.Step(kPhysicsStep);
            if (player->touchingFloor)
                return true;
        }
        return false;
    }
    PhysicsWorld world;
    RigidBody* player;
    Vec2 corner; // the lowest corner, where it starts
};

TEST(PlayerFloor, ACornerOrAWallOfAFloorBodyIsNoFloorEdge) {
    CornerScene scene(0.3f);
    ASSERT_TRUE(scene.StepUntilTouching());
    EXPECT_FALSE(scene.player->onFloor); // not a floor edge
    // The foot edge now lies along the floor's top ...
    EXPECT_NEAR(Tilt(*scene.player), 0.0f, 1e-3f);
    EXPECT_EQ(scene.player->angularVelocity, 0.0f);
    // ... turned about the corner, which stays where it struck: the bottom
    // left of the box, 20 left of and 50 below its middle, is still over the
    // point the corner fell onto and at the floor.
    const Vec2 corner = scene.player->position + Rotate(Vec2(-20, -50), scene.player->angle);
    EXPECT_NEAR(corner.x, scene.corner.x, 0.01f);
    EXPECT_NEAR(corner.y, 0.0f, 0.05f);
    EXPECT_EQ(scene.player->floorSide, 2); // the foot edge's start is the lower end

    // A controller that clears followsFloor gets a plain bounce: the player
    // keeps its tilt at the moment of contact.
    CornerScene tumbling(0.3f);
    tumbling.player->followsFloor = false;
    ASSERT_TRUE(tumbling.StepUntilTouching());
    EXPECT_NEAR(Tilt(*tumbling.player), 0.3f, 0.02f);

    // Tilted by 1.2 radians, the edge at the lowest corner nearer the
    // floor's line is the long side (0.37 off it), not the foot edge (1.2
    // off): the player comes to lie on its side.
    CornerScene steep(1.2f);
    ASSERT_TRUE(steep.StepUntilTouching());
    EXPECT_NEAR(Tilt(*steep.player), kPi / 2, 1e-3f);

    PhysicsWorld world;
    // Floor edge flagged on the top only; the player presses into its side.
    Floor(world.CreateBody(Vec2(), 0.0f, Box(100, 100)));
    RigidBody* player = Player(world.CreateBody(Vec2(-69.0f, 0), 1.0f, Box(40, 40)));
    player->gravity = 0.0f;
    player->velocity = Vec2(5, 0);
    bool touched = false;
    for (int k = 0; k < 30; ++k) {
        world.Step(kPhysicsStep);
        touched = touched || player->touchingFloor;
        ASSERT_FALSE(player->onFloor);
        // Held at the wall rather than passing into it.
        ASSERT_LT(player->position.x + 20.0f, -49.5f) << "step " << k;
        player->velocity.x = 5.0f; // keeps pushing
    }
    EXPECT_TRUE(touched);
}

TEST(PlayerFloor, StandsOnFlatAndSlopedFloorEdgesAndTellsAControllerWhereItIs) {
    PlayerScene scene(0.0f);
    // A platform overhead with a floor edge on top must not count as the
    // floor below the foot.
    Floor(scene.world.CreateBody(Vec2(0, 300), 0.0f, Box(200, 20)));
    scene.player->position.y = 50.0f + 80.0f; // foot 80 above the floor
    scene.world.Step(kPhysicsStep);
    EXPECT_EQ(scene.player->floorDistance, kFloorProbeDistance); // out of reach
    EXPECT_EQ(scene.player->stepsOffFloor, 1u);
    EXPECT_TRUE(scene.player->floorBodies.empty());

    // Falling, the distance shrinks with the foot's height.
    float last = kFloorProbeDistance;
    bool measured = false;
    for (int k = 0; k < 200 && !scene.player->onFloor; ++k) {
        scene.world.Step(kPhysicsStep);
        const float footHeight = scene.player->position.y - 50.0f;
        if (scene.player->onFloor)
            break;
        if (footHeight < kFloorProbeDistance - 1.0f) {
            // A foot a hair into the floor stands on it.
            EXPECT_NEAR(scene.player->floorDistance, std::fmax(footHeight, 0.0f), 1e-3f);
            EXPECT_LE(scene.player->floorDistance, last);
            measured = true;
        }
        last = scene.player->floorDistance;
        EXPECT_GE(scene.player->stepsOffFloor, 2u);
    }
    EXPECT_TRUE(measured);

    // Landed, it stands on the floor edge every step.
    Steps(scene.world, 60);
    for (int k = 0; k < 120; ++k) {
        scene.world.Step(kPhysicsStep);
        ASSERT_TRUE(scene.player->onFloor) << "step " << k;
        EXPECT_EQ(scene.player->floorSide, 1);
        EXPECT_FALSE(scene.player->touchingFloor);
        EXPECT_EQ(scene.player->stepsOffFloor, 0u);
        EXPECT_LT(scene.player->floorDistance, 0.1f);
        ASSERT_EQ(scene.player->floorBodies.size(), 1u);
        EXPECT_EQ(scene.player->floorBodies[0], scene.floor);
    }
    EXPECT_NEAR(scene.player->position.y, 50.0f, 0.05f);
    EXPECT_NEAR(scene.player->position.x, 0.0f, 0.05f);
    EXPECT_NEAR(scene.player->angle, 0.0f, 1e-3f);
    EXPECT_NEAR(scene.player->velocity.y, 0.0f, 1e-3f);

    // The floor goes (a level change): nothing refers to it, and the player
    // counts the steps since it stood.
    scene.world.RemoveBody(scene.floor);
    EXPECT_TRUE(scene.player->floorBodies.empty());
    for (uint32_t k = 1; k <= 3; ++k) {
        scene.world.Step(kPhysicsStep);
        EXPECT_FALSE(scene.player->onFloor);
        EXPECT_EQ(scene.player->stepsOffFloor, k);
        EXPECT_EQ(scene.player->floorDistance, kFloorProbeDistance);
    }

    // On a sloped floor edge it stands square to the slope.
    const float slope = 0.2f; // radians, rising to the right
    PlayerScene sloped(slope);
    int onFloorSteps = 0;
    for (int k = 0; k < 240; ++k) {
        sloped.world.Step(kPhysicsStep);
        if (k >= 180 && sloped.player->onFloor)
            ++onFloorSteps;
    }
    EXPECT_GE(onFloorSteps, 55);
    EXPECT_NEAR(sloped.player->angle, slope, 0.02f);
    // Standing on the slope, not sunk into it: the foot's middle lies on
    // the floor line y = x tan(slope).
    const Vec2 foot = sloped.player->position + Rotate(Vec2(0, -50), sloped.player->angle);
    EXPECT_NEAR(foot.y, foot.x * std::tan(slope), 0.5f);
}

} // namespace
} // namespace Flurr
