#include "particles/ParticleInitializers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/Component.h"
#include "engine/GameObject.h"
#include "engine/Random.h"
#include "engine/Report.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/ResourceBank.h"
#include "particles/Particle.h"
#include "particles/ParticleEffect.h"
#include "serialization/Serializer.h"

namespace Flurr {

namespace {

constexpr float kRadiansPerDegree = std::numbers::pi_v<float> / 180.0f;
// Particle sprites play their animation at this priority, looping.
constexpr float kParticlePriority = 1.0f;

} // namespace

std::unique_ptr<ParticleInitializer> MakeInitializer(const std::string& type) {
    std::unique_ptr<ParticleInitializer> made;
    if (type == "Animation")
        made = std::make_unique<AnimationInitializer>();
    else if (type == "RadiusRandom")
        made = std::make_unique<RadiusRandomInitializer>();
    else if (type == "LifespanRandom")
        made = std::make_unique<LifespanRandomInitializer>();
    else if (type == "PositionWithinCircleRandom")
        made = std::make_unique<PositionWithinCircleRandomInitializer>();
    else if (type == "RotationRandom")
        made = std::make_unique<RotationRandomInitializer>();
    else if (type == "RotationSpeedRandom")
        made = std::make_unique<RotationSpeedRandomInitializer>();
    else if (type == "VelocityRandom")
        made = std::make_unique<VelocityRandomInitializer>();
    else if (type == "FrameRandom")
        made = std::make_unique<FrameRandomInitializer>();
    else if (type == "ColorRandom")
        made = std::make_unique<ColorRandomInitializer>();
    else if (type == "ZPosRandom")
        made = std::make_unique<ZPosRandomInitializer>();
    else if (type == "ZOrderRandom")
        made = std::make_unique<ZOrderRandomInitializer>();
    else if (type == "Orthographic")
        made = std::make_unique<OrthographicInitializer>();
    if (made)
        made->type = type;
    return made;
}

void AnimationInitializer::Apply(Particle& p) {
    const char* spriteClass = GraphicsComponent::Name();
    if (!GetComponentRegistry().componentTypeIds.count(spriteClass)) {
        // Effects birth many particles a second: one line a run is enough,
        // whichever effect met the problem first.
        WarnOnce("particles: no sprite class", "particles of effect \"" + effect->name +
                                                   "\" cannot be drawn: no GraphicsComponent "
                                                   "class is registered");
        return;
    }
    Component* made = CreateComponent(spriteClass);
    if (!made)
        return;
    auto* sprite = static_cast<GraphicsComponent*>(made);
    p.object->AddComponent(sprite);
    sprite->Initialize();
    // The sprite would report a missing name once per object, which for
    // particles means once per birth; check here and say it once.
    if (sprite->bank && sprite->bank->HasAnimation(name))
        sprite->SetAnimation(name, kParticlePriority, AnimationFlag::Loop);
    else if (sprite->bank)
        WarnOnce("particles: animation " + name, "particle effect \"" + effect->name +
                                                     "\" names animation \"" + name +
                                                     "\", which is not in the animation bank");
    sprite->SetFrameRate(rate);
    sprite->additive = additiveBlend;
    p.object->width = width;
    p.object->height = height;
    // Operators and later initializers use the first sprite, as a lookup
    // by class would find.
    if (!p.sprite)
        p.sprite = sprite;
}

void AnimationInitializer::Serialize(ASerializer& s) {
    s.StringField("Name", name);
    s.FloatField("Rate", rate);
    s.IntField("Width", width);
    s.IntField("Height", height);
    s.BoolField("AdditiveBlend", additiveBlend);
}

void RadiusRandomInitializer::Apply(Particle& p) {
    const float radius = RandomRange(minimumRadius, maximumRadius);
    p.object->xScale = radius;
    p.object->yScale = radius;
}

void RadiusRandomInitializer::Serialize(ASerializer& s) {
    s.FiniteFloatField("MinimumRadius", minimumRadius);
    s.FiniteFloatField("MaximumRadius", maximumRadius);
}

void LifespanRandomInitializer::Apply(Particle& p) {
    p.life = RandomRange(minimumLifespan, maximumLifespan);
}

void LifespanRandomInitializer::Serialize(ASerializer& s) {
    s.FloatField("MinimumLifespan", minimumLifespan);
    s.FloatField("MaximumLifespan", maximumLifespan);
}

void PositionWithinCircleRandomInitializer::Apply(Particle& p) {
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    if (maximumDistance != 0.0f) {
        const float side = 2.0f * maximumDistance;
        bool inRing = false;
        for (int tries = 0; tries < kRingTries && !inRing; ++tries) {
            offsetX = std::fmod(static_cast<float>(Random()), side) - maximumDistance;
            offsetY = std::fmod(static_cast<float>(Random()), side) - maximumDistance;
            const float d = std::sqrt(offsetX * offsetX + offsetY * offsetY);
            inRing = d <= maximumDistance && minimumDistance <= d;
        }
        if (!inRing) {
            const float angle = RandomRange(0.0f, 2.0f * std::numbers::pi_v<float>);
            const float d =
                RandomRange(std::min(minimumDistance, maximumDistance), maximumDistance);
            offsetX = std::cos(angle) * d;
            offsetY = std::sin(angle) * d;
        }
    }
    p.object->x = effect->x + effect->dx + offsetX;
    p.object->y = effect->y + effect->dy + offsetY;
}

void PositionWithinCircleRandomInitializer::Serialize(ASerializer& s) {
    s.FiniteFloatField("MinimumDistance", minimumDistance);
    s.FiniteFloatField("MaximumDistance", maximumDistance);
}

void RotationRandomInitializer::Apply(Particle& p) {
    p.object->rotation = RandomRange(minimumRotation, maximumRotation) * kRadiansPerDegree;
}

void RotationRandomInitializer::Serialize(ASerializer& s) {
    s.FiniteFloatField("MinimumRotation", minimumRotation);
    s.FiniteFloatField("MaximumRotation", maximumRotation);
}

void RotationSpeedRandomInitializer::Apply(Particle& p) {
    p.rotationSpeed = RandomRange(minimumRotationSpeed, maximumRotationSpeed);
}

void RotationSpeedRandomInitializer::Serialize(ASerializer& s) {
    s.FloatField("MinimumRotationSpeed", minimumRotationSpeed);
    s.FloatField("MaximumRotationSpeed", maximumRotationSpeed);
}

void VelocityRandomInitializer::Apply(Particle& p) {
    const float speed = RandomRange(minimumSpeed, maximumSpeed);
    float dirX = xDirection;
    float dirY = yDirection;
    const float length = std::sqrt(dirX * dirX + dirY * dirY);
    if (length != 0.0f) {
        dirX /= length;
        dirY /= length;
    }
    const float variance = maximumAngleVariance * kRadiansPerDegree;
    const float angle = variance == 0.0f
                            ? 0.0f
                            : std::fmod(static_cast<float>(Random()), 2.0f * variance) - variance;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    p.velocityX = speed * (dirX * c - dirY * s);
    p.velocityY = speed * (dirX * s + dirY * c);
}

void VelocityRandomInitializer::Serialize(ASerializer& s) {
    s.FloatField("MinimumSpeed", minimumSpeed);
    s.FloatField("MaximumSpeed", maximumSpeed);
    s.FloatField("XDirection", xDirection);
    s.FloatField("YDirection", yDirection);
    s.FloatField("MaximumAngleVariance", maximumAngleVariance);
}

void FrameRandomInitializer::Apply(Particle& p) {
    GraphicsComponent* sprite = p.sprite;
    if (!sprite)
        return;
    // Both ends can occur. Reversed bounds would divide by zero or below;
    // they mean the first bound.
    int64_t chosen = minimumFrame;
    if (maximumFrame > minimumFrame) {
        const int64_t span = static_cast<int64_t>(maximumFrame) - minimumFrame + 1;
        chosen = minimumFrame + Random() % span;
    }
    float frame = static_cast<float>(chosen);
    const Animation* animation =
        sprite->bank ? sprite->bank->FindAnimation(sprite->animation) : nullptr;
    if (animation)
        frame = std::fmod(frame, static_cast<float>(animation->frames.size()));
    sprite->frame = frame;
    sprite->SetFrameRate(0.0f);
}

void FrameRandomInitializer::Serialize(ASerializer& s) {
    s.IntField("MinimumFrame", minimumFrame);
    s.IntField("MaximumFrame", maximumFrame);
}

void ColorRandomInitializer::Apply(Particle& p) {
    GraphicsComponent* sprite = p.sprite;
    if (!sprite)
        return;
    // Separate statements: the draws go in this order.
    sprite->red = RandomRange(minimumRed, maximumRed);
    sprite->green = RandomRange(minimumGreen, maximumGreen);
    sprite->blue = RandomRange(minimumBlue, maximumBlue);
    sprite->colourAlpha = 1.0f;
}

void ColorRandomInitializer::Serialize(ASerializer& s) {
    s.FloatField("MinimumRed", minimumRed);
    s.FloatField("MaximumRed", maximumRed);
    s.FloatField("MinimumGreen", minimumGreen);
    s.FloatField("MaximumGreen", maximumGreen);
    s.FloatField("MinimumBlue", minimumBlue);
    s.FloatField("MaximumBlue", maximumBlue);
}

void ZPosRandomInitializer::Apply(Particle& p) {
    if (p.sprite)
        p.sprite->ZPos = static_cast<float>(RandomRange(minimumZPos, maximumZPos));
}

void ZPosRandomInitializer::Serialize(ASerializer& s) {
    s.IntField("MinimumZPos", minimumZPos);
    s.IntField("MaximumZPos", maximumZPos);
}

void ZOrderRandomInitializer::Apply(Particle& p) {
    if (p.sprite)
        p.sprite->ZOrder = static_cast<float>(RandomRange(minimumZOrder, maximumZOrder));
}

void ZOrderRandomInitializer::Serialize(ASerializer& s) {
    s.IntField("MinimumZOrder", minimumZOrder);
    s.IntField("MaximumZOrder", maximumZOrder);
}

void OrthographicInitializer::Apply(Particle& p) {
    if (p.sprite)
        p.sprite->orthographic = true;
}

} // namespace Flurr
