// The window system on SDL's offscreen driver.

#include "platform/PlatformTestSupport.h"
#include "platform/WindowMessages.h"

#include <epoxy/gl.h>

using namespace Flurr;
namespace {

using namespace PlatformTest;

TEST(WindowsSystem, OneWindowWithAnOpenGLCoreContextPassingOnWin32Messages) {
    {
        Game game({.windowed = true, .width = 640, .height = 360}, /*windowMessages=*/true);
        SDL_Window* window = game.windows->Window();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(game.windows->ClientWidth(), 640);
        EXPECT_EQ(game.windows->ClientHeight(), 360);
        EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS);
        EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN);
        // The renderer gets a current 3.3 (or later) core context.
        ASSERT_NE(game.windows->GLContext(), nullptr);
        EXPECT_EQ(SDL_GL_GetCurrentContext(), game.windows->GLContext());
        EXPECT_GE(epoxy_gl_version(), 33);
        GLint profile = 0;
        glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
        EXPECT_TRUE(profile & GL_CONTEXT_CORE_PROFILE_BIT);
        game.windows->SwapWindow();
        EXPECT_EQ(WindowsSystem::Instance(), game.windows);

        // Window messages packed as Win32 does: down with repeat count 1,
        // repeats with "was down" (bit 30), up with bits 30 and 31.
        EXPECT_EQ(game.Frame({Key(SDL_SCANCODE_A, true), Key(SDL_SCANCODE_A, true, true),
                              Key(SDL_SCANCODE_A, false)}),
                  (Lines{"WM 0x100 65 1", "WM 0x100 65 1073741825", "WM 0x101 65 -1073741823"}));
        // Right Ctrl is named without its side, and is an extended key.
        EXPECT_EQ(game.Frame({Key(SDL_SCANCODE_RCTRL, true)}),
                  (Lines{"WM 0x100 17 16777217", "KeyTriggered 17", "KeyTriggered 163"}));
        game.Frame({Key(SDL_SCANCODE_RCTRL, false)});

        // Mouse: client position in lParam, held buttons in wParam.
        Push({Motion(300, 200), Button(SDL_BUTTON_RIGHT, true, 300, 200), Wheel(-1)});
        const int32_t at = (200 << 16) | 300;
        const int32_t wheel = int32_t((uint32_t(-120 & 0xFFFF) << 16) | Mk::RButton);
        // The input system hears each window message before this listener.
        EXPECT_EQ(game.Frame(),
                  (Lines{"MouseMoved 300 200 0", "WM 0x200 0 " + std::to_string(at),
                         "WM 0x204 2 " + std::to_string(at), "Scrolled down",
                         "WM 0x20a " + std::to_string(wheel) + " " + std::to_string(at),
                         "MouseClicked 300 200 2"}));
    }
    EXPECT_EQ(WindowsSystem::Instance(), nullptr);

    // By default: borderless at the origin, covering the screen.
    const int32_t savedWidth = ScreenWidth, savedHeight = ScreenHeight;
    ScreenWidth = 900;
    ScreenHeight = 700;
    {
        Core core;
        WindowsSystem windows;
        ASSERT_FALSE(windows.Failed());
        int x = -1, y = -1;
        SDL_GetWindowPosition(windows.Window(), &x, &y);
        EXPECT_TRUE(x == 0 && y == 0) << x << ", " << y;
        EXPECT_EQ(windows.ClientWidth(), 900);
        EXPECT_EQ(windows.ClientHeight(), 700);
        EXPECT_TRUE(SDL_GetWindowFlags(windows.Window()) & SDL_WINDOW_BORDERLESS);
    }
    ScreenWidth = savedWidth;
    ScreenHeight = savedHeight;
}

TEST(WindowsSystem, TheCursorShowsOnlyInTheEditorAndClosingQuitsAtTheEndOfTheFrame) {
    {
        Game game({}, false, false);
        game.Frame();
        EXPECT_FALSE(game.windows->CursorShown());
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
        game.SetEditor(true);
        game.Frame();
        EXPECT_TRUE(game.windows->CursorShown());
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
        game.SetEditor(false);
        game.Frame();
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);

        EXPECT_FALSE(game.QuitRequested());
        // Another window's close is not ours.
        game.Frame({Window(game.WindowId() + 100, SDL_WINDOWEVENT_CLOSE)});
        EXPECT_FALSE(game.QuitRequested());
        game.Frame({Window(game.WindowId(), SDL_WINDOWEVENT_CLOSE)});
        EXPECT_TRUE(game.QuitRequested());
        // The window stays until shutdown, for the rest of the frame.
        EXPECT_NE(game.windows->Window(), nullptr);
        EXPECT_EQ(game.heard->steps.size(), 5u);
    }
    Game game({}, false, false);
    game.Frame({SDL_Event{.type = SDL_QUIT}});
    EXPECT_TRUE(game.QuitRequested());
}

} // namespace
