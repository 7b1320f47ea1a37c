#pragma once
// Initializers set up each newborn particle, in file order, right after
// the factory has made its (empty) object.
//
//   "Animation"                   "Name", "Rate", "Width", "Height",
//                                 "AdditiveBlend": makes the particle's
//                                 GraphicsComponent, looping Name at
//                                 priority 1; object size Width x Height.
//   "RadiusRandom"                scale x and y
//   "LifespanRandom"              life, seconds
//   "PositionWithinCircleRandom"  position: the effect's, plus this
//                                 frame's displacement, plus an offset in
//                                 the ring MinimumDistance..MaximumDistance
//   "RotationRandom"              object rotation (keys in degrees)
//   "RotationSpeedRandom"         degrees per second
//   "VelocityRandom"              speed within a cone around a direction
//   "FrameRandom"                 a fixed frame of the animation
//   "ColorRandom"                 sprite colour, each channel drawn alone
//   "ZPosRandom", "ZOrderRandom"  sprite depth and order, whole numbers
//   "Orthographic"                draws with the flat camera
//
// Every random value goes through RandomRange (engine/Random.h): not a
// uniform draw, and the effect files are tuned to that. The sprite
// initializers need the sprite "Animation" made, so it comes first in a
// file; without one they do nothing. Keys missing from the file read as 0.

#include <cstdint>
#include <memory>
#include <string>

namespace Flurr {

class ASerializer;
class ParticleEffect;
struct Particle;

class ParticleInitializer {
public:
    virtual ~ParticleInitializer() = default;

    virtual void Apply(Particle& particle) = 0;
    // Reads (or writes) the type's own keys; "Type" is read by the caller.
    virtual void Serialize(ASerializer& serializer) = 0;
    // A copy with the same keys, for a new effect.
    virtual std::unique_ptr<ParticleInitializer> Clone() const = 0;

    std::string type;
    ParticleEffect* effect = nullptr;
};

// A new initializer of that type name, or null when there is none.
std::unique_ptr<ParticleInitializer> MakeInitializer(const std::string& type);

template <typename T> class InitializerBase : public ParticleInitializer {
public:
    std::unique_ptr<ParticleInitializer> Clone() const override {
        return std::make_unique<T>(static_cast<const T&>(*this));
    }
};

class AnimationInitializer : public InitializerBase<AnimationInitializer> {
public:
    void Apply(Particle& particle) override;
    void Serialize(ASerializer& serializer) override;

    std::string name;
    float rate = 0.0f; // frames per second; negative freezes (0)
    int32_t width = 0;
    int32_t height = 0;
    bool additiveBlend = false;
};

class RadiusRandomInitializer : public InitializerBase<RadiusRandomInitializer> {
public:
    void Apply(Particle& particle) override;
    void Serialize(ASerializer& serializer) override;

    float minimumRadius = 0.0f;
    float maximumRadius = 0.0f;
};

class LifespanRandomInitializer : public InitializerBase<LifespanRandomInitializer> {
public:
    void Apply(Particle& particle) override;
    void Serialize(ASerializer& serializer) override;

    float minimumLifespan = 0.0f;
    float maximumLifespan = 0.0f;
};

// Ring offsets are drawn in the square around the effect and kept when
// they fall inside the ring. A ring that a square draw cannot hit (an
// inner bound past the outer, a negative outer bound) or hits only rarely
// gives up after kRingTries and places the particle at a random angle
// instead, so a birth always ends.
class PositionWithinCircleRandomInitializer
    : public InitializerBase<PositionWithinCircleRandomInitializer> {
public:
    static constexpr int kRingTries = 64;

    void Apply(Particle& particle) override;
    void Serialize(ASerializer& serializer) override;

    float minimumDistance = 0.0f;
    float maximumDistance = 0.0f;
};

class RotationRandomInitializer : public InitializerBase<RotationRandomInitializer> {
public:
    void Apply(Particle& particle) override;
    void Serialize(ASerializer& serializer) override;

    float minimumRotation = 0.0f; // degrees
    float maximumRotation = 0.0f;
};

class RotationSpeedRandomInitializer : public InitializerBase<RotationSpeedRandomInitializer> {
public:
    void Apply(Particle& particle) override;
    void Serialize(ASerializer& serializer) override;

    float minimumRotationSpeed = 0.0f; // degrees per second
    float maximumRotationSpeed = 0.0f;
};

// Velocity = a speed in the range along (XDirection, YDirection),
// normalised, turned by an angle within +-MaximumAngleVariance. The
// player points its dash burst through ParticleEffect::SetDirection.
class VelocityRandomInitializer : public InitializerBase<VelocityRandomInitializer> {
public:
    void Apply(Particle& particle) override;
    void Serialize(ASerializer& serializer) override;

    float minimumSpeed = 0.0f; // world units per second
    float maximumSpeed = 0.0f;
    float xDirection = 0.0f;
    float yDirection = 0.0f;
    float maximumAngleVariance = 0.0f; // degrees
};

// Both bounds are frames that can occur; the frame is wrapped into the
// animation and held (frame rate 0).
class FrameRandomInitializer : public InitializerBase<FrameRandomInitializer> {
public:
    void Apply(Particle& particle) override;
    void Serialize(ASerializer& serializer) override;

    int32_t minimumFrame = 0;
    int32_t maximumFrame = 0;
};

// Channels are colour multipliers, 0..1.
class ColorRandomInitializer : public InitializerBase<ColorRandomInitializer> {
public:
    void Apply(Particle& particle) override;
    void Serialize(ASerializer& serializer) override;

    float minimumRed = 0.0f, maximumRed = 0.0f;
    float minimumGreen = 0.0f, maximumGreen = 0.0f;
    float minimumBlue = 0.0f, maximumBlue = 0.0f;
};

class ZPosRandomInitializer : public InitializerBase<ZPosRandomInitializer> {
public:
    void Apply(Particle& particle) override;
    void Serialize(ASerializer& serializer) override;

    int32_t minimumZPos = 0;
    int32_t maximumZPos = 0;
};

class ZOrderRandomInitializer : public InitializerBase<ZOrderRandomInitializer> {
public:
    void Apply(Particle& particle) override;
    void Serialize(ASerializer& serializer) override;

    int32_t minimumZOrder = 0;
    int32_t maximumZOrder = 0;
};

class OrthographicInitializer : public InitializerBase<OrthographicInitializer> {
public:
    void Apply(Particle& particle) override;
    void Serialize(ASerializer&) override {}
};

} // namespace Flurr
