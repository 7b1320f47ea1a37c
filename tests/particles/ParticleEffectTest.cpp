// One effect at a time: when emitters give births (carry-over, delays,
// durations, the particle cap), what initializers give a newborn (the
// game's random-range rule, ring, cone, sprite set-up), what operators do
// each frame, removal during the pass, following a moving owner, switching
// an effect off and on, and the guards against files that would never
// finish or divide by zero.

#include "particles/ParticleTestSupport.h"

#include <numbers>
#include <set>

namespace Flurr {
namespace {

using namespace ParticleTest;

class ParticleEmitters : public ParticleGame {};
class ParticleInitializers : public ParticleGame {};
class ParticleOperators : public ParticleGame {};

TEST_F(ParticleEmitters, ContinuousEmissionCarriesTimeOverThroughDelayAndDuration) {
    Write("stream", EffectText(100, {Stream("10")}));
    ParticleEffect* e = particles->CreateEffect("stream", 0, 0);
    e->Update(0.35f);
    EXPECT_EQ(e->particles.size(), 3u);
    EXPECT_NEAR(e->emitters[0]->timer, 0.05f, 1e-5f);
    e->Update(0.06f); // 0.11 s on the clock: one more, 0.01 s left
    EXPECT_EQ(e->particles.size(), 4u);
    EXPECT_NEAR(e->emitters[0]->timer, 0.01f, 1e-5f);
    EXPECT_FALSE(e->emitters[0]->finished) << "Duration 0 runs for ever";

    // Delay 0.2 s, then 0.25 s of births at 10 a second.
    Write("late", EffectText(100, {Stream("10", "0.25", "0.2")}));
    ParticleEffect* late = particles->CreateEffect("late", 0, 0);
    EXPECT_FLOAT_EQ(late->emitters[0]->timer, -0.2f);
    late->Update(0.1f);
    late->Update(0.15f); // the delay is over by 0.05 s: not yet a birth
    EXPECT_EQ(late->particles.size(), 0u);
    EXPECT_FALSE(late->emitters[0]->finished);
    late->Update(0.2f); // the duration runs out, but this frame's births happen
    EXPECT_EQ(late->particles.size(), 2u);
    EXPECT_TRUE(late->emitters[0]->finished);
    late->Update(1.0f);
    EXPECT_EQ(late->particles.size(), 2u);

    // A full effect skips births, but the clock keeps going.
    Write("capped", EffectText(2, {Stream("10")}));
    ParticleEffect* capped = particles->CreateEffect("capped", 0, 0);
    capped->Update(0.35f);
    EXPECT_EQ(capped->particles.size(), 2u);
    EXPECT_NEAR(capped->emitters[0]->timer, 0.05f, 1e-5f);
}

TEST_F(ParticleEmitters, BurstsComeWholeAfterTheirDelayUpToMaxParticles) {
    Write("burst", EffectText(50, {Burst(5)}));
    ParticleEffect* now = particles->CreateEffect("burst", 0, 0);
    now->Update(0.016f);
    EXPECT_EQ(now->particles.size(), 5u);
    EXPECT_TRUE(now->emitters[0]->finished);
    now->Update(0.016f);
    EXPECT_EQ(now->particles.size(), 5u) << "a burst fires once";

    Write("delayed", EffectText(50, {Burst(4, "0.5")}));
    ParticleEffect* delayed = particles->CreateEffect("delayed", 0, 0);
    delayed->Update(0.3f);
    EXPECT_EQ(delayed->particles.size(), 0u);
    delayed->Update(0.3f);
    EXPECT_EQ(delayed->particles.size(), 4u);

    Write("capped", EffectText(3, {Burst(10), Burst(10)}));
    ParticleEffect* capped = particles->CreateEffect("capped", 0, 0);
    capped->Update(0.016f);
    EXPECT_EQ(capped->particles.size(), 3u);
    EXPECT_TRUE(capped->emitters[1]->finished);

    // With no room at all nothing is ever born, and the effect is spent
    // at once.
    Write("none", EffectText(0, {Burst(10), Stream("100", "0.5")}));
    ParticleEffect* none = particles->CreateEffect("none", 0, 0);
    for (int k = 0; k < 40; ++k)
        none->Update(0.05f);
    EXPECT_EQ(none->particles.size(), 0u);
    EXPECT_TRUE(none->Spent());
    EXPECT_EQ(factory->objects.size(), 5u + 4u + 3u) << "no object was made for a skipped birth";

    // A huge amount in a small effect stops asking once it is full.
    Write("huge", EffectText(3, {Burst(4000000000u)}));
    ParticleEffect* huge = particles->CreateEffect("huge", 0, 0);
    huge->Update(0.016f);
    EXPECT_EQ(huge->particles.size(), 3u);
}

TEST_F(ParticleEmitters, RatesThatWouldNeverEndCountAsFinished) {
    int n = 0;
    for (const char* rate : {"0", "-5", "inf", "nan"}) {
        const std::string name = "rate" + std::to_string(n++);
        Write(name, EffectText(100, {Stream(rate)}));
        ParticleEffect* e = particles->CreateEffect(name, 0, 0);
        e->Update(0.1f);
        EXPECT_TRUE(e->emitters[0]->finished) << "Rate " << rate;
        EXPECT_EQ(e->particles.size(), 0u) << "Rate " << rate;
    }
    // A rate whose step cannot change the clock at its size: as many as
    // fit, and the frame ends.
    Write("fast", EffectText(50, {Stream("1e12")}));
    ParticleEffect* fast = particles->CreateEffect("fast", 0, 0);
    fast->Update(0.1f);
    EXPECT_EQ(fast->particles.size(), 50u);
    EXPECT_LT(fast->emitters[0]->timer, 1e-11f);
    EXPECT_GE(fast->emitters[0]->timer, 0.0f);

    // A missing rate reads as 0; a one-shot effect of it retires at once.
    Write("norate", EffectText(10, {{"EmitContinuously", {}}}));
    ParticleEffect* norate = particles->CreateEffect("norate", 0, 0);
    const uint32_t id = norate->id;
    particles->effects.erase(particles->effects.begin(), particles->effects.end() - 1);
    particles->Update(0.1f);
    EXPECT_EQ(particles->FindEffect(id), nullptr);
}

TEST_F(ParticleInitializers, RandomValuesFollowTheGameRangeRule) {
    Write("ranges",
          EffectText(200, {Burst(200)},
                     {Sprite("Ten"),
                      {"LifespanRandom", {{"MinimumLifespan", "1"}, {"MaximumLifespan", "3"}}},
                      {"RadiusRandom", {{"MinimumRadius", "0"}, {"MaximumRadius", "0.5"}}},
                      {"RotationSpeedRandom",
                       {{"MinimumRotationSpeed", "7"}, {"MaximumRotationSpeed", "7"}}},
                      {"FrameRandom", {{"MinimumFrame", "0"}, {"MaximumFrame", "3"}}},
                      {"ZPosRandom", {{"MinimumZPos", "0"}, {"MaximumZPos", "3"}}},
                      {"ZOrderRandom", {{"MinimumZOrder", "-2"}, {"MaximumZOrder", "0"}}}}));
    ParticleEffect* e = particles->CreateEffect("ranges", 0, 0);
    e->Update(0.016f);
    ASSERT_EQ(e->particles.size(), 200u);
    std::set<float> lives, scales, speeds, frames, zpos, zorder;
    for (const Particle& p : e->particles) {
        lives.insert(p.life);
        scales.insert(p.object->xScale);
        scales.insert(p.object->yScale);
        speeds.insert(p.rotationSpeed);
        ASSERT_NE(p.sprite, nullptr);
        frames.insert(p.sprite->frame);
        zpos.insert(p.sprite->ZPos);
        zorder.insert(p.sprite->ZOrder);
        EXPECT_FLOAT_EQ(p.sprite->frameRate, 0.0f) << "a chosen frame is held";
    }
    // 1..3: whole offsets below the range only.
    EXPECT_EQ(lives, (std::set<float>{1.0f, 2.0f}));
    // A range of 0.5 always gives the minimum.
    EXPECT_EQ(scales, (std::set<float>{0.0f}));
    // Equal bounds give the bound.
    EXPECT_EQ(speeds, (std::set<float>{7.0f}));
    // Frames include the maximum; depths and orders exclude it.
    EXPECT_EQ(frames, (std::set<float>{0.0f, 1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(zpos, (std::set<float>{0.0f, 1.0f, 2.0f}));
    EXPECT_EQ(zorder, (std::set<float>{-2.0f, -1.0f}));
}

TEST_F(ParticleInitializers, NewbornsGetTheirSpritePlaceAndMotion) {
    constexpr float kPi = std::numbers::pi_v<float>;
    Write("sprites",
          EffectText(20, {Burst(20)},
                     {// Before the sprite exists: does nothing.
                      {"ColorRandom", {{"MinimumRed", "0"}, {"MaximumRed", "0"}}},
                      Sprite("Ten", "true"),
                      {"FrameRandom", {{"MinimumFrame", "12"}, {"MaximumFrame", "12"}}},
                      {"ColorRandom",
                       {{"MinimumRed", "0.25"},
                        {"MaximumRed", "0.25"},
                        {"MinimumGreen", "0.5"},
                        {"MaximumGreen", "0.5"},
                        {"MinimumBlue", "0.75"},
                        {"MaximumBlue", "0.75"}}},
                      {"Orthographic", {}},
                      {"RotationRandom", {{"MinimumRotation", "90"}, {"MaximumRotation", "90"}}},
                      {"PositionWithinCircleRandom",
                       {{"MinimumDistance", "10"}, {"MaximumDistance", "20"}}},
                      {"VelocityRandom",
                       {{"MinimumSpeed", "30"},
                        {"MaximumSpeed", "30"},
                        {"XDirection", "3"},
                        {"YDirection", "4"}}}}));
    ParticleEffect* e = particles->CreateEffect("sprites", 100, 200);
    e->dx = 5.0f;
    e->dy = -5.0f;
    e->Update(0.016f);
    ASSERT_EQ(e->particles.size(), 20u);
    EXPECT_FLOAT_EQ(e->x, 105.0f) << "the displacement is applied after the births";
    for (const Particle& p : e->particles) {
        GraphicsComponent* s = p.sprite;
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(p.object->Get<GraphicsComponent>(), s);
        EXPECT_EQ(s->owner, p.object);
        EXPECT_EQ(s->animation, "Ten");
        EXPECT_FLOAT_EQ(s->priority, 1.0f);
        EXPECT_EQ(s->flags, AnimationFlag::Loop);
        EXPECT_TRUE(s->additive);
        EXPECT_EQ(p.object->width, 16);
        EXPECT_EQ(p.object->height, 12);
        // Frame 12 of ten wraps to 2, held.
        EXPECT_FLOAT_EQ(s->frame, 2.0f);
        EXPECT_FLOAT_EQ(s->frameRate, 0.0f);
        EXPECT_FLOAT_EQ(s->red, 0.25f);
        EXPECT_FLOAT_EQ(s->green, 0.5f);
        EXPECT_FLOAT_EQ(s->blue, 0.75f);
        EXPECT_FLOAT_EQ(s->colourAlpha, 1.0f);
        EXPECT_TRUE(s->orthographic);
        EXPECT_FLOAT_EQ(p.object->rotation, kPi / 2);
        // In the ring around where the effect is after this frame.
        const float d = std::hypot(p.object->x - 105.0f, p.object->y - 195.0f);
        EXPECT_GE(d, 10.0f);
        EXPECT_LE(d, 20.0f);
        // Along (3, 4), normalised.
        EXPECT_NEAR(p.velocityX, 18.0f, 1e-4f);
        EXPECT_NEAR(p.velocityY, 24.0f, 1e-4f);
    }

    // The animation's rate, or 0 for a negative one; the player turns the
    // burst with SetDirection.
    Write("cone", EffectText(50, {Burst(50)},
                             {{"Animation", {{"Name", "Ten"}, {"Rate", "-3"}}},
                              {"VelocityRandom",
                               {{"MinimumSpeed", "30"},
                                {"MaximumSpeed", "30"},
                                {"XDirection", "1"},
                                {"MaximumAngleVariance", "90"}}}}));
    ParticleEffect* cone = particles->CreateEffect("cone", 0, 0);
    cone->SetDirection(0.0f, -2.0f);
    cone->Update(0.016f);
    ASSERT_EQ(cone->particles.size(), 50u);
    bool leftOfAim = false, rightOfAim = false;
    for (const Particle& p : cone->particles) {
        EXPECT_FLOAT_EQ(p.sprite->frameRate, 0.0f);
        EXPECT_NEAR(std::hypot(p.velocityX, p.velocityY), 30.0f, 1e-3f);
        EXPECT_LE(p.velocityY, 1e-3f) << "within 90 degrees of straight down";
        leftOfAim |= p.velocityX < -1.0f;
        rightOfAim |= p.velocityX > 1.0f;
    }
    EXPECT_TRUE(leftOfAim && rightOfAim);
    // Only this effect's initializers were turned.
    ParticleEffect* fresh = particles->CreateEffect("cone", 0, 0);
    auto* velocity = dynamic_cast<VelocityRandomInitializer*>(fresh->initializers[1].get());
    ASSERT_NE(velocity, nullptr);
    EXPECT_FLOAT_EQ(velocity->xDirection, 1.0f);
    EXPECT_FLOAT_EQ(velocity->yDirection, 0.0f);
}

TEST_F(ParticleInitializers, RingsAndFramesThatCannotBeHitStillEnd) {
    // An inner bound past the outer one, and a negative outer bound: no
    // square draw lands in the ring, so after a bounded number of tries
    // the particle goes at the outer distance.
    Write("ring", EffectText(20, {Burst(10)},
                             {{"PositionWithinCircleRandom",
                               {{"MinimumDistance", "100"}, {"MaximumDistance", "50"}}}}));
    ParticleEffect* ring = particles->CreateEffect("ring", 10, 10);
    ring->Update(0.016f);
    ASSERT_EQ(ring->particles.size(), 10u);
    for (const Particle& p : ring->particles)
        EXPECT_NEAR(std::hypot(p.object->x - 10.0f, p.object->y - 10.0f), 50.0f, 1e-3f);

    Write("inverted", EffectText(20, {Burst(10)},
                                 {{"PositionWithinCircleRandom", {{"MaximumDistance", "-10"}}}}));
    ParticleEffect* inverted = particles->CreateEffect("inverted", 0, 0);
    inverted->Update(0.016f);
    for (const Particle& p : inverted->particles)
        EXPECT_NEAR(std::hypot(p.object->x, p.object->y), 10.0f, 1e-3f);

    // Reversed frame bounds mean the first bound (no modulo by zero).
    Write("frames", EffectText(20, {Burst(5)},
                               {Sprite("Ten"),
                                {"FrameRandom", {{"MinimumFrame", "4"}, {"MaximumFrame", "3"}}}}));
    ParticleEffect* frames = particles->CreateEffect("frames", 0, 0);
    frames->Update(0.016f);
    for (const Particle& p : frames->particles)
        EXPECT_FLOAT_EQ(p.sprite->frame, 4.0f);
}

TEST_F(ParticleOperators, EachOperatorChangesItsParticleOncePerFrame) {
    constexpr float kPi = std::numbers::pi_v<float>;
    Write("ops",
          EffectText(5, {Burst(1)},
                     {Sprite("Ten"),
                      {"LifespanRandom", {{"MinimumLifespan", "2"}, {"MaximumLifespan", "2"}}},
                      {"RadiusRandom", {{"MinimumRadius", "1"}, {"MaximumRadius", "1"}}},
                      {"RotationSpeedRandom",
                       {{"MinimumRotationSpeed", "90"}, {"MaximumRotationSpeed", "90"}}},
                      {"VelocityRandom",
                       {{"MinimumSpeed", "10"}, {"MaximumSpeed", "10"}, {"XDirection", "1"}}},
                      {"PositionWithinCircleRandom", {}}},
                     {{"LifespanDecay", {}},
                      {"Force", {{"XDirection", "0"}, {"YDirection", "-1"}, {"Strength", "100"}}},
                      {"Drag", {{"Coefficient", "0.5"}}},
                      {"Move", {}},
                      {"Rotate", {}},
                      {"AlphaDecay", {}},
                      {"ColorFade", {{"Red", "0"}, {"Green", "0.5"}, {"Blue", "1"}}},
                      {"RadiusScale", {{"EndRadius", "3"}}}}));
    ParticleEffect* e = particles->CreateEffect("ops", 0, 0);
    e->Update(0.5f);
    ASSERT_EQ(e->particles.size(), 1u);
    const Particle& p = e->particles[0];
    EXPECT_FLOAT_EQ(p.age, 0.5f);
    EXPECT_FLOAT_EQ(p.life, 1.5f);
    // Force: (10, 0) + (0, -1) * 100 * 0.5; then Drag halves it, whatever dt.
    EXPECT_FLOAT_EQ(p.velocityX, 5.0f);
    EXPECT_FLOAT_EQ(p.velocityY, -25.0f);
    EXPECT_FLOAT_EQ(p.object->x, 2.5f);
    EXPECT_FLOAT_EQ(p.object->y, -12.5f);
    EXPECT_FLOAT_EQ(p.object->rotation, kPi / 4);
    // Opacity: life over the whole lifespan.
    EXPECT_FLOAT_EQ(p.sprite->Opacity, 0.75f);
    // A quarter of the way to the target colour (dt over dt + life).
    EXPECT_FLOAT_EQ(p.sprite->red, 0.75f);
    EXPECT_FLOAT_EQ(p.sprite->green, 0.875f);
    EXPECT_FLOAT_EQ(p.sprite->blue, 1.0f);
    EXPECT_FLOAT_EQ(p.sprite->colourAlpha, 1.0f);
    EXPECT_FLOAT_EQ(p.object->xScale, 1.5f);
    EXPECT_FLOAT_EQ(p.object->yScale, 1.5f);

    const int32_t id = p.objectId;
    e->Update(1.5f); // life runs out: removed, object destroyed
    EXPECT_TRUE(e->particles.empty());
    EXPECT_EQ(factory->FindObject(id), nullptr);
    EXPECT_TRUE(e->Spent());

    // With no time left at all, the end values are taken rather than 0/0.
    Write("instant", EffectText(5, {Burst(1)}, {Sprite("Ten")},
                                {{"AlphaDecay", {}},
                                 {"ColorFade", {{"Red", "0.2"}, {"Green", "0.4"}, {"Blue", "0.6"}}},
                                 {"RadiusScale", {{"EndRadius", "3"}}}}));
    ParticleEffect* instant = particles->CreateEffect("instant", 0, 0);
    instant->Update(0.0f);
    ASSERT_EQ(instant->particles.size(), 1u);
    const Particle& q = instant->particles[0];
    EXPECT_FLOAT_EQ(q.sprite->Opacity, 0.0f);
    EXPECT_FLOAT_EQ(q.sprite->red, 0.2f);
    EXPECT_FLOAT_EQ(q.sprite->green, 0.4f);
    EXPECT_FLOAT_EQ(q.sprite->blue, 0.6f);
    EXPECT_FLOAT_EQ(q.object->xScale, 3.0f);
}

TEST_F(ParticleOperators, RemovalDuringThePassSkipsNoParticle) {
    Write("row",
          EffectText(10, {Burst(5)},
                     {{"LifespanRandom", {{"MinimumLifespan", "1"}, {"MaximumLifespan", "1"}}},
                      {"VelocityRandom",
                       {{"MinimumSpeed", "10"}, {"MaximumSpeed", "10"}, {"XDirection", "1"}}},
                      {"PositionWithinCircleRandom", {}}},
                     {{"LifespanDecay", {}}, {"Move", {}}}));
    ParticleEffect* e = particles->CreateEffect("row", 0, 0);
    e->Update(0.1f);
    ASSERT_EQ(e->particles.size(), 5u);
    // Neighbours die together, and one dies just before a survivor.
    const float lives[5] = {0.05f, 0.05f, 1.0f, 0.05f, 1.0f};
    std::vector<int32_t> ids;
    for (int k = 0; k < 5; ++k) {
        e->particles[k].life = lives[k];
        ids.push_back(e->particles[k].objectId);
    }
    e->Update(0.1f);
    ASSERT_EQ(e->particles.size(), 2u);
    EXPECT_EQ(e->particles[0].objectId, ids[2]);
    EXPECT_EQ(e->particles[1].objectId, ids[4]);
    for (const Particle& p : e->particles) {
        // Moved exactly once per frame, aged once.
        EXPECT_FLOAT_EQ(p.object->x, 2.0f);
        EXPECT_FLOAT_EQ(p.age, 0.2f);
        EXPECT_FLOAT_EQ(p.life, 0.9f);
    }
    for (int k : {0, 1, 3})
        EXPECT_EQ(factory->FindObject(ids[k]), nullptr);
}

TEST_F(ParticleOperators, LockedParticlesFollowTheOwnerExactly) {
    Write("locked", EffectText(10, {Burst(3)},
                               {{"PositionWithinCircleRandom",
                                 {{"MinimumDistance", "0"}, {"MaximumDistance", "5"}}}},
                               {{"LockToEffectPos", {}}}));
    GameObject* owner = nullptr;
    ParticleEffectComponent* c = Holder("locked", 40, 60, &owner);
    ParticleEffect* e = c->effect;
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->holder, c);
    Frame(0.016f);
    ASSERT_EQ(e->particles.size(), 3u);
    std::vector<std::pair<float, float>> before;
    for (const Particle& p : e->particles)
        before.push_back({p.object->x, p.object->y});

    owner->x += 30.0f;
    owner->y -= 20.0f;
    Frame(0.016f);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_FLOAT_EQ(e->particles[k].object->x, before[k].first + 30.0f);
        EXPECT_FLOAT_EQ(e->particles[k].object->y, before[k].second - 20.0f);
    }
    EXPECT_FLOAT_EQ(e->x, 70.0f);
    EXPECT_FLOAT_EQ(e->y, 40.0f);
    EXPECT_FLOAT_EQ(e->dx, 0.0f);

    // The offset is part of where the effect is kept.
    c->offsetX = 10.0f;
    Frame(0.016f);
    EXPECT_FLOAT_EQ(e->x, 80.0f);
    EXPECT_FLOAT_EQ(e->particles[0].object->x, before[0].first + 40.0f);
}

TEST_F(ParticleOperators, SwitchedOffEffectsLetParticlesDieAndResumeOnTheirClock) {
    Write("trail",
          EffectText(50, {Stream("10")},
                     {{"LifespanRandom", {{"MinimumLifespan", "1"}, {"MaximumLifespan", "1"}}}},
                     {{"LifespanDecay", {}}}));
    ParticleEffect* e = particles->CreateEffect("trail", 0, 0);
    const uint32_t id = e->id;
    Frame(0.35f);
    EXPECT_EQ(e->particles.size(), 3u);
    e->active = false;
    for (int k = 0; k < 4; ++k)
        Frame(0.3f);
    EXPECT_TRUE(e->particles.empty());
    EXPECT_EQ(particles->FindEffect(id), e) << "an unfinished emitter keeps even a one-shot effect";
    EXPECT_FALSE(e->emitters[0]->finished);
    EXPECT_NEAR(e->emitters[0]->timer, 0.05f, 1e-5f) << "the clock stood still";
    e->active = true;
    Frame(0.06f);
    EXPECT_EQ(e->particles.size(), 1u);
}

} // namespace
} // namespace Flurr
