#include "gameplay/LogicSystem.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_set>

#include "engine/Component.h"
#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "engine/Random.h"
#include "gameplay/DeliveryNode.h"
#include "gameplay/LogoLogicComponent.h"
#include "gameplay/Triggers.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "physics/PhysicsComponent.h"
#include "physics/RigidBody.h"
#include "player/PlayerComponent.h"
#include "player/PlayerController.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

LogicSystem* instance = nullptr;

bool SpaceActive(const std::string& name) {
    SpaceManager* spaces = SpaceManager::Instance();
    return spaces && spaces->IsSpaceActive(name);
}

void Send(Message&& message) {
    if (Core* core = Core::Instance())
        core->SendMessage(&message);
}

GameObject* PlayerObject() {
    PlayerController* controller = PlayerController::Instance();
    PlayerComponent* player = controller ? controller->Player() : nullptr;
    return player ? player->owner : nullptr;
}

} // namespace

bool PlayerPosition(Vec2& position) {
    GameObject* player = PlayerObject();
    if (!player)
        return false;
    position = Vec2(player->x, player->y);
    return true;
}

bool TouchingPlayer(const GameObject* object) {
    GameObject* player = PlayerObject();
    if (!object || !player)
        return false;
    const PhysicsComponent* mine = object->Get<PhysicsComponent>();
    const PhysicsComponent* theirs = player->Get<PhysicsComponent>();
    if (!mine || !theirs || !mine->body || !theirs->body)
        return false;
    return mine->body->Touched(theirs->body);
}

void ScreenPixels(int32_t& width, int32_t& height) {
    width = 800;
    height = 600;
    if (GraphicsSystem* graphics = GraphicsSystem::Instance()) {
        if (graphics->BackBufferWidth() > 0 && graphics->BackBufferHeight() > 0) {
            width = graphics->BackBufferWidth();
            height = graphics->BackBufferHeight();
        }
    }
}

GameObject* MakeSpriteObject(float x, float y, float width, float height,
                             const std::string& animation) {
    Factory* factory = Factory::Instance();
    if (!factory)
        return nullptr;
    GameObject* object = factory->CreateGameObject();
    object->x = x;
    object->y = y;
    object->xScale = width;
    object->yScale = height;
    object->savedWithLevel = false;
    auto* sprite = static_cast<GraphicsComponent*>(CreateComponent("GraphicsComponent"));
    if (sprite) {
        sprite->owner = object;
        object->components.push_back(sprite);
        sprite->Initialize();
        sprite->SetAnimation(animation, 1.0f, AnimationFlag::Loop);
    }
    return object;
}

LogicSystem* LogicSystem::Instance() {
    return instance;
}

LogicSystem::LogicSystem() {
    instance = this;
}

LogicSystem::~LogicSystem() {
    if (instance == this)
        instance = nullptr;
}

void LogicSystem::Initialize() {
    if (SpaceManager* spaces = SpaceManager::Instance()) {
        spaces->GetOrCreateSpace("LogoSpace");
        spaces->SetSpaceActive("LogoSpace", false);
    }
    if (Core* core = Core::Instance())
        for (int32_t id :
             {MessageId::KeyReleased, MessageId::MouseMoved, MessageId::MouseClicked,
              MessageId::LogicSignal, MessageId::RotatorTrigger, MessageId::XboxTriggered})
            core->RegisterForMessage(this, id);
    // The cloud machine, the cloud, the meter, the cursor and the raven
    // take their places in this order when they arrive.
    Flurr::RegisterComponent<DeliveryNode>();
    Flurr::RegisterComponent<BasicTrigger>();
    Flurr::RegisterComponent<PostProcessTrigger>();
    Flurr::RegisterComponent<LogoLogicComponent>();
    Flurr::RegisterComponent<Rotator>();
    Flurr::RegisterComponent<TextTrigger>();
}

template <typename F> void LogicSystem::ForEachActive(F&& f) {
    std::unordered_set<Component*> done;
    for (auto& [space, list] : spaceComponents) {
        if (!SpaceActive(space))
            continue;
        list.ForEach([&](Component* component) {
            if (done.insert(component).second)
                f(component);
        });
    }
}

void LogicSystem::SendMessage(Message* message) {
    ForEachActive([message](Component* component) { component->SendMessage(message); });
}

