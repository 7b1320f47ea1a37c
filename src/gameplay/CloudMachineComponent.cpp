#include "gameplay/CloudMachineComponent.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/GameObject.h"
#include "engine/Random.h"
#include "engine/Report.h"
#include "gameplay/CloudComponent.h"
#include "graphics/GraphicsComponent.h"
#include "serialization/Serializer.h"
#include "world/Factory.h"

namespace Flurr {

namespace {

// A side of the area as a modulus for the draws: whole units, and at
// least one, so a sliver of an area never divides by zero.
int32_t Span(float from, float to) {
    const float side = std::fabs(to - from);
    return side >= 1.0f ? static_cast<int32_t>(std::min(side, 1e9f)) : 1;
}

// A draw in [low, low + span).
float Across(float low, int32_t span) {
    return static_cast<float>(SceneryRandom() % span) + low;
}

} // namespace

void CloudMachineComponent::Initialize() {
    names = {"Cloud1", "Cloud2", "Cloud3",    "Cloud4",    "Cloud5",
             "Cloud6", "Cloud7", "BigCloud1", "BigCloud2", "BigCloud3"};
    Retarget(Name());
    LogicComponent::Initialize();
}

void CloudMachineComponent::Retarget(const std::string& where) {
    if (minX > maxX) {
        Warn(where +
             ": the cloud area's AreaLeft lies right of its AreaRight; the two are swapped");
        std::swap(minX, maxX);
    }
    if (minY > maxY) {
        Warn(where + ": the cloud area's AreaBottom lies above its AreaTop; the two are swapped");
        std::swap(minY, maxY);
    }
    const double wanted = static_cast<double>(maxX - minX) * static_cast<double>(maxY - minY) *
                          static_cast<double>(CloudDensity);
    if (!(wanted > 0.0)) {
        // An empty area or a density of nothing or less: a clear sky.
        target = 0;
        return;
    }
    if (wanted > kMaxClouds) {
        char text[160];
        std::snprintf(text, sizeof text,
                      ": CloudDensity %g asks for %.0f clouds in its area; kept to %d",
                      static_cast<double>(CloudDensity), wanted, kMaxClouds);
        Warn(where + text);
        target = kMaxClouds;
        return;
    }
    // Clouds are made while fewer than the wanted share are alive, so a
    // share of 20.4 means 21 clouds; a density written to six digits that
    // lands a hair above a whole number meant that number.
    target = static_cast<int32_t>(std::ceil(wanted - 1e-3));
}

void CloudMachineComponent::Update(float) {
    const bool fill = count == 0;
    while (count < target)
        if (!SpawnCloud(fill))
            return;
}

GameObject* CloudMachineComponent::SpawnCloud(bool fill) {
    if (!Factory::Instance() || names.empty())
        return nullptr;
    const int32_t wide = Span(minX, maxX);
    const int32_t high = Span(minY, maxY);

    // Where: anywhere when filling the sky or without a wind to enter
    // against; otherwise on the upwind edge, more often on the longer one.
    float x = 0.0f;
    float y = 0.0f;
    if (fill || windX + windY == 0.0f) {
        x = Across(minX, wide);
        y = Across(minY, high);
    } else {
        const float sides = static_cast<float>(wide) + static_cast<float>(high);
        const float share = (static_cast<float>(wide) / sides + windY / (windX + windY)) * 100.0f;
        if (static_cast<float>(SceneryRandom() % 100) <= share) {
            x = Across(minX, wide);
            y = windY > 0.0f ? minY : windY < 0.0f ? maxY : Across(minY, high);
        } else {
            y = Across(minY, high);
            x = windX > 0.0f ? minX : windX < 0.0f ? maxX : Across(minX, wide);
        }
    }

    // Its size (big: the depth shrinks it a good deal), look and depth. The
    // draw gives 3200 to 16800 units across; a quarter of that still spans
    // half the screen a hundred units back, while the whole of it would
    // hide the sky behind one cloud.
    const float size = static_cast<float>(SceneryRandom() % 800 + 400) * kSizeShare;
    const float width = static_cast<float>(SceneryRandom() % 7 + 8) * size;
    const float height = static_cast<float>(SceneryRandom() % 5 + 6) * size;
    const std::string& name = names[static_cast<std::size_t>(SceneryRandom()) % names.size()];
    const int32_t depth = Span(0.0f, depthRange);
    const float zPos = -static_cast<float>(SceneryRandom() % depth);
    const bool flip = SceneryRandom() % 2 == 0;
    const float zOrder = static_cast<float>(SceneryRandom() % 2) * 40.0f - 20.0f;

    GameObject* object = GraphicsComponent::MakeSpriteObject(x, y, width, height, name);
    if (!object)
        return nullptr;
    if (GraphicsComponent* sprite = object->Get<GraphicsComponent>()) {
        sprite->ZPos = zPos;
        sprite->Opacity = kOpacity;
        sprite->flipX = flip;
        sprite->ZOrder = zOrder;
    }
    auto* cloud = new CloudComponent();
    object->AddComponent(cloud);
    cloud->machine = owner ? owner->id : -1;
    cloud->velocity = Vec2(windX, windY);
    cloud->minX = minX;
    cloud->maxX = maxX;
    cloud->minY = minY;
    cloud->maxY = maxY;
    cloud->depthRange = depthRange;
    cloud->spare = spare;
    cloud->Initialize();
    ++count;
    return object;
}

void CloudMachineComponent::CloudLeft() {
    if (count > 0)
        --count;
}

void CloudMachineComponent::Serialize(ASerializer& s) {
    s.Begin("CloudMachineComponent");
    s.FiniteFloatField("CloudDensity", CloudDensity);
    const std::string where = s.Where();
    // The area keys are ours: a level that keeps the default area has
    // none, and saves exactly as it was read.
    const bool saving = s.IsSaving();
    if (!saving || minX != kDefaultMinX)
        s.FiniteFloatField("AreaLeft", minX);
    if (!saving || maxX != kDefaultMaxX)
        s.FiniteFloatField("AreaRight", maxX);
    if (!saving || minY != kDefaultMinY)
        s.FiniteFloatField("AreaBottom", minY);
    if (!saving || maxY != kDefaultMaxY)
        s.FiniteFloatField("AreaTop", maxY);
    s.End("CloudMachineComponent");
    if (!saving)
        Retarget(where);
}

} // namespace Flurr
