#include "particles/ParticleEmitters.h"

#include <cmath>

#include "particles/ParticleEffect.h"
#include "serialization/Serializer.h"

namespace Flurr {

std::unique_ptr<ParticleEmitter> MakeEmitter(const std::string& type) {
    std::unique_ptr<ParticleEmitter> emitter;
    if (type == "EmitInstantaneously")
        emitter = std::make_unique<EmitInstantaneously>();
    else if (type == "EmitContinuously")
        emitter = std::make_unique<EmitContinuously>();
    if (emitter)
        emitter->type = type;
    return emitter;
}

void EmitInstantaneously::Emit(float dt) {
    if (finished)
        return;
    timer += dt;
    if (timer >= 0.0f) {
        // Once the effect is full the remaining births would all be
        // skipped, so a huge Amount costs nothing.
        for (uint32_t k = 0; k < amount; ++k)
            if (!effect->Birth())
                break;
        finished = true;
    }
}

void EmitInstantaneously::Serialize(ASerializer& s) {
    s.UnsignedField("Amount", amount);
    s.FloatField("Delay", delay);
    if (!s.IsSaving())
        timer = -delay;
}

void EmitContinuously::Emit(float dt) {
    // A rate that is not a positive number would never let the birth loop
    // below end (a zero or negative step, or an infinite rate's step of
    // 0); such an emitter has nothing to do.
    if (finished || !(rate > 0.0f) || !std::isfinite(rate)) {
        finished = true;
        return;
    }
    timer += dt;
    if (timer < 0.0f)
        return;
    if (duration != 0.0f) {
        duration -= dt;
        // This frame's births still happen.
        if (duration <= 0.0f)
            finished = true;
    }
    const float step = 1.0f / rate;
    while (timer >= step) {
        const float left = timer - step;
        if (!(left < timer)) {
            // The step is too small to change the timer at its size (a
            // rate of billions a second): take as many as fit, keep the
            // fraction.
            while (effect->Birth()) {
            }
            timer = std::fmod(timer, step);
            break;
        }
        timer = left;
        effect->Birth();
    }
}

void EmitContinuously::Serialize(ASerializer& s) {
    s.FloatField("Rate", rate);
    s.FloatField("Duration", duration);
    s.FloatField("Delay", delay);
    if (!s.IsSaving())
        timer = -delay;
}

} // namespace Flurr
