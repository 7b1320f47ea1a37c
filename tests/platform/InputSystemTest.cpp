// The input system driven by real SDL events: what the game hears.

#include "platform/PlatformTestSupport.h"
#include "platform/WindowMessages.h"

using namespace Flurr;
namespace {

using namespace PlatformTest;

TEST(InputSystem, KeysTextAndTheMouseFollowTheFramesAndTheEditor) {
    Game game;
    EXPECT_EQ(game.Frame({Key(SDL_SCANCODE_A, true)}), Lines{"KeyTriggered 65"});
    EXPECT_EQ(game.Frame({Key(SDL_SCANCODE_A, true, true)}), Lines{"KeyPressed 65"})
        << "auto-repeat is not a new press";
    EXPECT_EQ(game.Frame(), Lines{"KeyPressed 65"});
    EXPECT_EQ(game.Frame({Key(SDL_SCANCODE_A, false)}), Lines{"KeyReleased 65"});
    EXPECT_EQ(game.Frame(), Lines{});

    // Either Shift also holds VK_SHIFT, as on Windows, until both are up.
    EXPECT_EQ(game.Frame({Key(SDL_SCANCODE_LSHIFT, true)}),
              (Lines{"KeyTriggered 16", "KeyTriggered 160"}));
    EXPECT_EQ(game.Frame({Key(SDL_SCANCODE_RSHIFT, true), Key(SDL_SCANCODE_LSHIFT, false)}),
              (Lines{"KeyPressed 16", "KeyReleased 160", "KeyTriggered 161"}));
    EXPECT_EQ(game.Frame({Key(SDL_SCANCODE_RSHIFT, false)}),
              (Lines{"KeyReleased 16", "KeyReleased 161"}));

    // Enter and keypad Enter are one key to the game: down while either is.
    EXPECT_EQ(game.Frame({Key(SDL_SCANCODE_RETURN, true), Key(SDL_SCANCODE_KP_ENTER, true)}),
              (Lines{"Char 13", "Char 13", "KeyTriggered 13"}));
    EXPECT_EQ(game.Frame({Key(SDL_SCANCODE_RETURN, false)}), Lines{"KeyPressed 13"});
    EXPECT_EQ(game.Frame({Key(SDL_SCANCODE_KP_ENTER, false)}), Lines{"KeyReleased 13"});
    EXPECT_EQ(game.Frame({Key(SDL_SCANCODE_AUDIOPLAY, true)}), Lines{});

    // Latin-1 text gets through as one byte; what a byte cannot hold does
    // not. The control keys a text field needs arrive as characters too.
    EXPECT_EQ(game.Frame({Text("a\xC3\xA9\xE2\x82\xAC!")}),
              (Lines{"Char 97", "Char 233", "Char 33"}));
    EXPECT_EQ(game.Frame({Key(SDL_SCANCODE_BACKSPACE, true)}), (Lines{"Char 8", "KeyTriggered 8"}));

    game.Frame({Key(SDL_SCANCODE_BACKSPACE, false)});

    // The mouse is polled outside the editor.
    EXPECT_EQ(game.Frame({Motion(100, 50)}), Lines{"MouseMoved 100 50 0"});
    EXPECT_EQ(game.Frame({Button(SDL_BUTTON_LEFT, true, 100, 50)}), Lines{"MouseClicked 100 50 1"});
    // The move arrives with the window messages, before the poll.
    EXPECT_EQ(game.Frame({Motion(120, 60)}),
              (Lines{"MouseMoved 120 60 1", "MousePressed 120 60 1"}));
    EXPECT_EQ(game.Frame({Button(SDL_BUTTON_LEFT, false, 120, 60)}),
              Lines{"MouseReleased 120 60 1"});
    EXPECT_EQ(game.Frame({Button(SDL_BUTTON_RIGHT, true, 120, 60),
                          Button(SDL_BUTTON_MIDDLE, true, 120, 60)}),
              (Lines{"MouseClicked 120 60 2", "MouseClicked 120 60 4"}));
    EXPECT_EQ(game.Frame({Button(SDL_BUTTON_RIGHT, false, 120, 60),
                          Button(SDL_BUTTON_MIDDLE, false, 120, 60)}),
              (Lines{"MouseReleased 120 60 2", "MouseReleased 120 60 4"}));
    // Wheel and double click come from the window messages.
    EXPECT_EQ(game.Frame({Wheel(1), Wheel(-2)}), (Lines{"Scrolled up", "Scrolled down"}));
    EXPECT_EQ(game.Frame({Button(SDL_BUTTON_LEFT, true, 120, 60, 2)}),
              (Lines{"DoubleClick 120 60 1", "MouseClicked 120 60 1"}));
    EXPECT_EQ(game.Frame({Button(SDL_BUTTON_LEFT, false, 120, 60)}),
              Lines{"MouseReleased 120 60 1"});
    EXPECT_EQ(game.Frame({Motion(-5, -7)}), Lines{"MouseMoved -5 -7 0"});

    // In the editor the buttons follow the window messages: held, there is
    // no polled "pressed"; a second down without an up is a press.
    game.SetEditor(true);
    EXPECT_EQ(game.Frame({Motion(30, 40), Button(SDL_BUTTON_LEFT, true, 30, 40)}),
              (Lines{"MouseMoved 30 40 0", "MouseClicked 30 40 1"}));
    EXPECT_EQ(game.Frame(), Lines{});
    EXPECT_EQ(game.Frame({Button(SDL_BUTTON_LEFT, true, 30, 40)}), Lines{"MousePressed 30 40 1"});
    EXPECT_EQ(game.Frame({Button(SDL_BUTTON_LEFT, false, 30, 40)}), Lines{"MouseReleased 30 40 1"});
    EXPECT_EQ(game.Frame({Button(SDL_BUTTON_RIGHT, true, 30, 40),
                          Button(SDL_BUTTON_RIGHT, false, 30, 40)}),
              (Lines{"MouseClicked 30 40 2", "MouseReleased 30 40 2"}));
    // Out of the editor the same button is polled again.
    game.SetEditor(false);
    EXPECT_EQ(game.Frame({Button(SDL_BUTTON_LEFT, true, 30, 40)}), Lines{"MouseClicked 30 40 1"});
    EXPECT_EQ(game.Frame(), Lines{"MousePressed 30 40 1"});
}

TEST(InputSystem, NothingIsPolledWithoutFocus) {
    Game game({}, false, false);
    // No focus yet: a press and release in the background never happened.
    EXPECT_EQ(game.Frame({Key(SDL_SCANCODE_SPACE, true)}), Lines{});
    EXPECT_EQ(game.Frame({Key(SDL_SCANCODE_SPACE, false)}), Lines{});
    EXPECT_EQ(game.Frame({game.Focus()}), Lines{});

    // A key held when focus goes keeps its state; it is released when
    // focus comes back and the key is found up.
    EXPECT_EQ(game.Frame({Key(SDL_SCANCODE_LEFT, true)}), Lines{"KeyTriggered 37"});
    EXPECT_EQ(game.Frame({game.Focus(false), Key(SDL_SCANCODE_LEFT, false)}), Lines{});
    EXPECT_EQ(game.Frame(), Lines{});
    EXPECT_EQ(game.Frame({game.Focus()}), Lines{"KeyReleased 37"});
}

TEST(InputSystem, PadButtonsSticksAndTriggersAndTheirLevelThresholds) {
    Game game;
    VirtualPad pad;
    ASSERT_TRUE(pad.Attached()) << SDL_GetError();
    // At rest: a centred stick has no direction, so nothing moves.
    EXPECT_EQ(game.Frame(), Lines{});
    EXPECT_EQ(game.Frame(), Lines{});

    pad.Button(SDL_CONTROLLER_BUTTON_A, true).Button(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(game.Frame(), (Lines{"PadTriggered 0x10", "PadTriggered 0x1000"}));
    pad.Button(SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_EQ(game.Frame(), (Lines{"PadReleased 0x10", "PadPressed 0x1000"}));
    pad.Button(SDL_CONTROLLER_BUTTON_A, false)
        .Button(SDL_CONTROLLER_BUTTON_Y, true)
        .Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true)
        .Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    EXPECT_EQ(game.Frame(), (Lines{"PadTriggered 0x4", "PadTriggered 0x200", "PadReleased 0x1000",
                                   "PadTriggered 0x8000"}));
    pad.Button(SDL_CONTROLLER_BUTTON_Y, false)
        .Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false)
        .Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, false);
    game.Frame();

