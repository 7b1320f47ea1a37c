// What the game's loop does between frames when a level asked to change:
// every system hears of it, the level goes, the route moves on and the next
// one loads. Tests that play across levels in-process call it after each
// frame.
#pragma once

#include "engine/Core.h"
#include "engine/GameSystem.h"
#include "world/Factory.h"

namespace TestGame {

inline void FollowLevelChange(Flurr::Core& core, Flurr::Factory& factory) {
    if (core.CurrentState() == core.RequestedState())
        return;
    for (Flurr::IGameSystem* system : core.Systems())
        system->BeforeLevel();
    factory.Free();
    core.Route()->Advance();
    core.Route()->Load();
    core.BeginLevel();
}

} // namespace TestGame
