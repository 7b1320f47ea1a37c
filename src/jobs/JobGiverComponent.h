#pragma once
// JobGiverComponent: a townsperson who hands out jobs. It offers the first
// of its jobs whose prerequisites are done, shows an exclamation mark over
// its head from afar and the interaction prompt up close with the job's
// intro text, starts the job when the player interacts, shows the outro
// when the job is done, and shows the townsperson's marker on the map view.
//
// Driven by the JobSystem: Initialize() registers it; Update(dt) runs while
// the pause menu is closed; SendMessage receives the triggered keys and pad
// buttons (the Interact action); OnJobEvent hears every job start, end and
// failure.
//
// Owns four display objects (the mark, the prompt, the text band, the map
// marker), held by id: the factory may take them at a level change, and
// they are made again on the next update. Free() destroys all four.
//
// Key, inside "JobGiverComponent": "Jobs" (list of job names).

#include <cstdint>
#include <string>
#include <vector>

#include "engine/DrivenComponent.h"
#include "jobs/JobSystem.h"

namespace Flurr {

struct JobGiverComponentName {
    static constexpr const char* value = "JobGiverComponent";
};

enum class GiverState : int32_t {
    Offering = 0, // may offer a job
    Working = 1,  // one of its jobs is running
    Done = 2,     // one of its jobs was completed
    Waiting = 3,  // another giver's job is running
};

class JobGiverComponent
    : public DrivenComponent<JobGiverComponent, JobGiverComponentName, JobSystem> {
public:
    ~JobGiverComponent() override;

    void Initialize() override;
    void Update(float dt) override;
    void SendMessage(Message* message) override;
    void Free() override;
    void Serialize(ASerializer& serializer) override;

    void OnJobEvent(const JobEvent& event);
    // Not completed, and every prerequisite is a completed job of the map.
    static bool Available(JobSystem& system, const std::string& name);
    // The marker animation for a townsperson's own animation.
    static const char* MarkerAnimation(const std::string& ownerAnimation);

    std::vector<std::string> Jobs;
    // Display objects by id; -1 until made.
    int32_t bang = -1;
    int32_t prompt = -1;
    int32_t textBox = -1;
    int32_t marker = -1;
    float radius = 200.0f;
    bool interact = false;
    GiverState state = GiverState::Offering;

private:
    bool OwnsJob(const std::string& name) const;
    void MakeDisplayObjects();
    void DrawText(const std::string& text);
};

} // namespace Flurr
