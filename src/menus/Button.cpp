#include "menus/Button.h"

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "menus/MenuPointer.h"
#include "serialization/Serializer.h"
#include "world/SpaceManager.h"

namespace Flurr {

void Button::Initialize() {
    Join({Spaces::Game});
}

void Button::Update(float) {
    ButtonSystem* buttons = ButtonSystem::Instance();
    if (!owner || !buttons)
        return;
    wasHovered = hovered;
    hovered = PointerOver(*owner, buttons->PointerWorld());
    if (hovered && !wasHovered)
        Core::Broadcast(PlaySoundMessage("ButtonClick", buttons->volume * 0.5f, 0));
    StepHoverScale(*owner, hovered, maxScale, scaleStep, scale, scaleDirection);
}

void Button::SendMessage(Message* message) {
    const auto* click = As<MouseClickedMessage>(message);
    ButtonSystem* buttons = ButtonSystem::Instance();
    if (!click || !owner || !buttons)
        return;
    if (PointerOver(*owner, PointerToWorld(click->x, click->y, buttons->camX, buttons->camY)))
        Core::Broadcast(ButtonInputMessage(command));
}

void Button::Serialize(ASerializer& s) {
    s.Begin("Button");
    s.StringField("Command", command);
    s.UnsignedField("ElementID", elementId);
    s.End("Button");
}

} // namespace Flurr
