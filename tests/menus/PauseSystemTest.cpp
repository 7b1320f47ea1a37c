// The pause menu in a real game: opening and closing it, its screens
// stacked with their selections and pointers, the stick's hold and
// repeat, and every command of its screens.

#include "menus/MenuTestSupport.h"

using namespace Flurr;
using MenuTest::MenuGame;

namespace {

TEST(PauseMenu, OpensAndClosesOnEscapeAndStartLeavingNoObjectBehind) {
    EngineTest::WarningLog warnings;
    MenuGame game;
    game.Frame();
    const std::size_t before = game.Objects();

    // Over the logo pictures there is no menu.
    game.spaces->GetOrCreateSpace(Spaces::Logo)->active = true;
    game.Key(KeyCode::Escape);
    EXPECT_FALSE(game.pause->IsOpen());
    game.spaces->SetSpaceActive(Spaces::Logo, false);

    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        game.Since();
        if (round == 1)
            game.Pad(PadButton::Start);
        else
            game.Key(KeyCode::Escape);
        ASSERT_TRUE(game.pause->IsOpen());
        EXPECT_TRUE(game.Active(Spaces::Pause));
        EXPECT_FALSE(game.Active(Spaces::Game));
        // The pointer goes onto "Resume", element 0, and the game goes quiet.
        EXPECT_EQ(game.heard->Take(),
                  (std::vector<std::string>{"MouseMoved 400 175 0", "id 42 0.3"}));
        // Deeper screens, with their cards and pictures, go with it.
        if (round == 2) {
            game.Send(ButtonInputMessage("OptionsPauseMenu"));
            game.Send(ButtonInputMessage("HowToPlay"));
            EXPECT_EQ(game.pause->screens.size(), 3u);
        }
        game.Frame();
        EXPECT_GT(game.Objects(), before);
        if (round == 1)
            game.Pad(PadButton::Start);
        else
            game.Key(KeyCode::Escape);
        EXPECT_FALSE(game.pause->IsOpen());
        EXPECT_TRUE(game.Active(Spaces::Game));
        EXPECT_FALSE(game.Active(Spaces::Pause));
        game.Frame();
        EXPECT_EQ(game.Objects(), before);
        EXPECT_EQ(game.Since("id 42"), (std::vector<std::string>{"id 42 0.7"}));
    }
    // Every screen was there to load. (The sprites have no renderer here
    // to find their pictures in.)
    EXPECT_EQ(warnings.Count("pause menu") + warnings.Count("missing"), 0) << warnings;
}

TEST(PauseMenu, ScreensStackWithTheSelectionAndPointerOfEach) {
    MenuGame game;
    game.Send(MouseMovedMessage(30, 40, false));
    game.Key(KeyCode::Escape);
    game.Frame();
    // Down twice to "Options" (element 2), on the arrow key and on L.
    for (uint8_t key : {KeyCode::Down, KeyCode::L}) {
        game.Send(KeyTriggeredMessage(key));
        game.Frame();
        game.Send(KeyReleasedMessage(key));
        game.Frame();
    }
    ASSERT_EQ(game.pause->selected, 2u);
    const GameObject& options = *game.Element(2)->owner;
    EXPECT_EQ(game.pause->pointerX, 400 + static_cast<int>(options.x));
    EXPECT_EQ(game.pause->pointerY, 300 - static_cast<int>(options.y));

    // Enter fires it: the options screen, its first entry selected.
    game.Key(KeyCode::Return);
    ASSERT_EQ(game.pause->screens.size(), 2u);
    EXPECT_EQ(game.pause->screens.back().file, PauseScreens::Options);
    EXPECT_EQ(game.pause->selected, 0u);
    EXPECT_EQ(game.pause->savedSelections, (std::vector<uint32_t>{0, 2}));
    game.Frame();

    // B goes back to "Options", the pointer with it, on the next update.
    game.Pad(PadButton::B);
    EXPECT_EQ(game.pause->screens.size(), 1u);
    EXPECT_EQ(game.pause->selected, 2u);
    game.Since();
    game.Frame();
    EXPECT_EQ(game.Since("MouseMoved"),
              (std::vector<std::string>{"MouseMoved " + std::to_string(400 + int(options.x)) + " " +
                                        std::to_string(300 - int(options.y)) + " 0"}));

    // B on the last screen resumes; the pointer returns to where it was
    // when the menu opened.
    game.heard->Take();
    game.Pad(PadButton::B);
    EXPECT_FALSE(game.pause->IsOpen());
    EXPECT_TRUE(game.pause->savedPointers.empty());
    EXPECT_TRUE(game.pause->savedSelections.empty());
    game.Frame();
    EXPECT_EQ(game.heard->Take(),
              (std::vector<std::string>{"id 42 0.7", "id 51 Resume", "MouseMoved 30 40 0"}));

    // Resumed from a deeper screen: back to where the pointer was when the
    // menu opened, not where the deeper screen found it.
    game.Send(MouseMovedMessage(50, 60, false));
    game.Key(KeyCode::Escape);
    game.Send(ButtonInputMessage("OptionsPauseMenu"));
    game.Send(ButtonInputMessage("Resume"));
    game.Since();
    game.Frame();
    EXPECT_EQ(game.Since("MouseMoved"), (std::vector<std::string>{"MouseMoved 50 60 0"}));
}

