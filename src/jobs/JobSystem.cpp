#include "jobs/JobSystem.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/InputActions.h"
#include "engine/LevelRoute.h"
#include "engine/Message.h"
#include "engine/Random.h"
#include "engine/Report.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "jobs/JobEntityComponent.h"
#include "jobs/JobGiverComponent.h"
#include "jobs/PlayerJobs.h"
#include "particles/ParticleSystem.h"
#include "player/CameraComponent.h"
#include "player/CameraController.h"
#include "player/PlayerComponent.h"
#include "player/PlayerController.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

constexpr const char* kMapOverview = "MapOverview";

// The four confetti effects: two at each side of the screen.
constexpr const char* kConfettiNames[4] = {"confetti_left", "confetti_left_pops", "confetti_right",
                                           "confetti_right_pops"};
constexpr float kCheerVolume = 0.5f;

// The panel's layout, in pixels of the 800 x 600 screen it was drawn for,
// and in the 600-unit screen view for its sprites.
constexpr float kIconX = 160.0f;
constexpr float kIconY = 236.0f;
constexpr float kFrameY = 200.0f;
constexpr float kFrameHeight = 200.0f;
constexpr int32_t kTextLeft = 50;
constexpr float kHeaderTop = 50.0f;
constexpr float kFirstLine = 31.0f;
constexpr float kLineStep = 26.0f;
// The icon blinks at this many frames a second while there is news.
constexpr float kNewsFrameRate = 3.0f;

constexpr float kOpaque = 255.0f;

int32_t Trunc(float value) {
    return static_cast<int32_t>(value);
}

DrawTextMessage PanelText(const std::string& text, const std::string& font, float top, float scaleX,
                          float scaleY) {
    DrawTextMessage m;
    m.text = text;
    m.left = kTextLeft;
    m.top = Trunc(top);
    m.font = font;
    m.red = m.green = m.blue = m.alpha = kOpaque;
    m.shadow = true;
    m.right = Trunc(800.0f * scaleX);
    m.bottom = Trunc(200.0f * scaleY);
    return m;
}

bool Paused() {
    return SpaceManager::Active(Spaces::Pause);
}

} // namespace

// ---------------------------------------------------------------------------
// Shared helpers

namespace JobWorld {

PlayerComponent* Player() {
    PlayerController* controller = PlayerController::Instance();
    return controller ? controller->Player() : nullptr;
}

bool PlayerPosition(Vec2& position) {
    PlayerComponent* player = Player();
    if (!player || !player->owner)
        return false;
    position = Vec2(player->owner->x, player->owner->y);
    return true;
}

bool InMapOverview() {
    const CameraController* camera = CameraController::Instance();
    return camera && camera->current && camera->current->targetName == kMapOverview;
}

float ViewWidth() {
    int32_t width, height;
    GraphicsSystem::ScreenSize(width, height);
    return height > 0 ? 600.0f * static_cast<float>(width) / static_cast<float>(height) : 800.0f;
}

GameObject* Find(int32_t id) {
    Factory* factory = Factory::Instance();
    return factory && id >= 0 ? factory->FindObject(id) : nullptr;
}

void Destroy(int32_t id) {
    if (GameObject* object = Find(id))
        Factory::Instance()->DestroyLater(object);
}

} // namespace JobWorld

// ---------------------------------------------------------------------------
// Life

JobSystem::JobSystem(std::string jobBankPath_) : jobBankPath(std::move(jobBankPath_)) {}

JobSystem::~JobSystem() {
    PlayerComponent::endOfUpdate = nullptr;
}

void JobSystem::Initialize() {
    LoadJobBank(jobBankPath);
    for (const std::string& name : startDone) {
        if (auto it = jobs.find(name); it != jobs.end()) {
            it->second.completed = true;
            const JobUnlocks unlocks = UnlocksOf(name);
            StartWith(unlocks.flight, unlocks.dash);
        } else {
            Warn("there is no job \"" + name + "\" in " + jobBankPath + " to count as done");
        }
    }
    if (Core* core = Core::Instance())
        for (int32_t id :
             {MessageId::KeyTriggered, MessageId::XboxTriggered, MessageId::LevelChange})
            core->RegisterForMessage(this, id);
    PlayerComponent::endOfUpdate = [](PlayerComponent& player) { UpdateSpecialJobs(player); };
}

void JobSystem::LoadJobBank(const std::string& path) {
    ReadJobBank(path, jobs);
}

