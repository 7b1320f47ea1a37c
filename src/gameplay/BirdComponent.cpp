#include "gameplay/BirdComponent.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "engine/Random.h"
#include "gameplay/BirdPerch.h"
#include "graphics/GraphicsComponent.h"
#include "serialization/Serializer.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

const char* const kGlideTime = "GlideTime";
const char* const kRunTime = "RunTime";
const char* const kActionTime = "ActionTime";
const char* const kActionWaitTime = "ActionWaitTime";

// Colour prefix + pose, made once rather than every tick.
const std::string& AnimationName(int32_t colour, int32_t pose) {
    static const std::string kNames[3][3] = {{"BlackBird", "BlackBirdIdle", "BlackBirdPecking"},
                                             {"BlueBird", "BlueBirdIdle", "BlueBirdPecking"},
                                             {"RedBird", "RedBirdIdle", "RedBirdPecking"}};
    const int32_t c = colour >= 0 && colour < 3 ? colour : 0;
    return kNames[c][pose];
}

// Animations the bird asks for win over the level's own setting.
constexpr float kAnimationPriority = 3.0f;

} // namespace

BirdComponent::BirdComponent() {}

BirdComponent::~BirdComponent() {
    LeavePerch();
}

void BirdComponent::Initialize() {
    Join({Spaces::Game});
    timers.Start(kGlideTime);
    colour = Random() % 3;
}

void BirdComponent::Free() {
    LeavePerch();
    Leave();
}

void BirdComponent::LeavePerch() {
    BirdPerch* had = perch;
    perch = nullptr;
    if (had && had->bird == this)
        had->bird = nullptr;
}

void BirdComponent::PerchLost() {
    perch = nullptr;
    if (state == BirdState::Perched || state == BirdState::Landing)
        Glide();
}

void BirdComponent::Glide() {
    StopTimers();
    timers.Start(kGlideTime);
    state = BirdState::Glide;
}

void BirdComponent::StopTimers() {
    for (const char* name : {kGlideTime, kRunTime, kActionTime}) {
        timers.Stop(name);
        timers.Reset(name);
    }
}

void BirdComponent::SetBirdAnimation(Pose pose, float rate) {
    GraphicsComponent* sprite = owner ? owner->Get<GraphicsComponent>() : nullptr;
    if (!sprite)
        return;
    const std::string& name = AnimationName(colour, pose);
    // Asking again for what plays changes nothing but costs a bank lookup.
    if (sprite->animation != name)
        sprite->SetAnimation(name, kAnimationPriority, AnimationFlag::Loop | AnimationFlag::Wait);
    sprite->SetFrameRate(rate);
}

bool BirdComponent::MoveTowards(Vec2 target, float speed) {
    const Vec2 position(owner->x, owner->y);
    Vec2 d = target - position;
    if (d.LengthSquared() < kArrived * kArrived)
        return true;
    direction = d == Vec2() ? Vec2(1.0f, 0.0f) : d;
    direction.Normalize();
    // Facing exactly away, the turn below would cancel out: push sideways.
    if (Dot(heading, direction) == -1.0f)
        heading += Vec2(-direction.y, direction.x) * 0.1f;
    heading += direction * 0.1f;
    heading.Normalize();
    const float along = std::max(Dot(heading, direction), 0.0f);
    velocity += heading * (speed * along);
    if (velocity.LengthSquared() > speed * speed) {
        velocity.Normalize();
        velocity = velocity * speed;
    }
    owner->x += velocity.x;
    owner->y += velocity.y;
    return false;
}

void BirdComponent::Update(float) {
    if (!owner)
        return;
    GraphicsComponent* sprite = owner->Get<GraphicsComponent>();
    owner->rotation = std::atan2(heading.y, heading.x);
    if (sprite) {
        // Drawn facing right: flying left, it is turned half round and
        // flipped back upright.
        sprite->flipY = heading.x <= 0.0f;
        sprite->flipX = false;
    }
    switch (state) {
    case BirdState::Glide:
        MoveTowards(Vec2(owner->x + direction.x * 10.0f, owner->y), kGlideSpeed);
        SetBirdAnimation(Flying, 6.0f);
        if (timers.GetTime(kGlideTime) > kGlideBeforePerching && Random() % 10 == 0) {
            StopTimers();
            BirdSystem* birds = BirdSystem::Instance();
            perch = birds ? birds->FindFreePerch() : nullptr;
            if (perch) {
                state = BirdState::Landing;
                perch->bird = this;
            } else {
                // Keeps looking: a perch may come free later.
                timers.Start(kGlideTime);
            }
        }
        break;
    case BirdState::Flee:
        SetBirdAnimation(Flying, 10.0f);
        velocity = heading * kFleeSpeed;
        MoveTowards(Vec2(owner->x, owner->y) + velocity, kFleeSpeed);
        if (timers.GetTime(kRunTime) > kFleeTime) {
            Glide();
            direction = Random() % 2 == 0 ? Vec2(-1.0f, 0.0f) : Vec2(1.0f, 0.0f);
        }
        break;
    case BirdState::Perched:
        owner->rotation = 0.0f;
        if (timers.GetTime(kActionWaitTime) > 0.25f)
            SetBirdAnimation(Idle, 1.0f);
        if (sprite) {
            sprite->flipY = false;
            sprite->flipX = heading.x < 0.0f;
        }
        if (timers.GetTime(kActionTime) > actionDuration) {
            SetBirdAnimation(Pecking, 0.1f);
            actionDuration = 1.0f + 4.0f * static_cast<float>(Random() % 1000) / 1000.0f;
            timers.Reset(kActionTime);
            timers.Reset(kActionWaitTime);
            timers.Start(kActionWaitTime);
        }
        break;
    case BirdState::Landing:
        SetBirdAnimation(Flying, 6.0f);
        StopTimers();
        if (!perch || !perch->owner) {
            Glide();
            break;
        }
        {
            const Vec2 at(perch->owner->x, perch->owner->y);
            direction = at - Vec2(owner->x, owner->y);
            direction.Normalize();
            if (MoveTowards(at, kGlideSpeed)) {
                state = BirdState::Perched;
                heading = Random() % 2 == 0 ? Vec2(-1.0f, 0.0f) : Vec2(0.0f, 0.0f);
                timers.Start(kActionTime);
            }
        }
        break;
    default:
        break;
    }
}

void BirdComponent::SendMessage(Message* message) {
    if (As<PerchAlertPerchMessage>(message))
        TakeFlight();
}

void BirdComponent::TakeFlight() {
    LeavePerch();
    direction = Random() % 2 == 0 ? Vec2(-1.0f, 0.0f) : Vec2(0.0f, 0.0f);
    StopTimers();
    timers.Start(kRunTime);
    heading = Vec2(static_cast<float>(Random() % 120 - 60), 30.0f);
    heading.Normalize();
    state = BirdState::Flee;
    static const char* const kCalls[] = {"Pigeons1", "Pigeons2", "Pigeons3", "Pigeons4"};
    Core::Broadcast(PlaySoundMessage(kCalls[Random() % 4], 1.0f, 0));
}

void BirdComponent::Serialize(ASerializer& s) {
    s.Begin("BirdComponent");
    s.End("BirdComponent");
}

} // namespace Flurr
