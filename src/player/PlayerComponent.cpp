#include "player/PlayerComponent.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "engine/Random.h"
#include "graphics/Camera.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "particles/ParticleEffectComponent.h"
#include "particles/ParticleSystem.h"
#include "physics/Physics.h"
#include "physics/PhysicsComponent.h"
#include "physics/RigidBody.h"
#include "player/CameraComponent.h"
#include "player/CameraController.h"
#include "player/PlayerController.h"
#include "serialization/Serializer.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

constexpr float kOneDegree = 0.017453292f;
constexpr float kFortyFiveDegrees = 0.7853982f;
constexpr float kThirtyDegrees = 0.5235988f;
constexpr float kSixtyDegrees = 1.0471976f;

// Animation requests: actions that must be seen through (landing, the
// launch, take-off) outrank the rest, which wait for them to end.
constexpr float kActionPriority = 4.0f;
constexpr float kMovePriority = 3.0f;

// A held jump keeps its lift this many frames of the climb; letting go
// sooner cuts the climb to this speed, so a tap is a hop and a hold a leap.
constexpr int32_t kJumpLiftFrames = 16;
constexpr float kJumpCutSpeed = 45.0f;
// Falling pulls harder than rising, so jumps do not hang in the air.
constexpr float kFallGravity = -150.0f;
// An updraft carries the player up at no more than this speed.
constexpr float kUpdraftRiseSpeed = 42.0f;
// A glide on an empty tank never climbs and sinks no faster than this
// (unless diving).
constexpr float kGlideSinkSpeed = 30.0f;
// Leaving a dash, the player keeps this share of the dash's speed.
constexpr float kDashExitShare = 0.5f;
// Fuel a frame of thrust burns per thrust level: a full tank flies a few
// screens.
constexpr float kThrustFuelPerLevel = 7.0f;
// Running over a crest the foot may lift off a floor this close below it
// (world units): the player is put back on it rather than hopping.
constexpr float kGroundSnapDistance = 16.0f;
// Level bounds: how far below and beside the floors the player may go
// before it is brought back, and where above them the ceiling starts and
// how deep it is.
constexpr float kBelowMargin = 400.0f;
constexpr float kSideMargin = 1500.0f;
constexpr float kCeilingMargin = 1200.0f;
constexpr float kCeilingDepth = 300.0f;
constexpr float kCeilingSpeed = 30.0f;
// The fade out before the player is put back, frames, and the fade in after.
constexpr int32_t kReturnFrames = 18;
constexpr float kFadeInSeconds = 0.5f;
// Standing still on solid ground this long makes the place safe.
constexpr int32_t kSafeGroundFrames = 10;

void Play(const std::string& name, float volume = 1.0f, int32_t loops = 0) {
    Core::Broadcast(PlaySoundMessage(name, volume, loops));
}

std::string Numbered(const char* pattern, int32_t n) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, n);
    return text;
}

// The back buffer the mouse is measured against, as floats.
void ScreenSize(float& width, float& height) {
    int32_t w, h;
    GraphicsSystem::ScreenSize(w, h);
    width = static_cast<float>(w);
    height = static_cast<float>(h);
}

// The map view's zoom: the level's solid bodies all on screen around the
// map's centre `centre`, with a margin, whatever the window's shape. The
// farthest zoom the renderer shows when nothing solid is placed yet.
float MapViewZoom(const Vec2& centre) {
    constexpr float kFarthest = 250.0f;
    constexpr float kMargin = 1.08f;
    const Physics* physics = Physics::Instance();
    if (!physics)
        return kFarthest;
    float halfWidth = 0.0f, halfHeight = 0.0f;
    for (const RigidBody* body : physics->world.Bodies()) {
        if (body->density != 0.0f || body->ghost || !body->shape.placed)
            continue;
        for (const CollisionPolygon& polygon : body->shape.worldPolygons)
            for (const Vec2& v : polygon.vertices) {
                halfWidth = std::max(halfWidth, std::abs(v.x - centre.x));
                halfHeight = std::max(halfHeight, std::abs(v.y - centre.y));
            }
    }
    if (halfWidth <= 0.0f && halfHeight <= 0.0f)
        return kFarthest;
    float width, height;
    ScreenSize(width, height);
    const float viewWidth = kViewHeight * width / height;
    // The view is 600 x viewWidth at zoom 0 and grows with (zoom + 10) / 10.
    const float scale =
        kMargin * std::max(2.0f * halfWidth / viewWidth, 2.0f * halfHeight / kViewHeight);
    return std::clamp(kEyeDistance * scale - kEyeDistance, 0.0f, kFarthest);
}

// Over the map: what the pin is and how to leave, at the top left.
void DrawMapLegend() {
    int32_t width, height;
    GraphicsSystem::ScreenSize(width, height);
    const float scale = static_cast<float>(height) / 600.0f;
    DrawTextMessage m;
    m.text = "Map: the pin is you. Tab / Y: close the map";
    m.left = static_cast<int32_t>(20.0f * scale);
    m.top = static_cast<int32_t>(16.0f * scale);
    m.right = width - m.left;
    m.bottom = height / 2;
    m.font = "CardoRegular22";
    // The map's top is open sky: white text was lost on it, the outline
    // brown reads on sky and cloud alike.
    m.red = 59.0f;
    m.green = 42.0f;
    m.blue = 34.0f;
    m.shadow = false;
    Core::Broadcast(m);
}

