#pragma once
// The game as the program builds it (every system but sound), run headless
// at a fixed step from the real Resources folder, on a flat test ground or
// a real level, with input pushed as real SDL events and a recorder that
// hears what the game asks of the sound system, the screen's texts and the
// post-processing.

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <string>

#include "engine/GameObject.h"
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
#include "world/Factory.h"

namespace PlayerTest {

// The window is small: most tests look at the game's state, not its
// pictures, and every frame is drawn in software.
inline constexpr int kWidth = 200;
inline constexpr int kHeight = 150;
// Pointer positions: near the top above the centre, and right of it.
inline constexpr int kAboveX = kWidth / 2;
inline constexpr int kAboveY = 5;
inline constexpr int kRightX = kWidth - 5;
inline constexpr int kRightY = kHeight / 2;

using EngineTest::LevelText;

class PlayerGame : public PlatformTest::Game {
public:
    struct Options {
        // A wall from x 300 to 400 standing on the ground.
        bool wall = false;
        bool mapOverview = true;
        bool flight = false;
        bool dash = false;
        // A real level file instead of the flat test ground; the player is
        // the one it holds.
        std::string level;
        // More objects for the flat test ground (LevelText::Objects()).
        std::string objects;
        bool noPlayer = false;
        // Larger for tests that look at the picture.
        int width = kWidth;
        int height = kHeight;
    };
    // The flat test ground with flight (and the dash, when asked) unlocked.
    static Options Unlocked(bool dash = false) {
        Options options;
        options.flight = true;
        options.dash = dash;
        return options;
    }
    // The flat test ground with more `objects`, without the player if asked.
    static Options Ground(std::string objects, bool noPlayer = false) {
        Options options;
        options.objects = std::move(objects);
        options.noPlayer = noPlayer;
        return options;
    }

    PlayerGame() : PlayerGame(Options{}) {}
    explicit PlayerGame(const Options& options)
        : Game(MakeConfig(options),
               {Flurr::MessageId::PlaySound, Flurr::MessageId::StopSound,
                Flurr::MessageId::StopAllSounds, Flurr::MessageId::DrawText,
                Flurr::MessageId::BasicTrigger, Flurr::MessageId::PostProcessTransition}) {
        core->SetFixedDt(1.0f / 60.0f);
        if (!options.level.empty()) {
            factory->LoadLevel(options.level);
        } else {
            LevelText level;
            level.Object(0, -200).Box(6000, 400, LevelText::Floor);
            if (options.wall)
                level.Object(350, 400).Box(100, 800, LevelText::Floor);
            if (options.mapOverview)
                level.Object(0, 500).With("CameraComponent", {{"CameraTargetName", "MapOverview"}});
            factory->LoadLevel(dir.Write("Level.zorvel",
                                         "Root\n" + level.Objects() + options.objects + "-Root\n"));
            if (!options.noPlayer) {
                EXPECT_NE(factory->LoadObject("Resources/Objects/Player.zorvel"), nullptr);
            }
        }
        player = players->Player();
        PlatformTest::Focus(*this);
    }

    Flurr::RigidBody& Body() const { return *player->owner->Get<Flurr::PhysicsComponent>()->body; }
    // Puts the player (body and object) at a place, at rest.
    void Place(float x, float y) {
        Body().position = Flurr::Vec2(x, y);
        Body().velocity = Flurr::Vec2();
        player->owner->x = x;
        player->owner->y = y;
    }
    // Lets the player land and settle where it stands.
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
    // Holds `key` down for `frames` frames.
    void Hold(SDL_Scancode key, int frames) {
        PlatformTest::PushKey(key, true);
        Frames(frames);
        PlatformTest::PushKey(key, false);
    }

    EngineTest::TempDir dir;
    Flurr::PlayerComponent* player = nullptr;

private:
    static Flurr::GameConfig MakeConfig(const Options& options) {
        Flurr::SeedRandom(12345);
        Flurr::GameConfig config = TestGame::Config();
        config.systems = Flurr::GameSystemSet{};
        config.systems.sound = false; // written down, not played
        config.window.width = options.width;
        config.window.height = options.height;
        config.present = [] {}; // the tests read state or the back buffer
        config.unlockFlight = options.flight;
        config.unlockDash = options.dash;
        return config;
    }
};

inline void Key(SDL_Scancode key, bool down) {
    PlatformTest::PushKey(key, down);
}

} // namespace PlayerTest