TEST(PauseMenu, AHeldStickStepsOnceThenAfterAPauseEveryTenthOfASecond) {
    MenuGame game;
    game.Key(KeyCode::Escape);
    game.Send(XboxLThumbMoved(0.0f, -1.0f, 2));
    // Ticks of 1/60 s: the step at once, the first repeat once 0.6 s have
    // passed and the repeat timer has run 0.1 s, then one every 0.1 s.
    std::vector<int> stepsAt;
    for (int tick = 1; tick <= 120 && stepsAt.size() < 4; ++tick) {
        const int before = game.pause->navigationSteps;
        game.Frame();
        if (game.pause->navigationSteps != before)
            stepsAt.push_back(tick);
    }
    ASSERT_EQ(stepsAt.size(), 4u);
    EXPECT_EQ(stepsAt[0], 1);
    EXPECT_NEAR(stepsAt[1], 1 + 42, 2);
    EXPECT_NEAR(stepsAt[2] - stepsAt[1], 6, 1);
    EXPECT_NEAR(stepsAt[3] - stepsAt[2], 6, 1);
    // Each step went one entry down.
    EXPECT_EQ(game.pause->selected, 4u);

    // Back to the centre: no more steps; a sideways push on this screen
    // goes nowhere.
    game.Send(XboxLThumbMoved(0.0f, 0.0f, 0));
    game.Frames(60);
    EXPECT_EQ(game.pause->navigationSteps, 4);
    game.Send(XboxLThumbMoved(1.0f, 0.0f, 1));
    game.Frame();
    EXPECT_EQ(game.pause->navigationSteps, 5);
    EXPECT_EQ(game.pause->selected, 4u);
}

