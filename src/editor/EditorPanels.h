#pragma once
// EditorPanels: the level editor's Dear ImGui panels, over the editor's
// view while it is open. "Level" lists the archetypes the middle button
// places and every object by id and name (a click selects it and centres
// the view on it); "Object" shows the selection's "Selected" line, adds a
// component of any registered class, and inspects the transform and every
// field of every component through the inspector's WidgetSerializer.
//
// Driven three ways: the renderer's editor hook draws the panels after the
// frame's post-processing and debug texts, before the screenshot and the
// swap, only while the editor is open; the window's event hook gives
// every SDL event to ImGui while the editor is open and takes from the
// game what ImGui wants (a click, the wheel or typing in a panel), so a
// click in a panel never picks the object behind it; its own Update, right
// after the editor's, carries out what the panels asked for in the frame
// drawn (an edit, a component, a selection) -- the level only changes
// between updates, never in the middle of drawing. Takes no messages.
//
// Owns the ImGui context, made the first time the editor is drawn, so a
// run that never opens the editor pays nothing for it. The SDL, OpenGL and
// ImGui calls are all in EditorPanels.cpp; the inspector's logic is in
// WidgetSerializer.h, testable without a window.
//
// Invariants: each edit is one undo step -- a number dragged over many
// frames, or a text typed, pushes one step when it starts; an edit of an
// object that is gone meanwhile (an undo, a reload) is dropped.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/WidgetSerializer.h"
#include "engine/GameSystem.h"

struct ImGuiContext;
union SDL_Event;

namespace Flurr {

struct EditorPanelsName {
    static constexpr const char* value = "EditorPanels";
};

class EditorPanels : public ISystem<EditorPanels, EditorPanelsName> {
public:
    EditorPanels();
    ~EditorPanels() override;

    void Initialize() override;
    void Update(float dt) override;
    void Free() override;

    // The window's event hook: true when the event is the panels' alone.
    bool TakeEvent(const SDL_Event& event);
    // The renderer's editor hook.
    void Draw();

private:
    bool Start();
    void Stop();
    void DrawLevel();
    void DrawObject();
    void Inspect();
    // Whether a press at that pixel is the panels', as of the last frame.
    bool OverPanel(float x, float y) const;

    ImGuiContext* context = nullptr;
    bool started = false;
    bool failed = false;
    // The pointer as the events report it (ImGui is fed from the events,
    // not from SDL's global state, so pushed events and any video driver
    // work alike).
    float mouseX = -1.0f, mouseY = -1.0f;
    std::array<bool, 3> held{};
    std::array<bool, 3> pressed{};
    std::array<bool, 3> released{};
    // Whether a button's press went to the panels: its release goes there
    // too.
    std::array<bool, 3> taken{};
    // Left, top, right, bottom of every panel and popup drawn last.
    std::vector<std::array<float, 4>> panelRects;
    bool popupOpen = false;
    std::vector<std::string> archetypes;
    // The widget being held has already made its undo step.
    bool editStepTaken = false;

    // Asked for while drawing; carried out in Update.
    struct PendingEdit {
        int32_t object = -1;
        FieldEdit edit;
        bool newStep = false;
    };
    std::optional<PendingEdit> pendingEdit;
    int32_t pendingCentre = -1;
    int32_t addTo = -1;
    std::string addComponent;
};

} // namespace Flurr
