#include "jobs/JobGiverComponent.h"

#include <algorithm>
#include <cmath>

#include "engine/Core.h"
#include "engine/GameObject.h"
#include "engine/InputActions.h"
#include "engine/Message.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "player/PlayerComponent.h"
#include "serialization/Serializer.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

// Above the townsperson's head, in world units.
constexpr float kOverHead = 100.0f;

struct MarkerRow {
    const char* owner;
    const char* marker;
};
constexpr MarkerRow kMarkers[] = {
    {"Smith", "Blacksmith_Marker"}, {"Captain", "Captain_Marker"},
    {"Gypsy", "Gypsy_Marker"},      {"Professor", "Professor_Marker"},
    {"Trader", "Trader_Marker"},    {"ButcherNPC", "Butcher_Marker"},
    {"Tobrin", "Carpenter_Marker"}, {"Metallurgist", "Metallurgist_Marker"},
    {"Baker", "Baker_Marker"},
};
constexpr const char* kNoMarker = "TooBad";

GraphicsComponent* SpriteOf(int32_t id) {
    GameObject* object = JobWorld::Find(id);
    return object ? object->Get<GraphicsComponent>() : nullptr;
}

void Hide(int32_t id) {
    if (GraphicsComponent* sprite = SpriteOf(id))
        sprite->Opacity = 0.0f;
}

void ShowAt(int32_t id, float x, float y) {
    if (GameObject* object = JobWorld::Find(id)) {
        object->x = x;
        object->y = y;
        if (GraphicsComponent* sprite = object->Get<GraphicsComponent>())
            sprite->Opacity = 1.0f;
    }
}

// Texts show in neither the map view nor the pause menu.
bool TextsShown() {
    return !JobWorld::InMapOverview() && !SpaceManager::Active(Spaces::Pause);
}

} // namespace

JobGiverComponent::~JobGiverComponent() {
    Free();
}

void JobGiverComponent::Initialize() {
    Join({Spaces::Game});
}

void JobGiverComponent::Free() {
    // The display objects are this townsperson's; at a level change the
    // factory may have taken them already.
    for (int32_t* id : {&bang, &prompt, &textBox, &marker}) {
        JobWorld::Destroy(*id);
        *id = -1;
    }
    Leave();
}

void JobGiverComponent::Serialize(ASerializer& s) {
    s.Begin("JobGiverComponent");
    s.StringList("Jobs", Jobs);
    s.End("JobGiverComponent");
}

void JobGiverComponent::SendMessage(Message* message) {
    const InputActions& actions = Core::Actions();
    if (const auto* key = As<KeyTriggeredMessage>(message)) {
        if (actions.IsKey(Action::Interact, key->key))
            interact = true;
    } else if (const auto* pad = As<XboxTriggeredMessage>(message)) {
        if (actions.IsPadButton(Action::Interact, pad->button))
            interact = true;
    }
}

const char* JobGiverComponent::MarkerAnimation(const std::string& ownerAnimation) {
    for (const MarkerRow& row : kMarkers)
        if (ownerAnimation == row.owner)
            return row.marker;
    return kNoMarker;
}

bool JobGiverComponent::Available(JobSystem& system, const std::string& name) {
    const auto job = system.jobs.find(name);
    if (job == system.jobs.end() || job->second.completed)
        return false;
    for (const std::string& before : job->second.preReqJobs) {
        const auto pre = system.jobs.find(before);
        if (pre == system.jobs.end() || !pre->second.completed)
            return false;
    }
    return true;
}

bool JobGiverComponent::OwnsJob(const std::string& name) const {
    return std::find(Jobs.begin(), Jobs.end(), name) != Jobs.end();
}

void JobGiverComponent::MakeDisplayObjects() {
    const float x = owner->x;
    const float y = owner->y + kOverHead;
    if (!JobWorld::Find(bang))
        if (GameObject* made = GraphicsComponent::MakeSpriteObject(x, y, 20.0f, 50.0f, "Bang")) {
            bang = made->id;
            if (GraphicsComponent* sprite = made->Get<GraphicsComponent>())
                sprite->SetFrameRate(4.0f);
        }
    if (!JobWorld::Find(prompt))
        if (GameObject* made = GraphicsComponent::MakeSpriteObject(x, y, 40.0f, 40.0f, "KeyE"))
            prompt = made->id;
    if (!JobWorld::Find(textBox))
        if (GameObject* made =
                GraphicsComponent::MakeSpriteObject(0.0f, -200.0f, 2000.0f, 200.0f, "Black")) {
            textBox = made->id;
            if (GraphicsComponent* sprite = made->Get<GraphicsComponent>()) {
                sprite->ZPos = 5.0f;
                sprite->screenSpace = true;
            }
        }
    if (!JobWorld::Find(marker)) {
        const GraphicsComponent* own = owner->Get<GraphicsComponent>();
        const char* animation = MarkerAnimation(own ? own->animation : "");
        if (GameObject* made =
                GraphicsComponent::MakeSpriteObject(0.0f, 0.0f, 100.0f, 100.0f, animation)) {
            marker = made->id;
            if (GraphicsComponent* sprite = made->Get<GraphicsComponent>())
                sprite->ZPos = 1.0f;
        }
    }
    for (int32_t id : {bang, prompt, textBox, marker})
        Hide(id);
}

