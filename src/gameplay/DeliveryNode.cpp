#include "gameplay/DeliveryNode.h"

#include "engine/GameObject.h"
#include "gameplay/LogicSystem.h"
#include "graphics/GraphicsComponent.h"
#include "serialization/Serializer.h"
#include "world/Factory.h"

namespace Flurr {

void DeliveryNode::Initialize() {
    LogicComponent::Initialize();
    MakeGhost(owner);
}

void DeliveryNode::Update(float) {
    if (active && TouchingPlayer(owner))
        if (LogicSystem* logic = LogicSystem::Instance())
            logic->DeliveryMade();
}

void DeliveryNode::Activate() {
    active = true;
    Factory* factory = Factory::Instance();
    // A marker someone else removed (the editor, say) is made again.
    if (!owner || !factory || factory->FindObject(marker))
        return;
    if (GameObject* bang = GraphicsComponent::MakeSpriteObject(owner->x, owner->y + 100.0f, 20.0f,
                                                               50.0f, "Bang")) {
        if (GraphicsComponent* sprite = bang->Get<GraphicsComponent>())
            sprite->SetFrameRate(4.0f);
        marker = bang->id;
    }
}

void DeliveryNode::Deactivate() {
    active = false;
    if (marker >= 0)
        if (Factory* factory = Factory::Instance())
            factory->DestroyLater(factory->FindObject(marker));
    marker = -1;
}

void DeliveryNode::Free() {
    LogicComponent::Free();
    // A target leaving the level takes its marker with it.
    Deactivate();
}

void DeliveryNode::Serialize(ASerializer& s) {
    s.Begin("DeliveryNode");
    s.End("DeliveryNode");
}

} // namespace Flurr
