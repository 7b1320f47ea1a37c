#pragma once
// The action map: which keys and pad buttons stand for each thing the
// player can do. Code that reacts to input asks the map about the key or
// button a message carries (`actions.IsKey(Action::Jump, key->key)`)
// instead of naming keys, so rebinding is editing the one table in
// InputActions.cpp, or calling Bind() at run time.
//
// The map only answers "is this key this action"; which edge counts (the
// press, the repeat while held, the release) stays with the code that
// reads it, as does the mouse (aim and buttons) and the analogue sticks
// and triggers. One key may serve several actions in different places
// (Space jumps in play and skips the logo).
//
// The game's map belongs to the Core (Core::Actions()); a map of its own
// serves a component tested without a core.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace Flurr {

enum class Action : uint8_t {
    MoveLeft,
    MoveRight,
    MoveUp,
    MoveDown,
    Jump,
    Run,
    Dash,
    Map,
    Objectives,
    Interact,
    Skip,
    Pause,
    // Moving through a menu and choosing in it; the stick moves too.
    MenuUp,
    MenuDown,
    MenuLeft,
    MenuRight,
    MenuSelect,
    MenuBack,
    // The profile overlay: frame and tick rates, then each system's time.
    ShowProfile,
    ShowProfileDetail,
    // The level editor: entering it (and, inside, asking to save and
    // leave), the physics outlines, playing the edited level, the free
    // camera, and the object tools. Copy, paste, undo and redo are these
    // keys with a Ctrl key held (EditorCtrl); redo is also undo with Shift.
    EditorToggle,
    EditorDebugDraw,
    EditorPlaytest,
    EditorPanLeft,
    EditorPanRight,
    EditorPanUp,
    EditorPanDown,
    EditorZoomIn,
    EditorZoomOut,
    EditorZoomReset,
    EditorDelete,
    EditorCopy,
    EditorPaste,
    EditorUndo,
    EditorRedo,
    EditorCtrl,
    EditorShift,
};
inline constexpr std::size_t kActionCount = static_cast<std::size_t>(Action::EditorShift) + 1;

class InputActions {
public:
    // Today's bindings, from the table.
    InputActions();

    bool IsKey(Action action, uint8_t key) const;
    bool IsPadButton(Action action, uint16_t button) const;

    // What an action is bound to now (for prompts and an options screen).
    const std::vector<uint8_t>& Keys(Action action) const;
    const std::vector<uint16_t>& PadButtons(Action action) const;

    // Replaces an action's keys and pad buttons.
    void Bind(Action action, std::initializer_list<uint8_t> keys,
              std::initializer_list<uint16_t> padButtons);

private:
    struct Binding {
        std::vector<uint8_t> keys;
        std::vector<uint16_t> padButtons;
    };
    const Binding& Of(Action action) const;

    std::array<Binding, kActionCount> bindings;
};

} // namespace Flurr
