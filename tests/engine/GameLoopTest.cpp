// The core's loop over real level files: level changes, requests, order.

#include "engine/EngineTestSupport.h"
#include "game/TestGame.h"
#include "world/Route.h"

using namespace Flurr;
namespace {

using namespace EngineTest;

// What the game looked like when a LevelChangeMessage went out.
struct LevelSeen {
    std::string levelFile;
    std::string routeFile;
    std::vector<int32_t> objectIds;
    std::vector<std::string> activeSpaces;
};

// A core with the factory and a recorder noting every level change; `script`
// runs at each update with the level changes so far and the frame (from 1).
class LoopHarness : public GameSystems {
public:
    explicit LoopHarness(const std::string& firstRoute) {
        static_cast<GameSystems&>(*this) = AddSystems(core, TestGame::Config());
        game = Recorder::AddTo(core, {MessageId::LevelChange}, "game");
        game->onMessage = [this](Message*) {
            levels.push_back({route->levelFile, route->currentRouteFile, RecordedIds(*factory),
                              ActiveSpaces(*spaces)});
            frame = 0;
        };
        game->onUpdate = [this](float) {
            ++frame;
            if (script)
                script(static_cast<int>(levels.size()), frame);
        };
        auto owned = std::make_unique<Route>(Route::FirstRouteFile, firstRoute);
        route = owned.get();
        core.SetRoute(std::move(owned));
        core.SetFrameLimit(100); // a guard: a broken loop fails, not hangs
        core.SetFixedDt(kTickSeconds);
    }

    void Run() {
        core.Initialize();
        core.GameLoop();
    }

