// The save dialog in the real game with its own file: opening, clicks
// through the mouse messages, closing from inside a click, an empty dialog,
// and what the renderer shows under a zoomed camera.

#include "engine/EngineTestSupport.h"
#include "game/TestGame.h"
#include "graphics/GraphicsTestSupport.h"
#include "menus/SaveDialogElement.h"
#include "menus/SaveDialogSystem.h"

using namespace Flurr;
namespace {

using EngineTest::Recorder;

// The game's dialog: the board at the centre, the buttons along its lower
// part. Window pixels of a world point at 800 x 600 with the camera at the
// origin: (x + 400, 300 - y).
constexpr int kSaveX = 400 - 250, kButtonsY = 300 + 30;
constexpr int kCancelX = 400 + 250, kLeaveX = 400;
constexpr int kBoardOnlyX = 400, kBoardOnlyY = 300 - 60;

class DialogGame {
public:
    explicit DialogGame(const std::string& file = "Resources\\SaveDialog\\SaveDialog.zorvel") {
        GameConfig config = TestGame::Config();
        config.systems.saveDialog = true;
        config.paths.saveDialog = file;
        systems = AddSystems(core, config);
        heard = Recorder::AddTo(core, {55, 56, 57, 58});
        TestGame::Start(core);
    }
    ~DialogGame() { core.Shutdown(); }

    SaveDialogSystem& Dialog() { return *systems.saveDialog; }
    void Send(Message&& message) { core.SendMessage(&message); }
    void Click(int x, int y) {
        Send(MouseMovedMessage(x, y, false));
        Send(MouseClickedMessage(x, y, MouseButton::Left));
    }
    SaveDialogElement* Element(const std::string& command) {
        for (SaveDialogElement* element : Dialog().Elements())
            if (element->command == command)
                return element;
        return nullptr;
    }
    // The ids the elements sent since the last call.
    std::vector<int32_t> Heard() {
        std::vector<int32_t> ids(heard->ids.begin() + static_cast<std::ptrdiff_t>(taken),
                                 heard->ids.end());
        taken = heard->ids.size();
        return ids;
    }

