#include "gameplay/LogicSystem.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

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

void MakeGhost(GameObject* object) {
    if (PhysicsComponent* physics = object ? object->Get<PhysicsComponent>() : nullptr) {
        physics->ghost = true;
        if (physics->body)
            physics->body->ghost = true;
    }
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
    // The band shows only on a tick the race draws its lines.
    if (Factory* factory = Factory::Instance())
        if (GameObject* object = factory->FindObject(band))
            if (GraphicsComponent* sprite = object->Get<GraphicsComponent>())
                sprite->Opacity = 0.0f;
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
    band = -1;
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

RaceTextLayout LayOutRaceText(const int32_t (&widths)[3], int32_t lineHeight, int32_t left,
                              const int32_t (&tops)[3], int32_t width, int32_t height) {
    const float sx = static_cast<float>(width) / 800.0f;
    const float sy = static_cast<float>(height) / 600.0f;
    const int32_t pad = std::max(4, static_cast<int32_t>(6.0f * sy));
    const int32_t widest = std::max({widths[0], widths[1], widths[2], 0});
    int32_t x = static_cast<int32_t>(static_cast<float>(left) * sx);
    x = std::max(std::min(x, width - pad - widest), pad);
    int32_t y[3];
    for (int32_t i = 0; i < 3; ++i)
        y[i] = static_cast<int32_t>(static_cast<float>(tops[i]) * sy);
    // Up as far as the last line needs to stay on the screen.
    const int32_t over = std::max(y[2] + lineHeight + pad - height, 0);
    RaceTextLayout out;
    for (int32_t i = 0; i < 3; ++i) {
        y[i] = std::max(y[i] - over, pad);
        out.lines[i] = {x, y[i], std::min(x + widths[i], width - pad), y[i] + lineHeight};
    }
    out.band = {std::max(x - pad, 0), std::max(y[0] - pad, 0), std::min(x + widest + pad, width),
                std::min(y[2] + lineHeight + pad, height)};
    return out;
}

void LogicSystem::DrawRaceLines(const char* const (&lines)[3], int32_t left,
                                const int32_t (&tops)[3]) {
    int32_t width, height;
    GraphicsSystem::ScreenSize(width, height);
    GraphicsSystem* graphics = GraphicsSystem::Instance();
    int32_t widths[3];
    int32_t lineHeight = 0;
    for (int32_t i = 0; i < 3; ++i) {
        int32_t w = 0, h = 0;
        if (!graphics || !graphics->TextSize(lines[i], "DebugText", w, h)) {
            // Nothing to measure with: about what the font draws.
            h = std::max(std::min(height, width * 3 / 2) * 19 / 600, 1);
            w = static_cast<int32_t>(std::strlen(lines[i])) * h / 2;
        }
        widths[i] = w;
        lineHeight = std::max(lineHeight, h);
    }
    raceText = LayOutRaceText(widths, lineHeight, left, tops, width, height);
    ShowBand(raceText.band, width, height);
    for (int32_t i = 0; i < 3; ++i) {
        DrawTextMessage m;
        m.text = lines[i];
        m.left = raceText.lines[i].left;
        m.top = raceText.lines[i].top;
        // A pixel to spare: the wrap must never break a measured line.
        m.right = std::min(raceText.lines[i].right + 1, width);
        m.font = "DebugText";
        Core::Broadcast(m);
    }
}

void LogicSystem::ShowBand(const ScreenBox& box, int32_t width, int32_t height) {
    Factory* factory = Factory::Instance();
    if (!factory)
        return;
    GameObject* object = factory->FindObject(band);
    if (!object) {
        object = GraphicsComponent::MakeSpriteObject(0.0f, 0.0f, 1.0f, 1.0f, "LightBand");
        if (!object)
            return;
        band = object->id;
        if (GraphicsComponent* sprite = object->Get<GraphicsComponent>()) {
            sprite->screenSpace = true;
            sprite->ZPos = 0.0f;
        }
    }
    if (GraphicsComponent* sprite = object->Get<GraphicsComponent>())
        sprite->Opacity = 0.75f;
    // Screen space is 600 units tall whatever the window, origin in the
    // middle, y up.
    const float k = 600.0f / static_cast<float>(std::max(height, 1));
    object->x = (static_cast<float>(box.left + box.right) - static_cast<float>(width)) * 0.5f * k;
    object->y = (static_cast<float>(height) - static_cast<float>(box.top + box.bottom)) * 0.5f * k;
    object->width = std::max(static_cast<int32_t>(static_cast<float>(box.right - box.left) * k), 1);
    object->height =
        std::max(static_cast<int32_t>(static_cast<float>(box.bottom - box.top) * k), 1);
}

void LogicSystem::RunRace(float dt) {
    char timeLine[64], scoreLine[64], doneLine[64];
    timeLeft -= dt;
    if (timeLeft > 0.0f) {
        if (!target)
            ChooseTarget();
        std::snprintf(timeLine, sizeof timeLine, "Time Left: %.2fs", static_cast<double>(timeLeft));
        std::snprintf(scoreLine, sizeof scoreLine, "Score: %d", static_cast<int32_t>(score));
        std::snprintf(doneLine, sizeof doneLine, "Deliveries Completed: %d", deliveries);
        // At the top left: the bottom of the screen belongs to the hints'
        // band and the map's prompt, which the lines would cover.
        static constexpr int32_t kTop[3] = {30, 66, 102};
        DrawRaceLines({timeLine, scoreLine, doneLine}, 50, kTop);
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
    std::snprintf(scoreLine, sizeof scoreLine, "Final Score: %d", static_cast<int32_t>(score));
    std::snprintf(doneLine, sizeof doneLine, "Total Deliveries Completed: %d", deliveries);
    DrawRaceLines({"Time's up!", scoreLine, doneLine}, 350, {264, 300, 336});
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
