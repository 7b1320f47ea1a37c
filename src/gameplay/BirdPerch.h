#pragma once
// A place a bird may sit: an invisible point (its owner's position) on a
// roof, a sign, a lamp post or a chimney. It holds the one bird sitting on
// it or flying to it.
//
// It joins the BirdSystem, which hands it every alarm. The player's alarm
// (62) within 300 units makes it raise its own (63) from where it stands;
// a perch's alarm within 500 units makes it send its bird off, if the bird
// sits within about 354 units, and raise the alarm in turn. A perch whose
// bird has gone stays quiet, so a chain of alarms always ends. No keys:
// saved as an empty "BirdPerch".

#include "engine/DrivenComponent.h"
#include "gameplay/BirdSystem.h"

namespace Flurr {

struct BirdPerchName {
    static constexpr const char* value = "BirdPerch";
};

class BirdPerch : public DrivenComponent<BirdPerch, BirdPerchName, BirdSystem> {
public:
    // Squared world units.
    static constexpr float kPlayerReach = 300.0f * 300.0f;
    static constexpr float kPerchReach = 500.0f * 500.0f;
    static constexpr float kBirdNear = 0.5f * kPerchReach;

    ~BirdPerch() override;

    void Initialize() override;
    void SendMessage(Message* message) override;
    void Free() override;
    void Serialize(ASerializer& serializer) override;

    // The bird sitting here or on its way; it points back at this perch.
    BirdComponent* bird = nullptr;

private:
    void ReleaseBird();
};

} // namespace Flurr
