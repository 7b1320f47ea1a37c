#pragma once
// Resolves the contacts of one collision pass together, so resting bodies,
// stacks and heaps settle instead of rocking, toppling or sinking.
//
// Driven by the world: each pair's contact is added as the pass finds it,
// then Solve() runs once after the pair loop and the list is emptied.
//
// Why not one impulse per contact as it is found: a contact acting at two
// points one after the other turns a flat landing into spin (the second
// point sees the first point's push); a box in a stack is pushed by the
// one above after its own ground contact was settled, so nothing from the
// ground reaches the boxes above within a step; and pushing each overlap
// fully out, from outlines placed before any other correction, both drives
// heaped bodies through thick ground and leaves resting pairs touching by
// less than the narrow phase counts as contact, so they drop onto each
// other again every other step.
//
// So: a few rounds over every contact, each point keeping the impulse it
// has built up (never pulling, friction within the Coulomb limit of it);
// then overlaps are pushed out in a few rounds of their own, a share at a
// time, from the overlap found less what the bodies have moved apart since
// their outlines were placed, leaving a small overlap so resting contacts
// stay contacts. Positions move without adding speed.
//
// Invariant: the list only names bodies for the duration of one pass.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/Vec2.h"
#include "physics/Collision.h"

namespace Flurr {

struct RigidBody;

class ContactSolver {
public:
    // Rounds over all contacts, velocity then position (Box2D's defaults
    // for the velocity rounds).
    static constexpr int kVelocityRounds = 8;
    static constexpr int kPositionRounds = 3;

    // A contact to resolve with restitution `e` and friction `mu`.
    void Add(const Contact& contact, float e, float mu);
    // Resolves every contact added since the last call, then forgets them
    // (all but the pushes they ended with, which the same contact starts
    // from in the next call).
    void Solve();
    // Drops what is kept of the contacts of `body`, which is going away.
    void Forget(const RigidBody* body);
    // Bodies were made or removed, which moves others in the list: the kept
    // contacts' places are looked up again in the next Solve().
    void BodiesMoved() { placesStale = true; }
    void Clear();

private:
    struct Point {
        Vec2 at; // world point where the impulse acts
        Vec2 rA, rB;
        float normalMass = 0.0f;  // 1 / the normal denominator
        float tangentMass = 0.0f; // 1 / the tangent denominator
        float target = 0.0f;      // normal speed to reach: the bounce
        float normalImpulse = 0.0f;
        float tangentImpulse = 0.0f;
    };
    // The same contact in the next step: the same two outlines of the same
    // two bodies. The bodies' places in the list are kept alongside, so
    // keys compare without reaching into the bodies; they are those of the
    // step the key was made in, and Solve() brings the kept keys' up to
    // date after bodies were made or removed.
    struct Key {
        const RigidBody* a;
        const RigidBody* b;
        uint32_t indexA, indexB;
        uint32_t polygonA, polygonB;
        // While both keys' places are current.
        bool operator==(const Key& o) const {
            return indexA == o.indexA && indexB == o.indexB && polygonA == o.polygonA &&
                   polygonB == o.polygonB;
        }
    };
    // By the bodies' places in the list, then the outlines: the order in
    // which the pass finds contacts.
    static bool KeyLess(const Key& x, const Key& y);
    // What a contact ended a step with.
    struct Kept {
        Vec2 normal;
        uint32_t count = 0;
        float normalImpulse[2] = {0.0f, 0.0f};
        float tangentImpulse[2] = {0.0f, 0.0f};
    };
    struct KeptEntry {
        Key key;
        Kept kept;
    };
    // The moving parts of a body, copied in for the rounds and written back
    // after them: the rounds visit every contact eight times, and a few
    // small records packed together stay in cache where the bodies
    // themselves would not.
    struct SolverBody {
        Vec2 velocity;
        float angularVelocity;
        float inverseMass;
        float inverseInertia;
        Vec2 position;
    };
    static constexpr uint32_t kNoSlot = UINT32_MAX;

    struct Entry {
        Key key{};
        RigidBody* a = nullptr;
        RigidBody* b = nullptr;
        uint32_t ia = 0, ib = 0; // slots in solverBodies
        Vec2 normal;             // unit, from b towards a
        // Overlap along the normal when the outlines were placed, and where
        // the bodies were then; 0 for a contact still ahead.
        float depth = 0.0f;
        Vec2 placedA, placedB;
        float restitution = 0.0f;
        float friction = 0.0f;
        uint32_t count = 0;
        Point points[2];
        // For two points: how a push at one changes the normal speed at
        // each, and whether the two pushes can be found together.
        float k11 = 0.0f, k12 = 0.0f, k22 = 0.0f;
        bool blockSolvable = false;
    };

    // Fixes the lever arms and masses and starts from the kept pushes.
    // `last`: what the same contact ended the last step with, if it had one.
    void Prepare(Entry& c, const Kept* last);
    void SolveVelocities(Entry& c);
    [[gnu::always_inline]] inline void SolveVelocities(Entry& c, SolverBody& a, SolverBody& b);
    // Both normal pushes of a two-point contact at once; false when no
    // consistent answer came out, and nothing was changed.
    [[gnu::always_inline]] inline bool SolvePair(Entry& c, SolverBody& a, SolverBody& b);
    void SolvePositions(Entry& c);
    // The body's slot in solverBodies, copying it in on first use; `index`
    // is the body's place in the list.
    uint32_t SlotOf(RigidBody* body, uint32_t index);

    std::vector<Entry> contacts;
    // Sorted by KeyLess: a sorted list is rebuilt every step without allocating,
    // where a hash map would allocate a node per contact.
    std::vector<KeptEntry> kept;
    std::vector<SolverBody> solverBodies;
    std::vector<RigidBody*> owners; // of each slot
    std::vector<uint32_t> slots;    // by body index; kNoSlot outside Solve()
    bool placesStale = false;       // see BodiesMoved()
};

} // namespace Flurr
