#include "player/CameraComponent.h"

#include "player/CameraController.h"
#include "serialization/Serializer.h"

namespace Flurr {

CameraComponent::~CameraComponent() {
    Free();
}

void CameraComponent::Initialize() {
    if (registered)
        return;
    if (CameraController* controller = CameraController::Instance()) {
        controller->AddCamera(this);
        registered = true;
    }
}

void CameraComponent::Free() {
    if (!registered)
        return;
    registered = false;
    if (CameraController* controller = CameraController::Instance())
        controller->RemoveCamera(this);
}

void CameraComponent::Serialize(ASerializer& s) {
    s.Begin("CameraComponent");
    s.StringField("CameraTargetName", targetName);
    s.End("CameraComponent");
}

} // namespace Flurr
