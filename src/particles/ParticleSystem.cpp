#include "particles/ParticleSystem.h"

#include <algorithm>

#include "engine/Component.h"
#include "engine/Core.h"
#include "engine/Message.h"
#include "particles/ParticleEffectComponent.h"

namespace Flurr {

namespace {
// Effect ids are never reused in a run, not even by a later system.
uint32_t nextEffectId = 1;
} // namespace

ParticleSystem::ParticleSystem(std::string folder) : effectFolder(std::move(folder)) {}

ParticleSystem::~ParticleSystem() {
    // Components that outlive the system must not reach it or its effects.
    for (ParticleEffectComponent* c : components.Items())
        c->Detach();
    components.ClearAll();
    // Objects still recorded stay with the Factory, which frees them.
    effects.clear();
}

void ParticleSystem::Initialize() {
    if (Core* core = Core::Instance())
        core->RegisterForMessage(this, MessageId::LevelChange);
}

void ParticleSystem::Update(float dt) {
    // Effects follow their holders whichever spaces are active.
    components.ForEachAll([dt](ParticleEffectComponent* c) { c->Update(dt); });
    std::size_t live = 0;
    for (const std::unique_ptr<ParticleEffect>& effect : effects)
        live += effect->particles.size();
    for (std::size_t i = 0; i < effects.size(); ++i) {
        ParticleEffect* effect = effects[i].get();
        effect->systemRoom =
            static_cast<uint32_t>(live < kMaxLiveParticles ? kMaxLiveParticles - live : 0);
        const std::size_t before = effect->particles.size();
        const bool spent = effect->Update(dt);
        live = live - before + effect->particles.size();
        if (spent && !effect->holder) {
            // Spent: it has no particles left to take with it.
            effects.erase(effects.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
}

void ParticleSystem::SendMessage(Message* message) {
    // The new level's objects exist by now, and the old level's are gone:
    // the one-shot effects of the old level have nothing left to show.
    if (message->id == MessageId::LevelChange)
        DropUnheldEffects();
}

void ParticleSystem::ReleaseObjects() {
    DropUnheldEffects();
}

const ParticleEffectDescription& ParticleSystem::Describe(const std::string& name) {
    const std::string file = effectFolder + name + ".zorvel";
    auto it = descriptions.find(file);
    if (it == descriptions.end())
        it = descriptions.emplace(file, ParticleEffectDescription::Read(name, file)).first;
    return *it->second;
}

ParticleEffect* ParticleSystem::CreateEffect(const std::string& name, float x, float y) {
    std::unique_ptr<ParticleEffect> effect = Describe(name).Build();
    effect->x = x;
    effect->y = y;
    effect->id = nextEffectId++;
    effects.push_back(std::move(effect));
    return effects.back().get();
}

ParticleEffect* ParticleSystem::FindEffect(uint32_t id) const {
    for (const std::unique_ptr<ParticleEffect>& effect : effects)
        if (effect->id == id)
            return effect.get();
    return nullptr;
}

std::unique_ptr<ParticleEffect> ParticleSystem::TakeEffect(ParticleEffect* effect) {
    auto it = std::find_if(effects.begin(), effects.end(),
                           [effect](const auto& e) { return e.get() == effect; });
    if (it == effects.end())
        return nullptr;
    std::unique_ptr<ParticleEffect> taken = std::move(*it);
    effects.erase(it);
    return taken;
}

void ParticleSystem::DestroyEffect(ParticleEffect* effect) {
    std::unique_ptr<ParticleEffect> taken = TakeEffect(effect);
    if (!taken)
        return;
    if (taken->holder && taken->holder->effect == taken.get())
        taken->holder->effect = nullptr;
    taken->ReleaseParticles();
}

void ParticleSystem::DropUnheldEffects() {
    std::vector<std::unique_ptr<ParticleEffect>> kept;
    std::vector<std::unique_ptr<ParticleEffect>> dropped;
    for (std::unique_ptr<ParticleEffect>& effect : effects)
        (effect->holder ? kept : dropped).push_back(std::move(effect));
    effects = std::move(kept);
    for (std::unique_ptr<ParticleEffect>& effect : dropped)
        effect->ReleaseParticles();
}

void ParticleSystem::RegisterComponent(ParticleEffectComponent* component,
                                       const std::string& space) {
    components.Add(component, space);
}

void ParticleSystem::UnregisterComponent(ParticleEffectComponent* component) {
    components.Remove(component);
}

} // namespace Flurr
