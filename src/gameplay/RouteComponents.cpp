#include "gameplay/RouteComponents.h"

#include <cstdio>

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/InputActions.h"
#include "engine/Message.h"
#include "graphics/GraphicsSystem.h"
#include "player/PlayerComponent.h"
#include "player/PlayerController.h"
#include "serialization/Serializer.h"

namespace Flurr {

void LevelExit::Initialize() {
    LogicComponent::Initialize();
    MakeGhost(owner);
}

void LevelExit::Update(float) {
    if (taken || !TouchingPlayer(owner))
        return;
    taken = true;
    Core::Broadcast(FadeToNextLevelMessage());
}

void LevelExit::Serialize(ASerializer& s) {
    s.Begin("LevelExit");
    s.End("LevelExit");
}

// ---------------------------------------------------------------------------

void AbilityGrant::Update(float) {
    const PlayerController* players = PlayerController::Instance();
    PlayerComponent* player = players ? players->Player() : nullptr;
    if (!player)
        return;
    if (Flight)
        player->SetFlightUnlocked(true);
    if (Dash)
        player->SetDashUnlocked(true);
}

void AbilityGrant::Serialize(ASerializer& s) {
    s.Begin("AbilityGrant");
    s.BoolField("Flight", Flight);
    s.BoolField("Dash", Dash);
    s.End("AbilityGrant");
}

// ---------------------------------------------------------------------------

void CreditsRoll::Update(float dt) {
    if (!owner || SpaceManager::Active(Spaces::Pause))
        return;
    elapsed += dt;
    if (owner->y < EndY)
        owner->y += Speed * dt;
    else
        Finish();

    char line[64];
    const LogicSystem* logic = LogicSystem::Instance();
    std::snprintf(line, sizeof line, "Final Score: %d",
                  logic ? static_cast<int32_t>(logic->score) : 0);
    // The closing line of the roll, just under the card. The ending's view
    // is 600 units tall around the origin: units are pixels of 800 x 600.
    const float cardBottom = owner->y - static_cast<float>(owner->height) * owner->yScale * 0.5f;
    DrawTextMessage score = ScreenLine(line, "CardoBold32", 300.0f - cardBottom + 16.0f);
    score.red = 59.0f;
    score.green = 42.0f;
    score.blue = 34.0f;
    Core::Broadcast(score);
    if (elapsed >= kIgnoreInputSeconds) {
        DrawTextMessage hint =
            ScreenLine("Space, Enter or A: back to the title", "CardoRegular22", 560.0f);
        hint.red = hint.green = hint.blue = 255.0f;
        hint.shadow = true;
        Core::Broadcast(hint);
    }
}

void CreditsRoll::SendMessage(Message* message) {
    if (elapsed < kIgnoreInputSeconds)
        return;
    const InputActions& actions = Core::Actions();
    // The logic system hands on released keys: a key let go after the
    // first second, like the logo's skip.
    if (const auto* key = As<KeyReleasedMessage>(message);
        key && actions.IsKey(Action::Continue, key->key))
        Finish();
    else if (const auto* pad = As<XboxTriggeredMessage>(message);
             pad && actions.IsPadButton(Action::Continue, pad->button))
        Finish();
}

void CreditsRoll::Finish() {
    if (finished)
        return;
    finished = true;
    Core::Broadcast(FadeToNextLevelMessage());
}

void CreditsRoll::Serialize(ASerializer& s) {
    s.Begin("CreditsRoll");
    s.FloatField("Speed", Speed);
    s.FloatField("EndY", EndY);
    s.End("CreditsRoll");
}

} // namespace Flurr
