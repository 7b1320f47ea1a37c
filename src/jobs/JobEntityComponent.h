#pragma once
// JobEntityComponent: a game object that takes part in a job: a checkpoint
// the player touches, a region that must hold some objects, or one of the
// objects such a region counts. It shows or hides its owner and makes it
// solid or not by where the job stands (the state bits below), reports its
// completion to the JobSystem and plays an effect when it completes.
//
// Driven by the JobSystem: Initialize() registers it, Update(dt) runs while
// the pause menu is closed, and only does something while the entity is a
// target of the running job. The JobSystem sets `activated` and calls
// ApplyState, Complete and Reset.
//
// Keys, inside "JobEntityComponent": "EntityID", "JobName",
// "PreActivationState", "ActivationAction", "PostCompletionAction", "Type"
// ("Checkpoint", "ObjectRegion" or "RegionObject"), "CompletionEffect".
//
// Reading the keys starts the entity afresh (not activated); writing them
// (a save, a copy) leaves its state alone. Free() is safe twice and after
// the JobSystem is gone.

#include <cstdint>
#include <string>

#include "engine/DrivenComponent.h"
#include "jobs/JobSystem.h"

namespace Flurr {

struct JobEntityComponentName {
    static constexpr const char* value = "JobEntityComponent";
};

enum class JobEntityType : int32_t {
    Checkpoint = 0,
    ObjectRegion = 1,
    RegionObject = 2,
    // Made by code and never given a type: does nothing.
    None = -1,
};

// State bits of PreActivationState, ActivationAction, PostCompletionAction.
namespace EntityState {
inline constexpr uint32_t Visible = 1; // sprite Opacity 1, else 0
inline constexpr uint32_t Solid = 2;   // body gravity -10 and not a ghost, else 0 and a ghost
} // namespace EntityState

class JobEntityComponent
    : public DrivenComponent<JobEntityComponent, JobEntityComponentName, JobSystem> {
public:
    static constexpr const char* kNoObjectsText = "ObjectRegion has no objects to listen for!";

    ~JobEntityComponent() override;

    void Initialize() override;
    void Update(float dt) override;
    void Free() override;
    void Serialize(ASerializer& serializer) override;

    // Shows the activation bits while activated, else the pre-activation bits.
    void ApplyState();
    void ApplyBits(uint32_t bits);
    void Complete();
    // Not completed and not activated: back to the pre-activation bits.
    void Reset();

    int32_t EntityID = -1;
    std::string JobName;
    JobEntityType Type = JobEntityType::None;
    uint32_t PreActivationState = 0;
    uint32_t ActivationAction = EntityState::Visible | EntityState::Solid;
    uint32_t PostCompletionAction = 0;
    std::string CompletionEffect;
    bool activated = false;
    bool completed = false;

private:
    void CountRegion();
};

} // namespace Flurr
