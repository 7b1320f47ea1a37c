#include "particles/ParticleOperators.h"

#include <numbers>

#include "engine/GameObject.h"
#include "graphics/GraphicsComponent.h"
#include "particles/Particle.h"
#include "particles/ParticleEffect.h"
#include "serialization/Serializer.h"

namespace Flurr {

namespace {

constexpr float kRadiansPerDegree = std::numbers::pi_v<float> / 180.0f;

// The qualified call is not virtual, so each class's loop inlines its own
// Apply.
template <typename T> void ApplyEach(T& op, std::span<Particle> particles, float dt) {
    for (Particle& p : particles)
        if (!p.removed && !op.T::Apply(p, dt))
            p.removed = true;
}

} // namespace

std::unique_ptr<ParticleOperator> MakeOperator(const std::string& type) {
    std::unique_ptr<ParticleOperator> made;
    if (type == "LifespanDecay")
        made = std::make_unique<LifespanDecayOperator>();
    else if (type == "AlphaDecay")
        made = std::make_unique<AlphaDecayOperator>();
    else if (type == "ColorFade")
        made = std::make_unique<ColorFadeOperator>();
    else if (type == "Rotate")
        made = std::make_unique<RotateOperator>();
    else if (type == "Move")
        made = std::make_unique<MoveOperator>();
    else if (type == "LockToEffectPos")
        made = std::make_unique<LockToEffectPosOperator>();
    else if (type == "Force")
        made = std::make_unique<ForceOperator>();
    else if (type == "Drag")
        made = std::make_unique<DragOperator>();
    else if (type == "RadiusScale")
        made = std::make_unique<RadiusScaleOperator>();
    if (made)
        made->type = type;
    return made;
}

void LifespanDecayOperator::ApplyAll(std::span<Particle> particles, float dt) {
    ApplyEach(*this, particles, dt);
}

bool LifespanDecayOperator::Apply(Particle& p, float dt) {
    p.life -= dt;
    return p.life > 0.0f;
}

void AlphaDecayOperator::ApplyAll(std::span<Particle> particles, float dt) {
    ApplyEach(*this, particles, dt);
}

bool AlphaDecayOperator::Apply(Particle& p, float) {
    if (!p.sprite)
        return true;
    const float lived = p.age + p.life;
    p.sprite->Opacity = lived == 0.0f ? 0.0f : p.life / lived;
    return true;
}

void ColorFadeOperator::ApplyAll(std::span<Particle> particles, float dt) {
    ApplyEach(*this, particles, dt);
}

bool ColorFadeOperator::Apply(Particle& p, float dt) {
    GraphicsComponent* sprite = p.sprite;
    if (!sprite)
        return true;
    const float left = dt + p.life;
    const float k = left == 0.0f ? 1.0f : dt / left;
    sprite->red += (red - sprite->red) * k;
    sprite->green += (green - sprite->green) * k;
    sprite->blue += (blue - sprite->blue) * k;
    sprite->colourAlpha += (1.0f - sprite->colourAlpha) * k;
    return true;
}

void ColorFadeOperator::Serialize(ASerializer& s) {
    s.FloatField("Red", red);
    s.FloatField("Green", green);
    s.FloatField("Blue", blue);
}

void RotateOperator::ApplyAll(std::span<Particle> particles, float dt) {
    ApplyEach(*this, particles, dt);
}

bool RotateOperator::Apply(Particle& p, float dt) {
    p.object->rotation += p.rotationSpeed * kRadiansPerDegree * dt;
    return true;
}

void MoveOperator::ApplyAll(std::span<Particle> particles, float dt) {
    ApplyEach(*this, particles, dt);
}

bool MoveOperator::Apply(Particle& p, float dt) {
    p.object->x += p.velocityX * dt;
    p.object->y += p.velocityY * dt;
    return true;
}

void LockToEffectPosOperator::ApplyAll(std::span<Particle> particles, float dt) {
    ApplyEach(*this, particles, dt);
}

bool LockToEffectPosOperator::Apply(Particle& p, float) {
    p.object->x += effect->dx;
    p.object->y += effect->dy;
    return true;
}

void ForceOperator::ApplyAll(std::span<Particle> particles, float dt) {
    ApplyEach(*this, particles, dt);
}

bool ForceOperator::Apply(Particle& p, float dt) {
    p.velocityX += xDirection * strength * dt;
    p.velocityY += yDirection * strength * dt;
    return true;
}

void ForceOperator::Serialize(ASerializer& s) {
    s.FloatField("XDirection", xDirection);
    s.FloatField("YDirection", yDirection);
    s.FloatField("Strength", strength);
}

void DragOperator::ApplyAll(std::span<Particle> particles, float dt) {
    ApplyEach(*this, particles, dt);
}

bool DragOperator::Apply(Particle& p, float) {
    p.velocityX += -p.velocityX * coefficient;
    p.velocityY += -p.velocityY * coefficient;
    return true;
}

void DragOperator::Serialize(ASerializer& s) {
    s.FloatField("Coefficient", coefficient);
}

void RadiusScaleOperator::ApplyAll(std::span<Particle> particles, float dt) {
    ApplyEach(*this, particles, dt);
}

bool RadiusScaleOperator::Apply(Particle& p, float dt) {
    float s = p.object->xScale;
    const float left = dt + p.life;
    if (left == 0.0f)
        s = endRadius;
    else
        s += (endRadius - s) / left * dt;
    p.object->xScale = s;
    p.object->yScale = s;
    return true;
}

void RadiusScaleOperator::Serialize(ASerializer& s) {
    s.FiniteFloatField("EndRadius", endRadius);
}

} // namespace Flurr
