#pragma once
// The game as the program builds it (but sound), headless at a fixed step,
// on a flat test ground or a real level; `heard` writes down the sounds,
// texts, events and post-processing the game asks for.

#include "engine/Random.h"
#include "gameplay/LogicSystem.h"
#include "graphics/GraphicsComponent.h"
#include "graphics/GraphicsSystem.h"
#include "particles/ParticleEffectComponent.h"
#include "physics/PhysicsComponent.h"
#include "physics/RigidBody.h"
#include "platform/PlatformTestSupport.h"
#include "player/CameraComponent.h"
#include "player/CameraController.h"
#include "player/PlayerComponent.h"
#include "player/PlayerController.h"

namespace PlayerTest {

// Small: the tests read the game's state, and frames are drawn in software.
inline constexpr int kWidth = 200;
inline constexpr int kHeight = 150;
// Pointer positions: near the top above the centre, and right of it.
inline constexpr int kAboveX = kWidth / 2;
inline constexpr int kAboveY = 5;
inline constexpr int kRightX = kWidth - 5;
inline constexpr int kRightY = kHeight / 2;

using EngineTest::LevelText;

// What the flat test ground has besides its floor, the map overview's
// camera and the player.
enum Extras : unsigned {
    kWall = 1,          // a wall from x 300 to 400 standing on the ground
    kNoMapOverview = 2, // no camera for the map view
    kNoPlayer = 4,
    kFlight = 8, // unlocked for the player
    kDash = 16,
};

class PlayerGame : public PlatformTest::Game {
public:
    // The flat test ground with `objects` (LevelText::Objects()) and
    // `extras`, or, when `level` names one, a real level and its player;
    // `input` may record or replay it.
    explicit PlayerGame(const std::string& objects = "", unsigned extras = 0,
                        const std::string& level = "", const Flurr::WindowSettings& input = {})
        : Game(MakeConfig(extras, input),
               {Flurr::MessageId::PlaySound, Flurr::MessageId::StopSound,
                Flurr::MessageId::StopAllSounds, Flurr::MessageId::DrawText,
                Flurr::MessageId::BasicTrigger, Flurr::MessageId::PostProcessTransition}) {
        core->SetFixedDt(1.0f / 60.0f);
        if (!level.empty()) {
            factory->LoadLevel(level);
        } else {
            LevelText ground;
            ground.Object(0, -200).Box(6000, 400, LevelText::Floor);
            if (extras & kWall)
                ground.Object(350, 400).Box(100, 800, LevelText::Floor);
            if (!(extras & kNoMapOverview))
                ground.Object(0, 500).With("CameraComponent",
                                           {{"CameraTargetName", "MapOverview"}});
            factory->LoadLevel(
                dir.Write("Level.zorvel", "Root\n" + ground.Objects() + objects + "-Root\n"));
            if (!(extras & kNoPlayer)) {
                EXPECT_NE(factory->LoadObject("Resources/Objects/Player.zorvel"), nullptr);
            }
        }
        player = players->Player();
        PlatformTest::Push({Focus()});
    }

    Flurr::RigidBody& Body() const { return *player->owner->Get<Flurr::PhysicsComponent>()->body; }
    void Place(float x, float y) {
        Body().position = Flurr::Vec2(x, y);
        Body().velocity = Flurr::Vec2();
        player->owner->x = x;
        player->owner->y = y;
    }
    void Settle() { Frames(90); }
    // Puts the player on the ground at `x` and lets it settle there.
    void Stand(float x) {
        Place(x, 52.0f);
        Settle();
    }
    // Runs `frames` frames and returns the highest the player got.
    float Highest(int frames) {
        float top = Body().position.y;
        for (int i = 0; i < frames; ++i, top = std::max(top, Body().position.y))
            core->RunFrame();
        return top;
    }
    void Hold(SDL_Scancode key, int frames) {
        PlatformTest::Push({PlatformTest::Key(key, true)});
        Frames(frames);
        PlatformTest::Push({PlatformTest::Key(key, false)});
    }

    EngineTest::TempDir dir;
    Flurr::PlayerComponent* player = nullptr;

private:
    static Flurr::GameConfig MakeConfig(unsigned extras, const Flurr::WindowSettings& input) {
        Flurr::SeedRandom(12345);
        Flurr::GameConfig config = TestGame::Config();
        // Sounds are written down, not played. The menus are left out: these
        // games switch the spaces by hand, and a "Pause" space with no menu
        // on it would bring the pause menu up.
        config.systems = {.pause = false, .buttons = false, .sound = false};
        config.window = {.windowed = true, .width = kWidth, .height = kHeight};
        config.window.recorder = input.recorder;
        config.window.replay = input.replay;
        config.present = [] {}; // the tests read state or the back buffer
        config.unlockFlight = extras & kFlight;
        config.unlockDash = extras & kDash;
        return config;
    }
};

inline void Key(SDL_Scancode key, bool down) {
    PlatformTest::Push({PlatformTest::Key(key, down)});
}

} // namespace PlayerTest
