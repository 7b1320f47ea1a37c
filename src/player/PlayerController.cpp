#include "player/PlayerController.h"

#include "engine/Core.h"
#include "engine/Message.h"
#include "player/PlayerComponent.h"

namespace Flurr {

namespace {}

PlayerController::PlayerController() {}

PlayerController::~PlayerController() {}

void PlayerController::Initialize() {
    Core* core = Core::Instance();
    if (!core)
        return;
    for (int32_t id :
         {MessageId::KeyPressed, MessageId::KeyReleased, MessageId::KeyTriggered,
          MessageId::MouseClicked, MessageId::MousePressed, MessageId::MouseReleased,
          MessageId::MouseMoved, MessageId::XboxRThumbMoved, MessageId::XboxLThumbMoved,
          MessageId::XboxTriggerMoved, MessageId::XboxPressed, MessageId::XboxTriggered,
          MessageId::XboxReleased, MessageId::SetCamera, MessageId::MoveCamera})
        core->RegisterForMessage(this, id);
}

void PlayerController::SendMessage(Message* message) {
    if (const auto* set = As<SetCameraMessage>(message))
        cameraZoom = set->zoom;
    else if (const auto* move = As<MoveCameraMessage>(message))
        cameraZoom += move->dzoom;
    components.ForEachActive(
        [message](PlayerComponent* component) { component->SendMessage(message); });
}

void PlayerController::Update(float dt) {
    components.ForEachActive([dt](PlayerComponent* component) { component->Update(dt); });
}

void PlayerController::RegisterComponent(PlayerComponent* component, const std::string& space) {
    components.Add(component, space);
}

void PlayerController::UnregisterComponent(PlayerComponent* component) {
    components.Remove(component);
}

PlayerComponent* PlayerController::Player() const {
    return components.First();
}

void PlayerController::FreeSpace(const std::string& space) {
    components.Clear(space);
}

void PlayerController::Free() {
    components.ClearAll();
}

} // namespace Flurr
