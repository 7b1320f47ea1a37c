#pragma once
// Button: one button of a menu level (the title menu's "Play", "Options"
// and "Quit"). While the pointer is over its object it pulses, a click
// sound playing as the pointer enters; a click on it fires `command` as a
// ButtonInputMessage. `elementId` is its place in the stick's order.
//
// Driven by the ButtonSystem while "GameSpace" is active; it joins the
// system when initialised and leaves when freed.

#include <cstdint>
#include <string>

#include "engine/DrivenComponent.h"
#include "menus/ButtonSystem.h"

namespace Flurr {

struct ButtonName {
    static constexpr const char* value = "Button";
};

class Button : public DrivenComponent<Button, ButtonName, ButtonSystem> {
public:
    // A button the stick never selects.
    static constexpr uint32_t kNoId = 0xFFFFFFFFu;

    void Initialize() override;
    void Update(float dt) override;
    void SendMessage(Message* message) override;
    void Free() override { Leave(); }
    void Serialize(ASerializer& serializer) override;

    std::string command;
    uint32_t elementId = kNoId;
    bool wasHovered = false;
    bool hovered = false;
    float scale = 1.0f;
    float maxScale = 1.5f;
    float scaleStep = 0.01f;
    int32_t scaleDirection = 1;
};

} // namespace Flurr
