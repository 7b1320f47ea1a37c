#pragma once
// PlayerComponent: the player character. It turns the player's intentions
// (set from input messages: move level, jump level, thrust level and aim,
// dash request, map view) into forces on its own PhysicsComponent's body,
// keeps the ground / wall / air state from the body's floor state, runs
// the jet pack with its fuel meter, picks the animation of its
// GraphicsComponent with the footstep and flight sounds tied to frames,
// drives its trail effects and the map view.
//
// Driven by the PlayerController: Update(dt) once per frame while
// "GameSpace" (or "Pause", map view only) is active, SendMessage with every
// input message. Keys and pad buttons count through the core's action
// table (Move, Jump, Run, Dash, Map); the mouse and the sticks directly. Counters count frames: the
// game was tuned at 60 frames per second and the physics takes one fixed step per frame.
//
// Units: forces in physics force units (times 1000 and the inverse mass);
// velocities in physics velocity units (a tenth of world units per
// second); angles in radians.
//
// Owns: three ParticleEffectComponents ("flurr_trail", "firepack",
// "dashpack") attached to its own object, so the object frees them; the
// map marker, map prompt and end-screen objects, which are its own rather
// than the Factory's (a saved level must not collect them) and go in
// Free().

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/DrivenComponent.h"
#include "engine/GameObject.h"
#include "engine/Vec2.h"
#include "player/PlayerController.h"

