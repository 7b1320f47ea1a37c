#pragma once
// The game as the program builds it (window, renderer, input, factory,
// physics, player, camera, gameplay logic, particles), run headless at a fixed step from
// the real Resources folder, with input pushed as real SDL events and a
// listener that writes down every sound the game asks for together with
// the player's animation frame at that moment.

#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/Core.h"
#include "engine/EngineTestSupport.h"
#include "engine/GameObject.h"
#include "engine/Message.h"
#include "engine/Random.h"
#include "game/TestGame.h"
#include "gameplay/LogicSystem.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "particles/ParticleEffectComponent.h"
#include "particles/ParticleSystem.h"
#include "physics/Physics.h"
#include "physics/PhysicsComponent.h"
#include "physics/RigidBody.h"
#include "platform/InputSystem.h"
#include "platform/PlatformTestSupport.h"
#include "platform/WindowsSystem.h"
#include "player/CameraComponent.h"
#include "player/CameraController.h"
#include "player/PlayerComponent.h"
#include "player/PlayerController.h"
#include "world/Factory.h"
#include "world/SpaceManager.h"

namespace PlayerTest {

// The window is small: the tests look at the game's state, not its
// pictures, and every frame is drawn in software.
inline constexpr int kWidth = 200;
inline constexpr int kHeight = 150;
// Pointer positions: near the top above the centre, and right of it.
inline constexpr int kAboveX = kWidth / 2;
inline constexpr int kAboveY = 5;
inline constexpr int kRightX = kWidth - 5;
inline constexpr int kRightY = kHeight / 2;

struct SoundCue {
    std::string name;
    bool stop = false;
    std::string animation; // the player's, when the cue was sent
    int32_t frame = -1;
};

struct SoundListenerName {
    static constexpr const char* value = "TestSoundListener";
};

class SoundListener : public Flurr::ISystem<SoundListener, SoundListenerName> {
public:
    void SendMessage(Flurr::Message* m) override {
        using namespace Flurr;
        SoundCue cue;
        if (const auto* play = As<PlaySoundMessage>(m))
            cue.name = play->name;
        else if (const auto* stop = As<StopSoundMessage>(m)) {
            cue.name = stop->name;
            cue.stop = true;
        } else {
            return;
        }
        if (player && player->graphics) {
            cue.animation = player->graphics->animation;
            cue.frame = player->graphics->FrameIndex();
        }
        cues.push_back(cue);
    }
    void Update(float) override {}
    Flurr::PlayerComponent* player = nullptr;
    std::vector<SoundCue> cues;
};

// Level text for a static box from (x0, y0) to (x1, y1): a floor whose
// top edge can be stood on or, as a ghost, a box the player passes through
// while touching still counts. `components` (indented by four spaces)
// ride on the same object.
inline std::string BoxObject(float x0, float y0, float x1, float y1, bool ghost = false,
                             const std::string& components = "") {
    const float hw = (x1 - x0) / 2, hh = (y1 - y0) / 2;
    auto n = [](float v) { return std::to_string(v); };
    return "  GameObject\n    X:" + n((x0 + x1) / 2) + "\n    Y:" + n((y0 + y1) / 2) +
           "\n    PhysicsComponent\n      CollisionSets\n        List#4:CollisionSet\n"
           "          " +
           n(-hw) + "," + n(-hh) + "\n          " + n(hw) + "," + n(-hh) + "\n          " + n(hw) +
           "," + n(hh) + "\n          " + n(-hw) + "," + n(hh) +
           "\n        -CollisionSet\n        List#4:FloorSet\n          false\n"
           "          false\n          false\n          " +
           (ghost ? "false" : "true") + "\n        -FloorSet\n      -CollisionSets\n" +
           (ghost ? "      Ghost:true\n" : "      IsAFloor:true\n") + "    -PhysicsComponent\n" +
           components + "  -GameObject\n";
}

class PlayerGame {
public:
    struct Options {
        bool wall = false;
        float wallLeft = 300.0f;
        bool mapOverview = true;
        bool flight = false;
        bool dash = false;
        // A real level file instead of the flat test ground; the player is
        // the one it holds.
        std::string level;
        // More objects for the flat test ground, as level text
        // ("  GameObject ... -GameObject" lines).
        std::string objects;
        // Without the player (the flat ground only).
        bool noPlayer = false;
        // Window size: larger for tests that look at the picture.
        int width = kWidth;
        int height = kHeight;
    };

