#pragma once
// One drifting background cloud, made by a CloudMachineComponent. It moves
// with the machine's wind, fades out when the camera comes close to its
// depth, and when it drifts out of the machine's area it tells the machine
// (if the machine is still there) and goes through the factory's deferred
// destruction, so the machine sends another.
//
// Driven by the LogicSystem in "GameSpace". It holds its machine by object
// id, never by pointer, so a machine destroyed first (or a cloud read from
// a file without one) leaves nothing to dangle. No keys.

#include <cstdint>

#include "engine/Vec2.h"
#include "gameplay/CloudMachineComponent.h"
#include "gameplay/LogicComponent.h"

namespace Flurr {

struct CloudComponentName {
    static constexpr const char* value = "CloudComponent";
};

class CloudComponent : public LogicComponent<CloudComponent, CloudComponentName> {
public:
    // How far behind the camera's depth a cloud reaches its full opacity,
    // world units.
    static constexpr float kFadeDepth = 40.0f;

    void Update(float dt) override;
    void Serialize(ASerializer& serializer) override;

    // The machine's object, by id; -1 for none.
    int32_t machine = -1;
    Vec2 velocity{-100.0f, 0.0f};
    float minX = CloudMachineComponent::kDefaultMinX;
    float maxX = CloudMachineComponent::kDefaultMaxX;
    float minY = CloudMachineComponent::kDefaultMinY;
    float maxY = CloudMachineComponent::kDefaultMaxY;
    float depthRange = -300.0f;
    float spare = 10.0f;

private:
    // Set when it has drifted out, so the machine hears of it only once.
    bool gone = false;
};

} // namespace Flurr
