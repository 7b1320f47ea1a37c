// The save dialog in the real game with its own file: opening, clicks
// through the mouse messages, closing from inside a click, an empty dialog,
// and what the renderer shows under a zoomed camera.

#include "engine/EngineTestSupport.h"
#include "game/TestGame.h"
#include "graphics/GraphicsTestSupport.h"
#include "menus/SaveDialogElement.h"
#include "menus/SaveDialogSystem.h"
#include "platform/PlatformTestSupport.h"

using namespace Flurr;
namespace {

// The game's dialog: the board at the centre, the buttons along its lower
// part. Window pixels of a world point at 800 x 600 with the camera at the
// origin: (x + 400, 300 - y).
constexpr int kSaveX = 400 - 250, kButtonsY = 300 + 30;
constexpr int kCancelX = 400 + 250, kLeaveX = 400;
constexpr int kBoardOnlyX = 400, kBoardOnlyY = 300 - 60;

// The dialog over the factory and the spaces (or drawn into `window`),
// hearing the ids its elements send.
struct DialogGame : PlatformTest::Game {
    explicit DialogGame(const std::string& file = "Resources\\SaveDialog\\SaveDialog.zorvel",
                        SDL_Window* window = nullptr)
        : Game(Config(file, window), {55, 56, 57, 58}) {}
    static GameConfig Config(const std::string& file, SDL_Window* window) {
        GameConfig config = TestGame::Config();
        config.systems.saveDialog = true;
        config.systems.graphics = window != nullptr;
        config.drawInto = window;
        config.paths.saveDialog = file;
        return config;
    }
    SaveDialogSystem& Dialog() { return *saveDialog; }
    void Send(Message&& message) { core->SendMessage(&message); }
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
        std::vector<int32_t> ids;
        for (const std::string& line : heard->Take())
            ids.push_back(std::stoi(line.substr(3)));
        return ids;
    }
};

TEST(SaveDialog, OpensOnceAndEachButtonSendsItsIdAndClosesIt) {
    DialogGame game;
    Factory& factory = *game.factory;
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
    game.core->RunFrame();

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
            game.core->RunFrame();
        }
        game.Click(button.first, kButtonsY);
        const std::vector<int32_t> ids = game.Heard();
        EXPECT_EQ(std::count(ids.begin(), ids.end(), button.second), 1) << button.second;
        EXPECT_FALSE(game.Dialog().IsOpen());
        EXPECT_TRUE(game.Dialog().Elements().empty());
        EXPECT_TRUE(factory.objects.empty());
        EXPECT_EQ(factory.pendingDestruction.size(), 4u);
        game.core->RunFrame();
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
    game.core->RunFrame();
    EXPECT_TRUE(save->hovered);
    EXPECT_FLOAT_EQ(save->owner->xScale, 1.01f);
    EXPECT_FLOAT_EQ(game.Element("Cancel")->owner->xScale, 0.99f);

    game.Send(SetCameraMessage(100, 50, 30));
    game.Send(MoveCameraMessage(10, -10, 5));
    game.core->RunFrame();
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
    game.core->RunFrame();
    // The editor's close.
    game.Send(SaveDialogCloseMessage());
    EXPECT_FALSE(game.Dialog().IsOpen());
    game.Send(SaveDialogBackgroundMessage());
    EXPECT_TRUE(game.Dialog().IsOpen()) << "opens again";
}

// Drawn flat whatever the zoom, so the buttons are where the clicks land.
class SaveDialogDrawing : public GraphicsTest::RendererTest {};

TEST_F(SaveDialogDrawing, ButtonsAreDrawnWhereTheyAreClickedUnderAZoomedCamera) {
    DialogGame game("Resources\\SaveDialog\\SaveDialog.zorvel", window);
    ASSERT_FALSE(game.graphics->Failed());
    game.Send(SetCameraMessage(300.0f, 200.0f, 100.0f));
    game.Send(SaveDialogBackgroundMessage());
    game.Frames(2);
    const Image frame = game.graphics->ReadBackBuffer();
    ASSERT_EQ(frame.width, 800);
    // The Save button's green left of its label, and the board's cream
    // above the buttons, at their places on the 800 x 600 layout.
    EXPECT_TRUE(GraphicsTest::PixelIs(frame, kSaveX - 60, kButtonsY - 10, {127, 176, 105, 255}, 8));
    EXPECT_TRUE(GraphicsTest::PixelIs(frame, kBoardOnlyX, 300 - 30, {242, 227, 198, 255}, 8));

    game.Click(kSaveX - 60, kButtonsY - 10);
    const std::vector<int32_t> ids = game.Heard();
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 56), 1);
    EXPECT_FALSE(game.Dialog().IsOpen());
    game.Frames(1);
}

} // namespace