// A window position as an offset from the screen centre in the 600-unit
// view scale, y up.
Vec2 PointerOffset(int32_t x, int32_t y, float width, float height) {
    return Vec2((x - width / 2.0f) / height * 600.0f, (y - height / 2.0f) / height * -600.0f);
}

// The angle from a to b brought into (-pi, pi], so headings either side
// of the -x axis compare as the small turn they are.
float AngleBetween(float a, float b) {
    float d = std::fmod(b - a, 2.0f * kPi);
    if (d > kPi)
        d -= 2.0f * kPi;
    else if (d <= -kPi)
        d += 2.0f * kPi;
    return d;
}

int32_t ClampLevel(int32_t level, int32_t highest) {
    return level < 0 ? 0 : (level > highest ? highest : level);
}

} // namespace

PlayerComponent::~PlayerComponent() {
    Free();
}

LevelBounds FloorBounds(const std::vector<RigidBody*>& bodies) {
    LevelBounds b;
    for (const RigidBody* body : bodies) {
        if (!body->isFloor || body->inverseMass != 0.0f || body->ghost)
            continue;
        for (const CollisionPolygon& polygon : body->shape.worldPolygons)
            for (uint32_t k = 0; k < polygon.count; ++k) {
                const Vec2 v = polygon.vertices[k];
                if (!b.known) {
                    b = {v.x, v.x, v.y, v.y, true};
                    continue;
                }
                b.left = std::fmin(b.left, v.x);
                b.right = std::fmax(b.right, v.x);
                b.bottom = std::fmin(b.bottom, v.y);
                b.top = std::fmax(b.top, v.y);
            }
    }
    return b;
}

float PlayerComponent::MoveForce(int32_t level) const {
    const int32_t magnitude = ClampLevel(level < 0 ? -level : level, 4);
    return moveForce[magnitude];
}

float PlayerComponent::ThrustForce(int32_t level) const {
    switch (ClampLevel(level, 2)) {
    case 1:
        return moveForce[4];
    case 2:
        return thrustForce2;
    default:
        return moveForce[3];
    }
}

ParticleEffectComponent* PlayerComponent::AddEffect(const std::string& name) {
    auto* effect = new ParticleEffectComponent();
    effect->effectName = name;
    owner->AddComponent(effect);
    effect->Initialize();
    if (effect->effect)
        effect->effect->active = false;
    return effect;
}

void PlayerComponent::Initialize() {
    // The player also hears input while the pause menu is open.
    if (!Joined() && Join({Spaces::Game, Spaces::Pause})) {
        const PlayerController* controller = PlayerController::Instance();
        flightUnlocked = flightUnlocked || controller->startWithFlight || controller->earnedFlight;
        dashUnlocked = dashUnlocked || controller->startWithDash || controller->earnedDash;
    }
    if (owner && !trail) {
        trail = AddEffect("flurr_trail");
        firepack = AddEffect("firepack");
        dashpack = AddEffect("dashpack");
    }
}

void PlayerComponent::Free() {
    Leave();
    // The effect components belong to the object, which frees them itself.
    trail = firepack = dashpack = nullptr;
    physics = nullptr;
    graphics = nullptr;
    for (std::unique_ptr<GameObject>* object : {&marker, &prompt, &thanks}) {
        if (*object) {
            (*object)->Destroy();
            object->reset();
        }
    }
}

void PlayerComponent::Serialize(ASerializer& s) {
    s.Begin("PlayerComponent");
    s.FloatField("JumpForce_1", jumpForce[1]);
    s.FloatField("JumpForce_2", jumpForce[2]);
    s.FloatField("MoveForce_1", moveForce[1]);
    s.FloatField("MoveForce_2", moveForce[2]);
    // One stored value under two names; the later key wins on reading.
    s.FloatField("MoveForce_4", moveForce[4]);
    s.FloatField("FlurrForce_1", moveForce[4]);
    s.FloatField("FlurrForce_2", thrustForce2);
    s.End("PlayerComponent");
}

RigidBody* PlayerComponent::Body() const {
    return physics ? physics->body : nullptr;
}

// ---------------------------------------------------------------------------
// Input

void PlayerComponent::HandleKey(int32_t id, uint8_t key) {
    const InputActions& actions = Core::Actions();
    const int32_t step = runHeld ? 2 : 1;
    if (id == MessageId::KeyTriggered) {
        if (actions.IsKey(Action::Jump, key)) {
            jumpLevel = runHeld ? 2 : 1;
            PressJump();
        }
    } else if (id == MessageId::KeyPressed) {
        if (actions.IsKey(Action::Run, key)) {
            runHeld = true;
        } else if (actions.IsKey(Action::Jump, key)) {
            jumpLevel = runHeld ? 2 : 1;
            ++jumpPresses;
        } else if (actions.IsKey(Action::MoveLeft, key)) {
            leftHeld = true;
            moveLevel = rightHeld ? 0 : -step;
        } else if (actions.IsKey(Action::MoveRight, key)) {
            rightHeld = true;
            moveLevel = leftHeld ? 0 : step;
        }
    } else if (id == MessageId::KeyReleased) {
        if (actions.IsKey(Action::Map, key)) {
            mapView = !mapView;
        } else if (actions.IsKey(Action::Run, key)) {
            runHeld = false;
        } else if (actions.IsKey(Action::Jump, key)) {
            jumpLevel = 0;
            jumpPresses = 0;
        } else if (actions.IsKey(Action::MoveLeft, key)) {
            leftHeld = false;
            moveLevel = rightHeld ? step : 0;
        } else if (actions.IsKey(Action::MoveRight, key)) {
            rightHeld = false;
            moveLevel = leftHeld ? -step : 0;
        }
    }
}

