#pragma once
// Named spaces: layers such as the game world ("GameSpace"), the pause
// menu ("Pause") or the editor ("LevelEditor"), each with an active flag
// that systems consult before updating, drawing or reacting to what
// belongs to it. The SpaceManager owns them. Level changes only reset the
// flags: exactly "GameSpace" is active after every level start.
//
// First system created; it does nothing per frame.

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "engine/GameSystem.h"

namespace Flurr {

// The spaces the game uses. Name them through these: a misspelt literal
// would silently read as a space that is never active.
namespace Spaces {
inline constexpr const char* Game = "GameSpace";
inline constexpr const char* Pause = "Pause";
inline constexpr const char* LevelEditor = "LevelEditor";
// The level editor's collision outline editor, open inside it.
inline constexpr const char* PhysicsEditor = "PhysicsEditor";
inline constexpr const char* Logo = "LogoSpace";
inline constexpr const char* SaveDialog = "SaveDialog";
inline constexpr const char* Transition = "TransitionSpace";
} // namespace Spaces

struct Space {
    std::string name;
    int32_t id = 0;
    bool active = false;
};

struct SpaceManagerName {
    static constexpr const char* value = "SpaceManager";
};

class SpaceManager : public ISystem<SpaceManager, SpaceManagerName> {
public:
    SpaceManager();
    ~SpaceManager() override;

    // The space of that name, created (inactive, next id) if need be.
    Space* GetOrCreateSpace(const std::string& name);
    Space* GetSpace(const std::string& name) const;
    void SetSpaceActive(const std::string& name, bool active);
    bool IsSpaceActive(const std::string& name) const;
    // The same through the process's space manager; false without one.
    static bool Active(const std::string& name);
    void DestroySpace(const std::string& name);
    void ActivateOnlyGameSpace();

    void BeforeLevel() override { ActivateOnlyGameSpace(); }
    void Update(float) override {}
    void Free() override;

    std::map<std::string, std::unique_ptr<Space>> spacesByName;
    std::map<int32_t, Space*> spacesById;
};

} // namespace Flurr
