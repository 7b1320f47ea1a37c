#include "menus/SaveDialogElement.h"

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "graphics/GraphicsComponent.h"
#include "menus/MenuPointer.h"
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
    return PointerOver(*owner, system->MouseWorld());
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
    StepHoverScale(*owner, hovered, maxScale, scaleStep, scale, scaleDirection);
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
