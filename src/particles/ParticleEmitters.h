#pragma once
// Emitters decide when an effect's particles are born. Each effect owns
// its emitters (file order) and runs every one of them once per frame
// while the effect is active; an emitter asks its effect for births, which
// the effect skips silently once it holds "MaxParticles" particles.
//
//   "EmitInstantaneously"  "Amount", "Delay": after Delay seconds, Amount
//                          births at once, then finished.
//   "EmitContinuously"     "Rate", "Duration", "Delay": after Delay
//                          seconds, one birth every 1 / Rate seconds,
//                          leftover time carried to the next frame, until
//                          Duration has run out (0: never).
//
// The timer of both starts at -Delay when the keys are read. Keys missing
// from the file read as 0. An effect is done with its emitters once every
// one of them is finished.

#include <cstdint>
#include <memory>
#include <string>

namespace Flurr {

class ASerializer;
class ParticleEffect;

class ParticleEmitter {
public:
    virtual ~ParticleEmitter() = default;

    virtual void Emit(float dt) = 0;
    // Reads (or writes) the type's own keys; "Type" is read by the caller.
    virtual void Serialize(ASerializer& serializer) = 0;
    // A copy with the same keys and state, for a new effect.
    virtual std::unique_ptr<ParticleEmitter> Clone() const = 0;

    std::string type;
    ParticleEffect* effect = nullptr;
    bool finished = false;
    float timer = 0.0f;
};

// A new emitter of that type name, or null when there is none.
std::unique_ptr<ParticleEmitter> MakeEmitter(const std::string& type);

template <typename T> class EmitterBase : public ParticleEmitter {
public:
    std::unique_ptr<ParticleEmitter> Clone() const override {
        return std::make_unique<T>(static_cast<const T&>(*this));
    }
};

class EmitInstantaneously : public EmitterBase<EmitInstantaneously> {
public:
    void Emit(float dt) override;
    void Serialize(ASerializer& serializer) override;

    uint32_t amount = 0;
    float delay = 0.0f;
};

class EmitContinuously : public EmitterBase<EmitContinuously> {
public:
    void Emit(float dt) override;
    void Serialize(ASerializer& serializer) override;

    float rate = 0.0f;     // births per second
    float duration = 0.0f; // seconds left; 0 runs for ever
    float delay = 0.0f;
};

} // namespace Flurr