void PlayerComponent::PressJump() {
    // One more frame than the window: the press's own frame counts too.
    jumpBuffer = kJumpBufferFrames + 1;
}

void PlayerComponent::SendMessage(Message* message) {
    if (showThanks && thanksTicks >= kThanksQuietTicks) {
        const InputActions& actions = Core::Actions();
        const auto* key = As<KeyTriggeredMessage>(message);
        const auto* pad = As<XboxTriggeredMessage>(message);
        if ((key && actions.IsKey(Action::Continue, key->key)) ||
            (pad && actions.IsPadButton(Action::Continue, pad->button)))
            LeaveThanks();
    }
    if (const auto* key = As<KeyMessage>(message)) {
        HandleKey(key->id, key->key);
    } else if (const auto* m = As<MouseMovedMessage>(message)) {
        mouseX = m->x;
        mouseY = m->y;
        mouseSeen = true;
        float width, height;
        ScreenSize(width, height);
        const Vec2 v = PointerOffset(m->x, m->y, width, height);
        const float length = v.Length();
        if (length > 10.0f) {
            mouseLevel = 2;
            mouseAim = v / length;
        } else {
            mouseLevel = 0;
        }
    } else if (const auto* mouse = As<MouseButtonMessage>(message)) {
        HandleMouseButton(mouse->id, mouse->button);
    } else if (const auto* pad = As<XboxButtonMessage>(message)) {
        HandlePadButton(pad->id, pad->button);
    } else if (const auto* stick = As<XboxLThumbMoved>(message)) {
        const double x = stick->x;
        if (x > 0.3)
            moveLevel = stick->level;
        else if (x < -0.3)
            moveLevel = -stick->level;
        else
            moveLevel = 0;
        if (thrusting) {
            thrustLevel = stick->level;
            aim = Vec2(stick->x, stick->y);
        } else {
            thrustLevel = 0;
        }
        lastAimLevel = stick->level;
        lastAim = Vec2(stick->x, stick->y);
    } else if (const auto* triggers = As<XboxTriggerMoved>(message)) {
        if (triggers->rightLevel > 0) {
            aim = lastAim;
            thrusting = true;
            thrustLevel = lastAimLevel;
        } else {
            thrusting = false;
            aim = Vec2();
            thrustLevel = 0;
        }
        if (triggers->leftLevel == 0) {
            triggerLatch = true;
        } else if (triggerLatch) {
            triggerLatch = false;
            dashRequested = true;
        }
    }
}

void PlayerComponent::HandleMouseButton(int32_t id, uint8_t button) {
    if (id == MessageId::MousePressed && button == MouseButton::Left) {
        aim = mouseAim;
        thrustLevel = mouseLevel;
    } else if (id == MessageId::MouseClicked && button == MouseButton::Right) {
        // Keyboard-and-mouse players dash towards the pointer.
        lastAim = mouseAim;
        lastAimLevel = mouseLevel;
        dashRequested = true;
    } else if (id == MessageId::MouseReleased && button == MouseButton::Left) {
        thrustLevel = 0;
        rechargeFrames = 0;
    }
}

void PlayerComponent::HandlePadButton(int32_t id, uint16_t button) {
    const InputActions& actions = Core::Actions();
    const bool jump = actions.IsPadButton(Action::Jump, button);
    if (id == MessageId::XboxTriggered) {
        if (actions.IsPadButton(Action::Map, button)) {
            mapView = !mapView;
        } else if (actions.IsPadButton(Action::Dash, button)) {
            dashRequested = true;
        } else if (jump) {
            jumpLevel = 2;
            PressJump();
            if (animFrames > 3) {
                aim = lastAim;
                thrusting = true;
                thrustLevel = lastAimLevel;
            }
        }
    } else if (id == MessageId::XboxPressed && jump) {
        jumpLevel = 2;
        if (jumpPresses == 0 && animFrames > 19)
            thrusting = true;
        ++jumpPresses;
        if (thrusting) {
            aim = lastAim;
            thrustLevel = lastAimLevel;
        }
    } else if (id == MessageId::XboxReleased && jump) {
        aim = Vec2();
        thrusting = false;
        thrustLevel = 0;
        jumpLevel = 0;
        jumpPresses = 0;
    }
}

// ---------------------------------------------------------------------------
// Update

