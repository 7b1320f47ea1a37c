// The level editor in the real game, driven by the messages the input
// system sends: picking and click-cycling, dragging at two zooms, the pan
// and zoom steps, delete, copy and paste (and clipboards that hold no
// object), archetypes, undo and redo, playtests, and saving through the
// dialog -- what a save writes, and that a failed one loses nothing.

#include <SDL.h>
#include <unistd.h>

#include "editor/LevelEditor.h"
#include "engine/EngineTestSupport.h"
#include "game/TestGame.h"
#include "platform/Clipboard.h"
#include "player/PlayerComponent.h"
#include "world/Route.h"

using namespace Flurr;
namespace {

using EngineTest::TempDir;
using EngineTest::WarningLog;

std::string Box(float x, float y, int size) {
    return "  GameObject\n    X:" + std::to_string(x) + "\n    Y:" + std::to_string(y) +
           "\n    WIDTH:" + std::to_string(size) + "\n    HEIGHT:" + std::to_string(size) +
           "\n  -GameObject\n";
}

// Three boxes stacked at the origin, one at (200, 0).
std::string Boxes() {
    return "Root\n  Background:Resources/Images/Backgrounds/Sky.png\n" + Box(0, 0, 100) +
           Box(0, 0, 60) + Box(0, 0, 40) + Box(200, 0, 50) + "-Root\n";
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// A level the game ships, as its file reads.
std::string Shipped(const std::string& name) {
    std::ifstream in(std::string(CLOUDMERE_SOURCE_DIR) + "/Resources/Levels/" + name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class EditorGame {
public:
    // The level is copied into a folder of the test's own, with a route
    // naming it, so saves go there; everything else comes from Resources.
    explicit EditorGame(const std::string& levelText, bool wholeGame = false) {
        level = dir.Write("Level.zorvel", levelText);
        const std::string route =
            dir.Write("Route.zorvel", "Root\n  LevelFile:" + level +
                                          "\n  NextFile:" + dir.Path("Route.zorvel") + "\n-Root\n");
        GameConfig config = TestGame::Config();
        if (wholeGame)
            config.systems = {.window = false, .graphics = false, .input = false, .sound = false};
        config.systems.editor = config.systems.saveDialog = true;
        config.playRoute = true;
        config.startRoute = route;
        systems = AddSystems(core, config);
        TestGame::Start(core);
        systems.spaces->ActivateOnlyGameSpace();
        core.Route()->Load();
        core.RunFrame();
    }
    ~EditorGame() { core.Shutdown(); }

    LevelEditor& Editor() { return *systems.editor; }
    Factory& Objects() { return *systems.factory; }
    void Send(Message&& message) { core.SendMessage(&message); }
    void Frames(int n) {
        for (int i = 0; i < n; ++i)
            core.RunFrame();
    }
    void Key(uint8_t key) {
        Send(KeyTriggeredMessage(key));
        Send(KeyReleasedMessage(key));
    }
    void Ctrl(uint8_t key, bool shift = false) {
        Send(KeyTriggeredMessage(KeyCode::Control));
        if (shift)
            Send(KeyTriggeredMessage(KeyCode::Shift));
        Key(key);
        if (shift)
            Send(KeyReleasedMessage(KeyCode::Shift));
        Send(KeyReleasedMessage(KeyCode::Control));
    }
    void MoveTo(int x, int y, bool held = false) {
        mouseX = x;
        mouseY = y;
        Send(MouseMovedMessage(x, y, held));
    }
    void Click(int x, int y, uint8_t button = MouseButton::Left) {
        MoveTo(x, y);
        Send(MouseClickedMessage(x, y, button));
        Send(MouseReleasedMessage(x, y, button));
    }
    // Press at (x, y), drag by (dx, dy) pixels, release.
    void Drag(int x, int y, int dx, int dy) {
        MoveTo(x, y);
        Send(MouseClickedMessage(x, y, MouseButton::Left));
        MoveTo(x + dx, y + dy, true);
        Send(MouseReleasedMessage(x + dx, y + dy, MouseButton::Left));
    }
    bool Active(const char* space) const { return systems.spaces->IsSpaceActive(space); }
    std::string LevelNow() { return Objects().LevelText(Editor().Background()); }
    // The recorded objects, in id order.
    std::vector<GameObject*> List() {
        std::vector<GameObject*> list;
        for (const auto& entry : Objects().objects)
            list.push_back(entry.second);
        return list;
    }

    TempDir dir;
    std::string level;
    Core core;
    GameSystems systems;
    int mouseX = 0, mouseY = 0;
};

// The screen is 800 x 600 without a renderer: the world's origin is at
// pixel (400, 300) while the camera is there.
constexpr int kCentreX = 400, kCentreY = 300;

TEST(LevelEditor, ClicksCycleAStackPickingAndDraggingFollowTheZoomAndPanStepsTheTable) {
    EditorGame game(Boxes());
    const std::vector<GameObject*> boxes = game.List();
    ASSERT_EQ(boxes.size(), 4u);
    game.Key(KeyCode::F1);
    ASSERT_TRUE(game.Active(Spaces::LevelEditor));
    ASSERT_FALSE(game.Active(Spaces::Game)) << "the world waits while it is edited";

    game.Click(kCentreX, kCentreY);
    EXPECT_EQ(game.Editor().Selected(), boxes[0]->id);
    // Clicks in quick succession walk down the stack, then start again.
    for (int i : {1, 2, 0, 1}) {
        game.Click(kCentreX, kCentreY);
        EXPECT_EQ(game.Editor().Selected(), boxes[i]->id) << i;
    }
    // With Ctrl the selection stays (ready to drag), however quick.
    game.Send(KeyTriggeredMessage(KeyCode::Control));
    game.Click(kCentreX, kCentreY);
    EXPECT_EQ(game.Editor().Selected(), boxes[1]->id);
    game.Send(KeyReleasedMessage(KeyCode::Control));
    // After two seconds a click keeps it too.
    game.Frames(125);
    game.Click(kCentreX, kCentreY);
    EXPECT_EQ(game.Editor().Selected(), boxes[1]->id);
    // Another object, then nothing.
    game.Click(kCentreX + 200, kCentreY);
    EXPECT_EQ(game.Editor().Selected(), boxes[3]->id);
    game.Click(kCentreX + 100, kCentreY + 200);
    EXPECT_EQ(game.Editor().Selected(), LevelEditor::kNone);

    GameObject* far = boxes[3];
    game.Drag(kCentreX + 200, kCentreY, 10, -20);
    EXPECT_FLOAT_EQ(far->x, 210.0f);
    EXPECT_FLOAT_EQ(far->y, 20.0f);
    // Ten steps out the view is twice as wide: the box is half as far
    // from the centre on the screen, and a pixel moves it two units.
    for (int i = 0; i < 10; ++i)
        game.Key(KeyCode::OemMinus);
    ASSERT_FLOAT_EQ(game.Editor().WorldPerPixel(), 2.0f);
    game.Click(kCentreX + 50, kCentreY); // world (100, 0): past the big box's edge at 50
    EXPECT_EQ(game.Editor().Selected(), LevelEditor::kNone);
    game.Click(kCentreX + 105, kCentreY - 10);
    ASSERT_EQ(game.Editor().Selected(), far->id);
    game.Drag(kCentreX + 105, kCentreY - 10, 10, 10);
    EXPECT_FLOAT_EQ(far->x, 230.0f);
    EXPECT_FLOAT_EQ(far->y, 0.0f);

    // Zooming out counts up to 100 steps; every ten make the pan longer.
    game.Key(KeyCode::Digit0);
    EXPECT_EQ(game.Editor().ZoomSteps(), 0);
    EXPECT_FLOAT_EQ(game.Editor().WorldPerPixel(), 1.0f);
    game.Click(kCentreX + 100, kCentreY + 200);
    ASSERT_EQ(game.Editor().Selected(), LevelEditor::kNone);
    game.MoveTo(kCentreX, kCentreY);
    const std::tuple<int, int, float> rows[] = {{0, 0, 10},    {9, 9, 10},   {1, 10, 20},
                                                {9, 19, 20},   {36, 55, 60}, {45, 100, 110},
                                                {30, 100, 110}};
    for (const auto& [zoomOuts, steps, pan] : rows) {
        for (int i = 0; i < zoomOuts; ++i)
            game.Key(KeyCode::OemMinus);
        EXPECT_EQ(game.Editor().ZoomSteps(), steps);
        const Vec2 before = game.Editor().CursorWorld();
        game.Key(KeyCode::Right);
        game.Send(KeyPressedMessage(KeyCode::Up)); // held
        const Vec2 after = game.Editor().CursorWorld();
        EXPECT_FLOAT_EQ(after.x - before.x, pan) << steps;
        EXPECT_FLOAT_EQ(after.y - before.y, pan) << steps;
    }
    game.Key(KeyCode::OemPlus);
    EXPECT_EQ(game.Editor().ZoomSteps(), 99);
    game.Key(KeyCode::Digit0);
    game.Key(KeyCode::OemPlus);
    EXPECT_EQ(game.Editor().ZoomSteps(), 0) << "never below 0";
}

TEST(LevelEditor, DeleteCopyAndPasteAndClipboardsWithoutAnObject) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    {
        EditorGame game(Boxes());
        WarningLog log;
        game.Key(KeyCode::F1);
        game.Click(kCentreX + 200, kCentreY);
        game.Ctrl(KeyCode::C);
        const std::string copied = game.Editor().ClipboardText();
        EXPECT_EQ(Count(copied, "\n  GameObject\n"), 1u);
        std::string onClipboard;
        ASSERT_TRUE(GetClipboardText(onClipboard));
        EXPECT_EQ(onClipboard, copied);

        game.MoveTo(kCentreX - 100, kCentreY - 50);
        game.Ctrl(KeyCode::V);
        ASSERT_EQ(game.Objects().objects.size(), 5u);
        GameObject* pasted = game.List().back();
        EXPECT_EQ(game.Editor().Selected(), pasted->id);
        EXPECT_FLOAT_EQ(pasted->x, -100.0f);
        EXPECT_FLOAT_EQ(pasted->y, 50.0f);
        EXPECT_EQ(pasted->width, 50);

        // Text that is no object of ours, none at all, or far too much:
        // nothing is made and our own copy stays.
        const std::string tooLong = "Root\n  GameObject\n" + std::string(2 << 20, ' ') + "\n";
        for (const std::string& bad :
             {std::string("hello, world"), std::string("Root\n-Root\n"), std::string(), tooLong}) {
            ASSERT_TRUE(SetClipboardText(bad));
            game.Ctrl(KeyCode::V);
            EXPECT_EQ(game.Objects().objects.size(), 5u) << bad.substr(0, 20);
            EXPECT_EQ(game.Editor().ClipboardText(), copied);
        }
        EXPECT_EQ(log.Count("nothing pasted"), 4) << log;

        // Paste works in play too.
        game.Send(SaveDialogCloseWithoutSavingMessage());
        game.Frames(1);
        ASSERT_TRUE(SetClipboardText(copied));
        game.Ctrl(KeyCode::V);
        EXPECT_EQ(game.Objects().objects.size(), 5u);

        game.Key(KeyCode::F1);
        game.Click(kCentreX, kCentreY);
        const int32_t doomed = game.Editor().Selected();
        game.Key(KeyCode::Delete);
        EXPECT_EQ(game.Objects().FindObject(doomed), nullptr);
        EXPECT_EQ(game.Editor().Selected(), LevelEditor::kNone);
        game.Frames(1);
        EXPECT_EQ(game.Objects().objects.size(), 4u);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST(LevelEditor, MiddleButtonPlacesTheArchetypeOrSaysTheFileIsMissing) {
    EditorGame game(Boxes());
    WarningLog log;
    game.Key(KeyCode::F1);
    EXPECT_EQ(game.Editor().Archetype(), "Player") << "the first in Resources/Objects";
    game.Click(kCentreX + 300, kCentreY - 100, MouseButton::Middle);
    ASSERT_EQ(game.Objects().objects.size(), 5u);
    GameObject* placed = game.List().back();
    EXPECT_FLOAT_EQ(placed->x, 300.0f);
    EXPECT_FLOAT_EQ(placed->y, 100.0f);
    EXPECT_EQ(placed->width, 128);
    EXPECT_TRUE(placed->savedWithLevel);

    game.Editor().SetArchetype("NoSuchThing");
    game.Click(kCentreX, kCentreY, MouseButton::Middle);
    EXPECT_EQ(game.Objects().objects.size(), 5u);
    EXPECT_TRUE(log.Contains("Error! File does not exist")) << log;
    EXPECT_EQ(game.Editor().UndoSteps(), 1u) << "a failed placing is no step";
}

TEST(LevelEditor, UndoAndRedoWalkBackAndForthOverMoveDeletePasteAndPlace) {
    EditorGame game(Boxes());
    game.Key(KeyCode::F1);
    std::vector<std::string> states{game.LevelNow()};
    game.Drag(kCentreX + 200, kCentreY, 30, 0);
    states.push_back(game.LevelNow());
    game.Key(KeyCode::Delete);
    states.push_back(game.LevelNow());
    game.Click(kCentreX, kCentreY);
    game.Ctrl(KeyCode::C);
    game.MoveTo(kCentreX - 200, kCentreY);
    game.Ctrl(KeyCode::V);
    states.push_back(game.LevelNow());
    game.Click(kCentreX, kCentreY + 200, MouseButton::Middle);
    states.push_back(game.LevelNow());
    ASSERT_EQ(game.Editor().UndoSteps(), 4u);
    for (std::size_t i = 1; i < states.size(); ++i)
        ASSERT_NE(states[i], states[i - 1]) << i;

    for (int i = 3; i >= 0; --i) {
        game.Ctrl(KeyCode::Z);
        game.Frames(1);
        EXPECT_EQ(game.LevelNow(), states[static_cast<std::size_t>(i)]) << "undo to " << i;
    }
    game.Ctrl(KeyCode::Z); // nothing left
    game.Frames(1);
    EXPECT_EQ(game.LevelNow(), states[0]);
    for (std::size_t i = 1; i < states.size(); ++i) {
        game.Ctrl(i % 2 ? KeyCode::Y : KeyCode::Z, i % 2 == 0);
        game.Frames(1);
        EXPECT_EQ(game.LevelNow(), states[i]) << "redo to " << i;
    }
    // A new edit drops what could be redone.
    game.Ctrl(KeyCode::Z);
    game.Frames(1);
    game.Drag(kCentreX, kCentreY, 5, 5);
    EXPECT_EQ(game.Editor().RedoSteps(), 0u);
}

TEST(LevelEditor, SaveWritesOnlyTheLevelWithItsBackgroundAndKeepsABackup) {
    const std::string original = Shipped("Town.zorvel");
    EditorGame game(original, true);
    game.Frames(30);
    std::size_t runtime = 0;
    for (GameObject* object : game.List())
        runtime += object->savedWithLevel ? 0 : 1;
    ASSERT_GT(runtime, 0u) << "clouds, markers and the job panel are alive";

    game.Key(KeyCode::F1);
    game.Key(KeyCode::F1);
    ASSERT_TRUE(game.Active(Spaces::SaveDialog)) << "F1 in the editor offers the dialog";
    game.Frames(1);
    const std::string live = game.LevelNow();
    game.Send(SaveDialogSaveMessage());
    const std::string saved = game.dir.Read("Level.zorvel");
    EXPECT_EQ(saved, live + "\n") << "exactly the level, as the editor had it";
    EXPECT_EQ(game.dir.Read("Level.zorvel.bak"), original);
    EXPECT_EQ(Count(saved, "\n  GameObject\n"), Count(original, "\n  GameObject\n"));
    const std::string background = original.substr(0, original.find('\n', 5));
    ASSERT_NE(background.find("Background:Resources"), std::string::npos);
    EXPECT_EQ(saved.rfind(background, 0), 0u) << "the background kept";
    EXPECT_FALSE(game.Active(Spaces::LevelEditor));

    // Read back at the editor's next update: the same level again.
    game.Frames(1);
    EXPECT_TRUE(game.Active(Spaces::Game));
    std::size_t level = 0;
    for (GameObject* object : game.List())
        level += object->savedWithLevel ? 1 : 0;
    EXPECT_EQ(level, Count(original, "\n  GameObject\n"));
}

TEST(LevelEditor, AFailedSaveKeepsTheFileTheEditorAndTheEdits) {
    EditorGame game(Boxes());
    WarningLog log;
    const std::string before = game.dir.Read("Level.zorvel");
    // Nothing may be written beside the level: a read-only folder, and
    // for a superuser (whom that does not stop) a backup that cannot be
    // replaced.
    std::filesystem::create_directories(game.dir.Path("Level.zorvel.bak/keep"));
    if (geteuid() != 0)
        std::filesystem::permissions(game.dir.Root(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
    game.Key(KeyCode::F1);
    game.Drag(kCentreX + 200, kCentreY, 40, 0);
    const std::string edited = game.LevelNow();
    game.Key(KeyCode::F1);
    game.Send(SaveDialogSaveMessage());
    game.Frames(2);
    EXPECT_TRUE(log.Contains("Error! The level was not saved")) << log;
    EXPECT_TRUE(game.Active(Spaces::LevelEditor));
    EXPECT_FALSE(game.Active(Spaces::Game));
    EXPECT_EQ(game.LevelNow(), edited) << "no reload: the edits are all there";
    EXPECT_EQ(game.dir.Read("Level.zorvel"), before);
    EXPECT_EQ(game.Editor().UndoSteps(), 1u);
}

TEST(LevelEditor, PlaytestPlaysTheEditsAndComesBackToThem) {
    const std::string hillside = Shipped("Hillside.zorvel");
    EditorGame game(hillside, true);
    game.Key(KeyCode::F1);
    // The player, lifted a hundred units: it falls when the level plays.
    for (GameObject* object : game.List())
        if (object->Get<PlayerComponent>())
            game.Editor().Select(object->id);
    ASSERT_NE(game.Editor().SelectedObject(), nullptr);
    game.MoveTo(kCentreX, kCentreY);
    game.MoveTo(kCentreX, kCentreY - 100, true);
    const std::string edited = game.LevelNow();
    const std::size_t steps = game.Editor().UndoSteps();

    for (uint8_t back : {KeyCode::F5, KeyCode::Escape}) {
        game.Key(KeyCode::F5);
        EXPECT_TRUE(game.Editor().IsPlaytesting());
        EXPECT_TRUE(game.Active(Spaces::Game));
        game.Frames(60);
        EXPECT_NE(game.LevelNow(), edited) << "the level played: the player fell";
        game.Key(back);
        game.Frames(1);
        EXPECT_FALSE(game.Editor().IsPlaytesting());
        EXPECT_TRUE(game.Active(Spaces::LevelEditor));
        EXPECT_FALSE(game.Active(Spaces::Game));
        EXPECT_FALSE(game.Active(Spaces::Pause)) << "Escape ended the playtest, no menu";
        EXPECT_EQ(game.LevelNow(), edited);
        EXPECT_EQ(game.Editor().UndoSteps(), steps);
    }
    EXPECT_EQ(game.dir.Read("Level.zorvel"), hillside) << "a playtest saves nothing";
}

} // namespace