namespace Flurr {

class GraphicsComponent;
class ParticleEffectComponent;
class PhysicsComponent;
struct RigidBody;

// Where a level's floors reach, world units; the player is kept inside
// them (below or beside: back to its safe place; above: a soft ceiling).
struct LevelBounds {
    float left = 0.0f, right = 0.0f, bottom = 0.0f, top = 0.0f;
    bool known = false;
};
// The extent of the still floor bodies, or unknown when there are none.
LevelBounds FloorBounds(const std::vector<RigidBody*>& bodies);

struct PlayerComponentName {
    static constexpr const char* value = "PlayerComponent";
};

class PlayerComponent
    : public DrivenComponent<PlayerComponent, PlayerComponentName, PlayerController> {
public:
    ~PlayerComponent() override;

    void Initialize() override;
    void Update(float dt) override;
    void SendMessage(Message* message) override;
    void Free() override;
    void Serialize(ASerializer& serializer) override;

    void SetFlightUnlocked(bool unlocked) { flightUnlocked = unlocked; }
    void SetDashUnlocked(bool unlocked) { dashUnlocked = unlocked; }

    // The force of a move level (|level| 0..4) and of a thrust level
    // (0..2). Thrust level 1 and move level 4 are one stored value.
    float MoveForce(int32_t level) const;
    float ThrustForce(int32_t level) const;

    PhysicsComponent* physics = nullptr;
    GraphicsComponent* graphics = nullptr;
    bool flying = false;
    bool onGround = false;
    bool wallHang = false;
    uint32_t animFrames = 20;
    float jumpForce[3] = {0.0f, 0.0f, 0.0f};
    float moveForce[5] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    float thrustForce2 = 0.0f;
    float jumpImpulse = 12000.0f;
    Vec2 aim;
    Vec2 lastAim;
    int32_t lastAimLevel = 0;
    Vec2 dashDirection;
    int32_t dashFrames = 0;
    float fuelMax = 2000.0f;
    float fuel = 2000.0f;
    int32_t rechargeFrames = 0;
    int32_t thrustLevel = 0;
    int32_t jumpLevel = 0;
    int32_t moveLevel = 0;
    // Mouse aim: unit direction from the screen centre to the pointer and
    // its level (2 beyond 10 units, else 0); the pointer in window pixels.
    Vec2 mouseAim;
    int32_t mouseLevel = 0;
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    bool mouseSeen = false; // no pointer position before the first move
    // The pointer's offset from the screen centre in the 600-unit view
    // scale, limited to kMouseReach.
    Vec2 mouseOffset;
    float speedSquared = 0.0f;
    int32_t lastStepFrame = -1;
    bool leftHeld = false;
    bool rightHeld = false;
    bool runHeld = false;
    int32_t jumpFrames = 0;
    bool canAct = true;
    int32_t jumpPresses = 0;
    int32_t airFrames = 0;
    bool wingsOpen = false;
    // Frames since the body last reported floor side 3, 2 and 1.
    int32_t sideFrames[3] = {0, 0, 0};
    int32_t spareSideFrames = 0;
    int32_t groundFrames = 0;
    bool thrusting = false;
    bool launching = false;
    bool dashRequested = false;
    bool triggerLatch = false;
    bool flightUnlocked = false;
    bool dashUnlocked = false;
    bool mapView = false;
    int32_t introFrames = 60;
    bool showThanks = false;
    // The end screen: ticks it has been up (not counting the pause menu),
    // and whether the game has been asked to move on from it. It moves on
    // by itself after kThanksTicks; Space, Enter or pad A take it on
    // sooner, but not in its first kThanksQuietTicks, so a key held down
    // at the end does not skip it unseen.
    static constexpr int32_t kThanksTicks = 6 * 60;
    static constexpr int32_t kThanksQuietTicks = 60;
    int32_t thanksTicks = 0;
    bool thanksLeft = false;
    // The special jobs' counters, kept for the player's whole life: frames
    // spent going fast, the sum of per-frame flying speeds, and frames
    // until the next meow may play.
    int32_t goFastFrames = 0;
    int32_t distanceTravelled = 0;
    int32_t meowCooldown = 0;
    // Frames a jump press is still waiting to become a jump (pressed just
    // before landing); 0 when none waits.
    int32_t jumpBuffer = 0;
    // The last jump is still rising from the jump itself: its lift goes on
    // while the key is held, and letting go cuts the climb short.
    bool jumpRising = false;
    // Where the player last stood on still ground, and whether it has yet.
    Vec2 safePlace;
    bool hasSafePlace = false;
    // Frames left of the fade before the player is put back at its safe
    // place; 0 when not leaving the level.
    int32_t returnFrames = 0;
    // What the player was doing last update: on the ground, and the pose
    // of a dash.
    bool wasOnGround = false;
    // What the body's inverse inertia was before the player locked its
    // rotation. Read every frame, so after the first it holds 0.
    float savedInverseInertia = 0.0f;

    // Runs at the end of every update of a player in play: the job
    // system's special jobs, which sit above the player and set this while
    // they exist. Process-wide; empty when no one listens.
    static inline std::function<void(PlayerComponent&)> endOfUpdate;

    ParticleEffectComponent* trail = nullptr;
    ParticleEffectComponent* firepack = nullptr;
    ParticleEffectComponent* dashpack = nullptr;

    // The objects the player made for itself (none until first used).
    std::unique_ptr<GameObject> marker;
    std::unique_ptr<GameObject> prompt;
    std::unique_ptr<GameObject> thanks;

private:
    RigidBody* Body() const;
    void UpdateGroundState(RigidBody& body);
    void ApplyMove(RigidBody& body);
    void ApplyJump(RigidBody& body);
    void ApplyFlight(RigidBody& body);
    void ChooseAnimation(RigidBody& body);
    void PlaySounds();
    void UpdateMapView();
    void RecoverUpright(RigidBody& body);
    void KeepOnGround(RigidBody& body);
    void KeepInsideLevel(RigidBody& body);
    void PressJump();
    void ShowThanks();
    void LeaveThanks();
    void Animate(const std::string& name, float speed);
    void SetTrails(bool on, const Vec2& velocity);
    void StopFlightLoops();
    void HandleKey(int32_t id, uint8_t key);
    void HandleMouseButton(int32_t id, uint8_t button);
    void HandlePadButton(int32_t id, uint16_t button);
    ParticleEffectComponent* AddEffect(const std::string& name);
    GameObject* MakeSpriteObject(std::unique_ptr<GameObject>& object, const std::string& animation,
                                 int32_t width, int32_t height);

    bool wasFlying = false;
    LevelBounds bounds;
};

// The pointer's offset from the screen centre is limited to this, in the
// 600-unit view scale.
inline constexpr float kMouseReach = 150.0f;

// A jump pressed up to this many frames before landing jumps on landing,
// and one pressed up to this many frames after running off an edge still
// counts.
inline constexpr int32_t kJumpBufferFrames = 6;
inline constexpr int32_t kCoyoteFrames = 6;
// A dash: this many frames at this speed (physics velocity units; running
// tops out near 81).
inline constexpr int32_t kDashFrames = 12;
inline constexpr float kDashSpeed = 160.0f;
// The fastest the jet pack flies, physics velocity units.
inline constexpr float kFlightSpeedLimit = 230.0f;

} // namespace Flurr
