#include "graphics/GraphicsComponent.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include <glm/gtc/matrix_transform.hpp>

#include "engine/GameObject.h"
#include "engine/Report.h"
#include "graphics/Effect.h"
#include "graphics/GL.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/ResourceBank.h"
#include "serialization/Serializer.h"
#include "world/Factory.h"

namespace Flurr {

namespace {

constexpr const char* kBasicEffect = "Resources/Shaders/Basic.fx";
constexpr const char* kFadeEffect = "Resources/Shaders/Fade.fx";
constexpr const char* kClockWipeEffect = "Resources/Shaders/ClockWipe.fx";

// The priority a level's or archetype's animation is set with.
constexpr float kLoadedPriority = 2.0f;

int32_t ClampIndex(float position, std::size_t count) {
    if (count == 0)
        return 0;
    const float truncated = std::trunc(position);
    const float last = static_cast<float>(count - 1);
    // NaN falls to the first frame.
    if (!(truncated >= 0.0f))
        return 0;
    return static_cast<int32_t>(std::min(truncated, last));
}

} // namespace

GraphicsComponent::~GraphicsComponent() {
    Free();
}

void GraphicsComponent::Initialize() {
    GraphicsSystem* graphics = GraphicsSystem::Instance();
    if (graphics) {
        serial = graphics->NextSpriteSerial();
        Join({Spaces::Game});
        bank = graphics->Bank();
    }
    SetAnimation(ResourceBank::kNoAnimation, 0.0f, 0);
}

void GraphicsComponent::Free() {
    Leave();
}

void GraphicsComponent::ReportMissing(const std::string& name) {
    // Once per sprite and name, which the text holds: callers often ask
    // again every frame.
    const int32_t id = owner ? owner->id : -1;
    WarnOnce(std::string(kNotFoundText) + ": \"" + name + "\" (object " + std::to_string(id) + ")");
}

void GraphicsComponent::SetAnimation(const std::string& name, float newPriority, int32_t newFlags) {
    const Animation* requested = bank ? bank->FindAnimation(name) : nullptr;
    if (!requested) {
        // Without a renderer the only animation there is, is none.
        if (!bank && name == ResourceBank::kNoAnimation) {
            animation = name;
            return;
        }
        ReportMissing(name);
        return;
    }
    if (name == animation)
        return;
    const Animation* current = bank->FindAnimation(animation);
    const bool waits =
        current && (newPriority < priority ||
                    ((newFlags & AnimationFlag::Wait) && (newFlags & AnimationFlag::WaitAlways)));
    if (waits) {
        if (newFlags & AnimationFlag::Wait) {
            queuedAnimation = name;
            queuedFlags = newFlags;
            queuedPriority = newPriority;
            queuedFrame = 0.0f;
        }
    } else {
        queuedAnimation.clear();
        animation = name;
        frame = 0.0f;
        flags = newFlags;
        Loop = newFlags & AnimationFlag::Loop;
        priority = newPriority;
    }
    // A waiting or dropped request still sets the rate: whoever asked sets
    // its own rate right after, so this lasts a frame at most.
    if (!(newFlags & AnimationFlag::KeepRate))
        frameRate = requested->frameRate;
}

GraphicsComponent* GraphicsComponent::AttachLooping(GameObject& object,
                                                    const std::string& animation) {
    auto* sprite = static_cast<GraphicsComponent*>(CreateComponent(Name()));
    if (!sprite)
        return nullptr;
    object.AddComponent(sprite);
    sprite->Initialize();
    sprite->SetAnimation(animation, 1.0f, AnimationFlag::Loop);
    return sprite;
}

GameObject* GraphicsComponent::MakeSpriteObject(float x, float y, float width, float height,
                                                const std::string& animation) {
    Factory* factory = Factory::Instance();
    if (!factory)
        return nullptr;
    GameObject* object = factory->CreateGameObject();
    object->x = x;
    object->y = y;
    object->xScale = width;
    object->yScale = height;
    object->savedWithLevel = false;
    AttachLooping(*object, animation);
    return object;
}

void GraphicsComponent::SetFrameRate(float rate) {
    frameRate = rate < 0.0f ? 0.0f : rate;
}

void GraphicsComponent::Update(float dt) {
    const Animation* current = bank ? bank->FindAnimation(animation) : nullptr;
    if (!current)
        return;
    if (frameRate > 0.0f)
        frame += frameRate * dt;
    float count = static_cast<float>(current->frames.size());
    if (frame >= count - 1.0f) {
        if (!queuedAnimation.empty()) {
            if (const Animation* next = bank->FindAnimation(queuedAnimation)) {
                flags = queuedFlags;
                priority = queuedPriority;
                frameRate = queuedRate;
                animation = std::exchange(queuedAnimation, std::string());
                frame = 0.0f;
                Loop = flags & AnimationFlag::Loop;
                count = static_cast<float>(next->frames.size());
            }
        }
        if (flags & AnimationFlag::Loop)
            frame = std::fmod(frame, count);
        else
            frame = count - 1.0f;
    }
}

int32_t GraphicsComponent::FrameIndex() const {
    const Animation* current = bank ? bank->FindAnimation(animation) : nullptr;
    return current ? ClampIndex(frame, current->frames.size()) : 0;
}

bool GraphicsComponent::DrawsBefore(const GraphicsComponent* a, const GraphicsComponent* b) {
    if (a->screenSpace != b->screenSpace)
        return !a->screenSpace;
    if (a->ZPos != b->ZPos)
        return a->ZPos < b->ZPos;
    if (a->ZOrder != b->ZOrder)
        return a->ZOrder < b->ZOrder;
    return a->serial < b->serial;
}

glm::mat4 GraphicsComponent::WorldMatrix() const {
    const float xScale = static_cast<float>(owner->width) * owner->xScale * (flipX ? -1.0f : 1.0f);
    const float yScale = static_cast<float>(owner->height) * owner->yScale * (flipY ? -1.0f : 1.0f);
    const float angle = useOwnerRotation ? owner->rotation : rotation;
    glm::mat4 world = glm::translate(glm::mat4(1.0f),
                                     glm::vec3(std::floor(owner->x), std::floor(owner->y), -ZPos));
    world = glm::rotate(world, angle, glm::vec3(0.0f, 0.0f, 1.0f));
    return glm::scale(world, glm::vec3(xScale, yScale, 1.0f));
}

bool GraphicsComponent::GetPlainQuad(PlainQuad& quad) const {
    if (!bank || !owner || shader != SpriteShader::Basic)
        return false;
    const Animation* current = bank->FindAnimation(animation);
    if (!current)
        return false;
    const int32_t index = ClampIndex(frame, current->frames.size());
    const Texture& texture = bank->GetTexture(current->frames[static_cast<std::size_t>(index)]);
    quad.texture = texture.id;
    quad.textureWidth = texture.width;
    quad.textureHeight = texture.height;
    quad.world = WorldMatrix();
    quad.color = glm::vec4(red, green, blue, Opacity);
    quad.additive = additive;
    return true;
}

void GraphicsComponent::Draw(const glm::mat4& viewProjection, float dt, float& basicTime) {
    if (!bank || !owner)
        return;
    const Animation* current = bank->FindAnimation(animation);
    if (!current)
        return;
    const char* effectPath = shader == SpriteShader::Fade        ? kFadeEffect
                             : shader == SpriteShader::ClockWipe ? kClockWipeEffect
                                                                 : kBasicEffect;
    Effect* effect = bank->GetEffect(effectPath);
    if (!effect)
        return;

    SetSpriteBlend(additive);

    const glm::mat4 world = WorldMatrix();

    const std::size_t count = current->frames.size();
    const int32_t index = ClampIndex(frame, count);
    effect->Use();
    effect->SetTexture("texture0",
                       bank->GetTexture(current->frames[static_cast<std::size_t>(index)]).id);
    if (shader == SpriteShader::Basic) {
        basicTime += dt;
        effect->SetFloat("t", basicTime);
    } else {
        const float next = std::fmod(frame + 1.0f, static_cast<float>(count));
        const int32_t nextIndex = ClampIndex(next, count);
        effect->SetTexture(
            "texture1", bank->GetTexture(current->frames[static_cast<std::size_t>(nextIndex)]).id);
        effect->SetFloat("t", frame - std::trunc(frame));
    }
    effect->SetMatrix("worldViewProj", viewProjection * world);
    effect->SetVector("color", glm::vec4(red, green, blue, Opacity));

    const VertexBuffer* quad = bank->GetQuad();
    glBindVertexArray(quad->vao);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void GraphicsComponent::Serialize(ASerializer& s) {
    s.Begin("GraphicsComponent");
    float rate = frameRate;
    std::string name = animation;
    int32_t loop = Loop;
    s.FiniteFloatField("ZPos", ZPos);
    s.FloatField("ZOrder", ZOrder);
    s.FloatField("FrameRate", rate);
    s.StringField("Animation", name);
    s.IntField("Loop", loop);
    s.FloatField("Opacity", Opacity);
    // Beyond the game's own keys, so that level data can show the frame
    // blending shaders and additive sprites: read when present, written
    // only when set, so a plain sprite saves exactly as before.
    if (!s.IsSaving() || shader != SpriteShader::Basic)
        s.IntField("Shader", shader);
    if (!s.IsSaving() || additive)
        s.BoolField("Additive", additive);
    s.End("GraphicsComponent");
    if (s.IsSaving())
        return;
    Loop = loop;
    SetAnimation(name, kLoadedPriority, loop == 1 ? AnimationFlag::Loop : 0);
    // The file's rate wins over the animation's own.
    SetFrameRate(rate);
}

} // namespace Flurr
