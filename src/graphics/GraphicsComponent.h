#pragma once
// GraphicsComponent: the sprite of a game object. It shows one frame of a
// named animation from the animation bank on the shared unit quad, placed
// by its owner's transform (floor of the position, the owner's integer
// size times its scale), at depth -ZPos.
//
// Driven by the GraphicsSystem: Initialize() registers it for drawing,
// Update(dt) steps the animation (only while "GameSpace" is active), and
// Draw() is called in draw order. Other components call SetAnimation and
// SetFrameRate and write the public fields.
//
// Animation requests are arbitrated by priority: a request below the
// current priority waits in the one-place queue when it carries flag 2
// (Wait) and is dropped otherwise; flag 4 with 2 makes even an equal or
// higher request wait. A queued animation takes over, from frame 0, when
// the current one reaches its last frame. A name the bank does not have
// is warned of once and changes nothing.

#include <cstdint>
#include <string>

#include <glm/mat4x4.hpp>
#include <glm/vec4.hpp>

#include "engine/DrivenComponent.h"
#include "graphics/GraphicsSystem.h"

namespace Flurr {

class ResourceBank;

namespace AnimationFlag {
inline constexpr int32_t Loop = 1;
inline constexpr int32_t Wait = 2;
inline constexpr int32_t WaitAlways = 4; // with Wait: even a stronger request waits
inline constexpr int32_t KeepRate = 8;   // keep the current frame rate
} // namespace AnimationFlag

namespace SpriteShader {
inline constexpr int32_t Basic = 0;
inline constexpr int32_t Fade = 1;      // cross-fade towards the next frame
inline constexpr int32_t ClockWipe = 2; // clock-hand wipe towards the next frame
} // namespace SpriteShader

struct GraphicsComponentName {
    static constexpr const char* value = "GraphicsComponent";
};

class GraphicsComponent
    : public DrivenComponent<GraphicsComponent, GraphicsComponentName, GraphicsSystem> {
public:
    static constexpr const char* kNotFoundText = "Specified animation not found";

    ~GraphicsComponent() override;

    void Initialize() override;
    void Update(float dt) override;
    void Free() override;
    void Serialize(ASerializer& serializer) override;

    void SetAnimation(const std::string& name, float priority, int32_t flags);
    // Gives `object` a new sprite, made through the component registry,
    // playing `animation` in a loop at priority 1: the markers, prompts and
    // text bands the game makes for itself. Null (with the registry's
    // warning) when no renderer registered the class.
    static GraphicsComponent* AttachLooping(GameObject& object, const std::string& animation);
    // A new factory object one unit wide and high (so its scale is its
    // size) at (x, y) with a looping sprite of `animation`: markers,
    // prompts, panels and text bands. It belongs to the running game, not
    // the level's design, so a saved level leaves it out. Null without a
    // factory.
    static GameObject* MakeSpriteObject(float x, float y, float width, float height,
                                        const std::string& animation);
    // Negative rates freeze the animation (0).
    void SetFrameRate(float rate);

    // Draws the current frame with `viewProjection` (projection x view).
    // `basicTime` is the renderer's running time of plain sprites, which
    // every plain sprite drawn advances by dt.
    void Draw(const glm::mat4& viewProjection, float dt, float& basicTime);
    // What a plain sprite (shader 0) draws, so that runs of them can be
    // drawn together: false when the sprite needs its own Draw (a
    // frame-blending shader) or draws nothing.
    struct PlainQuad {
        uint32_t texture = 0;
        int32_t textureWidth = 0;
        int32_t textureHeight = 0;
        glm::mat4 world{1.0f};
        glm::vec4 color{1.0f};
        bool additive = false;
    };
    bool GetPlainQuad(PlainQuad& quad) const;
    // The frame index drawn now, within the animation.
    int32_t FrameIndex() const;
    // True when a is drawn before b: world before screen-space, then by
    // ZPos, ZOrder and creation order.
    static bool DrawsBefore(const GraphicsComponent* a, const GraphicsComponent* b);

    uint32_t serial = 0;
    bool flipY = false;
    std::string animation;
    int32_t flags = 0;
    float priority = 0.0f;
    float frameRate = 0.0f;
    float frame = 0.0f;
    std::string queuedAnimation;
    int32_t queuedFlags = 0;
    float queuedPriority = 0.0f;
    float queuedRate = 0.0f;
    float queuedFrame = 0.0f;
    float ZPos = 0.0f;
    float ZOrder = 0.0f;
    int32_t Loop = 0;
    bool flipX = false;
    float Opacity = 1.0f;
    bool orthographic = false;
    int32_t shader = SpriteShader::Basic;
    float red = 1.0f;
    float green = 1.0f;
    float blue = 1.0f;
    float colourAlpha = 1.0f; // set by particle colours; Opacity is what is drawn
    bool useOwnerRotation = true;
    float rotation = 0.0f;
    bool additive = false;
    bool screenSpace = false;
    ResourceBank* bank = nullptr;

private:
    glm::mat4 WorldMatrix() const;
    void ReportMissing(const std::string& name);
};

} // namespace Flurr
