#include "menus/PauseElement.h"

#include <cmath>

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "menus/MenuPointer.h"
#include "serialization/Serializer.h"
#include "world/SpaceManager.h"

namespace Flurr {

void PauseElement::Initialize() {
    if (owner) {
        baseX = static_cast<int32_t>(std::trunc(owner->x));
        baseY = static_cast<int32_t>(std::trunc(owner->y));
    }
    Join({Spaces::Pause});
}

void PauseElement::Place(float camX, float camY) {
    if (!owner)
        return;
    owner->x = static_cast<float>(baseX) + camX;
    owner->y = static_cast<float>(baseY) + camY;
}

void PauseElement::Update(float) {
    PauseSystem* pause = PauseSystem::Instance();
    if (!owner || !pause)
        return;
    Place(pause->camX, pause->camY);
    wasHovered = hovered;
    hovered = PointerOver(*owner, pause->PointerWorld());
    if (hovered && !wasHovered)
        Core::Broadcast(PlaySoundMessage("ButtonClick", pause->volume * 0.5f, 0));
    StepHoverScale(*owner, hovered, maxScale, scaleStep, scale, scaleDirection);
}

void PauseElement::SendMessage(Message* message) {
    const auto* click = As<MouseClickedMessage>(message);
    PauseSystem* pause = PauseSystem::Instance();
    if (!click || !owner || !pause)
        return;
    if (PointerOver(*owner, PointerToWorld(click->x, click->y, pause->camX, pause->camY)))
        Core::Broadcast(ButtonInputMessage(command));
}

const std::string& PauseElement::NavigationFor(float x, float y) const {
    if (std::fabs(x) < std::fabs(y))
        return y > 0.0f ? upCommand : downCommand;
    return x > 0.0f ? rightCommand : leftCommand;
}

void PauseElement::Serialize(ASerializer& s) {
    s.Begin("PauseElement");
    s.StringField("Command", command);
    s.FloatField("Max", maxScale);
    s.UnsignedField("ElementID", elementId);
    s.StringField("LeftCommand", leftCommand);
    s.StringField("RightCommand", rightCommand);
    s.StringField("DownCommand", downCommand);
    s.StringField("UpCommand", upCommand);
    s.End("PauseElement");
}

} // namespace Flurr
