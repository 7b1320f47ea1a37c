// Vectors, outlines, mass properties, the swept separating-axis test and
// the narrow phase's contact cases.

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>
#include <sstream>
#include <stdexcept>

#include "physics/Collision.h"
#include "physics/PhysicsTestSupport.h"
#include "physics/RigidBody.h"

namespace Flurr {
namespace {

using namespace PhysicsTest;

TEST(Vec2Ops, RotationSnapsResiduesAndNaNIsUnequal) {
    // A quarter turn must give exactly (0, 1): cos(pi/2) in floats is not 0.
    EXPECT_EQ(Rotate(Vec2(1, 0), kPi * 0.5f), Vec2(0, 1));
    EXPECT_EQ(Rotate(Vec2(0, 2), kPi), Vec2(0, -2));
    const Vec2 quarter = Rotate(Vec2(1, 1), kPi * 0.25f);
    EXPECT_EQ(quarter.x, 0.0f);
    EXPECT_NEAR(quarter.y, std::sqrt(2.0f), 1e-6f);

    const Vec2 bad(std::numeric_limits<float>::quiet_NaN(), 0);
    EXPECT_FALSE(bad == bad);
    EXPECT_TRUE(bad != bad);
    Vec2 zero, v(3, 4);
    zero.Normalize();
    v.Normalize();
    EXPECT_EQ(zero, Vec2(0, 0)); // not NaN
    EXPECT_EQ(v, Vec2(0.6f, 0.8f));
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
    // Every field, floats by their bits.
    auto fields = [](const SatResult& r) {
        std::vector<uint32_t> out{r.intersecting, r.willIntersect};
        for (float f : {r.minOverlap, r.translation.x, r.translation.y, r.escapeAxis.x,
                        r.escapeAxis.y, r.entryNormal.x, r.entryNormal.y, r.exitNormal.x,
                        r.exitNormal.y, r.entryTime, r.exitTime})
            out.push_back(std::bit_cast<uint32_t>(f));
        return out;
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
    Random next{17, 10000};
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
        ASSERT_EQ(fields(quads), fields(SeparatingAxisTest(a5, b5, velocity))) << "case " << k;
        ASSERT_EQ(fields(quads), fields(SeparatingAxisTest(a, b5, velocity))) << "case " << k;
        ASSERT_EQ(fields(quads), fields(SeparatingAxisTest(a5, b, velocity))) << "case " << k;
        touching += quads.intersecting;
        ahead += !quads.intersecting && quads.willIntersect;
    }
    // Both kinds of result were compared, not only misses.
    EXPECT_GT(touching, 100);
    EXPECT_GT(ahead, 100);
}

// A body with one outline, placed at `at` and moving with `velocity`.
RigidBody Body(const std::vector<Vec2>& outline, Vec2 at = Vec2(), Vec2 velocity = Vec2()) {
    RigidBody b;
    b.shape = Shape({outline});
    b.position = at;
    b.velocity = velocity;
    float angle = 0;
    TransformShape(b.shape, at, angle);
    return b;
}

// A contact in one line: "none", or when it acts (now, or ahead at a time
// of the sweep), its normal and push apart, its kind (edge against edge,
// or a lone vertex of A or of B), the first point on each side and where
// the response acts.
std::string Describe(const Contact& c) {
    if (!c.collided)
        return "none";
    auto v = [](Vec2 p) {
        std::ostringstream out;
        out << std::setprecision(4) << "(" << p.x + 0.0f << "," << p.y + 0.0f << ")";
        return out.str();
    };
    std::ostringstream out;
    out << std::setprecision(4) << (c.sat.intersecting ? "now" : "ahead at ");
    if (!c.sat.intersecting)
        out << c.time;
    out << " n" << v(c.normal) << " push" << v(c.translation) << " "
        << (c.invalid           ? "invalid"
            : c.edgeAgainstEdge ? "edge"
            : c.singleVertexA   ? "vertexA"
                                : "vertexB")
        << " A" << v(c.pointsA[0]) << " B" << v(c.pointsB[0]) << " acts" << v(c.responsePoints[0])
        << v(c.responsePoints[1]);
    return out.str();
}

TEST(NarrowPhase, ContactsFromFastHitsToDegenerateOutlines) {
    const std::vector<Vec2> floor = Rect(-10, -1, 10, 0);
    const std::vector<Vec2> diamond = {{0, -0.5f}, {1, 0.5f}, {0, 1.5f}, {-1, 0.5f}};
    const std::vector<Vec2> repeated = {{-1, -0.5f}, {1, -0.5f}, {1, 1}, {-1, 1}, {-1, 1}};
    struct Case {
        const char* what;
        std::vector<Vec2> a;
        Vec2 at, velocity;
        std::vector<Vec2> b;
        std::string says;
    };
    const std::vector<Case> cases = {
        // Starts 2 above the floor and would be 2 below it after the sweep;
        // nothing to push apart yet.
        {"a fast box is caught before it passes through a thin floor", Rect(-1, -1, 1, 1),
         Vec2(0, 3), Vec2(0, -6), Rect(-10, -0.1f, 10, 0),
         "ahead at 0.3333 n(0,1) push(0,0) edge A(-1,0) B(-10,-0.1) acts(1,0)(-1,0)"},
        // Two points each side, acting where they overlap.
        {"flat on a wider box", Rect(-1, -0.5f, 1, 1.5f), Vec2(), Vec2(), floor,
         "now n(0,1) push(0,0.5) edge A(-1,-0.5) B(10,0) acts(1,0)(-1,0)"},
        {"a diamond standing on its corner", diamond, Vec2(), Vec2(), floor,
         "now n(0,1) push(0,0.5) vertexA A(0,-0.5) B(0,0) acts(0,0)(0,0)"},
        {"a wide box's edge against a diamond's corner", floor, Vec2(), Vec2(), diamond,
         "now n(0,-1) push(0,-0.5) vertexB A(0,0) B(0,-0.5) acts(0,-0.5)(0,-0.5)"},
        {"touching by less than the tolerance, at rest", Rect(-1, -1e-6f, 1, 2), Vec2(), Vec2(),
         floor, "none"},
        {"touching by less than the tolerance, parting", Rect(-1, -1e-6f, 1, 2), Vec2(), Vec2(0, 1),
         floor, "none"},
        // Nothing to push apart, so the response can stop the bodies before
        // they overlap.
        {"touching by less than the tolerance, closing", Rect(-1, -1e-6f, 1, 2), Vec2(),
         Vec2(0.5f, -1), floor, "now n(0,1) push(0,0) edge A(-1,0) B(10,0) acts(1,0)(-1,0)"},
        // A zero-length edge gives no axis, and no NaN.
        {"a repeated closing vertex", repeated, Vec2(), Vec2(), floor,
         "now n(0,1) push(0,0.5) edge A(-1,-0.5) B(10,0) acts(1,0)(-1,0)"},
        {"a single point inside the floor",
         {Vec2(0, -0.5f)},
         Vec2(),
         Vec2(),
         floor,
         "now n(0,-1) push(0,-0.5) vertexA A(0,-0.5) B(0,-1) acts(0,-1)(0,-1)"},
        {"an empty outline", {}, Vec2(), Vec2(), floor, "none"},
    };
    for (const Case& c : cases) {
        RigidBody a = Body(c.a, c.at, c.velocity), b = Body(c.b);
        Contact contact;
        NarrowPhase(a, 0, b, 0, contact);
        EXPECT_EQ(Describe(contact), c.says) << c.what;
    }
    EXPECT_EQ(ClosestPointOnSegment(Vec2(1, 1), Vec2(1, 1), Vec2(5, 5)), Vec2(1, 1));
}

} // namespace
} // namespace Flurr
