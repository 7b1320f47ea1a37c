// The collision outline editor in the real game, driven by input messages,
// and its overlay's colours read from the frame.

#include "editor/PhysicsEditor.h"
#include "editor/LevelEditor.h"
#include "graphics/GraphicsTestSupport.h"
#include "physics/PhysicsComponent.h"
#include "world/Route.h"

using namespace Flurr;
namespace {

using Sets = std::vector<std::vector<Vec2>>;

// Object A at the origin: a square 80 wide (floor flags as given) and a
// two-point set up and right. Object B at (300, 0) has no physics.
std::string Level(const std::string& flags = "false\nfalse\nfalse\nfalse\n") {
    return "Root\n  GameObject\n    WIDTH:100\n    HEIGHT:100\n    PhysicsComponent\n"
           "      CollisionSets\n        List#4:CollisionSet\n-40,-40\n40,-40\n40,40\n-40,40\n"
           "        -CollisionSet\n        List#4:FloorSet\n" +
           flags +
           "        -FloorSet\n        List#2:CollisionSet\n100,100\n120,130\n"
           "        -CollisionSet\n        List#2:FloorSet\nfalse\nfalse\n        -FloorSet\n"
           "      -CollisionSets\n    -PhysicsComponent\n  -GameObject\n"
           "  GameObject\n    X:300\n    WIDTH:40\n    HEIGHT:40\n  -GameObject\n-Root\n";
}

// Every system but the window, renderer, input and sound; the level in a
// folder of the test's own. World (x, y) is at pixel (400 + x, 300 - y).
struct Game {
    Game() {
        GameConfig config = TestGame::Config();
        config.systems = {.window = false, .graphics = false, .input = false, .sound = false};
        config.playRoute = true;
        config.startRoute =
            dir.Write("Route.zorvel",
                      "Root\n  LevelFile:" + dir.Write("Level.zorvel", Level()) + "\n-Root\n");
        systems = AddSystems(core, config);
        TestGame::Start(core);
        systems.spaces->ActivateOnlyGameSpace();
        core.Route()->Load();
        core.RunFrame();
        Key(KeyCode::F1);
    }
    ~Game() { core.Shutdown(); }
    void Send(Message&& message) { core.SendMessage(&message); }
    void Key(uint8_t key) {
        Send(KeyTriggeredMessage(key));
        Send(KeyReleasedMessage(key));
    }
    void Hold(uint8_t key, bool down) {
        down ? Send(KeyTriggeredMessage(key)) : Send(KeyReleasedMessage(key));
    }
    // Press at world (x, y), move by (dx, dy) pixels, release.
    void Drag(int x, int y, int dx = 0, int dy = 0) {
        Send(MouseMovedMessage(400 + x, 300 - y, false));
        Send(MouseClickedMessage(400 + x, 300 - y, MouseButton::Left));
        Send(MouseMovedMessage(400 + x + dx, 300 - y + dy, true));
        Send(MouseReleasedMessage(400 + x + dx, 300 - y + dy, MouseButton::Left));
    }
    PhysicsComponent* Physics(std::size_t i) {
        return std::next(systems.factory->objects.begin(), i)->second->Get<PhysicsComponent>();
    }
    PhysicsEditor& Outline() { return systems.editor->OutlineEditor(); }