    Core core;
    Route* route = nullptr;
    Recorder* game;
    std::vector<LevelSeen> levels;
    int frame = 0;
    std::function<void(int levelChanges, int frame)> script;
};

TEST(GameLoop, LevelsChangeOnRequestsAndTheFirstAndRestartedAreBuiltTwice) {
    RouteChain chain;
    LoopHarness h(chain.routeA);
    std::vector<int32_t> liveOnFirstFrame;
    h.script = [&](int changes, int frame) {
        // The pause menu and the editor are open when each level ends.
        for (const char* name : {"TransitionSpace", "Pause", "LevelEditor"})
            SpaceManager::Instance()->GetOrCreateSpace(name)->active = true;
        SpaceManager::Instance()->SetSpaceActive("GameSpace", false);
        if (changes == 2 && frame == 1) {
            liveOnFirstFrame = EngineTest::RecordedIds(*h.factory);
            h.core.RequestState(GameState::Restart); // the same route entry again
        }
        if (changes == 4 && frame == 1)
            h.core.AdvanceAtFrameEnd(); // as the transition system does
        if (changes == 5 && frame == 1)
            h.core.RequestState(GameState::NextLevel); // B names itself next
        if (changes == 6 && frame == 2)
            h.core.RequestState(GameState::Quit);
    };
    h.Run();

    std::vector<std::string> files;
    for (const LevelSeen& level : h.levels)
        files.push_back(level.levelFile);
    ASSERT_EQ(files, (std::vector<std::string>{chain.levelA, chain.levelA, chain.levelA,
                                               chain.levelA, chain.levelB, chain.levelB}));
    ASSERT_EQ(h.levels[0].objectIds.size(), 2u);
    ASSERT_EQ(h.levels[1].objectIds.size(), 2u);
    // The first set was destroyed before the second was built, with new ids.
    EXPECT_GT(h.levels[1].objectIds.front(), h.levels[0].objectIds.back());
    EXPECT_EQ(liveOnFirstFrame, h.levels[1].objectIds);
    EXPECT_EQ(h.levels[3].routeFile, chain.routeA);
    // The advance loaded B alone, with the ids still counting up.
    ASSERT_EQ(h.levels[4].objectIds.size(), 1u);
    EXPECT_GT(h.levels[4].objectIds.front(), h.levels[3].objectIds.back());
    EXPECT_EQ(h.levels[4].routeFile, chain.routeB);
    EXPECT_EQ(h.levels[5].routeFile, chain.routeB);
    EXPECT_GT(h.levels[5].objectIds.front(), h.levels[4].objectIds.front());
    EXPECT_EQ(h.game->updates, 5);
    for (const LevelSeen& level : h.levels)
        EXPECT_EQ(level.activeSpaces, std::vector<std::string>{"GameSpace"})
            << "every level starts with only the game space active";
    EXPECT_TRUE(h.factory->objects.empty());
}

TEST(GameLoop, QuitMidFrameFinishesTheFrameThenLoadsNothing) {
    RouteChain chain;
    LoopHarness h(chain.routeA);
    Recorder* later = Recorder::AddTo(h.core, {MessageId::Quit}, "later");
    h.script = [&](int, int) {
        Send(h.core, MessageQuit());
        EXPECT_EQ(later->updates, 0) << "the quit must not cut the frame short";
    };
    h.Run();

    EXPECT_EQ(h.game->updates, 1);
    EXPECT_EQ(later->updates, 1);
    EXPECT_TRUE(later->ids.empty());
    EXPECT_EQ(h.levels.size(), 2u);
    EXPECT_EQ(h.core.FramesRun(), 1);
    EXPECT_EQ(h.core.RequestedState(), GameState::Quit);
    EXPECT_TRUE(h.factory->objects.empty());
}

TEST(GameLoop, SystemsInitializeAndUpdateInTheOrderAdded) {
    RouteChain chain;
    Events().clear();
    Core core;
    AddSystems(core, TestGame::Config());
    std::vector<Recorder*> recorders;
    for (const char* label : {"first", "second", "third"})
        recorders.push_back(Recorder::AddTo(core, {}, label));
    core.SetRoute(std::make_unique<Route>(Route::FirstRouteFile, chain.routeA));
    core.SetFrameLimit(3);
    core.SetFixedDt(0.25f);
    core.Initialize();
    EXPECT_TRUE(core.RequestedState() == GameState::Restart &&
                core.CurrentState() == GameState::Restart);
    core.GameLoop();

    EXPECT_EQ(Events(),
              (std::vector<std::string>{"Initialize first", "Initialize second", "Initialize third",
                                        "Update first", "Update second", "Update third",
                                        "Update first", "Update second", "Update third",
                                        "Update first", "Update second", "Update third"}));
    for (Recorder* r : recorders)
        EXPECT_EQ(r->steps, (std::vector<float>{0.25f, 0.25f, 0.25f}));
    EXPECT_EQ(core.FramesRun(), 3);
    EXPECT_EQ(core.RequestedState(), GameState::Quit);
    EXPECT_EQ(core.timers.timers.count("Factory"), 1u) << "each system is timed under its own name";
    EXPECT_EQ(core.timers.timers.count("TestRecorder"), 1u);
}

TEST(GameLoop, ShutdownDestroysObjectsBeforeSystemsLastToFirst) {
    EngineTest::RegisterTestComponents();
    Core core;
    Factory* factory = AddSystems(core, TestGame::Config()).factory;
    core.AddSystem(new EngineTest::Driver());
    core.AddSystem(new Recorder("last"));
    const std::string text = EngineTest::LevelText()
                                 .Object()
                                 .With("TestSpinner")
                                 .With("TestProbe")
                                 .With("TestSprite")
                                 .Text();
    const std::vector<GameObject*> made{factory->CreateObjectFromText(text),
                                        factory->CreateObjectFromText(text)};
    ASSERT_EQ(EngineTest::Driver::Instance()->components.size(), 2u);
    // The first takes the second with it through deferred destruction.
    made[0]->Get<EngineTest::Probe>()->takesWithIt = made[1]->id;

    Events().clear();
    core.Shutdown();

    // Components go last-to-first within each object, every object before
    // the systems; the second object's stop when it is queued and are freed
    // again when it is deleted.
    EXPECT_EQ(Events(),
              (std::vector<std::string>{"Spinner::Free", "Probe::Free sprite=1 spinner=0 driver=1",
                                        "Spinner::Free", "Probe::Free sprite=1 spinner=1 driver=1",
                                        "Sprite::Free", "Sprite::Free", "Spinner::Free",
                                        "Probe::Free sprite=1 spinner=0 driver=1", "Sprite::Free",
                                        "Free last", "~last", "Free Driver", "~Driver"}));
    EXPECT_TRUE(core.systems.empty());
    EXPECT_EQ(Factory::Instance(), nullptr);
    EXPECT_EQ(SpaceManager::Instance(), nullptr);
    EXPECT_EQ(EngineTest::Driver::Instance(), nullptr);
}

} // namespace
