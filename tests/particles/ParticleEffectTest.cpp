// One effect at a time: when emitters give births (carry-over, delays,
// durations, the particle cap, rates that would never end), what
// initializers give a newborn, what operators do each frame, removal
// during the pass, following a moving owner, and switching off and on.

#include "particles/ParticleTestSupport.h"

#include <numbers>
#include <set>

namespace Flurr {
namespace {

using namespace ParticleTest;

class ParticleEmitters : public ParticleGame {};
class ParticleInitializers : public ParticleGame {};
class ParticleOperators : public ParticleGame {};

// After an update of `dt` seconds the effect holds `count` particles.
struct Step {
    float dt;
    std::size_t count;
    int finished; // 1 when every emitter has finished
};
struct EmitterCase {
    const char* what;
    int cap; // MaxParticles
    std::vector<Part> emitters;
    std::vector<Step> steps;
    float timer = NAN; // the first emitter's clock at the end, when checked
    float tolerance = 1e-5f;
};

TEST_F(ParticleEmitters, BirthsFollowRatesDelaysDurationsAndTheCap) {
    const EmitterCase cases[] = {
        // Duration 0 runs for ever.
        {"stream carries time over", 100, {Stream("10")}, {{0.35f, 3, 0}, {0.06f, 4, 0}}, 0.01f},
        // After the delay, births for the duration; its last frame's too.
        {"delayed",
         100,
         {Stream("10", "0.25", "0.2")},
         {{0.1f, 0, 0}, {0.15f, 0, 0}, {0.2f, 2, 1}, {1.0f, 2, 1}}},
        // A full effect skips births, but the clock keeps going.
        {"stream at the cap", 2, {Stream("10")}, {{0.35f, 2, 0}}, 0.05f},
        {"burst fires once", 50, {Burst(5)}, {{0.016f, 5, 1}, {0.016f, 5, 1}}},
        {"delayed burst", 50, {Burst(4, "0.5")}, {{0.3f, 0, 0}, {0.3f, 4, 1}}},
        {"bursts at the cap", 3, {Burst(10), Burst(10)}, {{0.016f, 3, 1}}},
        // Spent once the emitters end, and no object made for a skipped
        // birth (checked below).
        {"no room", 0, {Burst(10), Stream("100", "0.5")}, {{0.3f, 0, 0}, {0.3f, 0, 1}}},
        // Stops asking once full.
        {"huge burst", 3, {Burst(4000000000u)}, {{0.016f, 3, 1}}},
        // Rates that would never let the birth loop end count as finished;
        // a missing rate reads as 0.
        {"rate 0", 100, {Stream("0")}, {{0.1f, 0, 1}}},
        {"rate -5", 100, {Stream("-5")}, {{0.1f, 0, 1}}},
        {"rate inf", 100, {Stream("inf")}, {{0.1f, 0, 1}}},
        {"rate nan", 100, {Stream("nan")}, {{0.1f, 0, 1}}},
        {"no rate", 10, {{"EmitContinuously", {}}}, {{0.1f, 0, 1}}},
        // A rate over the ceiling is read as the ceiling, 1000 a second.
        {"rate 1e12", 50, {Stream("1e12")}, {{0.1f, 50, 0}}, 0.0005f, 0.0005f},
        // A step too small to change the clock at its size (a frame of
        // 1e9 seconds): as many as fit, and the frame ends.
        {"huge frame", 50, {Stream("1000")}, {{1e9f, 50, 0}}, 0.0005f, 0.0005f}};
    int n = 0;
    for (const EmitterCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string name = "case" + std::to_string(n++);
        Write(name, EffectText(c.cap, c.emitters));
        ParticleEffect* e = particles->CreateEffect(name, 0, 0);
        for (const Step& step : c.steps) {
            e->Update(step.dt);
            EXPECT_EQ(e->particles.size(), step.count);
            EXPECT_EQ(std::ranges::all_of(e->emitters, [](const auto& m) { return m->finished; }),
                      step.finished == 1);
            EXPECT_EQ(e->Spent(), step.finished && step.count == 0);
        }
        if (!std::isnan(c.timer)) {
            EXPECT_NEAR(e->emitters[0]->timer, c.timer, c.tolerance);
            EXPECT_GE(e->emitters[0]->timer, 0.0f);
        }
    }
    std::size_t live = 0;
    for (const auto& e : particles->effects)
        live += e->particles.size();
    EXPECT_EQ(factory->objects.size(), live) << "no object was made for a skipped birth";
}

// Every value 100 newborns of a sprite effect got, as `value` reads it.
struct RangeCase {
    const char* what;
    Part initializer;
    float (*value)(const Particle&);
    std::set<float> expected;
};

TEST_F(ParticleInitializers, NewbornsGetTheirSpritePlaceMotionAndRangedValues) {
    using Read = float (*)(const Particle&);
    const Read life = [](const Particle& p) { return p.life; };
    const Read scales = [](const Particle& p) {
        return std::hypot(p.object->xScale, p.object->yScale);
    };
    const Read spin = [](const Particle& p) { return p.rotationSpeed; };
    const Read frame = [](const Particle& p) { return p.sprite->frame; };
    const Read rate = [](const Particle& p) { return p.sprite->frameRate; };
    const Read depth = [](const Particle& p) { return p.sprite->ZPos; };
    const Read order = [](const Particle& p) { return p.sprite->ZOrder; };
    const Read distance = [](const Particle& p) {
        return std::round(std::hypot(p.object->x - 10.0f, p.object->y - 10.0f) * 1000) / 1000;
    };
    const RangeCase cases[] = {
        {"1..3: whole offsets below the range only", Ranged("Lifespan", "1", "3"), life, {1, 2}},
        {"a range of 0.5 always gives the minimum", Ranged("Radius", "0", "0.5"), scales, {0}},
        {"equal bounds give the bound", Ranged("RotationSpeed", "7", "7"), spin, {7}},
        {"frames include the maximum", Ranged("Frame", "0", "3"), frame, {0, 1, 2, 3}},
        {"a chosen frame is held", Ranged("Frame", "0", "3"), rate, {0}},
        {"depths exclude the maximum", Ranged("ZPos", "0", "3"), depth, {0, 1, 2}},
        {"orders exclude the maximum", Ranged("ZOrder", "-2", "0"), order, {-2, -1}},
        {"reversed frames mean the first (no modulo by 0)", Ranged("Frame", "4", "3"), frame, {4}},
        // No square draw lands in these rings, so after a bounded number of
        // tries the particle goes at the outer distance.
        {"inner bound past the outer", Ring("100", "50"), distance, {50}},
        {"negative outer bound", Ring("0", "-10"), distance, {10}}};
    int n = 0;
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string name = "case" + std::to_string(n++);
        Write(name, EffectText(100, {Burst(100)}, {Sprite("Ten"), c.initializer}));
        ParticleEffect* e = particles->CreateEffect(name, 10, 10);
        e->Update(0.016f);
        ASSERT_EQ(e->particles.size(), 100u);
        std::set<float> seen;
        for (const Particle& p : e->particles)
            seen.insert(c.value(p));
        EXPECT_EQ(seen, c.expected);
    }

