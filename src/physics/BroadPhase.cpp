#include "physics/BroadPhase.h"

#include <algorithm>
#include <cmath>

#include "physics/RigidBody.h"

namespace Flurr {

namespace {

// Bounds grow by this much (world units, plus a share of the coordinates'
// size) so float rounding in the narrow phase's projections can never
// make it see contact where the bounds say there is none.
constexpr float kMarginAbsolute = 1e-3f;
constexpr float kMarginRelative = 1e-4f;
// Cell size in mean reaches of the moving bodies (origin to furthest
// vertex): about one body across, so a row's query covers few cells with few
// bodies in each (measured on the heap benchmark: 2 beats 1.5 and 3).
constexpr double kCellReaches = 2.0;
// Slack around a row's query, in cells. None: only the player's floor
// responses change speeds during the pass (every other contact is solved
// after it), so a query is seldom asked again, and slack only adds
// candidates.
constexpr float kQuerySlack = 0.0f;
// Bodies spanning more cells than this are listed for every row instead.
constexpr int64_t kMaxBodyCells = 256;
// A query spanning more cells than this walks the whole row instead.
constexpr int64_t kMaxQueryCells = 4096;

// One key per cell, for the cells of bodies entered again during a pass.
uint64_t CellKey(int64_t cx, int64_t cy) {
    const uint64_t bias = uint64_t(1) << 31;
    return ((static_cast<uint64_t>(cx) + bias) << 32) |
           ((static_cast<uint64_t>(cy) + bias) & 0xffffffffu);
}

// Cell of a coordinate, kept well inside the keys' range. Cells only need
// to be the same for bodies entered and queries made with the same size, so
// one division per size does (see CellsOf()).
int64_t CellOf(float coordinate, double inverseCellSize) {
    const double c = std::floor(static_cast<double>(coordinate) * inverseCellSize);
    return static_cast<int64_t>(std::clamp(c, -1073741824.0, 1073741824.0));
}

bool Finite(float v) {
    return std::isfinite(v);
}

bool IsStatic(const RigidBody& b) {
    return b.density == 0.0f && b.inverseMass == 0.0f && b.velocity.x == 0.0f &&
           b.velocity.y == 0.0f;
}

} // namespace

bool BroadPhase::FiniteBox(const Box& b) const {
    return Finite(b.minX) && Finite(b.minY) && Finite(b.maxX) && Finite(b.maxY);
}

BroadPhase::CellRange BroadPhase::CellsOf(const Box& b, float size) {
    const double inverse = 1.0 / static_cast<double>(size);
    return {CellOf(b.minX, inverse), CellOf(b.minY, inverse), CellOf(b.maxX, inverse),
            CellOf(b.maxY, inverse)};
}

bool BroadPhase::StaticLayerStillValid(const std::vector<RigidBody*>& list,
                                       const std::vector<uint32_t>& statics) const {
    if (!staticValid || statics.size() != staticBodies.size() ||
        reachCellSize != staticReachCellSize)
        return false;
    for (std::size_t o = 0; o < statics.size(); ++o) {
        const RigidBody* b = list[statics[o]];
        if (b != staticBodies[o] || b->shape.placements != staticPlacements[o])
            return false;
    }
    return true;
}

void BroadPhase::HashedGrid::Reset(std::size_t entryCount) {
    // About two buckets per entry, so few cells share one.
    uint32_t bits = 4;
    while (bits < 30 && (std::size_t(1) << bits) < entryCount * 2)
        ++bits;
    shift = 64 - bits;
    start.assign((std::size_t(1) << bits) + 1, 0);
    items.resize(entryCount);
}

uint32_t BroadPhase::HashedGrid::Bucket(int64_t cx, int64_t cy) const {
    const uint64_t h =
        (static_cast<uint64_t>(cx) * 0x9E3779B97F4A7C15ull + static_cast<uint64_t>(cy)) *
        0xC2B2AE3D27D4EB4Full;
    return static_cast<uint32_t>(h >> shift);
}

void BroadPhase::Fill(HashedGrid& grid, const std::vector<CellRange>& ranges,
                      std::size_t entryCount) {
    grid.Reset(entryCount);
    // Count each bucket's entries into the slot after it, sum them up into
    // starts, then place every entry, moving each bucket's start along.
    for (const CellRange& r : ranges)
        if (r.Count() > 0)
            for (int64_t cx = r.x0; cx <= r.x1; ++cx)
                for (int64_t cy = r.y0; cy <= r.y1; ++cy)
                    ++grid.start[grid.Bucket(cx, cy) + 1];
    for (std::size_t b = 1; b < grid.start.size(); ++b)
        grid.start[b] += grid.start[b - 1];
    for (std::size_t k = 0; k < ranges.size(); ++k) {
        const CellRange& r = ranges[k];
        if (r.Count() > 0)
            for (int64_t cx = r.x0; cx <= r.x1; ++cx)
                for (int64_t cy = r.y0; cy <= r.y1; ++cy)
                    grid.items[grid.start[grid.Bucket(cx, cy)]++] = static_cast<uint32_t>(k);
    }
    // Each start has moved to the next bucket's: shift them back.
    for (std::size_t b = grid.start.size() - 1; b > 0; --b)
        grid.start[b] = grid.start[b - 1];
    grid.start[0] = 0;
}

void BroadPhase::Build(const std::vector<RigidBody*>& list) {
    bodies = &list;
    const std::size_t n = list.size();
    boxes.assign(n, Box{0, 0, 0, 0});
    exact.assign(n, 0);
    present.assign(n, 0);
    enteredSpeed.assign(n, Vec2());
    swept.assign(n, Box{0, 0, 0, 0});
    sweptFinite.assign(n, 0);
    stamp.assign(n, 0);
    stampValue = 0;
    always.clear();
    for (auto& [key, entries] : changed)
        entries.clear();

    // Cells sized by the moving bodies (their outlines'
    // reach from the origin, which turning does not change).
    double reachSum = 0.0;
    std::size_t moving = 0;
    statics.clear();
    isStatic.assign(n, 0);
    for (std::size_t k = 0; k < n; ++k) {
        const RigidBody& b = *list[k];
        if (IsStatic(b)) {
            statics.push_back(static_cast<uint32_t>(k));
            isStatic[k] = 1;
            continue;
        }
        float reach = 0.0f;
        for (const auto& local : b.shape.localPolygons)
            if (local)
                for (const Vec2& v : local->vertices)
                    reach = std::max(reach, v.LengthSquared());
        reachSum += std::sqrt(reach);
        ++moving;
    }
    reachCellSize = moving ? static_cast<float>(kCellReaches * reachSum / moving) : 64.0f;
    if (!(reachCellSize > 1e-3f) || !Finite(reachCellSize))
        reachCellSize = 1.0f;

    auto measure = [](const RigidBody& body, Box& box, bool& isPresent, bool& isExact) {
        box = Box{INFINITY, INFINITY, -INFINITY, -INFINITY};
        isPresent = false;
        bool proper = true;
        for (const CollisionPolygon& polygon : body.shape.worldPolygons) {
            if (polygon.count == 0)
                continue;
            isPresent = true;
            for (const Vec2& v : polygon.vertices) {
                box.minX = std::min(box.minX, v.x);
                box.minY = std::min(box.minY, v.y);
                box.maxX = std::max(box.maxX, v.x);
                box.maxY = std::max(box.maxY, v.y);
            }
            if (!polygon.IsProperConvex())
                proper = false;
        }
        const bool finite = std::isfinite(box.minX) && std::isfinite(box.minY) &&
                            std::isfinite(box.maxX) && std::isfinite(box.maxY) &&
                            std::isfinite(body.velocity.x) && std::isfinite(body.velocity.y);
        isExact = isPresent && proper && finite;
        if (isExact) {
            const float size = std::max({std::fabs(box.minX), std::fabs(box.minY),
                                         std::fabs(box.maxX), std::fabs(box.maxY)});
            const float margin = kMarginAbsolute + kMarginRelative * size;
            box.minX -= margin;
            box.minY -= margin;
            box.maxX += margin;
            box.maxY += margin;
        }
    };

    // Moving bodies' cells are at least as large as their swept bounds are
    // on average: bodies falling fast sweep far, and small cells would
    // enter each of them in dozens.
    double sweptSum = 0.0;
    std::size_t swepts = 0;
    for (std::size_t k = 0; k < n; ++k) {
        if (isStatic[k])
            continue;
        bool p, e;
        measure(*list[k], boxes[k], p, e);
        present[k] = p;
        exact[k] = e;
        enteredSpeed[k] = list[k]->velocity;
        if (p && e) {
            const Box b = Swept(static_cast<uint32_t>(k));
            const float extent = std::max(b.maxX - b.minX, b.maxY - b.minY);
            if (Finite(extent)) {
                sweptSum += extent;
                ++swepts;
            }
        }
    }
    cellSize = reachCellSize;
    if (swepts && Finite(static_cast<float>(sweptSum / swepts)))
        cellSize = std::max(cellSize, static_cast<float>(sweptSum / swepts));
    ranges.assign(n, CellRange{0, 0, -1, -1});
    entries = 0;
    changedAny = false;
    for (std::size_t k = 0; k < n; ++k) {
        if (isStatic[k] || !present[k])
            continue;
        if (!exact[k])
            always.push_back(static_cast<uint32_t>(k));
        else
            Enter(static_cast<uint32_t>(k), true);
    }
    Fill(cells, ranges, entries);

    if (!StaticLayerStillValid(list, statics)) {
        staticBodies.clear();
        staticPlacements.clear();
        staticExact.assign(statics.size(), StaticPairing::Absent);
        staticBoxes.assign(statics.size(), Box{0, 0, 0, 0});
        staticRanges.assign(statics.size(), CellRange{0, 0, -1, -1});
        std::vector<float> extents;
        for (std::size_t o = 0; o < statics.size(); ++o) {
            const RigidBody& b = *list[statics[o]];
            staticBodies.push_back(&b);
            staticPlacements.push_back(b.shape.placements);
            bool p, e;
            measure(b, staticBoxes[o], p, e);
            staticExact[o] = !p  ? StaticPairing::Absent
                             : e ? StaticPairing::Exact
                                 : StaticPairing::Always;
            if (staticExact[o] == StaticPairing::Exact) {
                const Box& box = staticBoxes[o];
                extents.push_back(std::max(box.maxX - box.minX, box.maxY - box.minY));
            }
        }
        // Cells about as large as a typical static body, so each sits in a
        // few of them, but no smaller than the moving bodies' cells: a
        // moving body's query, which can sweep far, then covers few too.
        staticCellSize = reachCellSize;
        if (!extents.empty()) {
            std::nth_element(extents.begin(), extents.begin() + extents.size() / 2, extents.end());
            const float median = extents[extents.size() / 2];
            if (Finite(median))
                staticCellSize = std::max(staticCellSize, median);
        }
        std::size_t staticEntries = 0;
        for (std::size_t o = 0; o < statics.size(); ++o) {
            if (staticExact[o] != StaticPairing::Exact)
                continue;
            const CellRange r = CellsOf(staticBoxes[o], staticCellSize);
            if (r.Count() > kMaxBodyCells) {
                staticExact[o] = StaticPairing::ExactEveryRow;
                continue;
            }
            staticRanges[o] = r;
            staticEntries += static_cast<std::size_t>(r.Count());
        }
        Fill(staticCells, staticRanges, staticEntries);
        staticReachCellSize = reachCellSize;
        staticValid = true;
    }
    staticIndex.assign(statics.begin(), statics.end());
    for (std::size_t o = 0; o < statics.size(); ++o) {
        const uint32_t k = statics[o];
        boxes[k] = staticBoxes[o];
        swept[k] = Swept(k);
        sweptFinite[k] = FiniteBox(swept[k]);
        const StaticPairing pairing = staticExact[o];
        present[k] = pairing != StaticPairing::Absent;
        exact[k] = pairing == StaticPairing::Exact || pairing == StaticPairing::ExactEveryRow;
        if (pairing == StaticPairing::Always || pairing == StaticPairing::ExactEveryRow)
            always.push_back(k);
    }
    std::sort(always.begin(), always.end());
}

void BroadPhase::Enter(uint32_t k, bool building) {
    enteredSpeed[k] = (*bodies)[k]->velocity;
    const Box b = Swept(k);
    swept[k] = b;
    sweptFinite[k] = FiniteBox(b);
    if (!exact[k] || !FiniteBox(b)) {
        always.push_back(k);
        return;
    }
    const CellRange r = CellsOf(b, cellSize);
    if (r.Count() > kMaxBodyCells) {
        always.push_back(k);
        return;
    }
    if (building) {
        ranges[k] = r;
        entries += static_cast<std::size_t>(r.Count());
        return;
    }
    changedAny = true;
    for (int64_t cx = r.x0; cx <= r.x1; ++cx)
        for (int64_t cy = r.y0; cy <= r.y1; ++cy)
            changed[CellKey(cx, cy)].push_back(k);
}

BroadPhase::Box BroadPhase::Swept(uint32_t k) const {
    Box b = boxes[k];
    const Vec2 v = (*bodies)[k]->velocity;
    if (v.x < 0.0f)
        b.minX += v.x;
    else
        b.maxX += v.x;
    if (v.y < 0.0f)
        b.minY += v.y;
    else
        b.maxY += v.y;
    return b;
}

bool BroadPhase::MayTouch(uint32_t i, uint32_t j) const {
    if (!present[i] || !present[j])
        return false;
    if (!exact[i] || !exact[j])
        return true;
    // Each body's swept bounds are kept from when its speed was last
    // entered, which is its speed now: every change of speed in the pass
    // goes through VelocitiesChanged.
    if (!sweptFinite[i] || !sweptFinite[j])
        return true;
    const Box& a = swept[i];
    const Box& b = swept[j];
    return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY;
}

void BroadPhase::Take(uint32_t j, uint32_t after, std::vector<uint32_t>& out) {
    if (j > after && stamp[j] != stampValue) {
        stamp[j] = stampValue;
        // Bounds apart from the row's now stay apart for the rest of the
        // row: during the row only the row's speed and that of the body
        // just tested change, and bounds that outgrow the query ask again.
        // Left out, they need no sorting.
        if (MayTouch(queryRow, j))
            out.push_back(j);
    }
}

void BroadPhase::Collect(const HashedGrid& grid, const CellRange& r, bool ordinals, uint32_t after,
                         std::vector<uint32_t>& out) {
    // A bucket lists its bodies in list order (Fill enters them so), and
    // ordinals follow list order too: walking from the back, the first body
    // not after `after` ends the walk.
    auto takeBucket = [&](std::size_t bucket) {
        for (uint32_t e = grid.start[bucket + 1]; e > grid.start[bucket]; --e) {
            const uint32_t item = grid.items[e - 1];
            const uint32_t j = ordinals ? staticIndex[item] : item;
            if (j <= after)
                break;
            Take(j, after, out);
        }
    };
    // A query wider than the table visits every bucket once instead.
    if (static_cast<std::size_t>(r.Count()) >= grid.Buckets()) {
        for (std::size_t bucket = 0; bucket < grid.Buckets(); ++bucket)
            takeBucket(bucket);
        return;
    }
    for (int64_t cx = r.x0; cx <= r.x1; ++cx)
        for (int64_t cy = r.y0; cy <= r.y1; ++cy)
            takeBucket(grid.Bucket(cx, cy));
}

void BroadPhase::Candidates(uint32_t row, uint32_t after, std::vector<uint32_t>& out) {
    out.clear();
    queryRow = row;
    listChecked = false;
    const uint32_t n = static_cast<uint32_t>(bodies->size());
    rowBruteForce = !exact[row];
    CellRange r{0, 0, 0, 0};
    if (!rowBruteForce) {
        rowQuery = Swept(row);
        const float slack = cellSize * kQuerySlack;
        rowQuery.minX -= slack;
        rowQuery.minY -= slack;
        rowQuery.maxX += slack;
        rowQuery.maxY += slack;
        if (!FiniteBox(rowQuery))
            rowBruteForce = true;
        else {
            r = CellsOf(rowQuery, cellSize);
            if (r.Count() > kMaxQueryCells)
                rowBruteForce = true;
        }
    }
    if (rowBruteForce) {
        for (uint32_t j = after + 1; j < n; ++j)
            if (present[j])
                out.push_back(j);
        return;
    }
    if (++stampValue == 0) {
        std::fill(stamp.begin(), stamp.end(), 0);
        stampValue = 1;
    }
    Collect(cells, r, false, after, out);
    Collect(staticCells, CellsOf(rowQuery, staticCellSize), true, after, out);
    if (changedAny)
        for (int64_t cx = r.x0; cx <= r.x1; ++cx)
            for (int64_t cy = r.y0; cy <= r.y1; ++cy) {
                auto it = changed.find(CellKey(cx, cy));
                if (it != changed.end())
                    for (uint32_t j : it->second)
                        Take(j, after, out);
            }
    for (uint32_t j : always)
        Take(j, after, out);
    std::sort(out.begin(), out.end());
    listChecked = true;
}

bool BroadPhase::VelocitiesChanged(uint32_t row, uint32_t other) {
    bool rowChanged = false;
    for (uint32_t k : {row, other}) {
        const Vec2 v = (*bodies)[k]->velocity;
        // Bitwise sameness: a NaN speed is always entered again (as a body
        // listed for every row).
        if (present[k] && !(v.x == enteredSpeed[k].x && v.y == enteredSpeed[k].y)) {
            Enter(k, false);
            rowChanged = rowChanged || k == row;
        }
    }
    // The row's bounds only move with its speed, and each change of speed
    // was checked against the query when it was entered.
    if (rowBruteForce || !rowChanged)
        return false;
    listChecked = false;
    const Box q = Swept(row);
    if (!FiniteBox(q))
        return true;
    return q.minX < rowQuery.minX || q.minY < rowQuery.minY || q.maxX > rowQuery.maxX ||
           q.maxY > rowQuery.maxY;
}

} // namespace Flurr
