#pragma once
// What the core's loop needs from the chain of levels it plays: the world
// layer implements it (Route), so the engine knows nothing of route files,
// levels or the factory.

#include <string>

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
    // The entry being played (its route file); empty when the route has
    // no such names.
    virtual std::string Entry() const { return {}; }
    // The next Advance() goes to `entry` instead of the next in the chain
    // (a saved game's furthest entry).
    virtual void SkipTo(const std::string& entry) { (void)entry; }
};

} // namespace Flurr
