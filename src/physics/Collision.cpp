#include "physics/Collision.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "physics/RigidBody.h"

namespace Flurr {

namespace {

// Shorter edges than this give no axis: their perpendicular has no
// direction, and dividing by its squared length would make NaN.
constexpr float kMinAxisLengthSquared = 1e-12f;
// Below this a shape counts as having no area.
constexpr float kMinArea = 1e-12f;
// Overlaps whose squared length is at most this are touching, not contact.
constexpr float kTouchingOverlap = 1e-5f;
// Speeds along an axis below this cannot cross a gap within a step.
constexpr float kStillSpeed = 1e-7f;
// Support points within this of the lowest projection count as level.
constexpr float kSupportTolerance = 0.1f;
// Repeated subtraction keeps ordinary angles exactly as they always were;
// past this many turns fmod takes over, so a body that spun up to a huge
// angle cannot hang the step.
constexpr float kMaxAngleBySubtraction = 2.0f * kPi * 16.0f;

} // namespace

MassProperties ComputeMassProperties(const CollisionShape& shape, float density) {
    MassProperties result;
    if (density == 0.0f)
        return result;
    float s = 0.0f;
    float t = 0.0f;
    for (const auto& polygon : shape.localPolygons) {
        if (!polygon)
            continue;
        for (uint32_t k = 0; k < polygon->count; ++k) {
            const Vec2 a = polygon->Vertex(k + polygon->count - 1);
            const Vec2 b = polygon->vertices[k];
            const float c = std::fabs(a.x * b.y - a.y * b.x);
            s += c;
            t += c * (Dot(a, a) + Dot(a, b) + Dot(b, b));
        }
    }
    if (!(s > kMinArea)) {
        result.inverseMass = kPositionScale / density;
        result.inverseInertia = 0.0f;
        return result;
    }
    const float mass = s * density * 0.5f;
    result.inverseMass = kPositionScale / mass;
    const float unitInertia = (t / s) * 0.16666667f;
    result.inverseInertia = kPositionScale / (unitInertia * mass);
    return result;
}

void TransformShape(CollisionShape& shape, Vec2 position, float& angle) {
    const float fullTurn = kPi * 2.0f;
    if (!std::isfinite(angle))
        angle = 0.0f;
    else if (angle > kMaxAngleBySubtraction)
        angle = std::fmod(angle, fullTurn);
    while (angle > fullTurn)
        angle -= fullTurn;
    if (shape.placed && shape.placedPosition == position && shape.placedAngle == angle)
        return;
    // The same cosine and sine for every vertex, as Rotate() would compute.
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const std::size_t n = std::min(shape.localPolygons.size(), shape.worldPolygons.size());
    for (std::size_t p = 0; p < n; ++p) {
        const CollisionPolygon* local = shape.localPolygons[p].get();
        CollisionPolygon& world = shape.worldPolygons[p];
        if (!local)
            continue;
        const uint32_t count = std::min(local->count, world.count);
        for (uint32_t k = 0; k < count; ++k)
            world.vertices[k] = Rotate(local->vertices[k], c, s) + position;
    }
    shape.placedPosition = position;
    shape.placedAngle = angle;
    shape.placed = true;
    ++shape.placements;
}

namespace {

// Inlined into the separating-axis test, which projects two outlines on
// every axis; the loop runs over the raw array.
[[gnu::always_inline]] inline Projection ProjectInline(const CollisionPolygon& polygon, Vec2 axis) {
    Projection p;
    const uint32_t count = polygon.count;
    if (count == 0)
        return p;
    const Vec2* v = polygon.vertices.data();
    p.min = p.max = Dot(v[0], axis);
    for (uint32_t k = 1; k < count; ++k) {
        const float d = Dot(v[k], axis);
        if (d < p.min)
            p.min = d;
        if (d > p.max)
            p.max = d;
    }
    return p;
}

// Four-vertex outlines (every box) project with their four dot products
// worked out side by side. Each lane computes the very expression Dot()
// does, and the smallest and largest are then picked in vertex order as
// ProjectInline() picks them, so the results are the same to the bit.
typedef float Float4 __attribute__((vector_size(16)));

struct Quad {
    Float4 x, y;
};

// The outline's four vertices, ready for ProjectQuad().
Quad QuadOf(const CollisionPolygon& polygon) {
    const Vec2* v = polygon.vertices.data();
    return {Float4{v[0].x, v[1].x, v[2].x, v[3].x}, Float4{v[0].y, v[1].y, v[2].y, v[3].y}};
}

[[gnu::always_inline]] inline Projection ProjectQuad(const Quad& q, Vec2 axis) {
    const Float4 d = q.x * axis.x + q.y * axis.y;
    Projection p;
    p.min = p.max = d[0];
    // Unrolled by hand: a loop over the lanes goes through memory.
    const float d1 = d[1], d2 = d[2], d3 = d[3];
    p.min = d1 < p.min ? d1 : p.min;
    p.max = d1 > p.max ? d1 : p.max;
    p.min = d2 < p.min ? d2 : p.min;
    p.max = d2 > p.max ? d2 : p.max;
    p.min = d3 < p.min ? d3 : p.min;
    p.max = d3 > p.max ? d3 : p.max;
    return p;
}

// Projects any outline.
struct GeneralProjector {
    const CollisionPolygon& polygon;
    Projection operator()(Vec2 axis) const { return ProjectInline(polygon, axis); }
};
struct QuadProjector {
    Quad quad;
    Projection operator()(Vec2 axis) const { return ProjectQuad(quad, axis); }
};

} // namespace

Projection Project(const CollisionPolygon& polygon, Vec2 axis) {
    return ProjectInline(polygon, axis);
}

SupportPoints FindSupportPoints(const CollisionPolygon& polygon, Vec2 direction, Vec2 offset) {
    SupportPoints result;
    if (polygon.count == 0)
        return result;
    float m = Dot(polygon.vertices[0] + offset, direction);
    for (uint32_t k = 1; k < polygon.count; ++k) {
        const float d = Dot(polygon.vertices[k] + offset, direction);
        if (d < m)
            m = d;
    }
    for (uint32_t k = 0; k < polygon.count && result.count < 2; ++k) {
        const Vec2 p = polygon.vertices[k] + offset;
        if (Dot(p, direction) <= m + kSupportTolerance)
            result.points[result.count++] = p;
    }
    return result;
}

namespace {

// One axis of the test; true when the test ends here with no contact.
template <typename ProjectA, typename ProjectB>
bool TestAxis(SatResult& r, const ProjectA& a, const ProjectB& b, Vec2 axis, Vec2 velocity) {
    const float axisLengthSquared = Dot(axis, axis);
    if (axisLengthSquared < kMinAxisLengthSquared)
        return false;
    const Projection pa = a(axis);
    const Projection pb = b(axis);
    const float d0 = pb.max - pa.min;
    const float d1 = pb.min - pa.max;
    const bool apart = d0 < 0.0f || d1 > 0.0f;
    bool staticSeparated = false;
    bool sweptSeparated = false;

    if (r.intersecting) {
        if (apart) {
            r.intersecting = false;
            staticSeparated = true;
        } else {
            const float overlap = d0 < -d1 ? d0 : d1;
            const Vec2 v = axis * (overlap / axisLengthSquared);
            const float lengthSquared = v.LengthSquared();
            if (lengthSquared < r.minOverlap || r.minOverlap < 0.0f) {
                r.translation = v;
                r.escapeAxis = d0 < -d1 ? axis : -axis;
                r.minOverlap = lengthSquared;
            }
        }
    }

    if (r.willIntersect) {
        const float s = Dot(axis, velocity);
        if (std::fabs(s) < kStillSpeed) {
            sweptSeparated = true;
            // Outlines apart along an axis they hardly move on never meet
            // during the sweep, however the other axes look.
            if (apart)
                r.willIntersect = false;
        } else {
            const float inverse = 1.0f / s;
            const float t0 = d0 * inverse;
            const float t1 = d1 * inverse;
            const float tMin = std::min(t0, t1);
            const float tMax = std::max(t0, t1);
            const Vec2 minNormal = s > 0.0f ? -axis : axis;
            const Vec2 maxNormal = -minNormal;
            if (tMin > 1.0f || tMax < 0.0f || tMax > 1.0f) {
                sweptSeparated = true;
                r.willIntersect = false;
            } else if (r.exitTime < r.entryTime) {
                r.entryTime = tMin;
                r.entryNormal = minNormal;
                r.exitTime = tMax;
                r.exitNormal = maxNormal;
            } else if (r.exitTime < tMin || tMax < r.entryTime) {
                sweptSeparated = true;
                r.willIntersect = false;
            } else {
                if (tMin > r.entryTime) {
                    r.entryTime = tMin;
                    r.entryNormal = minNormal;
                }
                if (tMax < r.exitTime) {
                    r.exitTime = tMax;
                    r.exitNormal = maxNormal;
                }
            }
        }
    }
    return (staticSeparated && sweptSeparated) || (!r.intersecting && !r.willIntersect);
}

template <typename ProjectA, typename ProjectB>
bool TestEdges(SatResult& r, const CollisionPolygon& edges, const ProjectA& a, const ProjectB& b,
               Vec2 velocity) {
    const Vec2* v = edges.vertices.data();
    for (uint32_t j = 0; j < edges.count; ++j) {
        const Vec2 edge = v[j] - v[j == 0 ? edges.count - 1 : j - 1];
        if (TestAxis(r, a, b, Perpendicular(edge), velocity))
            return true;
    }
    return false;
}

template <typename ProjectA, typename ProjectB>
bool AllAxes(SatResult& r, const CollisionPolygon& a, const CollisionPolygon& b,
             const ProjectA& projectA, const ProjectB& projectB, Vec2 velocity) {
    return TestEdges(r, a, projectA, projectB, velocity) ||
           TestEdges(r, b, projectA, projectB, velocity);
}

// The test written into `r`, which must hold a fresh SatResult: the narrow
// phase has its contact's own filled without a copy.
void SeparatingAxisTestInto(const CollisionPolygon& a, const CollisionPolygon& b, Vec2 velocity,
                            SatResult& r) {
    bool apart;
    if (a.count == 4 && b.count == 4)
        apart = AllAxes(r, a, b, QuadProjector{QuadOf(a)}, QuadProjector{QuadOf(b)}, velocity);
    else if (a.count == 4)
        apart = AllAxes(r, a, b, QuadProjector{QuadOf(a)}, GeneralProjector{b}, velocity);
    else if (b.count == 4)
        apart = AllAxes(r, a, b, GeneralProjector{a}, QuadProjector{QuadOf(b)}, velocity);
    else
        apart = AllAxes(r, a, b, GeneralProjector{a}, GeneralProjector{b}, velocity);
    if (apart) {
        r = SatResult();
        r.intersecting = false;
        r.willIntersect = false;
        r.minOverlap = 0.0f;
        r.entryTime = 0.0f;
        r.exitTime = 0.0f;
    }
}

} // namespace

SatResult SeparatingAxisTest(const CollisionPolygon& a, const CollisionPolygon& b, Vec2 velocity) {
    SatResult r;
    SeparatingAxisTestInto(a, b, velocity, r);
    return r;
}

Vec2 ClosestPointOnSegment(Vec2 p0, Vec2 p1, Vec2 q) {
    const Vec2 d = p1 - p0;
    const float lengthSquared = d.LengthSquared();
    if (lengthSquared == 0.0f)
        return p0;
    const float t = std::clamp(Dot(d, q - p0) / lengthSquared, 0.0f, 1.0f);
    return p0 + d * t;
}

namespace {

// The two points an edge-against-edge contact acts at: the ends of the
// stretch where the two support edges overlap along the contact, taken
// from whichever edge bounds it there. Points of A are shifted by the
// correction that will move A there.
void EdgeResponsePoints(Contact& c) {
    const Vec2 tangent = Perpendicular(c.normal);
    const Vec2 a0 = c.pointsA[0] + c.translation;
    const Vec2 a1 = c.pointsA[1] + c.translation;
    const Vec2 b0 = c.pointsB[0];
    const Vec2 b1 = c.pointsB[1];
    const float ta0 = Dot(a0, tangent), ta1 = Dot(a1, tangent);
    const float tb0 = Dot(b0, tangent), tb1 = Dot(b1, tangent);
    const Vec2 aLowPoint = ta0 <= ta1 ? a0 : a1;
    const Vec2 aHighPoint = ta0 <= ta1 ? a1 : a0;
    const Vec2 bLowPoint = tb0 <= tb1 ? b0 : b1;
    const Vec2 bHighPoint = tb0 <= tb1 ? b1 : b0;
    const float aLow = std::min(ta0, ta1), aHigh = std::max(ta0, ta1);
    const float bLow = std::min(tb0, tb1), bHigh = std::max(tb0, tb1);
    if (std::max(aLow, bLow) > std::min(aHigh, bHigh)) {
        // The edges do not overlap along the contact: act between them.
        const Vec2 middle = Midpoint(Midpoint(a0, a1), Midpoint(b0, b1));
        c.responsePoints[0] = c.responsePoints[1] = middle;
        return;
    }
    c.responsePoints[0] = aLow >= bLow ? aLowPoint : bLowPoint;
    c.responsePoints[1] = aHigh <= bHigh ? aHighPoint : bHighPoint;
}

} // namespace

void NarrowPhase(RigidBody& a, uint32_t polygonA, RigidBody& b, uint32_t polygonB,
                 Contact& contact) {
    // Made afresh in place: assigning a new Contact would build it aside
    // and copy it over, reading back what was just written byte by byte.
    std::construct_at(&contact);
    contact.bodyA = &a;
    contact.bodyB = &b;
    contact.polygonA = polygonA;
    contact.polygonB = polygonB;
    const CollisionPolygon& pa = a.shape.worldPolygons[polygonA];
    const CollisionPolygon& pb = b.shape.worldPolygons[polygonB];
    if (pa.count == 0 || pb.count == 0)
        return;
    const Vec2 v = a.velocity - b.velocity;
    SeparatingAxisTestInto(pa, pb, v, contact.sat);
    contact.collided = contact.sat.intersecting || contact.sat.willIntersect;
    if (!contact.collided)
        return;
    if (contact.sat.intersecting) {
        if (contact.sat.minOverlap > kTouchingOverlap) {
            contact.translation = contact.sat.translation;
            contact.normal = contact.translation / contact.translation.Length();
        } else if (Dot(v, contact.sat.escapeAxis) < 0.0f) {
            // Only touching, but closing: a contact with nothing to push
            // apart. Dropped, a body resting on another whose overlap has
            // been worked down to nothing would fall into it for a step
            // before the two met again, and so on every other step.
            contact.normal = Normalized(contact.sat.escapeAxis);
        } else {
            contact.collided = false; // touching at rest, or parting
            return;
        }
        contact.time = 0.0f;
    } else {
        // Still ahead: nothing overlaps yet, so there is nothing to push
        // apart (the test's translation holds only the axes it saw before
        // finding a gap). The entry axis is not unit length; the response
        // needs it to be.
        contact.normal = Normalized(contact.sat.entryNormal);
        contact.time = contact.sat.entryTime;
    }
    contact.supportA = FindSupportPoints(pa, contact.normal, a.velocity * contact.time);
    contact.supportB = FindSupportPoints(pb, -contact.normal, b.velocity * contact.time);
    const uint32_t na = contact.supportA.count;
    const uint32_t nb = contact.supportB.count;
    const Vec2* sa = contact.supportA.points;
    const Vec2* sb = contact.supportB.points;
    if (na == 1 && nb == 1) {
        contact.pointsA[0] = sa[0];
        contact.pointsB[0] = sb[0];
        contact.countA = contact.countB = 1;
        contact.singleVertexA = true;
        contact.responsePoints[0] = contact.responsePoints[1] = sa[0] + contact.translation;
    } else if (na == 1 && nb == 2) {
        contact.pointsA[0] = sa[0];
        contact.pointsB[0] = ClosestPointOnSegment(sb[0], sb[1], sa[0]);
        contact.countA = contact.countB = 1;
        contact.singleVertexA = true;
        contact.responsePoints[0] = contact.responsePoints[1] = sa[0] + contact.translation;
    } else if (na == 2 && nb == 1) {
        contact.pointsB[0] = sb[0];
        contact.pointsA[0] = ClosestPointOnSegment(sa[0], sa[1], sb[0]);
        contact.countA = contact.countB = 1;
        contact.responsePoints[0] = contact.responsePoints[1] = sb[0];
    } else if (na == 2 && nb == 2) {
        contact.pointsA[0] = sa[0];
        contact.pointsA[1] = sa[1];
        contact.pointsB[0] = sb[0];
        contact.pointsB[1] = sb[1];
        contact.countA = contact.countB = 2;
        contact.edgeAgainstEdge = true;
        EdgeResponsePoints(contact);
    } else {
        contact.invalid = true;
    }
}

} // namespace Flurr
