#include "particles/ParticleEffect.h"

#include <cmath>
#include <sstream>

#include "engine/GameObject.h"
#include "engine/Report.h"
#include "serialization/Serializer.h"
#include "world/Factory.h"

namespace Flurr {

namespace {

// Reads every `entry` object inside `group`: its "Type" picks the class,
// which reads its own keys from the same object. Unknown types are
// reported and skipped, so the rest of the effect still plays.
template <typename Part, typename Make>
void ReadParts(LoaderBase& loader, const char* group, const char* entry, const char* kind,
               Make make, std::vector<std::unique_ptr<Part>>& out, const std::string& file) {
    loader.Begin(group);
    while (loader.Begin(entry)) {
        std::string type;
        loader.StringField("Type", type);
        if (std::unique_ptr<Part> part = make(type)) {
            part->Serialize(loader);
            out.push_back(std::move(part));
        } else {
            Warn(std::string(kind) + " type '" + type + "' does not exist! (in " +
                 NativePath(file) + ")");
        }
        loader.End(entry);
    }
    loader.End(entry);
    loader.End(group);
}

template <typename Part>
void CopyParts(const std::vector<std::unique_ptr<Part>>& from,
               std::vector<std::unique_ptr<Part>>& to, ParticleEffect* effect) {
    to.reserve(from.size());
    for (const std::unique_ptr<Part>& part : from) {
        to.push_back(part->Clone());
        to.back()->effect = effect;
    }
}

// Brings the counts and rates of a freshly read effect down to the
// ceilings; one warning for the file, naming every number that was over.
void CapEffect(ParticleEffectDescription& d) {
    std::ostringstream over;
    const auto note = [&over](const char* key, auto value) {
        over << (over.tellp() > 0 ? ", " : "") << key << " " << value;
    };
    if (d.maxParticles > kMaxParticlesPerEffect) {
        note("MaxParticles", d.maxParticles);
        d.maxParticles = kMaxParticlesPerEffect;
    }
    for (const std::unique_ptr<ParticleEmitter>& emitter : d.emitters) {
        if (auto* burst = dynamic_cast<EmitInstantaneously*>(emitter.get())) {
            if (burst->amount > kMaxParticlesPerEffect) {
                note("Amount", burst->amount);
                burst->amount = kMaxParticlesPerEffect;
            }
        } else if (auto* stream = dynamic_cast<EmitContinuously*>(emitter.get())) {
            // An infinite rate is left to the emitter, which treats it as
            // one that can never be met and emits nothing.
            if (std::isfinite(stream->rate) && stream->rate > kMaxEmissionRate) {
                note("Rate", stream->rate);
                stream->rate = kMaxEmissionRate;
            }
        }
    }
    if (over.tellp() > 0)
        Warn("particle effect file " + NativePath(d.file) +
             " asks for more than an effect may have (" + over.str() + "); it gets at most " +
             std::to_string(kMaxParticlesPerEffect) + " particles and " +
             std::to_string(static_cast<int>(kMaxEmissionRate)) + " births a second");
}

} // namespace

bool ParticleEffect::Birth() {
    if (particles.size() >= maxParticles)
        return false;
    if (systemRoom == 0) {
        WarnOnce("particles: system full",
                 "more particles at once than the particle system allows; births of effect \"" +
                     name + "\" and others are skipped until some particles go");
        return false;
    }
    Factory* factory = Factory::Instance();
    if (!factory)
        return false;
    if (systemRoom != UINT32_MAX)
        --systemRoom;
    GameObject* object = factory->CreateGameObject();
    // A particle is not part of the level: a saved level leaves it out.
    object->savedWithLevel = false;
    Particle& p = particles.emplace_back();
    p.object = object;
    p.objectId = object->id;
    p.watch = new ParticleWatch();
    p.watch->effect = this;
    object->AddComponent(p.watch);
    for (const std::unique_ptr<ParticleInitializer>& initializer : initializers)
        initializer->Apply(p);
    return true;
}

bool ParticleEffect::Update(float dt) {
    if (active)
        for (const std::unique_ptr<ParticleEmitter>& emitter : emitters)
            emitter->Emit(dt);

    // A particle whose object went (a level change, the editor, anyone)
    // is dropped before anything of it is touched.
    Factory* factory = Factory::Instance();
    if (objectsLost || !factory) {
        std::erase_if(particles, [factory](const Particle& p) {
            return !factory || factory->FindObject(p.objectId) != p.object;
        });
        objectsLost = false;
    }
    for (Particle& p : particles)
        p.age += dt;
    for (const std::unique_ptr<ParticleOperator>& op : operators)
        op->ApplyAll(particles, dt);

    // Removal keeps birth order and never skips the particle after a
    // removed one: survivors move down over the gaps.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < particles.size(); ++i) {
        Particle& p = particles[i];
        if (p.removed) {
            // Within our own update nobody else is walking the factory or
            // this object, so it can go at once.
            p.watch->effect = nullptr;
            factory->DestroyObject(p.object);
            continue;
        }
        if (kept != i)
            particles[kept] = p;
        ++kept;
    }
    particles.resize(kept);

