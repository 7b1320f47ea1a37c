#pragma once
// PauseElement: one entry of a pause-menu screen (a button such as
// "Resume", or a picture that only shows). Its object stays at the same
// place on the screen whatever the camera does: every frame it is moved to
// where it was loaded (`baseX`, `baseY`, whole units) plus the camera.
//
// While the pointer is over its object it pulses (and a click sound plays
// as the pointer enters); a left click on it fires `command` as a
// ButtonInputMessage. Its four navigation commands say where the stick or
// the arrow keys go from it: "NOP", "NextElement:<id>" or
// "FireCommand:<command>".
//
// Driven by the PauseSystem, which updates and tells the elements of the
// top screen only; the element joins it for "Pause" when initialised.

#include <cstdint>
#include <string>

#include "engine/DrivenComponent.h"
#include "menus/PauseSystem.h"

namespace Flurr {

struct PauseElementName {
    static constexpr const char* value = "PauseElement";
};

class PauseElement : public DrivenComponent<PauseElement, PauseElementName, PauseSystem> {
public:
    // The id of an element that no navigation can select.
    static constexpr uint32_t kNoId = 0xFFFFFFFFu;

    void Initialize() override;
    void Update(float dt) override;
    void SendMessage(Message* message) override;
    void Free() override { Leave(); }
    void Serialize(ASerializer& serializer) override;

    // The navigation command for a push of the stick: up or down when it
    // leans more that way than sideways, else right or left.
    const std::string& NavigationFor(float x, float y) const;
    // Moves the object to its place on the screen for a camera at (camX, camY).
    void Place(float camX, float camY);

    std::string command;
    bool wasHovered = false;
    bool hovered = false;
    float scale = 1.0f;
    float maxScale = 1.2f;
    float scaleStep = 0.01f;
    int32_t scaleDirection = 1;
    int32_t baseX = 0;
    int32_t baseY = 0;
    uint32_t elementId = kNoId;
    std::string leftCommand = "NOP";
    std::string rightCommand = "NOP";
    std::string downCommand = "NOP";
    std::string upCommand = "NOP";
};

} // namespace Flurr
