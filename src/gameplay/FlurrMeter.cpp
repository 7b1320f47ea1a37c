#include "gameplay/FlurrMeter.h"

#include <algorithm>
#include <cmath>

#include "engine/GameObject.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "physics/PhysicsComponent.h"
#include "physics/RigidBody.h"
#include "player/PlayerComponent.h"
#include "player/PlayerController.h"
#include "serialization/Serializer.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

// The share of the tank spent, 0 (full) to 1 (empty). A tank that holds
// nothing, or readings that are not numbers, show as empty.
float SpentShare(const PlayerComponent& player) {
    if (!(player.fuelMax > 0.0f))
        return 1.0f;
    const float spent = 1.0f - player.fuel / player.fuelMax;
    return spent == spent ? std::clamp(spent, 0.0f, 1.0f) : 1.0f;
}

} // namespace

void FlurrMeter::Initialize() {
    Join({Spaces::Game, Spaces::Pause});
}

void FlurrMeter::Update(float) {
    if (!owner)
        return;
    // The offsets are units of the 600-unit-high view from its centre, laid
    // out for a 4:3 screen. On other shapes the dial keeps its distance from
    // the nearer side, so a wide screen does not pull it in over the player
    // (a narrow one brings it closer to the side in proportion).
    int32_t width, height;
    GraphicsSystem::ScreenSize(width, height);
    const float toPixels = static_cast<float>(height) / 600.0f;
    const float halfWidth = 300.0f * static_cast<float>(width) / static_cast<float>(height);
    const float fromSide = (400.0f - std::fabs(offsetX)) * std::min(1.0f, halfWidth / 400.0f);
    const float x = offsetX >= 0.0f ? halfWidth - fromSide : fromSide - halfWidth;
    const Vec2 at = GraphicsSystem::ScreenOffsetToWorld(x * toPixels, offsetY * toPixels);
    owner->x = at.x;
    owner->y = at.y;

    const PlayerController* players = PlayerController::Instance();
    const PlayerComponent* player = players ? players->Player() : nullptr;
    if (!player)
        return;
    const bool hidden = player->mapView || SpaceManager::Active(Spaces::Pause);
    if (GraphicsComponent* dial = owner->Get<GraphicsComponent>()) {
        dial->orthographic = true;
        dial->ZOrder = 5.0f;
        dial->shader = SpriteShader::ClockWipe;
        dial->ZPos = 1.0f;
        dial->SetFrameRate(0.0f);
        dial->frame = SpentShare(*player);
        dial->Opacity = hidden ? 0.0f : 1.0f;
    }

    Factory* factory = Factory::Instance();
    if (!factory)
        return;
    GameObject* ring = factory->FindObject(frame);
    if (!ring) {
        ring = GraphicsComponent::MakeSpriteObject(0.0f, 0.0f, kFrameSize, kFrameSize,
                                                   kFrameAnimation);
        if (!ring)
            return;
        frame = ring->id;
        if (GraphicsComponent* sprite = ring->Get<GraphicsComponent>()) {
            sprite->ZOrder = 6.0f;
            sprite->orthographic = true;
            sprite->ZPos = 1.0f;
        }
    }
    ring->x = owner->x;
    ring->y = owner->y + kFrameRise;
    GraphicsComponent* sprite = ring->Get<GraphicsComponent>();
    if (!sprite)
        return;
    sprite->Opacity = hidden ? 0.0f : 1.0f;
    float rate = 0.0f;
    if (player->flying && player->owner)
        if (const PhysicsComponent* physics = player->owner->Get<PhysicsComponent>())
            if (physics->body)
                rate = physics->body->velocity.Length() / kSpeedPerFrameRate;
    // A body flung at no finite speed does not stop the ring's animation.
    sprite->SetFrameRate(std::isfinite(rate) ? rate : 0.0f);
}

void FlurrMeter::Free() {
    LogicComponent::Free();
    // The ring is the meter's: it goes with it (a level change may already
    // have taken it).
    if (Factory* factory = Factory::Instance())
        factory->DestroyLater(factory->FindObject(frame));
    frame = -1;
}

void FlurrMeter::Serialize(ASerializer& s) {
    s.Begin("FlurrMeter");
    s.End("FlurrMeter");
}

} // namespace Flurr