void LogicSystem::Update(float dt) {
    ForEachActive([dt](Component* component) { component->Update(dt); });
    if (SpaceActive("GameSpace") && !deliveryNodes.empty())
        RunRace(dt);
}

void LogicSystem::RegisterComponent(Component* component, const std::string& space) {
    if (!component)
        return;
    spaceComponents[space].Add(component);
    if (component->GetName() == DeliveryNode::Name()) {
        auto* node = static_cast<DeliveryNode*>(component);
        // The first point of a level starts a new race.
        if (deliveryNodes.empty())
            ResetRace();
        if (std::find(deliveryNodes.begin(), deliveryNodes.end(), node) == deliveryNodes.end())
            deliveryNodes.push_back(node);
    }
}

void LogicSystem::UnregisterComponent(Component* component) {
    if (component && component == target)
        target = nullptr;
    for (auto& [space, list] : spaceComponents)
        list.Remove(component);
}

void LogicSystem::RemoveDeliveryNode(DeliveryNode* node) {
    if (node == target)
        target = nullptr;
    auto it = std::find(deliveryNodes.begin(), deliveryNodes.end(), node);
    if (it != deliveryNodes.end())
        deliveryNodes.erase(it);
}

// Lists are emptied rather than erased: a walk under way may hold one.
void LogicSystem::FreeSpace(const std::string& space) {
    auto it = spaceComponents.find(space);
    if (it != spaceComponents.end())
        it->second.Clear();
}

void LogicSystem::Free() {
    ResetRace();
    target = nullptr;
    for (auto& [space, list] : spaceComponents)
        list.Clear();
    deliveryNodes.clear();
}

void LogicSystem::ResetRace() {
    timeLeft = kRaceTime;
    score = 0.0f;
    deliveries = 0;
}

void LogicSystem::ChooseTarget() {
    Vec2 player;
    // Nothing to measure the points against without a player: wait for one.
    if (deliveryNodes.empty() || !PlayerPosition(player))
        return;
    DeliveryNode* node = deliveryNodes[static_cast<std::size_t>(Random()) % deliveryNodes.size()];
    target = node;
    node->Activate();
    const GameObject* at = node->owner;
    node->distance = at ? std::hypot(player.x - at->x, player.y - at->y) : 0.0f;
}

void LogicSystem::DrawRaceText(const char* text, int32_t left, int32_t top) {
    Send(
        DrawTextMessage(text, left, top, "DebugText", 0.0f, 0.0f, 0.0f, 255.0f, false, 9999, 9999));
}

void LogicSystem::RunRace(float dt) {
    char line[64];
    timeLeft -= dt;
    if (timeLeft > 0.0f) {
        if (!target)
            ChooseTarget();
        std::snprintf(line, sizeof line, "Time Left: %.2fs", static_cast<double>(timeLeft));
        DrawRaceText(line, 50, 464);
        std::snprintf(line, sizeof line, "Score: %d", static_cast<int32_t>(score));
        DrawRaceText(line, 50, 500);
        std::snprintf(line, sizeof line, "Deliveries Completed: %d", deliveries);
        DrawRaceText(line, 50, 536);
        return;
    }
    if (!timeUp) {
        timeUp = true;
        Send(StopAllSoundsMessage());
        Send(PlaySoundMessage("Race", 0.7f, -1));
    }
    if (timeLeft < -kResultsTime) {
        if (Core* core = Core::Instance())
            core->requestedState = NextLevel;
        Send(StopAllSoundsMessage());
        Send(PlaySoundMessage("Bebop1", 0.7f, -1));
    }
    DrawRaceText("Time's up!", 350, 264);
    std::snprintf(line, sizeof line, "Final Score: %d", static_cast<int32_t>(score));
    DrawRaceText(line, 350, 300);
    std::snprintf(line, sizeof line, "Total Deliveries Completed: %d", deliveries);
    DrawRaceText(line, 350, 336);
}

void LogicSystem::DeliveryMade() {
    if (!target)
        return;
    if (timeLeft > 0.0f)
        score += target->distance;
    DeliveryNode* done = target;
    target = nullptr;
    done->Deactivate();
    if (timeLeft > 0.0f)
        ++deliveries;
}

} // namespace Flurr
