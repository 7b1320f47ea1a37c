#pragma once
// The BirdSystem runs the small birds of a level: they glide to and fro,
// land on perches to peck, and scatter when the player comes near, each
// perch that loses its bird raising the alarm at the perches around it.
//
// Driven by the core, last of every tick. Every tick it updates the
// BirdComponents of the active spaces. It listens for the alarms (62: the
// player is here, sent by the player every tick; 63: a perch raised the
// alarm) and hands each to every BirdPerch, in the order they came; a
// perch hands a 63 on to its bird, which flees.
//
// It owns nothing: birds and perches belong to their objects and leave
// the lists in Free(). A bird and the perch it sits on or flies to point
// at each other; whichever goes first clears both sides, so neither ever
// points at a freed one.

#include <string>
#include <vector>

#include "engine/GameSystem.h"
#include "world/SpaceLists.h"

namespace Flurr {

class BirdComponent;
class BirdPerch;

struct BirdSystemName {
    static constexpr const char* value = "BirdSystem";
};

class BirdSystem : public ISystem<BirdSystem, BirdSystemName> {
public:
    void Initialize() override;
    void SendMessage(Message* message) override;
    void Update(float dt) override;
    void FreeSpace(const std::string& space) override;
    void Free() override;

    void RegisterComponent(BirdComponent* bird, const std::string& space);
    void RegisterComponent(BirdPerch* perch, const std::string& space);
    void UnregisterComponent(BirdComponent* bird) { UnregisterBird(bird); }
    void UnregisterComponent(BirdPerch* perch) { UnregisterPerch(perch); }
    void UnregisterBird(BirdComponent* bird);
    void UnregisterPerch(BirdPerch* perch);

    // A perch nobody sits on or flies to, looked for from a random place
    // in the list onwards; null when every perch is taken or there is none.
    BirdPerch* FindFreePerch();

    std::vector<BirdComponent*> Birds() const { return birdsBySpace.Items(); }
    std::vector<BirdPerch*> Perches() const { return perches.Items(); }

private:
    SpaceLists<BirdComponent> birdsBySpace;
    // Filed under the space they joined, but every perch hears every alarm.
    SpaceLists<BirdPerch> perches;
};

} // namespace Flurr
