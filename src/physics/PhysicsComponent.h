#pragma once
// Makes a game object physical: reads its outlines and settings, builds a
// body (and optionally a force area) in the Physics system's world, and
// copies the body's position and angle back into the object's transform
// every frame (before the step, so the transform trails the body by one
// step).
//
// Keys, all inside "PhysicsComponent": "CollisionSets" holding one
// "CollisionSet" (points) and one "FloorSet" (one flag per edge, edge j
// running from vertex j - 1 to vertex j) per outline; "Density" (0:
// static); "IsAFloor"; "Ghost"; "UseCustomGravity" with "Gravity"; and a
// "ForceArea" node with "FAHasForceArea", "FABind", "FADirX", "FADirY",
// "FAForce", "FATaper", "FAQuadTaper", "FAAOE".
//
// Free() is safe to call twice and after the Physics system is gone.

#include <vector>

#include "engine/DrivenComponent.h"
#include "engine/Vec2.h"
#include "physics/Physics.h"

namespace Flurr {

struct RigidBody;
class AdvForceArea;

struct PhysicsComponentName {
    static constexpr const char* value = "PhysicsComponent";
};

class PhysicsComponent : public DrivenComponent<PhysicsComponent, PhysicsComponentName, Physics> {
public:
    ~PhysicsComponent() override;

    void Update(float dt) override;
    void SendMessage(Message* message) override;
    void Free() override;
    void Serialize(ASerializer& serializer) override;

    RigidBody* body = nullptr;         // owned by the world
    AdvForceArea* forceArea = nullptr; // owned by the world
    std::vector<std::vector<Vec2>> collisionSets;
    std::vector<std::vector<bool>> floorSets;
    float density = 0.0f;
    bool isAFloor = false;
    bool ghost = false;
    bool useCustomGravity = false;
    float gravity = -10.0f;
    float faForce = 0.0f;
    float faTaper = 0.0f;
    float faQuadTaper = 0.0f;
    float faAOE = 0.0f;
    bool faHasForceArea = false;
    bool faBind = false;
    float faDirX = 0.0f;
    float faDirY = 0.0f;

private:
    // The Physics system's world went before this component: forget the
    // body and area without touching them.
    void Detached() override;
    void ReadCollisionSets(ASerializer& serializer);
    void BuildBody();
    void ReleaseBody();
    void DrawOutline();
};

} // namespace Flurr
