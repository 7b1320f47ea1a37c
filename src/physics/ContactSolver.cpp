#include "physics/ContactSolver.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <functional>

#include "physics/RigidBody.h"

namespace Flurr {

namespace {

// Overlap (world units) left in place when pushing bodies apart. It must
// stay well above what the narrow phase counts as merely touching (a
// squared overlap of 1e-5, about 0.003 units), or a resting contact would
// vanish every other step; and a box resting across two others that stand
// a little unevenly is pushed out by the higher one, so the lower contact
// needs room too. Half a percent of a 10-unit crate does not show.
constexpr float kSlop = 0.05f;
// Share of the remaining overlap pushed out in each position round: small
// enough that where several contacts push one body (a box in a heap or
// across two others) they do not overshoot one another, which keeps a
// 20-row pyramid standing.
constexpr float kCorrectionShare = 0.2f;
// Against a body that cannot move (the ground, a wall), the whole overlap
// goes at once. Such a contact is the last of its body's in each round (the
// pass meets the bodies in list order, static ones last), so nothing pushes
// the body back in before the round ends; with only a share, the weight of
// a heap above pressed its bottom boxes units deep into the ground, as the
// boxes above pushed them down by more than the share lifted them.
constexpr float kCorrectionShareAgainstStatic = 1.0f;
// Largest push (world units) one contact gives in one round, so a deep
// overlap in a heap is worked out over a few steps instead of flinging
// bodies through their neighbours.
constexpr float kMaxCorrection = 2.0f;
// Beyond this condition number the two points of a contact are solved one
// at a time (the bound Box2D uses for the same purpose).
constexpr float kMaxCondition = 1000.0f;
// A kept push is reused only while the contact's normal has turned less
// than this (cosine; about 8 degrees).
constexpr float kSameNormal = 0.99f;

// Forced inline: called a few times per contact in each of the rounds.
template <typename Body>
[[gnu::always_inline]] inline Vec2 RelativeVelocity(const Body& a, const Body& b, Vec2 rA,
                                                    Vec2 rB) {
    return (a.velocity + Perpendicular(rA) * a.angularVelocity) -
           (b.velocity + Perpendicular(rB) * b.angularVelocity);
}

template <typename Body>
[[gnu::always_inline]] inline void ApplyImpulse(Body& a, Body& b, Vec2 rA, Vec2 rB, Vec2 impulse) {
    a.velocity += impulse * a.inverseMass;
    b.velocity -= impulse * b.inverseMass;
    a.angularVelocity += Cross(rA, impulse) * a.inverseInertia;
    b.angularVelocity -= Cross(rB, impulse) * b.inverseInertia;
}

float InverseOf(float denominator) {
    return denominator > 0.0f ? 1.0f / denominator : 0.0f;
}

} // namespace

void ContactSolver::Add(const Contact& contact, float e, float mu) {
    Entry& c = contacts.emplace_back();
    c.key = Key{contact.bodyA,        contact.bodyB,    contact.bodyA->index,
                contact.bodyB->index, contact.polygonA, contact.polygonB};
    c.a = contact.bodyA;
    c.b = contact.bodyB;
    c.normal = contact.normal;
    c.depth = contact.translation.Length();
    c.placedA = c.a->shape.placedPosition;
    c.placedB = c.b->shape.placedPosition;
    c.restitution = e;
    c.friction = mu;
    c.points[0].at = contact.responsePoints[0];
    c.count = 1;
    if (contact.responsePoints[1] != contact.responsePoints[0]) {
        c.points[1].at = contact.responsePoints[1];
        c.count = 2;
    }
}

bool ContactSolver::KeyLess(const Key& x, const Key& y) {
    // By place in the body list, the order in which the pass finds
    // contacts, so the contacts and the kept list usually come sorted.
    if (x.indexA != y.indexA)
        return x.indexA < y.indexA;
    if (x.indexB != y.indexB)
        return x.indexB < y.indexB;
    if (x.polygonA != y.polygonA)
        return x.polygonA < y.polygonA;
    return x.polygonB < y.polygonB;
}

void ContactSolver::Forget(const RigidBody* body) {
    std::erase_if(kept, [body](const KeptEntry& entry) {
        return entry.key.a == body || entry.key.b == body;
    });
}

void ContactSolver::Clear() {
    contacts.clear();
    kept.clear();
}

void ContactSolver::Prepare(Entry& c, const Kept* last) {
    const RigidBody& a = *c.a;
    const RigidBody& b = *c.b;
    SolverBody& sa = solverBodies[c.ia];
    SolverBody& sb = solverBodies[c.ib];
    const Vec2 n = c.normal;
    const Vec2 t = Perpendicular(n);
    const float massSum = a.inverseMass + b.inverseMass;
    for (uint32_t k = 0; k < c.count; ++k) {
        Point& p = c.points[k];
        p.rA = p.at - a.position;
        p.rB = p.at - b.position;
        const float crossAn = Cross(p.rA, n);
        const float crossBn = Cross(p.rB, n);
        p.normalMass = InverseOf(massSum + crossAn * crossAn * a.inverseInertia +
                                 crossBn * crossBn * b.inverseInertia);
        const float crossAt = Cross(p.rA, t);
        const float crossBt = Cross(p.rB, t);
        p.tangentMass = InverseOf(massSum + crossAt * crossAt * a.inverseInertia +
                                  crossBt * crossBt * b.inverseInertia);
        // Bodies closing at the start bounce back at e times that speed.
        const float vn = Dot(RelativeVelocity(sa, sb, p.rA, p.rB), n);
        p.target = vn < 0.0f ? -c.restitution * vn : 0.0f;
    }
    // Warm start: a resting contact needs about the same pushes as in the
    // last step, which a few rounds from nothing cannot build up through
    // a stack.
    if (last && last->count == c.count && Dot(last->normal, n) > kSameNormal) {
        for (uint32_t k = 0; k < c.count; ++k) {
            Point& p = c.points[k];
            p.normalImpulse = last->normalImpulse[k];
            p.tangentImpulse = last->tangentImpulse[k];
            ApplyImpulse(sa, sb, p.rA, p.rB, n * p.normalImpulse + t * p.tangentImpulse);
        }
    }
    if (c.count == 2) {
        // How a push at one point changes the normal speed at each.
        const Point& p1 = c.points[0];
        const Point& p2 = c.points[1];
        const float a1 = Cross(p1.rA, n), a2 = Cross(p2.rA, n);
        const float b1 = Cross(p1.rB, n), b2 = Cross(p2.rB, n);
        c.k11 = massSum + a1 * a1 * a.inverseInertia + b1 * b1 * b.inverseInertia;
        c.k22 = massSum + a2 * a2 * a.inverseInertia + b2 * b2 * b.inverseInertia;
        c.k12 = massSum + a1 * a2 * a.inverseInertia + b1 * b2 * b.inverseInertia;
        // Points so close that the two pushes are nearly the same one make
        // the pair solve unreliable; those are solved point by point.
        c.blockSolvable = c.k11 > 0.0f && c.k22 > 0.0f &&
                          c.k11 * c.k11 < kMaxCondition * (c.k11 * c.k22 - c.k12 * c.k12);
    }
}

void ContactSolver::SolveVelocities(Entry& c) {
    // Worked on in copies, written back once: through references, each push
    // would be stored and loaded again by the next, as the two bodies could
    // (for all the compiler knows) be one.
    SolverBody a = solverBodies[c.ia];
    SolverBody b = solverBodies[c.ib];
    SolveVelocities(c, a, b);
    solverBodies[c.ia].velocity = a.velocity;
    solverBodies[c.ia].angularVelocity = a.angularVelocity;
    solverBodies[c.ib].velocity = b.velocity;
    solverBodies[c.ib].angularVelocity = b.angularVelocity;
}

void ContactSolver::SolveVelocities(Entry& c, SolverBody& a, SolverBody& b) {
    const Vec2 n = c.normal;
    const Vec2 t = Perpendicular(n);
    // Friction first, bounded by the push each point holds so far; then
    // the push itself, which matters more and so has the last word.
    for (uint32_t k = 0; k < c.count; ++k) {
        Point& p = c.points[k];
        const float vt = Dot(RelativeVelocity(a, b, p.rA, p.rB), t);
        const float limit = std::fabs(c.friction) * p.normalImpulse;
        const float total = std::clamp(p.tangentImpulse - vt * p.tangentMass, -limit, limit);
        const float change = total - p.tangentImpulse;
        p.tangentImpulse = total;
        ApplyImpulse(a, b, p.rA, p.rB, t * change);
    }
    if (c.count == 2 && c.blockSolvable && SolvePair(c, a, b))
        return;
    for (uint32_t k = 0; k < c.count; ++k) {
        Point& p = c.points[k];
        const float vn = Dot(RelativeVelocity(a, b, p.rA, p.rB), n);
        // A contact pushes, never pulls: the total stays at or above 0.
        const float total = std::max(p.normalImpulse + (p.target - vn) * p.normalMass, 0.0f);
        const float change = total - p.normalImpulse;
        p.normalImpulse = total;
        ApplyImpulse(a, b, p.rA, p.rB, n * change);
    }
}

bool ContactSolver::SolvePair(Entry& c, SolverBody& a, SolverBody& b) {
    const Vec2 n = c.normal;
    Point& p1 = c.points[0];
    Point& p2 = c.points[1];
    const float old1 = p1.normalImpulse;
    const float old2 = p2.normalImpulse;
    // Speed still to remove at each point if the pushes were taken away:
    // the pushes x must give K x + rest >= 0 with x >= 0, and not both
    // strictly (a point either pushes or opens).
    const float rest1 =
        Dot(RelativeVelocity(a, b, p1.rA, p1.rB), n) - p1.target - (c.k11 * old1 + c.k12 * old2);
    const float rest2 =
        Dot(RelativeVelocity(a, b, p2.rA, p2.rB), n) - p2.target - (c.k12 * old1 + c.k22 * old2);
    float x1, x2;
    const float determinant = c.k11 * c.k22 - c.k12 * c.k12;
    // Both points push.
    x1 = (c.k12 * rest2 - c.k22 * rest1) / determinant;
    x2 = (c.k12 * rest1 - c.k11 * rest2) / determinant;
    if (!(x1 >= 0.0f && x2 >= 0.0f)) {
        // Only the first pushes; the second must then be opening.
        x1 = -rest1 / c.k11;
        x2 = 0.0f;
        if (!(x1 >= 0.0f && c.k12 * x1 + rest2 >= 0.0f)) {
            // Only the second.
            x1 = 0.0f;
            x2 = -rest2 / c.k22;
            if (!(x2 >= 0.0f && c.k12 * x2 + rest1 >= 0.0f)) {
                // Neither: both open on their own.
                x2 = 0.0f;
                if (!(rest1 >= 0.0f && rest2 >= 0.0f))
                    return false; // no exact answer in floats; go point by point
            }
        }
    }
    p1.normalImpulse = x1;
    p2.normalImpulse = x2;
    ApplyImpulse(a, b, p1.rA, p1.rB, n * (x1 - old1));
    ApplyImpulse(a, b, p2.rA, p2.rB, n * (x2 - old2));
    return true;
}

void ContactSolver::SolvePositions(Entry& c) {
    if (c.depth == 0.0f)
        return; // still ahead: how far apart is not known
    SolverBody& a = solverBodies[c.ia];
    SolverBody& b = solverBodies[c.ib];
    const float massSum = a.inverseMass + b.inverseMass;
    if (!(massSum > 0.0f))
        return;
    // The overlap as it stands now: what was found, less how far the
    // bodies have since moved apart along the normal (other contacts'
    // pushes included).
    const Vec2 moved = (a.position - c.placedA) - (b.position - c.placedB);
    const float depth = c.depth - Dot(moved, c.normal);
    const float share = a.inverseMass == 0.0f || b.inverseMass == 0.0f
                            ? kCorrectionShareAgainstStatic
                            : kCorrectionShare;
    const float push = std::min((depth - kSlop) * share, kMaxCorrection);
    if (!(push > 0.0f))
        return;
    a.position += c.normal * (push * a.inverseMass / massSum);
    b.position -= c.normal * (push * b.inverseMass / massSum);
}

uint32_t ContactSolver::SlotOf(RigidBody* body, uint32_t index) {
    if (index >= slots.size())
        slots.resize(index + 1, kNoSlot);
    uint32_t& slot = slots[index];
    if (slot == kNoSlot) {
        slot = static_cast<uint32_t>(solverBodies.size());
        solverBodies.push_back({body->velocity, body->angularVelocity, body->inverseMass,
                                body->inverseInertia, body->position});
        owners.push_back(body);
    }
    assert(owners[slot] == body && "each body's index is its own within a pass");
    return slot;
}

void ContactSolver::Solve() {
    for (Entry& c : contacts) {
        c.ia = SlotOf(c.a, c.key.indexA);
        c.ib = SlotOf(c.b, c.key.indexB);
    }
    if (placesStale) {
        for (KeptEntry& entry : kept) {
            entry.key.indexA = entry.key.a->index;
            entry.key.indexB = entry.key.b->index;
        }
        placesStale = false;
    }
    const auto keptLess = [](const KeptEntry& x, const KeptEntry& y) {
        return KeyLess(x.key, y.key);
    };
    if (!std::is_sorted(kept.begin(), kept.end(), keptLess))
        std::sort(kept.begin(), kept.end(), keptLess);
    const bool inOrder =
        std::is_sorted(contacts.begin(), contacts.end(),
                       [](const Entry& x, const Entry& y) { return KeyLess(x.key, y.key); });
    std::size_t cursor = 0;
    for (Entry& c : contacts) {
        if (inOrder) {
            while (cursor < kept.size() && KeyLess(kept[cursor].key, c.key))
                ++cursor;
        } else {
            cursor = static_cast<std::size_t>(
                std::lower_bound(kept.begin(), kept.end(), c.key,
                                 [](const KeptEntry& entry, const Key& key) {
                                     return KeyLess(entry.key, key);
                                 }) -
                kept.begin());
        }
        const bool found = cursor < kept.size() && kept[cursor].key == c.key;
        Prepare(c, found ? &kept[cursor].kept : nullptr);
    }
    for (int round = 0; round < kVelocityRounds; ++round)
        for (Entry& c : contacts)
            SolveVelocities(c);
    kept.clear();
    for (const Entry& c : contacts) {
        KeptEntry& entry = kept.emplace_back();
        entry.key = c.key;
        Kept& k = entry.kept;
        k.normal = c.normal;
        k.count = c.count;
        for (uint32_t p = 0; p < c.count; ++p) {
            k.normalImpulse[p] = c.points[p].normalImpulse;
            k.tangentImpulse[p] = c.points[p].tangentImpulse;
        }
    }
    // Each pair of outlines is tested once per pass, so keys are unique;
    // should one come twice, the later contact is the one kept.
    if (!inOrder)
        std::stable_sort(kept.begin(), kept.end(), keptLess);
    std::size_t out = 0;
    for (std::size_t k = 0; k < kept.size(); ++k) {
        if (k + 1 < kept.size() && kept[k + 1].key == kept[k].key)
            continue;
        if (out != k)
            kept[out] = kept[k];
        ++out;
    }
    kept.resize(out);
    for (int round = 0; round < kPositionRounds; ++round)
        for (Entry& c : contacts)
            SolvePositions(c);
    for (std::size_t k = 0; k < owners.size(); ++k) {
        RigidBody& body = *owners[k];
        body.velocity = solverBodies[k].velocity;
        body.angularVelocity = solverBodies[k].angularVelocity;
        body.position = solverBodies[k].position;
        slots[body.index] = kNoSlot;
    }
    solverBodies.clear();
    owners.clear();
    contacts.clear();
}

} // namespace Flurr
