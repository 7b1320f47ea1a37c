#include "player/CameraComponent.h"

#include "player/CameraController.h"
#include "serialization/Serializer.h"

namespace Flurr {

CameraComponent::~CameraComponent() {
    Free();
}

void CameraComponent::Initialize() {
    Join({Spaces::Game});
}

void CameraComponent::Free() {
    Leave();
}

void CameraComponent::Serialize(ASerializer& s) {
    s.Begin("CameraComponent");
    s.StringField("CameraTargetName", targetName);
    s.End("CameraComponent");
}

} // namespace Flurr