void PlayerComponent::Update(float) {
    if (!owner)
        return;
    if (showThanks)
        ShowThanks();
    if (SpaceManager::Active(Spaces::Pause)) {
        UpdateMapView();
        return;
    }

    Core::Broadcast(PerchAlertPlayerMessage(owner->x, owner->y));

    physics = owner->Get<PhysicsComponent>();
    graphics = owner->Get<GraphicsComponent>();
    RigidBody* body = Body();
    if (body) {
        body->isPlayer = true;
        savedInverseInertia = body->inverseInertia;
        body->inverseInertia = 0.0f;
        body->footEdge = 3;
        UpdateGroundState(*body);
        KeepOnGround(*body);
    }

    // The pointer's offset from the centre, limited so that mouse aim
    // turns at once when the mouse turns back: the pointer is put back on
    // the edge of the limit.
    if (mouseSeen) {
        float width, height;
        ScreenSize(width, height);
        const float scale = 600.0f / height;
        Vec2 offset = PointerOffset(mouseX, mouseY, width, height);
        const float length = offset.Length();
        if (length > kMouseReach) {
            offset = offset * (kMouseReach / length);
            PlayerController* controller = PlayerController::Instance();
            if (controller && controller->warpPointer) {
                mouseX = static_cast<int32_t>(std::lround(width / 2.0f + offset.x / scale));
                mouseY = static_cast<int32_t>(std::lround(height / 2.0f - offset.y / scale));
                controller->warpPointer(mouseX, mouseY);
            }
        }
        mouseOffset = offset;
    }

    if (body) {
        body->friction = 0.2f;
        body->gravity =
            onGround   ? -65.0f
            : wallHang ? -10.0f
            : body->velocity.y < 0.0f && airFrames > 2 && sideFrames[0] > 5 && sideFrames[1] > 5
                ? kFallGravity
                : -100.0f;
        const float limit = dashFrames > 0 ? 400.0f : 300.0f;
        if (body->velocity.x > limit)
            body->velocity.x = limit;
        else if (body->velocity.x < -limit)
            body->velocity.x = -limit;
        if (body->velocity.y > limit)
            body->velocity.y = limit;
        else if (body->velocity.y < -limit)
            body->velocity.y = -limit;
        const float speed = body->velocity.Length();
        if (flying && speed > kFlightSpeedLimit)
            body->velocity = body->velocity * (kFlightSpeedLimit / speed);
        // Wind carries the player up at a steady pace rather than flinging it.
        if (body->forceAreasIn > 0 && !flying && body->velocity.y > kUpdraftRiseSpeed)
            body->velocity.y = kUpdraftRiseSpeed;

        ++jumpFrames;
        if (!mapView) {
            if (!flying) {
                ApplyMove(*body);
                ApplyJump(*body);
            }
            if (flightUnlocked)
                ApplyFlight(*body);
        }
        if (graphics) {
            ChooseAnimation(*body);
            PlaySounds();
        }
    }
    UpdateMapView();
    if (body) {
        RecoverUpright(*body);
        if (animFrames > 10)
            speedSquared = body->velocity.LengthSquared();
        KeepInsideLevel(*body);
    }
    wasOnGround = onGround;
    if (endOfUpdate)
        endOfUpdate(*this);
}

void PlayerComponent::UpdateGroundState(RigidBody& body) {
    if (body.onFloor) {
        ++groundFrames;
        onGround = true;
        wallHang = false;
        airFrames = 0;
        canAct = true;
    } else if (body.touchingFloor) {
        ++groundFrames;
        wallHang = true;
        onGround = false;
        airFrames = 0;
        canAct = true;
    } else {
        ++airFrames;
        wallHang = false;
        onGround = false;
        groundFrames = 0;
    }
    // sideFrames[0], [1], [2]: sides 3, 2 and 1.
    if (body.floorSide >= 1 && body.floorSide <= 3) {
        const int32_t reported = 3 - body.floorSide;
        for (int32_t i = 0; i < 3; ++i)
            sideFrames[i] = i == reported ? 0 : sideFrames[i] + 1;
        spareSideFrames = 0;
    }
}

void PlayerComponent::KeepOnGround(RigidBody& body) {
    // Running over a crest or onto a steeper slope down, the foot lifts off
    // the floor for a step: put it back rather than hop (a jump, the jet
    // pack and the wind lift it on purpose).
    if (body.onFloor || body.touchingFloor || !wasOnGround || flying || jumpRising ||
        jumpFrames <= kJumpLiftFrames || body.forceAreasIn > 0 ||
        body.floorDistance >= kGroundSnapDistance)
        return;
    body.position.y -= body.floorDistance;
    if (body.velocity.y > 0.0f)
        body.velocity.y = 0.0f;
    onGround = true;
    airFrames = 0;
    ++groundFrames;
}

