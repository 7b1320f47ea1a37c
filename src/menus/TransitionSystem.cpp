#include "menus/TransitionSystem.h"

#include <algorithm>

#include "engine/Component.h"
#include "engine/Core.h"
#include "engine/Message.h"
#include "engine/PostProcessParams.h"
#include "engine/Random.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "player/CameraComponent.h"
#include "player/CameraController.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

namespace Flurr {

namespace {

constexpr const char* kTimer = "TransitionTime";

GraphicsComponent* SpriteOf(const GameObject& object) {
    return object.Get<GraphicsComponent>();
}

} // namespace

TransitionSystem::TransitionSystem(std::string transitionFile) : file(std::move(transitionFile)) {}

TransitionSystem::~TransitionSystem() {
    DestroyObjects();
}

void TransitionSystem::Initialize() {
    if (Core* core = Core::Instance())
        for (int32_t id : {MessageId::StartGame, MessageId::SetCamera, MessageId::MoveCamera,
                           MessageId::FadeToNextLevel})
            core->RegisterForMessage(this, id);
    if (SpaceManager* spaces = SpaceManager::Instance())
        spaces->GetOrCreateSpace(Spaces::Transition);
}

std::vector<GameObject*> TransitionSystem::Objects() const {
    std::vector<GameObject*> out;
    for (const auto& object : objects)
        out.push_back(object.get());
    return out;
}

void TransitionSystem::SendMessage(Message* message) {
    if (As<StartGameMessage>(message))
        Start();
    else if (As<FadeToNextLevelMessage>(message))
        StartLevelFade();
    else if (const auto* set = As<SetCameraMessage>(message))
        Thin(set->zoom);
    else if (const auto* move = As<MoveCameraMessage>(message))
        Thin(move->dzoom);
}

void TransitionSystem::Start() {
    // Whatever an earlier transition left (a second "Play") goes first,
    // and this one runs from the beginning again.
    DestroyObjects();
    done = false;
    fadingOut = false;
    duration = kPhaseSeconds;
    if (SpaceManager* spaces = SpaceManager::Instance())
        spaces->SetSpaceActive(Spaces::Transition, true);

    Factory* factory = Factory::Instance();
    if (factory) {
        std::vector<GameObject*> loaded;
        factory->LoadUnrecordedObjects(file, loaded);
        for (GameObject* object : loaded)
            objects.emplace_back(object);
    }
    int32_t width, height;
    GraphicsSystem::ScreenSize(width, height);
    for (const auto& object : objects) {
        object->width = kObjectWidth;
        object->height = kObjectHeight;
        const int32_t r1 = Random();
        const int32_t r2 = Random();
        object->x = static_cast<float>(r1 % (4 * width) - 2 * width);
        object->y = static_cast<float>(r2 % (4 * height) - 2 * height);
        if (GraphicsComponent* sprite = SpriteOf(*object)) {
            sprite->ZPos = static_cast<float>(Random() % 1000) / 1000.0f * kDeepest;
            // The fade starts from nothing, whatever the file says.
            sprite->Opacity = 0.0f;
        }
    }
    timers.Reset(kTimer);
    timers.Start(kTimer);

    if (!factory)
        return;
    // A target for the camera to hold on while only its zoom changes; it
    // belongs to the title level and goes with it. One from an earlier
    // start in this level goes first.
    factory->DestroyLater(factory->FindObject(cameraObjectId));
    GameObject* target = factory->CreateGameObject();
    cameraObjectId = target->id;
    // The zoom's own target, never part of the title level's design.
    target->savedWithLevel = false;
    if (Component* camera = CreateComponent(CameraComponent::Name())) {
        target->AddComponent(camera);
        camera->Initialize();
    }
    if (CameraController* controller = CameraController::Instance()) {
        controller->targetZoom = kTargetZoom;
        controller->zoomPending = true;
        controller->mode = CameraMode::ZoomOnly;
    }
}

void TransitionSystem::StartLevelFade() {
    // Asked again while it runs (a gate touched on every tick): one fade.
    if (levelFade == LevelFade::Out)
        return;
    levelFade = LevelFade::Out;
    levelFadeTime = 0.0f;
    PostProcessRecord dark;
    for (float& white : dark.target.outWhite)
        white = 0.0f;
    dark.duration = kLevelFadeSeconds;
    Core::Broadcast(PostProcessTransitionMessage(dark));
}

void TransitionSystem::UpdateLevelFade(float dt) {
    if (levelFade == LevelFade::In) {
        // The first tick of the new level: back from black.
        levelFade = LevelFade::None;
        PostProcessRecord back;
        back.duration = kLevelFadeSeconds;
        Core::Broadcast(PostProcessTransitionMessage(back));
        return;
    }
    if (levelFade != LevelFade::Out)
        return;
    const bool wasDark = levelFadeTime >= kLevelFadeSeconds;
    levelFadeTime += dt;
    // Asked for once, when the screen is black.
    if (levelFadeTime >= kLevelFadeSeconds && !wasDark)
        if (Core* core = Core::Instance())
            core->RequestState(GameState::NextLevel);
}

void TransitionSystem::Update(float dt) {
    UpdateLevelFade(dt);
    if (done)
        return;
    if (!fadingOut && !SpaceManager::Active(Spaces::Transition))
        return;
    float t = timers.GetTime(kTimer);
    const float half = duration * 0.5f;
    if (!fadingOut) {
        if (t > duration) {
            fadingOut = true;
            timers.Reset(kTimer);
            // The level ends after this tick and the next one follows.
            if (Core* core = Core::Instance())
                core->AdvanceAtFrameEnd();
            t = duration;
        }
    } else {
        t = duration - t;
        if (t < 0.0f) {
            Finish();
            return;
        }
    }
    const float opacity = std::min(t, half) / half;
    for (const auto& object : objects)
        if (GraphicsComponent* sprite = SpriteOf(*object))
            sprite->Opacity = opacity;
}

void TransitionSystem::Thin(float zoom) {
    // While the first phase runs the camera is zooming out through the
    // field: nothing is taken then.
    if (objects.empty() || SpaceManager::Active(Spaces::Transition))
        return;
    std::vector<std::unique_ptr<GameObject>> passed;
    for (auto& object : objects) {
        const GraphicsComponent* sprite = SpriteOf(*object);
        if (sprite && zoom < sprite->ZPos * kThinningShare)
            passed.push_back(std::move(object));
    }
    if (passed.empty())
        return;
    std::erase(objects, nullptr);
    // Destroyed once off the list: a component freed here reaches
    // nothing of ours.
    for (auto& object : passed)
        object->Destroy();
}

void TransitionSystem::BeforeLevel() {
    // Whichever level comes next (the one asked for, or a restart that
    // came first) fades in from the black.
    if (levelFade == LevelFade::Out)
        levelFade = LevelFade::In;
    if (!done && !fadingOut && !objects.empty())
        Finish();
}

void TransitionSystem::Finish() {
    DestroyObjects();
    if (SpaceManager* spaces = SpaceManager::Instance())
        spaces->SetSpaceActive(Spaces::Transition, false);
    timers.Stop(kTimer);
    done = true;
}

void TransitionSystem::DestroyObjects() {
    std::vector<std::unique_ptr<GameObject>> going;
    going.swap(objects);
    for (auto& object : going)
        object->Destroy();
}

void TransitionSystem::ReleaseObjects() {
    DestroyObjects();
}

void TransitionSystem::Free() {
    DestroyObjects();
    if (SpaceManager* spaces = SpaceManager::Instance())
        spaces->SetSpaceActive(Spaces::Transition, false);
}

} // namespace Flurr
