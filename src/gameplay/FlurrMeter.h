#pragma once
// The flight meter: a dial low in the right of the screen showing the
// player's jet-pack fuel. Its object's sprite holds two frames, the full
// dial and the empty one, and the clock-wipe shader sweeps from the one to
// the other as fuel is spent: frame position 0 is a full tank, 1 an empty
// one. Over it sits a ring ("FlurrMeter_frame") that turns while the
// player flies, faster the faster the flight. Both hide while the map
// view or the pause menu is up.
//
// Driven by the LogicSystem in "GameSpace" and "Pause" (so it hides as the
// menu opens). The ring is an object of the running game, made on first
// use and held by id: it is not saved with the level, it is made again
// when a level change took it, and it goes when the meter goes.

#include <cstdint>

#include "gameplay/LogicComponent.h"

namespace Flurr {

struct FlurrMeterName {
    static constexpr const char* value = "FlurrMeter";
};

class FlurrMeter : public LogicComponent<FlurrMeter, FlurrMeterName> {
public:
    static constexpr const char* kFrameAnimation = "FlurrMeter_frame";
    // The ring's size and how far above the dial it sits, world units.
    static constexpr float kFrameSize = 150.0f;
    static constexpr float kFrameRise = 10.0f;
    // Body speed (velocity units) per frame a second the ring turns by.
    static constexpr float kSpeedPerFrameRate = 25.0f;

    void Initialize() override;
    void Update(float dt) override;
    void Free() override;
    void Serialize(ASerializer& serializer) override;

    // Where the dial sits, in pixels of an 800 x 600 screen from its
    // centre (y up); other shapes scale with the height and keep the
    // dial's distance from the nearer side.
    float offsetX = 300.0f;
    float offsetY = -200.0f;
    // The ring, by id; -1 until first made.
    int32_t frame = -1;
};

} // namespace Flurr