void PlayerComponent::KeepInsideLevel(RigidBody& body) {
    if (!bounds.known)
        if (Physics* physics = Physics::Instance())
            bounds = FloorBounds(physics->world.Bodies());
    if (!bounds.known)
        return;
    // The last place it stood still on solid ground (not on something that
    // moves or falls, nor held up by the wind).
    bool still = body.onFloor && !flying && body.forceAreasIn == 0 &&
                 (groundFrames >= kSafeGroundFrames || !hasSafePlace);
    for (const RigidBody* floor : body.floorBodies)
        still = still && floor->inverseMass == 0.0f;
    if (still) {
        safePlace = body.position;
        hasSafePlace = true;
    }

    const Vec2 p = body.position;
    if (returnFrames > 0) {
        if (--returnFrames == 0) {
            body.position = hasSafePlace ? safePlace : Vec2(p.x, bounds.top);
            body.velocity = Vec2();
            body.angle = 0.0f;
            owner->x = body.position.x;
            owner->y = body.position.y;
            dashFrames = 0;
            if (CameraController* camera = CameraController::Instance())
                camera->position = body.position;
            PostProcessRecord back;
            back.duration = kFadeInSeconds;
            Core::Broadcast(PostProcessTransitionMessage(back));
        }
    } else if (p.y < bounds.bottom - kBelowMargin || p.x < bounds.left - kSideMargin ||
               p.x > bounds.right + kSideMargin) {
        returnFrames = kReturnFrames;
        PostProcessRecord dark;
        for (float& white : dark.target.outWhite)
            white = 0.0f;
        dark.duration = static_cast<float>(kReturnFrames) * kTickSeconds;
        Core::Broadcast(PostProcessTransitionMessage(dark));
    }
    // Above the floors a soft ceiling: the climb slows to nothing over its
    // depth, and further up the player is pushed back down.
    const float ceiling = bounds.top + kCeilingMargin;
    if (p.y > ceiling) {
        const float most = (ceiling + kCeilingDepth - p.y) / kCeilingDepth * kCeilingSpeed;
        if (body.velocity.y > most)
            body.velocity.y = most;
    }
}

void PlayerComponent::ApplyMove(RigidBody& body) {
    Vec2 force(MoveForce(moveLevel), 0.0f);
    if (moveLevel < 0)
        force = -force;
    const float vx = body.velocity.x;
    if ((moveLevel < 0 && vx > 0.0f) || (moveLevel > 0 && vx < 0.0f))
        force = force * ((onGround && !flying) ? 1.4f : 1.2f);
    if (onGround)
        force = Rotate(force, body.angle);
    body.force += force;
    // Walking uphill, the floor takes the pull of gravity along it: any
    // slope the player can stand on it can walk up, at a walk.
    const float rise = std::sin(body.angle);
    if (onGround && body.inverseMass > 0.0f && moveLevel * rise > 0.0f) {
        const Vec2 along(std::cos(body.angle), rise);
        body.force -= along * (body.gravity * rise / (kForceScale * body.inverseMass));
    }

    const float factor = moveLevel != 0 ? 0.98f : (onGround ? 0.9f : 0.95f);
    body.velocity.x = std::fabs(factor * vx) < 0.1f ? 0.0f : factor * vx;
}

void PlayerComponent::ApplyJump(RigidBody& body) {
    const int32_t level = ClampLevel(jumpLevel, 2);
    const bool pressed = jumpBuffer > 0;
    if (jumpBuffer > 0)
        --jumpBuffer;
    const int32_t side3 = sideFrames[0];
    const int32_t side2 = sideFrames[1];
    const int32_t side1 = sideFrames[2];
    // On the ground, or just off an edge; a press made just before landing
    // waits for it.
    if (pressed && airFrames <= kCoyoteFrames && jumpFrames > 10) {
        Vec2 jump(0.0f, jumpImpulse);
        if (side2 < 5)
            jump = Rotate(jump, body.angle - kPi / 6.0f);
        else if (side3 < 5)
            jump = Rotate(jump, body.angle + kPi / 6.0f);
        else if (side1 < 5)
            jump = Rotate(jump, body.angle);
        const bool offWall = side3 < 5 || side2 < 5;
        if (offWall)
            jump = jump * 1.5f;
        body.force += jump;
        jumpFrames = 0;
        jumpBuffer = 0;
        // A jump off a wall is full strength however briefly pressed.
        jumpRising = !offWall;
    } else if (pressed && wallHang && jumpFrames > 10) {
        Vec2 jump(0.0f, jumpImpulse * 1.5f);
        if (body.angle < 0.0f)
            jump = Rotate(jump, body.angle - kPi / 6.0f);
        else if (body.angle > 0.0f)
            jump = Rotate(jump, body.angle + kPi / 6.0f);
        Core::Broadcast(DebugSetColorMessage(255.0f, 255.0f, 0.0f, 255.0f));
        Core::Broadcast(DebugMoveToMessage(owner->x, owner->y));
        Core::Broadcast(DebugLineToMessage(owner->x + jump.x * 0.01f, owner->y + jump.y * 0.01f));
        body.force += jump;
        jumpFrames = 0;
        jumpBuffer = 0;
        jumpRising = false;
    } else if (jumpRising && jumpFrames > 0) {
        if (body.velocity.y <= 0.0f || flying) {
            jumpRising = false;
        } else if (level < 1) {
            body.velocity.y = std::fmin(body.velocity.y, kJumpCutSpeed);
            jumpRising = false;
        } else if (jumpFrames <= kJumpLiftFrames) {
            body.force += Vec2(0.0f, jumpForce[level]);
        }
    }
}

