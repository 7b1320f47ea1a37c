#include "gameplay/LogoLogicComponent.h"

#include <algorithm>

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "serialization/Serializer.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

void SetLogoSpaceActive(bool active) {
    if (SpaceManager* spaces = SpaceManager::Instance())
        spaces->SetSpaceActive(Spaces::Logo, active);
}

// The pictures are drawn for a view 800 units wide; the sky behind them
// fills any window, and in one narrower than 4:3 they shrink to its width
// rather than lose their sides.
float FitToView() {
    int32_t width, height;
    GraphicsSystem::ScreenSize(width, height);
    return std::min(1.0f, 600.0f * static_cast<float>(width) / static_cast<float>(height) / 800.0f);
}

void RequestNextLevel() {
    if (Core* core = Core::Instance())
        core->RequestState(GameState::NextLevel);
}

} // namespace

LogoLogicComponent::LogoLogicComponent() : timers(TimerClock::Game) {}

void LogoLogicComponent::Initialize() {
    fadeTime = 2.0f;
    delay = 1.0f;
    switched = false;
    timers.Start("LogoTime");
    Join({Spaces::Game});
    Core::Broadcast(PlaySoundMessage("Bebop1", 1.0f, -1));
    SetLogoSpaceActive(true);
}

void LogoLogicComponent::Free() {
    LogicComponent::Free();
    SetLogoSpaceActive(false);
}

void LogoLogicComponent::Update(float) {
    if (!SpaceManager::Active(Spaces::Logo))
        return;
    GraphicsComponent* sprite = owner ? owner->Get<GraphicsComponent>() : nullptr;
    const float fit = FitToView();
    if (owner) {
        owner->xScale = fit;
        if (!switched && !done)
            owner->yScale = fit;
    }
    if (done) {
        // The controls card asks for a key, so it waits for one: a timer
        // would take it away before it has been read. Without a picture
        // there is nothing to read and the game starts on its own.
        if (!sprite) {
            timers.Start("LogicTimer");
            if (timers.GetTime("LogicTimer") > holdTime)
                RequestNextLevel();
        } else {
            sprite->Opacity = 1.0f;
            sprite->SetAnimation("XboxScreen", 2.0f, 0);
        }
        if (owner)
            owner->yScale = 2.5f * fit;
        return;
    }
    if (!sprite) {
        done = true;
        return;
    }
    const float t = timers.GetTime("LogoTime");
    if (!switched) {
        if (t < delay)
            return;
        const float u = t - delay;
        if (u <= fadeTime) {
            sprite->Opacity = (fadeTime - u) / fadeTime;
        } else {
            switched = true;
            timers.Reset("LogoTime");
            sprite->SetAnimation("TeamLogo", 2.0f, 0);
            owner->yScale = 2.5f * fit;
        }
        return;
    }
    if (t <= delay + fadeTime)
        sprite->Opacity = std::min(t, fadeTime) / fadeTime;
    else
        done = true;
}

bool LogoLogicComponent::IsSkipInput(const Message* message) const {
    const InputActions& actions = Core::Actions();
    if (const auto* pad = As<XboxTriggeredMessage>(message))
        return actions.IsPadButton(Action::Skip, pad->button);
    if (const auto* key = As<KeyReleasedMessage>(message))
        return actions.IsKey(Action::Skip, key->key);
    return As<MouseClickedMessage>(message) != nullptr;
}

void LogoLogicComponent::SendMessage(Message* message) {
    // The first pictures cannot be skipped before they have been seen.
    if (timers.GetTime("LogoTime") < fadeTime || !IsSkipInput(message))
        return;
    if (done)
        RequestNextLevel();
    else
        done = true;
}

void LogoLogicComponent::Serialize(ASerializer& s) {
    s.Begin("LogoLogicComponent");
    s.End("LogoLogicComponent");
}

} // namespace Flurr
