#pragma once
// What the pause menu's elements and the title menu's buttons share: where
// on the world the pointer is, whether it is over an element's object, the
// hover pulse, and the stick's hold and repeat.
//
// The view is 600 world units tall, centred on the camera: a pointer at
// pixel (px, py) of a W x H back buffer is at world
// (camX + (px - W/2) / H * 600, camY - (py - H/2) / H * 600), and warping
// the pointer onto an element is the same mapping backwards.

#include <cstdint>

#include "engine/Vec2.h"

namespace Flurr {

class GameObject;
class TimerSet;

// The world point under pixel (px, py) in a view centred on (camX, camY).
Vec2 PointerToWorld(int32_t px, int32_t py, float camX, float camY);
// The pixel the world point (wx, wy) shows at, rounded to the nearest.
void WorldToPointer(float wx, float wy, float camX, float camY, int32_t& px, int32_t& py);
// The point lies in the object's box; the half sizes are whole units, as
// the menus' art was laid out by.
bool PointerOver(const GameObject& object, Vec2 world);

// One step of the hover pulse, applied to the object's scale. A hovered
// element grows by `step` a frame to just past `maxScale`, shrinks to just
// under 1 and grows again; one the pointer is not over shrinks and then
// stays at 1 - step (0.99), the size a resting menu shows.
void StepHoverScale(GameObject& object, bool hovered, float maxScale, float step, float& scale,
                    int32_t& direction);

// The stick's hold and repeat, on the timers "DownHoldTimer" and
// "RepeatTimer": true (step now) when the stick leaves the centre, then
// once it has been held `holdDelay` seconds, every `repeatDelay` seconds;
// back at the centre it stops at once.
bool StickRepeats(bool pushed, bool& held, TimerSet& timers, float holdDelay, float repeatDelay);

} // namespace Flurr
