#include "particles/ParticleEffectComponent.h"

#include "engine/GameObject.h"
#include "particles/ParticleEffect.h"
#include "particles/ParticleSystem.h"
#include "world/SpaceManager.h"

namespace Flurr {

ParticleEffectComponent::~ParticleEffectComponent() {
    Free();
}

void ParticleEffectComponent::Initialize() {
    ParticleSystem* system = ParticleSystem::Instance();
    if (!system)
        return;
    Join({Spaces::Game});
    // A second Initialize must not start a second effect.
    if (!effect && !effectName.empty() && owner) {
        effect = system->CreateEffect(effectName, owner->x, owner->y);
        effect->holder = this;
    }
}

void ParticleEffectComponent::Update(float) {
    if (!effect || !owner)
        return;
    effect->dx = owner->x + offsetX - effect->x;
    effect->dy = owner->y + offsetY - effect->y;
}

void ParticleEffectComponent::Free() {
    ParticleSystem* system = ParticleSystem::Instance();
    Leave();
    if (effect) {
        if (system)
            system->DestroyEffect(effect);
        effect = nullptr;
    }
}

void ParticleEffectComponent::Detached() {
    effect = nullptr;
}

} // namespace Flurr