    x += dx;
    y += dy;
    dx = 0.0f;
    dy = 0.0f;
    return Spent();
}

bool ParticleEffect::Spent() const {
    if (!particles.empty())
        return false;
    for (const std::unique_ptr<ParticleEmitter>& emitter : emitters)
        if (!emitter->finished)
            return false;
    return true;
}

void ParticleEffect::SetDirection(float directionX, float directionY) {
    for (const std::unique_ptr<ParticleInitializer>& initializer : initializers)
        if (auto* velocity = dynamic_cast<VelocityRandomInitializer*>(initializer.get())) {
            velocity->xDirection = directionX;
            velocity->yDirection = directionY;
        }
}

void ParticleEffect::ReleaseParticles() {
    ForgetWatches();
    if (Factory* factory = Factory::Instance())
        for (const Particle& p : particles)
            if (factory->FindObject(p.objectId) == p.object)
                factory->DestroyLater(p.object);
    particles.clear();
}

ParticleEffect::~ParticleEffect() {
    ForgetWatches();
}

void ParticleEffect::ForgetWatches() {
    // Without a Factory there are no particle objects left to watch.
    if (Factory* factory = Factory::Instance())
        for (const Particle& p : particles)
            if (factory->FindObject(p.objectId) == p.object)
                p.watch->effect = nullptr;
}

void ParticleWatch::Free() {
    if (effect)
        effect->objectsLost = true;
    effect = nullptr;
}

std::unique_ptr<ParticleEffectDescription>
ParticleEffectDescription::Read(const std::string& name, const std::string& file) {
    auto d = std::make_unique<ParticleEffectDescription>();
    d->name = name;
    d->file = file;
    ALoader loader(file);
    d->found = !loader.IsFileMissing();
    if (!d->found) {
        Warn("particle effect file " + NativePath(file) + " is missing or empty; effect \"" + name +
             "\" shows nothing");
        return d;
    }
    loader.Begin("Root");
    loader.Begin("ParticleEffect");
    loader.UnsignedField("MaxParticles", d->maxParticles);
    ReadParts(loader, "Emitters", "Emitter", "Emitter", MakeEmitter, d->emitters, file);
    ReadParts(loader, "Initializers", "Initializer", "Initializer", MakeInitializer,
              d->initializers, file);
    ReadParts(loader, "Operators", "Operator", "Operator", MakeOperator, d->operators, file);
    loader.End("ParticleEffect");
    loader.End("Root");
    CapEffect(*d);
    return d;
}

std::unique_ptr<ParticleEffect> ParticleEffectDescription::Build() const {
    auto effect = std::make_unique<ParticleEffect>();
    effect->name = name;
    effect->maxParticles = maxParticles;
    CopyParts(emitters, effect->emitters, effect.get());
    CopyParts(initializers, effect->initializers, effect.get());
    CopyParts(operators, effect->operators, effect.get());
    return effect;
}

} // namespace Flurr