    // Half and full deflection are levels 1 and 2; a level change alone sends nothing.
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 16000);
    EXPECT_EQ(game.Frame(), Lines{"LThumb 1 0 1"});
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    EXPECT_EQ(game.Frame(), Lines{});
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 0).Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
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
    pad.Axis(SDL_CONTROLLER_AXIS_RIGHTX, 9000).Axis(SDL_CONTROLLER_AXIS_RIGHTY, 0);
    EXPECT_EQ(game.Frame(), Lines{"RThumb 1 0 1"});

    // Triggers: 90 of 255 is level 2 on the left and level 1 on the right.
    const int32_t ninety = 11630; // 11630 * 255 / 32767 = 90.5, so 90 of 255
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, ninety);
    EXPECT_EQ(game.Frame(), Lines{"Triggers 0 2"});
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, ninety);
    EXPECT_EQ(game.Frame(), Lines{"Triggers 1 2"});
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767)
        .Trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    EXPECT_EQ(game.Frame(), Lines{"Triggers 2 4"});
    pad.Trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32000); // 249: still past 201
    EXPECT_EQ(game.Frame(), Lines{});

    // Unplugged: no pad messages, keys go on; a new pad is picked up.
    pad.Unplug();
    EXPECT_EQ(game.Frame({Key(SDL_SCANCODE_Z, true)}), Lines{"KeyTriggered 90"});
    game.Frame({Key(SDL_SCANCODE_Z, false)});
    VirtualPad second;
    second.Button(SDL_CONTROLLER_BUTTON_B, true);
    // It rests where the old one was last held away from: everything moves.
    EXPECT_EQ(game.Frame(),
              (Lines{"PadTriggered 0x2000", "LThumb 0 0 0", "RThumb 0 0 0", "Triggers 0 0"}));
    EXPECT_EQ(game.Frame(), Lines{"PadPressed 0x2000"});

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
