#include "world/SpaceManager.h"

namespace Flurr {

namespace {
int32_t nextSpaceId = 0;
} // namespace

SpaceManager::SpaceManager() {
    GetOrCreateSpace(Spaces::Game);
    GetOrCreateSpace(Spaces::LevelEditor);
    GetOrCreateSpace(Spaces::Pause);
    SetSpaceActive(Spaces::Game, true);
}

SpaceManager::~SpaceManager() {}

Space* SpaceManager::GetOrCreateSpace(const std::string& name) {
    if (Space* s = GetSpace(name))
        return s;
    auto space = std::make_unique<Space>();
    space->name = name;
    space->id = nextSpaceId++;
    Space* raw = space.get();
    spacesById[raw->id] = raw;
    spacesByName[name] = std::move(space);
    return raw;
}

Space* SpaceManager::GetSpace(const std::string& name) const {
    auto it = spacesByName.find(name);
    return it == spacesByName.end() ? nullptr : it->second.get();
}

void SpaceManager::SetSpaceActive(const std::string& name, bool active) {
    if (Space* s = GetSpace(name))
        s->active = active;
}

bool SpaceManager::IsSpaceActive(const std::string& name) const {
    Space* s = GetSpace(name);
    return s && s->active;
}

bool SpaceManager::Active(const std::string& name) {
    SpaceManager* spaces = Instance();
    return spaces && spaces->IsSpaceActive(name);
}

void SpaceManager::DestroySpace(const std::string& name) {
    auto it = spacesByName.find(name);
    if (it == spacesByName.end())
        return;
    spacesById.erase(it->second->id);
    spacesByName.erase(it);
}

void SpaceManager::ActivateOnlyGameSpace() {
    for (auto& [name, space] : spacesByName)
        space->active = false;
    SetSpaceActive(Spaces::Game, true);
}

void SpaceManager::Free() {
    spacesById.clear();
    spacesByName.clear();
}

} // namespace Flurr
