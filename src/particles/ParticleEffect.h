#pragma once
// A started particle effect: its emitters, initializers and operators (as
// read from its file), its live particles in birth order and its place in
// the world. The ParticleSystem owns every effect and updates each once a
// frame; see ParticleSystem.h for how effects start, retire and go.
//
// One update: the emitters run (only while `active`), then every particle
// ages and goes through the operators (a particle whose object the Factory
// no longer has is dropped first, untouched), then the position takes this
// frame's displacement (dx, dy), which is reset. Update reports whether
// the effect is spent: every emitter finished and no particle left.
//
// ParticleEffectDescription is an effect file read once: the system keeps
// one per file and builds every new effect of that name from it, with
// fresh emitter timers, exactly as if the file had been read again.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "particles/Particle.h"
#include "particles/ParticleEmitters.h"
#include "particles/ParticleInitializers.h"
#include "particles/ParticleOperators.h"

namespace Flurr {

class ParticleEffectComponent;

// Ceilings on what an effect file may ask for. The game's own effects use
// at most 100 particles and 90 births a second; these are ten times that,
// so only a slip of the keyboard (or a hostile file) meets them, and such a
// file no longer stalls the game making objects by the million. A file
// over them is read with its numbers brought down to them, and said once.
inline constexpr uint32_t kMaxParticlesPerEffect = 1000; // "MaxParticles", "Amount"
inline constexpr float kMaxEmissionRate = 1000.0f;       // "Rate", births a second

class ParticleEffect {
public:
    ParticleEffect() = default;
    // Particle objects the Factory still has stay with it; they stop
    // reporting to this effect.
    ~ParticleEffect();
    ParticleEffect(const ParticleEffect&) = delete;
    ParticleEffect& operator=(const ParticleEffect&) = delete;

    // One frame; true when the effect is spent.
    bool Update(float dt);
    // Every emitter finished and no particle left.
    bool Spent() const;
    // A new particle, unless the effect is full or there is no Factory to
    // make its object; false when none was born.
    bool Birth();
    // Points every "VelocityRandom" initializer of this effect along (x, y)
    // for the particles born from now on.
    void SetDirection(float x, float y);
    // Destroys the objects of the particles that the Factory still has
    // (deferred, so it is safe from inside anyone's update) and forgets
    // every particle.
    void ReleaseParticles();

    std::string name;
    std::vector<std::unique_ptr<ParticleEmitter>> emitters;
    std::vector<std::unique_ptr<ParticleInitializer>> initializers;
    std::vector<std::unique_ptr<ParticleOperator>> operators;
    std::vector<Particle> particles;
    uint32_t maxParticles = 0;
    float x = 0.0f;
    float y = 0.0f;
    // Displacement requested for this frame (by the owning component),
    // applied and reset at the end of the update.
    float dx = 0.0f;
    float dy = 0.0f;
    // Emitters run only while true; live particles carry on regardless.
    bool active = true;
    // Unique for the run, never reused: a handle that stays safe to look
    // up (ParticleSystem::FindEffect) after the effect is gone.
    uint32_t id = 0;
    // The component that started the effect and keeps it until freed;
    // null for a one-shot effect, which retires once spent.
    ParticleEffectComponent* holder = nullptr;
    // Set when one of the particles' objects went without this effect
    // destroying it: the next update checks every particle's object.
    bool objectsLost = false;
    // Births the particle system still has room for, set before each
    // update so the live particles of all effects together stay under its
    // ceiling (ParticleSystem.h); unlimited for an effect outside a system.
    uint32_t systemRoom = UINT32_MAX;

private:
    // Stops the watches of the particles whose objects still exist.
    void ForgetWatches();
};

struct ParticleEffectDescription {
    // Reads "<folder><name>.zorvel". Problems are warned of once, here: an
    // unknown "Type" (that entry is skipped), a missing file (no
    // emitters, so a one-shot effect of it retires on its first update) or
    // counts and rates over the ceilings above (brought down to them).
    static std::unique_ptr<ParticleEffectDescription> Read(const std::string& name,
                                                           const std::string& file);
    // A new effect with copies of the parts, each pointing at it.
    std::unique_ptr<ParticleEffect> Build() const;

    std::string name;
    std::string file;
    bool found = false;
    uint32_t maxParticles = 0;
    std::vector<std::unique_ptr<ParticleEmitter>> emitters;
    std::vector<std::unique_ptr<ParticleInitializer>> initializers;
    std::vector<std::unique_ptr<ParticleOperator>> operators;
};

} // namespace Flurr
