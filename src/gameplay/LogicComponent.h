#pragma once
// Base of the gameplay components the LogicSystem drives: Initialize()
// joins the system's list for "GameSpace" (a class may Join() further
// spaces instead), Free() leaves it. Free() is safe twice and after the
// LogicSystem is gone.

#include "engine/DrivenComponent.h"
#include "gameplay/LogicSystem.h"
#include "world/SpaceManager.h"

namespace Flurr {

template <typename ComponentClass, typename ComponentName>
class LogicComponent : public DrivenComponent<ComponentClass, ComponentName, LogicSystem> {
public:
    void Initialize() override { this->Join({Spaces::Game}); }
    void Free() override { this->Leave(); }
};

} // namespace Flurr
