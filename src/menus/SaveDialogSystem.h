#pragma once
// The SaveDialogSystem runs the level editor's save dialog: a small screen
// of clickable elements (SaveDialogElement) floating in front of the world
// in its own space, "SaveDialog", read from one object list file.
//
// Driven by the core right after the factory: while the dialog is open it
// updates its elements (they keep to the camera and pulse under the
// mouse). Messages:
//   55 opens the dialog (loading its objects once per opening);
//   56, 57, 58 (an element was clicked: save, cancel, leave without
//   saving) and 59 (the editor is done with it) close it;
//   27 (mouse moved) is remembered and, with 28 (mouse clicked), handed to
//   the elements; 11 and 12 track the camera the dialog keeps to.
// 56 and 58 also reach the level editor, which acts on them.
//
// The dialog's objects are the factory's (recorded, left out of saved
// levels); the system only lists their elements. Closing happens at once
// in the game's terms -- the space goes inactive, every element leaves the
// list, sprites stop drawing -- while the objects' memory goes through the
// factory's deferred destruction: a close is usually asked for from inside
// an element's own click.
//
// Invariant: after CloseDialog() no element is listed and "SaveDialog" is
// inactive.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/GameSystem.h"
#include "engine/Vec2.h"
#include "world/SpaceLists.h"

namespace Flurr {

class SaveDialogElement;

struct SaveDialogSystemName {
    static constexpr const char* value = "SaveDialogSystem";
};

class SaveDialogSystem : public ISystem<SaveDialogSystem, SaveDialogSystemName> {
public:
    explicit SaveDialogSystem(std::string dialogFile);
    ~SaveDialogSystem() override;

    void Initialize() override;
    void SendMessage(Message* message) override;
    void Update(float dt) override;
    void Free() override;

    // Opens the dialog unless it is open; its objects are loaded when no
    // element is there yet.
    void OpenDialog();
    // Closes the dialog, with or without elements (an empty dialog too).
    void CloseDialog();
    bool IsOpen() const;

    void RegisterComponent(SaveDialogElement* element, const std::string& space);
    void UnregisterComponent(SaveDialogElement* element);
    std::vector<SaveDialogElement*> Elements() const { return elements.Items(); }

    // The world point under the mouse, through the renderer's camera.
    Vec2 MouseWorld() const;

    // The mouse relative to the back buffer's centre, pixels (y down).
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    // The camera as the last camera messages gave it.
    float cameraX = 0.0f;
    float cameraY = 0.0f;

private:
    std::string file;
    SpaceLists<SaveDialogElement> elements;
};

} // namespace Flurr
