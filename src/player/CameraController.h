#pragma once
// CameraController: the system that moves the camera. It keeps every
// CameraComponent in registration order, follows one of them (`current`),
// moves `position` and `zoom` towards that camera's object by one of six
// modes every frame, and broadcasts the result as SetCameraMessage for the
// renderer and everyone else that mirrors the camera. In the player's modes
// (LookAhead, SmoothStart) the view is framed: it shows `position` plus
// `framing`, which eases towards a point above the player and ahead of it
// in the direction it last moved; `position` itself (and so the speed
// zoom, which measures from it) is not framed. In LookAhead the speed zoom
// stops where the courier is still 40 of the view's 600 lines tall.
//
// Driven by the Core once per frame, after the player controller. It only
// works while "GameSpace" is active and a camera is followed; otherwise the
// camera stays where it was and nothing is broadcast. It registers for no
// messages. Game code selects the followed camera with SelectByName and
// writes `mode`, `targetZoom` and `zoomPending` directly (the player for its
// start and its map view, the transitions for their zoom).
//
// Owns nothing: camera components belong to their objects. Free() only
// lets go of them; each component's own Free() stays safe afterwards.
//
// Invariant: `current` is null or one of `cameras`.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/GameSystem.h"
#include "engine/Vec2.h"
#include "world/SpaceLists.h"

namespace Flurr {

class CameraComponent;
class GameObject;

struct CameraControllerName {
    static constexpr const char* value = "CameraController";
};

// What game code writes into CameraController::mode.
enum class CameraMode : int32_t {
    Attached = 0,      // sits on the target
    SteadyPursuit = 1, // a fixed 5 units per update
    Smooth = 2,        // an eighth of the way per update
    ZoomOnly = 3,      // stays put, eases the zoom by dt
    LookAhead = 4,     // smooth, aimed where the body is heading
    SmoothStart = 5,   // as Smooth (the player's first frames)
};

class CameraController : public ISystem<CameraController, CameraControllerName> {
public:
    CameraController();
    ~CameraController() override;

    // Hands the message to every camera component.
    void SendMessage(Message* message) override;
    void Update(float dt) override;
    // Forgets every camera component (their objects still own them).
    void Free() override;

    // Makes the first camera carrying `name` the followed one. False, with
    // the followed camera unchanged, when none carries it.
    bool SelectByName(const std::string& name);

    // Called by CameraComponent when it starts and stops working.
    void RegisterComponent(CameraComponent* camera, const std::string& space);
    void UnregisterComponent(CameraComponent* camera);

    SpaceLists<CameraComponent> cameras;
    CameraComponent* current = nullptr;
    float targetZoom = 4.0f;
    // A zoom change towards targetZoom is under way.
    bool zoomPending = false;
    CameraMode mode = CameraMode::Attached;
    Vec2 position;
    float zoom = 4.0f;
    // What the view adds to `position`, and the side it looks ahead to
    // (1 right, -1 left, 0 before the player has moved).
    Vec2 framing;
    float facing = 0.0f;

private:
    // Eases `framing` for this update's mode and the followed object.
    void UpdateFraming(const GameObject& object);
    // The smooth modes: an eighth of the way to `target`, and the zoom eased
    // towards targetZoom or, with nothing pending, out with the distance
    // up to `farthest`.
    void SmoothTowards(const Vec2& target, float farthest = kNoFarthestZoom);
    static constexpr float kNoFarthestZoom = 1e30f;
    void SteadyPursuit(const Vec2& target);
};

} // namespace Flurr
