#pragma once
// The JobSystem runs the jobs townsfolk hand out. It owns the job map read
// from the job bank, knows which job is current, keeps the job givers and
// job entities of the level, turns their reports into changes of the
// current job's logic tree through one entry point (HandleJobEvent),
// completes or fails the job, cheers a completed job with a sound and
// confetti, and draws the objectives panel (a frame sliding down from the
// top of the screen listing the current job's objectives) with the small
// icon that invites the player to open it and blinks when there is news.
//
// Driven by the Core once per tick, right after the LogicSystem. Messages:
// a key or pad button triggered. The Objectives action toggles the panel;
// every such message then goes to the givers (the Interact action starts a
// job) and the entities. The key or pad decides which interaction prompt
// the givers show.
//
// Owns: the jobs. The givers and entities belong to their objects and
// register themselves. The panel frame, the icon and the confetti are held
// by id and made again when a level change took them; they belong to the
// running game, so a saved level leaves them out. While the system lives,
// every player update ends with the special jobs (PlayerJobs.h).
//
// Invariants: `jobActive` is 1 exactly while `currentJob` is not "NOJOB";
// `guideTargets` holds only registered entities.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/GameSystem.h"
#include "engine/Vec2.h"
#include "jobs/LogicTree.h"
#include "jobs/Progress.h"
#include "world/SpaceLists.h"

namespace Flurr {

class GameObject;
class JobEntityComponent;
class JobGiverComponent;
class PlayerComponent;

struct JobSystemName {
    static constexpr const char* value = "JobSystem";
};

inline constexpr const char* kNoJob = "NOJOB";

enum class JobEventKind : int32_t {
    Start = 0,
    EntityCompleted = 1,
    Completed = 2,
    Failed = 3,
    RegionCount = 4,
};

struct JobEvent {
    JobEventKind kind = JobEventKind::Start;
    std::string jobName;
    // EntityCompleted: [entity id]; RegionCount: [entity id, inside, not inside].
    std::vector<uint32_t> data;
};

class JobSystem : public ISystem<JobSystem, JobSystemName> {
public:
    // The panel's slide, in seconds: a full slide takes a quarter second.
    static constexpr float kSlideTime = 0.25f;

    explicit JobSystem(std::string jobBankPath);
    ~JobSystem() override;

    // Reads the job bank, registers for the input messages and hooks the
    // special jobs into the player's update.
    void Initialize() override;
    void SendMessage(Message* message) override;
    void Update(float dt) override;
    // Lets go of the givers and entities (their objects still own them).
    void Free() override;

    // Reads another bank into the job map (a job named again is updated).
    void LoadJobBank(const std::string& path);

    void RegisterGiver(JobGiverComponent* giver);
    void RegisterEntity(JobEntityComponent* entity);
    // Also forgets it as a raven target.
    void UnregisterEntity(JobEntityComponent* entity);
    // Restarts the trees of the giver's jobs.
    void UnregisterGiver(JobGiverComponent* giver);
    // For DrivenComponent: the components join under their space.
    void RegisterComponent(JobGiverComponent* giver, const std::string& space);
    void RegisterComponent(JobEntityComponent* entity, const std::string& space);
    void UnregisterComponent(JobGiverComponent* giver) { UnregisterGiver(giver); }
    void UnregisterComponent(JobEntityComponent* entity) { UnregisterEntity(entity); }

    // Keeps the player's progress in `file` (jobs/Progress.h): reads the
    // saved game now, writes after each job done and on reaching a level
    // with a player. Empty (tests, recordings): nothing is read or kept.
    void KeepProgressIn(const std::string& file);
    // There is a saved game to continue.
    bool CanContinue() const { return !saved.route.empty(); }
    // Puts the saved game back: its jobs done, its unlocks on every player
    // made from now on, and the route's next level its furthest entry.
    void ContinueGame();
    // Starts afresh: no job done, nothing unlocked by jobs. The saved game
    // stays on disk until this run keeps its own, and is then copied to
    // "Progress.zorvel.previous".
    void NewGame();
    const SavedProgress& Progress() const { return progress; }
    void HandleJobEvent(const JobEvent& event);
    void CompleteJob(Job& job);
    void FailJob(Job& job);
    void CompleteEntitiesById(uint32_t id);
    void CompleteSpecial(const std::string& jobName, uint32_t id);
    void SetSpecialDescription(const std::string& jobName, uint32_t id, const std::string& text);
    // The texts of the open objectives of the current job, in list order.
    std::vector<std::string> GetActiveObjectiveTexts();
    // Where the raven should fly: the last guide target within reach of
    // `point`; (0, 0) without one.
    Vec2 GuideTargetPosition(const Vec2& point) const;

    // The job of that name, made empty when the bank has none.
    Job& GetJob(const std::string& name) { return jobs[name]; }
    // The givers and entities in registration order.
    std::vector<JobGiverComponent*> Givers() const { return givers.Items(); }
    std::vector<JobEntityComponent*> Entities() const { return entities.Items(); }
    // True after pad input, false after keyboard input: which button the
    // givers' prompt shows.
    bool PadPrompt() const { return padPrompt; }
    // The objects of the panel, by id (-1 before they are first made).
    int32_t ObjectivesFrameId() const { return objectivesFrame; }
    int32_t ViewIconId() const { return viewIcon; }
    // The confetti effects' ids (0: none), in the order of kConfettiNames.
    const uint32_t* ConfettiIds() const { return confetti; }

    // Jobs counted as done once the bank is read (a run recorded from a
    // later job on), with what they unlock on every player made from then
    // on, as a continued game has; a name the bank lacks is warned of.
    std::vector<std::string> startDone;
    JobMap jobs;
    int32_t jobActive = 0;
    std::vector<JobEntityComponent*> guideTargets;
    std::string currentJob = kNoJob;
    bool objectivesOpen = false;
    float slide = 1.0f;
    bool newInfo = true;

private:
    void StartTree(Job& job);
    void RefreshTargets(Job& job);
    void ActivateEntities(const TargetList& targets);
    void UpdateJob(Job& job, float dt);
    void Celebrate();
    void MoveConfetti();
    void UpdatePanel(float dt, bool shown, float s, float scaleX, float scaleY);
    void DrawObjectives(bool shown, float s, float scaleX, float scaleY);

    // Every player made from now on starts with these unlocked, besides
    // what it had.
    static void StartWith(bool flight, bool dash);
    // Writes the run's progress, with the player's unlocks as they are.
    void KeepProgress();
    std::string jobBankPath;
    std::string progressFile;
    SavedProgress saved;
    SavedProgress progress;
    bool setAsideOnSave = false;
    SpaceLists<JobGiverComponent> givers;
    SpaceLists<JobEntityComponent> entities;
    uint32_t confetti[4] = {0, 0, 0, 0};
    int32_t objectivesFrame = -1;
    int32_t viewIcon = -1;
    bool padPrompt = false;
    // Givers or entities joined while a job was running (a level change).
    bool rejoin = false;
};

// Shared by the job components and the special jobs.
namespace JobWorld {
// The player's component, or null.
PlayerComponent* Player();
// Where the player is; false without one.
bool PlayerPosition(Vec2& position);
// The followed camera is the map view's: job timers stop, texts hide.
bool InMapOverview();
// The visible width in world units for the visible height of 600.
float ViewWidth();
// The object of that id, or null once it is gone.
GameObject* Find(int32_t id);
// Queues the object of that id for destruction, if it still exists.
void Destroy(int32_t id);
} // namespace JobWorld

} // namespace Flurr
