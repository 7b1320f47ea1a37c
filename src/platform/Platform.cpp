#include "platform/Platform.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "engine/Core.h"
#include "engine/Report.h"

namespace Flurr {

namespace {

// The authored layout; also what the game used before it asked the screen.
constexpr int32_t kFallbackWidth = 800;
constexpr int32_t kFallbackHeight = 600;

bool Headless() {
    const char* driver = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0))
        return true;
#if defined(__linux__)
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        return true;
#endif
    return false;
}

} // namespace

void ReadScreenSize() {
    ScreenWidth = kFallbackWidth;
    ScreenHeight = kFallbackHeight;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0) {
        ScreenWidth = mode.w;
        ScreenHeight = mode.h;
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void InstallErrorBoxes() {
    if (Headless()) {
        SetErrorBoxHandler(nullptr);
        return;
    }
    SetErrorBoxHandler([](const std::string& caption, const std::string& text) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
    });
}

} // namespace Flurr
