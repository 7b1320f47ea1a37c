// The options and controls screens in a real game with a real window (on
// SDL's offscreen driver) and sound (on the dummy driver): what they
// change shows on the screens, lasts through a restart in the settings
// file, and a rebinding swaps keys or is cancelled by Escape.

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

#include "engine/EngineTestSupport.h"
#include "engine/InputCodes.h"
#include "engine/Message.h"
#include "game/TestGame.h"
#include "graphics/GraphicsSystem.h"
#include "menus/PauseSystem.h"
#include "platform/PlatformTestSupport.h"
#include "sound/SoundSystem.h"

using namespace Flurr;

namespace {

struct SettingsGame : PlatformTest::Game {
    // `windowed`: the command line asked for an 800 x 600 window; else the
    // display is the settings file's to choose.
    SettingsGame(const std::string& file, bool windowed) : Game(Config(file, windowed), {}) {
        core->RunFrame();
    }
    static GameConfig Config(const std::string& file, bool windowed) {
        GameConfig config = TestGame::Config();
        config.systems.window = config.systems.graphics = true;
        config.systems.pause = config.systems.sound = true;
        config.window = windowed ? WindowSettings{.windowed = true, .width = 800, .height = 600}
                                 : WindowSettings{};
        config.present = [] {};
        config.settingsFile = file;
        return config;
    }
    void Send(Message&& message) { core->SendMessage(&message); }
    void Command(const char* command) { Send(ButtonInputMessage(command)); }
    void Key(uint8_t key) {
        Send(KeyTriggeredMessage(key));
        Send(KeyReleasedMessage(key));
    }
    void WindowSize(int& w, int& h) const { SDL_GetWindowSize(windows->Window(), &w, &h); }
    bool Shows(const std::string& text) const {
        for (const std::string& t : pause->ScreenTexts())
            if (t == text)
                return true;
        return false;
    }
};

using Keys = std::vector<uint8_t>;

TEST(SettingsMenu, OptionsAndKeysLastThroughARestartAndTheResolutionResizesTheWindow) {
    EngineTest::TempDir dir;
    EngineTest::WarningLog warnings;
    const std::string file = dir.Path("config/cloudmere/Settings.zorvel");
    {
        SettingsGame game(file, true);
        ASSERT_NE(game.windows, nullptr);
        game.Key(KeyCode::Escape);
        game.Command("OptionsPauseMenu");
        ASSERT_TRUE(game.pause->IsOpen());
        EXPECT_TRUE(game.Shows("Resolution: 800 × 600"))
            << testing::PrintToString(game.pause->ScreenTexts());
        EXPECT_TRUE(game.Shows("Full screen: off"));

        // In a window the next size of the list resizes the window itself.
        game.Command("ChangeResolution");
        int w = 0, h = 0;
        game.WindowSize(w, h);
        EXPECT_EQ(w, 1024);
        EXPECT_EQ(h, 768);
        EXPECT_EQ(game.graphics->BackBufferWidth(), 1024);
        EXPECT_TRUE(game.Shows("Resolution: 1024 × 768"));
        // Full screen and back: the choice "windowed" is now the player's.
        game.Command("Fullscreen");
        EXPECT_TRUE(game.Shows("Full screen: on"));
        game.Command("Fullscreen");
        for (int i = 0; i < 3; ++i)
            game.Command("LowerMusic");
        for (int i = 0; i < 5; ++i)
            game.Command("LowerEffects");
        EXPECT_TRUE(game.Shows("Music: 70 %"));
        EXPECT_TRUE(game.Shows("Effects: 50 %"));
        game.Command("MuteMusic");
        EXPECT_TRUE(game.Shows("Music: muted"));

        // Jump onto A: moving left takes what jumping had.
        game.Command("Controls");
        ASSERT_EQ(game.pause->screens.back().file, PauseScreens::Controls);
        game.Command("Rebind:Jump");
        EXPECT_TRUE(game.Shows("press a key..."));
        // While it waits no key moves the menu, and Enter is refused.
        const uint32_t selected = game.pause->selected;
        game.Key(KeyCode::Down);
        game.Key(KeyCode::Return);
        game.core->RunFrame();
        EXPECT_EQ(game.pause->selected, selected);
        EXPECT_EQ(game.pause->rebinding, 2);
        game.Key(KeyCode::A);
        EXPECT_EQ(game.pause->rebinding, -1);
        EXPECT_EQ(Core::Actions().Keys(Action::Jump), Keys{KeyCode::A});
        EXPECT_EQ(Core::Actions().Keys(Action::MoveLeft), (Keys{KeyCode::Space, KeyCode::W}));
        EXPECT_TRUE(game.Shows("Space or W"));

        // Escape gives up a rebinding and leaves the menu open.
        game.Command("Rebind:Run");
        game.Key(KeyCode::Escape);
        EXPECT_EQ(game.pause->rebinding, -1);
        EXPECT_TRUE(game.pause->IsOpen());
        EXPECT_EQ(Core::Actions().Keys(Action::Run), Keys{KeyCode::Shift});
    }
    {
        // No display on the command line: the file's window and size.
        SettingsGame game(file, false);
        int w = 0, h = 0;
        game.WindowSize(w, h);
        EXPECT_EQ(w, 1024);
        EXPECT_EQ(h, 768);
        EXPECT_FALSE(game.graphics->Fullscreen());
        EXPECT_NEAR(game.sound->MasterVolume(), 0.7f, 1e-5f);
        EXPECT_NEAR(game.sound->EffectsVolume(), 0.5f, 1e-5f);
        EXPECT_TRUE(game.sound->Muted());
        EXPECT_EQ(Core::Actions().Keys(Action::Jump), Keys{KeyCode::A});
        EXPECT_EQ(Core::Actions().Keys(Action::MoveLeft), (Keys{KeyCode::Space, KeyCode::W}));
        EXPECT_EQ(Core::Actions().Keys(Action::Run), Keys{KeyCode::Shift});
    }
    EXPECT_EQ(warnings.Count(), 0) << warnings;
}

TEST(SettingsMenu, AGameWithoutASettingsFileWritesNothing) {
    EngineTest::TempDir dir;
    {
        SettingsGame game("", true);
        game.Key(KeyCode::Escape);
        game.Command("OptionsPauseMenu");
        game.Command("LowerMusic");
        game.Command("Controls");
        game.Command("Rebind:Map");
        game.Key(KeyCode::M);
        EXPECT_EQ(Core::Actions().Keys(Action::Map), Keys{KeyCode::M});
    }
    // The next game starts from the table again.
    SettingsGame game("", true);
    EXPECT_EQ(Core::Actions().Keys(Action::Map), Keys{KeyCode::Tab});
    EXPECT_FLOAT_EQ(game.sound->MasterVolume(), 1.0f);
}

} // namespace
