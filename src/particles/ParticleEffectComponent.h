#pragma once
// Keeps a particle effect attached to its owner: the effect starts at the
// owner's position when the component is initialised and from then on
// follows the owner, kept at (owner x + offsetX, owner y + offsetY)
// through the effect's per-frame displacement.
//
// It reads and writes no keys: whoever adds it to an object sets
// `effectName` (and the offset) before calling Initialize(). The owner
// switches the effect on and off through `effect->active`.
//
// Driven by the ParticleSystem, which updates it before the effects. The
// component holds its effect: the effect never retires on its own, even
// when spent, and goes (with its particles' objects) in Free(). Free() is
// safe to call twice and after the ParticleSystem is gone.

#include <string>

#include "engine/DrivenComponent.h"
#include "particles/ParticleSystem.h"

namespace Flurr {

class ParticleEffect;

struct ParticleEffectComponentName {
    static constexpr const char* value = "ParticleEffectComponent";
};

class ParticleEffectComponent
    : public DrivenComponent<ParticleEffectComponent, ParticleEffectComponentName, ParticleSystem> {
public:
    ~ParticleEffectComponent() override;

    void Initialize() override;
    void Update(float dt) override;
    void Free() override;

    std::string effectName;
    ParticleEffect* effect = nullptr; // owned by the ParticleSystem
    float offsetX = 0.0f;             // world units from the owner
    float offsetY = 0.0f;

private:
    // The ParticleSystem went first: forget the effect without touching it.
    void Detached() override;
};

} // namespace Flurr
