#pragma once
// SaveDialogElement: one clickable piece of the save dialog -- "Save",
// "Cancel", "CloseWOSaving", or anything else (the dialog's "Background").
// It stays where it was placed relative to the camera, grows and pulses
// between 1 and "Max" while the mouse is over it and shrinks back when the
// mouse leaves, and on a click over it sends the message of its command:
// 56 Save, 57 Cancel, 58 CloseWOSaving, 55 anything else.
//
// Driven by the SaveDialogSystem in "SaveDialog": Initialize() notes the
// owner's place and joins, Free() leaves (safe twice and after the system
// is gone). Its sprite is drawn flat, unaffected by the camera's zoom, so
// that what is seen is what the click test measures.
//
// Keys, inside "SaveDialogElement": "Command" (text), "Max" (number).

#include <cstdint>
#include <string>

#include "engine/DrivenComponent.h"
#include "menus/SaveDialogSystem.h"

namespace Flurr {

struct SaveDialogElementName {
    static constexpr const char* value = "SaveDialogElement";
};

class SaveDialogElement
    : public DrivenComponent<SaveDialogElement, SaveDialogElementName, SaveDialogSystem> {
public:
    // What `kind` holds, from the command.
    enum Kind : int32_t { Save = 0, Cancel = 1, CloseWOSaving = 2, Other = 3 };
    // Scale change per update (per frame at 60 a second).
    static constexpr float kScaleStep = 0.01f;

    ~SaveDialogElement() override;

    void Initialize() override;
    void Update(float dt) override;
    void SendMessage(Message* message) override;
    void Free() override;
    void Serialize(ASerializer& serializer) override;

    // The mouse is over the owner's unscaled box.
    bool HitTest() const;
    // The id a click on this element sends.
    int32_t ClickMessageId() const;

    std::string command;
    bool hovered = false;
    bool hoverTest = false;
    float scale = 1.0f;
    float maxScale = 1.3f;
    float scaleStep = kScaleStep;
    int32_t scaleDirection = 1;
    int32_t baseX = 0;
    int32_t baseY = 0;
    int32_t kind = Other;
};

} // namespace Flurr
