#pragma once
// Broad phase of the collision pass: which body pairs could produce a
// contact at all, so the narrow phase runs only for those. It never changes
// a result: the pass still visits the remaining pairs in the same order
// (rows by the first body, then by the second), and a pair is skipped only
// when the swept test cannot find a contact for it.
//
// Why that holds: the swept test checks the outlines at every point of a
// sweep over a displacement equal to the relative velocity, on the edge
// axes of both outlines, which for convex outlines with area decides exactly
// whether they meet somewhere along it; so each body's bounds, swept by its
// own velocity, must overlap. Velocities change during the pass (each
// response changes two bodies'), while the world outlines stay put: a body
// whose velocity changed is entered again with its new swept bounds, and a
// row whose own bounds outgrow its query asks again. Bodies with an outline
// that is not convex with area, or with bounds or speeds that are not
// finite, are never skipped.
//
// Static bodies at rest sit in a grid of their own that is kept from step
// to step while none of them is moved, made or removed.

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/Vec2.h"

namespace Flurr {

struct RigidBody;

class BroadPhase {
public:
    // Takes the bodies' world outlines and velocities at the start of a pass
    // (each body's `index` must be its place in the list).
    void Build(const std::vector<RigidBody*>& bodies);

    // The bodies after `after` that body `row` may touch, in list order,
    // with the velocities as they are now.
    void Candidates(uint32_t row, uint32_t after, std::vector<uint32_t>& out);
    // Whether bodies i and j, as they move now, could meet.
    bool MayTouch(uint32_t i, uint32_t j) const;
    // To be called after every pair test, which may have changed both
    // bodies' velocities. True when row `row` must ask for its candidates
    // again.
    bool VelocitiesChanged(uint32_t row, uint32_t other);

private:
    struct Box {
        float minX, minY, maxX, maxY;
    };
    struct CellRange {
        int64_t x0, y0, x1, y1;
        int64_t Count() const { return (x1 - x0 + 1) * (y1 - y0 + 1); }
    };
    Box Swept(uint32_t k) const;
    CellRange CellsOf(const Box& b) const;
    bool FiniteBox(const Box& b) const;
    // Enters body k with its swept bounds as they are now.
    void Enter(uint32_t k, std::vector<std::pair<uint64_t, uint32_t>>* sorted);
    bool StaticLayerStillValid(const std::vector<RigidBody*>& list,
                               const std::vector<uint32_t>& statics) const;
    void Collect(const std::vector<std::pair<uint64_t, uint32_t>>& grid, const CellRange& r,
                 bool ordinals, uint32_t after, std::vector<uint32_t>& out);
    void Take(uint32_t j, uint32_t after, std::vector<uint32_t>& out);

    const std::vector<RigidBody*>* bodies = nullptr;
    std::vector<Box> boxes;         // unswept bounds, margin included
    std::vector<uint8_t> exact;     // outlines the swept test decides exactly
    std::vector<uint8_t> present;   // has any outline with vertices
    std::vector<Vec2> enteredSpeed; // velocity of the bounds last entered
    std::vector<Box> swept;         // bounds swept by that velocity
    std::vector<uint8_t> sweptFinite;
    std::vector<uint32_t> always; // listed for every row
    std::vector<std::pair<uint64_t, uint32_t>> cells;
    std::unordered_map<uint64_t, std::vector<uint32_t>> changed;
    std::vector<uint32_t> stamp;
    uint32_t stampValue = 0;
    float cellSize = 1.0f;
    Box rowQuery{};
    bool rowBruteForce = false;

    // The static layer: cells hold ordinals into staticBodies.
    std::vector<const RigidBody*> staticBodies;
    std::vector<uint32_t> staticPlacements;
    std::vector<uint8_t> staticExact;
    std::vector<Box> staticBoxes;
    std::vector<uint32_t> staticIndex;
    std::vector<std::pair<uint64_t, uint32_t>> staticCells;
    float staticCellSize = 0.0f;
    bool staticValid = false;
};

} // namespace Flurr