void JobSystem::Free() {
    // Shutdown: the components may outlive this system by a moment.
    givers.ForEachAll([](JobGiverComponent* giver) { giver->Detach(); });
    entities.ForEachAll([](JobEntityComponent* entity) { entity->Detach(); });
    givers.ClearAll();
    entities.ClearAll();
    guideTargets.clear();
}

void JobSystem::RegisterComponent(JobGiverComponent* giver, const std::string& space) {
    if (giver)
        givers.Add(giver, space);
    rejoin = rejoin || jobActive;
}

void JobSystem::RegisterComponent(JobEntityComponent* entity, const std::string& space) {
    if (entity)
        entities.Add(entity, space);
    rejoin = rejoin || jobActive;
}

void JobSystem::RegisterGiver(JobGiverComponent* giver) {
    RegisterComponent(giver, Spaces::Game);
}

void JobSystem::RegisterEntity(JobEntityComponent* entity) {
    RegisterComponent(entity, Spaces::Game);
}

void JobSystem::UnregisterEntity(JobEntityComponent* entity) {
    entities.Remove(entity);
    // A raven target that left the level must not be followed.
    guideTargets.erase(std::remove(guideTargets.begin(), guideTargets.end(), entity),
                       guideTargets.end());
}

void JobSystem::UnregisterGiver(JobGiverComponent* giver) {
    if (!giver || !givers.Contains(giver))
        return;
    givers.Remove(giver);
    for (const std::string& name : giver->Jobs)
        StartTree(GetJob(name));
}

// ---------------------------------------------------------------------------
// Input

void JobSystem::SendMessage(Message* message) {
    if (message->id == MessageId::LevelChange) {
        // A level the player plays in is somewhere to come back to.
        Core* core = Core::Instance();
        ILevelRoute* route = core ? core->Route() : nullptr;
        if (!progressFile.empty() && route && JobWorld::Player() &&
            route->Entry() != progress.route) {
            progress.route = route->Entry();
            KeepProgress();
        }
        return;
    }
    const InputActions& actions = Core::Actions();
    if (const auto* key = As<KeyTriggeredMessage>(message)) {
        padPrompt = false;
        if (actions.IsKey(Action::Objectives, key->key))
            objectivesOpen = !objectivesOpen;
    } else if (const auto* pad = As<XboxTriggeredMessage>(message)) {
        padPrompt = true;
        if (actions.IsPadButton(Action::Objectives, pad->button))
            objectivesOpen = !objectivesOpen;
    }
    givers.ForEachAll([message](JobGiverComponent* giver) { giver->SendMessage(message); });
    entities.ForEachAll([message](JobEntityComponent* entity) { entity->SendMessage(message); });
}

// ---------------------------------------------------------------------------
// Events

void JobSystem::HandleJobEvent(const JobEvent& event) {
    switch (event.kind) {
    case JobEventKind::Start:
        currentJob = event.jobName;
        jobActive = 1;
        StartTree(GetJob(event.jobName));
        givers.ForEachAll([&event](JobGiverComponent* giver) { giver->OnJobEvent(event); });
        return;
    case JobEventKind::Completed:
        currentJob = kNoJob;
        jobActive = 0;
        givers.ForEachAll([&event](JobGiverComponent* giver) { giver->OnJobEvent(event); });
        OnSpecialJobCompleted(event.jobName);
        Celebrate();
        return;
    case JobEventKind::Failed:
        entities.ForEachAll([&event](JobEntityComponent* entity) {
            if (entity->JobName == event.jobName)
                entity->Reset();
        });
        currentJob = kNoJob;
        jobActive = 0;
        givers.ForEachAll([&event](JobGiverComponent* giver) { giver->OnJobEvent(event); });
        return;
    default:
        break;
    }
    // Reports for a job that is not running change nothing.
    if (!jobActive || event.jobName != currentJob || event.data.empty())
        return;
    Job& job = GetJob(currentJob);
    if (event.kind == JobEventKind::EntityCompleted) {
        for (LogicNode* node : job.tree.FindActiveNodes(event.data[0]))
            job.tree.CompleteNode(*node);
        RefreshTargets(job);
    } else if (event.kind == JobEventKind::RegionCount && event.data.size() >= 3) {
        uint32_t objectId = kNoNodeId;
        if (job.tree.ReportRegionCount(event.data[0], event.data[1], event.data[2], objectId)) {
            CompleteEntitiesById(objectId);
            CompleteEntitiesById(event.data[0]);
        }
    }
}

