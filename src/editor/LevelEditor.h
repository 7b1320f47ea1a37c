#pragma once
// The LevelEditor lets a designer edit the running level in place: a free
// camera (arrow keys, '=' / '-' / '0' for zoom, the right button drags the
// view), picking objects with the left button (a second click within two
// seconds on the same spot picks the next object under it; with Ctrl held
// the selection stays), dragging them, Delete, copy and paste through the
// system clipboard (Ctrl+C, Ctrl+V), placing an archetype from
// "Resources/Objects/" with the middle button, undo and redo (Ctrl+Z,
// Ctrl+Y or Ctrl+Shift+Z), F2 for the physics outlines, F5 to play the
// edited level and come back, and 'P' for the selected object's collision
// outline editor (PhysicsEditor), which has the mouse and the key releases
// while it is open. F1 (or the pause menu's "EditLevel") enters;
// F1 inside opens the save dialog, whose "Save" (56) writes the level and
// reloads it and whose "CloseWOSaving" (58) reloads without writing.
//
// Driven by the core after the camera controller and before the pause
// menu. It works while the space "LevelEditor" is active; the world is
// frozen then, since "GameSpace" is not. Messages: keys, mouse, camera
// (11, 12), SetBackground (48, every one, so a save keeps the level's
// background), the save dialog's 56 and 58, ButtonInput (51, the pause
// menu's entry), ScreenSize (65, overrides the back buffer's size).
//
// Owns: the undo and redo stacks (level text, written and read by the
// factory's own serializers) and the clipboard text. Every reference to an
// object is its id. Anything that frees the level (a reload, an undo, the
// start and end of a playtest) waits for the editor's next update, never
// runs inside the click or key that asked for it.
//
// Invariants: a save that fails leaves the file as it was (and its .bak),
// says so in an "Error!" box and keeps the editor open with every edit;
// only level content is ever written (objects marked savedWithLevel).

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/GameSystem.h"
#include "engine/TimerSet.h"
#include "engine/Vec2.h"

namespace Flurr {

class GameObject;
class PhysicsEditor;

struct LevelEditorName {
    static constexpr const char* value = "LevelEditor";
};

class LevelEditor : public ISystem<LevelEditor, LevelEditorName> {
public:
    // Where archetypes are read from, and the text of a missing one.
    static constexpr const char* kArchetypeFolder = "Resources\\Objects\\";
    static constexpr const char* kMissingArchetypeText = "File does not exist";
    // The second click that picks the next object comes within this time.
    static constexpr float kCycleSeconds = 2.0f;
    static constexpr int32_t kMaxZoomSteps = 100;
    // Undo steps kept; older ones are let go.
    static constexpr std::size_t kUndoSteps = 200;
    // A clipboard text longer than this is nobody's object.
    static constexpr std::size_t kMaxClipboardBytes = 1 << 20;
    static constexpr int32_t kNone = -1;

    LevelEditor();
    ~LevelEditor() override;

    void Initialize() override;
    void SendMessage(Message* message) override;
    void Update(float dt) override;
    void Free() override;

    bool IsOpen() const;
    bool IsPlaytesting() const { return playtesting; }
    // Enters the editor over the running level.
    void Enter();

    // The seam for the panels: the selection, the archetype to place, and
    // one call for an edit about to change the level.
    int32_t Selected() const { return selected; }
    void Select(int32_t id) { selected = id; }
    GameObject* SelectedObject() const;
    bool CtrlHeld() const { return ctrlHeld; }
    bool ShiftHeld() const { return shiftHeld; }
    PhysicsEditor& OutlineEditor() { return *physicsEditor; }
    const std::string& Archetype() const { return archetypeName; }
    void SetArchetype(const std::string& name) { archetypeName = name; }
    // The archetype names in "Resources/Objects/", sorted.
    static std::vector<std::string> Archetypes();
    // Records the level as it is now as an undo step (and drops the redo
    // steps): call it just before changing the level.
    void PushUndo();
    // The same with the level text taken before a change that may fail.
    void PushUndo(std::string before);
    // Selects the object and centres the editor's view on it.
    void CentreOn(int32_t id);
    // The archetype an object was placed from with the middle button in
    // this run; empty for any other object.
    std::string PlacedArchetype(int32_t id) const;
    std::size_t UndoSteps() const { return undo.size(); }
    std::size_t RedoSteps() const { return redo.size(); }

    // World units per screen pixel in the depth-0 plane, at this zoom.
    float WorldPerPixel() const;
    // The world point under the mouse.
    Vec2 CursorWorld() const;
    int32_t ZoomSteps() const { return zoomSteps; }
    // The world units one pan key moves the camera.
    int32_t PanStep() const { return 10 * (zoomSteps / 10 + 1); }
    const std::string& Background() const { return backgroundName; }
    const std::string& ClipboardText() const { return clipboardText; }
    // The level file a save writes: the route's.
    std::string LevelFile() const;
    // Writes the level (with a .bak of the previous file); false, with an
    // "Error!" box, when it could not.
    bool SaveLevel();

    bool debugDraw = false;

private:
    enum class Pending { None, Reload, Restore };

    void KeyTriggered(uint8_t key);
    void KeyReleased(uint8_t key);
    void CameraKey(uint8_t key);
    void MouseMoved(int32_t x, int32_t y, bool held);
    void MouseClicked(uint8_t button);
    void MouseReleased(uint8_t button);
    void Copy();
    void Paste();
    void PlaceArchetype();
    void DeleteSelected();
    // A pasted or placed object: under the cursor, its body too, selected.
    void PutAtCursor(GameObject& object);
    void Undo();
    void Redo();
    void StartPlaytest();
    void EndPlaytest();
    // Leaves the editor; the level is reloaded from its file in the next
    // update. `save` writes it first (and stays on failure).
    void Leave(bool save);
    void RunPending();
    bool UnderCursor(const GameObject& object, Vec2 at) const;
    std::string Snapshot();
    void RestoreLater(std::string text);
    void Screen(int32_t& width, int32_t& height) const;
    void DrawOverlay();

    int32_t selected = kNone;
    std::unique_ptr<PhysicsEditor> physicsEditor;
    // Where the outline editor's object stands in the level while an undo
    // or redo replaces it, to open there again; -1 when it was closed.
    int32_t outlinePlace = -1;
    bool rightDragging = false;
    bool ctrlHeld = false;
    bool shiftHeld = false;
    int32_t mouseX = 0, mouseY = 0;
    int32_t previousMouseX = 0, previousMouseY = 0;
    float cameraX = 0.0f, cameraY = 0.0f, cameraZoom = 0.0f;
    // From ScreenSize (65) once one arrives; the back buffer's size until then.
    bool screenFromMessage = false;
    int32_t screenWidth = 0, screenHeight = 0;
    int32_t zoomSteps = 0;
    TimerSet timers;
    std::string backgroundName;
    std::string archetypeName;
    std::string clipboardText;
    // The drag under way has put its undo step.
    bool dragRecorded = false;
    // Entered from the pause menu: leaving shows it again.
    bool fromPause = false;
    bool playtesting = false;
    std::string playtestLevel;
    // The editor's view when the playtest began, given back after it.
    float editCameraX = 0.0f, editCameraY = 0.0f, editCameraZoom = 0.0f;
    std::deque<std::string> undo;
    std::vector<std::string> redo;
    Pending pending = Pending::None;
    std::string pendingText;
    bool openAfterPending = false;
    // Object id -> the archetype it was placed from.
    std::map<int32_t, std::string> placedFrom;
};

} // namespace Flurr
