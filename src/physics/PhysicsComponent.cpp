#include "physics/PhysicsComponent.h"

#include <algorithm>
#include <memory>
#include <string>

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "physics/Physics.h"
#include "serialization/Serializer.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

// Reads every item of the list the loader has just entered, as text. No
// item text can hold a line feed, so it marks "nothing was read".
template <typename F> void ReadListItems(ASerializer& s, F&& take) {
    while (true) {
        std::string text = "\n";
        s.StringField("Value", text);
        if (text == "\n")
            return;
        take(text);
    }
}

} // namespace

PhysicsComponent::~PhysicsComponent() {
    Free();
}

void PhysicsComponent::Update(float) {
    if (!body || !owner)
        return;
    owner->x = body->position.x;
    owner->y = body->position.y;
    owner->rotation = body->angle;
}

void PhysicsComponent::SendMessage(Message* message) {
    if (const auto* command = As<CommandMessage>(message)) {
        if (command->command == "SetRot" && body && owner)
            body->angle = owner->rotation;
    } else if (message->id == MessageId::DebugDraw) {
        DrawOutline();
    }
}

void PhysicsComponent::DrawOutline() {
    Core* core = Core::Instance();
    if (!core || !owner)
        return;
    DebugSetColorMessage color(0.0f, 0.0f, 0.0f, 255.0f);
    core->SendMessage(&color);
    const Vec2 at(owner->x, owner->y);
    for (const std::vector<Vec2>& set : collisionSets) {
        if (set.size() < 2)
            continue;
        DebugMoveToMessage move(set[0].x + at.x, set[0].y + at.y);
        core->SendMessage(&move);
        for (const Vec2& point : set) {
            DebugLineToMessage line(point.x + at.x, point.y + at.y);
            core->SendMessage(&line);
        }
    }
}

void PhysicsComponent::Free() {
    Leave();
    ReleaseBody();
}

void PhysicsComponent::ReleaseBody() {
    Physics* physics = Physics::Instance();
    if (forceArea) {
        if (faBind)
            forceArea->boundBody = nullptr;
        if (physics)
            physics->world.RemoveForceArea(forceArea);
        forceArea = nullptr;
    }
    if (body) {
        if (physics)
            physics->world.RemoveBody(body);
        body = nullptr;
    }
}

void PhysicsComponent::Detached() {
    body = nullptr;
    forceArea = nullptr;
}

void PhysicsComponent::ReadCollisionSets(ASerializer& s) {
    collisionSets.clear();
    floorSets.clear();
    if (s.Begin("CollisionSets")) {
        while (s.Begin("CollisionSet")) {
            std::vector<Vec2> points;
            ReadListItems(s, [&](const std::string& t) {
                Vec2 point;
                if (!ParseVec2(t, point))
                    WarnNotAPoint(s.Where(), t);
                points.push_back(point);
            });
            collisionSets.push_back(std::move(points));
            s.End("CollisionSet");
        }
        s.End("CollisionSet");
        while (s.Begin("FloorSet")) {
            std::vector<bool> flags;
            ReadListItems(s, [&](const std::string& t) { flags.push_back(t == "true"); });
            floorSets.push_back(std::move(flags));
            s.End("FloorSet");
        }
        s.End("FloorSet");
    }
    s.End("CollisionSets");
    // Outlines edited without their flags (or flags lost by hand-editing)
    // read as "no floor here" rather than past the end of a list.
    if (floorSets.size() < collisionSets.size())
        floorSets.resize(collisionSets.size());
    for (std::size_t k = 0; k < collisionSets.size(); ++k)
        if (floorSets[k].size() < collisionSets[k].size())
            floorSets[k].resize(collisionSets[k].size(), false);
}

void PhysicsComponent::Serialize(ASerializer& s) {
    s.Begin("PhysicsComponent");
    if (s.IsSaving()) {
        s.Begin("CollisionSets");
        for (std::size_t k = 0; k < collisionSets.size(); ++k) {
            s.Vec2List("CollisionSet", collisionSets[k]);
            std::vector<bool> flags = k < floorSets.size() ? floorSets[k] : std::vector<bool>();
            s.BoolList("FloorSet", flags);
        }
        s.End("CollisionSets");
    } else {
        ReadCollisionSets(s);
    }
    s.FiniteFloatField("Density", density);
    s.BoolField("IsAFloor", isAFloor);
    s.BoolField("Ghost", ghost);
    s.BoolField("UseCustomGravity", useCustomGravity);
    s.FloatField("Gravity", gravity);
    s.Begin("ForceArea");
    s.FloatField("FADirX", faDirX);
    s.FloatField("FADirY", faDirY);
    s.FloatField("FAForce", faForce);
    s.FloatField("FATaper", faTaper);
    s.FloatField("FAQuadTaper", faQuadTaper);
    s.FloatField("FAAOE", faAOE);
    s.BoolField("FAHasForceArea", faHasForceArea);
    s.BoolField("FABind", faBind);
    s.End("ForceArea");
    s.End("PhysicsComponent");
    if (!s.IsSaving())
        BuildBody();
}

void PhysicsComponent::BuildBody() {
    ReleaseBody();
    Physics* physics = Physics::Instance();
    if (!physics || !owner)
        return;
    CollisionShape shape;
    for (const std::vector<Vec2>& set : collisionSets)
        shape.localPolygons.push_back(std::make_shared<const CollisionPolygon>(set));
    const Vec2 position(owner->x, owner->y);
    body = physics->world.CreateBody(position, density, shape);
    body->isFloor = isAFloor;
    body->isFloorForPlayer = isAFloor;
    body->ghost = ghost;
    if (useCustomGravity)
        body->gravity = gravity;
    if (isAFloor)
        for (uint32_t k = 0; k < collisionSets.size(); ++k)
            for (uint32_t j = 0; j < collisionSets[k].size(); ++j)
                if (k < floorSets.size() && j < floorSets[k].size() && floorSets[k][j])
                    body->floorEdges.emplace_back(j, k);
    if (faHasForceArea)
        forceArea = physics->world.CreateForceArea(position, faForce, Vec2(faDirX, faDirY), faTaper,
                                                   faQuadTaper, faAOE, faBind ? body : nullptr);
    Join({Spaces::Game});
}

} // namespace Flurr