void JobSystem::StartTree(Job& job) {
    TargetList targets;
    job.tree.SetActive(job.tree.root, true, targets);
    newInfo = true;
    ActivateEntities(targets);
}

void JobSystem::RefreshTargets(Job& job) {
    TargetList targets;
    job.tree.CollectTargets(job.tree.root, targets);
    ActivateEntities(targets);
    newInfo = true;
    if (targets.ids.empty() && job.tree.root.complete)
        CompleteJob(job);
}

void JobSystem::ActivateEntities(const TargetList& targets) {
    guideTargets.clear();
    entities.ForEachAll([&](JobEntityComponent* entity) {
        if (entity->JobName != currentJob)
            return;
        entity->activated = false;
        if (!entity->completed)
            entity->ApplyState();
        const auto id = static_cast<uint32_t>(entity->EntityID);
        const auto found = std::find(targets.ids.begin(), targets.ids.end(), id);
        if (found == targets.ids.end())
            return;
        entity->activated = true;
        if (!entity->completed)
            entity->ApplyState();
        if (targets.guides[static_cast<std::size_t>(found - targets.ids.begin())])
            guideTargets.push_back(entity);
    });
}

void JobSystem::CompleteJob(Job& job) {
    HandleJobEvent({JobEventKind::Completed, job.name, {}});
    job.completed = true;
    if (progress.AddJob(job.name))
        KeepProgress();
}

// ---------------------------------------------------------------------------
// Progress between runs

void JobSystem::KeepProgressIn(const std::string& file) {
    progressFile = file;
    saved = {};
    progress = {};
    if (file.empty())
        return;
    if (LoadProgress(file, saved) == ProgressRead::Read && saved.route.empty() && !saved.Empty())
        Warn("the saved progress " + file + " names no level to continue from; ignored");
}

void JobSystem::ContinueGame() {
    progress = saved;
    for (auto& [name, job] : jobs)
        job.completed = std::find(progress.jobsDone.begin(), progress.jobsDone.end(), name) !=
                        progress.jobsDone.end();
    StartWith(progress.flight, progress.dash);
    if (Core* core = Core::Instance())
        if (ILevelRoute* route = core->Route(); route && !progress.route.empty())
            route->SkipTo(progress.route);
}

void JobSystem::StartWith(bool flight, bool dash) {
    if (PlayerController* players = PlayerController::Instance()) {
        players->earnedFlight = players->earnedFlight || flight;
        players->earnedDash = players->earnedDash || dash;
    }
}

void JobSystem::NewGame() {
    progress = {};
    // A game continued earlier in this session handed its unlocks to every
    // player made since; the new game starts without them.
    if (PlayerController* players = PlayerController::Instance())
        players->earnedFlight = players->earnedDash = false;
    // The game being replaced is copied aside at this run's first save:
    // a new game chosen by mistake loses nothing.
    setAsideOnSave = !saved.Empty();
    for (auto& [name, job] : jobs)
        job.completed = false;
}

void JobSystem::KeepProgress() {
    if (progressFile.empty())
        return;
    if (const PlayerComponent* player = JobWorld::Player()) {
        progress.flight = progress.flight || player->flightUnlocked;
        progress.dash = progress.dash || player->dashUnlocked;
    }
    if (setAsideOnSave) {
        std::error_code ec;
        std::filesystem::copy_file(progressFile, progressFile + ".previous",
                                   std::filesystem::copy_options::overwrite_existing, ec);
        setAsideOnSave = false;
    }
    if (SaveProgress(progressFile, progress))
        saved = progress;
}

void JobSystem::FailJob(Job& job) {
    HandleJobEvent({JobEventKind::Failed, job.name, {}});
    job.completed = false;
    StartTree(job);
}

void JobSystem::CompleteEntitiesById(uint32_t id) {
    entities.ForEachAll([this, id](JobEntityComponent* entity) {
        if (entity->JobName == currentJob && static_cast<uint32_t>(entity->EntityID) == id)
            entity->Complete();
    });
}

void JobSystem::CompleteSpecial(const std::string& jobName, uint32_t id) {
    if (!jobActive || jobName != currentJob)
        return;
    Job& job = GetJob(currentJob);
    job.tree.CompleteSpecialNodes(job.tree.root, id);
    RefreshTargets(job);
}

