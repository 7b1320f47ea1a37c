// The bird system's per-tick cost against the floor: 200 birds over 100
// perches strung along a level, the player's alarm handed to every perch
// each tick (as the player sends it) while it runs along below them, so
// birds glide, look for perches (most ticks find them all taken), land,
// peck and flee. The floor is the same motion and the same choices on a
// plain vector of structs: no objects, components, timers by name, lists
// or messages in between. One iteration is one tick; the floor runs first
// and the system's run reports its time as a multiple of it ("xFloor").
//
// The birds have no sprites here (no renderer): their animation requests
// are the only part of a bird's update left out.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <vector>

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "engine/Random.h"
#include "engine/TimerSet.h"
#include "game/GameSetup.h"
#include "gameplay/BirdComponent.h"
#include "gameplay/BirdPerch.h"
#include "gameplay/BirdSystem.h"
#include "world/Factory.h"

namespace {

using namespace Flurr;

constexpr int kBirds = 200;
constexpr int kPerches = 100;
constexpr float kPerchSpacing = 180.0f;
constexpr float kTick = 1.0f / 60.0f;
// The player runs the length of the perches and back, in ticks.
constexpr int kRunTicks = 1200;

float PlayerX(int64_t tick) {
    const float length = kPerches * kPerchSpacing;
    const float t = static_cast<float>(tick % (2 * kRunTicks)) / kRunTicks;
    return (t < 1.0f ? t : 2.0f - t) * length;
}

Vec2 BirdStart(int k) {
    return Vec2(static_cast<float>(Random() % static_cast<int>(kPerches * kPerchSpacing)),
                400.0f + static_cast<float>(k % 5) * 100.0f);
}

double floorNanoseconds = 0.0;

double PerIteration(std::chrono::steady_clock::duration spent, benchmark::IterationCount n) {
    return static_cast<double>(
               std::chrono::duration_cast<std::chrono::nanoseconds>(spent).count()) /
           static_cast<double>(n);
}

// --- the floor ---------------------------------------------------------------

struct PlainBird {
    Vec2 position, heading{1, 0}, direction{1, 0}, velocity;
    float rotation = 0.0f, glide = 0.0f, run = 0.0f, action = 0.0f, actionDuration = 0.0f;
    int32_t state = BirdState::Glide;
    int32_t perch = -1;
};

bool MoveTowards(PlainBird& b, Vec2 target, float speed) {
    Vec2 d = target - b.position;
    if (d.LengthSquared() < 100.0f)
        return true;
    b.direction = d;
    b.direction.Normalize();
    if (Dot(b.heading, b.direction) == -1.0f)
        b.heading += Vec2(-b.direction.y, b.direction.x) * 0.1f;
    b.heading += b.direction * 0.1f;
    b.heading.Normalize();
    b.velocity += b.heading * (speed * std::max(Dot(b.heading, b.direction), 0.0f));
    if (b.velocity.LengthSquared() > speed * speed) {
        b.velocity.Normalize();
        b.velocity = b.velocity * speed;
    }
    b.position += b.velocity;
    return false;
}

void BM_Birds_PlainVector(benchmark::State& state) {
    SeedRandom(7);
    std::vector<Vec2> perches;
    std::vector<int32_t> taken(kPerches, -1);
    for (int k = 0; k < kPerches; ++k)
        perches.push_back(Vec2(static_cast<float>(k) * kPerchSpacing, 300.0f));
    std::vector<PlainBird> birds(kBirds);
    for (int k = 0; k < kBirds; ++k)
        birds[static_cast<std::size_t>(k)].position = BirdStart(k);
    auto flee = [&](PlainBird& b) {
        if (b.perch >= 0)
            taken[static_cast<std::size_t>(b.perch)] = -1;
        b.perch = -1;
        b.direction = Random() % 2 == 0 ? Vec2(-1, 0) : Vec2(0, 0);
        b.glide = b.run = b.action = 0.0f;
        b.heading = Vec2(static_cast<float>(Random() % 120 - 60), 30.0f);
        b.heading.Normalize();
        b.state = BirdState::Flee;
        benchmark::DoNotOptimize(Random() % 4);
    };
    // The chain of alarms, as the perches pass it on.
    std::vector<int32_t> alarms;
    int64_t tick = 0;
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const Vec2 player(PlayerX(tick++), 52.0f);
        alarms.clear();
        for (int32_t p = 0; p < kPerches; ++p)
            if (DistanceSquared(perches[static_cast<std::size_t>(p)], player) < 90000.0f)
                alarms.push_back(p);
        while (!alarms.empty()) {
            const Vec2 from = perches[static_cast<std::size_t>(alarms.back())];
            alarms.pop_back();
            for (int32_t p = 0; p < kPerches; ++p) {
                const Vec2 at = perches[static_cast<std::size_t>(p)];
                const int32_t sitter = taken[static_cast<std::size_t>(p)];
                if (sitter < 0 || !(DistanceSquared(at, from) < 250000.0f))
                    continue;
                PlainBird& b = birds[static_cast<std::size_t>(sitter)];
                if (!(DistanceSquared(b.position, at) < 125000.0f))
                    continue;
                flee(b);
                alarms.push_back(p);
            }
        }
        for (std::size_t i = 0; i < birds.size(); ++i) {
            PlainBird& b = birds[i];
            b.rotation = std::atan2(b.heading.y, b.heading.x);
            switch (b.state) {
            case BirdState::Glide:
                b.glide += kTick;
                MoveTowards(b, Vec2(b.position.x + b.direction.x * 10.0f, b.position.y), 6.0f);
                if (b.glide > 3.0f && Random() % 10 == 0) {
                    b.glide = 0.0f;
                    int32_t at = Random() % kPerches;
                    for (int tried = 0; tried < kPerches; ++tried) {
                        at = (at + 1) % kPerches;
                        if (taken[static_cast<std::size_t>(at)] < 0) {
                            b.perch = at;
                            taken[static_cast<std::size_t>(at)] = static_cast<int32_t>(i);
                            b.state = BirdState::Landing;
                            break;
                        }
                    }
                }
                break;
            case BirdState::Flee:
                b.run += kTick;
                b.velocity = b.heading * 16.0f;
                MoveTowards(b, b.position + b.velocity, 16.0f);
                if (b.run > 5.0f) {
                    b.run = 0.0f;
                    b.state = BirdState::Glide;
                    b.direction = Random() % 2 == 0 ? Vec2(-1, 0) : Vec2(1, 0);
                }
                break;
            case BirdState::Perched:
                b.rotation = 0.0f;
                b.action += kTick;
                if (b.action > b.actionDuration) {
                    b.actionDuration = 1.0f + 4.0f * static_cast<float>(Random() % 1000) / 1000.0f;
                    b.action = 0.0f;
                }
                break;
            case BirdState::Landing:
                if (MoveTowards(b, perches[static_cast<std::size_t>(b.perch)], 6.0f)) {
                    b.state = BirdState::Perched;
                    b.heading = Random() % 2 == 0 ? Vec2(-1, 0) : Vec2(0, 0);
                }
                break;
            }
        }
        benchmark::DoNotOptimize(birds.data());
        benchmark::ClobberMemory();
    }
    floorNanoseconds = PerIteration(std::chrono::steady_clock::now() - begin, state.iterations());
    int perched = 0;
    for (const PlainBird& b : birds)
        perched += b.state == BirdState::Perched;
    state.counters["perched"] = perched;
}

