#pragma once
// Operators change every live particle once per frame, in file order. An
// operator that removes its particle ("LifespanDecay" when life runs out)
// says so, and no later operator sees that particle.
//
//   "LifespanDecay"    life -= dt; removed at life <= 0
//   "AlphaDecay"       sprite Opacity = life / (age + life)
//   "ColorFade"        "Red", "Green", "Blue": the colour reaches the
//                      target as life runs out
//   "Rotate"           rotation += rotation speed * dt
//   "Move"             position += velocity * dt
//   "LockToEffectPos"  position += the effect's displacement this frame
//   "Force"            "XDirection", "YDirection", "Strength": velocity +=
//                      direction * Strength * dt (not normalised)
//   "Drag"             "Coefficient": velocity -= velocity * Coefficient,
//                      once a frame whatever dt (the effect files are
//                      tuned to that, so it is kept)
//   "RadiusScale"      "EndRadius": the scale reaches EndRadius as life
//                      runs out
//
// An effect hands each operator all of its particles at once (ApplyAll),
// which gives every particle not yet removed this frame the same Apply as
// a walk particle by particle would, operators in file order: operators
// read and write only their own particle, so the order of the two loops
// does not change a result. It spares a call per particle and operator.
//
// The three "as life runs out" operators divide by the time left; when
// there is none (dt and life both 0) they take the end value at once.

#include <memory>
#include <span>
#include <string>

namespace Flurr {

class ASerializer;
class ParticleEffect;
struct Particle;

class ParticleOperator {
public:
    virtual ~ParticleOperator() = default;

    // False when the particle is to be removed.
    virtual bool Apply(Particle& particle, float dt) = 0;
    // Apply on each particle that is not `removed`, marking those it
    // removes.
    virtual void ApplyAll(std::span<Particle> particles, float dt) = 0;
    // Reads (or writes) the type's own keys; "Type" is read by the caller.
    virtual void Serialize(ASerializer& serializer) = 0;
    virtual std::unique_ptr<ParticleOperator> Clone() const = 0;

    std::string type;
    ParticleEffect* effect = nullptr;
};

// A new operator of that type name, or null when there is none.
std::unique_ptr<ParticleOperator> MakeOperator(const std::string& type);

template <typename T> class OperatorBase : public ParticleOperator {
public:
    std::unique_ptr<ParticleOperator> Clone() const override {
        return std::make_unique<T>(static_cast<const T&>(*this));
    }
};

class LifespanDecayOperator : public OperatorBase<LifespanDecayOperator> {
public:
    bool Apply(Particle& particle, float dt) override;
    void ApplyAll(std::span<Particle> particles, float dt) override;
    void Serialize(ASerializer&) override {}
};

class AlphaDecayOperator : public OperatorBase<AlphaDecayOperator> {
public:
    bool Apply(Particle& particle, float dt) override;
    void ApplyAll(std::span<Particle> particles, float dt) override;
    void Serialize(ASerializer&) override {}
};

class ColorFadeOperator : public OperatorBase<ColorFadeOperator> {
public:
    bool Apply(Particle& particle, float dt) override;
    void ApplyAll(std::span<Particle> particles, float dt) override;
    void Serialize(ASerializer& serializer) override;

    float red = 0.0f; // colour multipliers, 0..1
    float green = 0.0f;
    float blue = 0.0f;
};

class RotateOperator : public OperatorBase<RotateOperator> {
public:
    bool Apply(Particle& particle, float dt) override;
    void ApplyAll(std::span<Particle> particles, float dt) override;
    void Serialize(ASerializer&) override {}
};

class MoveOperator : public OperatorBase<MoveOperator> {
public:
    bool Apply(Particle& particle, float dt) override;
    void ApplyAll(std::span<Particle> particles, float dt) override;
    void Serialize(ASerializer&) override {}
};

class LockToEffectPosOperator : public OperatorBase<LockToEffectPosOperator> {
public:
    bool Apply(Particle& particle, float dt) override;
    void ApplyAll(std::span<Particle> particles, float dt) override;
    void Serialize(ASerializer&) override {}
};

class ForceOperator : public OperatorBase<ForceOperator> {
public:
    bool Apply(Particle& particle, float dt) override;
    void ApplyAll(std::span<Particle> particles, float dt) override;
    void Serialize(ASerializer& serializer) override;

    float xDirection = 0.0f;
    float yDirection = 0.0f;
    float strength = 0.0f; // world units per second, per second
};

class DragOperator : public OperatorBase<DragOperator> {
public:
    bool Apply(Particle& particle, float dt) override;
    void ApplyAll(std::span<Particle> particles, float dt) override;
    void Serialize(ASerializer& serializer) override;

    float coefficient = 0.0f; // share of the velocity lost per frame
};

class RadiusScaleOperator : public OperatorBase<RadiusScaleOperator> {
public:
    bool Apply(Particle& particle, float dt) override;
    void ApplyAll(std::span<Particle> particles, float dt) override;
    void Serialize(ASerializer& serializer) override;

    float endRadius = 0.0f;
};

} // namespace Flurr