void JobSystem::SetSpecialDescription(const std::string& jobName, uint32_t id,
                                      const std::string& text) {
    if (!jobActive || jobName != currentJob)
        return;
    Job& job = GetJob(currentJob);
    job.tree.SetSpecialDescription(job.tree.root, id, text);
}

std::vector<std::string> JobSystem::GetActiveObjectiveTexts() {
    std::vector<std::string> texts;
    if (!jobActive)
        return texts;
    const Job& job = GetJob(currentJob);
    std::vector<ObjectiveLine> lines;
    job.tree.BuildObjectiveLines(job.tree.root, 1, lines);
    for (const ObjectiveLine& line : lines)
        if (!line.text.empty() && line.red == kOpaque && line.green == kOpaque &&
            line.blue == kOpaque && line.alpha == kOpaque)
            texts.push_back(line.text);
    return texts;
}

Vec2 JobSystem::GuideTargetPosition(const Vec2& point) const {
    for (auto it = guideTargets.rbegin(); it != guideTargets.rend(); ++it) {
        const GameObject* at = (*it)->owner;
        if (at && std::hypot(at->x - point.x, at->y - point.y) <= 1e15f)
            return Vec2(at->x, at->y);
    }
    return Vec2();
}

// ---------------------------------------------------------------------------
// Celebration

void JobSystem::Celebrate() {
    Core::Broadcast(PlaySoundMessage("Cheer" + std::to_string(Random() % 4 + 1), kCheerVolume, 0));
    ParticleSystem* particles = ParticleSystem::Instance();
    if (!particles)
        return;
    const GraphicsSystem* graphics = GraphicsSystem::Instance();
    const float cameraX = graphics ? graphics->Camera().x : 0.0f;
    const float cameraY = graphics ? graphics->Camera().y : 0.0f;
    const float half = JobWorld::ViewWidth() / 2.0f;
    for (int32_t i = 0; i < 4; ++i) {
        // An effect that retired meanwhile is simply not found.
        particles->DestroyEffect(particles->FindEffect(confetti[i]));
        const float x = i < 2 ? cameraX - half - 50.0f : cameraX + half + 50.0f;
        confetti[i] = particles->CreateEffect(kConfettiNames[i], x, cameraY - 100.0f)->id;
    }
}

void JobSystem::MoveConfetti() {
    ParticleSystem* particles = ParticleSystem::Instance();
    const GraphicsSystem* graphics = GraphicsSystem::Instance();
    if (!particles || !graphics)
        return;
    const float half = JobWorld::ViewWidth() / 2.0f;
    for (int32_t i = 0; i < 4; ++i) {
        ParticleEffect* effect = particles->FindEffect(confetti[i]);
        if (!effect) {
            confetti[i] = 0;
            continue;
        }
        effect->x = i < 2 ? graphics->Camera().x - half : graphics->Camera().x + half;
        effect->y = graphics->Camera().y - 100.0f;
    }
}

// ---------------------------------------------------------------------------
// The frame

void JobSystem::UpdateJob(Job& job, float dt) {
    if (!JobWorld::InMapOverview() && job.tree.TickTimers(job.tree.root, dt))
        FailJob(job);
    if (job.tree.root.complete && !job.completed)
        CompleteJob(job);
}

void JobSystem::Update(float dt) {
    MoveConfetti();
    // A job runs on through a level change or a restart, but the new
    // level's townsfolk and targets were made after it started. They join
    // it here, once their data is read: the givers learn which job runs,
    // and the targets of its open objectives are shown, or the job could
    // never be finished.
    if (rejoin) {
        rejoin = false;
        if (jobActive) {
            const JobEvent running{JobEventKind::Start, currentJob, {}};
            givers.ForEachAll([&running](JobGiverComponent* giver) { giver->OnJobEvent(running); });
            Job& job = GetJob(currentJob);
            TargetList targets;
            job.tree.CollectTargets(job.tree.root, targets);
            ActivateEntities(targets);
        }
    }
    if (givers.Empty() || SpaceManager::Active(Spaces::LevelEditor))
        return;
    int32_t width, height;
    GraphicsSystem::ScreenSize(width, height);
    const float scaleX = static_cast<float>(width) / 800.0f;
    const float scaleY = static_cast<float>(height) / 600.0f;

    if (!objectivesOpen) {
        slide = std::min(slide + dt, kSlideTime);
    } else {
        slide -= dt;
        if (slide < 0.0f) {
            slide = 0.0f;
            // The player has seen the news.
            newInfo = false;
        }
    }
    const bool paused = Paused();
    const bool shown = !JobWorld::InMapOverview() && !paused;
    const float s = (4.0f * slide) * (4.0f * slide);
    UpdatePanel(dt, shown, s, scaleX, scaleY);

    if (!paused)
        givers.ForEachAll([dt](JobGiverComponent* giver) { giver->Update(dt); });
    if (jobActive)
        UpdateJob(GetJob(currentJob), dt);
    DrawObjectives(shown, s, scaleX, scaleY);
    if (!paused)
        entities.ForEachAll([dt](JobEntityComponent* entity) { entity->Update(dt); });
}

