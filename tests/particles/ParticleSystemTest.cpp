// The particle system as a whole: effect files (unknown types, missing
// keys and files, each file read once), the live list (retirement and the
// walk that stops after one, ids), effects held by a component, and the
// clean-up of effects and particle objects when components are freed, when
// the editor or a level change removes objects, and at shutdown.

#include "particles/ParticleTestSupport.h"

namespace Flurr {
namespace {

using namespace ParticleTest;

class ParticleFiles : public ParticleGame {};
class ParticleLifecycle : public ParticleGame {};

TEST_F(ParticleFiles, UnknownTypesAreSkippedMissingKeysReadAsZeroAndEachFileIsReadOnce) {
    Write("odd", EffectText(10, {{"EmitSometimes", {}}, Burst(2)},
                            {{"Sparkle", {}}, {"LifespanRandom", {}}},
                            {{"Wobble", {}}, {"LifespanDecay", {}}}));
    EngineTest::WarningLog log;
    ParticleEffect* odd = particles->CreateEffect("odd", 0, 0);
    const std::string in = " does not exist! (in " + dir.Path("Effects/odd.zorvel") + ")";
    EXPECT_TRUE(log.Contains("Emitter type 'EmitSometimes'" + in)) << log;
    EXPECT_TRUE(log.Contains("Initializer type 'Sparkle'" + in)) << log;
    EXPECT_TRUE(log.Contains("Operator type 'Wobble'" + in)) << log;
    ASSERT_EQ(odd->emitters.size(), 1u);
    EXPECT_EQ(odd->emitters[0]->type, "EmitInstantaneously");
    ASSERT_EQ(odd->initializers.size(), 1u);
    ASSERT_EQ(odd->operators.size(), 1u);
    // The rest plays: a lifespan without keys is 0, so both particles go
    // in their first frame.
    odd->Update(0.016f);
    EXPECT_TRUE(odd->Spent());
    EXPECT_EQ(factory->objects.size(), 0u);

    // Nothing but the types: every key reads as 0.
    Write("bare", EffectText(-1, {{"EmitContinuously", {}}, {"EmitInstantaneously", {}}},
                             {{"VelocityRandom", {}}}, {{"Force", {}}}));
    EngineTest::WarningLog quiet;
    const ParticleEffectDescription& bare = particles->Describe("bare");
    EXPECT_EQ(quiet.Count(), 0) << quiet;
    EXPECT_TRUE(bare.found);
    EXPECT_EQ(bare.maxParticles, 0u);
    auto* stream = dynamic_cast<EmitContinuously*>(bare.emitters.at(0).get());
    auto* burst = dynamic_cast<EmitInstantaneously*>(bare.emitters.at(1).get());
    auto* velocity = dynamic_cast<VelocityRandomInitializer*>(bare.initializers.at(0).get());
    auto* force = dynamic_cast<ForceOperator*>(bare.operators.at(0).get());
    ASSERT_TRUE(stream && burst && velocity && force);
    EXPECT_EQ(burst->amount, 0u);
    // The timers start at minus the delay.
    EXPECT_EQ(
        (std::vector{stream->rate, stream->duration, stream->timer, burst->timer,
                     velocity->minimumSpeed, velocity->maximumAngleVariance, force->strength}),
        std::vector(7, 0.0f));

    // Each file is read once, and every effect starts fresh.
    Write("puff", EffectText(10, {Burst(2, "0.5")}));
    ParticleEffect* first = particles->CreateEffect("puff", 1, 2);
    first->Update(0.3f);
    EXPECT_NEAR(first->emitters[0]->timer, -0.2f, 1e-6f);

    // Changing the file does not change later effects: it was read once.
    Write("puff", EffectText(10, {Burst(7)}));
    ParticleEffect* second = particles->CreateEffect("puff", 3, 4);
    EXPECT_NE(second, first);
    EXPECT_FLOAT_EQ(second->emitters[0]->timer, -0.5f) << "a fresh clock, as if read again";
    EXPECT_FALSE(second->emitters[0]->finished);
    EXPECT_EQ(second->emitters[0]->effect, second);
    EXPECT_EQ(dynamic_cast<EmitInstantaneously*>(second->emitters[0].get())->amount, 2u);
    EXPECT_GT(second->id, first->id);

    particles->ForgetEffectFiles();
    ParticleEffect* third = particles->CreateEffect("puff", 0, 0);
    EXPECT_EQ(dynamic_cast<EmitInstantaneously*>(third->emitters[0].get())->amount, 7u);

    // A missing file is said once; its effects show nothing.
    EngineTest::WarningLog said;
    ParticleEffect* ghost = particles->CreateEffect("ghost", 0, 0);
    particles->CreateEffect("ghost", 0, 0);
    EXPECT_EQ(said.Count("ghost.zorvel"), 1) << said;
    EXPECT_TRUE(ghost->emitters.empty());
    EXPECT_TRUE(ghost->Spent());
}

TEST_F(ParticleLifecycle, SpentOneShotsRetireAndTheWalkStopsAfterARetirement) {
    Write("nothing", EffectText(10, {}));
    Write("stream", EffectText(10, {Stream("10")}));
    Write("empty", EffectText(0, {Burst(5)}));
    ParticleEffect* gone = particles->CreateEffect("nothing", 0, 0);
    const uint32_t goneId = gone->id;
    ParticleEffect* later = particles->CreateEffect("stream", 0, 0);
    EXPECT_EQ(particles->FindEffect(goneId), gone);

    particles->Update(0.35f);
    EXPECT_EQ(particles->FindEffect(goneId), nullptr) << "no emitters: spent at once";
    ASSERT_EQ(particles->effects.size(), 1u);
    EXPECT_EQ(later->emitters[0]->timer, 0.0f) << "not updated in the frame of a retirement";
    particles->Update(0.35f);
    EXPECT_EQ(later->particles.size(), 3u);

    // Nothing can be born into it, so the burst leaves on its first update.
    ParticleEffect* full = particles->CreateEffect("empty", 0, 0);
    const uint32_t fullId = full->id;
    EXPECT_GT(fullId, later->id);
    particles->Update(0.016f);
    EXPECT_EQ(particles->FindEffect(fullId), nullptr);
    // Ids are not reused.
    EXPECT_GT(particles->CreateEffect("nothing", 0, 0)->id, fullId);
}

TEST_F(ParticleLifecycle, HeldEffectsLiveUntilFreedAndNothingPointsAtDestroyedObjects) {
    Write("stream", EffectText(10, {Stream("10")}));
    // A missing file gives no emitters, but a held effect stays.
    ParticleEffectComponent* ghost = Holder("ghost", 0, 0);
    GameObject* owner = nullptr;
    ParticleEffectComponent* held = Holder("stream", 5, 6, &owner);
    ParticleEffect* effect = held->effect;
    ASSERT_NE(ghost->effect, nullptr);
    ASSERT_NE(effect, nullptr);
    EXPECT_FLOAT_EQ(effect->x, 5.0f);
    const uint32_t ghostId = ghost->effect->id;
    const uint32_t id = effect->id;
    held->Initialize(); // again: still one effect
    EXPECT_EQ(held->effect, effect);
    EXPECT_EQ(particles->effects.size(), 2u);
    for (int k = 0; k < 5; ++k)
        Frame(0.1f);
    EXPECT_NE(particles->FindEffect(ghostId), nullptr);
    ASSERT_EQ(effect->particles.size(), 5u);
    std::vector<int32_t> ids;
    for (const Particle& p : effect->particles)
        ids.push_back(p.objectId);

    // Freeing the component ends its effect with its particles.
    factory->DestroyObject(owner);
    EXPECT_EQ(particles->FindEffect(id), nullptr);
    for (int32_t objectId : ids)
        EXPECT_EQ(factory->FindObject(objectId), nullptr);
    Frame(0.1f); // the deferred objects go
    EXPECT_TRUE(factory->pendingDestruction.empty());

    // Ended by someone else (the jobs end confetti this way): the
    // component forgets it, and its Free has nothing left to do.
    ParticleEffect* ghostEffect = ghost->effect;
    particles->DestroyEffect(ghostEffect);
    EXPECT_EQ(ghost->effect, nullptr);
    EXPECT_EQ(particles->FindEffect(ghostId), nullptr);
    ghost->Free();
    ghost->Free();
    EXPECT_TRUE(particles->effects.empty());
    EXPECT_EQ(particles->components.Size(), 0u);

    // Particles whose objects went are dropped untouched.
    Write("still", EffectText(10, {Burst(3)}, {}, {{"Move", {}}, {"Rotate", {}}}));
    ParticleEffect* e = particles->CreateEffect("still", 0, 0);
    const uint32_t stillId = e->id;
    Frame(0.016f);
    ASSERT_EQ(e->particles.size(), 3u);
    const int32_t middle = e->particles[1].objectId;
    const int32_t last = e->particles[2].objectId;
    // The editor deletes one, at once.
    factory->DestroyObject(e->particles[1].object);
    Frame(0.016f);
    ASSERT_EQ(e->particles.size(), 2u);
    EXPECT_NE(e->particles[1].objectId, middle);
    EXPECT_EQ(e->particles[1].objectId, last);
    // The others go too: the effect is spent and retires.
    factory->DestroyLater(e->particles[0].object);
    factory->DestroyObject(e->particles[1].object);
    Frame(0.016f);
    EXPECT_EQ(particles->FindEffect(stillId), nullptr);

    // Level changes and shutdown leave nothing pointing at destroyed objects.
    ParticleEffect* oneShot = particles->CreateEffect("stream", 0, 0);
    const uint32_t oneShotId = oneShot->id;
    ParticleEffectComponent* recordedHolder = Holder("stream", 0, 0);
    const uint32_t recordedId = recordedHolder->effect->id;
    // A screen object the factory does not record (the transitions keep
    // theirs this way): its component outlives the level.
    GameObject* screen = nullptr;
    ParticleEffectComponent* screenHolder = Holder("stream", 0, 0, &screen, false);
    ParticleEffect* screenEffect = screenHolder->effect;
    Frame(0.35f);
    ASSERT_EQ(oneShot->particles.size(), 3u);
    ASSERT_EQ(screenEffect->particles.size(), 3u);

    // The core frees every object (the held effect goes with its
    // component), then the next level loads.
    factory->Free();
    EXPECT_EQ(particles->FindEffect(recordedId), nullptr);
    EXPECT_TRUE(factory->objects.empty());
    // A frame between the two must not reach the freed objects.
    particles->Update(0.01f);
    EXPECT_EQ(screenEffect->particles.size(), 0u);
    EXPECT_EQ(oneShot->particles.size(), 0u);
    particles->Update(0.1f); // new births, in the new level
    const std::vector<Particle> newborn = oneShot->particles;
    ASSERT_FALSE(newborn.empty());

    EngineTest::Send(core, LevelChangeMessage());
    EXPECT_EQ(particles->FindEffect(oneShotId), nullptr);
    for (const Particle& p : newborn)
        EXPECT_EQ(factory->FindObject(p.objectId), nullptr);
    ASSERT_EQ(particles->effects.size(), 1u);
    EXPECT_EQ(particles->effects[0].get(), screenEffect) << "a held effect stays";
    Frame(0.1f);
    EXPECT_EQ(screenEffect->particles.size(), 2u);

    // Shutdown with live effects of every kind: the objects, then every
    // system's objects, then the systems.
    particles->CreateEffect("stream", 0, 0);
    Holder("stream", 0, 0);
    Frame(0.35f);
    EXPECT_EQ(particles->effects.size(), 3u);
    core.Shutdown();
    EXPECT_EQ(ParticleSystem::Instance(), nullptr);
    EXPECT_EQ(screenHolder->effect, nullptr) << "told to forget it when the system went";
    // Its owner goes after the system: nothing left to reach.
    screen->Destroy();
    delete screen;
}

} // namespace
} // namespace Flurr
