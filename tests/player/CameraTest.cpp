// The camera controller with real objects: which camera it follows, how
// each mode moves it, and cameras outliving the controller.

#include "engine/EngineTestSupport.h"
#include "game/TestGame.h"

#include <array>
#include <cmath>

#include "physics/PhysicsComponent.h"
#include "physics/RigidBody.h"
#include "player/CameraComponent.h"
#include "player/CameraController.h"

using namespace Flurr;
namespace {

using namespace EngineTest;

// An object at (x, y) with a camera called `name` and maybe a 2 x 2 body.
std::string CameraObject(float x, float y, const std::string& name, bool body = false) {
    EngineTest::LevelText text;
    text.Object(x, y).With("CameraComponent", {{"CameraTargetName", name}});
    return (body ? text.Box(2, 2) : text).Text();
}

using Broadcast = std::array<float, 3>; // x, y, zoom

// The systems in the game's order, and what the camera broadcasts.
class CameraControllerTest : public ::testing::Test, public GameSystems {
protected:
    void SetUp() override {
        GameConfig config = TestGame::Config();
        config.systems.physics = config.systems.camera = true;
        config.paths.collisionBank = dir.Write("CollisionBank.zorvel", "Root\n-Root\n");
        static_cast<GameSystems&>(*this) = AddSystems(core, config);
        Recorder::AddTo(core, {MessageId::SetCamera})->onMessage = [this](Message* message) {
            if (const auto* m = As<SetCameraMessage>(message))
                sent.push_back({m->x, m->y, m->zoom});
        };
        core.SetFixedDt(kTickSeconds);
        core.Initialize();
    }

    GameObject* Make(float x, float y, const std::string& name, bool body = false) {
        return factory->CreateObjectFromText(CameraObject(x, y, name, body));
    }
    static CameraComponent* CameraOf(GameObject* object) { return object->Get<CameraComponent>(); }

    Vec2 Step(float dt = 0.016f) {
        camera->Update(dt);
        return camera->position;
    }
    void Pend(float zoom) {
        camera->targetZoom = zoom;
        camera->zoomPending = true;
    }
    // The camera at `at` following `object` in `mode`, no zoom under way.
    void Start(GameObject* object, Vec2 at, CameraMode mode, float zoom = 4.0f) {
        camera->current = CameraOf(object);
        camera->position = at;
        camera->mode = mode;
        camera->zoom = zoom;
        camera->zoomPending = false;
        sent.clear();
    }