void JobSystem::UpdatePanel(float, bool shown, float s, float scaleX, float scaleY) {
    const float viewWidth = JobWorld::ViewWidth();
    GameObject* icon = JobWorld::Find(viewIcon);
    if (!icon &&
        (icon = GraphicsComponent::MakeSpriteObject(0.0f, 0.0f, 128.0f, 32.0f, "ViewObjectives"))) {
        viewIcon = icon->id;
        if (auto* sprite = icon->Get<GraphicsComponent>()) {
            sprite->SetFrameRate(0.0f);
            sprite->screenSpace = true;
        }
    }
    if (icon) {
        icon->x = kIconX - viewWidth / 2.0f;
        icon->y = kIconY;
        if (auto* sprite = icon->Get<GraphicsComponent>()) {
            const bool visible = !objectivesOpen && slide == kSlideTime && shown;
            sprite->Opacity = visible ? 1.0f : 0.0f;
            if (visible && newInfo) {
                sprite->SetFrameRate(kNewsFrameRate);
            } else if (visible) {
                sprite->SetFrameRate(0.0f);
                sprite->frame = 0.0f;
            }
        }
    }

    GameObject* frame = JobWorld::Find(objectivesFrame);
    if (!frame && shown &&
        (frame = GraphicsComponent::MakeSpriteObject(0.0f, 0.0f, 2000.0f, kFrameHeight,
                                                     "ObjectivesFrame"))) {
        objectivesFrame = frame->id;
        if (auto* sprite = frame->Get<GraphicsComponent>())
            sprite->screenSpace = true;
    }
    GraphicsComponent* frameSprite = frame ? frame->Get<GraphicsComponent>() : nullptr;
    if (!shown) {
        if (frameSprite)
            frameSprite->Opacity = 0.0f;
        return;
    }
    if (frame) {
        frame->xScale = viewWidth;
        frame->yScale = kFrameHeight;
        frame->x = 0.0f;
        frame->y = kFrameY + kFrameHeight * s;
    }
    if (frameSprite)
        frameSprite->Opacity = 1.0f;
    DrawTextMessage header =
        PanelText("OBJECTIVES:", "CardoBold32", kHeaderTop - s * 200.0f * scaleY, scaleX, scaleY);
    header.red = 235.0f;
    header.green = 195.0f;
    header.blue = 35.0f;
    Core::Broadcast(header);
}

void JobSystem::DrawObjectives(bool shown, float s, float scaleX, float scaleY) {
    if (!shown)
        return;
    const float slideOffset = s * 200.0f * scaleY;
    float y = kHeaderTop + static_cast<float>(Trunc(kFirstLine * scaleY));
    if (!jobActive) {
        Core::Broadcast(
            PanelText("     -Find a job to do", "CardoRegular22", y - slideOffset, scaleX, scaleY));
        return;
    }
    const Job& job = GetJob(currentJob);
    std::vector<ObjectiveLine> lines;
    job.tree.BuildObjectiveLines(job.tree.root, 1, lines);
    for (const ObjectiveLine& line : lines) {
        if (line.text.empty())
            continue;
        DrawTextMessage m =
            PanelText(std::string(static_cast<std::size_t>(std::max(line.depth, 0)) * 5, ' ') +
                          "-" + line.text,
                      "CardoRegular22", y - slideOffset, scaleX, scaleY);
        m.red = line.red;
        m.green = line.green;
        m.blue = line.blue;
        m.alpha = line.alpha;
        Core::Broadcast(m);
        // A line too long for a narrow window wraps: the next starts below
        // all of it, not on top of its second half.
        GraphicsSystem* graphics = GraphicsSystem::Instance();
        const int32_t taken =
            graphics ? graphics->TextLineCount(m.text, m.font, m.right - m.left) : 1;
        y += static_cast<float>(Trunc(kLineStep * scaleY) * taken);
    }
}

} // namespace Flurr
