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

// Biased so keys sort by column, then row, with negative cells first.
uint64_t CellKey(int64_t cx, int64_t cy) {
    const uint64_t bias = uint64_t(1) << 31;
    return ((static_cast<uint64_t>(cx) + bias) << 32) |
           ((static_cast<uint64_t>(cy) + bias) & 0xffffffffu);
}

// Cell of a coordinate, kept well inside the keys' range.
int64_t CellOf(float coordinate, float cellSize) {
    const double c = std::floor(static_cast<double>(coordinate) / cellSize);
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

BroadPhase::CellRange BroadPhase::CellsOf(const Box& b) const {
    return {CellOf(b.minX, cellSize), CellOf(b.minY, cellSize), CellOf(b.maxX, cellSize),
            CellOf(b.maxY, cellSize)};
}

bool BroadPhase::StaticLayerStillValid(const std::vector<RigidBody*>& list,
                                       const std::vector<uint32_t>& statics) const {
    if (!staticValid || statics.size() != staticBodies.size() || cellSize != staticCellSize)
        return false;
    for (std::size_t o = 0; o < statics.size(); ++o) {
        const RigidBody* b = list[statics[o]];
        if (b != staticBodies[o] || b->shape.placements != staticPlacements[o])
            return false;
    }
    return true;
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
    cells.clear();
    for (auto& [key, entries] : changed)
        entries.clear();

    // Cells sized by the moving bodies (their outlines'
    // reach from the origin, which turning does not change).
    double reachSum = 0.0;
    std::size_t moving = 0;
    std::vector<uint32_t> statics;
    for (std::size_t k = 0; k < n; ++k) {
        const RigidBody& b = *list[k];
        if (IsStatic(b)) {
            statics.push_back(static_cast<uint32_t>(k));
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
    cellSize = moving ? static_cast<float>(kCellReaches * reachSum / moving) : 64.0f;
    if (!(cellSize > 1e-3f) || !Finite(cellSize))
        cellSize = 1.0f;

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

    std::vector<uint8_t> isStatic(n, 0);
    for (uint32_t k : statics)
        isStatic[k] = 1;
    for (std::size_t k = 0; k < n; ++k) {
        if (isStatic[k])
            continue;
        bool p, e;
        measure(*list[k], boxes[k], p, e);
        present[k] = p;
        exact[k] = e;
        enteredSpeed[k] = list[k]->velocity;
        if (!p)
            continue;
        if (!e)
            always.push_back(static_cast<uint32_t>(k));
        else
            Enter(static_cast<uint32_t>(k), &cells);
    }
    std::sort(cells.begin(), cells.end());

    if (!StaticLayerStillValid(list, statics)) {
        staticBodies.clear();
        staticPlacements.clear();
        staticExact.assign(statics.size(), 0);
        staticBoxes.assign(statics.size(), Box{0, 0, 0, 0});
        staticCells.clear();
        for (std::size_t o = 0; o < statics.size(); ++o) {
            const RigidBody& b = *list[statics[o]];
            staticBodies.push_back(&b);
            staticPlacements.push_back(b.shape.placements);
            bool p, e;
            measure(b, staticBoxes[o], p, e);
            staticExact[o] = p ? (e ? 1 : 2) : 0; // 0 absent, 1 exact, 2 always
            if (staticExact[o] != 1)
                continue;
            const CellRange r = CellsOf(staticBoxes[o]);
            if (r.Count() > kMaxBodyCells) {
                staticExact[o] = 3; // exact, but listed for every row
                continue;
            }
            for (int64_t cx = r.x0; cx <= r.x1; ++cx)
                for (int64_t cy = r.y0; cy <= r.y1; ++cy)
                    staticCells.emplace_back(CellKey(cx, cy), static_cast<uint32_t>(o));
        }
        std::sort(staticCells.begin(), staticCells.end());
        staticCellSize = cellSize;
        staticValid = true;
    }
    staticIndex.assign(statics.begin(), statics.end());
    for (std::size_t o = 0; o < statics.size(); ++o) {
        const uint32_t k = statics[o];
        boxes[k] = staticBoxes[o];
        swept[k] = Swept(k);
        sweptFinite[k] = FiniteBox(swept[k]);
        present[k] = staticExact[o] != 0;
        exact[k] = staticExact[o] == 1 || staticExact[o] == 3;
        if (staticExact[o] == 2 || staticExact[o] == 3)
            always.push_back(k);
    }
    std::sort(always.begin(), always.end());
}

void BroadPhase::Enter(uint32_t k, std::vector<std::pair<uint64_t, uint32_t>>* sorted) {
    enteredSpeed[k] = (*bodies)[k]->velocity;
    const Box b = Swept(k);
    swept[k] = b;
    sweptFinite[k] = FiniteBox(b);
    if (!exact[k] || !FiniteBox(b)) {
        always.push_back(k);
        return;
    }
    const CellRange r = CellsOf(b);
    if (r.Count() > kMaxBodyCells) {
        always.push_back(k);
        return;
    }
    for (int64_t cx = r.x0; cx <= r.x1; ++cx)
        for (int64_t cy = r.y0; cy <= r.y1; ++cy) {
            if (sorted)
                sorted->emplace_back(CellKey(cx, cy), k);
            else
                changed[CellKey(cx, cy)].push_back(k);
        }
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
        out.push_back(j);
    }
}

void BroadPhase::Collect(const std::vector<std::pair<uint64_t, uint32_t>>& grid, const CellRange& r,
                         bool ordinals, uint32_t after, std::vector<uint32_t>& out) {
    // Keys sort by column, then row: each column's run is contiguous.
    for (int64_t cx = r.x0; cx <= r.x1; ++cx) {
        const uint64_t first = CellKey(cx, r.y0);
        const uint64_t last = CellKey(cx, r.y1);
        auto it = std::lower_bound(grid.begin(), grid.end(), std::make_pair(first, 0u));
        for (; it != grid.end() && it->first <= last; ++it)
            Take(ordinals ? staticIndex[it->second] : it->second, after, out);
    }
}

void BroadPhase::Candidates(uint32_t row, uint32_t after, std::vector<uint32_t>& out) {
    out.clear();
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
            r = CellsOf(rowQuery);
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
    Collect(staticCells, r, true, after, out);
    if (!changed.empty())
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
}

bool BroadPhase::VelocitiesChanged(uint32_t row, uint32_t other) {
    for (uint32_t k : {row, other}) {
        const Vec2 v = (*bodies)[k]->velocity;
        // Bitwise sameness: a NaN speed is always entered again (as a body
        // listed for every row).
        if (present[k] && !(v.x == enteredSpeed[k].x && v.y == enteredSpeed[k].y))
            Enter(k, nullptr);
    }
    if (rowBruteForce)
        return false;
    const Box q = Swept(row);
    if (!FiniteBox(q))
        return true;
    return q.minX < rowQuery.minX || q.minY < rowQuery.minY || q.maxX > rowQuery.maxX ||
           q.maxY > rowQuery.maxY;
}

} // namespace Flurr
