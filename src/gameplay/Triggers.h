#pragma once
// Small components level designers place on objects, driven by the
// LogicSystem in "GameSpace":
//
//   BasicTrigger        announces "TriggeredEvent" (BasicTriggerMessage)
//                       every frame the player touches it;
//   PostProcessTrigger  while the player touches it, moves the screen's
//                       post-processing towards its own block over
//                       "TransitionTime" seconds; on leaving, back to
//                       neutral over the same time;
//   TextTrigger         while the player is within 200 units, shows "Text"
//                       over a dark band at the bottom of the screen;
//   Rotator             carries "RotationAmount" for whoever reads it and
//                       notes that signal 64 arrived.
//
// Touching means the object's body met the player's body in the last
// physics step; without a player nothing touches.

#include <cstdint>
#include <string>

#include "engine/PostProcessParams.h"
#include "gameplay/LogicComponent.h"

namespace Flurr {

struct RotatorName {
    static constexpr const char* value = "Rotator";
};

class Rotator : public LogicComponent<Rotator, RotatorName> {
public:
    void SendMessage(Message* message) override;
    void Serialize(ASerializer& serializer) override;

    float RotationAmount = 0.0f;
    bool triggered = false;
};

struct BasicTriggerName {
    static constexpr const char* value = "BasicTrigger";
};

class BasicTrigger : public LogicComponent<BasicTrigger, BasicTriggerName> {
public:
    void Update(float dt) override;
    void Serialize(ASerializer& serializer) override;

    std::string TriggeredEvent;
};

struct PostProcessTriggerName {
    static constexpr const char* value = "PostProcessTrigger";
};

class PostProcessTrigger : public LogicComponent<PostProcessTrigger, PostProcessTriggerName> {
public:
    void Update(float dt) override;
    void Serialize(ASerializer& serializer) override;

    // The block sent while the player is inside (the renderer copies it);
    // its duration is "TransitionTime".
    PostProcessRecord record;
    bool distort = false;
    bool inside = false;
};

struct TextTriggerName {
    static constexpr const char* value = "TextTrigger";
};

class TextTrigger : public LogicComponent<TextTrigger, TextTriggerName> {
public:
    // The text shows within this distance, whatever "TriggerRadius" says
    // (levels carry the key; the game has always used this distance).
    static constexpr float kShowDistance = 200.0f;

    // Also driven while the pause menu is up, to take its band away: the
    // band is drawn over the whole screen, the menu too.
    void Initialize() override { Join({Spaces::Game, Spaces::Pause}); }
    void Update(float dt) override;
    void Free() override;
    void Serialize(ASerializer& serializer) override;

    std::string Text;
    float TriggerRadius = 0.0f;
    // The dark band, held by id; -1 until first needed.
    int32_t textBox = -1;
};

} // namespace Flurr
