#include "gameplay/MouseCursor.h"

#include <algorithm>
#include <cmath>

#include "engine/GameObject.h"
#include "engine/Message.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "serialization/Serializer.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

// Past the rest and the whole fade: counting on changes nothing, so the
// count stops here rather than running on for as long as the game does.
constexpr int32_t kGoneFrames =
    MouseCursor::kRestFrames + static_cast<int32_t>(1.0f / MouseCursor::kFadePerFrame) + 1;

} // namespace

void MouseCursor::Initialize() {
    Join({Spaces::Game, Spaces::Pause});
}

void MouseCursor::SendMessage(Message* message) {
    if (As<XboxTriggeredMessage>(message)) {
        idleFrames = kGoneFrames;
        alpha = 0.0f;
        return;
    }
    const auto* moved = As<MouseMovedMessage>(message);
    if (!moved)
        return;
    // The player puts the pointer back on the edge of its aiming reach
    // every frame the mouse pushes past it, and each of those puts says
    // the mouse moved, to where it already was: that is no movement, and
    // must not keep a resting pointer awake.
    const auto x = static_cast<float>(moved->x);
    const auto y = static_cast<float>(moved->y);
    if (x == mouseX && y == mouseY)
        return;
    mouseX = x;
    mouseY = y;
    idleFrames = 0;
    alpha = 1.0f;
    if (!owner)
        return;
    if (SpaceManager::Active(Spaces::Pause)) {
        owner->rotation = 0.0f;
    } else if (Rotate != 0) {
        int32_t width, height;
        GraphicsSystem::ScreenSize(width, height);
        owner->rotation = std::atan2(static_cast<float>(width) / 2.0f - mouseX,
                                     static_cast<float>(height) / 2.0f - mouseY);
    }
}

void MouseCursor::Update(float) {
    if (!owner)
        return;
    int32_t width, height;
    GraphicsSystem::ScreenSize(width, height);
    const Vec2 at = GraphicsSystem::ScreenOffsetToWorld(mouseX - static_cast<float>(width) / 2.0f,
                                                        static_cast<float>(height) / 2.0f - mouseY);
    owner->x = at.x;
    owner->y = at.y;

    idleFrames = std::min(idleFrames + 1, kGoneFrames);
    // Counted from the rest rather than taken off step by step, so the fade
    // ends at nothing rather than at a rounding error above it.
    const float faded = static_cast<float>(std::max(idleFrames - kRestFrames, 0)) * kFadePerFrame;
    alpha = std::max(1.0f - faded, 0.0f);

    if (GraphicsComponent* sprite = owner->Get<GraphicsComponent>()) {
        sprite->orthographic = true;
        sprite->ZPos = kDepth;
        sprite->Opacity = alpha;
    }
}

void MouseCursor::Serialize(ASerializer& s) {
    s.Begin("MouseCursor");
    s.IntField("Rotate", Rotate);
    s.End("MouseCursor");
}

} // namespace Flurr