    TempDir dir;
    Core core;
    std::vector<Broadcast> sent;
};

TEST_F(CameraControllerTest, FollowsTheFirstCameraSelectsByNameAndHandsOverWhenOneLeaves) {
    GameObject* player = Make(0, 0, "Player");
    GameObject* map = Make(500, 300, "MapOverview");
    GameObject* other = Make(9, 9, "MapOverview");
    ASSERT_NE(CameraOf(player), nullptr);
    EXPECT_EQ(CameraOf(map)->targetName, "MapOverview");
    EXPECT_EQ(camera->cameras.Items(),
              (std::vector<CameraComponent*>{CameraOf(player), CameraOf(map), CameraOf(other)}));
    EXPECT_EQ(camera->current, CameraOf(player)); // the first one to arrive

    EXPECT_TRUE(camera->SelectByName("MapOverview"));
    EXPECT_EQ(camera->current, CameraOf(map)); // the first of two with that name
    EXPECT_FALSE(camera->SelectByName("Raven"));
    EXPECT_FALSE(camera->SelectByName("mapoverview"));
    EXPECT_EQ(camera->current, CameraOf(map));

    // The name survives a save and a reload; a level change takes every
    // camera with it, and the next level's first camera is followed.
    const std::string level = dir.Path("Level.zorvel");
    ASSERT_TRUE(factory->SaveLevel(level, ""));
    factory->Free();
    EXPECT_TRUE(camera->cameras.Empty());
    EXPECT_EQ(camera->current, nullptr);
    factory->LoadLevel(level);
    ASSERT_EQ(camera->cameras.Size(), 3u);
    EXPECT_EQ(camera->current, camera->cameras.Items()[0]);
    EXPECT_EQ(camera->current->targetName, "Player");
    EXPECT_EQ(camera->cameras.Items()[1]->targetName, "MapOverview");
    EXPECT_EQ(camera->cameras.Items()[1]->owner->x, 500.0f);
    factory->Free();

    GameObject* a = Make(1, 0, "A");
    GameObject* b = Make(2, 0, "B");
    GameObject* c = Make(3, 0, "C");
    GameObject* d = Make(4, 0, "D");

    // A camera that is not followed leaves without changing the view; the
    // followed one hands over to the first remaining, not its neighbour.
    ASSERT_TRUE(camera->SelectByName("C"));
    factory->DestroyObject(b);
    EXPECT_EQ(camera->current, CameraOf(c));
    EXPECT_EQ(camera->cameras.Items(),
              (std::vector<CameraComponent*>{CameraOf(a), CameraOf(c), CameraOf(d)}));
    factory->DestroyObject(c);
    EXPECT_EQ(camera->current, CameraOf(a));

    // Freeing a component twice (and then with its object) is harmless.
    CameraOf(a)->Free();
    CameraOf(a)->Free();
    EXPECT_EQ(camera->current, CameraOf(d));
    EXPECT_EQ(camera->cameras.Items(), (std::vector<CameraComponent*>{CameraOf(d)}));
    factory->DestroyObject(a);

    // Deferred destruction frees the component at once.
    factory->DestroyLater(d);
    EXPECT_TRUE(camera->cameras.Empty());
    EXPECT_EQ(camera->current, nullptr);
    core.RunFrame();
    EXPECT_TRUE(sent.empty());

    GameObject* fresh = Make(7, 8, "Player");
    EXPECT_EQ(camera->current, CameraOf(fresh));
    camera->mode = CameraMode::Attached;
    core.RunFrame();
    EXPECT_EQ(sent, (std::vector<Broadcast>{{7, 8, 4}}));
}

TEST_F(CameraControllerTest, BroadcastsWhileTheGameRunsAndTheAttachedAndZoomOnlyModes) {
    core.RunFrame();
    camera->Update(0.016f);
    EXPECT_TRUE(sent.empty()); // no camera at all

    GameObject* player = Make(30, 40, "Player");
    Start(player, Vec2(0, 0), CameraMode::Attached);
    spaces->SetSpaceActive("GameSpace", false);
    spaces->SetSpaceActive("Pause", true);
    core.RunFrame();
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(camera->position, Vec2(0, 0)); // the camera waits where it was

    spaces->ActivateOnlyGameSpace();
    core.RunFrame();
    // An unknown mode holds the camera still but still tells the renderer.
    camera->mode = static_cast<CameraMode>(9);
    player->x = 1000.0f;
    camera->Update(0.016f);
    EXPECT_EQ(sent, (std::vector<Broadcast>{{30, 40, 4}, {30, 40, 4}}));

    // Attached: straight onto the target, without a pending zoom the zoom stays.
    Start(player, Vec2(400, 400), CameraMode::Attached, 7.0f);
    camera->targetZoom = 50.0f;
    EXPECT_EQ(Step(), Vec2(1000, 40));
    EXPECT_EQ(camera->zoom, 7.0f);
    // ... and with one, it jumps there too.
    camera->zoomPending = true;
    camera->Update(0.016f);
    EXPECT_EQ(camera->zoom, 50.0f);
    EXPECT_FALSE(camera->zoomPending);
    EXPECT_EQ(sent.back(), (Broadcast{1000, 40, 50}));

    // Zoom only: half a second halves the gap; the camera does not move.
    Start(player, Vec2(5, 5), CameraMode::ZoomOnly, 10.0f);
    camera->targetZoom = 90.0f;
    camera->Update(0.5f);
    EXPECT_FLOAT_EQ(camera->zoom, 50.0f);
    camera->Update(0.5f);
    EXPECT_FLOAT_EQ(camera->zoom, 70.0f);
    EXPECT_EQ(camera->position, Vec2(5, 5));
    camera->Update(0.0f);
    EXPECT_FLOAT_EQ(camera->zoom, 70.0f);
}

TEST_F(CameraControllerTest, SmoothSteadyAndLookAheadModesMoveAndZoomByTheirRules) {
    for (CameraMode mode : {CameraMode::Smooth, CameraMode::SmoothStart}) {
        SCOPED_TRACE(static_cast<int>(mode));
        GameObject* target = Make(80, 0, "Target");
        Start(target, Vec2(0, 0), mode);

        EXPECT_FLOAT_EQ(Step().x, 10.0f) << "80 units away: 10 units in the first update";
        EXPECT_EQ(camera->position.y, 0.0f);
        // The distance (80) asks for zoom 6; a tenth of the way there.
        EXPECT_FLOAT_EQ(camera->zoom, 4.2f);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_FLOAT_EQ(sent[0][0], 10.0f);
        EXPECT_FLOAT_EQ(sent[0][2], 4.2f);

        // Close by, the zoom settles back but never comes nearer than 4.
        for (int i = 0; i < 200; ++i)
            camera->Update(0.016f);
        EXPECT_NEAR(camera->position.x, 80.0f, 1e-3f);
        EXPECT_EQ(camera->zoom, 4.0f);
        for (const Broadcast& b : sent)
            EXPECT_GE(b[2], 4.0f);

        // A target running away pulls the view out, without a ceiling.
        float previous = camera->zoom;
        for (int i = 0; i < 60; ++i) {
            target->x = camera->position.x + 4000.0f;
            camera->Update(0.016f);
            EXPECT_GT(camera->zoom, previous);
            previous = camera->zoom;
        }
        EXPECT_GT(camera->zoom, 250.0f);
        EXPECT_NEAR(camera->zoom, 300.0f, 1.0f); // 4000 * 0.075
        factory->DestroyObject(target);
    }

    // A pending zoom in smooth mode ends exactly on its target.
    GameObject* map = Make(0, 0, "MapOverview");
    Start(map, Vec2(0, 0), CameraMode::Smooth);
    Pend(250.0f);
    camera->Update(0.016f);
    EXPECT_FLOAT_EQ(camera->zoom, 4.0f + 24.6f);
    int updates = 1;
    bool alwaysCloser = true;
    while (camera->zoomPending && updates < 1000) {
        const float before = camera->zoom;
        camera->Update(0.016f);
        alwaysCloser = alwaysCloser && camera->zoom > before && camera->zoom <= 250.0f;
        ++updates;
    }
    EXPECT_TRUE(alwaysCloser);
    // Shares of a gap alone would stop one float step short and leave the
    // zoom pending for ever.
    EXPECT_FALSE(camera->zoomPending);
    EXPECT_EQ(camera->zoom, 250.0f);
    EXPECT_LT(updates, 1000);

    camera->Update(0.016f);
    EXPECT_FLOAT_EQ(camera->zoom, 250.0f - 25.0f) << "the speed zoom takes over again";

    // Steady pursuit moves five units a step and keeps level.
    GameObject* target = Make(12, 0, "Target");
    Start(target, Vec2(0, 0), CameraMode::SteadyPursuit);
    EXPECT_FLOAT_EQ(Step().x, 5.0f);
    EXPECT_FLOAT_EQ(Step().x, 10.0f);
    EXPECT_EQ(Step(), Vec2(12, 0)) << "the next step would pass the target: it stops on it";
    EXPECT_EQ(Step(), Vec2(12, 0));
    EXPECT_EQ(camera->zoom, 4.0f);
    EXPECT_EQ(sent.size(), 4u);

    // Height is matched at once; x moves by the diagonal step's run.
    target->x = 32.0f;
    target->y = 15.0f;
    EXPECT_FLOAT_EQ(Step().x, 12.0f + 5.0f * 20.0f / 25.0f);
    EXPECT_EQ(camera->position.y, 15.0f);
    target->x = -100.0f;
    EXPECT_FLOAT_EQ(Step().x, 16.0f - 5.0f);

    // A pending zoom arrives together with the camera: 40 units, 8 steps.
    Start(target, Vec2(0, 0), CameraMode::SteadyPursuit);
    target->x = 40.0f;
    target->y = 0.0f;
    Pend(24.0f);
    camera->Update(0.016f);
    EXPECT_FLOAT_EQ(camera->zoom, 6.5f);
    for (int i = 1; i < 7; ++i)
        camera->Update(0.016f);
    EXPECT_TRUE(camera->zoomPending);
    EXPECT_EQ(camera->position.x, 35.0f);
    EXPECT_NEAR(camera->zoom, 21.5f, 1e-4f);
    EXPECT_EQ(Step(), Vec2(40, 0));
    EXPECT_EQ(camera->zoom, 24.0f);
    EXPECT_FALSE(camera->zoomPending);

    // Already on the target, a new zoom cannot be shared out over a
    // distance of nothing: it arrives at once rather than turning NaN.
    Pend(60.0f);
    camera->Update(0.016f);
    EXPECT_EQ(camera->zoom, 60.0f);
    EXPECT_FALSE(camera->zoomPending);
    EXPECT_EQ(camera->position, Vec2(40, 0));
    for (const Broadcast& b : sent)
        EXPECT_TRUE(std::ranges::all_of(b, [](float v) { return std::isfinite(v); }));

    // Look-ahead aims where the body is heading.
    GameObject* runner = Make(100, 50, "Player", true);
    PhysicsComponent* body = runner->Get<PhysicsComponent>();
    ASSERT_NE(body, nullptr);
    ASSERT_NE(body->body, nullptr);
    body->body->velocity = Vec2(8, -4);

    Start(runner, Vec2(100, 50), CameraMode::LookAhead);
    camera->Update(0.016f);
    // The aim is 3 velocities ahead, (24, -12) from the camera: an eighth of it.
    EXPECT_FLOAT_EQ(camera->position.x, 103.0f);
    EXPECT_FLOAT_EQ(camera->position.y, 48.5f);
    // Speed zoom measures to the aim as well: 27 units ask for 2, so 4.
    EXPECT_EQ(camera->zoom, 4.0f);

    // A target without a body is followed like the smooth mode.
    GameObject* walker = Make(116, 50, "Walker");
    Start(walker, Vec2(100, 50), CameraMode::LookAhead);
    EXPECT_EQ(Step(), Vec2(102, 50));

    // Real frames: the body's velocity and position come from the physics step.
    spaces->ActivateOnlyGameSpace();
    Start(runner, Vec2(runner->x, runner->y), CameraMode::LookAhead);
    body->body->gravity = 0.0f;
    body->body->velocity = Vec2(10, 0);
    core.RunFrame();
    core.RunFrame();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_GT(sent[1][0], runner->x); // ahead of the runner, not behind it
    // The view settles above the player and ahead the way it went, even at rest.
    auto settle = [&](Vec2 velocity) {
        body->body->velocity = velocity;
        for (int i = 0; i < 300; ++i)
            camera->Update(0.016f);
        return Vec2(sent.back()[0] - runner->x, sent.back()[1] - runner->y);
    };
    settle(Vec2(10, 0));
    const float view = 600.0f * 14.0f / 10.0f; // tall at zoom 4
    EXPECT_NEAR(settle(Vec2()).y, 0.12f * view, 1.0f) << "less ground below the player";
    EXPECT_NEAR(sent.back()[0] - runner->x, 0.15f * view, 1.0f) << "looks the way it ran";
    EXPECT_LT(settle(Vec2(-10, 0)).x, -0.15f * view);
}

// The controller goes at shutdown while an object it never owned still
// carries a camera; the object's later end must not reach back into it.
TEST(CameraControllerLifetime, CamerasOutliveTheControllerSafely) {
    TempDir dir;
    EngineTest::LevelText screens;
    for (const char* name : {"Menu", "Map"})
        screens.Object().With("CameraComponent", {{"CameraTargetName", name}});
    std::vector<GameObject*> kept;
    {
        Core core;
        GameConfig config = TestGame::Config();
        config.systems.camera = true;
        const GameSystems made = AddSystems(core, config);
        core.Initialize();
        made.factory->LoadUnrecordedObjects(dir.Write("Screens.zorvel", screens.Text()), kept);
        ASSERT_EQ(kept.size(), 2u);
        ASSERT_EQ(made.camera->cameras.Size(), 2u);

        // Letting go of the cameras leaves them with their objects.
        made.camera->Free();
        EXPECT_TRUE(made.camera->cameras.Empty());
        EXPECT_EQ(made.camera->current, nullptr);
        EXPECT_EQ(kept[0]->Get<CameraComponent>()->targetName, "Menu");
        kept[0]->Destroy(); // a camera freed after the controller let go
        EXPECT_TRUE(made.camera->cameras.Empty());

        GameObject* late = made.factory->CreateObjectFromText(CameraObject(5, 6, "Late"));
        EXPECT_EQ(made.camera->current, late->Get<CameraComponent>());
        core.Shutdown();
        EXPECT_EQ(CameraController::Instance(), nullptr);
    }
    for (GameObject* object : kept)
        delete object;
}

} // namespace