    // Newborns get their sprite, place and motion.
    constexpr float kPi = std::numbers::pi_v<float>;
    // A colour before the sprite exists does nothing.
    Write("sprites", EffectText(20, {Burst(20)},
                                {Colour("0", "0", "0"),
                                 Sprite("Ten", "true"),
                                 Ranged("Frame", "12", "12"),
                                 Colour("0.25", "0.5", "0.75"),
                                 {"Orthographic", {}},
                                 Ranged("Rotation", "90", "90"),
                                 Ring("10", "20"),
                                 Velocity("30", "3", "4")}));
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
        EXPECT_TRUE(s->additive && s->orthographic);
        EXPECT_EQ(std::pair(p.object->width, p.object->height), std::pair(16, 12));
        // Frame 12 of ten wraps to 2, held.
        EXPECT_TRUE(Floats({s->frame, s->frameRate}, {2.0f, 0.0f}));
        EXPECT_TRUE(Floats({s->red, s->green, s->blue, s->colourAlpha}, {0.25f, 0.5f, 0.75f, 1}));
        EXPECT_FLOAT_EQ(p.object->rotation, kPi / 2);
        // In the ring around where the effect is after this frame.
        const float d = std::hypot(p.object->x - 105.0f, p.object->y - 195.0f);
        EXPECT_TRUE(d >= 10.0f && d <= 20.0f) << d;
        // Along (3, 4), normalised.
        EXPECT_TRUE(Floats({p.velocityX, p.velocityY}, {18.0f, 24.0f}));
    }

