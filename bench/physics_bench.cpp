// The physics world's step against Box2D 2.4 on the same scenes: a heap of
// boxes in a walled pit (500 and 2,000 boxes), a pyramid of 20 rows, and a
// level-like scene of 300 static floor polygons with 50 falling bodies.
// Both step by 0.016 s with the same box sizes; Box2D uses its default
// iterations (8 velocity, 3 position). Each benchmark iteration is one step
// of a scene that keeps evolving, so the mean covers the fall, the impacts
// and the settling. Our world also runs without its broad phase where that
// finishes in reasonable time, to show what the broad phase buys.
//
// Both worlds must move alike for the times to compare: our default gravity
// of -50 acts on a velocity that moves a body by velocity * dt * 10, so
// bodies fall at 500 world units per second squared, and Box2D (one world
// unit to the metre) gets that gravity. At Box2D's textbook -10 its boxes
// fall fifty times slower: the heaps land as neat, barely touching columns
// and the level's bodies hardly reach the first platforms, which made its
// step look several times cheaper than the same work is. Box2D still caps a
// body's travel at 2 units per step where ours is not capped, so its impacts
// stay gentler, and in the level none of its bodies falls far enough to
// leave the level within the run. Static fixtures get our friction of 0.7
// too (Box2D's default is 0.2).

#include <benchmark/benchmark.h>
#include <box2d/box2d.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "physics/PhysicsWorld.h"

