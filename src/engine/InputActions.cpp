#include "engine/InputActions.h"

#include <algorithm>
#include <cassert>

#include "engine/InputCodes.h"

namespace Flurr {

namespace {

std::size_t Index(Action action) {
    const auto index = static_cast<std::size_t>(action);
    assert(index < kActionCount && "an action of the Action list");
    return index;
}

} // namespace

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

} // namespace Flurr
