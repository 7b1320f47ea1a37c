#include "gameplay/BirdSystem.h"

#include "engine/Core.h"
#include "engine/Message.h"
#include "engine/Random.h"
#include "gameplay/BirdComponent.h"
#include "gameplay/BirdPerch.h"

namespace Flurr {

void BirdSystem::Initialize() {
    if (Core* core = Core::Instance()) {
        core->RegisterForMessage(this, MessageId::PerchAlertPerch);
        core->RegisterForMessage(this, MessageId::PerchAlertPlayer);
    }
}

void BirdSystem::SendMessage(Message* message) {
    if (!As<PerchAlertMessage>(message))
        return;
    // A perch answers by raising the alarm itself, which comes back here
    // while this walk is under way: the walk is a snapshot, so the nested
    // one sees the same perches and a perch freed meanwhile is skipped.
    perches.ForEachAll([message](BirdPerch* perch) { perch->SendMessage(message); });
}

void BirdSystem::Update(float dt) {
    birdsBySpace.ForEachActive([dt](BirdComponent* bird) { bird->Update(dt); });
}

void BirdSystem::RegisterComponent(BirdComponent* bird, const std::string& space) {
    if (bird)
        birdsBySpace.Add(bird, space);
}

void BirdSystem::RegisterComponent(BirdPerch* perch, const std::string& space) {
    if (perch)
        perches.Add(perch, space);
}

void BirdSystem::UnregisterBird(BirdComponent* bird) {
    birdsBySpace.Remove(bird);
}

void BirdSystem::UnregisterPerch(BirdPerch* perch) {
    perches.Remove(perch);
}

BirdPerch* BirdSystem::FindFreePerch() {
    const std::vector<BirdPerch*> all = perches.Items();
    if (all.empty())
        return nullptr;
    const std::size_t count = all.size();
    std::size_t i = static_cast<std::size_t>(Random()) % count;
    for (std::size_t tried = 0; tried < count; ++tried) {
        i = (i + 1) % count;
        if (!all[i]->bird)
            return all[i];
    }
    return nullptr;
}

void BirdSystem::FreeSpace(const std::string& space) {
    birdsBySpace.Clear(space);
    perches.Clear(space);
}

void BirdSystem::Free() {
    birdsBySpace.ClearAll();
    perches.ClearAll();
}

} // namespace Flurr