void PlayerComponent::ApplyFlight(RigidBody& body) {
    const Vec2 velocity = body.velocity;
    const Vec2 heading = Normalized(velocity);

    if (dashUnlocked && dashFrames == 0 && dashRequested && lastAimLevel > 0 && fuel > 6.0f) {
        dashDirection = Normalized(lastAim);
        dashFrames = kDashFrames;
        if (dashpack && dashpack->effect)
            dashpack->effect->active = true;
        if (ParticleSystem* particles = ParticleSystem::Instance())
            if (ParticleEffect* burst = particles->CreateEffect("dash_burst", owner->x, owner->y))
                burst->SetDirection(-lastAim.x, -lastAim.y);
        Play("FlurrLaunchExplosion", 1.0f);
    }
    dashRequested = false;

    if (dashFrames > 0 && fuel > 6.0f) {
        // A burst at a fixed speed, straight along the aim, gravity held off.
        body.velocity = dashDirection * kDashSpeed;
        body.gravity = 0.0f;
        --dashFrames;
        rechargeFrames = 0;
        fuel -= 6.0f;
        if (dashFrames == 0)
            body.velocity = body.velocity * kDashExitShare;
    } else if (dashpack && dashpack->effect) {
        dashpack->effect->active = false;
    }
    if (fuel < 6.0f)
        dashFrames = 0;

    const int32_t level = ClampLevel(thrustLevel, 2);
    if (level < 1) {
        ++rechargeFrames;
        if (rechargeFrames > 30)
            fuel += onGround ? 20.0f : 10.0f;
        flying = false;
        SetTrails(false, velocity);
    } else if (fuel <= 0.0f) {
        // Out of fuel: the wings still glide.
        rechargeFrames = 0;
        Vec2 force = (aim - heading) * 342.0f;
        if (std::fabs(velocity.x) > 10.0f)
            force.x -= velocity.x * (velocity.y < 0.0f ? 0.5f : 1.0f);
        body.gravity = aim.y < -0.3f ? -100.0f : -75.0f;
        force += heading * 60.0f;
        // The wings only glide: nothing lifts, and the sink is held to a
        // glide's unless diving.
        force.y = std::fmin(force.y, 0.0f);
        body.force += force;
        if (aim.y >= -0.3f && body.velocity.y < -kGlideSinkSpeed)
            body.velocity.y = -kGlideSinkSpeed;
        SetTrails(false, velocity);
        flying = true;
    } else {
        if (rechargeFrames >= 31 && fuel >= 30.0f) {
            body.force += aim * 7000.0f;
            fuel -= 30.0f;
            if (!launching) {
                if (ParticleSystem* particles = ParticleSystem::Instance()) {
                    particles->CreateEffect("lifdoff_flash", owner->x, owner->y);
                    particles->CreateEffect("lifdoff_fire", owner->x, owner->y);
                    particles->CreateEffect("lifdoff_smoke", owner->x, owner->y);
                }
            }
            launching = true;
        } else {
            launching = false;
            Vec2 force = aim * ThrustForce(level);
            // Falling: cancel the fall along the aim.
            if (velocity.y < 0.0f) {
                const float along = Dot(aim, Vec2(0.0f, velocity.y));
                if (along < 0.0f)
                    force -= aim * along;
            }
            force += (aim - heading) * 685.0f;
            if (velocity.y < 0.0f && aim.y > 0.2f)
                force += velocity / -1.5f;
            force += heading * 60.0f;
            body.force += force;
        }
        fuel -= static_cast<float>(level) * kThrustFuelPerLevel;
        if (fuel < 0.0f)
            fuel = 0.0f;
        SetTrails(true, velocity);
        flying = true;
        body.gravity = aim.y < -0.3f ? -100.0f : -50.0f;
        rechargeFrames = 0;
    }
    if (fuel > fuelMax)
        fuel = fuelMax;
}

void PlayerComponent::SetTrails(bool on, const Vec2& velocity) {
    const Vec2 back = Normalized(velocity) * -20.0f;
    for (ParticleEffectComponent* effect : {trail, firepack}) {
        if (!effect)
            continue;
        if (effect->effect && (!on || !flying))
            effect->effect->active = on;
        if (on) {
            effect->offsetX = back.x;
            effect->offsetY = back.y;
        }
    }
}

void PlayerComponent::StopFlightLoops() {
    for (const char* name :
         {"FlyThrustLoop1", "FlyThrustLoop2", "FlyThrustLoop3", "FlyThrustRumbleLoop"})
        Core::Broadcast(StopSoundMessage(name));
}

// ---------------------------------------------------------------------------
// Animation and sounds

void PlayerComponent::Animate(const std::string& name, float speed) {
    if (graphics->animation != name) {
        const bool action =
            name == "Land" || name == "FlyLaunch" || name == "Jump" || name == "StillJump";
        const int32_t flags = action ? 0 : AnimationFlag::Wait | AnimationFlag::Loop;
        graphics->SetAnimation(name, action ? kActionPriority : kMovePriority, flags);
        if (name == "Jump" || name == "StillJump" || name == "Walk" || name == "Run" ||
            name == "Land")
            lastStepFrame = -1;
    }
    if (graphics->animation == name)
        graphics->SetFrameRate(speed);
}

