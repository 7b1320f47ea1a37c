#pragma once
// The game with its jobs: the flat test ground and the player, a job bank
// written for the test, and the few animations the job system shows (the
// prompts, the panel) taken from the game's own pictures, so sprites can
// be checked by name.

#include <string>
#include <vector>

#include "graphics/ResourceBank.h"
#include "jobs/JobEntityComponent.h"
#include "jobs/JobGiverComponent.h"
#include "jobs/JobSystem.h"
#include "jobs/PlayerJobs.h"
#include "player/PlayerTestSupport.h"

namespace JobTest {

using EngineTest::LevelText;
using Lines = std::vector<std::string>;

// Bank text: a node with its keys (lines "Key:value\n") and children.
inline std::string Node(const std::string& type, const std::string& keys = "",
                        const std::string& children = "") {
    return "Node\nType:" + type + "\n" + keys + children + "-Node\n";
}
inline std::string JobText(const std::string& name, const std::string& root,
                           const std::string& more = "") {
    return "Job\nName:" + name + "\n" + more + "LogicTree\n" + root + "-LogicTree\n-Job\n";
}
inline std::string Bank(const std::string& jobs) {
    return "Root\n" + jobs + "-Root\n";
}
inline std::string List(const std::string& name, const std::vector<std::string>& items) {
    std::string text = "List#" + std::to_string(items.size()) + ":" + name + "\n";
    for (const std::string& item : items)
        text += item + "\n";
    return text + "-" + name + "\n";
}

// A job entity on a ghost box `size` wide and high at (x, y).
inline LevelText& Entity(LevelText& level, float x, float y, int id, const std::string& job,
                         const std::string& type, float size = 100.0f, LevelText::Keys more = {}) {
    more.insert(more.begin(), {{"EntityID", std::to_string(id)}, {"JobName", job}, {"Type", type}});
    return level.Object(x, y)
        .Box(size, size, LevelText::Ghost)
        .With("GraphicsComponent")
        .With("JobEntityComponent", more);
}
// A townsperson at (x, y) giving `jobs`.
inline LevelText& Giver(LevelText& level, float x, float y, const std::vector<std::string>& jobs) {
    // The list goes in as one raw key line.
    std::string list = List("Jobs", jobs);
    list = list.substr(list.find(':') + 1);
    list.pop_back();
    return level.Object(x, y).With("JobGiverComponent",
                                   {{"List#" + std::to_string(jobs.size()), list}});
}

class JobGame : public PlayerTest::PlayerGame {
public:
    JobGame(const std::string& bank, const std::string& objects, unsigned extras = 0)
        : PlayerGame(objects, extras) {
        jobSystem = Flurr::JobSystem::Instance();
        jobSystem->jobs.clear();
        jobSystem->LoadJobBank(dir.Write("JobBank.zorvel", bank));
        std::string animations = "Root\n";
        for (const char* name : {"KeyE", "XboxButtonX", "ViewObjectives", "ObjectivesFrame"})
            animations += std::string("Animation\nName:") + name +
                          "\nFrameTime:0\nList#1:ListAnimation\n"
                          "Resources/Images/Gameplay/Bang_00.png\n-ListAnimation\n-Animation\n";
        dir.Write("Animations/Jobs.zorvel", animations + "-Root\n");
        graphics->Bank()->LoadAnimationBank(dir.Path("Animations"));
    }

    void Start(const std::string& job) {
        jobSystem->HandleJobEvent({Flurr::JobEventKind::Start, job, {}});
    }
    // The entities with that entity id, in registration order.
    std::vector<Flurr::JobEntityComponent*> EntitiesWith(int id) const {
        std::vector<Flurr::JobEntityComponent*> out;
        for (Flurr::JobEntityComponent* e : jobSystem->Entities())
            if (e->EntityID == id)
                out.push_back(e);
        return out;
    }
    Flurr::JobEntityComponent* EntityWith(int id) const {
        std::vector<Flurr::JobEntityComponent*> all = EntitiesWith(id);
        return all.empty() ? nullptr : all.front();
    }
    Flurr::GraphicsComponent* Sprite(int32_t id) const {
        Flurr::GameObject* object = factory->FindObject(id);
        return object ? object->Get<Flurr::GraphicsComponent>() : nullptr;
    }
    float Opacity(int32_t id) const {
        Flurr::GraphicsComponent* sprite = Sprite(id);
        return sprite ? sprite->Opacity : -1.0f;
    }
    // The objective lines of the running job, as "depth colour text".
    Lines Objectives() const {
        Lines out;
        std::vector<Flurr::ObjectiveLine> lines;
        const Flurr::Job& job = jobSystem->GetJob(jobSystem->currentJob);
        job.tree.BuildObjectiveLines(job.tree.root, 1, lines);
        for (const Flurr::ObjectiveLine& line : lines)
            out.push_back(std::to_string(line.depth) + " " +
                          std::to_string(static_cast<int>(line.red)) + " " + line.text);
        return out;
    }

    Flurr::JobSystem* jobSystem = nullptr;
};

} // namespace JobTest
