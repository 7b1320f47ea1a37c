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
#include <string>
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
    // Going on from a screen that waits for the player: the end screen,
    // the credits. Not Escape, which opens the pause menu there.
    Continue,
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
    // The collision outline editor inside the level editor: opening and
    // closing it, a vertex at the cursor, the floor flag, a new outline.
    // Delete there is EditorDelete.
    EditorOutline,
    EditorOutlineVertex,
    EditorOutlineFloor,
    EditorOutlineNew,
};
inline constexpr std::size_t kActionCount = static_cast<std::size_t>(Action::EditorOutlineNew) + 1;

// The actions a player may put on keys of their own (the controls screen),
// in the order that screen lists them. The pad keeps its layout.
inline constexpr Action kRebindableActions[] = {Action::MoveLeft, Action::MoveRight,
                                                Action::Jump,     Action::Run,
                                                Action::Map,      Action::Objectives};

// The name a rebindable action goes by in the settings file ("MoveLeft"),
// or empty for the others.
std::string RebindableName(Action action);

// How a key is shown to the player ("A", "Space", "Left Shift"), or empty
// for a code that stands for no key the game knows.
std::string KeyName(uint8_t key);

// Whether a key may be given to a rebindable action: a key the game knows,
// and not one the menus and the fixed actions need (Escape, Enter, the
// arrows, Backspace, E, the function keys).
bool KeyFreeForRebinding(uint8_t key);

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
    // Replaces an action's keys only; its pad buttons stay.
    void SetKeys(Action action, const std::vector<uint8_t>& keys);
    // Puts `key` alone on a rebindable action. A rebindable action that
    // had the key loses it and takes over the keys `action` had (a swap),
    // so no key ever does two of these things and none is left without
    // its old keys. Returns false, changing nothing, for a key that is not
    // free for rebinding or an action that is not rebindable.
    bool Rebind(Action action, uint8_t key);

private:
    struct Binding {
        std::vector<uint8_t> keys;
        std::vector<uint16_t> padButtons;
    };
    const Binding& Of(Action action) const;

    std::array<Binding, kActionCount> bindings;
};

} // namespace Flurr
