// The zoom-out from the title into the game, in the real game loop: two
// levels on a route, "Play" sent from inside a tick, a fixed step of a
// quarter second so that every time falls on a tick.

#include <algorithm>
#include <functional>

#include "engine/EngineTestSupport.h"
#include "game/TestGame.h"
#include "graphics/GraphicsComponent.h"
#include "menus/TransitionSystem.h"
#include "player/CameraComponent.h"
#include "player/CameraController.h"

using namespace Flurr;
namespace {

using EngineTest::LevelText;
using EngineTest::Recorder;

constexpr float kStep = 0.25f;
constexpr const char* kRealField = "Resources\\Transitions\\Transitions.zorvel";

// Title level A leads to level B, which repeats. The loop runs until the
// script asks to quit; `script` runs at the end of every tick with the
// level's number (0 for A) and the tick's number within the level.
class TransitionGame {
public:
    explicit TransitionGame(const std::string& field) {
        const std::string levelA = dir.Write("Levels/A.zorvel", LevelText().Object(1).Text());
        const std::string levelB = dir.Write("Levels/B.zorvel", LevelText().Object(2).Text());
        const std::string routeB = dir.Path("Routes/B.zorvel");
        dir.Write("Routes/B.zorvel", EngineTest::RouteText(levelB, routeB));
        const std::string routeA =
            dir.Write("Routes/A.zorvel", EngineTest::RouteText(levelA, routeB));
        GameConfig config = TestGame::Config();
        config.systems.camera = true;
        config.systems.transitions = true;
        config.playRoute = true;
        config.startRoute = routeA;
        config.paths.transitions = field;
        systems = AddSystems(core, config);
        recorder = Recorder::AddTo(core, {MessageId::LevelChange});
        recorder->onUpdate = [this](float) {
            // A restart loads its level twice: the first level starts at 2.
            const int level = static_cast<int>(recorder->ids.size()) - 2;
            if (level != lastLevel) {
                lastLevel = level;
                tick = 0;
            }
            script(level, tick++);
        };
        core.SetFixedDt(kStep);
    }
    ~TransitionGame() { core.Shutdown(); }

    void Run() {
        core.Initialize();
        core.GameLoop();
    }
    void Send(Message&& message) { core.SendMessage(&message); }
    TransitionSystem& Transitions() { return *systems.transitions; }
    std::vector<int32_t> Ids() {
        std::vector<int32_t> ids;
        for (const GameObject* object : Transitions().Objects())
            ids.push_back(object->id);
        return ids;
    }
    // The opacity every sprite of the field shares (-1: no field).
    float Opacity() {
        const std::vector<GameObject*> field = Transitions().Objects();
        if (field.empty())
            return -1.0f;
        const float first = field.front()->Get<GraphicsComponent>()->Opacity;
        for (const GameObject* object : field)
            EXPECT_EQ(object->Get<GraphicsComponent>()->Opacity, first);
        return first;
    }
    bool Advancing() const { return core.CurrentState() == GameState::NextLevel; }
    void Quit() { core.RequestState(GameState::Quit); }