namespace {

using Flurr::CollisionPolygon;
using Flurr::CollisionShape;
using Flurr::PhysicsWorld;
using Flurr::Vec2;

// World units (our engine) and metres (Box2D) alike.
constexpr float kBoxSize = 10.0f;
constexpr int kSteps = 300; // 4.8 s of game time
// The heap's and pyramid's floor tops out at y = 0; a body below this went
// through it. The level scene has no floor under its gaps, so there it
// counts bodies that missed every platform and left the level.
constexpr float kFellOutBelow = -3.0f * kBoxSize;

struct BoxLayout {
    float x, y, halfWidth, halfHeight;
};
struct PolygonLayout {
    std::vector<Vec2> points; // counter-clockwise, about the origin
    float x, y;
};
struct Scene {
    std::vector<BoxLayout> fixedBoxes;
    std::vector<PolygonLayout> fixedPolygons;
    std::vector<BoxLayout> movingBoxes;
};

uint32_t NextRandom(uint32_t& seed) {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
}
float Random01(uint32_t& seed) {
    return static_cast<float>(NextRandom(seed) % 10000) / 10000.0f;
}

// Boxes in loose columns above a pit just wide enough for them.
Scene HeapScene(int count) {
    Scene s;
    const int columns = static_cast<int>(std::sqrt(static_cast<float>(count)));
    const float spacing = kBoxSize * 1.2f;
    const float width = columns * spacing + 4 * kBoxSize;
    const float wallHeight = (count / columns + 4) * spacing;
    s.fixedBoxes.push_back({0, -kBoxSize, width / 2 + 2 * kBoxSize, kBoxSize});
    s.fixedBoxes.push_back({-width / 2 - kBoxSize, wallHeight / 2, kBoxSize, wallHeight / 2});
    s.fixedBoxes.push_back({width / 2 + kBoxSize, wallHeight / 2, kBoxSize, wallHeight / 2});
    uint32_t seed = 7;
    for (int k = 0; k < count; ++k) {
        const int column = k % columns;
        const int row = k / columns;
        const float jitter = (Random01(seed) - 0.5f) * kBoxSize * 0.1f;
        s.movingBoxes.push_back({-width / 2 + 2 * kBoxSize + column * spacing + jitter,
                                 kBoxSize + row * spacing, kBoxSize / 2, kBoxSize / 2});
    }
    return s;
}

Scene PyramidScene(int rows) {
    Scene s;
    s.fixedBoxes.push_back({0, -kBoxSize, rows * kBoxSize * 2, kBoxSize});
    for (int row = 0; row < rows; ++row)
        for (int k = 0; k < rows - row; ++k)
            s.movingBoxes.push_back({(k - (rows - row - 1) * 0.5f) * kBoxSize,
                                     kBoxSize * 0.5f + row * kBoxSize, kBoxSize / 2, kBoxSize / 2});
    return s;
}

// Platforms, slopes and wedges scattered over a 3,000 x 1,500 level, with
// bodies of the player's and crates' sizes dropped over them.
Scene LevelScene() {
    Scene s;
    uint32_t seed = 99;
    for (int k = 0; k < 300; ++k) {
        const float x = (k % 20) * 150.0f - 1500.0f + Random01(seed) * 40.0f;
        const float y = (k / 20) * 100.0f + Random01(seed) * 30.0f;
        const float w = 40.0f + Random01(seed) * 60.0f;
        const float rise = (Random01(seed) - 0.5f) * 20.0f;
        PolygonLayout p;
        if (k % 3 == 2)
            p.points = {{-w / 2, -5}, {w / 2, -5}, {0, 10 + rise}};
        else
            p.points = {{-w / 2, -5}, {w / 2, -5}, {w / 2, 5 + rise}, {-w / 2, 5 - rise}};
        p.x = x;
        p.y = y;
        s.fixedPolygons.push_back(p);
    }
    for (int k = 0; k < 50; ++k) {
        const float half = k % 5 == 0 ? 20.0f : kBoxSize / 2;
        s.movingBoxes.push_back({(k % 10) * 280.0f - 1400.0f + Random01(seed) * 50.0f,
                                 1600.0f + (k / 10) * 60.0f, half * (k % 5 == 0 ? 0.4f : 1.0f),
                                 half});
    }
    return s;
}

CollisionShape ShapeOf(std::vector<Vec2> points) {
    CollisionShape shape;
    shape.localPolygons.push_back(std::make_shared<const CollisionPolygon>(std::move(points)));
    shape.worldPolygons.emplace_back(static_cast<uint32_t>(shape.localPolygons[0]->count));
    return shape;
}
std::vector<Vec2> BoxPoints(const BoxLayout& b) {
    return {{-b.halfWidth, -b.halfHeight},
            {b.halfWidth, -b.halfHeight},
            {b.halfWidth, b.halfHeight},
            {-b.halfWidth, b.halfHeight}};
}

void BuildOurs(PhysicsWorld& world, const Scene& s) {
    for (const BoxLayout& b : s.fixedBoxes)
        world.CreateBody(Vec2(b.x, b.y), 0.0f, ShapeOf(BoxPoints(b)));
    for (const PolygonLayout& p : s.fixedPolygons)
        world.CreateBody(Vec2(p.x, p.y), 0.0f, ShapeOf(p.points));
    // A 10 x 10 box of mass 2 (mass is area times density); the weight
    // does not change how it falls.
    for (const BoxLayout& b : s.movingBoxes)
        world.CreateBody(Vec2(b.x, b.y), 0.02f, ShapeOf(BoxPoints(b)));
}

void BuildBox2D(b2World& world, const Scene& s) {
    b2BodyDef fixedDef;
    b2Body* fixed = world.CreateBody(&fixedDef);
    auto addFixed = [fixed](const b2PolygonShape& shape) {
        b2FixtureDef fixture;
        fixture.shape = &shape;
        fixture.friction = Flurr::kDefaultFriction;
        fixed->CreateFixture(&fixture);
    };
    for (const BoxLayout& b : s.fixedBoxes) {
        b2PolygonShape box;
        box.SetAsBox(b.halfWidth, b.halfHeight, b2Vec2(b.x, b.y), 0.0f);
        addFixed(box);
    }
    for (const PolygonLayout& p : s.fixedPolygons) {
        std::vector<b2Vec2> points;
        for (const Vec2& v : p.points)
            points.emplace_back(v.x + p.x, v.y + p.y);
        b2PolygonShape polygon;
        polygon.Set(points.data(), static_cast<int32>(points.size()));
        addFixed(polygon);
    }
    for (const BoxLayout& b : s.movingBoxes) {
        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.position.Set(b.x, b.y);
        b2Body* body = world.CreateBody(&def);
        b2PolygonShape box;
        box.SetAsBox(b.halfWidth, b.halfHeight);
        b2FixtureDef fixture;
        fixture.shape = &box;
        fixture.density = 1.0f;
        fixture.friction = Flurr::kDefaultFriction;
        body->CreateFixture(&fixture);
    }
}

void RunOurs(benchmark::State& state, const Scene& scene, bool broadPhase) {
    PhysicsWorld world;
    world.useBroadPhase = broadPhase;
    BuildOurs(world, scene);
    for (auto _ : state)
        world.Step(Flurr::kPhysicsStep);
    state.counters["bodies"] = static_cast<double>(world.Bodies().size());
    int fellOut = 0;
    for (const Flurr::RigidBody* b : world.Bodies())
        fellOut += b->position.y < kFellOutBelow;
    state.counters["fell_out"] = fellOut;
}

void RunBox2D(benchmark::State& state, const Scene& scene) {
    b2World world(b2Vec2(0.0f, Flurr::kDefaultGravity * Flurr::kPositionScale));
    BuildBox2D(world, scene);
    for (auto _ : state)
        world.Step(Flurr::kPhysicsStep, 8, 3);
    state.counters["bodies"] = static_cast<double>(world.GetBodyCount());
    int fellOut = 0;
    for (const b2Body* b = world.GetBodyList(); b; b = b->GetNext())
        fellOut += b->GetPosition().y < kFellOutBelow;
    state.counters["fell_out"] = fellOut;
}

void BM_PhysicsHeap_Ours(benchmark::State& state) {
    RunOurs(state, HeapScene(static_cast<int>(state.range(0))), true);
}
void BM_PhysicsHeap_OursAllPairs(benchmark::State& state) {
    RunOurs(state, HeapScene(static_cast<int>(state.range(0))), false);
}
void BM_PhysicsHeap_Box2D(benchmark::State& state) {
    RunBox2D(state, HeapScene(static_cast<int>(state.range(0))));
}
void BM_PhysicsPyramid_Ours(benchmark::State& state) {
    RunOurs(state, PyramidScene(20), true);
}
void BM_PhysicsPyramid_Box2D(benchmark::State& state) {
    RunBox2D(state, PyramidScene(20));
}
void BM_PhysicsLevel_Ours(benchmark::State& state) {
    RunOurs(state, LevelScene(), true);
}
void BM_PhysicsLevel_OursAllPairs(benchmark::State& state) {
    RunOurs(state, LevelScene(), false);
}
void BM_PhysicsLevel_Box2D(benchmark::State& state) {
    RunBox2D(state, LevelScene());
}

BENCHMARK(BM_PhysicsHeap_Ours)
    ->Arg(500)
    ->Arg(2000)
    ->Iterations(kSteps)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhysicsHeap_Box2D)
    ->Arg(500)
    ->Arg(2000)
    ->Iterations(kSteps)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhysicsHeap_OursAllPairs)->Arg(500)->Iterations(kSteps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhysicsPyramid_Ours)->Iterations(kSteps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhysicsPyramid_Box2D)->Iterations(kSteps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhysicsLevel_Ours)->Iterations(kSteps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhysicsLevel_Box2D)->Iterations(kSteps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhysicsLevel_OursAllPairs)->Iterations(kSteps)->Unit(benchmark::kMillisecond);

} // namespace
