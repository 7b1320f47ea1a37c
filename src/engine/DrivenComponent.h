#pragma once
// Base of every component a system drives (updates, tells messages, draws,
// simulates). Join() puts the component on its system's lists for the
// spaces it lives in, once; Leave() takes it off again and is safe twice,
// after the system is gone, and from the destructor. When a system goes
// before its components (shutdown), it calls Detach() on each, so they
// never reach it again.
//
// The system is found through `System::Instance()` and must offer
// `RegisterComponent(ComponentClass*, const std::string& space)` and
// `UnregisterComponent(ComponentClass*)`, usually over a SpaceLists.

#include <initializer_list>
#include <string>

#include "engine/Component.h"

namespace Flurr {

template <typename ComponentClass, typename ComponentName, typename System>
class DrivenComponent : public ComponentBase<ComponentClass, ComponentName> {
public:
    ~DrivenComponent() override { Leave(); }

    // The system is going away first: forget it without calling it.
    void Detach() {
        joinedAs = nullptr;
        Detached();
    }
    bool Joined() const { return joinedAs != nullptr; }

protected:
    // True when the component is (now or already) on the system's lists;
    // false without a system.
    bool Join(std::initializer_list<const char*> spaces) {
        if (joinedAs)
            return true;
        System* system = System::Instance();
        if (!system)
            return false;
        // Kept, so that leaving from the base destructor needs no cast of
        // a half-destroyed object.
        joinedAs = static_cast<ComponentClass*>(this);
        for (const char* space : spaces)
            system->RegisterComponent(joinedAs, space);
        return true;
    }
    void Leave() {
        if (!joinedAs)
            return;
        ComponentClass* self = joinedAs;
        joinedAs = nullptr;
        if (System* system = System::Instance())
            system->UnregisterComponent(self);
    }
    // What else a component lets go of when its system goes first.
    virtual void Detached() {}

private:
    ComponentClass* joinedAs = nullptr;
};

} // namespace Flurr
