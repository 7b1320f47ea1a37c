#include "jobs/LogicTree.h"

#include <cmath>
#include <cstdio>

#include "engine/Core.h"
#include "engine/Message.h"
#include "engine/Report.h"
#include "serialization/Serializer.h"

namespace Flurr {

namespace {

// Volume of a node's completion sound.
constexpr float kCompletionVolume = 0.7f;

constexpr float kOpenColour = 255.0f;    // an objective to do now
constexpr float kDoneColour = 127.0f;    // done
constexpr float kWaitingColour = 191.0f; // not open yet

const char* const kTypeNames[] = {"Sequence", "Collect", "Checkpoint", "ObjectRegion", "Special"};
const char* const kHideNames[] = {"DONTHIDE", "HIDEUNTILACTIVE", "HIDEUNTILCOMPLETE"};
const char* const kConditionNames[] = {"EMPTY", "EXCLUDE_NUMBER", "INCLUDE_NUMBER", "FULL"};

template <std::size_t N> int32_t NameIndex(const char* const (&names)[N], const std::string& text) {
    for (std::size_t i = 0; i < N; ++i)
        if (text == names[i])
            return static_cast<int32_t>(i);
    return -1;
}

bool IsEntityNode(const LogicNode& node) {
    return node.type == NodeType::Checkpoint || node.type == NodeType::ObjectRegion;
}

uint32_t Param(const LogicNode& node, std::size_t which) {
    return which < node.params.size() ? node.params[which] : 0u;
}

void AddTargets(const LogicNode& node, TargetList& targets) {
    if (node.type == NodeType::Checkpoint) {
        targets.Add(node.id, node.ravenGuide);
    } else if (node.type == NodeType::ObjectRegion) {
        targets.Add(node.id, node.ravenGuide);
        targets.Add(Param(node, LogicNode::ObjectId), node.ravenGuide);
    }
}

// ---------------------------------------------------------------------------
// Reading the bank

// The file loader, able to say on which line a key stands, for warnings.
class BankLoader : public ALoader {
public:
    explicit BankLoader(const std::string& path) : ALoader(path) {}
    int32_t LineOf(std::string_view key) {
        if (!ok || !current)
            return 0;
        if (const Element* e = current->FirstRemaining(key))
            return e->line;
        return current->line;
    }
};

struct NodeReader {
    BankLoader& s;
    LogicTree& tree;
    const std::string& jobName;

    void Warning(int32_t line, const std::string& text) const {
        Warn(s.DisplayName() + ":" + std::to_string(line) + ": job \"" + jobName + "\": " + text);
    }

    // The keys of one node, at the loader's current element.
    void Fields(LogicNode& node) {
        std::string type;
        const int32_t typeLine = s.LineOf("Type");
        s.StringField("Type", type);
        const int32_t typeIndex = NameIndex(kTypeNames, type);
        if (typeIndex >= 0)
            node.type = static_cast<NodeType>(typeIndex);
        else
            Warning(typeLine, "node type \"" + type +
                                  "\" is not one of Sequence, Collect, "
                                  "Checkpoint, ObjectRegion, Special; reading it as a Sequence");
        s.StringField("Description", node.description);
        s.BoolField("Counter", node.counter);
        std::string hide = "DONTHIDE";
        s.StringField("Hide", hide);
        const int32_t hideIndex = NameIndex(kHideNames, hide);
        node.hide = hideIndex >= 0 ? static_cast<HideMode>(hideIndex) : HideMode::DontHide;
        s.BoolField("RavenGuide", node.ravenGuide);
        if (node.type == NodeType::Checkpoint || node.type == NodeType::ObjectRegion ||
            node.type == NodeType::Special)
            s.UnsignedField("ID", node.id);
        if (node.type == NodeType::ObjectRegion) {
            uint32_t objectId = kNoNodeId;
            uint32_t number = 0;
            std::string condition = "EMPTY";
            const int32_t line = s.LineOf("ObjectID");
            s.UnsignedField("ObjectID", objectId);
            s.StringField("Condition", condition);
            s.UnsignedField("Number", number);
            if (objectId == kNoNodeId)
                Warning(line, "ObjectRegion node without \"ObjectID\" counts no objects");
            const int32_t conditionIndex = NameIndex(kConditionNames, condition);
            node.params = {objectId,
                           static_cast<uint32_t>(conditionIndex >= 0 ? conditionIndex : 0), number,
                           0u};
        }
        if (s.Begin("Timer")) {
            node.hasTimer = true;
            std::string mode = "COUNTDOWN";
            s.StringField("Mode", mode);
            node.timerMode = mode == "COUNTUP" ? TimerMode::Countup : TimerMode::Countdown;
            node.time = 60;
            s.UnsignedField("Time", node.time);
        }
        s.End("Timer");
        node.timerValue =
            node.timerMode == TimerMode::Countdown ? static_cast<float>(node.time) : 0.0f;
        s.StringField("CompletionSound", node.completionSound);
    }

