#pragma once
// What the drawing benchmarks share: a hidden window with its own OpenGL 3.3
// core context, and the folder holding the shipped data.

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "serialization/DataFolder.h"

namespace Bench {

// A hidden window of `width` x `height` with a core context and no vsync.
// Kept for the whole process: the benchmarks share it.
struct GlWindow {
    GlWindow(const char* title, int width, int height) {
        if (!std::getenv("SDL_VIDEODRIVER"))
            setenv("SDL_VIDEODRIVER", "offscreen", 1);
        SDL_Init(SDL_INIT_VIDEO);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        window =
            SDL_CreateWindow(title, 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (window)
            context = SDL_GL_CreateContext(window);
        if (context)
            SDL_GL_SetSwapInterval(0);
    }
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
};

// The folder holding the shipped "Resources", found the way the game finds
// it (CLOUDMERE_DATA, the working directory, beside the program, the source
// tree of the build). Empty when none has it.
inline std::filesystem::path DataFolder() {
    Flurr::DataPlaces places;
    if (const char* chosen = std::getenv("CLOUDMERE_DATA"))
        places.chosen = chosen;
    places.working = std::filesystem::current_path().string();
    if (char* base = SDL_GetBasePath()) {
        places.program = base;
        SDL_free(base);
    }
    places.source = CLOUDMERE_SOURCE_DIR;
    const Flurr::DataSearch search = Flurr::FindDataFolder(places);
    if (!search.found)
        return {};
    return search.root.empty() ? std::filesystem::current_path()
                               : std::filesystem::path(search.root);
}

} // namespace Bench
