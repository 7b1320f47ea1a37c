#pragma once
// Systems: the long-lived services of the engine, one instance per class,
// created at start-up and owned by the Core, which initialises them in
// creation order, updates them once per tick (1/60 s of game time) in that
// order, and frees and destroys them in reverse order at shutdown.
//
// A system hears messages only for the ids it registered for with
// Core::RegisterForMessage (usually in Initialize()); it passes them on to
// the components it drives.

#include <cstdint>
#include <string>

#include "engine/TypeId.h"

namespace Flurr {

class Message;

class IGameSystem {
public:
    IGameSystem() = default;
    IGameSystem(const IGameSystem&) = delete;
    IGameSystem& operator=(const IGameSystem&) = delete;
    virtual ~IGameSystem() = default;

    // A message of an id this system registered for.
    virtual void SendMessage(Message* message) { (void)message; }
    // One frame; dt in seconds.
    virtual void Update(float dt) = 0;
    // Drop everything held for one space. The core never calls it.
    virtual void FreeSpace(const std::string& space) { (void)space; }
    // Release all level state: the core calls it on the Factory at every
    // level change, and on every system just before destroying it.
    virtual void Free() {}
    // Called once, in creation order, after every system exists.
    virtual void Initialize() {}
    // Called by the core's loop before each level is loaded, in creation
    // order (the space manager makes the game world's space the only
    // active one).
    virtual void BeforeLevel() {}
    // Destroy the game objects this system owns outside the factory. The
    // core calls it on every system at shutdown, after the factory's
    // Free() and before any system is freed, so components never outlive
    // the systems they unregister from.
    virtual void ReleaseObjects() {}

    virtual int32_t GetTypeId() const = 0;
    virtual std::string GetName() const = 0;
};

// Between IGameSystem and each concrete system; `SystemName` is a tag type
// carrying the name: `struct FactoryName { static constexpr const char* value = "Factory"; };`
//
// It also supplies Instance(): the one live system of that class, or null
// (none made yet, or already destroyed). Components reach the system that
// drives them through it.
template <typename System, typename SystemName> class ISystem : public IGameSystem {
public:
    ISystem() { instance = this; }
    ~ISystem() override {
        if (instance == this)
            instance = nullptr;
    }
    // Converted on use, never while the system is still being built.
    static System* Instance() { return static_cast<System*>(instance); }
    static int32_t TypeId() { return ClassTypeId<System>(); }
    int32_t GetTypeId() const override { return TypeId(); }
    std::string GetName() const override { return SystemName::value; }

private:
    static inline ISystem* instance = nullptr;
};

} // namespace Flurr
