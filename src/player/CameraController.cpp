#include "player/CameraController.h"

#include <algorithm>

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "graphics/Camera.h"
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
// Following the player, the speed zoom draws out no further than keeps the
// courier (its body, foot to head) this share of the view's height: 40 of
// 600 lines, whatever the window's height. Flying up at full speed the
// look-ahead alone would pull the view out until it was a mere 30 lines.
constexpr float kCourierHeight = 100.0f;
constexpr float kCourierViewShare = 40.0f / 600.0f;
constexpr float kFarthestPlayerZoom =
    kCourierHeight / kCourierViewShare * kEyeDistance / kViewHeight - kEyeDistance;
// Look-ahead aims this many body velocities ahead of the target.
constexpr float kLookAheadVelocities = 3.0f;

// Framing of the followed player, as shares of the view's height: the view
// looks this far above the player, so the ground takes under a third of
// the screen rather than nearly half...
constexpr float kFrameAboveShare = 0.12f;
// ...and this far ahead in the direction it last moved, so more of what is
// coming shows than of what is left behind.
constexpr float kFrameAheadShare = 0.15f;
// Slower than a horizontal speed of this (units per tick) keeps the side it
// looks to: a player standing still still looks the way it went.
constexpr float kFrameTurnSpeed = 2.0f;
// The framing closes this share of its gap per update, so a turn swings
// the view over in about a second rather than at once.
constexpr float kFramingShare = 0.04f;

// The world height the view shows at depth 0 at this zoom.
float ViewHeightAt(float zoom) {
    return kViewHeight * (zoom + kEyeDistance) / kEyeDistance;
}

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
        SmoothTowards(aim, kFarthestPlayerZoom);
        break;
    }
    default:
        // An unknown mode holds the camera still.
        break;
    }

    UpdateFraming(*object);
    if (Core* core = Core::Instance()) {
        SetCameraMessage message(position.x + framing.x, position.y + framing.y, zoom);
        core->SendMessage(&message);
    }
}

void CameraController::UpdateFraming(const GameObject& object) {
    Vec2 aim;
    switch (mode) {
    case CameraMode::LookAhead:
    case CameraMode::SmoothStart: {
        // Only the player's modes frame; which way it looks follows the
        // body, and stays put while the body stands or moves slowly.
        if (const auto* physics = object.Get<PhysicsComponent>(); physics && physics->body) {
            const float vx = physics->body->velocity.x;
            if (vx > kFrameTurnSpeed)
                facing = 1.0f;
            else if (vx < -kFrameTurnSpeed)
                facing = -1.0f;
        }
        const float height = ViewHeightAt(zoom);
        aim = Vec2(facing * kFrameAheadShare * height, kFrameAboveShare * height);
        break;
    }
    case CameraMode::Smooth:
        // The map and other smooth views look at their target itself.
        break;
    case CameraMode::ZoomOnly:
        // Holding still means the framing too.
        return;
    default:
        framing = Vec2();
        return;
    }
    framing += (aim - framing) * kFramingShare;
}

void CameraController::SmoothTowards(const Vec2& target, float farthest) {
    const float distance = Distance(position, target);
    position += (target - position) * kSmoothShare;
    if (zoomPending) {
        if (EaseZoom(zoom, targetZoom, kZoomShare))
            zoomPending = false;
    } else {
        // Beyond `farthest` the renderer clamps the zoom it shows. Only the
        // drift's goal is held back, so a view farther out (the map's) comes
        // in at the usual pace.
        const float goal = std::min(distance * kSpeedZoomPerUnit, farthest);
        zoom = std::max(zoom + (goal - zoom) * kZoomShare, kClosestZoom);
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
