#pragma once
// CameraComponent: marks a game object as something the camera can follow,
// under a name ("CameraTargetName") that game code selects it by -- the
// player's object carries "Player", the map view's "MapOverview".
//
// Driven by the CameraController: Initialize() adds the component to
// the controller's list (and makes it the followed one when none is), and
// Free() takes it out again, handing the camera to the first camera left.
// The controller reads the owner's position every frame; the component has
// no update or message handling of its own.
//
// Key, inside "CameraComponent": "CameraTargetName" (text).
//
// Free() is safe to call twice and after the controller is gone.

#include <string>

#include "engine/DrivenComponent.h"
#include "player/CameraController.h"

namespace Flurr {

struct CameraComponentName {
    static constexpr const char* value = "CameraComponent";
};

class CameraComponent
    : public DrivenComponent<CameraComponent, CameraComponentName, CameraController> {
public:
    ~CameraComponent() override;

    void Initialize() override;
    void Free() override;
    void Serialize(ASerializer& serializer) override;

    std::string targetName;
};

} // namespace Flurr