    // Every "Node" block below the current element, appended in file order.
    void Children(LogicNode& parent) {
        while (s.HasChild("Node")) {
            if (!s.Begin("Node"))
                break;
            LogicNode child;
            child.tree = &tree;
            child.parentIndex = parent.index;
            Fields(child);
            parent.children.push_back(std::move(child));
            Children(parent.children.back());
            s.End("Node");
        }
    }
};

void ReadJob(BankLoader& s, JobMap& jobs) {
    std::string name;
    std::vector<std::string> preReqs;
    std::string intro, outro;
    const int32_t line = s.LineOf("Name");
    s.StringField("Name", name);
    s.StringList("PreReqJobs", preReqs);
    s.StringField("IntroText", intro);
    s.StringField("OutroText", outro);
    Job& job = jobs[name];
    job.completed = false;
    job.name = name;
    job.preReqJobs = preReqs;
    job.introText = intro;
    job.outroText = outro;

    LogicTree& tree = job.tree;
    NodeReader reader{s, tree, name};
    // A job whose tree is missing stays in the bank with an empty tree;
    // every failed Begin is balanced so that the next job is still read.
    if (s.Begin("LogicTree")) {
        if (s.Begin("Node")) {
            tree.root.tree = &tree;
            tree.root.index = 0;
            tree.root.parentIndex = -1;
            reader.Fields(tree.root);
            reader.Children(tree.root);
        } else {
            reader.Warning(line, "\"LogicTree\" holds no root \"Node\"; the job has no objectives");
        }
        s.End("Node");
    } else {
        reader.Warning(line, "no \"LogicTree\"; the job has no objectives");
    }
    s.End("LogicTree");
    tree.Rebuild();
}

} // namespace

void ReadJobBank(const std::string& path, JobMap& jobs) {
    if (!HasDataExtension(path)) {
        Warn(path + ": a job bank must be a .zorvel file");
        return;
    }
    BankLoader s(path);
    if (s.IsFileMissing())
        Warn(path + ": no job bank; there are no jobs");
    if (s.Begin("Root")) {
        while (s.Begin("Job")) {
            ReadJob(s, jobs);
            s.End("Job");
        }
        s.End("Job");
    }
    s.End("Root");
    s.Finish();
}

// ---------------------------------------------------------------------------
// Tree rules

void LogicTree::Rebuild() {
    allNodes.clear();
    List(root, -1);
}

void LogicTree::List(LogicNode& node, int32_t parentIndex) {
    node.index = static_cast<int32_t>(allNodes.size());
    node.parentIndex = parentIndex;
    node.tree = this;
    allNodes.push_back(&node);
    for (LogicNode& child : node.children)
        List(child, node.index);
}

void LogicTree::SetActive(LogicNode& node, bool active, TargetList& targets) {
    node.timerValue = static_cast<float>(node.time);
    node.complete = false;
    node.active = active;
    if (active)
        AddTargets(node, targets);
    bool first = true;
    for (LogicNode& child : node.children) {
        // A sequence opens its first step only.
        const bool open = node.type == NodeType::Sequence ? active && first : active;
        SetActive(child, open, targets);
        first = false;
    }
}

void LogicTree::CollectTargets(const LogicNode& node, TargetList& targets) const {
    if (node.active)
        AddTargets(node, targets);
    for (const LogicNode& child : node.children)
        CollectTargets(child, targets);
}

std::vector<LogicNode*> LogicTree::FindActiveNodes(uint32_t id) {
    std::vector<LogicNode*> found;
    FindActive(root, id, found);
    return found;
}

void LogicTree::FindActive(LogicNode& node, uint32_t id, std::vector<LogicNode*>& found) {
    if (!node.active)
        return;
    if (node.id == id && IsEntityNode(node))
        found.push_back(&node);
    for (LogicNode& child : node.children)
        FindActive(child, id, found);
}

void LogicTree::CompleteNode(LogicNode& node) {
    node.active = false;
    node.complete = true;
    if (!node.completionSound.empty())
        Core::Broadcast(PlaySoundMessage(node.completionSound, kCompletionVolume, 0));
    if (node.parentIndex >= 0 && static_cast<std::size_t>(node.parentIndex) < allNodes.size())
        ChildCompleted(*allNodes[static_cast<std::size_t>(node.parentIndex)]);
}

void LogicTree::ChildCompleted(LogicNode& parent) {
    std::size_t done = 0;
    for (LogicNode& child : parent.children) {
        if (child.complete) {
            ++done;
        } else if (parent.type == NodeType::Sequence) {
            if (!child.active) {
                child.active = true;
                ActivateChildren(child);
            }
            break;
        }
    }
    if (done == parent.children.size())
        CompleteNode(parent);
}

void LogicTree::ActivateChildren(LogicNode& node) {
    for (LogicNode& child : node.children) {
        child.active = true;
        ActivateChildren(child);
        if (node.type == NodeType::Sequence)
            break;
    }
}

void LogicTree::CompleteSpecialNodes(LogicNode& node, uint32_t id) {
    if (node.active && node.type == NodeType::Special && node.id == id)
        CompleteNode(node);
    for (LogicNode& child : node.children)
        CompleteSpecialNodes(child, id);
}

void LogicTree::SetSpecialDescription(LogicNode& node, uint32_t id, const std::string& text) {
    if (node.active && node.type == NodeType::Special && node.id == id)
        node.description = text;
    for (LogicNode& child : node.children)
        SetSpecialDescription(child, id, text);
}

bool LogicTree::TickTimers(LogicNode& node, float dt) {
    bool failed = false;
    if (node.active && node.hasTimer) {
        if (node.timerMode == TimerMode::Countdown) {
            node.timerValue -= dt;
            failed = node.timerValue <= 0.0f;
        } else {
            node.timerValue += dt;
        }
    }
    for (LogicNode& child : node.children)
        failed = TickTimers(child, dt) || failed;
    return failed;
}

bool LogicTree::ReportRegionCount(uint32_t id, uint32_t inside, uint32_t outside,
                                  uint32_t& objectId) {
    const std::vector<LogicNode*> found = FindActiveNodes(id);
    if (found.empty())
        return false;
    LogicNode& node = *found.front();
    if (node.params.size() < 4)
        return false;
    const auto condition = static_cast<RegionCondition>(node.params[LogicNode::Condition]);
    const uint32_t number = node.params[LogicNode::Number];
    bool met = false;
    switch (condition) {
    case RegionCondition::Empty:
        node.params[LogicNode::LastCount] = inside;
        met = inside == 0;
        break;
    case RegionCondition::IncludeNumber:
        node.params[LogicNode::LastCount] = inside;
        met = inside == number;
        break;
    case RegionCondition::ExcludeNumber:
        node.params[LogicNode::LastCount] = outside;
        met = outside == number;
        break;
    case RegionCondition::Full:
        node.params[LogicNode::LastCount] = outside;
        met = outside == 0;
        break;
    }
    objectId = node.params[LogicNode::ObjectId];
    return met;
}

void LogicTree::BuildObjectiveLines(const LogicNode& node, int32_t depth,
                                    std::vector<ObjectiveLine>& lines) const {
    int32_t childDepth = depth;
    if (!node.description.empty()) {
        char text[64];
        std::string counterText;
        if (node.counter) {
            if (node.type == NodeType::ObjectRegion) {
                std::snprintf(text, sizeof text, "(Objects: %u)",
                              Param(node, LogicNode::LastCount));
            } else {
                std::size_t done = 0;
                for (const LogicNode& child : node.children)
                    done += child.complete ? 1 : 0;
                std::snprintf(text, sizeof text, " (%zu/%zu)", done, node.children.size());
            }
            counterText = text;
        }
        std::string timerText;
        if (node.hasTimer) {
            // Whole seconds; a count-up left running for ages still prints.
            const double seconds = std::fmin(std::fmax(std::trunc(node.timerValue), -1e9), 1e9);
            const auto whole = static_cast<long long>(seconds);
            std::snprintf(text, sizeof text, " - %2lld:%02lld", whole / 60, whole % 60);
            timerText = text;
        }
        ObjectiveLine line;
        line.depth = depth;
        line.alpha = kOpenColour;
        float colour = 0.0f;
        if (node.complete && node.counter) {
            line.text = node.description + counterText + timerText;
            colour = kDoneColour;
        } else if (node.complete) {
            line.text = node.description + timerText + " (Completed)";
            colour = kDoneColour;
        } else if (node.active && node.hide != HideMode::HideUntilComplete) {
            line.text = node.description + counterText + timerText;
            colour = kOpenColour;
        } else if (node.hide == HideMode::DontHide) {
            line.text = node.description + counterText + timerText;
            colour = kWaitingColour;
        }
        if (colour > 0.0f) {
            line.red = line.green = line.blue = colour;
            lines.push_back(std::move(line));
            childDepth = depth + 1;
        }
    }
    for (const LogicNode& child : node.children)
        BuildObjectiveLines(child, childDepth, lines);
}

} // namespace Flurr
