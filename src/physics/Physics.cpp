#include "physics/Physics.h"

#include "engine/Core.h"
#include "engine/Message.h"
#include "physics/PhysicsComponent.h"
#include "serialization/Serializer.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

void BroadcastDebugLine(float x1, float y1, float x2, float y2, float r, float g, float b) {
    Core* core = Core::Instance();
    if (!core)
        return;
    DebugSetColorMessage color(r, g, b, 255.0f);
    core->SendMessage(&color);
    DebugMoveToMessage move(x1, y1);
    core->SendMessage(&move);
    DebugLineToMessage there(x2, y2);
    core->SendMessage(&there);
    DebugLineToMessage back(x1, y1);
    core->SendMessage(&back);
}
} // namespace

Physics::Physics(std::string collisionBank) : bankPath(std::move(collisionBank)) {
    world.debugLine = BroadcastDebugLine;
    debugDraw = false;
}

Physics::~Physics() {
    DetachComponents();
    world.Clear();
}

void Physics::Initialize() {
    if (!bankPath.empty())
        LoadCollisionBank(bankPath);
    if (Core* core = Core::Instance()) {
        core->RegisterForMessage(this, MessageId::DebugDraw);
        core->RegisterForMessage(this, MessageId::KeyTriggered);
    }
}

void Physics::LoadCollisionBank(const std::string& path) {
    ALoader loader(path);
    loader.Begin("Root");
    while (loader.Begin("CollisionSet")) {
        std::string name;
        std::vector<Vec2> lines;
        loader.StringField("Name", name);
        loader.Vec2List("Lines", lines);
        collisionBank[name] = std::move(lines);
        loader.End("CollisionSet");
    }
    loader.End("CollisionSet");
    loader.End("Root");
}

const std::vector<Vec2>* Physics::FindCollisionSet(const std::string& name) const {
    auto it = collisionBank.find(name);
    return it == collisionBank.end() ? nullptr : &it->second;
}

void Physics::SendMessage(Message* message) {
    if (const auto* key = As<KeyTriggeredMessage>(message)) {
        // In the editor F2 is the editor's own outline view; toggling this
        // one too would leave it on, unasked, when play resumes.
        if (key->key == kDebugDrawKey && !SpaceManager::Active(Spaces::LevelEditor))
            debugDraw = !debugDraw;
    } else if (message->id == MessageId::DebugDraw) {
        components.ForEachAll([message](PhysicsComponent* c) { c->SendMessage(message); });
    }
}

void Physics::Update(float) {
    if (!SpaceManager::Active(Spaces::Game))
        return;
    components.ForEachAll([](PhysicsComponent* c) { c->Update(kPhysicsStep); });
    world.Step(kPhysicsStep);
    if (debugDraw)
        world.DrawDebug();
}

void Physics::RegisterComponent(PhysicsComponent* component, const std::string& space) {
    components.Add(component, space);
}

void Physics::UnregisterComponent(PhysicsComponent* component) {
    components.Remove(component);
}

void Physics::DetachComponents() {
    for (PhysicsComponent* c : components.Items())
        c->Detach();
    components.ClearAll();
}

void Physics::Free() {
    DetachComponents();
    world.Clear();
}

} // namespace Flurr