// --- the system --------------------------------------------------------------

void BM_Birds_System(benchmark::State& state) {
    SeedRandom(7);
    TimerSet::ResetGameClock();
    Core core;
    GameConfig config;
    config.systems = GameSystemSet::None();
    config.systems.birds = true;
    config.playRoute = false;
    const GameSystems made = AddSystems(core, config);
    core.Initialize();
    core.BeginLevel();
    auto add = [&](const char* component, Vec2 at) {
        GameObject* object = made.factory->CreateGameObject();
        object->x = at.x;
        object->y = at.y;
        Component* c = CreateComponent(component);
        object->AddComponent(c);
        c->Initialize();
    };
    for (int k = 0; k < kPerches; ++k)
        add("BirdPerch", Vec2(static_cast<float>(k) * kPerchSpacing, 300.0f));
    for (int k = 0; k < kBirds; ++k)
        add("BirdComponent", BirdStart(k));
    int64_t tick = 0;
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) {
        TimerSet::AdvanceGameClock(kTick);
        Core::Broadcast(PerchAlertPlayerMessage(PlayerX(tick++), 52.0f));
        made.birds->Update(kTick);
        benchmark::ClobberMemory();
    }
    const double spent = PerIteration(std::chrono::steady_clock::now() - begin, state.iterations());
    if (floorNanoseconds > 0.0)
        state.counters["xFloor"] = spent / floorNanoseconds;
    int perched = 0;
    for (BirdComponent* bird : made.birds->Birds())
        perched += bird->state == BirdState::Perched;
    state.counters["perched"] = perched;
    core.Shutdown();
}

} // namespace

BENCHMARK(BM_Birds_PlainVector)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Birds_System)->Unit(benchmark::kMicrosecond);
