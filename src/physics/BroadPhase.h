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
//
// Both grids hash their cells into buckets whose entries are stored
// together, filled by counting: no sort and no search per step or per
// query. Bodies of other cells sharing a bucket come out as candidates too;
// the bounds test that follows every query drops them.

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
    // The same for `row` and a body that Candidates() listed for it, which
    // then mostly needs no testing again.
    bool CandidateMayTouch(uint32_t row, uint32_t j) const {
        return listChecked || MayTouch(row, j);
    }
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
    // Entries of bucket b: items[start[b]] up to items[start[b + 1]], in
    // ascending order.
    struct HashedGrid {
        std::vector<uint32_t> start;
        std::vector<uint32_t> items;
        uint32_t shift = 63; // a cell's bucket is the top bits of its hash
        // Sizes the buckets for `entries` entries and clears them.
        void Reset(std::size_t entries);
        uint32_t Bucket(int64_t cx, int64_t cy) const;
        std::size_t Buckets() const { return start.size() - 1; }
    };
    // Fills `grid` with the cells of `ranges` (one per item; items whose
    // range has Count() 0 are left out).
    static void Fill(HashedGrid& grid, const std::vector<CellRange>& ranges, std::size_t entries);
    Box Swept(uint32_t k) const;
    static CellRange CellsOf(const Box& b, float size);
    bool FiniteBox(const Box& b) const;
    // Enters body k with its swept bounds as they are now: into the
    // moving bodies' grid while it is being built (`building`), else into
    // the cells of bodies whose speed changed during the pass.
    void Enter(uint32_t k, bool building);
    bool StaticLayerStillValid(const std::vector<RigidBody*>& list,
                               const std::vector<uint32_t>& statics) const;
    void Collect(const HashedGrid& grid, const CellRange& r, bool ordinals, uint32_t after,
                 std::vector<uint32_t>& out);
    void Take(uint32_t j, uint32_t after, std::vector<uint32_t>& out);

    const std::vector<RigidBody*>* bodies = nullptr;
    std::vector<Box> boxes;         // unswept bounds, margin included
    std::vector<uint8_t> exact;     // outlines the swept test decides exactly
    std::vector<uint8_t> present;   // has any outline with vertices
    std::vector<Vec2> enteredSpeed; // velocity of the bounds last entered
    std::vector<Box> swept;         // bounds swept by that velocity
    std::vector<uint8_t> sweptFinite;
    std::vector<uint32_t> always;  // listed for every row
    std::vector<uint32_t> statics; // places of the static bodies at rest
    std::vector<uint8_t> isStatic;
    std::vector<CellRange> ranges; // per body while building; Count() 0: none
    std::size_t entries = 0;       // cells over all ranges
    HashedGrid cells;
    std::unordered_map<uint64_t, std::vector<uint32_t>> changed;
    bool changedAny = false; // anything entered in `changed` this pass
    std::vector<uint32_t> stamp;
    uint32_t stampValue = 0;
    // Cell sizes: by the moving bodies' reach (the least either grid uses),
    // and the moving bodies' grid's, which grows with their sweeps.
    float reachCellSize = 1.0f;
    float cellSize = 1.0f;
    uint32_t queryRow = 0;
    Box rowQuery{};
    // The listed candidates all passed MayTouch() with the row's bounds as
    // they still are.
    bool listChecked = false;
    bool rowBruteForce = false;

    // The static layer: cells hold ordinals into staticBodies.
    std::vector<const RigidBody*> staticBodies;
    std::vector<uint32_t> staticPlacements;
    // How each static body at rest takes part in the pairing.
    enum class StaticPairing : uint8_t {
        Absent,        // no usable bounds: never paired
        Exact,         // bounds known: listed in the cells it covers
        Always,        // bounds unknown: paired with every moving body
        ExactEveryRow, // bounds known but too large for cells: paired with everyone
    };
    std::vector<StaticPairing> staticExact;
    std::vector<Box> staticBoxes;
    std::vector<uint32_t> staticIndex;
    std::vector<CellRange> staticRanges;
    HashedGrid staticCells;
    float staticCellSize = 0.0f;
    float staticReachCellSize = 0.0f; // reachCellSize when it was built
    bool staticValid = false;
};

} // namespace Flurr