    // Without a renderer there is no bank to find the field's pictures in.
    EngineTest::WarningLog warnings;
    EngineTest::TempDir dir;
    Core core;
    GameSystems systems;
    Recorder* recorder = nullptr;
    std::function<void(int level, int tick)> script;

private:
    int lastLevel = -1;
    int tick = 0;
};

TEST(Transition, FadesInZoomsOutChangesLevelAndFadesOutAsTheCameraPasses) {
    TransitionGame game(kRealField);
    std::vector<int32_t> loaded;
    std::vector<float> depths;
    int advancedAt = -1;
    int lastTickOfA = -1;
    float thinZoom = 0.0f;
    game.script = [&](int level, int tick) {
        TransitionSystem& transitions = game.Transitions();
        if (level == 0) {
            lastTickOfA = tick;
            if (advancedAt < 0 && game.Advancing())
                advancedAt = tick;
            if (tick == 0) {
                game.Send(StartGameMessage());
                loaded = game.Ids();
                ASSERT_EQ(loaded.size(), 12u) << "the field of the game's own file";
                for (const GameObject* object : transitions.Objects()) {
                    ASSERT_NE(object->Get<GraphicsComponent>(), nullptr);
                    EXPECT_TRUE(object->x >= -1600 && object->x < 1600 && object->y >= -1200 &&
                                object->y < 1200)
                        << object->x << "," << object->y;
                    const float depth = object->Get<GraphicsComponent>()->ZPos;
                    EXPECT_TRUE(depth >= 0.0f && depth < TransitionSystem::kDeepest) << depth;
                    depths.push_back(depth);
                    // Not the factory's: the level change must not take them.
                    EXPECT_EQ(game.systems.factory->FindObject(object->id), nullptr);
                }
                // The camera holds still and zooms out towards 137.
                const CameraController& camera = *game.systems.camera;
                EXPECT_EQ(camera.mode, CameraMode::ZoomOnly);
                EXPECT_EQ(camera.targetZoom, TransitionSystem::kTargetZoom);
                EXPECT_NE(camera.current, nullptr);
            }
            // Fading in over the first 1.5 s.
            if (tick == 3) {
                EXPECT_NEAR(game.Opacity(), 0.5f, 1e-5f);
            }
            if (tick == 6) {
                EXPECT_EQ(game.Opacity(), 1.0f);
            }
            if (tick == 5) {
                // The camera is zooming out through the field: nothing goes.
                game.Send(MoveCameraMessage(0, 0, 0));
                game.Send(SetCameraMessage(0, 0, 0));
                EXPECT_EQ(game.Ids(), loaded);
                EXPECT_GT(game.systems.camera->zoom, 4.0f);
            }
            return;
        }
        if (level == 1) {
            if (tick == 0) {
                EXPECT_EQ(game.Ids(), loaded) << "the same field, carried over";
                EXPECT_TRUE(transitions.FadingOut());
                EXPECT_EQ(game.systems.camera->current, nullptr)
                    << "the title's camera target went with the title";
            }
            if (tick <= 5) {
                EXPECT_EQ(game.Opacity(), 1.0f) << tick;
            }
            if (tick == 1) {
                // Zoomed out beyond every object: all stay.
                game.Send(SetCameraMessage(0, 0, 200.0f));
                EXPECT_EQ(game.Ids(), loaded);
                // Between the depths: the five nearest the eye go.
                std::vector<float> sorted = depths;
                std::sort(sorted.begin(), sorted.end());
                thinZoom = sorted[6] * TransitionSystem::kThinningShare;
                game.Send(SetCameraMessage(0, 0, thinZoom));
                std::vector<int32_t> kept;
                for (std::size_t i = 0; i < loaded.size(); ++i)
                    if (depths[i] * TransitionSystem::kThinningShare <= thinZoom)
                        kept.push_back(loaded[i]);
                EXPECT_EQ(game.Ids(), kept);
                EXPECT_EQ(kept.size(), 7u);
            }
            if (tick == 8) {
                EXPECT_NEAR(game.Opacity(), 0.5f, 1e-5f);
            }
            if (tick == 12) {
                EXPECT_TRUE(transitions.Objects().empty());
                EXPECT_TRUE(transitions.Done());
                game.Quit();
            }
        }
    };
    game.Run();
    // More than 3 s after "Play": 3.25 s, the thirteenth tick after it.
    EXPECT_EQ(advancedAt, 13);
    EXPECT_EQ(lastTickOfA, 13) << "the level changes right after that tick";
    EXPECT_TRUE(game.Transitions().Done());
}

TEST(Transition, EmptyFieldSecondPlayAndCutShortFirstPhase) {
    // No field at all still moves on after 3 s.
    {
        TransitionGame game("Resources\\Transitions\\NoSuchField.zorvel");
        int advancedAt = -1;
        game.script = [&](int level, int tick) {
            if (level == 0 && tick == 0)
                game.Send(StartGameMessage());
            if (level == 0 && advancedAt < 0 && game.Advancing())
                advancedAt = tick;
            if (level == 1 && tick == 20) {
                EXPECT_TRUE(game.Transitions().Done());
                game.Quit();
            }
        };
        game.Run();
        EXPECT_EQ(advancedAt, 13);
    }
    // "Play" twice on the title, and once more in the next level: each
    // start replays the whole transition with one field and one camera
    // target. The game quits in the middle of the last fade-out, with the
    // field still up: shutdown frees it.
    {
        TransitionGame game(kRealField);
        std::vector<int> advancedAt;
        game.script = [&](int level, int tick) {
            TransitionSystem& transitions = game.Transitions();
            if (game.Advancing())
                advancedAt.push_back(level * 100 + tick);
            if (level == 0 && (tick == 0 || tick == 2)) {
                game.Send(StartGameMessage());
                EXPECT_EQ(transitions.Objects().size(), 12u);
                int targets = 0;
                for (const auto& [id, object] : game.systems.factory->objects)
                    targets += object->Get<CameraComponent>() != nullptr;
                EXPECT_EQ(targets, 1);
            }
            if (level == 1 && tick == 20) {
                ASSERT_TRUE(transitions.Done());
                game.Send(StartGameMessage());
                EXPECT_FALSE(transitions.Done());
                EXPECT_FALSE(transitions.FadingOut());
                EXPECT_EQ(transitions.Objects().size(), 12u);
            }
            if (level == 1 && tick == 23) {
                EXPECT_NEAR(game.Opacity(), 0.5f, 1e-5f) << "fading in again";
            }
            if (level == 2 && tick == 3) {
                EXPECT_TRUE(transitions.FadingOut());
                EXPECT_FALSE(transitions.Objects().empty());
                game.Quit();
            }
        };
        game.Run();
        EXPECT_EQ(advancedAt, (std::vector<int>{15, 133}));
    }
    // A restart during the first phase (the pause menu's "Restart") drops
    // the transition: no field is left over the level.
    {
        TransitionGame game(kRealField);
        int restarts = 0;
        game.script = [&](int level, int tick) {
            if (level == 0 && tick == 0)
                game.Send(StartGameMessage());
            if (level == 0 && tick == 5 && restarts++ == 0)
                game.core.RequestState(GameState::Restart);
            if (level > 0 && tick == 0) {
                EXPECT_TRUE(game.Transitions().Objects().empty());
                EXPECT_TRUE(game.Transitions().Done());
            }
            if (level > 0 && tick == 20)
                game.Quit();
        };
        game.Run();
        EXPECT_EQ(restarts, 1);
        // Nothing moved the game on to B.
        EXPECT_EQ(game.recorder->ids.size(), 4u);
    }
}

} // namespace
