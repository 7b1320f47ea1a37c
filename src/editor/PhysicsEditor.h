#pragma once
// The PhysicsEditor is the level editor's mode for drawing one object's
// collision outlines: the convex vertex sets of its PhysicsComponent and
// the floor flag of each edge. 'P' in the level editor opens it on the
// selected object (giving an object without physics a component with one
// rectangle of the object's size) and closes it again. While it is open a
// click picks a vertex (Ctrl adds one or drops a picked one), Shift drags
// a box, dragging moves the picked vertices, Delete removes them (an
// outline left with one vertex or none goes), Space adds a vertex at the
// cursor to the current outline (the one last picked from), B toggles the
// floor flag of the edges that end at the picked vertices, and N starts a
// new square outline at the cursor.
//
// Driven by the LevelEditor, which owns it: it hands over the mouse and
// key releases while this is open, and calls Draw() every frame. The
// space "PhysicsEditor" is active exactly while it is open.
//
// Owns working copies of the outlines with y pointing down, as on the
// screen. Each edit is one undo step of the level editor and is written
// back at once (y up again), so undo, saves and playtests see it. The
// object's body is not rebuilt: a new outline takes effect when the level
// is next loaded. A component made here builds no body until then.
//
// Invariants: the object is kept by id; the selection holds (set, vertex)
// indices of the working sets, without duplicates; the current set is an
// index of a working set or none; every working floor list is exactly as
// long as its set.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/Vec2.h"

namespace Flurr {

class GameObject;
class LevelEditor;
class PhysicsComponent;

class PhysicsEditor {
public:
    // Half the side of the square a vertex is picked in, and the sides of
    // its handle and of a picked vertex's mark: screen pixels, so picking
    // feels the same at every zoom.
    static constexpr float kPickPixels = 10.0f;
    static constexpr float kHandlePixels = 10.0f;
    static constexpr float kPickedPixels = 20.0f;
    // Half the side of the square outline N starts, in world units.
    static constexpr float kNewOutlineHalf = 30.0f;
    static constexpr std::size_t kNoSet = static_cast<std::size_t>(-1);

    struct Vertex {
        std::size_t set = 0;
        std::size_t index = 0;
        bool operator==(const Vertex&) const = default;
    };

    explicit PhysicsEditor(LevelEditor& levelEditor);

    bool IsOpen() const;
    // Opens on the level editor's selected object; nothing without one.
    void Open();
    // Writes the outlines back and closes; safe when the object is gone.
    void Close();
    // Closes before the level is replaced (an undo or redo) and returns
    // where its object stands among the level's objects, or -1 when it was
    // not open; ReopenAt() opens again on the object in that place.
    int32_t CloseForRestore();
    void ReopenAt(int32_t place);

    // Mouse motion in screen pixels, a press and a release of a button
    // other than the right one, and key releases.
    void MouseMoved(int32_t dx, int32_t dy);
    void MouseClicked();
    void MouseReleased();
    void KeyReleased(uint8_t key);
    void Draw() const;

    int32_t Object() const { return object; }
    const std::vector<std::vector<Vec2>>& WorkingSets() const { return workingSets; }
    const std::vector<std::vector<bool>>& WorkingFloorSets() const { return workingFloorSets; }
    const std::vector<Vertex>& Selection() const { return selection; }
    std::size_t CurrentSet() const { return currentSet; }

private:
    GameObject* Edited() const;
    PhysicsComponent* Component() const;
    // The cursor with y pointing down, and a vertex's place likewise.
    Vec2 Cursor() const;
    Vec2 Place(const GameObject& target, Vec2 point) const;
    bool Hit(const GameObject& target, const Vertex& vertex, Vec2 cursor) const;
    // Records the undo step before an edit, and writes the edit back.
    bool BeginEdit();
    void WriteBack();
    void DeleteSelected();
    void AddVertex();
    void ToggleFloor();
    void NewOutline();

    LevelEditor& levelEditor;
    int32_t object = -1;
    std::vector<Vertex> selection;
    // New vertices go to this set (and a false flag to its floor list).
    std::size_t currentSet = kNoSet;
    std::vector<std::vector<Vec2>> workingSets;
    std::vector<std::vector<bool>> workingFloorSets;
    Vec2 boxStart, boxEnd;
    bool boxSelecting = false;
    bool draggingVertices = false;
    // The drag under way has put its undo step.
    bool dragRecorded = false;
};

} // namespace Flurr