void PlayerComponent::ChooseAnimation(RigidBody& body) {
    const Vec2 v = body.velocity;
    if (dashFrames > 0) {
        // Stretched out along the dash (the pose is drawn heading up).
        graphics->flipX = false;
        graphics->flipY = false;
        owner->rotation = std::atan2(dashDirection.y, dashDirection.x) - kPi / 2.0f;
        Animate("Dash", 20.0f);
        return;
    }
    if (flying) {
        if (!onGround && !wallHang) {
            graphics->flipY = false;
            const float heading = airFrames <= 2 ? -kPi / 2.0f : std::atan2(v.y, v.x) - kPi / 2.0f;
            owner->rotation = heading;
            if (launching) {
                Animate("FlyLaunch", 15.0f);
            } else {
                const float steer = std::atan2(aim.y, aim.x) - kPi / 2.0f;
                const float turn = AngleBetween(heading, steer);
                if (turn < -kSixtyDegrees) {
                    Animate("Grind", 10.0f);
                    graphics->flipX = true;
                } else if (turn < -kThirtyDegrees) {
                    Animate("Bank", 10.0f);
                    graphics->flipX = true;
                } else if (turn <= kThirtyDegrees) {
                    Animate("Fly", 10.0f);
                    graphics->flipX = false;
                } else if (turn <= kSixtyDegrees) {
                    Animate("Bank", 10.0f);
                    graphics->flipX = false;
                } else {
                    Animate("Grind", 10.0f);
                    graphics->flipX = false;
                }
            }
        } else if (wallHang) {
            owner->rotation = body.angle;
            graphics->flipY = v.y < 0.0f;
        } else {
            owner->rotation = body.angle - kPi / 2.0f;
            graphics->flipY = v.x < 0.0f;
        }
        return;
    }

    graphics->flipY = false;
    const float speed = std::fabs(v.x);
    if (onGround) {
        if (animFrames < 10) {
            if (speed < 2.0f)
                Animate("Idle", 10.0f);
            else
                Animate(speed < 60.0f ? "Walk" : "Run", speed * 0.3f);
        }
        if (animFrames > 20)
            Animate("Land", 5.0f);
        animFrames = 0;
    } else {
        if (wallHang) {
            Animate("WallHang", 8.0f);
            animFrames = 0;
        } else if (animFrames > 3) {
            // The falling pose only while falling: rising on the wind keeps
            // the jump's.
            const bool falling = v.y < 0.0f;
            if (speed <= 2.0f)
                Animate(animFrames > 14 && falling ? "Freefall" : "StillJump", 10.0f);
            else if (animFrames >= 15 && falling)
                Animate("Freefall", 10.0f);
            else
                Animate("Jump", 12.0f);
        }
        ++animFrames;
    }
    if (!wallHang) {
        if (v.x < 0.0f)
            graphics->flipX = true;
        else if (v.x > 0.0f)
            graphics->flipX = false;
    } else if (body.floorSide == 2 || body.floorSide == 3) {
        // The hanging pose is drawn against a wall on the right; side 2
        // means the wall is on the left.
        graphics->flipX = body.floorSide == 2;
    }
}

void PlayerComponent::PlaySounds() {
    const std::string& name = graphics->animation;
    const int32_t frame = graphics->FrameIndex();
    const bool newFrame = frame != lastStepFrame;

    if (name == "FlyLaunch" && newFrame) {
        if (frame == 0) {
            Play("WingOpen1");
        } else if (frame == 1) {
            Play("FlurrLaunchExplosion");
        } else if (frame == 2) {
            Play("WingOpen2");
            wingsOpen = true;
            Play("FlyLoop", 1.0f, -1);
            Play(Numbered("FlyThrustLoop%i", Random() % 3 + 1), 1.0f, -1);
            Play("FlyThrustRumbleLoop", 1.0f, -1);
        }
    }
    if ((name == "Fly" || name == "Bank" || name == "Grind") && !wingsOpen) {
        wingsOpen = true;
        Play("FlyLoop", 1.0f, -1);
        Play(Numbered("FlyThrustLoop%i", Random() % 3 + 1), 1.0f, -1);
        Play("FlyThrustRumbleLoop", 1.0f, -1);
    }
    if (fuel == 0.0f)
        StopFlightLoops();
    // Landed or out of the air: the flight loops would otherwise play on
    // under the footsteps.
    if (wasFlying && !flying && wingsOpen) {
        wingsOpen = false;
        StopFlightLoops();
        Core::Broadcast(StopSoundMessage("FlyLoop"));
    }
    wasFlying = flying;

    if (newFrame) {
        if (name == "Walk" && (frame == 3 || frame == 7)) {
            Play(Numbered("WalkStep%i", Random() % 6 + 1));
        } else if (name == "Run" && (frame == 3 || frame == 7)) {
            Play(Numbered("RunStep%i", Random() % 6 + 1));
            if (ParticleSystem* particles = ParticleSystem::Instance()) {
                const Vec2 feet = Rotate(Vec2(0.0f, -50.0f), owner->rotation);
                particles->CreateEffect("runstep", owner->x + feet.x, owner->y + feet.y);
            }
        } else if (name == "Land" && frame == 0) {
            Play(Numbered("Land%i", Random() % 5 + 1));
        } else if ((name == "Jump" && frame == 1) || (name == "StillJump" && frame == 0)) {
            const int32_t n = Random() % 4 + 1;
            Play(Numbered("Jump%i", n), 1.0f);
            Play(Numbered("WalkStep%i", n), 1.0f);
        }
    }
    lastStepFrame = frame;
}

