// The clouds' per-tick cost against the floor: 500 clouds drifting through
// a machine's area, each update fading by depth, moving, and, for those
// that drift out, going through the factory's deferred destruction and
// being replaced by the machine on the next tick. The floor is the same
// motion and the same replacements on a plain vector of structs: no
// objects, components, lists or factory in between. One iteration is one
// tick (the logic system's update and the factory's); the floor runs first
// and the system's run reports its time as a multiple of it ("xFloor").
//
// No renderer: the clouds' sprites exist (their opacity is set) but are
// not drawn.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Random.h"
#include "engine/Report.h"
#include "engine/TimerSet.h"
#include "game/GameSetup.h"
#include "gameplay/CloudMachineComponent.h"
#include "gameplay/LogicSystem.h"
#include "world/Factory.h"

namespace {

using namespace Flurr;

constexpr int kClouds = 500;
constexpr float kTick = 1.0f / 60.0f;
// A narrow area, so that clouds leave and are replaced every few ticks.
constexpr float kWidth = 3000.0f;
constexpr float kHeight = 10000.0f;

double floorNanoseconds = 0.0;

double PerIteration(std::chrono::steady_clock::duration spent, benchmark::IterationCount n) {
    return static_cast<double>(
               std::chrono::duration_cast<std::chrono::nanoseconds>(spent).count()) /
           static_cast<double>(n);
}

struct PlainCloud {
    float x, y, vx, vy, zPos, opacity;
};

PlainCloud Spawn(bool fill) {
    PlainCloud c{};
    const int32_t wide = static_cast<int32_t>(kWidth), high = static_cast<int32_t>(kHeight);
    if (fill || SceneryRandom() % 100 <= 23) {
        c.x = static_cast<float>(SceneryRandom() % wide);
        c.y = static_cast<float>(SceneryRandom() % high);
    } else {
        c.y = static_cast<float>(SceneryRandom() % high);
        c.x = kWidth;
    }
    for (int k = 0; k < 3; ++k)
        benchmark::DoNotOptimize(SceneryRandom());
    benchmark::DoNotOptimize(SceneryRandom());
    c.zPos = -static_cast<float>(SceneryRandom() % 300);
    for (int k = 0; k < 2; ++k)
        benchmark::DoNotOptimize(SceneryRandom());
    c.vx = -100.0f;
    c.vy = 0.0f;
    c.opacity = 0.8f;
    return c;
}

void BM_Clouds_PlainVector(benchmark::State& state) {
    SeedRandom(7);
    std::vector<PlainCloud> clouds;
    for (int k = 0; k < kClouds; ++k)
        clouds.push_back(Spawn(true));
    const float zoom = 4.0f;
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) {
        for (std::size_t i = 0; i < clouds.size();) {
            PlainCloud& c = clouds[i];
            c.opacity = 0.8f * std::clamp((zoom - c.zPos) / 40.0f, 0.0f, 1.0f);
            c.x += c.vx * kTick;
            c.y += c.vy * kTick;
            if (c.x >= 0.0f && c.x <= kWidth && c.y >= 0.0f && c.y <= kHeight) {
                ++i;
                continue;
            }
            clouds[i] = clouds.back();
            clouds.pop_back();
        }
        while (clouds.size() < static_cast<std::size_t>(kClouds))
            clouds.push_back(Spawn(false));
        benchmark::DoNotOptimize(clouds.data());
        benchmark::ClobberMemory();
    }
    floorNanoseconds = PerIteration(std::chrono::steady_clock::now() - begin, state.iterations());
}

void BM_Clouds_System(benchmark::State& state) {
    // No bank is loaded: every new sprite would say its animation is missing.
    const WarningSink previous = SetWarningSink([](const Warning&) {});
    SeedRandom(7);
    TimerSet::ResetGameClock();
    Core core;
    GameConfig config;
    config.systems = GameSystemSet::None();
    config.playRoute = false;
    config.systems.logic = true;
    const GameSystems made = AddSystems(core, config);
    core.Initialize();
    core.BeginLevel();
    GameObject* object = made.factory->CreateGameObject();
    auto* sky = static_cast<CloudMachineComponent*>(CreateComponent("CloudMachineComponent"));
    object->AddComponent(sky);
    sky->Initialize();
    sky->minX = sky->minY = 0.0f;
    sky->maxX = kWidth;
    sky->maxY = kHeight;
    sky->target = kClouds;
    // The first update fills the sky; the ticks measured only replace.
    made.logic->Update(kTick);
    int64_t replaced = 0;
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) {
        TimerSet::AdvanceGameClock(kTick);
        const int32_t before = sky->count;
        made.logic->Update(kTick);
        made.factory->Update(kTick);
        replaced += std::max(0, kClouds - before);
        benchmark::ClobberMemory();
    }
    const double spent = PerIteration(std::chrono::steady_clock::now() - begin, state.iterations());
    if (floorNanoseconds > 0.0)
        state.counters["xFloor"] = spent / floorNanoseconds;
    state.counters["replacedPerTick"] =
        static_cast<double>(replaced) / static_cast<double>(state.iterations());
    core.Shutdown();
    SetWarningSink(previous);
}

} // namespace

BENCHMARK(BM_Clouds_PlainVector)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Clouds_System)->Unit(benchmark::kMicrosecond);
