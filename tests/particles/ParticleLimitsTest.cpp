// Effect files asking for absurd numbers: each is brought down to the
// ceilings with one warning naming it, and the game keeps running frames
// of bounded work; all effects together stay under the system's ceiling.

#include "particles/ParticleTestSupport.h"

namespace Flurr {
namespace {

using namespace ParticleTest;

class ParticleLimits : public ParticleGame {};

TEST_F(ParticleLimits, AbsurdEffectFilesAreCappedWithOneWarningAndFramesStayBounded) {
    // Particles born by the billion that die at once (a NaN lifespan), with
    // a NaN size on top.
    std::string flood = EffectText(-1, {Burst(1000000000u), Stream("1e30")},
                                   {Ranged("Lifespan", "nan", "nan"), Ranged("Radius", "nan", "2")},
                                   {{"LifespanDecay", {}}});
    flood.insert(flood.find("  ParticleEffect\n") + 17, "    MaxParticles:4294967295\n");
    Write("flood", flood);
    EngineTest::WarningLog log;
    ParticleEffect* effect = particles->CreateEffect("flood", 0, 0);
    const std::string file = dir.Path("Effects/flood.zorvel");
    EXPECT_EQ(log.Count("particle effect file " + file +
                        " asks for more than an effect may have "
                        "(MaxParticles 4294967295, Amount 1000000000, Rate 1e+30)"),
              1)
        << log;
    EXPECT_EQ(log.Count(file + ":"), 1) << log;
    EXPECT_TRUE(log.Contains("value of \"MinimumRadius\" is not a number (\"nan\")")) << log;
    EXPECT_EQ(effect->maxParticles, kMaxParticlesPerEffect);

    // A second effect of the file is built from what was read: no second
    // warning. Frames of every length, a huge one too, end with bounded
    // work and the effects still running.
    ParticleEffect* second = particles->CreateEffect("flood", 5, 5);
    for (const float dt : {1.0f / 60.0f, 1.0f / 60.0f, 1e9f, 1.0f / 60.0f}) {
        Frame(dt);
        EXPECT_LE(factory->objects.size(), 2 * std::size_t{kMaxParticlesPerEffect});
    }
    EXPECT_EQ(log.Count("asks for more"), 1) << log;
    EXPECT_EQ(particles->FindEffect(effect->id), effect);
    EXPECT_EQ(particles->FindEffect(second->id), second);
    const auto* radius = dynamic_cast<RadiusRandomInitializer*>(effect->initializers.at(1).get());
    ASSERT_NE(radius, nullptr);
    EXPECT_EQ(radius->minimumRadius, 0.0f) << "the NaN size is refused, the default kept";

    // Long-lived particles from many effects: the system's ceiling holds,
    // said once, and no object is made for a birth that was skipped.
    particles->DestroyEffect(effect);
    particles->DestroyEffect(second);
    Write("hoard", EffectText(5000, {Burst(5000)}, {Ranged("Lifespan", "1000", "1000")},
                              {{"LifespanDecay", {}}}));
    const std::size_t effects = kMaxLiveParticles / kMaxParticlesPerEffect + 2;
    for (std::size_t i = 0; i < effects; ++i)
        particles->CreateEffect("hoard", 0, 0);
    for (int frame = 0; frame < 3; ++frame)
        Frame(1.0f / 60.0f);
    std::size_t live = 0;
    for (const auto& e : particles->effects) {
        EXPECT_LE(e->particles.size(), kMaxParticlesPerEffect);
        live += e->particles.size();
    }
    EXPECT_EQ(live, kMaxLiveParticles);
    EXPECT_EQ(factory->objects.size(), live);
    EXPECT_EQ(log.Count("hoard.zorvel asks for more"), 1) << log;
    EXPECT_EQ(log.Count("more particles at once than the particle system allows"), 1) << log;
}

} // namespace
} // namespace Flurr
