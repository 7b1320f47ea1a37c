#include "engine/InputActions.h"

#include <algorithm>
#include <cassert>
#include <cstdio>

#include "engine/InputCodes.h"

namespace Flurr {

namespace {

std::size_t Index(Action action) {
    const auto index = static_cast<std::size_t>(action);
    assert(index < kActionCount && "an action of the Action list");
    return index;
}

bool Rebindable(Action action) {
    for (Action a : kRebindableActions)
        if (a == action)
            return true;
    return false;
}

} // namespace

std::string RebindableName(Action action) {
    switch (action) {
    case Action::MoveLeft:
        return "MoveLeft";
    case Action::MoveRight:
        return "MoveRight";
    case Action::Jump:
        return "Jump";
    case Action::Run:
        return "Run";
    case Action::Map:
        return "Map";
    case Action::Objectives:
        return "Objectives";
    default:
        return {};
    }
}

std::string KeyName(uint8_t key) {
    if ((key >= KeyCode::A && key <= KeyCode::Z) || (key >= KeyCode::Digit0 && key <= 0x39))
        return std::string(1, static_cast<char>(key));
    if (key >= KeyCode::Numpad0 && key <= 0x69)
        return "Numpad " + std::string(1, static_cast<char>('0' + (key - KeyCode::Numpad0)));
    if (key >= KeyCode::F1 && key <= KeyCode::F12) {
        char text[8];
        std::snprintf(text, sizeof text, "F%d", key - KeyCode::F1 + 1);
        return text;
    }
    switch (key) {
    case KeyCode::Back:
        return "Backspace";
    case KeyCode::Tab:
        return "Tab";
    case KeyCode::Return:
        return "Enter";
    case KeyCode::Shift:
        return "Shift";
    case KeyCode::Control:
        return "Ctrl";
    case KeyCode::Menu:
        return "Alt";
    case KeyCode::Pause:
        return "Pause";
    case KeyCode::Capital:
        return "Caps Lock";
    case KeyCode::Escape:
        return "Escape";
    case KeyCode::Space:
        return "Space";
    case KeyCode::Prior:
        return "Page Up";
    case KeyCode::Next:
        return "Page Down";
    case KeyCode::End:
        return "End";
    case KeyCode::Home:
        return "Home";
    case KeyCode::Left:
        return "Left";
    case KeyCode::Up:
        return "Up";
    case KeyCode::Right:
        return "Right";
    case KeyCode::Down:
        return "Down";
    case KeyCode::Insert:
        return "Insert";
    case KeyCode::Delete:
        return "Delete";
    case KeyCode::Multiply:
        return "Numpad *";
    case KeyCode::Add:
        return "Numpad +";
    case KeyCode::Subtract:
        return "Numpad -";
    case KeyCode::Decimal:
        return "Numpad .";
    case KeyCode::Divide:
        return "Numpad /";
    case KeyCode::LShift:
        return "Left Shift";
    case KeyCode::RShift:
        return "Right Shift";
    case KeyCode::LControl:
        return "Left Ctrl";
    case KeyCode::RControl:
        return "Right Ctrl";
    case KeyCode::LMenu:
        return "Left Alt";
    case KeyCode::RMenu:
        return "Right Alt";
    case KeyCode::Oem1:
        return ";";
    case KeyCode::OemPlus:
        return "=";
    case KeyCode::OemComma:
        return ",";
    case KeyCode::OemMinus:
        return "-";
    case KeyCode::OemPeriod:
        return ".";
    case KeyCode::Oem2:
        return "/";
    case KeyCode::Oem3:
        return "`";
    case KeyCode::Oem4:
        return "[";
    case KeyCode::Oem5:
        return "\\";
    case KeyCode::Oem6:
        return "]";
    case KeyCode::Oem7:
        return "'";
    default:
        return {};
    }
}

bool KeyFreeForRebinding(uint8_t key) {
    if (KeyName(key).empty())
        return false;
    // Escape leaves the menu (and cancels a rebinding), Enter, Backspace
    // and the arrows work the menus, E talks to people, and the function
    // keys take screenshots and show the profile.
    switch (key) {
    case KeyCode::Escape:
    case KeyCode::Return:
    case KeyCode::Back:
    case KeyCode::Left:
    case KeyCode::Right:
    case KeyCode::Up:
    case KeyCode::Down:
    case KeyCode::E:
        return false;
    default:
        return !(key >= KeyCode::F1 && key <= KeyCode::F12);
    }
}

InputActions::InputActions() {
    // The table: each action, its keys, its pad buttons. Keyboard and pad
    // are live together; the mouse aims, and its buttons thrust and dash,
    // outside this table.
    Bind(Action::MoveLeft, {KeyCode::A}, {});
    Bind(Action::MoveRight, {KeyCode::D}, {});
    // Nothing steers up or down by key or button in play: the stick does.
    Bind(Action::MoveUp, {}, {});
    Bind(Action::MoveDown, {}, {});
    // On the pad the jump button is also the jet pack's.
    Bind(Action::Jump, {KeyCode::Space, KeyCode::W}, {PadButton::A});
    Bind(Action::Run, {KeyCode::Shift}, {});
    // The left trigger dashes too (analogue, outside this table).
    Bind(Action::Dash, {}, {PadButton::LeftShoulder});
    Bind(Action::Map, {KeyCode::Tab}, {PadButton::Y});
    // Not Shift: Shift runs.
    Bind(Action::Objectives, {KeyCode::Q}, {PadButton::B});
    Bind(Action::Interact, {KeyCode::E}, {PadButton::X});
    // Skips the logo screens; a mouse click does too.
    Bind(Action::Skip, {KeyCode::Space, KeyCode::Escape, KeyCode::Return},
         {PadButton::A, PadButton::Start});
    Bind(Action::Continue, {KeyCode::Space, KeyCode::Return}, {PadButton::A});
    Bind(Action::Pause, {KeyCode::Escape}, {PadButton::Start});
    // The arrows as players expect, and O and L, the menus' keys from the
    // start; nothing in play uses them.
    Bind(Action::MenuUp, {KeyCode::Up, KeyCode::O}, {PadButton::DPadUp});
    Bind(Action::MenuDown, {KeyCode::Down, KeyCode::L}, {PadButton::DPadDown});
    Bind(Action::MenuLeft, {KeyCode::Left}, {PadButton::DPadLeft});
    Bind(Action::MenuRight, {KeyCode::Right}, {PadButton::DPadRight});
    // Fires the selected entry, as a click on it would.
    Bind(Action::MenuSelect, {KeyCode::Return}, {PadButton::A});
    // One screen back (Escape closes the whole menu).
    Bind(Action::MenuBack, {KeyCode::Back}, {PadButton::B});
    Bind(Action::ShowProfile, {KeyCode::F3}, {});
    Bind(Action::ShowProfileDetail, {KeyCode::F4}, {});
    // The level editor. F2 is also the physics outlines in play.
    Bind(Action::EditorToggle, {KeyCode::F1}, {});
    Bind(Action::EditorDebugDraw, {KeyCode::F2}, {});
    Bind(Action::EditorPlaytest, {KeyCode::F5}, {});
    Bind(Action::EditorPanLeft, {KeyCode::Left}, {});
    Bind(Action::EditorPanRight, {KeyCode::Right}, {});
    Bind(Action::EditorPanUp, {KeyCode::Up}, {});
    Bind(Action::EditorPanDown, {KeyCode::Down}, {});
    Bind(Action::EditorZoomIn, {KeyCode::OemPlus, KeyCode::Add}, {});
    Bind(Action::EditorZoomOut, {KeyCode::OemMinus, KeyCode::Subtract}, {});
    Bind(Action::EditorZoomReset, {KeyCode::Digit0}, {});
    Bind(Action::EditorDelete, {KeyCode::Delete}, {});
    Bind(Action::EditorCopy, {KeyCode::C}, {});
    Bind(Action::EditorPaste, {KeyCode::V}, {});
    Bind(Action::EditorUndo, {KeyCode::Z}, {});
    Bind(Action::EditorRedo, {KeyCode::Y}, {});
    Bind(Action::EditorCtrl, {KeyCode::Control, KeyCode::LControl, KeyCode::RControl}, {});
    Bind(Action::EditorShift, {KeyCode::Shift, KeyCode::LShift, KeyCode::RShift}, {});
    Bind(Action::EditorOutline, {KeyCode::P}, {});
    Bind(Action::EditorOutlineVertex, {KeyCode::Space}, {});
    Bind(Action::EditorOutlineFloor, {KeyCode::B}, {});
    Bind(Action::EditorOutlineNew, {KeyCode::N}, {});
}

const InputActions::Binding& InputActions::Of(Action action) const {
    return bindings[Index(action)];
}

bool InputActions::IsKey(Action action, uint8_t key) const {
    const std::vector<uint8_t>& keys = Of(action).keys;
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

bool InputActions::IsPadButton(Action action, uint16_t button) const {
    const std::vector<uint16_t>& buttons = Of(action).padButtons;
    return std::find(buttons.begin(), buttons.end(), button) != buttons.end();
}

const std::vector<uint8_t>& InputActions::Keys(Action action) const {
    return Of(action).keys;
}

const std::vector<uint16_t>& InputActions::PadButtons(Action action) const {
    return Of(action).padButtons;
}

void InputActions::Bind(Action action, std::initializer_list<uint8_t> keys,
                        std::initializer_list<uint16_t> padButtons) {
    Binding& binding = bindings[Index(action)];
    binding.keys.assign(keys);
    binding.padButtons.assign(padButtons);
}

void InputActions::SetKeys(Action action, const std::vector<uint8_t>& keys) {
    bindings[Index(action)].keys = keys;
}

bool InputActions::Rebind(Action action, uint8_t key) {
    if (!Rebindable(action) || !KeyFreeForRebinding(key))
        return false;
    std::vector<uint8_t>& mine = bindings[Index(action)].keys;
    for (Action other : kRebindableActions) {
        if (other == action)
            continue;
        std::vector<uint8_t>& theirs = bindings[Index(other)].keys;
        if (std::find(theirs.begin(), theirs.end(), key) == theirs.end())
            continue;
        std::erase(theirs, key);
        for (uint8_t old : mine)
            if (std::find(theirs.begin(), theirs.end(), old) == theirs.end())
                theirs.push_back(old);
    }
    mine.assign(1, key);
    return true;
}

} // namespace Flurr
