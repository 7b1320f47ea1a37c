#include "platform/Clipboard.h"

#include <SDL.h>

namespace Flurr {

bool SetClipboardText(const std::string& text) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0)
        return false;
    return SDL_SetClipboardText(text.c_str()) == 0;
}

bool GetClipboardText(std::string& text) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0)
        return false;
    if (!SDL_HasClipboardText()) {
        text.clear();
        return true;
    }
    char* got = SDL_GetClipboardText();
    if (!got)
        return false;
    text = got;
    SDL_free(got);
    return true;
}

} // namespace Flurr
