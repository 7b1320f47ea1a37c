// The particle system's per-frame cost against the floor: ten effects of
// 500 long-lived particles each (5,000 in all), every particle moved,
// turned, pulled, slowed and faded each frame by the operators "Move",
// "Rotate", "AlphaDecay", "LifespanDecay", "Force" and "Drag". The floor
// is the same arithmetic on a plain vector of structs, with no objects,
// sprites or operator calls in between. One benchmark iteration is one
// frame at 60 frames per second.
//
// "Force" pulls sideways as well as down, so every velocity settles on a
// terminal value instead of decaying towards denormal numbers over the
// thousands of frames a run takes.
//
// The particles' objects live in a factory that also holds a level's
// worth of other objects (kLevelObjects), since every particle looks its
// object up by id each frame.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/GameObject.h"
#include "engine/Random.h"
#include "graphics/GraphicsComponent.h"
#include "particles/ParticleSystem.h"
#include "world/Factory.h"

namespace {

using namespace Flurr;

constexpr int kEffects = 10;
constexpr int kParticlesPerEffect = 500;
constexpr int kLevelObjects = 2000;
constexpr float kFrame = 1.0f / 60.0f;

// Long enough that nothing dies during a run.
const char* const kEffectText = R"(Root
  ParticleEffect
    MaxParticles:500
    Emitters
      Emitter
        Type:EmitInstantaneously
        Amount:500
      -Emitter
    -Emitters
    Initializers
      Initializer
        Type:Animation
        Name:NoAnimation
        Width:8
        Height:8
      -Initializer
      Initializer
        Type:LifespanRandom
        MinimumLifespan:100000
        MaximumLifespan:100100
      -Initializer
      Initializer
        Type:PositionWithinCircleRandom
        MinimumDistance:0
        MaximumDistance:40
      -Initializer
      Initializer
        Type:VelocityRandom
        MinimumSpeed:50
        MaximumSpeed:150
        XDirection:0
        YDirection:1
        MaximumAngleVariance:60
      -Initializer
      Initializer
        Type:RotationSpeedRandom
        MinimumRotationSpeed:-180
        MaximumRotationSpeed:180
      -Initializer
    -Initializers
    Operators
      Operator
        Type:LifespanDecay
      -Operator
      Operator
        Type:Force
        XDirection:0.25
        YDirection:-1
        Strength:200
      -Operator
      Operator
        Type:Drag
        Coefficient:0.02
      -Operator
      Operator
        Type:Move
      -Operator
      Operator
        Type:Rotate
      -Operator
      Operator
        Type:AlphaDecay
      -Operator
    -Operators
  -ParticleEffect
-Root
)";

class EffectFolder {
public:
    EffectFolder() {
        namespace fs = std::filesystem;
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        root = fs::temp_directory_path() / ("cloudmere-bench-" + std::to_string(stamp));
        fs::create_directories(root);
        std::ofstream(root / "swarm.zorvel") << kEffectText;
    }
    ~EffectFolder() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    std::string Path() const { return root.string() + "/"; }

private:
    std::filesystem::path root;
};

void BM_Particles_System(benchmark::State& state) {
    SeedRandom(1);
    RegisterComponent<GraphicsComponent>();
    EffectFolder folder;
    Factory factory;
    for (int k = 0; k < kLevelObjects; ++k)
        factory.CreateGameObject();
    ParticleSystem particles;
    particles.Initialize();
    particles.SetEffectFolder(folder.Path());
    for (int k = 0; k < kEffects; ++k)
        particles.CreateEffect("swarm", static_cast<float>(k * 100), 0.0f);
    particles.Update(kFrame); // the bursts
    std::size_t live = 0;
    for (const auto& effect : particles.effects)
        live += effect->particles.size();
    for (auto _ : state) {
        particles.Update(kFrame);
        benchmark::ClobberMemory();
    }
    state.counters["particles"] = static_cast<double>(live);
    // Dropped before the factory, which then frees the objects.
    particles.effects.clear();
}

// The same motion with nothing around it.
struct PlainParticle {
    float x, y, rotation, opacity;
    float life, age, rotationSpeed, velocityX, velocityY;
};

void BM_Particles_PlainVector(benchmark::State& state) {
    SeedRandom(1);
    std::vector<PlainParticle> swarm;
    swarm.reserve(kEffects * kParticlesPerEffect);
    for (int k = 0; k < kEffects * kParticlesPerEffect; ++k) {
        const float angle = RandomRange(-1.0f, 1.0f);
        const float speed = RandomRange(50.0f, 150.0f);
        swarm.push_back({RandomRange(-40.0f, 40.0f), RandomRange(-40.0f, 40.0f), 0.0f, 1.0f,
                         RandomRange(100000.0f, 100100.0f), 0.0f, RandomRange(-180.0f, 180.0f),
                         speed * std::sin(angle), speed * std::cos(angle)});
    }
    constexpr float kRadiansPerDegree = 3.14159265f / 180.0f;
    for (auto _ : state) {
        const float dt = kFrame;
        std::size_t kept = 0;
        for (std::size_t i = 0; i < swarm.size(); ++i) {
            PlainParticle p = swarm[i];
            p.age += dt;
            p.life -= dt;
            if (p.life <= 0.0f)
                continue;
            p.velocityX += 0.25f * 200.0f * dt;
            p.velocityY += -1.0f * 200.0f * dt;
            p.velocityX += -p.velocityX * 0.02f;
            p.velocityY += -p.velocityY * 0.02f;
            p.x += p.velocityX * dt;
            p.y += p.velocityY * dt;
            p.rotation += p.rotationSpeed * kRadiansPerDegree * dt;
            p.opacity = p.life / (p.age + p.life);
            swarm[kept++] = p;
        }
        swarm.resize(kept);
        benchmark::DoNotOptimize(swarm.data());
        benchmark::ClobberMemory();
    }
    state.counters["particles"] = static_cast<double>(swarm.size());
}

} // namespace

BENCHMARK(BM_Particles_System)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Particles_PlainVector)->Unit(benchmark::kMicrosecond);
