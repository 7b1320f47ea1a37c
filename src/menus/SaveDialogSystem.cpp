#include "menus/SaveDialogSystem.h"

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "engine/Report.h"
#include "graphics/GraphicsSystem.h"
#include "menus/SaveDialogElement.h"
#include "serialization/Serializer.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

namespace Flurr {

SaveDialogSystem::SaveDialogSystem(std::string dialogFile) : file(std::move(dialogFile)) {}

SaveDialogSystem::~SaveDialogSystem() {
    Free();
}

void SaveDialogSystem::Initialize() {
    if (Core* core = Core::Instance())
        for (int32_t id : {MessageId::MouseMoved, MessageId::MouseClicked, MessageId::MoveCamera,
                           MessageId::SetCamera, MessageId::SaveDialogCancel,
                           MessageId::SaveDialogSave, MessageId::SaveDialogBackground,
                           MessageId::SaveDialogCloseWithoutSaving, MessageId::SaveDialogClose})
            core->RegisterForMessage(this, id);
    if (SpaceManager* spaces = SpaceManager::Instance()) {
        spaces->GetOrCreateSpace(Spaces::SaveDialog);
        spaces->SetSpaceActive(Spaces::SaveDialog, false);
    }
}

bool SaveDialogSystem::IsOpen() const {
    return SpaceManager::Active(Spaces::SaveDialog);
}

void SaveDialogSystem::SendMessage(Message* message) {
    switch (message->id) {
    case MessageId::SaveDialogBackground:
        OpenDialog();
        return;
    case MessageId::SaveDialogSave:
    case MessageId::SaveDialogCancel:
    case MessageId::SaveDialogCloseWithoutSaving:
    case MessageId::SaveDialogClose:
        CloseDialog();
        return;
    default:
        break;
    }
    if (const auto* set = As<SetCameraMessage>(message)) {
        cameraX = set->x;
        cameraY = set->y;
        return;
    }
    if (const auto* move = As<MoveCameraMessage>(message)) {
        cameraX += move->dx;
        cameraY += move->dy;
        return;
    }
    if (const auto* moved = As<MouseMovedMessage>(message)) {
        int32_t width, height;
        GraphicsSystem::ScreenSize(width, height);
        mouseX = moved->x - width / 2;
        mouseY = moved->y - height / 2;
    }
    // A click may close the dialog from inside an element: the walk is a
    // snapshot and skips the elements that left meanwhile.
    elements.ForEachAll([message](SaveDialogElement* element) { element->SendMessage(message); });
}

void SaveDialogSystem::Update(float dt) {
    if (IsOpen())
        elements.ForEachActive([dt](SaveDialogElement* element) { element->Update(dt); });
}

void SaveDialogSystem::OpenDialog() {
    SpaceManager* spaces = SpaceManager::Instance();
    if (!spaces || spaces->IsSpaceActive(Spaces::SaveDialog))
        return;
    spaces->SetSpaceActive(Spaces::SaveDialog, true);
    Factory* factory = Factory::Instance();
    if (!elements.Empty() || !factory)
        return;
    std::vector<GameObject*> loaded;
    factory->LoadObjects(file, loaded);
    if (loaded.empty())
        Warn("save dialog file " + NativePath(file) + " holds no objects; the dialog is empty");
    // The dialog is the editor's, never part of the level it saves.
    for (GameObject* object : loaded)
        object->savedWithLevel = false;
}

void SaveDialogSystem::CloseDialog() {
    Factory* factory = Factory::Instance();
    // Each element leaves the list at once; its object (and the element
    // itself, whose click may be what is running now) is deleted by the
    // factory's next update. An element whose object the factory does not
    // own is only let go.
    elements.ForEachAll([factory](SaveDialogElement* element) {
        GameObject* owner = element->owner;
        element->Free();
        if (factory && owner)
            factory->DestroyLater(owner);
    });
    elements.ClearAll();
    if (SpaceManager* spaces = SpaceManager::Instance())
        spaces->SetSpaceActive(Spaces::SaveDialog, false);
}

void SaveDialogSystem::RegisterComponent(SaveDialogElement* element, const std::string& space) {
    if (element)
        elements.Add(element, space);
}

void SaveDialogSystem::UnregisterComponent(SaveDialogElement* element) {
    elements.Remove(element);
}

Vec2 SaveDialogSystem::MouseWorld() const {
    return GraphicsSystem::ScreenOffsetToWorld(static_cast<float>(mouseX),
                                               -static_cast<float>(mouseY));
}

void SaveDialogSystem::Free() {
    for (SaveDialogElement* element : elements.Items())
        element->Detach();
    elements.ClearAll();
}

} // namespace Flurr
