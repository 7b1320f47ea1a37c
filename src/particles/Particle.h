#pragma once
// One live particle of an effect: a real game object, recorded with the
// Factory and drawn by its own GraphicsComponent, plus the few numbers the
// operators change every frame. All start at 0.
//
// The object is referred to by pointer for speed, but the pointer is only
// followed while the Factory still has an object under `objectId`: levels
// change and the editor deletes objects without asking the particle system,
// and object ids are never reused, so the id tells a live object from a
// destroyed one. Asking the Factory for every particle every frame would
// be most of the cost of a frame, so each particle object also carries a
// ParticleWatch, which tells the effect when the object goes; the effect
// checks its particles' ids in the frame after that.

#include <cstdint>

#include "engine/Component.h"

namespace Flurr {

class GameObject;
class GraphicsComponent;
class ParticleEffect;

struct ParticleWatchName {
    static constexpr const char* value = "ParticleWatch";
};

// Not registered as a component class: it is never read from or written
// to a file, and only the particle system makes it.
class ParticleWatch : public ComponentBase<ParticleWatch, ParticleWatchName> {
public:
    // Every way an object goes (destroyed at once, later, or with the
    // level) frees its components first.
    void Free() override;

    // Cleared by the effect before it destroys the object itself or is
    // deleted while the object lives on.
    ParticleEffect* effect = nullptr;
};

struct Particle {
    GameObject* object = nullptr;
    int32_t objectId = -1;
    // The object's first sprite, remembered when the "Animation"
    // initializer makes it so operators need not search for it; null
    // without one. Valid exactly as long as `object` is.
    GraphicsComponent* sprite = nullptr;
    // Owned by the object, like the sprite.
    ParticleWatch* watch = nullptr;
    float life = 0.0f;          // seconds remaining
    float age = 0.0f;           // seconds lived
    float rotationSpeed = 0.0f; // degrees per second
    float velocityX = 0.0f;     // world units per second
    float velocityY = 0.0f;
    // Set by the operator that removes the particle; later operators of
    // the frame pass it by, and the effect then destroys its object.
    bool removed = false;
};

} // namespace Flurr
