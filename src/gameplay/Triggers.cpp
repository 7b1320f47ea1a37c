#include "gameplay/Triggers.h"

#include <cmath>

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "player/CameraComponent.h"
#include "player/CameraController.h"
#include "serialization/Serializer.h"
#include "world/Factory.h"

namespace Flurr {

// ---------------------------------------------------------------------------

void Rotator::SendMessage(Message* message) {
    if (As<RotatorTriggerMessage>(message))
        triggered = true;
}

void Rotator::Serialize(ASerializer& s) {
    s.Begin("Rotator");
    s.FloatField("RotationAmount", RotationAmount);
    s.End("Rotator");
}

// ---------------------------------------------------------------------------

void BasicTrigger::Update(float) {
    if (!TouchingPlayer(owner))
        return;
    Core::Broadcast(BasicTriggerMessage(TriggeredEvent));
}

void BasicTrigger::Serialize(ASerializer& s) {
    s.Begin("BasicTrigger");
    s.StringField("TriggeredEvent", TriggeredEvent);
    s.End("BasicTrigger");
}

// ---------------------------------------------------------------------------

void PostProcessTrigger::Update(float) {
    if (TouchingPlayer(owner)) {
        record.target.distort = distort;
        Core::Broadcast(PostProcessTransitionMessage(record));
        inside = true;
    } else if (inside) {
        // Back to the plain picture over the same time it took to change.
        PostProcessRecord neutral;
        neutral.duration = record.duration;
        Core::Broadcast(PostProcessTransitionMessage(neutral));
        inside = false;
    }
}

void PostProcessTrigger::Serialize(ASerializer& s) {
    s.Begin("PostProcessTrigger");
    s.FloatField("TransitionTime", record.duration);
    s.FloatField("Bloom Factor", record.target.blur);
    static const char* const kColours[] = {"Red", "Green", "Blue"};
    static const char* const kBlocks[] = {"Black In", "Black Out", "White In", "White Out"};
    for (int32_t block = 0; block < 4; ++block)
        for (int32_t c = 0; c < 3; ++c)
            s.FloatField(std::string(kBlocks[block]) + " (" + kColours[c] + ")",
                         record.target.Field(1 + block * 3 + c));
    s.BoolField("Distortion", distort);
    s.End("PostProcessTrigger");
}

// ---------------------------------------------------------------------------

void TextTrigger::Update(float) {
    Factory* factory = Factory::Instance();
    GameObject* box = factory ? factory->FindObject(textBox) : nullptr;
    if (!box && factory) {
        box = GraphicsComponent::MakeSpriteObject(0.0f, -200.0f, 2000.0f, 200.0f, "Black");
        if (box) {
            textBox = box->id;
            if (GraphicsComponent* sprite = box->Get<GraphicsComponent>()) {
                sprite->screenSpace = true;
                sprite->ZPos = 5.0f;
            }
        }
    }
    GraphicsComponent* band = box ? box->Get<GraphicsComponent>() : nullptr;
    if (band)
        band->Opacity = 0.0f;

    // The map view shows the whole level: a hint band would hide a third
    // of it.
    const CameraController* camera = CameraController::Instance();
    const bool mapView = camera && camera->current && camera->current->targetName == "MapOverview";
    Vec2 player;
    if (!owner || mapView || SpaceManager::Active(Spaces::Pause) || !PlayerPosition(player) ||
        std::hypot(player.x - owner->x, player.y - owner->y) >= kShowDistance)
        return;
    if (band)
        band->Opacity = 0.5f;
    int32_t width, height;
    GraphicsSystem::ScreenSize(width, height);
    const auto top = static_cast<int32_t>(static_cast<float>(height) -
                                          150.0f * static_cast<float>(height) / 600.0f);
    DrawTextMessage m;
    m.text = Text;
    m.left = 50;
    m.top = top;
    m.font = "CardoRegular22";
    m.red = m.green = m.blue = 255.0f;
    m.shadow = true;
    m.right = width - 50;
    m.bottom = height - 50;
    Core::Broadcast(m);
}

void TextTrigger::Free() {
    LogicComponent::Free();
    // The band belongs to this trigger: it goes when the trigger does (at a
    // level change the factory may already have taken it).
    if (Factory* factory = Factory::Instance())
        factory->DestroyLater(factory->FindObject(textBox));
    textBox = -1;
}

void TextTrigger::Serialize(ASerializer& s) {
    s.Begin("TextTrigger");
    s.StringField("Text", Text);
    s.FiniteFloatField("TriggerRadius", TriggerRadius);
    s.End("TextTrigger");
}

} // namespace Flurr