    // The animation's rate, or 0 for a negative one; the player turns the
    // burst with SetDirection.
    Part spread = Velocity("30", "1");
    spread.keys.push_back({"MaximumAngleVariance", "90"});
    Write("cone",
          EffectText(50, {Burst(50)}, {{"Animation", {{"Name", "Ten"}, {"Rate", "-3"}}}, spread}));
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

TEST_F(ParticleOperators, EachOperatorChangesItsParticleOncePerFrame) {
    constexpr float kPi = std::numbers::pi_v<float>;
    Write("ops",
          EffectText(5, {Burst(1)},
                     {Sprite("Ten"), Ranged("Lifespan", "2", "2"), Ranged("Radius", "1", "1"),
                      Ranged("RotationSpeed", "90", "90"), Velocity("10", "1"), Ring()},
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
    EXPECT_TRUE(Floats({p.age, p.life}, {0.5f, 1.5f}));
    // Force: (10, 0) + (0, -1) * 100 * 0.5; then Drag halves it, whatever
    // dt; then Move.
    EXPECT_TRUE(Floats({p.velocityX, p.velocityY}, {5.0f, -25.0f}));
    EXPECT_TRUE(Floats({p.object->x, p.object->y}, {2.5f, -12.5f}));
    EXPECT_FLOAT_EQ(p.object->rotation, kPi / 4);
    // Opacity: life over the whole lifespan; colour a quarter of the way to
    // the target (dt over dt + life); radius a quarter of the way to 3.
    EXPECT_TRUE(Floats(
        {p.sprite->Opacity, p.sprite->red, p.sprite->green, p.sprite->blue, p.sprite->colourAlpha},
        {0.75f, 0.75f, 0.875f, 1.0f, 1.0f}));
    EXPECT_TRUE(Floats({p.object->xScale, p.object->yScale}, {1.5f, 1.5f}));

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
    EXPECT_TRUE(Floats(
        {q.sprite->Opacity, q.sprite->red, q.sprite->green, q.sprite->blue, q.object->xScale},
        {0.0f, 0.2f, 0.4f, 0.6f, 3.0f}));
}

TEST_F(ParticleOperators, LockedOnesFollowTheOwnerOffPausesBirthsAndRemovalSkipsNone) {
    // Particles locked to the effect follow a moving owner exactly.
    Write("locked", EffectText(10, {Burst(3)}, {Ring("0", "5")}, {{"LockToEffectPos", {}}}));
    GameObject* owner = nullptr;
    ParticleEffectComponent* c = Holder("locked", 40, 60, &owner);
    ParticleEffect* held = c->effect;
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->holder, c);
    Frame(0.016f);
    ASSERT_EQ(held->particles.size(), 3u);
    std::vector<std::pair<float, float>> before;
    for (const Particle& p : held->particles)
        before.push_back({p.object->x, p.object->y});

    owner->x += 30.0f;
    owner->y -= 20.0f;
    Frame(0.016f);
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_TRUE(Floats({held->particles[k].object->x, held->particles[k].object->y},
                           {before[k].first + 30.0f, before[k].second - 20.0f}));
    EXPECT_TRUE(Floats({held->x, held->y, held->dx}, {70.0f, 40.0f, 0.0f}));

    // The offset is part of where the effect is kept.
    c->offsetX = 10.0f;
    Frame(0.016f);
    EXPECT_FLOAT_EQ(held->x, 80.0f);
    EXPECT_FLOAT_EQ(held->particles[0].object->x, before[0].first + 40.0f);

    // Switched off, an effect lets its particles die and resumes on its clock.
    Write("trail",
          EffectText(50, {Stream("10")}, {Ranged("Lifespan", "1", "1")}, {{"LifespanDecay", {}}}));
    ParticleEffect* trail = particles->CreateEffect("trail", 0, 0);
    const uint32_t trailId = trail->id;
    Frame(0.35f);
    EXPECT_EQ(trail->particles.size(), 3u);
    trail->active = false;
    for (int k = 0; k < 4; ++k)
        Frame(0.3f);
    EXPECT_TRUE(trail->particles.empty());
    EXPECT_EQ(particles->FindEffect(trailId), trail)
        << "an unfinished emitter keeps even a one-shot effect";
    EXPECT_FALSE(trail->emitters[0]->finished);
    EXPECT_NEAR(trail->emitters[0]->timer, 0.05f, 1e-5f) << "the clock stood still";
    trail->active = true;
    Frame(0.06f);
    EXPECT_EQ(trail->particles.size(), 1u);

    // Particles that die during the pass skip none of the others.
    Write("row",
          EffectText(10, {Burst(5)}, {Ranged("Lifespan", "1", "1"), Velocity("10", "1"), Ring()},
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
    for (const Particle& p : e->particles) // moved exactly once per frame, aged once
        EXPECT_TRUE(Floats({p.object->x, p.age, p.life}, {2.0f, 0.2f, 0.9f}));
    for (int k : {0, 1, 3})
        EXPECT_EQ(factory->FindObject(ids[k]), nullptr);
}

} // namespace
} // namespace Flurr
