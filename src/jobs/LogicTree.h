#pragma once
// Jobs and their logic trees: what a job is (a name, the jobs that must be
// finished first, an intro and an outro text, a tree of objectives), how
// the job bank file is read, and every rule by which an objective opens,
// completes, or makes its job fail. The JobSystem owns the jobs and drives
// these rules from the reports of the level's job entities; nothing here
// knows about the level.
//
// A tree's nodes live by value inside their parents (the root inside its
// LogicTree); `allNodes` points at them in pre-order and is rebuilt after
// every read, so a tree must not be copied or moved once read (the
// JobSystem keeps its jobs in a std::map, whose entries never move).
//
// Timers count seconds of play; node ids tie a node to the job entities
// of the level ("Checkpoint", "ObjectRegion") or to special-job code
// ("Special").

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Flurr {

enum class NodeType : int32_t {
    Sequence = 0,
    Collect = 1,
    Checkpoint = 2,
    ObjectRegion = 3,
    Special = 4,
};

enum class HideMode : int32_t {
    DontHide = 0,
    HideUntilActive = 1,
    HideUntilComplete = 2,
};

enum class RegionCondition : uint32_t {
    Empty = 0,
    ExcludeNumber = 1,
    IncludeNumber = 2,
    Full = 3,
};

enum class TimerMode : int32_t {
    Countdown = 0,
    Countup = 1,
};

// Node ids and object ids not given in the data.
inline constexpr uint32_t kNoNodeId = 0xFFFFFFFFu;

class LogicTree;

struct LogicNode {
    // Entries of `params` of an ObjectRegion node.
    enum Param : std::size_t { ObjectId = 0, Condition = 1, Number = 2, LastCount = 3 };

    int32_t index = 0;
    LogicTree* tree = nullptr;
    int32_t parentIndex = -1;
    std::vector<LogicNode> children;
    NodeType type = NodeType::Sequence;
    std::string description;
    bool counter = false;
    HideMode hide = HideMode::DontHide;
    uint32_t id = kNoNodeId;
    bool active = false;
    bool complete = false;
    bool hasTimer = false;
    TimerMode timerMode = TimerMode::Countdown;
    // Seconds the timer starts from.
    uint32_t time = 60;
    // Seconds; counts down from `time`, or up from 0.
    float timerValue = 0.0f;
    std::string completionSound;
    bool ravenGuide = false;
    // ObjectRegion only: [object id, condition, number, last count].
    std::vector<uint32_t> params;
};

struct ObjectiveLine {
    std::string text;
    int32_t depth = 0;
    float red = 0.0f, green = 0.0f, blue = 0.0f, alpha = 0.0f; // 0-255
};

// Entity ids the open objectives name, each with whether the raven should
// guide the player to it.
struct TargetList {
    std::vector<uint32_t> ids;
    std::vector<bool> guides;
    void Add(uint32_t id, bool guide) {
        ids.push_back(id);
        guides.push_back(guide);
    }
};

class LogicTree {
public:
    LogicTree() = default;
    LogicTree(const LogicTree&) = delete;
    LogicTree& operator=(const LogicTree&) = delete;

    // Clears `allNodes` and lists the nodes again in pre-order, giving each
    // its index, its parent's index and this tree.
    void Rebuild();

    // Resets every timer and completion below `node`, opening or closing
    // the nodes as a fresh start does, and lists the entity targets of the
    // nodes that opened.
    void SetActive(LogicNode& node, bool active, TargetList& targets);
    // The entity targets of the open nodes, changing nothing.
    void CollectTargets(const LogicNode& node, TargetList& targets) const;
    // The open Checkpoint and ObjectRegion nodes with that id, reached
    // through open nodes only, in visiting order.
    std::vector<LogicNode*> FindActiveNodes(uint32_t id);
    // Marks the node done and lets its parent decide whether it is done too.
    void CompleteNode(LogicNode& node);
    void CompleteSpecialNodes(LogicNode& node, uint32_t id);
    void SetSpecialDescription(LogicNode& node, uint32_t id, const std::string& text);
    // Runs the open timers; true when a countdown ran out (the job fails).
    bool TickTimers(LogicNode& node, float dt);
    // A region's report: the first open node with `id` records the count
    // its condition looks at. True when the condition holds; `objectId`
    // then names the objects the region counts.
    bool ReportRegionCount(uint32_t id, uint32_t inside, uint32_t outside, uint32_t& objectId);
    // The objectives list from `node` down.
    void BuildObjectiveLines(const LogicNode& node, int32_t depth,
                             std::vector<ObjectiveLine>& lines) const;

    LogicNode root;
    std::vector<LogicNode*> allNodes;

private:
    void ChildCompleted(LogicNode& parent);
    void ActivateChildren(LogicNode& node);
    void FindActive(LogicNode& node, uint32_t id, std::vector<LogicNode*>& found);
    void List(LogicNode& node, int32_t parentIndex);
};

struct Job {
    std::string name;
    LogicTree tree;
    std::vector<std::string> preReqJobs;
    bool completed = false;
    std::string introText;
    std::string outroText;
};

using JobMap = std::map<std::string, Job>;

// Reads a job bank into `jobs`. A job named again updates its entry (and
// its root gains the children read again). Problems are warned of, with
// the file and line, and reading goes on with the next job.
void ReadJobBank(const std::string& path, JobMap& jobs);

} // namespace Flurr
