#pragma once
// The game's own mouse pointer (the system's is hidden outside the
// editor): its object is placed at the world point under the mouse every
// frame, drawn flat on top of the scene. It stays fully visible for 150
// frames after the mouse last moved, then fades out over 200 frames; any
// movement brings it back at once. A pad button hides it at once, since
// the pad player has no use for it, until the mouse moves again.
//
// With "Rotate" set the pointer turns towards the screen centre as the
// mouse moves (never while the pause menu is up).
//
// Driven by the LogicSystem in "GameSpace" and "Pause", so it still
// follows the mouse over the pause menu; it hears the mouse moves and pad
// buttons the system forwards.

#include <cstdint>

#include "gameplay/LogicComponent.h"

namespace Flurr {

struct MouseCursorName {
    static constexpr const char* value = "MouseCursor";
};

class MouseCursor : public LogicComponent<MouseCursor, MouseCursorName> {
public:
    // Frames (at 60 a second) the pointer stays after the mouse rests, and
    // the opacity it loses per frame afterwards (200 frames to nothing).
    static constexpr int32_t kRestFrames = 150;
    static constexpr float kFadePerFrame = 0.005f;
    // Drawn in front of the meter and everything else of the scene.
    static constexpr float kDepth = 3.0f;

    void Initialize() override;
    void Update(float dt) override;
    void SendMessage(Message* message) override;
    void Serialize(ASerializer& serializer) override;

    int32_t Rotate = 0;
    // Where the mouse is, window pixels from the top left.
    float mouseX = 0.0f;
    float mouseY = 0.0f;
    int32_t idleFrames = 0;
    float alpha = 1.0f;
};

} // namespace Flurr
