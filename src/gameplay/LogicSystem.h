#pragma once
// The LogicSystem runs the gameplay components placed in levels (triggers,
// delivery points, the logo screen, the guiding raven, the flight meter,
// the mouse pointer, the cloud machine and its clouds): each registers
// itself for a space,
// and every frame the system updates the components of the active spaces
// and hands them the input messages it listens for (key released, mouse
// moved, mouse clicked, pad button triggered, and the two plain signals
// 61 and 64).
//
// It also runs the delivery race. A level holding DeliveryNode components
// starts a two-minute countdown; one node at a time is the target, marked
// by a bouncing "Bang" above it; touching it scores the distance the
// player had to cover to it. When the time is up the results stay on
// screen for five seconds and the game moves on to the next level. The
// race's lines are written for an 800 x 600 screen; on any other they move
// with its size (as the objectives panel's do: the letters already grow
// with its height), stay inside it, and sit on a light band so they read
// on any sky. While a hint shows along the bottom, the running lines move
// to the top of the screen, out of its way.
//
// A component listed under two active spaces is still updated and told
// each message once per frame.
//
// Clouds come with a level's data: a level that wants them holds a
// CloudMachineComponent, and one that does not (the logo, the menus) has a
// clear sky. The system makes no machine of its own.
//
// The system never owns components: their objects do. Freeing a space or
// the system only forgets them.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/GameSystem.h"
#include "engine/Vec2.h"
#include "world/SpaceLists.h"

namespace Flurr {

class Component;
class DeliveryNode;
class GameObject;

// A rectangle of the screen, pixels, top-left origin.
struct ScreenBox {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The race's three lines placed on a screen, and the band behind them.
struct RaceTextLayout {
    ScreenBox lines[3];
    ScreenBox band;
};

// Places three lines written at `left`, `tops` of an 800 x 600 screen on a
// `width` x `height` one: the positions scale with the screen, and the
// block moves left (or up) where its widest line (`widths`, each line
// `lineHeight` tall, in pixels as drawn) would leave it.
RaceTextLayout LayOutRaceText(const int32_t (&widths)[3], int32_t lineHeight, int32_t left,
                              const int32_t (&tops)[3], int32_t width, int32_t height);

struct LogicSystemName {
    static constexpr const char* value = "LogicSystem";
};

class LogicSystem : public ISystem<LogicSystem, LogicSystemName> {
public:
    static constexpr float kRaceTime = 120.0f;
    // How long the results stay up after the time runs out.
    static constexpr float kResultsTime = 5.0f;

    LogicSystem();
    ~LogicSystem() override;

    void Initialize() override;
    void SendMessage(Message* message) override;
    void Update(float dt) override;
    void FreeSpace(const std::string& space) override;
    void Free() override;

    void RegisterComponent(Component* component, const std::string& space);
    // Takes the component off every space's list (and off the race).
    void UnregisterComponent(Component* component);
    // The target was touched.
    void DeliveryMade();

    // Race state, read by the tests and the results.
    std::vector<DeliveryNode*> deliveryNodes;
    DeliveryNode* target = nullptr;
    float timeLeft = 0.0f;
    float score = 0.0f;
    int32_t deliveries = 0;
    // The time-up music has played; it plays once per run.
    bool timeUp = false;
    // Where the race's lines went last, for the tests.
    RaceTextLayout raceText;

private:
    void ResetRace();
    void RunRace(float dt);
    void ChooseTarget();
    // The three lines at `left`, `tops` of an 800 x 600 screen, on the band.
    void DrawRaceLines(const char* const (&lines)[3], int32_t left, const int32_t (&tops)[3]);
    void ShowBand(const ScreenBox& box, int32_t width, int32_t height);

    SpaceLists<Component> spaceComponents;
    // The light band behind the race's lines, held by id; -1 for none.
    int32_t band = -1;
};

// Where the player is, if there is one.
bool PlayerPosition(Vec2& position);
// The object's body touched the player's body in the last physics step.
bool TouchingPlayer(const GameObject* object);
// Lets the player pass through the object's body; touching still counts.
void MakeGhost(GameObject* object);

} // namespace Flurr