// ---------------------------------------------------------------------------
// Map view, recovery, end screen

GameObject* PlayerComponent::MakeSpriteObject(std::unique_ptr<GameObject>& object,
                                              const std::string& animation, int32_t width,
                                              int32_t height) {
    if (object)
        return object.get();
    object = std::make_unique<GameObject>();
    object->width = width;
    object->height = height;
    if (GraphicsComponent* sprite = GraphicsComponent::AttachLooping(*object, animation))
        sprite->Opacity = 0.0f;
    return object.get();
}

void PlayerComponent::UpdateMapView() {
    const bool paused = SpaceManager::Active(Spaces::Pause);
    MakeSpriteObject(marker, "Player_Marker", 100, 100);
    MakeSpriteObject(prompt, "ViewMap", 128, 32);
    GraphicsComponent* markerSprite = marker->Get<GraphicsComponent>();
    GraphicsComponent* promptSprite = prompt->Get<GraphicsComponent>();
    if (markerSprite)
        markerSprite->Opacity = 0.0f;
    if (promptSprite) {
        promptSprite->Opacity = 0.0f;
        promptSprite->screenSpace = true;
        float width, height;
        ScreenSize(width, height);
        // Half the screen in the 600-unit screen view, so the prompt keeps
        // its place at the left whatever the window's shape; in a window
        // too narrow for that place it is centred, so none of it is cut.
        const float half = width * 300.0f / height;
        prompt->x = half >= 160.0f ? 160.0f - half : 0.0f;
        prompt->y = -236.0f;
    }

    CameraController* camera = CameraController::Instance();
    bool showPrompt = false;
    if (!mapView) {
        if (camera) {
            camera->SelectByName("Player");
            if (introFrames > 0) {
                --introFrames;
                camera->targetZoom = 4.0f;
                camera->zoomPending = true;
                camera->mode = CameraMode::SmoothStart;
            } else {
                camera->mode = CameraMode::LookAhead;
                camera->zoomPending = false;
            }
        }
        showPrompt = true;
    } else if (!camera || !camera->SelectByName("MapOverview")) {
        mapView = false;
        showPrompt = true;
    } else {
        const GameObject* overview = camera->current->owner;
        camera->targetZoom = overview ? MapViewZoom(Vec2(overview->x, overview->y)) : 250.0f;
        camera->zoomPending = true;
        camera->mode = CameraMode::Smooth;
        if (!paused)
            DrawMapLegend();
        if (markerSprite) {
            // Grows with the view, but slower, so it stays readable far out.
            const float k = std::sqrt((camera->zoom + 10.0f) / 10.0f);
            marker->x = owner->x + 5.0f * k;
            marker->y = owner->y + 50.0f * k;
            marker->width = static_cast<int32_t>(100.0f * k);
            marker->height = static_cast<int32_t>(104.2f * k);
            markerSprite->Opacity = 1.0f;
        }
    }
    if (promptSprite && showPrompt && !paused)
        promptSprite->Opacity = 1.0f;
}

void PlayerComponent::RecoverUpright(RigidBody& body) {
    if (airFrames <= 10 || flying || wallHang)
        return;
    float& angle = body.angle;
    if (angle > -kOneDegree && angle < kOneDegree) {
        angle = 0.0f;
    } else if (angle > 0.0f) {
        if (angle > kPi)
            angle = kPi;
        angle -= angle > kFortyFiveDegrees ? 2.0f * kOneDegree : kOneDegree;
    } else {
        if (angle < -kPi)
            angle = -kPi;
        angle += angle < -kFortyFiveDegrees ? 2.0f * kOneDegree : kOneDegree;
    }
}

void PlayerComponent::ShowThanks() {
    GameObject* screen = MakeSpriteObject(thanks, "THANKS", 450, 450);
    screen->x = owner->x;
    screen->y = owner->y;
    if (GraphicsComponent* sprite = screen->Get<GraphicsComponent>()) {
        sprite->SetFrameRate(1.0f);
        sprite->Opacity = SpaceManager::Active(Spaces::Pause) ? 0.0f : 1.0f;
    }
    if (SpaceManager::Active(Spaces::Pause))
        return;
    if (++thanksTicks >= kThanksTicks)
        LeaveThanks();
    if (thanksTicks >= kThanksQuietTicks) {
        DrawTextMessage hint =
            ScreenLine("Press Space, Enter or A to go on", "CardoRegular22", 540.0f);
        hint.red = hint.green = hint.blue = 255.0f;
        hint.shadow = true;
        Core::Broadcast(hint);
    }
}

void PlayerComponent::LeaveThanks() {
    if (thanksLeft)
        return;
    thanksLeft = true;
    Core::Broadcast(FadeToNextLevelMessage());
}

} // namespace Flurr
