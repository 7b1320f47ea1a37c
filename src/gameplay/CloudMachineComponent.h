#pragma once
// The cloud machine keeps a drifting population of background clouds
// inside a rectangle of the world. Its first update fills the whole area;
// afterwards each cloud that drifts out is replaced by one entering from
// the upwind side (or, about three times in five with the westerly wind,
// anywhere inside). The clouds sit up to 300 units behind the play plane,
// so they slide past slower than the scenery and never cover the player.
//
// A level that wants clouds holds a machine; a level without one has none
// (the logo and menu levels). "CloudDensity" is clouds per square world
// unit; "AreaLeft", "AreaRight", "AreaBottom" and "AreaTop" move the area
// (written only when they differ from the default one, so a level that
// never moved it saves as it was read).
//
// Driven by the LogicSystem in "GameSpace". The clouds are objects of the
// running game: never saved with the level, so a level saved and read
// again gets a fresh sky rather than a second one. Each cloud holds its
// machine by object id and reports its departure through CloudLeft(); a
// machine that is gone first simply hears nothing.

#include <cstdint>
#include <string>
#include <vector>

#include "gameplay/LogicComponent.h"

namespace Flurr {

class GameObject;

struct CloudMachineComponentName {
    static constexpr const char* value = "CloudMachineComponent";
};

class CloudMachineComponent
    : public LogicComponent<CloudMachineComponent, CloudMachineComponentName> {
public:
    // More clouds than this in one sky is a slip of the density's decimal
    // point, not a sky: the machine keeps to this many and says so.
    static constexpr int32_t kMaxClouds = 2000;
    // The default area, world units: Hillside and the first stretch of
    // the town.
    static constexpr float kDefaultMinX = -7000.0f;
    static constexpr float kDefaultMaxX = 10000.0f;
    static constexpr float kDefaultMinY = -5000.0f;
    static constexpr float kDefaultMaxY = 7000.0f;
    static constexpr float kOpacity = 0.8f;
    // The share of the drawn size a cloud is given.
    static constexpr float kSizeShare = 0.25f;

    void Initialize() override;
    void Update(float dt) override;
    void Serialize(ASerializer& serializer) override;

    // A cloud of this machine drifted out of the area.
    void CloudLeft();
    // Makes one cloud; `fill` places it anywhere in the area rather than
    // on its upwind edge. Returns the cloud, or null without a factory.
    GameObject* SpawnCloud(bool fill);

    // Clouds per square world unit.
    float CloudDensity = 1e-7f;
    // Cloud velocity, world units a second.
    float windX = -100.0f;
    float windY = 0.0f;
    float minX = kDefaultMinX;
    float maxX = kDefaultMaxX;
    float minY = kDefaultMinY;
    float maxY = kDefaultMaxY;
    // Clouds get a ZPos in (-|depthRange|, 0].
    float depthRange = -300.0f;
    // Handed to every cloud; nothing reads it.
    float spare = 10.0f;
    // Clouds alive, and how many the area should hold.
    int32_t count = 0;
    int32_t target = 0;
    std::vector<std::string> names;

private:
    // The wanted number of clouds from the density and area; `where` names
    // the data the values came from, for the warnings.
    void Retarget(const std::string& where);
};

} // namespace Flurr
