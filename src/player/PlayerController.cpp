#include "player/PlayerController.h"

#include <unordered_set>

#include "engine/Core.h"
#include "engine/Message.h"
#include "player/PlayerComponent.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {
PlayerController* instance = nullptr;
}

PlayerController* PlayerController::Instance() {
    return instance;
}

PlayerController::PlayerController() {
    instance = this;
    RegisterComponent<PlayerComponent>();
}

PlayerController::~PlayerController() {
    if (instance == this)
        instance = nullptr;
}

void PlayerController::Initialize() {
    Core* core = Core::Instance();
    if (!core)
        return;
    for (int32_t id :
         {MessageId::KeyPressed, MessageId::KeyReleased, MessageId::KeyTriggered,
          MessageId::MouseClicked, MessageId::MousePressed, MessageId::MouseReleased,
          MessageId::MouseMoved, MessageId::XboxRThumbMoved, MessageId::XboxLThumbMoved,
          MessageId::XboxTriggerMoved, MessageId::XboxPressed, MessageId::XboxTriggered,
          MessageId::XboxReleased, MessageId::SetCamera, MessageId::MoveCamera})
        core->RegisterForMessage(this, id);
}

template <typename F> void PlayerController::ForEachActive(F&& f) {
    SpaceManager* manager = SpaceManager::Instance();
    std::unordered_set<PlayerComponent*> done;
    for (auto& [name, list] : spaces) {
        if (!manager || !manager->IsSpaceActive(name))
            continue;
        list.ForEach([&](PlayerComponent* component) {
            if (done.insert(component).second)
                f(component);
        });
    }
}

void PlayerController::SendMessage(Message* message) {
    if (message->id == MessageId::SetCamera)
        cameraZoom = static_cast<SetCameraMessage*>(message)->zoom;
    else if (message->id == MessageId::MoveCamera)
        cameraZoom += static_cast<MoveCameraMessage*>(message)->dzoom;
    ForEachActive([message](PlayerComponent* component) { component->SendMessage(message); });
}

void PlayerController::Update(float dt) {
    ForEachActive([dt](PlayerComponent* component) { component->Update(dt); });
}

void PlayerController::AddComponent(PlayerComponent* component, const std::string& space) {
    spaces[space].Add(component);
}

void PlayerController::RemoveComponent(PlayerComponent* component) {
    for (auto& [name, list] : spaces)
        list.Remove(component);
}

PlayerComponent* PlayerController::Player() const {
    for (const auto& [name, list] : spaces)
        if (!list.Empty())
            return list.Items().front();
    return nullptr;
}

// Lists are emptied rather than erased: a walk under way may still hold one.
void PlayerController::FreeSpace(const std::string& space) {
    auto it = spaces.find(space);
    if (it != spaces.end())
        it->second.Clear();
}

void PlayerController::Free() {
    for (auto& [name, list] : spaces)
        list.Clear();
}

} // namespace Flurr
