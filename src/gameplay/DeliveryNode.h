#pragma once
// A delivery point of the race: while it is the target, touching it
// delivers. Its body becomes a ghost so the player flies straight
// through. It has no data: it is saved as the empty object "DeliveryNode".

#include <cstdint>

#include "gameplay/LogicComponent.h"

namespace Flurr {

struct DeliveryNodeName {
    static constexpr const char* value = "DeliveryNode";
};

class DeliveryNode : public LogicComponent<DeliveryNode, DeliveryNodeName> {
public:
    void Initialize() override;
    void Update(float dt) override;
    void Free() override;
    void Serialize(ASerializer& serializer) override;

    // Becomes the target: shows the marker above the point.
    void Activate();
    // No longer the target: the marker goes.
    void Deactivate();

    bool active = false;
    // The points this node is worth: how far the player was from it when
    // it became the target.
    float distance = 0.0f;
    // The marker object, held by id (the factory may have destroyed it
    // first at a level change); -1 for none.
    int32_t marker = -1;
};

} // namespace Flurr
