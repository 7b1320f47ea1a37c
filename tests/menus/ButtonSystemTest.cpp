// The title menu's buttons in a real game on the real title level: the
// pad's A on the selected button, the stick's steps, the pause menu over
// the title, and the route from the logo through the title into Hillside.

#include <map>

#include "menus/MenuTestSupport.h"
#include "tools/ProgramRunner.h"

using namespace Flurr;
using MenuTest::MenuGame;

namespace {

Button* TitleButton(const Factory& factory, const std::string& command) {
    for (const auto& [id, object] : factory.objects)
        if (Button* button = object->Get<Button>(); button && button->command == command)
            return button;
    return nullptr;
}

TEST(TitleMenu, PadAndStickWorkTheButtonsAndPlayStartsTheGame) {
    EngineTest::WarningLog warnings;
    MenuGame game;
    game.factory->LoadLevel("Resources\\Levels\\Title.zorvel");
    game.Frame();
    ASSERT_EQ(game.buttons->Count(), 3u);
    const Button* options = TitleButton(*game.factory, "Options");
    ASSERT_NE(options, nullptr);

    // Down once: the pointer goes onto "Options", which pulses.
    game.Send(XboxLThumbMoved(0.0f, -1.0f, 1));
    game.Frame();
    game.Send(XboxLThumbMoved(0.0f, 0.0f, 0));
    EXPECT_EQ(game.buttons->selected, 1);
    EXPECT_EQ(game.Since("MouseMoved"),
              (std::vector<std::string>{"MouseMoved 400 " +
                                        std::to_string(300 - int(options->owner->y)) + " 0"}));
    game.Frames(5);
    EXPECT_TRUE(options->hovered);
    EXPECT_GT(options->owner->xScale, 1.0f);

    // A on it opens the pause menu over the title; the buttons wait.
    game.Pad(PadButton::A);
    ASSERT_TRUE(game.pause->IsOpen());
    EXPECT_FALSE(game.Active(Spaces::Game));
    game.Frames(3);
    // Enter on "Resume" closes it; that Enter is the menu's, and does not
    // go on to fire the title's selected button and open it again.
    game.Since();
    game.Send(KeyTriggeredMessage(KeyCode::Return));
    EXPECT_FALSE(game.pause->IsOpen());
    const std::vector<std::string> heard = game.Since("id 5");
    EXPECT_EQ(heard, (std::vector<std::string>{"id 51 Resume"}));
    game.Frame();

    // Up past the top wraps round to "Quit": the question comes at once.
    game.Send(XboxLThumbMoved(0.0f, 1.0f, 1));
    game.Frames(2);
    game.Send(XboxLThumbMoved(0.0f, 0.0f, 0));
    game.Frame();
    EXPECT_EQ(game.buttons->selected, 0);
    game.Send(XboxLThumbMoved(0.0f, 1.0f, 1));
    game.Frame();
    game.Send(XboxLThumbMoved(0.0f, 0.0f, 0));
    EXPECT_EQ(game.buttons->selected, 2);
    game.Pad(PadButton::A);
    ASSERT_EQ(game.pause->screens.size(), 2u);
    EXPECT_EQ(game.pause->screens.back().file, PauseScreens::QuitConfirm);
    game.Pad(PadButton::B);
    game.Pad(PadButton::B);
    EXPECT_FALSE(game.pause->IsOpen());
    game.Frame();

    // Enter on "New game" (back down to it) starts the game; without a
    // transition to do it, the next level is asked for at once.
    game.Send(XboxLThumbMoved(0.0f, -1.0f, 1));
    game.Frame();
    game.Send(XboxLThumbMoved(0.0f, 0.0f, 0));
    game.Frame();
    ASSERT_EQ(game.buttons->selected, 0);
    game.Send(KeyTriggeredMessage(KeyCode::Return));
    EXPECT_EQ(game.heard->Count("id 60"), 1u);
    EXPECT_EQ(game.core->RequestedState(), GameState::NextLevel);
    // (The sprites have no renderer here to find their pictures in.)
    EXPECT_EQ(warnings.Count("pause menu") + warnings.Count("missing"), 0) << warnings;
}

TEST(TitleMenu, OneButtonStaysSelectedAndAListThatChangesStartsAgainAtTheTop) {
    MenuGame game;
    EngineTest::LevelText level;
    level.Object(0, 0, {{"WIDTH", "200"}, {"HEIGHT", "50"}})
        .With("Button", {{"Command", "Play"}, {"ElementID", "0"}});
    game.factory->CreateObjectFromText(level.Text(""));
    game.Frame();
    ASSERT_EQ(game.buttons->Count(), 1u);
    game.Since();
    game.Send(XboxLThumbMoved(0.0f, -1.0f, 2));
    game.Frames(60);
    EXPECT_EQ(game.buttons->selected, 0);
    EXPECT_TRUE(game.Since("MouseMoved").empty());

    // A second button, then the first gone: selection back at the top,
    // and A on a list whose selected id no button carries does nothing.
    game.Send(XboxLThumbMoved(0.0f, 0.0f, 0));
    game.factory->LoadLevel("Resources\\Levels\\Title.zorvel");
    game.buttons->selected = 3;
    game.factory->DestroyObject(TitleButton(*game.factory, "Quit")->owner);
    EXPECT_EQ(game.buttons->selected, 0);
    for (const char* command : {"Continue", "NewGame", "Play"})
        game.factory->DestroyObject(TitleButton(*game.factory, command)->owner);
    game.Frame();
    game.Since();
    game.Pad(PadButton::A);
    EXPECT_TRUE(game.Since("MouseClicked").empty());
}

// The program as a player starts it from the logo: two skips, the title,
// Enter on "New game", Hillside after the zoom-out; there Escape, down to
// "Options", in, back, Escape again, and a walk to the right. Hillside
// with its player walked on, and nothing of the menus, is what is left.
TEST(TitleMenu, TheRouteRunsFromTheLogoThroughTheTitleIntoHillside) {
    std::map<int, std::vector<std::string>> events;
    events[0] = {"F 1"};
    events[140] = {"K 27 1"}; // Esc: to the controls page
    events[141] = {"K 27 0"};
    events[150] = {"K 27 1"}; // and on to the title
    events[151] = {"K 27 0"};
    events[180] = {"K 13 1"}; // Enter on "New game"
    events[181] = {"K 13 0"};
    const int hillside = 400;
    const char* keys[] = {"27", "40", "40", "13", "8", "27"}; // Esc, Down, Down, Enter, Back, Esc
    for (int i = 0; i < 6; ++i) {
        events[hillside + 10 * i] = {std::string("K ") + keys[i] + " 1"};
        events[hillside + 10 * i + 1] = {std::string("K ") + keys[i] + " 0"};
    }
    events[hillside + 70] = {"K 68 1"}; // D
    EngineTest::TempDir dir;
    // "New game" zooms out for three seconds before Hillside.
    dir.Write("play.zorvel", EngineTest::RecordingText(99, 560, events));
    const EngineTest::Outcome run =
        EngineTest::RunGame("--windowed --size 400x300 --route Resources/Levels/Routes/Logo.zorvel "
                            "--replay play.zorvel --save-on-exit end.zorvel",
                            dir.Root());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string world = dir.Read("end.zorvel");
    const std::size_t player = world.rfind("  GameObject\n    X:", world.find("PlayerComponent"));
    ASSERT_NE(player, std::string::npos) << world.substr(0, 600);
    EXPECT_GT(std::stof(world.substr(player + 19)), 100.0f) << "walked on after the menu";
    EXPECT_FALSE(EngineTest::Contains(world, "    Button\n"));
    EXPECT_FALSE(EngineTest::Contains(world, "PauseElement"));
    EXPECT_FALSE(EngineTest::Contains(world, "LogoLogicComponent"));
}

} // namespace
