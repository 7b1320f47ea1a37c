#include "gameplay/LogicSystem.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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

LogicSystem::LogicSystem() {}

LogicSystem::~LogicSystem() {}

void LogicSystem::Initialize() {
    if (SpaceManager* spaces = SpaceManager::Instance()) {
        spaces->GetOrCreateSpace(Spaces::Logo);
        spaces->SetSpaceActive(Spaces::Logo, false);
    }
    if (Core* core = Core::Instance())
        for (int32_t id :
             {MessageId::KeyReleased, MessageId::MouseMoved, MessageId::MouseClicked,
              MessageId::LogicSignal, MessageId::RotatorTrigger, MessageId::XboxTriggered})
            core->RegisterForMessage(this, id);
}

void LogicSystem::SendMessage(Message* message) {
    spaceComponents.ForEachActive(
        [message](Component* component) { component->SendMessage(message); });
}

void LogicSystem::Update(float dt) {
    spaceComponents.ForEachActive([dt](Component* component) { component->Update(dt); });
    if (SpaceManager::Active(Spaces::Game) && !deliveryNodes.empty())
        RunRace(dt);
}

void LogicSystem::RegisterComponent(Component* component, const std::string& space) {
    if (!component)
        return;
    spaceComponents.Add(component, space);
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
    spaceComponents.Remove(component);
    auto node = std::find(deliveryNodes.begin(), deliveryNodes.end(), component);
    if (node != deliveryNodes.end())
        deliveryNodes.erase(node);
}

void LogicSystem::FreeSpace(const std::string& space) {
    spaceComponents.Clear(space);
}

void LogicSystem::Free() {
    ResetRace();
    target = nullptr;
    spaceComponents.ClearAll();
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
    DrawTextMessage m;
    m.text = text;
    m.left = left;
    m.top = top;
    m.font = "DebugText";
    Core::Broadcast(m);
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
        Core::Broadcast(StopAllSoundsMessage());
        Core::Broadcast(PlaySoundMessage("Race", 0.7f, -1));
    }
    if (timeLeft < -kResultsTime) {
        if (Core* core = Core::Instance())
            core->RequestState(GameState::NextLevel);
        Core::Broadcast(StopAllSoundsMessage());
        Core::Broadcast(PlaySoundMessage("Bebop1", 0.7f, -1));
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
