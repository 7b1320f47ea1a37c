#include "menus/MenuPointer.h"

#include <cmath>
#include <cstdlib>

#include "engine/GameObject.h"
#include "engine/TimerSet.h"
#include "graphics/Camera.h"
#include "graphics/GraphicsSystem.h"

namespace Flurr {

Vec2 PointerToWorld(int32_t px, int32_t py, float camX, float camY) {
    int32_t width, height;
    GraphicsSystem::ScreenSize(width, height);
    const auto h = static_cast<float>(height);
    const float wx =
        camX + (static_cast<float>(px) - static_cast<float>(width) / 2.0f) / h * kViewHeight;
    const float wy = camY - (static_cast<float>(py) - h / 2.0f) / h * kViewHeight;
    return Vec2(wx, wy);
}

void WorldToPointer(float wx, float wy, float camX, float camY, int32_t& px, int32_t& py) {
    int32_t width, height;
    GraphicsSystem::ScreenSize(width, height);
    const auto h = static_cast<float>(height);
    px = static_cast<int32_t>(
        std::lround((wx - camX) / kViewHeight * h + static_cast<float>(width) / 2.0f));
    py = static_cast<int32_t>(std::lround(h / 2.0f - (wy - camY) / kViewHeight * h));
}

bool PointerOver(const GameObject& object, Vec2 world) {
    const int32_t halfWidth = object.width / 2;
    const int32_t halfHeight = object.height / 2;
    return std::fabs(world.x - object.x) <= static_cast<float>(halfWidth) &&
           std::fabs(world.y - object.y) <= static_cast<float>(halfHeight);
}

void StepHoverScale(GameObject& object, bool hovered, float maxScale, float step, float& scale,
                    int32_t& direction) {
    if (scale > maxScale) {
        scale = maxScale;
        direction = -1;
    }
    if (scale < 1.0f) {
        scale = 1.0f;
        direction = 1;
    }
    if (!hovered)
        direction = -1;
    scale += static_cast<float>(direction) * step;
    object.xScale = scale;
    object.yScale = scale;
}

bool StickRepeats(bool pushed, bool& held, TimerSet& timers, float holdDelay, float repeatDelay) {
    if (!pushed) {
        held = false;
        for (const char* name : {"DownHoldTimer", "RepeatTimer"}) {
            timers.Reset(name);
            timers.Stop(name);
        }
        return false;
    }
    if (!held) {
        held = true;
        timers.Start("DownHoldTimer");
        return true;
    }
    if (timers.GetTime("DownHoldTimer") <= holdDelay)
        return false;
    timers.Start("RepeatTimer");
    if (timers.GetTime("RepeatTimer") <= repeatDelay)
        return false;
    timers.Reset("RepeatTimer");
    return true;
}

} // namespace Flurr
