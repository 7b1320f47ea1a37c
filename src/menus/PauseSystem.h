#pragma once
// PauseSystem: the pause menu over the running game. It is a stack of
// screens, each loaded from an object list file; the top one is shown and
// works while the space "Pause" is active, and "GameSpace" waits beneath.
//
// Driven by the Core once per tick (after the camera controller, before
// the logic system). Escape or the pad's Start opens the menu (never while
// the logo pictures run) and closes it again; the elements' commands
// (ButtonInputMessage) move between screens, change the display and the
// music, restart the level or quit. The stick, the arrow keys and L / O
// move the selection from element to element by warping the pointer onto
// it; a click, the pad's A or Enter fires the element under the pointer;
// the pad's B goes back a screen. Messages: mouse moved and clicked,
// button input, keys triggered, pressed and released, camera moves,
// InitPauseScreen, pad buttons, the left stick, SetAllVolume, ScreenSize,
// LevelChange.
//
// Owns nothing directly: a screen's objects are the factory's, and the
// screen keeps their ids (every object, for destroying them with the
// screen) apart from its elements (for updating and navigating).
//
// The options screen shows the resolution, full screen and the two volumes
// as text; its commands that change them keep the player's choice in the
// settings file (when the game has one). The controls screen lists the
// rebindable actions with their keys: "Rebind:<action>" waits for the
// next key, which then belongs to that action (swapped with an action that
// had it); Escape or the pad's B cancels the wait, and while it waits no
// key moves the menu.
//
// Invariants:
// - A screen taken off the stack is destroyed in the next update, never
//   inside the message that took it off: the element whose click did it
//   is still running.
// - An element that leaves (its object went) is off every screen at once.
// - After a level change there are no screens and nothing saved: the
//   factory has destroyed what they held.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/GameSystem.h"
#include "engine/Settings.h"
#include "engine/TimerSet.h"
#include "engine/Vec2.h"
#include "world/SpaceLists.h"

namespace Flurr {

class PauseElement;

struct PauseSystemName {
    static constexpr const char* value = "PauseSystem";
};

// The screen files.
namespace PauseScreens {
inline constexpr const char* Pause = "Resources\\Levels\\Pause\\Pause.zorvel";
inline constexpr const char* Options = "Resources\\Levels\\Pause\\OptionsMenu.zorvel";
inline constexpr const char* HowToPlay = "Resources\\Levels\\Pause\\HowToPlay.zorvel";
inline constexpr const char* QuitConfirm = "Resources\\Levels\\Pause\\QuitConfirm.zorvel";
inline constexpr const char* Credits = "Resources\\Levels\\Credits\\Credits.zorvel";
inline constexpr const char* Controls = "Resources\\Levels\\Pause\\Controls.zorvel";
} // namespace PauseScreens

class PauseSystem : public ISystem<PauseSystem, PauseSystemName> {
public:
    // Sound levels while the menu is up and once it closes.
    static constexpr float kMenuVolume = 0.3f;
    static constexpr float kGameVolume = 0.7f;
    // Stick navigation: one step at once, then after kHoldDelay seconds
    // held one step every kRepeatDelay seconds; a stick within kDeadZone of
    // the centre on both axes is let go.
    static constexpr float kHoldDelay = 0.6f;
    static constexpr float kRepeatDelay = 0.1f;
    static constexpr float kDeadZone = 0.75f;

    struct Pointer {
        int32_t x = 0;
        int32_t y = 0;
    };
    struct Screen {
        std::string file;
        // Every object the file made, with where it was loaded.
        struct Piece {
            int32_t id = 0;
            float x = 0.0f;
            float y = 0.0f;
        };
        std::vector<Piece> pieces;
        std::vector<PauseElement*> elements;
    };

    // `settingsFile` empty: the changes last for the run only. `settings`
    // is what was read at start (the fields a change does not touch are
    // written back as they were).
    explicit PauseSystem(std::string settingsFile = {}, PlayerSettings settings = {});
    ~PauseSystem() override;

    void Initialize() override;
    void SendMessage(Message* message) override;
    void Update(float dt) override;
    void Free() override;
    void ReleaseObjects() override;

    void RegisterComponent(PauseElement* element, const std::string& space);
    void UnregisterComponent(PauseElement* element);

    // Loads a screen file on top and selects its element 0.
    void PushScreen(const std::string& path);
    // Takes the top screen off (destroyed in the next update) and goes
    // back to the selection and pointer of the screen below.
    void PopScreen();
    void OpenMenu();
    void CloseMenu();
    bool IsOpen() const { return !screens.empty(); }

    // The world point under the pointer.
    Vec2 PointerWorld() const;
    // The top screen's element with that id, or null.
    PauseElement* FindElement(uint32_t id) const;
    // Selects an element: remembers its id and warps the pointer onto it.
    void Select(uint32_t id);
    // Carries out a navigation command ("NOP", "NextElement:<id>",
    // "FireCommand:<command>"); anything else does nothing.
    void Navigate(const std::string& navigation);

    int32_t pointerX = 0;
    int32_t pointerY = 0;
    float camX = 0.0f;
    float camY = 0.0f;
    std::vector<Screen> screens;
    std::vector<Screen> screensToDestroy;
    std::vector<Pointer> savedPointers;
    std::vector<uint32_t> savedSelections;
    uint32_t selected = 0;
    float stickX = 0.0f;
    float stickY = 0.0f;
    bool held = false;
    float volume = 1.0f;
    bool pointerPending = false;
    Pointer pendingPointer;
    // The two values of ScreenSizeMessage (65); 0 until one arrives.
    int32_t screenValueX = 0;
    int32_t screenValueY = 0;
    // Steps the stick navigation has taken, for tests.
    int32_t navigationSteps = 0;
    // The index in kRebindableActions waiting for its key, or -1.
    int32_t rebinding = -1;
    // What the settings file holds (or would hold).
    PlayerSettings settings;
    // Whether the action map holds the keys to keep (false while a run
    // plays with the table's keys and the file's are only passed on).
    bool keysInTable = true;

    // The texts the options and controls screens show now (empty on other
    // screens), as drawn: for tests.
    std::vector<std::string> ScreenTexts() const;

private:
    void Command(const std::string& command);
    void KeyNavigation(const Message* message);
    void PadButton(uint16_t button);
    void Back();
    // Clicks the selected element, where it stands: the pad's A and Enter.
    void ClickSelected();
    void RunStick();
    void StickStep();
    void DestroyScreen(Screen& screen);
    void DestroyPending();
    void DropEverything();
    void SendPendingPointer();
    // Takes the state an options command changed into `settings` and
    // writes the file.
    void KeepSettings();
    // Handles a key while a rebinding waits; true when it was taken.
    bool RebindKey(const Message* message);
    void DrawScreenTexts() const;
    bool OnScreen(const char* file) const;

    std::string settingsFile;
    SpaceLists<PauseElement> elements;
    TimerSet timers;
    // Which of the menu keys (up, down, left, right) are held.
    bool keyHeld[4] = {false, false, false, false};
};

} // namespace Flurr
