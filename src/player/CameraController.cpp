#include "player/CameraController.h"

#include <algorithm>

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "physics/PhysicsComponent.h"
#include "physics/RigidBody.h"
#include "player/CameraComponent.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

// Steady pursuit covers this many world units per update.
constexpr float kPursuitStep = 5.0f;
// Smooth modes close this share of the distance per update.
constexpr float kSmoothShare = 0.125f;
// A pending zoom closes this share of its gap per update.
constexpr float kZoomShare = 0.1f;
// With nothing pending the zoom drifts towards distance * kSpeedZoomPerUnit
// (so a target running away pulls the view out) but never closer than
// kClosestZoom.
constexpr float kSpeedZoomPerUnit = 0.075f;
constexpr float kClosestZoom = 4.0f;
// Look-ahead aims this many body velocities ahead of the target.
constexpr float kLookAheadVelocities = 3.0f;

// One step of a zoom easing towards `target`. Repeated shares of a gap
// stall one float step short of it; a step that changes nothing counts as
// arrival, so a pending zoom always ends.
bool EaseZoom(float& zoom, float target, float share) {
    const float next = zoom + (target - zoom) * share;
    if (next == target || next == zoom) {
        zoom = target;
        return true;
    }
    zoom = next;
    return false;
}

} // namespace

CameraController::CameraController() {}

CameraController::~CameraController() {
    Free();
}

void CameraController::SendMessage(Message* message) {
    // A component may go while it handles the message: walk a copy and
    // skip whoever left meanwhile.
    cameras.ForEachAll([message](CameraComponent* camera) { camera->SendMessage(message); });
}

void CameraController::Free() {
    for (CameraComponent* camera : cameras.Items())
        camera->Detach();
    cameras.ClearAll();
    current = nullptr;
}

void CameraController::RegisterComponent(CameraComponent* camera, const std::string& space) {
    if (cameras.Contains(camera))
        return;
    cameras.Add(camera, space);
    if (!current)
        current = camera;
}

void CameraController::UnregisterComponent(CameraComponent* camera) {
    cameras.Remove(camera);
    if (current == camera)
        current = cameras.First();
}

bool CameraController::SelectByName(const std::string& name) {
    for (CameraComponent* camera : cameras.Items()) {
        if (camera->targetName == name) {
            current = camera;
            return true;
        }
    }
    return false;
}

void CameraController::Update(float dt) {
    if (!SpaceManager::Active(Spaces::Game) || !current || !current->owner)
        return;
    GameObject* object = current->owner;
    const Vec2 target(object->x, object->y);

    switch (mode) {
    case CameraMode::Attached:
        position = target;
        if (zoomPending) {
            zoom = targetZoom;
            zoomPending = false;
        }
        break;
    case CameraMode::SteadyPursuit:
        SteadyPursuit(target);
        break;
    case CameraMode::Smooth:
    case CameraMode::SmoothStart:
        SmoothTowards(target);
        break;
    case CameraMode::ZoomOnly:
        zoom += (targetZoom - zoom) * dt;
        break;
    case CameraMode::LookAhead: {
        Vec2 aim = target;
        // A body travels ten times its velocity per second, so this aims
        // where a running player will be in 0.3 s.
        if (auto* physics = object->Get<PhysicsComponent>(); physics && physics->body)
            aim += physics->body->velocity * kLookAheadVelocities;
        SmoothTowards(aim);
        break;
    }
    default:
        // An unknown mode holds the camera still.
        break;
    }

    if (Core* core = Core::Instance()) {
        SetCameraMessage message(position.x, position.y, zoom);
        core->SendMessage(&message);
    }
}

void CameraController::SmoothTowards(const Vec2& target) {
    const float distance = Distance(position, target);
    position += (target - position) * kSmoothShare;
    if (zoomPending) {
        if (EaseZoom(zoom, targetZoom, kZoomShare))
            zoomPending = false;
    } else {
        // No upper limit here: the renderer clamps the zoom it shows.
        zoom = std::max(zoom + (distance * kSpeedZoomPerUnit - zoom) * kZoomShare, kClosestZoom);
    }
}

void CameraController::SteadyPursuit(const Vec2& target) {
    if (position == target && !zoomPending)
        return;
    const Vec2 before = target - position;
    const float distance = before.Length();
    position += Normalized(before) * kPursuitStep;
    const Vec2 after = target - position;
    if (Dot(after, before) < 0.0f)
        position.x = target.x;
    // Height is never chased: the camera keeps level with the target.
    position.y = target.y;

    if (zoomPending) {
        // The zoom covers the same share of its gap as the position does of
        // the distance, so both arrive together. Within one step of the
        // target (or on it, where the share would divide by zero) the zoom
        // arrives at once.
        if (distance <= kPursuitStep) {
            zoom = targetZoom;
            zoomPending = false;
        } else if (EaseZoom(zoom, targetZoom, kPursuitStep / distance)) {
            zoomPending = false;
        }
    }
}

} // namespace Flurr
