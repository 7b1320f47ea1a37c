#pragma once
// ButtonSystem: the buttons of a menu level, the title menu. While
// "GameSpace" is active (and no transition runs) it updates every Button,
// hands them the clicks, moves the selection from button to button with
// the stick or the up and down keys (warping the pointer onto the one
// selected), clicks the selected one for the pad's A or Enter, and
// carries out the title's commands: "Play" starts the game, "Continue"
// starts it at the saved game's furthest level, "NewGame" starts afresh
// (the saved game is replaced once the new one is kept), "Options" opens
// the pause menu over the title, "Quit" opens it at the question whether
// to quit. Without a saved game the "Continue" button is taken away and
// the buttons below it move up into its place.
//
// Driven by the Core once per tick, after the PauseSystem. Messages: mouse
// moved and clicked, button input, keys, camera moves, the left stick, pad
// buttons, SetAllVolume.
//
// Owns nothing: buttons belong to their objects. `selected` is an index
// among the buttons (the one whose ElementID it is acts); it goes back to
// 0 whenever a button comes or goes, so it never names one past the end.

#include <cstdint>
#include <string>

#include "engine/GameSystem.h"
#include "engine/TimerSet.h"
#include "engine/Vec2.h"
#include "world/SpaceLists.h"

namespace Flurr {

class Button;

struct ButtonSystemName {
    static constexpr const char* value = "ButtonSystem";
};

class ButtonSystem : public ISystem<ButtonSystem, ButtonSystemName> {
public:
    // A stick past this far up or down steps the selection.
    static constexpr float kStickThreshold = 0.75f;
    static constexpr float kHoldDelay = 0.6f;
    static constexpr float kRepeatDelay = 0.1f;

    ButtonSystem();
    ~ButtonSystem() override;

    void Initialize() override;
    void SendMessage(Message* message) override;
    void Update(float dt) override;
    void Free() override;

    void RegisterComponent(Button* button, const std::string& space);
    void UnregisterComponent(Button* button);

    // The world point under the pointer.
    Vec2 PointerWorld() const;
    std::size_t Count() const { return buttons.Size(); }
    // The button `selected` names, or null.
    Button* SelectedButton() const;

    int32_t pointerX = 0;
    int32_t pointerY = 0;
    float camX = 0.0f;
    float camY = 0.0f;
    int32_t selected = 0;
    float stickY = 0.0f;
    bool held = false;
    float volume = 1.0f;
    // "Play" moves on to the next level itself: no transition system runs
    // to do it after its fade.
    bool playAdvancesLevel = true;

private:
    // The title reacts: "GameSpace" active, no transition running.
    static bool Live();
    void Command(const std::string& command);
    void Step(int32_t by);
    void ClickSelected();
    void RunStick();
    // Takes "Continue" away when there is no game to continue.
    void OfferContinue();

    SpaceLists<Button> buttons;
    TimerSet timers;
    // Live at the last update: input that arrives in the tick the pause
    // menu closed belongs to the menu, not to the buttons behind it.
    bool liveLastUpdate = false;
    bool keyUp = false;
    bool keyDown = false;
    // Whether this level's buttons were looked at for "Continue".
    bool continueChecked = false;
};

} // namespace Flurr
