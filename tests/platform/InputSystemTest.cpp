// The input system driven by real SDL events through the real window
// system: what the game hears, frame by frame.

#include "platform/PlatformTestSupport.h"
#include "platform/WindowMessages.h"

#include <cmath>

namespace Flurr {
namespace {

using namespace PlatformTest;

TEST(InputSystem, KeyEdgesFollowTheFramesAndTextBecomesCharacters) {
    Game game;
    Focus(game);
    PushKey(SDL_SCANCODE_A, true);
    EXPECT_EQ(game.Frame(), Lines{"KeyTriggered 65"});
    // Auto-repeat is not a new press.
    PushKey(SDL_SCANCODE_A, true, true);
    EXPECT_EQ(game.Frame(), Lines{"KeyPressed 65"});
    EXPECT_EQ(game.Frame(), Lines{"KeyPressed 65"});
    PushKey(SDL_SCANCODE_A, false);
    EXPECT_EQ(game.Frame(), Lines{"KeyReleased 65"});
    EXPECT_EQ(game.Frame(), Lines{});

    // Either Shift also holds VK_SHIFT, as Windows reports it; it stays
    // held until both are up.
    PushKey(SDL_SCANCODE_LSHIFT, true);
    EXPECT_EQ(game.Frame(), (Lines{"KeyTriggered 16", "KeyTriggered 160"}));
    PushKey(SDL_SCANCODE_RSHIFT, true);
    PushKey(SDL_SCANCODE_LSHIFT, false);
    EXPECT_EQ(game.Frame(), (Lines{"KeyPressed 16", "KeyReleased 160", "KeyTriggered 161"}));
    PushKey(SDL_SCANCODE_RSHIFT, false);
    EXPECT_EQ(game.Frame(), (Lines{"KeyReleased 16", "KeyReleased 161"}));

    // Enter and keypad Enter are one key to the game: down while either is.
    PushKey(SDL_SCANCODE_RETURN, true);
    PushKey(SDL_SCANCODE_KP_ENTER, true);
    EXPECT_EQ(game.Frame(), (Lines{"Char 13", "Char 13", "KeyTriggered 13"}));
    PushKey(SDL_SCANCODE_RETURN, false);
    EXPECT_EQ(game.Frame(), Lines{"KeyPressed 13"});
    PushKey(SDL_SCANCODE_KP_ENTER, false);
    EXPECT_EQ(game.Frame(), Lines{"KeyReleased 13"});

    // Keys the game does not know produce nothing at all.
    PushKey(SDL_SCANCODE_AUDIOPLAY, true);
    EXPECT_EQ(game.Frame(), Lines{});

    // Latin-1 text gets through as one byte; what a byte cannot hold does
    // not. The control keys a text field needs arrive as characters too.
    PushText("a\xC3\xA9\xE2\x82\xAC!");
    EXPECT_EQ(game.Frame(), (Lines{"Char 97", "Char 233", "Char 33"}));
    PushKey(SDL_SCANCODE_BACKSPACE, true);
    EXPECT_EQ(game.Frame(), (Lines{"Char 8", "KeyTriggered 8"}));
}

TEST(InputSystem, NothingIsPolledWithoutFocus) {
    Game game;
    // No focus yet: a press and release in the background never happened.
    PushKey(SDL_SCANCODE_SPACE, true);
    EXPECT_EQ(game.Frame(), Lines{});
    PushKey(SDL_SCANCODE_SPACE, false);
    EXPECT_EQ(game.Frame(), Lines{});
    Focus(game);
    EXPECT_EQ(game.Frame(), Lines{});

    // A key held when focus goes keeps its state; it is released when
    // focus comes back and the key is found up.
    PushKey(SDL_SCANCODE_LEFT, true);
    EXPECT_EQ(game.Frame(), Lines{"KeyTriggered 37"});
    Focus(game, false);
    PushKey(SDL_SCANCODE_LEFT, false);
    EXPECT_EQ(game.Frame(), Lines{});
    EXPECT_EQ(game.Frame(), Lines{});
    Focus(game);
    EXPECT_EQ(game.Frame(), Lines{"KeyReleased 37"});
}

TEST(InputSystem, MouseIsPolledOutsideTheEditorAndFollowsWindowMessagesInIt) {
    Game game;
    Focus(game);
    PushMotion(100, 50);
    EXPECT_EQ(game.Frame(), Lines{"MouseMoved 100 50 0"});
    PushButton(SDL_BUTTON_LEFT, true, 100, 50);
    EXPECT_EQ(game.Frame(), Lines{"MouseClicked 100 50 1"});
    PushMotion(120, 60);
    // The move arrives with the window messages, before the poll.
    EXPECT_EQ(game.Frame(), (Lines{"MouseMoved 120 60 1", "MousePressed 120 60 1"}));
    PushButton(SDL_BUTTON_LEFT, false, 120, 60);
    EXPECT_EQ(game.Frame(), Lines{"MouseReleased 120 60 1"});

    PushButton(SDL_BUTTON_RIGHT, true, 120, 60);
    PushButton(SDL_BUTTON_MIDDLE, true, 120, 60);
    EXPECT_EQ(game.Frame(), (Lines{"MouseClicked 120 60 2", "MouseClicked 120 60 4"}));
    PushButton(SDL_BUTTON_RIGHT, false, 120, 60);
    PushButton(SDL_BUTTON_MIDDLE, false, 120, 60);
    EXPECT_EQ(game.Frame(), (Lines{"MouseReleased 120 60 2", "MouseReleased 120 60 4"}));

    // Wheel and double click come from the window messages.
    PushWheel(1);
    PushWheel(-2);
    EXPECT_EQ(game.Frame(), (Lines{"Scrolled up", "Scrolled down"}));
    PushButton(SDL_BUTTON_LEFT, true, 120, 60, 2);
    EXPECT_EQ(game.Frame(), (Lines{"DoubleClick 120 60 1", "MouseClicked 120 60 1"}));
    PushButton(SDL_BUTTON_LEFT, false, 120, 60);
    EXPECT_EQ(game.Frame(), Lines{"MouseReleased 120 60 1"});

    // Negative client coordinates (a drag out of the window) keep their sign.
    PushMotion(-5, -7);
    EXPECT_EQ(game.Frame(), Lines{"MouseMoved -5 -7 0"});

    // In the editor the buttons follow the window messages.
    game.SetEditor(true);
    PushMotion(30, 40);
    PushButton(SDL_BUTTON_LEFT, true, 30, 40);
    EXPECT_EQ(game.Frame(), (Lines{"MouseMoved 30 40 0", "MouseClicked 30 40 1"}));
    // Held: no polled "pressed" in the editor.
    EXPECT_EQ(game.Frame(), Lines{});
    // A second down without an up is a press, not a new click.
    PushButton(SDL_BUTTON_LEFT, true, 30, 40);
    EXPECT_EQ(game.Frame(), Lines{"MousePressed 30 40 1"});
    PushButton(SDL_BUTTON_LEFT, false, 30, 40);
    EXPECT_EQ(game.Frame(), Lines{"MouseReleased 30 40 1"});
    PushButton(SDL_BUTTON_RIGHT, true, 30, 40);
    PushButton(SDL_BUTTON_RIGHT, false, 30, 40);
    EXPECT_EQ(game.Frame(), (Lines{"MouseClicked 30 40 2", "MouseReleased 30 40 2"}));

    // Out of the editor the same button is polled again.
    game.SetEditor(false);
    PushButton(SDL_BUTTON_LEFT, true, 30, 40);
    EXPECT_EQ(game.Frame(), Lines{"MouseClicked 30 40 1"});
    EXPECT_EQ(game.Frame(), Lines{"MousePressed 30 40 1"});
}

TEST(InputSystem, PadButtonsSticksAndTriggers) {
    Game game;
    Focus(game);
    VirtualPad pad;
    ASSERT_TRUE(pad.Attached()) << SDL_GetError();
    // At rest: a centred stick has no direction, so nothing moves.
    EXPECT_EQ(game.Frame(), Lines{});
    EXPECT_EQ(game.Frame(), Lines{});

    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    pad.Button(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(game.Frame(), (Lines{"PadTriggered 0x10", "PadTriggered 0x1000"}));
    pad.Button(SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_EQ(game.Frame(), (Lines{"PadReleased 0x10", "PadPressed 0x1000"}));
    pad.Button(SDL_CONTROLLER_BUTTON_A, false);
    pad.Button(SDL_CONTROLLER_BUTTON_Y, true);
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    pad.Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    EXPECT_EQ(game.Frame(), (Lines{"PadTriggered 0x4", "PadTriggered 0x200", "PadReleased 0x1000",
                                   "PadTriggered 0x8000"}));
    pad.Button(SDL_CONTROLLER_BUTTON_Y, false);
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    pad.Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, false);
    game.Frame();

    // Half deflection is level 1, full deflection level 2; a level change
    // with the same direction sends nothing.
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 16000);
    EXPECT_EQ(game.Frame(), Lines{"LThumb 1 0 1"});
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    EXPECT_EQ(game.Frame(), Lines{});
    // Up on the stick is up in the game.
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    EXPECT_EQ(game.Frame(), Lines{"LThumb 0 1 2"});
    // Back to the centre: direction (0, 0), level 0, and then silence.
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    EXPECT_EQ(game.Frame(), Lines{"LThumb 0 0 0"});
    EXPECT_EQ(game.Frame(), Lines{});
    // Inside the dead zone the direction still counts, at level 0.
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -3000);
    EXPECT_EQ(game.Frame(), Lines{"LThumb -1 0 0"});

