#include "menus/SaveDialogElement.h"

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "graphics/GraphicsComponent.h"
#include "serialization/Serializer.h"
#include "world/SpaceManager.h"

namespace Flurr {

SaveDialogElement::~SaveDialogElement() {
    Free();
}

void SaveDialogElement::Initialize() {
    if (owner) {
        baseX = static_cast<int32_t>(owner->x);
        baseY = static_cast<int32_t>(owner->y);
    }
    Join({Spaces::SaveDialog});
}

void SaveDialogElement::Free() {
    Leave();
}

bool SaveDialogElement::HitTest() const {
    const SaveDialogSystem* system = SaveDialogSystem::Instance();
    if (!owner || !system)
        return false;
    const Vec2 mouse = system->MouseWorld();
    // Integer halves of the unscaled size: a pulsing element does not
    // grow its hit box.
    const auto halfWidth = static_cast<float>(owner->width / 2);
    const auto halfHeight = static_cast<float>(owner->height / 2);
    return owner->x - halfWidth <= mouse.x && mouse.x <= owner->x + halfWidth &&
           owner->y - halfHeight <= mouse.y && mouse.y <= owner->y + halfHeight;
}

int32_t SaveDialogElement::ClickMessageId() const {
    switch (kind) {
    case Save:
        return MessageId::SaveDialogSave;
    case Cancel:
        return MessageId::SaveDialogCancel;
    case CloseWOSaving:
        return MessageId::SaveDialogCloseWithoutSaving;
    default:
        return MessageId::SaveDialogBackground;
    }
}

void SaveDialogElement::Update(float) {
    const SaveDialogSystem* system = SaveDialogSystem::Instance();
    if (!owner || !system)
        return;
    owner->x = static_cast<float>(baseX) + system->cameraX;
    owner->y = static_cast<float>(baseY) + system->cameraY;
    hoverTest = HitTest();
    hovered = hoverTest;
    if (scale > maxScale) {
        scaleDirection = -1;
        scale = maxScale;
    }
    if (scale < 1.0f) {
        scale = 1.0f;
        scaleDirection = 1;
    }
    if (!hovered)
        scaleDirection = -1;
    scale += static_cast<float>(scaleDirection) * scaleStep;
    owner->xScale = scale;
    owner->yScale = scale;
    // The click test measures the screen as the unzoomed view shows it.
    if (GraphicsComponent* sprite = owner->Get<GraphicsComponent>())
        sprite->orthographic = true;
}

void SaveDialogElement::SendMessage(Message* message) {
    if (!As<MouseClickedMessage>(message) || !HitTest())
        return;
    // The dialog may close (and this element leave) while this is
    // delivered; nothing of the element is touched afterwards.
    switch (ClickMessageId()) {
    case MessageId::SaveDialogSave:
        Core::Broadcast(SaveDialogSaveMessage());
        break;
    case MessageId::SaveDialogCancel:
        Core::Broadcast(SaveDialogCancelMessage());
        break;
    case MessageId::SaveDialogCloseWithoutSaving:
        Core::Broadcast(SaveDialogCloseWithoutSavingMessage());
        break;
    default:
        Core::Broadcast(SaveDialogBackgroundMessage());
        break;
    }
}

void SaveDialogElement::Serialize(ASerializer& s) {
    s.Begin("SaveDialogElement");
    s.StringField("Command", command);
    s.FiniteFloatField("Max", maxScale);
    s.End("SaveDialogElement");
    if (s.IsSaving())
        return;
    if (command == "Save")
        kind = Save;
    else if (command == "Cancel")
        kind = Cancel;
    else if (command == "CloseWOSaving")
        kind = CloseWOSaving;
    else
        kind = Other;
}

} // namespace Flurr