    PlayerGame() : PlayerGame(Options{}) {}
    explicit PlayerGame(const Options& options) {
        using namespace Flurr;
        SeedRandom(12345);

        core = std::make_unique<Core>();
        core->SetFixedDt(1.0f / 60.0f);
        GameConfig config = TestGame::Config();
        config.systems = GameSystemSet{};
        // Sounds are written down, not played.
        config.systems.sound = false;
        config.window.width = options.width;
        config.window.height = options.height;
        // Nothing is shown: the tests read state or the back buffer.
        config.present = [] {};
        config.unlockFlight = options.flight;
        config.unlockDash = options.dash;
        const GameSystems made = AddSystems(*core, config);
        spaces = made.spaces;
        windows = made.windows;
        graphics = made.graphics;
        factory = made.factory;
        physics = made.physics;
        controller = made.players;
        camera = made.camera;
        logic = made.logic;
        particles = made.particles;
        sounds = new SoundListener();
        core->AddSystem(sounds);
        TestGame::Start(*core);
        core->RegisterForMessage(sounds, MessageId::PlaySound);
        core->RegisterForMessage(sounds, MessageId::StopSound);

        if (!options.level.empty()) {
            factory->LoadLevel(options.level);
            player = controller->Player();
            sounds->player = player;
            PlatformTest::PushWindowEvent(WindowId(), SDL_WINDOWEVENT_FOCUS_GAINED);
            return;
        }
        std::string level = "Root\n" + BoxObject(-3000, -400, 3000, 0);
        if (options.wall)
            level += BoxObject(options.wallLeft, 0, options.wallLeft + 100, 800);
        if (options.mapOverview)
            level += "  GameObject\n    X:0\n    Y:500\n    CameraComponent\n"
                     "      CameraTargetName:MapOverview\n    -CameraComponent\n  -GameObject\n";
        level += options.objects;
        level += "-Root\n";
        factory->LoadLevel(dir.Write("Level.zorvel", level));
        if (options.noPlayer) {
            PlatformTest::PushWindowEvent(WindowId(), SDL_WINDOWEVENT_FOCUS_GAINED);
            return;
        }
        GameObject* object = factory->LoadObject("Resources/Objects/Player.zorvel");
        EXPECT_NE(object, nullptr);
        if (object) {
            player = object->Get<PlayerComponent>();
            sounds->player = player;
        }
        PlatformTest::PushWindowEvent(WindowId(), SDL_WINDOWEVENT_FOCUS_GAINED);
    }

    ~PlayerGame() {
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        core->Shutdown();
    }

    uint32_t WindowId() const { return SDL_GetWindowID(windows->Window()); }
    Flurr::RigidBody& Body() const { return *player->owner->Get<Flurr::PhysicsComponent>()->body; }
    // Puts the player (body and object) at a place, at rest.
    void Place(float x, float y) {
        Body().position = Flurr::Vec2(x, y);
        Body().velocity = Flurr::Vec2();
        player->owner->x = x;
        player->owner->y = y;
    }
    void Frame() { core->RunFrame(); }
    void Frames(int n) {
        for (int i = 0; i < n; ++i)
            core->RunFrame();
    }
    // Lets the player land and settle where it stands.
    void Settle() { Frames(90); }

    EngineTest::TempDir dir;
    std::unique_ptr<Flurr::Core> core;
    Flurr::SpaceManager* spaces = nullptr;
    Flurr::WindowsSystem* windows = nullptr;
    Flurr::GraphicsSystem* graphics = nullptr;
    Flurr::Factory* factory = nullptr;
    Flurr::Physics* physics = nullptr;
    Flurr::PlayerController* controller = nullptr;
    Flurr::CameraController* camera = nullptr;
    Flurr::LogicSystem* logic = nullptr;
    Flurr::ParticleSystem* particles = nullptr;
    SoundListener* sounds = nullptr;
    Flurr::PlayerComponent* player = nullptr;
};

inline void Key(SDL_Scancode key, bool down) {
    PlatformTest::PushKey(key, down);
}

} // namespace PlayerTest