    // The right stick has its own dead zone: 8689.
    pad.Axis(SDL_CONTROLLER_AXIS_RIGHTY, 8000);
    EXPECT_EQ(game.Frame(), Lines{"RThumb 0 -1 0"});
    pad.Axis(SDL_CONTROLLER_AXIS_RIGHTX, 9000);
    pad.Axis(SDL_CONTROLLER_AXIS_RIGHTY, 0);
    EXPECT_EQ(game.Frame(), Lines{"RThumb 1 0 1"});

    // Triggers: 90 of 255 is level 2 on the left and level 1 on the right.
    const int32_t ninety = 11630; // 11630 * 255 / 32767 = 90.5, so 90 of 255
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, ninety);
    EXPECT_EQ(game.Frame(), Lines{"Triggers 0 2"});
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, ninety);
    EXPECT_EQ(game.Frame(), Lines{"Triggers 1 2"});
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    EXPECT_EQ(game.Frame(), Lines{"Triggers 2 4"});
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32000); // 249: still past 201
    EXPECT_EQ(game.Frame(), Lines{});

    // Unplugged: no pad messages, keys go on; a new pad is picked up.
    pad.Unplug();
    PushKey(SDL_SCANCODE_Z, true);
    EXPECT_EQ(game.Frame(), Lines{"KeyTriggered 90"});
    PushKey(SDL_SCANCODE_Z, false);
    game.Frame();
    VirtualPad second;
    second.Button(SDL_CONTROLLER_BUTTON_B, true);
    // It rests where the old one was last held away from: everything moves.
    EXPECT_EQ(game.Frame(),
              (Lines{"PadTriggered 0x2000", "LThumb 0 0 0", "RThumb 0 0 0", "Triggers 0 0"}));
    EXPECT_EQ(game.Frame(), Lines{"PadPressed 0x2000"});
}

TEST(InputSystem, PadLevelsAtTheirThresholds) {
    // Levels count the thresholds the value is strictly above.
    const float left[][2] = {{7849, 0}, {7850, 1}, {23849, 1}, {23850, 2}, {46000, 2}};
    for (const auto& [value, level] : left)
        EXPECT_EQ(InputSystem::StickLevel(value, InputSystem::kLeftDeadZone), level) << value;
    EXPECT_EQ(InputSystem::StickLevel(24689.0f, InputSystem::kRightDeadZone), 1);
    EXPECT_EQ(InputSystem::StickLevel(24690.0f, InputSystem::kRightDeadZone), 2);
    const int right[][2] = {{30, 0}, {31, 1}, {180, 1}, {181, 2}, {255, 2}};
    for (const auto& [value, level] : right)
        EXPECT_EQ(InputSystem::RightTriggerLevel(uint8_t(value)), level) << value;
    const int leftTrigger[][2] = {{30, 0}, {31, 1}, {87, 1}, {88, 2}, {144, 2}, {145, 3}, {202, 4}};
    for (const auto& [value, level] : leftTrigger)
        EXPECT_EQ(InputSystem::LeftTriggerLevel(uint8_t(value)), level) << value;
}

} // namespace
} // namespace Flurr
