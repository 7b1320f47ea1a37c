#pragma once
// One small bird. It glides level to and fro; after three seconds of
// gliding it may pick a free perch, fly there, and sit pecking. An alarm
// handed on by its perch sends it up and away for five seconds, after
// which it glides again. Speeds are world units per tick; its stopwatches
// run on game time, so replays see the same birds.
//
// Driven by the BirdSystem (updates, in "GameSpace"); it hears messages
// only from its perch. Its sprite is the owner's GraphicsComponent, turned
// to the heading and playing the colour's animations ("BlackBird",
// "BlueBirdIdle", "RedBirdPecking", ...). No keys: saved as an empty
// "BirdComponent".

#include <cstdint>

#include "engine/DrivenComponent.h"
#include "engine/TimerSet.h"
#include "engine/Vec2.h"
#include "gameplay/BirdSystem.h"

namespace Flurr {

class BirdPerch;

namespace BirdState {
inline constexpr int32_t Glide = 0;
inline constexpr int32_t Flee = 1;
inline constexpr int32_t Perched = 2;
inline constexpr int32_t Landing = 3;
} // namespace BirdState

struct BirdComponentName {
    static constexpr const char* value = "BirdComponent";
};

class BirdComponent : public DrivenComponent<BirdComponent, BirdComponentName, BirdSystem> {
public:
    // World units per tick.
    static constexpr float kGlideSpeed = 6.0f;
    static constexpr float kFleeSpeed = 16.0f;
    // Closer than this (world units) counts as there.
    static constexpr float kArrived = 10.0f;
    // Seconds of gliding before the bird looks for a perch, then 1 chance
    // in 10 a tick.
    static constexpr float kGlideBeforePerching = 3.0f;
    static constexpr float kFleeTime = 5.0f;

    BirdComponent();
    ~BirdComponent() override;

    void Initialize() override;
    void Update(float dt) override;
    // A 63 alarm from its perch: the bird takes flight.
    void SendMessage(Message* message) override;
    void Free() override;
    void Serialize(ASerializer& serializer) override;

    // Its perch is going away: it forgets it and glides on.
    void PerchLost();

    BirdPerch* perch = nullptr;
    int32_t state = BirdState::Glide;
    int32_t colour = 0; // 0 "Black", 1 "Blue", 2 "Red"
    Vec2 heading{1.0f, 0.0f};
    Vec2 direction{1.0f, 0.0f};
    Vec2 velocity;
    TimerSet timers{TimerClock::Game};
    // Seconds from one peck to the next; none is due before the first.
    float actionDuration = 0.0f;

private:
    enum Pose { Flying, Idle, Pecking };
    void SetBirdAnimation(Pose pose, float rate);
    // Steers and moves towards `target` at up to `speed`; true (and no
    // move) when already within kArrived of it.
    bool MoveTowards(Vec2 target, float speed);
    void StopTimers();
    void TakeFlight();
    // Gliding again, with the glide clock running so it looks for a perch
    // again later.
    void Glide();
    void LeavePerch();
};

} // namespace Flurr
