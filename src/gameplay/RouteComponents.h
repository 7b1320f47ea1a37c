#pragma once
// Components that carry the player along the route from level to level,
// driven by the LogicSystem in "GameSpace":
//
//   LevelExit     a way out (Hillside's gate): touching it fades to the
//                 next route entry, once. Its body becomes a ghost, so it
//                 never stands in the way. Saved as the empty "LevelExit".
//   AbilityGrant  the player of this level has flight ("Flight") and the
//                 dash ("Dash") from the start, whatever was earned before
//                 (the race needs both).
//   CreditsRoll   the ending: its object rises at "Speed" units a second
//                 until it reaches "EndY", then the game fades to the next
//                 entry (the title). After the first second, Space or
//                 Enter (let go) or pad A (pressed) go there at once. The last race's
//                 final score follows just under the rolling object, and
//                 a line says how to go on.
//
// All three ask for the level change through FadeToNextLevelMessage, so
// the transition system owns the fade and a second ask changes nothing.

#include "gameplay/LogicComponent.h"

namespace Flurr {

struct LevelExitName {
    static constexpr const char* value = "LevelExit";
};

class LevelExit : public LogicComponent<LevelExit, LevelExitName> {
public:
    void Initialize() override;
    void Update(float dt) override;
    void Serialize(ASerializer& serializer) override;

    // The next level has been asked for.
    bool taken = false;
};

struct AbilityGrantName {
    static constexpr const char* value = "AbilityGrant";
};

class AbilityGrant : public LogicComponent<AbilityGrant, AbilityGrantName> {
public:
    void Update(float dt) override;
    void Serialize(ASerializer& serializer) override;

    bool Flight = false;
    bool Dash = false;
};

struct CreditsRollName {
    static constexpr const char* value = "CreditsRoll";
};

class CreditsRoll : public LogicComponent<CreditsRoll, CreditsRollName> {
public:
    // Keys before this much of the roll has run are not taken.
    static constexpr float kIgnoreInputSeconds = 1.0f;

    void Update(float dt) override;
    void SendMessage(Message* message) override;
    void Serialize(ASerializer& serializer) override;

    float Speed = 60.0f;
    float EndY = 680.0f;
    float elapsed = 0.0f;
    bool finished = false;

private:
    void Finish();
};

} // namespace Flurr
