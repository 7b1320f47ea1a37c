#pragma once
// The ParticleSystem runs data-driven particle effects: trails behind the
// player, lift-off bursts, dust, sparks, confetti. An effect file names
// its emitters (when particles are born), initializers (how each starts)
// and operators (how each changes every frame); every particle is a real
// Factory object with its own GraphicsComponent, so particles sort, blend
// and animate like any sprite.
//
// Driven by the Core once per frame, after the logic system: first every
// registered ParticleEffectComponent updates (it asks its effect to follow
// its owner), then every live effect updates in creation order. When a
// one-shot effect is spent (emitters finished, particles gone) it retires:
// it leaves the list, and the walk stops for this frame -- the effects
// after it are updated from the next frame on. Particles run whichever
// spaces are active: nothing in the game's rules pauses them.
//
// Owns: the live effects, and the effect files read so far (each file is
// read once; every CreateEffect builds a fresh effect from what was read).
//
// Effects end in three ways:
// - a one-shot effect (CreateEffect) retires once spent;
// - an effect started by a ParticleEffectComponent is kept while the
//   component holds it, spent or not, and goes with the component's Free();
// - at a level change (LevelChangeMessage) every effect no component holds
//   is dropped. DestroyEffect ends one at once.
// An effect that goes takes its particles' objects with it. Particles
// whose objects went first (the Factory frees every object at a level
// change) are dropped by their effect on its next update.
//
// The live particles of all effects together stay under
// kMaxLiveParticles: once that many live, births are skipped (said once a
// run) until some go. With every effect also held to its own ceilings
// (ParticleEffect.h), no file can make a frame's work unbounded.
//
// Invariant: nothing an effect's update calls reaches a component of this
// system, so the live list does not change under the walk except by
// the retirement that ends it.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/GameSystem.h"
#include "particles/ParticleEffect.h"
#include "world/SpaceLists.h"

namespace Flurr {

class ParticleEffectComponent;

// Ten times the particles of every effect the game can show at once.
inline constexpr std::size_t kMaxLiveParticles = 10000;

struct ParticleSystemName {
    static constexpr const char* value = "ParticleSystem";
};

class ParticleSystem : public ISystem<ParticleSystem, ParticleSystemName> {
public:
    // `effectFolder`: where effect files are read from, ending in a
    // separator.
    explicit ParticleSystem(std::string effectFolder = "");
    ~ParticleSystem() override;

    // Listens for level changes.
    void Initialize() override;
    void Update(float dt) override;
    void SendMessage(Message* message) override;
    // Drops every effect no component holds (shutdown, after the Factory
    // has freed the objects).
    void ReleaseObjects() override;

    // A new one-shot effect of that name at (x, y), appended to the live
    // list. Never null: a missing file gives an effect that shows nothing
    // and retires on its first update.
    ParticleEffect* CreateEffect(const std::string& name, float x, float y);
    // The live effect with that id, or null once it has gone.
    ParticleEffect* FindEffect(uint32_t id) const;
    // Ends a live effect now: off the list, its particles' objects
    // destroyed, deleted. A holding component forgets it. Anything else
    // is ignored.
    void DestroyEffect(ParticleEffect* effect);
    // Drops every effect no component holds.
    void DropUnheldEffects();

    // Where effect files are read from, ending in a separator.
    void SetEffectFolder(std::string folder) { effectFolder = std::move(folder); }
    const std::string& EffectFolder() const { return effectFolder; }
    // Forgets the files read so far, so the next effects read them again
    // (after editing an effect).
    void ForgetEffectFiles() { descriptions.clear(); }
    // The file of that name as read (reading it now if need be).
    const ParticleEffectDescription& Describe(const std::string& name);

    void RegisterComponent(ParticleEffectComponent* component, const std::string& space);
    void UnregisterComponent(ParticleEffectComponent* component);

    // Live effects, in creation order.
    std::vector<std::unique_ptr<ParticleEffect>> effects;
    SpaceLists<ParticleEffectComponent> components;

private:
    std::unique_ptr<ParticleEffect> TakeEffect(ParticleEffect* effect);

    std::string effectFolder;
    // By file path.
    std::map<std::string, std::unique_ptr<ParticleEffectDescription>> descriptions;
};

} // namespace Flurr
