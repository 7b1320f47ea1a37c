#include "gameplay/CloudComponent.h"

#include <algorithm>

#include "engine/GameObject.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "serialization/Serializer.h"
#include "world/Factory.h"

namespace Flurr {

void CloudComponent::Update(float dt) {
    if (!owner || gone)
        return;
    if (GraphicsComponent* sprite = owner->Get<GraphicsComponent>()) {
        const GraphicsSystem* graphics = GraphicsSystem::Instance();
        const float zoom = graphics ? graphics->Camera().zoom : 0.0f;
        sprite->Opacity = CloudMachineComponent::kOpacity *
                          std::clamp((zoom - sprite->ZPos) / kFadeDepth, 0.0f, 1.0f);
    }
    owner->x += velocity.x * dt;
    owner->y += velocity.y * dt;
    // Written so that a position that is not a number counts as out.
    if (owner->x >= minX && owner->x <= maxX && owner->y >= minY && owner->y <= maxY)
        return;
    gone = true;
    Factory* factory = Factory::Instance();
    if (!factory)
        return;
    if (GameObject* from = factory->FindObject(machine))
        if (auto* maker = from->Get<CloudMachineComponent>())
            maker->CloudLeft();
    // Its components are freed at once (this one leaves the logic system's
    // walk), its memory goes in the factory's next update.
    factory->DestroyLater(owner);
}

void CloudComponent::Serialize(ASerializer& s) {
    s.Begin("CloudComponent");
    s.End("CloudComponent");
}

} // namespace Flurr