TEST(PauseMenu, EveryCommandDoesWhatItSaysAndBadNavigationDoesNothing) {
    EngineTest::WarningLog warnings;
    MenuGame game;
    game.Key(KeyCode::Escape);
    game.Frame();
    game.heard->Take();
    const auto command = [&](const char* name) { game.Send(ButtonInputMessage(name)); };

    for (const char* name :
         {"Fullscreen", "ChangeResolution", "MuteMusic", "RaiseMusic", "LowerMusic"})
        command(name);
    EXPECT_EQ(game.Since("id"),
              (std::vector<std::string>{"id 17", "id 51 Fullscreen", "id 16",
                                        "id 51 ChangeResolution", "id 45", "id 51 MuteMusic",
                                        "id 43", "id 51 RaiseMusic", "id 44", "id 51 LowerMusic"}));

    const std::pair<const char*, const char*> pushes[] = {
        {"OptionsPauseMenu", PauseScreens::Options},
        {"HowToPlay", PauseScreens::HowToPlay},
        {"Credits", PauseScreens::Credits},
        {"Quit", PauseScreens::QuitConfirm}};
    for (const auto& push : pushes) {
        command(push.first);
        EXPECT_EQ(game.pause->screens.back().file, push.second) << push.first;
        EXPECT_NE(game.Element(0), nullptr) << push.first;
    }
    EXPECT_EQ(game.pause->screens.size(), 5u);
    command("ConfirmNo");
    command("Back");
    EXPECT_EQ(game.pause->screens.size(), 3u);
    EXPECT_EQ(game.pause->screens.back().file, PauseScreens::HowToPlay);

    // Navigation that names nothing, or nothing there, leaves the selection.
    for (const char* navigation : {"NOP", "Sideways", "NextElement:", "NextElement:x1",
                                   "NextElement:99999999999", "NextElement:7"})
        game.pause->Navigate(navigation);
    EXPECT_EQ(game.pause->selected, 0u);
    game.pause->Navigate("FireCommand:Back");
    EXPECT_EQ(game.pause->screens.size(), 2u);
    game.pause->Navigate("NextElement:4");
    EXPECT_EQ(game.pause->selected, 4u);

    // Restart: the level is asked for again, the menu's stacks are empty
    // and the music comes back up; the level change then forgets the rest.
    command("Restart");
    EXPECT_EQ(game.core->RequestedState(), GameState::Restart);
    EXPECT_TRUE(game.pause->screens.empty());
    EXPECT_TRUE(game.pause->savedPointers.empty());
    EXPECT_EQ(game.Since("id 42"), (std::vector<std::string>{"id 42 0.7"}));
    game.factory->Free();
    game.Send(LevelChangeMessage());
    EXPECT_TRUE(game.pause->screensToDestroy.empty());
    game.core->BeginLevel();
    game.spaces->ActivateOnlyGameSpace();

    // A menu that lost its last screen shows the first one again.
    game.Key(KeyCode::Escape);
    command("Back");
    EXPECT_FALSE(game.pause->IsOpen());
    game.Frame();
    ASSERT_TRUE(game.pause->IsOpen());
    EXPECT_EQ(game.pause->screens.back().file, PauseScreens::Pause);

    command("ConfirmYes");
    EXPECT_EQ(game.core->RequestedState(), GameState::Quit);
    // The three navigations without a readable id, each said once.
    EXPECT_EQ(warnings.Count("names no element id"), 3) << warnings;
}

// The click that closes the menu comes from inside "Resume"'s own
// handler: the screen must outlive it (the sanitizer build checks).
TEST(PauseMenu, AClickOnResumeClosesTheMenuAndTheScreenGoesAfterwards) {
    MenuGame game;
    game.Frame();
    const std::size_t before = game.Objects();
    game.Key(KeyCode::Escape);
    game.Frame();
    PauseElement* resume = game.Element(0);
    ASSERT_NE(resume, nullptr);
    ASSERT_EQ(resume->command, "Resume");
    const int32_t resumeObject = resume->owner->id;
    // It pulses under the pointer, with one click sound as it was entered.
    EXPECT_TRUE(resume->hovered);
    EXPECT_EQ(game.heard->Count("Play ButtonClick 0.15 0"), 1u);
    game.Frames(30);
    EXPECT_EQ(game.heard->Count("Play ButtonClick"), 1u);
    EXPECT_GT(resume->owner->xScale, 1.0f);
    // The others rest just under their size.
    EXPECT_FLOAT_EQ(game.Element(1)->owner->xScale, 0.99f);

    game.ClickOn(*resume->owner);
    EXPECT_FALSE(game.pause->IsOpen());
    EXPECT_NE(game.factory->FindObject(resumeObject), nullptr);
    game.Frame();
    EXPECT_EQ(game.factory->FindObject(resumeObject), nullptr);
    EXPECT_EQ(game.Objects(), before);
}

} // namespace