void JobGiverComponent::DrawText(const std::string& text) {
    if (GraphicsComponent* band = SpriteOf(textBox))
        band->Opacity = 0.5f;
    int32_t width, height;
    GraphicsSystem::ScreenSize(width, height);
    const float scaleY = static_cast<float>(height) / 600.0f;
    DrawTextMessage m;
    m.text = text;
    m.left = 50;
    m.top = static_cast<int32_t>(static_cast<float>(height) - 150.0f * scaleY);
    m.font = "CardoRegular22";
    m.red = m.green = m.blue = m.alpha = 255.0f;
    m.shadow = true;
    m.right = width - 50;
    m.bottom = height - 50;
    Core::Broadcast(m);
}

void JobGiverComponent::Update(float) {
    JobSystem* system = JobSystem::Instance();
    PlayerComponent* player = JobWorld::Player();
    if (!system || !owner || !player || !player->owner) {
        interact = false;
        return;
    }
    MakeDisplayObjects();
    // The prompt shows the button of the device the player last used.
    if (GraphicsComponent* sprite = SpriteOf(prompt))
        sprite->SetAnimation(system->PadPrompt() ? "XboxButtonX" : "KeyE", 1.0f,
                             AnimationFlag::Loop);

    bool offer = false;
    if (state == GiverState::Offering)
        for (const std::string& name : Jobs) {
            if (!system->jobs.count(name))
                break;
            if (Available(*system, name)) {
                offer = true;
                break;
            }
        }

    if (player->mapView &&
        ((state == GiverState::Offering && offer) || state == GiverState::Working))
        if (GameObject* mark = JobWorld::Find(marker)) {
            const GraphicsSystem* graphics = GraphicsSystem::Instance();
            const float zoom = graphics ? graphics->Camera().zoom : 0.0f;
            const float k = 0.7f * std::sqrt(std::max(zoom, 0.0f));
            ShowAt(marker, owner->x + 45.0f * k, owner->y + 75.0f * k);
            mark->xScale = 131.0f * k;
            mark->yScale = 145.0f * k;
        }

    const GameObject* me = player->owner;
    const float d = std::hypot(me->x - owner->x, me->y - owner->y);
    if (state == GiverState::Offering && offer) {
        if (d < radius) {
            ShowAt(prompt, owner->x, owner->y + kOverHead);
            std::string offered;
            for (const std::string& name : Jobs)
                if (Available(*system, name)) {
                    offered = name;
                    break;
                }
            if (TextsShown())
                DrawText(system->jobs[offered].introText);
            if (interact) {
                state = GiverState::Working;
                system->HandleJobEvent({JobEventKind::Start, offered, {}});
            }
        } else {
            ShowAt(bang, owner->x, owner->y + kOverHead);
        }
    } else if (state == GiverState::Done) {
        bool more = false;
        for (const std::string& name : Jobs)
            more = more || Available(*system, name);
        if (more) {
            state = GiverState::Offering;
        } else {
            for (const std::string& name : Jobs) {
                const auto job = system->jobs.find(name);
                if (job == system->jobs.end() || !job->second.completed)
                    continue;
                if (!job->second.outroText.empty() && d < radius && TextsShown())
                    DrawText(job->second.outroText);
                break;
            }
        }
    }
    interact = false;
}

void JobGiverComponent::OnJobEvent(const JobEvent& event) {
    const bool mine = OwnsJob(event.jobName);
    switch (event.kind) {
    case JobEventKind::Start:
        if (mine)
            state = GiverState::Working;
        else if (state != GiverState::Done)
            state = GiverState::Waiting;
        break;
    case JobEventKind::Completed:
        if (mine)
            state = GiverState::Done;
        else if (state == GiverState::Waiting)
            state = GiverState::Offering;
        break;
    case JobEventKind::Failed:
        if (mine || state == GiverState::Waiting)
            state = GiverState::Offering;
        break;
    default:
        break;
    }
}

} // namespace Flurr