    Core core;
    GameSystems systems;
    Recorder* heard = nullptr;

private:
    std::size_t taken = 0;
};

TEST(SaveDialog, OpensOnceAndEachButtonSendsItsIdAndClosesIt) {
    DialogGame game;
    Factory& factory = *game.systems.factory;
    EXPECT_FALSE(game.Dialog().IsOpen());

    game.Send(SaveDialogBackgroundMessage());
    game.Send(SaveDialogBackgroundMessage());
    game.Heard();
    ASSERT_TRUE(game.Dialog().IsOpen());
    ASSERT_EQ(game.Dialog().Elements().size(), 4u) << "loaded once";
    ASSERT_EQ(factory.objects.size(), 4u);
    for (const auto& [id, object] : factory.objects)
        EXPECT_FALSE(object->savedWithLevel) << "a saved level never holds the dialog";
    for (const char* command : {"Background", "Save", "Cancel", "CloseWOSaving"})
        ASSERT_NE(game.Element(command), nullptr) << command;
    EXPECT_EQ(game.Element("Save")->kind, SaveDialogElement::Save);
    EXPECT_EQ(game.Element("Background")->kind, SaveDialogElement::Other);
    game.core.RunFrame();

    // The board asks to open what is open: nothing changes.
    game.Click(kBoardOnlyX, kBoardOnlyY);
    EXPECT_EQ(game.Heard(), (std::vector<int32_t>{55}));
    EXPECT_TRUE(game.Dialog().IsOpen());
    EXPECT_EQ(game.Dialog().Elements().size(), 4u);
    EXPECT_EQ(factory.objects.size(), 4u);

    // Each button closes from inside its own click, over the board that
    // hears the same click: gone from the game at once, deleted by the
    // factory's next update.
    const std::pair<int, int32_t> buttons[] = {{kSaveX, 56}, {kCancelX, 57}, {kLeaveX, 58}};
    for (const auto& button : buttons) {
        if (!game.Dialog().IsOpen()) {
            game.Send(SaveDialogBackgroundMessage());
            game.Heard();
            game.core.RunFrame();
        }
        game.Click(button.first, kButtonsY);
        const std::vector<int32_t> ids = game.Heard();
        EXPECT_EQ(std::count(ids.begin(), ids.end(), button.second), 1) << button.second;
        EXPECT_FALSE(game.Dialog().IsOpen());
        EXPECT_TRUE(game.Dialog().Elements().empty());
        EXPECT_TRUE(factory.objects.empty());
        EXPECT_EQ(factory.pendingDestruction.size(), 4u);
        game.core.RunFrame();
        EXPECT_TRUE(factory.pendingDestruction.empty());
    }
    // A click on a closed dialog reaches no element.
    game.Click(kSaveX, kButtonsY);
    EXPECT_TRUE(game.Heard().empty());
}

// The pulse is the menus' own (tested with the pause menu); here, that the
// dialog's buttons use it and stay put on the screen as the camera moves.
TEST(SaveDialog, ButtonsPulseUnderTheMouseAndKeepToTheCamera) {
    DialogGame game;
    game.Send(SaveDialogBackgroundMessage());
    SaveDialogElement* save = game.Element("Save");
    ASSERT_NE(save, nullptr);
    game.Send(MouseMovedMessage(kSaveX, kButtonsY, false));
    game.core.RunFrame();
    EXPECT_TRUE(save->hovered);
    EXPECT_FLOAT_EQ(save->owner->xScale, 1.01f);
    EXPECT_FLOAT_EQ(game.Element("Cancel")->owner->xScale, 0.99f);

    game.Send(SetCameraMessage(100, 50, 30));
    game.Send(MoveCameraMessage(10, -10, 5));
    game.core.RunFrame();
    EXPECT_EQ(save->owner->x, -250.0f + 110.0f);
    EXPECT_EQ(save->owner->y, -30.0f + 40.0f);
}

TEST(SaveDialog, AnEmptyDialogOpensAndCloses) {
    EngineTest::WarningLog warnings;
    DialogGame game("Resources\\SaveDialog\\Missing.zorvel");
    game.Send(SaveDialogBackgroundMessage());
    EXPECT_TRUE(game.Dialog().IsOpen());
    EXPECT_TRUE(game.Dialog().Elements().empty());
    EXPECT_TRUE(warnings.Contains("Missing.zorvel")) << warnings;
    game.core.RunFrame();
    // The editor's close.
    game.Send(SaveDialogCloseMessage());
    EXPECT_FALSE(game.Dialog().IsOpen());
    game.Send(SaveDialogBackgroundMessage());
    EXPECT_TRUE(game.Dialog().IsOpen()) << "opens again";
}

// Drawn flat whatever the zoom, so the buttons are where the clicks land.
class SaveDialogDrawing : public GraphicsTest::RendererTest {};

TEST_F(SaveDialogDrawing, ButtonsAreDrawnWhereTheyAreClickedUnderAZoomedCamera) {
    Core core;
    GameConfig config = TestGame::Config();
    config.systems.graphics = true;
    config.systems.saveDialog = true;
    config.drawInto = window;
    GameSystems systems = AddSystems(core, config);
    Recorder* heard = Recorder::AddTo(core, {56});
    TestGame::Start(core);
    ASSERT_FALSE(systems.graphics->Failed());

    const float cameraX = 300.0f, cameraY = 200.0f;
    SetCameraMessage camera(cameraX, cameraY, 100.0f);
    core.SendMessage(&camera);
    SaveDialogBackgroundMessage open;
    core.SendMessage(&open);
    core.RunFrame();
    core.RunFrame();
    const Image frame = systems.graphics->ReadBackBuffer();
    ASSERT_EQ(frame.width, 800);
    // The Save button's green left of its label, and the board's cream
    // above the buttons, at their places on the 800 x 600 layout.
    EXPECT_TRUE(GraphicsTest::PixelIs(frame, kSaveX - 60, kButtonsY - 10, {127, 176, 105, 255}, 8));
    EXPECT_TRUE(GraphicsTest::PixelIs(frame, kBoardOnlyX, 300 - 30, {242, 227, 198, 255}, 8));

    MouseMovedMessage moved(kSaveX - 60, kButtonsY - 10, false);
    core.SendMessage(&moved);
    MouseClickedMessage clicked(kSaveX - 60, kButtonsY - 10, MouseButton::Left);
    core.SendMessage(&clicked);
    EXPECT_EQ(heard->ids, (std::vector<int32_t>{56}));
    EXPECT_FALSE(systems.saveDialog->IsOpen());
    core.RunFrame();
    core.Shutdown();
}

} // namespace
