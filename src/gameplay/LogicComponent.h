#pragma once
// Base of the gameplay components the LogicSystem drives: Initialize()
// registers the component for "GameSpace" (and any further spaces a class
// names), Free() unregisters it. Free() is safe twice and after the
// LogicSystem is gone.

#include <initializer_list>
#include <string>

#include "engine/Component.h"
#include "gameplay/LogicSystem.h"
#include "world/SpaceManager.h"

namespace Flurr {

template <typename ComponentClass, typename ComponentName>
class LogicComponent : public ComponentBase<ComponentClass, ComponentName> {
public:
    ~LogicComponent() override { Unregister(); }
    void Initialize() override { Register({Spaces::Game}); }
    void Free() override { Unregister(); }

protected:
    void Register(std::initializer_list<const char*> spaces) {
        if (registered)
            return;
        if (LogicSystem* logic = LogicSystem::Instance()) {
            for (const char* space : spaces)
                logic->RegisterComponent(this, space);
            registered = true;
        }
    }
    void Unregister() {
        if (!registered)
            return;
        registered = false;
        if (LogicSystem* logic = LogicSystem::Instance())
            logic->UnregisterComponent(this);
    }

private:
    bool registered = false;
};

} // namespace Flurr
