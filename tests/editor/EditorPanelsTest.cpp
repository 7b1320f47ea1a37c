// The editor's panels in the real game: a real window and GL context on
// SDL's offscreen driver, real SDL events through the window's pump, and
// the frame read back from the renderer.

#include "editor/EditorPanels.h"
#include "editor/LevelEditor.h"
#include "engine/GameObject.h"
#include "graphics/GraphicsSystem.h"
#include "platform/PlatformTestSupport.h"
#include "platform/WindowsSystem.h"
#include "world/Factory.h"
#include "world/Route.h"
#include "world/SpaceManager.h"

using namespace Flurr;
using PlatformTest::Button;
using PlatformTest::Motion;
using PlatformTest::Push;
namespace {

// A pixel of the frame, as r + g + b.
int Brightness(const Image& image, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * image.width + x) * 4;
    return image.rgba[at] + image.rgba[at + 1] + image.rgba[at + 2];
}

TEST(EditorPanels, ShowOverTheFrameTakeTheirClicksAndTheOutlineSelectsAndCentres) {
    EngineTest::TempDir dir;
    const std::string level = dir.Write(
        "Level.zorvel", "Root\n  Background:Resources/Images/Backgrounds/Sky.png\n-Root\n");
    const std::string route =
        dir.Write("Route.zorvel", "Root\n  LevelFile:" + level +
                                      "\n  NextFile:" + dir.Path("Route.zorvel") + "\n-Root\n");
    Core core;
    GameConfig config = TestGame::Config();
    config.systems.window = config.systems.graphics = config.systems.input = true;
    config.systems.editor = config.systems.saveDialog = config.systems.panels = true;
    config.present = [] {};
    config.playRoute = true;
    config.startRoute = route;
    GameSystems systems = AddSystems(core, config);
    ASSERT_TRUE(systems.ok);
    ASSERT_NE(systems.panels, nullptr);
    TestGame::Start(core);
    systems.spaces->ActivateOnlyGameSpace();
    core.Route()->Load();
    core.RunFrame();
    GraphicsSystem& graphics = *systems.graphics;
    LevelEditor& editor = *systems.editor;
    const Image played = graphics.ReadBackBuffer();

    editor.Enter();
    // A box under the "Level" panel (top left) and one in the open.
    const auto boxAt = [&](int px, int py) {
        Push({Motion(px, py)});
        core.RunFrame();
        GameObject* box = systems.factory->CreateGameObject();
        box->x = editor.CursorWorld().x;
        box->y = editor.CursorWorld().y;
        box->width = box->height = 40;
        return box->id;
    };
    const int32_t hidden = boxAt(120, 250);
    const int32_t open = boxAt(350, 450);
    core.RunFrame();
    const Image edited = graphics.ReadBackBuffer();
    ASSERT_EQ(edited.width, played.width);
    // The panel's dark body covers the sky where it is, and only there.
    EXPECT_LT(Brightness(edited, 120, 200), 100);
    EXPECT_GT(Brightness(played, 120, 200), 300);
    EXPECT_EQ(Brightness(edited, 350, 550), Brightness(played, 350, 550));

    // A click in the panel picks nothing behind it; one in the open does.
    Push({Motion(120, 250), Button(SDL_BUTTON_LEFT, true, 120, 250),
          Button(SDL_BUTTON_LEFT, false, 120, 250)});
    core.RunFrame();
    EXPECT_EQ(editor.Selected(), LevelEditor::kNone) << "the box under the panel was picked";
    Push({Motion(350, 450), Button(SDL_BUTTON_LEFT, true, 350, 450),
          Button(SDL_BUTTON_LEFT, false, 350, 450)});
    core.RunFrame();
    EXPECT_EQ(editor.Selected(), open);

    // The outline's first row is the hidden box (ids in order): a click
    // selects it and puts it in the middle of the view.
    Push({Motion(60, 77), Button(SDL_BUTTON_LEFT, true, 60, 77)});
    core.RunFrame();
    Push({Button(SDL_BUTTON_LEFT, false, 60, 77)});
    core.RunFrame();
    core.RunFrame();
    EXPECT_EQ(editor.Selected(), hidden);
    const GameObject* box = systems.factory->FindObject(hidden);
    EXPECT_FLOAT_EQ(graphics.Camera().x, box->x);
    EXPECT_FLOAT_EQ(graphics.Camera().y, box->y);
    core.Shutdown();
}

} // namespace
