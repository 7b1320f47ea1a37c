#pragma once
// The Physics system: owns the rigid-body world and drives every
// PhysicsComponent.
//
// Driven by the Core once per frame, after the Factory. While "GameSpace"
// is active it updates the components (copying bodies into transforms),
// then steps the world by a fixed 0.016 s whatever the frame time, then
// draws the world's outlines when debug drawing is on. Otherwise nothing
// moves. Messages: KeyTriggeredMessage for F2 toggles debug drawing;
// DebugDrawMessage is passed to every component, which draws its outline.
//
// Owns: the world (bodies and force areas, made and removed by the
// components) and the collision bank, a map from set name to outline read
// from "Resources/Banks/CollisionBank.zorvel" at initialisation.
//
// Invariant: every registered component's body is in the world. When the
// system goes first (shutdown with objects left), the components are told
// to forget their bodies, so none ever reaches a deleted one.

#include <map>
#include <string>
#include <vector>

#include "engine/GameSystem.h"
#include "engine/InputCodes.h"
#include "engine/Vec2.h"
#include "physics/PhysicsWorld.h"
#include "world/SpaceLists.h"

namespace Flurr {

class PhysicsComponent;

struct PhysicsName {
    static constexpr const char* value = "Physics";
};

// The key that switches the outlines on and off.
inline constexpr uint8_t kDebugDrawKey = KeyCode::F2;

class Physics : public ISystem<Physics, PhysicsName> {
public:
    // `collisionBank`: the collision bank file read at Initialize (empty:
    // none).
    explicit Physics(std::string collisionBank = "");
    ~Physics() override;

    void SendMessage(Message* message) override;
    void Update(float dt) override;
    // Forgets every body and area; components still registered keep
    // working as if unloaded.
    void Free() override;
    void Initialize() override;
    void RegisterComponent(PhysicsComponent* component, const std::string& space);
    void UnregisterComponent(PhysicsComponent* component);

    // Reads a collision bank; a missing file leaves the bank empty.
    void LoadCollisionBank(const std::string& path);
    // The outline of that name in the bank, or null.
    const std::vector<Vec2>* FindCollisionSet(const std::string& name) const;

    PhysicsWorld world;
    std::map<std::string, std::vector<Vec2>> collisionBank;
    bool debugDraw = false;
    SpaceLists<PhysicsComponent> components;
    std::string bankPath;

private:
    void DetachComponents();
};

} // namespace Flurr