    EngineTest::TempDir dir;
    Core core;
    GameSystems systems;
};

TEST(PhysicsEditor, PicksBoxesDragsAddsDeletesFlagsAndStartsOutlinesEachAnUndoStep) {
    Game game;
    game.Drag(0, 0);
    game.Key(KeyCode::P);
    ASSERT_TRUE(game.systems.spaces->IsSpaceActive(Spaces::PhysicsEditor));
    EXPECT_EQ(game.Outline().WorkingSets()[0][3], Vec2(-40, -40)) << "y points down";
    // A click picks, a drag moves, B flags: each goes back to the component.
    game.Drag(40, 40, 10, -10);
    EXPECT_EQ(game.Physics(0)->collisionSets[0][2], Vec2(50, 50));
    game.Key(KeyCode::B);
    EXPECT_TRUE(game.Physics(0)->floorSets[0][2]);
    // Shift drags a box down and right over the square; up or left it
    // holds nothing, and a plain click on nothing then looks at its corner.
    game.Hold(KeyCode::Shift, true);
    game.Drag(-60, 60, 120, 120);
    EXPECT_EQ(game.Outline().Selection().size(), 4u);
    game.Drag(60, -60, -120, -120);
    EXPECT_TRUE(game.Outline().Selection().empty());
    game.Drag(-40, 40);
    game.Hold(KeyCode::Shift, false);
    game.Drag(0, -200);
    ASSERT_EQ(game.Outline().Selection().size(), 1u);
    EXPECT_EQ(game.Outline().Selection()[0].index, 3u);
    // Space adds at the cursor to the set of that vertex.
    game.Send(MouseMovedMessage(400, 350, false));
    game.Key(KeyCode::Space);
    EXPECT_EQ(game.Physics(0)->collisionSets[0].back(), Vec2(0, -50));
    EXPECT_EQ(game.Physics(0)->floorSets[0].size(), 5u);
    // Deleting every vertex of a new outline takes the set and the current
    // set with it: Space then adds nowhere.
    game.Send(MouseMovedMessage(400, 500, false));
    game.Key(KeyCode::N);
    game.Hold(KeyCode::Shift, true);
    game.Drag(-40, -160, 80, 80);
    game.Hold(KeyCode::Shift, false);
    EXPECT_EQ(game.Outline().Selection().size(), 4u);
    game.Key(KeyCode::Delete);
    game.Key(KeyCode::Space);
    EXPECT_EQ(game.Physics(0)->collisionSets.size(), 2u);
    EXPECT_EQ(game.Physics(0)->collisionSets[0].size(), 5u);
    EXPECT_EQ(game.systems.editor->UndoSteps(), 5u);

    // Undo and redo keep the outline editor open on the object.
    const Sets edited = game.Physics(0)->collisionSets;
    for (uint8_t key : {KeyCode::Z, KeyCode::Y}) {
        game.Hold(KeyCode::Control, true);
        game.Key(key);
        game.Hold(KeyCode::Control, false);
        game.core.RunFrame();
        ASSERT_TRUE(game.Outline().IsOpen());
        EXPECT_EQ(game.Outline().WorkingSets().size(), key == KeyCode::Z ? 3u : 2u);
    }
    game.Key(KeyCode::P);
    EXPECT_EQ(game.Physics(0)->collisionSets, edited);
    EXPECT_EQ(game.Physics(0)->collisionSets[1], (std::vector<Vec2>{{100, 100}, {120, 130}}))
        << "a two-point set comes back unmirrored";
    game.Key(KeyCode::P);
    game.Key(KeyCode::P);
    EXPECT_EQ(game.Physics(0)->collisionSets, edited);

    // Saved with the level, and read back from it.
    game.Send(SaveDialogSaveMessage());
    game.core.RunFrame();
    EXPECT_EQ(game.Physics(0)->collisionSets, edited);
    EXPECT_TRUE(game.Physics(0)->floorSets[0][2]);
}

TEST(PhysicsEditor, AnObjectWithoutPhysicsGetsAnOutlineButNoBodyTillTheLevelLoads) {
    Game game;
    game.Drag(300, 0);
    game.Key(KeyCode::P);
    PhysicsComponent* made = game.Physics(1);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->collisionSets, (Sets{{{20, 20}, {20, -20}, {-20, -20}, {-20, 20}}}));
    EXPECT_TRUE(!made->body && !made->Joined()) << "no body, not in the Physics system";
    game.Drag(280, 20, 0, -5);
    game.Key(KeyCode::N);
    game.core.RunFrame();
    // Leaving (with the outline editor open) writes it, the level loads it with a body, and play
    // goes on.
    game.Send(SaveDialogSaveMessage());
    game.core.RunFrame();
    ASSERT_NE(game.Physics(1), nullptr);
    EXPECT_NE(game.Physics(1)->body, nullptr);
    EXPECT_EQ(game.Physics(1)->collisionSets[0][3], Vec2(-20, 25));
    for (int i = 0; i < 30; ++i)
        game.core.RunFrame();
}

class PhysicsEditorPixels : public GraphicsTest::RendererTest {};

// A floor edge is red, the others grey, each in the colour of its end.
TEST_F(PhysicsEditorPixels, FloorEdgesDrawRed) {
    GraphicsTest::GameFolder folder;
    Core core;
    GameConfig config = TestGame::Config();
    config.paths.dataRoot = DataRoot();
    config.systems.graphics = config.systems.editor = true;
    config.drawInto = window;
    GameSystems systems = AddSystems(core, config);
    TestGame::Start(core);
    systems.factory->LoadLevelText(Level("false\nfalse\nfalse\ntrue\n"), "<test>");
    systems.editor->Enter();
    systems.editor->Select(systems.factory->objects.begin()->first);
    systems.editor->OutlineEditor().Open();
    for (int i = 0; i < 2; ++i) // drawn in the frame after the one that asks
        core.RunFrame();
    const Image image = systems.graphics->ReadBackBuffer();
    using GraphicsTest::Near, GraphicsTest::PixelAt;
    int top = 0, bottom = 0;
    for (int row = 256; row < 264; ++row) {
        top += Near(PixelAt(image, 400, row), GraphicsTest::kRed);
        bottom += Near(PixelAt(image, 400, row + 80), {170, 170, 170, 255});
    }
    EXPECT_GT(top, 0);
    EXPECT_GT(bottom, 0);
    core.Shutdown();
}

} // namespace
