// Vectors, outlines, mass properties, the swept separating-axis test and
// the narrow phase's contact cases.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <utility>
#include <vector>

#include "physics/Collision.h"
#include "physics/PhysicsTestSupport.h"
#include "physics/RigidBody.h"

namespace Flurr {
namespace {

using PhysicsTest::Placed;
using PhysicsTest::Rect;
using PhysicsTest::Shape;

TEST(Vec2Ops, RotationSnapsResiduesAndNaNIsUnequal) {
    // A quarter turn must give exactly (0, 1): cos(pi/2) in floats is not 0.
    EXPECT_EQ(Rotate(Vec2(1, 0), kPi * 0.5f), Vec2(0, 1));
    EXPECT_EQ(Rotate(Vec2(0, 2), kPi), Vec2(0, -2));
    const Vec2 quarter = Rotate(Vec2(1, 1), kPi * 0.25f);
    EXPECT_EQ(quarter.x, 0.0f);
    EXPECT_NEAR(quarter.y, std::sqrt(2.0f), 1e-6f);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Vec2 bad(nan, 0);
    EXPECT_FALSE(bad == bad);
    EXPECT_TRUE(bad != bad);

    Vec2 zero;
    zero.Normalize();
    EXPECT_EQ(zero, Vec2(0, 0)); // not NaN
    Vec2 v(3, 4);
    v.Normalize();
    EXPECT_EQ(v, Vec2(0.6f, 0.8f));
    EXPECT_EQ(Perpendicular(Vec2(2, 5)), Vec2(-5, 2));
    EXPECT_EQ(Midpoint(Vec2(0, 0), Vec2(2, 4)), Vec2(1, 2));
    EXPECT_EQ(Distance(Vec2(1, 1), Vec2(4, 5)), 5.0f);
}

TEST(CollisionPolygonAccess, WrapsOnceAndRejectsFurther) {
    const CollisionPolygon triangle({{0, 0}, {1, 0}, {0, 1}});
    EXPECT_EQ(triangle.Vertex(4), Vec2(1, 0));
    EXPECT_EQ(triangle.Vertex(5), Vec2(0, 1));
    EXPECT_THROW(triangle.Vertex(6), std::out_of_range);
    const CollisionPolygon empty;
    EXPECT_THROW(empty.Vertex(0), std::out_of_range);

    EXPECT_TRUE(CollisionPolygon(Rect(0, 0, 2, 1)).IsProperConvex());
    EXPECT_TRUE(CollisionPolygon({{0, 0}, {1, 0}, {1, 0}, {0, 1}}).IsProperConvex());
    EXPECT_FALSE(CollisionPolygon({{0, 0}, {1, 0}, {2, 0}}).IsProperConvex());
    EXPECT_FALSE(CollisionPolygon({{0, 0}, {2, 0}, {1, 1}, {2, 2}, {0, 2}}).IsProperConvex());
}

TEST(MassProperties, UnitSquareStaticAndShapesWithoutArea) {
    const MassProperties unit = ComputeMassProperties(Shape({Rect(0, 0, 1, 1)}), 1.0f);
    EXPECT_EQ(unit.inverseMass, 10.0f);
    EXPECT_GT(unit.inverseInertia, 0.0f);

    const MassProperties still = ComputeMassProperties(Shape({Rect(0, 0, 5, 5)}), 0.0f);
    EXPECT_EQ(still.inverseMass, 0.0f);
    EXPECT_EQ(still.inverseInertia, 0.0f);

    // No outline, an empty one, or a line: it weighs one unit of area and
    // does not turn, instead of an infinite inverse mass and NaN inertia.
    for (const CollisionShape& flat : {Shape({}), Shape({{}}), Shape({{{0, 0}, {1, 1}, {2, 2}}})}) {
        const MassProperties m = ComputeMassProperties(flat, 2.0f);
        EXPECT_EQ(m.inverseMass, 5.0f);
        EXPECT_EQ(m.inverseInertia, 0.0f);
    }
}

TEST(TransformShape, PlacesOutlinesAndKeepsAnglesBounded) {
    CollisionShape shape = Shape({Rect(0, 0, 2, 1)});
    float angle = kPi * 0.5f;
    TransformShape(shape, Vec2(10, 20), angle);
    EXPECT_EQ(shape.worldPolygons[0].vertices[1], Vec2(10, 22));
    EXPECT_EQ(shape.worldPolygons[0].vertices[2], Vec2(9, 22));

    float wound = 2.0f * kPi + 0.5f;
    TransformShape(shape, Vec2(), wound);
    EXPECT_NEAR(wound, 0.5f, 1e-5f);
    // Spun up beyond what subtraction can bring down: no hang, no NaN.
    float huge = 1e30f;
    TransformShape(shape, Vec2(), huge);
    EXPECT_GE(huge, 0.0f);
    EXPECT_LE(huge, 2.0f * kPi);
    float infinite = std::numeric_limits<float>::infinity();
    TransformShape(shape, Vec2(), infinite);
    EXPECT_EQ(infinite, 0.0f);
}

TEST(SupportPoints, LowestVertexAndItsLevelNeighbour) {
    const CollisionPolygon box(Rect(0, 0, 2, 1));
    const SupportPoints bottom = FindSupportPoints(box, Vec2(0, 1));
    ASSERT_EQ(bottom.count, 2u);
    EXPECT_EQ(bottom.points[0], Vec2(0, 0));
    EXPECT_EQ(bottom.points[1], Vec2(2, 0));
    const SupportPoints corner = FindSupportPoints(box, Vec2(1, 1));
    ASSERT_EQ(corner.count, 1u);
    EXPECT_EQ(corner.points[0], Vec2(0, 0));
    // Within 0.1 counts as level; at most two.
    const CollisionPolygon slanted({{0, 0.05f}, {1, 0}, {2, 0.02f}, {1, 1}});
    EXPECT_EQ(FindSupportPoints(slanted, Vec2(0, 1)).count, 2u);
    EXPECT_EQ(FindSupportPoints(CollisionPolygon(), Vec2(0, 1)).count, 0u);
}

TEST(SeparatingAxis, OverlapSweepAndEarlyExit) {
    const CollisionPolygon floor(Rect(-10, -1, 10, 0));
    // Overlapping by 0.25 from above: the shortest way out is straight up.
    const SatResult overlap =
        SeparatingAxisTest(Placed(Rect(-1, 0, 1, 2), Vec2(0, -0.25f)), floor, Vec2());
    EXPECT_TRUE(overlap.intersecting);
    EXPECT_EQ(overlap.translation, Vec2(0, 0.25f));
    EXPECT_EQ(overlap.minOverlap, 0.0625f);

    // Far apart and still: the first axis ends the test with everything 0.
    const SatResult apart =
        SeparatingAxisTest(Placed(Rect(-1, 0, 1, 2), Vec2(0, 50)), floor, Vec2());
    EXPECT_FALSE(apart.intersecting);
    EXPECT_FALSE(apart.willIntersect);
    EXPECT_EQ(apart.translation, Vec2());
    EXPECT_EQ(apart.entryTime, 0.0f);

    // Moving sideways on a line far above the floor: apart along an axis it
    // does not move on, so it can never meet the floor in this sweep.
    const SatResult passingAbove =
        SeparatingAxisTest(Placed(Rect(-1, 0, 1, 2), Vec2(-40, 50)), floor, Vec2(60, 0));
    EXPECT_FALSE(passingAbove.intersecting || passingAbove.willIntersect);
}

// Four-vertex outlines take a path of their own through the test. The
// same outline with one vertex given twice has one more edge, of no length,
// which gives no axis, and the same extent on every axis: the other path
// must then give the same result to the bit.
TEST(SeparatingAxis, BoxesGiveTheSameResultAsAnyOtherOutline) {
    auto bits = [](float f) { return std::bit_cast<uint32_t>(f); };
    auto same = [&bits](const SatResult& x, const SatResult& y) {
        for (const auto& [u, v] : {std::pair{x.minOverlap, y.minOverlap},
                                   {x.translation.x, y.translation.x},
                                   {x.translation.y, y.translation.y},
                                   {x.escapeAxis.x, y.escapeAxis.x},
                                   {x.escapeAxis.y, y.escapeAxis.y},
                                   {x.entryNormal.x, y.entryNormal.x},
                                   {x.entryNormal.y, y.entryNormal.y},
                                   {x.exitNormal.x, y.exitNormal.x},
                                   {x.exitNormal.y, y.exitNormal.y},
                                   {x.entryTime, y.entryTime},
                                   {x.exitTime, y.exitTime}})
            if (bits(u) != bits(v))
                return false;
        return x.intersecting == y.intersecting && x.willIntersect == y.willIntersect;
    };
    // A turned box, and the same with its second vertex repeated.
    auto box = [](float w, float h, float angle, Vec2 at, bool repeat) {
        std::vector<Vec2> points;
        for (const Vec2& corner : Rect(-w / 2, -h / 2, w / 2, h / 2)) {
            points.push_back(Rotate(corner, angle) + at);
            if (repeat && points.size() == 2)
                points.push_back(points.back());
        }
        return CollisionPolygon(points);
    };
    uint32_t seed = 17;
    auto next = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>((seed >> 8) % 10000) / 10000.0f;
    };
    int touching = 0, ahead = 0;
    for (int k = 0; k < 2000; ++k) {
        const float w = 2 + 10 * next(), h = 2 + 10 * next(), angleA = 7 * next();
        const float w2 = 2 + 10 * next(), h2 = 2 + 10 * next(), angleB = 7 * next();
        const Vec2 atA(20 * next() - 10, 20 * next() - 10), atB(20 * next() - 10, 20 * next() - 10);
        const Vec2 velocity(120 * next() - 60, 120 * next() - 60);
        const CollisionPolygon a = box(w, h, angleA, atA, false);
        const CollisionPolygon b = box(w2, h2, angleB, atB, false);
        const CollisionPolygon a5 = box(w, h, angleA, atA, true);
        const CollisionPolygon b5 = box(w2, h2, angleB, atB, true);
        const SatResult quads = SeparatingAxisTest(a, b, velocity);
        ASSERT_TRUE(same(quads, SeparatingAxisTest(a5, b5, velocity))) << "case " << k;
        ASSERT_TRUE(same(quads, SeparatingAxisTest(a, b5, velocity))) << "case " << k;
        ASSERT_TRUE(same(quads, SeparatingAxisTest(a5, b, velocity))) << "case " << k;
        touching += quads.intersecting;
        ahead += !quads.intersecting && quads.willIntersect;
    }
    // Both kinds of result were compared, not only misses.
    EXPECT_GT(touching, 100);
    EXPECT_GT(ahead, 100);
}

TEST(NarrowPhase, FastBoxIsCaughtBeforeItPassesThroughAThinFloor) {
    RigidBody box, floor;
    box.shape = Shape({Rect(-1, -1, 1, 1)});
    floor.shape = Shape({Rect(-10, -0.1f, 10, 0)});
    box.position = Vec2(0, 3);
    float angle = 0;
    TransformShape(box.shape, box.position, angle);
    TransformShape(floor.shape, floor.position, angle);
    // Starts 2 above the floor and would be 2 below it after the sweep.
    box.velocity = Vec2(0, -6);
    Contact c;
    NarrowPhase(box, 0, floor, 0, c);
    ASSERT_TRUE(c.collided);
    EXPECT_FALSE(c.sat.intersecting);
    EXPECT_GT(c.time, 0.0f);
    EXPECT_LT(c.time, 1.0f);
    EXPECT_NEAR(c.time, 2.0f / 6.0f, 1e-6f);
    EXPECT_EQ(c.normal, Vec2(0, 1));
    EXPECT_EQ(c.translation, Vec2()); // nothing to push apart yet
    EXPECT_TRUE(c.edgeAgainstEdge);
}

TEST(NarrowPhase, ContactCasesByNumberOfSupportPoints) {
    RigidBody top, wide;
    wide.shape = Shape({Rect(-10, -1, 10, 0)});
    float angle = 0;
    TransformShape(wide.shape, Vec2(), angle);
    Contact c;

    // Flat on a wider box: two points each side, acting where they overlap.
    top.shape = Shape({Rect(-1, -0.5f, 1, 1.5f)});
    TransformShape(top.shape, Vec2(), angle);
    NarrowPhase(top, 0, wide, 0, c);
    ASSERT_TRUE(c.collided);
    EXPECT_TRUE(c.edgeAgainstEdge);
    EXPECT_EQ(c.countA, 2u);
    EXPECT_EQ(c.countB, 2u);
    EXPECT_EQ(c.normal, Vec2(0, 1));
    EXPECT_NE(c.responsePoints[0], c.responsePoints[1]);
    EXPECT_NEAR(std::fabs(c.responsePoints[0].x - c.responsePoints[1].x), 2.0f, 1e-5f);

    // A diamond standing on its corner: one vertex against an edge.
    top.shape = Shape({{{0, -0.5f}, {1, 0.5f}, {0, 1.5f}, {-1, 0.5f}}});
    TransformShape(top.shape, Vec2(), angle);
    NarrowPhase(top, 0, wide, 0, c);
    ASSERT_TRUE(c.collided);
    EXPECT_TRUE(c.singleVertexA);
    EXPECT_FALSE(c.edgeAgainstEdge);
    EXPECT_EQ(c.pointsA[0], Vec2(0, -0.5f));
    EXPECT_EQ(c.pointsB[0], Vec2(0, 0));

    // The other way round: the wide box's edge against the diamond's corner.
    NarrowPhase(wide, 0, top, 0, c);
    ASSERT_TRUE(c.collided);
    EXPECT_FALSE(c.singleVertexA);
    EXPECT_EQ(c.countA, 1u);
    EXPECT_EQ(c.pointsB[0], Vec2(0, -0.5f));

    // Touching by less than the tolerance, at rest: no contact.
    top.shape = Shape({Rect(-1, -1e-6f, 1, 2)});
    TransformShape(top.shape, Vec2(), angle);
    NarrowPhase(top, 0, wide, 0, c);
    EXPECT_FALSE(c.collided);
    // The same while closing: a contact on both points that has nothing to
    // push apart, so the response can stop the bodies before they overlap.
    top.velocity = Vec2(0.5f, -1);
    NarrowPhase(top, 0, wide, 0, c);
    ASSERT_TRUE(c.collided);
    EXPECT_EQ(c.normal, Vec2(0, 1));
    EXPECT_EQ(c.translation, Vec2());
    EXPECT_TRUE(c.edgeAgainstEdge);
    EXPECT_NE(c.responsePoints[0], c.responsePoints[1]);
    // Parting: none.
    top.velocity = Vec2(0, 1);
    NarrowPhase(top, 0, wide, 0, c);
    EXPECT_FALSE(c.collided);
}

TEST(NarrowPhase, DegenerateOutlinesGiveNoNaN) {
    RigidBody a, b;
    b.shape = Shape({Rect(-10, -1, 10, 0)});
    float angle = 0;
    TransformShape(b.shape, Vec2(), angle);
    Contact c;
    // A repeated closing vertex (a zero-length edge), overlapping the floor.
    a.shape = Shape({{{-1, -0.5f}, {1, -0.5f}, {1, 1}, {-1, 1}, {-1, 1}}});
    TransformShape(a.shape, Vec2(), angle);
    NarrowPhase(a, 0, b, 0, c);
    ASSERT_TRUE(c.collided);
    EXPECT_TRUE(std::isfinite(c.normal.x) && std::isfinite(c.normal.y));
    EXPECT_EQ(c.normal, Vec2(0, 1));
    // A single point inside the floor, and an empty outline: no contact,
    // no NaN, no read past the end.
    a.shape = Shape({{{0, -0.5f}}});
    TransformShape(a.shape, Vec2(), angle);
    NarrowPhase(a, 0, b, 0, c);
    EXPECT_FALSE(c.collided && !(std::isfinite(c.normal.x) && std::isfinite(c.normal.y)));
    a.shape = Shape({{}});
    NarrowPhase(a, 0, b, 0, c);
    EXPECT_FALSE(c.collided);
    EXPECT_EQ(ClosestPointOnSegment(Vec2(1, 1), Vec2(1, 1), Vec2(5, 5)), Vec2(1, 1));
}

} // namespace
} // namespace Flurr
