#include "gameplay/BirdPerch.h"

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "gameplay/BirdComponent.h"
#include "serialization/Serializer.h"
#include "world/SpaceManager.h"

namespace Flurr {

BirdPerch::~BirdPerch() {
    ReleaseBird();
}

void BirdPerch::Initialize() {
    Join({Spaces::Game});
}

void BirdPerch::Free() {
    ReleaseBird();
    Leave();
}

void BirdPerch::ReleaseBird() {
    BirdComponent* had = bird;
    bird = nullptr;
    if (had && had->perch == this)
        had->PerchLost();
}

void BirdPerch::SendMessage(Message* message) {
    const PerchAlertMessage* alert = As<PerchAlertMessage>(message);
    if (!alert || !owner)
        return;
    const Vec2 at(owner->x, owner->y);
    const bool fromPlayer = alert->id == MessageId::PerchAlertPlayer;
    const float reach = fromPlayer ? kPlayerReach : kPerchReach;
    if (!(DistanceSquared(at, Vec2(alert->x, alert->y)) < reach))
        return;
    if (fromPlayer) {
        Core::Broadcast(PerchAlertPerchMessage(at.x, at.y));
        return;
    }
    // A bird still on its way from afar does not hear this perch.
    if (!bird || !bird->owner ||
        !(DistanceSquared(at, Vec2(bird->owner->x, bird->owner->y)) < kBirdNear))
        return;
    // The bird leaves the perch as it flees, so this perch falls silent
    // before the alarm it raises comes back to it.
    bird->SendMessage(message);
    Core::Broadcast(PerchAlertPerchMessage(at.x, at.y));
}

void BirdPerch::Serialize(ASerializer& s) {
    s.Begin("BirdPerch");
    s.End("BirdPerch");
}

} // namespace Flurr
