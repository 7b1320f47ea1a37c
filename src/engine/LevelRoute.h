#pragma once
// What the core's loop needs from the chain of levels it plays: the world
// layer implements it (Route), so the engine knows nothing of route files,
// levels or the factory.

namespace Flurr {

class ILevelRoute {
public:
    virtual ~ILevelRoute() = default;
    // Before the first level: settle which entry is played first.
    virtual void Start() = 0;
    // Loads the current entry's level. A route that cannot be played at all
    // reports it and asks the core to quit.
    virtual void Load() = 0;
    // Moves on to the next entry (loaded by the next Load()).
    virtual void Advance() = 0;
    // True once the route could not be played at all.
    virtual bool Failed() const = 0;
};

} // namespace Flurr
